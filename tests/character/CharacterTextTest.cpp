// Text set from outside and the clipboard on a character control: what the window shows, what
// the parent hears, what lands on the clipboard and where the caret goes.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";

// The parent hears the edit control's own pair for each WM_SETTEXT it takes; for a text that the
// control writes itself, the control adds EN_UPDATE and EN_CHANGE, for one from outside only
// EN_UPDATE.
const std::vector<UINT> kOwnUpdate = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
const std::vector<UINT> kForeignText = {EN_UPDATE, EN_CHANGE, EN_UPDATE};

struct SetTextCase {
  const char* name;
  const char* mask;
  const char* text;
  const char* shown;
};

class CharacterForeignText : public CharacterControlTest, public ::testing::WithParamInterface<SetTextCase> {};

TEST_P(CharacterForeignText, ShowsTheDataTakenFromIt) {
  const SetTextCase& c = GetParam();
  CharEditProbe& edit = Make(c.mask, 1);
  ClearNotifications();
  ::SetWindowTextA(edit.GetSafeHwnd(), c.text);
  EXPECT_EQ(Text(edit.GetSafeHwnd()), c.shown);
  EXPECT_EQ(ChangeCodesFor(1), kForeignText) << Describe(ChangeCodesFor(1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterForeignText,
    ::testing::Values(SetTextCase{"DisplayForm", kPhone, "(555) 123-4567", "(555) 123-4567"},
                      SetTextCase{"DataForm", kPhone, "5551234567", "(555) 123-4567"},
                      SetTextCase{"OtherLiterals", kPhone, "555-1234", "(555) 123-4___"},
                      SetTextCase{"RefusedCharactersDropped", "##-##", "1a2b3", "12-3_"},
                      SetTextCase{"EmptyText", "##-##", "", "__-__"},
                      SetTextCase{"TrailingLiteralKept", "(###)", "(12)", "(12_)"}),
    [](const ::testing::TestParamInfo<SetTextCase>& info) { return std::string(info.param.name); });

using CharacterText = CharacterControlTest;

TEST_F(CharacterText, OwnUpdateNotifiesChange) {
  CharEditProbe& edit = Make("##", 1);
  ClearNotifications();
  edit.SetText("12");
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "12");
  EXPECT_EQ(ChangeCodesFor(1), kOwnUpdate) << Describe(ChangeCodesFor(1));
  ClearNotifications();
  edit.SetWindowText("34");
  EXPECT_EQ(ChangeCodesFor(1), kForeignText) << "the framework's SetWindowText is foreign too";
  EXPECT_EQ(edit.GetInputData(false), "34");
}

TEST_F(CharacterText, UpdateRewritesWithoutMovingCaretForNegativePosition) {
  CharEditProbe& edit = Make("####", 1);
  edit.SetInputData("1234", 0, 1);
  Ready(edit, 1, 3);
  edit.Update(-1);
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "1234");
  EXPECT_EQ(ChangeCodesFor(1), kOwnUpdate);
  EXPECT_EQ(edit.UpdateDepth(), 0);
  edit.Update(2);
  EXPECT_EQ(Sel(edit.GetSafeHwnd()), Caret(2));
}

TEST_F(CharacterText, SubclassedDialogControlShowsMaskAtOnce) {
  HWND h = CreateEdit(3, "old text");
  CharEditProbe edit;
  edit.SetPromptSymbol('_');
  edit.SetMask("##-##");
  ASSERT_TRUE(edit.SubclassWindow(h));
  EXPECT_EQ(Text(h), "__-__");
  Focus(h);
  SetSel(h, 0, 0);
  Type("12");
  EXPECT_EQ(Text(h), "12-__");
  EXPECT_EQ(edit.GetInputData(true), "12__");
  edit.UnsubclassWindow();
}

using CharacterClipboard = CharacterControlTest;

TEST_F(CharacterClipboard, CutTakesDisplayTextAndClosesUp) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("5551234", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 1, 4);
  Press('X', false, /*ctrl=*/true);
  EXPECT_EQ(ClipboardText(), "555");
  EXPECT_EQ(Text(h), "(123) 4__-____");
  EXPECT_EQ(Sel(h), Caret(1));
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(CharacterClipboard, CutCarriesLiteralsAndPrompts) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("5551234", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 8, 12);
  ::SendMessageA(h, WM_CUT, 0, 0);
  EXPECT_EQ(ClipboardText(), "3-4_");
  EXPECT_EQ(Text(h), "(555) 12_-____");
  EXPECT_EQ(Sel(h), Caret(8));
}

TEST_F(CharacterClipboard, CopyLeavesTextAlone) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("5551234", 0, 1);
  HWND h = edit.GetSafeHwnd();
  Ready(edit, 0, 11);
  Press('C', false, /*ctrl=*/true);
  EXPECT_EQ(ClipboardText(), "(555) 123-4");
  EXPECT_EQ(Text(h), "(555) 123-4___");
  EXPECT_EQ(Sel(h), std::make_pair(0, 11));
  EXPECT_TRUE(ChangeCodesFor(1).empty()) << Describe(ChangeCodesFor(1));
}

TEST_F(CharacterClipboard, ClearDeletesWithoutTouchingClipboard) {
  CharEditProbe& edit = Make(kPhone, 1);
  edit.SetInputData("5551234", 0, 1);
  HWND h = edit.GetSafeHwnd();
  SetClipboardText("keep");
  Ready(edit, 1, 4);
  ::SendMessageA(h, WM_CLEAR, 0, 0);
  EXPECT_EQ(Text(h), "(123) 4__-____");
  EXPECT_EQ(Sel(h), Caret(1));
  EXPECT_EQ(ClipboardText(), "keep");
}

struct PasteCase {
  const char* name;
  const char* mask;
  const char* data;  // raw
  int selStart;
  int selEnd;
  const char* clip;
  const char* shown;
  int caret;
};

class CharacterPaste : public CharacterControlTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(CharacterPaste, PacksPastedTextIntoInputs) {
  const PasteCase& c = GetParam();
  CharEditProbe& edit = Make(c.mask, 1);
  edit.SetInputData(c.data, 0, 1);
  HWND h = edit.GetSafeHwnd();
  ASSERT_TRUE(SetClipboardText(c.clip));
  Ready(edit, c.selStart, c.selEnd);
  Press('V', false, /*ctrl=*/true);
  EXPECT_EQ(Text(h), c.shown);
  EXPECT_EQ(Sel(h), Caret(c.caret));
  EXPECT_EQ(ClipboardText(), c.clip) << "pasting leaves the clipboard as it was";
  EXPECT_EQ(edit.refusals, 0) << "characters refused while pasting are skipped silently";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterPaste,
    ::testing::Values(PasteCase{"ClosesGaps", "##-##", "1__4", 1, 1, "2", "12-4_", 4},
                      PasteCase{"DisplayFormLinesUp", "##-##", "", 0, 0, "12-34", "12-34", 5},
                      PasteCase{"AnyCharacterTakesLiterals", "&&&&", "", 0, 0, "a-b", "a-b_", 3},
                      PasteCase{"OverSelection", kPhone, "5551234", 1, 4, "999", "(999) 123-4___", 11},
                      PasteCase{"RefusedSkipped", "###", "", 0, 0, "1x2", "12_", 2}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
