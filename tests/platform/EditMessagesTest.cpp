// What the single-line edit control does with messages sent to it: WM_SETTEXT and the
// notifications it sends its parent, EM_SETSEL with -1 and reversed ends, EM_REPLACESEL, the
// clipboard messages, focus changes and mouse clicks.
#include <ostream>

#include "common/TestHost.h"

namespace {

using kwtest::ClipboardText;
using kwtest::CodesFor;
using kwtest::Describe;
using kwtest::Sel;
using kwtest::Text;

const std::vector<UINT> kUpdateChange = {EN_UPDATE, EN_CHANGE};

// --- WM_SETTEXT ----------------------------------------------------------------------------

class EditSetText : public kwtest::WindowTest {};

TEST_F(EditSetText, NotifiesUpdateThenChangeAndPutsTheCaretAtTheStart) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::SetSel(edit, 2, 4);
  kwtest::ClearNotifications();
  EXPECT_TRUE(SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello")));
  EXPECT_EQ(Text(edit), "hello");
  EXPECT_EQ(Sel(edit), std::make_pair(0, 0));
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditSetText, NotifiesAlsoWhenTheTextIsUnchanged) {
  HWND edit = CreateEdit(1, "same");
  kwtest::ClearNotifications();
  SetWindowTextA(edit, "same");
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditSetText, NotifiesWhenFocusedToo) {
  HWND edit = CreateEdit(1, "abc");
  kwtest::Focus(edit);
  kwtest::ClearNotifications();
  SetWindowTextA(edit, "");
  EXPECT_EQ(Text(edit), "");
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditSetText, CreatingWithATextNotifiesNothing) {
  CreateEdit(1, "abc");
  kwtest::Pump();
  EXPECT_TRUE(CodesFor(1).empty()) << Describe(CodesFor(1));
}

TEST_F(EditSetText, GetTextCopiesAtMostTheBufferLessOne) {
  HWND edit = CreateEdit(1, "abcdef");
  char buf[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 3);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 6);
}

// --- EM_SETSEL -----------------------------------------------------------------------------

struct SelCase {
  const char* name;
  int beforeAnchor, beforeCaret;  // an EM_SETSEL made first
  int start, end;                 // the EM_SETSEL under test
  int wantStart, wantEnd;         // EM_GETSEL afterwards
  int shiftRightStart, shiftRightEnd;  // EM_GETSEL after Shift+Right: shows where the caret is
};

void PrintTo(const SelCase& c, std::ostream* os) { *os << c.name; }

class EditSetSel : public kwtest::WindowTest, public ::testing::WithParamInterface<SelCase> {};

// Text "abcdef" throughout.
const SelCase kSelCases[] = {
    {"Ordered", 0, 0, 1, 4, 1, 4, 1, 5},
    {"ReversedReadsBackOrderedWithTheCaretAtTheStart", 0, 0, 4, 1, 1, 4, 2, 4},
    {"ZeroToMinusOneSelectsAll", 0, 0, 0, -1, 0, 6, 0, 6},
    {"StartToMinusOneSelectsToTheEnd", 0, 0, 3, -1, 3, 6, 3, 6},
    {"EndPastTheTextIsClamped", 0, 0, 2, 100, 2, 6, 2, 6},
    {"BothPastTheText", 0, 0, 10, 20, 6, 6, 6, 6},
    {"Empty", 1, 4, 2, 2, 2, 2, 2, 3},
    {"MinusOneDropsTheSelectionAtItsCaret", 1, 4, -1, 0, 4, 4, 4, 5},
    {"MinusOneAfterReversedKeepsTheCaretAtTheStart", 4, 1, -1, 0, 1, 1, 1, 2},
    {"MinusOneIgnoresTheEnd", 1, 4, -1, 2, 4, 4, 4, 5},
};

TEST_P(EditSetSel, Selects) {
  const SelCase& c = GetParam();
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::Focus(edit);
  kwtest::SetSel(edit, c.beforeAnchor, c.beforeCaret);
  kwtest::ClearNotifications();
  kwtest::SetSel(edit, c.start, c.end);
  EXPECT_EQ(Sel(edit), std::make_pair(c.wantStart, c.wantEnd));
  // EM_GETSEL also answers start and end packed in its result.
  const LRESULT packed = SendMessageA(edit, EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(packed), c.wantStart);
  EXPECT_EQ(HIWORD(packed), c.wantEnd);
  EXPECT_TRUE(CodesFor(1).empty()) << Describe(CodesFor(1));
  kwtest::Press(VK_RIGHT, true);
  EXPECT_EQ(Sel(edit), std::make_pair(c.shiftRightStart, c.shiftRightEnd));
}

