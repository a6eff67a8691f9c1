// The shared test host: one parent window for the whole test process, the host's message loop,
// keyboard and mouse input through the platform's own input calls, and small readers for the
// edit control's text, selection, focus and the clipboard.
//
// The same source drives the simulated window system (native builds) and the real one (the
// Windows build under Wine), so every helper uses only the platform's names. Input goes in the
// way a user's would: SendInput puts key events into the input queue, and Pump() takes them out
// along the road of a real host loop (PeekMessageA -> AfxPreTranslateMessage ->
// IsDialogMessageA -> TranslateMessage -> DispatchMessageA).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/framework.h"
#include "platform/probe.h"

namespace kwtest {

// --- The parent window ---------------------------------------------------------------------

// One shown top-level framework window for the whole test process, created on first use and
// never destroyed (destroying a shown top-level window costs about two seconds under Xvfb).
// It records every WM_COMMAND it gets, then lets the framework's default processing run.
CWnd* ParentWnd();
HWND Parent();

struct Notification {
  int id;      // LOWORD(wParam): the control identifier
  UINT code;   // HIWORD(wParam): the notification code (EN_UPDATE, EN_CHANGE, ...)
  HWND hwnd;   // lParam: the control's window
};

const std::vector<Notification>& Notifications();
void ClearNotifications();
// The notification codes from the control with this identifier, in the order they came.
std::vector<UINT> CodesFor(int id);
// The codes of the edit notifications EN_UPDATE and EN_CHANGE only, from one control.
std::vector<UINT> ChangeCodesFor(int id);
// "EN_UPDATE", "EN_CHANGE", ... for readable failure messages.
std::string CodeName(UINT code);
std::string Describe(const std::vector<UINT>& codes);

// --- The message loop ----------------------------------------------------------------------

// Runs the host's message loop until the queue is empty and every key event sent by the
// helpers below has arrived (input reaches the queue asynchronously on the real platform; the
// wait is capped, so a lost event costs at most a second, never a hang).
void Pump();

// --- Keyboard ------------------------------------------------------------------------------

// Types each character with the key and the Shift/Ctrl state VkKeyScanA gives for it.
void Type(const std::string& text);
// Presses and releases one virtual key, with Shift and/or Ctrl held around it.
void Press(UINT vk, bool shift = false, bool ctrl = false);
// Lower-level: one key event, pumped. Navigation keys are sent as extended keys.
void KeyDown(UINT vk);
void KeyUp(UINT vk);

// Holds Shift (or Ctrl) down for its lifetime: { ShiftHeld shift; Press(VK_LEFT); }.
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

// Releases Shift, Ctrl and Alt if a test left them down.
void ReleaseModifiers();

// --- Mouse ---------------------------------------------------------------------------------

// A left click (or double click) on the character at charIndex of an edit control, posted to
// the control and pumped: the x, y come from EM_POSFROMCHAR (one pixel right of the character's
// left edge, so the caret lands before it); charIndex at or past the end of the text clicks
// to the right of the last character.
void Click(HWND hEdit, int charIndex);
void DoubleClick(HWND hEdit, int charIndex);

// --- Edit controls -------------------------------------------------------------------------

std::string Text(HWND hWnd);
// The selection as (start, end) from EM_GETSEL.
std::pair<int, int> Sel(HWND hEdit);
void SetSel(HWND hEdit, int start, int end);
// Gives the window the focus and pumps what follows.
void Focus(HWND hWnd);
HWND Focused();

// --- Clipboard -----------------------------------------------------------------------------

// Puts text on the clipboard as CF_TEXT (true when done).
bool SetClipboardText(const std::string& text);
// The CF_TEXT on the clipboard, or "" when there is none.
std::string ClipboardText();
bool ClipboardHasText();
void EmptyClipboardNow();

// --- The platform ----------------------------------------------------------------------------

// True when the real platform is Wine: for the few places where Wine is known to answer
// otherwise than Windows (each says so where it asks).
bool OnWine();

// --- Beeps ---------------------------------------------------------------------------------

// MessageBeep calls since the last reset. Counting needs the simulation's inspection
// interface: tests that assert beeps start with KWTEST_REQUIRE_INSPECT().
bool CanInspect();
int Beeps();
void ResetBeeps();

#define KWTEST_REQUIRE_INSPECT()                                                              \
  do {                                                                                        \
    if (!::kwtest::CanInspect())                                                              \
      GTEST_SKIP() << "needs the simulated window system's inspection interface (beeps, "     \
                      "repaint counts, injected failures), which the real platform lacks";    \
  } while (0)

// --- Fixture -------------------------------------------------------------------------------

// Base fixture for window tests: each test starts with the parent shown and focused, no key
// held, an empty queue, no recorded notifications, no beeps and an empty clipboard. Edit
// controls made with CreateEdit are destroyed after the test.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A plain "EDIT" child of the parent (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER |
  // ES_AUTOHSCROLL unless style says otherwise), one row per identifier.
  HWND CreateEdit(int id, const char* text = "", DWORD style = 0);

 private:
  std::vector<HWND> m_created;
};

// The default style of the test edit controls.
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
// Where the child with identifier id sits in the parent (one row per identifier).
RECT EditRect(int id);

}  // namespace kwtest
