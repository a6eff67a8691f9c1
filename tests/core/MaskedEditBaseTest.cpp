// The masked edit core: what each mask position kind accepts and stores, the locale separator
// fall-back, validator ownership, copies, and the number value of the data (the validator's
// part in it: KwMaskedEditLookTest).
#include <gtest/gtest.h>

#include <string>

#include "character/CharacterTestSupport.h"
#include "core/KwLocaleSeparators.h"
#include "core/KwMaskSymbol.h"

namespace kwtest {
namespace {

struct AcceptCase {
  const char* name;
  int kind;
  std::string accepted;
  std::string refused;
};
// By name: GoogleTest would otherwise print the bytes of the struct, padding included.
void PrintTo(const AcceptCase& c, std::ostream* os) { *os << c.name; }

class MaskSymbolAccepts : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(MaskSymbolAccepts, ByKind) {
  const AcceptCase& c = GetParam();
  const KwMaskSymbol symbol(c.kind, ' ');
  for (char ch : c.accepted)
    EXPECT_TRUE(symbol.AcceptsChar(ch))
        << "0x" << std::hex << (static_cast<unsigned char>(ch) & 0xFF);
  for (char ch : c.refused)
    EXPECT_FALSE(symbol.AcceptsChar(ch))
        << "0x" << std::hex << (static_cast<unsigned char>(ch) & 0xFF);
}

const std::string kHigh = "\x80\xA0\xC9\xE9\xFF";
const std::string kControl = std::string("\x00\x01\x09\x0A\x0D\x1F\x7F", 7);

INSTANTIATE_TEST_SUITE_P(
    Kinds, MaskSymbolAccepts,
    ::testing::Values(AcceptCase{"DecimalSeparator", KindDecimalSeparator, ".", ",5 a"},
                      AcceptCase{"ThousandSeparator", KindThousandSeparator, "", ",.5a "},
                      AcceptCase{"TimeSeparator", KindTimeSeparator, "", ":5a"},
                      AcceptCase{"DateSeparator", KindDateSeparator, "", "/.5a"},
                      AcceptCase{"Digit", KindDigit, "0123456789", "a Z.-+" + kHigh + kControl},
                      AcceptCase{"Percent", KindPercent, "7.-+ 0", ",a$" + kHigh},
                      AcceptCase{"Currency", KindCurrency, "7.-+ 9", ",a$" + kHigh},
                      AcceptCase{"AlphaNumeric", KindAlphaNumeric, "09azAZ",
                                 " -_." + kHigh + kControl},
                      AcceptCase{"Alpha", KindAlpha, "azAZmq", "05 -_" + kHigh},
                      AcceptCase{"UpperAlpha", KindUpperAlpha, "aZq", "5 " + kHigh},
                      AcceptCase{"LowerAlpha", KindLowerAlpha, "aZQ", "5 " + kHigh},
                      // '~' (0x7E) is printable and taken like every other printable character.
                      AcceptCase{"AnyChar", KindAnyChar, " }~!aZ09" + kHigh, kControl},
                      AcceptCase{"EscapedLiteral", KindEscapedLiteral, "", "a5 ."},
                      AcceptCase{"Literal", KindLiteral, "", "a5 ."}),
    [](const ::testing::TestParamInfo<AcceptCase>& info) { return std::string(info.param.name); });

TEST(MaskSymbol, InputKindsAreDigitToAnyChar) {
  for (int kind = KindDecimalSeparator; kind <= KindLiteral; ++kind)
    EXPECT_EQ(KwMaskSymbol(kind, 'x').IsInput(), kind >= KindDigit && kind <= KindAnyChar)
        << "kind " << kind;
}

// Only the case kinds change case, and only of ASCII letters.
TEST(MaskSymbol, TransformChangesCaseOnlyForCaseKinds) {
  EXPECT_EQ(KwMaskSymbol(KindUpperAlpha, ' ').TransformChar('q'), 'Q');
  EXPECT_EQ(KwMaskSymbol(KindLowerAlpha, ' ').TransformChar('Q'), 'q');
  EXPECT_EQ(KwMaskSymbol(KindAlphaNumeric, ' ').TransformChar('q'), 'q');
  EXPECT_EQ(KwMaskSymbol(KindUpperAlpha, ' ').TransformChar('\xE9'), '\xE9');
  EXPECT_EQ(KwMaskSymbol(KindLowerAlpha, ' ').TransformChar('\xC9'), '\xC9');
}

TEST(LocaleSeparators, UnknownTypeFallsBackToQuestionMark) {
  EXPECT_EQ(GetLocaleSeparator(0x7777), '?');
}

// A validator that counts how many of its kind are alive.
class CountedValidator : public KwValidator {
 public:
  explicit CountedValidator(KwMaskedEdit* pEdit) : KwValidator(pEdit) { ++alive; }
  CountedValidator(const CountedValidator& other) : KwValidator(other) { ++alive; }
  ~CountedValidator() override { --alive; }
  int Validate(std::string&) override { return 7; }
  KwValidator* Clone() override { return new CountedValidator(*this); }
  using KwValidator::GetMaskedEdit;
  static int alive;
};
int CountedValidator::alive = 0;

class MaskedEditBase : public ::testing::Test {
 protected:
  void SetUp() override { CountedValidator::alive = 0; }
};

// The control deletes the validator it holds; one it replaces or lets go goes back to the caller.
TEST_F(MaskedEditBase, DeletesOnlyTheValidatorItHolds) {
  auto* first = new CountedValidator(nullptr);
  auto* second = new CountedValidator(nullptr);
  {
    CharEditProbe edit("##");
    EXPECT_TRUE(edit.SetValidator(first));
    EXPECT_TRUE(edit.SetValidator(second));
    EXPECT_TRUE(edit.SetValidator(first));
    EXPECT_TRUE(edit.SetValidator(nullptr));
    EXPECT_TRUE(edit.SetValidator(first));
    EXPECT_EQ(CountedValidator::alive, 2);
  }
  EXPECT_EQ(CountedValidator::alive, 1);
  delete second;
}

TEST_F(MaskedEditBase, CopyOwnsItsPositionsAndAClonedValidator) {
  auto source = Model("(###) ###", "12345");
  source->SetPromptSymbol('*');
  auto* validator = new CountedValidator(source.get());
  source->SetValidator(validator);
  auto copy = std::make_unique<CharEditProbe>(*source);
  EXPECT_EQ(CharEditProbe(*Model("##")).Validator(), nullptr) << "no validator, no clone";
  ASSERT_NE(copy->Validator(), nullptr);
  EXPECT_NE(copy->Validator(), validator);
  EXPECT_EQ(CountedValidator::alive, 2);
  EXPECT_EQ(const_cast<CountedValidator*>(static_cast<const CountedValidator*>(copy->Validator()))
                ->GetMaskedEdit(),
            copy.get())
      << "the clone is bound to the copy";
  source.reset();
  EXPECT_EQ(CountedValidator::alive, 1) << "destroying one control deletes only its own validator";
  EXPECT_EQ(copy->GetMask(), "(###) ###");
  EXPECT_EQ(copy->ShowMask(), "(123) 45*");
  EXPECT_EQ(copy->InsertAt(1, '9'), 1);
  EXPECT_EQ(copy->ShowMask(), "(912) 345");
  copy.reset();
  EXPECT_EQ(CountedValidator::alive, 0);
}

struct NumCase {
  const char* name;
  const char* mask;
  char prompt;
  const char* data;  // raw
  double value;
};
void PrintTo(const NumCase& c, std::ostream* os) { *os << c.name; }

class DataNumValue : public ::testing::TestWithParam<NumCase> {};

// Prompt symbols read as blanks, so the value does not depend on which prompt the control shows.
TEST_P(DataNumValue, ReadsInputDataAsNumber) {
  const NumCase& c = GetParam();
  auto edit = Model(c.mask, c.data, c.prompt);
  double value = -999.0;
  EXPECT_TRUE(edit->GetDataNumValue(value));
  EXPECT_DOUBLE_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataNumValue,
    ::testing::Values(NumCase{"Plain", "&&&&&&", '_', "12.5", 12.5},
                      NumCase{"Empty", "&&&&&&", '_', "", 0.0},
                      NumCase{"LeadingUnderscorePrompts", "&&&&&&&&&&", '_', "__-1234.5", -1234.5},
                      NumCase{"LeadingSpacePrompts", "&&&&&&&&&&", ' ', "  -1234.5", -1234.5},
                      NumCase{"LetterPrompt", "&&&&&&", 'x', "xx42", 42.0},
                      NumCase{"LiteralsAreNotData", "$##.##", '_', "1250", 1250.0},
                      NumCase{"Unreadable", "??", '_', "ab", 0.0}),
    [](const ::testing::TestParamInfo<NumCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
