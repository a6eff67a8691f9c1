// The clipboard's two text formats: what a program puts there as CF_UNICODETEXT is offered as
// CF_TEXT too once the clipboard is closed, and the other way round, converted through the
// locale's code page (1252) with every unit of the block, the last one made the NUL. The edit
// control copies and pastes CF_UNICODETEXT. Measured under Wine.
#include <cstring>
#include <string>

#include "WideText.h"

namespace {

using ptest::Hex;
using ptest::HexBytes;

class WideClipboard : public kwtest::WindowTest {
 protected:
  // Puts one block of the given bytes on the clipboard in that format (emptying it first).
  static bool Put(UINT format, const void* data, size_t size) {
    if (!OpenClipboard(kwtest::Parent())) return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    bool done = false;
    if (mem) {
      if (void* p = GlobalLock(mem)) {
        std::memcpy(p, data, size);
        GlobalUnlock(mem);
        done = SetClipboardData(format, mem) != nullptr;
      }
      if (!done) GlobalFree(mem);
    }
    CloseClipboard();
    return done;
  }
  // The whole block of a format, as hex bytes or units ("-" when there is none).
  static std::string Block(UINT format) {
    if (!OpenClipboard(kwtest::Parent())) return "not open";
    std::string out = "-";
    if (HANDLE mem = GetClipboardData(format)) {
      const size_t size = GlobalSize(mem);
      if (const void* p = GlobalLock(mem)) {
        out = format == CF_UNICODETEXT ? Hex(static_cast<const WCHAR*>(p), size / sizeof(WCHAR))
                                       : HexBytes(static_cast<const char*>(p), size);
        GlobalUnlock(mem);
      }
    }
    CloseClipboard();
    return out;
  }
};

struct SynthesisRow {
  const char* name;
  UINT format;       // what the program puts there
  const void* data;  // the block
  size_t size;
  UINT other;        // the format the system makes of it
  const char* made;  // its block
};

const WCHAR kUnicode[] = KW_W("\x00E9\x20AC\x3042\x0142\xD83D\xDE00z");
const WCHAR kUnicodeNoNul[] = {'a', 'b'};

const SynthesisRow kSynthesis[] = {
    {"UnicodeToText", CF_UNICODETEXT, kUnicode, sizeof kUnicode, CF_TEXT,
     "E9 80 3F 6C 3F 3F 7A 00"},
    {"TextToUnicode", CF_TEXT, "\x80\xE9\x81x", 5, CF_UNICODETEXT, "20AC 00E9 0081 0078 0000"},
    {"TextWithoutNulLosesItsLastCharacter", CF_TEXT, "abc", 3, CF_UNICODETEXT, "0061 0062 0000"},
    {"UnicodeWithoutNulLosesItsLastCharacter", CF_UNICODETEXT, kUnicodeNoNul, sizeof kUnicodeNoNul,
     CF_TEXT, "61 00"},
};

class Synthesis : public WideClipboard, public testing::WithParamInterface<SynthesisRow> {};

TEST_P(Synthesis, TheOtherTextFormatIsOfferedOnceClosed) {
  const SynthesisRow& r = GetParam();
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, r.size);
  ASSERT_NE(mem, nullptr);
  std::memcpy(GlobalLock(mem), r.data, r.size);
  GlobalUnlock(mem);
  ASSERT_NE(SetClipboardData(r.format, mem), nullptr);
  EXPECT_FALSE(IsClipboardFormatAvailable(r.other)) << "not while it is being written";
  EXPECT_EQ(GetClipboardData(r.other), nullptr);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(r.other));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_LOCALE));
  EXPECT_EQ(Block(r.other), r.made);
  EXPECT_EQ(Block(r.other), r.made) << "read again";
}
PTEST_ROWS(Synthesis, kSynthesis);

TEST_F(WideClipboard, BothFormatsPutThereAreKeptAsTheyAreAndEmptyMeansNone) {
  ASSERT_TRUE(OpenClipboard(kwtest::Parent()));
  EmptyClipboard();
  for (UINT format : {CF_TEXT, CF_UNICODETEXT}) {
    const size_t size = format == CF_TEXT ? 4 : 8;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(
        GlobalLock(mem),
        format == CF_TEXT ? static_cast<const void*>("one") : static_cast<const void*>(KW_W("two")),
        size);
    GlobalUnlock(mem);
    SetClipboardData(format, mem);
  }
  CloseClipboard();
  EXPECT_EQ(Block(CF_TEXT), "6F 6E 65 00");
  EXPECT_EQ(Block(CF_UNICODETEXT), "0074 0077 006F 0000");
  kwtest::EmptyClipboardNow();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_LOCALE));
}

// The edit control copies UTF-16 (an ANSI reader gets 1252) and pastes the Unicode text, also
// one that another program put there as CF_TEXT alone.
TEST_F(WideClipboard, EditCopiesAndPastesUnicode) {
  HWND edit = CreateWindowExW(0, KW_W("EDIT"), KW_W("\x0142\x20AC\x3042"), kwtest::kEditStyle, 0, 0,
                              100, 24, kwtest::Parent(), nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  kwtest::SetSel(edit, 0, -1);
  SendMessageW(edit, WM_COPY, 0, 0);
  EXPECT_EQ(Block(CF_UNICODETEXT), "0142 20AC 3042 0000");
  EXPECT_EQ(Block(CF_TEXT), "6C 80 3F 00");
  ASSERT_TRUE(Put(CF_TEXT, "\x80\xE9", 3));
  kwtest::SetSel(edit, 3, 3);
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Hex(ptest::TextW(edit)), "0142 20AC 3042 20AC 00E9");
  const WCHAR pair[] = KW_W("\xD83D\xDE00");
  ASSERT_TRUE(Put(CF_UNICODETEXT, pair, sizeof pair));
  kwtest::SetSel(edit, 0, 1);
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(Hex(ptest::TextW(edit)), "D83D DE00 20AC 3042 20AC 00E9");
  EXPECT_EQ(kwtest::Sel(edit), std::make_pair(2, 2));
  DestroyWindow(edit);
}

}  // namespace
