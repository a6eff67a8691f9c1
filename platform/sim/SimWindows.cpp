// Simulated windows: classes, creation and destruction, window data, the message queue,
// focus, tab order, visibility and painting.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

std::string Lower(const char* s) {
  std::string r = s ? s : "";
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

bool IsAtom(const void* name) { return Value(name) < 0x10000; }

// A class name of either character set as the class table keeps it: UTF-8 (or an atom).
std::string NameOf(LPCSTR name) {
  if (!name || IsAtom(name)) return "";
  const KwWString w = Widen(CP_ACP, name, std::strlen(name));
  return Narrow(CP_UTF8, w.data(), w.size());
}
std::string NameOf(LPCWSTR name) {
  if (!name || IsAtom(name)) return "";
  return Narrow(CP_UTF8, name, WideLength(name));
}

ClassInfo* FindClassByName(const void* atomOrNull, const std::string& name) {
  State& s = S();
  if (!atomOrNull) return nullptr;
  if (IsAtom(atomOrNull)) {
    ATOM atom = static_cast<ATOM>(Value(atomOrNull));
    for (auto& [key, info] : s.classes)
      if (info.atom == atom) return &info;
    return nullptr;
  }
  auto it = s.classes.find(Lower(name.c_str()));
  return it == s.classes.end() ? nullptr : &it->second;
}

template <typename Char>
ClassInfo* FindClass(const Char* name) {
  return FindClassByName(name, NameOf(name));
}

std::int64_t MonotonicMs() {
  timespec ts;
#ifdef CLOCK_MONOTONIC_COARSE
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
#else
  clock_gettime(CLOCK_MONOTONIC, &ts);
#endif
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

DWORD Now() {
  // The tick count, in milliseconds since the simulation started (plus the time it slept). Read
  // from the coarse clock: the real system's tick is coarser still (about 16 ms), and a precise
  // clock would cost more than the rest of queuing a key.
  static const std::int64_t start = MonotonicMs();
  return static_cast<DWORD>(MonotonicMs() - start) + 1000 + S().sleptMs;
}

bool MatchesFilter(UINT msg, UINT first, UINT last) {
  if (first == 0 && last == 0) return true;
  if (first > last) return msg >= first || msg <= last;
  return msg >= first && msg <= last;
}

bool MatchesWindow(HWND filter, HWND target) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return target == nullptr;
  return target == filter || IsDescendant(filter, target);
}

void SendDestroy(HWND hWnd) {
  auto w = Find(hWnd);
  if (!w) return;
  SendMessageA(hWnd, WM_DESTROY, 0, 0);
  if (!Find(hWnd)) return;
  std::vector<HWND> kids = w->children;
  for (HWND c : kids)
    if (Find(c)) SendDestroy(c);
}

void FreeWindow(HWND hWnd) {
  State& s = S();
  auto w = Find(hWnd);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND c : kids) FreeWindow(c);
  SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
  w = Find(hWnd);
  if (!w) return;
  if (w->parent) {
    if (auto p = Find(w->parent)) {
      auto& v = p->children;
      v.erase(std::remove(v.begin(), v.end(), hWnd), v.end());
    }
  }
  if (s.focus == hWnd) s.focus = nullptr;
  if (s.active == hWnd) s.active = nullptr;
  if (s.caretOwner == hWnd) s.caretOwner = nullptr;
  if (s.clipOpenWindow == hWnd) s.clipOpenWindow = nullptr;
  if (s.clipOwner == hWnd) s.clipOwner = nullptr;
  s.posted.erase(std::remove_if(s.posted.begin(), s.posted.end(),
                                [&](const MSG& m) { return m.hwnd == hWnd; }),
                 s.posted.end());
  s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(),
                                [&](const Timer& t) { return t.hwnd == hWnd; }),
                 s.timers.end());
  // A window's counts of accessibility events go into their kinds' totals: handles are never
  // used again, and a process that makes and destroys controls for long keeps no entry for each.
  for (auto e = s.winEvents.begin(); e != s.winEvents.end();) {
    if (e->first.second == hWnd) {
      s.winEventsOfDestroyed[e->first.first] += e->second;
      e = s.winEvents.erase(e);
    } else {
      ++e;
    }
  }
  auto it = s.windows.find(w->value);
  s.destroyed.push_back(std::move(it->second));
  s.windows.erase(it);
  for (State::CacheEntry& e : s.findCache)
    if (e.window == w) e = State::CacheEntry{};
}

// The window's own repaint (used by UpdateWindow and WM_PAINT retrieval).
void PaintTree(HWND hWnd) {
  auto w = Find(hWnd);
  if (!w) return;
  if (w->invalid && IsWindowVisible(hWnd)) SendMessageA(hWnd, WM_PAINT, 0, 0);
  w = Find(hWnd);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND c : kids) PaintTree(c);
}

HWND FindPaintTarget(HWND filter) {
  State& s = S();
  // The oldest window waiting for its paint: windows in creation order (handles grow).
  std::uintptr_t best = 0;
  for (auto& [v, w] : s.windows) {
    if (!w->invalid || w->destroying || (best != 0 && v > best)) continue;
    HWND h = MakeHandle<HWND>(v);
    if (IsWindowVisible(h) && MatchesWindow(filter, h)) best = v;
  }
  return best != 0 ? MakeHandle<HWND>(best) : nullptr;
}

