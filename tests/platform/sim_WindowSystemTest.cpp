// Window-system behaviours the simulation reproduces, observed on the real platform (Wine):
// destruction and stale handles, focus on hiding, disabling and destroying, the queue's
// filters and order, keys without a focus window and with Alt, word selection, the clipboard's
// opening rules, global memory lock counts, and the edit control's colour request.
// Everything here runs on both builds; the few simulation-only facts are marked.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifndef _WIN32
#include <locale.h>
#endif

#include "common/TestHost.h"

namespace {

using kwtest::Parent;
using kwtest::Sel;
using kwtest::Text;

// A child window class that records the messages it gets, for destruction order and re-entry.
struct Seen {
  int id;
  UINT msg;
  bool operator==(const Seen& o) const { return id == o.id && msg == o.msg; }
};
std::vector<Seen> g_seen;
// Called on each WM_COMMAND a recorder receives (for re-entry tests).
void (*g_onCommand)(HWND self, WPARAM wParam, LPARAM lParam) = nullptr;

LRESULT CALLBACK RecorderProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      g_seen.push_back({GetDlgCtrlID(h), msg});
      break;
    case WM_COMMAND:
      g_seen.push_back({LOWORD(wParam), HIWORD(wParam)});
      if (g_onCommand) g_onCommand(h, wParam, lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(h, msg, wParam, lParam);
}

const char kRecorder[] = "KwSimRecorder";

HWND MakeRecorder(HWND parent, int id, DWORD style = WS_CHILD | WS_VISIBLE) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kRecorder;
    registered = RegisterClassA(&wc) != 0;
  }
  return CreateWindowExA(0, kRecorder, "", style, 0, 200, 100, 60, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

HWND MakeEditIn(HWND parent, int id, const char* text) {
  return CreateWindowExA(0, "EDIT", text, kwtest::kEditStyle, 0, 0, 80, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

class WindowSystem : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    g_seen.clear();
    g_onCommand = nullptr;
  }
  void TearDown() override {
    g_onCommand = nullptr;
    for (HWND h : m_own)
      if (IsWindow(h)) DestroyWindow(h);
    kwtest::WindowTest::TearDown();
  }
  HWND Own(HWND h) {
    EXPECT_NE(h, nullptr);
    m_own.push_back(h);
    return h;
  }
  std::vector<HWND> m_own;
};

// --- Destruction and stale handles -------------------------------------------------------------

TEST_F(WindowSystem, DestroyGoesTopDownThenFreesBottomUp) {
  HWND box = Own(MakeRecorder(Parent(), 10));
  MakeRecorder(box, 11);
  MakeRecorder(box, 12);
  g_seen.clear();
  ASSERT_TRUE(DestroyWindow(box));
  const std::vector<Seen> want = {{10, WM_DESTROY},   {11, WM_DESTROY},   {12, WM_DESTROY},
                                  {11, WM_NCDESTROY}, {12, WM_NCDESTROY}, {10, WM_NCDESTROY}};
  EXPECT_EQ(g_seen, want);
  EXPECT_FALSE(IsWindow(box));
}

TEST_F(WindowSystem, StaleHandlesFailCleanly) {
  HWND edit = CreateEdit(1, "abc");
  ASSERT_TRUE(DestroyWindow(edit));
  EXPECT_FALSE(IsWindow(edit));
  SetLastError(0);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(edit, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  char buf[8] = "junk";
  EXPECT_EQ(GetWindowTextA(edit, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(GetParent(edit), nullptr);
  EXPECT_EQ(GetWindowLongPtrA(edit, GWL_STYLE), 0);
  EXPECT_FALSE(DestroyWindow(edit));
  HWND before = GetFocus();
  EXPECT_EQ(SetFocus(edit), nullptr);
  EXPECT_EQ(GetFocus(), before);
}

TEST_F(WindowSystem, PostedMessagesOfADestroyedWindowAreDropped) {
  HWND edit = CreateEdit(1);
  ASSERT_TRUE(PostMessageA(edit, WM_USER + 9, 0, 0));
  DestroyWindow(edit);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
}

void DestroySender(HWND, WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == EN_UPDATE) DestroyWindow(reinterpret_cast<HWND>(lParam));
}

TEST_F(WindowSystem, AnEditDestroyedByItsParentDuringANotificationIsLeftAlone) {
  HWND box = Own(MakeRecorder(Parent(), 10));
  HWND edit = MakeEditIn(box, 20, "abc");
  ASSERT_NE(edit, nullptr);
  g_onCommand = DestroySender;
  g_seen.clear();
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("xyz"));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(g_seen.front(), (Seen{20, EN_UPDATE}));
}

// --- Focus -------------------------------------------------------------------------------------

TEST_F(WindowSystem, HidingTheFocusWindowGivesTheFocusToItsParent) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  ShowWindow(edit, SW_HIDE);
  EXPECT_EQ(GetFocus(), Parent());
  EXPECT_EQ(kwtest::CodesFor(1).back(), static_cast<UINT>(EN_KILLFOCUS));
}

TEST_F(WindowSystem, DisablingTheFocusWindowLeavesNoFocus) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  EnableWindow(edit, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SetFocus(edit), nullptr) << "a disabled window cannot take the focus";
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(edit, TRUE)) << "answers whether it was disabled";
  EXPECT_FALSE(EnableWindow(edit, TRUE));
}

