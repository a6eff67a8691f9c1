// The field control: its mask language, keys on a row of fields with auto-tab through the host's
// message loop (SendInput -> IsDialogMessageA -> the message map -> the shared key handling ->
// the field's model), its model operations, data exchange and clipboard.
#include <gtest/gtest.h>

#include "core/KwText.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "host/ModelProbe.h"

namespace {

using kwtest::Focused;
using kwtest::Sel;
using kwtest::Text;

class OpenField : public kwhost::ModelProbe<KwFieldMaskedEdit> {
 public:
  using ModelProbe::ModelProbe;
  std::string Stored() const { return KwNarrow(m_strFieldText); }
};

std::pair<int, int> Caret(int at) { return {at, at}; }

class FieldTest : public kwtest::WindowTest {
 protected:
  // A field made as child id of the parent (a tab stop), focused unless asked otherwise, its
  // text set through SetText and the caret at the end of that text.
  OpenField& MakeField(int id, const std::string& mask, UINT limit, bool autoTab = false,
                       const std::string& text = "", bool focus = true) {
    OpenField& field = *m_fields.emplace_back(std::make_unique<OpenField>(mask));
    field.SetAutoTab(autoTab);
    EXPECT_TRUE(field.Create(kwtest::kEditStyle, kwtest::EditRect(id), kwtest::ParentWnd(), id));
    field.SetLimitText(limit);
    if (focus) kwtest::Focus(field.GetSafeHwnd());
    field.SetText(text);
    kwtest::SetSel(field.GetSafeHwnd(), static_cast<int>(text.size()),
                   static_cast<int>(text.size()));
    return field;
  }
  // The refusals (ValidationError calls) of every field made here, counted by the fields
  // themselves: the same on every platform.
  int Refusals() const {
    int n = 0;
    for (const auto& field : m_fields) n += field->refusals;
    return n;
  }
  void ResetRefusals() {
    for (auto& field : m_fields) field->refusals = 0;
  }
  void TearDown() override {
    kwtest::Focus(kwtest::Parent());
    for (auto& field : m_fields)
      if (::IsWindow(field->GetSafeHwnd())) field->DestroyWindow();
    kwtest::WindowTest::TearDown();
  }
  std::vector<std::unique_ptr<OpenField>> m_fields;
};

// Only the first mask character counts; SetText filters a probe by the kind it sets ('é' is a
// letter).
TEST(FieldMaskTest, EveryMaskCharacterSetsTheKind) {
  const std::string probe =
      "aB1-_ .,:/+\\\t\x7F"
      "\xE9";
  const struct {
    const char *mask, *kept;
  } rows[] = {{"#", "1"},      {"#9-", "1"},     {"%", "1- .+"},
              {"$", "1- .+"},  {"A", "aB1\xE9"}, {"?", "aB\xE9"},
              {">", "AB\xC9"}, {"<", "ab\xE9"},  {"&", "aB1-_ .,:/+\\\xE9"},
              {".", "."},      {",", ""},        {":", ""},
              {"/", ""},       {"a", ""},        {"\\", ""},
              {"\xE9", ""},    {"", ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("mask '") + row.mask + "'");
    OpenField field;
    EXPECT_TRUE(field.SetMask(row.mask));
    EXPECT_EQ(field.GetMask(), std::string(1, row.mask[0]));  // an empty mask is the NUL literal
    EXPECT_EQ(field.SetText(probe), 1);
    EXPECT_EQ(field.ShowMask(), row.kept);
  }
}

// The wide constructor without a mask makes a field of no kind; no text reads as no data.
TEST(FieldMaskTest, EmptyWideMaskAndNoText) {
  KwFieldMaskedEdit none{KwWString()};
  EXPECT_EQ(none.GetMask(), std::string(1, '\0'));
  EXPECT_EQ(none.GetInputDataW(nullptr, true), KwWString());
}

// EmptyData (either way) keeps the kind; a new mask empties the field and brings its own kind.
TEST_F(FieldTest, EmptyDataAndMaskChangeEmptyTheField) {
  for (int step : {0, 1, 2}) {
    SCOPED_TRACE(step);
    OpenField& field = MakeField(1 + step, "#", 4, false, "123");
    if (step < 2)
      field.EmptyData(step);
    else
      field.SetMask(">");
    EXPECT_EQ(Text(field.GetSafeHwnd()), "");
    EXPECT_EQ(field.Stored(), "");
    EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(0));
    kwtest::Keys("q1");
    EXPECT_EQ(Text(field.GetSafeHwnd()), step < 2 ? "1" : "Q");
  }
}

