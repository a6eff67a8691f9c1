// Input methods: what a window receives when the input context's composition string is set and
// then completed, as an input method commits a string. The composition is announced
// (WM_IME_STARTCOMPOSITION), its string changes (WM_IME_COMPOSITION with GCS_COMPSTR), the
// completion empties it and hands over the result (GCS_RESULTSTR, readable while the message is
// handled), and the composition ends (WM_IME_ENDCOMPOSITION). The default processing turns the
// result into one sent WM_IME_CHAR a unit (a byte of the ANSI code page for an ANSI window), and
// each WM_IME_CHAR into a posted WM_CHAR. The edit control shows the composition string in its
// text while it lasts and takes the committed string as typed characters. Measured under Wine,
// which needs no input method running for any of this; every row runs on both builds.
#include <cstdio>
#include <vector>

#include "WideText.h"

namespace {

using ptest::Hex;
using ptest::TextA;
using ptest::TextW;

const WCHAR kAi[] = {0x3042, 0x3044, 0};          // Hiragana A, I
const WCHAR kFullTwelve[] = {0xFF11, 0xFF12, 0};  // full-width 1, 2

// What the recorder windows received, one word a message: "start", "comp:3042/138" (wParam,
// lParam; "=3042 3044" the result string read during the message), "imechar:3042", "char:3042",
// "end"; "|" where the test began pumping the queue.
std::string g_log;
// A message the recorder swallows instead of handing it to the default processing.
UINT g_eat = 0;

void Log(const std::string& word) { g_log += (g_log.empty() ? "" : " ") + word; }

std::string ResultRead(HWND h) {
  HIMC imc = ImmGetContext(h);
  WCHAR buf[16] = {};
  const LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, buf, sizeof buf);
  ImmReleaseContext(h, imc);
  return bytes > 0 ? "=" + Hex(buf, static_cast<size_t>(bytes) / sizeof(WCHAR)) : "";
}

void Record(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  char buf[48];
  switch (msg) {
    case WM_IME_STARTCOMPOSITION:
      Log("start");
      break;
    case WM_IME_ENDCOMPOSITION:
      Log("end" + ResultRead(h));
      break;
    case WM_IME_COMPOSITION:
      std::snprintf(buf, sizeof buf, "comp:%04X/%X", static_cast<unsigned>(wParam),
                    static_cast<unsigned>(lParam));
      Log(buf + ResultRead(h));
      break;
    case WM_IME_CHAR:
      std::snprintf(buf, sizeof buf, "imechar:%04X", static_cast<unsigned>(wParam));
      Log(buf);
      break;
    case WM_CHAR:
      std::snprintf(buf, sizeof buf, "char:%04X", static_cast<unsigned>(wParam));
      Log(buf);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK RecorderW(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  Record(h, msg, wParam, lParam);
  if (msg == g_eat) return 0;
  return DefWindowProcW(h, msg, wParam, lParam);
}

LRESULT CALLBACK RecorderA(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  Record(h, msg, wParam, lParam);
  if (msg == g_eat) return 0;
  return DefWindowProcA(h, msg, wParam, lParam);
}

// An ANSI procedure subclassing an edit control.
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK SubclassA(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(g_editProc, h, msg, wParam, lParam);
}

// The control's own text, read past an ANSI procedure in front of it (which would bring it
// through Windows-1252).
std::string OwnText(HWND h) {
  const LONG_PTR front = GetWindowLongPtrA(h, GWLP_WNDPROC);
  const bool subclassed = front == reinterpret_cast<LONG_PTR>(SubclassA);
  if (subclassed) SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
  const std::string text = Hex(TextW(h));
  if (subclassed) SetWindowLongPtrA(h, GWLP_WNDPROC, front);
  return text;
}

// The queue emptied through the W functions: the host loop's A functions would bring a
// Unicode window's characters through the ANSI code page.
void PumpWide() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// An input method's commit of text to the window's context: the composition string set, then
// completed.
void Commit(HWND h, const WCHAR* text, size_t units) {
  HIMC imc = ImmGetContext(h);
  ASSERT_NE(imc, nullptr);
  EXPECT_TRUE(ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<WCHAR*>(text),
                                       static_cast<DWORD>(units * sizeof(WCHAR)), nullptr, 0));
  EXPECT_TRUE(ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  ImmReleaseContext(h, imc);
}

class InputMethod : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    kwtest::WindowTest::SetUp();
    static const bool registered = [] {
      WNDCLASSW w{};
      w.lpfnWndProc = RecorderW;
      w.hInstance = GetModuleHandleA(nullptr);
      w.lpszClassName = KW_W("KwImeRecorderW");
      WNDCLASSA a{};
      a.lpfnWndProc = RecorderA;
      a.hInstance = w.hInstance;
      a.lpszClassName = "KwImeRecorderA";
      return RegisterClassW(&w) != 0 && RegisterClassA(&a) != 0;
    }();
    ASSERT_TRUE(registered);
    g_log.clear();
    g_eat = 0;
  }
  void TearDown() override {
    for (HWND h : m_windows) DestroyWindow(h);
    g_eat = 0;
    kwtest::WindowTest::TearDown();
  }

  HWND Keep(HWND h) {
    EXPECT_NE(h, nullptr);
    m_windows.push_back(h);
    return h;
  }
  HWND RecorderOf(bool wide) {
    return Keep(wide ? CreateWindowExW(0, KW_W("KwImeRecorderW"), KW_W(""), WS_CHILD | WS_VISIBLE,
                                       0, 0, 10, 10, kwtest::Parent(), nullptr, nullptr, nullptr)
                     : CreateWindowExA(0, "KwImeRecorderA", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                       kwtest::Parent(), nullptr, nullptr, nullptr));
  }
  HWND EditOf(bool wide, const WCHAR* text = KW_W("")) {
    const RECT r = kwtest::EditRect(1);
    HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(1));
    HWND h = Keep(wide ? CreateWindowExW(0, KW_W("EDIT"), KW_W(""), kwtest::kEditStyle, r.left,
                                         r.top, r.right - r.left, r.bottom - r.top,
                                         kwtest::Parent(), menu, nullptr, nullptr)
                       : CreateWindowExA(0, "EDIT", "", kwtest::kEditStyle, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, kwtest::Parent(), menu,
                                         nullptr, nullptr));
    SetWindowTextW(h, text);
    return h;
  }

 private:
  std::vector<HWND> m_windows;
};

