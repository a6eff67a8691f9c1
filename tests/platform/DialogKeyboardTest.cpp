// The dialog manager's Tab handling through IsDialogMessageA, the tab order of
// GetNextDlgTabItem, and the keyboard: TranslateMessage of letters, digits and punctuation with
// and without Shift, VkKeyScanA and the asynchronous key state.
#include <cstring>
#include <ostream>

#include "common/TestHost.h"

namespace {

using kwtest::Focused;
using kwtest::Press;
using kwtest::Sel;

// --- Tab and Shift+Tab -----------------------------------------------------------------------

class DialogTab : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    one = CreateEdit(1, "abc");
    two = CreateEdit(2, "defgh");
    three = CreateEdit(3, "ij");
  }
  HWND one = nullptr, two = nullptr, three = nullptr;
};

TEST_F(DialogTab, TabMovesOnAndSelectsTheWholeText) {
  kwtest::Focus(one);
  kwtest::SetSel(two, 1, 1);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), two);
  EXPECT_EQ(Sel(two), std::make_pair(0, 5));
  EXPECT_EQ(kwtest::Text(one), "abc");  // the Tab is no character
  EXPECT_EQ(kwtest::Text(two), "defgh");
}

TEST_F(DialogTab, ShiftTabMovesBackAndSelectsTheWholeText) {
  kwtest::Focus(two);
  Press(VK_TAB, true);
  EXPECT_EQ(Focused(), one);
  EXPECT_EQ(Sel(one), std::make_pair(0, 3));
}

TEST_F(DialogTab, TabWrapsAroundBothWays) {
  kwtest::Focus(three);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), one);
  Press(VK_TAB, true);
  EXPECT_EQ(Focused(), three);
  EXPECT_EQ(Sel(three), std::make_pair(0, 2));
}

TEST_F(DialogTab, TabSkipsDisabledAndNonTabStopControls) {
  EnableWindow(two, FALSE);
  kwtest::Focus(one);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), three);
  EnableWindow(two, TRUE);
  SetWindowLongA(three, GWL_STYLE, GetWindowLongA(three, GWL_STYLE) & ~WS_TABSTOP);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), one);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), two);
}

TEST_F(DialogTab, TabNotifiesKillThenSetFocus) {
  kwtest::Focus(one);
  kwtest::ClearNotifications();
  Press(VK_TAB);
  const auto& notes = kwtest::Notifications();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].id, 1);
  EXPECT_EQ(notes[0].code, static_cast<UINT>(EN_KILLFOCUS));
  EXPECT_EQ(notes[1].id, 2);
  EXPECT_EQ(notes[1].code, static_cast<UINT>(EN_SETFOCUS));
}

// --- GetNextDlgTabItem -----------------------------------------------------------------------

struct TabOrderCase {
  const char* name;
  int disabled;      // identifier of a control to disable, or 0
  int noTabStop;     // identifier of a control to take WS_TABSTOP from, or 0
  int hidden;        // identifier of a control to hide, or 0
  int from;          // identifier of the start control
  bool previous;
  int want;          // identifier of the answer
};

void PrintTo(const TabOrderCase& c, std::ostream* os) { *os << c.name; }

class TabOrder : public DialogTab, public ::testing::WithParamInterface<TabOrderCase> {};

const TabOrderCase kTabOrderCases[] = {
    {"Next", 0, 0, 0, 1, false, 2},
    {"Previous", 0, 0, 0, 2, true, 1},
    {"NextWrapsToTheFirst", 0, 0, 0, 3, false, 1},
    {"PreviousWrapsToTheLast", 0, 0, 0, 1, true, 3},
    {"SkipsDisabled", 2, 0, 0, 1, false, 3},
    {"SkipsDisabledBackwards", 2, 0, 0, 3, true, 1},
    {"SkipsNonTabStop", 0, 2, 0, 1, false, 3},
    {"SkipsHidden", 0, 0, 2, 1, false, 3},
    {"WrapsPastASkippedLast", 3, 0, 0, 2, false, 1},
    {"FromANonTabStopControl", 0, 2, 0, 2, false, 3},
};

