// Windows of both character sets side by side: which windows are Unicode windows, what a
// procedure of the other character set receives (text and typed characters converted through
// Windows-1252, best fit or '?'), the edit control's UTF-16 text read through both faces, the
// queue, and the procedure handles a window hands out for the face it lacks. Measured under
// Wine; every row runs on both builds.
#include <cstdio>
#include <cstring>
#include <vector>

#include "WideText.h"

namespace {

using ptest::Hex;
using ptest::HexBytes;
using ptest::TextA;
using ptest::TextW;

// What the recorder windows received last: a typed character or a text, as hex; and every
// typed character.
std::string g_record;
std::string g_chars;
int g_getTexts = 0;  // WM_GETTEXT messages the Unicode recorder got

void Record(const std::string& text, bool typed) {
  g_record = text;
  if (typed) g_chars += (g_chars.empty() ? "" : " ") + text;
}

LRESULT CALLBACK RecorderA(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(wParam));
    Record(buf, true);
  } else if ((msg == WM_SETTEXT || msg == EM_REPLACESEL) && lParam) {
    const auto* text = reinterpret_cast<const char*>(lParam);
    g_record = HexBytes(text, std::strlen(text));
  }
  return DefWindowProcA(h, msg, wParam, lParam);
}

LRESULT CALLBACK RecorderW(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) {
    const WCHAR ch = static_cast<WCHAR>(wParam);
    Record(Hex(&ch, 1), true);
  } else if ((msg == WM_SETTEXT || msg == EM_REPLACESEL) && lParam) {
    const auto* text = reinterpret_cast<const WCHAR*>(lParam);
    g_record = Hex(KwWString(text));
  } else if (msg == WM_GETTEXT) {
    ++g_getTexts;
  }
  return DefWindowProcW(h, msg, wParam, lParam);
}

class WideWindows : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    static const bool registered = [] {
      WNDCLASSA a{};
      a.lpfnWndProc = RecorderA;
      a.hInstance = GetModuleHandleA(nullptr);
      a.lpszClassName = "KwRecorderA";
      WNDCLASSW w{};
      w.lpfnWndProc = RecorderW;
      w.hInstance = a.hInstance;
      w.lpszClassName = KW_W("KwRecorderW");
      return RegisterClassA(&a) != 0 && RegisterClassW(&w) != 0;
    }();
    ASSERT_TRUE(registered);
    g_record.clear();
    g_chars.clear();
  }
  void TearDown() override {
    for (HWND h : m_windows) DestroyWindow(h);
    kwtest::WindowTest::TearDown();
  }

  HWND Keep(HWND h) {
    EXPECT_NE(h, nullptr);
    m_windows.push_back(h);
    return h;
  }
  HWND RecorderOf(bool wide) {
    return Keep(wide ? CreateWindowExW(0, KW_W("KwRecorderW"), KW_W(""), WS_CHILD, 0, 0, 10, 10,
                                       kwtest::Parent(), nullptr, nullptr, nullptr)
                     : CreateWindowExA(0, "KwRecorderA", "", WS_CHILD, 0, 0, 10, 10,
                                       kwtest::Parent(), nullptr, nullptr, nullptr));
  }
  // An edit control made with CreateWindowExA or CreateWindowExW.
  HWND EditOf(bool wide, int id) {
    const RECT r = kwtest::EditRect(id);
    HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    return Keep(wide ? CreateWindowExW(0, KW_W("EDIT"), KW_W(""), kwtest::kEditStyle, r.left, r.top,
                                       r.right - r.left, r.bottom - r.top, kwtest::Parent(), menu,
                                       nullptr, nullptr)
                     : CreateWindowExA(0, "EDIT", "", kwtest::kEditStyle, r.left, r.top,
                                       r.right - r.left, r.bottom - r.top, kwtest::Parent(), menu,
                                       nullptr, nullptr));
  }

 private:
  std::vector<HWND> m_windows;
};

// A program's class has the character set it was registered with, whichever function creates
// its windows; the edit control takes the character set of the function that creates it.
TEST_F(WideWindows, WhichWindowsAreUnicodeWindows) {
  EXPECT_FALSE(IsWindowUnicode(EditOf(false, 1)));
  EXPECT_TRUE(IsWindowUnicode(EditOf(true, 2)));
  EXPECT_TRUE(IsWindowUnicode(Keep(CreateWindowExA(0, "KwRecorderW", "", WS_CHILD, 0, 0, 1, 1,
                                                   kwtest::Parent(), nullptr, nullptr, nullptr))));
  EXPECT_FALSE(
      IsWindowUnicode(Keep(CreateWindowExW(0, KW_W("KwRecorderA"), KW_W(""), WS_CHILD, 0, 0, 1, 1,
                                           kwtest::Parent(), nullptr, nullptr, nullptr))));
  EXPECT_FALSE(IsWindowUnicode(nullptr));
}

