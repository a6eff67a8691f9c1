// Message dispatch: the map chain, Default() from nested handlers, reflection of the colour
// message, and the PreTranslateMessage walk a host's loop runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkTestUtil.h"
#include "common/TestHost.h"
#include "framework/framework.h"

namespace fwtest {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

}  // namespace fwtest

namespace {

using fwtest::Char;
using fwtest::Log;

const UINT kMsgTwice = WM_USER + 7;  // listed twice in MapBase's table

// --- Map chain -----------------------------------------------------------------------------

class MapBase : public CEdit {
 protected:
  void OnChar(UINT nChar, UINT, UINT) {
    Log().push_back("base OnChar " + Char(nChar));
    Default();
  }
  void OnKeyDown(UINT, UINT, UINT) {
    Log().push_back("base OnKeyDown");
    Default();
  }
  virtual LRESULT OnCut(WPARAM, LPARAM) {
    Log().push_back("base OnCut");
    return 0;
  }
  LRESULT OnFirst(WPARAM, LPARAM) {
    Log().push_back("first");
    return 11;
  }
  LRESULT OnSecond(WPARAM, LPARAM) {
    Log().push_back("second");
    return 22;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapBase, CEdit)
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_MESSAGE(WM_CUT, OnCut)
  ON_MESSAGE(kMsgTwice, OnFirst)
  ON_MESSAGE(kMsgTwice, OnSecond)
END_MESSAGE_MAP()

class MapDerived : public MapBase {
 protected:
  void OnChar(UINT nChar, UINT, UINT) {
    Log().push_back("derived OnChar " + Char(nChar));
    Default();
  }
  LRESULT OnCut(WPARAM, LPARAM) override {
    Log().push_back("derived OnCut");
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapDerived, MapBase)
  ON_WM_CHAR()
END_MESSAGE_MAP()

class MessageMapTest : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    Log().clear();
  }
};

struct DispatchCase {
  const char* name;
  bool derived;  // sent to a MapDerived, else to a MapBase
  UINT message;
  WPARAM wParam;
  std::vector<std::string> log;
  LRESULT result;    // checked when not -1
  const char* text;  // the control's text afterwards
};

TEST_F(MessageMapTest, TheFirstEntryAlongTheChainWins) {
  const DispatchCase cases[] = {
      {"derived entry wins over the base's", true, WM_CHAR, 'q', {"derived OnChar q"}, -1, "q"},
      {"base's own entry on a base object", false, WM_CHAR, 'q', {"base OnChar q"}, -1, "q"},
      {"missing entry found in the base map", true, WM_KEYDOWN, VK_END, {"base OnKeyDown"}, -1, ""},
      {"base entry calls the object's override", true, WM_CUT, 0, {"derived OnCut"}, -1, ""},
      {"base entry on a base object", false, WM_CUT, 0, {"base OnCut"}, -1, ""},
      {"first of two entries in one table", true, kMsgTwice, 0, {"first"}, 11, ""},
      {"no entry anywhere: the control's own processing", true, WM_CLEAR, 0, {}, -1, ""},
  };
  for (const DispatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    Log().clear();
    MapDerived derived;
    MapBase base;
    CEdit& edit = c.derived ? static_cast<CEdit&>(derived) : static_cast<CEdit&>(base);
    ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 101));
    LRESULT r = ::SendMessageA(edit.m_hWnd, c.message, c.wParam, 0);
    EXPECT_EQ(c.log, Log());
    if (c.result != -1) {
      EXPECT_EQ(c.result, r);
    }
    EXPECT_EQ(c.text, edit.GetWindowText());
  }
}

TEST_F(MessageMapTest, TypedKeysTakeTheWholeRoadThroughTheMaps) {
  MapDerived edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 101));
  kwtest::Focus(edit.m_hWnd);
  Log().clear();
  kwtest::Type("ab");
  std::vector<std::string> chars;
  for (const std::string& entry : Log())
    if (entry.find("OnChar") != std::string::npos) chars.push_back(entry);
  EXPECT_EQ((std::vector<std::string>{"derived OnChar a", "derived OnChar b"}), chars);
  EXPECT_EQ("ab", edit.GetWindowText());
}

// --- Default() from nested handlers ------------------------------------------------------------

