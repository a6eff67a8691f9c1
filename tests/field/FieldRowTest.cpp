// A row of field controls with auto-tab working as one entry: the focus moves on when a field is
// full and never moves back by itself.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "field/FieldTestSupport.h"

namespace {

using kwfieldtest::FieldTest;
using kwfieldtest::OpenField;
using kwtest::Focused;
using kwtest::Sel;
using kwtest::Text;

// Three fields ('>' limit 3, '#' limit 4, '#' limit 4) with auto-tab, then a plain edit control
// standing for the rest of the dialog.
class FieldRowTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    m_code = &MakeField(1, ">", 3, true);
    m_year = &MakeField(2, "#", 4, true);
    m_serial = &MakeField(3, "#", 4, true);
    m_next = CreateEdit(4);
  }

  HWND Code() const { return m_code->GetSafeHwnd(); }
  HWND Year() const { return m_year->GetSafeHwnd(); }
  HWND Serial() const { return m_serial->GetSafeHwnd(); }

  OpenField* m_code = nullptr;
  OpenField* m_year = nullptr;
  OpenField* m_serial = nullptr;
  HWND m_next = nullptr;
};

TEST_F(FieldRowTest, TypingTheWholeEntryFillsTheRow) {
  kwtest::Focus(Code());
  kwtest::Type("ab");
  EXPECT_EQ(Focused(), Code());
  kwtest::Type("c");
  EXPECT_EQ(Focused(), Year()) << "a full field hands the focus on";
  EXPECT_EQ(Sel(Year()), Caret(0));
  kwtest::Type("2026");
  EXPECT_EQ(Focused(), Serial());
  kwtest::Type("0042");
  EXPECT_EQ(Focused(), m_next);

  EXPECT_EQ(Text(Code()), "ABC");
  EXPECT_EQ(Text(Year()), "2026");
  EXPECT_EQ(Text(Serial()), "0042");
  EXPECT_EQ(Text(m_next), "");
}

TEST_F(FieldRowTest, TypingInOneGoWithRefusedCharacters) {
  kwtest::Focus(Code());
  kwtest::Type("x-y1z20a26 0042");
  EXPECT_EQ(Text(Code()), "XYZ");
  EXPECT_EQ(Text(Year()), "2026");
  EXPECT_EQ(Text(Serial()), "0042");
  EXPECT_EQ(Focused(), m_next);
  if (kwtest::CanInspect()) { EXPECT_EQ(kwtest::Beeps(), 4); }  // '-', '1', 'a', ' '
}

// One key with the caret at the end of the full first field.
struct EndKeyCase {
  const char* name;
  std::function<void()> key;
  bool movesOn;
  int caret;  // in the first field when the focus stays
  int beeps;
};

void PrintTo(const EndKeyCase& c, std::ostream* os) { *os << c.name; }

class FieldRowEndKeyTest : public FieldRowTest, public ::testing::WithParamInterface<EndKeyCase> {};

TEST_P(FieldRowEndKeyTest, AtTheEndOfAFullField) {
  const EndKeyCase& c = GetParam();
  kwtest::Focus(Code());
  m_code->SetText("ABC");
  kwtest::SetSel(Code(), 3, 3);
  kwtest::ResetBeeps();
  c.key();
  EXPECT_EQ(Text(Code()), "ABC");
  if (c.movesOn) {
    EXPECT_EQ(Focused(), Year());
  } else {
    EXPECT_EQ(Focused(), Code());
    EXPECT_EQ(Sel(Code()), Caret(c.caret));
  }
  if (kwtest::CanInspect()) { EXPECT_EQ(kwtest::Beeps(), c.beeps); }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldRowEndKeyTest,
    ::testing::Values(EndKeyCase{"Right", [] { kwtest::Press(VK_RIGHT); }, true, 0, 0},
                      EndKeyCase{"Down", [] { kwtest::Press(VK_DOWN); }, true, 0, 0},
                      EndKeyCase{"Delete", [] { kwtest::Press(VK_DELETE); }, true, 0, 0},
                      EndKeyCase{"TypedCharacter", [] { kwtest::Type("d"); }, true, 0, 1},
                      EndKeyCase{"Left", [] { kwtest::Press(VK_LEFT); }, false, 2, 0},
                      EndKeyCase{"Up", [] { kwtest::Press(VK_UP); }, false, 2, 0},
                      EndKeyCase{"Home", [] { kwtest::Press(VK_HOME); }, false, 0, 0},
                      EndKeyCase{"ShiftRight",
                                 [] {
                                   kwtest::ShiftHeld shift;
                                   kwtest::Press(VK_RIGHT);
                                 },
                                 false, 3, 0}),
    [](const ::testing::TestParamInfo<EndKeyCase>& info) { return std::string(info.param.name); });