INSTANTIATE_TEST_SUITE_P(Platform, EditSetSel, ::testing::ValuesIn(kSelCases),
                         [](const ::testing::TestParamInfo<SelCase>& info) { return info.param.name; });

// --- EM_REPLACESEL and the clipboard messages ------------------------------------------------

class EditMessages : public kwtest::WindowTest {};

TEST_F(EditMessages, ReplaceSelReplacesAndNotifies) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::SetSel(edit, 1, 3);
  kwtest::ClearNotifications();
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("XYZ"));
  EXPECT_EQ(Text(edit), "aXYZdef");
  EXPECT_EQ(Sel(edit), std::make_pair(4, 4));
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditMessages, CutMovesTheSelectionToTheClipboard) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::SetSel(edit, 2, 5);
  kwtest::ClearNotifications();
  SendMessageA(edit, WM_CUT, 0, 0);
  EXPECT_EQ(Text(edit), "abf");
  EXPECT_EQ(Sel(edit), std::make_pair(2, 2));
  EXPECT_EQ(ClipboardText(), "cde");
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditMessages, CopyLeavesTheTextAndSelection) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::SetSel(edit, 5, 2);
  kwtest::ClearNotifications();
  SendMessageA(edit, WM_COPY, 0, 0);
  EXPECT_EQ(Text(edit), "abcdef");
  EXPECT_EQ(Sel(edit), std::make_pair(2, 5));
  EXPECT_EQ(ClipboardText(), "cde");
  EXPECT_TRUE(CodesFor(1).empty()) << Describe(CodesFor(1));
}

TEST_F(EditMessages, ClearDeletesWithoutTheClipboard) {
  HWND edit = CreateEdit(1, "abcdef");
  ASSERT_TRUE(kwtest::SetClipboardText("keep"));
  kwtest::SetSel(edit, 0, 2);
  kwtest::ClearNotifications();
  SendMessageA(edit, WM_CLEAR, 0, 0);
  EXPECT_EQ(Text(edit), "cdef");
  EXPECT_EQ(ClipboardText(), "keep");
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditMessages, PasteInsertsTheClipboardText) {
  HWND edit = CreateEdit(1, "abcdef");
  ASSERT_TRUE(kwtest::SetClipboardText("12"));
  kwtest::SetSel(edit, 3, 3);
  kwtest::ClearNotifications();
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "abc12def");
  EXPECT_EQ(Sel(edit), std::make_pair(5, 5));
  EXPECT_EQ(CodesFor(1), kUpdateChange) << Describe(CodesFor(1));
}

TEST_F(EditMessages, PasteOfAnEmptyClipboardChangesNothing) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::SetSel(edit, 1, 3);
  kwtest::ClearNotifications();
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "abcdef");
  EXPECT_EQ(Sel(edit), std::make_pair(1, 3));
  EXPECT_TRUE(CodesFor(1).empty()) << Describe(CodesFor(1));
}

TEST_F(EditMessages, CutWithoutSelectionLeavesTheClipboard) {
  HWND edit = CreateEdit(1, "abcdef");
  ASSERT_TRUE(kwtest::SetClipboardText("keep"));
  kwtest::SetSel(edit, 2, 2);
  SendMessageA(edit, WM_CUT, 0, 0);
  EXPECT_EQ(Text(edit), "abcdef");
  EXPECT_EQ(ClipboardText(), "keep");
}

// --- Focus -----------------------------------------------------------------------------------

class EditFocus : public kwtest::WindowTest {};

