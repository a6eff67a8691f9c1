// Extension modules: the registry of the classes of the modules a host has loaded.
//
// AfxInitExtensionModule records a module's handle and classes once; CDynLinkLibrary chains
// that record into the process-wide list searched by AfxFindRuntimeClass; and
// AfxTermExtensionModule unchains and frees the module's CDynLinkLibrary objects and clears
// the record, so that the module can be loaded again.
#include "framework/ExtensionModule.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

namespace {

// The chained libraries in load order. Never destroyed, like the window maps: a module may
// terminate during static destruction.
std::vector<CDynLinkLibrary*>& Libraries() {
  static auto* libraries = new std::vector<CDynLinkLibrary*>;
  return *libraries;
}

}  // namespace

// A module is initialised once: a repeated call for the same module succeeds and keeps the
// first record; a call for another module on an initialised record, a null module handle or a
// null class record fails.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule,
                            std::vector<const CRuntimeClass*> classes) {
  if (hModule == nullptr) return FALSE;
  if (state.bInitialized) return state.hModule == hModule ? TRUE : FALSE;
  if (std::find(classes.begin(), classes.end(), nullptr) != classes.end()) return FALSE;
  state.hModule = hModule;
  state.classes = std::move(classes);
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  if (!state.bInitialized) return;
  std::vector<CDynLinkLibrary*> doomed;
  for (CDynLinkLibrary* pDLL : Libraries()) {
    if (bAll || pDLL->m_pModule == &state) doomed.push_back(pDLL);
  }
  for (CDynLinkLibrary* pDLL : doomed) delete pDLL;  // each unchains itself
  state.classes.clear();
  state.hModule = nullptr;
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_pModule(&state), m_bSystem(bSystem) {
  Libraries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& libraries = Libraries();
  libraries.erase(std::remove(libraries.begin(), libraries.end(), this), libraries.end());
}

const CRuntimeClass* AfxFindRuntimeClass(const char* lpszClassName) {
  if (lpszClassName == nullptr) return nullptr;
  for (const CDynLinkLibrary* pDLL : Libraries()) {
    if (pDLL->m_pModule == nullptr || !pDLL->m_pModule->bInitialized) continue;
    for (const CRuntimeClass* pClass : pDLL->m_pModule->classes) {
      if (pClass->m_lpszClassName != nullptr &&
          std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
        return pClass;
    }
  }
  return nullptr;
}

std::vector<const CRuntimeClass*> AfxRegisteredClasses() {
  std::vector<const CRuntimeClass*> classes;
  for (const CDynLinkLibrary* pDLL : Libraries()) {
    if (pDLL->m_pModule == nullptr || !pDLL->m_pModule->bInitialized) continue;
    classes.insert(classes.end(), pDLL->m_pModule->classes.begin(), pDLL->m_pModule->classes.end());
  }
  return classes;
}
