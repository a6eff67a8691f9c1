// The Win32 subset that the library, its hosts and its tests use.
// On Windows this is the real API; elsewhere the in-memory simulation declares the same names
// with the same signatures. Nothing above this layer includes <windows.h> directly.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
// windowsx.h's one-line helper of that name would swallow CWnd::SubclassWindow.
#undef SubclassWindow
#else
#include "platform/sim/simwin32.h"
#endif
