// The template matcher of KwValidator: class comparison of single characters, and matching of
// whole data against templates, including data and templates past the matcher's limits.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "validation/TemplateValidator.h"

namespace {

using kwtest::MatcherOnly;

struct CmpCase {
  const char* name;
  char data;
  char tmpl;
  int expected;
};

class CmpAlphaNumericChTest : public ::testing::TestWithParam<CmpCase> {};

TEST_P(CmpAlphaNumericChTest, ClassifiesThePair) {
  MatcherOnly v;
  EXPECT_EQ(v.CmpAlphaNumericCh(GetParam().data, GetParam().tmpl), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CmpAlphaNumericChTest,
    ::testing::Values(CmpCase{"LetterAgainstLetter", 'a', 'Z', 0}, CmpCase{"DigitAgainstDigit", '5', '0', 0},
                      CmpCase{"LetterAgainstDigit", 'a', '9', 1}, CmpCase{"DigitAgainstLetter", '3', 'x', 1},
                      CmpCase{"PunctuationAgainstLetter", '-', 'A', 1}, CmpCase{"TemplateEnded", 'a', '\0', 1},
                      CmpCase{"DataEnded", '\0', 'a', 1}, CmpCase{"DataEndedAgainstLiteral", '\0', '-', 1},
                      CmpCase{"OtherAgainstLiteral", '-', '/', 2}, CmpCase{"BothEnded", '\0', '\0', 2},
                      CmpCase{"DigitAgainstLiteral", '7', '-', 3}, CmpCase{"LetterAgainstLiteral", 'q', ' ', 3},
                      // Bytes 0x80-0xFF are neither letters nor digits, on either side.
                      CmpCase{"HighByteAgainstLetter", '\xE9', 'A', 1}, CmpCase{"HighByteAgainstDigit", '\xB2', '9', 1},
                      CmpCase{"HighByteAgainstLiteral", '\xE9', '-', 2}, CmpCase{"LetterAgainstHighByte", 'A', '\xC0', 3},
                      CmpCase{"HighByteAgainstHighByte", '\xFF', '\x80', 2}),
    [](const ::testing::TestParamInfo<CmpCase>& info) { return std::string(info.param.name); });

struct MatchCase {
  const char* name;
  std::string data;
  const char* tmpl;
  int expected;
  std::string result;  // data afterwards
};

class IsErrMatchTemplateTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(IsErrMatchTemplateTest, MatchesAndNormalises) {
  const MatchCase& c = GetParam();
  MatcherOnly v;
  std::string data = c.data;
  EXPECT_EQ(v.IsErrMatchTemplate(data, c.tmpl), c.expected);
  EXPECT_EQ(data, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsErrMatchTemplateTest,
    ::testing::Values(
        MatchCase{"LettersRaised", "ab12", "AA99", 0, "AB12"},
        MatchCase{"LiteralInserted", "1234", "99-99", 0, "12-34"},
        MatchCase{"SeparatorReplaced", "12/34", "99-99", 0, "12-34"},
        MatchCase{"TrailingSpacesIgnored", "12 34  ", "99 99", 0, "12 34"},
        MatchCase{"LiteralNotSuppliedAtEnd", "123", "999-", 4, "123"},
        MatchCase{"DataLongerThanTemplate", "12345", "9999", 5, "12345"},
        MatchCase{"LetterForDigit", "a1", "99", 1, "a1"},
        MatchCase{"WildcardRaises", "1a", "9?", 0, "1A"},
        MatchCase{"WildcardTakesPunctuation", "1-", "9?", 0, "1-"},
        MatchCase{"EmptyAgainstEmpty", "", "", 0, ""},
        MatchCase{"BlanksAgainstEmpty", "   ", "", 0, ""},
        MatchCase{"DataAgainstEmpty", "abc", "", 1, "abc"},
        MatchCase{"InnerSpaceKept", "A B ", "A A", 0, "A B"},
        MatchCase{"MismatchKeepsData", "ab1  ", "AAA", 3, "ab1  "},
        MatchCase{"TabNotTrimmed", "12\t", "99", 3, "12\t"},
        MatchCase{"LettersAnyValue", "xy123", "AA-999", 0, "XY-123"},
        MatchCase{"LettersWithSeparator", "xy.123", "AA-999", 0, "XY-123"},
        MatchCase{"DataEndsBeforeTemplate", "12", "999", 3, "12"},
        MatchCase{"HighByteIsNoLetter", "\xE9", "A", 1, "\xE9"},
        MatchCase{"HighByteReplacedByLiteral", "1\xE9" "2", "9-9", 0, "1-2"},
        MatchCase{"HighByteTakenByWildcard", "\xE9", "?", 0, "\xE9"},
        MatchCase{"NullTemplateIsEmpty", "  ", nullptr, 0, ""},
        // A wildcard after the data has ended is a mismatch one past the data.
        MatchCase{"WildcardAfterData", "1", "9?", 2, "1"},
        MatchCase{"WildcardOnEmptyData", "", "?", 1, ""},
        MatchCase{"WildcardAfterTrimmedData", "ab  ", "AA?", 3, "ab  "}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

// A template in a buffer of exactly its own size, so that a read past its NUL is caught by the
// address sanitizer.
std::unique_ptr<char[]> ExactTemplate(const std::string& text) {
  std::unique_ptr<char[]> buf(new char[text.size() + 1]);
  std::memcpy(buf.get(), text.c_str(), text.size() + 1);
  return buf;
}

TEST(IsErrMatchTemplateLimits, DataOf999CharactersIsMatched) {
  MatcherOnly v;
  std::string data(999, '7');
  auto tmpl = ExactTemplate(std::string(300, '9'));
  EXPECT_EQ(v.IsErrMatchTemplate(data, tmpl.get()), 0);
  EXPECT_EQ(data, std::string(254, '7'));
}

TEST(IsErrMatchTemplateLimits, DataLongerThan999IsAMismatchAt1000) {
  MatcherOnly v;
  for (std::size_t length : {1000u, 1001u, 5000u}) {
    std::string data(length, '7');
    const std::string before = data;
    auto tmpl = ExactTemplate(std::string(300, '9'));
    EXPECT_EQ(v.IsErrMatchTemplate(data, tmpl.get()), 1000) << length;
    EXPECT_EQ(data, before);
  }
  // The limit is on the data as given, trailing spaces included.
  std::string padded = std::string(990, '7') + std::string(10, ' ');
  EXPECT_EQ(v.IsErrMatchTemplate(padded, "9"), 1000);
}

TEST(IsErrMatchTemplateLimits, TemplateOf254IsMatchedToTheEnd) {
  MatcherOnly v;
  auto tmpl = ExactTemplate(std::string(254, '9'));
  std::string exact(254, '3');
  EXPECT_EQ(v.IsErrMatchTemplate(exact, tmpl.get()), 0);
  EXPECT_EQ(exact, std::string(254, '3'));
  std::string longer(255, '3');
  EXPECT_EQ(v.IsErrMatchTemplate(longer, tmpl.get()), 255);
}

struct LongTemplateCase {
  const char* name;
  std::string data;
  std::string tmpl;
  int expected;
  std::string result;
};

class LongTemplateTest : public ::testing::TestWithParam<LongTemplateCase> {};

// Past 254 characters a template is compared over its first 255 positions, without a test for
// the end of the data, and the result keeps 254 positions.
TEST_P(LongTemplateTest, ComparesThe255thPositionAndKeeps254) {
  const LongTemplateCase& c = GetParam();
  MatcherOnly v;
  std::string data = c.data;
  auto tmpl = ExactTemplate(c.tmpl);
  EXPECT_EQ(v.IsErrMatchTemplate(data, tmpl.get()), c.expected);
  EXPECT_EQ(data, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LongTemplateTest,
    ::testing::Values(
        LongTemplateCase{"DataBeyondIsDropped", std::string(300, '3'), std::string(300, '9'), 0, std::string(254, '3')},
        LongTemplateCase{"DataOf255Matches", std::string(255, '3'), std::string(255, '9'), 0, std::string(254, '3')},
        LongTemplateCase{"DataEndsAt255th", std::string(254, '3'), std::string(255, '9'), 255, std::string(254, '3')},
        LongTemplateCase{"WildcardAt255thAfterData", std::string(254, '3'), std::string(254, '9') + "?", 255,
                         std::string(254, '3')},
        LongTemplateCase{"LiteralAt255thBeforeDigit", std::string(260, '3'), std::string(254, '9') + "-99", 0,
                         std::string(254, '3')},
        LongTemplateCase{"MismatchAt255th", std::string(254, '3') + "x", std::string(256, '9'), 255,
                         std::string(254, '3') + "x"},
        LongTemplateCase{"LowerCaseRaised", std::string(300, 'b'), std::string(400, 'A'), 0, std::string(254, 'B')}),
    [](const ::testing::TestParamInfo<LongTemplateCase>& info) { return std::string(info.param.name); });

}  // namespace
