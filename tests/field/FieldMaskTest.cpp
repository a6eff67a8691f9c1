// The field control's one-character mask language, its construction and copying, and what a
// mask change does to a field with a window.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "field/FieldTestSupport.h"

namespace {

using kwfieldtest::FieldTest;
using kwfieldtest::OpenField;

// Each mask is given to a field without a window; a probe text set through SetText is filtered
// by the field's kind into the stored text, which ShowMask returns.
struct MaskCase {
  const char* name;
  std::string mask;
  std::string expectedMask;  // GetMask()
  std::string probe;
  std::string kept;          // the probe filtered by the kind
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.name; }

class FieldMaskLanguageTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(FieldMaskLanguageTest, SetsTheKindOfEveryCharacter) {
  const MaskCase& c = GetParam();
  OpenField field;
  EXPECT_TRUE(field.SetMask(c.mask));
  EXPECT_EQ(field.GetMask(), c.expectedMask);
  EXPECT_EQ(field.SetText(c.probe), 1);
  EXPECT_EQ(field.ShowMask(), c.kept);
}

const std::string kMixed = "a1-2 .b,+";

INSTANTIATE_TEST_SUITE_P(
    Table, FieldMaskLanguageTest,
    ::testing::Values(
        MaskCase{"Digit", "#", "#", kMixed, "12"},
        MaskCase{"OnlyTheFirstCharacterCounts", "#9-", "#", kMixed, "12"},
        MaskCase{"Percent", "%", "%", kMixed, "1-2 .+"},
        MaskCase{"Currency", "$", "$", kMixed, "1-2 .+"},
        MaskCase{"AlphaNumeric", "A", "A", "a1-_B", "a1B"},
        MaskCase{"Alpha", "?", "?", "a1B\xE9", "aB"},
        MaskCase{"UpperAlpha", ">", ">", "ab1C", "ABC"},
        MaskCase{"LowerAlpha", "<", "<", "AB1c", "abc"},
        MaskCase{"AnyCharSkipsControlCharactersAndDel", "&", "&", "a\t\x7F\xE9} ", "a\xE9} "},
        MaskCase{"DecimalSeparatorTakesOnlyTheDot", ".", ".", "1.,.", ".."},
        MaskCase{"ThousandSeparatorTakesNothing", ",", ",", "1,.", ""},
        MaskCase{"TimeSeparatorTakesNothing", ":", ":", "1:a", ""},
        MaskCase{"DateSeparatorTakesNothing", "/", "/", "1/a", ""},
        MaskCase{"LowerCaseAIsALiteral", "a", "a", "aA1", ""},
        MaskCase{"BackslashIsAnOrdinaryLiteral", "\\", "\\", "\\#1", ""},
        MaskCase{"HighByteIsALiteral", "\xE9", "\xE9", "\xE9" "1", ""},
        MaskCase{"EmptyMaskIsTheNulLiteral", "", std::string(1, '\0'), "1a", ""}),
    [](const ::testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

TEST(FieldConstructionTest, ConstructorAppliesItsMask) {
  OpenField field(">");
  EXPECT_EQ(field.GetMask(), ">");
  field.SetText("x1y");
  EXPECT_EQ(field.ShowMask(), "XY");
}

TEST(FieldConstructionTest, CopyTakesTheKindButNotTheText) {
  OpenField original(">");
  original.SetText("ab");
  original.SetAutoTab(true);
  OpenField copy(original);
  EXPECT_EQ(copy.GetMask(), ">");
  EXPECT_EQ(copy.ShowMask(), "");
  EXPECT_TRUE(copy.GetAutoTab());
  EXPECT_EQ(copy.GetSafeHwnd(), nullptr);
  copy.SetText("q");
  EXPECT_EQ(copy.ShowMask(), "Q");
  EXPECT_EQ(original.ShowMask(), "AB");
}

TEST_F(FieldTest, MaskChangeEmptiesShownAndStoredText) {
  OpenField& field = MakeField(1, "#", 4);
  Prepare(field, "123", 3, 3);
  field.SetMask(">");
  EXPECT_EQ(kwtest::Text(field.GetSafeHwnd()), "");
  EXPECT_EQ(field.Stored(), "");
  EXPECT_EQ(kwtest::Sel(field.GetSafeHwnd()), Caret(0));
  kwtest::Type("q1");
  EXPECT_EQ(kwtest::Text(field.GetSafeHwnd()), "Q");
}

TEST_F(FieldTest, CreateShowsWhatWasStoredBeforeTheWindow) {
  m_fields.push_back(std::make_unique<OpenField>("#"));
  OpenField& field = *m_fields.back();
  field.SetText("12x3");
  ASSERT_TRUE(field.Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 1));
  EXPECT_EQ(kwtest::Text(field.GetSafeHwnd()), "123");
  EXPECT_EQ(field.GetInputData(true), "123");
  EXPECT_EQ(kwtest::Sel(field.GetSafeHwnd()), Caret(0));
}

TEST_F(FieldTest, EmptyDataKeepsTheMask) {
  for (int keepMask : {0, 1}) {
    SCOPED_TRACE(keepMask);
    OpenField& field = MakeField(1 + keepMask, ">", 5);
    Prepare(field, "abc", 2, 2);
    field.EmptyData(keepMask);
    EXPECT_EQ(kwtest::Text(field.GetSafeHwnd()), "");
    EXPECT_EQ(field.IsInputEmpty(), 1);
    EXPECT_EQ(kwtest::Sel(field.GetSafeHwnd()), Caret(0));
    EXPECT_EQ(field.GetMask(), ">");
    kwtest::Type("z");
    EXPECT_EQ(kwtest::Text(field.GetSafeHwnd()), "Z");
  }
}

}  // namespace