// The row: code ('>' limit 3), year ('#' limit 4), serial ('#' limit 4), amount ('%' limit 10).
class FieldRowTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    const struct {
      const char* mask;
      UINT limit;
    } kinds[] = {{">", 3}, {"#", 4}, {"#", 4}, {"%", 10}};
    for (int i = 0; i < 4; ++i)
      m_row[i] = &MakeField(i + 1, kinds[i].mask, kinds[i].limit, true, "", false);
  }
  HWND H(int i) const { return m_row[i]->GetSafeHwnd(); }
  OpenField* m_row[4] = {};
};

TEST_F(FieldRowTest, TypingTheWholeEntryFillsTheRow) {
  kwtest::Focus(H(0));
  kwtest::Keys("x-y1");
  EXPECT_EQ(Focused(), H(0));
  kwtest::Keys("z");
  EXPECT_EQ(Focused(), H(1));
  kwtest::Keys("20a26 0042-7");  // in one go, across the next limits
  EXPECT_EQ(Text(H(0)), "XYZ");
  EXPECT_EQ(Text(H(1)), "2026");
  EXPECT_EQ(Text(H(2)), "0042");
  EXPECT_EQ(Text(H(3)), "-7");
  EXPECT_EQ(Focused(), H(3));
  EXPECT_EQ(Refusals(), 4);  // '-', '1', 'a', ' '
}

