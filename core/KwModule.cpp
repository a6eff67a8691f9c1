// The library's module entry and the ways the platform reaches it.
//
// On Windows the library is KwMaskEdit.dll and the loader calls DllMain after the runtime's
// start-up and the static initialisers (the locale separators among them); on detach DllMain
// runs before the static destructors. Natively the shared library's load and unload run the
// entry through a static object. Where the library's objects are linked into a program itself
// (the unit tests), the same static object registers the classes at program start.
#include "core/KwModule.h"

#include "character/KwCharacterMaskedEdit.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

AFX_EXTENSION_MODULE g_extensionModule;

BOOL (*g_pfnClassMessage)(KwMaskedEdit&, UINT, WPARAM, LPARAM, LRESULT*) = nullptr;

BOOL KwModuleEntry(HINSTANCE hInstance, DWORD dwReason) {
  switch (dwReason) {
    case DLL_PROCESS_ATTACH: {
      // A second attach of a loaded module (which the platform never sends) must not chain the
      // classes twice.
      const bool alreadyChained =
          g_extensionModule.bInitialized && g_extensionModule.hModule == hInstance;
      if (!AfxInitExtensionModule(
              g_extensionModule, hInstance,
              {RUNTIME_CLASS(KwMaskedEdit), RUNTIME_CLASS(KwCharacterMaskedEdit),
               RUNTIME_CLASS(KwFieldMaskedEdit), RUNTIME_CLASS(KwNumberMaskedEdit)}))
        return FALSE;
      if (!alreadyChained) new CDynLinkLibrary(g_extensionModule, FALSE);  // the framework owns it
      return TRUE;
    }
    case DLL_PROCESS_DETACH:
      AfxTermExtensionModule(g_extensionModule, FALSE);
      return TRUE;
    default:
      return TRUE;
  }
}

namespace {

#ifdef _WIN32
extern "C" IMAGE_DOS_HEADER __ImageBase;

// The module these objects are linked into: the DLL, or the program itself.
HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }
bool LinkedIntoProgram() { return ThisModule() == ::GetModuleHandleA(nullptr); }
#else
// The base address of the shared object (or program) these objects are linked into.
HINSTANCE ThisModule() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&g_extensionModule), &info) != 0 &&
      info.dli_fbase != nullptr)
    return reinterpret_cast<HINSTANCE>(info.dli_fbase);
  return reinterpret_cast<HINSTANCE>(&g_extensionModule);
}
bool LinkedIntoProgram() { return true; }  // load and unload of a shared object run it the same way
#endif

// Runs the entry at start-up and at exit where the platform does not call DllMain.
struct ModuleLifetime {
  ModuleLifetime() : m_bOwn(LinkedIntoProgram()) {
    if (m_bOwn) KwModuleEntry(ThisModule(), DLL_PROCESS_ATTACH);
  }
  ~ModuleLifetime() {
    if (m_bOwn) KwModuleEntry(ThisModule(), DLL_PROCESS_DETACH);
  }
  ModuleLifetime(const ModuleLifetime&) = delete;
  ModuleLifetime& operator=(const ModuleLifetime&) = delete;
  bool m_bOwn;
};

const ModuleLifetime g_moduleLifetime;

}  // namespace

#ifdef _WIN32
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
  return KwModuleEntry(hInstance, dwReason);
}
#endif
