// Accessibility events: NotifyWinEvent has no listener in the simulation (no event hooks, no
// accessible objects); each event is counted per kind and window for the tests.
#include <map>
#include <utility>

#include "platform/probe.h"

namespace {

// (event, window) -> events raised since the last reset.
std::map<std::pair<DWORD, HWND>, int>& Events() {
  static std::map<std::pair<DWORD, HWND>, int> events;
  return events;
}

}  // namespace

void WINAPI NotifyWinEvent(DWORD event, HWND hwnd, LONG /*idObject*/, LONG /*idChild*/) {
  ++Events()[{event, hwnd}];
}

namespace kwinspect {

int WinEventCount(DWORD event, HWND hWnd) {
  int count = 0;
  for (const auto& [key, n] : Events())
    if (key.first == event && (hWnd == nullptr || key.second == hWnd)) count += n;
  return count;
}

void ResetWinEvents() { Events().clear(); }

}  // namespace kwinspect
