// The character control's model without a window: the mask language (every mask character,
// escapes, the trailing backslash, locale separators), the prompt symbol, and the editing
// operations (insertion with shift across literals, refused shifts, deletion with losses, raw and
// packed data, navigation).
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"
#include "core/KwLocaleSeparators.h"
#include "core/KwText.h"

namespace kwtest {
namespace {

struct MaskCase {
  const char* name;
  std::string mask;
  std::string shown;  // with the prompt '_'
  // One letter per position, indexed by kind: D T H S = decimal, thousands, time, date separator;
  // d=digit a=alnum l=alpha u=upper w=lower c=any e=escaped t=literal.
  std::string kinds;
};
void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.name; }

class CharacterMaskLanguage : public ::testing::TestWithParam<MaskCase> {};

TEST_P(CharacterMaskLanguage, PositionsDisplayAndRoundTrip) {
  const MaskCase& c = GetParam();
  auto edit = Model("###", "123");
  EXPECT_TRUE(edit->SetMask(c.mask));
  std::string kinds;
  for (int i = 0; i < edit->PositionCount(); ++i)
    kinds += std::string("DTHSdp$aluwcet!").at(edit->Symbol(i).m_nKind);
  EXPECT_EQ(kinds, c.kinds);
  EXPECT_EQ(edit->ShowMask(), c.shown) << "a new mask empties the data";
  EXPECT_EQ(edit->GetMask(), c.mask) << "the mask comes back exactly as it was set";
}

const std::string kSeps = std::string("_") + KwNarrowChar(g_chDecimalSep) + "_" +
                          KwNarrowChar(g_chThousandSep) + "_" + KwNarrowChar(g_chTimeSep) + "_" +
                          KwNarrowChar(g_chDateSep) + "_";

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterMaskLanguage,
    ::testing::Values(MaskCase{"Phone", "(###) ###-####", "(___) ___-____", "tdddttdddtdddd"},
                      MaskCase{"EveryInputKind", "#A?><&", "______", "daluwc"},
                      MaskCase{"OnlyCapitalAIsInput", "a#A", "a__", "tda"},
                      MaskCase{"EscapedLetterThenInputs",
                               "\\A>?"
                               "?-&",
                               "A___-_", "eulltc"},
                      MaskCase{"EscapedSpecialCharacters", "\\#\\&\\.\\\\", "#&.\\", "eeee"},
                      MaskCase{"TrailingBackslashIsLiteral", "#\\", "_\\", "dt"},
                      MaskCase{"LoneBackslash", "\\", "\\", "t"},
                      MaskCase{"Separators", "#.#,#:#/#", kSeps, "dDdTdHdSd"},
                      MaskCase{"OtherCharactersAreLiterals", "$%-() 9x\xE9", "$%-() 9x\xE9",
                               "ttttttttt"},
                      MaskCase{"EmptyMask", "", "", ""}),
    [](const ::testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

TEST(CharacterMask, ConstructorAppliesItsMaskWithTheSpacePrompt) {
  KwCharacterMaskedEdit edit("(###)");
  EXPECT_EQ(edit.GetMask(), "(###)");
  EXPECT_EQ(edit.ShowMask(), "(   )");
  // The wide constructor the same; NULL or an empty mask makes a control without one.
  KwCharacterMaskedEdit wide(KW_W("(##)"));
  EXPECT_EQ(wide.GetMask(), "(##)");
  for (const WCHAR* none : {static_cast<const WCHAR*>(nullptr), KW_W("")}) {
    KwCharacterMaskedEdit plain(none);
    EXPECT_EQ(plain.GetMask(), "");
    EXPECT_EQ(plain.ShowMask(), "");
  }
}

// A new prompt symbol fills the empty positions only; control characters and DEL are refused;
// so is a character the data holds (it would read as empty from then on).
TEST(CharacterPrompt, ChangesTheEmptyPositionsOnly) {
  auto edit = Model("#-#-#", "1");
  for (char refused : {'\0', '\r', '\n', '\x7F'}) edit->SetPromptSymbol(refused);
  EXPECT_EQ(edit->GetPromptSymbol(), '_');
  edit->SetPromptSymbol('*');
  EXPECT_EQ(edit->ShowMask(), "1-*-*");
  EXPECT_EQ(edit->GetInputData(true), "1**");
  EXPECT_EQ(edit->GetInputData(false), "1");
  edit->SetPromptSymbol('1');
  EXPECT_EQ(edit->GetPromptSymbol(), '*');
  EXPECT_EQ(edit->ShowMask(), "1-*-*");
}

struct OpCase {
  const char* name;
  const char* mask;
  const char* data;  // raw input data before, '_' for an empty position
  // I: InsertAt(a, arg[0])  D: DeleteRange(a, b)  S: SetInputData(arg, keep a, raw b)
  // A: SetAt(a, arg[0])     T: SetText(arg)
  char op;
  int a, b;
  const char* arg;
  int result;
  const char* shown;
};
void PrintTo(const OpCase& c, std::ostream* os) { *os << c.name; }

class CharacterModel : public ::testing::TestWithParam<OpCase> {};

TEST_P(CharacterModel, ResultAndDisplay) {
  const OpCase& c = GetParam();
  auto edit = Model(c.mask, c.data);
  int result = 0;
  switch (c.op) {
    case 'I':
      result = edit->InsertAt(c.a, c.arg[0]);
      break;
    case 'D':
      result = edit->DeleteRange(c.a, c.b);
      break;
    case 'S':
      result = edit->SetInputData(c.arg, c.a, c.b);
      break;
    case 'A':
      result = edit->SetAt(c.a, c.arg[0]);
      break;
    default:
      result = edit->SetText(c.arg);
      break;
  }
  EXPECT_EQ(result, c.result);
  EXPECT_EQ(edit->ShowMask(), c.shown);
}

const char kPhone[] = "(###) ###-####";

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterModel,
    ::testing::Values(
        OpCase{"InsertShiftsAcrossLiterals", kPhone, "555123", 'I', 1, 0, "9", 1, "(955) 512-3___"},
        OpCase{"InsertRefusedKeepsContent", kPhone, "9555123", 'I', 6, 0, "x", -1,
               "(955) 512-3___"},
        OpCase{"InsertIntoFullDropsLast", "##-##", "1234", 'I', 0, 0, "9", 0, "91-23"},
        OpCase{"InsertPromptMakesAnEmptyPosition", "###", "12_", 'I', 0, 0, "_", 0, "_12"},
        OpCase{"InsertOnLiteralGoesToNextInput", "(###)", "", 'I', 0, 0, "5", 1, "(5__)"},
        OpCase{"InsertShiftRefusedRestores", "?#", "a1", 'I', 0, 0, "b", -1, "a1"},
        OpCase{"InsertShiftLettersIntoDigitsRestores", "##-??", "12ab", 'I', 0, 0, "3", -1,
               "12-ab"},
        OpCase{"InsertWithNoInputAfter", "##-", "12", 'I', 2, 0, "3", -1, "12-"},
        OpCase{"DeleteLettersCannotMoveIntoDigits", "##-AA", "12ab", 'D', 0, 1, "", 1, "2_-__"},
        OpCase{"DeleteLosesLetterOnTheWay", "#?#", "1a2", 'D', 0, 1, "", 1, "2__"},
        OpCase{"DeleteAcrossLiteral", kPhone, "5551234", 'D', 1, 4, "", 3, "(123) 4__-____"},
        OpCase{"DeleteLiteralsOnlyRemovesNothing", "(###)", "123", 'D', 4, 5, "", 0, "(123)"},
        OpCase{"DeleteNegativeFirstActsAsZero", "###", "123", 'D', -5, 1, "", 1, "23_"},
        OpCase{"DeleteEndBeyondTextActsAsEnd", "###", "123", 'D', 1, 99, "", 2, "1__"},
        OpCase{"DeleteEmptyRange", "###", "123", 'D', 2, 1, "", 0, "123"},
        OpCase{"DeleteCountsEmptyPositions", "#-#", "__", 'D', 0, 3, "", 2, "_-_"},
        OpCase{"DataRefusedCharactersSkipped", "##-AA", "12ab", 'S', 0, 1, "2ab", 0, "2_-__"},
        OpCase{"DataRawPromptKeepsPositionEmpty", "###", "", 'S', 0, 1, "1_3", 1, "1_3"},
        OpCase{"DataPackedDropsPrompts", "###", "", 'S', 0, 0, "1_3", 1, "13_"},
        OpCase{"DataKeepsLeadingData", "###", "12_", 'S', 2, 1, "9", 1, "129"},
        OpCase{"DataKeepLongerThanData", "###", "12_", 'S', 10, 1, "9", 1, "12_"},
        OpCase{"DataSkipsLiteralsOfDisplayText", kPhone, "", 'S', 0, 0, "(555) 123-4", 0,
               "(555) 123-4___"},
        OpCase{"DataConvertsCase", "><", "", 'S', 0, 1, "aB", 1, "Ab"},
        OpCase{"DataNullEmpties", "##", "12", 'S', 0, 1, nullptr, 1, "__"},
        OpCase{"SetAtConverts", ">#-#", "q12", 'A', 0, 0, "z", 0, "Z1-2"},
        OpCase{"SetAtRefused", ">#-#", "q12", 'A', 1, 0, "x", -1, "Q1-2"},
        OpCase{"SetAtPromptEmpties", ">#-#", "q12", 'A', 3, 0, "_", 3, "Q1-_"},
        // Outside the positions and on a literal nothing is set: the position is answered.
        OpCase{"SetAtBeforeTheFirst", ">#-#", "q12", 'A', -1, 0, "z", -1, "Q1-2"},
        OpCase{"SetAtPastTheLast", ">#-#", "q12", 'A', 4, 0, "z", 4, "Q1-2"},
        OpCase{"SetAtOnALiteral", ">#-#", "q12", 'A', 2, 0, "5", 2, "Q1-2"},
        OpCase{"SetTextKeepsPromptsInPlace", "###", "", 'T', 0, 0, "1_3", 1, "1_3"},
        OpCase{"SetTextSucceedsWhenNothingFits", "###", "", 'T', 0, 0, "abc", 1, "___"}),
    [](const ::testing::TestParamInfo<OpCase>& info) { return std::string(info.param.name); });

// A position holds one UTF-16 unit: a character of two is refused, whatever the position takes.
// NULL wide data is the empty data.
TEST(CharacterModelWide, TwoUnitsRefusedAndNullDataEmpties) {
  auto edit = Model("&&", "ab");
  EXPECT_EQ(edit->SetAtW(0, 0x1F600), -1);
  EXPECT_EQ(edit->SetAtW(1, 0x4E00), 1);
  EXPECT_EQ(edit->ShowMask(), "a?");  // the narrow text of U+4E00
  EXPECT_EQ(edit->ShowMaskW(), KW_W("a\u4E00"));
  EXPECT_EQ(edit->SetInputDataW(nullptr, 0, 1), 1);  // NULL is the empty data
  EXPECT_EQ(edit->ShowMask(), "__");
}

TEST(CharacterLocations, NextPreviousAndEmpty) {
  auto edit = Model("(###)", "1_3");
  EXPECT_EQ(edit->GetPreviousInputLocation(0), 1) << "none at or before 0: the next one";
  EXPECT_EQ(edit->GetPreviousInputLocation(4), 3);
  EXPECT_EQ(edit->GetPreviousInputLocation(-2), 0);
  EXPECT_EQ(edit->GetPreviousInputLocation(9), 3) << "past the end: the last one";
  EXPECT_EQ(edit->GetNextInputLocation(-3), 1);
  EXPECT_EQ(edit->GetNextInputLocation(2), 2);
  EXPECT_EQ(edit->GetNextInputLocation(4), 5);
  EXPECT_EQ(edit->GetEmptyInputLocation(0), 2);
  EXPECT_EQ(edit->GetEmptyInputLocation(3), 5);
  for (int pos : {-1, 0, 1, 5}) EXPECT_EQ(edit->IsInputData(pos), pos == 1 ? 1 : 0) << pos;
  auto literals = Model("--");
  EXPECT_EQ(literals->GetNextInputLocation(0), 2);
  EXPECT_EQ(literals->GetPreviousInputLocation(1), 2);
}

struct TextCase {
  const char* mask;
  const char* text;
  const char* data;
};

class CharacterDataFromText : public ::testing::TestWithParam<TextCase> {};

// Literals are dropped only where the mask has them; whatever the control holds does not matter.
TEST_P(CharacterDataFromText, StripsLiteralsAtTheirPlace) {
  auto edit = Model(GetParam().mask, "9");
  EXPECT_EQ(edit->GetInputData(GetParam().text, true), GetParam().data);
  EXPECT_EQ(edit->GetInputData(GetParam().text, false), GetParam().data);
}

INSTANTIATE_TEST_SUITE_P(Cases, CharacterDataFromText,
                         ::testing::Values(TextCase{kPhone, "(555) 123-4567", "5551234567"},
                                           TextCase{kPhone, "5551234567", "5551234567"},
                                           TextCase{kPhone, "555-1234", "555-1234"},
                                           // A text that ends before a run of literals.
                                           TextCase{kPhone, "(55", "55"},
                                           TextCase{"(###)", "(123)", "123)"},
                                           TextCase{"##--##", "12-", "12-"}));

TEST(CharacterData, PromptsEmptinessAndEmptyData) {
  auto edit = Model("#-#-#", "1_3");
  EXPECT_EQ(edit->GetInputData(true), "1_3");
  EXPECT_EQ(edit->GetInputData(false), "13");
  EXPECT_EQ(edit->IsInputEmpty(), 0);
  edit->SetAt(0, '_');
  edit->SetAt(4, '_');
  EXPECT_EQ(edit->IsInputEmpty(), 1) << "every input position set back to the prompt";
  edit->SetInputData("123", 0, 1);
  edit->EmptyData(1);
  EXPECT_EQ(edit->ShowMask(), "_-_-_");
  edit->EmptyData(0);
  EXPECT_EQ(edit->GetMask(), "");
  EXPECT_EQ(edit->ShowMask(), "");
  EXPECT_EQ(Model("--")->IsInputEmpty(), 1) << "a mask without input is empty";
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
