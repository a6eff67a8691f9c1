// The number model without a window: laying data out and reading it back, mask and prompt,
// copies, and the editing operations with their text indexes.
#include <gtest/gtest.h>

#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

TEST(NumberModel, SetInputDataAlignsAtThePointAndReadsBack) {
  struct {
    const char* name;
    const char* data;  // set raw
    int result;
    const char* shown;  // ',' and '.' as the locale shows them
    const char* plain;
    const char* withPrompt;
    int firstShown;
    char prompt = '_';
  } rows[] = {
      {"Plain", "1234.5", 1, "1,234.5", "1234.5", "_____1234.5_", 6},
      {"Negative", "-1234.5", 1, "-1,234.5", "-1234.5", "____-1234.5_", 5},
      {"FractionCutNotRounded", "1.2345", 1, "1.23", "1.23", "________1.23", 10},
      {"LastNineDigitsKept", "1234567890", 1, "234,567,890", "234567890", "234567890___", 0},
      {"SeparatorInDataSkipped", "1,234", 0, "1,234", "1234", "_____1234___", 6},
      {"FractionOnly", ".5", 1, ".5", ".5", "_________.5_", 11},
      {"Empty", "", 1, "", "", "____________", 10},
      {"SignBesideSeparatorShowsSpace", "-123", 1, "- 123", "-123", "_____-123___", 6},
      // One point per number; refused characters hold no place.
      {"SecondPointRefused", "1.2.3", 0, "1.23", "1.23", "________1.23", 10},
      {"LetterInFractionSkipped", "1.a2", 0, "1.2", "1.2", "________1.2_", 10},
      // Prompts in raw data leave no empty place inside the shown run, nor before the point.
      {"PromptInsideNumberLeavesNoGap", "1 234.5", 1, "1,234.5", "1234.5", "     1234.5 ", 6, ' '},
      {"PromptsBeforeThePointLeaveNoGap", "1  ", 1, "1", "1", "        1   ", 10, ' '},
  };
  for (const auto& row : rows) {
    for (const char* mask : {"%", "$"}) {
      SCOPED_TRACE(std::string(row.name) + mask);
      auto edit = NumberModel("", row.prompt, mask);
      EXPECT_EQ(edit->SetInputData(row.data, 0, 1), row.result);
      EXPECT_EQ(edit->ShowMask(), Shown(row.shown, mask[0]));
      EXPECT_EQ(edit->GetInputData(false), row.plain);
      EXPECT_EQ(edit->GetInputData(true), row.withPrompt);
      EXPECT_EQ(edit->FirstShown(), row.firstShown);
    }
  }
  // Typing on at the end of such raw data takes the character and says where it went.
  auto edit = NumberModel("", ' ');
  edit->SetInputData("1  ", 0, 1);
  EXPECT_EQ(edit->InsertAt(1, '+'), 1);
  EXPECT_EQ(edit->ShowMask(), "1+");
}

TEST(NumberModel, DataForms) {
  auto edit = NumberModel("99");
  EXPECT_EQ(edit->SetText("_1_2._5"), 1);
  EXPECT_EQ(edit->GetInputData(false), "12.5");
  EXPECT_EQ(edit->SetInputData("9", 2, 1), 1);  // keeps the first two characters
  EXPECT_EQ(edit->GetInputData(false), "129");
  EXPECT_EQ(edit->SetInputData("7", -3, 1), 1);  // keeps nothing
  EXPECT_EQ(edit->GetInputData(false), "7");
  EXPECT_EQ(edit->SetInputData(nullptr, 0, 1), 1);  // NULL is the empty data
  EXPECT_EQ(edit->GetInputData(false), "");
  for (int pos : {-1, 14, 99}) EXPECT_EQ(edit->IsInputData(pos), 0) << pos;
  EXPECT_EQ(edit->SetText("x"), 1);
  EXPECT_EQ(edit->ShowMask(), "");
  // The shown text and the numeric value give the number back, whatever the prompt.
  for (const char* data : {"1234.5", "-123", "-1234567.89", ".5", "123456789"}) {
    edit->SetText(data);
    EXPECT_EQ(edit->GetInputData(edit->ShowMask().c_str(), true), data);
  }
  for (char prompt : {' ', '_', '0', '#'}) {
    double value = 99;
    EXPECT_TRUE(NumberModel("-1234.5", prompt)->GetDataNumValue(value));
    EXPECT_DOUBLE_EQ(value, -1234.5) << "prompt " << prompt;
  }
}

