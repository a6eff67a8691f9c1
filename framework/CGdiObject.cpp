// GDI objects: CGdiObject owns one GDI handle; CBrush is a brush.
#include "framework/CGdiObject.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CGdiObject::CGdiObject() = default;

CGdiObject::~CGdiObject() { DeleteObject(); }

// Attaching over a held object replaces it: the old one is deleted rather than leaked.
// A null handle changes nothing.
BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  if (hObject != m_hObject) {
    DeleteObject();
    m_hObject = hObject;
  }
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  m_hObject = nullptr;
  return hObject;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  HGDIOBJ hObject = Detach();
  return ::DeleteObject(hObject);
}

CBrush::CBrush() = default;

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

CBrush::~CBrush() = default;

// On failure the brush held so far (if any) stays.
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
