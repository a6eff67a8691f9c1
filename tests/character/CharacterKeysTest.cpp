// Keys, characters, focus and clicks on a character control, all driven through the host's
// message loop: posted key input, the PreTranslateMessage walk, IsDialogMessageA,
// TranslateMessage and dispatch.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";

using CharacterRoad = CharacterControlTest;

TEST_F(CharacterRoad, TypingADigitIntoAnEmptyPhoneControl) {
  CharEditProbe& edit = Make(kPhone, 1);
  HWND h = edit.GetSafeHwnd();
  EXPECT_EQ(Text(h), "(___) ___-____") << "Create shows the mask";
  Ready(edit, 1);

  Type("5");

  EXPECT_EQ(Text(h), "(5__) ___-____");
  EXPECT_EQ(Sel(h), Caret(2)) << "the caret is on the next input position";
  // InsertAt rewrites the window once through SetInputData, then OnChar once more.
  EXPECT_EQ(ChangeCodesFor(1), OwnUpdates(2)) << Describe(ChangeCodesFor(1));
  for (const Notification& n : Notifications()) {
    if (n.id == 1) {
      EXPECT_EQ(n.hwnd, h) << "lParam carries the control's window";
    }
  }
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(CharacterRoad, TypingAPhoneNumber) {
  CharEditProbe& edit = Make(kPhone, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 1);
  Type("5551234");
  EXPECT_EQ(Text(h), "(555) 123-4___");
  EXPECT_EQ(Sel(h), Caret(11));
  EXPECT_EQ(edit.GetInputData(true), "5551234___");
  EXPECT_EQ(edit.GetInputData(false), "5551234");
}

struct KeyCase {
  const char* name;
  const char* mask;
  const char* data;  // raw
  int selStart;
  int selEnd;
  UINT vk;
  bool shift;
  const char* shown;
  int caretStart;
  int caretEnd;
  int updates;  // rewrites of the window the parent hears about
};

class CharacterKeys : public CharacterControlTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(CharacterKeys, EditAndMoveWithoutBeeping) {
  const KeyCase& c = GetParam();
  CharEditProbe& edit = Make(c.mask, 1);
  edit.SetInputData(c.data, 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, c.selStart, c.selEnd);

  if (c.shift) {
    // Held across the key, as a user holds it: the control samples the Shift key's state.
    ShiftHeld shift;
    Press(c.vk);
  } else {
    Press(c.vk);
  }

  EXPECT_EQ(Text(h), c.shown);
  EXPECT_EQ(Sel(h), std::make_pair(c.caretStart, c.caretEnd));
  EXPECT_EQ(ChangeCodesFor(1), OwnUpdates(c.updates)) << Describe(ChangeCodesFor(1));
  EXPECT_EQ(edit.refusals, 0) << "keys that change nothing are silent";
}

// Phone mask holding 555123: '(555) 123-____'.
// Each try of DeleteRange lays the data out again, so a Delete or Backspace that removes nothing
// still rewrites the window and leaves the caret on the first input position, and a Backspace
// that crosses literals rewrites once per position it tries.
INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterKeys,
    ::testing::Values(
        KeyCase{"DeleteMovesInputLeft", kPhone, "555123", 2, 2, VK_DELETE, false, "(551) 23_-____", 2, 2, 2},
        KeyCase{"DeleteOnLiteralChangesNoText", kPhone, "555123", 4, 4, VK_DELETE, false, "(555) 123-____", 1, 1, 1},
        KeyCase{"DeleteAtEndChangesNoText", kPhone, "555123", 14, 14, VK_DELETE, false, "(555) 123-____", 1, 1, 1},
        KeyCase{"DeleteSelection", kPhone, "555123", 1, 7, VK_DELETE, false, "(23_) ___-____", 1, 1, 2},
        KeyCase{"ShiftDeleteDeletesToo", kPhone, "555123", 2, 2, VK_DELETE, true, "(551) 23_-____", 2, 2, 2},
        KeyCase{"BackspaceOverLiterals", kPhone, "555123", 6, 6, VK_BACK, false, "(551) 23_-____", 3, 3, 4},
        KeyCase{"BackspaceAtStartDoesNothing", kPhone, "555123", 0, 0, VK_BACK, false, "(555) 123-____", 0, 0, 0},
        KeyCase{"BackspaceBeforeFirstInput", kPhone, "555123", 1, 1, VK_BACK, false, "(555) 123-____", 1, 1, 1},
        KeyCase{"BackspaceSelection", kPhone, "555123", 1, 4, VK_BACK, false, "(123) ___-____", 1, 1, 2},
        KeyCase{"BackspaceLiteralSelection", kPhone, "555123", 4, 6, VK_BACK, false, "(551) 23_-____", 3, 3, 3},
        KeyCase{"LeftSkipsLiterals", kPhone, "555123", 6, 6, VK_LEFT, false, "(555) 123-____", 3, 3, 0},
        KeyCase{"UpMovesLikeLeft", kPhone, "555123", 6, 6, VK_UP, false, "(555) 123-____", 3, 3, 0},
        KeyCase{"RightSkipsLiterals", kPhone, "555123", 3, 3, VK_RIGHT, false, "(555) 123-____", 6, 6, 0},
        KeyCase{"DownMovesLikeRight", kPhone, "555123", 3, 3, VK_DOWN, false, "(555) 123-____", 6, 6, 0},
        KeyCase{"LeftAtFirstInputStays", kPhone, "555123", 1, 1, VK_LEFT, false, "(555) 123-____", 1, 1, 0},
        KeyCase{"RightAtEndStays", kPhone, "555123", 14, 14, VK_RIGHT, false, "(555) 123-____", 14, 14, 0},
        KeyCase{"HomeGoesToFirstInput", kPhone, "555123", 8, 8, VK_HOME, false, "(555) 123-____", 1, 1, 0},
        KeyCase{"EndMayRestAfterLiteral", "(###)", "12", 1, 1, VK_END, false, "(12_)", 5, 5, 0},
        KeyCase{"ShiftLeftExtendsSelection", kPhone, "555123", 6, 6, VK_LEFT, true, "(555) 123-____", 5, 6, 0},
        KeyCase{"ShiftRightExtendsSelection", kPhone, "555123", 3, 3, VK_RIGHT, true, "(555) 123-____", 3, 4, 0},
        KeyCase{"ShiftHomeSelectsToStart", kPhone, "555123", 3, 3, VK_HOME, true, "(555) 123-____", 0, 3, 0}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

using CharacterTyping = CharacterControlTest;

TEST_F(CharacterTyping, InsertShiftsFollowingInput) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555123", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 1);
  Type("9");
  EXPECT_EQ(Text(h), "(955) 512-3___");
  EXPECT_EQ(Sel(h), Caret(2));
}

TEST_F(CharacterTyping, CharacterOnLiteralBeepsAndMovesOn) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555123", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 9);  // the hyphen
  Type("7");
  EXPECT_EQ(edit.refusals, 1);
  EXPECT_EQ(Text(h), "(555) 123-____");
  EXPECT_EQ(Sel(h), Caret(10));
  EXPECT_TRUE(ChangeCodesFor(1).empty()) << "no rewrite: " << Describe(ChangeCodesFor(1));
}

