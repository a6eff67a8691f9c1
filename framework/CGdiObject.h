// GDI objects: CGdiObject holds one GDI handle; CBrush is a brush.
#pragma once

#include "framework/CObject.h"

class KWFW_API CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)

 public:
  HGDIOBJ m_hObject = nullptr;

  CGdiObject();
  // Deletes the GDI object still attached.
  ~CGdiObject() override;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  // Takes ownership of hObject; FALSE (and nothing attached) for a null handle.
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  // Deletes the attached GDI object; FALSE when there is none.
  BOOL DeleteObject();
};

class KWFW_API CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)

 public:
  CBrush();
  explicit CBrush(COLORREF crColor);
  ~CBrush() override;

  BOOL CreateSolidBrush(COLORREF crColor);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};
