// Validation of a character masked edit as a host meets it: the user types, the host validates,
// and the control shows the validator's correction, filtered by its own mask, and its verdict.
#include <gtest/gtest.h>

#include <string>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "validation/TemplateValidator.h"

namespace {

constexpr int kId = 611;

struct TypedCase {
  const char* name;
  const char* mask;
  const char* typed;
  const char* tmpl;
  int result;
  const char* shown;  // the window text after OnValidate
  bool rewritten;     // the validator changed the data, so the control took it back
};

class CharacterValidation : public kwtest::WindowTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(CharacterValidation, ShowsCorrectionAndVerdict) {
  const TypedCase& c = GetParam();
  KwCharacterMaskedEdit edit(c.mask);
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(kId), kwtest::ParentWnd(), kId));
  constexpr COLORREF kErrorText = RGB(200, 0, 0);
  edit.SetTextColorError(kErrorText);
  auto* validator = new kwtest::TemplateValidator(&edit, c.tmpl);
  edit.SetValidator(validator);

  kwtest::Focus(edit.GetSafeHwnd());
  kwtest::Type(c.typed);
  EXPECT_EQ(validator->calls, 0);  // typing and focus never validate
  kwtest::Focus(kwtest::Parent());
  EXPECT_EQ(validator->calls, 0);

  kwtest::ClearNotifications();
  EXPECT_EQ(edit.OnValidate(), c.result);
  EXPECT_EQ(validator->calls, 1);
  EXPECT_EQ(kwtest::Text(edit.GetSafeHwnd()), c.shown);
  // The parent hears of a correction as of any other rewrite of the control, even when the
  // mask brings the data back to what it was; without one the window is not rewritten.
  EXPECT_EQ(!kwtest::ChangeCodesFor(kId).empty(), c.rewritten);

  HDC dc = ::GetDC(kwtest::Parent());
  ::SetTextColor(dc, RGB(9, 9, 9));
  ::SendMessageA(kwtest::Parent(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(edit.GetSafeHwnd()));
  EXPECT_EQ(::GetTextColor(dc), c.result != 0 ? kErrorText : RGB(0, 0, 0));
  ::ReleaseDC(kwtest::Parent(), dc);
  edit.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CharacterValidation,
    ::testing::Values(TypedCase{"LiteralPutIn", "&&&&&", "1234", "99-99", 0, "12-34", true},
                      TypedCase{"RaisedAndLiteralRefusedByMask", "AAAA", "ab12", "AA-99", 0, "AB12", true},
                      TypedCase{"MaskLiteralsKept", "(###) ###", "123456", "999-999", 0, "(123) 456", true},
                      TypedCase{"NoCorrection", "####", "1234", "9999", 0, "1234", false},
                      TypedCase{"Mismatch", "####", "12", "9999", 3, "12  ", false}),
    [](const ::testing::TestParamInfo<TypedCase>& info) { return std::string(info.param.name); });

}  // namespace
