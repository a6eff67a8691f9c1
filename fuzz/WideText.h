// What the fuzzers draw of UTF-16, and the checks of UTF-16 text they share.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/win32.h"

namespace kwfuzz {

// UTF-16 units worth drawing: halves of pairs, decimal digits of other scripts (full-width,
// Arabic-Indic, Devanagari), letters of several scripts (with case forms that change length or
// have none), blanks and separators (U+202F, U+00A0, U+2019), marks and format characters.
inline WCHAR Unit(FuzzedDataProvider& in) {
  static const uint16_t kUnits[] = {
      0xD83D, 0xDE00, 0xD800, 0xDBFF, 0xDC00, 0xDFFF,                          // halves of pairs
      0xFF10, 0xFF11, 0xFF19, 0x0660, 0x0661, 0x0669, 0x0966, 0x0967, 0x096F,  // digits
      0x0142, 0x0141, 0x0416, 0x0436, 0x3042, 0x30A2, 0x4E00, 0xAC00, 0x00E9,
      0x00DF, 0x0130, 0x01C5, 0x03A3, 0x05D0, 0x0627,  // letters
      0x202F, 0x00A0, 0x2019, 0x2007, 0x3000, 0x0020,  // blanks and separators
      0x0301, 0x200B, 0xFEFF, 0xFFFD, 0x20AC, 0x00B2,  // marks, format, symbols, a superscript
  };
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0)
    return static_cast<WCHAR>(in.ConsumeIntegralInRange<uint16_t>(1, 0xFFFF));
  return static_cast<WCHAR>(
      kUnits[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kUnits / sizeof kUnits[0] - 1)]);
}

// A character beyond the first plane (emoji, CJK extension B), and as its surrogate pair.
inline char32_t Astral(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<char32_t>(0x1F300, 0x1F64F)
                          : in.ConsumeIntegralInRange<char32_t>(0x20000, 0x2A6DF);
}
inline KwWString PairOf(char32_t code) {
  const char32_t v = code - 0x10000;
  return {static_cast<WCHAR>(0xD800 + (v >> 10)), static_cast<WCHAR>(0xDC00 + (v & 0x3FF))};
}
inline KwWString Pair(FuzzedDataProvider& in) { return PairOf(Astral(in)); }

// A character for the models' InsertAtW and SetAtW, as the control hands them over: mostly one
// of ascii; one time in oneIn a unit of the table or any unit (perhaps half a pair), one time
// in oneIn a character beyond the first plane whole.
inline char32_t SomeCharW(FuzzedDataProvider& in, const char* ascii, int oneIn) {
  const int pick = in.ConsumeIntegralInRange<int>(0, oneIn - 1);
  if (pick == 0) return Unit(in);
  if (pick == 1) return Astral(in);
  return static_cast<unsigned char>(
      ascii[in.ConsumeIntegralInRange<std::size_t>(0, std::char_traits<char>::length(ascii) - 1)]);
}

// A text of up to max such characters (those beyond the first plane as their pairs).
inline KwWString SomeTextW(FuzzedDataProvider& in, const char* ascii, int oneIn, std::size_t max) {
  KwWString text;
  const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, max);
  for (std::size_t i = 0; i < n && in.remaining_bytes() > 0; ++i) {
    const char32_t c = SomeCharW(in, ascii, oneIn);
    if (c > 0xFFFF) {
      text += PairOf(c);
    } else {
      text += static_cast<WCHAR>(c);
    }
  }
  return text;
}

// A wide text: units of the table, pairs, ASCII digits, letters and mask characters.
inline KwWString WideText(FuzzedDataProvider& in, std::size_t max) {
  static const char kAscii[] = "0123456789aZ ,.-/#?";
  KwWString text;
  const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, max);
  for (std::size_t i = 0; i < n && in.remaining_bytes() > 0; ++i) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        text += Pair(in);
        break;
      case 1:
        text += static_cast<WCHAR>(
            kAscii[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kAscii - 2)]);
        break;
      default:
        text += Unit(in);
        break;
    }
  }
  return text;
}

inline bool IsHigh(WCHAR u) { return (u & 0xFC00) == 0xD800; }
inline bool IsLow(WCHAR u) { return (u & 0xFC00) == 0xDC00; }

// The first unit of text that is half of a pair alone, or -1.
inline int HalfPairAt(const KwWString& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHigh(text[i]) && (i + 1 == text.size() || !IsLow(text[i + 1])))
      return static_cast<int>(i);
    if (IsLow(text[i]) && (i == 0 || !IsHigh(text[i - 1]))) return static_cast<int>(i);
  }
  return -1;
}

// Whether position pos of text falls between the two halves of a pair.
inline bool InsidePair(const KwWString& text, int pos) {
  return pos > 0 && pos < static_cast<int>(text.size()) &&
         IsHigh(text[static_cast<std::size_t>(pos - 1)]) &&
         IsLow(text[static_cast<std::size_t>(pos)]);
}

// Wide text for a message (escapes the units that print badly).
inline std::string ShowW(const KwWString& text) {
  std::string out;
  for (WCHAR u : text) {
    if (u >= 0x20 && u < 0x7F) {
      out += static_cast<char>(u);
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(u));
      out += buf;
    }
  }
  return out;
}

}  // namespace kwfuzz