HWND TopLevelOf(HWND hWnd) {
  auto w = Find(hWnd);
  while (w && (w->style & WS_CHILD) && w->parent) {
    hWnd = w->parent;
    w = Find(hWnd);
  }
  return hWnd;
}

}  // namespace

ClassInfo SystemEditClass() {
  ClassInfo edit;
  edit.name = "Edit";
  edit.atom = 0xC001;
  edit.wc.style = CS_DBLCLKS | CS_PARENTDC;  // 0x88, as Wine answers
  edit.wc.lpfnWndProc = EditWndProcA;
  edit.wc.cbWndExtra = 0;
  edit.procA = EditWndProcA;
  edit.procW = EditWndProcW;
  edit.system = true;
  return edit;
}

State::State() {
  // The predefined edit control class.
  classes["edit"] = SystemEditClass();
  AddSystemClasses(classes);
  nextAtom = 0xC008;
  for (int i = 0; i <= 30; ++i) {
    std::uintptr_t h = NewHandle();
    brushes[h] = BrushState{SysColor(i), true};
    sysBrushes[i] = MakeHandle<HBRUSH>(h);
  }
}

State* g_state = nullptr;

State& CreateState() {
  if (g_state == nullptr) g_state = new State;
  return *g_state;
}

Window* FindSlow(HWND hWnd) {
  State& s = S();
  const std::uintptr_t v = Value(hWnd);
  State::CacheEntry& e = s.findCache[(v >> 4) & 15];
  auto it = s.windows.find(v);
  if (it == s.windows.end()) return nullptr;
  e.value = v;
  e.window = it->second.get();
  return e.window;
}

void Collect() {
  State& s = S();
  if (s.messageDepth == 0 && s.destroyDepth == 0) {
    if (!s.destroyed.empty()) s.destroyed.clear();
    if (!s.droppedEdits.empty()) s.droppedEdits.clear();
  }
}

bool IsDescendant(HWND ancestor, HWND hWnd) {
  auto w = Find(hWnd);
  while (w && (w->style & WS_CHILD) && w->parent) {
    if (w->parent == ancestor) return true;
    w = Find(w->parent);
  }
  return false;
}

COLORREF SysColor(int index) {
  switch (index) {
    case COLOR_WINDOW:
      return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
      return RGB(0, 0, 0);
    case COLOR_3DFACE:
      return RGB(240, 240, 240);
    case 13 /*COLOR_HIGHLIGHT*/:
      return RGB(0, 120, 215);
    case 14 /*COLOR_HIGHLIGHTTEXT*/:
      return RGB(255, 255, 255);
    case 17 /*COLOR_GRAYTEXT*/:
      return RGB(109, 109, 109);
    default:
      return RGB(192, 192, 192);
  }
}

void Invalidate(HWND hWnd) {
  if (auto w = Find(hWnd)) w->invalid = true;
}

HWND ResolveInputTarget(UINT& message) {
  State& s = S();
  if (s.focus && Find(s.focus)) return s.focus;
  if (s.active && Find(s.active)) {
    if (message == WM_KEYDOWN || message == WM_KEYUP) message += WM_SYSKEYDOWN - WM_KEYDOWN;
    return s.active;
  }
  return nullptr;
}

void Reset() {
  State& s = S();
  s.posted.clear();
  s.input.clear();
  s.timers.clear();
  s.quitPosted = false;
  std::memset(s.asyncKeys, 0, sizeof s.asyncKeys);
  std::memset(s.threadKeys, 0, sizeof s.threadKeys);
}

DWORD TickNow() { return Now(); }

}  // namespace kwsim

using namespace kwsim;

// ---------------------------------------------------------------------------------------------
// Classes.

