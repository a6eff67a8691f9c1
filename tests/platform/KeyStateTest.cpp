// The two key states: GetAsyncKeyState is the keyboard's, changed as input is sent;
// GetKeyState is the thread's, changed as the loop takes key messages out of the queue (a look
// without removal changes nothing). A key handled after its modifiers were released therefore
// still finds them held, and the edit control acts on that: a Shift+Left typed faster than the
// loop takes keys out selects.
#include <cstdio>

#include "PlatformTest.h"

namespace {

using kwtest::Sel;

// What a subclassed edit control saw at each WM_KEYDOWN and WM_KEYUP, in order: "<key><T><A>"
// with the key S (Shift) or L (Left), T the thread's Shift state and A the keyboard's (1 held).
std::string g_seen;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK Recording(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_KEYUP) {
    char word[8];
    std::snprintf(word, sizeof word, "%s%c%d%d", g_seen.empty() ? "" : " ",
                  wParam == VK_SHIFT  ? 'S'
                  : wParam == VK_LEFT ? 'L'
                                      : '?',
                  GetKeyState(VK_SHIFT) < 0 ? 1 : 0, GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0);
    g_seen += word;
    if (message == WM_KEYUP) g_seen += '^';
  }
  return CallWindowProcA(g_editProc, hWnd, message, wParam, lParam);
}

struct KeyStateCase {
  const char* name;
  const char* keys;  // the events sent, all of them before the loop takes one: S/L down, s/l up
  const char* seen;  // what the edit control saw (see g_seen)
  std::pair<int, int> sel;  // its selection afterwards, from a caret at 4
};
void PrintTo(const KeyStateCase& c, std::ostream* os) { *os << c.name; }

const KeyStateCase kKeyStateCases[] = {
    // Shift released before the loop took the Left: the thread's state still has it.
    {"ShiftLeftQueued", "SLls", "S10 L10 L10^ S00^", {3, 4}},
    {"ShiftReleasedFirst", "SsLl", "S10 S00^ L00 L00^", {3, 3}},
    {"LeftAlone", "Ll", "L00 L00^", {3, 3}},
    {"TwoLeftsShifted", "SLlLls", "S10 L10 L10^ L10 L10^ S00^", {2, 4}},
    {"ShiftBetweenLefts", "LlSLls", "L00 L00^ S10 L10 L10^ S00^", {2, 3}},
};

class KeyState : public kwtest::WindowTest, public ::testing::WithParamInterface<KeyStateCase> {
 protected:
  void TearDown() override {
    kwtest::ReleaseModifiers();
    kwtest::WindowTest::TearDown();
  }
};

TEST_P(KeyState, ThreadStateChangesAsTheLoopTakesKeys) {
  const KeyStateCase& c = GetParam();
  HWND edit = CreateEdit(1, "abcdef");
  g_editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recording)));
  kwtest::Focus(edit);
  kwtest::SetSel(edit, 4, 4);
  g_seen.clear();

  std::vector<INPUT> events;
  for (const char* k = c.keys; *k; ++k) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    const bool shift = *k == 'S' || *k == 's';
    in.ki.wVk = static_cast<WORD>(shift ? VK_SHIFT : VK_LEFT);
    in.ki.dwFlags =
        (*k == 's' || *k == 'l' ? KEYEVENTF_KEYUP : 0) | (shift ? 0 : KEYEVENTF_EXTENDEDKEY);
    events.push_back(in);
  }
  const UINT count = static_cast<UINT>(events.size());
  ASSERT_EQ(SendInput(count, events.data(), static_cast<int>(sizeof(INPUT))), count);
  // The keyboard has every event already; the thread has none, and a look changes nothing.
  EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  MSG msg;
  for (int spins = 0;
       spins < 500 && !PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE); ++spins)
    Sleep(1);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "looked at, not taken";

  // A loop of its own: the events reach the queue of the real platform asynchronously.
  UINT taken = 0;
  for (int spins = 0; spins < 1000 && taken < count; ++spins) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) ++taken;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (taken < count) Sleep(1);
  }
  SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
  EXPECT_EQ(g_seen, c.seen);
  EXPECT_EQ(Sel(edit), c.sel);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

PTEST_ROWS(KeyState, kKeyStateCases);

}  // namespace
