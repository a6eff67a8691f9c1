// Windows and their objects: the handle map, subclassing and its undoing, the end of a
// window's life, the edit control wrapper, and the GDI and device-context wrappers.
#include <gtest/gtest.h>

#include <string>

#include "FrameworkTestUtil.h"
#include "common/TestHost.h"
#include "framework/framework.h"
#include "platform/inspect.h"

namespace {

using fwtest::Log;

LONG_PTR OurProc() { return reinterpret_cast<LONG_PTR>(&AfxWndProc); }

// Records what the framework tells it about its window's life; counts the characters that
// reach its map.
class TrackedEdit : public CEdit {
 public:
  int m_nPreSubclass = 0;
  HWND m_hWndAtPreSubclass = nullptr;
  bool m_bRoutedAtPreSubclass = false;
  int m_nPostNcDestroy = 0;
  int m_nChars = 0;
  bool* m_pDeleted = nullptr;  // set: PostNcDestroy deletes the object and reports it here

  ~TrackedEdit() override {
    if (m_pDeleted != nullptr) *m_pDeleted = true;
  }

 protected:
  void PreSubclassWindow() override {
    ++m_nPreSubclass;
    m_hWndAtPreSubclass = m_hWnd;
    m_bRoutedAtPreSubclass = ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == OurProc();
  }
  void PostNcDestroy() override {
    ++m_nPostNcDestroy;
    if (m_pDeleted != nullptr) delete this;
  }
  void OnChar(UINT, UINT, UINT) {
    ++m_nChars;
    Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TrackedEdit, CEdit)
  ON_WM_CHAR()
END_MESSAGE_MAP()

class WindowObjectTest : public kwtest::WindowTest {};

TEST_F(WindowObjectTest, CreateMakesAnEditChildRoutedThroughTheFramework) {
  TrackedEdit edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 201));
  ASSERT_TRUE(::IsWindow(edit.m_hWnd));
  EXPECT_EQ(&edit, CWnd::FromHandlePermanent(edit.m_hWnd));
  EXPECT_EQ(&edit, CWnd::FromHandle(edit.m_hWnd));
  EXPECT_EQ(201, edit.GetDlgCtrlID());
  EXPECT_EQ(kwtest::ParentWnd(), edit.GetParent());
  EXPECT_EQ(static_cast<DWORD>(WS_CHILD), edit.GetStyle() & WS_CHILD);
  EXPECT_EQ(OurProc(), ::GetWindowLongPtrA(edit.m_hWnd, GWLP_WNDPROC));
  // PreSubclassWindow ran once, attached, before the procedure was swapped.
  EXPECT_EQ(1, edit.m_nPreSubclass);
  EXPECT_EQ(edit.m_hWnd, edit.m_hWndAtPreSubclass);
  EXPECT_FALSE(edit.m_bRoutedAtPreSubclass);

  ::SendMessageA(edit.m_hWnd, WM_CHAR, 'z', 1);
  EXPECT_EQ(1, edit.m_nChars);
  EXPECT_EQ("z", edit.GetWindowText());
  EXPECT_FALSE(edit.Create(kwtest::kEditStyle, fwtest::Row(1), kwtest::ParentWnd(), 202));  // has one already
}

TEST_F(WindowObjectTest, CreateOfAnUnknownClassFails) {
  CWnd wnd;
  EXPECT_FALSE(wnd.Create("KwNoSuchClass", "", kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 203));
  EXPECT_EQ(nullptr, wnd.m_hWnd);
}

// A window class of the framework's own: AfxWndProc is the class's procedure.
class OwnClassWnd : public CWnd {
 public:
  int m_nSetText = 0;

