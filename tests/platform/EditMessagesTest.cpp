// What the single-line edit control does with WM_SETTEXT and EM_SETSEL, with focus changes and
// with the mouse, and which notifications its parent hears (as ptest::Notes).
#include "PlatformTest.h"

namespace {

using kwtest::Sel;
using kwtest::Text;
using ptest::Notes;

class EditMessages : public kwtest::WindowTest {};

TEST_F(EditMessages, SetTextNotifiesUpdateThenChangeEvenUnchangedAndPutsTheCaretAtTheStart) {
  HWND edit = CreateEdit(1, "abcdef");
  kwtest::Pump();
  EXPECT_EQ(Notes(), "") << "creating with a text notifies nothing";
  kwtest::SetSel(edit, 2, 4);
  EXPECT_TRUE(SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello")));
  EXPECT_EQ(Text(edit), "hello");
  EXPECT_EQ(Sel(edit), std::make_pair(0, 0));
  SetWindowTextA(edit, "hello");
  EXPECT_EQ(Notes(), "1U 1C 1U 1C");
  kwtest::Focus(edit);
  kwtest::ClearNotifications();
  SetWindowTextA(edit, "");
  EXPECT_EQ(Text(edit), "");
  EXPECT_EQ(Notes(), "1U 1C");
  SetWindowTextA(edit, "abcdef");
  char buf[4] = {'x', 'x', 'x', 'x'};  // WM_GETTEXT copies at most the buffer less one
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 3);
  EXPECT_STREQ(buf, "abc");
  // A case-forcing control forces a set text too; a set text is never a modification.
  HWND upper = CreateEdit(2, "", kwtest::kEditStyle | ES_UPPERCASE);
  SendMessageA(upper, WM_CHAR, 'x', 1);
  SetWindowTextA(upper, "abC1");
  EXPECT_EQ(Text(upper), "ABC1");
  EXPECT_FALSE(SendMessageA(upper, EM_GETMODIFY, 0, 0));
}

// --- EM_SETSEL on "abcdef" ----------------------------------------------------------------------

struct SelCase {
  const char* name;
  int beforeAnchor, beforeCaret;       // an EM_SETSEL made first
  int start, end;                      // the EM_SETSEL under test
  int wantStart, wantEnd;              // EM_GETSEL afterwards
  int shiftRightStart, shiftRightEnd;  // after Shift+Right, which shows where the caret is
};
void PrintTo(const SelCase& c, std::ostream* os) { *os << c.name; }

class EditSetSel : public kwtest::WindowTest, public ::testing::WithParamInterface<SelCase> {};

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
  const LRESULT packed = SendMessageA(edit, EM_GETSEL, 0, 0);
  EXPECT_EQ(packed, MAKELONG(c.wantStart, c.wantEnd)) << "EM_GETSEL answers both ends packed too";
  EXPECT_EQ(Notes(), "");
  kwtest::Press(VK_RIGHT, true);
  EXPECT_EQ(Sel(edit), std::make_pair(c.shiftRightStart, c.shiftRightEnd));
}

PTEST_ROWS(EditSetSel, kSelCases);

// --- Focus and mouse -----------------------------------------------------------------------------

TEST_F(EditMessages, FocusNotifiesKillBeforeSetKeepsSelectionsAndRoutesTyping) {
  HWND one = CreateEdit(1, "abcdef");
  HWND two = CreateEdit(2, "ghi");
  kwtest::SetSel(one, 1, 3);
  kwtest::Focus(one);
  kwtest::Focus(two);
  EXPECT_EQ(kwtest::Focused(), two);
  EXPECT_EQ(Notes(), "1S 1K 2S");
  EXPECT_EQ(Sel(one), std::make_pair(1, 3));
  EXPECT_EQ(Sel(two), std::make_pair(0, 0));
  kwtest::Type("x");
  kwtest::Focus(one);
  kwtest::Type("y");
  EXPECT_EQ(Text(one), "aydef");
  EXPECT_EQ(Text(two), "xghi");
  EnableWindow(one, FALSE);  // a disabled control takes no typing
  kwtest::Type("z");
  EXPECT_EQ(Text(one), "aydef");
  EnableWindow(one, TRUE);
}

