// Fuzzer of the character control's model (no window): a mask taken from the input, then a
// sequence of editing operations through the wide members (UTF-16: characters of several
// scripts, digits of other scripts, separators, halves of pairs and pairs whole), now and then
// the narrow ones, each followed by the model's invariants:
//  - the shown text has one unit per position, and every literal keeps its unit;
//  - GetInputDataW(true) has one unit per input position, GetInputDataW(false) no more;
//  - no input position holds half a pair (a position holds one unit, and a character of two is
//    refused), and the shown text holds no half pair the mask itself does not;
//  - the narrow reads are the wide ones through the ANSI code page;
//  - GetMaskW gives back the mask it was set with, and setting it again rebuilds the same model;
//  - every position an operation returns lies within the text (or is its end);
//  - the data survives the round trip through SetInputDataW, and through the shown text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "WideText.h"
#include "character/KwCharacterMaskedEdit.h"
#include "core/KwText.h"
#include "host/ModelProbe.h"

namespace {

using kwfuzz::IsHigh;
using kwfuzz::IsLow;
using kwfuzz::Show;
using kwfuzz::ShowW;

using Probe = kwhost::ModelProbe<KwCharacterMaskedEdit>;

// What a mask makes, counted from the mask language itself: positions, input positions, and
// for each position whether it takes input.
struct Layout {
  std::string inputs;  // '1' for an input position, '0' for a literal or separator
};

Layout Parse(const KwWString& mask) {
  Layout layout;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const WCHAR c = mask[i];
    if (c == '\\') {
      if (i + 1 < mask.size()) ++i;
      layout.inputs += '0';
      continue;
    }
    const bool input = c == '#' || c == 'A' || c == '?' || c == '>' || c == '<' || c == '&';
    layout.inputs += input ? '1' : '0';
  }
  return layout;
}

// The characters typed, set and pasted: mostly what the mask kinds take (ASCII), one time in
// four something of UTF-16 (WideText.h).
const char kTyped[] = "09az AZ-.,/:#?&!~";

// A mask character: mostly the mask language, sometimes a unit of the table or any unit but
// NUL (a mask is a text), or a character beyond the first plane (two literal positions).
KwWString MaskChar(FuzzedDataProvider& in) {
  const char32_t c = kwfuzz::SomeCharW(in, "#A?><&.,:/\\()- x", 10);
  return c > 0xFFFF ? kwfuzz::PairOf(c) : KwWString(1, static_cast<WCHAR>(c));
}

KwWString SomeText(FuzzedDataProvider& in, std::size_t max) {
  return kwfuzz::SomeTextW(in, kTyped, 4, max);
}

void CheckModel(Probe& edit, const Layout& layout, const KwWString& mask,
                const KwWString& literals) {
  const int n = static_cast<int>(layout.inputs.size());
  const int inputs = kwfuzz::Count(layout.inputs, '1');
  const KwWString shown = edit.ShowMaskW();
  KW_FUZZ_CHECK(static_cast<int>(shown.size()) == n,
                "ShowMaskW '%s' has %zu units, the mask %d positions", ShowW(shown).c_str(),
                shown.size(), n);
  for (int i = 0; i < n; ++i) {
    const WCHAR u = shown[static_cast<std::size_t>(i)];
    if (layout.inputs[static_cast<std::size_t>(i)] == '0') {
      KW_FUZZ_CHECK(u == literals[static_cast<std::size_t>(i)],
                    "literal at %d changed: '%s' was '%s'", i, ShowW(shown).c_str(),
                    ShowW(literals).c_str());
    } else {
      KW_FUZZ_CHECK(!IsHigh(u) && !IsLow(u), "input position %d holds half a pair: '%s'", i,
                    ShowW(shown).c_str());
    }
  }
  // Any half pair of the shown text is one the mask's literals hold.
  const int half = kwfuzz::HalfPairAt(shown);
  KW_FUZZ_CHECK(half < 0 || kwfuzz::HalfPairAt(literals) >= 0,
                "position %d of '%s' holds half a pair", half, ShowW(shown).c_str());
  const KwWString full = edit.GetInputDataW(true);
  const KwWString packed = edit.GetInputDataW(false);
  KW_FUZZ_CHECK(static_cast<int>(full.size()) == inputs,
                "GetInputDataW(true) '%s' for %d input positions", ShowW(full).c_str(), inputs);
  KW_FUZZ_CHECK(static_cast<int>(packed.size()) <= inputs,
                "GetInputDataW(false) '%s' for %d input positions", ShowW(packed).c_str(), inputs);
  KW_FUZZ_CHECK(edit.GetMaskW() == mask, "GetMaskW '%s' for the mask '%s'",
                ShowW(edit.GetMaskW()).c_str(), ShowW(mask).c_str());
  KW_FUZZ_CHECK(edit.IsInputEmpty() == (packed.empty() ? 1 : 0),
                "IsInputEmpty %d with the data '%s'", edit.IsInputEmpty(), ShowW(packed).c_str());
  // The narrow members read what the wide ones do, through the ANSI code page.
  KW_FUZZ_CHECK(edit.ShowMask() == KwNarrow(shown), "ShowMask '%s' for '%s'",
                Show(edit.ShowMask()).c_str(), ShowW(shown).c_str());
  KW_FUZZ_CHECK(edit.GetInputData(true) == KwNarrow(full), "GetInputData(true) '%s' for '%s'",
                Show(edit.GetInputData(true)).c_str(), ShowW(full).c_str());
  KW_FUZZ_CHECK(edit.GetInputData(false) == KwNarrow(packed), "GetInputData(false) '%s' for '%s'",
                Show(edit.GetInputData(false)).c_str(), ShowW(packed).c_str());
  KW_FUZZ_CHECK(edit.GetMask() == KwNarrow(mask), "GetMask '%s' for '%s'",
                Show(edit.GetMask()).c_str(), ShowW(mask).c_str());
}

