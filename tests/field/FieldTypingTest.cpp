// Typing and deleting in a field control, key by key through the host's message loop
// (SendInput -> PeekMessageA -> IsDialogMessageA -> TranslateMessage -> DispatchMessageA ->
// the control's message map -> the shared key handling -> the field's model -> Update).
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "field/FieldTestSupport.h"

namespace {

using kwfieldtest::FieldTest;
using kwfieldtest::OpenField;
using kwtest::Sel;
using kwtest::Text;

// --- Typing a text, one character at a time -------------------------------------------------

struct TypingCase {
  const char* name;
  const char* mask;
  UINT limit;
  std::string typed;
  std::vector<std::string> shown;  // the window text after each typed character
  int beeps;
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class FieldTypingTest : public FieldTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(FieldTypingTest, ShowsOnlyWhatTheKindAccepts) {
  const TypingCase& c = GetParam();
  OpenField& field = MakeField(1, c.mask, c.limit);
  kwtest::Focus(field.GetSafeHwnd());
  ASSERT_EQ(c.typed.size(), c.shown.size());
  for (size_t i = 0; i < c.typed.size(); ++i) {
    kwtest::Type(c.typed.substr(i, 1));
    EXPECT_EQ(Text(field.GetSafeHwnd()), c.shown[i]) << "after typing '" << c.typed.substr(0, i + 1) << "'";
    EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(static_cast<int>(c.shown[i].size())));
  }
  EXPECT_EQ(field.GetInputData(false), c.shown.back());
  EXPECT_EQ(kwtest::Focused(), field.GetSafeHwnd());
  if (kwtest::CanInspect()) { EXPECT_EQ(kwtest::Beeps(), c.beeps); }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldTypingTest,
    ::testing::Values(
        TypingCase{"YearRefusesLetters", "#", 4, "2a0b26", {"2", "2", "20", "20", "202", "2026"}, 2},
        TypingCase{"FullFieldRefusesMore", "#", 4, "20267", {"2", "20", "202", "2026", "2026"}, 1},
        TypingCase{"UpperCaseLetters", ">", 10, "ab1c", {"A", "AB", "AB", "ABC"}, 1},
        TypingCase{"PercentTakesASignedDecimal", "%", 10, "-12.5", {"-", "-1", "-12", "-12.", "-12.5"}, 0},
        TypingCase{"LiteralMaskRefusesEverything", "x", 10, "x1", {"", ""}, 2}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

// --- One key on a prepared field ---------------------------------------------------------------

struct KeyCase {
  const char* name;
  const char* mask;
  std::string text;     // set with SetText, or with SetWindowText when outside is true
  bool outside;
  int selStart, selEnd;
  bool insertMode;
  std::function<void()> key;
  std::string shown;
  int caret;
  int beeps;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

void Typed(const char* text) { kwtest::Type(text); }

class FieldKeyTest : public FieldTest, public ::testing::WithParamInterface<KeyCase> {};

// A '#' field of limit 4 (or the case's mask), auto-tab off.
TEST_P(FieldKeyTest, EditsTheField) {
  const KeyCase& c = GetParam();
  OpenField& field = MakeField(1, c.mask, 4);
  field.SetInsertMode(c.insertMode);
  kwtest::Focus(field.GetSafeHwnd());
  if (c.outside)
    field.SetWindowText(c.text);
  else
    field.SetText(c.text);
  kwtest::SetSel(field.GetSafeHwnd(), c.selStart, c.selEnd);
  kwtest::ResetBeeps();

  c.key();

  EXPECT_EQ(Text(field.GetSafeHwnd()), c.shown);
  EXPECT_EQ(field.Stored(), c.shown);
  EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(c.caret));
  if (kwtest::CanInspect()) { EXPECT_EQ(kwtest::Beeps(), c.beeps); }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldKeyTest,
    ::testing::Values(
        KeyCase{"InsertIntoFullFieldIsRefused", "#", "2026", false, 2, 2, true, [] { Typed("7"); }, "2026", 2, 1},
        KeyCase{"InsertInTheMiddle", "#", "226", false, 1, 1, true, [] { Typed("0"); }, "2026", 2, 0},
        KeyCase{"RefusedCharacterKeepsTextAndCaret", "#", "20", false, 1, 1, true, [] { Typed("x"); }, "20", 1, 1},
        KeyCase{"OverwriteInTheMiddle", "#", "2026", false, 1, 1, false, [] { Typed("1"); }, "2126", 2, 0},
        KeyCase{"OverwriteConvertsCase", ">", "AB", false, 0, 0, false, [] { Typed("x"); }, "XB", 1, 0},
        KeyCase{"OverwriteAtTheEndAppends", "#", "20", false, 2, 2, false, [] { Typed("2"); }, "202", 3, 0},
        KeyCase{"OverwriteRefusedByTheKind", "#", "2026", false, 1, 1, false, [] { Typed("x"); }, "2026", 1, 1},
        // An overwrite past the end of a full field would make the text longer than its limit.
        KeyCase{"OverwritePastTheEndOfAFullFieldIsRefused", "#", "2026", false, 4, 4, false, [] { Typed("7"); },
                "2026", 4, 1},
        KeyCase{"TypingReplacesTheSelection", "#", "2026", false, 1, 3, true, [] { Typed("5"); }, "256", 2, 0},
        KeyCase{"TypingReplacesTheSelectionInOverwriteMode", "#", "2026", false, 1, 3, false, [] { Typed("5"); },
                "256", 2, 0},
        KeyCase{"RefusedCharacterStillDeletesTheSelection", "#", "2026", false, 1, 3, true, [] { Typed("x"); },
                "26", 1, 1},
        KeyCase{"Backspace", "#", "2026", false, 2, 2, true, [] { kwtest::Press(VK_BACK); }, "226", 1, 0},
        KeyCase{"BackspaceAtTheStartDoesNothing", "#", "2026", false, 0, 0, true, [] { kwtest::Press(VK_BACK); },
                "2026", 0, 0},
        KeyCase{"Delete", "#", "2026", false, 1, 1, true, [] { kwtest::Press(VK_DELETE); }, "226", 1, 0},
        KeyCase{"DeleteAtTheEndDoesNothing", "#", "2026", false, 4, 4, true, [] { kwtest::Press(VK_DELETE); },
                "2026", 4, 0},
        KeyCase{"ShiftDeleteRemovesTheSelection", "#", "2026", false, 0, 2, true,
                [] { kwtest::Press(VK_DELETE, true); }, "26", 0, 0},
        // A text set from outside is shown unfiltered; the refused insertion puts the previous
        // text back through the filter.
        KeyCase{"RestoreFiltersAnOutsideText", "#", "12a", true, 3, 3, true, [] { Typed("3"); }, "12", 2, 1}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(FieldTest, ParentHearsOnlyTheEditControlsOwnNotifications) {
  // The field sends nothing itself: each rewrite of the window is the edit control's own
  // EN_UPDATE/EN_CHANGE pair; an insertion rewrites twice (SetInputData, then the key's Update).
  OpenField& field = MakeField(7, "#", 4);
  Prepare(field, "20", 2, 2);
  kwtest::ClearNotifications();
  kwtest::Type("2");
  EXPECT_EQ(kwtest::ChangeCodesFor(7), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}))
      << kwtest::Describe(kwtest::ChangeCodesFor(7));
}

// --- The model operations called directly -----------------------------------------------------

TEST_F(FieldTest, OperationResults) {
  OpenField& field = MakeField(1, "#", 4);
  const HWND h = field.GetSafeHwnd();
  field.SetText("2026");
  EXPECT_EQ(field.DeleteRange(3, 1), -2);
  EXPECT_EQ(Text(h), "2026");
  EXPECT_EQ(field.DeleteRange(4, 5), 1);  // nothing there, but the range was taken
  EXPECT_EQ(Text(h), "2026");
  EXPECT_EQ(field.DeleteRange(2, 9), 7);
  EXPECT_EQ(Text(h), "20");

  EXPECT_EQ(field.IsInputData(-5), 1);
  EXPECT_EQ(field.GetNextInputLocation(-1), 4);
  EXPECT_EQ(field.GetNextInputLocation(3), 3);
  EXPECT_EQ(field.GetNextInputLocation(9), 4);
  EXPECT_EQ(field.GetPreviousInputLocation(-3), 0);
  EXPECT_EQ(field.GetPreviousInputLocation(3), 3);

  field.SetText("202");
  EXPECT_EQ(field.GetEmptyInputLocation(0), 3);
  field.SetText("2026");
  EXPECT_EQ(field.GetEmptyInputLocation(0), -1);

  field.SetText("20");
  EXPECT_EQ(field.InsertAt(9, '1'), -1);  // past the end: not placed
  EXPECT_EQ(Text(h), "20");
  EXPECT_EQ(field.InsertAt(-1, '1'), 0);  // before the start: placed first
  EXPECT_EQ(Text(h), "120");
  EXPECT_EQ(field.SetAt(-2, '1'), -2);
  EXPECT_EQ(field.SetAt(1, 'x'), -1);
  EXPECT_EQ(field.SetAt(1, '9'), 1);
  EXPECT_EQ(field.Stored(), "190");
}

TEST_F(FieldTest, InsertingNulIsRefusedAndLosesNothing) {
  // A NUL would end the text that is filtered and cut off everything after it.
  OpenField& field = MakeField(1, "&", 10);
  field.SetText("abc");
  EXPECT_EQ(field.InsertAt(1, '\0'), -1);
  EXPECT_EQ(Text(field.GetSafeHwnd()), "abc");
  EXPECT_EQ(field.SetAt(1, '\0'), -1);
  EXPECT_EQ(field.Stored(), "abc");
}

}  // namespace
