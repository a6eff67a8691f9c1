// The clipboard round trip in movable global memory, and the user locale's separators as
// GetLocaleInfoA reports them.
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/TestHost.h"

namespace {

class Clipboard : public kwtest::WindowTest {};

TEST_F(Clipboard, TextRoundTrips) {
  ASSERT_TRUE(kwtest::SetClipboardText("round trip 1,234.5"));
  EXPECT_TRUE(kwtest::ClipboardHasText());
  EXPECT_EQ(kwtest::ClipboardText(), "round trip 1,234.5");
}

TEST_F(Clipboard, EmptyingLeavesNoText) {
  ASSERT_TRUE(kwtest::SetClipboardText("x"));
  kwtest::EmptyClipboardNow();
  EXPECT_FALSE(kwtest::ClipboardHasText());
  EXPECT_EQ(kwtest::ClipboardText(), "");
}

TEST_F(Clipboard, DataIsAMovableBlockOfAtLeastTheTextAndItsNul) {
  ASSERT_TRUE(kwtest::SetClipboardText("abcd"));
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  HANDLE mem = GetClipboardData(CF_TEXT);
  ASSERT_NE(mem, nullptr);
  EXPECT_GE(GlobalSize(mem), 5u);
  const char* p = static_cast<const char*>(GlobalLock(mem));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "abcd");
  GlobalUnlock(mem);
  CloseClipboard();
}

TEST_F(Clipboard, DataIsReadOnlyWhileOpen) {
  ASSERT_TRUE(kwtest::SetClipboardText("abcd"));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // not open
}

TEST_F(Clipboard, OpenTwiceFromTheSameWindowSucceeds) {
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  EXPECT_TRUE(OpenClipboard(kwtest::Parent()));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());  // one close ends it
}

TEST_F(Clipboard, EditControlCopyAndPasteShareIt) {
  HWND one = CreateEdit(1, "hello world");
  HWND two = CreateEdit(2, "");
  kwtest::SetSel(one, 6, 11);
  SendMessageA(one, WM_COPY, 0, 0);
  EXPECT_EQ(kwtest::ClipboardText(), "world");
  SendMessageA(two, WM_PASTE, 0, 0);
  EXPECT_EQ(kwtest::Text(two), "world");
}

TEST_F(Clipboard, GlobalMemoryKeepsWhatIsWritten) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_NE(mem, nullptr);
  EXPECT_GE(GlobalSize(mem), 8u);
  char* p = static_cast<char*>(GlobalLock(mem));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "1234567", 8);
  GlobalUnlock(mem);
  p = static_cast<char*>(GlobalLock(mem));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "1234567");
  GlobalUnlock(mem);
  EXPECT_EQ(GlobalFree(mem), nullptr);
}

// --- GetLocaleInfoA ----------------------------------------------------------------------------

// The separators of the user's locale. The test process runs in the C/English locale, or, in
// the run registered as platform_locale_tests, with LC_ALL=de_DE.UTF-8 (Wine takes the Windows
// locale from the same variables).
struct Separators {
  char decimal, thousand, monDecimal, monThousand, date, time;
};

bool GermanRun() {
  const char* all = std::getenv("LC_ALL");
  return all && std::strncmp(all, "de_DE", 5) == 0;
}

char LocaleChar(LCTYPE type) {
  char buf[8] = {};
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  EXPECT_EQ(n, 2) << "type " << type << " gave '" << buf << "'";
  return buf[0];
}

class Locale : public ::testing::Test {};

TEST_F(Locale, SeparatorsOfTheUserLocale) {
  const Separators want = GermanRun() ? Separators{',', '.', ',', '.', '.', ':'} : Separators{'.', ',', '.', ',', '/', ':'};
  EXPECT_EQ(LocaleChar(LOCALE_SDECIMAL), want.decimal);
  EXPECT_EQ(LocaleChar(LOCALE_STHOUSAND), want.thousand);
  EXPECT_EQ(LocaleChar(LOCALE_SMONDECIMALSEP), want.monDecimal);
  EXPECT_EQ(LocaleChar(LOCALE_SMONTHOUSANDSEP), want.monThousand);
  EXPECT_EQ(LocaleChar(LOCALE_SDATE), want.date);
  EXPECT_EQ(LocaleChar(LOCALE_STIME), want.time);
}

TEST_F(Locale, SizeQueryAndShortBuffer) {
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0), 2);
  char one[1] = {'x'};
  EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, one, 1), 0);
}

}  // namespace
