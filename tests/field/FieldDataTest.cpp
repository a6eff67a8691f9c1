// Data exchange of a field control (SetText, SetInputData, GetInputData, a text set from
// outside) and its clipboard: copy, cut, paste and clear, carried out by the edit control.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "field/FieldTestSupport.h"

namespace {

using kwfieldtest::FieldTest;
using kwfieldtest::OpenField;
using kwtest::Sel;
using kwtest::Text;

// --- SetInputData ------------------------------------------------------------------------------

struct InputCase {
  const char* name;
  const char* mask;
  std::string before;  // shown text beforehand
  const char* data;
  int keep;
  int result;
  std::string shown;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class FieldSetInputDataTest : public FieldTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(FieldSetInputDataTest, FiltersAndShows) {
  const InputCase& c = GetParam();
  OpenField& field = MakeField(1, c.mask, 10);
  field.SetText(c.before);
  EXPECT_EQ(field.SetInputData(c.data, c.keep, 1), c.result);
  EXPECT_EQ(Text(field.GetSafeHwnd()), c.shown);
  EXPECT_EQ(field.Stored(), c.shown);
  EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(0));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldSetInputDataTest,
    ::testing::Values(InputCase{"RefusedCharactersAreDropped", "#", "", "12ab34", 0, 0, "1234"},
                      InputCase{"AllTaken", "#", "99", "1234", 0, 1, "1234"},
                      InputCase{"EmptyDataEmptiesTheField", "#", "20", "", 0, 1, ""},
                      InputCase{"LettersConverted", ">", "", "abc", 0, 1, "ABC"},
                      InputCase{"KeptCharactersLead", "#", "20", "26", 1, 1, "226"},
                      InputCase{"NegativeKeepKeepsItAll", "#", "20", "26", -1, 1, "2026"}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST_F(FieldTest, InputDataIsTheShownText) {
  OpenField& field = MakeField(1, ">", 10);
  field.SetText("abc");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "ABC");
  EXPECT_EQ(field.GetInputData(false), "ABC");
  EXPECT_EQ(field.GetInputData(true), "ABC");
  EXPECT_EQ(field.GetInputData("x-y", true), "x-y");
  EXPECT_EQ(field.GetInputData(nullptr, false), "");
}

TEST_F(FieldTest, SetTextFiltersButSetWindowTextDoesNot) {
  OpenField& field = MakeField(1, "#", 4);
  field.SetText("abc");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "");
  EXPECT_EQ(field.IsInputEmpty(), 1);

  field.SetWindowText("abc");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "abc");
  EXPECT_EQ(field.GetInputData(true), "abc");
  EXPECT_EQ(field.IsInputEmpty(), 0);
  // The next edit filters it.
  kwtest::Focus(field.GetSafeHwnd());
  kwtest::SetSel(field.GetSafeHwnd(), 0, 0);
  kwtest::Type("1");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "");
}

// --- Clipboard ---------------------------------------------------------------------------------

TEST_F(FieldTest, CopyPutsTheSelectedTextOnTheClipboard) {
  OpenField& field = MakeField(1, "#", 4);
  Prepare(field, "2026", 1, 3);
  kwtest::Press('C', false, true);
  EXPECT_EQ(kwtest::ClipboardText(), "02");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "2026");
  EXPECT_EQ(Sel(field.GetSafeHwnd()), std::make_pair(1, 3));
}

TEST_F(FieldTest, CutMovesTheSelectionToTheClipboard) {
  OpenField& field = MakeField(1, "#", 4);
  Prepare(field, "2026", 0, 2);
  kwtest::Press('X', false, true);
  EXPECT_EQ(Text(field.GetSafeHwnd()), "26");
  EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(0));
  EXPECT_EQ(kwtest::ClipboardText(), "20");
  EXPECT_EQ(field.GetInputData(true), "26");
}

struct PasteCase {
  const char* name;
  const char* mask;
  std::string text;
  int selStart, selEnd;
  std::string clipboard;
  std::string shown;
  int caret;
};

void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

class FieldPasteTest : public FieldTest, public ::testing::WithParamInterface<PasteCase> {};

