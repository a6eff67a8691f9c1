// Framework windows: the handle map, subclassing and the end of a window's life, dispatch along
// the message-map chain, Default() from nested handlers, reflection of the colour message and
// the PreTranslateMessage walk a host's loop runs.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Fenced.h"
#include "common/TestHost.h"
#include "framework/framework.h"
#include "platform/probe.h"

namespace {

using Log = std::vector<std::string>;
Log g_log;  // what the test windows' handlers did, in order
LRESULT Note(const std::string& entry, LRESULT result = 0) {
  g_log.push_back(entry);
  return result;
}
std::string Char(WPARAM ch) { return std::string(1, static_cast<char>(ch)); }
// Framework windows are Unicode windows: their procedure is read through the W function.
LONG_PTR ProcOf(HWND hWnd) { return ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC); }
// A WM_SETTEXT text of a Unicode window, ASCII only, as a narrow string.
std::string AsciiOf(LPARAM lParam) {
  std::string out;
  for (auto* p = reinterpret_cast<const WCHAR*>(lParam); p != nullptr && *p != 0; ++p)
    out += *p < 0x80 ? static_cast<char>(*p) : '?';
  return out;
}
const LONG_PTR kFrameworkProc = reinterpret_cast<LONG_PTR>(&AfxWndProc);

// A plain "EDIT" child that the framework knows nothing about.
HWND PlainChild(HWND hParent, int id) {
  return ::CreateWindowExA(0, "EDIT", "", kwtest::kEditStyle, 0, 0, 50, 18, hParent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

class FrameworkWindow : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    g_log.clear();
  }
};

// The base of a map chain; it also logs what the framework tells it about its window's life.
class MapBase : public CEdit {
 public:
  bool m_bDeleteSelf = false;  // PostNcDestroy deletes the object
  ~MapBase() override {
    if (m_bDeleteSelf) Note("deleted");
  }

 protected:
  void Pass(const std::string& entry) {
    Note(entry);
    Default();
  }
  void OnChar(UINT nChar, UINT, UINT) { Pass("base OnChar " + Char(nChar)); }
  void OnKeyDown(UINT, UINT, UINT) { Pass("base OnKeyDown"); }
  virtual LRESULT OnCut(WPARAM, LPARAM) { return Note("base OnCut"); }
  // Runs once attached, before the window's procedure is swapped.
  void PreSubclassWindow() override {
    Note(m_hWnd != nullptr && ProcOf(m_hWnd) != kFrameworkProc ? "PreSubclass"
                                                               : "PreSubclass out of order");
  }
  void PostNcDestroy() override {
    Note("PostNcDestroy");
    if (m_bDeleteSelf) delete this;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapBase, CEdit)
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_MESSAGE(WM_CUT, OnCut)
END_MESSAGE_MAP()

class MapDerived : public MapBase {
 protected:
  void OnChar(UINT nChar, UINT, UINT) { Pass("derived OnChar " + Char(nChar)); }
  LRESULT OnCut(WPARAM, LPARAM) override { return Note("derived OnCut", 7); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapDerived, MapBase)
ON_WM_CHAR()
END_MESSAGE_MAP()

// --- Handle map and subclassing ------------------------------------------------------------------

TEST_F(FrameworkWindow, CreateAttachesTheObjectAndRoutesItsMessages) {
  MapBase edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 201));
  EXPECT_EQ(Log{"PreSubclass"}, g_log);
  EXPECT_EQ(&edit, CWnd::FromHandlePermanent(edit.m_hWnd));
  EXPECT_EQ(&edit, CWnd::FromHandle(edit.m_hWnd));
  EXPECT_EQ(kFrameworkProc, ProcOf(edit.m_hWnd));
  EXPECT_FALSE(
      edit.Create(kwtest::kEditStyle, kwtest::EditRect(2), kwtest::ParentWnd(), 202));  // has one
}

