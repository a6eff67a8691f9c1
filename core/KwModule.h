// The library as a module of the host's framework: the record of the module and the entry that
// registers the control classes when the library is loaded and releases them when it is
// unloaded. Internal: a host reaches the classes through the framework's registry
// (AfxFindRuntimeClass, AfxRegisteredClasses), never through this header.
#pragma once

#include "core/KwDefs.h"
#include "framework/ExtensionModule.h"

// The reasons the platform calls a module's entry with.
#ifndef DLL_PROCESS_ATTACH
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#endif

// The module's record: empty until the library is loaded, empty again after it is unloaded.
extern AFX_EXTENSION_MODULE g_extensionModule;

// The module entry. Attach (1) records the module with the classes KwMaskedEdit,
// KwCharacterMaskedEdit, KwFieldMaskedEdit and KwNumberMaskedEdit and chains the record into
// the host's registry with a CDynLinkLibrary that the framework owns; FALSE (the load fails)
// when the framework refuses the record. Detach (0) releases the record and unchains it.
// Thread attach and detach (2, 3) and any other reason do nothing and succeed.
BOOL KwModuleEntry(HINSTANCE hInstance, DWORD dwReason);

// The window-class layer (controls/) answers its own messages (values above WM_USER) for every
// control, made by class name or through the C++ interface, so that both faces stay one control.
// Set when that layer is loaded, null otherwise; TRUE when it took the message (its answer in
// *pResult).
class KwMaskedEdit;
extern BOOL (*g_pfnClassMessage)(KwMaskedEdit& edit, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* pResult);
