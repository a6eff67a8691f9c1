// Corners of the controls that the key and clipboard suites do not reach: copies, controls
// without positions, a window that cannot be made, the field's model operations at the ends of
// their ranges, a lowered history limit, and the separators when the locale cannot be read.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "core/KwLocaleSeparators.h"
#include "field/KwFieldMaskedEdit.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

using Factory = std::function<std::unique_ptr<KwMaskedEdit>()>;
using Copier = std::function<std::unique_ptr<KwMaskedEdit>(const KwMaskedEdit&)>;

template <class Control>
Copier CopyOf() {
  return [](const KwMaskedEdit& e) {
    return std::make_unique<Control>(static_cast<const Control&>(e));
  };
}

class ControlEdges : public WindowTest {};

// A copy holds its own positions: it keeps the source's mask and data when the source changes or
// is gone, and shows them once it has a window of its own. (A field's text is its window's: its
// copy starts empty, of the same kind.)
TEST_F(ControlEdges, ACopyKeepsItsOwnModel) {
  const struct {
    const char* name;
    Factory make;
    Copier copy;
    const char* data;  // through SetText
    const char* kept;  // GetInputData(false) of the copy
  } rows[] = {
      {"Character", [] { return std::make_unique<KwCharacterMaskedEdit>("(###) ###-####"); },
       CopyOf<KwCharacterMaskedEdit>(), "5551234", "5551234"},
      {"Number", [] { return std::make_unique<KwNumberMaskedEdit>("$"); },
       CopyOf<KwNumberMaskedEdit>(), "-1234.5", "-1234.5"},
      {"Field", [] { return std::make_unique<KwFieldMaskedEdit>(">"); },
       CopyOf<KwFieldMaskedEdit>(), "ab1c", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::unique_ptr<KwMaskedEdit> source = r.make();
    ASSERT_TRUE(source->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
    source->SetText(r.data);
    const std::string mask = source->GetMask();
    const std::string shown = source->ShowMask();
    std::unique_ptr<KwMaskedEdit> copy = r.copy(*source);
    EXPECT_EQ(copy->GetSafeHwnd(), nullptr) << "a copy has no window";
    source->SetText("");
    source->SetMask("#");
    source.reset();
    EXPECT_EQ(copy->GetInputData(false), r.kept);
    EXPECT_EQ(copy->GetMask(), mask);
    ASSERT_TRUE(copy->Create(kEditStyle, EditRect(2), ParentWnd(), 2));
    EXPECT_EQ(Text(copy->GetSafeHwnd()), copy->ShowMask());
    copy->SetText(r.data);
    EXPECT_EQ(Text(copy->GetSafeHwnd()), shown);
    copy->DestroyWindow();
  }
}

// A child window needs a parent: Create fails, and the control keeps its model for a later try.
TEST_F(ControlEdges, ACreateThatFailsKeepsTheModel) {
  const struct {
    const char* name;
    Factory make;
    const char* held;  // the data before a window (a field reads its data from its window)
  } rows[] = {
      {"Character", [] { return std::make_unique<KwCharacterMaskedEdit>("##"); }, "12"},
      {"Number", [] { return std::make_unique<KwNumberMaskedEdit>("%"); }, "12"},
      {"Field", [] { return std::make_unique<KwFieldMaskedEdit>("#"); }, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::unique_ptr<KwMaskedEdit> edit = r.make();
    edit->SetText("12");
    EXPECT_FALSE(edit->Create(kEditStyle, EditRect(1), nullptr, 1));
    EXPECT_EQ(edit->GetSafeHwnd(), nullptr);
    EXPECT_EQ(edit->GetInputData(false), r.held);
    ASSERT_TRUE(edit->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
    EXPECT_EQ(edit->GetInputData(false), "12");
    EXPECT_EQ(Text(edit->GetSafeHwnd()), edit->ShowMask());
    edit->DestroyWindow();
  }
}

// Without positions a number or character control holds its text in the window: the data
// operations read and clear the window text, and the model operations change nothing.
template <class Control>
void ExpectWindowTextIsTheData(ModelProbe<Control>& edit) {
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  const HWND h = edit.GetSafeHwnd();
  EXPECT_EQ(edit.IsInputEmpty(), 1);
  ::SetWindowTextA(h, "12ab");
  EXPECT_EQ(edit.GetInputData(false), "12ab");
  EXPECT_EQ(edit.GetInputData(true), "12ab");
  EXPECT_EQ(edit.IsInputEmpty(), 0);
  EXPECT_EQ(edit.DeleteRange(0, 2), 0);
  EXPECT_EQ(Text(h), "12ab");
  edit.EmptyData(1);
  EXPECT_EQ(Text(h), "");
  EXPECT_EQ(edit.IsInputEmpty(), 1);
  EXPECT_EQ(edit.GetMask(), "");
  edit.SetText("x-1");
  EXPECT_EQ(Text(h), "x-1");
  EXPECT_EQ(edit.InsertAt(0, '7'), -1);
  EXPECT_EQ(Text(h), "x-1");
  SetSel(h, 0, 1);
  ::SendMessageA(h, WM_CLEAR, 0, 0);
  EXPECT_EQ(Text(h), "-1") << "the edit control's own clear";
  edit.EmptyData(0);
  EXPECT_EQ(Text(h), "");
  EXPECT_FALSE(edit.CanUndo());
  edit.DestroyWindow();
}

TEST_F(ControlEdges, ANumberWithoutPositionsKeepsItsDataInTheWindow) {
  ModelProbe<KwNumberMaskedEdit> edit;
  edit.SetText("5");  // no window to hold it
  ExpectWindowTextIsTheData(edit);
  EXPECT_EQ(edit.SetAt(0, '1'), -1);
  EXPECT_EQ(edit.GetEmptyInputLocation(3), 3);
}

TEST_F(ControlEdges, ACharacterControlWithoutPositionsKeepsItsDataInTheWindow) {
  ModelProbe<KwCharacterMaskedEdit> edit;
  edit.SetText("before");  // no window to hold it
  edit.SetPromptSymbol('*');
  edit.SetPromptSymbol('\n');  // refused: '*' stays for a later mask
  ExpectWindowTextIsTheData(edit);
  edit.SetMask("##");
  EXPECT_EQ(edit.GetMask(), "##");
  EXPECT_EQ(edit.ShowMask(), "**");
}

// Erasing the background without a device context answers as always and paints nothing.
TEST_F(ControlEdges, EraseWithoutADeviceContext) {
  KwCharacterMaskedEdit edit("##");
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  EXPECT_EQ(::SendMessageA(edit.GetSafeHwnd(), WM_ERASEBKGND, 0, 0), TRUE);
  edit.DestroyWindow();
}

// The number control's layout and settings as a host reads them back.
TEST_F(ControlEdges, NumberSettingsReadBack) {
  KwNumberMaskedEdit edit;
  EXPECT_FALSE(edit.SetMask("")) << "the empty mask is no kind of number";
  EXPECT_EQ(edit.GetMask(), "");
  ASSERT_TRUE(edit.SetMask("%"));
  EXPECT_EQ(edit.GetMaxIntPos(), 11) << "nine digits and two thousands separators";
  EXPECT_EQ(edit.GetMaxDecimalPos(), 2);
  EXPECT_EQ(edit.GetPromptSymbol(), ' ');
  edit.SetPromptSymbol('_');
  edit.SetPromptSymbol('\r');  // refused: the prompt stays
  EXPECT_EQ(edit.GetPromptSymbol(), '_');
  EXPECT_FALSE(edit.GetAutoTab());
  edit.SetAutoTab(true);
  EXPECT_TRUE(edit.GetAutoTab());
}

// Typing over the shown point takes only what a digit place takes.
TEST_F(ControlEdges, OverwritingTheNumbersPointWithALetterIsRefused) {
  ModelProbe<KwNumberMaskedEdit> edit("%");
  edit.SetText("12345.6");
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  const HWND h = edit.GetSafeHwnd();
  const std::string shown = Text(h);
  const int point = static_cast<int>(shown.size()) - 2;
  Focus(h);
  edit.SetInsertMode(false);
  SetSel(h, point, point);
  Keys("x");
  EXPECT_EQ(Text(h), shown);
  EXPECT_EQ(edit.GetInputData(false), "12345.6");
  EXPECT_EQ(edit.refusals, 1);
  Keys("7");
  EXPECT_EQ(edit.GetInputData(false), "1234576") << "a digit joins the fraction to the integer";
  edit.DestroyWindow();
}

// The history holds at most 16 MiB of texts: beyond it the oldest steps go, however many the
// limit allows.
TEST_F(ControlEdges, TheHistoryKeepsItsTextsWithinABudget) {
  if (OnWine()) {
    GTEST_SKIP() << "Wine's edit control takes time quadratic in its text: texts of megabytes "
                    "would take hours there";
  }
  KwCharacterMaskedEdit edit;  // no mask: a foreign text is shown as it is
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  edit.SetLimitText(0);
  const HWND h = edit.GetSafeHwnd();
  // 6 MiB of text each: the text is UTF-16, two bytes a character.
  const std::size_t size = std::size_t{3} << 20;
  for (char c : {'a', 'b', 'c', 'd'}) ::SetWindowTextA(h, std::string(size, c).c_str());
  // Steps: "", a, b, c (18 MiB): the empty text and a go, b and c (12 MiB) stay.
  int undone = 0;
  while (edit.Undo()) ++undone;
  EXPECT_EQ(undone, 2);
  EXPECT_EQ(Text(h), std::string(size, 'b'));
  edit.DestroyWindow();
}

// Undo needs the window it rewrites: without one it answers false and keeps its steps.
TEST_F(ControlEdges, UndoWithoutAWindowChangesNothing) {
  KwCharacterMaskedEdit edit("####");
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  Focus(edit.GetSafeHwnd());
  Keys("12");
  ASSERT_TRUE(edit.CanUndo());
  edit.DestroyWindow();
  EXPECT_FALSE(edit.Undo());
  EXPECT_EQ(edit.GetInputData(false), "12");
}

// The field's model operations take any int: a range of more than INT_MAX positions neither
// overflows nor wraps, a negative position is no position.
TEST_F(ControlEdges, FieldModelOperationsAtTheEndsOfTheirRanges) {
  ModelProbe<KwFieldMaskedEdit> field("#");
  EXPECT_EQ(field.InsertAt(0, '1'), -1) << "without a window the field has no room";
  EXPECT_EQ(field.GetLastRejection(), KwMaskedEdit::RejectNone) << "no key was refused";
  ASSERT_TRUE(field.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  field.SetLimitText(8);
  field.SetText("2026");
  EXPECT_EQ(field.IsInputEmpty(), 0);
  EXPECT_EQ(field.SetAt(-1, '7'), -1);
  EXPECT_EQ(field.InsertAt(-1, '7'), 0) << "before the start is at the start";
  EXPECT_EQ(field.GetInputData(false), "72026");
  EXPECT_EQ(field.GetPreviousInputLocation(-3), 0);
  EXPECT_EQ(field.DeleteRange(INT_MAX, INT_MIN), INT_MIN);
  EXPECT_EQ(field.GetInputData(false), "72026") << "a reversed range deletes nothing";
  EXPECT_EQ(field.DeleteRange(INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(field.GetInputData(false), "");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "");
  EXPECT_EQ(field.IsInputEmpty(), 1);
  field.DestroyWindow();
}

// Lowering the limit drops the oldest steps of both histories at once.
TEST_F(ControlEdges, LoweringTheUndoLimitDropsTheOldestSteps) {
  KwCharacterMaskedEdit edit("####");
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  Focus(edit.GetSafeHwnd());
  Keys("1{Left}2{Left}3{Left}4");  // four steps: 1, 21, 321, 4321
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "4321");
  edit.SetUndoLimit(2);
  EXPECT_TRUE(edit.Undo());
  EXPECT_TRUE(edit.Undo());
  EXPECT_FALSE(edit.Undo()) << "the two oldest steps are gone";
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "21  ");
  edit.SetUndoLimit(1);
  EXPECT_TRUE(edit.Redo());
  EXPECT_FALSE(edit.Redo()) << "the newest redo step is the one kept";
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "321 ");
  edit.DestroyWindow();
}

// A separator the locale cannot give is the C locale's.
TEST(LocaleSeparators, FallBackToTheCLocalesWhenTheLocaleCannotBeRead) {
  KWTEST_REQUIRE_INSPECT();  // needs GetLocaleInfoA to fail
  const struct {
    LCTYPE type;
    char fallback;
  } rows[] = {{LOCALE_SDECIMAL, '.'},        {LOCALE_STHOUSAND, ','}, {LOCALE_SMONDECIMALSEP, '.'},
              {LOCALE_SMONTHOUSANDSEP, ','}, {LOCALE_STIME, ':'},     {LOCALE_SDATE, '/'}};
  struct Restore {
    ~Restore() { kwinspect::FailGetLocaleInfoAfter(-1); }
  } restore;
  for (const auto& r : rows) {
    // Every call fails; then only the second, which reads the value after its length was asked.
    for (int answered : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "type " << r.type << ", calls answered " << answered);
      kwinspect::FailGetLocaleInfoAfter(answered);
      EXPECT_EQ(GetLocaleSeparator(r.type), WCHAR(r.fallback));
    }
  }
}

// A separator the user's locale gives oddly. An empty thousands separator (a locale that groups
// without a mark) is a space; any other empty one, or one that is no character (a control
// character, DEL, half a pair), is the C locale's; of a longer one the first character counts.
TEST(LocaleSeparators, OddValuesOfTheUsersLocale) {
  const struct {
    const char* name;
    LCTYPE type;
    KwWString value;
    WCHAR separator;
  } rows[] = {
      {"EmptyThousands", LOCALE_STHOUSAND, KwWString(), ' '},
      {"EmptyMoneyThousands", LOCALE_SMONTHOUSANDSEP, KwWString(), ' '},
      {"EmptyDecimal", LOCALE_SDECIMAL, KwWString(), '.'},
      {"Tab", LOCALE_SDATE, KW_W("\t"), '/'},
      {"Delete", LOCALE_STIME, KwWString(1, WCHAR(0x7F)), ':'},
      {"HighHalf", LOCALE_SMONDECIMALSEP, KwWString(1, WCHAR(0xD800)), '.'},
      {"LowHalf", LOCALE_STHOUSAND, KwWString(1, WCHAR(0xDFFF)), ','},
      {"FullWidthComma", LOCALE_SMONTHOUSANDSEP, KW_W("\uFF0C"), WCHAR(0xFF0C)},
      {"LongerThanOne", LOCALE_SDECIMAL, KW_W("<>"), '<'},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    WCHAR saved[16] = {};
    ASSERT_GT(::GetLocaleInfoW(LOCALE_USER_DEFAULT, r.type, saved, 16), 0);
    ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, r.type, r.value.c_str()));
    const WCHAR separator = GetLocaleSeparator(r.type);
    ::SetLocaleInfoW(LOCALE_USER_DEFAULT, r.type, saved);
    EXPECT_EQ(separator, r.separator);
  }
}

}  // namespace
}  // namespace kwtest