// Subclassing with the W function makes a window a Unicode window, with the A function an ANSI
// one. The face a procedure lacks is handed out as a handle that CallWindowProc converts for.
TEST_F(WideWindows, TheProcedureSetDecidesAndTheOtherFaceIsAHandle) {
  HWND h = RecorderOf(false);
  const LONG_PTR own = GetWindowLongPtrA(h, GWLP_WNDPROC);
  EXPECT_EQ(own, reinterpret_cast<LONG_PTR>(RecorderA));
  EXPECT_NE(GetWindowLongPtrW(h, GWLP_WNDPROC), own);
  const LONG_PTR handleOfA = GetWindowLongPtrW(h, GWLP_WNDPROC);
  EXPECT_EQ(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecorderW)), handleOfA)
      << "the old procedure as the W function sees it";
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(RecorderW));
  const LONG_PTR handle = GetWindowLongPtrA(h, GWLP_WNDPROC);
  EXPECT_NE(handle, reinterpret_cast<LONG_PTR>(RecorderW));
  // An ANSI call through the handle reaches the Unicode procedure with the text converted.
  CallWindowProcA(reinterpret_cast<WNDPROC>(handle), h, WM_SETTEXT, 0,
                  reinterpret_cast<LPARAM>("\x80z"));
  EXPECT_EQ(g_record, "20AC 007A");
  EXPECT_EQ(Hex(TextW(h)), "20AC 007A");
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecorderA));
  EXPECT_FALSE(IsWindowUnicode(h));
}

struct MessageRow {
  const char* name;
  bool windowWide;
  bool senderWide;
  UINT msg;
  WPARAM wParam;
  const char* textA;   // the payload of an ANSI sender
  const WCHAR* textW;  // the payload of a Unicode sender
  const char* received;
};

// Typed characters go through the keyboard's code page (1252), texts through the ANSI code
// page: what 1252 lacks arrives as its best fit or '?'.
const MessageRow kMessages[] = {
    {"CharEuroToUnicode", true, false, WM_CHAR, 0x80, nullptr, nullptr, "20AC"},
    {"CharEAcuteToUnicode", true, false, WM_CHAR, 0xE9, nullptr, nullptr, "00E9"},
    {"CharLStrokeBestFit", false, true, WM_CHAR, 0x142, nullptr, nullptr, "6C"},
    {"CharHiraganaIsQuestionMark", false, true, WM_CHAR, 0x3042, nullptr, nullptr, "3F"},
    {"CharEuroToAnsi", false, true, WM_CHAR, 0x20AC, nullptr, nullptr, "80"},
    {"CharNarrowNoBreakSpaceIsQuestionMark", false, true, WM_CHAR, 0x202F, nullptr, nullptr, "3F"},
    {"CharHighSurrogateIsQuestionMark", false, true, WM_CHAR, 0xD83D, nullptr, nullptr, "3F"},
    {"CharSameSetUntouched", true, true, WM_CHAR, 0x3042, nullptr, nullptr, "3042"},
    {"SetTextToUnicode", true, false, WM_SETTEXT, 0, "\xE9\x80x", nullptr, "00E9 20AC 0078"},
    {"SetTextToAnsi", false, true, WM_SETTEXT, 0, nullptr, KW_W("\x0142\x3042\x20AC\x00E9y"),
     "6C 3F 80 E9 79"},
    {"ReplaceSelToUnicode", true, false, EM_REPLACESEL, 0, "\x80", nullptr, "20AC"},
    {"ReplaceSelToAnsi", false, true, EM_REPLACESEL, 0, nullptr, KW_W("\x0416\x00E9"), "3F E9"},
};

class Conversions : public WideWindows, public testing::WithParamInterface<MessageRow> {};

TEST_P(Conversions, TheProcedureReceives) {
  const MessageRow& r = GetParam();
  HWND h = RecorderOf(r.windowWide);
  const LPARAM lParam =
      r.senderWide ? reinterpret_cast<LPARAM>(r.textW) : reinterpret_cast<LPARAM>(r.textA);
  if (r.senderWide)
    SendMessageW(h, r.msg, r.wParam, lParam);
  else
    SendMessageA(h, r.msg, r.wParam, lParam);
  EXPECT_EQ(g_record, r.received);
}
PTEST_ROWS(Conversions, kMessages);