TEST_F(FrameworkWindow, SubclassDetachAndTakeOverAnExistingEdit) {
  const HWND hEdit = CreateEdit(204, "text");
  const LONG_PTR original = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
  EXPECT_FALSE(::IsWindowUnicode(hEdit));
  MapBase first;
  ASSERT_TRUE(first.SubclassDlgItem(204, kwtest::ParentWnd()));
  EXPECT_EQ(&first, CWnd::FromHandlePermanent(hEdit));
  EXPECT_TRUE(::IsWindowUnicode(hEdit)) << "subclassed by the framework, a Unicode window";
  MapDerived second;
  EXPECT_FALSE(second.SubclassWindow(hEdit));  // one object per window

  // Detached while still subclassed: the window keeps the control's own processing.
  EXPECT_EQ(hEdit, first.Detach());
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
  ::SetWindowTextA(hEdit, "still an edit");
  EXPECT_EQ("still an edit", kwtest::Text(hEdit));

  // Another object takes it over, with the control still behind it; unsubclassing hands the
  // window back to the procedure it had at first.
  ASSERT_TRUE(second.SubclassWindow(hEdit));
  g_log.clear();
  ::SendMessageA(hEdit, WM_CHAR, '+', 1);
  EXPECT_EQ(Log{"derived OnChar +"}, g_log);
  EXPECT_EQ("+still an edit", kwtest::Text(hEdit));
  EXPECT_EQ(hEdit, second.UnsubclassWindow());
  EXPECT_EQ(original, ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
  EXPECT_FALSE(::IsWindowUnicode(hEdit)) << "its own procedure back, an ANSI window again";
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
}

TEST_F(FrameworkWindow, DestroyingAParentDetachesItAndItsFrameworkChildren) {
  MapBase outer;
  ASSERT_TRUE(outer.Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 207));
  auto* pInner = new MapBase;
  pInner->m_bDeleteSelf = true;
  ASSERT_TRUE(pInner->Create(kwtest::kEditStyle, RECT{0, 0, 40, 18}, &outer, 208));
  const HWND hOuter = outer.m_hWnd;
  const HWND hInner = pInner->m_hWnd;
  g_log.clear();
  EXPECT_TRUE(outer.DestroyWindow());
  EXPECT_EQ((Log{"PostNcDestroy", "deleted", "PostNcDestroy"}), g_log);  // the child goes first
  EXPECT_EQ(nullptr, outer.m_hWnd);
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hOuter));
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hInner));
  EXPECT_FALSE(outer.DestroyWindow());

  HWND hOwned;
  {
    CEdit owner;
    ASSERT_TRUE(owner.Create(kwtest::kEditStyle, kwtest::EditRect(2), kwtest::ParentWnd(), 210));
    hOwned = owner.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hOwned));
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hOwned));
}

TEST_F(FrameworkWindow, ForeignWindowsGetOneTemporaryWrapperThatNeverOwnsThem) {
  const HWND hEdit = CreateEdit(212, "foreign");
  EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
  CWnd* pWnd = CWnd::FromHandle(hEdit);
  ASSERT_NE(nullptr, pWnd);
  EXPECT_EQ(hEdit, pWnd->m_hWnd);
  EXPECT_EQ(pWnd, CWnd::FromHandle(hEdit));
  EXPECT_EQ(pWnd, kwtest::ParentWnd()->GetDlgItem(212));
  AfxDeleteTempMap();  // frees the wrapper, not the window
  EXPECT_TRUE(::IsWindow(hEdit));
  EXPECT_EQ(hEdit, CWnd::FromHandle(hEdit)->m_hWnd);

  const HWND hGone = CreateEdit(213);
  CWnd::FromHandle(hGone);
  ::DestroyWindow(hGone);
  EXPECT_EQ(nullptr, CWnd::FromHandle(hGone));
}

TEST_F(FrameworkWindow, AnObjectWithoutAWindowLeavesFocusAndPaintingAlone) {
  KWTEST_REQUIRE_INSPECT();  // repaint requests are counted by the simulation only
  const HWND hEdit = CreateEdit(220);
  kwtest::Focus(hEdit);
  kwinspect::ResetRepaintRequests();
  CEdit unborn;
  EXPECT_EQ(nullptr, unborn.SetFocus());
  unborn.Invalidate();
  unborn.UpdateWindow();
  EXPECT_EQ(hEdit, ::GetFocus());
  EXPECT_EQ(0, kwinspect::RepaintRequests());
}

// --- Dispatch ------------------------------------------------------------------------------------

TEST_F(FrameworkWindow, TheFirstEntryAlongTheMapChainWins) {
  const struct {
    const char* name;
    bool derived;  // sent to a MapDerived, else to a MapBase
    UINT message;
    WPARAM wParam;
    Log log;
    const char* text;  // the control's text afterwards
  } cases[] = {
      {"derived entry wins over the base's", true, WM_CHAR, 'q', {"derived OnChar q"}, "q"},
      {"a base object keeps the base's", false, WM_CHAR, 'q', {"base OnChar q"}, "q"},
      {"missing entry found in the base map", true, WM_KEYDOWN, VK_END, {"base OnKeyDown"}, ""},
      {"base entry calls the object's override", true, WM_CUT, 0, {"derived OnCut"}, ""},
      {"no entry anywhere: the control's own processing", true, WM_CLEAR, 0, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MapDerived derived;
    MapBase base;
    CEdit& edit = c.derived ? static_cast<CEdit&>(derived) : static_cast<CEdit&>(base);
    ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 101));
    g_log.clear();
    const LRESULT r = ::SendMessageA(edit.m_hWnd, c.message, c.wParam, 0);
    EXPECT_EQ(c.log, g_log);
    EXPECT_EQ(c.text, edit.GetWindowText());
    if (c.message == WM_CUT) {
      EXPECT_EQ(7, r);  // the handler's result comes back
    }
  }
}

