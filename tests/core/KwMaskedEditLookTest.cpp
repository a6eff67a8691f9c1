// The look of a masked edit control: the brush and colours it answers to the control-colour
// message (asked of the parent, reflected by the framework), the background it erases, the
// setters and their repaint requests, and validation through OnValidate as a host drives it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"

namespace {

enum Look { N, F, W, E, Platform };  // normal, focused, warning, error; the platform's colours
constexpr COLORREF kText[] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)};
constexpr COLORREF kBack[] = {RGB(0, 1, 0), RGB(0, 2, 0), RGB(0, 3, 0), RGB(0, 4, 0)};
constexpr COLORREF kSentinelText = RGB(9, 9, 9), kSentinelBack = RGB(8, 8, 8);
constexpr int kId = 601;
using Painted = std::tuple<HBRUSH, COLORREF, COLORREF>;  // brush answered, DC text, DC background

// The eight colour slots and the look each belongs to.
struct Slot {
  const char* name;
  bool (KwMaskedEdit::*set)(COLORREF);
  Look look;
  bool background;
};
const Slot kSlots[] = {{"Text", &KwMaskedEdit::SetTextColor, N, false},
                       {"TextFocus", &KwMaskedEdit::SetTextColorFocus, F, false},
                       {"TextWarn", &KwMaskedEdit::SetTextColorWarning, W, false},
                       {"TextErr", &KwMaskedEdit::SetTextColorError, E, false},
                       {"Back", &KwMaskedEdit::SetBackgroundColor, N, true},
                       {"BackFocus", &KwMaskedEdit::SetBackgroundColorFocus, F, true},
                       {"BackWarn", &KwMaskedEdit::SetBackgroundColorWarning, W, true},
                       {"BackErr", &KwMaskedEdit::SetBackgroundColorError, E, true}};

// Exposes the brushes and counts the data taken back through the mask.
class Edit : public KwCharacterMaskedEdit {
 public:
  using KwCharacterMaskedEdit::KwCharacterMaskedEdit;
  HBRUSH BrushOf(Look look) const {
    const CBrush* brushes[] = {&m_brBackground, &m_brBackgroundFocus, &m_brBackgroundWarning,
                               &m_brBackgroundError};
    return static_cast<HBRUSH>(brushes[look]->GetSafeHandle());
  }
  // The handlers called as a derived class may call them, with no device context.
  HBRUSH CtlColorWithoutDc() { return CtlColor(nullptr, CTLCOLOR_EDIT); }
  BOOL EraseWithoutDc() { return OnEraseBkgnd(nullptr); }
  std::string taken;  // the data of every SetInputData, one after the other

 protected:
  int SetInputData(const char* data, int keep, int raw) override {
    taken += data;
    return KwCharacterMaskedEdit::SetInputData(data, keep, raw);
  }
};

// Matches the data against a template, takes the normalised form, and shows the verdict as the
// error state 0x04.
class TemplateValidator : public KwValidator {
 public:
  TemplateValidator(KwMaskedEdit* pEdit, std::string tmpl)
      : KwValidator(pEdit), m_tmpl(std::move(tmpl)) {}
  int Validate(std::string& data) override {
    ++calls;
    const int r = IsErrMatchTemplate(data, m_tmpl.c_str());
    if (r != 0) SetErrorString("mismatch at " + std::to_string(r));
    GetMaskedEdit()->SetState(r != 0 ? 0x04 : 0);
    return r;
  }
  KwValidator* Clone() override { return new TemplateValidator(*this); }
  int calls = 0;

 private:
  std::string m_tmpl;
};

BOOL Make(Edit& edit, DWORD style) {
  return edit.Create(style, kwtest::EditRect(kId), kwtest::ParentWnd(), kId);
}

