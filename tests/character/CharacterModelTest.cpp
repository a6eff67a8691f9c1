// The character control's editing operations on its model, without a window: insertion with
// shift across literals, refused shifts, deletion with losses, raw and packed data, navigation.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"

namespace kwtest {
namespace {

struct InsertCase {
  const char* name;
  const char* mask;
  const char* data;  // raw input data, '_' for an empty position
  int pos;
  char ch;
  int result;
  const char* shown;
};

class CharacterInsertAt : public ::testing::TestWithParam<InsertCase> {};

TEST_P(CharacterInsertAt, ShiftsAcrossLiteralsOrRestores) {
  const InsertCase& c = GetParam();
  auto edit = Model(c.mask, c.data);
  EXPECT_EQ(edit->InsertAt(c.pos, c.ch), c.result);
  EXPECT_EQ(edit->ShowMask(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterInsertAt,
    ::testing::Values(
        InsertCase{"PhoneShiftsAcrossLiterals", "(###) ###-####", "555123", 1, '9', 1, "(955) 512-3___"},
        InsertCase{"RefusedCharacterKeepsContent", "(###) ###-####", "9555123", 6, 'x', -1, "(955) 512-3___"},
        InsertCase{"FullControlDropsLastCharacter", "##-##", "1234", 0, '9', 0, "91-23"},
        InsertCase{"PromptInsertsAnEmptyPosition", "###", "12_", 0, '_', 0, "_12"},
        InsertCase{"OnLiteralGoesToNextInput", "(###)", "", 0, '5', 1, "(5__)"},
        InsertCase{"ShiftedCharacterRefusedRestores", "?#", "a1", 0, 'b', -1, "a1"},
        InsertCase{"ShiftedLettersIntoDigitsRestores", "##-??", "12ab", 0, '3', -1, "12-ab"},
        InsertCase{"NoInputPositionAfter", "##-", "12", 2, '3', -1, "12-"},
        InsertCase{"UpperCasePositionConverts", ">>", "", 0, 'q', 0, "Q_"},
        InsertCase{"CharacterUnfitForPosition", "#?", "", 0, 'a', -1, "__"}),
    [](const ::testing::TestParamInfo<InsertCase>& info) { return std::string(info.param.name); });

struct DeleteCase {
  const char* name;
  const char* mask;
  const char* data;
  int first;
  int end;
  int removed;
  const char* shown;
};

class CharacterDeleteRange : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(CharacterDeleteRange, MovesFollowingInputLeft) {
  const DeleteCase& c = GetParam();
  auto edit = Model(c.mask, c.data);
  EXPECT_EQ(edit->DeleteRange(c.first, c.end), c.removed);
  EXPECT_EQ(edit->ShowMask(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterDeleteRange,
    ::testing::Values(DeleteCase{"LettersCannotMoveIntoDigits", "##-AA", "12ab", 0, 1, 1, "2_-__"},
                      DeleteCase{"LetterLostOnTheWay", "#?#", "1a2", 0, 1, 1, "2__"},
                      DeleteCase{"SelectionAcrossLiteral", "(###) ###-####", "5551234", 1, 4, 3, "(123) 4__-____"},
                      DeleteCase{"LiteralsOnlyRemoveNothing", "(###)", "123", 4, 5, 0, "(123)"},
                      DeleteCase{"NegativeFirstActsAsZero", "###", "123", -5, 1, 1, "23_"},
                      DeleteCase{"EndBeyondTextActsAsEnd", "###", "123", 1, 99, 2, "1__"},
                      DeleteCase{"EmptyRange", "###", "123", 2, 1, 0, "123"},
                      DeleteCase{"EmptyPositionsCount", "#-#", "__", 0, 3, 2, "_-_"}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

struct DataCase {
  const char* name;
  const char* mask;
  const char* before;
  const char* data;
  int keep;
  int raw;
  int result;
  const char* shown;
};

class CharacterSetInputData : public ::testing::TestWithParam<DataCase> {};

TEST_P(CharacterSetInputData, FillsInputPositions) {
  const DataCase& c = GetParam();
  auto edit = Model(c.mask, c.before);
  EXPECT_EQ(edit->SetInputData(c.data, c.keep, c.raw), c.result);
  EXPECT_EQ(edit->ShowMask(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterSetInputData,
    ::testing::Values(DataCase{"RefusedCharactersSkipped", "##-AA", "12ab", "2ab", 0, 1, 0, "2_-__"},
                      DataCase{"RawPromptKeepsPositionEmpty", "###", "", "1_3", 0, 1, 1, "1_3"},
                      DataCase{"PackedDropsPrompts", "###", "", "1_3", 0, 0, 1, "13_"},
                      DataCase{"KeepsLeadingData", "###", "12_", "9", 2, 1, 1, "129"},
                      DataCase{"KeepLongerThanData", "###", "12_", "9", 10, 1, 1, "12_"},
                      DataCase{"SurplusIgnored", "##", "", "123", 0, 1, 1, "12"},
                      DataCase{"LiteralsOfDisplayTextSkipped", "(###) ###-####", "", "(555) 123-4", 0, 0, 0,
                               "(555) 123-4___"},
                      DataCase{"CaseConverted", "><", "", "aB", 0, 1, 1, "Ab"},
                      DataCase{"NullDataEmpties", "##", "12", nullptr, 0, 1, 1, "__"}),
    [](const ::testing::TestParamInfo<DataCase>& info) { return std::string(info.param.name); });

TEST(CharacterSetAt, OverwritesOnePosition) {
  auto edit = Model(">#-#", "q12");
  EXPECT_EQ(edit->ShowMask(), "Q1-2");
  EXPECT_EQ(edit->SetAt(2, '9'), 2) << "a literal position is answered with itself";
  EXPECT_EQ(edit->SetAt(1, 'x'), -1);
  EXPECT_EQ(edit->SetAt(0, 'z'), 0);
  EXPECT_EQ(edit->SetAt(3, '_'), 3) << "the prompt empties a position";
  EXPECT_EQ(edit->SetAt(-1, '1'), -1);
  EXPECT_EQ(edit->SetAt(4, '1'), 4);
  EXPECT_EQ(edit->ShowMask(), "Z1-_");
}

TEST(CharacterLocations, NextPreviousAndEmpty) {
  auto edit = Model("(###)", "1_3");
  EXPECT_EQ(edit->GetPreviousInputLocation(0), 1) << "none at or before 0: the next one";
  EXPECT_EQ(edit->GetPreviousInputLocation(4), 3);
  EXPECT_EQ(edit->GetPreviousInputLocation(99), 3);
  EXPECT_EQ(edit->GetPreviousInputLocation(-2), 0);
  EXPECT_EQ(edit->GetNextInputLocation(-3), 1);
  EXPECT_EQ(edit->GetNextInputLocation(2), 2);
  EXPECT_EQ(edit->GetNextInputLocation(4), 5);
  EXPECT_EQ(edit->GetNextInputLocation(50), 5);
  EXPECT_EQ(edit->GetEmptyInputLocation(0), 2);
  EXPECT_EQ(edit->GetEmptyInputLocation(3), 5);
  EXPECT_EQ(edit->IsInputData(0), 0);
  EXPECT_EQ(edit->IsInputData(1), 1);
  EXPECT_EQ(edit->IsInputData(5), 0);
  EXPECT_EQ(edit->IsInputData(-1), 0);

  auto literals = Model("--");
  EXPECT_EQ(literals->GetNextInputLocation(0), 2);
  EXPECT_EQ(literals->GetPreviousInputLocation(1), 2);
}

TEST(CharacterData, WithAndWithoutPrompts) {
  auto edit = Model("(###) ###-####", "5551234");
  EXPECT_EQ(edit->ShowMask(), "(555) 123-4___");
  EXPECT_EQ(edit->GetInputData(true), "5551234___");
  EXPECT_EQ(edit->GetInputData(false), "5551234");

  auto gaps = Model("#-#-#", "1_3");
  EXPECT_EQ(gaps->GetInputData(true), "1_3");
  EXPECT_EQ(gaps->GetInputData(false), "13");
}

struct TextCase {
  const char* mask;
  const char* text;
  const char* data;
};

class CharacterDataFromText : public ::testing::TestWithParam<TextCase> {};

TEST_P(CharacterDataFromText, StripsLiteralsAtTheirPlace) {
  auto edit = Model(GetParam().mask, "9");  // what the control holds does not matter
  EXPECT_EQ(edit->GetInputData(GetParam().text, true), GetParam().data);
  EXPECT_EQ(edit->GetInputData(GetParam().text, false), GetParam().data);
}

INSTANTIATE_TEST_SUITE_P(Cases, CharacterDataFromText,
                         ::testing::Values(TextCase{"(###) ###-####", "(555) 123-4567", "5551234567"},
                                           TextCase{"(###) ###-####", "5551234567", "5551234567"},
                                           TextCase{"(###) ###-####", "555-1234", "555-1234"},
                                           TextCase{"(###)", "(123)", "123)"},
                                           TextCase{"##-##", "12-34", "1234"},
                                           TextCase{"##-##", "12", "12"},
                                           TextCase{"(###)", "", ""},
                                           TextCase{"##--##", "12-", "12-"}));

TEST(CharacterEmptyData, KeepingOrDroppingTheMask) {
  auto edit = Model("##-##", "1234");
  EXPECT_EQ(edit->IsInputEmpty(), 0);
  edit->EmptyData(1);
  EXPECT_EQ(edit->ShowMask(), "__-__");
  EXPECT_EQ(edit->GetMask(), "##-##");
  EXPECT_EQ(edit->IsInputEmpty(), 1);

  edit->SetInputData("12", 0, 1);
  edit->SetAt(0, '_');
  edit->SetAt(1, '_');
  EXPECT_EQ(edit->IsInputEmpty(), 1) << "every input position set back to the prompt";

  edit->EmptyData(0);
  EXPECT_EQ(edit->GetMask(), "");
  EXPECT_EQ(edit->Positions(), 0u);
  EXPECT_EQ(edit->ShowMask(), "");
}

TEST(CharacterEmptyData, MaskWithoutInputIsEmpty) {
  auto edit = Model("--");
  EXPECT_EQ(edit->IsInputEmpty(), 1);
}

// A letter prompt is kept as it is in every kind of position: raised or lowered by the
// position's kind it would turn an empty position into an entered character.
TEST(CharacterData, LetterPromptStaysAPromptInCasePositions) {
  auto edit = Model("<>", "", 'x');
  EXPECT_EQ(edit->InsertAt(0, 'B'), 0);
  EXPECT_EQ(edit->ShowMask(), "bx");
  EXPECT_EQ(edit->GetInputData(false), "b");
  edit->SetInputData("AB", 0, 1);
  EXPECT_EQ(edit->SetAt(1, 'x'), 1);
  EXPECT_EQ(edit->ShowMask(), "ax");
  EXPECT_EQ(edit->GetInputData(false), "a");
  edit->SetInputData("xx", 0, 1);
  EXPECT_EQ(edit->IsInputEmpty(), 1);
}

}  // namespace
}  // namespace kwtest
