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
    if (GlobalBlock* b = FindBlock(h)) {
      (void)b;
      s.globals.erase(Value(h));
    }
  }
  s.clipData.clear();
}

// A locale string as the ANSI code page (Windows-1252) would carry it.
std::string ToAnsi(const char* text, bool utf8) {
  std::string out;
  if (!text) return out;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    unsigned cp = *p;
    int extra = 0;
    if (utf8 && cp >= 0x80) {
      if ((cp & 0xE0) == 0xC0) {
        cp &= 0x1F;
        extra = 1;
      } else if ((cp & 0xF0) == 0xE0) {
        cp &= 0x0F;
        extra = 2;
      } else if ((cp & 0xF8) == 0xF0) {
        cp &= 0x07;
        extra = 3;
      } else {
        cp = '?';
      }
    }
    ++p;
    for (int i = 0; i < extra && *p; ++i, ++p) cp = (cp << 6) | (*p & 0x3F);
    if (cp < 0x100)
      out += static_cast<char>(cp);
    else if (cp == 0x202F || cp == 0x2009 || cp == 0x2007)
      out += static_cast<char>(0xA0);  // narrow and thin spaces: the no-break space
    else if (cp == 0x2019)
      out += static_cast<char>(0x92);
    else
      out += '?';
  }
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

std::string LocaleValue(LCTYPE type) {
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (!loc) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  std::string value;
  const char* fallback = "";
  if (loc) {
    const char* codeset = nl_langinfo_l(CODESET, loc);
    bool utf8 =
        codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    switch (type) {
      case LOCALE_SDECIMAL:
        value = ToAnsi(nl_langinfo_l(RADIXCHAR, loc), utf8);
        break;
      case LOCALE_STHOUSAND:
        value = ToAnsi(nl_langinfo_l(THOUSEP, loc), utf8);
        break;
      case LOCALE_SMONDECIMALSEP:
        value = ToAnsi(nl_langinfo_l(MON_DECIMAL_POINT, loc), utf8);
        break;
      case LOCALE_SMONTHOUSANDSEP:
        value = ToAnsi(nl_langinfo_l(MON_THOUSANDS_SEP, loc), utf8);
        break;
      case LOCALE_STIME:
        value = ToAnsi(FormatSeparator(nl_langinfo_l(T_FMT, loc)).c_str(), utf8);
        break;
      case LOCALE_SDATE:
        value = ToAnsi(FormatSeparator(nl_langinfo_l(D_FMT, loc)).c_str(), utf8);
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
  if (value.empty()) value = fallback;
  return value;
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
  return it->second;
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
  if (it != s.clipData.end() && it->second != mem) s.globals.erase(Value(it->second));
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

HBRUSH WINAPI GetSysColorBrush(int index) {
  State& s = S();
  auto it = s.sysBrushes.find(index);
  return it == s.sysBrushes.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------------------------
// Kernel.

int WINAPI GetLocaleInfoA(LCID, LCTYPE type, LPSTR data, int cch) {
  State& s = S();
  if (s.localeInfoCallsLeft == 0) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (s.localeInfoCallsLeft > 0) --s.localeInfoCallsLeft;
  type &= ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP);
  switch (type) {
    case LOCALE_SDECIMAL:
    case LOCALE_STHOUSAND:
    case LOCALE_SMONDECIMALSEP:
    case LOCALE_SMONTHOUSANDSEP:
    case LOCALE_STIME:
    case LOCALE_SDATE:
      break;
    default:
      s.lastError = ERROR_INVALID_FLAGS;
      return 0;
  }
  if (cch < 0 || (cch > 0 && !data)) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  std::string value = LocaleValue(type);
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

}  // namespace kwinspect
