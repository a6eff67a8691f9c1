// The single-line edit control measured against the real platform's own conformance facts:
// styles read back, the dialog code, the notifications of EM_REPLACESEL and WM_SETTEXT under a
// text limit, the one level of undo (Ctrl+Z, EM_UNDO, WM_UNDO, EM_CANUNDO, EM_EMPTYUNDOBUFFER),
// the state left after WM_NCDESTROY, ES_PASSWORD and the clipboard, Enter and Tab as
// characters, a control that rewrites itself from EN_UPDATE, the control's WM_KEYDOWN as a
// child of a plain window and once the dialog manager has asked for its dialog code, and paste.
// Every row passes on the simulation and under Wine.
//
// Left out, with the reason:
// - geometry: EM_POSFROMCHAR and EM_CHARFROMPOS (with ES_LEFT, ES_CENTER, ES_RIGHT), the client
//   and window rectangles of tiny controls, EM_GETRECT and EM_SETRECT, the formatting
//   rectangle's position with borders and client edges, and the text a control without
//   ES_AUTOHSCROLL refuses because it would not fit its width: they measure pixels of a font;
// - fonts and margins: WM_SETFONT with EM_GETMARGINS and EM_SETMARGINS, oversized fonts;
// - multi-line controls: their dialog code, Enter and Tab as text, ES_WANTRETURN in a
//   multi-line dialog, EM_SCROLL, a multi-line control's Escape and Tab in dialog mode, and its
//   larger limits: the library's controls are single-line;
// - the context menu's focus and capture (menus are not part of the platform subset).
// The dialog rows (the dialog manager's Enter, Escape and Tab around a single-line control)
// are in DialogBoxTest.cpp.
#include <cstring>
#include <string>
#include <vector>

#include "PlatformTest.h"

namespace {

using kwtest::Sel;
using kwtest::Text;
using ptest::Notes;

// The edit style bits GWL_STYLE reads back (everything an edit control defines).
constexpr DWORD kEditBits = 0xFFFF;

// --- A parent of our own ------------------------------------------------------------------------

// What a test parent saw and how it answers: the notifications counted, every other message
// counted too, DM_GETDEFID answered with a default button of its own, and an EN_UPDATE handler
// that turns "foo" into "bar" and puts the caret at the end.
struct ParentLog {
  int update = 0, change = 0, maxText = 0;
  int command = 0, close = 0, getDefId = 0, nextDlgCtl = 0;
  int other = 0;  // anything else (creation and destruction aside)
  bool fooToBar = false;
};
ParentLog g_log;
constexpr WORD kDefButtonId = 0x123;

LRESULT CALLBACK TestParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      g_log.command++;
      switch (HIWORD(wParam)) {
        case EN_UPDATE:
          g_log.update++;
          if (g_log.fooToBar) {
            HWND edit = reinterpret_cast<HWND>(lParam);
            if (Text(edit) == "foo") SendMessageA(edit, WM_SETTEXT, 0, LPARAM("bar"));
            SendMessageA(edit, EM_SETSEL, 199, 199);
          }
          break;
        case EN_CHANGE:
          g_log.change++;
          break;
        case EN_MAXTEXT:
          g_log.maxText++;
          break;
        default:
          break;
      }
      return 0;
    case DM_GETDEFID:
      g_log.getDefId++;
      return MAKELONG(kDefButtonId, DC_HASDEFID);
    case WM_NEXTDLGCTL:
      g_log.nextDlgCtl++;
      return 0;
    case WM_CLOSE:
      g_log.close++;
      return 0;
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_DESTROY:
    case WM_NCDESTROY:
      break;
    default:
      g_log.other++;
      break;
  }
  return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class EditConformance : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = TestParentProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "KwConformanceParent";
      return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    // Hidden: a hidden top-level window goes away at once, under Xvfb too.
    m_parent = CreateWindowExA(0, "KwConformanceParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_parent, nullptr);
    g_log = ParentLog{};
  }
  void TearDown() override {
    if (IsWindow(m_parent)) DestroyWindow(m_parent);
    kwtest::WindowTest::TearDown();
  }
  // A child of the test parent with identifier 7.
  HWND Child(DWORD style, const char* text = "") {
    HWND h = CreateWindowExA(0, "EDIT", text, WS_CHILD | style, 0, 0, 300, 30, m_parent,
                             reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(h, nullptr);
    g_log = ParentLog{};
    return h;
  }
  HWND m_parent = nullptr;
};