namespace {

// Registers a class of either character set (wc's names are left out; name is UTF-8).
ATOM Register(const WNDCLASSA& wc, const std::string& name, bool wide) {
  State& s = S();
  std::string key = Lower(name.c_str());
  auto it = s.classes.find(key);
  if (it != s.classes.end() && !it->second.system) {
    s.lastError = ERROR_CLASS_ALREADY_EXISTS;
    return 0;
  }
  ClassInfo info;
  info.name = name;
  info.atom = s.nextAtom++;
  info.wc = wc;
  info.wc.lpszClassName = nullptr;
  info.wc.lpszMenuName = nullptr;
  (wide ? info.procW : info.procA) = wc.lpfnWndProc;
  s.classes[key] = info;  // a local class hides the system class of the same name
  return info.atom;
}

BOOL Unregister(ClassInfo* info) {
  State& s = S();
  if (!info || info->system) {
    s.lastError = ERROR_CLASS_DOES_NOT_EXIST;
    return FALSE;
  }
  for (auto& [v, w] : s.windows) {
    if (Lower(w->className.c_str()) == Lower(info->name.c_str())) {
      s.lastError = ERROR_CLASS_HAS_WINDOWS;
      return FALSE;
    }
  }
  std::string key = Lower(info->name.c_str());
  s.classes.erase(key);
  if (key == "edit") s.classes["edit"] = SystemEditClass();
  ClassInfo system;
  if (SystemClass(key, system)) s.classes[key] = system;
  return TRUE;
}

}  // namespace

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || IsAtom(wc->lpszClassName) || !*wc->lpszClassName) {
    S().lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  return Register(*wc, NameOf(wc->lpszClassName), false);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || IsAtom(wc->lpszClassName) || !*wc->lpszClassName) {
    S().lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  WNDCLASSA a{};
  a.style = wc->style;
  a.lpfnWndProc = wc->lpfnWndProc;
  a.cbClsExtra = wc->cbClsExtra;
  a.cbWndExtra = wc->cbWndExtra;
  a.hInstance = wc->hInstance;
  a.hIcon = wc->hIcon;
  a.hCursor = wc->hCursor;
  a.hbrBackground = wc->hbrBackground;
  return Register(a, NameOf(wc->lpszClassName), true);
}

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* wcx) {
  if (!wcx || wcx->cbSize != sizeof(WNDCLASSEXW)) {
    S().lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  WNDCLASSW wc{};
  wc.style = wcx->style;
  wc.lpfnWndProc = wcx->lpfnWndProc;
  wc.cbClsExtra = wcx->cbClsExtra;
  wc.cbWndExtra = wcx->cbWndExtra;
  wc.hInstance = wcx->hInstance;
  wc.hIcon = wcx->hIcon;
  wc.hCursor = wcx->hCursor;
  wc.hbrBackground = wcx->hbrBackground;
  wc.lpszClassName = wcx->lpszClassName;
  return RegisterClassW(&wc);
}

// The class as registered; its procedure is the Unicode face (for a class registered ANSI, a
// handle that converts, as GetWindowLongPtrW gives). The names are not kept: lpszClassName is
// the name asked for, lpszMenuName null.
BOOL WINAPI GetClassInfoExW(HINSTANCE, LPCWSTR name, WNDCLASSEXW* wcx) {
  ClassInfo* info = name ? FindClass(name) : nullptr;
  if (!info || !wcx) {
    S().lastError = ERROR_CLASS_DOES_NOT_EXIST;
    return FALSE;
  }
  wcx->style = info->wc.style;
  wcx->lpfnWndProc =
      info->procW ? info->procW : reinterpret_cast<WNDPROC>(ProcHandle(info->procA, nullptr));
  wcx->cbClsExtra = info->wc.cbClsExtra;
  wcx->cbWndExtra = info->wc.cbWndExtra;
  wcx->hInstance = info->wc.hInstance;
  wcx->hIcon = info->wc.hIcon;
  wcx->hCursor = info->wc.hCursor;
  wcx->hbrBackground = info->wc.hbrBackground;
  wcx->lpszMenuName = nullptr;
  wcx->lpszClassName = name;
  wcx->hIconSm = nullptr;
  return TRUE;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE) { return Unregister(FindClass(name)); }

BOOL WINAPI UnregisterClassW(LPCWSTR name, HINSTANCE) { return Unregister(FindClass(name)); }

// ---------------------------------------------------------------------------------------------
// Windows.

namespace {

// Creates a window of either character set: CS is CREATESTRUCTA or CREATESTRUCTW, Char the
// names' character type.
template <typename CS, typename Char>
HWND CreateWindowOf(bool wide, DWORD exStyle, const Char* className, const Char* windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, LPVOID param) {
  State& s = S();
  ClassInfo* info = FindClass(className);
  if (!info) {
    s.lastError = ERROR_CANNOT_FIND_WND_CLASS;
    return nullptr;
  }
  if (parent && !Find(parent)) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  if ((style & WS_CHILD) && !parent) {
    s.lastError = ERROR_TLW_WITH_WSCHILD;
    return nullptr;
  }
  auto owned = std::make_unique<Window>();
  Window* w = owned.get();
  w->value = s.NewHandle();
  HWND hWnd = MakeHandle<HWND>(w->value);
  w->className = info->name;
  // A program's class has the face it was registered with; the system's edit control takes
  // the character set of the function that creates it.
  SetProcs(w, info->procA, info->procW, info->procA && info->procW ? wide : info->procW != nullptr);
  w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
  w->exStyle = exStyle;
  w->instance = instance;
  if (style & WS_CHILD) {
    w->parent = parent;
    w->ctrlId = static_cast<LONG_PTR>(Value(menu));
  } else {
    w->owner = parent ? TopLevelOf(parent) : nullptr;
  }
  w->x = x == CW_USEDEFAULT ? 0 : x;
  w->y = (x == CW_USEDEFAULT || y == CW_USEDEFAULT) ? 0 : y;
  w->cx = width == CW_USEDEFAULT ? 640 : std::max(0, width);
  w->cy = (width == CW_USEDEFAULT || height == CW_USEDEFAULT) ? 480 : std::max(0, height);
  if (info->wc.cbWndExtra > 0) w->extra.assign(static_cast<size_t>(info->wc.cbWndExtra), 0);
  s.windows[w->value] = std::move(owned);
  if (w->parent) Find(parent)->children.push_back(hWnd);

  CS cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cy = w->cy;
  cs.cx = w->cx;
  cs.y = w->y;
  cs.x = w->x;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  auto send = [&](UINT msg) {
    Window* target = Find(hWnd);
    return target ? Deliver(target, hWnd, msg, 0, reinterpret_cast<LPARAM>(&cs), wide) : 0;
  };
  if (!send(WM_NCCREATE)) {
    if (Find(hWnd)) FreeWindow(hWnd);
    return nullptr;
  }
  if (!Find(hWnd)) return nullptr;
  if (send(WM_CREATE) == -1) {
    if (Find(hWnd)) DestroyWindow(hWnd);
    return nullptr;
  }
  if (!Find(hWnd)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hWnd, SW_SHOW);
  return Find(hWnd) ? hWnd : nullptr;
}

}  // namespace

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  return CreateWindowOf<CREATESTRUCTA>(false, exStyle, className, windowName, style, x, y, width,
                                       height, parent, menu, instance, param);
}

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  return CreateWindowOf<CREATESTRUCTW>(true, exStyle, className, windowName, style, x, y, width,
                                       height, parent, menu, instance, param);
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  State& s = S();
  auto w = Find(hWnd);
  if (!w) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  if (w->destroying) return TRUE;
  // The objects of the windows destroyed here stay until the outermost destruction is done.
  struct Depth {
    State& s;
    explicit Depth(State& state) : s(state) { ++s.destroyDepth; }
    ~Depth() {
      --s.destroyDepth;
      Collect();
    }
  } depth(s);
  // Owned top-level windows go first.
  std::vector<HWND> owned;
  for (auto& [v, o] : s.windows)
    if (o->owner == hWnd) owned.push_back(MakeHandle<HWND>(v));
  for (HWND o : owned)
    if (Find(o)) DestroyWindow(o);
  if (!Find(hWnd)) return TRUE;
  // Hiding a window gives the focus back to its parent.
  if (w->style & WS_VISIBLE) ShowWindow(hWnd, SW_HIDE);
  if (!Find(hWnd)) return TRUE;
  std::vector<HWND> stack{hWnd};
  while (!stack.empty()) {
    HWND h = stack.back();
    stack.pop_back();
    if (auto t = Find(h)) {
      t->destroying = true;
      for (HWND c : t->children) stack.push_back(c);
    }
  }
  SendDestroy(hWnd);
  if (!Find(hWnd)) return TRUE;
  // A window that still holds the focus loses it without messages.
  if (s.focus && (s.focus == hWnd || IsDescendant(hWnd, s.focus))) s.focus = nullptr;
  FreeWindow(hWnd);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return Find(hWnd) ? TRUE : FALSE; }