 protected:
  LRESULT OnSetText(WPARAM, LPARAM) {
    ++m_nSetText;
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnClassWnd, CWnd)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

TEST_F(WindowObjectTest, AClassOfTheFrameworksOwnProcedureDefaultsToThePlatform) {
  static const char kClass[] = "KwFrameworkOwnClass";
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &AfxWndProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  ::RegisterClassA(&wc);  // registered once per process; a second registration fails harmlessly
  OwnClassWnd wnd;
  ASSERT_TRUE(wnd.Create(kClass, "first", WS_CHILD | WS_VISIBLE, fwtest::Row(0), kwtest::ParentWnd(), 219));
  EXPECT_EQ("first", wnd.GetWindowText());
  wnd.SetWindowText("second");
  EXPECT_EQ(1, wnd.m_nSetText);
  EXPECT_EQ("second", wnd.GetWindowText());
}

TEST_F(WindowObjectTest, SubclassingAndUnsubclassingAnExistingEdit) {
  HWND hEdit = CreateEdit(204, "dialog text");
  const LONG_PTR original = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
  {
    TrackedEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(1, edit.m_nPreSubclass);
    EXPECT_EQ(&edit, CWnd::FromHandlePermanent(hEdit));
    EXPECT_EQ("dialog text", edit.GetWindowText());

    TrackedEdit second;
    EXPECT_FALSE(second.SubclassWindow(hEdit));  // one object per window
    EXPECT_EQ(0, second.m_nPreSubclass);

    ::SendMessageA(hEdit, WM_CHAR, '!', 1);
    EXPECT_EQ(1, edit.m_nChars);

    EXPECT_EQ(hEdit, edit.UnsubclassWindow());
    EXPECT_EQ(nullptr, edit.m_hWnd);
    EXPECT_EQ(original, ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
    ::SendMessageA(hEdit, WM_CHAR, '?', 1);
    EXPECT_EQ(1, edit.m_nChars);
  }
  // The object let go before it went: the window lives on, a plain edit control.
  ASSERT_TRUE(::IsWindow(hEdit));
  ::SetWindowTextA(hEdit, "plain again");
  EXPECT_EQ("plain again", kwtest::Text(hEdit));
}

TEST_F(WindowObjectTest, SubclassDlgItemFindsTheChildByIdentifier) {
  HWND hEdit = CreateEdit(205);
  TrackedEdit edit;
  EXPECT_FALSE(edit.SubclassDlgItem(999, kwtest::ParentWnd()));
  ASSERT_TRUE(edit.SubclassDlgItem(205, kwtest::ParentWnd()));
  EXPECT_EQ(hEdit, edit.m_hWnd);
  edit.UnsubclassWindow();
}

TEST_F(WindowObjectTest, ADetachedWindowKeepsItsOwnProcessing) {
  HWND hEdit = CreateEdit(206);
  TrackedEdit first;
  ASSERT_TRUE(first.SubclassWindow(hEdit));
  EXPECT_EQ(hEdit, first.Detach());
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
  ::SetWindowTextA(hEdit, "still an edit");
  EXPECT_EQ("still an edit", kwtest::Text(hEdit));

  // Another object takes the window over; the control's processing is still behind it.
  TrackedEdit second;
  ASSERT_TRUE(second.SubclassWindow(hEdit));
  ::SendMessageA(hEdit, WM_CHAR, '+', 1);
  EXPECT_EQ(1, second.m_nChars);
  EXPECT_EQ(0, first.m_nChars);
  EXPECT_EQ("+still an edit", kwtest::Text(hEdit));
  second.UnsubclassWindow();
}

TEST_F(WindowObjectTest, DestroyingTheWindowDetachesTheObjectAfterItsLastMessage) {
  TrackedEdit edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 207));
  HWND hEdit = edit.m_hWnd;
  EXPECT_TRUE(edit.DestroyWindow());
  EXPECT_FALSE(::IsWindow(hEdit));
  EXPECT_EQ(nullptr, edit.m_hWnd);
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
  EXPECT_EQ(1, edit.m_nPostNcDestroy);
  EXPECT_FALSE(edit.DestroyWindow());
}

TEST_F(WindowObjectTest, PostNcDestroyMayDeleteTheObject) {
  bool deleted = false;
  auto* edit = new TrackedEdit;
  edit->m_pDeleted = &deleted;
  ASSERT_TRUE(edit->Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 208));
  HWND hEdit = edit->m_hWnd;
  ::DestroyWindow(hEdit);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
}

