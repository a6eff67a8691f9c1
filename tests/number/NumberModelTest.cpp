// The number model without a window: the 14-position layout, laying data out and reading it
// back, the mask and prompt, copies, and the editing operations with their text indexes.
#include <gtest/gtest.h>

#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

// --- Laying data out ---------------------------------------------------------------------------

struct LayoutCase {
  const char* name;
  const char* data;
  int result;
  const char* shown;  // ',' thousands and '.' decimal separator, as the locale shows them
  const char* plain;
  const char* withPrompt;
  int firstShown;
};

class NumberLayout : public ::testing::TestWithParam<std::tuple<LayoutCase, const char*>> {};

TEST_P(NumberLayout, AlignsAtThePointAndReadsBack) {
  const LayoutCase& c = std::get<0>(GetParam());
  const char* mask = std::get<1>(GetParam());
  auto edit = NumberModel("", '_', mask);
  EXPECT_EQ(edit->SetInputData(c.data, 0, 1), c.result);
  EXPECT_EQ(edit->ShowMask(), Shown(c.shown, mask[0]));
  EXPECT_EQ(edit->GetInputData(false), c.plain);
  EXPECT_EQ(edit->GetInputData(true), c.withPrompt);
  EXPECT_EQ(edit->FirstShown(), c.firstShown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberLayout,
    ::testing::Combine(
        ::testing::Values(LayoutCase{"Plain", "1234.5", 1, "1,234.5", "1234.5", "_____1234.5_", 6},
                          LayoutCase{"Negative", "-1234.5", 1, "-1,234.5", "-1234.5", "____-1234.5_", 5},
                          LayoutCase{"FractionCutNotRounded", "1.2345", 1, "1.23", "1.23", "________1.23", 10},
                          LayoutCase{"OnlyLastNineDigitsKept", "1234567890", 1, "234,567,890", "234567890",
                                     "234567890___", 0},
                          LayoutCase{"SeparatorInDataIsSkipped", "1,234", 0, "1,234", "1234", "_____1234___", 6},
                          LayoutCase{"FractionOnly", ".5", 1, ".5", ".5", "_________.5_", 11},
                          LayoutCase{"Empty", "", 1, "", "", "____________", 10},
                          LayoutCase{"SignBesideSeparatorShowsSpace", "-123", 1, "- 123", "-123", "_____-123___", 6},
                          LayoutCase{"LettersSkipped", "1a2", 0, "12", "12", "_______12___", 9},
                          LayoutCase{"PointOnly", "1.", 1, "1.", "1.", "________1.__", 10},
                          // Only the first point is the point; refused characters do not hold
                          // a place, so no digit position ever takes a point.
                          LayoutCase{"SecondPointRefused", "1.2.3", 0, "1.23", "1.23", "________1.23", 10},
                          LayoutCase{"LetterInFractionSkipped", "1.a2", 0, "1.2", "1.2", "________1.2_", 10}),
        ::testing::Values("%", "$")),
    [](const ::testing::TestParamInfo<std::tuple<LayoutCase, const char*>>& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param)[0] == '$' ? "Money" : "Number");
    });

TEST(NumberLayout, KeepTakesTheFirstCharactersOfTheCurrentData) {
  auto edit = NumberModel("1234.5");
  EXPECT_EQ(edit->SetInputData("9", 2, 1), 1);
  EXPECT_EQ(edit->GetInputData(false), "129");
}

TEST(NumberLayout, PromptInsideRawDataLeavesNoGap) {
  // A validator's correction comes in raw: a space (the prompt) inside it must not leave an
  // empty place that the shown text passes over.
  auto edit = NumberModel("", ' ');
  edit->SetInputData("1 234.5", 0, 1);
  EXPECT_EQ(edit->ShowMask(), Shown("1,234.5"));
  EXPECT_EQ(edit->FirstShown(), 6);
  EXPECT_EQ(edit->GetInputData(false), "1234.5");
}

TEST(NumberLayout, WithoutPromptsDropsPromptCharactersOfTheData) {
  auto edit = NumberModel();
  edit->SetInputData("_1_2._5", 0, 0);
  EXPECT_EQ(edit->GetInputData(false), "12.5");
}