std::string Counts() {
  return std::to_string(g_log.update) + "U " + std::to_string(g_log.change) + "C " +
         std::to_string(g_log.maxText) + "M";
}

// --- Styles read back ---------------------------------------------------------------------------

struct StyleCase {
  const char* name;
  DWORD style;         // the edit bits given at creation
  DWORD want;          // the edit bits read back
  DWORD wantBordered;  // ... of a control made with WS_BORDER too
};
void PrintTo(const StyleCase& c, std::ostream* os) { *os << c.name; }

// The control keeps the style it is given; when it takes the border off, it writes back its own
// reading of it: right alignment before centred, lower case before upper (unless a number).
const StyleCase kStyleCases[] = {
    {"Plain", 0, 0, 0},
    {"AutoScroll", ES_AUTOHSCROLL | ES_AUTOVSCROLL, ES_AUTOHSCROLL | ES_AUTOVSCROLL,
     ES_AUTOHSCROLL | ES_AUTOVSCROLL},
    {"WantReturn", ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
     ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
     ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL},
    {"Password", ES_PASSWORD, ES_PASSWORD, ES_PASSWORD},
    {"Right", ES_RIGHT, ES_RIGHT, ES_RIGHT},
    {"Center", ES_CENTER, ES_CENTER, ES_CENTER},
    {"RightAndCenter", ES_RIGHT | ES_CENTER, ES_RIGHT | ES_CENTER, ES_RIGHT},
    {"CenterAutoScroll", ES_CENTER | ES_AUTOHSCROLL, ES_CENTER | ES_AUTOHSCROLL,
     ES_CENTER | ES_AUTOHSCROLL},
    {"NumberRight", ES_NUMBER | ES_RIGHT, ES_NUMBER | ES_RIGHT, ES_NUMBER | ES_RIGHT},
    {"LowerAndUpper", ES_LOWERCASE | ES_UPPERCASE, ES_LOWERCASE | ES_UPPERCASE, ES_LOWERCASE},
    {"NumberLowerAndUpper", ES_NUMBER | ES_LOWERCASE | ES_UPPERCASE,
     ES_NUMBER | ES_LOWERCASE | ES_UPPERCASE, ES_NUMBER | ES_LOWERCASE | ES_UPPERCASE},
    {"ReadOnlyNoHideSel", ES_READONLY | ES_NOHIDESEL, ES_READONLY | ES_NOHIDESEL,
     ES_READONLY | ES_NOHIDESEL},
};

class EditStyle : public EditConformance, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(EditStyle, ReadsBack) {
  const StyleCase& c = GetParam();
  HWND edit = Child(c.style);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)) & kEditBits, c.want);
  // The plain border is drawn by the control itself: the window keeps no WS_BORDER.
  HWND bordered = Child(c.style | WS_BORDER);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(bordered, GWL_STYLE)) & (kEditBits | WS_BORDER),
            c.wantBordered);
}

PTEST_ROWS(EditStyle, kStyleCases);

// --- The dialog code ----------------------------------------------------------------------------

// A single-line control wants characters and arrows and has a selection, whatever its style and
// whatever key message the dialog manager asks about (no message, a key down, a character).
class EditDialogCode : public EditConformance, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(EditDialogCode, IsCharsArrowsAndSelectionForEveryKey) {
  HWND edit = Child(GetParam().style);
  const LRESULT want = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, 0, 0), want);
  MSG msg{};
  msg.hwnd = edit;
  int wrong = 0;
  for (UINT message : {WM_KEYDOWN, WM_CHAR}) {
    msg.message = message;
    for (WPARAM key = 0; key < 0x10000; key += (key < 0x100 ? 1 : 0x101)) {
      msg.wParam = key;
      if (SendMessageA(edit, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg)) != want) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(g_log.command + g_log.getDefId + g_log.nextDlgCtl + g_log.close, 0);
}

const StyleCase kDialogCodeCases[] = {
    {"Plain", 0, 0, 0},
    {"AutoScroll", ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 0},
    {"WantReturn", ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 0},
    {"Password", ES_PASSWORD, 0, 0},
    {"ReadOnly", ES_READONLY, 0, 0},
};