// Limit 4.
TEST_P(FieldPasteTest, PastesWithinTheLimitAndFilters) {
  const PasteCase& c = GetParam();
  OpenField& field = MakeField(1, c.mask, 4);
  Prepare(field, c.text, c.selStart, c.selEnd);
  ASSERT_TRUE(kwtest::SetClipboardText(c.clipboard));
  kwtest::Press('V', false, true);
  EXPECT_EQ(Text(field.GetSafeHwnd()), c.shown);
  EXPECT_EQ(field.Stored(), c.shown);
  EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(c.caret));
  EXPECT_EQ(kwtest::ClipboardText(), c.clipboard);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldPasteTest,
    ::testing::Values(PasteCase{"RefusedCharacterDropped", "#", "20", 1, 1, "5a", "250", 3},
                      PasteCase{"FillingTheFieldLeavesTheCaretAtTheStart", "#", "202", 1, 1, "5", "2502", 0},
                      PasteCase{"CutShortAtTheLimit", "#", "20", 2, 2, "2026", "2020", 0},
                      PasteCase{"LettersConverted", ">", "A", 1, 1, "bc", "ABC", 3}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

// --- The shown text taken over as the stored text ----------------------------------------------
// Cut, clear and a text set from outside change the window text through the edit control
// alone. The field takes the shown text over, so a following overwrite (which edits the stored
// text) never brings back what the window no longer shows.

struct TakeOverCase {
  const char* name;
  std::function<void(OpenField&)> change;  // on '2026', selection 0 to 2, the field focused
  std::string shownAfterChange;
  int overwriteAt;
  std::string shownAfterOverwrite;  // after typing '9' in overwrite mode
};

void PrintTo(const TakeOverCase& c, std::ostream* os) { *os << c.name; }

class FieldTakeOverTest : public FieldTest, public ::testing::WithParamInterface<TakeOverCase> {};

TEST_P(FieldTakeOverTest, OverwriteDoesNotBringBackTheFormerText) {
  const TakeOverCase& c = GetParam();
  OpenField& field = MakeField(1, "#", 4);
  Prepare(field, "2026", 0, 2);
  c.change(field);
  EXPECT_EQ(Text(field.GetSafeHwnd()), c.shownAfterChange);
  EXPECT_EQ(field.Stored(), c.shownAfterChange);

  field.SetInsertMode(false);
  kwtest::SetSel(field.GetSafeHwnd(), c.overwriteAt, c.overwriteAt);
  kwtest::Type("9");
  EXPECT_EQ(Text(field.GetSafeHwnd()), c.shownAfterOverwrite);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldTakeOverTest,
    ::testing::Values(
        TakeOverCase{"Cut", [](OpenField&) { kwtest::Press('X', false, true); }, "26", 0, "96"},
        TakeOverCase{"CutThenAppend", [](OpenField&) { kwtest::Press('X', false, true); }, "26", 2, "269"},
        TakeOverCase{"Clear", [](OpenField& f) { f.Clear(); }, "26", 0, "96"},
        TakeOverCase{"ClearMessage", [](OpenField& f) { f.SendMessage(WM_CLEAR); }, "26", 1, "29"},
        TakeOverCase{"OutsideText", [](OpenField& f) { f.SetWindowText("55"); }, "55", 2, "559"},
        TakeOverCase{"OutsideTextUnfiltered", [](OpenField& f) { f.SetWindowText("5x"); }, "5x", 0, "9x"}),
    [](const ::testing::TestParamInfo<TakeOverCase>& info) { return std::string(info.param.name); });

TEST_F(FieldTest, SubclassedDialogControlKeepsItsTemplateText) {
  // A dialog's edit control, subclassed as a field: its template text stays shown until the
  // first update, and an overwrite edits that text.
  const HWND h = CreateEdit(3, "1234");
  m_fields.push_back(std::make_unique<OpenField>("#"));
  OpenField& field = *m_fields.back();
  ASSERT_TRUE(field.SubclassWindow(h));
  field.SetLimitText(4);
  EXPECT_EQ(Text(h), "1234");
  EXPECT_EQ(field.GetInputData(false), "1234");
  field.SetInsertMode(false);
  kwtest::Focus(h);
  kwtest::SetSel(h, 1, 1);
  kwtest::Type("9");
  EXPECT_EQ(Text(h), "1934");
}

}  // namespace