// --- Mask, prompt, copies ----------------------------------------------------------------------

TEST(NumberMask, MaskAndPromptShowEveryPlace) {
  auto edit = NumberModel();
  EXPECT_EQ(edit->GetMask(), "___,___,___.__");
  EXPECT_EQ(edit->ShowMask(), "");
  EXPECT_EQ(edit->GetMaxIntPos(), 11);
  EXPECT_EQ(edit->GetMaxDecimalPos(), 2);
  EXPECT_EQ(edit->DecimalIndex(), 11);
  EXPECT_EQ(edit->Positions(), 14u);
  EXPECT_EQ(edit->GetInputData(true), std::string(12, '_'));
  EXPECT_EQ(edit->GetInputData(false), "");
  edit->SetInputData("1234.5", 0, 1);
  EXPECT_EQ(edit->GetMask(), "___,__1,234.5_");
}

TEST(NumberMask, MoneyMaskShowsTheMonetarySeparators) {
  auto money = NumberModel("1234.5", '_', "$");
  EXPECT_EQ(money->DecimalSep(), g_chMonDecimalSep);
  EXPECT_EQ(money->ThousandSep(), g_chMonThousandSep);
  EXPECT_EQ(money->ShowMask(), Shown("1,234.5", '$'));
  EXPECT_EQ(money->GetInputData(false), "1234.5");
}

TEST(NumberMask, OnlyTheFirstCharacterCounts) {
  auto edit = NumberModel("", '_', "%abc");
  EXPECT_EQ(edit->Positions(), 14u);
  EXPECT_EQ(edit->GetMask(), "___,___,___.__");
}

TEST(NumberMask, OtherMasksLeaveNoPositions) {
  for (const char* mask : {"", "#", "x$", "9"}) {
    auto edit = NumberModel("1234.5");
    EXPECT_FALSE(edit->SetMask(mask)) << mask;
    EXPECT_EQ(edit->Positions(), 0u) << mask;
    EXPECT_EQ(edit->ShowMask(), "") << mask;
    EXPECT_EQ(edit->IsInputData(0), 0) << mask;
  }
}

TEST(NumberMask, ConstructorAppliesAGivenMask) {
  NumberEditProbe withMask("$");
  EXPECT_EQ(withMask.Positions(), 14u);
  EXPECT_EQ(withMask.DecimalSep(), g_chMonDecimalSep);
  NumberEditProbe without;
  EXPECT_EQ(without.Positions(), 0u);
  EXPECT_EQ(without.FirstShown(), -1);
}

TEST(NumberMask, PromptChangesEmptyPlacesOnly) {
  auto edit = NumberModel("12", ' ');
  edit->SetPromptSymbol('*');
  EXPECT_EQ(edit->GetPromptSymbol(), '*');
  EXPECT_EQ(edit->GetInputData(true), "*******12***");
  EXPECT_EQ(edit->ShowMask(), "12");
  for (char refused : {'\0', '\r', '\n', '\x7f'}) {
    edit->SetPromptSymbol(refused);
    EXPECT_EQ(edit->GetPromptSymbol(), '*');
  }
  EXPECT_EQ(edit->GetMask(), "***,***,*12.**");
}

TEST(NumberMask, CopyHoldsItsOwnPositions) {
  auto source = NumberModel("-1234.5");
  source->SetAutoTab(true);
  auto copy = std::make_unique<KwNumberMaskedEdit>(*source);
  EXPECT_EQ(copy->ShowMask(), source->ShowMask());
  EXPECT_EQ(copy->GetMask(), source->GetMask());
  EXPECT_EQ(copy->GetPromptSymbol(), '_');
  EXPECT_TRUE(copy->GetAutoTab());
  copy->SetText("7");
  EXPECT_EQ(source->GetInputData(false), "-1234.5");
  copy.reset();  // the copy's positions go, the source's stay
  EXPECT_EQ(source->ShowMask(), Shown("-1,234.5"));
}