TEST_F(WindowObjectTest, TheObjectDestroysTheWindowItOwns) {
  HWND hEdit;
  {
    CEdit edit;
    ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 209));
    hEdit = edit.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hEdit));
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
}

TEST_F(WindowObjectTest, DestroyingTheParentDetachesFrameworkChildren) {
  TrackedEdit outer;
  ASSERT_TRUE(outer.Create(kwtest::kEditStyle, fwtest::Row(1), kwtest::ParentWnd(), 210));
  TrackedEdit inner;
  ASSERT_TRUE(inner.Create(kwtest::kEditStyle, RECT{0, 0, 40, 18}, &outer, 211));
  outer.DestroyWindow();
  EXPECT_EQ(nullptr, inner.m_hWnd);
  EXPECT_EQ(1, inner.m_nPostNcDestroy);
  EXPECT_EQ(1, outer.m_nPostNcDestroy);
}

TEST_F(WindowObjectTest, ForeignWindowsGetTemporaryWrappers) {
  HWND hEdit = CreateEdit(212, "foreign");
  EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
  CWnd* pWnd = CWnd::FromHandle(hEdit);
  ASSERT_NE(nullptr, pWnd);
  EXPECT_EQ(pWnd, CWnd::FromHandle(hEdit));  // one wrapper per window
  EXPECT_EQ(hEdit, pWnd->m_hWnd);
  EXPECT_EQ("foreign", pWnd->GetWindowText());
  EXPECT_TRUE(pWnd->IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_FALSE(pWnd->IsKindOf(RUNTIME_CLASS(CEdit)));
  EXPECT_EQ(kwtest::ParentWnd(), pWnd->GetParent());
  EXPECT_EQ(pWnd, kwtest::ParentWnd()->GetDlgItem(212));
  AfxDeleteTempMap();
  // A wrapper never owns its window.
  EXPECT_TRUE(::IsWindow(hEdit));
  EXPECT_EQ(hEdit, CWnd::FromHandle(hEdit)->m_hWnd);

  HWND hGone = CreateEdit(213);
  CWnd::FromHandle(hGone);
  ::DestroyWindow(hGone);
  EXPECT_EQ(nullptr, CWnd::FromHandle(hGone));
}

TEST_F(WindowObjectTest, FocusAndTabOrderAnswerWithObjects) {
  CEdit first;
  CEdit second;
  ASSERT_TRUE(first.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 214));
  ASSERT_TRUE(second.Create(kwtest::kEditStyle, fwtest::Row(1), kwtest::ParentWnd(), 215));
  first.SetFocus();
  EXPECT_EQ(&first, CWnd::GetFocus());
  EXPECT_EQ(&first, second.SetFocus());
  EXPECT_EQ(&second, CWnd::GetFocus());
  EXPECT_EQ(&second, kwtest::ParentWnd()->GetNextDlgTabItem(&first));
  EXPECT_EQ(&first, kwtest::ParentWnd()->GetNextDlgTabItem(&second, TRUE));
}

TEST_F(WindowObjectTest, AnObjectWithoutAWindowLeavesFocusAndPaintingAlone) {
  KWTEST_REQUIRE_INSPECT();  // repaint requests are counted by the simulation only
  HWND hEdit = CreateEdit(220);
  kwtest::Focus(hEdit);
  kwinspect::ResetRepaintRequests();
  CEdit unborn;
  EXPECT_EQ(nullptr, unborn.SetFocus());
  unborn.Invalidate();
  EXPECT_EQ(hEdit, ::GetFocus());
  EXPECT_EQ(0, kwinspect::RepaintRequests());
}

