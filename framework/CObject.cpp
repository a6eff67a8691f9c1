// CObject and the run-time class records.
#include "framework/CObject.h"

#include <cstring>

const CRuntimeClass CObject::classCObject = {
    "CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};

const CRuntimeClass* PASCAL CObject::GetThisClass() { return &CObject::classCObject; }

const CRuntimeClass* CObject::GetRuntimeClass() const { return &CObject::classCObject; }

CObject::~CObject() = default;

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  const CRuntimeClass* pThis = GetRuntimeClass();
  return pThis != nullptr && pThis->IsDerivedFrom(pClass);
}

// Records match by identity, or by name: a module that carries its own copy of the framework
// (a statically linked library loaded by a host) has records of its own for the same classes.
static bool SameClass(const CRuntimeClass* a, const CRuntimeClass* b) {
  if (a == b) return true;
  return a->m_lpszClassName != nullptr && b->m_lpszClassName != nullptr &&
         std::strcmp(a->m_lpszClassName, b->m_lpszClassName) == 0;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  if (pBaseClass == nullptr) return FALSE;
  // A chain is a few classes long; the bound only guards against a malformed, cyclic one.
  int guard = 0;
  for (const CRuntimeClass* p = this; p != nullptr && guard < 1000;
       p = p->GetBaseClass(), ++guard) {
    if (SameClass(p, pBaseClass)) return TRUE;
  }
  return FALSE;
}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}
