// Invariant checks of the fuzzers: a broken invariant prints what broke and aborts, which
// libFuzzer reports as a crash with the input that caused it.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define KW_FUZZ_CHECK(cond, ...)                                                            \
  do {                                                                                      \
    if (!(cond)) {                                                                          \
      std::fprintf(stderr, "invariant failed at %s:%d: %s\n  ", __FILE__, __LINE__, #cond); \
      std::fprintf(stderr, __VA_ARGS__);                                                    \
      std::fprintf(stderr, "\n");                                                           \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

namespace kwfuzz {

// KW_FUZZ_TRACE=1 in the environment: the fuzzers print each step (to replay a finding).
inline bool Tracing() {
  static const bool on = std::getenv("KW_FUZZ_TRACE") != nullptr;
  return on;
}

// How often c stands in s.
inline int Count(const std::string& s, char c) {
  return static_cast<int>(std::count(s.begin(), s.end(), c));
}

// Mostly a character of alphabet; one time in oneIn any byte but NUL.
inline char SomeChar(FuzzedDataProvider& in, const char* alphabet, int oneIn) {
  if (in.ConsumeIntegralInRange<int>(0, oneIn - 1) == 0)
    return static_cast<char>(in.ConsumeIntegralInRange<int>(1, 255));
  return alphabet[in.ConsumeIntegralInRange<std::size_t>(0, std::strlen(alphabet) - 1)];
}

// A text made printable for a message: control and high bytes as \xNN.
inline std::string Show(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

}  // namespace kwfuzz