PTEST_ROWS(EditDialogCode, kDialogCodeCases);

// --- Notifications of EM_REPLACESEL and WM_SETTEXT ----------------------------------------------

struct NotifyCase {
  const char* name;
  DWORD style;
  UINT limit;        // 0: the default
  bool replaceSel;   // EM_REPLACESEL into an empty control, else WM_SETTEXT
  const char* text;  // what is put in
  int wantLength;
  const char* wantCounts;
};
void PrintTo(const NotifyCase& c, std::ostream* os) { *os << c.name; }

const char kLong[] = "this is a long string.";  // 22 characters

const NotifyCase kNotifyCases[] = {
    {"ReplaceSelOneCharacter", 0, 0, true, "a", 1, "1U 1C 0M"},
    {"SetTextIsNeverCut", 0, 0, false, kLong, 22, "1U 1C 0M"},
    {"SetTextIgnoresTheLimit", 0, 5, false, kLong, 22, "1U 1C 0M"},
    {"ScrollingReplaceSel", ES_AUTOHSCROLL, 0, true, kLong, 22, "1U 1C 0M"},
    {"ScrollingSetText", ES_AUTOHSCROLL, 0, false, kLong, 22, "1U 1C 0M"},
    {"ScrollingReplaceSelCutToTheLimit", ES_AUTOHSCROLL, 5, true, kLong, 5, "1U 1C 1M"},
    {"ScrollingSetTextIgnoresTheLimit", ES_AUTOHSCROLL, 5, false, kLong, 22, "1U 1C 0M"},
    {"ScrollingReplaceSelWithinTheLimit", ES_AUTOHSCROLL, 5, true, "abcde", 5, "1U 1C 0M"},
};

class EditNotify : public EditConformance, public ::testing::WithParamInterface<NotifyCase> {};

TEST_P(EditNotify, LengthAndNotifications) {
  const NotifyCase& c = GetParam();
  HWND edit = Child(c.style);
  if (c.limit) SendMessageA(edit, EM_SETLIMITTEXT, c.limit, 0);
  SendMessageA(edit, WM_SETTEXT, 0, LPARAM(""));
  g_log = ParentLog{};
  if (c.replaceSel)
    SendMessageA(edit, EM_REPLACESEL, 0, LPARAM(c.text));
  else
    EXPECT_EQ(SendMessageA(edit, WM_SETTEXT, 0, LPARAM(c.text)), TRUE);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), c.wantLength);
  EXPECT_EQ(Counts(), c.wantCounts);
}

PTEST_ROWS(EditNotify, kNotifyCases);