// The window name of the creation messages is converted like a set text, and an ANSI caller
// asking a Unicode window for its text length is told the length of the converted text: the
// window is asked for its length and then for its text.
TEST_F(WideWindows, CreationNamesAndLengthQueriesAreConverted) {
  HWND w = Keep(CreateWindowExA(0, "KwRecorderW", "\xE9\x80", WS_CHILD, 0, 0, 1, 1,
                                kwtest::Parent(), nullptr, nullptr, nullptr));
  EXPECT_EQ(Hex(TextW(w)), "00E9 20AC");
  HWND a = Keep(CreateWindowExW(0, KW_W("KwRecorderA"), KW_W("\x0142\x20AC"), WS_CHILD, 0, 0, 1, 1,
                                kwtest::Parent(), nullptr, nullptr, nullptr));
  EXPECT_EQ(HexBytes(TextA(a)), "6C 80");
  EXPECT_EQ(Hex(TextW(a)), "006C 20AC");
  g_getTexts = 0;
  EXPECT_EQ(GetWindowTextLengthW(w), 2);
  EXPECT_EQ(g_getTexts, 0);
  EXPECT_EQ(GetWindowTextLengthA(w), 2);
  EXPECT_EQ(g_getTexts, 1);
}

// The edit control keeps UTF-16 whichever function made it; each face reads it in its own
// character set, cut to the caller's buffer.
TEST_F(WideWindows, EditTextThroughBothFaces) {
  const WCHAR* text = KW_W("\x0142\x3042z\xD83D\xDE00");
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "made with CreateWindowExW" : "made with CreateWindowExA");
    HWND edit = EditOf(wide, wide ? 2 : 1);
    ASSERT_TRUE(SetWindowTextW(edit, text));
    EXPECT_EQ(Hex(TextW(edit)), "0142 3042 007A D83D DE00");
    EXPECT_EQ(HexBytes(TextA(edit)), "6C 3F 7A 3F 3F");
    EXPECT_EQ(GetWindowTextLengthW(edit), 5);
    EXPECT_EQ(GetWindowTextLengthA(edit), 5);
    const struct {
      int room;
      const char* ansi;
      const char* wide;
    } cuts[] = {{1, "", ""},
                {2, "6C", "0142"},
                {3, "6C 3F", "0142 3042"},
                {5, "6C 3F 7A 3F", "0142 3042 007A D83D"}};
    for (const auto& c : cuts) {
      char a[8];
      std::memset(a, 0x55, sizeof a);
      const LRESULT na =
          SendMessageA(edit, WM_GETTEXT, static_cast<WPARAM>(c.room), reinterpret_cast<LPARAM>(a));
      EXPECT_EQ(HexBytes(a, static_cast<size_t>(na)), c.ansi) << c.room;
      EXPECT_EQ(a[na], '\0') << c.room;
      WCHAR w[8];
      for (WCHAR& u : w) u = 0x5555;
      const LRESULT nw =
          SendMessageW(edit, WM_GETTEXT, static_cast<WPARAM>(c.room), reinterpret_cast<LPARAM>(w));
      EXPECT_EQ(Hex(w, static_cast<size_t>(nw)), c.wide) << c.room;
      EXPECT_EQ(w[nw], 0) << c.room;
    }
    // Typed characters of both character sets, and a pair typed unit by unit.
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_CHAR, 0xE9, 0);
    SendMessageA(edit, WM_CHAR, 0x80, 0);
    SendMessageW(edit, WM_CHAR, 0x3042, 0);
    SendMessageW(edit, WM_CHAR, 0xD83D, 0);
    SendMessageW(edit, WM_CHAR, 0xDE00, 0);
    EXPECT_EQ(Hex(TextW(edit)), "00E9 20AC 3042 D83D DE00");
    EXPECT_EQ(kwtest::Sel(edit), std::make_pair(5, 5)) << "the caret counts UTF-16 units";
    // Replacing the selection from both faces.
    kwtest::SetSel(edit, 0, 2);
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("\x80"));
    kwtest::SetSel(edit, 1, 2);
    SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(KW_W("\x0416")));
    EXPECT_EQ(Hex(TextW(edit)), "20AC 0416 D83D DE00");
  }
}

// Case forcing maps the letters of other scripts too; 'ß' (two letters in upper case) and 'µ'
// stay as they are.
TEST_F(WideWindows, CaseForcingMapsLettersOfOtherScripts) {
  const struct {
    DWORD style;
    const WCHAR* text;
    const char* shown;
  } rows[] = {{ES_UPPERCASE, KW_W("a\x00E9\x00FF\x00DF\x0142\x0436\x03B1\x00B5z"),
               "0041 00C9 0178 00DF 0141 0416 0391 00B5 005A"},
              {ES_LOWERCASE, KW_W("A\x00C9\x0178\x0141\x0416\x0391Z"),
               "0061 00E9 00FF 0142 0436 03B1 007A"}};
  for (const auto& r : rows) {
    HWND edit = Keep(CreateWindowExW(0, KW_W("EDIT"), KW_W(""), WS_CHILD | r.style, 0, 0, 100, 20,
                                     kwtest::Parent(), nullptr, nullptr, nullptr));
    SetWindowTextW(edit, r.text);
    EXPECT_EQ(Hex(TextW(edit)), r.shown);
  }
  HWND typed = Keep(CreateWindowExW(0, KW_W("EDIT"), KW_W(""), WS_CHILD | ES_UPPERCASE, 0, 0, 100,
                                    20, kwtest::Parent(), nullptr, nullptr, nullptr));
  SendMessageW(typed, WM_CHAR, 0x0142, 0);
  SendMessageW(typed, WM_CHAR, 0x00E9, 0);
  EXPECT_EQ(Hex(TextW(typed)), "0141 00C9");
}

