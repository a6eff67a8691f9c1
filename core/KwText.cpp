// Text at the boundary of the narrow interface: the ANSI code page on one side, UTF-16 on the
// other, through the platform's own conversions.
#include "core/KwText.h"

#include <cstring>

namespace {

// ASCII is ASCII in every ANSI code page: such text (most of what the narrow interface sees) is
// copied unit by unit.
bool IsAscii(const char* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}

}  // namespace

KwWString KwWiden(const char* text, std::size_t length) {
  KwWString out;
  if (text == nullptr || length == 0) return out;
  if (IsAscii(text, length)) {
    out.resize(length);
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<WCHAR>(text[i]);
    return out;
  }
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  if (n <= 0) return out;
  // The same text again, into the room the first call asked for: it fills it.
  out.resize(static_cast<std::size_t>(n));
  ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &out[0], n);
  return out;
}

KwWString KwWiden(const char* text) {
  return text != nullptr ? KwWiden(text, std::strlen(text)) : KwWString();
}

std::string KwNarrow(const WCHAR* text, std::size_t length) {
  std::string out;
  if (text == nullptr || length == 0) return out;
  bool ascii = true;
  for (std::size_t i = 0; i < length && ascii; ++i) ascii = text[i] < 0x80;
  if (ascii) {
    out.resize(length);
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char>(text[i]);
    return out;
  }
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<std::size_t>(n));
  ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
  return out;
}

WCHAR KwWidenChar(char ch) {
  if (static_cast<unsigned char>(ch) < 0x80) return static_cast<WCHAR>(ch);
  WCHAR out = 0;
  return ::MultiByteToWideChar(CP_ACP, 0, &ch, 1, &out, 1) == 1 ? out : WCHAR(0);
}

char KwNarrowChar(WCHAR ch) {
  if (ch < 0x80) return static_cast<char>(ch);
  char buffer[8] = {};
  BOOL usedDefault = FALSE;
  int n = ::WideCharToMultiByte(CP_ACP, 0, &ch, 1, buffer, static_cast<int>(sizeof buffer), nullptr,
                                &usedDefault);
  // The UTF-8 code page takes no question about a default character (and has none to use).
  if (n == 0)
    n = ::WideCharToMultiByte(CP_ACP, 0, &ch, 1, buffer, static_cast<int>(sizeof buffer), nullptr,
                              nullptr);
  // A character the code page writes as two bytes (or not at all) has no one narrow character.
  return n == 1 && !usedDefault ? buffer[0] : '?';
}

std::size_t KwWideLength(const WCHAR* text) {
  std::size_t n = 0;
  if (text != nullptr)
    while (text[n] != 0) ++n;
  return n;
}