// WM_SETTEXT leaves the caret at the start, and a parent told of its own focus does not move it.
TEST_F(EditConformance, SetTextLeavesTheCaretAtTheStart) {
  HWND edit = Child(0);
  SendMessageA(edit, WM_SETTEXT, 0, LPARAM(kLong));
  EXPECT_EQ(Sel(edit), std::make_pair(0, 0));
  SendMessageA(m_parent, WM_SETFOCUS, 0, reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(Sel(edit), std::make_pair(0, 0));
}

// A parent that rewrites the text from EN_UPDATE while characters are typed: each WM_CHAR
// answers 1 and the rewrite stands ("foo" becomes "bar").
TEST_F(EditConformance, TextRewrittenFromUpdateStands) {
  HWND edit = Child(WS_BORDER | ES_AUTOHSCROLL);
  g_log.fooToBar = true;
  for (char ch : std::string("foo")) EXPECT_EQ(SendMessageA(edit, WM_CHAR, ch, 1), 1);
  EXPECT_EQ(Text(edit), "bar");
}

// --- Limits and the creation text ---------------------------------------------------------------

TEST_F(EditConformance, LimitsAndCreationText) {
  HWND edit = Child(ES_AUTOHSCROLL | ES_AUTOVSCROLL);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << "0 sets the largest limit";
  // A single-line control keeps a line break it is created with, and answers it back.
  HWND broken = Child(0, "test\r\ntest");
  EXPECT_EQ(SendMessageA(broken, WM_GETTEXTLENGTH, 0, 0), 10);
  EXPECT_EQ(Text(broken), "test\r\ntest");
}

// --- Undo ---------------------------------------------------------------------------------------

// A row is a script of operations on a plain control, then what the control shows. The
// operations, separated by spaces:
//   T<text>  WM_SETTEXT            s<a>,<b>  EM_SETSEL          t<text>  each character typed
//   r<text>  EM_REPLACESEL, undoable        R<text>  EM_REPLACESEL, not undoable
//   u EM_UNDO   w WM_UNDO   z Ctrl+Z   x Ctrl+X   e EM_EMPTYUNDOBUFFER   b Backspace
//   d the Delete key   k WM_CUT   p WM_PASTE   K WM_CLEAR   o read-only   l<n> EM_SETLIMITTEXT
// The parent's counts are those of the last operation.
struct UndoCase {
  const char* name;
  const char* script;
  const char* wantText;
  int wantStart, wantEnd;
  bool wantCanUndo;
  const char* wantCounts;
};
void PrintTo(const UndoCase& c, std::ostream* os) { *os << c.name; }

LRESULT RunOp(HWND edit, const std::string& op) {
  const std::string arg = op.substr(1);
  switch (op[0]) {
    case 'T':
      return SendMessageA(edit, WM_SETTEXT, 0, LPARAM(arg.c_str()));
    case 's': {
      const size_t comma = arg.find(',');
      return SendMessageA(edit, EM_SETSEL, std::stoi(arg.substr(0, comma)),
                          std::stoi(arg.substr(comma + 1)));
    }
    case 't':
      for (char ch : arg) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
      return 1;
    case 'r':
      return SendMessageA(edit, EM_REPLACESEL, TRUE, LPARAM(arg.c_str()));
    case 'R':
      return SendMessageA(edit, EM_REPLACESEL, FALSE, LPARAM(arg.c_str()));
    case 'u':
      return SendMessageA(edit, EM_UNDO, 0, 0);
    case 'w':
      return SendMessageA(edit, WM_UNDO, 0, 0);
    case 'z':
      return SendMessageA(edit, WM_CHAR, 0x1A, 0);
    case 'x':
      return SendMessageA(edit, WM_CHAR, 0x18, 0);
    case 'e':
      return SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    case 'b':
      return SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    case 'd':
      return SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 0);
    case 'k':
      return SendMessageA(edit, WM_CUT, 0, 0);
    case 'p':
      return SendMessageA(edit, WM_PASTE, 0, 0);
    case 'K':
      return SendMessageA(edit, WM_CLEAR, 0, 0);
    case 'o':
      return SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    case 'l':
      return SendMessageA(edit, EM_SETLIMITTEXT, std::stoi(arg), 0);
    default:
      ADD_FAILURE() << "unknown operation " << op;
      return 0;
  }
}

const UndoCase kUndoCases[] = {
    {"CtrlZBringsBackWhatCtrlXCut", "Tundo s0,-1 x z", "undo", 0, 4, true, "1U 2C 0M"},
    {"CtrlZTwiceCutsAgain", "Tundo s0,-1 x z z", "", 0, 0, true, "1U 2C 0M"},
    {"SetTextLeavesNothingToUndo", "Thello", "hello", 0, 0, false, "1U 1C 0M"},
    {"TypedRunIsTakenBack", "Thello s5,5 tabc u", "hello", 5, 5, true, "1U 2C 0M"},
    {"UndoOfUndoRedoesSelected", "Thello s5,5 tabc u u", "helloabc", 5, 8, true, "1U 2C 0M"},
    {"WmUndoIsEmUndo", "Thello s5,5 tabc u u w", "hello", 5, 5, true, "1U 2C 0M"},
    {"SetTextForgetsTheEdit", "Thello s5,5 tabc They", "hey", 0, 0, false, "1U 1C 0M"},
    {"EmptiedBufferUndoesNothing", "Thello s5,5 tabc e", "helloabc", 8, 8, false, "0U 0C 0M"},
    {"UndoOfNothingMovesTheCaretToTheLastEdit", "Thello s5,5 tabc u e s2,2 u", "hello", 5, 5, false,
     "0U 1C 0M"},
    {"BackspacesGrowTheDeletionLeftwards", "Thello s1,3 b b u", "hello", 0, 3, true, "1U 2C 0M"},
    {"DeletesGrowTheDeletionRightwards", "Thello s0,1 K d u", "hello", 0, 2, true, "1U 2C 0M"},
    {"InsertionElsewhereStartsAnew", "Thello s1,1 tX s4,4 tY u", "hXello", 4, 4, true, "1U 2C 0M"},
    {"TypingOverASelectionUndoesWhole", "Thello s1,4 tZW u", "hello", 1, 4, true, "1U 2C 0M"},
    {"TypingOverASelectionRedoes", "Thello s1,4 tZW u u", "hZWo", 1, 3, true, "1U 2C 0M"},
    {"ReplaceSelWithoutUndoForgets", "Thello s0,2 RQ", "Qllo", 1, 1, false, "1U 1C 0M"},
    {"ReplaceSelWithUndo", "Thello s0,2 RQ s0,2 rR u", "Qllo", 0, 2, true, "1U 2C 0M"},
    {"PastesAfterACutGrowOneInsertion", "TQllo s0,-1 k p p u", "Qllo", 0, 4, true, "1U 2C 0M"},
    {"ReadOnlyUndoesNothing", "Tab s2,2 tc o u", "abc", 3, 3, true, "0U 0C 0M"},
    {"UndoOfTypingPastTheLimit", "l3 Tab s2,2 tcd u", "ab", 2, 2, true, "1U 2C 0M"},
    {"UndoIsCutToTheLimit", "l3 Tabcdef s0,6 tx u", "abc", 0, 3, true, "1U 2C 1M"},
};

