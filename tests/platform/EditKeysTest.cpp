// What the focused single-line edit control does with keys typed through the host loop
// (characters, Backspace, the caret and selection keys with and without Shift, Delete, the
// clipboard shortcuts), with EM_REPLACESEL and the clipboard messages, and at the text limit.
// Each row starts from a text, a selection (anchor, caret), a limit and a clipboard, and checks
// the text, selection, clipboard and the parent's notifications afterwards (as ptest::Notes).
#include "PlatformTest.h"

namespace {

struct KeyCase {
  const char* name;
  const char* text;
  int anchor, caret;  // EM_SETSEL(anchor, caret) before
  int limit;          // EM_LIMITTEXT before, 0: the default
  const char* clip;   // clipboard before, "": empty
  const char* keys;   // a key script (host/KeyScript.h)
  const char* wantText;
  int wantStart, wantEnd;
  const char* wantClip;
  const char* wantNotes;
  bool readOnly = false;  // ES_READONLY
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class EditKeys : public kwtest::WindowTest, public ::testing::WithParamInterface<KeyCase> {};

const KeyCase kKeyCases[] = {
    // Characters insert at the caret or replace the selection; each change is EN_UPDATE, EN_CHANGE.
    {"TypeInsertsAtCaret", "abcdef", 3, 3, 0, "", "x", "abcxdef", 4, 4, "", "1U 1C"},
    {"TypeReplacesSelection", "abcdef", 1, 4, 0, "", "xy", "axyef", 3, 3, "", "1U 1C 1U 1C"},
    {"BackspaceDeletesLeft", "abcdef", 3, 3, 0, "", "{Back}", "abdef", 2, 2, "", "1U 1C"},
    {"BackspaceAtStartDoesNothing", "abcdef", 0, 0, 0, "", "{Back}", "abcdef", 0, 0, "", ""},
    {"BackspaceDeletesSelection", "abcdef", 1, 4, 0, "", "{Back}", "aef", 1, 1, "", "1U 1C"},
    // Caret keys without Shift; with a selection the move starts from the caret end.
    {"Left", "abcdef", 3, 3, 0, "", "{Left}", "abcdef", 2, 2, "", ""},
    {"LeftAtStartStays", "abcdef", 0, 0, 0, "", "{Left}", "abcdef", 0, 0, "", ""},
    {"Right", "abcdef", 3, 3, 0, "", "{Right}", "abcdef", 4, 4, "", ""},
    {"RightAtEndStays", "abcdef", 6, 6, 0, "", "{Right}", "abcdef", 6, 6, "", ""},
    {"UpAndDownAreLeftAndRight", "abcdef", 3, 3, 0, "", "{Up}{Up}{Down}", "abcdef", 2, 2, "", ""},
    {"Home", "abcdef", 3, 3, 0, "", "{Home}", "abcdef", 0, 0, "", ""},
    {"End", "abcdef", 3, 3, 0, "", "{End}", "abcdef", 6, 6, "", ""},
    {"LeftDropsSelectionFromCaret", "abcdef", 1, 4, 0, "", "{Left}", "abcdef", 3, 3, "", ""},
    {"LeftDropsReversedSelection", "abcdef", 4, 1, 0, "", "{Left}", "abcdef", 0, 0, "", ""},
    {"RightDropsSelectionFromCaret", "abcdef", 1, 4, 0, "", "{Right}", "abcdef", 5, 5, "", ""},
    {"HomeDropsSelection", "abcdef", 2, 4, 0, "", "{Home}", "abcdef", 0, 0, "", ""},
    // With Shift the caret moves and the anchor stays.
    {"ShiftLeft", "abcdef", 3, 3, 0, "", "{S+Left}", "abcdef", 2, 3, "", ""},
    {"ShiftRight", "abcdef", 3, 3, 0, "", "{S+Right}", "abcdef", 3, 4, "", ""},
    {"ShiftUpAndDown", "abcdef", 3, 3, 0, "", "{S+Down}{S+Down}{S+Up}", "abcdef", 3, 4, "", ""},
    {"ShiftHome", "abcdef", 3, 3, 0, "", "{S+Home}", "abcdef", 0, 3, "", ""},
    {"ShiftEnd", "abcdef", 3, 3, 0, "", "{S+End}", "abcdef", 3, 6, "", ""},
    {"ShiftRightRepeatedExtends", "abcdef", 1, 1, 0, "", "{S+Right}{S+Right}{S+Right}", "abcdef", 1,
     4, "", ""},
    {"ShiftLeftShrinksFromCaret", "abcdef", 1, 3, 0, "", "{S+Left}", "abcdef", 1, 2, "", ""},
    {"ShiftRightShrinksReversed", "abcdef", 4, 1, 0, "", "{S+Right}", "abcdef", 2, 4, "", ""},
    {"ShiftHomeAcrossAnchorFlips", "abcdef", 3, 4, 0, "", "{S+Home}", "abcdef", 0, 3, "", ""},
    // Delete.
    {"DeleteRemovesRight", "abcdef", 3, 3, 0, "", "{Del}", "abcef", 3, 3, "", "1U 1C"},
    {"DeleteAtEndDoesNothing", "abcdef", 6, 6, 0, "", "{Del}", "abcdef", 6, 6, "", ""},
    {"DeleteRemovesSelection", "abcdef", 1, 4, 0, "keep", "{Del}", "aef", 1, 1, "keep", "1U 1C"},
    // Clipboard shortcuts as characters (WM_CHAR 3, 24, 22) and as keys.
    {"CtrlCCopies", "abcdef", 1, 4, 0, "old", "{C+C}", "abcdef", 1, 4, "bcd", ""},
    {"CtrlCWithoutSelectionKeepsClipboard", "abcdef", 2, 2, 0, "old", "{C+C}", "abcdef", 2, 2,
     "old", ""},
    {"CtrlXCuts", "abcdef", 1, 4, 0, "old", "{C+X}", "aef", 1, 1, "bcd", "1U 1C"},
    {"CtrlVPastesAtCaret", "abcdef", 2, 2, 0, "XY", "{C+V}", "abXYcdef", 4, 4, "XY", "1U 1C"},
    {"CtrlVReplacesSelection", "abcdef", 1, 4, 0, "XY", "{C+V}", "aXYef", 3, 3, "XY", "1U 1C"},
    {"ShiftDeleteCuts", "abcdef", 1, 4, 0, "old", "{S+Del}", "aef", 1, 1, "bcd", "1U 1C"},
    {"ShiftInsertPastes", "abcdef", 1, 4, 0, "XY", "{S+Ins}", "aXYef", 3, 3, "XY", "1U 1C"},
    {"CtrlInsertCopies", "abcdef", 1, 4, 0, "old", "{C+Ins}", "abcdef", 1, 4, "bcd", ""},
    // Without a selection Shift+Delete deletes left of the caret and leaves the clipboard.
    {"ShiftDeleteWithoutSelection", "abcdef", 3, 3, 0, "old", "{S+Del}", "abdef", 2, 2, "old",
     "1U 1C"},
    // EM_REPLACESEL and the clipboard messages.
    {"ReplaceSel", "abcdef", 1, 3, 0, "", "{Replace=XYZ}", "aXYZdef", 4, 4, "", "1U 1C"},
    {"WmCut", "abcdef", 2, 5, 0, "old", "{Cut}", "abf", 2, 2, "cde", "1U 1C"},
    {"WmCutWithoutSelectionKeepsTheClipboard", "abcdef", 2, 2, 0, "keep", "{Cut}", "abcdef", 2, 2,
     "keep", ""},
    {"WmCopyOfAReversedSelection", "abcdef", 5, 2, 0, "old", "{Copy}", "abcdef", 2, 5, "cde", ""},
    {"WmClearLeavesTheClipboard", "abcdef", 0, 2, 0, "keep", "{Clear}", "cdef", 0, 0, "keep",
     "1U 1C"},
    {"WmPaste", "abcdef", 3, 3, 0, "12", "{Paste}", "abc12def", 5, 5, "12", "1U 1C"},
    {"WmPasteOfAnEmptyClipboard", "abcdef", 1, 3, 0, "", "{Paste}", "abcdef", 1, 3, "", ""},
    // The limit: EN_MAXTEXT comes first. Wine then still sends the EN_UPDATE, EN_CHANGE pair
    // of a replacement, though nothing changed; the simulation does as Wine does.
    {"TypingStopsAtTheLimit", "abc", 3, 3, 3, "", "d", "abc", 3, 3, "", "1M 1U 1C"},
    {"TypingOverASelectionAtTheLimit", "abc", 1, 2, 3, "", "x", "axc", 2, 2, "", "1U 1C"},
    {"PasteIsCutToTheLimit", "ab", 2, 2, 4, "123456", "{C+V}", "ab12", 4, 4, "123456", "1M 1U 1C"},
    // Read-only: no key or message edits (and none beeps under Wine); copy and the caret keys
    // work; WM_CUT copies without deleting, while Ctrl+X and Shift+Delete copy nothing.
    {"ReadOnlyTakesNoEdit", "abcdef", 1, 3, 0, "old",
     "x{Back}{Del}{S+Del}{C+X}{C+V}{S+Ins}{C+Z}{Paste}{Clear}{Undo}", "abcdef", 1, 3, "old", "",
     true},
    {"ReadOnlyWmCutCopiesOnly", "abcdef", 1, 3, 0, "old", "{Cut}", "abcdef", 1, 3, "bc", "", true},
    {"ReadOnlyCopies", "abcdef", 1, 3, 0, "old", "{C+C}", "abcdef", 1, 3, "bc", "", true},
    {"ReadOnlyCaretKeys", "abcdef", 1, 3, 0, "", "{Left}{S+End}", "abcdef", 2, 6, "", "", true},
};

TEST_P(EditKeys, Acts) {
  const KeyCase& c = GetParam();
  HWND edit = CreateEdit(1, c.text, c.readOnly ? kwtest::kEditStyle | ES_READONLY : 0);
  if (c.limit) SendMessageA(edit, EM_LIMITTEXT, c.limit, 0);
  kwtest::Focus(edit);
  kwtest::SetSel(edit, c.anchor, c.caret);
  if (*c.clip) {
    ASSERT_TRUE(kwtest::SetClipboardText(c.clip));
  }
  kwtest::ClearNotifications();
  kwtest::Keys(c.keys);
  EXPECT_EQ(kwtest::Text(edit), c.wantText);
  EXPECT_EQ(kwtest::Sel(edit), std::make_pair(c.wantStart, c.wantEnd));
  EXPECT_EQ(kwtest::ClipboardText(), c.wantClip);
  EXPECT_EQ(ptest::Notes(), c.wantNotes);
}

PTEST_ROWS(EditKeys, kKeyCases);

class EditLimit : public kwtest::WindowTest {};

TEST_F(EditLimit, DefaultSetZeroAndSetText) {
  HWND edit = CreateEdit(1);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
  SetWindowTextA(edit, "abcdef");  // WM_SETTEXT ignores the limit
  EXPECT_EQ(kwtest::Text(edit), "abcdef");
  // The real platform widens a limit of 0 to its maximum, not to the 30000 a new control has.
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
}

}  // namespace
