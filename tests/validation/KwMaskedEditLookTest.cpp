// The look of a masked edit control: the colours and brush it answers to the control-colour
// message (asked of the parent, reflected by the framework), the background it erases, the
// setters and their repaint requests, and validation through OnValidate.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/TestHost.h"
#include "validation/SimpleMaskedEdit.h"
#include "validation/TemplateValidator.h"

namespace {

using kwtest::SimpleMaskedEdit;
using Look = SimpleMaskedEdit::Look;

constexpr int kId = 601;
constexpr int kPlainId = 602;

// Eight distinct colours, one for each slot.
constexpr COLORREF kText = RGB(1, 0, 0), kTextFocus = RGB(2, 0, 0), kTextWarning = RGB(3, 0, 0),
                   kTextError = RGB(4, 0, 0);
constexpr COLORREF kBack = RGB(0, 1, 0), kBackFocus = RGB(0, 2, 0), kBackWarning = RGB(0, 3, 0),
                   kBackError = RGB(0, 4, 0);
// What a device context holds before the control is asked.
constexpr COLORREF kSentinelText = RGB(9, 9, 9), kSentinelBack = RGB(8, 8, 8);

COLORREF TextOf(Look look) {
  switch (look) {
    case Look::Normal: return kText;
    case Look::Focused: return kTextFocus;
    case Look::Warning: return kTextWarning;
    case Look::Error: return kTextError;
  }
  return 0;
}
COLORREF BackOf(Look look) {
  switch (look) {
    case Look::Normal: return kBack;
    case Look::Focused: return kBackFocus;
    case Look::Warning: return kBackWarning;
    case Look::Error: return kBackError;
  }
  return 0;
}

// What one control-colour message left behind.
struct Painted {
  HBRUSH brush;
  COLORREF text;
  COLORREF back;
};

// Repaint requests for a window since the last reset; where the platform cannot count them
// (the real one), the expectation is taken as met.
#define EXPECT_REPAINTS(hWnd, n)                              \
  do {                                                        \
    if (kwtest::CanInspect()) {                               \
      EXPECT_EQ(kwinspect::RepaintRequests(hWnd), (n));       \
    }                                                         \
  } while (0)

void ResetRepaints() {
  if (kwtest::CanInspect()) kwinspect::ResetRepaintRequests();
}

class MaskedEditLook : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_dc = ::GetDC(kwtest::Parent());
  }
  void TearDown() override {
    if (kwtest::CanInspect()) kwinspect::FailCreateSolidBrush(false);
    if (m_edit.GetSafeHwnd() != nullptr) m_edit.DestroyWindow();
    ::ReleaseDC(kwtest::Parent(), m_dc);
    WindowTest::TearDown();
  }

  void CreateControl(const std::string& mask = "????????", DWORD style = kwtest::kEditStyle) {
    m_edit.SetMask(mask);
    m_edit.SetTextColor(kText);
    m_edit.SetTextColorFocus(kTextFocus);
    m_edit.SetTextColorWarning(kTextWarning);
    m_edit.SetTextColorError(kTextError);
    m_edit.SetBackgroundColor(kBack);
    m_edit.SetBackgroundColorFocus(kBackFocus);
    m_edit.SetBackgroundColorWarning(kBackWarning);
    m_edit.SetBackgroundColorError(kBackError);
    ASSERT_TRUE(m_edit.Create(style, kwtest::EditRect(kId), kwtest::ParentWnd(), kId));
    kwtest::Pump();
  }

  void ResetDc() {
    ::SetTextColor(m_dc, kSentinelText);
    ::SetBkColor(m_dc, kSentinelBack);
  }

  // The way the platform asks: the edit control sends its parent WM_CTLCOLOREDIT (or
  // WM_CTLCOLORSTATIC when disabled or read-only); the framework reflects it to the control.
  Painted AskParent(HWND hEdit, UINT message = WM_CTLCOLOREDIT) {
    ResetDc();
    const LRESULT r = ::SendMessageA(kwtest::Parent(), message, reinterpret_cast<WPARAM>(m_dc),
                                     reinterpret_cast<LPARAM>(hEdit));
    return {reinterpret_cast<HBRUSH>(r), ::GetTextColor(m_dc), ::GetBkColor(m_dc)};
  }
  // The reflected message alone, as the control receives it.
  Painted AskControl() {
    ResetDc();
    const LRESULT r = ::SendMessageA(m_edit.GetSafeHwnd(), WM_REFLECT_BASE + WM_CTLCOLOR,
                                     reinterpret_cast<WPARAM>(m_dc), CTLCOLOR_EDIT);
    return {reinterpret_cast<HBRUSH>(r), ::GetTextColor(m_dc), ::GetBkColor(m_dc)};
  }
  // What the parent gives a plain edit control: the platform's own colours.
  Painted PlatformLook(UINT message = WM_CTLCOLOREDIT) { return AskParent(PlainEdit(), message); }
  // A plain edit control beside the masked one, made on first use.
  HWND PlainEdit() {
    if (m_plain == nullptr) m_plain = CreateEdit(kPlainId);
    return m_plain;
  }
  // The background erased, and what OnEraseBkgnd returned.
  std::pair<LRESULT, COLORREF> Erase() {
    ResetDc();
    const LRESULT r = ::SendMessageA(m_edit.GetSafeHwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_dc), 0);
    return {r, ::GetBkColor(m_dc)};
  }

  void ExpectLook(Look look) {
    const Painted p = AskParent(m_edit.GetSafeHwnd());
    EXPECT_EQ(p.brush, m_edit.BrushOf(look));
    EXPECT_NE(p.brush, nullptr);
    EXPECT_EQ(p.text, TextOf(look));
    EXPECT_EQ(p.back, BackOf(look));
  }
  // The control declines to colour itself: the control leaves the DC alone and answers null,
  // and the parent gives what it gives a plain edit control.
  void ExpectPlatformLook(UINT message = WM_CTLCOLOREDIT) {
    const Painted direct = AskControl();
    EXPECT_EQ(direct.brush, nullptr);
    EXPECT_EQ(direct.text, kSentinelText);
    EXPECT_EQ(direct.back, kSentinelBack);
    const Painted p = AskParent(m_edit.GetSafeHwnd(), message);
    const Painted platform = PlatformLook(message);
    EXPECT_EQ(p.brush, platform.brush);
    EXPECT_EQ(p.text, platform.text);
    EXPECT_EQ(p.back, platform.back);
  }

  SimpleMaskedEdit m_edit;
  HDC m_dc = nullptr;
  HWND m_plain = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The look by state, override and focus.

