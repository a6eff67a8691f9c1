// The key-script language: what each piece of a script parses to, the errors and their
// columns, and playing a script into an edit control through the host loop.
#include <string>

#include "common/TestHost.h"

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