TEST(NumberMask, RuntimeClassChainsToTheBase) {
  NumberEditProbe edit;
  EXPECT_STREQ(RUNTIME_CLASS(KwNumberMaskedEdit)->m_lpszClassName, "KwNumberMaskedEdit");
  EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(KwMaskedEdit)));
  EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CEdit)));
  EXPECT_EQ(RUNTIME_CLASS(KwNumberMaskedEdit)->GetBaseClass(), RUNTIME_CLASS(KwMaskedEdit));
}

// --- Data exchange -----------------------------------------------------------------------------

TEST(NumberData, SetTextDropsPromptsAndReplacesTheNumber) {
  auto edit = NumberModel("99");
  EXPECT_EQ(edit->SetText("_12.5"), 1);
  EXPECT_EQ(edit->GetInputData(false), "12.5");
  EXPECT_EQ(edit->SetText("-1234.5"), 1);
  EXPECT_EQ(edit->ShowMask(), Shown("-1,234.5"));
  EXPECT_EQ(edit->SetText("x"), 1);
  EXPECT_EQ(edit->ShowMask(), "");
}

TEST(NumberData, ShownTextGivesTheNumberBack) {
  auto edit = NumberModel();
  for (const char* data : {"1234.5", "-123", "-1234567.89", "7", ".5", "123456789"}) {
    edit->SetText(data);
    const std::string shown = edit->ShowMask();
    EXPECT_EQ(edit->GetInputData(shown.c_str(), true), data) << shown;
    EXPECT_EQ(edit->GetInputData(shown.c_str(), false), data) << shown;
  }
  EXPECT_EQ(edit->GetInputData(nullptr, true), "");
}

TEST(NumberData, NumericValueDoesNotDependOnThePrompt) {
  for (char prompt : {' ', '_', '0', '#'}) {
    auto edit = NumberModel("-1234.5", prompt);
    double value = 99;
    EXPECT_TRUE(edit->GetDataNumValue(value));
    EXPECT_DOUBLE_EQ(value, -1234.5) << "prompt " << prompt;
  }
  auto empty = NumberModel("", '_');
  double value = 99;
  EXPECT_TRUE(empty->GetDataNumValue(value));
  EXPECT_DOUBLE_EQ(value, 0.0);
}

// --- Insertion ---------------------------------------------------------------------------------

struct EditCase {
  const char* name;
  const char* data;
  int pos;
  char ch;
  int result;  // kNegative: any negative value
  const char* shown;
};
constexpr int kNegative = -1000;

void ExpectResult(int actual, int expected) {
  if (expected == kNegative)
    EXPECT_LT(actual, 0);
  else
    EXPECT_EQ(actual, expected);
}

class NumberInsertAt : public ::testing::TestWithParam<EditCase> {};

