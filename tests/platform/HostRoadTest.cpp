// A host program's whole road, with the platform's and the framework's own names: a CEdit
// child of the framework parent, subclassed by a CWnd-derived class whose message map takes
// WM_CHAR, fed with sent and posted keyboard input through the host loop (PreTranslateMessage
// walk, IsDialogMessageA, TranslateMessage, DispatchMessageA), read back through text,
// selection, focus, clipboard and the parent's WM_COMMAND notifications.
#include "PlatformTest.h"

namespace {

using kwtest::Text;

// Shows typed letters in upper case and drops the digit 7 before it is translated.
class CUpperEdit : public CEdit {
 public:
  int m_nChars = 0;
  int m_nKeyDowns = 0;

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

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpperEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

class HostRoad : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    ASSERT_TRUE(m_edit.Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 1));
    kwtest::Focus(m_edit);
    kwtest::ClearNotifications();
  }
  void TearDown() override {
    kwtest::Focus(kwtest::Parent());
    if (m_edit.GetSafeHwnd()) m_edit.DestroyWindow();
    kwtest::WindowTest::TearDown();
  }
  CUpperEdit m_edit;
};

TEST_F(HostRoad, TypedAndPostedKeysGoThroughPreTranslateMessageAndTheMessageMap) {
  EXPECT_EQ(CWnd::FromHandle(m_edit.GetSafeHwnd()), &m_edit);
  kwtest::Type("a7b1");
  EXPECT_EQ(Text(m_edit), "AB1");
  EXPECT_EQ(m_edit.m_nKeyDowns, 4);
  EXPECT_EQ(m_edit.m_nChars, 3) << "the 7 was dropped before it was translated";
  EXPECT_EQ(kwtest::Sel(m_edit), std::make_pair(3, 3));
  EXPECT_EQ(ptest::Notes(), "1U 1C 1U 1C 1U 1C");
  for (WPARAM vk : {WPARAM('Q'), WPARAM('7'), WPARAM(VK_OEM_COMMA), WPARAM('5')})
    m_edit.PostMessage(WM_KEYDOWN, vk, 1);
  kwtest::Pump();
  EXPECT_EQ(Text(m_edit), "AB1Q,5");
  EXPECT_EQ(m_edit.m_nKeyDowns, 8);
}

TEST_F(HostRoad, ClipboardShortcutsAndTabPassThroughTheHandler) {
  HWND next = CreateEdit(2, "next");
  kwtest::Type("abc");
  m_edit.SetSel(0, -1);
  kwtest::Press('C', false, true);
  EXPECT_EQ(kwtest::ClipboardText(), "ABC");
  m_edit.SetSel(3, 3);
  kwtest::Press('V', false, true);
  EXPECT_EQ(Text(m_edit), "ABCABC");
  int start = 0, end = 0;
  m_edit.GetSel(start, end);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 6));
  kwtest::Press(VK_TAB);
  EXPECT_EQ(CWnd::GetFocus()->GetSafeHwnd(), next);
  EXPECT_EQ(kwtest::Sel(next), std::make_pair(0, 4));
  kwtest::Press(VK_TAB, true);
  EXPECT_EQ(kwtest::Focused(), m_edit.GetSafeHwnd());
  EXPECT_EQ(kwtest::Sel(m_edit), std::make_pair(0, 6));
}

TEST_F(HostRoad, SubclassedDialogEditBehavesTheSameAndUnsubclassRestoresIt) {
  m_edit.DestroyWindow();
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

}  // namespace
