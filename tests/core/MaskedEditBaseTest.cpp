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

// UTF-16 units each position kind takes and refuses.
struct AcceptCase {
  const char* name;
  int kind;
  KwWString accepted;
  KwWString refused;
};
// By name: GoogleTest would otherwise print the bytes of the struct, padding included.
void PrintTo(const AcceptCase& c, std::ostream* os) { *os << c.name; }

class MaskSymbolAccepts : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(MaskSymbolAccepts, ByKind) {
  const AcceptCase& c = GetParam();
  const KwMaskSymbol symbol(c.kind, ' ');
  for (WCHAR ch : c.accepted)
    EXPECT_TRUE(symbol.AcceptsChar(ch)) << "U+" << std::hex << static_cast<unsigned>(ch);
  for (WCHAR ch : c.refused)
    EXPECT_FALSE(symbol.AcceptsChar(ch)) << "U+" << std::hex << static_cast<unsigned>(ch);
}

// Letters of other scripts ('É', 'é', 'ł', 'Ж', 'あ'), decimal digits of other scripts
// (full-width '１', Arabic-Indic '١'), printable non-letters (no-break space, '€', U+202F),
// control characters of both ranges, and the halves of a surrogate pair.
const KwWString kLetters = KW_W("\u00C9\u00E9\u0142\u0416\u3042");
const KwWString kDigits = KW_W("\uFF11\u0661");
const KwWString kSymbols = KW_W("\u00A0\u20AC\u202F");
const KwWString kControl =
    KwWString(KW_W("\u0000\u0001\u0009\u000A\u000D\u001F\u007F\u0080\u009F"), 9);
const KwWString kHalves = {WCHAR(0xD83D), WCHAR(0xDE00)};

INSTANTIATE_TEST_SUITE_P(
    Kinds, MaskSymbolAccepts,
    ::testing::Values(
        AcceptCase{"DecimalSeparator", KindDecimalSeparator, KW_W("."), KW_W(",5 a") + kDigits},
        AcceptCase{"ThousandSeparator", KindThousandSeparator, KW_W(""), KW_W(",.5a ") + kSymbols},
        AcceptCase{"TimeSeparator", KindTimeSeparator, KW_W(""), KW_W(":5a")},
        AcceptCase{"DateSeparator", KindDateSeparator, KW_W(""), KW_W("/.5a")},
        AcceptCase{"Digit", KindDigit, KW_W("0123456789") + kDigits,
                   KW_W("a Z.-+") + kLetters + kSymbols + kControl + kHalves},
        AcceptCase{"Percent", KindPercent, KW_W("7.-+ 0") + kDigits,
                   KW_W(",a$") + kLetters + kHalves},
        AcceptCase{"Currency", KindCurrency, KW_W("7.-+ 9") + kDigits,
                   KW_W(",a$") + kLetters + kHalves},
        AcceptCase{"AlphaNumeric", KindAlphaNumeric, KW_W("09azAZ") + kLetters + kDigits,
                   KW_W(" -_.") + kSymbols + kControl + kHalves},
        AcceptCase{"Alpha", KindAlpha, KW_W("azAZmq") + kLetters,
                   KW_W("05 -_") + kDigits + kSymbols + kHalves},
        AcceptCase{"UpperAlpha", KindUpperAlpha, KW_W("aZq") + kLetters,
                   KW_W("5 ") + kDigits + kHalves},
        AcceptCase{"LowerAlpha", KindLowerAlpha, KW_W("aZQ") + kLetters,
                   KW_W("5 ") + kDigits + kHalves},
        // '~' (0x7E) is printable and taken like every other printable character.
        AcceptCase{"AnyChar", KindAnyChar, KW_W(" }~!aZ09") + kLetters + kDigits + kSymbols,
                   kControl + kHalves},
        AcceptCase{"EscapedLiteral", KindEscapedLiteral, KW_W(""), KW_W("a5 .")},
        AcceptCase{"Literal", KindLiteral, KW_W(""), KW_W("a5 .")}),
    [](const ::testing::TestParamInfo<AcceptCase>& info) { return std::string(info.param.name); });

TEST(MaskSymbol, InputKindsAreDigitToAnyChar) {
  for (int kind = KindDecimalSeparator; kind <= KindLiteral; ++kind)
    EXPECT_EQ(KwMaskSymbol(kind, 'x').IsInput(), kind >= KindDigit && kind <= KindAnyChar)
        << "kind " << kind;
}

// Only the case kinds change case, of the letters of every script ('ß' has no one-character
// upper case and stays); the digit kinds store the ASCII digit of a digit of another script,
// the any-character kind what was typed.
TEST(MaskSymbol, TransformChangesCaseOnlyForCaseKindsAndDigitsToAscii) {
  const struct {
    int kind;
    WCHAR in, out;
  } rows[] = {{KindUpperAlpha, 'q', 'Q'},       {KindLowerAlpha, 'Q', 'q'},
              {KindAlphaNumeric, 'q', 'q'},     {KindUpperAlpha, 0xE9, 0xC9},
              {KindLowerAlpha, 0xC9, 0xE9},     {KindUpperAlpha, 0x0142, 0x0141},
              {KindLowerAlpha, 0x0416, 0x0436}, {KindUpperAlpha, 0xDF, 0xDF},
              {KindAlpha, 0xE9, 0xE9},          {KindDigit, 0xFF11, '1'},
              {KindCurrency, 0x0661, '1'},      {KindAlphaNumeric, 0xFF15, '5'},
              {KindAnyChar, 0xFF11, 0xFF11},    {KindUpperAlpha, 0x3042, 0x3042}};
  for (const auto& r : rows)
    EXPECT_EQ(KwMaskSymbol(r.kind, ' ').TransformChar(r.in), r.out)
        << "kind " << r.kind << " U+" << std::hex << static_cast<unsigned>(r.in);
}

TEST(LocaleSeparators, UnknownTypeFallsBackToQuestionMark) {
  EXPECT_EQ(GetLocaleSeparator(0x7777), WCHAR('?'));
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