class ReentrantEdit : public CEdit {
 protected:
  // Rewrites the whole text (a nested WM_SETTEXT), puts the caret at its end, then lets the
  // control take the character it is handling.
  void OnChar(UINT nChar, UINT, UINT) {
    Log().push_back("OnChar " + Char(nChar));
    SetWindowText("abc");
    SetSel(3, 3);
    Default();
  }
  // A text "outer" first sets "inner" (a handler nested in itself), then takes its own text.
  LRESULT OnSetText(WPARAM, LPARAM lParam) {
    const std::string text = reinterpret_cast<const char*>(lParam);
    Log().push_back("OnSetText " + text);
    if (text == "outer") SetWindowText("inner");
    LRESULT r = Default();
    Log().push_back("took " + GetWindowText());
    return r;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReentrantEdit, CEdit)
  ON_WM_CHAR()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

TEST_F(MessageMapTest, DefaultHandsOnTheMessageOfItsOwnHandlerWhenNested) {
  ReentrantEdit edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 102));
  Log().clear();
  ::SendMessageA(edit.m_hWnd, WM_CHAR, 'X', 1);
  EXPECT_EQ((std::vector<std::string>{"OnChar X", "OnSetText abc", "took abc"}), Log());
  EXPECT_EQ("abcX", edit.GetWindowText());

  Log().clear();
  edit.SetWindowText("outer");
  EXPECT_EQ((std::vector<std::string>{"OnSetText outer", "OnSetText inner", "took inner", "took outer"}), Log());
  EXPECT_EQ("outer", edit.GetWindowText());
}

class DefaultCaller : public CEdit {
 public:
  LRESULT CallDefault() { return Default(); }
};

TEST_F(MessageMapTest, DefaultOutsideAnyMessageDoesNothing) {
  DefaultCaller edit;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 103));
  edit.SetWindowText("keep");
  EXPECT_EQ(0, edit.CallDefault());
  EXPECT_EQ("keep", edit.GetWindowText());
}

// --- Reflection of the control-colour message ----------------------------------------------

class ColorEdit : public CEdit {
 public:
  HBRUSH m_hAnswer = nullptr;
  int m_nCalls = 0;
  UINT m_nCtlColor = 0;
  HDC m_hDC = nullptr;

 protected:
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    ++m_nCalls;
    m_nCtlColor = nCtlColor;
    m_hDC = pDC->GetSafeHdc();
    if (m_hAnswer != nullptr) pDC->SetTextColor(RGB(1, 2, 3));
    return m_hAnswer;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColorEdit, CEdit)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A framework parent with its own colour handler.
class ColorParent : public CEdit {
 public:
  CBrush m_brush{RGB(0, 0, 200)};
  int m_nCalls = 0;

 protected:
  LRESULT OnCtlColorEdit(WPARAM, LPARAM) {
    ++m_nCalls;
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColorParent, CEdit)
  ON_MESSAGE(WM_CTLCOLOREDIT, OnCtlColorEdit)
  ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorEdit)
END_MESSAGE_MAP()

struct ReflectCase {
  const char* name;
  bool frameworkChild;
  bool childAnswers;
  UINT message;
  bool expectChildBrush;  // else the parent's
  UINT expectCtlColor;    // what the child was asked with (0: not asked)
};

TEST_F(MessageMapTest, TheColourMessageIsReflectedToAFrameworkChild) {
  const ReflectCase cases[] = {
      {"child answers", true, true, WM_CTLCOLOREDIT, true, CTLCOLOR_EDIT},
      {"child answers the static kind", true, true, WM_CTLCOLORSTATIC, true, CTLCOLOR_STATIC},
      {"child declines: parent's own handler", true, false, WM_CTLCOLOREDIT, false, CTLCOLOR_EDIT},
      {"plain child: no reflection", false, false, WM_CTLCOLOREDIT, false, 0},
  };
  for (const ReflectCase& c : cases) {
    SCOPED_TRACE(c.name);
    ColorParent parent;
    ASSERT_TRUE(parent.Create(kwtest::kEditStyle, fwtest::Row(1), kwtest::ParentWnd(), 110));
    CBrush childBrush(RGB(0, 200, 0));
    ColorEdit child;
    child.m_hAnswer = c.childAnswers ? static_cast<HBRUSH>(childBrush) : nullptr;
    HWND hChild;
    if (c.frameworkChild) {
      ASSERT_TRUE(child.Create(kwtest::kEditStyle, RECT{0, 0, 50, 18}, &parent, 111));
      hChild = child.m_hWnd;
    } else {
      hChild = fwtest::CreatePlainEdit(parent.m_hWnd, 111);
    }
    HDC hDC = ::GetDC(hChild);
    ASSERT_NE(nullptr, hDC);

    LRESULT r = ::SendMessageA(parent.m_hWnd, c.message, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hChild));

    HBRUSH expected = c.expectChildBrush ? static_cast<HBRUSH>(childBrush) : static_cast<HBRUSH>(parent.m_brush);
    EXPECT_EQ(expected, reinterpret_cast<HBRUSH>(r));
    EXPECT_EQ(c.expectChildBrush ? 0 : 1, parent.m_nCalls);
    EXPECT_EQ(c.expectCtlColor != 0 ? 1 : 0, child.m_nCalls);
    if (c.expectCtlColor != 0) {
      EXPECT_EQ(c.expectCtlColor, child.m_nCtlColor);
      EXPECT_EQ(hDC, child.m_hDC);
    }
    if (c.expectChildBrush) {
      EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(hDC));
    }
    ::ReleaseDC(hChild, hDC);
    if (!c.frameworkChild) ::DestroyWindow(hChild);
  }
}