TEST_F(WindowSystem, DisablingTheParentLeavesTheFocusOnTheChild) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  EnableWindow(Parent(), FALSE);
  EXPECT_EQ(GetFocus(), edit);
  EnableWindow(Parent(), TRUE);
}

TEST_F(WindowSystem, DestroyingTheFocusedEditGivesTheFocusToTheParent) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  kwtest::ClearNotifications();
  DestroyWindow(edit);
  EXPECT_EQ(GetFocus(), Parent());
  EXPECT_EQ(kwtest::CodesFor(1), std::vector<UINT>{EN_KILLFOCUS});
}

TEST_F(WindowSystem, DestroyingAContainerOfTheFocusLeavesNoFocusAndSendsNoKillFocus) {
  HWND box = Own(MakeRecorder(Parent(), 10));
  HWND inner = MakeRecorder(box, 11, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  SetFocus(inner);
  ASSERT_EQ(GetFocus(), inner);
  g_seen.clear();
  DestroyWindow(box);
  EXPECT_EQ(GetFocus(), nullptr);
  for (const Seen& s : g_seen) EXPECT_NE(s.msg, static_cast<UINT>(WM_KILLFOCUS));
}

TEST_F(WindowSystem, SetFocusOnTheFocusWindowSendsNothing) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  kwtest::ClearNotifications();
  EXPECT_EQ(SetFocus(edit), edit);
  EXPECT_TRUE(kwtest::CodesFor(1).empty());
}

TEST_F(WindowSystem, FocusMovesBeforeTheOldWindowHearsOfIt) {
  // During WM_KILLFOCUS, GetFocus already names the new window.
  HWND a = CreateEdit(1);
  HWND b = CreateEdit(2);
  kwtest::Focus(a);
  kwtest::ClearNotifications();
  SetFocus(b);
  const std::vector<kwtest::Notification>& n = kwtest::Notifications();
  ASSERT_EQ(n.size(), 2u);
  EXPECT_EQ(n[0].id, 1);
  EXPECT_EQ(n[0].code, static_cast<UINT>(EN_KILLFOCUS));
  EXPECT_EQ(n[1].id, 2);
  EXPECT_EQ(n[1].code, static_cast<UINT>(EN_SETFOCUS));
}

// --- The queue -------------------------------------------------------------------------------