namespace {

HWND ParentOf(const Window* w) {
  if (w->style & WS_CHILD) return w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

int CtrlIdOf(const Window* w) { return (w->style & WS_CHILD) ? static_cast<int>(w->ctrlId) : 0; }

__attribute__((noinline)) HWND GetParentUncached(HWND hWnd) {
  auto w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  return ParentOf(w);
}

__attribute__((noinline)) int GetDlgCtrlIDUncached(HWND hWnd) {
  auto w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  return CtrlIdOf(w);
}

}  // namespace

HWND WINAPI GetParent(HWND hWnd) {
  if (const Window* w = FindCached(hWnd)) return ParentOf(w);
  return GetParentUncached(hWnd);
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  if (const Window* w = FindCached(hWnd)) return CtrlIdOf(w);
  return GetDlgCtrlIDUncached(hWnd);
}

HWND WINAPI GetDlgItem(HWND hDlg, int id) {
  auto w = Find(hDlg);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  for (HWND c : w->children) {
    auto cw = Find(c);
    if (cw && static_cast<int>(cw->ctrlId) == id) return c;
  }
  S().lastError = 1421;  // ERROR_CONTROL_ID_NOT_FOUND
  return nullptr;
}

namespace {

LONG_PTR GetWindowLongPtrOf(HWND hWnd, int index, bool wide) {
  State& s = S();
  auto w = Find(hWnd);
  if (!w) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_WNDPROC:
      return ProcFace(w, wide);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
    case GWLP_ID:
      return w->ctrlId;
    case GWLP_USERDATA:
      return w->userData;
    default:
      break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    LONG_PTR v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
  }
  s.lastError = ERROR_INVALID_INDEX;
  return 0;
}

LONG_PTR SetWindowLongPtrOf(HWND hWnd, int index, LONG_PTR value, bool wide) {
  State& s = S();
  auto w = Find(hWnd);
  if (!w) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  LONG_PTR old = 0;
  switch (index) {
    case GWL_STYLE:
      old = static_cast<LONG>(w->style);
      w->style = static_cast<DWORD>(value);
      return old;
    case GWL_EXSTYLE:
      old = static_cast<LONG>(w->exStyle);
      w->exStyle = static_cast<DWORD>(value);
      return old;
    case GWLP_WNDPROC:
      if (!value) {
        s.lastError = ERROR_INVALID_PARAMETER;
        return 0;
      }
      old = ProcFace(w, wide);
      SetProcFace(w, value, wide);
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_ID:
      old = w->ctrlId;
      w->ctrlId = value;
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    default:
      break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
  }
  s.lastError = ERROR_INVALID_INDEX;
  return 0;
}

}  // namespace

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int index) {
  return GetWindowLongPtrOf(hWnd, index, false);
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int index) {
  return GetWindowLongPtrOf(hWnd, index, true);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int index, LONG_PTR value) {
  return SetWindowLongPtrOf(hWnd, index, value, false);
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int index, LONG_PTR value) {
  return SetWindowLongPtrOf(hWnd, index, value, true);
}

LONG WINAPI GetWindowLongA(HWND hWnd, int index) {
  return static_cast<LONG>(GetWindowLongPtrA(hWnd, index));
}

LONG WINAPI SetWindowLongA(HWND hWnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrA(hWnd, index, value));
}

