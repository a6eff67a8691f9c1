// The key-script language: what each piece of a script parses to, the errors and their
// columns, and playing a script into an edit control through the host loop.
#include <string>

#include "common/TestHost.h"
#include "host/Utf8.h"

namespace {

using kwhost::Stroke;

struct ParseRow {
  const char* name;
  const char* script;
  const char* strokes;  // StrokeText@column of each stroke, one space between
  const char* error;
};
void PrintTo(const ParseRow& c, std::ostream* os) { *os << c.name; }

const ParseRow kParseRows[] = {
    {"PrintablesTypeThemselves", "aZ 9.(", "a@1 Z@2  @3 9@4 .@5 (@6", ""},
    {"DoubledBracesTypeBraces", "{{x}}", "{{@1 x@3 }}@4", ""},
    {"EveryKeyName",
     "{Back}{Del}{Ins}{Home}{End}{Left}{Right}{Up}{Down}{PgUp}{PgDn}{Tab}{Enter}{Esc}{Space}",
     "{Back}@1 {Del}@7 {Ins}@12 {Home}@17 {End}@23 {Left}@28 {Right}@34 {Up}@41 {Down}@45 "
     "{PgUp}@51 {PgDn}@57 {Tab}@63 {Enter}@68 {Esc}@75 {Space}@80",
     ""},
    {"ModifiersInAnyOrderAndCase", "{S+Left}{C+S+End}{s+c+end}{c+Home}",
     "{S+Left}@1 {S+C+End}@9 {S+C+End}@18 {C+Home}@27", ""},
    {"LetterKeysForShortcutsAndUndo", "{C+v}{C+z}{C+y}{C+S+z}{5}",
     "{C+V}@1 {C+Z}@6 {C+Y}@11 {S+C+Z}@16 {5}@23", ""},
    {"CommandsToTheFocus", "{Cut}{copy}{PASTE}{Clear}{Undo}{Replace=x y}",
     "{Cut}@1 {Copy}@6 {Paste}@12 {Clear}@19 {Undo}@26 {Replace=x y}@32", ""},
    {"UnknownName", "ab{Foo}", "a@1 b@2", "column 3: unknown key 'Foo'"},
    {"UnknownModifier", "{X+Left}", "", "column 1: unknown key 'X+Left'"},
    {"ModifierTwice", "{S+S+Left}", "", "column 1: unknown key 'S+S+Left'"},
    {"UnclosedBrace", "abc{Left", "a@1 b@2 c@3", "column 4: '{' without its '}'"},
    {"BraceInsideAName", "{Le{ft}", "", "column 1: '{' without its '}'"},
    {"LoneClosingBrace", "a}b", "a@1", "column 2: a lone '}' (write }} to type it)"},
    {"EmptyName", "{}", "", "column 1: empty key name"},
    {"ModifierOnACommand", "x{C+Cut}", "x@1", "column 2: 'C+Cut': a command takes no modifier"},
    {"ControlByte", "a\tb", "a@1", "column 2: byte 0x09 is not a printable character"},
    // Beyond ASCII: columns count characters, not bytes.
    {"LettersOfAnyScript", "\u0142\u0416\u3042\u00E9x", "\u0142@1 \u0416@2 \u3042@3 \u00E9@4 x@5",
     ""},
    {"BeyondThePlaneWhole", "a\U0001F600b", "a@1 \U0001F600@2 b@3", ""},
    {"CodePoints", "{U+202F}{u+0142}{U+1F600}{U+0041}{U+00a0}",
     "{U+202F}@1 \u0142@9 \U0001F600@17 {U+0041}@26 {U+00A0}@34", ""},
    {"UnseenCharactersSpeltByCodePoint", "{U+200B}{U+FEFF}{U+3000}{U+00E9}\u00A0x",
     "{U+200B}@1 {U+FEFF}@9 {U+3000}@17 \u00E9@25 {U+00A0}@33 x@34", ""},
    {"HalfAPairAlone", "{U+D83D}{U+DE00}", "{U+D83D}@1 {U+DE00}@9", ""},
    {"ErrorColumnInCharacters", "\u0142\u3042{Foo}", "\u0142@1 \u3042@2",
     "column 3: unknown key 'Foo'"},
    {"ReplaceWithUnicode", "{Replace=\u0142 \u3042}x", "{Replace=\u0142 \u3042}@1 x@14", ""},
    {"ShortCodePoint", "{U+20}", "", "column 1: 'U+20': a code point is U+ and 4 to 6 hex digits"},
    {"NotHex", "a{U+12G4}", "a@1", "column 2: 'U+12G4': a code point is U+ and 4 to 6 hex digits"},
    {"BeyondTheLastCodePoint", "{U+110000}", "",
     "column 1: 'U+110000': beyond U+10FFFF, the last code point"},
    {"NulTypesNothing", "{U+0000}", "", "column 1: 'U+0000': U+0000 types nothing"},
    {"ModifierOnACodePoint", "{S+U+0142}", "",
     "column 1: 'S+U+0142': a character takes no modifier"},
    {"C1Control", "a\u0085", "a@1",
     "column 2: U+0085 is a control character (write {U+0085} to type it)"},
    {"Utf8CutShort", "\u0142\xC3(", "\u0142@1",
     "column 2: the UTF-8 character starting with byte 0xC3 is cut short"},
    {"Utf8CutAtTheEnd", "ab\xE3\x81", "a@1 b@2",
     "column 3: the UTF-8 character starting with byte 0xE3 is cut short"},
    {"Utf8BadLead", "\xFF", "", "column 1: byte 0xFF cannot start a UTF-8 character"},
    {"Utf8LoneContinuation", "x\x80", "x@1", "column 2: byte 0x80 continues no UTF-8 character"},
    {"Utf8OverlongTwoBytes", "\xC0\xAF", "", "column 1: byte 0xC0 starts an overlong UTF-8 form"},
    {"Utf8OverlongThreeBytes", "\xE0\x80\xAF", "",
     "column 1: an overlong UTF-8 form (byte 0xE0 and what follows)"},
    {"Utf8Surrogate", "\xED\xA0\x80", "", "column 1: a surrogate (U+D800) written in UTF-8"},
    {"Utf8BeyondTheLastCodePoint", "\xF4\x90\x80\x80", "",
     "column 1: a UTF-8 form beyond U+10FFFF (byte 0xF4 and what follows)"},
    {"Utf8BadInsideBraces", "\u0142{Replace=x\xFFy}", "\u0142@1",
     "column 12: byte 0xFF cannot start a UTF-8 character"},
};

class KeyScriptParse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(KeyScriptParse, Strokes) {
  const ParseRow& row = GetParam();
  const kwhost::KeyScript parsed = kwhost::ParseKeys(row.script);
  std::string strokes;
  for (const Stroke& s : parsed.strokes) {
    strokes +=
        (strokes.empty() ? "" : " ") + kwhost::StrokeText(s) + "@" + std::to_string(s.column);
    const kwhost::KeyScript again = kwhost::ParseKeys(kwhost::StrokeText(s));  // spelled back
    ASSERT_EQ(again.strokes.size(), 1u);
    EXPECT_EQ(kwhost::StrokeText(again.strokes[0]), kwhost::StrokeText(s));
  }
  EXPECT_EQ(strokes, row.strokes);
  EXPECT_EQ(parsed.error, row.error);
  EXPECT_EQ(parsed.ok(), *row.error == '\0');
}

INSTANTIATE_TEST_SUITE_P(Host, KeyScriptParse, ::testing::ValuesIn(kParseRows),
                         [](const auto& info) { return std::string(info.param.name); });

class KeyScriptPlay : public kwtest::WindowTest {};

// Characters, caret keys with Shift, a command, through the loop; the callback sees each stroke
// as written and the text after it.
TEST_F(KeyScriptPlay, TypesIntoTheFocus) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  std::string seen;
  const kwhost::KeyScript parsed = kwhost::ParseKeys("ab{{{Left}{s+HOME}X{Replace=yz}}}");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  EXPECT_TRUE(kwhost::PlayKeys(
      parsed.strokes, [&](const Stroke& s) { seen += s.source + "=" + kwtest::Text(edit) + " "; }));
  EXPECT_EQ(kwtest::Text(edit), "Xyz}{");
  EXPECT_EQ(seen, "a=a b=ab {{=ab{ {Left}=ab{ {s+HOME}=ab{ X=X{ {Replace=yz}=Xyz{ }}=Xyz}{ ");
}

