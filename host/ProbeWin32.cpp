// The test inspection interface on the real platform. The caret's window is asked of the
// system; there is no way to count beeps or repaint requests, to tell whether the caret is hidden,
// or to make the next clipboard or memory call fail without the simulation, so Available() is
// false and the rest does nothing. Tests that need it skip with KWTEST_REQUIRE_INSPECT(), which
// says why.
#ifdef _WIN32

#include <map>
#include <utility>

#include "platform/probe.h"

namespace kwinspect {

bool Available() { return false; }
int BeepCount() { return 0; }
UINT LastBeepType() { return 0; }
void ResetBeeps() {}
int RepaintRequests(HWND) { return 0; }
void ResetRepaintRequests() {}
HWND CaretWindow(bool* hidden) {
  // Whether it is hidden cannot be asked here: hidden is false.
  if (hidden != nullptr) *hidden = false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(0, &info) ? info.hwndCaret : nullptr;
}
void FailNextOpenClipboard() {}
void FailNextGlobalAlloc() {}
void FailNextGlobalLock() {}
void FailNextSetClipboardData() {}
void FailCreateSolidBrush(bool) {}
void FailGetLocaleInfoAfter(int) {}

// Win events of this process, counted by an in-context hook: it runs inside NotifyWinEvent, so
// an event is counted before the call that raised it returns.
namespace {
std::map<std::pair<DWORD, HWND>, int> g_winEvents;
void CALLBACK CountWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD) {
  ++g_winEvents[{event, hwnd}];
}
void HookWinEvents() {
  static const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_MIN, EVENT_MAX, GetModuleHandleW(nullptr), CountWinEvent,
                      GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
  (void)hook;
}
}  // namespace

int WinEventCount(DWORD event, HWND hWnd) {
  HookWinEvents();
  int count = 0;
  for (const auto& [key, n] : g_winEvents)
    if (key.first == event && (hWnd == nullptr || key.second == hWnd)) count += n;
  return count;
}
void ResetWinEvents() {
  HookWinEvents();
  g_winEvents.clear();
}

}  // namespace kwinspect

#endif  // _WIN32