TEST_P(NumberInsertAt, LaysTheNumberOutAgain) {
  const EditCase& c = GetParam();
  auto edit = NumberModel(c.data);
  ExpectResult(edit->InsertAt(c.pos, c.ch), c.result);
  EXPECT_EQ(edit->ShowMask(), Shown(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberInsertAt,
    ::testing::Values(EditCase{"DigitBehindSeparator", "1234", 2, '9', 1, "19,234"},
                      EditCase{"PointAtThePoint", "123", 3, '.', 3, "123."},
                      EditCase{"PointInsideIntegerMovesAlignment", "123", 1, '.', -2, "1.23"},
                      EditCase{"LetterRefused", "1234", 1, 'a', -1, "1,234"},
                      EditCase{"EndOfFullFractionHasNoPlace", "1234.56", 8, '9', kNegative, "1,234.56"},
                      EditCase{"MiddleOfFullFractionPushesLastOut", "1234.56", 6, '9', 6, "1,234.95"},
                      EditCase{"SignInFront", "1234.56", 0, '-', 0, "-1,234.56"},
                      EditCase{"SignInsideTakesADigitPlace", "1234", 2, '-', 1, "1- 234"},
                      EditCase{"FullIntegerPushesLeftmostOut", "123456789", 11, '0', 10, "234,567,890"},
                      EditCase{"IntoEmptyControl", "", 0, '5', 0, "5"},
                      EditCase{"PointIntoEmptyControl", "", 0, '.', 0, "."},
                      EditCase{"PromptIsDropped", "12", 1, '_', 0, "12"},
                      EditCase{"BeforeTheFirstPositionHasNoPlace", "123456789", 0, '1', kNegative,
                               "123,456,789"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(NumberInsertAt, TypingFromTheRightGivesTheDocumentedResults) {
  auto edit = NumberModel();
  const char* typed = "1234.56";
  const char* shown[] = {"1", "12", "123", "1,234", "1,234.", "1,234.5", "1,234.56"};
  const int results[] = {0, 1, 2, 4, 5, 6, 7};
  int caret = 0;
  for (int i = 0; typed[i] != 0; ++i) {
    const int r = edit->InsertAt(caret, typed[i]);
    EXPECT_EQ(r, results[i]) << "typing " << typed[i];
    EXPECT_EQ(edit->ShowMask(), Shown(shown[i]));
    caret = edit->GetNextInputLocation(r + 1);
  }
}

// --- Overwriting -------------------------------------------------------------------------------

class NumberSetAt : public ::testing::TestWithParam<EditCase> {};

TEST_P(NumberSetAt, OverwritesInPlace) {
  const EditCase& c = GetParam();
  auto edit = NumberModel(c.data);
  ExpectResult(edit->SetAt(c.pos, c.ch), c.result);
  EXPECT_EQ(edit->ShowMask(), Shown(c.shown));
  // The shown run stays contiguous: the text read back is the number laid out again.
  const std::string plain = edit->GetInputData(false);
  auto laidOut = NumberModel(plain.c_str());
  EXPECT_EQ(laidOut->ShowMask(), edit->ShowMask());
  EXPECT_EQ(laidOut->FirstShown(), edit->FirstShown());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberSetAt,
    ::testing::Values(EditCase{"DigitOverDigit", "1234", 0, '7', 0, "7,234"},
                      EditCase{"SignOverDigit", "1234", 0, '-', 0, "- 234"},
                      EditCase{"SameCharacter", "1234", 2, '2', 2, "1,234"},
                      EditCase{"OverThousandsSeparator", "1234", 1, '7', -1, "1,234"},
                      EditCase{"LetterRefused", "1234", 0, 'x', -1, "1,234"},
                      EditCase{"PointOverDigitRefused", "12.34", 0, '.', -1, "12.34"},
                      EditCase{"PastTheLayout", "1234", 8, '1', -1, "1,234"},
                      EditCase{"BeforeTheLayout", "1234", -7, '1', -1, "1,234"},
                      EditCase{"DigitOverPointJoinsFraction", "12.34", 2, '5', 3, "12,534"},
                      EditCase{"PointWithoutRoomOnTheLeft", "1234567.8", 9, '5', -1, "1,234,567.8"},
                      EditCase{"PromptOverPointJoinsFraction", "12.34", 2, '_', 2, "1,234"},
                      EditCase{"DigitOverPointAfterSign", "-123.45", 5, '6', 6, "- 123,645"},
                      EditCase{"FractionDigitAfterTheLast", "1.2", 3, '5', 3, "1.25"},
                      // Overwriting a digit with the prompt takes it out of the number.
                      EditCase{"PromptRemovesIntegerDigit", "1234", 2, '_', 0, "134"},
                      EditCase{"PromptRemovesLeadingDigit", "1234", 0, '_', 0, "234"},
                      EditCase{"PromptRemovesFractionDigit", "1.23", 2, '_', 1, "1.3"},
                      EditCase{"PromptOnEmptyPlaceChangesNothing", "1.2", 3, '_', 3, "1.2"},
                      // At the end of a number without a point, the character is appended.
                      EditCase{"DigitAtHiddenPointAppends", "123", 3, '4', 4, "1,234"},
                      EditCase{"PointAtHiddenPointSetsIt", "123", 3, '.', 3, "123."},
                      EditCase{"DigitAtHiddenPointOfFullInteger", "123456789", 11, '1', -1, "123,456,789"},
                      EditCase{"IntoEmptyControl", "", 0, '5', 0, "5"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(NumberSetAt, EmptiedControlIsTypedFromThePoint) {
  auto edit = NumberModel("1234.5");
  edit->EmptyData(1);
  EXPECT_EQ(edit->SetAt(0, '5'), 0);
  EXPECT_EQ(edit->ShowMask(), "5");
  EXPECT_EQ(edit->FirstShown(), 10);
}

// --- Deletion ----------------------------------------------------------------------------------

struct DeleteCase {
  const char* name;
  const char* data;
  int start;
  int end;
  int removed;
  const char* shown;
};

class NumberDeleteRange : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(NumberDeleteRange, ClosesUpAroundThePoint) {
  const DeleteCase& c = GetParam();
  auto edit = NumberModel(c.data);
  EXPECT_EQ(edit->DeleteRange(c.start, c.end), c.removed);
  EXPECT_EQ(edit->ShowMask(), Shown(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberDeleteRange,
    ::testing::Values(DeleteCase{"IntegerDigit", "1234", 2, 3, 1, "134"},
                      DeleteCase{"SeparatorOnly", "1234", 1, 2, 0, "1,234"},
                      DeleteCase{"PointJoinsFraction", "1234.5", 5, 6, 1, "12,345"},
                      DeleteCase{"AcrossThePoint", "1234.5", 2, 5, 3, "1.5"},
                      DeleteCase{"AcrossASeparator", "1234.5", 0, 3, 2, "34.5"},
                      DeleteCase{"FractionDigit", "1.23", 2, 3, 1, "1.3"},
                      DeleteCase{"Everything", "1234.5", 0, 7, 6, ""},
                      DeleteCase{"EmptyRange", "1234", 2, 2, 0, "1,234"}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

// --- Navigation, emptiness ---------------------------------------------------------------------

TEST(NumberNavigation, SeparatorsArePassedOver) {
  auto edit = NumberModel("1234567.5");  // 1,234,567.5: separators at text indexes 1 and 5
  EXPECT_EQ(edit->GetNextInputLocation(1), 2);
  EXPECT_EQ(edit->GetNextInputLocation(5), 6);
  EXPECT_EQ(edit->GetPreviousInputLocation(1), 0);
  EXPECT_EQ(edit->GetPreviousInputLocation(5), 4);
  EXPECT_EQ(edit->GetNextInputLocation(-3), 0);
  EXPECT_EQ(edit->GetNextInputLocation(30), 30);
  EXPECT_EQ(edit->GetEmptyInputLocation(0), 11);  // the empty last decimal
  auto full = NumberModel("123456789.12");
  EXPECT_EQ(full->GetEmptyInputLocation(0), 14);
  auto whole = NumberModel("12");
  EXPECT_EQ(whole->GetEmptyInputLocation(0), 3);  // the point is never the answer
}

TEST(NumberNavigation, InputPositionsAreCountedInPositionsNotText) {
  auto edit = NumberModel("5");
  EXPECT_EQ(edit->IsInputData(13), 1);
  EXPECT_EQ(edit->IsInputData(14), 0);
  EXPECT_EQ(edit->IsInputData(-1), 0);
}

TEST(NumberEmptiness, EmptyDataKeepsOrDropsTheMask) {
  auto edit = NumberModel("1234.5");
  EXPECT_EQ(edit->IsInputEmpty(), 0);
  edit->EmptyData(1);
  EXPECT_EQ(edit->ShowMask(), "");
  EXPECT_EQ(edit->Positions(), 14u);
  EXPECT_EQ(edit->GetInputData(true), std::string(12, '_'));
  EXPECT_EQ(edit->IsInputEmpty(), 1);
  edit->EmptyData(0);
  EXPECT_EQ(edit->Positions(), 0u);
}

TEST(NumberEmptiness, APointAloneCountsAsEmpty) {
  EXPECT_EQ(NumberModel(".")->IsInputEmpty(), 1);
  EXPECT_EQ(NumberModel("-")->IsInputEmpty(), 0);
}

}  // namespace
}  // namespace kwtest