// One key, or a typed text, in a field of the row; the other fields are empty but the first,
// which holds "ABC". The clipboard holds "2026a".
TEST_F(FieldRowTest, KeysInAField) {
  // keys: a key script; focus is the field with the focus after it, and caret the caret there.
  const struct {
    const char* name;
    int field;
    const char* text;
    int selStart, selEnd;
    bool insertMode;
    const char* keys;
    const char* shown;
    int focus, caret, refusals;
  } rows[] = {
      {"TypingAYear", 1, "", 0, 0, true, "2a0b26", "2026", 2, 0, 2},
      {"TypingUpperCase", 0, "", 0, 0, true, "ab1c", "ABC", 1, 0, 1},
      {"TypingAPercentage", 3, "", 0, 0, true, "-12.5", "-12.5", 3, 5, 0},
      {"InsertIntoFullFieldIsRefused", 1, "2026", 2, 2, true, "7", "2026", 1, 2, 1},
      {"InsertInTheMiddleFillsButStays", 1, "226", 1, 1, true, "0", "2026", 1, 2, 0},
      {"Overwrite", 1, "2026", 1, 1, false, "1", "2126", 1, 2, 0},
      {"OverwriteConvertsCase", 0, "AB", 0, 0, false, "x", "XB", 0, 1, 0},
      {"OverwriteRefusedByTheKind", 1, "2026", 1, 1, false, "x", "2026", 1, 1, 1},
      {"OverwriteAtTheEndAppends", 1, "20", 2, 2, false, "2", "202", 1, 3, 0},
      {"TypingReplacesTheSelection", 1, "2026", 1, 3, true, "5", "256", 1, 2, 0},
      {"RefusedCharacterStillDeletesTheSelection", 1, "2026", 1, 3, true, "x", "26", 1, 1, 1},
      {"Backspace", 1, "2026", 2, 2, true, "{Back}", "226", 1, 1, 0},
      {"Delete", 1, "2026", 1, 1, true, "{Del}", "226", 1, 1, 0},
      {"PasteFiltersAndLeavesTheCaretAfter", 3, "", 0, 0, true, "{C+v}", "2026", 3, 4, 0},
      {"PasteThatFillsStaysWithTheCaretFirst", 1, "", 0, 0, true, "{C+v}", "2026", 1, 0, 0},
      {"PasteIsCutShortAtTheLimit", 1, "20", 2, 2, true, "{C+v}", "2020", 1, 0, 0},
      // At the end of a full field these move on, even a refused overwrite (which would go
      // beyond the limit) ...
      {"RightAtTheEnd", 1, "2026", 4, 4, true, "{Right}", "2026", 2, 0, 0},
      {"DeleteAtTheEnd", 1, "2026", 4, 4, true, "{Del}", "2026", 2, 0, 0},
      {"CharacterAtTheEnd", 1, "2026", 4, 4, true, "7", "2026", 2, 0, 1},
      {"OverwritePastTheEnd", 1, "2026", 4, 4, false, "7", "2026", 2, 0, 1},
      // ... and these stay; nothing leaves a field backwards.
      {"LeftAtTheEnd", 1, "2026", 4, 4, true, "{Left}", "2026", 1, 3, 0},
      {"ShiftRightAtTheEnd", 1, "2026", 4, 4, true, "{S+Right}", "2026", 1, 4, 0},
      {"LeftAtTheStart", 1, "20", 0, 0, true, "{Left}", "20", 1, 0, 0},
      {"BackspaceAtTheStart", 1, "20", 0, 0, true, "{Back}", "20", 1, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    OpenField& field = *m_row[r.field];
    for (OpenField* f : m_row) f->SetText(f == m_row[0] ? "ABC" : "");
    kwtest::Focus(field.GetSafeHwnd());
    field.SetText(r.text);
    field.SetInsertMode(r.insertMode);
    kwtest::SetSel(field.GetSafeHwnd(), r.selStart, r.selEnd);
    ASSERT_TRUE(kwtest::SetClipboardText("2026a"));
    ResetRefusals();
    kwtest::Keys(r.keys);
    EXPECT_EQ(Text(field.GetSafeHwnd()), r.shown);
    EXPECT_EQ(field.Stored(), r.shown);
    EXPECT_EQ(Focused(), H(r.focus));
    EXPECT_EQ(Sel(H(r.focus)), Caret(r.caret));
    if (r.field != 0) {
      EXPECT_EQ(Text(H(0)), "ABC");
    }
    EXPECT_EQ(Refusals(), r.refusals);
    field.SetInsertMode(true);
  }
}

// The field is the dialog's only tab stop (the other child is none): full, it keeps the focus.
TEST_F(FieldTest, OnlyTabStopKeepsTheFocus) {
  const HWND field = MakeField(1, "#", 4, true).GetSafeHwnd();
  const HWND other = CreateEdit(2, "", WS_CHILD | WS_VISIBLE | WS_BORDER);
  kwtest::Keys("2026");
  EXPECT_EQ(Focused(), field);
  kwtest::Keys("{Right}7");
  EXPECT_EQ(Focused(), field);
  EXPECT_EQ(Text(field), "2026");
  EXPECT_EQ(Text(other), "");
  EXPECT_EQ(Refusals(), 1);
}

TEST_F(FieldTest, ModelOperationsRefuseWhatTheyCannotDo) {
  OpenField& field = MakeField(1, "#", 4, false, "2026");
  EXPECT_EQ(field.DeleteRange(3, 1), -2);  // reversed ends
  EXPECT_EQ(field.DeleteRange(2, 9), 7);
  EXPECT_EQ(field.InsertAt(9, '1'), -1);
  EXPECT_EQ(field.SetAt(1, 'x'), -1);
  // A NUL (WM_CHAR 0x100 arrives as one) would end the filtered text and drop what follows it.
  EXPECT_EQ(field.InsertAt(1, '\0'), -1);
  EXPECT_EQ(field.SetAt(1, '\0'), -1);
  EXPECT_EQ(Text(field.GetSafeHwnd()), "20");
  EXPECT_EQ(field.Stored(), "20");
}

TEST_F(FieldTest, SetInputDataFiltersKeepsAndShows) {
  const struct {
    const char *name, *before, *data;
    int keep, result;
    const char* shown;
  } rows[] = {{"RefusedCharactersAreDropped", "", "12ab34", 0, 0, "1234"},
              {"EmptyDataEmptiesTheField", "20", "", 0, 1, ""},
              {"KeptCharactersLead", "20", "26", 1, 1, "226"},
              {"NegativeKeepKeepsItAll", "20", "26", -1, 1, "2026"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    OpenField& field = MakeField(1, "#", 10, false, row.before);
    EXPECT_EQ(field.SetInputData(row.data, row.keep, 1), row.result);
    EXPECT_EQ(Text(field.GetSafeHwnd()), row.shown);
    EXPECT_EQ(field.Stored(), row.shown);
    EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(0));
    field.DestroyWindow();
  }
}

TEST_F(FieldTest, SetTextFiltersButSetWindowTextDoesNot) {
  OpenField& field = MakeField(1, "#", 4, false, "12a");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "12");
  field.SetWindowText("12a");
  EXPECT_EQ(field.GetInputData(true), "12a");
  kwtest::SetSel(field.GetSafeHwnd(), 3, 3);
  kwtest::Keys("x");  // refused: the text is put back through the filter
  EXPECT_EQ(Text(field.GetSafeHwnd()), "12");
  EXPECT_EQ(Sel(field.GetSafeHwnd()), Caret(2));
}