class EditUndo : public EditConformance, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(EditUndo, Script) {
  const UndoCase& c = GetParam();
  HWND edit = Child(0);
  std::vector<std::string> ops;
  for (size_t at = 0; at < std::strlen(c.script);) {
    size_t end = std::string(c.script).find(' ', at);
    if (end == std::string::npos) end = std::strlen(c.script);
    ops.push_back(std::string(c.script + at, c.script + end));
    at = end + 1;
  }
  for (size_t i = 0; i < ops.size(); ++i) {
    if (i + 1 == ops.size()) g_log = ParentLog{};
    const LRESULT r = RunOp(edit, ops[i]);
    // Undo and the characters always answer so, with anything or nothing to undo.
    if (ops[i] == "u" || ops[i] == "w" || ops[i] == "z" || ops[i] == "x" || ops[i][0] == 't') {
      EXPECT_EQ(r, 1) << ops[i];
    }
  }
  EXPECT_EQ(Text(edit), c.wantText);
  EXPECT_EQ(Sel(edit), std::make_pair(c.wantStart, c.wantEnd));
  EXPECT_EQ(SendMessageA(edit, EM_CANUNDO, 0, 0), c.wantCanUndo ? TRUE : FALSE);
  EXPECT_EQ(Counts(), c.wantCounts);
}

PTEST_ROWS(EditUndo, kUndoCases);

// EM_GETSEL answers the selection in its result and through both pointers; an undone edit is a
// modification.
TEST_F(EditConformance, SelectAllReadsBackAndUndoModifies) {
  HWND edit = Child(0);
  SendMessageA(edit, WM_SETTEXT, 0, LPARAM("undo this"));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  DWORD start = 0xdeadbeef, end = 0xdeadbeef;
  EXPECT_EQ(SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end)),
            9 << 16);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 9u);
  EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
  SendMessageA(edit, WM_CHAR, 0x18, 0);
  SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  SendMessageA(edit, WM_CHAR, 0x1A, 0);
  EXPECT_EQ(Text(edit), "undo this");
  EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
}

// Ctrl+Z pressed on the keyboard takes the road of a host loop and undoes the typing.
TEST_F(EditConformance, CtrlZKeyUndoesTyping) {
  HWND edit = CreateEdit(1, "ab");
  kwtest::Focus(edit);
  kwtest::SetSel(edit, 2, 2);
  kwtest::Type("cd");
  EXPECT_EQ(Text(edit), "abcd");
  kwtest::Press('Z', false, true);
  EXPECT_EQ(Text(edit), "ab");
  EXPECT_EQ(Sel(edit), std::make_pair(2, 2));
  kwtest::Press('Z', false, true);
  EXPECT_EQ(Text(edit), "abcd");
  EXPECT_EQ(Sel(edit), std::make_pair(2, 4));
}

// --- After WM_DESTROY and WM_NCDESTROY ----------------------------------------------------------

