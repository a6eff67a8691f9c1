// Simulated clipboard, global memory, GDI, locale and kernel services, and the inspection
// interface for tests.
#include <langinfo.h>
#include <locale.h>
#include <clocale>
#include <cstring>
#include <string>

#include "platform/probe.h"
#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

GlobalBlock* FindBlock(HGLOBAL h) {
  State& s = S();
  auto it = s.globals.find(Value(h));
  return it == s.globals.end() ? nullptr : &it->second;
}

DcState* FindDc(HDC h) {
  State& s = S();
  auto it = s.dcs.find(Value(h));
  return it == s.dcs.end() || it->second.released ? nullptr : &it->second;
}

void FreeClipboardData() {
  State& s = S();
  for (auto& [fmt, h] : s.clipData) {
    if (h && FindBlock(h)) s.globals.erase(Value(h));
  }
  s.clipData.clear();
}

// A block of the system's own (no failure injected), owned by the clipboard.
HGLOBAL ClipboardBlock(const void* data, size_t size) {
  State& s = S();
  GlobalBlock b;
  b.flags = GMEM_MOVEABLE;
  b.data.assign(static_cast<const char*>(data), static_cast<const char*>(data) + size);
  b.ownedByClipboard = true;
  const std::uintptr_t h = s.NewHandle();
  s.globals.emplace(h, std::move(b));
  return MakeHandle<HGLOBAL>(h);
}

// The ANSI code page of the user's (Western) locale: the clipboard's text formats and the
// ANSI locale answers convert through it, even in a process that runs with UTF-8.
constexpr UINT kLocaleCodePage = 1252;

// Makes a format the system offers in place of one a program put there: the text of the other
// text format, every unit of its block converted through the locale's code page and the last
// one made the terminating NUL (so a block without one loses its last character, as on the
// real system); the locale the text was written in.
HANDLE Synthesize(UINT format) {
  State& s = S();
  if (format == CF_LOCALE) {
    const DWORD lcid = 0x0409;
    return s.clipData[format] = ClipboardBlock(&lcid, sizeof lcid);
  }
  const UINT from = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
  auto it = s.clipData.find(from);
  GlobalBlock* src = it == s.clipData.end() ? nullptr : FindBlock(it->second);
  if (!src) return nullptr;
  if (format == CF_TEXT) {
    const size_t units = src->data.size() / sizeof(WCHAR);
    std::string text =
        Narrow(kLocaleCodePage, reinterpret_cast<const WCHAR*>(src->data.data()), units);
    if (text.empty()) text.push_back('\0');
    text.back() = '\0';
    return s.clipData[format] = ClipboardBlock(text.data(), text.size());
  }
  KwWString text = Widen(kLocaleCodePage, src->data.data(), src->data.size());
  if (text.empty()) text.push_back(0);
  text.back() = 0;
  return s.clipData[format] = ClipboardBlock(text.data(), text.size() * sizeof(WCHAR));
}

// A locale string of the C library (in its own codeset) as UTF-16.
KwWString FromLocale(const char* text, bool utf8) {
  if (!text) return KwWString();
  const size_t n = std::strlen(text);
  if (utf8) return Widen(CP_UTF8, text, n);
  KwWString out(n, 0);  // a single-byte codeset: read as Latin-1
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  return out;
}

// The separator between the fields of a time or date format ("%H:%M:%S" gives ':').
std::string FormatSeparator(const char* fmt) {
  if (!fmt) return "";
  for (const char* p = fmt; *p; ++p) {
    if (*p == '%') {
      ++p;
      while (*p && std::strchr("EO-_0^#123456789", *p)) ++p;
      if (!*p) break;
      continue;
    }
    if (*p == ' ') continue;
    return std::string(1, *p);
  }
  return "";
}