// A text stored before the window is made, or the text of a dialog's edit control that is then
// subclassed, is shown, and an overwrite edits it.
TEST_F(FieldTest, WindowMadeOrSubclassedShowsItsText) {
  for (bool subclass : {false, true}) {
    SCOPED_TRACE(subclass ? "subclassed" : "created");
    OpenField& field = *m_fields.emplace_back(std::make_unique<OpenField>("#"));
    if (!subclass) field.SetText("12x34");
    ASSERT_TRUE(
        subclass ? field.SubclassWindow(CreateEdit(2, "1234"))
                 : field.Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 1));
    const HWND h = field.GetSafeHwnd();
    EXPECT_EQ(Text(h), "1234");
    EXPECT_EQ(field.GetInputData(false), "1234");
    field.SetInsertMode(false);
    kwtest::Focus(h);
    kwtest::SetSel(h, 1, 1);
    kwtest::Keys("9");
    EXPECT_EQ(Text(h), "1934");
  }
}

// Cut, clear and a text set from outside change the window through the edit control alone; the
// field takes the shown text over, so a later overwrite never brings back what is gone.
TEST_F(FieldTest, OverwriteDoesNotBringBackWhatIsGone) {
  const auto cut = [](OpenField&) { kwtest::Keys("{C+x}"); };
  // Each change is made on '2026' with 0 to 2 selected, then '9' is typed in overwrite mode.
  const struct {
    const char* name;
    std::function<void(OpenField&)> change;
    const char *shownAfterChange, *clipboard;
    int overwriteAt;
    const char* shownAfterOverwrite;
  } rows[] = {
      {"Cut", cut, "26", "20", 0, "96"},
      {"CutThenAppend", cut, "26", "20", 2, "269"},
      {"Clear", [](OpenField& f) { f.Clear(); }, "26", "", 0, "96"},
      {"ClearMessage", [](OpenField& f) { f.SendMessage(WM_CLEAR); }, "26", "", 1, "29"},
      {"OutsideText", [](OpenField& f) { f.SetWindowText("55"); }, "55", "", 2, "559"},
      {"OutsideTextUnfiltered", [](OpenField& f) { f.SetWindowText("5x"); }, "5x", "", 0, "9x"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    OpenField& field = MakeField(1, "#", 4, false, "2026");
    kwtest::SetSel(field.GetSafeHwnd(), 0, 2);
    kwtest::EmptyClipboardNow();
    row.change(field);
    EXPECT_EQ(Text(field.GetSafeHwnd()), row.shownAfterChange);
    EXPECT_EQ(field.Stored(), row.shownAfterChange);
    EXPECT_EQ(kwtest::ClipboardText(), row.clipboard);
    field.SetInsertMode(false);
    kwtest::SetSel(field.GetSafeHwnd(), row.overwriteAt, row.overwriteAt);
    kwtest::Keys("9");
    EXPECT_EQ(Text(field.GetSafeHwnd()), row.shownAfterOverwrite);
    field.DestroyWindow();
  }
}

}  // namespace
