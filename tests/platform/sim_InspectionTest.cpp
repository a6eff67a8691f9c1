// The simulation's inspection interface: beeps and repaint requests counted, one-shot failures
// of the clipboard and memory calls, and a failing brush. The real platform has none of it, so
// every test here starts with KWTEST_REQUIRE_INSPECT().
#include <cstring>
#include <string>

#include "common/TestHost.h"

namespace {

using kwtest::ClipboardText;
using kwtest::Sel;
using kwtest::Text;

class Inspection : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    if (kwinspect::Available()) kwinspect::ResetRepaintRequests();
  }
  void TearDown() override {
    if (kwinspect::Available()) kwinspect::FailCreateSolidBrush(false);
    kwtest::WindowTest::TearDown();
  }
};

TEST_F(Inspection, BeepsAreCountedWithTheLastType) {
  KWTEST_REQUIRE_INSPECT();
  EXPECT_EQ(kwinspect::BeepCount(), 0);
  MessageBeep(MB_OK);
  MessageBeep(MB_ICONEXCLAMATION);
  EXPECT_EQ(kwinspect::BeepCount(), 2);
  EXPECT_EQ(kwinspect::LastBeepType(), static_cast<UINT>(MB_ICONEXCLAMATION));
  kwinspect::ResetBeeps();
  EXPECT_EQ(kwinspect::BeepCount(), 0);
}

TEST_F(Inspection, RepaintRequestsAreCountedPerWindow) {
  KWTEST_REQUIRE_INSPECT();
  HWND a = CreateEdit(1, "a");
  HWND b = CreateEdit(2, "b");
  kwinspect::ResetRepaintRequests();
  InvalidateRect(a, nullptr, TRUE);
  InvalidateRect(a, nullptr, FALSE);
  InvalidateRect(b, nullptr, TRUE);
  EXPECT_EQ(kwinspect::RepaintRequests(a), 2);
  EXPECT_EQ(kwinspect::RepaintRequests(b), 1);
  EXPECT_EQ(kwinspect::RepaintRequests(), 3);
  kwinspect::ResetRepaintRequests();
  EXPECT_EQ(kwinspect::RepaintRequests(a), 0);
  EXPECT_EQ(kwinspect::RepaintRequests(), 0);
}

TEST_F(Inspection, TheEditControlsOwnRepaintsAreNotRequests) {
  // Only calls of InvalidateRect count: typing, setting the text and moving the caret repaint
  // the control without asking.
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1, "abc");
  kwtest::Focus(edit);
  kwinspect::ResetRepaintRequests();
  kwtest::Type("xy");
  SetWindowTextA(edit, "other");
  kwtest::Press(VK_END);
  UpdateWindow(edit);
  EXPECT_EQ(Text(edit), "other");
  EXPECT_EQ(kwinspect::RepaintRequests(), 0);
}

TEST_F(Inspection, RepaintRequestOfAStaleWindowFailsAndIsNotCounted) {
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1);
  DestroyWindow(edit);
  kwinspect::ResetRepaintRequests();
  EXPECT_FALSE(InvalidateRect(edit, nullptr, TRUE));
  EXPECT_EQ(kwinspect::RepaintRequests(), 0);
}

TEST_F(Inspection, FailNextOpenClipboardFailsOnce) {
  KWTEST_REQUIRE_INSPECT();
  kwinspect::FailNextOpenClipboard();
  EXPECT_FALSE(OpenClipboard(kwtest::Parent()));
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Inspection, CopyWithoutTheClipboardKeepsItsText) {
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1, "abcdef");
  ASSERT_TRUE(kwtest::SetClipboardText("old"));
  kwtest::SetSel(edit, 1, 4);
  kwinspect::FailNextOpenClipboard();
  SendMessageA(edit, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "old");
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "a failed copy leaves the clipboard closed";
}

TEST_F(Inspection, CutWithoutTheClipboardStillDeletes) {
  // As the standard control does when another window holds the clipboard open.
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1, "abcdef");
  ASSERT_TRUE(kwtest::SetClipboardText("old"));
  kwtest::SetSel(edit, 1, 4);
  kwinspect::FailNextOpenClipboard();
  SendMessageA(edit, WM_CUT, 0, 0);
  EXPECT_EQ(Text(edit), "aef");
  EXPECT_EQ(ClipboardText(), "old");
}

TEST_F(Inspection, CopyWithoutMemoryKeepsTheClipboard) {
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1, "abcdef");
  ASSERT_TRUE(kwtest::SetClipboardText("old"));
  kwtest::SetSel(edit, 0, 2);
  kwinspect::FailNextGlobalAlloc();
  SendMessageA(edit, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "old");
  kwinspect::FailNextGlobalLock();
  SendMessageA(edit, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "old");
  SendMessageA(edit, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "ab") << "each failure is one-shot";
}

TEST_F(Inspection, FailNextGlobalAllocAndLockAreOneShot) {
  KWTEST_REQUIRE_INSPECT();
  kwinspect::FailNextGlobalAlloc();
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 4), nullptr);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(mem, nullptr);
  kwinspect::FailNextGlobalLock();
  EXPECT_EQ(GlobalLock(mem), nullptr);
  void* p = GlobalLock(mem);
  EXPECT_NE(p, nullptr);
  GlobalUnlock(mem);
  EXPECT_EQ(GlobalFree(mem), nullptr);
}

TEST_F(Inspection, PasteWithoutTheClipboardChangesNothing) {
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1, "abc");
  ASSERT_TRUE(kwtest::SetClipboardText("XY"));
  kwtest::SetSel(edit, 1, 1);
  kwtest::ClearNotifications();
  kwinspect::FailNextOpenClipboard();
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(edit), "abc");
  EXPECT_EQ(Sel(edit), std::make_pair(1, 1));
  EXPECT_TRUE(kwtest::CodesFor(1).empty()) << kwtest::Describe(kwtest::CodesFor(1));
}

TEST_F(Inspection, FailCreateSolidBrushHoldsUntilSwitchedOff) {
  KWTEST_REQUIRE_INSPECT();
  kwinspect::FailCreateSolidBrush(true);
  EXPECT_EQ(CreateSolidBrush(RGB(1, 2, 3)), nullptr);
  EXPECT_EQ(CreateSolidBrush(RGB(1, 2, 3)), nullptr);
  kwinspect::FailCreateSolidBrush(false);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_NE(brush, nullptr);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "a deleted brush is stale";
}

TEST_F(Inspection, HandlesAreDistinctAndNeverReused) {
  KWTEST_REQUIRE_INSPECT();
  HWND edit = CreateEdit(1);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 1);
  HDC dc = GetDC(edit);
  const void* handles[] = {edit, brush, mem, dc};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NE(handles[i], nullptr);
    for (size_t j = i + 1; j < 4; ++j) EXPECT_NE(handles[i], handles[j]);
  }
  ReleaseDC(edit, dc);
  DeleteObject(brush);
  GlobalFree(mem);
  DestroyWindow(edit);
  HWND again = CreateEdit(2);
  EXPECT_NE(again, edit) << "a new window never takes a destroyed one's handle";
  EXPECT_FALSE(IsWindow(edit));
}

}  // namespace