TEST(NumberModel, EmptyDataAndEmptiness) {
  auto edit = NumberModel("1234.5");
  EXPECT_EQ(edit->IsInputEmpty(), 0);
  edit->EmptyData(1);
  EXPECT_EQ(edit->GetInputData(true), std::string(12, '_'));
  EXPECT_EQ(edit->IsInputEmpty(), 1);
  EXPECT_EQ(edit->SetAt(0, '5'), 0);  // an emptied control is typed from the point
  EXPECT_EQ(edit->FirstShown(), 10);
  edit->EmptyData(0);
  EXPECT_EQ(edit->GetMask(), "");
  EXPECT_EQ(NumberModel(".")->IsInputEmpty(), 1);
  EXPECT_EQ(NumberModel("-")->IsInputEmpty(), 0);
}

TEST(NumberModel, InsertAtAndSetAtLayTheNumberOutAgain) {
  constexpr int kNegative = -1000;  // any negative result
  struct {
    const char* name;
    bool overwrite;
    const char* data;
    int pos;
    char ch;
    int result;
    const char* shown;
  } rows[] = {
      {"InsertBehindSeparator", false, "1234", 2, '9', 1, "19,234"},
      {"InsertPointAtThePoint", false, "123", 3, '.', 3, "123."},
      {"InsertPointInsideIntegerMovesAlignment", false, "123", 1, '.', -2, "1.23"},
      {"InsertLetterRefused", false, "1234", 1, 'a', -1, "1,234"},
      {"InsertAtEndOfFullFraction", false, "1234.56", 8, '9', kNegative, "1,234.56"},
      {"InsertInFullFractionPushesLastOut", false, "1234.56", 6, '9', 6, "1,234.95"},
      {"InsertSignInside", false, "1234", 2, '-', 1, "1- 234"},
      {"InsertIntoFullIntegerPushesLeftmostOut", false, "123456789", 11, '0', 10, "234,567,890"},
      {"InsertPointIntoEmptyControl", false, "", 0, '.', 0, "."},
      {"InsertPromptIsDropped", false, "12", 1, '_', 0, "12"},
      {"SetSignOverDigit", true, "1234", 0, '-', 0, "- 234"},
      {"SetOverThousandsSeparator", true, "1234", 1, '7', -1, "1,234"},
      // Outside the positions: before the first, and past the last for what is no digit.
      {"SetBeforeTheFirstPosition", true, "1234", -9, '5', -1, "1,234"},
      {"SetPointPastTheEnd", true, "1234", 99, '.', -1, "1,234"},
      {"SetLetterPastTheEnd", true, "1234", 99, 'a', -1, "1,234"},
      {"SetLetterRefused", true, "1234", 0, 'x', -1, "1,234"},
      {"SetPointOverDigitRefused", true, "12.34", 0, '.', -1, "12.34"},
      {"SetPastTheLayout", true, "1234", 8, '1', -1, "1,234"},
      {"SetBeforeTheLayout", true, "1234", -7, '1', -1, "1,234"},
      {"SetDigitOverPointJoinsFraction", true, "12.34", 2, '5', 3, "12,534"},
      {"SetOverPointWithoutRoomOnTheLeft", true, "1234567.8", 9, '5', -1, "1,234,567.8"},
      {"SetPromptOverPointJoinsFraction", true, "12.34", 2, '_', 2, "1,234"},
      {"SetDigitOverPointAfterSign", true, "-123.45", 5, '6', 6, "- 123,645"},
      {"SetFractionDigitAfterTheLast", true, "1.2", 3, '5', 3, "1.25"},
      // The prompt over a digit takes it out of the number.
      {"SetPromptRemovesIntegerDigit", true, "1234", 2, '_', 0, "134"},
      {"SetPromptRemovesLeadingDigit", true, "1234", 0, '_', 0, "234"},
      {"SetPromptRemovesFractionDigit", true, "1.23", 2, '_', 1, "1.3"},
      {"SetPromptOnEmptyPlaceChangesNothing", true, "1.2", 3, '_', 3, "1.2"},
      // At the hidden point of a number without fraction, the character is appended.
      {"SetDigitAtHiddenPointAppends", true, "123", 3, '4', 4, "1,234"},
      {"SetPointAtHiddenPointSetsIt", true, "123", 3, '.', 3, "123."},
      {"SetDigitAtHiddenPointOfFullInteger", true, "123456789", 11, '1', -1, "123,456,789"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto edit = NumberModel(row.data);
    const int result =
        row.overwrite ? edit->SetAt(row.pos, row.ch) : edit->InsertAt(row.pos, row.ch);
    if (row.result == kNegative)
      EXPECT_LT(result, 0);
    else
      EXPECT_EQ(result, row.result);
    EXPECT_EQ(edit->ShowMask(), Shown(row.shown));
    // The shown run stays contiguous: it is the number read back laid out again.
    EXPECT_EQ(NumberModel(edit->GetInputData(false).c_str())->FirstShown(), edit->FirstShown());
  }
}

}  // namespace
}  // namespace kwtest
