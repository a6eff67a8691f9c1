// Internal state of the simulated window system. Everything lives in one object (State), reached
// through S(); the simulation runs on one thread, the user-interface thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sim/simwin32.h"

// The simulation's internals are its own: reached directly inside the library, never exported.
#pragma GCC visibility push(hidden)

namespace kwsim {

// A fixed character cell: the simulated edit control lays text out in cells of this width,
// after a left margin of kEditMargin pixels.
constexpr int kCharWidth = 8;
constexpr int kCharHeight = 16;
// Where the text starts (left and top) inside an edit control: after the plain border the
// control draws itself and a one-pixel margin, or the margin only with a client edge.
constexpr int kEditMarginBorder = 2;
constexpr int kEditMarginClientEdge = 1;
constexpr int kEditMarginNone = 0;
constexpr UINT kEditDefaultLimit = 30000;

struct EditState {
  std::string text;
  UINT anchor = 0;  // selection start as set (may be after the caret)
  UINT caret = 0;   // selection end as set: where the caret stands
  UINT limit = kEditDefaultLimit;
  bool focused = false;
  bool modified = false;
  bool enabled = true;
  bool captured = false;
  HWND parent = nullptr;  // the window the notifications go to, fixed at creation
  HFONT font = nullptr;
  int margin = 0;
  // What the last paint used (for the simulation's own inspection).
  int paints = 0;
  COLORREF paintText = 0;
  COLORREF paintBk = 0;
  HBRUSH paintBrush = nullptr;
};

struct Window {
  std::uintptr_t value = 0;
  std::string className;  // as registered
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR ctrlId = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;       // for child windows
  HWND owner = nullptr;        // for top-level windows created with a parent
  std::vector<HWND> children;  // top of the z-order first; creation order
  std::string text;
  int x = 0, y = 0, cx = 0, cy = 0;
  bool invalid = true;               // has an update region
  bool destroying = false;           // WM_DESTROY sent, going away
  std::vector<unsigned char> extra;  // cbWndExtra bytes
  std::unique_ptr<EditState> edit;
};

struct ClassInfo {
  std::string name;
  ATOM atom = 0;
  WNDCLASSA wc{};
  bool system = false;
};

// A keyboard event waiting in the input queue; its target is the focus window at the time it
// is retrieved, as on the real system.
struct InputEvent {
  UINT message = 0;  // WM_KEYDOWN or WM_KEYUP
  WPARAM vk = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
};

struct GlobalBlock {
  std::vector<char> data;
  UINT flags = 0;
  int locks = 0;
  bool ownedByClipboard = false;
};

struct DcState {
  HWND hwnd = nullptr;
  COLORREF text = RGB(0, 0, 0);
  COLORREF bk = RGB(255, 255, 255);
  bool released = false;  // given back with ReleaseDC, waiting in State::freeDcs
};

struct BrushState {
  COLORREF color = 0;
  bool stock = false;
};

struct State {
  State();

  std::uintptr_t nextHandle = 0x10010;
  std::uintptr_t NewHandle() {
    std::uintptr_t h = nextHandle;
    nextHandle += 0x10;
    return h;
  }

  // Windows and classes. A destroyed window's object outlives its handle until no message is
  // being handled and no destruction is under way (Collect), so that the simulation's own code
  // may hold a Window* across the messages it sends.
  std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> windows;
  std::vector<std::unique_ptr<Window>> destroyed;
  int messageDepth = 0;  // SendMessageA calls under way
  int destroyDepth = 0;  // DestroyWindow calls under way
  // The windows looked up last, by handle (a direct-mapped cache in front of windows).
  struct CacheEntry {
    std::uintptr_t value = 0;
    Window* window = nullptr;
  };
  CacheEntry findCache[16];
  std::map<std::string, ClassInfo> classes;  // key: lower-case name
  ATOM nextAtom = 0xC000;

  // Messages.
  std::vector<MSG> posted;  // vectors: once grown, the queues allocate no more
  std::vector<InputEvent> input;
  bool quitPosted = false;
  int quitCode = 0;

