// A host program's whole road, with the platform's and the framework's own names: a CEdit
// child of the framework parent, subclassed by a CWnd-derived class whose message map takes
// WM_CHAR, fed with sent and posted keyboard input through the host loop (PreTranslateMessage
// walk, IsDialogMessageA, TranslateMessage, DispatchMessageA), read back through text,
// selection, focus, clipboard and the parent's WM_COMMAND notifications.
#include <string>

#include "common/TestHost.h"

namespace {

using kwtest::Text;

// Shows typed letters in upper case and drops the digit 7 before it is translated.
class CUpperEdit : public CEdit {
 public:
  int m_nChars = 0;
  int m_nKeyDowns = 0;
  int m_nCtlColors = 0;
  UINT m_nLastCtlColor = 0;
  CBrush m_brBack{RGB(1, 2, 3)};

  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) {
      ++m_nKeyDowns;
      if (pMsg->wParam == '7') return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
  }

 protected:
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    ++m_nChars;
    if (nChar >= 'a' && nChar <= 'z') nChar = nChar - 'a' + 'A';
    DefWindowProc(WM_CHAR, nChar, MAKELPARAM(nRepCnt, nFlags));
  }
  HBRUSH CtlColor(CDC*, UINT nCtlColor) {
    ++m_nCtlColors;
    m_nLastCtlColor = nCtlColor;
    return m_brBack;
  }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpperEdit, CEdit)
  ON_WM_CHAR()
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class HostRoad : public kwtest::WindowTest {
 protected:
  void TearDown() override {
    kwtest::Focus(kwtest::Parent());
    if (m_edit.GetSafeHwnd()) m_edit.DestroyWindow();
    kwtest::WindowTest::TearDown();
  }
  void CreateUpper(int id) {
    ASSERT_TRUE(m_edit.Create(kwtest::kEditStyle, kwtest::EditRect(id), kwtest::ParentWnd(), id));
  }
  CUpperEdit m_edit;
};

TEST_F(HostRoad, CreatedControlTakesTypedCharactersThroughItsMessageMap) {
  CreateUpper(1);
  EXPECT_EQ(CWnd::FromHandle(m_edit.GetSafeHwnd()), &m_edit);
  kwtest::Focus(m_edit);
  kwtest::ClearNotifications();
  kwtest::Type("ab1");
  EXPECT_EQ(Text(m_edit), "AB1");
  EXPECT_EQ(m_edit.m_nChars, 3);
  EXPECT_EQ(kwtest::Sel(m_edit), std::make_pair(3, 3));
  const std::vector<UINT> want = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
  EXPECT_EQ(kwtest::CodesFor(1), want) << kwtest::Describe(kwtest::CodesFor(1));
  for (const kwtest::Notification& n : kwtest::Notifications()) EXPECT_EQ(n.hwnd, m_edit.GetSafeHwnd());
}

TEST_F(HostRoad, PreTranslateMessageDropsAKeyBeforeItIsTranslated) {
  CreateUpper(1);
  kwtest::Focus(m_edit);
  kwtest::Type("a7b");
  EXPECT_EQ(Text(m_edit), "AB");
  EXPECT_EQ(m_edit.m_nChars, 2);
  EXPECT_EQ(m_edit.m_nKeyDowns, 3);
}

TEST_F(HostRoad, PostedKeyDownTakesTheSameRoad) {
  CreateUpper(1);
  kwtest::Focus(m_edit);
  m_edit.PostMessage(WM_KEYDOWN, 'Q', 1);
  m_edit.PostMessage(WM_KEYDOWN, '7', 1);
  m_edit.PostMessage(WM_KEYDOWN, '5', 1);
  kwtest::Pump();
  EXPECT_EQ(Text(m_edit), "Q5");
  EXPECT_EQ(m_edit.m_nKeyDowns, 3);
}

TEST_F(HostRoad, SubclassedDialogEditBehavesTheSameAndUnsubclassRestoresIt) {
  HWND raw = CreateEdit(2, "x");
  ASSERT_TRUE(m_edit.SubclassWindow(raw));
  kwtest::Focus(raw);
  kwtest::SetSel(raw, 1, 1);
  kwtest::Type("yz");
  EXPECT_EQ(Text(raw), "xYZ");
  EXPECT_EQ(m_edit.UnsubclassWindow(), raw);
  kwtest::Type("w");
  EXPECT_EQ(Text(raw), "xYZw");
  EXPECT_EQ(m_edit.m_nChars, 2);
}

TEST_F(HostRoad, ClipboardShortcutsPassThroughTheHandler) {
  CreateUpper(1);
  kwtest::Focus(m_edit);
  kwtest::Type("abc");
  m_edit.SetSel(0, -1);
  kwtest::Press('C', false, true);
  EXPECT_EQ(kwtest::ClipboardText(), "ABC");
  m_edit.SetSel(3, 3);
  kwtest::Press('V', false, true);
  EXPECT_EQ(Text(m_edit), "ABCABC");
  int start = 0, end = 0;
  m_edit.GetSel(start, end);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(end, 6);
}

TEST_F(HostRoad, TabLeavesTheControlAndSelectsTheNext) {
  CreateUpper(1);
  HWND next = CreateEdit(2, "next");
  kwtest::Focus(m_edit);
  kwtest::Type("a");
  kwtest::Press(VK_TAB);
  EXPECT_EQ(kwtest::Focused(), next);
  EXPECT_EQ(kwtest::Sel(next), std::make_pair(0, 4));
  EXPECT_EQ(CWnd::GetFocus()->GetSafeHwnd(), next);
  kwtest::Press(VK_TAB, true);
  EXPECT_EQ(kwtest::Focused(), m_edit.GetSafeHwnd());
  EXPECT_EQ(kwtest::Sel(m_edit), std::make_pair(0, 1));
}

TEST_F(HostRoad, PaintingAsksTheParentWhichReflectsTheColourToTheControl) {
  CreateUpper(1);
  kwtest::Pump();
  m_edit.m_nCtlColors = 0;
  m_edit.Invalidate();
  m_edit.UpdateWindow();
  kwtest::Pump();
  EXPECT_GE(m_edit.m_nCtlColors, 1);
  EXPECT_EQ(m_edit.m_nLastCtlColor, static_cast<UINT>(CTLCOLOR_EDIT));
}

}  // namespace
