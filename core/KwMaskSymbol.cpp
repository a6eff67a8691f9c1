// One mask position: its kind decides whether it takes input, what it accepts and how an
// accepted character is stored.
//
// Classification is the classic ASCII one: digits '0'-'9' and the letters 'A'-'Z', 'a'-'z'.
// No byte from 0x80 to 0xFF is a digit or a letter, whatever code page the user has, so such
// bytes only ever go into an any-character position.
#include "core/KwMaskSymbol.h"

namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsAsciiAlpha(char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }

}  // namespace

bool KwMaskSymbol::IsInput() const { return m_nKind >= KindDigit && m_nKind <= KindAnyChar; }

bool KwMaskSymbol::AcceptsChar(char c) const {
  const unsigned char u = static_cast<unsigned char>(c);
  switch (m_nKind) {
    case KindDecimalSeparator:
      // The position shows the locale's separator but is typed as '.', whatever the locale.
      return c == '.';
    case KindDigit:
      return IsAsciiDigit(c);
    case KindPercent:
    case KindCurrency:
      return IsAsciiDigit(c) || c == '.' || c == '-' || c == '+' || c == ' ';
    case KindAlphaNumeric:
      return IsAsciiDigit(c) || IsAsciiAlpha(c);
    case KindAlpha:
    case KindUpperAlpha:
    case KindLowerAlpha:
      return IsAsciiAlpha(c);
    case KindAnyChar:
      // Every printable ASCII character, '~' included, and every byte from 0x80 up; control
      // characters and DEL stay out.
      return (u >= 0x20 && u <= 0x7E) || u >= 0x80;
    default:
      return false;
  }
}

char KwMaskSymbol::TransformChar(char c) const {
  if (m_nKind == KindUpperAlpha && IsAsciiLower(c)) return static_cast<char>(c - 'a' + 'A');
  if (m_nKind == KindLowerAlpha && IsAsciiUpper(c)) return static_cast<char>(c - 'A' + 'a');
  return c;
}