TEST_P(TabOrder, Finds) {
  const TabOrderCase& c = GetParam();
  HWND byId[] = {nullptr, one, two, three};
  if (c.disabled) EnableWindow(byId[c.disabled], FALSE);
  if (c.noTabStop)
    SetWindowLongA(byId[c.noTabStop], GWL_STYLE, GetWindowLongA(byId[c.noTabStop], GWL_STYLE) & ~WS_TABSTOP);
  if (c.hidden) ShowWindow(byId[c.hidden], SW_HIDE);
  EXPECT_EQ(GetNextDlgTabItem(kwtest::Parent(), byId[c.from], c.previous ? TRUE : FALSE), byId[c.want]);
}

INSTANTIATE_TEST_SUITE_P(Platform, TabOrder, ::testing::ValuesIn(kTabOrderCases),
                         [](const ::testing::TestParamInfo<TabOrderCase>& info) { return info.param.name; });

TEST_F(DialogTab, OnlyTabStopIsItsOwnNext) {
  EnableWindow(one, FALSE);
  EnableWindow(three, FALSE);
  EXPECT_EQ(GetNextDlgTabItem(kwtest::Parent(), two, FALSE), two);
  EXPECT_EQ(GetNextDlgTabItem(kwtest::Parent(), two, TRUE), two);
}

// --- TranslateMessage ------------------------------------------------------------------------

// A child window that takes the focus and writes down the characters it gets.
class CharRecorder {
 public:
  CharRecorder() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc;
      std::memset(&wc, 0, sizeof wc);
      wc.lpfnWndProc = &CharRecorder::Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "KwTestCharRecorder";
      registered = RegisterClassA(&wc) != 0;
    }
    const RECT r = kwtest::EditRect(9);
    hwnd = CreateWindowExA(0, "KwTestCharRecorder", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, kwtest::Parent(), reinterpret_cast<HMENU>(9),
                           GetModuleHandleA(nullptr), nullptr);
    Chars().clear();
  }
  ~CharRecorder() {
    kwtest::Focus(kwtest::Parent());
    DestroyWindow(hwnd);
  }
  static std::string& Chars() {
    static std::string chars;
    return chars;
  }
  HWND hwnd;

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CHAR) {
      Chars() += static_cast<char>(w);
      return 0;
    }
    if (m == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    return DefWindowProcA(h, m, w, l);
  }
};

struct TranslateCase {
  const char* name;
  UINT vk;
  bool shift, ctrl;
  char want;
};

void PrintTo(const TranslateCase& c, std::ostream* os) { *os << c.name; }

class Translate : public kwtest::WindowTest, public ::testing::WithParamInterface<TranslateCase> {};

const TranslateCase kTranslateCases[] = {
    {"LetterLower", 'A', false, false, 'a'},
    {"LetterUpper", 'A', true, false, 'A'},
    {"LetterZ", 'Z', false, false, 'z'},
    {"Digit", '5', false, false, '5'},
    {"ShiftDigit1", '1', true, false, '!'},
    {"ShiftDigit2", '2', true, false, '@'},
    {"ShiftDigit9", '9', true, false, '('},
    {"ShiftDigit0", '0', true, false, ')'},
    {"Space", VK_SPACE, false, false, ' '},
    {"Comma", VK_OEM_COMMA, false, false, ','},
    {"ShiftComma", VK_OEM_COMMA, true, false, '<'},
    {"Period", VK_OEM_PERIOD, false, false, '.'},
    {"ShiftPeriod", VK_OEM_PERIOD, true, false, '>'},
    {"Minus", VK_OEM_MINUS, false, false, '-'},
    {"ShiftMinus", VK_OEM_MINUS, true, false, '_'},
    {"Equals", VK_OEM_PLUS, false, false, '='},
    {"ShiftEquals", VK_OEM_PLUS, true, false, '+'},
    {"Slash", VK_OEM_2, false, false, '/'},
    {"ShiftSlash", VK_OEM_2, true, false, '?'},
    {"Semicolon", VK_OEM_1, false, false, ';'},
    {"ShiftSemicolon", VK_OEM_1, true, false, ':'},
    {"Quote", VK_OEM_7, false, false, '\''},
    {"ShiftQuote", VK_OEM_7, true, false, '"'},
    {"Backspace", VK_BACK, false, false, '\b'},
    {"CtrlC", 'C', false, true, '\x03'},
    {"CtrlV", 'V', false, true, '\x16'},
    {"CtrlX", 'X', false, true, '\x18'},
};

