// A character control without a mask is a plain edit control: typing, Backspace, Delete, the
// clipboard and text set by the host or from outside work as they do there, and nothing typed
// is wiped.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"

namespace kwtest {
namespace {

using CharacterNoMask = CharacterControlTest;

TEST_F(CharacterNoMask, TypingAndDeletingAsInPlainEdit) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 0);
  Type("ab1 x");
  EXPECT_EQ(Text(h), "ab1 x");
  EXPECT_EQ(Sel(h), Caret(5));

  Press(VK_BACK);
  EXPECT_EQ(Text(h), "ab1 ");
  Press(VK_LEFT);
  Press(VK_LEFT);
  EXPECT_EQ(Sel(h), Caret(2)) << "the caret moves as in a plain edit control";
  Press(VK_DELETE);
  EXPECT_EQ(Text(h), "ab ");
  Press(VK_HOME);
  Type("Z");
  EXPECT_EQ(Text(h), "Zab ");
  EXPECT_EQ(edit.refusals, 0);
  EXPECT_EQ(edit.GetInputData(true), "Zab ");
  EXPECT_EQ(edit.GetInputData(false), "Zab ");
  EXPECT_EQ(edit.IsInputEmpty(), 0);
}

TEST_F(CharacterNoMask, ClipboardAsInPlainEdit) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 0);
  Type("hello");
  SetSel(h, 1, 3);
  Press('X', false, /*ctrl=*/true);
  EXPECT_EQ(ClipboardText(), "el");
  EXPECT_EQ(Text(h), "hlo");
  SetSel(h, 3, 3);
  Press('V', false, /*ctrl=*/true);
  EXPECT_EQ(Text(h), "hloel");
  EXPECT_EQ(Sel(h), Caret(5));
  SetSel(h, 0, 1);
  ::SendMessageA(h, WM_CLEAR, 0, 0);
  EXPECT_EQ(Text(h), "loel");
}

TEST_F(CharacterNoMask, TextFromHostOrOutsideIsTakenAsIs) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  EXPECT_EQ(edit.SetText("(555) 12"), 1);
  EXPECT_EQ(Text(h), "(555) 12");
  ClearNotifications();
  ::SetWindowTextA(h, "free text");
  EXPECT_EQ(Text(h), "free text");
  // Only the edit control's own pair: the control adds nothing of its own.
  EXPECT_EQ(ChangeCodesFor(1), (std::vector<UINT>{EN_UPDATE, EN_CHANGE})) << Describe(ChangeCodesFor(1));
}

TEST_F(CharacterNoMask, PromptChangeKeepsTypedText) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 0);
  Type("abc");
  edit.SetPromptSymbol('*');
  EXPECT_EQ(Text(h), "abc");
  EXPECT_TRUE(edit.SetMask("##"));
  EXPECT_EQ(Text(h), "**") << "a mask set later takes over, with the prompt chosen before";
}

TEST_F(CharacterNoMask, MaskRemovedByEmptyDataLeavesEmptyPlainEdit) {
  CharEditProbe& edit = Make("##", 1);
  HWND h = edit.GetSafeHwnd();
  edit.SetInputData("12", 0, 1);
  edit.EmptyData(0);
  EXPECT_EQ(edit.GetMask(), "");
  EXPECT_EQ(Text(h), "");
  Ready(edit, 0);
  Type("free");
  EXPECT_EQ(Text(h), "free");
}

TEST_F(CharacterNoMask, ModelOperationsLeaveTheTextAlone) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  ::SetWindowTextA(h, "abc");
  EXPECT_EQ(edit.InsertAt(1, 'x'), -1);
  EXPECT_EQ(edit.DeleteRange(0, 2), 0);
  EXPECT_EQ(edit.IsInputData(7), 1) << "everything is input in a plain edit control";
  EXPECT_EQ(Text(h), "abc");
  EXPECT_EQ(edit.SetInputData("yz", 1, 1), 1);
  EXPECT_EQ(Text(h), "ayz") << "the first characters kept, the data after them";
}

TEST_F(CharacterNoMask, EmptyControlClickedGetsCaret) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  ASSERT_NE(Focused(), h);
  Click(h, 0);
  EXPECT_EQ(Focused(), h);
  EXPECT_EQ(Sel(h), Caret(0));
}

}  // namespace
}  // namespace kwtest
