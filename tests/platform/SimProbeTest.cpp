// The simulation's inspection interface, which the control suites rely on: beeps and repaint
// requests counted, one-shot failures of the clipboard and memory calls, and a failing brush.
// The real platform has none of it, so every test starts with KWTEST_REQUIRE_INSPECT().
#include "PlatformTest.h"

namespace {

using kwtest::Text;

class Inspection : public kwtest::WindowTest {
 protected:
  void TearDown() override {
    if (kwinspect::Available()) kwinspect::FailCreateSolidBrush(false);
    kwtest::WindowTest::TearDown();
  }
};

TEST_F(Inspection, BeepsAndRepaintRequestsAreCounted) {
  KWTEST_REQUIRE_INSPECT();
  MessageBeep(MB_OK);
  MessageBeep(MB_ICONEXCLAMATION);
  EXPECT_EQ(kwinspect::BeepCount(), 2);
  EXPECT_EQ(kwinspect::LastBeepType(), static_cast<UINT>(MB_ICONEXCLAMATION));
  kwinspect::ResetBeeps();
  EXPECT_EQ(kwinspect::BeepCount(), 0);

  HWND a = CreateEdit(1, "a");
  HWND b = CreateEdit(2, "b");
  kwtest::Focus(a);
  kwinspect::ResetRepaintRequests();
  // The edit control's own repaints (typing, a new text, caret moves) are not requests.
  kwtest::Type("xy");
  SetWindowTextA(a, "other");
  kwtest::Press(VK_END);
  UpdateWindow(a);
  EXPECT_EQ(kwinspect::RepaintRequests(), 0);
  InvalidateRect(a, nullptr, TRUE);
  InvalidateRect(a, nullptr, FALSE);
  InvalidateRect(b, nullptr, TRUE);
  EXPECT_EQ(kwinspect::RepaintRequests(a), 2);
  EXPECT_EQ(kwinspect::RepaintRequests(b), 1);
  EXPECT_EQ(kwinspect::RepaintRequests(), 3);
  DestroyWindow(b);
  EXPECT_FALSE(InvalidateRect(b, nullptr, TRUE)) << "a stale window is not counted";
  EXPECT_EQ(kwinspect::RepaintRequests(), 3);
  kwinspect::ResetRepaintRequests();
  EXPECT_EQ(kwinspect::RepaintRequests(a), 0);
  EXPECT_EQ(kwinspect::RepaintRequests(), 0);
}

// Accessibility events per kind and window; a destroyed window's stay in its kinds' totals
// (its own entries go with it, so that a long run keeps none for each window it made).
TEST_F(Inspection, AccessibilityEventsAreCounted) {
  KWTEST_REQUIRE_INSPECT();
  kwinspect::ResetWinEvents();
  HWND a = CreateEdit(1, "a");
  HWND b = CreateEdit(2, "b");
  NotifyWinEvent(EVENT_SYSTEM_ALERT, a, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_SYSTEM_ALERT, b, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_SYSTEM_ALERT, b, OBJID_CLIENT, CHILDID_SELF);
  EXPECT_EQ(kwinspect::WinEventCount(EVENT_SYSTEM_ALERT, a), 1);
  EXPECT_EQ(kwinspect::WinEventCount(EVENT_SYSTEM_ALERT, b), 2);
  DestroyWindow(b);
  EXPECT_EQ(kwinspect::WinEventCount(EVENT_SYSTEM_ALERT, b), 0);
  EXPECT_EQ(kwinspect::WinEventCount(EVENT_SYSTEM_ALERT), 3);
  EXPECT_EQ(kwinspect::WinEventCount(0x8000 /*EVENT_OBJECT_CREATE*/), 0);
  kwinspect::ResetWinEvents();
  EXPECT_EQ(kwinspect::WinEventCount(EVENT_SYSTEM_ALERT), 0);
}

TEST_F(Inspection, FailureSwitches) {
  KWTEST_REQUIRE_INSPECT();
  kwinspect::FailNextGlobalAlloc();  // the clipboard's switch: see the next test
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 4), nullptr);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(mem, nullptr);
  kwinspect::FailNextGlobalLock();
  EXPECT_EQ(GlobalLock(mem), nullptr);
  EXPECT_NE(GlobalLock(mem), nullptr);
  GlobalUnlock(mem);
  EXPECT_EQ(GlobalFree(mem), nullptr);
  kwinspect::FailCreateSolidBrush(true);
  EXPECT_EQ(CreateSolidBrush(RGB(1, 2, 3)), nullptr);
  EXPECT_EQ(CreateSolidBrush(RGB(1, 2, 3)), nullptr) << "holds until switched off";
  kwinspect::FailCreateSolidBrush(false);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(brush, nullptr);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "a deleted brush is stale";
}

// The edit control's clipboard messages when the clipboard or its memory fails: a cut still
// deletes, as the standard control does when another window holds the clipboard open; nothing
// else changes, and the clipboard is left closed with its old text.
TEST_F(Inspection, EditClipboardMessagesSurviveFailures) {
  KWTEST_REQUIRE_INSPECT();
  const struct {
    void (*fail)();
    UINT msg;
    const char* wantText;
    const char* wantNotes;
  } rows[] = {{kwinspect::FailNextOpenClipboard, WM_COPY, "abcdef", ""},
              {kwinspect::FailNextGlobalAlloc, WM_COPY, "abcdef", ""},
              {kwinspect::FailNextGlobalLock, WM_COPY, "abcdef", ""},
              {kwinspect::FailNextOpenClipboard, WM_CUT, "aef", "1U 1C"},
              {kwinspect::FailNextOpenClipboard, WM_PASTE, "abcdef", ""}};
  HWND edit = CreateEdit(1);
  ASSERT_TRUE(kwtest::SetClipboardText("old"));
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "message " << r.msg << " row " << (&r - rows));
    SetWindowTextA(edit, "abcdef");
    kwtest::SetSel(edit, 1, 4);
    kwtest::ClearNotifications();
    r.fail();
    SendMessageA(edit, r.msg, 0, 0);
    EXPECT_EQ(Text(edit), r.wantText);
    EXPECT_EQ(ptest::Notes(), r.wantNotes);
    EXPECT_EQ(kwtest::ClipboardText(), "old");
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  }
}

}  // namespace
