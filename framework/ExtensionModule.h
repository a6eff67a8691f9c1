// Extension modules: a library of framework classes that a host loads registers its classes
// with the host's framework. The registry maps class names to run-time class records.
#pragma once

#include <vector>

#include "framework/CObject.h"

struct KWFW_API AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  std::vector<const CRuntimeClass*> classes;  // the module's classes, filled by its load
};

// Records the module and its classes; FALSE when the module cannot be initialised.
KWFW_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule,
                                     std::vector<const CRuntimeClass*> classes);
// Releases what AfxInitExtensionModule recorded and unchains the module's CDynLinkLibrary.
KWFW_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Chains a module's classes into the application's search list; the framework owns it and
// frees it when the module terminates.
class KWFW_API CDynLinkLibrary : public CObject {
  DECLARE_DYNAMIC(CDynLinkLibrary)

 public:
  CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  ~CDynLinkLibrary() override;

  AFX_EXTENSION_MODULE* m_pModule;
  BOOL m_bSystem;
};

// Looks a class up by name among the classes of every chained module; null when unknown.
KWFW_API const CRuntimeClass* AfxFindRuntimeClass(const char* lpszClassName);
// The classes of every chained module, in load order.
KWFW_API std::vector<const CRuntimeClass*> AfxRegisteredClasses();