class ReentrantEdit : public CEdit {
 public:
  using CEdit::CallOwnProc;
  using CEdit::Default;

 protected:
  // Rewrites the whole text (a nested WM_SETTEXT) and puts the caret at its end, then lets the
  // control take the character it is handling.
  void OnChar(UINT nChar, UINT, UINT) {
    Note("OnChar " + Char(nChar));
    SetWindowText("abc");
    SetSel(3, 3);
    Default();
  }
  LRESULT OnSetText(WPARAM, LPARAM lParam) {
    Note("OnSetText " + AsciiOf(lParam));
    const LRESULT r = Default();
    Note("took " + GetWindowText());
    return r;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReentrantEdit, CEdit)
ON_WM_CHAR()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

TEST_F(FrameworkWindow, DefaultHandsOnTheMessageOfItsOwnHandlerWhenNested) {
  ReentrantEdit edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(2), kwtest::ParentWnd(), 102));
  g_log.clear();
  ::SendMessageA(edit.m_hWnd, WM_CHAR, 'X', 1);
  EXPECT_EQ((Log{"OnChar X", "OnSetText abc", "took abc"}), g_log);
  EXPECT_EQ("abcX", edit.GetWindowText());
  EXPECT_EQ(0, edit.Default());  // outside any message there is nothing to hand on
  EXPECT_EQ("abcX", edit.GetWindowText());
}

TEST_F(FrameworkWindow, CallOwnProcGoesPastTheMapToTheWindowsOwnProcedure) {
  ReentrantEdit edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(2), kwtest::ParentWnd(), 103));
  g_log.clear();
  // The window's own procedure is called as a Unicode window's: the text is UTF-16.
  EXPECT_TRUE(edit.CallOwnProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(KW_W("own"))));
  EXPECT_EQ(Log{}, g_log);  // the map's OnSetText never saw it
  EXPECT_EQ("own", edit.GetWindowText());
  // Attached without subclassing, the object has no procedure of the window's to call: sent.
  const HWND hEdit = CreateEdit(205, "");
  ReentrantEdit attached;
  ASSERT_TRUE(attached.Attach(hEdit));
  attached.CallOwnProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(KW_W("sent")));
  EXPECT_EQ("sent", kwtest::Text(hEdit));
  attached.Detach();
}

// A window class of the framework's own: AfxWndProc is the class's procedure, so Default()
// must end in the platform's default processing rather than in AfxWndProc again.
class OwnClassWnd : public CWnd {
 protected:
  LRESULT OnSetText(WPARAM, LPARAM) {
    Note("OnSetText");
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnClassWnd, CWnd)
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

TEST_F(FrameworkWindow, AClassOfTheFrameworksOwnProcedureDefaultsToThePlatform) {
  static const char kClass[] = "KwFrameworkOwnClass";
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &AfxWndProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  ::RegisterClassA(&wc);  // once per process; a second registration fails harmlessly
  OwnClassWnd wnd;
  ASSERT_TRUE(wnd.Create(kClass, "first", WS_CHILD | WS_VISIBLE, kwtest::EditRect(1),
                         kwtest::ParentWnd(), 219));
  EXPECT_EQ("first", wnd.GetWindowText());
  wnd.SetWindowText("second");
  EXPECT_EQ(Log{"OnSetText"}, g_log);
  EXPECT_EQ("second", wnd.GetWindowText());
}

// Answers the colour message: as a child, the reflected one with m_hBrush (declining when
// null); as a parent, the message itself with m_hBrush.
class ColorEdit : public CEdit {
 public:
  HBRUSH m_hBrush = nullptr;