class MaskedEditLook : public kwtest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_dc = ::GetDC(kwtest::Parent());
  }
  void TearDown() override {
    kwinspect::FailCreateSolidBrush(false);  // does nothing on the real platform
    Destroy();
    ::ReleaseDC(kwtest::Parent(), m_dc);
    WindowTest::TearDown();
  }
  void Destroy() {
    if (m_edit && m_edit->GetSafeHwnd() != nullptr) m_edit->DestroyWindow();
    m_edit.reset();
  }
  // A control with a distinct colour for every slot (or the defaults), created and unfocused.
  void CreateControl(const char* mask = "&&&&&&&&", DWORD style = kwtest::kEditStyle,
                     bool colours = true) {
    Destroy();
    m_edit = std::make_unique<Edit>(mask);
    for (const Slot& s : kSlots) {
      if (colours) (m_edit.get()->*s.set)((s.background ? kBack : kText)[s.look]);
    }
    ASSERT_TRUE(Make(*m_edit, style));
    kwtest::Pump();
  }
  HWND Hwnd() const { return m_edit->GetSafeHwnd(); }

  // Sends a control-colour message with a DC holding the sentinel colours.
  Painted Ask(HWND to, UINT message, LPARAM lParam) {
    ::SetTextColor(m_dc, kSentinelText);
    ::SetBkColor(m_dc, kSentinelBack);
    const LRESULT r = ::SendMessageA(to, message, reinterpret_cast<WPARAM>(m_dc), lParam);
    return Painted(reinterpret_cast<HBRUSH>(r), ::GetTextColor(m_dc), ::GetBkColor(m_dc));
  }
  // The platform's way: the edit control asks its parent, which reflects the message.
  Painted AskParent(HWND hEdit, UINT message = WM_CTLCOLOREDIT) {
    return Ask(kwtest::Parent(), message, reinterpret_cast<LPARAM>(hEdit));
  }
  // The reflected message alone, as the control receives it.
  Painted AskControl() { return Ask(Hwnd(), WM_REFLECT_BASE + WM_CTLCOLOR, CTLCOLOR_EDIT); }
  // The background colour WM_ERASEBKGND left on the DC; the handler always answers TRUE.
  COLORREF Erase() {
    ::SetBkColor(m_dc, kSentinelBack);
    EXPECT_EQ(::SendMessageA(Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_dc), 0), TRUE);
    return ::GetBkColor(m_dc);
  }

  void ExpectLook(Look look, UINT message = WM_CTLCOLOREDIT) {
    if (look != Platform) {
      EXPECT_NE(m_edit->BrushOf(look), nullptr);
      EXPECT_EQ(AskParent(Hwnd(), message),
                Painted(m_edit->BrushOf(look), kText[look], kBack[look]));
      return;
    }
    // The control declines: it answers null and leaves the DC alone, and the parent gives what
    // it gives a plain edit control.
    EXPECT_EQ(AskControl(), Painted(nullptr, kSentinelText, kSentinelBack));
    EXPECT_EQ(AskParent(Hwnd(), message), AskParent(Plain(), message));
  }
  // A plain edit control beside ours, made on first use.
  HWND Plain() { return m_plain != nullptr ? m_plain : (m_plain = CreateEdit(kId + 1)); }

  std::unique_ptr<Edit> m_edit;
  HDC m_dc = nullptr;
  HWND m_plain = nullptr;
};