// WM_DESTROY leaves the control as it was; after WM_NCDESTROY it is a window without a class's
// processing: no text, no limit, no dialog code, characters not taken.
struct AfterCase {
  const char* name;
  UINT msg;
  WPARAM wParam;
  LRESULT want;
};
void PrintTo(const AfterCase& c, std::ostream* os) { *os << c.name; }

const AfterCase kAfterCases[] = {
    {"TextLength", WM_GETTEXTLENGTH, 0, 0},
    {"Limit", EM_GETLIMITTEXT, 0, 0},
    {"Selection", EM_GETSEL, 0, 0},
    {"CanUndo", EM_CANUNDO, 0, 0},
    {"DialogCode", WM_GETDLGCODE, 0, 0},
    {"Character", WM_CHAR, 'a', 0},
    {"Undo", EM_UNDO, 0, 0},
};

class EditAfterNcDestroy : public EditConformance,
                           public ::testing::WithParamInterface<AfterCase> {};

TEST_P(EditAfterNcDestroy, Answers) {
  const AfterCase& c = GetParam();
  HWND edit = Child(0, "Test");
  const char text[] = "test\r\ntest";
  EXPECT_EQ(SendMessageA(edit, WM_SETTEXT, 0, LPARAM(text)), TRUE);
  char buf[64];
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buf, LPARAM(buf)), 10);
  EXPECT_EQ(SendMessageA(edit, WM_DESTROY, 0, 0), 0);
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buf, LPARAM(buf)), 10);
  EXPECT_STREQ(buf, text) << "WM_DESTROY keeps the text";
  EXPECT_EQ(SendMessageA(edit, WM_NCDESTROY, 0, 0), 0);
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buf, LPARAM(buf)), 0);
  EXPECT_STREQ(buf, "") << "WM_NCDESTROY drops it";
  EXPECT_EQ(SendMessageA(edit, c.msg, c.wParam, 0), c.want);
  // A text set now is the plain window's, and reads back.
  EXPECT_EQ(SendMessageA(edit, WM_SETTEXT, 0, LPARAM("new")), TRUE);
  EXPECT_EQ(Text(edit), "new");
  EXPECT_TRUE(DestroyWindow(edit));
}

PTEST_ROWS(EditAfterNcDestroy, kAfterCases);

// --- ES_PASSWORD --------------------------------------------------------------------------------

// A password control copies nothing: Ctrl+X leaves its text, and Ctrl+C then Ctrl+V over the
// whole text pastes an empty clipboard, which clears the selection.
TEST_F(EditConformance, PasswordCopiesNothing) {
  HWND edit = Child(ES_PASSWORD);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)) & kEditBits,
            static_cast<DWORD>(ES_PASSWORD));
  EXPECT_EQ(SendMessageA(edit, WM_SETTEXT, 0, LPARAM("secret")), TRUE);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessageA(edit, WM_CHAR, 0x18, 0), 1);
  EXPECT_EQ(Text(edit), "secret");
  EXPECT_TRUE(OpenClipboard(edit));
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_TRUE(CloseClipboard());
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(SendMessageA(edit, WM_CHAR, 0x03, 0), 1);
  EXPECT_EQ(SendMessageA(edit, WM_CHAR, 0x16, 0), 1);
  EXPECT_EQ(Text(edit), "");
}

// --- Enter, Tab and Escape as characters --------------------------------------------------------

struct CharCase {
  const char* name;
  DWORD style;
  WPARAM ch;
};
void PrintTo(const CharCase& c, std::ostream* os) { *os << c.name; }

const CharCase kCharCases[] = {
    {"Enter", 0, VK_RETURN},  {"EnterWantReturn", ES_WANTRETURN, VK_RETURN},
    {"Tab", 0, VK_TAB},       {"TabWantReturn", ES_WANTRETURN, VK_TAB},
    {"Escape", 0, VK_ESCAPE}, {"LineFeed", 0, '\n'},
};

class EditControlCharacter : public EditConformance,
                             public ::testing::WithParamInterface<CharCase> {};

TEST_P(EditControlCharacter, IsTakenButNotShown) {
  const CharCase& c = GetParam();
  HWND edit = Child(c.style);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE)) & kEditBits, c.style);
  EXPECT_EQ(SendMessageA(edit, WM_SETTEXT, 0, LPARAM("")), TRUE);
  g_log = ParentLog{};
  EXPECT_EQ(SendMessageA(edit, WM_CHAR, c.ch, 0x1c0001), 1);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(Counts(), "0U 0C 0M");
}

