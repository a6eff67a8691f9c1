// Fuzzer of the number control's model (no window): data strings and editing operations on a
// plain or money number through the wide members (UTF-16: ASCII, full-width and Arabic-Indic
// digits, the separators U+202F, U+00A0 and U+2019, letters of several scripts, halves of
// pairs and pairs whole), now and then the narrow ones, each followed by the model's
// invariants:
//  - the data (GetInputDataW(false)) has at most one '.', and GetInputDataW(true) one unit per
//    data position (12);
//  - the shown text reads back, through GetInputDataW(text), as the data;
//  - neither the data nor the shown text holds half a pair (nor any unit of a pair: a number
//    is made of digits, signs, separators and blanks);
//  - the narrow reads are the wide ones through the ANSI code page;
//  - positions answered by the operations lie within the shown text (or at its end).
// Positions handed in are caret positions within the shown text, as the control's own key,
// clipboard and caret handling pass them.
//  - the data survives SetTextW of itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "WideText.h"
#include "core/KwText.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

using kwfuzz::Show;
using kwfuzz::ShowW;

using Probe = kwhost::ModelProbe<KwNumberMaskedEdit>;

// Prompts that no data position takes and no separator shows: with any other prompt an entered
// character could not be told from an empty place.
WCHAR Prompt(FuzzedDataProvider& in) {
  static const WCHAR kPrompts[] = {' ', '_', '*', '#', 'x', 0x00B7, 0x2022};
  return kPrompts[in.ConsumeIntegralInRange<std::size_t>(0,
                                                         sizeof kPrompts / sizeof kPrompts[0] - 1)];
}

// What a number is made of, in ASCII, and in other scripts and forms: full-width and
// Arabic-Indic digits, the full-width point and minus, the world's group separators.
const char kNumberAscii[] = "0123456789.-+ ,";
const WCHAR kNumberWide[] = {0xFF10, 0xFF11, 0xFF15, 0xFF19, 0x0660, 0x0661, 0x0665, 0x0669,
                             0xFF0E, 0xFF0D, 0x2212, 0x202F, 0x00A0, 0x2019, 0x066B, 0x066C};

// A character to type or set: mostly what a number is made of, sometimes anything of UTF-16
// (WideText.h) but NUL, which no caller hands over.
char32_t NumberChar(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0)
    return kNumberWide[in.ConsumeIntegralInRange<std::size_t>(
        0, sizeof kNumberWide / sizeof kNumberWide[0] - 1)];
  return kwfuzz::SomeCharW(in, kNumberAscii, 8);
}

KwWString NumberText(FuzzedDataProvider& in) {
  KwWString s;
  const int length = in.ConsumeIntegralInRange<int>(0, 24);
  for (int i = 0; i < length; ++i) {
    const char32_t c = NumberChar(in);
    s += c > 0xFFFF ? kwfuzz::PairOf(c) : KwWString(1, static_cast<WCHAR>(c));
  }
  return s;
}

bool HasSurrogate(const KwWString& text) {
  return std::any_of(text.begin(), text.end(),
                     [](WCHAR u) { return kwfuzz::IsHigh(u) || kwfuzz::IsLow(u); });
}

void CheckModel(Probe& edit) {
  const KwWString data = edit.GetInputDataW(false);
  const KwWString full = edit.GetInputDataW(true);
  const KwWString shown = edit.ShowMaskW();
  KW_FUZZ_CHECK(std::count(data.begin(), data.end(), WCHAR('.')) <= 1,
                "the data '%s' has more than one point (shown '%s')", ShowW(data).c_str(),
                ShowW(shown).c_str());
  KW_FUZZ_CHECK(full.size() == 12, "GetInputDataW(true) '%s'", ShowW(full).c_str());
  KW_FUZZ_CHECK(shown.size() <= 14, "ShowMaskW '%s'", ShowW(shown).c_str());
  KW_FUZZ_CHECK(!HasSurrogate(full) && !HasSurrogate(shown),
                "a unit of a pair in the data '%s' or the shown text '%s'", ShowW(full).c_str(),
                ShowW(shown).c_str());
  // Digit positions take a space as well; it is no part of the number read from a text.
  KwWString digits = data;
  digits.erase(std::remove(digits.begin(), digits.end(), WCHAR(' ')), digits.end());
  const KwWString readBack = edit.GetInputDataW(shown.c_str(), false);
  KW_FUZZ_CHECK(readBack == digits, "the shown text '%s' reads as '%s', the data is '%s'",
                ShowW(shown).c_str(), ShowW(readBack).c_str(), ShowW(data).c_str());
  // A lone point is no input.
  const bool noInput = data.find_first_not_of(WCHAR('.')) == KwWString::npos;
  KW_FUZZ_CHECK(edit.IsInputEmpty() == (noInput ? 1 : 0), "IsInputEmpty %d with the data '%s'",
                edit.IsInputEmpty(), ShowW(data).c_str());
  // The narrow members read what the wide ones do, through the ANSI code page.
  KW_FUZZ_CHECK(edit.GetInputData(false) == KwNarrow(data) &&
                    edit.GetInputData(true) == KwNarrow(full) && edit.ShowMask() == KwNarrow(shown),
                "narrow '%s' / '%s' for wide '%s' / '%s'", Show(edit.GetInputData(true)).c_str(),
                Show(edit.ShowMask()).c_str(), ShowW(full).c_str(), ShowW(shown).c_str());
}

