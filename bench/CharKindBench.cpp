// The cost of asking which kind a character fits: a keystroke asks it once for the typed
// character, a paste once for every character. Two mixes: the ASCII digits of a phone number, and
// characters of many scripts (Latin, Cyrillic, Greek, Arabic, Devanagari, kana, ideographs,
// Hangul, full-width and Arabic-Indic digits, a character beyond the Basic Multilingual Plane),
// each asked for a digit, a letter, an upper-case letter and any character.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/KwCharKind.h"
#include "core/KwMaskSymbol.h"

namespace {

const std::vector<char32_t> kPhone = {U'5', U'5', U'5', U'1', U'2', U'3', U'4', U'5', U'6', U'7'};
const std::vector<char32_t> kScripts = {U'ł',  U'ж',  U'Ω', U'ب', U'क',    U'あ', U'ア', U'中',
                                        U'한', U'１', U'١', U'é', U'ß',    U'A',  U'7',  0x1F600,
                                        U'ǅ',  U'ա',  U'א', U'ก', 0x20000, U'€',  U'ⓐ',  U'ꭰ'};
const int kKinds[] = {KindDigit, KindAlpha, KindUpperAlpha, KindAnyChar};

// One lookup is Fits then StoredForm for one character and one kind; the counter is the time
// per lookup.
void Lookups(benchmark::State& state, const std::vector<char32_t>& chars) {
  for (auto _ : state) {
    for (int kind : kKinds) {
      for (char32_t c : chars) {
        char32_t stored = KwCharKind::Fits(kind, c) ? KwCharKind::StoredForm(kind, c) : 0;
        benchmark::DoNotOptimize(stored);
      }
    }
  }
  const double perIteration = static_cast<double>(chars.size() * (sizeof kKinds / sizeof *kKinds));
  state.counters["time/lookup"] = benchmark::Counter(
      perIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_CharKindPhoneDigits(benchmark::State& state) { Lookups(state, kPhone); }
BENCHMARK(BM_CharKindPhoneDigits);

void BM_CharKindManyScripts(benchmark::State& state) { Lookups(state, kScripts); }
BENCHMARK(BM_CharKindManyScripts);

}  // namespace