  // Focus and keyboard.
  HWND focus = nullptr;
  HWND active = nullptr;
  // The caret: an edit control makes it when it gains the focus and destroys it when it loses
  // the focus or is destroyed. Hiding is counted; showing stops at zero.
  HWND caretOwner = nullptr;
  int caretHidden = 0;
  BYTE asyncKeys[256] = {};
  BYTE threadKeys[256] = {};

  // Clipboard.
  HWND clipOpenWindow = nullptr;
  bool clipOpen = false;
  HWND clipOwner = nullptr;
  std::map<UINT, HANDLE> clipData;

  // Memory and GDI.
  std::unordered_map<std::uintptr_t, GlobalBlock> globals;
  std::unordered_map<std::uintptr_t, DcState> dcs;
  std::vector<std::uintptr_t> freeDcs;  // released device contexts, handed out again by GetDC
  std::unordered_map<std::uintptr_t, BrushState> brushes;
  std::map<int, HBRUSH> sysBrushes;

  // Kernel.
  DWORD lastError = 0;
  DWORD sleptMs = 0;

  // Inspection.
  int beepCount = 0;
  UINT lastBeep = 0;
  std::map<std::uintptr_t, int> repaints;  // key 0: InvalidateRect(NULL, ...)
  bool failOpenClipboard = false;
  bool failGlobalAlloc = false;
  bool failGlobalLock = false;
  bool failSetClipboardData = false;
  bool failCreateSolidBrush = false;
  int localeInfoCallsLeft = -1;  // GetLocaleInfoA answers this many more calls (-1: all)
};

// The one state, made on first use and never destroyed: static objects of the hosts may still
// call in while the process exits.
extern State* g_state;  // constant-initialised (null) before any constructor runs
State& CreateState();
inline State& S() { return g_state != nullptr ? *g_state : CreateState(); }

inline std::uintptr_t Value(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }
template <typename H>
inline H MakeHandle(std::uintptr_t v) {
  return reinterpret_cast<H>(v);
}

// The window behind a handle, or null for a handle that names no (living) window. The object
// stays valid while the caller handles a message or destroys a window (see State::destroyed).
Window* FindSlow(HWND hWnd);
inline Window* Find(HWND hWnd) {
  if (!hWnd) return nullptr;
  const std::uintptr_t v = reinterpret_cast<std::uintptr_t>(hWnd);
  const State::CacheEntry& e = S().findCache[(v >> 4) & 15];
  return e.value == v ? e.window : FindSlow(hWnd);
}
// The window behind a handle when it is one of those looked up last, else null (then Find
// answers): a lookup that calls nothing, for the entry points asked on every message.
inline Window* FindCached(HWND hWnd) {
  const State* s = g_state;
  const std::uintptr_t v = reinterpret_cast<std::uintptr_t>(hWnd);
  if (s == nullptr || v == 0) return nullptr;
  const State::CacheEntry& e = s->findCache[(v >> 4) & 15];
  return e.value == v ? e.window : nullptr;
}
// Hands a message to the procedure of a window found alive. The window's object stays while
// its procedure runs, destroyed or not (see Collect).
inline LRESULT Deliver(Window* w, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = w->proc;
  if (!proc) return 0;
  State& s = S();
  ++s.messageDepth;
  LRESULT r = proc(hWnd, msg, wParam, lParam);
  --s.messageDepth;
  return r;
}
// Frees the objects of destroyed windows when nothing can still hold one.
void Collect();
bool IsDescendant(HWND ancestor, HWND hWnd);
COLORREF SysColor(int index);

// Internal operations shared between the simulation's units.
LRESULT CALLBACK EditWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
void Invalidate(HWND hWnd);  // the platform's own invalidation (not counted as a request)
void PaintWindow(HWND hWnd);
HWND ResolveInputTarget(UINT& message);
void ApplyKeyMessageToThreadState(const MSG& msg);
char TranslateKey(UINT vk, bool shift, bool ctrl, bool caps, bool* produced);
void Reset();
// The simulation's clock in milliseconds: message times, input times and GetTickCount.
DWORD TickNow();

}  // namespace kwsim

#pragma GCC visibility pop
