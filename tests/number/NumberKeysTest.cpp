// The number control in a window, driven like a user's keyboard and mouse through the host's
// message loop: the key filter before translation, typing from the right, signs, the full
// integer part, overwrite, Delete and Backspace with their caret, Space, double click,
// auto-tab, and the notifications the parent hears.
#include <gtest/gtest.h>

#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

using NumberKeys = NumberControlTest;

const std::string kPoint(1, g_chDecimalSep);

TEST_F(NumberKeys, TypingFromTheRightShowsEachStepWithItsCaret) {
  NumberEditProbe& edit = Make();
  Ready(edit, 0);
  const std::string typed = "1234" + kPoint + "56";
  const char* shown[] = {"1", "12", "123", "1,234", "1,234.", "1,234.5", "1,234.56"};
  const int carets[] = {1, 2, 3, 5, 6, 7, 8};
  for (std::size_t i = 0; i < typed.size(); ++i) {
    ClearNotifications();
    Type(typed.substr(i, 1));
    EXPECT_EQ(TextOf(edit), Shown(shown[i])) << "after typing " << typed.substr(0, i + 1);
    EXPECT_EQ(SelOf(edit), Caret(carets[i])) << "after typing " << typed.substr(0, i + 1);
    // The model lays the number out (one rewrite) and the keystroke shows it (another).
    EXPECT_EQ(ChangeCodesFor(1), OwnRewrites(2)) << Describe(ChangeCodesFor(1));
  }
  EXPECT_EQ(edit.GetInputData(false), "1234.56");
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(NumberKeys, SignsTakeDigitPlaces) {
  NumberEditProbe& edit = Make();
  Ready(edit, 0);
  Type("-");
  EXPECT_EQ(TextOf(edit), "-");
  Type("5");
  EXPECT_EQ(TextOf(edit), "-5");
  EXPECT_EQ(SelOf(edit), Caret(2));
  Type("00");
  EXPECT_EQ(TextOf(edit), "- 500");
  double value = 0;
  edit.GetDataNumValue(value);
  EXPECT_DOUBLE_EQ(value, -500.0);
}

TEST_F(NumberKeys, FullIntegerPartRefusesInsertionButNotTheFraction) {
  NumberEditProbe& edit = Make("123456789");
  Ready(edit, 11);
  Type("1");
  EXPECT_EQ(TextOf(edit), Shown("123,456,789"));
  EXPECT_EQ(edit.refusals, 1);
  SetSel(edit.GetSafeHwnd(), 4, 4);
  Type("1");
  EXPECT_EQ(TextOf(edit), Shown("123,456,789"));
  EXPECT_EQ(edit.refusals, 2);

  SetSel(edit.GetSafeHwnd(), 11, 11);
  Type(kPoint);
  EXPECT_EQ(TextOf(edit), Shown("123,456,789."));
  Type("1");
  EXPECT_EQ(TextOf(edit), Shown("123,456,789.1"));
  EXPECT_EQ(edit.refusals, 2);
}

TEST_F(NumberKeys, FullIntegerPartTakesOverwriteAndSelections) {
  NumberEditProbe& edit = Make("123456789");
  Ready(edit, 0);
  Press(VK_INSERT);
  EXPECT_FALSE(edit.GetInsertMode());
  Type("9");
  EXPECT_EQ(TextOf(edit), Shown("923,456,789"));
  EXPECT_EQ(SelOf(edit), Caret(1));
  Press(VK_INSERT);
  SetSel(edit.GetSafeHwnd(), 0, 1);  // a selection: the filter lets it through
  Type("7");
  EXPECT_EQ(TextOf(edit), Shown("723,456,789"));
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(NumberKeys, OverwritingADigitWithThePromptRemovesIt) {
  NumberEditProbe& edit = Make("1234");
  Ready(edit, 2);
  Press(VK_INSERT);
  Type(" ");  // the prompt
  EXPECT_EQ(TextOf(edit), "134");
  EXPECT_EQ(edit.GetInputData(false), "134");
  EXPECT_EQ(SelOf(edit), Caret(1));
  Type("9");  // overwrites the 3 that now stands at the caret
  EXPECT_EQ(TextOf(edit), "194");
}

TEST_F(NumberKeys, OverwriteAtTheEndAppends) {
  NumberEditProbe& edit = Make("12");
  Ready(edit, 2);
  Press(VK_INSERT);
  Type("3" + kPoint + "4");
  EXPECT_EQ(TextOf(edit), Shown("123.4"));
  EXPECT_EQ(SelOf(edit), Caret(5));
}

TEST_F(NumberKeys, OverwritingThePointJoinsTheFraction) {
  NumberEditProbe& edit = Make("12.34");
  Ready(edit, 2);
  Press(VK_INSERT);
  Type("5");
  EXPECT_EQ(TextOf(edit), Shown("12,534"));
  EXPECT_EQ(SelOf(edit), Caret(4));
}

struct DeletionCase {
  const char* name;
  const char* data;
  int start;
  int end;
  UINT key;  // VK_DELETE or VK_BACK
  const char* shown;
  int caret;  // -1: not checked
};

class NumberDeletion : public NumberControlTest, public ::testing::WithParamInterface<DeletionCase> {};

TEST_P(NumberDeletion, RemovesDataPlacesAndKeepsTheCaretByTheFollowingCharacter) {
  const DeletionCase& c = GetParam();
  NumberEditProbe& edit = Make(c.data);
  Ready(edit, c.start, c.end);
  Press(c.key);
  EXPECT_EQ(TextOf(edit), Shown(c.shown));
  if (c.caret >= 0) {
    EXPECT_EQ(SelOf(edit), Caret(c.caret));
  }
  EXPECT_EQ(edit.refusals, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberDeletion,
    ::testing::Values(DeletionCase{"DeleteIntegerDigit", "1234", 2, 2, VK_DELETE, "134", 1},
                      DeletionCase{"DeleteBeforeSeparatorDoesNothing", "1234", 1, 1, VK_DELETE, "1,234", 0},
                      DeletionCase{"DeleteThePoint", "1234.5", 5, 5, VK_DELETE, "12,345", 6},
                      DeletionCase{"DeleteSelection", "1234.5", 2, 5, VK_DELETE, "1.5", 1},
                      DeletionCase{"DeleteFractionDigit", "1.23", 2, 2, VK_DELETE, "1.3", 3},
                      DeletionCase{"BackspaceOverSeparator", "1234", 2, 2, VK_BACK, "234", -1},
                      DeletionCase{"BackspaceInFraction", "1.23", 3, 3, VK_BACK, "1.3", 3},
                      DeletionCase{"BackspaceIntegerDigit", "1234", 4, 4, VK_BACK, "124", 2},
                      DeletionCase{"BackspaceAtStartDoesNothing", "1234", 0, 0, VK_BACK, "1,234", 0},
                      DeletionCase{"BackspaceSelection", "1234.5", 0, 3, VK_BACK, "34.5", 0},
                      DeletionCase{"BackspaceSeparatorSelectionDoesNothing", "1234", 1, 2, VK_BACK, "1,234", -1}),
    [](const ::testing::TestParamInfo<DeletionCase>& info) { return std::string(info.param.name); });

TEST_F(NumberKeys, ShiftDeleteDeletesWithoutTheClipboard) {
  NumberEditProbe& edit = Make("1234");
  ASSERT_TRUE(SetClipboardText("keep"));
  Ready(edit, 0, 3);
  Press(VK_DELETE, true);
  EXPECT_EQ(TextOf(edit), "34");
  EXPECT_EQ(ClipboardText(), "keep");
}

TEST_F(NumberKeys, SpaceDeletesASelection) {
  NumberEditProbe& edit = Make("1234");
  Ready(edit, 2, 5);
  Press(VK_SPACE);
  EXPECT_EQ(TextOf(edit), "1");
  EXPECT_EQ(SelOf(edit), Caret(1));
  // Without a selection, Space is the prompt: the number stays as it was.
  Press(VK_SPACE);
  EXPECT_EQ(TextOf(edit), "1");
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(NumberKeys, KeypadDecimalKeyTypesThePoint) {
  NumberEditProbe& edit = Make("12");
  Ready(edit, 2);
  Press(VK_DECIMAL);
  EXPECT_EQ(TextOf(edit), Shown("12."));
  Type("5");
  EXPECT_EQ(edit.GetInputData(false), "12.5");
}

TEST_F(NumberKeys, OnlyTheLocaleDecimalSeparatorTypesThePoint) {
  if (!PointAndCommaLocale()) GTEST_SKIP() << "written for '.' and ',' as separators";
  NumberEditProbe& edit = Make("12");
  Ready(edit, 2);
  Type(",");
  EXPECT_EQ(TextOf(edit), "12");
  EXPECT_EQ(edit.refusals, 0);
  Type(".");
  EXPECT_EQ(TextOf(edit), "12.");
}

TEST_F(NumberKeys, RefusedCharacterBeepsAndKeepsTheNumber) {
  NumberEditProbe& edit = Make("12");
  Ready(edit, 1);
  Type("a");
  EXPECT_EQ(TextOf(edit), "12");
  EXPECT_EQ(edit.refusals, 1);
  if (CanInspect()) {
    EXPECT_EQ(Beeps(), 1);
  }
  EXPECT_EQ(SelOf(edit), Caret(1));
}

TEST_F(NumberKeys, DoubleClickSelectsTheWholeText) {
  NumberEditProbe& edit = Make("-1234.5");
  Ready(edit, 0);
  DoubleClick(edit.GetSafeHwnd(), 3);
  EXPECT_EQ(SelOf(edit), std::make_pair(0, static_cast<int>(TextOf(edit).size())));
}

TEST_F(NumberKeys, ArrowsPassOverSeparators) {
  NumberEditProbe& edit = Make("1234567");
  Ready(edit, 0);
  Press(VK_RIGHT);
  EXPECT_EQ(SelOf(edit), Caret(2));
  Press(VK_LEFT);
  EXPECT_EQ(SelOf(edit), Caret(0));
}

TEST_F(NumberKeys, FillingTheLastPlaceMovesTheFocusOn) {
  NumberEditProbe& first = Make("", 1);
  NumberEditProbe& second = Make("", 2);
  first.SetAutoTab(true);
  Ready(first, 0);
  Type("123456789" + kPoint + "1");
  EXPECT_EQ(Focused(), first.GetSafeHwnd());
  Type("2");
  EXPECT_EQ(TextOf(first), Shown("123,456,789.12"));
  EXPECT_EQ(Focused(), second.GetSafeHwnd());
}

// --- Text set from outside -----------------------------------------------------------------------

TEST_F(NumberKeys, ForeignTextShowsItsNumberWithoutAChangeNotification) {
  NumberEditProbe& edit = Make("99");
  ClearNotifications();
  ::SetWindowTextA(edit.GetSafeHwnd(), Shown("-1,234.50").c_str());
  EXPECT_EQ(TextOf(edit), Shown("-1,234.50"));
  EXPECT_EQ(edit.GetInputData(false), "-1234.50");
  EXPECT_EQ(ChangeCodesFor(1), ForeignTextCodes()) << Describe(ChangeCodesFor(1));
  ClearNotifications();
  ::SetWindowTextA(edit.GetSafeHwnd(), "not a number");
  EXPECT_EQ(TextOf(edit), "");
  EXPECT_EQ(ChangeCodesFor(1), ForeignTextCodes());
}

TEST_F(NumberKeys, ShownTextSetBackGivesTheSameNumber) {
  NumberEditProbe& edit = Make("-123");
  const std::string shown = TextOf(edit);
  EXPECT_EQ(shown, "- 123");
  ::SetWindowTextA(edit.GetSafeHwnd(), shown.c_str());
  EXPECT_EQ(TextOf(edit), shown);
  EXPECT_EQ(edit.GetInputData(false), "-123");
}

TEST_F(NumberKeys, WithoutAMaskTheWindowShowsTheTextAndTakesNoKeys) {
  NumberEditProbe& edit = Make("", 1, "");
  ::SetWindowTextA(edit.GetSafeHwnd(), "free text");
  EXPECT_EQ(TextOf(edit), "free text");
  EXPECT_EQ(edit.GetInputData(false), "free text");
  EXPECT_EQ(edit.IsInputEmpty(), 0);
  Ready(edit, 0);
  Type("1");
  EXPECT_EQ(TextOf(edit), "free text");
  EXPECT_EQ(edit.refusals, 1);
}

TEST_F(NumberKeys, CreateShowsTheModelAndSetMaskEmptiesIt) {
  NumberEditProbe& edit = Make("1234.5");
  EXPECT_EQ(TextOf(edit), Shown("1,234.5"));
  edit.SetPromptSymbol('_');
  EXPECT_EQ(TextOf(edit), Shown("1,234.5"));
  EXPECT_TRUE(edit.SetMask("$"));
  EXPECT_EQ(TextOf(edit), "");
  edit.SetText("7.5");
  EXPECT_EQ(TextOf(edit), Shown("7.5", '$'));
  EXPECT_FALSE(edit.SetMask("x"));
  EXPECT_EQ(edit.Positions(), 0u);
}

}  // namespace
}  // namespace kwtest