PTEST_ROWS(EditControlCharacter, kCharCases);

// --- The control's WM_KEYDOWN as a child --------------------------------------------------------

struct KeyDownCase {
  const char* name;
  bool askedWithMessage;  // the dialog manager asked WM_GETDLGCODE with a message first
  bool defButton;         // the parent has the child its DM_GETDEFID names
  UINT vk;
  int wantGetDefId, wantNextDlgCtl;
};
void PrintTo(const KeyDownCase& c, std::ostream* os) { *os << c.name; }

// Outside a dialog the keys reach no one; once asked as a dialog's control, Enter asks the
// parent for its default button and moves the focus there when it exists.
const KeyDownCase kKeyDownCases[] = {
    {"EnterOutsideADialog", false, true, VK_RETURN, 0, 0},
    {"EscapeOutsideADialog", false, false, VK_ESCAPE, 0, 0},
    {"TabOutsideADialog", false, false, VK_TAB, 0, 0},
    {"EscapeInADialog", true, false, VK_ESCAPE, 0, 0},
    {"TabInADialog", true, false, VK_TAB, 0, 0},
    {"EnterInADialogWithoutTheButton", true, false, VK_RETURN, 1, 0},
    {"EnterInADialogGoesToTheButton", true, true, VK_RETURN, 1, 1},
};

class EditChildKeyDown : public EditConformance,
                         public ::testing::WithParamInterface<KeyDownCase> {};

TEST_P(EditChildKeyDown, ReachesTheParentOnlyInADialog) {
  const KeyDownCase& c = GetParam();
  HWND edit = Child(0);
  HWND button = nullptr;
  if (c.defButton)
    button = CreateWindowExA(0, "BUTTON", "OK", WS_VISIBLE | WS_CHILD | BS_PUSHBUTTON, 100, 100, 50,
                             20, m_parent, reinterpret_cast<HMENU>(kDefButtonId),
                             GetModuleHandleA(nullptr), nullptr);
  if (c.askedWithMessage) {
    MSG msg{};
    msg.hwnd = edit;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    msg.lParam = 0xf0001;
    EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&msg)), 0x89);
  }
  g_log = ParentLog{};
  EXPECT_EQ(SendMessageA(edit, WM_KEYDOWN, c.vk, c.vk == VK_RETURN ? 0x1c0001 : 0xf0001), 1);
  EXPECT_EQ(g_log.getDefId, c.wantGetDefId);
  EXPECT_EQ(g_log.nextDlgCtl, c.wantNextDlgCtl);
  EXPECT_EQ(g_log.command + g_log.close + g_log.other, 0);
  // The key the control posted to the button is not left for the next test.
  MSG left;
  while (PeekMessageA(&left, button ? button : edit, 0, 0, PM_REMOVE)) {
  }
  if (button) DestroyWindow(button);
}

PTEST_ROWS(EditChildKeyDown, kKeyDownCases);

// --- Paste --------------------------------------------------------------------------------------

struct PasteCase {
  const char* name;
  const char* clip;
  const char* want;
};
void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

// A single line takes the clipboard's text up to its first line feed (and a carriage return just
// before it).
const PasteCase kPasteCases[] = {
    {"OneLine", "this is a simple text", "this is a simple text"},
    {"TwoLinesKeepTheFirst", "first line\r\nsecond line", "first line"},
    {"LineFeedOnly", "first\nsecond", "first"},
    {"LoneCarriageReturnStays", "a\rb", "a\rb"},
    {"StartsWithABreak", "\r\nsecond", ""},
};

class EditPaste : public EditConformance, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(EditPaste, TakesTheFirstLine) {
  const PasteCase& c = GetParam();
  HWND edit = Child(ES_AUTOHSCROLL | ES_AUTOVSCROLL);
  ASSERT_TRUE(kwtest::SetClipboardText(c.clip));
  SendMessageA(edit, WM_SETTEXT, 0, LPARAM(""));
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), c.want);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(std::strlen(c.want)));
}

PTEST_ROWS(EditPaste, kPasteCases);

}  // namespace