TEST_F(WindowSystem, PeekFiltersByWindowAndRange) {
  HWND edit = CreateEdit(1);
  MSG msg;
  struct Row {
    const char* name;
    HWND target;  // posted to
    HWND filter;
    bool found;
  } rows[] = {
      {"ParentFilterTakesAChildsMessage", edit, Parent(), true},
      {"ChildFilterSkipsTheParentsMessage", Parent(), edit, false},
      {"ParentFilterSkipsThreadMessages", nullptr, Parent(), false},
      {"MinusOneTakesThreadMessages", nullptr, reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)), true},
      {"MinusOneSkipsWindowMessages", edit, reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)), false},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(PostMessageA(r.target, WM_USER + 5, 0, 0)) << r.name;
    EXPECT_EQ(PeekMessageA(&msg, r.filter, WM_USER + 5, WM_USER + 5, PM_REMOVE) != FALSE, r.found) << r.name;
    while (PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE)) {
    }
  }
  PostMessageA(edit, WM_USER + 6, 0, 0);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 7, WM_USER + 9, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 6, WM_USER + 6, PM_REMOVE));
}

TEST_F(WindowSystem, QuitComesAfterThePostedMessages) {
  HWND edit = CreateEdit(1);
  PostMessageA(edit, WM_USER + 7, 0, 0);
  PostQuitMessage(3);
  PostMessageA(edit, WM_USER + 8, 0, 0);
  MSG msg;
  std::vector<UINT> order;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) {
      DispatchMessageA(&msg);
      continue;
    }
    order.push_back(msg.message);
    if (msg.message == WM_QUIT) {
      EXPECT_EQ(msg.wParam, 3u);
    }
  }
  const std::vector<UINT> want = {WM_USER + 7, WM_USER + 8, WM_QUIT};
  EXPECT_EQ(order, want);
}

#ifndef _WIN32
TEST_F(WindowSystem, GetMessageOnAnEmptyQueueEndsTheLoop) {
  // Simulation only: nothing can arrive later on the one simulated thread, so instead of
  // waiting for ever GetMessageA answers as if the loop had been told to quit.
  kwtest::Pump();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}
#endif

// --- Keys ------------------------------------------------------------------------------------

struct KeyMsg {
  UINT message;
  WPARAM wParam;
  bool operator==(const KeyMsg& o) const { return message == o.message && wParam == o.wParam; }
};

std::vector<KeyMsg> DrainKeys(bool translate) {
  std::vector<KeyMsg> got;
  MSG msg;
  for (int spins = 0; spins < 2000; ++spins) {
    bool any = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) got.push_back({msg.message, msg.wParam});
      if (translate) TranslateMessage(&msg);
      if (msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR && msg.message != WM_SYSKEYUP)
        DispatchMessageA(&msg);
    }
    if (!any && got.size() >= 4) break;
    Sleep(1);
  }
  return got;
}

INPUT Key(WORD vk, bool up) {
  INPUT in;
  std::memset(&in, 0, sizeof in);
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

TEST_F(WindowSystem, WithoutAFocusKeysGoToTheActiveWindowAsSystemKeys) {
  SetFocus(nullptr);
  kwtest::Pump();
  INPUT in[] = {Key('A', false), Key('A', true)};
  ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u);
  std::vector<KeyMsg> got = DrainKeys(false);
  const std::vector<KeyMsg> want = {{WM_SYSKEYDOWN, 'A'}, {WM_SYSKEYUP, 'A'}};
  EXPECT_EQ(got, want);
}

TEST_F(WindowSystem, AltMakesSystemKeysAndItsReleaseIsAPlainKeyUp) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  INPUT in[] = {Key(VK_MENU, false), Key('X', false), Key('X', true), Key(VK_MENU, true)};
  ASSERT_EQ(SendInput(4, in, sizeof(INPUT)), 4u);
  std::vector<KeyMsg> got = DrainKeys(true);
  const std::vector<KeyMsg> want = {
      {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'}, {WM_KEYUP, VK_MENU}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(Text(edit), "");
}

TEST_F(WindowSystem, KeyStateFollowsTheMessagesTaken) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  INPUT in[] = {Key(VK_SHIFT, false)};
  ASSERT_EQ(SendInput(1, in, sizeof(INPUT)), 1u);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0) << "the input state changes at once";
  EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "the thread's state waits for the message";
  kwtest::Pump();
  for (int spins = 0; spins < 500 && GetKeyState(VK_SHIFT) >= 0; ++spins) {
    Sleep(1);
    kwtest::Pump();
  }
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  kwtest::ReleaseModifiers();
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

// --- Word selection --------------------------------------------------------------------------