// Characters beyond ASCII reach a Unicode edit control as typed, a pair whole; {U+...} types any
// unit, and {Replace=...} sends its UTF-8 text as UTF-16.
TEST_F(KeyScriptPlay, TypesUnicodeIntoAUnicodeWindow) {
  const RECT r = kwhost::EditRect(2);
  HWND edit = CreateWindowExW(0, KW_W("EDIT"), KW_W(""), kwhost::kEditStyle, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, kwhost::Parent(), nullptr,
                              nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  kwtest::Focus(edit);
  const struct {
    const char* script;
    KwWString text;
  } rows[] = {
      {"\u0142\u0416\u3042\u00E9", KW_W("\u0142\u0416\u3042\u00E9")},
      {"a\U0001F600{Home}{Del}", KW_W("\U0001F600")},
      {"1{U+202F}234{U+00A0}5", KW_W("1\u202F234\u00A05")},
      {"{Replace=\u0142\U0001F600}{U+0041}", KW_W("\u0142\U0001F600A")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.script);
    SetWindowTextW(edit, KW_W(""));
    EXPECT_TRUE(kwhost::Keys(row.script));
    EXPECT_EQ(kwhost::TextW(edit), row.text);
  }
  DestroyWindow(edit);
}

// UTF-8 and UTF-16 both ways; what cannot be carried over becomes U+FFFD.
TEST(Utf8, ConvertsBothWays) {
  const struct {
    const char* utf8;
    KwWString utf16;
    const char* back;  // nullptr: utf8 itself
  } rows[] = {
      {"", KW_W(""), nullptr},
      {"a\u00E9\u0142\u3042\u202F\U0001F600", KW_W("a\u00E9\u0142\u3042\u202F\U0001F600"), nullptr},
      {"a\xFF"
       "b",
       KW_W("a\uFFFDb"), "a\uFFFDb"},
      {"\xE3\x81!", KW_W("\uFFFD!"), "\uFFFD!"},  // cut short: one for the bytes begun
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.utf8);
    EXPECT_EQ(kwhost::Utf16FromUtf8(row.utf8), row.utf16);
    EXPECT_EQ(kwhost::Utf8FromUtf16(row.utf16), row.back ? row.back : row.utf8);
  }
  const WCHAR lone[] = {WCHAR('x'), WCHAR(0xD83D), WCHAR('y'), WCHAR(0xDE00)};
  EXPECT_EQ(kwhost::Utf8FromUtf16(KwWString(lone, 4)), "x\uFFFDy\uFFFD");
  std::size_t units = 0;
  EXPECT_EQ(kwhost::CodePointAt(KW_W("\U0001F600"), 0, &units), U'\U0001F600');
  EXPECT_EQ(units, 2u);
  EXPECT_EQ(kwhost::CodePointAt(KwWString(lone, 4), 1, &units), char32_t(0xD83D));
  EXPECT_EQ(units, 1u);
}