 protected:
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    Note("child " + std::to_string(nCtlColor));
    if (m_hBrush != nullptr) pDC->SetTextColor(RGB(1, 2, 3));
    return m_hBrush;
  }
  LRESULT OnCtlColor(WPARAM, LPARAM) { return Note("parent", reinterpret_cast<LRESULT>(m_hBrush)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColorEdit, CEdit)
ON_WM_CTLCOLOR_REFLECT()
ON_MESSAGE(WM_CTLCOLOREDIT, OnCtlColor)
ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColor)
END_MESSAGE_MAP()

TEST_F(FrameworkWindow, TheColourMessageIsReflectedToAFrameworkChild) {
  const std::string edit = "child " + std::to_string(CTLCOLOR_EDIT);
  const struct {
    const char* name;
    bool frameworkChild;
    bool childAnswers;
    UINT message;
    Log log;
  } cases[] = {
      {"child answers", true, true, WM_CTLCOLOREDIT, {edit}},
      {"child answers the static kind",
       true,
       true,
       WM_CTLCOLORSTATIC,
       {"child " + std::to_string(CTLCOLOR_STATIC)}},
      {"child declines: the parent's own handler", true, false, WM_CTLCOLOREDIT, {edit, "parent"}},
      {"plain child: not reflected", false, false, WM_CTLCOLOREDIT, {"parent"}},
  };
  CBrush parentBrush(RGB(0, 0, 200));
  CBrush childBrush(RGB(0, 200, 0));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ColorEdit parent;
    parent.m_hBrush = parentBrush;
    ASSERT_TRUE(parent.Create(kwtest::kEditStyle, kwtest::EditRect(3), kwtest::ParentWnd(), 110));
    ColorEdit child;
    child.m_hBrush = c.childAnswers ? static_cast<HBRUSH>(childBrush) : nullptr;
    if (c.frameworkChild) {
      ASSERT_TRUE(child.Create(kwtest::kEditStyle, RECT{0, 0, 50, 18}, &parent, 111));
    }
    const HWND hChild = c.frameworkChild ? child.m_hWnd : PlainChild(parent.m_hWnd, 111);
    const HDC hDC = ::GetDC(hChild);
    g_log.clear();
    const LRESULT r = parent.SendMessage(c.message, reinterpret_cast<WPARAM>(hDC),
                                         reinterpret_cast<LPARAM>(hChild));
    EXPECT_EQ(c.log, g_log);
    EXPECT_EQ(c.childAnswers ? childBrush : parentBrush, reinterpret_cast<HBRUSH>(r));
    if (c.childAnswers) {
      EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(hDC));  // set through the DC handed on
    }
    ::ReleaseDC(hChild, hDC);
    if (!c.frameworkChild) ::DestroyWindow(hChild);
  }
}

// Sees characters before they are translated and dispatched: consumes one, rewrites another.
class FilterEdit : public CEdit {
 public:
  FilterEdit(const char* name, WPARAM consume, WPARAM from = 0, WPARAM to = 0)
      : m_name(name), m_consume(consume), m_from(from), m_to(to) {}
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_CHAR) return FALSE;
    Note(m_name + " " + Char(pMsg->wParam));
    if (pMsg->wParam == m_consume) return TRUE;
    if (pMsg->wParam == m_from) pMsg->wParam = m_to;
    return FALSE;
  }

 private:
  std::string m_name;
  WPARAM m_consume, m_from, m_to;
};

TEST_F(FrameworkWindow, TheWindowAndThenEachAncestorMayConsumeOrRewriteACharacter) {
  FilterEdit outer("outer", 'k', 'a', 'b');
  ASSERT_TRUE(outer.Create(kwtest::kEditStyle, kwtest::EditRect(5), kwtest::ParentWnd(), 120));
  FilterEdit inner("inner", 'x');
  ASSERT_TRUE(inner.Create(kwtest::kEditStyle, RECT{0, 0, 50, 18}, &outer, 121));
  kwtest::Focus(inner.m_hWnd);
  g_log.clear();
  kwtest::Type("axkc");  // through the host loop
  EXPECT_EQ((Log{"inner a", "outer a", "inner x", "inner k", "outer k", "inner c", "outer c"}),
            g_log);
  EXPECT_EQ("bc", inner.GetWindowText());

  // The walk stops below hWndStop; a plain window passes the message up to its ancestors.
  MSG msg = {};
  msg.hwnd = inner.m_hWnd;
  msg.message = WM_CHAR;
  msg.wParam = 'k';
  EXPECT_FALSE(CWnd::WalkPreTranslateTree(outer.m_hWnd, &msg));
  msg.hwnd = PlainChild(outer.m_hWnd, 122);
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &msg));
  ::DestroyWindow(msg.hwnd);
}

// --- Objects that go with their window --------------------------------------------------------

