// One position of a mask: its kind and the character it holds. Its questions are asked for
// every position on every keystroke, so they are answered inline.
#pragma once

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
  KindAnyChar = 11,           // '&' printable ASCII and 0x80..0xFF
  KindEscapedLiteral = 12,    // '\x'
  KindLiteral = 13,           // any other mask character
};

class KwMaskSymbol {
 public:
  KwMaskSymbol() = default;
  KwMaskSymbol(int kind, char value) : m_nKind(kind), m_chValue(value) {}
  KwMaskSymbol(const KwMaskSymbol&) = default;
  KwMaskSymbol& operator=(const KwMaskSymbol&) = default;

  // True exactly for the input kinds (KindDigit to KindAnyChar).
  bool IsInput() const { return m_nKind >= KindDigit && m_nKind <= KindAnyChar; }
  // Whether a character of this kind may hold c. The owner's prompt symbol is the caller's
  // business: this answers for the kind only.
  //
  // Classification is the classic ASCII one: digits '0'-'9' and the letters 'A'-'Z', 'a'-'z'.
  // No byte from 0x80 to 0xFF is a digit or a letter, whatever code page the user has, so such
  // bytes only ever go into an any-character position.
  bool AcceptsChar(char c) const {
    const unsigned char u = static_cast<unsigned char>(c);
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
        // Every printable ASCII character, '~' included, and every byte from 0x80 up; control
        // characters and DEL stay out.
        return (u >= 0x20 && u <= 0x7E) || u >= 0x80;
      default:
        return false;
    }
  }
  // The form in which c is stored: upper or lower case for the case-forcing kinds.
  char TransformChar(char c) const {
    if (m_nKind == KindUpperAlpha && IsLower(c)) return static_cast<char>(c - 'a' + 'A');
    if (m_nKind == KindLowerAlpha && IsUpper(c)) return static_cast<char>(c - 'A' + 'a');
    return c;
  }

  std::int32_t m_nKind = KindLiteral;
  char m_chValue = 0;

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
  static bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
};