// The edges of each length of sequence, and the first bytes past them.
TEST(Utf8, DecodesAtTheEdges) {
  const struct {
    const char* bytes;
    char32_t code;
    std::size_t length;
    const char* error;  // "" when the bytes are a character
  } rows[] = {
      {"\x7F", 0x7F, 1, ""},
      {"\xC2\x80", 0x80, 2, ""},
      {"\xDF\xBF", 0x7FF, 2, ""},
      {"\xE0\xA0\x80", 0x800, 3, ""},
      {"\xED\x9F\xBF", 0xD7FF, 3, ""},
      {"\xEE\x80\x80", 0xE000, 3, ""},
      {"\xEF\xBF\xBF", 0xFFFF, 3, ""},
      {"\xF0\x90\x80\x80", 0x10000, 4, ""},
      {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4, ""},
      {"\xED\xBF\xBF", 0, 3, "a surrogate (U+DFFF) written in UTF-8"},
      {"\xF0\x8F\xBF\xBF", 0, 4, "an overlong UTF-8 form (byte 0xF0 and what follows)"},
      {"\xF5\x80\x80\x80", 0, 1, "byte 0xF5 cannot start a UTF-8 character"},
      {"\xF0\x90\x80", 0, 3, "the UTF-8 character starting with byte 0xF0 is cut short"},
      {"\xE2\x28\xA1", 0, 1, "the UTF-8 character starting with byte 0xE2 is cut short"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.error);
    const kwhost::Utf8Char c = kwhost::DecodeUtf8(row.bytes, 0);
    EXPECT_EQ(c.error, row.error);
    EXPECT_EQ(c.length, row.length);
    if (c.error.empty()) {
      EXPECT_EQ(c.code, row.code);
      std::string back;
      kwhost::AppendUtf8(back, c.code);
      EXPECT_EQ(back, row.bytes);
    }
  }
}

TEST(Utf8, TerminalColumns) {
  const struct {
    char32_t code;
    int columns;
  } rows[] = {{U'a', 1},   {0x0142, 1},  {0x202F, 1}, {0x3042, 2}, {0xFF11, 2},
              {0xAC00, 2}, {0x1F600, 2}, {0x0301, 0}, {0x200B, 0}, {0xFF61, 1}};
  for (const auto& row : rows)
    EXPECT_EQ(kwhost::ColumnsOf(row.code), row.columns) << std::hex << unsigned(row.code);
}

TEST_F(KeyScriptPlay, BadScriptIsReportedAndNotPlayed) {
  HWND edit = CreateEdit(1);
  kwtest::Focus(edit);
  static std::string reported;
  const kwhost::ErrorHandler previous =
      kwhost::SetErrorHandler([](const std::string& what) { reported = what; });
  const int errors = kwhost::Errors();
  EXPECT_FALSE(kwhost::Keys("ab{Foo}"));
  kwhost::SetErrorHandler(previous);
  EXPECT_EQ(kwhost::Errors(), errors + 1);
  EXPECT_EQ(reported, "key script \"ab{Foo}\": column 3: unknown key 'Foo'");
  EXPECT_EQ(kwtest::Text(edit), "");
}

}  // namespace
