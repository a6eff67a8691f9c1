// The number control in a German locale (',' decimal, '.' thousands separator, for numbers and
// money alike): the shown text carries the locale's characters, the data forms keep '.', and
// the key filter and paste read the locale's separators.
#include <gtest/gtest.h>

#include "core/KwLocaleSeparators.h"
#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

class NumberGermanLocale : public NumberControlTest {
 protected:
  void SetUp() override {
    NumberControlTest::SetUp();
    ASSERT_EQ(g_chDecimalSep, ',') << "this suite runs with LC_ALL=de_DE.UTF-8";
    ASSERT_EQ(g_chThousandSep, '.');
  }
};

TEST_F(NumberGermanLocale, ShowsLocaleSeparatorsAndKeepsThePointInTheData) {
  for (const char* mask : {"%", "$"}) {
    auto edit = NumberModel("1234.5", '_', mask);
    EXPECT_EQ(edit->ShowMask(), "1.234,5") << mask;
    EXPECT_EQ(edit->GetInputData(false), "1234.5") << mask;
    EXPECT_EQ(edit->GetInputData(true), "_____1234.5_") << mask;
    EXPECT_EQ(edit->GetMask(), "___,__1,234.5_") << mask;
    double value = 0;
    edit->GetDataNumValue(value);
    EXPECT_DOUBLE_EQ(value, 1234.5) << mask;
  }
}

TEST_F(NumberGermanLocale, CommaTypesThePointAndThePointIsDropped) {
  NumberEditProbe& edit = Make("1234");
  Ready(edit, 5);
  Type(".");
  EXPECT_EQ(TextOf(edit), "1.234");
  Type(",");
  EXPECT_EQ(TextOf(edit), "1.234,");
  Type("5");
  EXPECT_EQ(TextOf(edit), "1.234,5");
  EXPECT_EQ(edit.GetInputData(false), "1234.5");
  EXPECT_EQ(edit.refusals, 0);
}

TEST_F(NumberGermanLocale, KeypadDecimalKeyTypesThePoint) {
  NumberEditProbe& edit = Make("12");
  Ready(edit, 2);
  Press(VK_DECIMAL);
  EXPECT_EQ(TextOf(edit), "12,");
  EXPECT_EQ(edit.GetInputData(false), "12.");
}

TEST_F(NumberGermanLocale, CommaIntoAFullIntegerPartTypesThePoint) {
  NumberEditProbe& edit = Make("123456789");
  Ready(edit, 11);
  Type(",1");
  EXPECT_EQ(TextOf(edit), "123.456.789,1");
}

TEST_F(NumberGermanLocale, PasteReadsTheLocaleForm) {
  NumberEditProbe& edit = Make();
  ASSERT_TRUE(SetClipboardText("1.234,5"));
  Ready(edit, 0);
  edit.SendMessage(WM_PASTE);
  EXPECT_EQ(edit.GetInputData(false), "1234.5");
  EXPECT_EQ(TextOf(edit), "1.234,5");
}

TEST_F(NumberGermanLocale, CutTakesTheShownText) {
  NumberEditProbe& edit = Make("1234.5");
  Ready(edit, 0, 3);
  edit.SendMessage(WM_CUT);
  EXPECT_EQ(ClipboardText(), "1.2");
  EXPECT_EQ(TextOf(edit), "34,5");
}

TEST_F(NumberGermanLocale, ForeignTextIsReadInTheLocaleForm) {
  NumberEditProbe& edit = Make();
  ::SetWindowTextA(edit.GetSafeHwnd(), "-1.234,56");
  EXPECT_EQ(edit.GetInputData(false), "-1234.56");
  EXPECT_EQ(TextOf(edit), "-1.234,56");
}

}  // namespace
}  // namespace kwtest