LONG WINAPI GetWindowLongW(HWND hWnd, int index) {
  return static_cast<LONG>(GetWindowLongPtrW(hWnd, index));
}

LONG WINAPI SetWindowLongW(HWND hWnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrW(hWnd, index, value));
}

namespace {

// The default processing of the messages that have any, out of line: most messages reaching
// DefWindowProcA (the notifications a parent passes on, key releases) have none.
__attribute__((noinline)) LRESULT DefaultProcessing(HWND hWnd, UINT msg, WPARAM wParam,
                                                    LPARAM lParam, bool wide) {
  Window* w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  switch (msg) {
    case WM_NCCREATE: {
      // The two structures differ only in the types of the names.
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IsAtom(cs->lpszName)) {
        if (wide) {
          const auto* name = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName;
          w->text.assign(name, WideLength(name));
        } else {
          w->text = Widen(CP_ACP, cs->lpszName, std::strlen(cs->lpszName));
        }
      }
      return TRUE;
    }
    case WM_SETTEXT:
      if (!lParam) {
        w->text.clear();
      } else if (wide) {
        const auto* text = reinterpret_cast<const WCHAR*>(lParam);
        w->text.assign(text, WideLength(text));
      } else {
        const auto* text = reinterpret_cast<const char*>(lParam);
        WidenInto(CP_ACP, text, std::strlen(text), w->text);
      }
      return TRUE;
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      if (wide) {
        auto* buf = reinterpret_cast<WCHAR*>(lParam);
        size_t n = std::min<size_t>(w->text.size(), wParam - 1);
        std::memcpy(buf, w->text.data(), n * sizeof(WCHAR));
        buf[n] = 0;
        return static_cast<LRESULT>(n);
      }
      auto* buf = reinterpret_cast<char*>(lParam);
      const size_t n = NarrowToBuffer(CP_ACP, w->text.data(), w->text.size(), buf, wParam - 1);
      buf[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      if (wide) return static_cast<LRESULT>(w->text.size());
      return static_cast<LRESULT>(NarrowLength(CP_ACP, w->text.data(), w->text.size()));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, SysColor(COLOR_WINDOWTEXT));
      if (msg == WM_CTLCOLOREDIT) {
        SetBkColor(dc, SysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      SetBkColor(dc, SysColor(COLOR_3DFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
    }
    case WM_PAINT:
      w->invalid = false;
      return 0;
    case WM_ERASEBKGND: {
      ClassInfo* info = FindClassByName(w->className.c_str(), w->className);
      if (!info || !info->wc.hbrBackground) return 0;
      RECT rc;
      GetClientRect(hWnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, info->wc.hbrBackground);
      return 1;
    }
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_IME_COMPOSITION:
    case WM_IME_CHAR:
      return ImeDefaultProcessing(hWnd, msg, wParam, lParam, wide);
    default:
      return 0;
  }
}

bool HasDefaultProcessing(UINT msg) {
  switch (msg) {
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_CLOSE:
    case WM_IME_COMPOSITION:
    case WM_IME_CHAR:
      return true;
    default:
      return false;  // WM_GETFONT and the rest: nothing to do, 0
  }
}

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HasDefaultProcessing(msg)) return DefaultProcessing(hWnd, msg, wParam, lParam, false);
  if (!Find(hWnd)) S().lastError = ERROR_INVALID_WINDOW_HANDLE;
  return 0;
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HasDefaultProcessing(msg)) return DefaultProcessing(hWnd, msg, wParam, lParam, true);
  if (!Find(hWnd)) S().lastError = ERROR_INVALID_WINDOW_HANDLE;
  return 0;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL enable) {
  auto w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  if (enable) {
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
    if (wasDisabled) SendMessageA(hWnd, WM_ENABLE, TRUE, 0);
    return wasDisabled;
  }
  SendMessageA(hWnd, WM_CANCELMODE, 0, 0);
  w = Find(hWnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
  w->style |= WS_DISABLED;
  if (!wasDisabled) {
    if (S().focus == hWnd) SetFocus(nullptr);  // a disabled window cannot keep the focus
    SendMessageA(hWnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  auto w = Find(hWnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int cmd) {
  State& s = S();
  auto w = Find(hWnd);
  if (!w) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  bool show = cmd != SW_HIDE;
  if (show != wasVisible) {
    SendMessageA(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = Find(hWnd);
    if (!w) return wasVisible;
    if (show) {
      w->style |= WS_VISIBLE;
      w->invalid = true;
      for (HWND c : w->children) Invalidate(c);
    } else {
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
      // Only the window itself gives the focus back; a hidden parent leaves it where it is.
      if (s.focus == hWnd) {
        HWND parent = (w->style & WS_CHILD) ? w->parent : nullptr;
        SetFocus(parent);
      }
      if (s.active == hWnd) s.active = nullptr;
    }
  }
  // Showing a top-level window activates it, and activation gives it the focus.
  if (show && !(w->style & WS_CHILD) && cmd != 4 /*SW_SHOWNOACTIVATE*/ && cmd != 8 /*SW_SHOWNA*/ &&
      cmd != 7 /*SW_SHOWMINNOACTIVE*/) {
    if (s.active != hWnd) {
      s.active = hWnd;
      if (!s.focus || TopLevelOf(s.focus) != hWnd) SetFocus(hWnd);
    }
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  auto w = Find(hWnd);
  while (w) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    if (!(w->style & WS_CHILD) || !w->parent) return TRUE;
    w = Find(w->parent);
  }
  return FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
  if (!Find(hWnd)) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  PaintTree(hWnd);
  return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR text) {
  Window* w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  return Deliver(w, hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR buf, int max) {
  if (!buf || max <= 0) return 0;
  buf[0] = '\0';
  if (!Find(hWnd)) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  return static_cast<int>(
      SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buf)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  if (!Find(hWnd)) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR text) {
  Window* w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  return Deliver(w, hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), true) ? TRUE : FALSE;
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR buf, int max) {
  if (!buf || max <= 0) return 0;
  buf[0] = 0;
  if (!Find(hWnd)) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  return static_cast<int>(
      SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buf)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
  if (!Find(hWnd)) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT rc) {
  auto w = Find(hWnd);
  if (!w || !rc) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  int border = 0;
  if (w->exStyle & WS_EX_CLIENTEDGE) border += 2;
  if (w->style & WS_BORDER) border += 1;
  int caption = (!(w->style & WS_CHILD) && (w->style & WS_CAPTION) == WS_CAPTION) ? 23 : 0;
  rc->left = 0;
  rc->top = 0;
  rc->right = std::max(0, w->cx - 2 * border);
  rc->bottom = std::max(0, w->cy - 2 * border - caption);
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT rc) {
  auto w = Find(hWnd);
  if (!w || !rc) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  int x = w->x, y = w->y;
  auto p = (w->style & WS_CHILD) ? Find(w->parent) : nullptr;
  while (p) {
    x += p->x;
    y += p->y;
    p = (p->style & WS_CHILD) ? Find(p->parent) : nullptr;
  }
  rc->left = x;
  rc->top = y;
  rc->right = x + w->cx;
  rc->bottom = y + w->cy;
  return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR) {
  // One module: the process itself (the library is linked in statically here).
  return MakeHandle<HMODULE>(0x400000);
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR) { return GetModuleHandleA(nullptr); }

// ---------------------------------------------------------------------------------------------
// Messages.

namespace {

__attribute__((noinline)) LRESULT SendUncached(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                               bool wide) {
  auto w = Find(hWnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  return Deliver(w, hWnd, msg, wParam, lParam, wide);
}

// A message that carries a pointer cannot wait in a queue.
bool SendOnly(UINT msg) {
  return msg == WM_SETTEXT || msg == WM_GETTEXT || msg == EM_REPLACESEL || msg == WM_CREATE ||
         msg == WM_NCCREATE;
}

}  // namespace

LRESULT WINAPI SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // A window looked up a moment ago (nearly always): of the sender's character set straight to
  // its procedure, of the other through Deliver's conversion, without a look-up.
  if (State* s = g_state; s != nullptr && hWnd != nullptr) {
    const State::CacheEntry& e = s->findCache[(Value(hWnd) >> 4) & 15];
    if (e.value == Value(hWnd) && e.window->proc != nullptr) {
      if (e.window->unicode) return Deliver(e.window, hWnd, msg, wParam, lParam, false);
      ++s->messageDepth;
      const LRESULT r = e.window->proc(hWnd, msg, wParam, lParam);
      --s->messageDepth;
      return r;
    }
  }
  return SendUncached(hWnd, msg, wParam, lParam, false);
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (State* s = g_state; s != nullptr && hWnd != nullptr) {
    const State::CacheEntry& e = s->findCache[(Value(hWnd) >> 4) & 15];
    if (e.value == Value(hWnd) && e.window->proc != nullptr) {
      if (!e.window->unicode) return Deliver(e.window, hWnd, msg, wParam, lParam, true);
      ++s->messageDepth;
      const LRESULT r = e.window->proc(hWnd, msg, wParam, lParam);
      --s->messageDepth;
      return r;
    }
  }
  return SendUncached(hWnd, msg, wParam, lParam, true);
}

// The queue holds keyboard characters in UTF-16: an ANSI character is converted as it is
// posted, and PeekMessageA converts it back.
BOOL WINAPI PostMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR || msg == WM_SYSCHAR) wParam = KeyCharToWide(wParam);
  return PostMessageW(hWnd, msg, wParam, lParam);
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  if (hWnd && !Find(hWnd)) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  if (SendOnly(msg)) {
    s.lastError = ERROR_MESSAGE_SYNC_ONLY;
    return FALSE;
  }
  // Written field by field into the queue's own slot (no temporary to copy).
  MSG& m = s.posted.emplace_back();
  m.hwnd = hWnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = Now();
  return TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG out, HWND hWnd, UINT first, UINT last, UINT remove) {
  if (!PeekMessageW(out, hWnd, first, last, remove)) return FALSE;
  if (out->message == WM_CHAR || out->message == WM_SYSCHAR)
    out->wParam = KeyCharToAnsi(out->wParam);
  return TRUE;
}

BOOL WINAPI PeekMessageW(LPMSG out, HWND hWnd, UINT first, UINT last, UINT remove) {
  State& s = S();
  if (!out) return FALSE;
  Collect();
  bool doRemove = (remove & PM_REMOVE) != 0;
  // Posted messages first.
  for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
    if (!MatchesFilter(it->message, first, last) || !MatchesWindow(hWnd, it->hwnd)) continue;
    *out = *it;
    if (doRemove) s.posted.erase(it);
    return TRUE;
  }
  // Then the quit request.
  if (s.quitPosted && MatchesFilter(WM_QUIT, first, last)) {
    MSG m{};
    m.message = WM_QUIT;
    m.wParam = static_cast<WPARAM>(s.quitCode);
    m.time = Now();
    *out = m;
    if (doRemove) s.quitPosted = false;
    return TRUE;
  }
  // Then keyboard input, delivered to the window that has the focus now.
  for (auto it = s.input.begin(); it != s.input.end();) {
    UINT message = it->message;
    HWND target = ResolveInputTarget(message);
    if (!target) {
      if (doRemove) {
        // Input nobody can receive is discarded, but still changes the key state.
        MSG m{};
        m.message = message;
        m.wParam = it->vk;
        m.lParam = it->lParam;
        ApplyKeyMessageToThreadState(m);
        it = s.input.erase(it);
      } else {
        ++it;
      }
      continue;
    }
    if (!MatchesFilter(message, first, last) || !MatchesWindow(hWnd, target)) {
      ++it;
      continue;
    }
    *out = MSG{};
    out->hwnd = target;
    out->message = message;
    out->wParam = it->vk;
    out->lParam = it->lParam;
    out->time = it->time;
    if (doRemove) {
      s.input.erase(it);
      ApplyKeyMessageToThreadState(*out);
    }
    return TRUE;
  }
  // Then painting.
  if (MatchesFilter(WM_PAINT, first, last)) {
    if (HWND target = FindPaintTarget(hWnd)) {
      MSG m{};
      m.hwnd = target;
      m.message = WM_PAINT;
      m.time = Now();
      *out = m;
      return TRUE;
    }
  }
  // Last, the timer due first of those that are due; taking its message starts its next elapse.
  if (MatchesFilter(WM_TIMER, first, last)) {
    const DWORD now = Now();
    Timer* next = nullptr;
    for (Timer& t : s.timers) {
      if (static_cast<LONG>(now - t.due) < 0 || !MatchesWindow(hWnd, t.hwnd)) continue;
      if (!next || static_cast<LONG>(t.due - next->due) < 0) next = &t;
    }
    if (next) {
      MSG m{};
      m.hwnd = next->hwnd;
      m.message = WM_TIMER;
      m.wParam = next->id;
      m.lParam = reinterpret_cast<LPARAM>(next->proc);
      m.time = now;
      *out = m;
      if (doRemove) next->due = now + next->elapse;
      return TRUE;
    }
  }
  return FALSE;
}

namespace kwsim {

bool WaitForTimer(HWND hWnd) {
  State& s = S();
  const Timer* next = nullptr;
  for (const Timer& t : s.timers)
    if (MatchesWindow(hWnd, t.hwnd) && (!next || static_cast<LONG>(t.due - next->due) < 0))
      next = &t;
  if (!next) return false;
  const LONG wait = static_cast<LONG>(next->due - Now());
  if (wait > 0) s.sleptMs += static_cast<DWORD>(wait);
  return true;
}

}  // namespace kwsim

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  State& s = S();
  if (hWnd && !Find(hWnd)) {
    s.lastError = ERROR_INVALID_HANDLE;  // as Wine answers (not ERROR_INVALID_WINDOW_HANDLE)
    return 0;
  }
  elapse = elapse < USER_TIMER_MINIMUM   ? USER_TIMER_MINIMUM
           : elapse > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM
                                         : elapse;
  auto find = [&](UINT_PTR which) {
    for (Timer& t : s.timers)
      if (t.hwnd == hWnd && t.id == which) return &t;
    return static_cast<Timer*>(nullptr);
  };
  Timer* timer = find(id);
  if (!timer) {
    // A thread's timer takes an identifier of its own, counted down from 0x7FFF.
    if (!hWnd)
      for (id = 0x7FFF; find(id); --id) {
      }
    timer = &s.timers.emplace_back();
    timer->hwnd = hWnd;
    timer->id = id;
  }
  timer->elapse = elapse;
  timer->due = Now() + elapse;
  timer->proc = proc;
  return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR id) {
  State& s = S();
  for (auto it = s.timers.begin(); it != s.timers.end(); ++it) {
    if (it->hwnd != hWnd || it->id != id) continue;
    s.timers.erase(it);
    return TRUE;
  }
  s.lastError = ERROR_INVALID_PARAMETER;
  return FALSE;
}

namespace {

BOOL GetMessageOf(LPMSG out, HWND hWnd, UINT first, UINT last, bool wide) {
  if (!out) return -1;
  // Waiting is for a timer, the one thing that can still come on the one simulated thread.
  do {
    if (wide ? PeekMessageW(out, hWnd, first, last, PM_REMOVE)
             : PeekMessageA(out, hWnd, first, last, PM_REMOVE))
      return out->message == WM_QUIT ? FALSE : TRUE;
  } while (MatchesFilter(WM_TIMER, first, last) && WaitForTimer(hWnd));
  // Nothing can arrive later: instead of waiting forever, the loop is told to end.
  MSG m{};
  m.message = WM_QUIT;
  m.time = Now();
  *out = m;
  return FALSE;
}

LRESULT DispatchMessageOf(const MSG* msg, bool wide) {
  if (!msg) return 0;
  // A timer made with a procedure calls it, of a window or of the thread.
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, Now());
    return 0;
  }
  if (!msg->hwnd) return 0;
  auto w = Find(msg->hwnd);
  if (!w) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return 0;
  }
  LRESULT r = wide ? SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam)
                   : SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A window procedure that leaves WM_PAINT unvalidated would otherwise get it forever.
  if (msg->message == WM_PAINT) {
    if (auto after = Find(msg->hwnd)) after->invalid = false;
  }
  return r;
}

}  // namespace

