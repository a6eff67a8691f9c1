// One position of a mask: its kind and the character it holds.
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
  bool IsInput() const;
  // Whether a character of this kind may hold c. The owner's prompt symbol is the caller's
  // business: this answers for the kind only.
  bool AcceptsChar(char c) const;
  // The form in which c is stored: upper or lower case for the case-forcing kinds.
  char TransformChar(char c) const;

  std::int32_t m_nKind = KindLiteral;
  char m_chValue = 0;
};