struct WordCase {
  int caret;
  int dblStart, dblEnd;  // double click with the caret there
  int ctrlRight;         // caret after Ctrl+Right
  int ctrlLeft;          // caret after Ctrl+Left
};

TEST_F(WindowSystem, WordsBreakOnlyAfterSpaces) {
  // Punctuation does not break a word; the spaces after a word belong to it.
  const char text[] = "12/34-56 ab.cd,ef  gh";
  const WordCase cases[] = {
      {1, 0, 9, 9, 0},    {6, 0, 9, 9, 0},     {9, 0, 9, 19, 0},    {10, 9, 19, 19, 9},
      {13, 9, 19, 19, 9}, {18, 9, 19, 19, 9},  {19, 9, 19, 21, 9},
  };
  HWND edit = CreateEdit(1, text);
  kwtest::Focus(edit);
  for (const WordCase& c : cases) {
    SCOPED_TRACE(c.caret);
    kwtest::SetSel(edit, c.caret, c.caret);
    SendMessageA(edit, WM_LBUTTONDBLCLK, 0, 0);
    SendMessageA(edit, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Sel(edit), std::make_pair(c.dblStart, c.dblEnd));
    kwtest::SetSel(edit, c.caret, c.caret);
    kwtest::Press(VK_RIGHT, false, true);
    EXPECT_EQ(Sel(edit), std::make_pair(c.ctrlRight, c.ctrlRight));
    kwtest::SetSel(edit, c.caret, c.caret);
    kwtest::Press(VK_LEFT, false, true);
    EXPECT_EQ(Sel(edit), std::make_pair(c.ctrlLeft, c.ctrlLeft));
  }
  EXPECT_EQ(Text(edit), text);
}

TEST_F(WindowSystem, DoubleClickSelectsTheClickedWordWithItsSpace) {
  HWND edit = CreateEdit(1, "hello world foo");
  kwtest::Focus(edit);
  kwtest::DoubleClick(edit, 8);
  EXPECT_EQ(Sel(edit), std::make_pair(6, 12));
}

// --- Clipboard and memory --------------------------------------------------------------------

TEST_F(WindowSystem, ClipboardOpensForOneWindowAtATime) {
  HWND edit = CreateEdit(1);
  ASSERT_TRUE(OpenClipboard(edit));
  EXPECT_TRUE(OpenClipboard(edit)) << "again from the same window";
  EXPECT_FALSE(OpenClipboard(Parent()));
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_EQ(GetOpenClipboardWindow(), edit);
  EXPECT_TRUE(CloseClipboard());
  SetLastError(0);
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  SetLastError(0);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(edit)) << "open without a window still holds it";
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(WindowSystem, FreeingTheClipboardsBlockTakesItsTextAway) {
  // The former owner can still free the block (a fault of that program): the text is gone.
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(mem, nullptr);
  std::memcpy(GlobalLock(mem), "abc", 4);
  GlobalUnlock(mem);
  ASSERT_TRUE(OpenClipboard(Parent()));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_NE(SetClipboardData(CF_TEXT, mem), nullptr);
  CloseClipboard();
  EXPECT_EQ(GlobalFree(mem), nullptr);
  EXPECT_EQ(kwtest::ClipboardText(), "");
}

TEST_F(WindowSystem, GlobalLocksAreCounted) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 5);
  ASSERT_NE(mem, nullptr);
  EXPECT_EQ(GlobalSize(mem), 5u);
  ASSERT_NE(GlobalLock(mem), nullptr);
  ASSERT_NE(GlobalLock(mem), nullptr);
  EXPECT_TRUE(GlobalUnlock(mem)) << "still locked once";
  SetLastError(1);
  EXPECT_FALSE(GlobalUnlock(mem));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR)) << "unlocked now";
  EXPECT_FALSE(GlobalUnlock(mem));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(mem), nullptr);

  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), nullptr) << "a moveable block of size 0 has no memory";
  GlobalFree(empty);
}

// --- Painting ----------------------------------------------------------------------------------

