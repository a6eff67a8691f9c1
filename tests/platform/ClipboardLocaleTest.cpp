// The clipboard in movable global memory, and the user locale's separators as GetLocaleInfoA
// and GetLocaleInfoW report them and SetLocaleInfoW sets them.
#include <cstdlib>
#include <cstring>
#include <string>

#include <utility>
#include <vector>

#include "WideText.h"

namespace {

class Clipboard : public kwtest::WindowTest {};

TEST_F(Clipboard, TextRoundTripsInAMovableBlockAndEmptyingTakesItAway) {
  ASSERT_TRUE(kwtest::SetClipboardText("round trip 1,234.5"));
  EXPECT_EQ(kwtest::ClipboardText(), "round trip 1,234.5");
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "readable only while open";
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  HANDLE mem = GetClipboardData(CF_TEXT);
  ASSERT_NE(mem, nullptr);
  EXPECT_GE(GlobalSize(mem), 19u);
  const char* p = static_cast<const char*>(GlobalLock(mem));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "round trip 1,234.5");
  GlobalUnlock(mem);
  CloseClipboard();
  kwtest::EmptyClipboardNow();
  EXPECT_FALSE(kwtest::ClipboardHasText());
  EXPECT_EQ(kwtest::ClipboardText(), "");
}

TEST_F(Clipboard, OpensForOneWindowAtATime) {
  HWND edit = CreateEdit(1);
  ASSERT_TRUE(OpenClipboard(edit));
  EXPECT_TRUE(OpenClipboard(edit)) << "again from the same window";
  EXPECT_FALSE(OpenClipboard(kwtest::Parent()));
  EXPECT_EQ(GetOpenClipboardWindow(), edit);
  EXPECT_TRUE(CloseClipboard());
  SetLastError(0);
  EXPECT_FALSE(CloseClipboard()) << "one close ends it";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_FALSE(EmptyClipboard());
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(edit)) << "open without a window still holds it";
  EXPECT_TRUE(CloseClipboard());
}

// --- GetLocaleInfoA and GetLocaleInfoW --------------------------------------------------------

const LCTYPE kSeparators[] = {LOCALE_SDECIMAL,        LOCALE_STHOUSAND, LOCALE_SMONDECIMALSEP,
                              LOCALE_SMONTHOUSANDSEP, LOCALE_SDATE,     LOCALE_STIME};

// The separators decimal, thousand, monetary decimal, monetary thousand, date, time.
std::string Separators() {
  std::string s;
  for (LCTYPE type : kSeparators) {
    char buf[8] = {};
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    s += n == 2 ? buf : "<" + std::string(buf) + ">";
  }
  return s;
}

// The same through the W function, as hex units, one separator a word.
std::string SeparatorsW() {
  std::string s;
  for (LCTYPE type : kSeparators) {
    WCHAR buf[8] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 8);
    s += (s.empty() ? "" : " ") + (n > 1 ? ptest::Hex(buf, static_cast<size_t>(n - 1)) : "<>");
  }
  return s;
}

// The test process runs in the C/English locale, or, in the runs registered as
// platform_locale_*_tests, with LC_ALL set to a German, French or Swiss German locale (Wine takes
// the Windows locale from the same variables). The French thousands separator is U+202F in the C
// library's data (and on Windows 11) but U+00A0 in Wine 8's; the ANSI answer is the Unicode one
// through 1252 either way.
TEST(Locale, SeparatorsOfTheUserLocale) {
  const char* all = std::getenv("LC_ALL");
  const std::string lc = all ? all : "";
  const bool onWine = kwtest::OnWine();
  struct Expected {
    const char* prefix;
    const char* ansi;
    const char* wide;
  };
  const Expected table[] = {
      {"de_DE", ",.,..:", "002C 002E 002C 002E 002E 003A"},
      {"de_CH", ".\x92.\x92.:", "002E 2019 002E 2019 002E 003A"},
      {"fr_FR", onWine ? ",\xA0,\xA0/:" : ",?,?/:",
       onWine ? "002C 00A0 002C 00A0 002F 003A" : "002C 202F 002C 202F 002F 003A"},
      {"", ".,.,/:", "002E 002C 002E 002C 002F 003A"},
  };
  const Expected* e = table;
  while (*e->prefix && lc.compare(0, std::strlen(e->prefix), e->prefix) != 0) ++e;
  SCOPED_TRACE(lc);
  EXPECT_EQ(Separators(), e->ansi);
  EXPECT_EQ(SeparatorsW(), e->wide);
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0), 2) << "size query";
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0), 2) << "size query";
  char one[1] = {'x'};
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, one, 1), 0) << "short buffer";
  WCHAR oneW[1] = {'x'};
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, oneW, 1), 0) << "short buffer";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 4), 0) << "no buffer";
}

// The user's own separators, set with SetLocaleInfoW (on the real platform for the whole user:
// each row puts the old value back).
class UserLocale : public testing::Test {
 protected:
  void SetUp() override {
    for (LCTYPE type : kSeparators) {
      WCHAR buf[8] = {};
      GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 8);
      m_saved.emplace_back(type, KwWString(buf));
    }
  }
  void TearDown() override {
    for (const auto& [type, value] : m_saved)
      SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value.c_str());
  }

 private:
  std::vector<std::pair<LCTYPE, KwWString>> m_saved;
};

TEST_F(UserLocale, SetSeparatorsAreReadBackThroughBothFunctions) {
  const struct {
    LCTYPE type;
    const WCHAR* value;
    const char* wide;
    const char* ansi;
  } rows[] = {{LOCALE_STHOUSAND, KW_W("\x202F"), "202F", "3F"},
              {LOCALE_STHOUSAND, KW_W("\x00A0"), "00A0", "A0"},
              {LOCALE_SMONTHOUSANDSEP, KW_W("\x2019"), "2019", "92"},
              {LOCALE_SDECIMAL, KW_W("\x066B"), "066B", "3F"},
              {LOCALE_SDATE, KW_W("-"), "002D", "2D"},
              {LOCALE_STIME, KW_W("."), "002E", "2E"},
              {LOCALE_STHOUSAND, KW_W(""), "", ""}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.wide);
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, r.type, r.value));
    WCHAR w[8] = {};
    const int nw = GetLocaleInfoW(LOCALE_USER_DEFAULT, r.type, w, 8);
    ASSERT_GE(nw, 1);
    EXPECT_EQ(ptest::Hex(w, static_cast<size_t>(nw - 1)), r.wide);
    char a[8] = {};
    const int na = GetLocaleInfoA(LOCALE_USER_DEFAULT, r.type, a, 8);
    ASSERT_GE(na, 1);
    EXPECT_EQ(ptest::HexBytes(a, static_cast<size_t>(na - 1)), r.ansi);
    // The locale's own value stays underneath.
    WCHAR own[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, r.type | LOCALE_NOUSEROVERRIDE, own, 8);
    EXPECT_NE(KwWString(own), KwWString(r.value));
  }
}

}  // namespace