TEST_F(WindowObjectTest, EditWrapperSpeaksToTheControl) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 216));
  EXPECT_EQ(30000u, edit.GetLimitText());
  edit.SetLimitText(5);
  EXPECT_EQ(5u, edit.GetLimitText());
  edit.LimitText(8);
  EXPECT_EQ(8u, edit.GetLimitText());

  edit.SetWindowText(std::string("hello"));
  EXPECT_EQ(5, edit.GetWindowTextLength());
  edit.SetSel(1, 3);
  int start = -1;
  int end = -1;
  edit.GetSel(start, end);
  EXPECT_EQ(1, start);
  EXPECT_EQ(3, end);
  EXPECT_EQ(static_cast<DWORD>(MAKELONG(1, 3)), edit.GetSel());
  edit.ReplaceSel("EL");
  EXPECT_EQ("hELlo", edit.GetWindowText());
}

// --- GDI objects and device contexts -----------------------------------------------------------

TEST(GdiObject, ABrushOwnsItsHandle) {
  CBrush brush(RGB(10, 20, 30));
  ASSERT_NE(nullptr, brush.GetSafeHandle());
  EXPECT_EQ(static_cast<HBRUSH>(brush.m_hObject), static_cast<HBRUSH>(brush));
  EXPECT_TRUE(brush.DeleteObject());
  EXPECT_EQ(nullptr, brush.GetSafeHandle());
  EXPECT_FALSE(brush.DeleteObject());

  EXPECT_FALSE(brush.Attach(nullptr));
  EXPECT_EQ(nullptr, brush.GetSafeHandle());
  HBRUSH hOther = ::CreateSolidBrush(RGB(1, 1, 1));
  ASSERT_TRUE(brush.Attach(hOther));
  EXPECT_EQ(hOther, static_cast<HBRUSH>(brush));
  EXPECT_FALSE(brush.Attach(nullptr));  // keeps what it holds
  EXPECT_EQ(hOther, static_cast<HBRUSH>(brush));
  EXPECT_EQ(hOther, brush.Detach());
  EXPECT_TRUE(::DeleteObject(hOther));
}

TEST(GdiObject, CreatingAgainReplacesTheBrush) {
  CBrush brush;
  ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
  HGDIOBJ hFirst = brush.GetSafeHandle();
  ASSERT_TRUE(brush.CreateSolidBrush(RGB(4, 5, 6)));
  EXPECT_NE(nullptr, brush.GetSafeHandle());
  EXPECT_NE(hFirst, brush.GetSafeHandle());
}

TEST(GdiObject, AFailedCreationKeepsTheBrushHeldSoFar) {
  KWTEST_REQUIRE_INSPECT();
  CBrush brush(RGB(1, 2, 3));
  HGDIOBJ hHeld = brush.GetSafeHandle();
  kwinspect::FailCreateSolidBrush(true);
  EXPECT_FALSE(brush.CreateSolidBrush(RGB(4, 5, 6)));
  CBrush none(RGB(7, 8, 9));
  kwinspect::FailCreateSolidBrush(false);
  EXPECT_EQ(hHeld, brush.GetSafeHandle());
  EXPECT_EQ(nullptr, none.GetSafeHandle());
}

TEST_F(WindowObjectTest, DeviceContextColoursAndSolidFill) {
  HWND hEdit = CreateEdit(218);
  HDC hDC = ::GetDC(hEdit);
  ASSERT_NE(nullptr, hDC);
  {
    CDC dc;
    EXPECT_FALSE(dc.Attach(nullptr));
    ASSERT_TRUE(dc.Attach(hDC));
    dc.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), dc.SetTextColor(RGB(4, 5, 6)));
    EXPECT_EQ(RGB(4, 5, 6), dc.GetTextColor());
    dc.SetBkColor(RGB(7, 8, 9));
    EXPECT_EQ(RGB(7, 8, 9), dc.GetBkColor());
    dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(200, 100, 50));
    EXPECT_EQ(RGB(200, 100, 50), dc.GetBkColor());  // the fill colour stays the background colour
    dc.FillSolidRect(1, 1, 4, 4, RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), ::GetBkColor(hDC));
  }
  // The CDC let the handle be; its owner releases it.
  EXPECT_EQ(RGB(4, 5, 6), ::GetTextColor(hDC));
  ::ReleaseDC(hEdit, hDC);
}

}  // namespace
