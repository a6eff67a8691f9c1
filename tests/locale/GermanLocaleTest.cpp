// Locale separators read at load, run in a process whose locale is German (de_DE): ',' as the
// decimal separator, '.' as the thousands and date separator.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"
#include "core/KwLocaleSeparators.h"

namespace kwtest {
namespace {

TEST(GermanLocale, SeparatorsReadAtLoadShownByTheMask) {
  ASSERT_EQ(g_chDecimalSep, ',')
      << "this suite runs with LC_ALL=de_DE.UTF-8; is the locale installed? "
         "(localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
  EXPECT_EQ(
      KwWString({g_chThousandSep, g_chMonDecimalSep, g_chMonThousandSep, g_chDateSep, g_chTimeSep}),
      KW_W(".,..:"));
  auto edit = Model("#,###.##  ##/##/####  ##:##");
  EXPECT_EQ(edit->ShowMask(), "_.___,__  __.__.____  __:__");
  EXPECT_EQ(edit->GetMask(), "#,###.##  ##/##/####  ##:##");
  EXPECT_TRUE(KwMaskSymbol(KindDecimalSeparator, g_chDecimalSep).AcceptsChar('.'))
      << "data keeps the point";
  EXPECT_FALSE(KwMaskSymbol(KindDecimalSeparator, g_chDecimalSep).AcceptsChar(','));
  EXPECT_EQ(Model("##.##")->GetInputData("12,34", true), "1234")
      << "the separator as shown is stripped";
  EXPECT_EQ(Model("##.##")->GetInputData("12.34", true), "12.34")
      << "not the separator of another locale";
}

using GermanLocaleRoad = CharacterControlTest;

TEST_F(GermanLocaleRoad, TypingAndSettingADate) {
  CharEditProbe& edit = Make("##/##/####");
  HWND h = edit.GetSafeHwnd();
  EXPECT_EQ(Text(h), "__.__.____");
  Ready(edit, 0, 0);
  Type("24121999");
  EXPECT_EQ(Text(h), "24.12.1999");
  EXPECT_EQ(edit.GetInputData(false), "24121999");
  ::SetWindowTextA(h, "01.02.2003");
  EXPECT_EQ(Text(h), "01.02.2003");
  ::SetWindowTextA(h, "01/02/2003");
  EXPECT_EQ(Text(h), "01.02.2003") << "foreign separators are refused by the digit positions";
}

}  // namespace
}  // namespace kwtest
