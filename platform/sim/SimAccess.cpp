// Accessibility events: NotifyWinEvent has no listener in the simulation (no event hooks, no
// accessible objects); each event is counted per kind and window for the tests (State::winEvents;
// a window's counts go to its kind's total when it is destroyed).
#include "platform/probe.h"
#include "platform/sim/SimState.h"

using kwsim::S;

void WINAPI NotifyWinEvent(DWORD event, HWND hwnd, LONG /*idObject*/, LONG /*idChild*/) {
  ++S().winEvents[{event, hwnd}];
}

namespace kwinspect {

int WinEventCount(DWORD event, HWND hWnd) {
  const kwsim::State& s = S();
  int count = 0;
  if (hWnd == nullptr)
    if (auto gone = s.winEventsOfDestroyed.find(event); gone != s.winEventsOfDestroyed.end())
      count = gone->second;
  for (const auto& [key, n] : s.winEvents)
    if (key.first == event && (hWnd == nullptr || key.second == hWnd)) count += n;
  return count;
}

void ResetWinEvents() {
  S().winEvents.clear();
  S().winEventsOfDestroyed.clear();
}

}  // namespace kwinspect
