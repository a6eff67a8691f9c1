// Fuzzer of the number control's model (no window): data strings and editing operations on a
// plain or money number, each followed by the model's invariants:
//  - the data (GetInputData(false)) has at most one '.', and GetInputData(true) one character
//    per data position (12);
//  - the shown text reads back, through GetInputData(text), as the data;
//  - positions answered by the operations lie within the shown text (or at its end).
// Positions handed in are caret positions within the shown text, as the control's own key,
// clipboard and caret handling pass them.
//  - the data survives SetText of itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

using kwfuzz::Show;

using Probe = kwhost::ModelProbe<KwNumberMaskedEdit>;

// Prompts that no data position takes and no separator shows: with any other prompt an entered
// character could not be told from an empty place.
char Prompt(FuzzedDataProvider& in) {
  static const char kPrompts[] = " _*#x";
  return kPrompts[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kPrompts - 2)];
}

// A character to type or set: mostly what a number is made of, sometimes any byte but NUL,
// which no caller hands over (typed characters start at 0x20, pasted text is a C string).
char NumberChar(FuzzedDataProvider& in) { return kwfuzz::SomeChar(in, "0123456789.-+ ,", 6); }

std::string NumberText(FuzzedDataProvider& in) {
  std::string s;
  const int length = in.ConsumeIntegralInRange<int>(0, 24);
  for (int i = 0; i < length; ++i) s += NumberChar(in);
  return s;
}

void CheckModel(Probe& edit) {
  const std::string data = edit.GetInputData(false);
  const std::string full = edit.GetInputData(true);
  const std::string shown = edit.ShowMask();
  KW_FUZZ_CHECK(kwfuzz::Count(data, '.') <= 1, "the data '%s' has more than one point (shown '%s')",
                Show(data).c_str(), Show(shown).c_str());
  KW_FUZZ_CHECK(full.size() == 12, "GetInputData(true) '%s'", Show(full).c_str());
  KW_FUZZ_CHECK(shown.size() <= 14, "ShowMask '%s'", Show(shown).c_str());
  // Digit positions take a space as well; it is no part of the number read from a text.
  std::string digits = data;
  digits.erase(std::remove(digits.begin(), digits.end(), ' '), digits.end());
  const std::string readBack = edit.GetInputData(shown.c_str(), false);
  KW_FUZZ_CHECK(readBack == digits, "the shown text '%s' reads as '%s', the data is '%s'",
                Show(shown).c_str(), Show(readBack).c_str(), Show(data).c_str());
  // A lone point is no input.
  const bool noInput = data.find_first_not_of('.') == std::string::npos;
  KW_FUZZ_CHECK(edit.IsInputEmpty() == (noInput ? 1 : 0), "IsInputEmpty %d with the data '%s'",
                edit.IsInputEmpty(), Show(data).c_str());
}

void Run(FuzzedDataProvider& in) {
  Probe edit;
  const char prompt = Prompt(in);
  if (prompt != ' ') edit.SetPromptSymbol(prompt);
  edit.SetMask(in.ConsumeBool() ? "$" : "%");
  if (kwfuzz::Tracing())
    std::fprintf(stderr, "prompt '%c', mask '%s'\n", prompt, edit.GetMask().c_str());
  CheckModel(edit);

  int steps = 0;
  while (in.remaining_bytes() > 0 && steps++ < 48) {
    const int shownLength = static_cast<int>(edit.ShowMask().size());
    const int op = in.ConsumeIntegralInRange<int>(0, 7);
    switch (op) {
      case 0: {
        const std::string text = NumberText(in);
        const int keep = in.ConsumeIntegralInRange<int>(-1, 14);
        const bool raw = in.ConsumeBool();
        if (kwfuzz::Tracing())
          std::fprintf(stderr, "SetInputData('%s', %d, %d)\n", Show(text).c_str(), keep, raw);
        const int r = edit.SetInputData(text.c_str(), keep, raw);
        KW_FUZZ_CHECK(r == 0 || r == 1, "SetInputData answered %d", r);
        break;
      }
      case 1: {
        const std::string text = NumberText(in);
        if (kwfuzz::Tracing()) std::fprintf(stderr, "SetText('%s')\n", Show(text).c_str());
        edit.SetText(text);
        break;
      }
      case 2: {
        const int pos = in.ConsumeIntegralInRange<int>(0, shownLength);
        const std::string before = edit.GetInputData(false);
        const char ch = NumberChar(in);
        const int r = edit.InsertAt(pos, ch);
        // A point typed anywhere but at the decimal point lays the number out with the new
        // point and answers a negative value (-2 for '.' between 1 and 23 of 123, -1 between
        // 5 and 5 of 55: the position it had before the new layout); the key handling beeps.
        const bool movedPoint =
            ch == '.' && r < 0 && kwfuzz::Count(edit.GetInputData(false), '.') == 1;
        // Any other negative answer is a refusal (-1: refused character, below: no place for it).
        KW_FUZZ_CHECK(r <= static_cast<int>(edit.ShowMask().size()),
                      "InsertAt(%d, '%s') answered %d, shown '%s', data before '%s'", pos,
                      Show(std::string(1, ch)).c_str(), r, Show(edit.ShowMask()).c_str(),
                      Show(before).c_str());
        if (r < 0 && !movedPoint)
          KW_FUZZ_CHECK(edit.GetInputData(false) == before,
                        "a refused insert of '%s' at %d changed '%s' to '%s'",
                        Show(std::string(1, ch)).c_str(), pos, Show(before).c_str(),
                        Show(edit.GetInputData(false)).c_str());
        break;
      }
      case 3: {
        const int pos = in.ConsumeIntegralInRange<int>(0, shownLength);
        const bool withPrompt = in.ConsumeBool();
        const int r = edit.SetAt(pos, withPrompt ? edit.GetPromptSymbol() : NumberChar(in));
        KW_FUZZ_CHECK(r >= -1 && r <= static_cast<int>(edit.ShowMask().size()),
                      "SetAt(%d) answered %d, shown '%s'", pos, r, Show(edit.ShowMask()).c_str());
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
      case 6: {  // the data survives SetText of itself
        const std::string data = edit.GetInputData(false);
        edit.SetText(data);
        KW_FUZZ_CHECK(edit.GetInputData(false) == data, "SetText('%s') gave '%s'",
                      Show(data).c_str(), Show(edit.GetInputData(false)).c_str());
        break;
      }
      default:
        edit.EmptyData(1);
        KW_FUZZ_CHECK(edit.IsInputEmpty() == 1, "EmptyData(1) left '%s'",
                      Show(edit.GetInputData(false)).c_str());
        break;
    }
    if (kwfuzz::Tracing())
      std::fprintf(stderr, "op %d: shown '%s' data '%s'\n", op, Show(edit.ShowMask()).c_str(),
                   Show(edit.GetInputData(true)).c_str());
    CheckModel(edit);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Run(in);
  return 0;
}
