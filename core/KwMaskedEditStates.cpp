// Display states, colours and validation of KwMaskedEdit.
//
// A control shows one of four looks (normal, focused, warning, error), each a text colour, a
// background colour and a solid brush of that background. The look is chosen when the parent
// reflects the control-colour message back to the control (CtlColor) and when the control
// erases its background (OnEraseBkgnd). The state is a bit set: 0x04 or 0x10 mean error,
// otherwise 0x02 or 0x08 mean warning; other bits do not change the look.
#include "core/KwMaskedEdit.h"

namespace {

constexpr int kErrorBits = 0x14;
constexpr int kWarningBits = 0x0A;
constexpr DWORD kNoColourStyles = WS_DISABLED | ES_READONLY;

// Replaces the GDI object of a background brush with a new solid brush of the colour. When the
// platform cannot make the brush, the brush stays empty and the look hands out a null brush.
void RemakeBrush(CBrush& brush, COLORREF color) {
  brush.DeleteObject();
  HBRUSH hBrush = ::CreateSolidBrush(color);
  if (hBrush != nullptr) brush.Attach(hBrush);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Colours. Every setter takes effect at once: it stores the colour, remakes the brush of a
// background, and asks for a repaint when the window exists, even when nothing changed.

bool KwMaskedEdit::SetTextColor(COLORREF color) {
  m_crText = color;
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetTextColorError(COLORREF color) {
  m_crTextError = color;
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetTextColorWarning(COLORREF color) {
  m_crTextWarning = color;
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetTextColorFocus(COLORREF color) {
  m_crTextFocus = color;
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetBackgroundColor(COLORREF color) {
  m_crBackground = color;
  RemakeBrush(m_brBackground, color);
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetBackgroundColorError(COLORREF color) {
  m_crBackgroundError = color;
  RemakeBrush(m_brBackgroundError, color);
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetBackgroundColorWarning(COLORREF color) {
  m_crBackgroundWarning = color;
  RemakeBrush(m_brBackgroundWarning, color);
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

bool KwMaskedEdit::SetBackgroundColorFocus(COLORREF color) {
  m_crBackgroundFocus = color;
  RemakeBrush(m_brBackgroundFocus, color);
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

// ---------------------------------------------------------------------------------------------
// State and override. Both report whether the value changed. A control without a window (not
// yet created, or already destroyed) keeps the value and asks for no repaint: there is nothing
// to paint, and the handle may by now name nothing at all.

bool KwMaskedEdit::SetState(int state) {
  if (state == m_nState) return false;
  m_nState = state;
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

int KwMaskedEdit::GetState() const { return m_nState; }

bool KwMaskedEdit::SetErrorOverride(int value) {
  if (value == m_nErrorOverride) return false;
  m_nErrorOverride = value;
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Validation: the validator judges the control's data and may correct it; a correction is
// taken back through the mask (SetInputData) and shown.

int KwMaskedEdit::OnValidate() {
  if (m_pValidator == nullptr) return 0;
  std::string data = GetInputData(false);
  const std::string before = data;
  const Alive alive(this);
  const int result = m_pValidator->Validate(data);
  if (!alive) return result;  // the validator (or its host) deleted the control
  // The validator may have set the state or the override: let it show.
  if (::IsWindow(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  if (data != before) SetInputData(data.c_str(), 0, 1);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Painting.

namespace {

enum Look { kLookNormal, kLookFocused, kLookWarning, kLookError };

}  // namespace

// The look of the control's text cells, answered to the control-colour message that the parent
// reflects back here. A null brush leaves the colouring to the parent and the platform.
HBRUSH KwMaskedEdit::CtlColor(CDC* pDC, UINT /*nCtlColor*/) {
  if (GetStyle() & kNoColourStyles) return nullptr;

  Look look = kLookNormal;
  bool byState = false;
  bool byFocus = false;
  switch (m_nErrorOverride) {
    case OverrideNone:
      byState = true;
      break;
    case OverrideError:
      look = kLookError;
      break;
    case OverrideNormal:
      byFocus = true;
      break;
    case OverrideWarning:
      look = kLookWarning;
      break;
    default:
      return nullptr;  // colouring switched off
  }
  if (byState) {
    if (m_nState & kErrorBits)
      look = kLookError;
    else if (m_nState & kWarningBits)
      look = kLookWarning;
    else
      byFocus = true;
  }
  if (byFocus) look = (CWnd::GetFocus() == this) ? kLookFocused : kLookNormal;

  // The text colour, the background and its brush of each look.
  const struct {
    COLORREF text, background;
    const CBrush* brush;
  } looks[] = {{m_crText, m_crBackground, &m_brBackground},
               {m_crTextFocus, m_crBackgroundFocus, &m_brBackgroundFocus},
               {m_crTextWarning, m_crBackgroundWarning, &m_brBackgroundWarning},
               {m_crTextError, m_crBackgroundError, &m_brBackgroundError}};
  const COLORREF text = looks[look].text;
  const COLORREF background = looks[look].background;
  const CBrush* brush = looks[look].brush;
  if (pDC != nullptr) {
    pDC->SetTextColor(text);
    pDC->SetBkColor(background);
  }
  return static_cast<HBRUSH>(brush->GetSafeHandle());
}

// The erased background follows the state and the focus only; the override is not consulted,
// so with an override the text cells and the rest of the client area may differ.
BOOL KwMaskedEdit::OnEraseBkgnd(CDC* pDC) {
  if (GetStyle() & kNoColourStyles) return static_cast<BOOL>(Default());

  COLORREF background;
  if (m_nState & kErrorBits)
    background = m_crBackgroundError;
  else if (m_nState & kWarningBits)
    background = m_crBackgroundWarning;
  else if (CWnd::GetFocus() == this)
    background = m_crBackgroundFocus;
  else
    background = m_crBackground;

  CRect rect;
  GetClientRect(&rect);
  if (pDC != nullptr) pDC->FillSolidRect(&rect, background);
  return TRUE;
}
