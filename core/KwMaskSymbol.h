// One position of a mask: its kind and the character it holds. Its questions are asked for
// every position on every keystroke, so they are answered inline.
#pragma once

#include "core/KwCharKind.h"
#include "core/KwDefs.h"

// Kind codes of a mask position. The input kinds are the closed range KindDigit..KindAnyChar.
enum KwSymbolKind {
  KindDecimalSeparator = 0,   // shows the locale decimal separator; accepts only '.'
  KindThousandSeparator = 1,  // shows the locale thousands separator
  KindTimeSeparator = 2,      // shows the locale time separator
  KindDateSeparator = 3,      // shows the locale date separator
  KindDigit = 4,              // '#'
  KindPercent = 5,            // digits, '.', '-', '+', space
  KindCurrency = 6,           // the same set
  KindAlphaNumeric = 7,       // 'A'
  KindAlpha = 8,              // '?'
  KindUpperAlpha = 9,         // '>' stored upper case
  KindLowerAlpha = 10,        // '<' stored lower case
  KindAnyChar = 11,           // '&' every printable character
  KindEscapedLiteral = 12,    // '\x'
  KindLiteral = 13,           // any other mask character
};

class KwMaskSymbol {
 public:
  KwMaskSymbol() = default;
  KwMaskSymbol(int kind, WCHAR value) : m_nKind(kind), m_chValue(value) {}
  KwMaskSymbol(const KwMaskSymbol&) = default;
  KwMaskSymbol& operator=(const KwMaskSymbol&) = default;

  // True exactly for the input kinds (KindDigit to KindAnyChar).
  bool IsInput() const { return m_nKind >= KindDigit && m_nKind <= KindAnyChar; }
  // Whether a position of this kind may hold the UTF-16 unit c. The owner's prompt symbol is the
  // caller's business: this answers for the kind only.
  //
  // ASCII is answered here (the classic classification: digits '0'-'9', letters 'A'-'Z' and
  // 'a'-'z', every printable character from ' ' to '~' for the any-character kind); everything
  // else by the character table (KwCharKind): the letters and decimal digits of every script,
  // every printable character. A surrogate is half a character, which no position holds.
  bool AcceptsChar(WCHAR c) const {
    if (c >= 0x80) return KwCharKind::Fits(m_nKind, c);
    switch (m_nKind) {
      case KindDecimalSeparator:
        // The position shows the locale's separator but is typed as '.', whatever the locale.
        return c == '.';
      case KindDigit:
        return IsDigit(c);
      case KindPercent:
      case KindCurrency:
        return IsDigit(c) || c == '.' || c == '-' || c == '+' || c == ' ';
      case KindAlphaNumeric:
        return IsDigit(c) || IsUpper(c) || IsLower(c);
      case KindAlpha:
      case KindUpperAlpha:
      case KindLowerAlpha:
        return IsUpper(c) || IsLower(c);
      case KindAnyChar:
        // Every printable ASCII character, '~' included; control characters and DEL stay out.
        return c >= 0x20 && c <= 0x7E;
      default:
        return false;
    }
  }
  // The form in which c is stored: upper or lower case for the case-forcing kinds, the ASCII
  // digit for a decimal digit of another script (full-width '１' is stored as '1').
  WCHAR TransformChar(WCHAR c) const {
    if (c >= 0x80) return static_cast<WCHAR>(KwCharKind::StoredForm(m_nKind, c));
    if (m_nKind == KindUpperAlpha && IsLower(c)) return static_cast<WCHAR>(c - 'a' + 'A');
    if (m_nKind == KindLowerAlpha && IsUpper(c)) return static_cast<WCHAR>(c - 'A' + 'a');
    return c;
  }

  std::int32_t m_nKind = KindLiteral;
  WCHAR m_chValue = 0;

 private:
  static bool IsDigit(WCHAR c) { return c >= '0' && c <= '9'; }
  static bool IsUpper(WCHAR c) { return c >= 'A' && c <= 'Z'; }
  static bool IsLower(WCHAR c) { return c >= 'a' && c <= 'z'; }
};
