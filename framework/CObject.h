// CObject and the run-time class records: class name, size, schema, creation function and
// the link to the base class, with IsKindOf walking that chain.
#pragma once

#include "framework/fwdefs.h"

class CObject;

struct KWFW_API CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                               // 0xFFFF: not serialisable
  CObject* (*m_pfnCreateObject)();              // null: not dynamically creatable
  const CRuntimeClass* (*m_pfnGetBaseClass)();  // null for the root
  const CRuntimeClass* m_pNextClass;  // kept for layout; module registries hold their own lists

  const CRuntimeClass* GetBaseClass() const {
    return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
  }
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  CObject* CreateObject() const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                  \
 public:                                             \
  static const CRuntimeClass class##class_name;      \
  static const CRuntimeClass* PASCAL GetThisClass(); \
  const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)             \
  static const CRuntimeClass* kwfw_base_of_##class_name() {        \
    return RUNTIME_CLASS(base_class_name);                         \
  }                                                                \
  const CRuntimeClass class_name::class##class_name = {            \
      #class_name, static_cast<int>(sizeof(class_name)), 0xFFFF,   \
      nullptr,     &kwfw_base_of_##class_name,           nullptr}; \
  const CRuntimeClass* PASCAL class_name::GetThisClass() {         \
    return &class_name::class##class_name;                         \
  }                                                                \
  const CRuntimeClass* class_name::GetRuntimeClass() const {       \
    return &class_name::class##class_name;                         \
  }

// Dynamic creation: the record's creation function makes a default-constructed object.
#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                     \
  static const CRuntimeClass* kwfw_base_of_##class_name() {                                  \
    return RUNTIME_CLASS(base_class_name);                                                   \
  }                                                                                          \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }                      \
  const CRuntimeClass class_name::class##class_name = {#class_name,                          \
                                                       static_cast<int>(sizeof(class_name)), \
                                                       0xFFFF,                               \
                                                       &class_name::CreateObject,            \
                                                       &kwfw_base_of_##class_name,           \
                                                       nullptr};                             \
  const CRuntimeClass* PASCAL class_name::GetThisClass() {                                   \
    return &class_name::class##class_name;                                                   \
  }                                                                                          \
  const CRuntimeClass* class_name::GetRuntimeClass() const {                                 \
    return &class_name::class##class_name;                                                   \
  }

class KWFW_API CObject {
 public:
  static const CRuntimeClass classCObject;
  static const CRuntimeClass* PASCAL GetThisClass();
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};