TEST_F(EditFocus, GainingAndLosingTheFocusNotifiesTheParent) {
  HWND one = CreateEdit(1, "abc");
  HWND two = CreateEdit(2, "def");
  kwtest::ClearNotifications();
  kwtest::Focus(one);
  EXPECT_EQ(kwtest::Focused(), one);
  kwtest::Focus(two);
  EXPECT_EQ(kwtest::Focused(), two);
  const auto& notes = kwtest::Notifications();
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].id, 1);
  EXPECT_EQ(notes[0].code, static_cast<UINT>(EN_SETFOCUS));
  EXPECT_EQ(notes[0].hwnd, one);
  EXPECT_EQ(notes[1].id, 1);
  EXPECT_EQ(notes[1].code, static_cast<UINT>(EN_KILLFOCUS));
  EXPECT_EQ(notes[2].id, 2);
  EXPECT_EQ(notes[2].code, static_cast<UINT>(EN_SETFOCUS));
}

TEST_F(EditFocus, SetFocusKeepsTheSelection) {
  HWND one = CreateEdit(1, "abcdef");
  HWND two = CreateEdit(2, "ghi");
  kwtest::SetSel(one, 1, 3);
  kwtest::Focus(one);
  EXPECT_EQ(Sel(one), std::make_pair(1, 3));
  kwtest::Focus(two);
  EXPECT_EQ(Sel(one), std::make_pair(1, 3));
  EXPECT_EQ(Sel(two), std::make_pair(0, 0));
}

TEST_F(EditFocus, TypingGoesToTheFocusedControl) {
  HWND one = CreateEdit(1, "");
  HWND two = CreateEdit(2, "");
  kwtest::Focus(two);
  kwtest::Type("x");
  kwtest::Focus(one);
  kwtest::Type("y");
  EXPECT_EQ(Text(one), "y");
  EXPECT_EQ(Text(two), "x");
}

TEST_F(EditFocus, ADisabledControlTakesNoTyping) {
  HWND one = CreateEdit(1, "abc");
  kwtest::Focus(one);
  EnableWindow(one, FALSE);
  kwtest::Type("x");
  EXPECT_EQ(Text(one), "abc");
  EnableWindow(one, TRUE);
}

// --- Mouse -----------------------------------------------------------------------------------

class EditMouse : public kwtest::WindowTest {};

TEST_F(EditMouse, ClickFocusesAndPlacesTheCaret) {
  HWND one = CreateEdit(1, "abcdef");
  HWND two = CreateEdit(2, "ghi");
  kwtest::Focus(two);
  kwtest::ClearNotifications();
  kwtest::Click(one, 2);
  EXPECT_EQ(kwtest::Focused(), one);
  EXPECT_EQ(Sel(one), std::make_pair(2, 2));
  const std::vector<UINT> want = {EN_SETFOCUS};
  EXPECT_EQ(CodesFor(1), want) << Describe(CodesFor(1));
}

TEST_F(EditMouse, ClickDropsTheSelection) {
  HWND one = CreateEdit(1, "abcdef");
  kwtest::Focus(one);
  kwtest::SetSel(one, 0, 6);
  kwtest::Click(one, 4);
  EXPECT_EQ(Sel(one), std::make_pair(4, 4));
}

TEST_F(EditMouse, ClickPastTheEndPutsTheCaretAtTheEnd) {
  HWND one = CreateEdit(1, "abc");
  kwtest::Click(one, 3);
  EXPECT_EQ(Sel(one), std::make_pair(3, 3));
  kwtest::Click(one, 0);
  EXPECT_EQ(Sel(one), std::make_pair(0, 0));
}

TEST_F(EditMouse, DoubleClickSelectsTheWord) {
  HWND one = CreateEdit(1, "abcdef");
  kwtest::DoubleClick(one, 2);
  EXPECT_EQ(kwtest::Focused(), one);
  EXPECT_EQ(Sel(one), std::make_pair(0, 6));
}

TEST_F(EditMouse, PosFromCharGrowsAlongTheText) {
  HWND one = CreateEdit(1, "abcdef");
  const LRESULT p0 = SendMessageA(one, EM_POSFROMCHAR, 0, 0);
  const LRESULT p3 = SendMessageA(one, EM_POSFROMCHAR, 3, 0);
  EXPECT_LT(static_cast<short>(LOWORD(p0)), static_cast<short>(LOWORD(p3)));
  EXPECT_EQ(HIWORD(p0), HIWORD(p3));
  // At and past the end of the text there is no character to answer for.
  EXPECT_EQ(SendMessageA(one, EM_POSFROMCHAR, 6, 0), -1);
}

}  // namespace