struct LookCase {
  const char* name;
  int state;
  int override_;
  bool focus;
  bool coloured;   // false: the control leaves the colouring to the platform
  Look look;       // the text cells' look when coloured
  Look erase;      // the erased background's look (follows the state and the focus only)
};

class LookByState : public MaskedEditLook, public ::testing::WithParamInterface<LookCase> {};

TEST_P(LookByState, ColoursTextCellsAndBackground) {
  const LookCase& c = GetParam();
  CreateControl();
  if (c.focus) {
    kwtest::Focus(m_edit.GetSafeHwnd());
    ASSERT_EQ(kwtest::Focused(), m_edit.GetSafeHwnd());
  } else {
    ASSERT_NE(kwtest::Focused(), m_edit.GetSafeHwnd());
  }
  m_edit.SetState(c.state);
  m_edit.SetErrorOverride(c.override_);
  EXPECT_EQ(m_edit.GetState(), c.state);

  if (c.coloured) {
    ExpectLook(c.look);
  } else {
    ExpectPlatformLook();
  }
  const auto erased = Erase();
  EXPECT_EQ(erased.first, TRUE);
  EXPECT_EQ(erased.second, BackOf(c.erase));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LookByState,
    ::testing::Values(
        LookCase{"Normal", 0, 0, false, true, Look::Normal, Look::Normal},
        LookCase{"Focused", 0, 0, true, true, Look::Focused, Look::Focused},
        LookCase{"Error04", 0x04, 0, false, true, Look::Error, Look::Error},
        LookCase{"Error04Focused", 0x04, 0, true, true, Look::Error, Look::Error},
        LookCase{"Error10", 0x10, 0, false, true, Look::Error, Look::Error},
        LookCase{"Warning02", 0x02, 0, false, true, Look::Warning, Look::Warning},
        LookCase{"Warning08Focused", 0x08, 0, true, true, Look::Warning, Look::Warning},
        LookCase{"Warning0A", 0x0A, 0, false, true, Look::Warning, Look::Warning},
        LookCase{"ErrorWinsOverWarning1E", 0x1E, 0, false, true, Look::Error, Look::Error},
        LookCase{"Bit01IsNormal", 0x01, 0, false, true, Look::Normal, Look::Normal},
        LookCase{"Bit01IsFocused", 0x01, 0, true, true, Look::Focused, Look::Focused},
        LookCase{"HighBitsIgnored", 0x20 | 0x100, 0, true, true, Look::Focused, Look::Focused},
        LookCase{"OverrideErrorInState0", 0, 1, false, true, Look::Error, Look::Normal},
        LookCase{"OverrideErrorInWarning", 0x02, 1, true, true, Look::Error, Look::Warning},
        LookCase{"OverrideNormalInError", 0x04, 2, false, true, Look::Normal, Look::Error},
        LookCase{"OverrideNormalFocused", 0x1E, 2, true, true, Look::Focused, Look::Error},
        LookCase{"OverrideWarningInState0", 0, 3, true, true, Look::Warning, Look::Focused},
        LookCase{"OverrideWarningInError", 0x10, 3, false, true, Look::Warning, Look::Error},
        LookCase{"OverrideOutOfRange", 0, 7, false, false, Look::Normal, Look::Normal},
        LookCase{"OverrideOutOfRangeInError", 0x04, 7, true, false, Look::Normal, Look::Error},
        LookCase{"OverrideNegative", 0x02, -1, false, false, Look::Normal, Look::Warning}),
    [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

TEST_F(MaskedEditLook, FocusLostTurnsBackToNormal) {
  CreateControl();
  kwtest::Focus(m_edit.GetSafeHwnd());
  ExpectLook(Look::Focused);
  kwtest::Focus(PlainEdit());
  ExpectLook(Look::Normal);
  EXPECT_EQ(Erase().second, kBack);
}

TEST_F(MaskedEditLook, OverrideZeroReturnsToTheState) {
  CreateControl();
  m_edit.SetState(0x08);
  m_edit.SetErrorOverride(KwMaskedEdit::OverrideError);
  ExpectLook(Look::Error);
  m_edit.SetErrorOverride(KwMaskedEdit::OverrideNone);
  ExpectLook(Look::Warning);
}

struct StyleCase {
  const char* name;
  bool disabled;
  bool readOnly;
};

class LookByStyle : public MaskedEditLook, public ::testing::WithParamInterface<StyleCase> {};

// A disabled or read-only control shows the platform's colours whatever its colours, state,
// override and focus, and leaves its background to the edit control.
TEST_P(LookByStyle, ShowsThePlatformsColours) {
  const StyleCase& c = GetParam();
  CreateControl("????????", kwtest::kEditStyle | (c.readOnly ? ES_READONLY : 0));
  kwtest::Focus(m_edit.GetSafeHwnd());
  if (c.disabled) m_edit.EnableWindow(FALSE);
  ASSERT_NE(m_edit.GetStyle() & (WS_DISABLED | ES_READONLY), 0u);

  for (int override_ : {0, 1, 2, 3}) {
    for (int state : {0, 0x04, 0x0A}) {
      SCOPED_TRACE("override " + std::to_string(override_) + ", state " + std::to_string(state));
      m_edit.SetErrorOverride(override_);
      m_edit.SetState(state);
      ExpectPlatformLook(WM_CTLCOLOREDIT);
      ExpectPlatformLook(WM_CTLCOLORSTATIC);
      const COLORREF erased = Erase().second;
      for (Look look : {Look::Normal, Look::Focused, Look::Warning, Look::Error})
        EXPECT_NE(erased, BackOf(look));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LookByStyle,
                         ::testing::Values(StyleCase{"Disabled", true, false}, StyleCase{"ReadOnly", false, true},
                                           StyleCase{"Both", true, true}),
                         [](const ::testing::TestParamInfo<StyleCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Colour setters.

struct SetterCase {
  const char* name;
  bool (KwMaskedEdit::*setter)(COLORREF);
  Look look;
  bool background;
};

class ColourSetter : public MaskedEditLook, public ::testing::WithParamInterface<SetterCase> {
 protected:
  // Puts the control into the setter's look.
  void EnterLook(Look look) {
    switch (look) {
      case Look::Normal: break;
      case Look::Focused: kwtest::Focus(m_edit.GetSafeHwnd()); break;
      case Look::Warning: m_edit.SetState(0x02); break;
      case Look::Error: m_edit.SetState(0x04); break;
    }
  }
};

TEST_P(ColourSetter, TakesEffectAndAsksForARepaint) {
  const SetterCase& c = GetParam();
  CreateControl();
  EnterLook(c.look);
  const HBRUSH before = m_edit.BrushOf(c.look);
  constexpr COLORREF kNew = RGB(0x12, 0x34, 0x56);

  ResetRepaints();
  EXPECT_TRUE((m_edit.*c.setter)(kNew));
  EXPECT_REPAINTS(m_edit.GetSafeHwnd(), 1);
  // The same colour again is no exception: true, and another repaint.
  EXPECT_TRUE((m_edit.*c.setter)(kNew));
  EXPECT_REPAINTS(m_edit.GetSafeHwnd(), 2);

  const Painted p = AskParent(m_edit.GetSafeHwnd());
  EXPECT_EQ(p.brush, m_edit.BrushOf(c.look));
  EXPECT_NE(p.brush, nullptr);
  EXPECT_EQ(p.text, c.background ? TextOf(c.look) : kNew);
  EXPECT_EQ(p.back, c.background ? kNew : BackOf(c.look));
  if (c.background) {
    EXPECT_EQ(Erase().second, kNew);
  } else {
    EXPECT_EQ(m_edit.BrushOf(c.look), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColourSetter,
    ::testing::Values(SetterCase{"Text", &KwMaskedEdit::SetTextColor, Look::Normal, false},
                      SetterCase{"TextFocus", &KwMaskedEdit::SetTextColorFocus, Look::Focused, false},
                      SetterCase{"TextWarning", &KwMaskedEdit::SetTextColorWarning, Look::Warning, false},
                      SetterCase{"TextError", &KwMaskedEdit::SetTextColorError, Look::Error, false},
                      SetterCase{"Background", &KwMaskedEdit::SetBackgroundColor, Look::Normal, true},
                      SetterCase{"BackgroundFocus", &KwMaskedEdit::SetBackgroundColorFocus, Look::Focused, true},
                      SetterCase{"BackgroundWarning", &KwMaskedEdit::SetBackgroundColorWarning, Look::Warning, true},
                      SetterCase{"BackgroundError", &KwMaskedEdit::SetBackgroundColorError, Look::Error, true}),
    [](const ::testing::TestParamInfo<SetterCase>& info) { return std::string(info.param.name); });

TEST_F(MaskedEditLook, DefaultColours) {
  SimpleMaskedEdit edit("????");
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(kId), kwtest::ParentWnd(), kId));
  const HWND h = edit.GetSafeHwnd();
  Painted p = AskParent(h);
  EXPECT_EQ(p.brush, edit.BrushOf(Look::Normal));
  EXPECT_EQ(p.text, RGB(0, 0, 0));
  EXPECT_EQ(p.back, RGB(240, 0, 0));
  edit.SetState(0x04);
  p = AskParent(h);
  EXPECT_EQ(p.brush, edit.BrushOf(Look::Error));
  EXPECT_EQ(p.text, RGB(0, 0, 0));
  EXPECT_EQ(p.back, RGB(255, 16, 0));
  edit.DestroyWindow();
}

// When the platform cannot make a brush, the setter still succeeds and the look hands out a null
// brush: the parent and the platform then paint the background of the text cells.
TEST_F(MaskedEditLook, NullBrushWhenNoneCouldBeMade) {
  KWTEST_REQUIRE_INSPECT();
  CreateControl();
  m_edit.SetState(0x02);
  const HBRUSH oldWarning = m_edit.BrushOf(Look::Warning);
  kwinspect::FailCreateSolidBrush(true);
  constexpr COLORREF kNew = RGB(7, 7, 7);
  EXPECT_TRUE(m_edit.SetBackgroundColorWarning(kNew));
  EXPECT_EQ(m_edit.BrushOf(Look::Warning), nullptr);

  const Painted direct = AskControl();
  EXPECT_EQ(direct.brush, nullptr);
  EXPECT_EQ(direct.text, kTextWarning);
  EXPECT_EQ(direct.back, kNew);
  const Painted viaParent = AskParent(m_edit.GetSafeHwnd());
  EXPECT_NE(viaParent.brush, nullptr);
  EXPECT_NE(viaParent.brush, oldWarning);
  EXPECT_EQ(viaParent.brush, PlatformLook().brush);
  // The erase needs no brush.
  EXPECT_EQ(Erase().second, kNew);
  // The other looks keep their brushes.
  m_edit.SetState(0x04);
  ExpectLook(Look::Error);

  kwinspect::FailCreateSolidBrush(false);
  m_edit.SetState(0x02);
  EXPECT_TRUE(m_edit.SetBackgroundColorWarning(kBackWarning));
  ExpectLook(Look::Warning);
}

TEST_F(MaskedEditLook, ControlMadeWithoutBrushesAnswersNull) {
  KWTEST_REQUIRE_INSPECT();
  kwinspect::FailCreateSolidBrush(true);
  {
    SimpleMaskedEdit edit("99");
    kwinspect::FailCreateSolidBrush(false);
    ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(kId), kwtest::ParentWnd(), kId));
    for (int state : {0, 0x02, 0x04}) {
      edit.SetState(state);
      ResetDc();
      const LRESULT r = ::SendMessageA(edit.GetSafeHwnd(), WM_REFLECT_BASE + WM_CTLCOLOR,
                                       reinterpret_cast<WPARAM>(m_dc), CTLCOLOR_EDIT);
      EXPECT_EQ(r, 0);
      EXPECT_EQ(::GetTextColor(m_dc), RGB(0, 0, 0));
    }
    edit.DestroyWindow();
  }  // destroying a control with empty brushes is fine
}

// ---------------------------------------------------------------------------------------------
// State and override setters.

TEST_F(MaskedEditLook, StateAndOverrideReportChanges) {
  CreateControl();
  const HWND h = m_edit.GetSafeHwnd();
  ResetRepaints();

  EXPECT_TRUE(m_edit.SetState(4));
  EXPECT_REPAINTS(h, 1);
  EXPECT_FALSE(m_edit.SetState(4));
  EXPECT_REPAINTS(h, 1);
  EXPECT_TRUE(m_edit.SetState(0x1E));
  EXPECT_EQ(m_edit.GetState(), 0x1E);
  EXPECT_REPAINTS(h, 2);

  EXPECT_FALSE(m_edit.SetErrorOverride(0));
  EXPECT_REPAINTS(h, 2);
  EXPECT_TRUE(m_edit.SetErrorOverride(7));  // stored, not refused
  EXPECT_EQ(m_edit.ErrorOverride(), 7);
  EXPECT_REPAINTS(h, 3);
  EXPECT_FALSE(m_edit.SetErrorOverride(7));
  EXPECT_REPAINTS(h, 3);
}

// Without a window the setters still store their values, but ask for no repaint: there is no
// window to paint, and the handle may no longer name one.
TEST_F(MaskedEditLook, NoRepaintWithoutAWindow) {
  KWTEST_REQUIRE_INSPECT();
  SimpleMaskedEdit edit("99");
  kwtest::TemplateValidator* v = new kwtest::TemplateValidator(&edit, "99");
  edit.SetValidator(v);
  kwinspect::ResetRepaintRequests();

  EXPECT_TRUE(edit.SetState(4));
  EXPECT_FALSE(edit.SetState(4));
  EXPECT_TRUE(edit.SetErrorOverride(1));
  EXPECT_TRUE(edit.SetTextColor(RGB(1, 2, 3)));
  EXPECT_TRUE(edit.SetBackgroundColorError(RGB(1, 2, 3)));
  EXPECT_EQ(edit.OnValidate(), 1);  // empty data against "99"
  EXPECT_EQ(v->calls, 1);
  EXPECT_EQ(kwinspect::RepaintRequests(nullptr), 0);
  EXPECT_EQ(edit.GetState(), 4);

  // The same after the window has gone.
  ASSERT_TRUE(edit.Create(kwtest::kEditStyle, kwtest::EditRect(kId), kwtest::ParentWnd(), kId));
  edit.DestroyWindow();
  kwinspect::ResetRepaintRequests();
  EXPECT_TRUE(edit.SetState(0));
  EXPECT_TRUE(edit.SetErrorOverride(0));
  edit.OnValidate();
  EXPECT_EQ(kwinspect::RepaintRequests(nullptr), 0);
}

// ---------------------------------------------------------------------------------------------
// Validation.

TEST_F(MaskedEditLook, OnValidateWithoutValidatorDoesNothing) {
  CreateControl("9999");
  m_edit.SetText("12");
  const std::string shown = kwtest::Text(m_edit.GetSafeHwnd());
  m_edit.setInputDataCalls = 0;
  ResetRepaints();
  EXPECT_EQ(m_edit.OnValidate(), 0);
  EXPECT_REPAINTS(nullptr, 0);
  EXPECT_EQ(m_edit.setInputDataCalls, 0);
  EXPECT_EQ(kwtest::Text(m_edit.GetSafeHwnd()), shown);
}

struct ValidateCase {
  const char* name;
  const char* mask;
  const char* text;       // put in with SetText
  const char* tmpl;       // the validator's template
  int result;             // OnValidate's result
  const char* seen;       // what the validator was handed
  const char* corrected;  // what went back through SetInputData, or null for none
  const char* shown;      // the window text afterwards
};

class Validation : public MaskedEditLook, public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(Validation, TakesBackTheCorrectionAndShowsTheVerdict) {
  const ValidateCase& c = GetParam();
  CreateControl(c.mask);
  auto* validator = new kwtest::TemplateValidator(&m_edit, c.tmpl);
  EXPECT_TRUE(m_edit.SetValidator(validator));
  m_edit.SetText(c.text);
  m_edit.setInputDataCalls = 0;
  ResetRepaints();

  EXPECT_EQ(m_edit.OnValidate(), c.result);
  EXPECT_EQ(validator->calls, 1);
  EXPECT_EQ(validator->seen, c.seen);
  if (c.corrected != nullptr) {
    EXPECT_EQ(m_edit.setInputDataCalls, 1);
    EXPECT_EQ(m_edit.lastSetInputData, c.corrected);
  } else {
    EXPECT_EQ(m_edit.setInputDataCalls, 0);
  }
  EXPECT_EQ(kwtest::Text(m_edit.GetSafeHwnd()), c.shown);
  // The validator's verdict shows as the control's look.
  EXPECT_EQ(m_edit.GetState(), c.result != 0 ? 0x04 : 0);
  ExpectLook(c.result != 0 ? Look::Error : Look::Normal);
  EXPECT_EQ(Erase().second, c.result != 0 ? kBackError : kBack);
  if (kwtest::CanInspect()) {
    EXPECT_GE(kwinspect::RepaintRequests(m_edit.GetSafeHwnd()), 1);
  }
  EXPECT_EQ(validator->GetErrorString(), c.result != 0 ? "mismatch at " + std::to_string(c.result) : "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Validation,
    ::testing::Values(
        ValidateCase{"CorrectionShown", "????", "ab12", "AA99", 0, "ab12", "AB12", "AB12"},
        // The template's literal is refused by the control's mask on the way back.
        ValidateCase{"CorrectionFilteredByMask", "AA999", "xy123", "AA-999", 0, "xy123", "XY-123", "XY123"},
        ValidateCase{"CorrectionIntoLiterals", "99-99", "1234", "99/99", 0, "1234", "12/34", "12-34"},
        ValidateCase{"NoChangeNoSetInputData", "9999", "1234", "9999", 0, "1234", nullptr, "1234"},
        ValidateCase{"EmptyPositionsLeftOut", "9999", "12", "99", 0, "12", nullptr, "12__"},
        ValidateCase{"MismatchLeavesData", "????", "12ab", "9999", 3, "12ab", nullptr, "12ab"},
        ValidateCase{"TooShort", "9999", "123", "9999", 4, "123", nullptr, "123_"}),
    [](const ::testing::TestParamInfo<ValidateCase>& info) { return std::string(info.param.name); });

TEST_F(MaskedEditLook, CorrectValueAfterMismatchClearsTheErrorLook) {
  CreateControl("????");
  m_edit.SetValidator(new kwtest::TemplateValidator(&m_edit, "9999"));
  m_edit.SetText("12x4");
  EXPECT_EQ(m_edit.OnValidate(), 3);
  ExpectLook(Look::Error);
  m_edit.SetText("1234");
  EXPECT_EQ(m_edit.OnValidate(), 0);
  ExpectLook(Look::Normal);
}

// A validator that replaces whatever it is given.
class Replacing : public KwValidator {
 public:
  Replacing(KwMaskedEdit* pEdit, std::string with) : KwValidator(pEdit), m_with(std::move(with)) {}
  int Validate(std::string& data) override {
    ++calls;
    data = m_with;
    return 17;
  }
  KwValidator* Clone() override { return new Replacing(*this); }
  int calls = 0;

 private:
  std::string m_with;
};

TEST_F(MaskedEditLook, GetDataNumValueRunsTheValidatorFirst) {
  CreateControl("9999");
  auto* validator = new Replacing(&m_edit, "42");
  m_edit.SetValidator(validator);
  m_edit.SetText("7");
  double value = -1;
  EXPECT_TRUE(m_edit.GetDataNumValue(value));  // the validator's 17 is not the answer
  EXPECT_EQ(validator->calls, 1);
  EXPECT_DOUBLE_EQ(value, 42.0);
  EXPECT_EQ(kwtest::Text(m_edit.GetSafeHwnd()), "42__");
}

}  // namespace
