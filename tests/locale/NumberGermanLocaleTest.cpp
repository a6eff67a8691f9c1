// The number control in a German locale (',' decimal, '.' thousands separator, for numbers and
// money alike): the shown text carries the locale's characters, the data forms keep '.', and
// the key filter, paste, cut and a foreign text read the locale's separators.
#include <gtest/gtest.h>

#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

using NumberGermanLocale = NumberControlTest;

TEST_F(NumberGermanLocale, ShowsLocaleSeparatorsAndKeepsThePointInTheData) {
  ASSERT_EQ(KwWString({g_chDecimalSep, g_chThousandSep, g_chMonDecimalSep, g_chMonThousandSep}),
            KW_W(",.,."))
      << "this suite runs with LC_ALL=de_DE.UTF-8";
  for (const char* mask : {"%", "$"}) {
    auto edit = NumberModel("1234.5", '_', mask);
    EXPECT_EQ(edit->ShowMask(), "1.234,5") << mask;
    EXPECT_EQ(edit->GetInputData(false), "1234.5") << mask;
    EXPECT_EQ(edit->GetInputData(true), "_____1234.5_") << mask;
    double value = 0;
    edit->GetDataNumValue(value);
    EXPECT_DOUBLE_EQ(value, 1234.5) << mask;
  }
}

TEST_F(NumberGermanLocale, KeysClipboardAndForeignTextUseTheLocaleForm) {
  NumberEditProbe& edit = Make("1234");
  Ready(edit, 5);
  Type(".,5");  // the point is dropped, the comma types the point
  EXPECT_EQ(TextOf(edit), "1.234,5");
  EXPECT_EQ(edit.GetInputData(false), "1234.5");
  EXPECT_EQ(edit.refusals, 0);
  Ready(edit, 0, 3);
  edit.SendMessage(WM_CUT);
  EXPECT_EQ(ClipboardText(), "1.2");
  EXPECT_EQ(TextOf(edit), "34,5");
  ASSERT_TRUE(SetClipboardText("1.234,5"));
  edit.SendMessage(WM_PASTE);
  EXPECT_EQ(edit.GetInputData(false), "1234.5");
  EXPECT_EQ(TextOf(edit), "1.234,5");
  ::SetWindowTextA(edit.GetSafeHwnd(), "-1.234,56");
  EXPECT_EQ(edit.GetInputData(false), "-1234.56");
  EXPECT_EQ(TextOf(edit), "-1.234,56");
  // The keypad decimal key types the point, also into a full integer part.
  edit.SetText("123456789");
  Ready(edit, 11);
  Press(VK_DECIMAL);
  Type("1");
  EXPECT_EQ(TextOf(edit), "123.456.789,1");
  EXPECT_EQ(edit.GetInputData(false), "123456789.1");
}

}  // namespace
}  // namespace kwtest