TEST_F(CharacterTyping, RefusedCharacterBeepsAndRedisplays) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555123", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 6);
  if (CanInspect()) ResetBeeps();
  Type("x");
  EXPECT_EQ(edit.refusals, 1);
  if (CanInspect()) {
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(kwinspect::LastBeepType(), static_cast<UINT>(MB_ICONEXCLAMATION));
  }
  EXPECT_EQ(Text(h), "(555) 123-____");
  EXPECT_EQ(Sel(h), Caret(6));
  // The refused insertion rewrote twice (tried, restored), then the handler once more.
  EXPECT_EQ(ChangeCodesFor(1), OwnUpdates(3)) << Describe(ChangeCodesFor(1));
}

TEST_F(CharacterTyping, SelectionWithoutInputBeeps) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555123", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 4, 6);
  Type("1");
  EXPECT_EQ(edit.refusals, 1);
  EXPECT_EQ(Text(h), "(555) 123-____");
  EXPECT_EQ(Sel(h), Caret(6));
}

TEST_F(CharacterTyping, InsertKeyTogglesOverwrite) {
  CharEditProbe& edit = Make("##-##", 1);
  edit.SetInputData("1234", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 0);
  SetClipboardText("77");
  ASSERT_TRUE(edit.GetInsertMode());

  Press(VK_INSERT);
  EXPECT_FALSE(edit.GetInsertMode());
  Type("9");
  EXPECT_EQ(Text(h), "92-34") << "overwrite replaces the character at the caret";
  EXPECT_EQ(Sel(h), Caret(1));
  Type("8");
  EXPECT_EQ(Text(h), "98-34");
  EXPECT_EQ(Sel(h), Caret(3)) << "the caret skips the hyphen";

  SetSel(h, 3, 5);
  Type("5");
  EXPECT_EQ(Text(h), "98-5_") << "with a selection overwrite mode inserts";

  {
    ShiftHeld shift;
    Press(VK_INSERT);
  }
  EXPECT_TRUE(edit.GetInsertMode()) << "Shift+Insert toggles instead of pasting";
  {
    CtrlHeld ctrl;
    Press(VK_INSERT);
  }
  EXPECT_FALSE(edit.GetInsertMode()) << "Ctrl+Insert toggles instead of copying";
  EXPECT_EQ(Text(h), "98-5_");
  EXPECT_EQ(ClipboardText(), "77");
  Press(VK_INSERT);
  EXPECT_TRUE(edit.GetInsertMode());
}