// The queue holds a posted character in UTF-16; the A functions give it back in 1252.
TEST_F(WideWindows, PostedCharactersAndTheQueue) {
  const struct {
    bool postWide;
    WPARAM posted;
    bool peekWide;
    WPARAM peeked;
    const char* dispatched;  // what the Unicode window receives
  } rows[] = {{false, 0xE9, false, 0xE9, "00E9"},
              {false, 0x80, true, 0x20AC, "20AC"},
              {true, 0x0142, false, 0x6C, "006C"},
              {true, 0x3042, false, 0x3F, "003F"},
              {true, 0x3042, true, 0x3042, "3042"}};
  HWND h = RecorderOf(true);
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
    ASSERT_TRUE(r.postWide ? PostMessageW(h, WM_CHAR, r.posted, 0)
                           : PostMessageA(h, WM_CHAR, r.posted, 0));
    MSG m{};
    ASSERT_TRUE(r.peekWide ? PeekMessageW(&m, h, WM_CHAR, WM_CHAR, PM_REMOVE)
                           : PeekMessageA(&m, h, WM_CHAR, WM_CHAR, PM_REMOVE));
    EXPECT_EQ(m.wParam, r.peeked);
    // Dispatched with the function of the character set it was taken with.
    if (r.peekWide)
      DispatchMessageW(&m);
    else
      DispatchMessageA(&m);
    EXPECT_EQ(g_record, r.dispatched);
  }
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")))
      << "a text cannot wait in the queue";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
}

// A character sent as such (KEYEVENTF_UNICODE) arrives as VK_PACKET, and TranslateMessage makes
// it a WM_CHAR of the UTF-16 unit; a loop of the A functions gets it through 1252.
TEST_F(WideWindows, UnicodeInputBecomesCharacters) {
  const struct {
    bool windowWide;
    bool loopWide;
    std::vector<WCHAR> typed;
    const char* received;
  } rows[] = {{true, true, {0x0142, 0xD83D, 0xDE00}, "0142 D83D DE00"},
              {true, false, {0x0142}, "006C"},
              {false, false, {0x0142, 0x20AC}, "6C 80"},
              {false, true, {0x3042}, "3F"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.received);
    HWND h = Keep(r.windowWide
                      ? CreateWindowExW(0, KW_W("KwRecorderW"), KW_W(""), WS_CHILD | WS_VISIBLE, 0,
                                        0, 10, 10, kwtest::Parent(), nullptr, nullptr, nullptr)
                      : CreateWindowExA(0, "KwRecorderA", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                        kwtest::Parent(), nullptr, nullptr, nullptr));
    kwtest::Focus(h);
    g_chars.clear();
    std::vector<INPUT> in;
    for (WCHAR c : r.typed) {
      for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wScan = static_cast<WORD>(c);
        i.ki.dwFlags = KEYEVENTF_UNICODE | up;
        in.push_back(i);
      }
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)), in.size());
    // The loop of this row (input reaches the queue asynchronously on the real platform).
    const DWORD end = GetTickCount() + 1500;
    MSG m;
    while (g_chars.size() < std::strlen(r.received) && GetTickCount() < end) {
      while (r.loopWide ? PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)
                        : PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        if (r.loopWide)
          DispatchMessageW(&m);
        else
          DispatchMessageA(&m);
      }
      Sleep(5);
    }
    EXPECT_EQ(g_chars, r.received);
  }
}

// Tab into an edit control selects its whole text in UTF-16 units, from a Unicode loop too.
TEST_F(WideWindows, DialogTabSelectsTheWholeUnicodeText) {
  HWND first = EditOf(false, 1);
  HWND second = EditOf(true, 2);
  SetWindowTextW(second, KW_W("\x3042\x3044\xD83D\xDE00"));
  kwtest::Focus(first);
  MSG m{};
  m.hwnd = first;
  m.message = WM_KEYDOWN;
  m.wParam = VK_TAB;
  m.lParam = 1;
  EXPECT_TRUE(IsDialogMessageW(kwtest::Parent(), &m));
  kwtest::Pump();
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(kwtest::Sel(second), std::make_pair(0, 4));
}

}  // namespace