KwWString LocaleValue(LCTYPE type) {
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (!loc) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  KwWString value;
  const char* fallback = "";
  if (loc) {
    const char* codeset = nl_langinfo_l(CODESET, loc);
    bool utf8 =
        codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    switch (type) {
      case LOCALE_SDECIMAL:
        value = FromLocale(nl_langinfo_l(RADIXCHAR, loc), utf8);
        break;
      case LOCALE_STHOUSAND:
        value = FromLocale(nl_langinfo_l(THOUSEP, loc), utf8);
        break;
      case LOCALE_SMONDECIMALSEP:
        value = FromLocale(nl_langinfo_l(MON_DECIMAL_POINT, loc), utf8);
        break;
      case LOCALE_SMONTHOUSANDSEP:
        value = FromLocale(nl_langinfo_l(MON_THOUSANDS_SEP, loc), utf8);
        break;
      case LOCALE_STIME:
        value = FromLocale(FormatSeparator(nl_langinfo_l(T_FMT, loc)).c_str(), utf8);
        break;
      case LOCALE_SDATE:
        value = FromLocale(FormatSeparator(nl_langinfo_l(D_FMT, loc)).c_str(), utf8);
        break;
      default:
        break;
    }
    freelocale(loc);
  }
  // Where the locale gives nothing (the "C" locale has no thousands separator), answer as a
  // US-English user locale does.
  switch (type) {
    case LOCALE_SDECIMAL:
    case LOCALE_SMONDECIMALSEP:
      fallback = ".";
      break;
    case LOCALE_STHOUSAND:
    case LOCALE_SMONTHOUSANDSEP:
      fallback = ",";
      break;
    case LOCALE_STIME:
      fallback = ":";
      break;
    case LOCALE_SDATE:
      fallback = "/";
      break;
    default:
      break;
  }
  if (value.empty()) value = FromLocale(fallback, false);
  return value;
}

bool IsSeparator(LCTYPE type) {
  switch (type) {
    case LOCALE_SDECIMAL:
    case LOCALE_STHOUSAND:
    case LOCALE_SMONDECIMALSEP:
    case LOCALE_SMONTHOUSANDSEP:
    case LOCALE_STIME:
    case LOCALE_SDATE:
      return true;
    default:
      return false;
  }
}

// The user's value of a separator: the one set with SetLocaleInfoW, else the process's locale.
KwWString UserValue(LCTYPE type) {
  const State& s = S();
  if (!(type & LOCALE_NOUSEROVERRIDE)) {
    auto it = s.userLocale.find(type & ~static_cast<LCTYPE>(LOCALE_USE_CP_ACP));
    if (it != s.userLocale.end()) return it->second;
  }
  return LocaleValue(type & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP));
}

}  // namespace

}  // namespace kwsim

using namespace kwsim;

// ---------------------------------------------------------------------------------------------
// Clipboard.

BOOL WINAPI OpenClipboard(HWND hWnd) {
  State& s = S();
  if (s.failOpenClipboard) {
    s.failOpenClipboard = false;
    s.lastError = 5;  // ERROR_ACCESS_DENIED
    return FALSE;
  }
  if (hWnd && !Find(hWnd)) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  if (s.clipOpen && s.clipOpenWindow != hWnd) {
    s.lastError = 5;  // ERROR_ACCESS_DENIED: another window has it open
    return FALSE;
  }
  s.clipOpen = true;
  s.clipOpenWindow = hWnd;
  return TRUE;
}

BOOL WINAPI EmptyClipboard(void) {
  State& s = S();
  if (!s.clipOpen) {
    s.lastError = ERROR_CLIPBOARD_NOT_OPEN;
    return FALSE;
  }
  FreeClipboardData();
  s.clipChanged = true;
  s.clipOwner = s.clipOpenWindow;
  return TRUE;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  State& s = S();
  return s.clipData.count(format) ? TRUE : FALSE;
}

