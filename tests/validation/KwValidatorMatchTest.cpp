// The template matcher of KwValidator: single characters by class, and whole data against
// templates, including data and templates past the matcher's limits.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/KwValidator.h"
#include "host/ModelProbe.h"

namespace {

using MatcherOnly = kwhost::TemplateMatcher;

TEST(CmpAlphaNumericCh, ClassifiesThePair) {
  struct Row {
    const char* name;
    char data, tmpl;
    int expected;
  };
  const Row rows[] = {{"LetterLetter", 'a', 'Z', 0},
                      {"DigitDigit", '5', '0', 0},
                      {"LetterDigit", 'a', '9', 1},
                      {"DigitLetter", '3', 'x', 1},
                      {"OtherLetter", '-', 'A', 1},
                      {"TemplateEnded", 'a', '\0', 1},
                      {"DataEnded", '\0', 'a', 1},
                      {"DataEndedLiteral", '\0', '-', 1},
                      {"OtherLiteral", '-', '/', 2},
                      {"BothEnded", '\0', '\0', 2},
                      {"DigitLiteral", '7', '-', 3},
                      {"LetterLiteral", 'q', ' ', 3},
                      // The neighbours of the letter ranges are no letters.
                      {"AfterZIsNoLetter", '{', 'A', 1},
                      {"AfterCapitalZIsNoLetter", '[', 'A', 1},
                      {"BeforeCapitalAIsNoLetter", '@', 'A', 1},
                      {"LiteralAfterZ", 'a', '{', 3},
                      // Bytes 0x80-0xFF are neither letters nor digits, on either side.
                      {"HighLetter", '\xE9', 'A', 1},
                      {"HighDigit", '\xB2', '9', 1},
                      {"HighLiteral", '\xE9', '-', 2},
                      {"LetterHigh", 'A', '\xC0', 3},
                      {"HighHigh", '\xFF', '\x80', 2}};
  MatcherOnly v;
  for (const Row& r : rows) EXPECT_EQ(v.CmpAlphaNumericCh(r.data, r.tmpl), r.expected) << r.name;
}

TEST(IsErrMatchTemplate, MatchesAndNormalises) {
  const std::string d254(254, '3'), d999(999, '7'), d1000(1000, '7');
  struct Row {
    const char* name;
    std::string data, tmpl;
    int expected;
    std::string result;
  };
  const Row rows[] = {
      {"LettersRaised", "ab12", "AA99", 0, "AB12"},
      {"LiteralInserted", "1234", "99-99", 0, "12-34"},
      {"SeparatorReplaced", "xy.123", "AA-999", 0, "XY-123"},
      {"TrailingSpacesIgnored", "A B  ", "A A", 0, "A B"},
      {"LiteralNotSuppliedAtEnd", "123", "999-", 4, "123"},
      {"DataLonger", "12345", "9999", 5, "12345"},
      {"DataEndsBeforeTemplate", "12", "999", 3, "12"},
      {"LetterForDigit", "a1", "99", 1, "a1"},
      {"WildcardRaises", "1a", "9?", 0, "1A"},
      {"WildcardRaisesOnlyLetters", "z{`", "???", 0, "Z{`"},
      {"WildcardTakesAnything", "-\xE9", "??", 0, "-\xE9"},
      {"BlanksAgainstEmpty", "   ", "", 0, ""},
      {"DataAgainstEmpty", "abc", "", 1, "abc"},
      {"MismatchKeepsData", "ab1  ", "AAA", 3, "ab1  "},
      {"TabNotTrimmed", "12\t", "99", 3, "12\t"},
      {"HighByteIsNoLetter", "\xE9", "A", 1, "\xE9"},
      {"HighByteReplacedByLiteral",
       "1\xE9"
       "2",
       "9-9", 0, "1-2"},
      // A wildcard after the data has ended is a mismatch one past the data.
      {"WildcardAfterData", "1", "9?", 2, "1"},
      {"WildcardOnEmptyData", "", "?", 1, ""},
      {"WildcardAfterTrimmedData", "ab  ", "AA?", 3, "ab  "},
      // Data of up to 999 characters is matched; longer data is a mismatch at 1000 and left as
      // given (trailing spaces count towards the limit).
      {"DataOf999", d999, std::string(300, '9'), 0, std::string(254, '7')},
      {"DataOf1000", d1000, std::string(300, '9'), 1000, d1000},
      {"PaddedTo1000", std::string(990, '7') + std::string(10, ' '), "9", 1000,
       std::string(990, '7') + std::string(10, ' ')},
      // A template of 254 is matched to its end.
      {"Template254", d254, std::string(254, '9'), 0, d254},
      {"Template254DataLonger", d254 + "3", std::string(254, '9'), 255, d254 + "3"},
      // Past 254 a template is compared over its first 255 positions, without a test for the
      // end of the data, and the result keeps 254 positions.
      {"LongDataOf255", d254 + "3", std::string(255, '9'), 0, d254},
      {"LongDataEndsAt255th", d254, std::string(255, '9'), 255, d254},
      {"LongWildcardAt255thAfterData", d254, std::string(254, '9') + "?", 255, d254},
      {"LongLiteralAt255th", std::string(260, '3'), std::string(254, '9') + "-99", 0, d254},
      {"LongMismatchAt255th", d254 + "x", std::string(256, '9'), 255, d254 + "x"},
      {"LongLowerCaseRaised", std::string(300, 'b'), std::string(400, 'A'), 0,
       std::string(254, 'B')}};
  MatcherOnly v;
  for (const Row& r : rows) {
    // The template in a buffer of exactly its own size: a read past its end trips the sanitizer.
    std::unique_ptr<char[]> tmpl(new char[r.tmpl.size() + 1]);
    std::memcpy(tmpl.get(), r.tmpl.c_str(), r.tmpl.size() + 1);
    std::string data = r.data;
    EXPECT_EQ(v.IsErrMatchTemplate(data, tmpl.get()), r.expected) << r.name;
    EXPECT_EQ(data, r.result) << r.name;
  }
  std::string blanks = "  ";  // a null template is the empty template
  EXPECT_EQ(v.IsErrMatchTemplate(blanks, nullptr), 0);
  EXPECT_EQ(blanks, "");
}

}  // namespace
