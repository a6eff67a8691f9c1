// UTF-8, the text of the host programs' outside world (key scripts, command lines, terminals,
// printed traces), and UTF-16, the text of the windows. Strict where text comes in (a key script
// names the byte that is not UTF-8), forgiving where it goes out (a window's text may hold half
// a surrogate pair; it is printed as U+FFFD). No window system needed.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32.h"

namespace kwhost {

// One character read from UTF-8: its code point and how many bytes it took, or what is wrong
// with the bytes at that place ("byte 0xFF cannot start a UTF-8 character", ...), in which case
// length is the number of bytes to skip (at least 1).
struct Utf8Char {
  char32_t code = 0;
  std::size_t length = 0;
  std::string error;  // "" when the bytes are a character
};
// Reads the character that starts at byte index of text (index < text.size()). Overlong forms,
// surrogates and code points beyond U+10FFFF are errors, as the encoding's definition has it.
Utf8Char DecodeUtf8(const std::string& text, std::size_t index);

void AppendUtf8(std::string& out, char32_t code);
// One unit, or a surrogate pair for a code point beyond U+FFFF.
void AppendUtf16(KwWString& out, char32_t code);

// Whole texts. What is not UTF-8 becomes U+FFFD, one for each stretch that DecodeUtf8 skips (a
// character cut short is one); half a surrogate pair becomes U+FFFD too.
KwWString Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const KwWString& text);

// The code point of the character at index of text (a pair read whole), and how many units it
// takes (1 or 2); a lone surrogate is itself, 1 unit.
char32_t CodePointAt(const KwWString& text, std::size_t index, std::size_t* units = nullptr);

// How many terminal columns a character takes: 2 for the wide characters of East Asian scripts
// (and the emoji of the supplementary planes), 0 for combining marks and invisible format
// characters, 1 for the rest. A small table of the main blocks, enough to lay out a form in a
// terminal; not a full East Asian Width database.
int ColumnsOf(char32_t code);

}  // namespace kwhost
