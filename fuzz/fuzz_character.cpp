// Fuzzer of the character control's model (no window): a mask taken from the input, then a
// sequence of editing operations, each followed by the model's invariants:
//  - the shown text has one character per position, and every literal keeps its character;
//  - GetInputData(true) has one character per input position, GetInputData(false) no more;
//  - GetMask gives back the mask it was set with, and setting it again rebuilds the same model;
//  - every position an operation returns lies within the text (or is its end);
//  - the data survives the round trip through SetInputData, and through the shown text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "character/KwCharacterMaskedEdit.h"
#include "host/ModelProbe.h"

namespace {

using kwfuzz::Show;

using Probe = kwhost::ModelProbe<KwCharacterMaskedEdit>;

// What a mask makes, counted from the mask language itself: positions, input positions, and
// for each position whether it takes input.
struct Layout {
  std::string inputs;  // '1' for an input position, '0' for a literal or separator
};

Layout Parse(const std::string& mask) {
  Layout layout;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const char c = mask[i];
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

// A mask character: mostly the mask language, sometimes any byte but NUL (a mask is a text).
char MaskChar(FuzzedDataProvider& in) { return kwfuzz::SomeChar(in, "#A?><&.,:/\\()- x", 8); }

// A character for InsertAt or SetAt: any byte but NUL, which no caller hands over (typed
// characters start at 0x20, pasted text is read as a C string).
char TypedChar(FuzzedDataProvider& in) {
  return static_cast<char>(in.ConsumeIntegralInRange<int>(1, 255));
}

std::string SomeText(FuzzedDataProvider& in, std::size_t max) {
  return in.ConsumeRandomLengthString(max);
}

void CheckModel(Probe& edit, const Layout& layout, const std::string& mask,
                const std::string& literals) {
  const int n = static_cast<int>(layout.inputs.size());
  const int inputs = kwfuzz::Count(layout.inputs, '1');
  const std::string shown = edit.ShowMask();
  KW_FUZZ_CHECK(static_cast<int>(shown.size()) == n,
                "ShowMask '%s' has %zu characters, the mask %d positions", Show(shown).c_str(),
                shown.size(), n);
  for (int i = 0; i < n; ++i) {
    if (layout.inputs[static_cast<std::size_t>(i)] == '0')
      KW_FUZZ_CHECK(shown[static_cast<std::size_t>(i)] == literals[static_cast<std::size_t>(i)],
                    "literal at %d changed: '%s' was '%s'", i, Show(shown).c_str(),
                    Show(literals).c_str());
  }
  const std::string full = edit.GetInputData(true);
  const std::string packed = edit.GetInputData(false);
  KW_FUZZ_CHECK(static_cast<int>(full.size()) == inputs,
                "GetInputData(true) '%s' for %d input positions", Show(full).c_str(), inputs);
  KW_FUZZ_CHECK(static_cast<int>(packed.size()) <= inputs,
                "GetInputData(false) '%s' for %d input positions", Show(packed).c_str(), inputs);
  KW_FUZZ_CHECK(edit.GetMask() == mask, "GetMask '%s' for the mask '%s'",
                Show(edit.GetMask()).c_str(), Show(mask).c_str());
  KW_FUZZ_CHECK(edit.IsInputEmpty() == (packed.empty() ? 1 : 0),
                "IsInputEmpty %d with the data '%s'", edit.IsInputEmpty(), Show(packed).c_str());
}

// A position argument: mostly within the text, sometimes outside it.
int Pos(FuzzedDataProvider& in, int n) { return in.ConsumeIntegralInRange<int>(-2, n + 2); }

void Run(FuzzedDataProvider& in) {
  Probe edit;
  // The prompt: any byte the control takes (it refuses NUL, CR, LF and DEL by itself).
  edit.SetPromptSymbol(in.ConsumeBool() ? '_' : static_cast<char>(in.ConsumeIntegral<uint8_t>()));

  std::string mask;
  const int length = in.ConsumeIntegralInRange<int>(0, 40);
  for (int i = 0; i < length; ++i) mask += MaskChar(in);
  edit.SetMask(mask);
  const Layout layout = Parse(mask);
  const std::string literals = edit.ShowMask();
  const int n = static_cast<int>(layout.inputs.size());
  CheckModel(edit, layout, mask, literals);
  KW_FUZZ_CHECK(edit.IsInputEmpty() == 1, "a new mask starts with data '%s'",
                Show(edit.GetInputData(false)).c_str());

  // The same mask once more rebuilds the same, empty model.
  {
    Probe again;
    again.SetPromptSymbol(edit.GetPromptSymbol());
    again.SetMask(edit.GetMask());
    KW_FUZZ_CHECK(again.ShowMask() == literals, "the mask given back shows '%s', the mask '%s'",
                  Show(again.ShowMask()).c_str(), Show(literals).c_str());
  }

  const int inputs = kwfuzz::Count(layout.inputs, '1');
  int steps = 0;
  while (in.remaining_bytes() > 0 && steps++ < 64) {
    const int op = in.ConsumeIntegralInRange<int>(0, 9);
    switch (op) {
      case 0: {  // raw data: prompts keep positions empty
        const std::string data = SomeText(in, 48);
        const int keep = in.ConsumeIntegralInRange<int>(-1, inputs + 1);
        const int r = edit.SetInputData(data.c_str(), keep, 1);
        KW_FUZZ_CHECK(r == 0 || r == 1, "SetInputData answered %d", r);
        break;
      }
      case 1: {  // packed data: prompts dropped
        const std::string data = SomeText(in, 48);
        const int r =
            edit.SetInputData(data.c_str(), in.ConsumeIntegralInRange<int>(-1, inputs + 1), 0);
        KW_FUZZ_CHECK(r == 0 || r == 1, "SetInputData answered %d", r);
        break;
      }
      case 2: {
        const int pos = Pos(in, n);
        const std::string before = edit.GetInputData(true);
        const int r = edit.InsertAt(pos, TypedChar(in));
        KW_FUZZ_CHECK(r == -1 || (r >= 0 && r < n && r >= pos && edit.IsInputData(r) == 1),
                      "InsertAt(%d) answered %d", pos, r);
        if (r < 0)
          KW_FUZZ_CHECK(edit.GetInputData(true) == before, "a refused insert changed '%s' to '%s'",
                        Show(before).c_str(), Show(edit.GetInputData(true)).c_str());
        break;
      }
      case 3: {
        const int pos = Pos(in, n);
        const int r = edit.SetAt(pos, TypedChar(in));
        KW_FUZZ_CHECK(r == -1 || r == pos, "SetAt(%d) answered %d", pos, r);
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
        edit.SetPromptSymbol(static_cast<char>(in.ConsumeIntegral<uint8_t>()));
        break;
      case 7: {  // the data survives SetInputData, raw and from the shown text
        const std::string data = edit.GetInputData(true);
        edit.SetInputData(data.c_str(), 0, 1);
        KW_FUZZ_CHECK(edit.GetInputData(true) == data, "the data '%s' came back as '%s'",
                      Show(data).c_str(), Show(edit.GetInputData(true)).c_str());
        const std::string shown = edit.ShowMask();
        const std::string fromShown = edit.GetInputData(shown.c_str(), true);
        edit.SetInputData(fromShown.c_str(), 0, 1);
        KW_FUZZ_CHECK(edit.GetInputData(true) == data,
                      "the shown text '%s' gave '%s', which set '%s' for '%s'", Show(shown).c_str(),
                      Show(fromShown).c_str(), Show(edit.GetInputData(true)).c_str(),
                      Show(data).c_str());
        break;
      }
      case 8:
        edit.EmptyData(1);
        KW_FUZZ_CHECK(edit.IsInputEmpty() == 1, "EmptyData(1) left '%s'",
                      Show(edit.GetInputData(false)).c_str());
        break;
      default: {  // a copy holds the same model
        Probe copy(edit);
        KW_FUZZ_CHECK(copy.ShowMask() == edit.ShowMask() && copy.GetMask() == edit.GetMask(),
                      "the copy shows '%s' for '%s'", Show(copy.ShowMask()).c_str(),
                      Show(edit.ShowMask()).c_str());
        break;
      }
    }
    if (kwfuzz::Tracing())
      std::fprintf(stderr, "op %d: shown '%s' data '%s'\n", op, Show(edit.ShowMask()).c_str(),
                   Show(edit.GetInputData(true)).c_str());
    CheckModel(edit, layout, mask, literals);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Run(in);
  return 0;
}