TEST_F(EditMessages, ClicksPlaceTheCaretAndDoubleClickSelectsAWordWithItsSpace) {
  HWND one = CreateEdit(1, "abcdef");
  HWND two = CreateEdit(2, "hello world foo");
  kwtest::Focus(two);
  kwtest::ClearNotifications();
  kwtest::Click(one, 2);
  EXPECT_EQ(kwtest::Focused(), one);
  EXPECT_EQ(Sel(one), std::make_pair(2, 2));
  EXPECT_EQ(Notes(), "2K 1S");
  kwtest::SetSel(one, 0, 6);
  kwtest::Click(one, 4);
  EXPECT_EQ(Sel(one), std::make_pair(4, 4));
  kwtest::Click(one, 6);  // past the end
  EXPECT_EQ(Sel(one), std::make_pair(6, 6));
  kwtest::Click(one, 0);
  EXPECT_EQ(Sel(one), std::make_pair(0, 0));
  kwtest::DoubleClick(two, 8);
  EXPECT_EQ(kwtest::Focused(), two);
  EXPECT_EQ(Sel(two), std::make_pair(6, 12));
  // EM_POSFROMCHAR, which the clicks aim with, answers -1 at and past the end.
  EXPECT_LT(LOWORD(SendMessageA(one, EM_POSFROMCHAR, 0, 0)),
            LOWORD(SendMessageA(one, EM_POSFROMCHAR, 3, 0)));
  EXPECT_EQ(SendMessageA(one, EM_POSFROMCHAR, 6, 0), -1);
}

// Double click and Ctrl+Left/Right break words only after spaces (punctuation does not), and
// the spaces after a word belong to it.
TEST_F(EditMessages, WordsBreakOnlyAfterSpaces) {
  const char text[] = "12/34-56 ab.cd,ef  gh";
  struct Row {
    int caret;
    int dblStart, dblEnd;  // double click with the caret there
    int ctrlRight, ctrlLeft;
  } rows[] = {{1, 0, 9, 9, 0},    {6, 0, 9, 9, 0},    {9, 0, 9, 19, 0},  {10, 9, 19, 19, 9},
              {13, 9, 19, 19, 9}, {18, 9, 19, 19, 9}, {19, 9, 19, 21, 9}};
  HWND edit = CreateEdit(1, text);
  kwtest::Focus(edit);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.caret);
    kwtest::SetSel(edit, r.caret, r.caret);
    SendMessageA(edit, WM_LBUTTONDBLCLK, 0, 0);
    SendMessageA(edit, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Sel(edit), std::make_pair(r.dblStart, r.dblEnd));
    kwtest::SetSel(edit, r.caret, r.caret);
    kwtest::Press(VK_RIGHT, false, true);
    EXPECT_EQ(Sel(edit), std::make_pair(r.ctrlRight, r.ctrlRight));
    kwtest::SetSel(edit, r.caret, r.caret);
    kwtest::Press(VK_LEFT, false, true);
    EXPECT_EQ(Sel(edit), std::make_pair(r.ctrlLeft, r.ctrlLeft));
  }
  EXPECT_EQ(Text(edit), text);
}

}  // namespace

// The caret belongs to the focused edit control: HideCaret and ShowCaret take it by that window
// or by NULL and fail for any other window; it goes with the focus and dies with its window.
TEST_F(EditMessages, TheCaretIsTheFocusedEditsAndOnlyItHidesAndShowsIt) {
  HWND one = CreateEdit(1, "abc");
  HWND two = CreateEdit(2, "def");
  EXPECT_FALSE(HideCaret(one)) << "no focus, no caret";
  kwtest::Focus(one);
  EXPECT_EQ(kwinspect::CaretWindow(), one);
  EXPECT_TRUE(HideCaret(one));
  EXPECT_FALSE(HideCaret(two));
  EXPECT_TRUE(HideCaret(nullptr)) << "NULL: the caret, wherever it is";
  EXPECT_TRUE(ShowCaret(one));
  EXPECT_TRUE(ShowCaret(one));
  EXPECT_TRUE(ShowCaret(one)) << "showing a shown caret is no error";
  kwtest::Focus(two);
  EXPECT_EQ(kwinspect::CaretWindow(), two);
  EXPECT_FALSE(ShowCaret(one)) << "the caret went with the focus";
  EXPECT_TRUE(ShowCaret(two));
  DestroyWindow(two);
  EXPECT_EQ(kwinspect::CaretWindow(), nullptr);
  EXPECT_FALSE(HideCaret(two));
  EXPECT_TRUE(HideCaret(nullptr)) << "NULL without a caret: nothing to hide, and no error";
  EXPECT_TRUE(ShowCaret(nullptr));
}
