// The dialog manager's Tab handling through IsDialogMessageA, the tab order of
// GetNextDlgTabItem, and the keyboard: TranslateMessage of letters, digits and punctuation with
// and without Shift, VkKeyScanA and the key state.
#include "PlatformTest.h"

namespace {

using kwtest::Focused;
using kwtest::Press;
using kwtest::Sel;

// Three edit controls "abc", "defgh", "ij" with identifiers 1, 2, 3.
class DialogTab : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    byId[1] = CreateEdit(1, "abc");
    byId[2] = CreateEdit(2, "defgh");
    byId[3] = CreateEdit(3, "ij");
  }
  HWND byId[4] = {};
};

TEST_F(DialogTab, TabAndShiftTabMoveWrapAndSelectTheWholeText) {
  kwtest::Focus(byId[1]);
  kwtest::SetSel(byId[2], 1, 1);
  kwtest::ClearNotifications();
  Press(VK_TAB);
  EXPECT_EQ(Focused(), byId[2]);
  EXPECT_EQ(Sel(byId[2]), std::make_pair(0, 5));
  EXPECT_EQ(ptest::Notes(), "1K 2S");
  EXPECT_EQ(kwtest::Text(byId[1]) + kwtest::Text(byId[2]), "abcdefgh") << "the Tab is no character";
  Press(VK_TAB, true);
  EXPECT_EQ(Focused(), byId[1]);
  EXPECT_EQ(Sel(byId[1]), std::make_pair(0, 3));
  Press(VK_TAB, true);
  EXPECT_EQ(Focused(), byId[3]);
  EXPECT_EQ(Sel(byId[3]), std::make_pair(0, 2));
  Press(VK_TAB);
  EXPECT_EQ(Focused(), byId[1]);
  EnableWindow(byId[2], FALSE);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), byId[3]) << "a disabled control is skipped";
}

struct TabOrderCase {
  const char* name;
  const char* disabled;   // identifiers of controls to disable
  const char* noTabStop;  // ... to take WS_TABSTOP from
  const char* hidden;     // ... to hide
  int from;
  bool previous;
  int want;
};
void PrintTo(const TabOrderCase& c, std::ostream* os) { *os << c.name; }

class TabOrder : public DialogTab, public ::testing::WithParamInterface<TabOrderCase> {};

const TabOrderCase kTabOrderCases[] = {
    {"Next", "", "", "", 1, false, 2},
    {"Previous", "", "", "", 2, true, 1},
    {"NextWrapsToTheFirst", "", "", "", 3, false, 1},
    {"PreviousWrapsToTheLast", "", "", "", 1, true, 3},
    {"SkipsDisabled", "2", "", "", 1, false, 3},
    {"SkipsNonTabStop", "", "2", "", 1, false, 3},
    {"SkipsHidden", "", "", "2", 1, false, 3},
    {"WrapsPastASkippedLast", "3", "", "", 2, false, 1},
    {"FromANonTabStopControl", "", "2", "", 2, false, 3},
    {"OnlyItemIsItsOwnNext", "13", "", "", 2, false, 2},
};

TEST_P(TabOrder, Finds) {
  const TabOrderCase& c = GetParam();
  for (const char* p = c.disabled; *p; ++p) EnableWindow(byId[*p - '0'], FALSE);
  for (const char* p = c.noTabStop; *p; ++p)
    SetWindowLongA(byId[*p - '0'], GWL_STYLE,
                   GetWindowLongA(byId[*p - '0'], GWL_STYLE) & ~WS_TABSTOP);
  for (const char* p = c.hidden; *p; ++p) ShowWindow(byId[*p - '0'], SW_HIDE);
  EXPECT_EQ(GetNextDlgTabItem(kwtest::Parent(), byId[c.from], c.previous ? TRUE : FALSE),
            byId[c.want]);
}

PTEST_ROWS(TabOrder, kTabOrderCases);

// --- The keyboard -------------------------------------------------------------------------------

class Keyboard : public kwtest::WindowTest {};

// TranslateMessage makes each key's character without and with Shift (the edit control shows
// the WM_CHARs it gets; the control characters of Backspace and Ctrl+C/X/V show in EditKeys),
// and every printable character typed with the key and Shift state of VkKeyScanA comes back.
TEST_F(Keyboard, TranslateMakesTheCharacters) {
  const std::pair<UINT, const char*> rows[] = {
      {'A', "aA"},          {'Z', "zZ"},           {'1', "1!"},          {'2', "2@"},
      {'5', "5%"},          {'9', "9("},           {'0', "0)"},          {VK_SPACE, "  "},
      {VK_OEM_COMMA, ",<"}, {VK_OEM_PERIOD, ".>"}, {VK_OEM_MINUS, "-_"}, {VK_OEM_PLUS, "=+"},
      {VK_OEM_2, "/?"},     {VK_OEM_1, ";:"},      {VK_OEM_7, "'\""}};
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  std::string want;
  for (const auto& r : rows) {
    Press(r.first);
    Press(r.first, true);
    want += r.second;
  }
  EXPECT_EQ(kwtest::Text(edit), want);
  SetWindowTextA(edit, "");
  std::string all;
  for (int ch = 0x20; ch < 0x7F; ++ch) all += static_cast<char>(ch);
  kwtest::Type(all);
  EXPECT_EQ(kwtest::Text(edit), all);
}

TEST_F(Keyboard, VkKeyScanOfSeparators) {
  const std::pair<char, SHORT> rows[] = {{',', 0xBC},        {'.', 0xBE},    {'-', 0xBD},
                                         {'a', 'A'},         {'A', 0x141},   {'7', '7'},
                                         {'&', 0x100 | '7'}, {' ', VK_SPACE}};
  for (const auto& r : rows) EXPECT_EQ(VkKeyScanA(r.first), r.second) << r.first;
  if (kwtest::OnWine()) {
    // Wine under Xvfb answers -1 here: the X server's keymap lists the parentheses first on
    // keys that Wine maps to no virtual key. Windows answers Shift+9 and Shift+0.
    EXPECT_EQ(VkKeyScanA('('), -1);
  } else {
    EXPECT_EQ(VkKeyScanA('('), 0x100 | '9');
    EXPECT_EQ(VkKeyScanA(')'), 0x100 | '0');
  }
}

// GetAsyncKeyState follows the input at once; GetKeyState follows the messages the thread has
// taken. Both keybd_event and SendInput (under the helpers) drive them.
TEST_F(Keyboard, KeyStateFollowsInputAndTheMessagesTaken) {
  kwtest::Focus(CreateEdit(1));
  keybd_event(VK_SHIFT, 0, 0, 0);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "the thread's state waits for the message";
  for (int spins = 0; spins < 500 && GetKeyState(VK_SHIFT) >= 0; ++spins) {
    Sleep(1);
    kwtest::Pump();
  }
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0);
}

}  // namespace
