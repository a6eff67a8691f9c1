// The clipboard in movable global memory, and the user locale's separators as GetLocaleInfoA
// reports them.
#include <cstdlib>
#include <cstring>
#include <string>

#include "PlatformTest.h"

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

// --- GetLocaleInfoA ----------------------------------------------------------------------------

// The separators decimal, thousand, monetary decimal, monetary thousand, date, time.
std::string Separators() {
  std::string s;
  for (LCTYPE type : {LOCALE_SDECIMAL, LOCALE_STHOUSAND, LOCALE_SMONDECIMALSEP,
                      LOCALE_SMONTHOUSANDSEP, LOCALE_SDATE, LOCALE_STIME}) {
    char buf[8] = {};
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    s += n == 2 ? buf : "<" + std::string(buf) + ">";
  }
  return s;
}

// The test process runs in the C/English locale, or, in the run registered as
// platform_locale_tests, with LC_ALL=de_DE.UTF-8 (Wine takes the Windows locale from the same
// variables).
TEST(Locale, SeparatorsOfTheUserLocale) {
  const char* all = std::getenv("LC_ALL");
  const bool german = all && std::strncmp(all, "de_DE", 5) == 0;
  EXPECT_EQ(Separators(), german ? ",.,..:" : ".,.,/:");
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0), 2) << "size query";
  char one[1] = {'x'};
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, one, 1), 0) << "short buffer";
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 4), 0) << "no buffer";
}

}  // namespace
