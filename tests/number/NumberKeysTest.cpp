// The number control in a window, driven through the host's message loop: typing from the
// right, signs, the full integer part, overwrite, Delete and Backspace with their caret, cut
// and paste, clipboard failures, arrows, double click, auto-tab, and text set from outside.
#include <gtest/gtest.h>

#include <cstring>

#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

// A key script (host/KeyScript.h) with '.' and ',' typed as the locale's separators.
void Keys(const std::string& script) { kwhost::Keys(Shown(script)); }

using NumberKeys = NumberControlTest;

TEST_F(NumberKeys, TypingFromTheRightShowsEachStepWithItsCaret) {
  NumberEditProbe& edit = Make();
  Ready(edit, 0);
  const char* shown[] = {"1", "12", "123", "1,234", "1,234.", "1,234.5", "1,234.56"};
  const int carets[] = {1, 2, 3, 5, 6, 7, 8};
  // The model lays the number out, the keystroke shows it: each rewrite brings the edit
  // control's own EN_UPDATE and EN_CHANGE, then the library's pair.
  const std::vector<UINT> twoRewrites = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE,
                                         EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
  for (int i = 0; i < 7; ++i) {
    ClearNotifications();
    Keys(std::string(1, "1234.56"[i]));
    EXPECT_EQ(TextOf(edit), Shown(shown[i])) << "step " << i;
    EXPECT_EQ(SelOf(edit), Caret(carets[i])) << "step " << i;
    EXPECT_EQ(ChangeCodesFor(1), twoRewrites) << Describe(ChangeCodesFor(1));
  }
  EXPECT_EQ(edit.GetInputData(false), "1234.56");
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(NumberKeys, KeysShowTheNumberTheCaretAndTheClipboard) {
  struct {
    const char* name;
    const char* data;
    int start, end;
    const char* keys;
    const char* shown;
    int caret;  // -1: not checked
    int refusals;
    const char* clipboard = "keep";  // after the keys; "keep" was there before unless pasted
    const char* pasted = nullptr;
  } rows[] = {
      {"SignsTakeDigitPlaces", "", 0, 0, "-500", "- 500", 5, 0},
      {"LetterRefused", "12", 1, 1, "a", "12", 1, 1},
      {"FullIntegerRefusesAtTheEnd", "123456789", 11, 11, "1", "123,456,789", 11, 1},
      {"FullIntegerRefusesInside", "123456789", 4, 4, "1", "123,456,789", 4, 1},
      {"FullIntegerTakesTheFraction", "123456789", 11, 11, ".1", "123,456,789.1", 13, 0},
      {"FullIntegerTakesOverwrite", "123456789", 0, 0, "{Ins}9", "923,456,789", 1, 0},
      {"FullIntegerTakesASelection", "123456789", 0, 1, "7", "723,456,789", 1, 0},
      // The prompt over a digit removes it; the caret stays on what followed.
      {"PromptOverDigitRemovesIt", "1234", 2, 2, "{Ins} 9", "194", 2, 0},
      {"OverwriteAtTheEndAppends", "12", 2, 2, "{Ins}3.4", "123.4", 5, 0},
      {"OverwriteThePointJoinsTheFraction", "12.34", 2, 2, "{Ins}5", "12,534", 4, 0},
      {"SpaceWithoutSelectionIsThePrompt", "1234", 2, 2, " ", "1,234", 2, 0},
      {"SpaceDeletesSelection", "1234", 2, 5, " ", "1", 1, 0},
      {"DeleteIntegerDigit", "1234", 2, 2, "{Del}", "134", 1, 0},
      {"DeleteBeforeSeparatorDoesNothing", "1234", 1, 1, "{Del}", "1,234", 0, 0},
      {"DeleteThePoint", "1234.5", 5, 5, "{Del}", "12,345", 6, 0},
      {"DeleteSelection", "1234.5", 2, 5, "{Del}", "1.5", 1, 0},
      {"DeleteFractionDigit", "1.23", 2, 2, "{Del}", "1.3", 3, 0},
      {"BackspaceOverSeparator", "1234", 2, 2, "{Back}", "234", 0, 0},
      {"BackspaceInFraction", "1.23", 3, 3, "{Back}", "1.3", 3, 0},
      {"BackspaceIntegerDigit", "1234", 4, 4, "{Back}", "124", 2, 0},
      {"BackspaceAtStartDoesNothing", "1234", 0, 0, "{Back}", "1,234", 0, 0},
      {"BackspaceSelection", "1234.5", 0, 3, "{Back}", "34.5", 0, 0},
      {"BackspaceSeparatorSelectionDoesNothing", "1234", 1, 2, "{Back}", "1,234", -1, 0},
      {"CutAcrossThePoint", "1234.5", 2, 5, "{C+x}", "1.5", 1, 0, "234"},
      {"CutWithTheSeparator", "1234.5", 0, 3, "{C+x}", "34.5", 0, 0, "1,2"},
      {"CutEverything", "-1234.5", 0, 8, "{C+x}", "", 0, 0, "-1,234.5"},
      {"CutFractionDigit", "1.23", 2, 3, "{C+x}", "1.3", 3, 0, "2"},
      {"CutWithoutSelection", "1234.5", 2, 2, "{C+x}", "1,234.5", 2, 0},
      // Paste replaces the whole number.
      {"PasteNotIntoTheMiddle", "99", 1, 1, "{C+v}", "12", 2, 0, "12", "12"},
      {"PasteShownForm", "", 0, 0, "{C+v}", "1,234.5", 7, 0, "1,234.5", "1,234.5"},
      {"PasteSkipsCurrencySign", "7", 0, 0, "{C+v}", "12.50", 5, 0, "$12.50", "$12.50"},
      {"PasteCaretOnFirstEmptyDigit", "", 0, 0, "{C+v}", "12.5", 4, 0, "12.5", "12.5"},
      {"PasteNothingFitsKeepsTheNumber", "5", 0, 0, "{C+v}", "5", 0, 0, "abc", "abc"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    NumberEditProbe& edit = Make(row.data);
    ASSERT_TRUE(SetClipboardText(Shown(row.pasted != nullptr ? row.pasted : "keep")));
    Ready(edit, row.start, row.end);
    Keys(row.keys);
    EXPECT_EQ(TextOf(edit), Shown(row.shown));
    EXPECT_EQ(edit.GetInputData(false), edit.GetInputData(TextOf(edit).c_str(), true));
    if (row.caret >= 0) {
      EXPECT_EQ(SelOf(edit), Caret(row.caret));
    }
    EXPECT_EQ(edit.refusals, row.refusals);
    EXPECT_EQ(ClipboardText(), Shown(row.clipboard));
    EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
    m_controls.clear();
  }
}

// Cut puts the selection onto the clipboard first: when the clipboard cannot take it, nothing
// is deleted and the clipboard keeps what it had. A failing paste changes nothing either.
TEST_F(NumberKeys, ClipboardFailuresChangeNothing) {
  KWTEST_REQUIRE_INSPECT();
  const struct {
    const char* name;
    void (*fail)();
    UINT message;
  } rows[] = {{"CutOpenClipboard", &kwinspect::FailNextOpenClipboard, WM_CUT},
              {"CutGlobalAlloc", &kwinspect::FailNextGlobalAlloc, WM_CUT},
              {"CutGlobalLock", &kwinspect::FailNextGlobalLock, WM_CUT},
              {"PasteOpenClipboard", &kwinspect::FailNextOpenClipboard, WM_PASTE},
              {"PasteGlobalLock", &kwinspect::FailNextGlobalLock, WM_PASTE}};
  NumberEditProbe& edit = Make("1234.5");
  ASSERT_TRUE(SetClipboardText("keep"));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Ready(edit, 2, 5);
    row.fail();
    edit.SendMessage(row.message);
    EXPECT_EQ(edit.GetInputData(false), "1234.5");
    EXPECT_EQ(TextOf(edit), Shown("1,234.5"));
    EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
    EXPECT_EQ(ClipboardText(), "keep");
  }
}

// The clipboard was emptied for the cut but would not take the text: the number keeps it all.
TEST_F(NumberKeys, ACutTheClipboardRefusesDeletesNothing) {
  KWTEST_REQUIRE_INSPECT();  // needs SetClipboardData to fail
  NumberEditProbe& edit = Make("1234.5");
  ASSERT_TRUE(SetClipboardText("keep"));
  Ready(edit, 2, 5);
  kwinspect::FailNextSetClipboardData();
  edit.SendMessage(WM_CUT);
  EXPECT_EQ(edit.GetInputData(false), "1234.5");
  EXPECT_EQ(TextOf(edit), Shown("1,234.5"));
  EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
  EXPECT_EQ(ClipboardText(), "");
}

TEST_F(NumberKeys, PasteReadsTheBlockOnlyAsFarAsItGoesAndClearKeepsTheClipboard) {
  NumberEditProbe& edit = Make();
  ASSERT_TRUE(::OpenClipboard(Parent()));
  ::EmptyClipboard();
  const WCHAR digits[] = {'1', '2', '3'};
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof digits);
  std::memcpy(::GlobalLock(block), digits, sizeof digits);  // no terminating NUL
  ::GlobalUnlock(block);
  ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, block), nullptr);
  ::CloseClipboard();
  Ready(edit, 0);
  edit.SendMessage(WM_PASTE);
  // Wine takes the block's last unit for its terminator when the text is set.
  EXPECT_EQ(edit.GetInputData(false), OnWine() ? "12" : "123");
  const std::string before = ClipboardText();
  Ready(edit, 0, 1);
  EXPECT_EQ(edit.SendMessage(WM_CLEAR), 0);
  EXPECT_EQ(edit.GetInputData(false), OnWine() ? "2" : "23");
  EXPECT_EQ(SelOf(edit), Caret(0));
  EXPECT_EQ(ClipboardText(), before);
}

