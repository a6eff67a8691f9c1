// The Win32 subset that the library, its hosts and its tests use.
// On Windows this is the real API; elsewhere the in-memory simulation declares the same names
// with the same signatures. Nothing above this layer includes <windows.h> directly.
//
// Text. The A functions speak the process's ANSI code page (Windows-1252, or UTF-8 in a process
// that asks for it); the W functions speak UTF-16. WCHAR is a 16-bit code unit on both builds:
// wchar_t on Windows, char16_t natively. Portable code therefore
//   - writes wide literals as KW_W("...") (L"..." on Windows, u"..." natively) and wide
//     characters as KW_W('x') or as WCHAR values (WCHAR(0x202F)); a bare L"" is wchar_t, which
//     is 32 bits natively and converts to nothing here;
//   - holds wide text in std::basic_string<WCHAR> (std::wstring on Windows, std::u16string
//     natively), or KwWString below, and counts it in UTF-16 units, as the edit control does;
//   - never uses the wcs* and wprintf family of the C library on WCHAR text (they take
//     wchar_t), but the W functions and std::char_traits<WCHAR>.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
// The input context (imm32): what an input method sends a window.
#include <imm.h>
// windowsx.h's one-line helper of that name would swallow CWnd::SubclassWindow.
#undef SubclassWindow
#define KW_W_(text) L##text
#else
#include "platform/sim/simwin32.h"
#define KW_W_(text) u##text
#endif
// A wide string or character literal of the platform's WCHAR: KW_W("1\u202F234"), KW_W('x').
#define KW_W(text) KW_W_(text)

#include <string>

// Wide text of the platform's WCHAR.
typedef std::basic_string<WCHAR> KwWString;