// One control walked through the rows in order, so focus coming and going, and the override
// going back to none, are among them. The erased background follows state and focus only.
TEST_F(MaskedEditLook, ByStateOverrideAndFocus) {
  struct Row {
    const char* name;
    int state, override_;
    bool focus;
    Look look, erase;
  };
  const Row rows[] = {{"Normal", 0, 0, false, N, N},
                      {"Focused", 0, 0, true, F, F},
                      {"FocusLost", 0, 0, false, N, N},
                      {"Error04", 0x04, 0, false, E, E},
                      {"Error04Focused", 0x04, 0, true, E, E},
                      {"Error10", 0x10, 0, false, E, E},
                      {"Warning02", 0x02, 0, false, W, W},
                      {"Warning08Focused", 0x08, 0, true, W, W},
                      {"ErrorBeatsWarning1E", 0x1E, 0, false, E, E},
                      {"Bit01", 0x01, 0, false, N, N},
                      {"Bit01Focused", 0x01, 0, true, F, F},
                      {"HighBitsIgnored", 0x120, 0, true, F, F},
                      {"OverrideError", 0, 1, false, E, N},
                      {"OverrideErrorInWarning", 0x02, 1, true, E, W},
                      {"OverrideNormalInError", 0x04, 2, false, N, E},
                      {"OverrideNormalFocused", 0x1E, 2, true, F, E},
                      {"OverrideWarningFocused", 0, 3, true, W, F},
                      {"OverrideWarningInError", 0x10, 3, false, W, E},
                      {"OverrideOutOfRange", 0x04, 7, true, Platform, E},
                      {"OverrideNegative", 0x02, -1, false, Platform, W},
                      {"OverrideBackToNone", 0x08, 0, false, W, W}};
  CreateControl();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    kwtest::Focus(r.focus ? Hwnd() : kwtest::Parent());
    ASSERT_EQ(kwtest::Focused() == Hwnd(), r.focus);
    m_edit->SetState(r.state);
    m_edit->SetErrorOverride(r.override_);
    ExpectLook(r.look);
    EXPECT_EQ(Erase(), kBack[r.erase]);
    // Without a device context only the brush is answered.
    EXPECT_EQ(m_edit->CtlColorWithoutDc(), r.look == Platform ? nullptr : m_edit->BrushOf(r.look));
    EXPECT_TRUE(m_edit->EraseWithoutDc());
  }
}

// Disabled or read-only: the platform's colours whatever the colours, state, override and focus,
// and the background left to the edit control.
TEST_F(MaskedEditLook, DisabledOrReadOnlyShowsThePlatformsColours) {
  for (auto [disabled, readOnly] :
       {std::pair(true, false), std::pair(false, true), std::pair(true, true)}) {
    CreateControl("&&&&", kwtest::kEditStyle | (readOnly ? ES_READONLY : 0));
    kwtest::Focus(Hwnd());
    if (disabled) m_edit->EnableWindow(FALSE);
    for (auto [override_, state] : {std::pair(0, 0), std::pair(0, 0x04), std::pair(0, 0x0A),
                                    std::pair(1, 0), std::pair(2, 0x04), std::pair(3, 0)}) {
      SCOPED_TRACE(::testing::Message()
                   << disabled << readOnly << " override " << override_ << " state " << state);
      m_edit->SetErrorOverride(override_);
      m_edit->SetState(state);
      ExpectLook(Platform, WM_CTLCOLOREDIT);
      ExpectLook(Platform, WM_CTLCOLORSTATIC);
      const COLORREF erased = Erase();
      for (COLORREF ours : kBack) EXPECT_NE(erased, ours);
    }
  }
}

// Every colour setter answers true, also for the colour it already has, asks for one repaint
// each time, and its look shows the colour at once.
TEST_F(MaskedEditLook, ColourSetters) {
  constexpr COLORREF kNew = RGB(0x12, 0x34, 0x56);
  for (const Slot& r : kSlots) {
    SCOPED_TRACE(r.name);
    CreateControl();
    if (r.look == F) kwtest::Focus(Hwnd());
    m_edit->SetState(r.look == W ? 0x02 : r.look == E ? 0x04 : 0);
    EXPECT_TRUE((m_edit.get()->*r.set)(kNew));
    EXPECT_TRUE((m_edit.get()->*r.set)(kNew));
    EXPECT_NE(m_edit->BrushOf(r.look), nullptr);
    EXPECT_EQ(AskParent(Hwnd()),
              Painted(m_edit->BrushOf(r.look), r.background ? kText[r.look] : kNew,
                      r.background ? kNew : kBack[r.look]));
    if (r.background) {
      EXPECT_EQ(Erase(), kNew);
    }
  }
}

