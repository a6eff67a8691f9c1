#include "host/Utf8.h"

#include <cstdio>

namespace kwhost {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::string Hex(unsigned char byte) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", byte);
  return buf;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

Utf8Char DecodeUtf8(const std::string& text, std::size_t index) {
  Utf8Char c;
  const unsigned char lead = static_cast<unsigned char>(text[index]);
  if (lead < 0x80) {
    c.code = lead;
    c.length = 1;
    return c;
  }
  std::size_t need;
  char32_t code;
  char32_t least;  // the smallest code point a sequence of this length may carry
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3, code = lead & 0x07, least = 0x10000;
  } else {
    c.length = 1;
    c.error = IsContinuation(lead) ? "byte " + Hex(lead) + " continues no UTF-8 character"
              : lead == 0xC0 || lead == 0xC1
                  ? "byte " + Hex(lead) + " starts an overlong UTF-8 form"
                  : "byte " + Hex(lead) + " cannot start a UTF-8 character";
    return c;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if (index + k >= text.size() || !IsContinuation(static_cast<unsigned char>(text[index + k]))) {
      c.length = k;
      c.error = "the UTF-8 character starting with byte " + Hex(lead) + " is cut short";
      return c;
    }
    code = (code << 6) | (static_cast<unsigned char>(text[index + k]) & 0x3F);
  }
  c.length = need + 1;
  if (code < least) {
    c.error = "an overlong UTF-8 form (byte " + Hex(lead) + " and what follows)";
  } else if (code > 0x10FFFF) {
    c.error = "a UTF-8 form beyond U+10FFFF (byte " + Hex(lead) + " and what follows)";
  } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "a surrogate (U+%04X) written in UTF-8",
                  static_cast<unsigned>(code));
    c.error = buf;
  } else {
    c.code = code;
  }
  return c;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code > 0x10FFFF || IsHighSurrogate(code) || IsLowSurrogate(code)) code = kReplacement;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendUtf16(KwWString& out, char32_t code) {
  if (code > 0x10FFFF) code = kReplacement;
  if (code < 0x10000) {
    out += static_cast<WCHAR>(code);
  } else {
    code -= 0x10000;
    out += static_cast<WCHAR>(0xD800 + (code >> 10));
    out += static_cast<WCHAR>(0xDC00 + (code & 0x3FF));
  }
}

KwWString Utf16FromUtf8(const std::string& text) {
  KwWString out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = DecodeUtf8(text, i);
    AppendUtf16(out, c.error.empty() ? c.code : kReplacement);
    i += c.length;
  }
  return out;
}

char32_t CodePointAt(const KwWString& text, std::size_t index, std::size_t* units) {
  const char32_t u = static_cast<char16_t>(text[index]);
  if (IsHighSurrogate(u) && index + 1 < text.size()) {
    const char32_t next = static_cast<char16_t>(text[index + 1]);
    if (IsLowSurrogate(next)) {
      if (units) *units = 2;
      return 0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00);
    }
  }
  if (units) *units = 1;
  return u;
}

std::string Utf8FromUtf16(const KwWString& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t units = 1;
    AppendUtf8(out, CodePointAt(text, i, &units));  // a lone surrogate becomes U+FFFD
    i += units;
  }
  return out;
}

int ColumnsOf(char32_t c) {
  static const struct {
    char32_t first, last;
    int columns;
  } kRanges[] = {
      {0x0300, 0x036F, 0},   {0x0483, 0x0489, 0},   {0x0591, 0x05BD, 0},   {0x0610, 0x061A, 0},
      {0x064B, 0x065F, 0},   {0x0900, 0x0902, 0},   {0x093C, 0x093C, 0},   {0x0941, 0x0948, 0},
      {0x094D, 0x094D, 0},   {0x1100, 0x115F, 2},   {0x1AB0, 0x1AFF, 0},   {0x1DC0, 0x1DFF, 0},
      {0x200B, 0x200F, 0},   {0x202A, 0x202E, 0},   {0x2060, 0x2064, 0},   {0x20D0, 0x20FF, 0},
      {0x2E80, 0x303E, 2},   {0x3041, 0x33FF, 2},   {0x3400, 0x4DBF, 2},   {0x4E00, 0x9FFF, 2},
      {0xA000, 0xA4CF, 2},   {0xAC00, 0xD7A3, 2},   {0xF900, 0xFAFF, 2},   {0xFE20, 0xFE2F, 0},
      {0xFE30, 0xFE4F, 2},   {0xFEFF, 0xFEFF, 0},   {0xFF00, 0xFF60, 2},   {0xFFE0, 0xFFE6, 2},
      {0x1F300, 0x1F64F, 2}, {0x1F900, 0x1F9FF, 2}, {0x20000, 0x3FFFD, 2},
  };
  for (const auto& r : kRanges)
    if (c >= r.first && c <= r.last) return r.columns;
  return 1;
}

}  // namespace kwhost
