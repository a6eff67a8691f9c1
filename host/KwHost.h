// The host-support library: what a program needs to drive the controls as a user would, the
// same on the simulated window system (native builds) and the real one (the Windows build,
// under Wine). Tests, the demo, the benchmarks and the fuzzers share it.
//
// Input goes in the way a user's does: SendInput puts key events into the input queue, and
// Pump() takes them out along the road of a real host loop (PeekMessageW ->
// AfxPreTranslateMessage -> IsDialogMessageW -> TranslateMessage -> DispatchMessageW). The loop
// is a Unicode one, as a host's must be for its Unicode windows to get the characters typed
// beyond the ANSI code page (an A loop hands them over through that code page: 'ł' becomes
// 'l'); a window of the A functions gets each character in the code page all the same. Keys are
// best written in the key-script language of KeyScript.h; Press and Type are its building blocks.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"

namespace kwhost {

// --- Reporting -----------------------------------------------------------------------------

// What goes wrong while driving input (a key event lost, a character no key types, a key
// script that does not parse) is reported here. The default handler prints "kwhost: <what>"
// to stderr; a test framework installs one that fails the running test. Errors() counts every
// report since the program started, whatever the handler.
using ErrorHandler = void (*)(const std::string& what);
ErrorHandler SetErrorHandler(ErrorHandler handler);  // answers the previous handler
void ReportError(const std::string& what);
int Errors();

// --- The host window -----------------------------------------------------------------------

// One shown top-level framework window for the whole process, created on first use and never
// destroyed (destroying a shown top-level window costs about two seconds under Xvfb). It
// records every WM_COMMAND it gets, then lets the framework's default processing run.
CWnd* ParentWnd();
HWND Parent();

// The window that the loop hands to IsDialogMessageA: ParentWnd() unless a host names its own
// frame (nullptr goes back to ParentWnd()).
void SetDialogWindow(HWND hDialog);
HWND DialogWindow();

struct Notification {
  int id;     // LOWORD(wParam): the control identifier
  UINT code;  // HIWORD(wParam): the notification code (EN_UPDATE, EN_CHANGE, ...)
  HWND hwnd;  // lParam: the control's window
};

// The WM_COMMAND notifications ParentWnd() received, in order.
const std::vector<Notification>& Notifications();
void ClearNotifications();
// The notification codes from the control with this identifier, in the order they came.
std::vector<UINT> CodesFor(int id);
// The codes of the edit notifications EN_UPDATE and EN_CHANGE only, from one control.
std::vector<UINT> ChangeCodesFor(int id);
// The notifications in order, as "<id><letter>" words: "1U 1C 2S". U EN_UPDATE, C EN_CHANGE,
// M EN_MAXTEXT, S EN_SETFOCUS, K EN_KILLFOCUS, ? any other. A "!" marks one whose lParam is
// not the live control with that identifier. (One line a keystroke for a trace.)
std::string NotesText();
// "EN_UPDATE", "EN_CHANGE", ... for readable messages.
std::string CodeName(UINT code);
std::string Describe(const std::vector<UINT>& codes);

// The default style of a host's edit controls, and where the child with identifier id sits in
// ParentWnd() (one row per identifier, ten rows).
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
RECT EditRect(int id);

// --- The message loop ----------------------------------------------------------------------

// Runs the host's message loop until the queue is empty and every key event sent by the
// helpers below has arrived (input reaches the queue asynchronously on the real platform; the
// wait is capped, so a lost event costs at most a second and a half, never a hang).
void Pump();

// --- Keyboard ------------------------------------------------------------------------------

// Presses and releases one virtual key, with Shift and/or Ctrl held around it, and pumps: the
// modifiers go down (and are pumped) first, as a user holds them.
// Navigation keys are sent as extended keys.
void Press(UINT vk, bool shift = false, bool ctrl = false);
// The same stroke typed faster than the loop takes keys out: every event of it (modifiers
// down, the key down and up, modifiers up) is in the input queue before the loop takes the
// first, so the modifiers are already up when the key is handled. What the key finds held is
// the state that came with its message (GetKeyState), not the keyboard's (GetAsyncKeyState).
void PressQueued(UINT vk, bool shift = false, bool ctrl = false);
// Types each character with the key and the Shift/Ctrl state VkKeyScanA gives for it (false,
// reported, when no key types one of them).
bool Type(const std::string& text);
// Types each UTF-16 unit as a character without a key (SendInput with KEYEVENTF_UNICODE, as an
// input method or a character map sends it): the window gets a WM_CHAR of each unit, the two
// units of a surrogate pair in one go.
void TypeUnits(const KwWString& units);
// The key and Shift/Ctrl/Alt state (VkKeyScanA's answer) that types ch, or -1.
SHORT KeyFor(char ch);
// Lower-level: one key event, pumped.
void KeyDown(UINT vk);
void KeyUp(UINT vk);

// Holds a key (Shift, Ctrl) down for its lifetime: { ShiftHeld shift; Press(VK_LEFT); }.
class KeyHeld {
 public:
  explicit KeyHeld(UINT vk);
  ~KeyHeld();
  KeyHeld(const KeyHeld&) = delete;
  KeyHeld& operator=(const KeyHeld&) = delete;

 private:
  UINT m_vk;
};
class ShiftHeld : public KeyHeld {
 public:
  ShiftHeld() : KeyHeld(VK_SHIFT) {}
};
class CtrlHeld : public KeyHeld {
 public:
  CtrlHeld() : KeyHeld(VK_CONTROL) {}
};

// Releases Shift, Ctrl and Alt if they were left down.
void ReleaseModifiers();

// --- Mouse ---------------------------------------------------------------------------------

// A left click (or double click) on the character at charIndex of an edit control, posted to
// the control and pumped: the x, y come from EM_POSFROMCHAR (one pixel right of the
// character's left edge, so the caret lands before it); charIndex at or past the end of the
// text clicks to the right of the last character.
void Click(HWND hEdit, int charIndex);
void DoubleClick(HWND hEdit, int charIndex);

// --- Edit controls -------------------------------------------------------------------------

// The window text in the process's ANSI code page (GetWindowTextA), and as it is (UTF-16).
std::string Text(HWND hWnd);
KwWString TextW(HWND hWnd);
// The selection as (start, end) from EM_GETSEL.
std::pair<int, int> Sel(HWND hEdit);
void SetSel(HWND hEdit, int start, int end);
// Gives the window the focus and pumps what follows.
void Focus(HWND hWnd);
HWND Focused();

// --- Clipboard -----------------------------------------------------------------------------

// The clipboard, opened for DialogWindow() (retrying while another process holds it).
// Puts text on the clipboard as CF_TEXT (true when done).
bool SetClipboardText(const std::string& text);
// The CF_TEXT on the clipboard, or "" when there is none.
std::string ClipboardText();
bool ClipboardHasText();
// The same in UTF-16 (CF_UNICODETEXT; the system makes the CF_TEXT of it for A readers).
bool SetClipboardTextW(const KwWString& text);
KwWString ClipboardTextW();
void EmptyClipboardNow();

// --- The platform --------------------------------------------------------------------------

// True when the real platform is Wine: for the few places where Wine is known to answer
// otherwise than Windows (each says so where it asks).
bool OnWine();

// --- Beeps ---------------------------------------------------------------------------------

// MessageBeep calls since the last reset. Counting needs the simulation's inspection interface
// (platform/probe.h): CanInspect() is false on the real platform, where Beeps() stays 0.
bool CanInspect();
int Beeps();
void ResetBeeps();

}  // namespace kwhost