// Every colour setter asks for a repaint of the control, also when the colour is unchanged.
TEST_F(MaskedEditLook, ColourSettersAskForARepaint) {
  KWTEST_REQUIRE_INSPECT();  // repaint requests are counted by the simulation only
  for (const Slot& r : kSlots) {
    SCOPED_TRACE(r.name);
    CreateControl();
    kwinspect::ResetRepaintRequests();
    (m_edit.get()->*r.set)(RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(kwinspect::RepaintRequests(Hwnd()), 1);
    (m_edit.get()->*r.set)(RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(kwinspect::RepaintRequests(Hwnd()), 2);
  }
}

// A brush the platform could not make: the setter still succeeds, the control sets the colours
// but answers null, so the parent falls back to the platform's brush; other looks keep theirs.
TEST_F(MaskedEditLook, NullBrushWhenNoneCouldBeMade) {
  KWTEST_REQUIRE_INSPECT();
  CreateControl();
  m_edit->SetState(0x02);
  kwinspect::FailCreateSolidBrush(true);
  EXPECT_TRUE(m_edit->SetBackgroundColorWarning(RGB(7, 7, 7)));
  EXPECT_EQ(m_edit->BrushOf(W), nullptr);
  EXPECT_EQ(AskControl(), Painted(nullptr, kText[W], RGB(7, 7, 7)));
  EXPECT_EQ(std::get<0>(AskParent(Hwnd())), std::get<0>(AskParent(Plain())));
  EXPECT_EQ(Erase(), RGB(7, 7, 7));  // the erase needs no brush
  m_edit->SetState(0x04);
  ExpectLook(E);

  kwinspect::FailCreateSolidBrush(false);  // and it recovers
  m_edit->SetState(0x02);
  EXPECT_TRUE(m_edit->SetBackgroundColorWarning(kBack[W]));
  ExpectLook(W);

  kwinspect::FailCreateSolidBrush(true);  // a control constructed without any brush
  CreateControl("##", kwtest::kEditStyle, false);
  for (int state : {0, 0x02, 0x04}) {
    m_edit->SetState(state);
    EXPECT_EQ(std::get<0>(AskControl()), nullptr) << state;
  }
}

// Unchanged state or override answers false; a change answers true. Without a window (before
// Create, after DestroyWindow) the values are stored all the same.
TEST_F(MaskedEditLook, StateAndOverrideResults) {
  for (const char* phase : {"with a window", "before Create", "after DestroyWindow"}) {
    SCOPED_TRACE(phase);
    Edit edit("##");
    auto* v = new TemplateValidator(&edit, "99");
    edit.SetValidator(v);
    if (phase[0] != 'b') {
      ASSERT_TRUE(Make(edit, kwtest::kEditStyle));
    }
    if (phase[0] == 'a') edit.DestroyWindow();
    EXPECT_TRUE(edit.SetState(0x04));
    EXPECT_FALSE(edit.SetState(0x04));
    EXPECT_TRUE(edit.SetState(0x1E));
    EXPECT_EQ(edit.GetState(), 0x1E);
    EXPECT_FALSE(edit.SetErrorOverride(0));
    EXPECT_TRUE(edit.SetErrorOverride(7));  // stored, not refused
    EXPECT_FALSE(edit.SetErrorOverride(7));
    EXPECT_EQ(edit.OnValidate(), 1);  // empty data against "99": the validator sets 0x04
    EXPECT_EQ(v->calls, 1);
    EXPECT_EQ(edit.GetState(), 0x04);
    if (phase[0] == 'w') edit.DestroyWindow();
  }
}

// A change of state or override, a colour setter and a validation that changes the state ask
// for a repaint; an unchanged state or override does not. Without a window nothing asks for one:
// InvalidateRect with no window would repaint every window.
TEST_F(MaskedEditLook, StateAndOverrideRepaints) {
  KWTEST_REQUIRE_INSPECT();  // repaint requests are counted by the simulation only
  for (const char* phase : {"with a window", "before Create", "after DestroyWindow"}) {
    SCOPED_TRACE(phase);
    const bool window = phase[0] == 'w';
    Edit edit("##");
    edit.SetValidator(new TemplateValidator(&edit, "99"));
    if (phase[0] != 'b') {
      ASSERT_TRUE(Make(edit, kwtest::kEditStyle));
    }
    if (phase[0] == 'a') edit.DestroyWindow();
    kwinspect::ResetRepaintRequests();
    edit.SetState(0x04);
    edit.SetState(0x04);
    edit.SetState(0x1E);
    EXPECT_EQ(kwinspect::RepaintRequests(), window ? 2 : 0);
    edit.SetErrorOverride(0);
    edit.SetErrorOverride(7);
    edit.SetErrorOverride(7);
    EXPECT_EQ(kwinspect::RepaintRequests(), window ? 3 : 0);
    edit.SetTextColor(RGB(1, 2, 3));
    edit.SetBackgroundColorError(RGB(1, 2, 3));
    edit.OnValidate();  // 0x1E -> 0x04
    EXPECT_EQ(kwinspect::RepaintRequests(), window ? 7 : 0);
    if (window) edit.DestroyWindow();
  }
}

// The user types, the host validates: typing and focus never validate; a correction goes back
// through the mask (which may refuse the template's literals) and is shown, and the parent hears
// of it; no correction, no SetInputData; the verdict shows as the error look.
TEST_F(MaskedEditLook, OnValidate) {
  struct Row {
    const char* name;
    const char* mask;
    const char* typed;
    const char* tmpl;
    int result;
    const char* taken;
    const char* shown;
  };  // taken: what went back through SetInputData
  const Row rows[] = {
      {"LiteralPutIn", "&&&&&", "1234", "99-99", 0, "12-34", "12-34"},
      {"LiteralRefusedByMask", "AAAA", "ab12", "AA-99", 0, "AB-12", "AB12"},
      {"MaskLiteralsKept", "(###) ###", "123456", "999-999", 0, "123-456", "(123) 456"},
      {"NoCorrection", "####", "1234", "9999", 0, "", "1234"},
      {"PromptsNotHandedOver", "####", "12", "99", 0, "", "12  "},
      {"Mismatch", "####", "12", "9999", 3, "", "12  "}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    CreateControl(r.mask);
    auto* v = new TemplateValidator(m_edit.get(), r.tmpl);
    EXPECT_TRUE(m_edit->SetValidator(v));
    kwtest::Focus(Hwnd());
    kwtest::Type(r.typed);
    kwtest::Focus(kwtest::Parent());
    EXPECT_EQ(v->calls, 0);
    m_edit->taken.clear();
    kwtest::ClearNotifications();

    EXPECT_EQ(m_edit->OnValidate(), r.result);
    EXPECT_EQ(v->calls, 1);
    EXPECT_EQ(m_edit->taken, r.taken);
    EXPECT_EQ(kwtest::Text(Hwnd()), r.shown);
    // The parent hears of a correction even when the mask brings the data back to what it was.
    EXPECT_EQ(kwtest::ChangeCodesFor(kId).empty(), *r.taken == '\0');
    EXPECT_EQ(v->GetErrorString(), r.result != 0 ? "mismatch at " + std::to_string(r.result) : "");
    ExpectLook(r.result != 0 ? E : N);
  }
}

TEST_F(MaskedEditLook, GetDataNumValueRunsTheValidatorFirst) {
  CreateControl("&&&&&&");
  m_edit->SetText("1234");
  EXPECT_EQ(m_edit->OnValidate(), 0);  // no validator: nothing to do
  auto* v = new TemplateValidator(m_edit.get(), "99.99");
  m_edit->SetValidator(v);
  double value = -1;
  EXPECT_TRUE(m_edit->GetDataNumValue(value));
  EXPECT_EQ(v->calls, 1);
  EXPECT_DOUBLE_EQ(value, 12.34);
  EXPECT_EQ(kwtest::Text(Hwnd()), "12.34 ");
  m_edit->SetText("12x");
  EXPECT_TRUE(m_edit->GetDataNumValue(value));  // a mismatch is no failure of the conversion
  EXPECT_EQ(v->calls, 2);
}

}  // namespace