TEST_F(FieldRowTest, ShiftRightSelectsInsteadOfMovingOn) {
  kwtest::Focus(Code());
  m_code->SetText("ABC");
  kwtest::SetSel(Code(), 1, 1);
  {
    kwtest::ShiftHeld shift;  // held while the key is handled, as a user holds it
    kwtest::Press(VK_RIGHT);
  }
  EXPECT_EQ(Focused(), Code());
  EXPECT_EQ(Sel(Code()), std::make_pair(1, 2));
}

TEST_F(FieldRowTest, LeftNeverLeavesAField) {
  m_code->SetText("ABC");
  kwtest::Focus(Year());
  m_year->SetText("20");
  kwtest::SetSel(Year(), 1, 1);
  kwtest::Press(VK_LEFT);
  EXPECT_EQ(Sel(Year()), Caret(0));
  kwtest::Press(VK_LEFT);
  kwtest::Press(VK_UP);
  kwtest::Press(VK_BACK);
  EXPECT_EQ(Focused(), Year());
  EXPECT_EQ(Sel(Year()), Caret(0));
  EXPECT_EQ(Text(Year()), "20");
  EXPECT_EQ(Text(Code()), "ABC");
}

TEST_F(FieldRowTest, PartlyFilledFieldKeepsTheFocus) {
  kwtest::Focus(Year());
  m_year->SetText("226");
  kwtest::SetSel(Year(), 1, 1);
  kwtest::Type("0");
  EXPECT_EQ(Text(Year()), "2026");
  EXPECT_EQ(Focused(), Year()) << "the caret went to 2, not to the limit";
  EXPECT_EQ(Sel(Year()), Caret(2));
}

TEST_F(FieldRowTest, WithoutAutoTabTheCaretStaysAtTheEnd) {
  m_year->SetAutoTab(false);
  kwtest::Focus(Year());
  kwtest::Type("20267");
  EXPECT_EQ(Text(Year()), "2026");
  EXPECT_EQ(Focused(), Year());
  EXPECT_EQ(Sel(Year()), Caret(4));
  kwtest::Press(VK_RIGHT);
  EXPECT_EQ(Focused(), Year());
}

TEST_F(FieldRowTest, PasteThatFillsAFieldDoesNotMoveOn) {
  ASSERT_TRUE(kwtest::SetClipboardText("2026"));
  kwtest::Focus(Year());
  kwtest::Press('V', false, true);
  EXPECT_EQ(Text(Year()), "2026");
  EXPECT_EQ(Focused(), Year());
  EXPECT_EQ(Sel(Year()), Caret(0));
}

// The last field of a dialog is its only tab stop (the other child is no tab stop): a full
// field keeps the focus.
TEST_F(FieldTest, OnlyTabStopKeepsTheFocus) {
  OpenField& field = MakeField(1, "#", 4, true);
  const HWND other = CreateEdit(2, "", WS_CHILD | WS_VISIBLE | WS_BORDER);
  kwtest::Focus(field.GetSafeHwnd());
  kwtest::Type("2026");
  EXPECT_EQ(Text(field.GetSafeHwnd()), "2026");
  EXPECT_EQ(kwtest::Focused(), field.GetSafeHwnd());
  kwtest::Press(VK_RIGHT);
  kwtest::Type("7");
  EXPECT_EQ(kwtest::Focused(), field.GetSafeHwnd());
  EXPECT_EQ(Text(field.GetSafeHwnd()), "2026");
  EXPECT_EQ(Text(other), "");
  if (kwtest::CanInspect()) { EXPECT_EQ(kwtest::Beeps(), 1); }
}

}  // namespace
