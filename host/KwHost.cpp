#include "host/KwHost.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/probe.h"

// Both are the platform's own values; kept here in case the Win32 subset lacks them.
#ifndef EM_POSFROMCHAR
#define EM_POSFROMCHAR 0x00D6
#endif
#ifndef MK_LBUTTON
#define MK_LBUTTON 0x0001
#endif

namespace kwhost {

namespace {

void PrintError(const std::string& what) { std::fprintf(stderr, "kwhost: %s\n", what.c_str()); }

ErrorHandler g_errorHandler = PrintError;
int g_errors = 0;

std::vector<Notification>& NotesStore() {
  static std::vector<Notification> notes;
  return notes;
}

// The parent: a framework window that writes down each WM_COMMAND and hands it to the default
// procedure; every other message takes the framework's road.
class HostParentWnd : public CWnd {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      // Filled in place: a temporary copied in would cost more than the rest of the recording.
      Notification& note = NotesStore().emplace_back();
      note.id = static_cast<int>(LOWORD(wParam));
      note.code = static_cast<UINT>(HIWORD(wParam));
      note.hwnd = reinterpret_cast<HWND>(lParam);
      // Neither CWnd's message map (empty) nor its own processing has anything for a command:
      // it goes straight to the default procedure, where the framework would hand it.
      return DefWindowProc(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

const char kParentClass[] = "KwHostParent";

HWND g_dialog = nullptr;

// Key events sent but not yet taken out of the queue by Pump.
int g_pendingKeyEvents = 0;
// How long Pump waits for key events still on their way before giving up.
constexpr std::chrono::milliseconds kInputCap(1500);

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

bool IsExtendedKey(UINT vk) {
  switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(UINT vk, bool up) {
  INPUT in;
  std::memset(&in, 0, sizeof in);
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = static_cast<WORD>(vk);
#ifdef _WIN32
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
#endif
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return in;
}

// Sends count key events in one SendInput call and pumps. (No allocation: the benchmarks
// count the library's allocations per keystroke.)
void Send(const INPUT* inputs, UINT count) {
  if (count == 0) return;
  g_pendingKeyEvents += static_cast<int>(count);
  const UINT sent = SendInput(count, const_cast<INPUT*>(inputs), static_cast<int>(sizeof(INPUT)));
  if (sent != count) {
    ReportError("SendInput took " + std::to_string(sent) + " of " + std::to_string(count) +
                " key events");
    g_pendingKeyEvents -= static_cast<int>(count - sent);
  }
  Pump();
}

void Route(MSG& msg) {
  if (AfxPreTranslateMessage(&msg)) return;
  if (IsDialogMessageW(DialogWindow(), &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// Where a click on charIndex lands, in the control's client coordinates.
POINT CharPoint(HWND hEdit, int charIndex) {
  RECT rc;
  GetClientRect(hEdit, &rc);
  POINT pt;
  pt.y = (rc.top + rc.bottom) / 2;
  LRESULT pos = -1;
  if (charIndex < GetWindowTextLengthA(hEdit))
    pos = SendMessageA(hEdit, EM_POSFROMCHAR, charIndex, 0);
  // EM_POSFROMCHAR answers -1 at and past the end of the text: click past the last character.
  pt.x = pos == -1 ? rc.right - 2 : static_cast<short>(LOWORD(pos)) + 1;
  return pt;
}

void PostClicks(HWND hEdit, int charIndex, bool twice) {
  const POINT pt = CharPoint(hEdit, charIndex);
  const LPARAM lp = MAKELPARAM(pt.x, pt.y);
  PostMessageA(hEdit, WM_LBUTTONDOWN, MK_LBUTTON, lp);
  PostMessageA(hEdit, WM_LBUTTONUP, 0, lp);
  if (twice) {
    PostMessageA(hEdit, WM_LBUTTONDBLCLK, MK_LBUTTON, lp);
    PostMessageA(hEdit, WM_LBUTTONUP, 0, lp);
  }
  Pump();
}

bool OpenClipboardRetrying() {
  // Another process (Wine's clipboard manager) may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(DialogWindow())) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

// --- Reporting -----------------------------------------------------------------------------

ErrorHandler SetErrorHandler(ErrorHandler handler) {
  const ErrorHandler previous = g_errorHandler;
  g_errorHandler = handler ? handler : PrintError;
  return previous;
}

void ReportError(const std::string& what) {
  ++g_errors;
  g_errorHandler(what);
}

int Errors() { return g_errors; }

// --- The host window -----------------------------------------------------------------------

CWnd* ParentWnd() {
  static CWnd* parent = [] {
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kParentClass;
    RegisterClassA(&wc);
    auto* wnd = new HostParentWnd;
    if (!wnd->CreateEx(0, kParentClass, "KwMaskEdit host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                       480, 400, nullptr, nullptr)) {
      std::fprintf(stderr, "kwhost: cannot create the parent window\n");
      std::abort();
    }
    wnd->ShowWindow(SW_SHOW);
    wnd->UpdateWindow();
#ifdef _WIN32
    // Keyboard input goes to the foreground window's thread.
    SetForegroundWindow(wnd->GetSafeHwnd());
#endif
    return static_cast<CWnd*>(wnd);
  }();
  return parent;
}

HWND Parent() { return ParentWnd()->GetSafeHwnd(); }

void SetDialogWindow(HWND hDialog) { g_dialog = hDialog; }

HWND DialogWindow() { return g_dialog ? g_dialog : Parent(); }

const std::vector<Notification>& Notifications() { return NotesStore(); }

void ClearNotifications() { NotesStore().clear(); }

std::vector<UINT> CodesFor(int id) {
  std::vector<UINT> codes;
  for (const Notification& n : NotesStore())
    if (n.id == id) codes.push_back(n.code);
  return codes;
}

std::vector<UINT> ChangeCodesFor(int id) {
  std::vector<UINT> codes;
  for (const Notification& n : NotesStore())
    if (n.id == id && (n.code == EN_UPDATE || n.code == EN_CHANGE)) codes.push_back(n.code);
  return codes;
}

std::string NotesText() {
  std::string s;
  for (const Notification& n : NotesStore()) {
    const UINT c = n.code;
    s += (s.empty() ? "" : " ") + std::to_string(n.id) +
         (c == EN_UPDATE      ? "U"
          : c == EN_CHANGE    ? "C"
          : c == EN_MAXTEXT   ? "M"
          : c == EN_SETFOCUS  ? "S"
          : c == EN_KILLFOCUS ? "K"
                              : "?");
    if (IsWindow(n.hwnd) && GetDlgCtrlID(n.hwnd) != n.id) s += "!";
  }
  return s;
}

std::string CodeName(UINT code) {
  switch (code) {
    case EN_SETFOCUS:
      return "EN_SETFOCUS";
    case EN_KILLFOCUS:
      return "EN_KILLFOCUS";
    case EN_CHANGE:
      return "EN_CHANGE";
    case EN_UPDATE:
      return "EN_UPDATE";
    case EN_ERRSPACE:
      return "EN_ERRSPACE";
    case EN_MAXTEXT:
      return "EN_MAXTEXT";
    case 0x0A00:  // KWN_REJECTED, the controls' own notification of a refused key or paste
      return "KWN_REJECTED";
    default: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "0x%04X", code);
      return buf;
    }
  }
}

std::string Describe(const std::vector<UINT>& codes) {
  std::string out = "{";
  for (size_t i = 0; i < codes.size(); ++i) out += (i ? ", " : "") + CodeName(codes[i]);
  return out + "}";
}

RECT EditRect(int id) {
  RECT r;
  r.left = 10;
  r.top = 10 + (id % 10) * 34;
  r.right = r.left + 240;
  r.bottom = r.top + 26;
  return r;
}

// --- The message loop ----------------------------------------------------------------------

void Pump() {
  // The clock is read only once the loop has to wait for input still on its way.
  std::chrono::steady_clock::time_point start;
  bool waiting = false;
  MSG msg;
  for (;;) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (IsKeyMessage(msg.message) && g_pendingKeyEvents > 0) --g_pendingKeyEvents;
      if (msg.message != WM_QUIT) Route(msg);
      continue;
    }
    if (g_pendingKeyEvents <= 0) return;
    if (!waiting) {
      start = std::chrono::steady_clock::now();
      waiting = true;
    }
    if (std::chrono::steady_clock::now() - start > kInputCap) {
      const int lost = g_pendingKeyEvents;
      g_pendingKeyEvents = 0;
      ReportError(std::to_string(lost) + " key event(s) never reached the queue");
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// --- Keyboard ------------------------------------------------------------------------------

void Press(UINT vk, bool shift, bool ctrl) {
  // The modifiers go down, and are taken by the loop, before the key, as a user's fingers do:
  // the key finds them held in the state of its message (GetKeyState) and the keyboard's
  // (GetAsyncKeyState) alike. PressQueued is the stroke typed faster than that.
  INPUT down[2], up[2];
  UINT held = 0;
  if (shift) down[held++] = KeyInput(VK_SHIFT, false);
  if (ctrl) down[held++] = KeyInput(VK_CONTROL, false);
  for (UINT i = 0; i < held; ++i) up[held - 1 - i] = KeyInput(down[i].ki.wVk, true);
  const INPUT key[2] = {KeyInput(vk, false), KeyInput(vk, true)};
  Send(down, held);
  Send(key, 2);
  Send(up, held);
}

void PressQueued(UINT vk, bool shift, bool ctrl) {
  INPUT all[6];
  UINT n = 0;
  if (shift) all[n++] = KeyInput(VK_SHIFT, false);
  if (ctrl) all[n++] = KeyInput(VK_CONTROL, false);
  all[n++] = KeyInput(vk, false);
  all[n++] = KeyInput(vk, true);
  if (ctrl) all[n++] = KeyInput(VK_CONTROL, true);
  if (shift) all[n++] = KeyInput(VK_SHIFT, true);
  Send(all, n);
}

SHORT KeyFor(char ch) {
  const SHORT scan = VkKeyScanA(ch);
  // Wine under Xvfb finds no key for the parentheses (the X server's keymap lists them first
  // on keys Wine gives no virtual key); a US keyboard has them on Shift+9 and Shift+0.
  if (scan == -1 && (ch == '(' || ch == ')'))
    return static_cast<SHORT>(0x100 | (ch == '(' ? '9' : '0'));
  return scan;
}

bool Type(const std::string& text) {
  bool typed = true;
  for (char ch : text) {
    const SHORT scan = KeyFor(ch);
    if (scan == -1 || (scan & 0x0400)) {
      char buf[48];
      std::snprintf(buf, sizeof buf, "no key types the character 0x%02X",
                    static_cast<unsigned char>(ch));
      ReportError(buf);
      typed = false;
      continue;
    }
    Press(LOBYTE(scan), (scan & 0x0100) != 0, (scan & 0x0200) != 0);
  }
  return typed;
}

void TypeUnits(const KwWString& units) {
  for (size_t i = 0; i < units.size();) {
    const bool pair =
        i + 1 < units.size() && (units[i] & 0xFC00) == 0xD800 && (units[i + 1] & 0xFC00) == 0xDC00;
    INPUT in[4];
    UINT n = 0;
    for (size_t k = i; k < i + (pair ? 2 : 1); ++k) {
      for (bool up : {false, true}) {
        std::memset(&in[n], 0, sizeof in[n]);
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wScan = static_cast<WORD>(units[k]);
        in[n].ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
        ++n;
      }
    }
    Send(in, n);
    i += pair ? 2 : 1;
  }
}

void KeyDown(UINT vk) {
  const INPUT in = KeyInput(vk, false);
  Send(&in, 1);
}

void KeyUp(UINT vk) {
  const INPUT in = KeyInput(vk, true);
  Send(&in, 1);
}

KeyHeld::KeyHeld(UINT vk) : m_vk(vk) { KeyDown(m_vk); }
KeyHeld::~KeyHeld() { KeyUp(m_vk); }

void ReleaseModifiers() {
  for (UINT vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
    if (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) KeyUp(vk);
}

// --- Mouse ---------------------------------------------------------------------------------

void Click(HWND hEdit, int charIndex) { PostClicks(hEdit, charIndex, false); }

void DoubleClick(HWND hEdit, int charIndex) { PostClicks(hEdit, charIndex, true); }

// --- Edit controls -------------------------------------------------------------------------

std::string Text(HWND hWnd) {
  const int len = GetWindowTextLengthA(hWnd);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  const int got = GetWindowTextA(hWnd, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

KwWString TextW(HWND hWnd) {
  const int len = GetWindowTextLengthW(hWnd);
  KwWString text(static_cast<size_t>(len) + 1, WCHAR(0));
  const int got = GetWindowTextW(hWnd, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

std::pair<int, int> Sel(HWND hEdit) {
  DWORD start = 0, end = 0;
  SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void SetSel(HWND hEdit, int start, int end) {
  SendMessageA(hEdit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Focus(HWND hWnd) {
  SetFocus(hWnd);
  Pump();
}

HWND Focused() { return GetFocus(); }

// --- Clipboard -----------------------------------------------------------------------------

bool SetClipboardText(const std::string& text) {
  if (!OpenClipboardRetrying()) return false;
  bool done = false;
  if (EmptyClipboard()) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (mem) {
      if (char* p = static_cast<char*>(GlobalLock(mem))) {
        std::memcpy(p, text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        done = SetClipboardData(CF_TEXT, mem) != nullptr;
      }
      if (!done) GlobalFree(mem);
    }
  }
  CloseClipboard();
  return done;
}

std::string ClipboardText() {
  if (!OpenClipboardRetrying()) return "";
  std::string text;
  if (IsClipboardFormatAvailable(CF_TEXT)) {
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
        const size_t size = GlobalSize(mem);
        text.assign(p, strnlen(p, size));
        GlobalUnlock(mem);
      }
    }
  }
  CloseClipboard();
  return text;
}

bool ClipboardHasText() {
  if (!OpenClipboardRetrying()) return false;
  const bool has = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  CloseClipboard();
  return has;
}

bool SetClipboardTextW(const KwWString& text) {
  if (!OpenClipboardRetrying()) return false;
  bool done = false;
  if (EmptyClipboard()) {
    const size_t bytes = (text.size() + 1) * sizeof(WCHAR);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (mem) {
      if (void* p = GlobalLock(mem)) {
        std::memcpy(p, text.c_str(), bytes);
        GlobalUnlock(mem);
        done = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
      }
      if (!done) GlobalFree(mem);
    }
  }
  CloseClipboard();
  return done;
}

KwWString ClipboardTextW() {
  if (!OpenClipboardRetrying()) return KwWString();
  KwWString text;
  if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
      if (const WCHAR* p = static_cast<const WCHAR*>(GlobalLock(mem))) {
        const size_t most = GlobalSize(mem) / sizeof(WCHAR);
        size_t n = 0;
        while (n < most && p[n]) ++n;
        text.assign(p, n);
        GlobalUnlock(mem);
      }
    }
  }
  CloseClipboard();
  return text;
}

void EmptyClipboardNow() {
  if (!OpenClipboardRetrying()) return;
  EmptyClipboard();
  CloseClipboard();
}

// --- The platform --------------------------------------------------------------------------

bool OnWine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

// --- Beeps ---------------------------------------------------------------------------------

bool CanInspect() { return kwinspect::Available(); }
int Beeps() { return kwinspect::BeepCount(); }
void ResetBeeps() { kwinspect::ResetBeeps(); }

}  // namespace kwhost