// --- The messages of one commit, to a window that hands them all to the default processing --

struct SequenceRow {
  const char* name;
  bool wide;
  const WCHAR* text;
  const char* log;
};

class InputMethodSequence : public InputMethod,
                            public ::testing::WithParamInterface<SequenceRow> {};

const SequenceRow kSequenceRows[] = {
    // The composition's wParam is its first UTF-16 unit for either window; only the characters
    // made of the result differ: the ANSI window's come through Windows-1252 ('?', or the best
    // fit '1' for the full-width digit).
    {"UnicodeKana", true, kAi,
     "start comp:3042/138 comp:0000/8=3042 3044 comp:3042/1800=3042 3044 imechar:3042 "
     "imechar:3044 end=3042 3044 | char:3042 char:3044"},
    {"UnicodeFullWidthDigits", true, kFullTwelve,
     "start comp:FF11/138 comp:0000/8=FF11 FF12 comp:FF11/1800=FF11 FF12 imechar:FF11 "
     "imechar:FF12 end=FF11 FF12 | char:FF11 char:FF12"},
    {"AnsiKana", false, kAi,
     "start comp:3042/138 comp:0000/8=3042 3044 comp:3042/1800=3042 3044 imechar:003F "
     "imechar:003F end=3042 3044 | char:003F char:003F"},
    {"AnsiFullWidthDigits", false, kFullTwelve,
     "start comp:FF11/138 comp:0000/8=FF11 FF12 comp:FF11/1800=FF11 FF12 imechar:0031 "
     "imechar:0032 end=FF11 FF12 | char:0031 char:0032"},
};

TEST_P(InputMethodSequence, CommitGivesCharactersThroughTheQueue) {
  const SequenceRow& row = GetParam();
  HWND h = RecorderOf(row.wide);
  SetFocus(h);
  g_log.clear();
  Commit(h, row.text, 2);
  Log("|");
  PumpWide();
  EXPECT_EQ(g_log, row.log);
}
PTEST_ROWS(InputMethodSequence, kSequenceRows);

// --- A window that keeps a message from the default processing ------------------------------

struct EatRow {
  const char* name;
  UINT eaten;
  const char* log;
};

class InputMethodEaten : public InputMethod, public ::testing::WithParamInterface<EatRow> {};