TEST_P(Translate, MakesTheCharacter) {
  const TranslateCase& c = GetParam();
  CharRecorder rec;
  kwtest::Focus(rec.hwnd);
  ASSERT_EQ(Focused(), rec.hwnd);
  Press(c.vk, c.shift, c.ctrl);
  EXPECT_EQ(CharRecorder::Chars(), std::string(1, c.want));
}

INSTANTIATE_TEST_SUITE_P(Platform, Translate, ::testing::ValuesIn(kTranslateCases),
                         [](const ::testing::TestParamInfo<TranslateCase>& info) { return info.param.name; });

class Keyboard : public kwtest::WindowTest {};

// Every printable character: VkKeyScanA names its key and Shift state, and pressing them gives
// the character back.
TEST_F(Keyboard, EveryPrintableCharacterRoundTrips) {
  CharRecorder rec;
  kwtest::Focus(rec.hwnd);
  std::string all;
  for (int ch = 0x20; ch < 0x7F; ++ch) all += static_cast<char>(ch);
  kwtest::Type(all);
  EXPECT_EQ(CharRecorder::Chars(), all);
}

TEST_F(Keyboard, VkKeyScanOfSeparators) {
  EXPECT_EQ(VkKeyScanA(','), 0xBC);
  EXPECT_EQ(VkKeyScanA('.'), 0xBE);
  EXPECT_EQ(VkKeyScanA('-'), 0xBD);
  EXPECT_EQ(VkKeyScanA('a'), 'A');
  EXPECT_EQ(VkKeyScanA('A'), 0x100 | 'A');
  EXPECT_EQ(VkKeyScanA('7'), '7');
  EXPECT_EQ(VkKeyScanA('&'), 0x100 | '7');
  EXPECT_EQ(VkKeyScanA(' '), VK_SPACE);
  if (kwtest::OnWine()) {
    // Wine under Xvfb answers -1 here: the X server's keymap lists the parentheses first on
    // keys that Wine maps to no virtual key. Windows answers Shift+9 and Shift+0.
    EXPECT_EQ(VkKeyScanA('('), -1);
  } else {
    EXPECT_EQ(VkKeyScanA('('), 0x100 | '9');
    EXPECT_EQ(VkKeyScanA(')'), 0x100 | '0');
  }
}

TEST_F(Keyboard, PostedKeyDownIsTranslated) {
  CharRecorder rec;
  kwtest::Focus(rec.hwnd);
  PostMessageA(rec.hwnd, WM_KEYDOWN, 'Q', 1);
  PostMessageA(rec.hwnd, WM_KEYDOWN, VK_OEM_COMMA, 1);
  PostMessageA(rec.hwnd, WM_KEYDOWN, '3', 1);
  kwtest::Pump();
  EXPECT_EQ(CharRecorder::Chars(), "q,3");
}

TEST_F(Keyboard, KeyStateFollowsSentInput) {
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  {
    kwtest::ShiftHeld shift;
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
  }
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  {
    kwtest::CtrlHeld ctrl;
    EXPECT_TRUE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
  }
  EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
}

TEST_F(Keyboard, KeybdEventDrivesTheKeyState) {
  keybd_event(VK_SHIFT, 0, 0, 0);
  kwtest::Pump();
  EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
  kwtest::Pump();
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
}

}  // namespace
