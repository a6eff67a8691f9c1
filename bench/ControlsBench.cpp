// Benchmarks of what a user of the controls feels: keystrokes through the whole road of a host's
// message loop over the simulated window system, the data exchange of each control's model, a
// long character mask, and the validator's template matcher.
//
// Keys go in as a user's would, written as key scripts (host/KeyScript.h): SendInput puts them
// into the queue, and the host library's loop takes them out along PeekMessageA ->
// AfxPreTranslateMessage -> IsDialogMessageA -> TranslateMessage -> DispatchMessageA. Besides time,
// each benchmark reports the heap allocations it makes (a counting operator new in this binary),
// per keystroke or per call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CountingNew.h"
#include "character/KwCharacterMaskedEdit.h"
#include "controls/KwMaskEditControls.h"
#include "core/KwValidator.h"
#include "field/KwFieldMaskedEdit.h"
#include "framework/framework.h"
#include "host/KeyScript.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

// Allocations made between construction and Report, per unit of work (keystroke or call).
class AllocationMeter {
 public:
  AllocationMeter() : m_start(kwbench::Allocations()) {}
  void Report(benchmark::State& state, const char* name, double unitsPerIteration) const {
    const double made = static_cast<double>(kwbench::Allocations() - m_start);
    const double units = unitsPerIteration * static_cast<double>(state.iterations());
    state.counters[name] = units > 0 ? made / units : 0.0;
  }

 private:
  long long m_start;
};

