// Input methods: the thread's one input context, as a program drives it in place of an input
// method (ImmSetCompositionStringW, then ImmNotifyIME completing the composition), with the
// messages the window it belongs to receives, in the order and the form Wine sends them, and
// the default processing that turns a committed string into characters.
#include <algorithm>
#include <cstring>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

// The one context's handle; no input method needs to run for it to work.
constexpr std::uintptr_t kImeContextHandle = 0x1004E;

HIMC ContextHandle() { return reinterpret_cast<HIMC>(kImeContextHandle); }
bool IsContext(HIMC h) { return Value(h) == kImeContextHandle; }

State::ImeContext& Context() { return S().ime; }

// Sends an input-method message to the context's window, as it is (an ANSI window receives the
// UTF-16 unit in wParam of WM_IME_COMPOSITION too). False when the window is gone.
bool SendToContextWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hWnd = Context().hwnd;
  Window* w = Find(hWnd);
  if (!w) return false;
  Deliver(w, hWnd, msg, wParam, lParam, w->unicode);
  return true;
}

// Copies text into a caller's buffer of bufBytes bytes: the bytes it takes when there is no
// buffer, else the bytes copied.
LONG CopyOut(const void* text, size_t bytes, LPVOID buf, DWORD bufBytes) {
  if (!buf || bufBytes == 0) return static_cast<LONG>(bytes);
  const size_t n = std::min<size_t>(bytes, bufBytes);
  std::memcpy(buf, text, n);
  return static_cast<LONG>(n);
}

const KwWString* StringOf(DWORD index) {
  switch (index) {
    case GCS_COMPSTR:
      return &Context().comp;
    case GCS_RESULTSTR:
      return &Context().result;
    default:
      return nullptr;
  }
}

}  // namespace

const KwWString& ImeCompositionString() { return Context().comp; }
const KwWString& ImeResultString() { return Context().result; }

LRESULT ImeDefaultProcessing(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, bool wide) {
  if (msg == WM_IME_CHAR) {
    // The character is posted, not sent: it arrives through the message loop as typed ones do.
    if (wide)
      PostMessageW(hWnd, WM_CHAR, wParam, lParam);
    else
      PostMessageA(hWnd, WM_CHAR, wParam & 0xFF, lParam);
    return 0;
  }
  if (!(lParam & GCS_RESULTSTR)) return 0;
  // A copy: the window's handling of the characters may start another composition.
  const KwWString result = Context().result;
  if (wide) {
    for (WCHAR unit : result) {
      if (!Find(hWnd)) break;
      SendMessageW(hWnd, WM_IME_CHAR, unit, 1);
    }
    return 0;
  }
  const std::string bytes = Narrow(CP_ACP, result.data(), result.size());
  for (char b : bytes) {
    if (!Find(hWnd)) break;
    SendMessageA(hWnd, WM_IME_CHAR, static_cast<unsigned char>(b), 1);
  }
  return 0;
}

}  // namespace kwsim

using namespace kwsim;

// The context a window speaks through: the thread's one context, now belonging to that window
// (with or without the focus); none for no window or a handle that is none.
HIMC WINAPI ImmGetContext(HWND hWnd) {
  if (!hWnd || !Find(hWnd)) return nullptr;
  Context().hwnd = hWnd;
  return ContextHandle();
}

BOOL WINAPI ImmReleaseContext(HWND, HIMC hIMC) { return IsContext(hIMC) ? TRUE : FALSE; }

// A new composition string (SCS_SETSTR; dwCompLen in bytes): the last result is dropped, the
// composition starts if it has not, and the window is told that its string changed.
BOOL WINAPI ImmSetCompositionStringW(HIMC hIMC, DWORD dwIndex, LPVOID lpComp, DWORD dwCompLen,
                                     LPVOID, DWORD) {
  if (!IsContext(hIMC) || dwIndex != SCS_SETSTR) return FALSE;
  State::ImeContext& ctx = Context();
  const auto* comp = static_cast<const WCHAR*>(lpComp);
  if (!comp) dwCompLen = 0;
  KwWString text(comp ? comp : KW_W(""), dwCompLen / sizeof(WCHAR));
  if (!ctx.composing) {
    ctx.composing = true;
    SendToContextWindow(WM_IME_STARTCOMPOSITION, 0, 0);
  }
  ctx.comp = std::move(text);
  ctx.result.clear();
  const WPARAM first = ctx.comp.empty() ? 0 : ctx.comp[0];
  SendToContextWindow(WM_IME_COMPOSITION, first,
                      GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_DELTASTART);
  return TRUE;
}

// Completing the composition commits its string: the window is told that the composition string
// is now empty, then that there is a result (wParam its first unit), then that the composition
// ended; the result stays readable until the next composition. Cancelling drops the string.
// Either succeeds with no composition under way, and then drops the last result.
BOOL WINAPI ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD) {
  if (!IsContext(hIMC) || dwAction != NI_COMPOSITIONSTR) return FALSE;
  State::ImeContext& ctx = Context();
  if (dwIndex != CPS_COMPLETE && dwIndex != CPS_CANCEL) return FALSE;
  if (!ctx.composing) {
    ctx.result.clear();  // the last result is dropped, quietly
    return TRUE;
  }
  const bool commit = dwIndex == CPS_COMPLETE;
  ctx.result = commit ? std::move(ctx.comp) : KwWString();
  ctx.comp.clear();
  SendToContextWindow(WM_IME_COMPOSITION, 0, GCS_COMPSTR);
  if (commit && !ctx.result.empty())
    SendToContextWindow(WM_IME_COMPOSITION, ctx.result[0], GCS_RESULTSTR | GCS_RESULTCLAUSE);
  ctx.composing = false;
  SendToContextWindow(WM_IME_ENDCOMPOSITION, 0, 0);
  return TRUE;
}

// The composition or result string in bytes: UTF-16, or through the ANSI code page.
LONG WINAPI ImmGetCompositionStringW(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen) {
  const KwWString* text = IsContext(hIMC) ? StringOf(dwIndex) : nullptr;
  if (!text) return 0;
  return CopyOut(text->data(), text->size() * sizeof(WCHAR), lpBuf, dwBufLen);
}

LONG WINAPI ImmGetCompositionStringA(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen) {
  const KwWString* text = IsContext(hIMC) ? StringOf(dwIndex) : nullptr;
  if (!text) return 0;
  const std::string bytes = Narrow(CP_ACP, text->data(), text->size());
  return CopyOut(bytes.data(), bytes.size(), lpBuf, dwBufLen);
}