// A position argument: mostly within the text, sometimes outside it.
int Pos(FuzzedDataProvider& in, int n) { return in.ConsumeIntegralInRange<int>(-2, n + 2); }

void Run(FuzzedDataProvider& in) {
  Probe edit;
  // The prompt: any unit the control takes (it refuses NUL, CR, LF, DEL, halves of pairs, ...
  // by itself), or a byte through the narrow member.
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      edit.SetPromptSymbol('_');
      break;
    case 1:
      edit.SetPromptSymbol(static_cast<char>(in.ConsumeIntegral<uint8_t>()));
      break;
    default:
      edit.SetPromptSymbolW(kwfuzz::Unit(in));
      break;
  }

  KwWString mask;
  const int length = in.ConsumeIntegralInRange<int>(0, 40);
  for (int i = 0; i < length; ++i) mask += MaskChar(in);
  edit.SetMaskW(mask);
  const Layout layout = Parse(mask);
  const KwWString literals = edit.ShowMaskW();
  const int n = static_cast<int>(layout.inputs.size());
  CheckModel(edit, layout, mask, literals);
  KW_FUZZ_CHECK(edit.IsInputEmpty() == 1, "a new mask starts with data '%s'",
                ShowW(edit.GetInputDataW(false)).c_str());

  // The same mask once more rebuilds the same, empty model.
  {
    Probe again;
    again.SetPromptSymbolW(edit.GetPromptSymbolW());
    again.SetMaskW(edit.GetMaskW());
    KW_FUZZ_CHECK(again.ShowMaskW() == literals, "the mask given back shows '%s', the mask '%s'",
                  ShowW(again.ShowMaskW()).c_str(), ShowW(literals).c_str());
  }

  const int inputs = kwfuzz::Count(layout.inputs, '1');
  int steps = 0;
  while (in.remaining_bytes() > 0 && steps++ < 64) {
    const int op = in.ConsumeIntegralInRange<int>(0, 11);
    switch (op) {
      case 0: {  // raw data: prompts keep positions empty
        const KwWString data = SomeText(in, 48);
        const int keep = in.ConsumeIntegralInRange<int>(-1, inputs + 1);
        const int r = edit.SetInputDataW(data.c_str(), keep, 1);
        KW_FUZZ_CHECK(r == 0 || r == 1, "SetInputDataW answered %d", r);
        break;
      }
      case 1: {  // packed data: prompts dropped
        const KwWString data = SomeText(in, 48);
        const int r =
            edit.SetInputDataW(data.c_str(), in.ConsumeIntegralInRange<int>(-1, inputs + 1), 0);
        KW_FUZZ_CHECK(r == 0 || r == 1, "SetInputDataW answered %d", r);
        break;
      }
      case 2: {
        const int pos = Pos(in, n);
        const KwWString before = edit.GetInputDataW(true);
        const char32_t ch = kwfuzz::SomeCharW(in, kTyped, 4);
        const int r = edit.InsertAtW(pos, ch);
        KW_FUZZ_CHECK(r == -1 || (r >= 0 && r < n && r >= pos && edit.IsInputData(r) == 1),
                      "InsertAtW(%d, U+%04X) answered %d", pos, static_cast<unsigned>(ch), r);
        // A position holds one unit: a character of two is refused.
        KW_FUZZ_CHECK(ch <= 0xFFFF || r == -1, "InsertAtW took U+%X", static_cast<unsigned>(ch));
        if (r < 0)
          KW_FUZZ_CHECK(edit.GetInputDataW(true) == before, "a refused insert changed '%s' to '%s'",
                        ShowW(before).c_str(), ShowW(edit.GetInputDataW(true)).c_str());
        break;
      }
      case 3: {
        const int pos = Pos(in, n);
        const KwWString before = edit.GetInputDataW(true);
        const char32_t ch = kwfuzz::SomeCharW(in, kTyped, 4);
        const int r = edit.SetAtW(pos, ch);
        KW_FUZZ_CHECK(r == -1 || r == pos, "SetAtW(%d) answered %d", pos, r);
        if (ch > 0xFFFF)
          KW_FUZZ_CHECK(edit.GetInputDataW(true) == before, "SetAtW(%d, U+%X) changed '%s'", pos,
                        static_cast<unsigned>(ch), ShowW(before).c_str());
        break;
      }
      case 10: {  // the narrow members: any byte but NUL, as a narrow host hands them over
        const int pos = Pos(in, n);
        if (in.ConsumeBool()) {
          edit.InsertAt(pos, static_cast<char>(in.ConsumeIntegralInRange<int>(1, 255)));
        } else {
          const std::string data = in.ConsumeRandomLengthString(24);
          edit.SetInputData(data.c_str(), in.ConsumeIntegralInRange<int>(-1, inputs + 1),
                            in.ConsumeBool());
        }
        break;
      }
      case 11: {  // a shown text read back through the wide and the narrow member alike
        const KwWString text = SomeText(in, 24);
        const bool withPrompt = in.ConsumeBool();
        const KwWString wide = edit.GetInputDataW(text.c_str(), withPrompt);
        // Only the mask's literal runs are cut out of it: a pair splits only where a literal
        // is half of one.
        bool halfLiteral = false;
        for (WCHAR u : literals) halfLiteral = halfLiteral || IsHigh(u) || IsLow(u);
        KW_FUZZ_CHECK(kwfuzz::HalfPairAt(wide) < 0 || kwfuzz::HalfPairAt(text) >= 0 || halfLiteral,
                      "'%s' read as '%s'", ShowW(text).c_str(), ShowW(wide).c_str());
        break;
      }
      case 4: {
        const int start = Pos(in, n);
        const int end = Pos(in, n);
        const int r = edit.DeleteRange(start, end);
        KW_FUZZ_CHECK(r >= 0 && r <= inputs, "DeleteRange(%d, %d) answered %d", start, end, r);
        break;
      }
      case 5: {
        const int pos = Pos(in, n);
        const int next = edit.GetNextInputLocation(pos);
        const int prev = edit.GetPreviousInputLocation(pos);
        const int empty = edit.GetEmptyInputLocation(pos);
        KW_FUZZ_CHECK(next >= 0 && next <= n && (next == n || edit.IsInputData(next) == 1),
                      "GetNextInputLocation(%d) = %d of %d", pos, next, n);
        KW_FUZZ_CHECK(prev >= 0 && prev <= n, "GetPreviousInputLocation(%d) = %d of %d", pos, prev,
                      n);
        KW_FUZZ_CHECK(empty >= 0 && empty <= n && empty >= next,
                      "GetEmptyInputLocation(%d) = %d, next %d", pos, empty, next);
        break;
      }
      case 6:
        if (in.ConsumeBool()) {
          edit.SetPromptSymbolW(kwfuzz::Unit(in));
        } else {
          edit.SetPromptSymbol(static_cast<char>(in.ConsumeIntegral<uint8_t>()));
        }
        break;
      case 7: {  // the data survives SetInputDataW, raw and from the shown text
        const KwWString data = edit.GetInputDataW(true);
        edit.SetInputDataW(data.c_str(), 0, 1);
        KW_FUZZ_CHECK(edit.GetInputDataW(true) == data, "the data '%s' came back as '%s'",
                      ShowW(data).c_str(), ShowW(edit.GetInputDataW(true)).c_str());
        const KwWString shown = edit.ShowMaskW();
        const KwWString fromShown = edit.GetInputDataW(shown.c_str(), true);
        edit.SetInputDataW(fromShown.c_str(), 0, 1);
        KW_FUZZ_CHECK(edit.GetInputDataW(true) == data,
                      "the shown text '%s' gave '%s', which set '%s' for '%s'",
                      ShowW(shown).c_str(), ShowW(fromShown).c_str(),
                      ShowW(edit.GetInputDataW(true)).c_str(), ShowW(data).c_str());
        break;
      }
      case 8:
        edit.EmptyData(1);
        KW_FUZZ_CHECK(edit.IsInputEmpty() == 1, "EmptyData(1) left '%s'",
                      ShowW(edit.GetInputDataW(false)).c_str());
        break;
      default: {  // a copy holds the same model
        Probe copy(edit);
        KW_FUZZ_CHECK(copy.ShowMaskW() == edit.ShowMaskW() && copy.GetMaskW() == edit.GetMaskW(),
                      "the copy shows '%s' for '%s'", ShowW(copy.ShowMaskW()).c_str(),
                      ShowW(edit.ShowMaskW()).c_str());
        break;
      }
    }
    if (kwfuzz::Tracing())
      std::fprintf(stderr, "op %d: shown '%s' data '%s'\n", op, ShowW(edit.ShowMaskW()).c_str(),
                   ShowW(edit.GetInputDataW(true)).c_str());
    CheckModel(edit, layout, mask, literals);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Run(in);
  return 0;
}
