// Text at the boundary of the narrow interface. Inside, the controls hold UTF-16 (WCHAR); the
// members that take or return std::string, char or const char* speak the process's ANSI code
// page, as the platform's A functions do, and convert here, once, at the boundary.
#pragma once

#include <cstddef>
#include <string>

#include "core/KwDefs.h"

// A narrow text in UTF-16, through the ANSI code page. NULL reads as the empty text.
KwWString KwWiden(const char* text, std::size_t length);
KwWString KwWiden(const char* text);
inline KwWString KwWiden(const std::string& text) { return KwWiden(text.data(), text.size()); }
// A UTF-16 text in the ANSI code page; a character the code page lacks becomes its default
// character ('?'), as WideCharToMultiByte makes it.
std::string KwNarrow(const WCHAR* text, std::size_t length);
inline std::string KwNarrow(const KwWString& text) { return KwNarrow(text.data(), text.size()); }
// One character each way: NUL for a narrow character that is no character of its own (the lead
// byte of a double-byte pair), '?' for a UTF-16 unit the code page lacks (and for a surrogate).
WCHAR KwWidenChar(char ch);
char KwNarrowChar(WCHAR ch);
// The length of a NUL-terminated UTF-16 text; 0 for NULL.
std::size_t KwWideLength(const WCHAR* text);
