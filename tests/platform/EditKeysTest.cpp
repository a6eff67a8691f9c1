// What the single-line edit control does with keys, typed through the host loop: characters,
// Backspace, the caret and selection keys with and without Shift, Delete and the clipboard
// shortcuts. One table of named cases, each starting from a text, a selection (anchor, caret)
// and a clipboard, and checking the text, the selection and the clipboard afterwards.
#include <ostream>

#include "common/TestHost.h"

namespace {

using kwtest::ClipboardText;
using kwtest::Press;
using kwtest::Sel;
using kwtest::Text;

enum Mod { kNone = 0, kShift = 1, kCtrl = 2 };

struct KeyCase {
  const char* name;
  const char* text;      // text before
  int anchor, caret;     // selection before, as EM_SETSEL(anchor, caret)
  const char* typed;     // characters to type (nullptr: press vk instead)
  UINT vk;
  int mods;
  const char* clipBefore;
  const char* wantText;
  int wantStart, wantEnd;  // EM_GETSEL afterwards
  const char* wantClip;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class EditKeys : public kwtest::WindowTest, public ::testing::WithParamInterface<KeyCase> {};

const KeyCase kKeyCases[] = {
    // Typed characters insert at the caret or replace the selection.
    {"TypeInsertsAtCaret", "abcdef", 3, 3, "x", 0, kNone, "", "abcxdef", 4, 4, ""},
    {"TypeReplacesSelection", "abcdef", 1, 4, "xy", 0, kNone, "", "axyef", 3, 3, ""},
    {"TypeShiftedCharacters", "", 0, 0, "A!<>?_+\"", 0, kNone, "", "A!<>?_+\"", 8, 8, ""},
    {"TypeAllDigitsAndPunctuation", "", 0, 0, "0123456789 ,.-/;'[]\\=`", 0, kNone, "",
     "0123456789 ,.-/;'[]\\=`", 22, 22, ""},
    // Backspace.
    {"BackspaceDeletesLeftOfCaret", "abcdef", 3, 3, "\b", 0, kNone, "", "abdef", 2, 2, ""},
    {"BackspaceAtStartDoesNothing", "abcdef", 0, 0, "\b", 0, kNone, "", "abcdef", 0, 0, ""},
    {"BackspaceDeletesSelection", "abcdef", 1, 4, "\b", 0, kNone, "", "aef", 1, 1, ""},
    // Caret keys without Shift. With a selection the move starts from the caret end.
    {"LeftMovesCaret", "abcdef", 3, 3, nullptr, VK_LEFT, kNone, "", "abcdef", 2, 2, ""},
    {"LeftAtStartStays", "abcdef", 0, 0, nullptr, VK_LEFT, kNone, "", "abcdef", 0, 0, ""},
    {"RightMovesCaret", "abcdef", 3, 3, nullptr, VK_RIGHT, kNone, "", "abcdef", 4, 4, ""},
    {"RightAtEndStays", "abcdef", 6, 6, nullptr, VK_RIGHT, kNone, "", "abcdef", 6, 6, ""},
    {"UpMovesLikeLeft", "abcdef", 3, 3, nullptr, VK_UP, kNone, "", "abcdef", 2, 2, ""},
    {"DownMovesLikeRight", "abcdef", 3, 3, nullptr, VK_DOWN, kNone, "", "abcdef", 4, 4, ""},
    {"HomeGoesToStart", "abcdef", 3, 3, nullptr, VK_HOME, kNone, "", "abcdef", 0, 0, ""},
    {"EndGoesToEnd", "abcdef", 3, 3, nullptr, VK_END, kNone, "", "abcdef", 6, 6, ""},
    {"LeftDropsSelectionFromCaret", "abcdef", 1, 4, nullptr, VK_LEFT, kNone, "", "abcdef", 3, 3, ""},
    {"LeftDropsReversedSelection", "abcdef", 4, 1, nullptr, VK_LEFT, kNone, "", "abcdef", 0, 0, ""},
    {"RightDropsSelectionFromCaret", "abcdef", 1, 4, nullptr, VK_RIGHT, kNone, "", "abcdef", 5, 5, ""},
    {"HomeDropsSelection", "abcdef", 2, 4, nullptr, VK_HOME, kNone, "", "abcdef", 0, 0, ""},
    // Caret keys with Shift move the caret and keep the anchor.
    {"ShiftLeftSelects", "abcdef", 3, 3, nullptr, VK_LEFT, kShift, "", "abcdef", 2, 3, ""},
    {"ShiftRightSelects", "abcdef", 3, 3, nullptr, VK_RIGHT, kShift, "", "abcdef", 3, 4, ""},
    {"ShiftUpSelectsLeft", "abcdef", 3, 3, nullptr, VK_UP, kShift, "", "abcdef", 2, 3, ""},
    {"ShiftDownSelectsRight", "abcdef", 3, 3, nullptr, VK_DOWN, kShift, "", "abcdef", 3, 4, ""},
    {"ShiftHomeSelectsToStart", "abcdef", 3, 3, nullptr, VK_HOME, kShift, "", "abcdef", 0, 3, ""},
    {"ShiftEndSelectsToEnd", "abcdef", 3, 3, nullptr, VK_END, kShift, "", "abcdef", 3, 6, ""},
    {"ShiftRightExtendsFromCaret", "abcdef", 1, 3, nullptr, VK_RIGHT, kShift, "", "abcdef", 1, 4, ""},
    {"ShiftLeftShrinksFromCaret", "abcdef", 1, 3, nullptr, VK_LEFT, kShift, "", "abcdef", 1, 2, ""},
    {"ShiftRightOfReversedSelectionShrinks", "abcdef", 4, 1, nullptr, VK_RIGHT, kShift, "", "abcdef", 2, 4, ""},
    {"ShiftHomeAcrossAnchorFlips", "abcdef", 3, 4, nullptr, VK_HOME, kShift, "", "abcdef", 0, 3, ""},
    // Delete.
    {"DeleteRemovesRightOfCaret", "abcdef", 3, 3, nullptr, VK_DELETE, kNone, "", "abcef", 3, 3, ""},
    {"DeleteAtEndDoesNothing", "abcdef", 6, 6, nullptr, VK_DELETE, kNone, "", "abcdef", 6, 6, ""},
    {"DeleteRemovesSelection", "abcdef", 1, 4, nullptr, VK_DELETE, kNone, "keep", "aef", 1, 1, "keep"},
    // Clipboard shortcuts as characters (Ctrl+C, Ctrl+X, Ctrl+V make WM_CHAR 3, 24, 22).
    {"CtrlCCopiesSelection", "abcdef", 1, 4, nullptr, 'C', kCtrl, "old", "abcdef", 1, 4, "bcd"},
    {"CtrlXCutsSelection", "abcdef", 1, 4, nullptr, 'X', kCtrl, "old", "aef", 1, 1, "bcd"},
    {"CtrlVPastesAtCaret", "abcdef", 2, 2, nullptr, 'V', kCtrl, "XY", "abXYcdef", 4, 4, "XY"},
    {"CtrlVReplacesSelection", "abcdef", 1, 4, nullptr, 'V', kCtrl, "XY", "aXYef", 3, 3, "XY"},
    {"CtrlCWithoutSelectionKeepsClipboard", "abcdef", 2, 2, nullptr, 'C', kCtrl, "old", "abcdef", 2, 2, "old"},
    // Clipboard shortcuts as keys.
    {"ShiftDeleteCutsSelection", "abcdef", 1, 4, nullptr, VK_DELETE, kShift, "old", "aef", 1, 1, "bcd"},
    {"ShiftInsertPastes", "abcdef", 1, 4, nullptr, VK_INSERT, kShift, "XY", "aXYef", 3, 3, "XY"},
    {"CtrlInsertCopies", "abcdef", 1, 4, nullptr, VK_INSERT, kCtrl, "old", "abcdef", 1, 4, "bcd"},
    // Without a selection, Shift+Delete deletes the character left of the caret and leaves the
    // clipboard alone.
    {"ShiftDeleteWithoutSelectionDeletesLeft", "abcdef", 3, 3, nullptr, VK_DELETE, kShift, "old", "abdef", 2, 2,
     "old"},
};

TEST_P(EditKeys, Acts) {
  const KeyCase& c = GetParam();
  HWND edit = CreateEdit(1, c.text);
  kwtest::Focus(edit);
  kwtest::SetSel(edit, c.anchor, c.caret);
  ASSERT_TRUE(kwtest::SetClipboardText(c.clipBefore));
  if (c.typed)
    kwtest::Type(c.typed);
  else
    Press(c.vk, (c.mods & kShift) != 0, (c.mods & kCtrl) != 0);
  EXPECT_EQ(Text(edit), c.wantText);
  EXPECT_EQ(Sel(edit), std::make_pair(c.wantStart, c.wantEnd));
  EXPECT_EQ(ClipboardText(), c.wantClip);
}

INSTANTIATE_TEST_SUITE_P(Platform, EditKeys, ::testing::ValuesIn(kKeyCases),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

// Typing sends the parent EN_UPDATE then EN_CHANGE for each character; caret moves send nothing.
class EditTyping : public kwtest::WindowTest {};

TEST_F(EditTyping, EachCharacterNotifiesUpdateThenChange) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  kwtest::ClearNotifications();
  kwtest::Type("ab");
  EXPECT_EQ(Text(edit), "ab");
  const std::vector<UINT> want = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
  EXPECT_EQ(kwtest::CodesFor(1), want) << kwtest::Describe(kwtest::CodesFor(1));
  for (const kwtest::Notification& n : kwtest::Notifications()) EXPECT_EQ(n.hwnd, edit);
}

TEST_F(EditTyping, CaretKeysAndRefusedBackspaceNotifyNothing) {
  HWND edit = CreateEdit(1, "abc");
  kwtest::Focus(edit);
  kwtest::SetSel(edit, 0, 0);
  kwtest::ClearNotifications();
  Press(VK_RIGHT);
  Press(VK_END, true);
  Press(VK_HOME);
  kwtest::Type("\b");
  EXPECT_TRUE(kwtest::CodesFor(1).empty()) << kwtest::Describe(kwtest::CodesFor(1));
}

TEST_F(EditTyping, ShiftHeldAcrossKeysExtendsTheSelection) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::Focus(edit);
  kwtest::SetSel(edit, 1, 1);
  {
    kwtest::ShiftHeld shift;
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
  }
  EXPECT_EQ(Sel(edit), std::make_pair(1, 4));
  Press(VK_RIGHT);  // Shift released: the selection drops, caret one right of its end
  EXPECT_EQ(Sel(edit), std::make_pair(5, 5));
}

// The text limit: characters beyond it are refused, and the parent hears EN_MAXTEXT instead
// of a change; a paste is cut to what fits.
class EditLimit : public kwtest::WindowTest {};

TEST_F(EditLimit, DefaultLimitIs30000) {
  HWND edit = CreateEdit(1);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(EditLimit, TypingStopsAtTheLimit) {
  HWND edit = CreateEdit(1);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
  kwtest::Focus(edit);
  kwtest::Type("abc");
  kwtest::ClearNotifications();
  kwtest::Type("d");
  EXPECT_EQ(Text(edit), "abc");
  EXPECT_EQ(Sel(edit), std::make_pair(3, 3));
  // EN_MAXTEXT comes first. Wine then still sends the EN_UPDATE, EN_CHANGE pair of a
  // replacement, though nothing changed; the simulation does as Wine does.
  const std::vector<UINT> want = {EN_MAXTEXT, EN_UPDATE, EN_CHANGE};
  EXPECT_EQ(kwtest::CodesFor(1), want) << kwtest::Describe(kwtest::CodesFor(1));
}

TEST_F(EditLimit, TypingOverASelectionAtTheLimitReplacesIt) {
  HWND edit = CreateEdit(1);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  kwtest::Focus(edit);
  kwtest::Type("abc");
  kwtest::SetSel(edit, 1, 2);
  kwtest::Type("x");
  EXPECT_EQ(Text(edit), "axc");
}

TEST_F(EditLimit, PasteIsCutToTheLimit) {
  HWND edit = CreateEdit(1);
  SendMessageA(edit, EM_LIMITTEXT, 4, 0);
  kwtest::Focus(edit);
  kwtest::Type("ab");
  ASSERT_TRUE(kwtest::SetClipboardText("123456"));
  Press('V', false, true);
  EXPECT_EQ(Text(edit), "ab12");
  EXPECT_EQ(Sel(edit), std::make_pair(4, 4));
}

TEST_F(EditLimit, ZeroRestoresTheDefaultLimit) {
  HWND edit = CreateEdit(1);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  // The real platform widens a limit of 0 to its maximum, not to the 30000 a new control has.
  EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(EditLimit, SetTextIgnoresTheLimit) {
  HWND edit = CreateEdit(1);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  SetWindowTextA(edit, "abcdef");
  EXPECT_EQ(Text(edit), "abcdef");
}

}  // namespace
