// The demo hosts speak UTF-8 to the outside (terminal, command line, printed traces) and UTF-16
// to the controls. These helpers reach a control's text through its wide members where it has
// them (SetMaskW, SetTextW, GetInputDataW, SetPromptSymbolW, GetLastRejectionW) and otherwise
// through the narrow ones, converting through the process's ANSI code page as the platform's A
// functions do (a character the code page lacks then reads as '?').
#pragma once

#include <string>
#include <utility>

#include "core/KwMaskedEdit.h"
#include "host/Utf8.h"

namespace kwdemo {

// Text of the process's ANSI code page to UTF-16 and back.
inline KwWString WideFromAnsi(const std::string& text) {
  if (text.empty()) return KwWString();
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  KwWString out(static_cast<std::size_t>(n > 0 ? n : 0), WCHAR(0));
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

inline std::string AnsiFromWide(const KwWString& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
  return out;
}

namespace wide {

// The first overload of each pair is chosen when the control has the wide member (the int
// argument prefers it); the second is the narrow road.
template <class C>
auto Data(const C& c, bool withPrompt, int) -> decltype(c.GetInputDataW(withPrompt)) {
  return c.GetInputDataW(withPrompt);
}
template <class C>
KwWString Data(const C& c, bool withPrompt, long) {
  return WideFromAnsi(c.GetInputData(withPrompt));
}

template <class C>
auto Mask(C& c, const KwWString& mask, int) -> decltype(bool(c.SetMaskW(mask))) {
  return c.SetMaskW(mask);
}
template <class C>
bool Mask(C& c, const KwWString& mask, long) {
  return c.SetMask(AnsiFromWide(mask));
}

template <class C>
auto Text(C& c, const KwWString& text, int) -> decltype(void(c.SetTextW(text))) {
  c.SetTextW(text);
}
template <class C>
void Text(C& c, const KwWString& text, long) {
  c.SetText(AnsiFromWide(text));
}

template <class C>
auto Prompt(C& c, WCHAR symbol, int) -> decltype(void(c.SetPromptSymbolW(symbol))) {
  c.SetPromptSymbolW(symbol);
}
template <class C>
void Prompt(C& c, WCHAR symbol, long) {
  const std::string narrow = AnsiFromWide(KwWString(1, symbol));
  if (narrow.size() == 1) c.SetPromptSymbol(narrow[0]);
}

template <class C>
auto Rejection(const C& c, int* pos, int)
    -> decltype(c.GetLastRejectionW(pos, nullptr), std::pair<int, KwWString>()) {
  WCHAR ch[1] = {0};
  const int reason = c.GetLastRejectionW(pos, ch);
  // A character of two units comes as its first: the control gives it whole too.
  const char32_t code = c.GetLastRejectedCodePoint();
  if (code > 0xFFFF) {
    KwWString pair;
    kwhost::AppendUtf16(pair, code);
    return {reason, pair};
  }
  return {reason, KwWString(1, ch[0])};
}
template <class C>
std::pair<int, KwWString> Rejection(const C& c, int* pos, long) {
  char ch = '\0';
  const int reason = c.GetLastRejection(pos, &ch);
  return {reason, WideFromAnsi(std::string(1, ch))};
}

}  // namespace wide

// The reason of the last refusal and the character refused.
template <class C>
std::pair<int, KwWString> LastRejectionW(const C& c, int* pos) {
  return wide::Rejection(c, pos, 0);
}
template <class C>
KwWString InputDataW(const C& c, bool withPrompt) {
  return wide::Data(c, withPrompt, 0);
}
// UTF-8 of the data, for the terminal and printed traces.
template <class C>
std::string InputDataUtf8(const C& c, bool withPrompt) {
  return kwhost::Utf8FromUtf16(InputDataW(c, withPrompt));
}
template <class C>
bool SetMaskWide(C& c, const KwWString& mask) {
  return wide::Mask(c, mask, 0);
}
template <class C>
void SetTextWide(C& c, const KwWString& text) {
  wide::Text(c, text, 0);
}
template <class C>
void SetPromptWide(C& c, WCHAR symbol) {
  wide::Prompt(c, symbol, 0);
}

}  // namespace kwdemo
