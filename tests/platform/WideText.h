// Wide text in the platform tests: units and bytes shown as hex words, so that a failed
// comparison names the code units ("0142 3042") on both builds.
#pragma once

#include <cstdio>
#include <string>

#include "PlatformTest.h"

namespace ptest {

// "0142 3042 0000": n units of s (all of them when n is npos).
inline std::string Hex(const WCHAR* s, size_t n) {
  std::string out;
  char buf[8];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%s%04X", i ? " " : "", static_cast<unsigned>(s[i]));
    out += buf;
  }
  return out;
}
inline std::string Hex(const KwWString& s) { return Hex(s.data(), s.size()); }

// "C5 82 00": n bytes of s.
inline std::string HexBytes(const char* s, size_t n) {
  std::string out;
  char buf[8];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%s%02X", i ? " " : "", static_cast<unsigned char>(s[i]));
    out += buf;
  }
  return out;
}
inline std::string HexBytes(const std::string& s) { return HexBytes(s.data(), s.size()); }

// A window's text through the W and the A function.
inline KwWString TextW(HWND hWnd) {
  WCHAR buf[256] = {};
  const int n = GetWindowTextW(hWnd, buf, 256);
  return KwWString(buf, n > 0 ? static_cast<size_t>(n) : 0);
}
inline std::string TextA(HWND hWnd) {
  char buf[256] = {};
  const int n = GetWindowTextA(hWnd, buf, 256);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace ptest
