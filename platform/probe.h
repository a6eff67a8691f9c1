// Test-only inspection of the window system, kept apart from the Win32 names.
// The simulation implements all of it. On the real platform Available() is false and the
// counters and failure switches do nothing; tests that need them say so where they skip.
#pragma once

#include "platform/win32.h"

namespace kwinspect {

bool Available();

// MessageBeep calls since the last reset, and the type of the last one.
int BeepCount();
UINT LastBeepType();
void ResetBeeps();

// InvalidateRect calls (repaint requests) since the last reset, for one window or for all
// windows when hWnd is null.
int RepaintRequests(HWND hWnd = nullptr);
void ResetRepaintRequests();

// The window that owns the caret (null: none), and whether it is hidden.
HWND CaretWindow(bool* hidden = nullptr);

// Make the next call of the named function fail (once).
void FailNextOpenClipboard();
void FailNextGlobalAlloc();
void FailNextGlobalLock();
void FailNextSetClipboardData();
// Make CreateSolidBrush fail until switched off again.
void FailCreateSolidBrush(bool fail);
// Let GetLocaleInfoA answer this many more calls and fail every one after them (-1: never fail).
void FailGetLocaleInfoAfter(int calls);

// Accessibility events raised with NotifyWinEvent since the last reset, of one kind, for one
// window (null: any window). Counted on both builds: on the real platform an in-context event
// hook of this process counts them (set up by the first call of either).
int WinEventCount(DWORD event, HWND hWnd = nullptr);
void ResetWinEvents();

// Runs the process with this ANSI code page (1252 or CP_UTF8) from now on, as a process does
// whose manifest asks for it; true when the process has it now. The real platform cannot
// switch: it answers whether the process already runs with that code page.
#ifdef _WIN32
inline bool UseAnsiCodePage(UINT codePage) { return GetACP() == codePage; }
#else
bool UseAnsiCodePage(UINT codePage);
#endif

}  // namespace kwinspect