TEST_F(CharacterTyping, OverwriteRefusedCharacterBeeps) {
  CharEditProbe& edit = Make("##", 1);
  edit.SetInputData("12", 0, 1);
  edit.SetInsertMode(false);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 1);
  Type("a");
  EXPECT_EQ(edit.refusals, 1);
  EXPECT_EQ(Text(h), "12");
  EXPECT_EQ(Sel(h), Caret(1));
}

TEST_F(CharacterTyping, ShiftDeleteDoesNotCopy) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555123", 0, 1);
  Ready(edit, 1, 4);
  {
    ShiftHeld shift;
    Press(VK_DELETE);
  }
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "(123) ___-____");
  EXPECT_FALSE(ClipboardHasText());
}

using CharacterFocus = CharacterControlTest;

TEST_F(CharacterFocus, TabIntoControlPutsCaretOnFirstInput) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555", 0, 1);
  HWND other = CreateEdit(2, "x");
  Focus(other);
  Press(VK_TAB);  // wraps round to the first tab stop
  ASSERT_EQ(Focused(), edit.GetSafeHwnd());
  EXPECT_EQ(Sel(edit.GetSafeHwnd()), Caret(1)) << "the dialog's whole-text selection is dropped";
}

TEST_F(CharacterFocus, FocusKeepsAPartialSelection) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555", 0, 1);
  SetSel(edit.GetSafeHwnd(), 2, 3);
  Focus(edit.GetSafeHwnd());
  EXPECT_EQ(Sel(edit.GetSafeHwnd()), std::make_pair(2, 3));
}

TEST_F(CharacterFocus, ClickIntoEmptyControlGoesToFirstInput) {
  CharEditProbe& edit = Make(kPhone, 1);
  HWND h = edit.GetSafeHwnd();
  ASSERT_NE(Focused(), h);
  Click(h, 8);
  EXPECT_EQ(Focused(), h);
  EXPECT_EQ(Sel(h), Caret(1));
}

TEST_F(CharacterFocus, ClickIntoControlWithInputPlacesCaretAtClick) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("555123", 0, 1);
  HWND h = edit.GetSafeHwnd();
  ASSERT_NE(Focused(), h);
  Click(h, 8);
  EXPECT_EQ(Focused(), h);
  EXPECT_EQ(Sel(h), Caret(8));
}

TEST_F(CharacterFocus, AutoTabMovesToNextControlWhenFull) {
  CharEditProbe& first = Make("##", 1);
  CharEditProbe& second = Make("##", 2);
  first.SetAutoTab(true);
  Ready(first, 0);
  Type("1");
  EXPECT_EQ(Focused(), first.GetSafeHwnd());
  Type("2");
  EXPECT_EQ(Text(first.GetSafeHwnd()), "12");
  EXPECT_EQ(Focused(), second.GetSafeHwnd());
  Type("3");
  EXPECT_EQ(Text(second.GetSafeHwnd()), "3_") << "typing goes on in the next control";
}

TEST_F(CharacterFocus, AutoTabStaysWhenOnlyTabStop) {
  CharEditProbe& edit = Make("##", 1);
  edit.SetAutoTab(true);
  Ready(edit, 0);
  Type("12");
  EXPECT_EQ(Focused(), edit.GetSafeHwnd());
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "12");
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(CharacterFocus, AutoTabOnFocusOfMaskWithoutInput) {
  CharEditProbe& edit = Make("--", 1);
  CharEditProbe& next = Make("##", 2);
  HWND plain = CreateEdit(3, "x");
  edit.SetAutoTab(true);
  Focus(plain);
  Press(VK_TAB);  // wraps round to the literal-only control, which has nothing to fill
  EXPECT_EQ(Focused(), next.GetSafeHwnd()) << "the focus moves on";
}

TEST_F(CharacterFocus, NoAutoTabPutsCaretAtEnd) {
  CharEditProbe& edit = Make("##", 1);
  Make("##", 2);
  Ready(edit, 0);
  Type("12");
  EXPECT_EQ(Focused(), edit.GetSafeHwnd());
  EXPECT_EQ(Sel(edit.GetSafeHwnd()), Caret(2));
}

}  // namespace
}  // namespace kwtest
