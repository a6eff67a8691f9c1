// Character kinds over the generated table of core/KwCharKindTable.inc.
#include "core/KwCharKind.h"

#include "core/KwMaskSymbol.h"

namespace {

// What the table knows of one code point. The case mappings are differences, so that the many
// characters that share one (every letter of a cased alphabet with its partner at the same
// distance) share one record.
struct KwCharRecord {
  KwCharCategory category;
  std::uint8_t flags;
  std::int8_t digit;   // 0-9 for a decimal digit, else -1
  std::int32_t upper;  // simple upper case mapping - c
  std::int32_t lower;  // simple lower case mapping - c
};

constexpr std::uint8_t kLetter = 1;
constexpr std::uint8_t kDigit = 2;
constexpr std::uint8_t kPrintable = 4;

#include "core/KwCharKindTable.inc"

static_assert(sizeof(KwCharRecord) == 12, "records stay small");

// Three reads of small indexes and one of the record: about a dozen instructions, no branch but
// the range check.
inline const KwCharRecord& RecordOf(char32_t c) {
  if (c > 0x10FFFF) return g_kindRecords[kUnassigned];
  const unsigned i1 = g_kindStage1[c >> (kShift2 + kShift3)];
  const unsigned i2 = g_kindStage2[(i1 << kShift2) + ((c >> kShift3) & ((1u << kShift2) - 1))];
  return g_kindRecords[g_kindStage3[(i2 << kShift3) + (c & ((1u << kShift3) - 1))]];
}

}  // namespace

const char* KwCharKind::UnicodeVersion() { return kUnicodeVersion; }

KwCharCategory KwCharKind::Category(char32_t c) { return RecordOf(c).category; }

bool KwCharKind::IsLetter(char32_t c) { return (RecordOf(c).flags & kLetter) != 0; }

int KwCharKind::DigitValue(char32_t c) { return RecordOf(c).digit; }

bool KwCharKind::IsPrintable(char32_t c) { return (RecordOf(c).flags & kPrintable) != 0; }

char32_t KwCharKind::ToUpper(char32_t c) {
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + RecordOf(c).upper);
}

char32_t KwCharKind::ToLower(char32_t c) {
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + RecordOf(c).lower);
}

bool KwCharKind::Fits(int kind, char32_t c) {
  const KwCharRecord& r = RecordOf(c);
  switch (kind) {
    case KindDecimalSeparator:
      // Shows the locale's separator but is typed as '.', whatever the locale.
      return c == '.';
    case KindDigit:
      return (r.flags & kDigit) != 0;
    case KindPercent:
    case KindCurrency:
      return (r.flags & kDigit) != 0 || c == '.' || c == '-' || c == '+' || c == ' ';
    case KindAlphaNumeric:
      return (r.flags & (kDigit | kLetter)) != 0;
    case KindAlpha:
    case KindUpperAlpha:
    case KindLowerAlpha:
      return (r.flags & kLetter) != 0;
    case KindAnyChar:
      return (r.flags & kPrintable) != 0;
    default:
      return false;
  }
}

char32_t KwCharKind::StoredForm(int kind, char32_t c) {
  const KwCharRecord& r = RecordOf(c);
  switch (kind) {
    case KindDigit:
    case KindPercent:
    case KindCurrency:
    case KindAlphaNumeric:
      if (r.digit >= 0) return static_cast<char32_t>('0' + r.digit);
      return c;
    case KindUpperAlpha:
      return static_cast<char32_t>(static_cast<std::int32_t>(c) + r.upper);
    case KindLowerAlpha:
      return static_cast<char32_t>(static_cast<std::int32_t>(c) + r.lower);
    default:
      return c;
  }
}

int KwCharKind::ToUtf16(char32_t c, char16_t out[2]) {
  if (IsSurrogate(c) || c > 0x10FFFF) return 0;
  if (c <= 0xFFFF) {
    out[0] = static_cast<char16_t>(c);
    return 1;
  }
  const char32_t v = c - 0x10000;
  out[0] = static_cast<char16_t>(0xD800 + (v >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
  return 2;
}
