// CDC: a device context handle with the drawing calls the controls use.
#include "framework/CDC.h"

IMPLEMENT_DYNAMIC(CDC, CObject)

CDC::CDC() = default;

// The handle belongs to whoever obtained it (GetDC, BeginPaint, a colour message).
CDC::~CDC() = default;

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  m_hDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = nullptr;
  return hDC;
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
  return m_hDC != nullptr ? ::SetTextColor(m_hDC, crColor) : CLR_INVALID;
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
  return m_hDC != nullptr ? ::SetBkColor(m_hDC, crColor) : CLR_INVALID;
}

COLORREF CDC::GetTextColor() const {
  return m_hDC != nullptr ? ::GetTextColor(m_hDC) : CLR_INVALID;
}

COLORREF CDC::GetBkColor() const { return m_hDC != nullptr ? ::GetBkColor(m_hDC) : CLR_INVALID; }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  if (m_hDC == nullptr || lpRect == nullptr) return;
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, "", 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT rect = {x, y, x + cx, y + cy};
  FillSolidRect(&rect, clr);
}
