// A read-only control (ES_READONLY at creation, or EM_SETREADONLY later) takes no edit from the
// keyboard, the clipboard messages or undo, refuses nothing itself (no ValidationError: the edit
// control decides whether to beep), and still copies and moves its caret; WM_CUT copies without
// deleting, as the read-only edit control does. The same table for the three controls.
#include <gtest/gtest.h>

#include <tuple>

#include "core/AnyControl.h"

namespace kwtest {
namespace {

struct Holding {
  char kind;
  const char* mask;
  const char* data;
};
const Holding kHoldings[] = {
    {'c', "(###) ###-####", "5551234567"},
    {'n', "%", "1234.5"},
    {'f', "#", "123"},
};

struct KeyCase {
  const char* name;
  const char* keys;  // a key script, played with [1, 3) selected
  bool copies;       // the clipboard then holds the selected text
  bool toEnd;        // the caret then stands at the end of the text
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

enum ReadOnlyBy { kStyle, kMessage };

class ReadOnly : public AnyControlTest,
                 public ::testing::WithParamInterface<std::tuple<KeyCase, int, ReadOnlyBy>> {};

TEST_P(ReadOnly, TakesNoEdit) {
  const KeyCase& c = std::get<0>(GetParam());
  const Holding& h = kHoldings[std::get<1>(GetParam())];
  const ReadOnlyBy by = std::get<2>(GetParam());
  SCOPED_TRACE(KindName(h.kind));
  KwMaskedEdit& edit =
      Make(h.kind, h.mask, h.data, kEditStyle | (by == kStyle ? ES_READONLY : 0), 0);
  const HWND hwnd = edit.GetSafeHwnd();
  if (by == kMessage) {
    // An edit first, so that undo would have a step to take back.
    Ready(edit, 3, 3);
    Keys("{Back}");
    ASSERT_TRUE(edit.CanUndo());
    ::SendMessageA(hwnd, EM_SETREADONLY, TRUE, 0);
  }
  ASSERT_NE(edit.GetStyle() & ES_READONLY, 0u);
  const std::string before = TextOf(edit);
  const std::string data = edit.GetInputData(false);
  ASSERT_TRUE(SetClipboardText("77"));
  Ready(edit, 1, 3);
  const std::string selected = before.substr(1, 2);
  Keys(c.keys);

  EXPECT_EQ(TextOf(edit), before);
  EXPECT_EQ(edit.GetInputData(false), data);
  EXPECT_EQ(refusals, 0) << "the control refuses nothing itself";
  EXPECT_EQ(RejectedNotes(), 0);
  EXPECT_EQ(ClipboardText(), c.copies ? selected : std::string("77"));
  const int end = static_cast<int>(before.size());
  if (c.toEnd) {
    EXPECT_EQ(Sel(hwnd), std::make_pair(end, end));
  }
  EXPECT_FALSE(edit.Undo()) << "nor does the host's own call undo";
  EXPECT_EQ(::SendMessageA(hwnd, EM_UNDO, 0, 0), FALSE) << "nor the edit control's";
  EXPECT_EQ(TextOf(edit), before);

  // Writable again, the control edits and undoes as ever.
  ::SendMessageA(hwnd, EM_SETREADONLY, FALSE, 0);
  Ready(edit, 0, 0);
  Keys("{Home}{Del}");
  EXPECT_NE(TextOf(edit), before);
  Keys("{C+z}");
  EXPECT_EQ(TextOf(edit), before);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReadOnly,
    ::testing::Combine(
        ::testing::Values(
            KeyCase{"Digit", "5", false, false}, KeyCase{"Letter", "a", false, false},
            KeyCase{"Space", " ", false, false}, KeyCase{"Backspace", "{Back}", false, false},
            KeyCase{"Delete", "{Del}", false, false},
            KeyCase{"ShiftDelete", "{S+Del}", false, false},
            KeyCase{"CtrlX", "{C+x}", false, false}, KeyCase{"CtrlV", "{C+v}", false, false},
            KeyCase{"ShiftInsert", "{S+Ins}", false, false}, KeyCase{"Cut", "{Cut}", true, false},
            KeyCase{"Paste", "{Paste}", false, false}, KeyCase{"Clear", "{Clear}", false, false},
            KeyCase{"CtrlZ", "{C+z}", false, false}, KeyCase{"CtrlY", "{C+y}", false, false},
            KeyCase{"CtrlShiftZ", "{C+S+z}", false, false},
            KeyCase{"UndoMessage", "{Undo}", false, false}, KeyCase{"CtrlC", "{C+c}", true, false},
            KeyCase{"CopyMessage", "{Copy}", true, false}, KeyCase{"End", "{End}", false, true},
            KeyCase{"TypingAtTheEnd", "{End}12", false, true}),
        ::testing::Range(0, 3), ::testing::Values(kStyle, kMessage)),
    [](const ::testing::TestParamInfo<std::tuple<KeyCase, int, ReadOnlyBy>>& info) {
      return std::string(std::get<0>(info.param).name) + "_" +
             KindName(kHoldings[std::get<1>(info.param)].kind) +
             (std::get<2>(info.param) == kStyle ? "_Style" : "_Message");
    });

}  // namespace
}  // namespace kwtest