UINT g_colourMsg = 0;
HWND g_colourFrom = nullptr;
LRESULT CALLBACK ColourProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
    g_colourMsg = msg;
    g_colourFrom = reinterpret_cast<HWND>(lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3)) << "answers the previous colour";
  }
  return DefWindowProcA(h, msg, wParam, lParam);
}

TEST_F(WindowSystem, PaintingAsksTheParentForColours) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ColourProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KwSimColourBox";
    registered = RegisterClassA(&wc) != 0;
  }
  HWND box = Own(CreateWindowExA(0, "KwSimColourBox", "", WS_CHILD | WS_VISIBLE, 0, 200, 100, 60, Parent(),
                                 reinterpret_cast<HMENU>(30), GetModuleHandleA(nullptr), nullptr));
  HWND edit = MakeEditIn(box, 31, "abc");
  ASSERT_NE(edit, nullptr);
  struct Row {
    const char* name;
    bool readOnly;
    bool disabled;
    UINT want;
  } rows[] = {
      {"Editable", false, false, WM_CTLCOLOREDIT},
      {"ReadOnly", true, false, WM_CTLCOLORSTATIC},
      {"Disabled", false, true, WM_CTLCOLORSTATIC},
  };
  for (const Row& r : rows) {
    SendMessageA(edit, EM_SETREADONLY, r.readOnly, 0);
    EnableWindow(edit, r.disabled ? FALSE : TRUE);
    g_colourMsg = 0;
    g_colourFrom = nullptr;
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    EXPECT_EQ(g_colourMsg, r.want) << r.name;
    EXPECT_EQ(g_colourFrom, edit) << r.name;
  }
  HDC dc = GetDC(edit);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(DefWindowProcA(box, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(edit))),
            GetSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  ReleaseDC(edit, dc);
}

// --- Locale (simulation only: the real platform reads its locale once, at start) -----------

#ifndef _WIN32
class ScopedLocaleEnv {
 public:
  explicit ScopedLocaleEnv(const char* value) {
    const char* old = std::getenv("LC_ALL");
    m_had = old != nullptr;
    if (m_had) m_old = old;
    setenv("LC_ALL", value, 1);
  }
  ~ScopedLocaleEnv() {
    if (m_had)
      setenv("LC_ALL", m_old.c_str(), 1);
    else
      unsetenv("LC_ALL");
  }

 private:
  bool m_had = false;
  std::string m_old;
};

std::string LocaleText(LCTYPE type) {
  char buf[8] = {};
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return n > 0 ? std::string(buf) : std::string("<fail>");
}

TEST(SimLocale, TheCLocaleAnswersAsUsEnglish) {
  ScopedLocaleEnv env("C");
  EXPECT_EQ(LocaleText(LOCALE_SDECIMAL), ".");
  EXPECT_EQ(LocaleText(LOCALE_STHOUSAND), ",") << "C has none; a US-English user locale has ','";
  EXPECT_EQ(LocaleText(LOCALE_SMONDECIMALSEP), ".");
  EXPECT_EQ(LocaleText(LOCALE_SMONTHOUSANDSEP), ",");
  EXPECT_EQ(LocaleText(LOCALE_STIME), ":");
  EXPECT_EQ(LocaleText(LOCALE_SDATE), "/");
}

TEST(SimLocale, AGermanLocaleGivesItsSeparators) {
  ScopedLocaleEnv env("de_DE.UTF-8");
  locale_t probe = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
  if (!probe) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  freelocale(probe);
  EXPECT_EQ(LocaleText(LOCALE_SDECIMAL), ",");
  EXPECT_EQ(LocaleText(LOCALE_STHOUSAND), ".");
  EXPECT_EQ(LocaleText(LOCALE_SMONDECIMALSEP), ",");
  EXPECT_EQ(LocaleText(LOCALE_SMONTHOUSANDSEP), ".");
  EXPECT_EQ(LocaleText(LOCALE_STIME), ":");
  EXPECT_EQ(LocaleText(LOCALE_SDATE), ".");
}

TEST(SimLocale, UnknownTypesAndBadBuffersFail) {
  char buf[4];
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x7777, buf, sizeof buf), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
#endif

}  // namespace