// Time per unit of work (keystroke, call) next to the time per iteration.
void PerUnit(benchmark::State& state, const char* name, double unitsPerIteration) {
  state.counters[name] =
      benchmark::Counter(unitsPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

// --- The host: host/KwHost.h's parent window and loop, keys as key scripts ------------------

using kwhost::kEditStyle;
CWnd* Parent() { return kwhost::ParentWnd(); }
RECT Row(int id) { return kwhost::EditRect(id); }

// The strokes of a key script, parsed once before the timing starts.
std::vector<kwhost::Stroke> KeysFor(const std::string& script) {
  const kwhost::KeyScript parsed = kwhost::ParseKeys(script);
  if (!parsed.ok()) {
    std::fprintf(stderr, "bench: %s\n", parsed.error.c_str());
    std::abort();
  }
  return parsed.strokes;
}

// Plays the prepared strokes one keystroke at a time, each pumped through the loop as it comes.
void TypeKeys(const std::vector<kwhost::Stroke>& keys) { kwhost::PlayKeys(keys); }

// Stops the benchmark with an error when what it produced is not what it should be.
bool Expect(benchmark::State& state, const std::string& got, const std::string& expected) {
  if (got == expected) return true;
  const std::string message = "got \"" + got + "\", expected \"" + expected + "\"";
  state.SkipWithError(message.c_str());
  return false;
}

// The protected model operations opened, for the data benchmarks.
using CharModel = kwhost::ModelProbe<KwCharacterMaskedEdit>;
using NumberModel = kwhost::ModelProbe<KwNumberMaskedEdit>;
using FieldModel = kwhost::ModelProbe<KwFieldMaskedEdit>;
using Matcher = kwhost::TemplateMatcher;

// --- Typing through the message road -------------------------------------------------------

const char kPhoneDigits[] = "5551234567";

// Types a key script once per iteration into whatever has the focus. check() answers what the
// round gave, which must be expected; reset() makes the controls ready for the next round
// (both untimed, their allocations left out).
template <typename Check, typename Reset>
void TypeRounds(benchmark::State& state, const std::string& script, const std::string& expected,
                Check check, Reset reset) {
  const std::vector<kwhost::Stroke> keys = KeysFor(script);
  AllocationMeter meter;
  long long allocationsInReset = 0;
  for (auto _ : state) {
    TypeKeys(keys);
    state.PauseTiming();
    const long long before = kwbench::Allocations();
    if (!Expect(state, check(), expected)) break;
    reset();
    kwhost::ClearNotifications();  // the parent's record keeps its room: no allocation
    allocationsInReset += kwbench::Allocations() - before;
    state.ResumeTiming();
  }
  kwbench::Forget(allocationsInReset);
  PerUnit(state, "time/key", static_cast<double>(keys.size()));
  meter.Report(state, "allocs/key", static_cast<double>(keys.size()));
}

void BM_TypePhoneNumber(benchmark::State& state) {
  auto edit = std::make_unique<CharModel>("(###) ###-####");
  edit->SetAutoTab(false);
  edit->Create(kEditStyle, Row(1), Parent(), 1);
  edit->SetFocus();
  kwhost::Pump();
  // The caret on the first input position, as a click or Tab into the control leaves it.
  edit->SetSel(1, 1);
  TypeRounds(
      state, kPhoneDigits, "(555) 123-4567", [&] { return edit->GetWindowText(); },
      [&] {
        edit->EmptyData(1);
        edit->SetSel(1, 1);
      });
}
BENCHMARK(BM_TypePhoneNumber)->Unit(benchmark::kMicrosecond);

// The same keystrokes into the same control made by class name, as a program of any language
// makes it: its window goes through the class face's procedure in front of the framework's.
void BM_TypePhoneNumberByClassName(benchmark::State& state) {
  HWND h = CreateWindowExW(0, KWC_CHARACTERMASKEDEDITW, KW_CONTROLS_WIDE("(###) ###-####"),
                           kEditStyle, 0, 0, 200, 20, kwhost::Parent(), nullptr, nullptr, nullptr);
  if (h == nullptr) {
    state.SkipWithError("the class is not registered");
    return;
  }
  SetFocus(h);
  kwhost::Pump();
  SendMessageW(h, EM_SETSEL, 1, 1);
  char shown[32] = {};
  TypeRounds(
      state, kPhoneDigits, "(555) 123-4567",
      [&] {
        GetWindowTextA(h, shown, sizeof shown);
        return std::string(shown);
      },
      [&] {
        SendMessageW(h, KWM_SETDATAW, 0, 0);
        SendMessageW(h, EM_SETSEL, 1, 1);
      });
  DestroyWindow(h);
}
BENCHMARK(BM_TypePhoneNumberByClassName)->Unit(benchmark::kMicrosecond);

void BM_TypeNumber(benchmark::State& state) {
  auto edit = std::make_unique<KwNumberMaskedEdit>("%");
  edit->Create(kEditStyle, Row(2), Parent(), 2);
  edit->SetFocus();
  kwhost::Pump();
  TypeRounds(
      state, "1234567.89", "1234567.89", [&] { return edit->GetInputData(false); },
      [&] {
        edit->SetText("");
        edit->SetSel(0, 0);
      });
}
BENCHMARK(BM_TypeNumber)->Unit(benchmark::kMicrosecond);

// Three fields with auto-tab (letters 3, digits 4, digits 4) and a plain edit control after
// them: the whole entry typed in one go, the focus moving on twice and leaving the row.
void BM_TypeFieldRow(benchmark::State& state) {
  struct FieldKind {
    const char* mask;
    UINT limit;
  };
  const FieldKind kinds[] = {{">", 3}, {"#", 4}, {"#", 4}};
  std::vector<std::unique_ptr<KwFieldMaskedEdit>> fields;
  int id = 3;
  for (const FieldKind& s : kinds) {
    fields.push_back(std::make_unique<KwFieldMaskedEdit>(s.mask));
    fields.back()->SetAutoTab(true);
    fields.back()->Create(kEditStyle, Row(id), Parent(), static_cast<UINT>(id));
    fields.back()->SetLimitText(s.limit);
    ++id;
  }
  CEdit next;
  next.Create(kEditStyle, Row(id), Parent(), static_cast<UINT>(id));
  fields.front()->SetFocus();
  kwhost::Pump();
  TypeRounds(
      state, "abc20260042", "ABC20260042 left the row",
      [&] {
        return fields[0]->GetWindowText() + fields[1]->GetWindowText() +
               fields[2]->GetWindowText() +
               (GetFocus() == next.GetSafeHwnd() ? " left the row" : " in the row");
      },
      [&] {
        for (auto& f : fields) f->EmptyData(1);
        fields.front()->SetFocus();
        kwhost::Pump();
      });
}
BENCHMARK(BM_TypeFieldRow)->Unit(benchmark::kMicrosecond);

// --- The models' data exchange (no window) -------------------------------------------------

// SetInputData of packed data, then the data (or, for a field, the text) read back.
template <class Model>
void SetGetData(benchmark::State& state, const char* mask, const char* data, bool shown) {
  Model edit(mask);
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetInputData(data, 0, 0);
    std::string got = shown ? edit.ShowMask() : edit.GetInputData(false);
    benchmark::DoNotOptimize(got);
  }
  meter.Report(state, "allocs/call", 1);
}

void BM_CharacterSetGetData(benchmark::State& state) {
  SetGetData<CharModel>(state, "(###) ###-####", kPhoneDigits, false);
}
BENCHMARK(BM_CharacterSetGetData);

void BM_NumberSetGetData(benchmark::State& state) {
  SetGetData<NumberModel>(state, "%", "-1234567.89", false);
}
BENCHMARK(BM_NumberSetGetData);

void BM_FieldSetGetData(benchmark::State& state) {
  SetGetData<FieldModel>(state, ">", "abcdefghij", true);
}
BENCHMARK(BM_FieldSetGetData);

// --- A long character mask -------------------------------------------------------------------

std::string LongMask(std::size_t length) {
  const std::string unit = "(###) \\#AA-?>/<&:,.";  // every kind, an escape among them
  std::string mask;
  while (mask.size() < length) mask += unit;
  mask.resize(length);
  if (mask.back() == '\\') mask.back() = '#';
  return mask;
}

void BM_SetLongMask(benchmark::State& state) {
  const std::string mask = LongMask(static_cast<std::size_t>(state.range(0)));
  CharModel edit;
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetMask(mask);
    benchmark::ClobberMemory();
  }
  meter.Report(state, "allocs/call", 1);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SetLongMask)->Arg(14)->Arg(1000)->Unit(benchmark::kMicrosecond);

