// Window-system behaviours the simulation reproduces, observed on the real platform (Wine):
// stale handles, an edit control destroyed under its own notification, and where the focus goes
// from a focused edit control. Everything runs on both builds but the one marked fact (skipped,
// with its reason, under Wine).
#include "PlatformTest.h"

namespace {

using kwtest::Parent;

class WindowSystem : public kwtest::WindowTest {};

TEST_F(WindowSystem, StaleHandlesFailCleanlyAndTheirPostedMessagesAreDropped) {
  HWND edit = CreateEdit(1, "abc");
  ASSERT_TRUE(PostMessageA(edit, WM_USER + 9, 0, 0));
  ASSERT_TRUE(DestroyWindow(edit));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
  SetLastError(0);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PostMessageA(edit, WM_USER, 0, 0));
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

// A parent that destroys the edit control sending it EN_UPDATE, which must not touch itself
// afterwards (the sanitizer build shows it).
LRESULT CALLBACK DestroyingBoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == EN_UPDATE)
    DestroyWindow(reinterpret_cast<HWND>(lParam));
  return DefWindowProcA(h, msg, wParam, lParam);
}

TEST_F(WindowSystem, AnEditDestroyedByItsParentDuringANotificationIsLeftAlone) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DestroyingBoxProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KwSimDestroyingBox";
  RegisterClassA(&wc);
  HWND box = CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 200, 100, 24,
                             Parent(), nullptr, wc.hInstance, nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "abc", kwtest::kEditStyle, 0, 0, 100, 24, box,
                              reinterpret_cast<HMENU>(20), wc.hInstance, nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("xyz"));
  EXPECT_FALSE(IsWindow(edit));
  DestroyWindow(box);
}

// --- Where the focus goes from a focused edit control
// ---------------------------------------------

struct FocusCase {
  const char* name;
  void (*act)(HWND edit);
  int want;               // 0: no focus, 1: the edit control, -1: the parent
  const char* wantNotes;  // nullptr: not checked
};
void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

class FocusMoves : public WindowSystem, public ::testing::WithParamInterface<FocusCase> {};

const FocusCase kFocusCases[] = {
    {"HidingGivesItToTheParent", [](HWND e) { ShowWindow(e, SW_HIDE); }, -1, "1K"},
    {"DestroyingGivesItToTheParent", [](HWND e) { DestroyWindow(e); }, -1, "1K"},
    {"DisablingLeavesNone",
     [](HWND e) {
       EnableWindow(e, FALSE);
       EXPECT_EQ(SetFocus(e), nullptr) << "a disabled window cannot take the focus";
     },
     0, nullptr},
    {"DisablingTheParentLeavesIt",
     [](HWND) { EnableWindow(Parent(), FALSE), EnableWindow(Parent(), TRUE); }, 1, nullptr},
    {"SetFocusOnTheFocusWindowSendsNothing", [](HWND e) { EXPECT_EQ(SetFocus(e), e); }, 1, ""},
};

TEST_P(FocusMoves, Goes) {
  const FocusCase& c = GetParam();
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  kwtest::ClearNotifications();
  c.act(edit);
  EXPECT_EQ(GetFocus(), c.want < 0 ? Parent() : c.want ? edit : nullptr);
  if (c.wantNotes) {
    EXPECT_EQ(ptest::Notes(), c.wantNotes);
  }
}

PTEST_ROWS(FocusMoves, kFocusCases);

// Simulation only: nothing can arrive later on the one simulated thread, so instead of waiting
// for ever GetMessageA answers as if the loop had been told to quit, after what was posted.
TEST_F(WindowSystem, GetMessageOnAnEmptyQueueEndsTheLoop) {
  if (!kwtest::CanInspect()) {
    GTEST_SKIP() << "the simulation's own answer: on the real platform GetMessageA waits for the "
                    "next message";
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  PostMessageA(Parent(), WM_USER + 6, 0, 0);
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 6));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

}  // namespace