TEST_F(MessageMapTest, APaintingEditAsksItselfForColoursThroughItsFrameworkParent) {
  CBrush brush(RGB(0, 200, 0));
  ColorEdit edit;
  edit.m_hAnswer = brush;
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 104));
  edit.SetWindowText("paint me");
  edit.m_nCalls = 0;
  edit.Invalidate();
  edit.UpdateWindow();
  kwtest::Pump();
  EXPECT_GE(edit.m_nCalls, 1);
  EXPECT_EQ(static_cast<UINT>(CTLCOLOR_EDIT), edit.m_nCtlColor);
}

// --- PreTranslateMessage -------------------------------------------------------------------

// Filters characters before they are translated and dispatched: consumes one character,
// rewrites another in place.
class FilterEdit : public CEdit {
 public:
  explicit FilterEdit(const char* name) : m_name(name) {}
  std::string m_name;
  WPARAM m_consume = 0;
  WPARAM m_from = 0;
  WPARAM m_to = 0;

  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_CHAR) return FALSE;
    Log().push_back(m_name + " " + Char(pMsg->wParam));
    if (m_consume != 0 && pMsg->wParam == m_consume) return TRUE;
    if (m_from != 0 && pMsg->wParam == m_from) pMsg->wParam = m_to;
    return FALSE;
  }
};

TEST_F(MessageMapTest, AFilterConsumesAndRewritesTypedCharacters) {
  FilterEdit edit("edit");
  edit.m_consume = 'x';
  edit.m_from = 'a';
  edit.m_to = 'b';
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, fwtest::Row(0), kwtest::ParentWnd(), 105));
  kwtest::Focus(edit.m_hWnd);
  Log().clear();
  kwtest::Type("axc");
  EXPECT_EQ((std::vector<std::string>{"edit a", "edit x", "edit c"}), Log());
  EXPECT_EQ("bc", edit.GetWindowText());
}

struct WalkCase {
  const char* name;
  bool frameworkInner;
  WPARAM innerConsumes;
  WPARAM outerConsumes;
  bool stopAtOuter;
  BOOL expected;
  std::vector<std::string> log;
};

TEST_F(MessageMapTest, TheWalkAsksTheWindowThenEachAncestor) {
  const WalkCase cases[] = {
      {"nobody consumes", true, 0, 0, false, FALSE, {"inner k", "outer k"}},
      {"the window consumes: ancestors not asked", true, 'k', 'k', false, TRUE, {"inner k"}},
      {"an ancestor consumes", true, 0, 'k', false, TRUE, {"inner k", "outer k"}},
      {"the walk stops below hWndStop", true, 0, 'k', true, FALSE, {"inner k"}},
      {"a plain window passes the message up", false, 0, 'k', false, TRUE, {"outer k"}},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    Log().clear();
    FilterEdit outer("outer");
    outer.m_consume = c.outerConsumes;
    ASSERT_TRUE(outer.Create(kwtest::kEditStyle, fwtest::Row(1), kwtest::ParentWnd(), 120));
    FilterEdit inner("inner");
    inner.m_consume = c.innerConsumes;
    HWND hInner;
    if (c.frameworkInner) {
      ASSERT_TRUE(inner.Create(kwtest::kEditStyle, RECT{0, 0, 50, 18}, &outer, 121));
      hInner = inner.m_hWnd;
    } else {
      hInner = fwtest::CreatePlainEdit(outer.m_hWnd, 121);
    }
    MSG msg = {};
    msg.hwnd = hInner;
    msg.message = WM_CHAR;
    msg.wParam = 'k';
    EXPECT_EQ(c.expected, CWnd::WalkPreTranslateTree(c.stopAtOuter ? outer.m_hWnd : nullptr, &msg));
    EXPECT_EQ(c.log, Log());
    if (!c.stopAtOuter) {
      Log().clear();
      EXPECT_EQ(c.expected, AfxPreTranslateMessage(&msg));
      EXPECT_EQ(c.log, Log());
    }
    if (!c.frameworkInner) ::DestroyWindow(hInner);
  }
}

}  // namespace
