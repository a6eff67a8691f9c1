// Character kinds for every script: representative characters of many scripts against what the
// Unicode Character Database says of them, the kinds of mask positions over them, and the UTF-16
// rules (a pair taken whole, a lone surrogate refused). The same answers on every build.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/KwCharKind.h"
#include "core/KwMaskSymbol.h"

namespace kwtest {
namespace {

std::string Hex(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

// --- Properties of characters of many scripts -------------------------------------------------

struct CharCase {
  const char* name;
  char32_t ch;
  KwCharCategory category;
  bool letter;
  int digit;  // -1: not a decimal digit
  bool printable;
};
void PrintTo(const CharCase& c, std::ostream* os) { *os << c.name << " " << Hex(c.ch); }

class CharProperties : public ::testing::TestWithParam<CharCase> {};

TEST_P(CharProperties, AsTheDatabaseSays) {
  const CharCase& c = GetParam();
  EXPECT_EQ(KwCharKind::Category(c.ch), c.category);
  EXPECT_EQ(KwCharKind::IsLetter(c.ch), c.letter);
  EXPECT_EQ(KwCharKind::DigitValue(c.ch), c.digit);
  EXPECT_EQ(KwCharKind::IsPrintable(c.ch), c.printable);
}

constexpr bool kLetter = true, kPrintable = true, kNo = false;

INSTANTIATE_TEST_SUITE_P(
    Letters, CharProperties,
    ::testing::Values(
        CharCase{"LatinCapital", U'A', CategoryLu, kLetter, -1, kPrintable},
        CharCase{"LatinSmall", U'z', CategoryLl, kLetter, -1, kPrintable},
        CharCase{"PolishL", U'ł', CategoryLl, kLetter, -1, kPrintable},
        CharCase{"EAcute", U'é', CategoryLl, kLetter, -1, kPrintable},
        CharCase{"Feminine", U'ª', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Micro", U'µ', CategoryLl, kLetter, -1, kPrintable},
        CharCase{"Titlecase", U'ǅ', CategoryLt, kLetter, -1, kPrintable},
        CharCase{"Modifier", U'ʰ', CategoryLm, kLetter, -1, kPrintable},
        CharCase{"Greek", U'Ω', CategoryLu, kLetter, -1, kPrintable},
        CharCase{"Cyrillic", U'ж', CategoryLl, kLetter, -1, kPrintable},
        CharCase{"CyrillicCapital", U'Ж', CategoryLu, kLetter, -1, kPrintable},
        CharCase{"Armenian", U'Ա', CategoryLu, kLetter, -1, kPrintable},
        CharCase{"Hebrew", U'א', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Arabic", U'ب', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Devanagari", U'क', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Thai", U'ก', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Georgian", U'ა', CategoryLl, kLetter, -1, kPrintable},
        CharCase{"Cherokee", U'Ꭰ', CategoryLu, kLetter, -1, kPrintable},
        CharCase{"Ethiopic", U'ሀ', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Hiragana", U'あ', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Katakana", U'ア', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"HalfWidthKatakana", U'ｱ', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"IterationMark", U'々', CategoryLm, kLetter, -1, kPrintable},
        // The database gives the ideographs and syllables as ranges (first and last only).
        CharCase{"IdeographFirst", 0x4E00, CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Ideograph", U'中', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"HangulSyllable", U'한', CategoryLo, kLetter, -1, kPrintable},
        CharCase{"HangulLast", 0xD7A3, CategoryLo, kLetter, -1, kPrintable},
        CharCase{"AfterHangul", 0xD7A4, CategoryCn, kNo, -1, kNo},
        CharCase{"IdeographExtensionB", 0x20000, CategoryLo, kLetter, -1, kPrintable},
        CharCase{"IdeographExtensionG", 0x3134A, CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Gothic", 0x10330, CategoryLo, kLetter, -1, kPrintable},
        CharCase{"Deseret", 0x10400, CategoryLu, kLetter, -1, kPrintable},
        CharCase{"Adlam", 0x1E900, CategoryLu, kLetter, -1, kPrintable},
        CharCase{"MathBoldA", 0x1D400, CategoryLu, kLetter, -1, kPrintable}),
    [](const ::testing::TestParamInfo<CharCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Digits, CharProperties,
    ::testing::Values(CharCase{"Zero", U'0', CategoryNd, kNo, 0, kPrintable},
                      CharCase{"Nine", U'9', CategoryNd, kNo, 9, kPrintable},
                      CharCase{"FullWidthOne", U'１', CategoryNd, kNo, 1, kPrintable},
                      CharCase{"FullWidthNine", U'９', CategoryNd, kNo, 9, kPrintable},
                      CharCase{"ArabicIndicZero", U'٠', CategoryNd, kNo, 0, kPrintable},
                      CharCase{"ArabicIndicOne", U'١', CategoryNd, kNo, 1, kPrintable},
                      CharCase{"PersianFive", U'۵', CategoryNd, kNo, 5, kPrintable},
                      CharCase{"DevanagariOne", U'१', CategoryNd, kNo, 1, kPrintable},
                      CharCase{"BengaliThree", U'৩', CategoryNd, kNo, 3, kPrintable},
                      CharCase{"ThaiNine", U'๙', CategoryNd, kNo, 9, kPrintable},
                      CharCase{"TibetanTwo", U'༢', CategoryNd, kNo, 2, kPrintable},
                      CharCase{"MyanmarFour", U'၄', CategoryNd, kNo, 4, kPrintable},
                      CharCase{"MathBoldOne", 0x1D7CF, CategoryNd, kNo, 1, kPrintable},
                      CharCase{"AdlamSeven", 0x1E957, CategoryNd, kNo, 7, kPrintable},
                      // Numbers that are not decimal digits.
                      CharCase{"Superscript", U'²', CategoryNo, kNo, -1, kPrintable},
                      CharCase{"Half", U'½', CategoryNo, kNo, -1, kPrintable},
                      CharCase{"CircledOne", U'①', CategoryNo, kNo, -1, kPrintable},
                      CharCase{"RomanFour", U'Ⅳ', CategoryNl, kNo, -1, kPrintable},
                      CharCase{"IdeographicZero", U'〇', CategoryNl, kNo, -1, kPrintable},
                      CharCase{"IdeographOne", U'一', CategoryLo, kLetter, -1, kPrintable},
                      CharCase{"ArabicDecimalSeparator", U'٫', CategoryPo, kNo, -1, kPrintable}),
    [](const ::testing::TestParamInfo<CharCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Others, CharProperties,
    ::testing::Values(CharCase{"Space", U' ', CategoryZs, kNo, -1, kPrintable},
                      CharCase{"Tilde", U'~', CategorySm, kNo, -1, kPrintable},
                      CharCase{"Nul", 0x0000, CategoryCc, kNo, -1, kNo},
                      CharCase{"Tab", U'\t', CategoryCc, kNo, -1, kNo},
                      CharCase{"Delete", 0x007F, CategoryCc, kNo, -1, kNo},
                      CharCase{"NextLine", 0x0085, CategoryCc, kNo, -1, kNo},
                      CharCase{"NoBreakSpace", 0x00A0, CategoryZs, kNo, -1, kPrintable},
                      CharCase{"SoftHyphen", 0x00AD, CategoryCf, kNo, -1, kPrintable},
                      CharCase{"Euro", U'€', CategorySc, kNo, -1, kPrintable},
                      CharCase{"RightQuote", 0x2019, CategoryPf, kNo, -1, kPrintable},
                      CharCase{"NarrowNoBreakSpace", 0x202F, CategoryZs, kNo, -1, kPrintable},
                      CharCase{"IdeographicSpace", 0x3000, CategoryZs, kNo, -1, kPrintable},
                      CharCase{"CombiningAcute", 0x0301, CategoryMn, kNo, -1, kPrintable},
                      CharCase{"DevanagariVowelSign", 0x093F, CategoryMc, kNo, -1, kPrintable},
                      CharCase{"ZeroWidthSpace", 0x200B, CategoryCf, kNo, -1, kNo},
                      CharCase{"ZeroWidthNonJoiner", 0x200C, CategoryCf, kNo, -1, kPrintable},
                      CharCase{"ZeroWidthJoiner", 0x200D, CategoryCf, kNo, -1, kPrintable},
                      CharCase{"LeftToRightMark", 0x200E, CategoryCf, kNo, -1, kNo},
                      CharCase{"RightToLeftOverride", 0x202E, CategoryCf, kNo, -1, kNo},
                      CharCase{"LeftToRightIsolate", 0x2066, CategoryCf, kNo, -1, kNo},
                      CharCase{"ByteOrderMark", 0xFEFF, CategoryCf, kNo, -1, kNo},
                      CharCase{"TagLetterA", 0xE0041, CategoryCf, kNo, -1, kNo},
                      CharCase{"LineSeparator", 0x2028, CategoryZl, kNo, -1, kNo},
                      CharCase{"ParagraphSeparator", 0x2029, CategoryZp, kNo, -1, kNo},
                      CharCase{"HighSurrogate", 0xD800, CategoryCs, kNo, -1, kNo},
                      CharCase{"LowSurrogate", 0xDFFF, CategoryCs, kNo, -1, kNo},
                      CharCase{"PrivateUse", 0xE000, CategoryCo, kNo, -1, kPrintable},
                      CharCase{"PrivateUseLast", 0xF8FF, CategoryCo, kNo, -1, kPrintable},
                      CharCase{"PlaneFifteenPrivateUse", 0xF0000, CategoryCo, kNo, -1, kPrintable},
                      CharCase{"PlaneSixteenPrivateUse", 0x10FFFD, CategoryCo, kNo, -1, kPrintable},
                      CharCase{"Replacement", 0xFFFD, CategorySo, kNo, -1, kPrintable},
                      CharCase{"Emoji", 0x1F600, CategorySo, kNo, -1, kPrintable},
                      CharCase{"Unassigned", 0x0378, CategoryCn, kNo, -1, kNo},
                      CharCase{"NoncharacterFFFE", 0xFFFE, CategoryCn, kNo, -1, kNo},
                      CharCase{"NoncharacterFDD0", 0xFDD0, CategoryCn, kNo, -1, kNo},
                      CharCase{"NoncharacterLast", 0x10FFFF, CategoryCn, kNo, -1, kNo},
                      CharCase{"BeyondUnicode", 0x110000, CategoryCn, kNo, -1, kNo},
                      CharCase{"AllBits", 0xFFFFFFFF, CategoryCn, kNo, -1, kNo}),
    [](const ::testing::TestParamInfo<CharCase>& info) { return std::string(info.param.name); });

// --- Case mappings ----------------------------------------------------------------------------

struct CaseCase {
  const char* name;
  char32_t ch;
  char32_t upper;
  char32_t lower;
};
void PrintTo(const CaseCase& c, std::ostream* os) { *os << c.name << " " << Hex(c.ch); }

class CaseMapping : public ::testing::TestWithParam<CaseCase> {};

TEST_P(CaseMapping, SimpleMappings) {
  const CaseCase& c = GetParam();
  EXPECT_EQ(Hex(KwCharKind::ToUpper(c.ch)), Hex(c.upper));
  EXPECT_EQ(Hex(KwCharKind::ToLower(c.ch)), Hex(c.lower));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaseMapping,
    ::testing::Values(
        CaseCase{"Ascii", U'a', U'A', U'a'}, CaseCase{"AsciiCapital", U'Q', U'Q', U'q'},
        CaseCase{"Digit", U'1', U'1', U'1'}, CaseCase{"PolishL", U'ł', U'Ł', U'ł'},
        CaseCase{"EAcute", U'é', U'É', U'é'}, CaseCase{"Cyrillic", U'ж', U'Ж', U'ж'},
        CaseCase{"CyrillicCapital", U'Ж', U'Ж', U'ж'}, CaseCase{"Greek", U'ω', U'Ω', U'ω'},
        CaseCase{"FinalSigma", U'ς', U'Σ', U'ς'}, CaseCase{"Armenian", U'ա', U'Ա', U'ա'},
        // No one-character upper case: stays as it is.
        CaseCase{"SharpS", U'ß', U'ß', U'ß'}, CaseCase{"CapitalSharpS", U'ẞ', U'ẞ', U'ß'},
        CaseCase{"LigatureFF", U'ﬀ', U'ﬀ', U'ﬀ'}, CaseCase{"NApostrophe", U'ŉ', U'ŉ', U'ŉ'},
        // Mappings that leave their block or their neighbourhood.
        CaseCase{"YDiaeresis", U'ÿ', U'Ÿ', U'ÿ'}, CaseCase{"DotlessI", U'ı', U'I', U'ı'},
        CaseCase{"DottedCapitalI", U'İ', U'İ', U'i'}, CaseCase{"LongS", U'ſ', U'S', U'ſ'},
        CaseCase{"Titlecase", U'ǅ', U'Ǆ', U'ǆ'}, CaseCase{"GeorgianToMtavruli", U'ა', U'Ა', U'ა'},
        CaseCase{"CherokeeSmall", U'ꭰ', U'Ꭰ', U'ꭰ'},
        CaseCase{"CircledLetter", U'Ⓐ', U'Ⓐ', U'ⓐ'},
        CaseCase{"DeseretSmall", 0x10428, 0x10400, 0x10428},
        CaseCase{"AdlamCapital", 0x1E900, 0x1E900, 0x1E922},
        CaseCase{"Uncased", U'あ', U'あ', U'あ'}, CaseCase{"Emoji", 0x1F600, 0x1F600, 0x1F600},
        CaseCase{"Surrogate", 0xD800, 0xD800, 0xD800},
        CaseCase{"BeyondUnicode", 0x110000, 0x110000, 0x110000}),
    [](const ::testing::TestParamInfo<CaseCase>& info) { return std::string(info.param.name); });

// --- Over every code point ----------------------------------------------------------------------

TEST(CharKindEveryCodePoint, DecimalDigitsComeInRunsOfZeroToNine) {
  // The database guarantees that the decimal digits of a script are ten consecutive code points
  // from zero to nine; a table that lost or shifted one breaks a run.
  int zeros = 0, digits = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const int value = KwCharKind::DigitValue(c);
    if (value < 0) continue;
    ++digits;
    if (value != 0) continue;
    ++zeros;
    for (int k = 1; k <= 9; ++k)
      ASSERT_EQ(KwCharKind::DigitValue(c + k), k) << "the run of " << Hex(c);
  }
  EXPECT_GE(zeros, 60) << "the digit runs of dozens of scripts";
  EXPECT_EQ(digits, zeros * 10);
}

TEST(CharKindEveryCodePoint, AnswersAgreeWithEachOther) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const KwCharCategory category = KwCharKind::Category(c);
    const bool letter = category <= CategoryLo;
    ASSERT_EQ(KwCharKind::IsLetter(c), letter) << Hex(c);
    ASSERT_EQ(KwCharKind::DigitValue(c) >= 0, category == CategoryNd) << Hex(c);
    if (letter || category == CategoryNd || category == CategoryCo || category == CategoryZs) {
      ASSERT_TRUE(KwCharKind::IsPrintable(c)) << Hex(c);
    }
    if (category == CategoryCs || category == CategoryCn || category == CategoryCc) {
      ASSERT_FALSE(KwCharKind::IsPrintable(c)) << Hex(c);
    }
    // A mapping keeps the length in UTF-16 units, so it never splits or joins a position.
    ASSERT_EQ(KwCharKind::Utf16Length(KwCharKind::ToUpper(c)), KwCharKind::Utf16Length(c))
        << Hex(c);
    ASSERT_EQ(KwCharKind::Utf16Length(KwCharKind::ToLower(c)), KwCharKind::Utf16Length(c))
        << Hex(c);
  }
}

// --- Every code point against UnicodeData.txt, read here independently of the generator -------

// The database's file, where the build machine has it (Debian's unicode-data). Under Wine the
// machine's root is drive Z:.
FILE* OpenUnicodeData() {
  for (const char* path :
       {"/usr/share/unicode/UnicodeData.txt", "Z:\\usr\\share\\unicode\\UnicodeData.txt"}) {
    if (FILE* f = std::fopen(path, "r")) return f;
  }
  return nullptr;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char ch : line) {
    if (ch == ';')
      fields.emplace_back();
    else if (ch != '\r' && ch != '\n')
      fields.back() += ch;
  }
  return fields;
}

TEST(CharKindDatabase, EveryCodePointAsUnicodeDataSays) {
  FILE* file = OpenUnicodeData();
  if (!file)
    GTEST_SKIP() << "/usr/share/unicode/UnicodeData.txt is not installed "
                    "(tools/setup.sh unicode installs it)";
  static const char* const kNames[] = {"Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl",
                                       "No", "Pc", "Pd", "Ps", "Pe", "Pi", "Pf", "Po", "Sm", "Sc",
                                       "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf", "Cs", "Co", "Cn"};
  char32_t next = 0, first = 0;
  int checked = 0;
  // Code points the file leaves out are unassigned.
  auto unassigned_up_to = [&](char32_t end) {
    for (; next < end; ++next) ASSERT_EQ(KwCharKind::Category(next), CategoryCn) << Hex(next);
  };
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, file)) {
    const std::vector<std::string> f = Fields(buffer);
    ASSERT_EQ(f.size(), 15u) << buffer;
    const char32_t cp = static_cast<char32_t>(std::stoul(f[0], nullptr, 16));
    if (f[1].find(", First>") != std::string::npos) {
      first = cp;
      continue;
    }
    const bool range = f[1].find(", Last>") != std::string::npos;
    unassigned_up_to(range ? first : cp);
    const int digit = f[6].empty() ? -1 : std::stoi(f[6]);
    for (char32_t c = range ? first : cp; c <= cp; ++c, ++next, ++checked) {
      const char32_t upper =
          f[12].empty() ? c : static_cast<char32_t>(std::stoul(f[12], nullptr, 16));
      const char32_t lower =
          f[13].empty() ? c : static_cast<char32_t>(std::stoul(f[13], nullptr, 16));
      ASSERT_STREQ(kNames[KwCharKind::Category(c)], f[2].c_str()) << Hex(c);
      ASSERT_EQ(KwCharKind::IsLetter(c), f[2][0] == 'L') << Hex(c);
      ASSERT_EQ(KwCharKind::DigitValue(c), digit) << Hex(c);
      ASSERT_EQ(Hex(KwCharKind::ToUpper(c)), Hex(upper)) << Hex(c);
      ASSERT_EQ(Hex(KwCharKind::ToLower(c)), Hex(lower)) << Hex(c);
    }
  }
  std::fclose(file);
  unassigned_up_to(0x110000);
  EXPECT_GT(checked, 280000) << "the ranges of ideographs and syllables are expanded";
}

// --- Kinds of mask positions ------------------------------------------------------------------

struct KindCase {
  const char* name;
  int kind;
  char32_t ch;
  bool fits;
  char32_t stored;  // when it fits
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name << " " << Hex(c.ch); }

class PositionKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(PositionKind, FitsAndStoredForm) {
  const KindCase& c = GetParam();
  EXPECT_EQ(KwCharKind::Fits(c.kind, c.ch), c.fits);
  if (c.fits) {
    EXPECT_EQ(Hex(KwCharKind::StoredForm(c.kind, c.ch)), Hex(c.stored));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PositionKind,
    ::testing::Values(
        KindCase{"DigitAscii", KindDigit, U'5', true, U'5'},
        KindCase{"DigitFullWidth", KindDigit, U'１', true, U'1'},
        KindCase{"DigitArabicIndic", KindDigit, U'١', true, U'1'},
        KindCase{"DigitPersian", KindDigit, U'۹', true, U'9'},
        KindCase{"DigitDevanagari", KindDigit, U'१', true, U'1'},
        KindCase{"DigitMathBold", KindDigit, 0x1D7CF, true, U'1'},
        KindCase{"DigitRefusesSuperscript", KindDigit, U'²', false, 0},
        KindCase{"DigitRefusesLetter", KindDigit, U'a', false, 0},
        KindCase{"DigitRefusesIdeographOne", KindDigit, U'一', false, 0},
        KindCase{"PercentArabicIndic", KindPercent, U'٣', true, U'3'},
        KindCase{"PercentSign", KindPercent, U'-', true, U'-'},
        KindCase{"PercentRefusesNoBreakSpace", KindPercent, 0x00A0, false, 0},
        KindCase{"CurrencyFullWidth", KindCurrency, U'０', true, U'0'},
        KindCase{"CurrencySpace", KindCurrency, U' ', true, U' '},
        KindCase{"AlphaNumericLetter", KindAlphaNumeric, U'ł', true, U'ł'},
        KindCase{"AlphaNumericDigit", KindAlphaNumeric, U'٣', true, U'3'},
        KindCase{"AlphaNumericRefusesMark", KindAlphaNumeric, 0x0301, false, 0},
        KindCase{"AlphaNumericRefusesEmoji", KindAlphaNumeric, 0x1F600, false, 0},
        KindCase{"AlphaCyrillic", KindAlpha, U'ж', true, U'ж'},
        KindCase{"AlphaHiragana", KindAlpha, U'あ', true, U'あ'},
        KindCase{"AlphaKeepsCase", KindAlpha, U'É', true, U'É'},
        KindCase{"AlphaSupplementary", KindAlpha, 0x10428, true, 0x10428},
        KindCase{"AlphaRefusesDigit", KindAlpha, U'١', false, 0},
        KindCase{"AlphaRefusesEmoji", KindAlpha, 0x1F600, false, 0},
        KindCase{"AlphaRefusesLoneSurrogate", KindAlpha, 0xD83D, false, 0},
        KindCase{"UpperCyrillic", KindUpperAlpha, U'ж', true, U'Ж'},
        KindCase{"UpperPolish", KindUpperAlpha, U'ł', true, U'Ł'},
        KindCase{"UpperSharpSStays", KindUpperAlpha, U'ß', true, U'ß'},
        KindCase{"UpperTitlecase", KindUpperAlpha, U'ǅ', true, U'Ǆ'},
        KindCase{"UpperSupplementary", KindUpperAlpha, 0x10428, true, 0x10400},
        KindCase{"UpperUncased", KindUpperAlpha, U'あ', true, U'あ'},
        KindCase{"LowerCyrillic", KindLowerAlpha, U'Ж', true, U'ж'},
        KindCase{"LowerDottedI", KindLowerAlpha, U'İ', true, U'i'},
        KindCase{"LowerCapitalSharpS", KindLowerAlpha, U'ẞ', true, U'ß'},
        KindCase{"AnyKeepsFullWidthDigit", KindAnyChar, U'１', true, U'１'},
        KindCase{"AnyEmoji", KindAnyChar, 0x1F600, true, 0x1F600},
        KindCase{"AnyNarrowNoBreakSpace", KindAnyChar, 0x202F, true, 0x202F},
        KindCase{"AnyRefusesOverride", KindAnyChar, 0x202E, false, 0},
        KindCase{"AnyRefusesLoneSurrogate", KindAnyChar, 0xDC00, false, 0},
        KindCase{"AnyRefusesNextLine", KindAnyChar, 0x0085, false, 0},
        KindCase{"DecimalSeparatorDot", KindDecimalSeparator, U'.', true, U'.'},
        KindCase{"DecimalSeparatorRefusesFullWidthDot", KindDecimalSeparator, U'．', false, 0},
        KindCase{"ThousandSeparatorTakesNothing", KindThousandSeparator, U',', false, 0},
        KindCase{"LiteralTakesNothing", KindLiteral, U'a', false, 0},
        KindCase{"EscapedLiteralTakesNothing", KindEscapedLiteral, U'a', false, 0},
        KindCase{"UnknownKind", 99, U'a', false, 0}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(PositionKindAscii, KeepsTheClassicAnswers) {
  // Hosts that type ASCII see the kinds they always had.
  for (int kind = KindDecimalSeparator; kind <= KindLiteral; ++kind) {
    const KwMaskSymbol symbol(kind, 0);
    for (int c = 0; c < 0x80; ++c) {
      ASSERT_EQ(KwCharKind::Fits(kind, static_cast<char32_t>(c)),
                symbol.AcceptsChar(static_cast<char>(c)))
          << "kind " << kind << " " << Hex(static_cast<char32_t>(c));
      if (symbol.AcceptsChar(static_cast<char>(c))) {
        ASSERT_EQ(KwCharKind::StoredForm(kind, static_cast<char32_t>(c)),
                  static_cast<char32_t>(symbol.TransformChar(static_cast<char>(c))))
            << "kind " << kind << " " << Hex(static_cast<char32_t>(c));
      }
    }
  }
}

// --- UTF-16 -----------------------------------------------------------------------------------

struct TextCase {
  const char* name;
  std::u16string text;
  std::size_t at;
  char32_t ch;
  int units;  // 0: nothing to take
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class CharInText : public ::testing::TestWithParam<TextCase> {};

TEST_P(CharInText, PairsWholeLoneSurrogatesRefused) {
  const TextCase& c = GetParam();
  const KwTextChar got = KwCharKind::CharAt(c.text.data(), c.text.size(), c.at);
  EXPECT_EQ(got.units, c.units);
  if (c.units > 0) {
    EXPECT_EQ(Hex(got.ch), Hex(c.ch));
  }
  // Any other 16-bit unit type reads the same.
  const std::vector<std::uint16_t> units(c.text.begin(), c.text.end());
  const KwTextChar same = KwCharKind::CharAt(units.data(), units.size(), c.at);
  EXPECT_EQ(same.units, got.units);
  EXPECT_EQ(same.ch, got.ch);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharInText,
    ::testing::Values(TextCase{"Ascii", u"ab", 1, U'b', 1}, TextCase{"Cyrillic", u"жx", 0, U'ж', 1},
                      TextCase{"LastOfThePlane", u"\uFFFF", 0, 0xFFFF, 1},
                      TextCase{"Pair", u"\U0001F600", 0, 0x1F600, 2},
                      TextCase{"PairAfterText", u"a\U00010428b", 1, 0x10428, 2},
                      TextCase{"MiddleOfPair", u"\U0001F600", 1, 0, 0},
                      TextCase{"HighAtTheEnd", std::u16string(1, u'\xD83D'), 0, 0, 0},
                      TextCase{"HighThenLetter", std::u16string{u'\xD83D', u'a'}, 0, 0, 0},
                      TextCase{"LoneLow", std::u16string{u'a', u'\xDE00'}, 1, 0, 0},
                      TextCase{"TwoHighsThenLow", std::u16string{u'\xD83D', u'\xD83D', u'\xDE00'},
                               0, 0, 0},
                      TextCase{"SecondHighWithLow", std::u16string{u'\xD83D', u'\xD83D', u'\xDE00'},
                               1, 0x1F600, 2},
                      TextCase{"PastTheEnd", u"ab", 2, 0, 0}, TextCase{"Empty", u"", 0, 0, 0}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(Utf16, EveryCodePointWrittenAndReadBack) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    char16_t units[2] = {0, 0};
    const int n = KwCharKind::ToUtf16(c, units);
    if (KwCharKind::IsSurrogate(c)) {
      ASSERT_EQ(n, 0) << Hex(c) << " is half a character";
      continue;
    }
    ASSERT_EQ(n, KwCharKind::Utf16Length(c)) << Hex(c);
    const KwTextChar back = KwCharKind::CharAt(units, static_cast<std::size_t>(n), 0);
    ASSERT_EQ(back.units, n) << Hex(c);
    ASSERT_EQ(back.ch, c) << Hex(c);
  }
  char16_t units[2] = {0, 0};
  EXPECT_EQ(KwCharKind::ToUtf16(0x110000, units), 0);
}

// Units typed one at a time, as WM_CHAR brings them. Each unit's outcome is written as the
// character taken ("U+...", "U+...x2" for a pair), "held", "refused", with "dropped-high, "
// before it when a held high surrogate was given up.
struct TypedCase {
  const char* name;
  std::vector<char16_t> units;
  std::vector<std::string> outcomes;
  bool holdingAtTheEnd;
};
void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

class TypedUnits : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedUnits, JoinedIntoWholeCharacters) {
  const TypedCase& c = GetParam();
  KwSurrogateJoiner joiner;
  std::vector<std::string> outcomes;
  for (char16_t unit : c.units) {
    const KwSurrogateJoiner::Result r = joiner.Take(unit);
    std::string text = r.droppedHigh ? "dropped-high, " : "";
    if (r.refused)
      text += "refused";
    else if (r.units == 0)
      text += "held";
    else
      text += Hex(r.ch) + (r.units == 2 ? "x2" : "");
    outcomes.push_back(text);
  }
  EXPECT_EQ(outcomes, c.outcomes);
  EXPECT_EQ(joiner.Holding(), c.holdingAtTheEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedUnits,
    ::testing::Values(
        TypedCase{"Letters", {u'ł', u'あ'}, {"U+0142", "U+3042"}, false},
        TypedCase{"Pair", {0xD83D, 0xDE00}, {"held", "U+1F600x2"}, false},
        TypedCase{"PairBetweenLetters",
                  {u'a', 0xD801, 0xDC28, u'b'},
                  {"U+0061", "held", "U+10428x2", "U+0062"},
                  false},
        TypedCase{"HighThenLetter", {0xD83D, u'a'}, {"held", "dropped-high, U+0061"}, false},
        TypedCase{"LoneLow", {0xDE00, u'a'}, {"refused", "U+0061"}, false},
        TypedCase{"TwoHighsThenLow",
                  {0xD83D, 0xD83D, 0xDE00},
                  {"held", "dropped-high, held", "U+1F600x2"},
                  false},
        TypedCase{"PairThenLow", {0xD83D, 0xDE00, 0xDE00}, {"held", "U+1F600x2", "refused"}, false},
        TypedCase{"HighThenLoneLowNeverJoinsLater",
                  {0xD83D, u'a', 0xDE00},
                  {"held", "dropped-high, U+0061", "refused"},
                  false},
        TypedCase{"HighAtTheEnd", {u'a', 0xD83D}, {"U+0061", "held"}, true}),
    [](const ::testing::TestParamInfo<TypedCase>& info) { return std::string(info.param.name); });

TEST(TypedUnits, ResetGivesUpAHeldHigh) {
  KwSurrogateJoiner joiner;
  EXPECT_FALSE(joiner.Reset()) << "nothing held";
  joiner.Take(0xD83D);
  EXPECT_TRUE(joiner.Reset()) << "the held high is given up, for the caller to refuse";
  EXPECT_FALSE(joiner.Holding());
  EXPECT_TRUE(joiner.Take(0xDE00).refused) << "its low half alone is refused";
}

}  // namespace
}  // namespace kwtest