void Run(FuzzedDataProvider& in) {
  Probe edit;
  const WCHAR prompt = Prompt(in);
  if (prompt != ' ') edit.SetPromptSymbolW(prompt);
  edit.SetMaskW(in.ConsumeBool() ? KW_W("$") : KW_W("%"));
  if (kwfuzz::Tracing())
    std::fprintf(stderr, "prompt U+%04X, mask '%s'\n", static_cast<unsigned>(prompt),
                 edit.GetMask().c_str());
  CheckModel(edit);

  int steps = 0;
  while (in.remaining_bytes() > 0 && steps++ < 48) {
    const int shownLength = static_cast<int>(edit.ShowMaskW().size());
    const int op = in.ConsumeIntegralInRange<int>(0, 8);
    switch (op) {
      case 0: {
        const KwWString text = NumberText(in);
        const int keep = in.ConsumeIntegralInRange<int>(-1, 14);
        const bool raw = in.ConsumeBool();
        if (kwfuzz::Tracing())
          std::fprintf(stderr, "SetInputDataW('%s', %d, %d)\n", ShowW(text).c_str(), keep, raw);
        const int r = edit.SetInputDataW(text.c_str(), keep, raw);
        KW_FUZZ_CHECK(r == 0 || r == 1, "SetInputDataW answered %d", r);
        break;
      }
      case 1: {
        const KwWString text = NumberText(in);
        if (kwfuzz::Tracing()) std::fprintf(stderr, "SetTextW('%s')\n", ShowW(text).c_str());
        edit.SetTextW(text);
        break;
      }
      case 2: {
        const int pos = in.ConsumeIntegralInRange<int>(0, shownLength);
        const KwWString before = edit.GetInputDataW(false);
        const char32_t ch = NumberChar(in);
        const int r = edit.InsertAtW(pos, ch);
        // A point typed anywhere but at the decimal point lays the number out with the new
        // point and answers a negative value (-2 for '.' between 1 and 23 of 123, -1 between
        // 5 and 5 of 55: the position it had before the new layout); the key handling beeps.
        const KwWString after = edit.GetInputDataW(false);
        const bool movedPoint =
            ch == '.' && r < 0 && std::count(after.begin(), after.end(), WCHAR('.')) == 1;
        // Any other negative answer is a refusal (-1: refused character, below: no place for it).
        KW_FUZZ_CHECK(r <= static_cast<int>(edit.ShowMaskW().size()),
                      "InsertAtW(%d, U+%04X) answered %d, shown '%s', data before '%s'", pos,
                      static_cast<unsigned>(ch), r, ShowW(edit.ShowMaskW()).c_str(),
                      ShowW(before).c_str());
        KW_FUZZ_CHECK(ch <= 0xFFFF || r == -1, "InsertAtW took U+%X", static_cast<unsigned>(ch));
        if (r < 0 && !movedPoint)
          KW_FUZZ_CHECK(after == before, "a refused insert of U+%04X at %d changed '%s' to '%s'",
                        static_cast<unsigned>(ch), pos, ShowW(before).c_str(),
                        ShowW(after).c_str());
        break;
      }
      case 3: {
        const int pos = in.ConsumeIntegralInRange<int>(0, shownLength);
        const bool withPrompt = in.ConsumeBool();
        const int r = edit.SetAtW(pos, withPrompt ? edit.GetPromptSymbolW() : NumberChar(in));
        KW_FUZZ_CHECK(r >= -1 && r <= static_cast<int>(edit.ShowMaskW().size()),
                      "SetAtW(%d) answered %d, shown '%s'", pos, r,
                      ShowW(edit.ShowMaskW()).c_str());
        break;
      }
      case 8: {  // the narrow members: any byte but NUL, as a narrow host hands them over
        const int pos = in.ConsumeIntegralInRange<int>(0, shownLength);
        if (in.ConsumeBool()) {
          edit.InsertAt(pos, kwfuzz::SomeChar(in, kNumberAscii, 4));
        } else {
          edit.SetText(in.ConsumeRandomLengthString(24));
        }
        break;
      }
      case 4: {
        const int start = in.ConsumeIntegralInRange<int>(0, shownLength);
        const int end = in.ConsumeIntegralInRange<int>(start, shownLength);
        const int r = edit.DeleteRange(start, end);
        KW_FUZZ_CHECK(r >= 0 && r <= 12, "DeleteRange(%d, %d) answered %d", start, end, r);
        break;
      }
      case 5: {
        const int pos = in.ConsumeIntegralInRange<int>(0, shownLength);
        const int next = edit.GetNextInputLocation(pos);
        const int prev = edit.GetPreviousInputLocation(pos);
        const int empty = edit.GetEmptyInputLocation(pos);
        KW_FUZZ_CHECK(
            next >= 0 && prev >= 0 && empty >= 0 && next <= 14 && prev <= 14 && empty <= 14,
            "locations of %d: next %d, previous %d, empty %d", pos, next, prev, empty);
        break;
      }
      case 6: {  // the data survives SetTextW of itself
        const KwWString data = edit.GetInputDataW(false);
        edit.SetTextW(data);
        KW_FUZZ_CHECK(edit.GetInputDataW(false) == data, "SetTextW('%s') gave '%s'",
                      ShowW(data).c_str(), ShowW(edit.GetInputDataW(false)).c_str());
        break;
      }
      default:
        edit.EmptyData(1);
        KW_FUZZ_CHECK(edit.IsInputEmpty() == 1, "EmptyData(1) left '%s'",
                      ShowW(edit.GetInputDataW(false)).c_str());
        break;
    }
    if (kwfuzz::Tracing())
      std::fprintf(stderr, "op %d: shown '%s' data '%s'\n", op, ShowW(edit.ShowMaskW()).c_str(),
                   ShowW(edit.GetInputDataW(true)).c_str());
    CheckModel(edit);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Run(in);
  return 0;
}