BOOL WINAPI GetMessageA(LPMSG out, HWND hWnd, UINT first, UINT last) {
  return GetMessageOf(out, hWnd, first, last, false);
}

BOOL WINAPI GetMessageW(LPMSG out, HWND hWnd, UINT first, UINT last) {
  return GetMessageOf(out, hWnd, first, last, true);
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) { return DispatchMessageOf(msg, false); }

LRESULT WINAPI DispatchMessageW(const MSG* msg) { return DispatchMessageOf(msg, true); }

void WINAPI PostQuitMessage(int code) {
  State& s = S();
  s.quitPosted = true;
  s.quitCode = code;
}

// ---------------------------------------------------------------------------------------------
// Focus and tab order.

HWND WINAPI SetFocus(HWND hWnd) {
  State& s = S();
  HWND previous = s.focus;
  if (previous && !Find(previous)) previous = nullptr;
  if (hWnd) {
    if (!Find(hWnd)) {
      s.lastError = ERROR_INVALID_WINDOW_HANDLE;
      return nullptr;
    }
    if (hWnd == previous) return previous;
    // A window cannot take the focus while it or one of its parents is disabled.
    for (auto w = Find(hWnd); w;) {
      if (w->style & WS_DISABLED) return nullptr;
      if (!(w->style & WS_CHILD) || !w->parent) break;
      w = Find(w->parent);
    }
    HWND top = TopLevelOf(hWnd);
    if (s.active != top) s.active = top;
  }
  s.focus = hWnd;
  if (previous) {
    SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (s.focus != hWnd) return previous;  // changed while handling the message
  }
  if (hWnd && Find(hWnd)) SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

HWND WINAPI GetFocus(void) {
  State& s = S();
  if (s.focus && !Find(s.focus)) s.focus = nullptr;
  return s.focus;
}

// The simulation has one desktop and no other program: a visible window's top-level window
// becomes the active one (the one that takes the keys while no window has the focus); a hidden
// one is answered TRUE and stays as it is, as Wine leaves a dialog that asks during
// WM_INITDIALOG.
BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  State& s = S();
  if (!hWnd || !Find(hWnd)) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  if (IsWindowVisible(hWnd)) s.active = TopLevelOf(hWnd);
  return TRUE;
}