// SetInputData and GetInputData over a 1000-character mask.
void BM_LongMaskSetGetData(benchmark::State& state) {
  CharModel edit;
  edit.SetMask(LongMask(1000));
  const std::string data(1000, '7');
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetInputData(data.c_str(), 0, 0);
    std::string got = edit.GetInputData(true);
    benchmark::DoNotOptimize(got);
  }
  meter.Report(state, "allocs/call", 1);
}
BENCHMARK(BM_LongMaskSetGetData)->Unit(benchmark::kMicrosecond);

// --- The template matcher ------------------------------------------------------------------

void RunMatcher(benchmark::State& state, const std::string& data, const std::string& tmpl,
                int expected) {
  Matcher matcher;
  AllocationMeter meter;
  for (auto _ : state) {
    std::string d = data;
    const int r = matcher.IsErrMatchTemplate(d, tmpl.c_str());
    if (r != expected) state.SkipWithError("unexpected match result");
    benchmark::DoNotOptimize(d);
  }
  meter.Report(state, "allocs/call", 1);
}

void BM_MatchPhone(benchmark::State& state) {
  RunMatcher(state, "555 123 4567", "999-999-9999", 0);
}
BENCHMARK(BM_MatchPhone);

void BM_MatchDate(benchmark::State& state) { RunMatcher(state, "2026/12/06", "9999-99-99", 0); }
BENCHMARK(BM_MatchDate);

// A matching text as long as the matcher reads a template (254 positions).
void BM_MatchLong254(benchmark::State& state) {
  std::string tmpl, data;
  for (int i = 0; i < 254; ++i) {
    tmpl += (i % 5 == 4) ? '-' : (i % 2 ? 'A' : '9');
    data += (i % 5 == 4) ? '-' : (i % 2 ? 'q' : '3');
  }
  RunMatcher(state, data, tmpl, 0);
}
BENCHMARK(BM_MatchLong254);

// The longest data the matcher works on (999 characters) against a short template: a mismatch.
void BM_MatchLongDataMismatch(benchmark::State& state) {
  RunMatcher(state, std::string(999, '7'), "999-999-9999", 11);
}
BENCHMARK(BM_MatchLongDataMismatch);

}  // namespace

BENCHMARK_MAIN();