TEST_F(NumberKeys, ArrowsDoubleClickAndAutoTab) {
  NumberEditProbe& first = Make("1234567", 1);
  NumberEditProbe& second = Make("", 2);
  Ready(first, 0);
  Press(VK_RIGHT);
  EXPECT_EQ(SelOf(first), Caret(2));
  Press(VK_LEFT);
  EXPECT_EQ(SelOf(first), Caret(0));
  DoubleClick(first.GetSafeHwnd(), 3);
  EXPECT_EQ(SelOf(first), std::make_pair(0, 9));
  // Filling the last place moves the focus on.
  first.SetAutoTab(true);
  first.SetText("");
  Ready(first, 0);
  Keys("123456789.1");
  EXPECT_EQ(Focused(), first.GetSafeHwnd());
  Keys("2");
  EXPECT_EQ(TextOf(first), Shown("123,456,789.12"));
  EXPECT_EQ(Focused(), second.GetSafeHwnd());
}

TEST_F(NumberKeys, ForeignTextShowsItsNumberWithoutAChangeNotification) {
  NumberEditProbe& edit = Make("99");
  const char* rows[][3] = {// text set, data, shown
                           {"-1,234.50", "-1234.50", "-1,234.50"},
                           {"- 123", "-123", "- 123"},
                           {"not a number", "", ""}};
  for (const auto& row : rows) {
    ClearNotifications();
    ::SetWindowTextA(edit.GetSafeHwnd(), Shown(row[0]).c_str());
    EXPECT_EQ(edit.GetInputData(false), row[1]) << row[0];
    EXPECT_EQ(TextOf(edit), Shown(row[2])) << row[0];
    EXPECT_EQ(ChangeCodesFor(1), std::vector<UINT>({EN_UPDATE, EN_CHANGE, EN_UPDATE}))
        << Describe(ChangeCodesFor(1));
  }
}

TEST_F(NumberKeys, WithoutAMaskThePlainEditControlShowsTextTakesNoKeysAndHasTheClipboard) {
  NumberEditProbe& edit = Make("", 1, "");
  ::SetWindowTextA(edit.GetSafeHwnd(), "abc");
  ASSERT_TRUE(SetClipboardText("xy"));
  Ready(edit, 1, 2);
  Keys("{C+v}");
  EXPECT_EQ(edit.GetInputData(false), "axyc");
  SetSel(edit.GetSafeHwnd(), 0, 1);
  Keys("{C+x}1");
  EXPECT_EQ(TextOf(edit), "xyc");
  EXPECT_EQ(ClipboardText(), "a");
  EXPECT_EQ(edit.refusals, 1);
}

}  // namespace
}  // namespace kwtest