const EatRow kEatRows[] = {
    // The start is only news: the characters come all the same.
    {"Start", WM_IME_STARTCOMPOSITION,
     "start comp:3042/138 comp:0000/8=3042 3044 comp:3042/1800=3042 3044 imechar:3042 "
     "imechar:3044 end=3042 3044 | char:3042 char:3044"},
    // The result becomes characters only in the default processing of these two messages.
    {"Composition", WM_IME_COMPOSITION,
     "start comp:3042/138 comp:0000/8=3042 3044 comp:3042/1800=3042 3044 end=3042 3044 |"},
    {"ImeChar", WM_IME_CHAR,
     "start comp:3042/138 comp:0000/8=3042 3044 comp:3042/1800=3042 3044 imechar:3042 "
     "imechar:3044 end=3042 3044 |"},
};

TEST_P(InputMethodEaten, OnlyTheDefaultProcessingMakesCharacters) {
  HWND h = RecorderOf(true);
  SetFocus(h);
  g_log.clear();
  g_eat = GetParam().eaten;
  Commit(h, kAi, 2);
  Log("|");
  PumpWide();
  EXPECT_EQ(g_log, GetParam().log);
}
PTEST_ROWS(InputMethodEaten, kEatRows);

// --- The edit control -------------------------------------------------------------------------

struct EditRow {
  const char* name;
  bool wide;
  bool subclassA;  // an ANSI procedure in front of the control's own
  const WCHAR* text;
  const char* shown;  // the text afterwards, UTF-16 units
};

class InputMethodEdit : public InputMethod, public ::testing::WithParamInterface<EditRow> {};

const EditRow kEditRows[] = {
    {"UnicodeKana", true, false, kAi, "3042 3044"},
    {"UnicodeFullWidthDigits", true, false, kFullTwelve, "FF11 FF12"},
    // The control's own procedure takes Unicode characters even in an ANSI window: the system
    // hands them to its Unicode face.
    {"AnsiKana", false, false, kAi, "3042 3044"},
    {"AnsiFullWidthDigits", false, false, kFullTwelve, "FF11 FF12"},
    // An ANSI procedure in front of it gets the characters through Windows-1252 and passes on
    // what it got.
    {"AnsiSubclassedKana", false, true, kAi, "003F 003F"},
    {"AnsiSubclassedFullWidthDigits", false, true, kFullTwelve, "0031 0032"},
};

// The composition shows in the text (one change, selected), goes when it is completed (another
// change), and the committed characters arrive as typed ones, one change each.
TEST_P(InputMethodEdit, CommittedStringIsTyped) {
  const EditRow& row = GetParam();
  HWND h = EditOf(row.wide);
  if (row.subclassA) {
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassA)));
  }
  SetFocus(h);
  PumpWide();
  kwtest::ClearNotifications();
  HIMC imc = ImmGetContext(h);
  ASSERT_NE(imc, nullptr);
  ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<WCHAR*>(row.text), 2 * sizeof(WCHAR),
                           nullptr, 0);
  EXPECT_EQ(OwnText(h), Hex(row.text, 2)) << "shown while composed";
  DWORD s = 9, e = 9;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  EXPECT_EQ(s, 0u);
  EXPECT_EQ(e, 2u);
  ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ImmReleaseContext(h, imc);
  EXPECT_EQ(OwnText(h), "") << "the characters are still in the queue";
  PumpWide();
  EXPECT_EQ(OwnText(h), row.shown);
  EXPECT_EQ(ptest::Notes(), "1U 1C 1U 1C 1U 1C 1U 1C");
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  EXPECT_EQ(s, 2u);
  EXPECT_EQ(e, 2u);
}
PTEST_ROWS(InputMethodEdit, kEditRows);

struct PlaceRow {
  const char* name;
  DWORD selStart, selEnd;  // EM_SETSEL on "abc"
  const char* composing;   // text and selection while the first string is composed
  const char* recomposed;  // after a second, shorter string
  const char* committed;   // after the commit, once the queue is empty
};

class InputMethodPlace : public InputMethod, public ::testing::WithParamInterface<PlaceRow> {};

const PlaceRow kPlaceRows[] = {
    {"AtTheCaret", 1, 1, "0061 3042 3044 0062 0063 @1,3", "0061 3046 0062 0063 @1,2",
     "0061 3046 0062 0063 @2,2"},
    {"OverASelection", 1, 2, "0061 3042 3044 0063 @1,3", "0061 3046 0063 @1,2",
     "0061 3046 0063 @2,2"},
    {"OverAReversedWholeSelection", 3, 0, "3042 3044 @0,2", "3046 @0,1", "3046 @1,1"},
};

