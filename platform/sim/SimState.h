// Internal state of the simulated window system. Everything lives in one object (State), reached
// through S(); the simulation runs on one thread, the user-interface thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32.h"

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
  KwWString text;   // UTF-16, whatever the window's character set
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
  // The composition an input method shows in the text while it lasts: where it starts and how
  // many units it holds.
  UINT compStart = 0;
  UINT compLen = 0;
  // The one level of undo: the text the last edit deleted, where it stood, and how many units
  // the edit inserted there (an undo puts the text back in place of those units).
  KwWString undoText;
  UINT undoPos = 0;
  UINT undoInsert = 0;
  // Set once the dialog manager has asked for the dialog code with a message: the control then
  // behaves as a dialog's control (Enter asks the parent for its default button).
  bool dialogMode = false;
  // What the last paint used (for the simulation's own inspection).
  int paints = 0;
  COLORREF paintText = 0;
  COLORREF paintBk = 0;
  HBRUSH paintBrush = nullptr;
};

// What makes a window a dialog box: its procedure, how it ends, its default button.
struct DialogState {
  DLGPROC proc = nullptr;
  bool ended = false;
  INT_PTR result = 0;
  WORD defId = IDOK;             // DM_GETDEFID's answer until one is set
  HWND disabledOwner = nullptr;  // the owner a modal dialog disabled, enabled again at the end
};

struct Window {
  std::uintptr_t value = 0;
  std::string className;  // as registered (UTF-8)
  // The window procedure: the face of the window's own character set (proc), and the ANSI and
  // Unicode faces it has (a procedure of the program has one; the system's edit control both).
  // A window is a Unicode window when its procedure was set through a W function, or is a W
  // procedure (see IsWindowUnicode).
  WNDPROC proc = nullptr;
  WNDPROC procA = nullptr;
  WNDPROC procW = nullptr;
  bool unicode = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR ctrlId = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;       // for child windows
  HWND owner = nullptr;        // for top-level windows created with a parent
  std::vector<HWND> children;  // top of the z-order first; creation order
  KwWString text;              // the default window procedure's text, UTF-16
  int x = 0, y = 0, cx = 0, cy = 0;
  bool invalid = true;               // has an update region
  bool destroying = false;           // WM_DESTROY sent, going away
  std::vector<unsigned char> extra;  // cbWndExtra bytes
  std::unique_ptr<EditState> edit;
  std::unique_ptr<DialogState> dialog;
  bool buttonDown = false;  // a button pressed by the mouse or the space bar, not yet released
};

struct ClassInfo {
  std::string name;  // UTF-8
  ATOM atom = 0;
  WNDCLASSA wc{};  // the class as registered, without its names (lpfnWndProc: procA or procW)
  WNDPROC procA = nullptr;  // registered with RegisterClassA (or the system's ANSI face)
  WNDPROC procW = nullptr;  // registered with RegisterClassW (or the system's Unicode face)
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

// A timer: WM_TIMER for the window (or the thread, hwnd null) once due, then every elapse.
struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  DWORD due = 0;  // the tick count at which it is next due
  TIMERPROC proc = nullptr;
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
  // The state of edit controls that have had WM_NCDESTROY, kept as long as destroyed windows.
  std::vector<std::unique_ptr<EditState>> droppedEdits;
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
  std::vector<Timer> timers;

  // Focus and keyboard.
  HWND focus = nullptr;
  HWND active = nullptr;
  // The caret: an edit control makes it when it gains the focus and destroys it when it loses
  // the focus or is destroyed. Hiding is counted; showing stops at zero.
  HWND caretOwner = nullptr;
  int caretHidden = 0;
  BYTE asyncKeys[256] = {};
  BYTE threadKeys[256] = {};

  // Clipboard. A format the system makes from another when asked (CF_TEXT from CF_UNICODETEXT
  // and back, CF_LOCALE) is listed with a null handle until it is first read.
  HWND clipOpenWindow = nullptr;
  bool clipOpen = false;
  bool clipChanged = false;  // emptied or written since it was opened
  HWND clipOwner = nullptr;
  std::map<UINT, HANDLE> clipData;

  // Memory and GDI.
  std::unordered_map<std::uintptr_t, GlobalBlock> globals;
  std::unordered_map<std::uintptr_t, DcState> dcs;
  std::vector<std::uintptr_t> freeDcs;  // released device contexts, handed out again by GetDC
  std::unordered_map<std::uintptr_t, BrushState> brushes;
  std::map<int, HBRUSH> sysBrushes;

  // Text: the process's ANSI code page (1252, or CP_UTF8 where the process asks), and the
  // procedures behind the handles that GetWindowLongPtr answers for a face a window lacks
  // (handle value kProcHandleBase + index).
  UINT acp = 1252;
  std::vector<std::pair<WNDPROC, WNDPROC>> procHandles;  // (ANSI face, Unicode face)
  // Buffers for the texts of converted messages, one per level of nested conversions: a
  // message converted on every keystroke allocates nothing once they have grown.
  struct Scratch {
    KwWString wide;
    std::string narrow;
  };
  std::vector<std::unique_ptr<Scratch>> scratch;
  size_t scratchDepth = 0;

  // Input methods: the thread's one input context, the window it speaks to (the last one asked
  // for it), and its composition and result strings.
  struct ImeContext {
    HWND hwnd = nullptr;
    bool composing = false;
    KwWString comp;
    KwWString result;
  };
  ImeContext ime;