// A framework window whose object is deleted while a framework member is still at work on it:
// a modeless window that deletes itself in PostNcDestroy, closed by the member DestroyWindow
// from the host or from its own handler; one that deletes itself in PreSubclassWindow; a
// parent deleted by its child's handler of the reflected colour message. Its memory is fenced
// (Fenced.h): whatever the framework touches of it afterwards faults.
int g_deaths = 0;
class SelfDeleting : public CEdit {
 public:
  explicit SelfDeleting(char how) : m_how(how) {}
  ~SelfDeleting() override { ++g_deaths; }
  char m_how;

 protected:
  void PreSubclassWindow() override {
    if (m_how == 's') delete this;
  }
  void PostNcDestroy() override { delete this; }
  void OnChar(UINT, UINT, UINT) { DestroyWindow(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SelfDeleting, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

// A child whose answer to the reflected colour message deletes its parent's object.
CWnd* g_doomedParent = nullptr;
class ParentDeleter : public CEdit {
 protected:
  HBRUSH CtlColor(CDC*, UINT) {
    delete std::exchange(g_doomedParent, nullptr);
    return nullptr;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentDeleter, CEdit)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

TEST_F(FrameworkWindow, NoMemberTouchesAnObjectDeletedWhileItWorks) {
  const struct {
    const char* name;
    char how;  // 'd' DestroyWindow by the host, 'h' from its own handler, 's' PreSubclassWindow,
               // 'c' the colour message
  } cases[] = {
      {"closed by the host with the member DestroyWindow", 'd'},
      {"closed from its own handler with the member DestroyWindow", 'h'},
      {"deleted in PreSubclassWindow", 's'},
      {"parent deleted by its child's colour handler", 'c'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_deaths = 0;
    auto* pWnd = new kwtest::Fenced<SelfDeleting>(c.how);
    const BOOL created =
        pWnd->Create(kwtest::kEditStyle, kwtest::EditRect(6), kwtest::ParentWnd(), 130);
    EXPECT_EQ(c.how != 's', created != FALSE);
    if (c.how == 's') {
      EXPECT_EQ(1, g_deaths);
      EXPECT_EQ(nullptr, ::GetDlgItem(kwtest::Parent(), 130)) << "the window outlived Create";
      continue;
    }
    const HWND hWnd = pWnd->m_hWnd;
    switch (c.how) {
      case 'd':
        EXPECT_TRUE(pWnd->DestroyWindow());
        break;
      case 'h':
        ::SendMessageA(hWnd, WM_CHAR, 'x', 1);
        break;
      default: {
        ParentDeleter child;
        ASSERT_TRUE(child.Create(kwtest::kEditStyle, RECT{0, 0, 50, 18}, pWnd, 131));
        g_doomedParent = pWnd;
        const HDC hDC = ::GetDC(child.m_hWnd);
        EXPECT_EQ(0, ::SendMessageA(hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                                    reinterpret_cast<LPARAM>(child.m_hWnd)));
        ::ReleaseDC(child.m_hWnd, hDC);
        EXPECT_EQ(nullptr, g_doomedParent);
        break;
      }
    }
    EXPECT_EQ(1, g_deaths);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
  }
  // The framework goes on: a new window gets its messages.
  MapBase next;
  ASSERT_TRUE(next.Create(kwtest::kEditStyle, kwtest::EditRect(6), kwtest::ParentWnd(), 132));
  g_log.clear();
  ::SendMessageA(next.m_hWnd, WM_CHAR, 'k', 1);
  EXPECT_EQ(Log{"base OnChar k"}, g_log);
}

// --- Brushes -------------------------------------------------------------------------------------

TEST(GdiObject, AttachingOverAHeldBrushDeletesTheOldOne) {
  CBrush brush(RGB(10, 20, 30));
  const HGDIOBJ hFirst = brush.GetSafeHandle();
  ASSERT_NE(nullptr, hFirst);
  EXPECT_FALSE(brush.Attach(nullptr));  // keeps what it holds
  EXPECT_EQ(hFirst, brush.GetSafeHandle());

  const HBRUSH hOther = ::CreateSolidBrush(RGB(1, 1, 1));
  ASSERT_TRUE(brush.Attach(hOther));
  EXPECT_FALSE(::DeleteObject(hFirst));  // already deleted, not leaked
  ASSERT_TRUE(brush.CreateSolidBrush(RGB(4, 5, 6)));
  EXPECT_FALSE(::DeleteObject(hOther));

  ASSERT_TRUE(brush.Attach(brush.GetSafeHandle()));  // its own handle again: kept alive
  EXPECT_TRUE(brush.DeleteObject());
  EXPECT_FALSE(brush.DeleteObject());
}

}  // namespace
