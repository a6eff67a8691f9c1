// The code-page conversions, MultiByteToWideChar and WideCharToMultiByte, in the process's ANSI
// code page Windows-1252 and in UTF-8: results, sizes, errors and the characters the code page
// lacks (best fit, the default character), as measured under Wine.
#include <cstring>

#include "WideText.h"

namespace {

using ptest::Hex;
using ptest::HexBytes;

TEST(CodePage, TheProcessRunsWithWindows1252) { EXPECT_EQ(GetACP(), 1252u); }

struct ToWideRow {
  const char* name;
  UINT codePage;
  DWORD flags;
  const char* src;
  int srcLen;  // -1: up to and with the NUL
  int room;    // 0: the size query
  int result;
  DWORD error;       // GetLastError when the result is 0
  const char* wide;  // the units written
};

const ToWideRow kToWide[] = {
    {"Cp1252HighBytes", 1252, 0, "\x80\xE9\x81\x8D\x9F", -1, 32, 6, 0,
     "20AC 00E9 0081 008D 0178 0000"},
    {"SizeQueryCountsTheNul", 1252, 0, "\x80\xE9\x81\x8D", -1, 0, 5, 0, ""},
    {"CountedInputHasNoNul", 1252, 0, "ab", 2, 32, 2, 0, "0061 0062"},
    {"ShortBuffer", 1252, 0, "abcd", -1, 2, 0, ERROR_INSUFFICIENT_BUFFER, ""},
    {"EmptyInput", 1252, 0, "abcd", 0, 2, 0, ERROR_INVALID_PARAMETER, ""},
    {"UnknownCodePage", 12345, 0, "ab", -1, 32, 0, ERROR_INVALID_PARAMETER, ""},
    {"AnsiIs1252", CP_ACP, 0, "\x80", 1, 32, 1, 0, "20AC"},
    {"Utf8", CP_UTF8, 0, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", -1, 32, 5, 0,
     "00E9 20AC D83D DE00 0000"},
    {"Utf8IllFormedIsFFFD", CP_UTF8, 0, "a\xC3(", -1, 32, 4, 0, "0061 FFFD 0028 0000"},
    {"Utf8CutSequenceIsOneFFFD", CP_UTF8, 0, "a\xE2\x82", 3, 32, 2, 0, "0061 FFFD"},
    {"Utf8StrictRefuses", CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3(", -1, 32, 0,
     ERROR_NO_UNICODE_TRANSLATION, ""},
    {"Utf8SizeQuery", CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, 0, 2, 0, ""},
};

class ToWide : public testing::TestWithParam<ToWideRow> {};

TEST_P(ToWide, Converts) {
  const ToWideRow& r = GetParam();
  WCHAR out[32];
  for (WCHAR& u : out) u = 0xCCCC;
  SetLastError(0);
  const int n =
      MultiByteToWideChar(r.codePage, r.flags, r.src, r.srcLen, r.room ? out : nullptr, r.room);
  EXPECT_EQ(n, r.result);
  if (n == 0) {
    EXPECT_EQ(GetLastError(), r.error);
  } else if (r.room) {
    EXPECT_EQ(Hex(out, static_cast<size_t>(n)), r.wide);
  }
}
PTEST_ROWS(ToWide, kToWide);

struct ToAnsiRow {
  const char* name;
  UINT codePage;
  DWORD flags;
  const WCHAR* src;
  int srcLen;
  int room;
  const char* defaultChar;
  int result;
  DWORD error;
  const char* bytes;
  int used;  // what lpUsedDefaultChar reports (1252 only), -1: not asked
};

const ToAnsiRow kToAnsi[] = {
    {"BestFitOrQuestionMark", 1252, 0,
     KW_W("\x0142\x20AC\x3042\x202F\x2019\x00A0\xFF11\x0416\x00E9\x0081"), -1, 32, nullptr, 11, 0,
     "6C 80 3F 3F 92 A0 31 3F E9 81 00", 1},
    {"BestFitAcrossTheTable", 1252, 0,
     KW_W("\x0110\x01C3\x0393\x2002\x2044\x2212\x2264\x3000\xFF21\xFF5E"), 10, 32, nullptr, 10, 0,
     "D0 21 47 20 2F 2D 3D 20 41 7E", 0},
    {"NoBestFit", 1252, WC_NO_BEST_FIT_CHARS, KW_W("\x0142\x20AC\x3042"), -1, 32, nullptr, 4, 0,
     "3F 80 3F 00", 1},
    {"OwnDefaultChar", 1252, 0, KW_W("\x0142\x3042"), -1, 32, "*", 3, 0, "6C 2A 00", 1},
    {"NothingMissing", 1252, 0, KW_W("ab"), -1, 32, nullptr, 3, 0, "61 62 00", 0},
    {"SurrogatesAreMissingOneByOne", 1252, 0, KW_W("\xD800") KW_W("a\xD83D\xDE00"), -1, 32, nullptr,
     5, 0, "3F 61 3F 3F 00", 1},
    {"SizeQuery", 1252, 0, KW_W("\x0142\x20AC"), -1, 0, nullptr, 3, 0, "", -1},
    {"ShortBuffer", 1252, 0, KW_W("abcd"), -1, 2, nullptr, 0, ERROR_INSUFFICIENT_BUFFER, "", -1},
    {"EmptyInput", 1252, 0, KW_W("a"), 0, 3, nullptr, 0, ERROR_INVALID_PARAMETER, "", -1},
    {"AnsiIs1252", CP_ACP, 0, KW_W("\x20AC"), 1, 3, nullptr, 1, 0, "80", -1},
    {"Utf8", CP_UTF8, 0, KW_W("\x00E9\x20AC\xD83D\xDE00"), -1, 32, nullptr, 10, 0,
     "C3 A9 E2 82 AC F0 9F 98 80 00", -1},
    {"Utf8LoneSurrogatesAreFFFD", CP_UTF8, 0, KW_W("a\xD800") KW_W("b\xDC00"), -1, 32, nullptr, 9,
     0, "61 EF BF BD 62 EF BF BD 00", -1},
    {"Utf8StrictRefuses", CP_UTF8, WC_ERR_INVALID_CHARS, KW_W("a\xD800") KW_W("b"), -1, 32, nullptr,
     0, ERROR_NO_UNICODE_TRANSLATION, "", -1},
    {"Utf8ShortBuffer", CP_UTF8, 0, KW_W("a\x20AC"), -1, 3, nullptr, 0, ERROR_INSUFFICIENT_BUFFER,
     "", -1},
};

class ToAnsi : public testing::TestWithParam<ToAnsiRow> {};

TEST_P(ToAnsi, Converts) {
  const ToAnsiRow& r = GetParam();
  char out[32];
  std::memset(out, 0xCC, sizeof out);
  BOOL used = 7;
  SetLastError(0);
  const int n = WideCharToMultiByte(r.codePage, r.flags, r.src, r.srcLen, r.room ? out : nullptr,
                                    r.room, r.defaultChar, r.used >= 0 ? &used : nullptr);
  EXPECT_EQ(n, r.result);
  if (n == 0) {
    EXPECT_EQ(GetLastError(), r.error);
  } else if (r.room) {
    EXPECT_EQ(HexBytes(out, static_cast<size_t>(n)), r.bytes);
  }
  if (r.used >= 0) {
    EXPECT_EQ(used, r.used);
  }
}
PTEST_ROWS(ToAnsi, kToAnsi);

// Every byte of Windows-1252 comes back from UTF-16 as itself, and the printable ones are
// characters the code page has (no default character used).
TEST(CodePage, EveryByteOf1252RoundTrips) {
  for (int b = 1; b < 256; ++b) {
    const char in = static_cast<char>(b);
    WCHAR wide = 0;
    ASSERT_EQ(MultiByteToWideChar(1252, 0, &in, 1, &wide, 1), 1) << b;
    char back = 0;
    BOOL used = TRUE;
    ASSERT_EQ(WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &wide, 1, &back, 1, nullptr, &used),
              1)
        << b;
    EXPECT_EQ(static_cast<unsigned char>(back), b) << Hex(&wide, 1);
    EXPECT_FALSE(used) << b;
  }
}

}  // namespace
