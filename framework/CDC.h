// CDC: a device context handle with the few drawing calls the controls use. A CDC never
// releases or deletes the handle it wraps; whoever got the handle gives it back.
#pragma once

#include "framework/CObject.h"

class KWFW_API CDC : public CObject {
  DECLARE_DYNAMIC(CDC)

 public:
  HDC m_hDC = nullptr;

  CDC();
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  BOOL Attach(HDC hDC);
  HDC Detach();

  COLORREF SetTextColor(COLORREF crColor);
  COLORREF SetBkColor(COLORREF crColor);
  COLORREF GetTextColor() const;
  COLORREF GetBkColor() const;
  // Fills the rectangle with the colour; leaves the colour as the background colour.
  void FillSolidRect(LPCRECT lpRect, COLORREF clr);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
};
