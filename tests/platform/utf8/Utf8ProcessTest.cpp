// A process that runs with UTF-8 as its ANSI code page (on Windows its manifest asks for it;
// the simulation is told so): texts between the A and W faces go through UTF-8, while typed
// characters, the clipboard's text formats and the ANSI locale answers stay in the keyboard's
// and the locale's code page, 1252. Measured under Wine.
#include <cstring>
#include <string>
#include <vector>

#include "../WideText.h"

namespace {

using ptest::Hex;
using ptest::HexBytes;

std::string g_record;

LRESULT CALLBACK Utf8RecorderA(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) g_record = HexBytes(std::string(1, static_cast<char>(wParam)));
  if (msg == WM_SETTEXT && lParam) g_record = HexBytes(reinterpret_cast<const char*>(lParam));
  return DefWindowProcA(h, msg, wParam, lParam);
}

LRESULT CALLBACK Utf8RecorderW(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WCHAR ch = static_cast<WCHAR>(wParam);
  if (msg == WM_CHAR) g_record = Hex(&ch, 1);
  if (msg == WM_SETTEXT && lParam) g_record = Hex(reinterpret_cast<const WCHAR*>(lParam));
  return DefWindowProcW(h, msg, wParam, lParam);
}

class Utf8Process : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    if (!kwinspect::UseAnsiCodePage(CP_UTF8))
      GTEST_SKIP() << "the process runs with code page " << GetACP()
                   << "; these rows need one that runs with UTF-8";
    kwtest::WindowTest::SetUp();
    static const bool registered = [] {
      WNDCLASSA a{};
      a.lpfnWndProc = Utf8RecorderA;
      a.lpszClassName = "KwUtf8RecorderA";
      WNDCLASSW w{};
      w.lpfnWndProc = Utf8RecorderW;
      w.lpszClassName = KW_W("KwUtf8RecorderW");
      return RegisterClassA(&a) != 0 && RegisterClassW(&w) != 0;
    }();
    ASSERT_TRUE(registered);
    g_record.clear();
  }
  void TearDown() override {
    for (HWND h : m_windows) DestroyWindow(h);
    kwtest::WindowTest::TearDown();
    if (!kwinspect::Available()) return;
    kwinspect::UseAnsiCodePage(1252);
  }
  HWND Make(bool wide, const char* classA, const WCHAR* classW) {
    HWND h = wide ? CreateWindowExW(0, classW, KW_W(""), WS_CHILD, 0, 0, 100, 20, kwtest::Parent(),
                                    nullptr, nullptr, nullptr)
                  : CreateWindowExA(0, classA, "", WS_CHILD, 0, 0, 100, 20, kwtest::Parent(),
                                    nullptr, nullptr, nullptr);
    EXPECT_NE(h, nullptr);
    m_windows.push_back(h);
    return h;
  }

 private:
  std::vector<HWND> m_windows;
};

TEST_F(Utf8Process, ConversionsOfTheAnsiCodePageAreUtf8) {
  EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  WCHAR w[4] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC3\xA9", 2, w, 4), 1);
  EXPECT_EQ(w[0], 0xE9);
  char a[4] = {};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, KW_W("\x0142"), 1, a, 4, nullptr, nullptr), 2);
  EXPECT_EQ(HexBytes(a, 2), "C5 82");
}

TEST_F(Utf8Process, TextsBetweenTheFacesGoThroughUtf8) {
  SendMessageA(Make(true, "", KW_W("KwUtf8RecorderW")), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("\xE9\x80x"));
  EXPECT_EQ(g_record, "FFFD 0078") << "an ill-formed sequence is one U+FFFD";
  SetWindowTextW(Make(false, "KwUtf8RecorderA", nullptr), KW_W("\x0142\x3042\x20AC\x00E9y"));
  EXPECT_EQ(g_record, "C5 82 E3 81 82 E2 82 AC C3 A9 79");
  for (bool wide : {false, true}) {
    HWND edit = Make(wide, "EDIT", KW_W("EDIT"));
    SetWindowTextW(edit, KW_W("\x0142\x3042\x20AC\x00E9y\xD83D\xDE00"));
    EXPECT_EQ(HexBytes(ptest::TextA(edit)), "C5 82 E3 81 82 E2 82 AC C3 A9 79 F0 9F 98 80");
    EXPECT_EQ(GetWindowTextLengthA(edit), 15);
    EXPECT_EQ(GetWindowTextLengthW(edit), 7);
  }
}

TEST_F(Utf8Process, TypedCharactersStayInTheKeyboardsCodePage) {
  SendMessageW(Make(false, "KwUtf8RecorderA", nullptr), WM_CHAR, 0x20AC, 0);
  EXPECT_EQ(g_record, "80");
  SendMessageA(Make(true, "", KW_W("KwUtf8RecorderW")), WM_CHAR, 0x80, 0);
  EXPECT_EQ(g_record, "20AC");
  // The ANSI edit control reads a typed byte in the ANSI code page: alone, no character.
  HWND edit = Make(false, "EDIT", nullptr);
  SendMessageA(edit, WM_CHAR, 'a', 0);
  SendMessageA(edit, WM_CHAR, 0xE9, 0);
  EXPECT_EQ(Hex(ptest::TextW(edit)), "0061 FFFD");
}

TEST_F(Utf8Process, ClipboardAndLocaleStayInTheLocalesCodePage) {
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  EmptyClipboard();
  const WCHAR text[] = KW_W("\x00E9\x20AC");
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  std::memcpy(GlobalLock(mem), text, sizeof text);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  HANDLE ansi = GetClipboardData(CF_TEXT);
  ASSERT_NE(ansi, nullptr);
  EXPECT_EQ(HexBytes(static_cast<const char*>(GlobalLock(ansi)), GlobalSize(ansi)), "E9 80 00");
  GlobalUnlock(ansi);
  CloseClipboard();
  kwtest::EmptyClipboardNow();

  WCHAR old[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, old, 8);
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, KW_W("\x2019")));
  char a[8] = {};
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, a, 8);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, old);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(HexBytes(a, 1), "92");
}

}  // namespace