HANDLE WINAPI GetClipboardData(UINT format) {
  State& s = S();
  if (!s.clipOpen) {
    s.lastError = ERROR_CLIPBOARD_NOT_OPEN;
    return nullptr;
  }
  auto it = s.clipData.find(format);
  if (it == s.clipData.end()) return nullptr;
  return it->second ? it->second : Synthesize(format);
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE mem) {
  State& s = S();
  if (s.failSetClipboardData) {
    s.failSetClipboardData = false;
    s.lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  if (!s.clipOpen) {
    s.lastError = ERROR_CLIPBOARD_NOT_OPEN;
    return nullptr;
  }
  GlobalBlock* b = FindBlock(mem);
  if (mem && !b) {
    s.lastError = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  auto it = s.clipData.find(format);
  if (it != s.clipData.end() && it->second && it->second != mem) s.globals.erase(Value(it->second));
  s.clipChanged = true;
  if (!mem) {
    s.clipData.erase(format);
    return nullptr;
  }
  b->ownedByClipboard = true;
  s.clipData[format] = mem;
  return mem;
}

BOOL WINAPI CloseClipboard(void) {
  State& s = S();
  if (!s.clipOpen) {
    s.lastError = ERROR_CLIPBOARD_NOT_OPEN;
    return FALSE;
  }
  // What was written in this session is offered in the other text format as well, and with
  // its locale, from now on (made when first read).
  if (s.clipChanged) {
    const bool text = s.clipData.count(CF_TEXT) != 0;
    const bool unicode = s.clipData.count(CF_UNICODETEXT) != 0;
    if (text != unicode) {
      s.clipData.emplace(text ? CF_UNICODETEXT : CF_TEXT, nullptr);
      s.clipData.emplace(CF_LOCALE, nullptr);
    }
  }
  s.clipChanged = false;
  s.clipOpen = false;
  s.clipOpenWindow = nullptr;
  return TRUE;
}

HWND WINAPI GetOpenClipboardWindow(void) {
  State& s = S();
  return s.clipOpen ? s.clipOpenWindow : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Global memory.

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
  State& s = S();
  if (s.failGlobalAlloc) {
    s.failGlobalAlloc = false;
    s.lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  if (bytes > (SIZE_T(1) << 31)) {
    s.lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  GlobalBlock b;
  b.flags = flags;
  b.data.assign(bytes, 0);  // zeroed whether or not GMEM_ZEROINIT was asked for
  std::uintptr_t h = s.NewHandle();
  s.globals.emplace(h, std::move(b));
  return MakeHandle<HGLOBAL>(h);
}

LPVOID WINAPI GlobalLock(HGLOBAL mem) {
  State& s = S();
  GlobalBlock* b = FindBlock(mem);
  if (!b) {
    s.lastError = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  if (s.failGlobalLock) {
    s.failGlobalLock = false;
    s.lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  if (b->data.empty() && (b->flags & GMEM_MOVEABLE)) {
    s.lastError = 157;  // ERROR_DISCARDED: a moveable block of size 0 has no memory
    return nullptr;
  }
  if (b->flags & GMEM_MOVEABLE) b->locks++;
  static char empty[1];
  return b->data.empty() ? empty : b->data.data();
}

BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
  State& s = S();
  GlobalBlock* b = FindBlock(mem);
  if (!b) {
    s.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  if (!(b->flags & GMEM_MOVEABLE)) return TRUE;
  if (b->locks <= 0) {
    s.lastError = ERROR_NOT_LOCKED;
    return FALSE;
  }
  b->locks--;
  if (b->locks == 0) {
    s.lastError = NO_ERROR;
    return FALSE;
  }
  return TRUE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
  State& s = S();
  GlobalBlock* b = FindBlock(mem);
  if (!b) {
    s.lastError = ERROR_INVALID_HANDLE;
    return mem;
  }
  if (b->ownedByClipboard) {
    // Freeing a block the clipboard owns (a fault of the caller) takes its data away.
    for (auto it = s.clipData.begin(); it != s.clipData.end();) {
      if (it->second == mem)
        it = s.clipData.erase(it);
      else
        ++it;
    }
  }
  s.globals.erase(Value(mem));
  return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL mem) {
  State& s = S();
  GlobalBlock* b = FindBlock(mem);
  if (!b) {
    s.lastError = ERROR_INVALID_HANDLE;
    return 0;
  }
  return b->data.size();
}

// ---------------------------------------------------------------------------------------------
// Sound and GDI.

BOOL WINAPI MessageBeep(UINT type) {
  State& s = S();
  s.beepCount++;
  s.lastBeep = type;
  return TRUE;
}

// HideCaret and ShowCaret name the caret's window, or NULL for the caret wherever it is (and
// then succeed without one too); any other window fails.
namespace {
bool NamesCaret(const State& s, HWND hWnd) { return hWnd == nullptr || hWnd == s.caretOwner; }
}  // namespace

BOOL WINAPI HideCaret(HWND hWnd) {
  State& s = S();
  if (!NamesCaret(s, hWnd)) {
    s.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  if (s.caretOwner != nullptr) ++s.caretHidden;
  return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd) {
  State& s = S();
  if (!NamesCaret(s, hWnd)) {
    s.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  if (s.caretHidden > 0) --s.caretHidden;
  return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
  State& s = S();
  if (hWnd && !Find(hWnd)) {
    s.lastError = ERROR_INVALID_WINDOW_HANDLE;
    return nullptr;
  }
  // A released context is handed out again, as the system's cache of common contexts does.
  std::uintptr_t h;
  if (!s.freeDcs.empty()) {
    h = s.freeDcs.back();
    s.freeDcs.pop_back();
  } else {
    h = s.NewHandle();
  }
  DcState& dc = s.dcs[h];
  dc.hwnd = hWnd;
  dc.text = RGB(0, 0, 0);
  dc.bk = RGB(255, 255, 255);
  dc.released = false;
  return MakeHandle<HDC>(h);
}

int WINAPI ReleaseDC(HWND, HDC hDC) {
  State& s = S();
  DcState* dc = FindDc(hDC);
  if (!dc) return 0;
  dc->released = true;
  s.freeDcs.push_back(Value(hDC));
  return 1;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  DcState* dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->text;
  dc->text = color;
  return old;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
  DcState* dc = FindDc(hdc);
  return dc ? dc->text : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  DcState* dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->bk;
  dc->bk = color;
  return old;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
  DcState* dc = FindDc(hdc);
  return dc ? dc->bk : CLR_INVALID;
}

BOOL WINAPI ExtTextOutA(HDC hdc, int, int, UINT, const RECT*, LPCSTR, UINT, const INT*) {
  // Nothing is drawn: the simulation has no pixels (its paint is seen through the colours).
  return FindDc(hdc) ? TRUE : FALSE;
}

int WINAPI FillRect(HDC hDC, const RECT* rc, HBRUSH hbr) {
  State& s = S();
  if (!FindDc(hDC) || !rc) return 0;
  std::uintptr_t v = Value(hbr);
  if (v >= 1 && v <= 31) return 1;  // a system colour index + 1
  return s.brushes.count(v) ? 1 : 0;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  State& s = S();
  if (s.failCreateSolidBrush) {
    s.lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  std::uintptr_t h = s.NewHandle();
  s.brushes[h] = BrushState{color & 0x00FFFFFF, false};
  return MakeHandle<HBRUSH>(h);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  State& s = S();
  auto it = s.brushes.find(Value(ho));
  if (it == s.brushes.end()) return FALSE;
  if (!it->second.stock) s.brushes.erase(it);
  return TRUE;
}

DWORD WINAPI GetSysColor(int index) { return SysColor(index); }

HBRUSH WINAPI GetSysColorBrush(int index) {
  State& s = S();
  auto it = s.sysBrushes.find(index);
  return it == s.sysBrushes.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------------------------
// Kernel.

// A failure made by kwinspect::FailGetLocaleInfoAfter: the calls left are counted down.
static bool LocaleInfoFails(State& s) {
  if (s.localeInfoCallsLeft == 0) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return true;
  }
  if (s.localeInfoCallsLeft > 0) --s.localeInfoCallsLeft;
  return false;
}

// The six separators of the user's locale: natively the process's POSIX locale (LC_NUMERIC,
// LC_MONETARY, LC_TIME), unless the program set its own with SetLocaleInfoW. The ANSI answer is
// the Unicode one through the locale's code page (best fit, else '?'), or through the process's
// with LOCALE_USE_CP_ACP.
int WINAPI GetLocaleInfoW(LCID, LCTYPE type, LPWSTR data, int cch) {
  State& s = S();
  if (LocaleInfoFails(s)) return 0;
  if (!IsSeparator(type & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP))) {
    s.lastError = ERROR_INVALID_FLAGS;
    return 0;
  }
  if (cch < 0 || (cch > 0 && !data)) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  const KwWString value = UserValue(type);
  const int needed = static_cast<int>(value.size()) + 1;
  if (cch == 0) return needed;
  if (cch < needed) {
    s.lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  std::memcpy(data, value.c_str(), static_cast<size_t>(needed) * sizeof(WCHAR));
  return needed;
}

BOOL WINAPI SetLocaleInfoW(LCID, LCTYPE type, LPCWSTR data) {
  State& s = S();
  type &= ~static_cast<LCTYPE>(LOCALE_USE_CP_ACP);
  if (!IsSeparator(type)) {
    s.lastError = ERROR_INVALID_FLAGS;
    return FALSE;
  }
  if (!data) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  s.userLocale[type] = KwWString(data, WideLength(data));
  return TRUE;
}

int WINAPI GetLocaleInfoA(LCID, LCTYPE type, LPSTR data, int cch) {
  State& s = S();
  if (LocaleInfoFails(s)) return 0;
  if (!IsSeparator(type & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP))) {
    s.lastError = ERROR_INVALID_FLAGS;
    return 0;
  }
  if (cch < 0 || (cch > 0 && !data)) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  const KwWString wide = UserValue(type);
  const std::string value =
      Narrow((type & LOCALE_USE_CP_ACP) ? CP_ACP : kLocaleCodePage, wide.data(), wide.size());
  int needed = static_cast<int>(value.size()) + 1;
  if (cch == 0) return needed;
  if (cch < needed) {
    s.lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  std::memcpy(data, value.c_str(), static_cast<size_t>(needed));
  return needed;
}

DWORD WINAPI GetLastError(void) { return S().lastError; }

void WINAPI SetLastError(DWORD code) { S().lastError = code; }

void WINAPI Sleep(DWORD ms) {
  // Nothing else runs on the simulated thread: time passes for GetTickCount only.
  S().sleptMs += ms;
}

DWORD WINAPI GetTickCount(void) { return TickNow(); }

// ---------------------------------------------------------------------------------------------
// Inspection.

namespace kwinspect {

bool Available() { return true; }

int BeepCount() { return S().beepCount; }

UINT LastBeepType() { return S().lastBeep; }

void ResetBeeps() {
  S().beepCount = 0;
  S().lastBeep = 0;
}

int RepaintRequests(HWND hWnd) {
  State& s = S();
  if (!hWnd) {
    int total = 0;
    for (auto& [k, n] : s.repaints) total += n;
    return total;
  }
  auto it = s.repaints.find(Value(hWnd));
  return it == s.repaints.end() ? 0 : it->second;
}

void ResetRepaintRequests() { S().repaints.clear(); }

HWND CaretWindow(bool* hidden) {
  const State& s = S();
  if (hidden != nullptr) *hidden = s.caretOwner != nullptr && s.caretHidden > 0;
  return s.caretOwner;
}

void FailNextOpenClipboard() { S().failOpenClipboard = true; }

void FailNextGlobalAlloc() { S().failGlobalAlloc = true; }

void FailNextGlobalLock() { S().failGlobalLock = true; }

void FailNextSetClipboardData() { S().failSetClipboardData = true; }

void FailCreateSolidBrush(bool fail) { S().failCreateSolidBrush = fail; }

void FailGetLocaleInfoAfter(int calls) { S().localeInfoCallsLeft = calls; }

bool UseAnsiCodePage(UINT codePage) {
  if (codePage != 1252 && codePage != CP_UTF8) return false;
  S().acp = codePage;
  return true;
}

}  // namespace kwinspect
