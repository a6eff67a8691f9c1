// Thousands separators that are no ASCII character (the narrow no-break space U+202F of French,
// the no-break space U+00A0 of many locales, the right single quotation mark U+2019 of Swiss
// German) and an empty one. The separators are read once, when the library loads, so each runs
// in a process of its own: natively the suite runs under LC_ALL=fr_FR.UTF-8 and de_CH.UTF-8;
// under Wine the user's separator is set with SetLocaleInfoW and the suite run again as a child
// process. KW_THOUSANDS names the separator the process should have (hex, or "none" for an
// empty one); without it the checks have nothing to check and are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "character/CharacterTestSupport.h"
#include "core/KwLocaleSeparators.h"
#include "core/KwText.h"
#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

KwWString TextW(HWND h) {
  WCHAR buf[64] = {};
  const int n = ::GetWindowTextW(h, buf, 64);
  return KwWString(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool SetClipboardW(const KwWString& text) {
  if (!::OpenClipboard(Parent())) return false;
  ::EmptyClipboard();
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
  std::memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  ::GlobalUnlock(block);
  const bool set = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  ::CloseClipboard();
  return set;
}

// "1 234 567,89" in the separators given.
KwWString Amount(WCHAR thousands, WCHAR decimal) {
  return KW_W("1") + KwWString(1, thousands) + KW_W("234") + KwWString(1, thousands) + KW_W("567") +
         KwWString(1, decimal) + KW_W("89");
}

using WorldSeparators = NumberControlTest;

TEST_F(WorldSeparators, TheAmountShowsItsSeparatorsAndIsReadBack) {
  const char* expected = std::getenv("KW_THOUSANDS");
  if (expected == nullptr) GTEST_SKIP() << "run with KW_THOUSANDS and the locale it names";
  // An empty separator reads as a space; never a NUL in the text.
  const WCHAR thousands = std::strcmp(expected, "none") == 0
                              ? WCHAR(' ')
                              : static_cast<WCHAR>(std::strtoul(expected, nullptr, 16));
  ASSERT_EQ(Hex(KwWString{g_chThousandSep, g_chMonThousandSep}),
            Hex(KwWString{thousands, thousands}));
  const WCHAR decimal = g_chDecimalSep;
  const KwWString amount = Amount(thousands, decimal);

  int id = 0;
  for (const char* mask : {"%", "$"}) {
    SCOPED_TRACE(mask);
    NumberEditProbe& edit = Make("", ++id, mask);
    const HWND h = edit.GetSafeHwnd();
    // Shown as itself, and read back from the shown text: set, pasted, through either face.
    edit.SetText("1234567.89");
    EXPECT_EQ(Hex(TextW(h)), Hex(amount));
    EXPECT_EQ(::GetWindowTextLengthW(h), static_cast<int>(amount.size()));
    EXPECT_EQ(edit.GetInputData(false), "1234567.89");
    EXPECT_EQ(Hex(edit.GetInputDataW(false)), Hex(KW_W("1234567.89")));
    edit.EmptyData(1);
    ::SetWindowTextW(h, amount.c_str());
    EXPECT_EQ(edit.GetInputData(false), "1234567.89") << "a foreign text";
    edit.EmptyData(1);
    ASSERT_TRUE(SetClipboardW(amount));
    Ready(edit, 0);
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(edit.GetInputData(false), "1234567.89") << "a paste";
    EXPECT_EQ(Hex(TextW(h)), Hex(amount));
    // Backspace steps over the separator (the digit beyond it goes), and the number is laid out
    // again with it after a Delete.
    Ready(edit, 2);  // just after the first separator
    edit.SendMessage(WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(edit.GetInputData(false), "234567.89");
    edit.SetText("1234567.89");
    Ready(edit, 0);
    Press(VK_DELETE);
    EXPECT_EQ(edit.GetInputData(false), "234567.89");
    EXPECT_EQ(Hex(TextW(h)), Hex(KW_W("234") + KwWString(1, thousands) + KW_W("567") +
                                 KwWString(1, decimal) + KW_W("89")));
  }

  // A space of either kind, or one typed, stands for a thousands separator that is a space; an
  // apostrophe of either kind for one that is an apostrophe.
  KwWString others;
  if (thousands == ' ' || thousands == 0x00A0 || thousands == 0x202F)
    others = KW_W(" \u00A0\u202F");
  if (thousands == 0x2019) others = KW_W("'\u2019");
  for (WCHAR other : others) {
    SCOPED_TRACE(Hex(KwWString(1, other)));
    NumberEditProbe& edit = Make("", ++id, "%");
    ASSERT_TRUE(SetClipboardW(KW_W("1") + KwWString(1, other) + KW_W("234") +
                              KwWString(1, decimal) + KW_W("5")));
    Ready(edit, 0);
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(edit.GetInputData(false), "1234.5");
  }

  // The character control's separator positions show it too.
  CharEditProbe probe;
  probe.SetPromptSymbol('_');
  probe.SetMask("#,###.##");
  probe.SetText("123456");
  EXPECT_EQ(Hex(probe.ShowMaskW()), Hex(KW_W("1") + KwWString(1, thousands) + KW_W("234") +
                                        KwWString(1, decimal) + KW_W("56")));
}

#ifdef _WIN32
// Under Wine: the user's thousands separator set to each value in turn, and the suite run again
// in a child process, which reads it when it loads.
// It changes the user's settings, which every Wine process of the prefix reads: it runs alone
// (KW_USER_SEPARATORS, a run of its own that ctest runs serially).
TEST(WorldSeparatorsOfTheUser, EachSeparatorInAChildProcess) {
  if (std::getenv("KW_USER_SEPARATORS") == nullptr) GTEST_SKIP() << "run alone, as its own run";
  WCHAR self[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  WCHAR savedThousands[8] = {}, savedMoney[8] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, savedThousands, 8);
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHOUSANDSEP, savedMoney, 8);
  const struct {
    const WCHAR* value;
    const WCHAR* name;
  } rows[] = {{L"\u202F", L"202F"}, {L"\u00A0", L"00A0"}, {L"\u2019", L"2019"}, {L"", L"none"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(KwNarrow(r.name, std::wcslen(r.name)));
    ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, r.value));
    ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHOUSANDSEP, r.value));
    ::SetEnvironmentVariableW(L"KW_THOUSANDS", r.name);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=WorldSeparators.*";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const BOOL started =
        ::CreateProcessW(self, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    DWORD code = 1;
    if (started) {
      ::WaitForSingleObject(pi.hProcess, 120000);
      ::GetExitCodeProcess(pi.hProcess, &code);
      ::CloseHandle(pi.hThread);
      ::CloseHandle(pi.hProcess);
    }
    ::SetEnvironmentVariableW(L"KW_THOUSANDS", nullptr);
    EXPECT_TRUE(started);
    EXPECT_EQ(code, 0u) << "the child's checks failed (its output is above)";
  }
  ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, savedThousands);
  ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHOUSANDSEP, savedMoney);
}
#endif

}  // namespace
}  // namespace kwtest