  // Kernel. The user's own separators, set with SetLocaleInfoW (LCTYPE -> value).
  std::map<LCTYPE, KwWString> userLocale;
  DWORD lastError = 0;
  DWORD sleptMs = 0;

  // Inspection.
  int beepCount = 0;
  UINT lastBeep = 0;
  std::map<std::uintptr_t, int> repaints;  // key 0: InvalidateRect(NULL, ...)
  // Accessibility events raised (NotifyWinEvent) per kind and window, and per kind only those of
  // windows since destroyed.
  std::map<std::pair<DWORD, HWND>, int> winEvents;
  std::map<DWORD, int> winEventsOfDestroyed;
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
// Text conversions (SimText.cpp). The ANSI code page is S().acp; keyboard characters (WM_CHAR
// between an ANSI and a Unicode face) go through the keyboard layout's code page, 1252 for the
// simulated US layout, whatever the ANSI code page.
KwWString Widen(UINT codePage, const char* s, size_t n);
std::string Narrow(UINT codePage, const WCHAR* s, size_t n);
// The same into a string that keeps its capacity (no allocation once it has grown).
void WidenInto(UINT codePage, const char* s, size_t n, KwWString& out);
void NarrowInto(UINT codePage, const WCHAR* s, size_t n, std::string& out);
// The length of the text in the code page, and the text written into a buffer of room bytes
// (cut where the buffer ends, no NUL added); answers the bytes written.
size_t NarrowLength(UINT codePage, const WCHAR* s, size_t n);
size_t NarrowToBuffer(UINT codePage, const WCHAR* s, size_t n, char* out, size_t room);
size_t WideLength(const WCHAR* s);
WCHAR KeyCharToWide(WPARAM ch);   // a keyboard character of an ANSI face
WPARAM KeyCharToAnsi(WPARAM ch);  // a keyboard character of a Unicode face

// Window procedures in two faces (SimUnicode.cpp).
constexpr std::uintptr_t kProcHandleBase = 0xFFFF0000u;
bool NeedsConversion(UINT msg);
// Calls proc, a procedure of the other character set than the caller's (wide: the caller
// speaks UTF-16), converting the text the message carries both ways.
LRESULT CallConverted(WNDPROC proc, bool wide, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Calls a procedure value a program holds (a procedure or a handle of one), from a caller of
// the given character set.
LRESULT CallProcValue(WNDPROC proc, bool wide, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The window's procedure as GetWindowLongPtrA (wide false) or W answers it, and setting it.
LONG_PTR ProcFace(const Window* w, bool wide);
// The handle that stands for a procedure of the faces given (one of them may be null).
LONG_PTR ProcHandle(WNDPROC procA, WNDPROC procW);
void SetProcFace(Window* w, LONG_PTR value, bool wide);
void SetProcs(Window* w, WNDPROC procA, WNDPROC procW, bool unicode);

// Hands a message to the procedure of a window found alive, from a sender of the given
// character set. The window's object stays while its procedure runs, destroyed or not (see
// Collect).
inline LRESULT Deliver(Window* w, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       bool wide = false) {
  WNDPROC proc = w->proc;
  if (!proc) return 0;
  State& s = S();
  ++s.messageDepth;
  LRESULT r;
  if (wide == w->unicode) {
    r = proc(hWnd, msg, wParam, lParam);
  } else if (WNDPROC face = wide ? w->procW : w->procA) {
    r = face(hWnd, msg, wParam, lParam);
  } else if (!NeedsConversion(msg)) {
    r = proc(hWnd, msg, wParam, lParam);
  } else {
    r = CallConverted(proc, wide, hWnd, msg, wParam, lParam);
  }
  --s.messageDepth;
  return r;
}
// Frees the objects of destroyed windows when nothing can still hold one.
void Collect();
bool IsDescendant(HWND ancestor, HWND hWnd);
COLORREF SysColor(int index);

// Internal operations shared between the simulation's units.
// The system's edit control: its Unicode face holds the text; the ANSI face converts.
LRESULT CALLBACK EditWndProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditWndProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
ClassInfo SystemEditClass();
// The other predefined classes (SimDialog.cpp): "Button", "Static" and the dialog box's
// "#32770", by lower-case name; null for any other name.
bool SystemClass(const std::string& key, ClassInfo& out);
void AddSystemClasses(std::map<std::string, ClassInfo>& classes);
bool IsDialogWindow(HWND hWnd);
void Invalidate(HWND hWnd);  // the platform's own invalidation (not counted as a request)
void PaintWindow(HWND hWnd);
HWND ResolveInputTarget(UINT& message);
void ApplyKeyMessageToThreadState(const MSG& msg);
char TranslateKey(UINT vk, bool shift, bool ctrl, bool caps, bool* produced);
void Reset();
// The input context's composition and result strings (SimIme.cpp).
const KwWString& ImeCompositionString();
const KwWString& ImeResultString();
// The default processing of a committed string: WM_IME_COMPOSITION with a result gives one
// WM_IME_CHAR a unit (a byte of the ANSI code page for an ANSI window), WM_IME_CHAR a posted
// WM_CHAR.
LRESULT ImeDefaultProcessing(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, bool wide);
// The simulation's clock in milliseconds: message times, input times and GetTickCount.
DWORD TickNow();
// Waiting for a message when none is there: nothing else runs on the simulated thread, so only
// a timer can bring one. Lets the clock run on to the first timer of the window (of any window
// when null) that is due and answers true; false when there is no timer to wait for.
bool WaitForTimer(HWND hWnd);

}  // namespace kwsim

#pragma GCC visibility pop
