// The character mask language: what each mask character makes, escapes, the trailing
// backslash, locale separators, the prompt symbol and copies.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"
#include "core/KwLocaleSeparators.h"

namespace kwtest {
namespace {

struct MaskCase {
  const char* name;
  std::string mask;
  std::string shown;      // with the prompt '_'
  std::string kinds;      // one letter per position: d=digit a=alnum l=alpha u=upper w=lower
                          // c=any e=escaped t=literal D/T/H/S = decimal/thousands/time/date separator
};

char KindLetter(int kind) {
  switch (kind) {
    case KindDigit: return 'd';
    case KindAlphaNumeric: return 'a';
    case KindAlpha: return 'l';
    case KindUpperAlpha: return 'u';
    case KindLowerAlpha: return 'w';
    case KindAnyChar: return 'c';
    case KindEscapedLiteral: return 'e';
    case KindLiteral: return 't';
    case KindDecimalSeparator: return 'D';
    case KindThousandSeparator: return 'T';
    case KindTimeSeparator: return 'H';
    case KindDateSeparator: return 'S';
    default: return '!';
  }
}

class CharacterMaskLanguage : public ::testing::TestWithParam<MaskCase> {};

TEST_P(CharacterMaskLanguage, PositionsDisplayAndRoundTrip) {
  const MaskCase& c = GetParam();
  auto edit = Model("");
  EXPECT_TRUE(edit->SetMask(c.mask));
  std::string kinds;
  for (std::size_t i = 0; i < edit->Positions(); ++i) kinds += KindLetter(edit->Symbol(i).m_nKind);
  EXPECT_EQ(kinds, c.kinds);
  EXPECT_EQ(edit->ShowMask(), c.shown);
  EXPECT_EQ(edit->GetMask(), c.mask) << "the mask comes back exactly as it was set";
}

const std::string kDec(1, g_chDecimalSep);
const std::string kTho(1, g_chThousandSep);
const std::string kTim(1, g_chTimeSep);
const std::string kDat(1, g_chDateSep);

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterMaskLanguage,
    ::testing::Values(
        MaskCase{"Phone", "(###) ###-####", "(___) ___-____", "tdddttdddtdddd"},
        MaskCase{"EveryInputKind", "#A?><&", "______", "daluwc"},
        MaskCase{"LowerCaseAIsLiteral", "a#", "a_", "td"},
        MaskCase{"CapitalAIsInput", "A#", "__", "ad"},
        MaskCase{"EscapedLetterThenInputs", "\\A>?" "?-&", "A___-_", "eulltc"},
        MaskCase{"EscapedSpecialCharacters", "\\#\\&\\.\\\\", "#&.\\", "eeee"},
        MaskCase{"TwoBackslashesAreOneBackslash", "\\\\", "\\", "e"},
        MaskCase{"TrailingBackslashIsLiteral", "#\\", "_\\", "dt"},
        MaskCase{"LoneBackslash", "\\", "\\", "t"},
        MaskCase{"Separators", "#.#,#:#/#", "_" + kDec + "_" + kTho + "_" + kTim + "_" + kDat + "_", "dDdTdHdSd"},
        MaskCase{"OtherCharactersAreLiterals", "$%-() 9x", "$%-() 9x", "tttttttt"},
        MaskCase{"HighByteIsLiteral", "\xE9#", "\xE9_", "td"},
        MaskCase{"EmptyMask", "", "", ""}),
    [](const ::testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

TEST(CharacterMask, DateMaskShowsLocaleSeparator) {
  auto edit = Model("##/##/####");
  EXPECT_EQ(edit->ShowMask(), "__" + kDat + "__" + kDat + "____");
  EXPECT_EQ(edit->GetMask(), "##/##/####");
}

TEST(CharacterMask, SetMaskEmptiesEnteredCharacters) {
  auto edit = Model("###", "123");
  EXPECT_TRUE(edit->SetMask("##"));
  EXPECT_EQ(edit->ShowMask(), "__");
  EXPECT_EQ(edit->IsInputEmpty(), 1);
}

TEST(CharacterMask, ConstructorAppliesItsMask) {
  KwCharacterMaskedEdit edit("(###)");
  EXPECT_EQ(edit.GetMask(), "(###)");
  EXPECT_EQ(edit.ShowMask(), "(   )") << "the default prompt is the space";
  KwCharacterMaskedEdit plain;
  EXPECT_EQ(plain.GetMask(), "");
  EXPECT_EQ(plain.GetPromptSymbol(), ' ');
}

TEST(CharacterPrompt, RefusedSymbolsChangeNothing) {
  for (char refused : {'\0', '\r', '\n', '\x7F'}) {
    auto edit = Model("#-#", "1");
    edit->SetPromptSymbol(refused);
    EXPECT_EQ(edit->GetPromptSymbol(), '_');
    EXPECT_EQ(edit->ShowMask(), "1-_");
  }
}

TEST(CharacterPrompt, NewSymbolFillsEmptyPositionsOnly) {
  auto edit = Model("#-#-#", "1");
  edit->SetPromptSymbol('*');
  EXPECT_EQ(edit->ShowMask(), "1-*-*");
  EXPECT_EQ(edit->GetInputData(true), "1**");
  EXPECT_EQ(edit->GetInputData(false), "1");
}

TEST(CharacterPrompt, EnteredCharacterEqualToPromptCountsEmpty) {
  auto edit = Model("##", "5");
  edit->SetPromptSymbol('5');
  EXPECT_EQ(edit->ShowMask(), "55");
  EXPECT_EQ(edit->IsInputEmpty(), 1);
  EXPECT_EQ(edit->GetInputData(false), "");
}

TEST(CharacterCopy, OwnsItsPositions) {
  auto source = Model("(###) ###", "12345");
  source->SetPromptSymbol('*');
  auto copy = std::make_unique<CharEditProbe>(*source);
  source.reset();
  EXPECT_EQ(copy->GetMask(), "(###) ###");
  EXPECT_EQ(copy->ShowMask(), "(123) 45*");
  EXPECT_EQ(copy->GetPromptSymbol(), '*');
  EXPECT_EQ(copy->InsertAt(1, '9'), 1);
  EXPECT_EQ(copy->ShowMask(), "(912) 345");
}

}  // namespace
}  // namespace kwtest
