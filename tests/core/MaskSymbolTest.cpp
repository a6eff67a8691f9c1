// Mask position kinds: which are input positions, what each accepts, how it stores.
#include <gtest/gtest.h>

#include <string>

#include "core/KwMaskSymbol.h"

namespace {

struct AcceptCase {
  const char* name;
  int kind;
  std::string accepted;
  std::string refused;
};

class MaskSymbolAccepts : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(MaskSymbolAccepts, ByKind) {
  const AcceptCase& c = GetParam();
  const KwMaskSymbol symbol(c.kind, ' ');
  for (char ch : c.accepted)
    EXPECT_TRUE(symbol.AcceptsChar(ch)) << "0x" << std::hex << (static_cast<unsigned char>(ch) & 0xFF);
  for (char ch : c.refused)
    EXPECT_FALSE(symbol.AcceptsChar(ch)) << "0x" << std::hex << (static_cast<unsigned char>(ch) & 0xFF);
}

const std::string kHigh = "\x80\xA0\xC9\xE9\xFF";
const std::string kControl = std::string("\x00\x01\x09\x0A\x0D\x1F\x7F", 7);

INSTANTIATE_TEST_SUITE_P(
    Kinds, MaskSymbolAccepts,
    ::testing::Values(
        AcceptCase{"DecimalSeparator", KindDecimalSeparator, ".", ",5 a"},
        AcceptCase{"ThousandSeparator", KindThousandSeparator, "", ",.5a "},
        AcceptCase{"TimeSeparator", KindTimeSeparator, "", ":5a"},
        AcceptCase{"DateSeparator", KindDateSeparator, "", "/.5a"},
        AcceptCase{"Digit", KindDigit, "0123456789", "a Z.-+" + kHigh + kControl},
        AcceptCase{"Percent", KindPercent, "7.-+ 0", ",a$" + kHigh},
        AcceptCase{"Currency", KindCurrency, "7.-+ 9", ",a$" + kHigh},
        AcceptCase{"AlphaNumeric", KindAlphaNumeric, "09azAZ", " -_." + kHigh + kControl},
        AcceptCase{"Alpha", KindAlpha, "azAZmq", "05 -_" + kHigh},
        AcceptCase{"UpperAlpha", KindUpperAlpha, "aZq", "5 " + kHigh},
        AcceptCase{"LowerAlpha", KindLowerAlpha, "aZQ", "5 " + kHigh},
        // '~' (0x7E) is printable and taken like every other printable character.
        AcceptCase{"AnyChar", KindAnyChar, " }~!aZ09" + kHigh, kControl},
        AcceptCase{"EscapedLiteral", KindEscapedLiteral, "", "a5 ."},
        AcceptCase{"Literal", KindLiteral, "", "a5 ."}),
    [](const ::testing::TestParamInfo<AcceptCase>& info) { return std::string(info.param.name); });

TEST(MaskSymbol, InputKindsAreDigitToAnyChar) {
  for (int kind = KindDecimalSeparator; kind <= KindLiteral; ++kind) {
    const bool input = kind >= KindDigit && kind <= KindAnyChar;
    EXPECT_EQ(KwMaskSymbol(kind, 'x').IsInput(), input) << "kind " << kind;
  }
}

TEST(MaskSymbol, DefaultIsEmptyLiteral) {
  const KwMaskSymbol symbol;
  EXPECT_EQ(symbol.m_nKind, KindLiteral);
  EXPECT_EQ(symbol.m_chValue, '\0');
  EXPECT_FALSE(symbol.IsInput());
  for (int c = 0; c < 256; ++c) EXPECT_FALSE(symbol.AcceptsChar(static_cast<char>(c)));
}

TEST(MaskSymbol, TransformChangesCaseOnlyForCaseKinds) {
  EXPECT_EQ(KwMaskSymbol(KindUpperAlpha, ' ').TransformChar('q'), 'Q');
  EXPECT_EQ(KwMaskSymbol(KindUpperAlpha, ' ').TransformChar('Q'), 'Q');
  EXPECT_EQ(KwMaskSymbol(KindLowerAlpha, ' ').TransformChar('Q'), 'q');
  EXPECT_EQ(KwMaskSymbol(KindLowerAlpha, ' ').TransformChar('5'), '5');
  EXPECT_EQ(KwMaskSymbol(KindAlphaNumeric, ' ').TransformChar('q'), 'q');
  EXPECT_EQ(KwMaskSymbol(KindUpperAlpha, ' ').TransformChar('\xE9'), '\xE9') << "high bytes are not letters";
  EXPECT_EQ(KwMaskSymbol(KindLowerAlpha, ' ').TransformChar('\xC9'), '\xC9');
}

}  // namespace