std::string TextAndSel(HWND h) {
  DWORD s = 0, e = 0;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  char buf[24];
  std::snprintf(buf, sizeof buf, " @%lu,%lu", static_cast<unsigned long>(s),
                static_cast<unsigned long>(e));
  return Hex(TextW(h)) + buf;
}

// The composition takes the selection's place (deleting it) or the caret's; a new string
// replaces the last one.
TEST_P(InputMethodPlace, CompositionReplacesTheSelection) {
  const PlaceRow& row = GetParam();
  HWND h = EditOf(true, KW_W("abc"));
  SetFocus(h);
  PumpWide();
  SendMessageW(h, EM_SETSEL, row.selStart, row.selEnd);
  const WCHAR u[] = {0x3046, 0};
  HIMC imc = ImmGetContext(h);
  ASSERT_NE(imc, nullptr);
  ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<WCHAR*>(kAi), 4, nullptr, 0);
  EXPECT_EQ(TextAndSel(h), row.composing);
  ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<WCHAR*>(u), 2, nullptr, 0);
  EXPECT_EQ(TextAndSel(h), row.recomposed);
  ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ImmReleaseContext(h, imc);
  PumpWide();
  EXPECT_EQ(TextAndSel(h), row.committed);
}
PTEST_ROWS(InputMethodPlace, kPlaceRows);

// The context belongs to the window that asked for it last, focused or not.
TEST_F(InputMethod, ContextOfAWindowWithoutTheFocus) {
  HWND h = EditOf(true);
  SetFocus(nullptr);
  PumpWide();
  Commit(h, kAi, 2);
  PumpWide();
  EXPECT_EQ(Hex(TextW(h)), "3042 3044");
  EXPECT_EQ(TextA(h), "??");
}

// No context: nothing to set, complete or read, and nothing is sent.
TEST_F(InputMethod, NoContext) {
  HWND h = RecorderOf(true);
  SetFocus(h);
  g_log.clear();
  EXPECT_EQ(ImmGetContext(nullptr), nullptr);
  EXPECT_FALSE(
      ImmSetCompositionStringW(nullptr, SCS_SETSTR, const_cast<WCHAR*>(kAi), 4, nullptr, 0));
  EXPECT_FALSE(ImmNotifyIME(nullptr, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  WCHAR buf[8];
  EXPECT_EQ(ImmGetCompositionStringW(nullptr, GCS_RESULTSTR, buf, sizeof buf), 0);
  PumpWide();
  EXPECT_EQ(g_log, "");
}

// Reading the strings while the composition lasts: its size with no buffer, UTF-16 or through
// Windows-1252 (best fit). The result stays once the composition has ended; completing with no
// composition under way succeeds, sends nothing and drops it.
TEST_F(InputMethod, ReadingTheStringsAndCompletingNothing) {
  HWND h = RecorderOf(true);
  SetFocus(h);
  HIMC imc = ImmGetContext(h);
  ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<WCHAR*>(kFullTwelve), 4, nullptr, 0);
  WCHAR wide[8] = {};
  EXPECT_EQ(ImmGetCompositionStringW(imc, GCS_COMPSTR, nullptr, 0), 4);
  EXPECT_EQ(ImmGetCompositionStringW(imc, GCS_COMPSTR, wide, sizeof wide), 4);
  EXPECT_EQ(Hex(wide, 2), "FF11 FF12");
  EXPECT_EQ(ImmGetCompositionStringW(imc, GCS_COMPSTR, wide, 2), 2) << "cut to the buffer";
  char narrow[8] = {};
  EXPECT_EQ(ImmGetCompositionStringA(imc, GCS_COMPSTR, narrow, sizeof narrow), 2);
  EXPECT_EQ(std::string(narrow), "12");
  EXPECT_EQ(ImmGetCompositionStringW(imc, GCS_RESULTSTR, wide, sizeof wide), 0);
  EXPECT_TRUE(ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  PumpWide();
  EXPECT_EQ(ImmGetCompositionStringW(imc, GCS_COMPSTR, wide, sizeof wide), 0);
  EXPECT_EQ(ImmGetCompositionStringA(imc, GCS_RESULTSTR, narrow, sizeof narrow), 2);
  g_log.clear();
  EXPECT_TRUE(ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  PumpWide();
  EXPECT_EQ(g_log, "");
  EXPECT_EQ(ImmGetCompositionStringW(imc, GCS_RESULTSTR, wide, sizeof wide), 0);
  ImmReleaseContext(h, imc);
}

}  // namespace