namespace {

HWND NextSibling(HWND hWnd, bool previous) {
  auto w = Find(hWnd);
  if (!w || !(w->style & WS_CHILD)) return nullptr;
  auto p = Find(w->parent);
  if (!p) return nullptr;
  auto& v = p->children;
  auto it = std::find(v.begin(), v.end(), hWnd);
  if (it == v.end()) return nullptr;
  if (previous) return it == v.begin() ? nullptr : *(it - 1);
  ++it;
  return it == v.end() ? nullptr : *it;
}

HWND EndChild(HWND parent, bool last) {
  auto p = Find(parent);
  if (!p || p->children.empty()) return nullptr;
  return last ? p->children.back() : p->children.front();
}

HWND NextTabItem(HWND main, HWND dlg, HWND ctrl, bool previous) {
  HWND child = nullptr;
  if (!ctrl) {
    child = EndChild(dlg, previous);
  } else if (IsDescendant(main, ctrl)) {
    child = NextSibling(ctrl, previous);
    if (!child) {
      if (GetParent(ctrl) != main)
        child = NextSibling(GetParent(ctrl), previous);
      else
        child = EndChild(GetParent(ctrl), previous);
    }
  }
  while (child) {
    auto w = Find(child);
    if (!w) break;
    DWORD style = w->style;
    if ((w->exStyle & WS_EX_CONTROLPARENT) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
      if (HWND r = NextTabItem(main, child, nullptr, previous)) return r;
    } else if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
      return child;
    }
    child = NextSibling(child, previous);
  }
  HWND result = nullptr;
  if (ctrl) {
    HWND parent = GetParent(ctrl);
    while (parent) {
      if (parent == main) break;
      result = NextTabItem(main, GetParent(parent), parent, previous);
      if (result) break;
      parent = GetParent(parent);
    }
    if (!result) result = NextTabItem(main, main, nullptr, previous);
  }
  return result ? result : ctrl;
}

}  // namespace

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL previous) {
  if (hDlg == hCtl) hCtl = nullptr;
  if (!hCtl && previous) return nullptr;  // as the real dialog manager answers
  if (!hDlg || !Find(hDlg)) return nullptr;
  if (hCtl && !Find(hCtl)) return nullptr;
  return NextTabItem(hDlg, hDlg, hCtl, previous != FALSE);
}

// ---------------------------------------------------------------------------------------------
// Painting requests.

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, BOOL) {
  State& s = S();
  if (!hWnd) {
    s.repaints[0]++;
    for (auto& [v, w] : s.windows) w->invalid = true;
    return TRUE;
  }
  auto w = Find(hWnd);
  if (!w) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  s.repaints[w->value]++;
  w->invalid = true;
  return TRUE;
}
