// CWnd: the handle map, subclassing, message dispatch through the message map chain,
// Default(), reflection of the control-colour message, and the PreTranslateMessage walk.
//
// The framework serves the one user-interface thread that owns the windows: its maps and the
// stack of messages being handled are process-wide and unlocked.
#include "framework/CWnd.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

// The class name or title of a window made by CreateEx, in UTF-16 (through the ANSI code page,
// as CreateWindowExA would read it).
KwWString WidenAnsi(LPCSTR text) {
  if (text == nullptr || *text == '\0') return KwWString();
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 1) return KwWString();
  KwWString out(static_cast<size_t>(n), WCHAR(0));
  ::MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// The platform's default processing, in the window's own character set.
LRESULT DefaultProcOf(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::IsWindowUnicode(hWnd) ? ::DefWindowProcW(hWnd, message, wParam, lParam)
                                 : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A message being handled by a framework window, for Default(). Each lives in the frame of the
// code handling it and points to the message handled around it.
struct CurrentMessage {
  CurrentMessage* pOuter;
  CWnd* pWnd;
  HWND hWnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct FrameworkState {
  // The permanent map's last answers, by handle: a direct-mapped cache in front of it, emptied
  // whenever the map changes.
  struct PermanentHit {
    HWND hWnd = nullptr;
    CWnd* pWnd = nullptr;
  };
  PermanentHit permanentCache[16];
  std::unordered_map<HWND, CWnd*> permanent;  // framework windows, owned by their creators
  std::unordered_map<HWND, CWnd*> temporary;  // wrappers of other windows, owned here
  std::unordered_map<HWND, WNDPROC> supers;   // original procedures of the windows we subclassed
  // The original procedures of the ANSI windows among them, as the A function gives them back:
  // set again with it, the window is an ANSI window again.
  std::unordered_map<HWND, LONG_PTR> ansiSupers;
  CurrentMessage* current = nullptr;  // the innermost message being handled
};

// Never destroyed: windows may still be destroyed (and their messages dispatched) by the
// destructors of static objects after this translation unit's statics are gone. Everything it
// holds stays reachable; the temporary wrappers are freed at exit by TempMapCleaner.
FrameworkState* g_state = nullptr;  // constant-initialised: ready before any constructor runs

__attribute__((noinline)) FrameworkState& CreateState() {
  if (g_state == nullptr) g_state = new FrameworkState;
  return *g_state;
}

inline FrameworkState& State() { return g_state != nullptr ? *g_state : CreateState(); }

void ForgetPermanentHits() {
  for (auto& hit : State().permanentCache) hit = FrameworkState::PermanentHit{};
}

// Which entry of a message map chain handles a message (null: none), found by walking it.
__attribute__((noinline)) const AFX_MSGMAP_ENTRY* WalkMaps(const AFX_MSGMAP* pFirst, UINT message) {
  for (const AFX_MSGMAP* pMap = pFirst; pMap != nullptr;
       pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries;
         pEntry != nullptr && pEntry->pfn != nullptr; ++pEntry) {
      if (pEntry->nMessage == message) return pEntry;
    }
  }
  return nullptr;
}

// The same answer, asked for every message: maps are constant, so the answers of the walk are
// kept, direct-mapped by map and message.
inline const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pFirst, UINT message) {
  struct Hit {
    const AFX_MSGMAP* pMap;
    UINT message;
    const AFX_MSGMAP_ENTRY* pEntry;
  };
  static Hit hits[256];
  Hit& hit = hits[(message ^ (reinterpret_cast<std::uintptr_t>(pFirst) >> 4) * 31) & 255];
  if (hit.pMap == pFirst && hit.message == message) return hit.pEntry;
  const AFX_MSGMAP_ENTRY* found = WalkMaps(pFirst, message);
  hit = Hit{pFirst, message, found};
  return found;
}

struct TempMapCleaner {
  ~TempMapCleaner() { AfxDeleteTempMap(); }
} g_tempMapCleaner;

// Frees the wrappers of windows that no longer exist. Runs only when no message is being
// handled, so no handler can still hold one of them.
void SweepDeadTemporaries() {
  auto& temps = State().temporary;
  for (auto it = temps.begin(); it != temps.end();) {
    if (!::IsWindow(it->first)) {
      CWnd* pWnd = it->second;
      it = temps.erase(it);
      pWnd->m_hWnd = nullptr;
      delete pWnd;
    } else {
      ++it;
    }
  }
}

// Pushes a message on the stack of messages being handled for its lifetime.
class MessageScope {
 public:
  MessageScope(FrameworkState& state, CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam,
               LPARAM lParam)
      : m_state(state), m_message{state.current, pWnd, hWnd, message, wParam, lParam} {
    state.current = &m_message;
  }
  ~MessageScope() { m_state.current = m_message.pOuter; }
  MessageScope(const MessageScope&) = delete;
  MessageScope& operator=(const MessageScope&) = delete;

 private:
  FrameworkState& m_state;
  CurrentMessage m_message;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and the handle map

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
    // The derived parts are gone: the window's last messages reach CWnd's own processing.
    ::DestroyWindow(m_hWnd);
  }
  if (m_hWnd != nullptr) Detach();
  // Every frame still watching this object learns that it is gone.
  for (Alive* pAlive = m_pAlive; pAlive != nullptr; pAlive = pAlive->m_pOuter)
    pAlive->m_pWnd = nullptr;
  m_pAlive = nullptr;
}

namespace {

// A miss of the permanent map's cache: the map itself answers, and the cache keeps the answer.
CWnd* FindPermanent(HWND hWnd) {
  FrameworkState& state = State();
  auto& hit = state.permanentCache[(reinterpret_cast<std::uintptr_t>(hWnd) >> 4) & 15];
  auto it = state.permanent.find(hWnd);
  CWnd* pWnd = it != state.permanent.end() ? it->second : nullptr;
  hit.hWnd = hWnd;
  hit.pWnd = pWnd;
  return pWnd;
}

// FromHandlePermanent, inline where every message asks it.
inline CWnd* LookUpPermanent(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  const auto& hit = State().permanentCache[(reinterpret_cast<std::uintptr_t>(hWnd) >> 4) & 15];
  return hit.hWnd == hWnd ? hit.pWnd : FindPermanent(hWnd);
}

}  // namespace

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return LookUpPermanent(hWnd); }

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
  // A destroyed window has no object; its old wrapper is freed by the next sweep.
  if (!::IsWindow(hWnd)) return nullptr;
  auto& temps = State().temporary;
  auto it = temps.find(hWnd);
  if (it != temps.end()) return it->second;
  CWnd* pWnd = new CWnd;
  pWnd->m_hWnd = hWnd;
  temps.emplace(hWnd, pWnd);
  return pWnd;
}

void AfxDeleteTempMap() {
  auto& temps = State().temporary;
  std::vector<CWnd*> doomed;
  doomed.reserve(temps.size());
  for (auto& entry : temps) doomed.push_back(entry.second);
  temps.clear();
  for (CWnd* pWnd : doomed) {
    pWnd->m_hWnd = nullptr;  // a wrapper never owns its window
    delete pWnd;
  }
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr)
    return FALSE;
  State().permanent[hWndNew] = this;
  ForgetPermanentHits();
  m_hWnd = hWndNew;
  // Attached again to a window the framework subclassed earlier: its original procedure.
  auto& supers = State().supers;
  auto it = supers.find(hWndNew);
  m_pfnSuper = it != supers.end() ? it->second : nullptr;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd != nullptr) {
    auto& perm = State().permanent;
    auto it = perm.find(hWnd);
    if (it != perm.end() && it->second == this) {
      perm.erase(it);
      ForgetPermanentHits();
    }
  }
  m_hWnd = nullptr;
  m_pfnSuper = nullptr;
  return hWnd;
}

// ---------------------------------------------------------------------------------------------
// Creation and subclassing

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
  if (m_hWnd != nullptr || lpszClassName == nullptr) return FALSE;
  // A Unicode window: its messages carry UTF-16 text, and A senders are converted by the system.
  // A class given by its atom stays an atom.
  const bool atom = (reinterpret_cast<ULONG_PTR>(lpszClassName) >> 16) == 0;
  const KwWString className = atom ? KwWString() : WidenAnsi(lpszClassName);
  HWND hWnd = ::CreateWindowExW(dwExStyle,
                                atom ? reinterpret_cast<LPCWSTR>(lpszClassName) : className.c_str(),
                                WidenAnsi(lpszWindowName).c_str(), dwStyle, x, y, nWidth, nHeight,
                                hWndParent, nIDorHMenu, ::GetModuleHandleA(nullptr), lpParam);
  if (hWnd == nullptr) return FALSE;
  // The messages of the creation itself went to the class's procedure; from here on the
  // framework sees them.
  if (!SubclassWindow(hWnd)) {
    ::DestroyWindow(hWnd);
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (hWnd == nullptr || !::IsWindow(hWnd)) return FALSE;
  if (!Attach(hWnd)) return FALSE;
  {
    const Alive alive(this);
    PreSubclassWindow();
    // PreSubclassWindow destroyed or detached the window, or the object went with it.
    if (!alive || m_hWnd != hWnd) return FALSE;
  }
  auto& supers = State().supers;
  auto it = supers.find(hWnd);
  if (it != supers.end()) {
    // Subclassed by the framework before (and detached since): keep the original procedure.
    m_pfnSuper = it->second;
    return TRUE;
  }
  // A window class registered with the framework's procedure: the platform's default
  // processing is the window's own, and the window keeps the character set of its class.
  const bool unicode = ::IsWindowUnicode(hWnd) != FALSE;
  const LONG_PTR current =
      unicode ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
  if (current == reinterpret_cast<LONG_PTR>(&AfxWndProc)) {
    m_pfnSuper = nullptr;
    return TRUE;
  }
  // Subclassed with the W function, the window is a Unicode window from here on: its messages
  // reach the framework in UTF-16, and its own procedure is called through CallWindowProcW,
  // which converts for an A procedure.
  WNDPROC oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (oldProc == nullptr) {
    Detach();
    return FALSE;
  }
  if (!unicode) State().ansiSupers[hWnd] = current;
  m_pfnSuper = oldProc;
  supers[hWnd] = oldProc;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (pParent == nullptr || pParent->m_hWnd == nullptr) return FALSE;
  return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd == nullptr) return nullptr;
  auto& supers = State().supers;
  auto it = supers.find(m_hWnd);
  if (it != supers.end()) {
    auto& ansi = State().ansiSupers;
    auto a = ansi.find(m_hWnd);
    if (a != ansi.end()) {
      ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, a->second);
      ansi.erase(a);
    } else {
      ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second));
    }
    supers.erase(it);
  }
  return Detach();
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  HWND hWnd = m_hWnd;
  const Alive alive(this);
  BOOL bResult = ::DestroyWindow(hWnd);
  // A window attached without subclassing never shows us its WM_NCDESTROY. A modeless window
  // may have deleted its object in PostNcDestroy: then nothing of it is left to touch.
  if (bResult && alive && m_hWnd == hWnd) Detach();
  return bResult;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

// ---------------------------------------------------------------------------------------------
// Window state

void CWnd::SetWindowText(LPCSTR lpszString) {
  ::SetWindowTextA(m_hWnd, lpszString != nullptr ? lpszString : "");
}

void CWnd::GetWindowText(std::string& rString) const {
  rString.clear();
  if (m_hWnd == nullptr) return;
  int nLen = ::GetWindowTextLengthA(m_hWnd);
  if (nLen <= 0) return;
  std::vector<char> buffer(static_cast<size_t>(nLen) + 1, '\0');
  int nGot = ::GetWindowTextA(m_hWnd, buffer.data(), nLen + 1);
  nGot = std::max(0, std::min(nGot, nLen));
  rString.assign(buffer.data(), static_cast<size_t>(nGot));
}

std::string CWnd::GetWindowText() const {
  std::string text;
  GetWindowText(text);
  return text;
}

void CWnd::SetWindowTextW(const WCHAR* lpszString) {
  static const WCHAR empty[1] = {0};
  ::SetWindowTextW(m_hWnd, lpszString != nullptr ? lpszString : empty);
}

void CWnd::GetWindowTextW(KwWString& rString) const {
  rString.clear();
  if (m_hWnd == nullptr) return;
  const int nLen = ::GetWindowTextLengthW(m_hWnd);
  if (nLen <= 0) return;
  rString.resize(static_cast<size_t>(nLen) + 1);
  int nGot = ::GetWindowTextW(m_hWnd, &rString[0], nLen + 1);
  nGot = std::max(0, std::min(nGot, nLen));
  rString.resize(static_cast<size_t>(nGot));
}

KwWString CWnd::GetWindowTextW() const {
  KwWString text;
  GetWindowTextW(text);
  return text;
}

int CWnd::GetWindowTextLengthW() const {
  return m_hWnd != nullptr ? ::GetWindowTextLengthW(m_hWnd) : 0;
}

int CWnd::GetWindowTextLength() const {
  return m_hWnd != nullptr ? ::GetWindowTextLengthA(m_hWnd) : 0;
}

DWORD CWnd::GetStyle() const {
  return m_hWnd != nullptr ? static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)) : 0;
}

DWORD CWnd::GetExStyle() const {
  return m_hWnd != nullptr ? static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)) : 0;
}

int CWnd::GetDlgCtrlID() const { return m_hWnd != nullptr ? ::GetDlgCtrlID(m_hWnd) : 0; }

CWnd* CWnd::GetParent() const {
  return m_hWnd != nullptr ? FromHandle(::GetParent(m_hWnd)) : nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const {
  return m_hWnd != nullptr ? FromHandle(::GetDlgItem(m_hWnd, nID)) : nullptr;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
  if (m_hWnd == nullptr) return nullptr;
  return FromHandle(
      ::GetNextDlgTabItem(m_hWnd, pWndCtl != nullptr ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

// Without a window there is nothing to focus: ::SetFocus(nullptr) would take the focus away.
CWnd* CWnd::SetFocus() { return m_hWnd != nullptr ? FromHandle(::SetFocus(m_hWnd)) : nullptr; }

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }

BOOL CWnd::IsWindowEnabled() const { return m_hWnd != nullptr && ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }

void CWnd::GetClientRect(LPRECT lpRect) const {
  if (lpRect == nullptr) return;
  if (m_hWnd == nullptr || !::GetClientRect(m_hWnd, lpRect)) *lpRect = RECT{0, 0, 0, 0};
}

// Without a window nothing is repainted (a null handle would mean every window).
void CWnd::Invalidate(BOOL bErase) {
  if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::UpdateWindow() {
  if (m_hWnd != nullptr) ::UpdateWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Message processing

const AFX_MSGMAP* PASCAL CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
  return &messageMap;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

// A window we subclassed whose object has let go of it: its own procedure still serves it.
__attribute__((noinline)) LRESULT WithoutObject(HWND hWnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto& supers = State().supers;
  auto it = supers.find(hWnd);
  if (it == supers.end()) return DefaultProcOf(hWnd, message, wParam, lParam);
  WNDPROC pfnSuper = it->second;
  if (message == WM_NCDESTROY) {
    supers.erase(it);
    State().ansiSupers.erase(hWnd);
  }
  return ::CallWindowProcW(pfnSuper, hWnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = LookUpPermanent(hWnd);
  if (pWnd == nullptr || pWnd->m_hWnd != hWnd) return WithoutObject(hWnd, message, wParam, lParam);

  FrameworkState& state = *g_state;  // made when the object was attached
  LRESULT lResult;
  {
    MessageScope scope(state, pWnd, hWnd, message, wParam, lParam);
    const CWnd::Alive alive(pWnd);
    // The last barrier: an exception must never unwind through the platform's frames (a
    // handler out of memory, say). The message is answered 0, as if nobody had handled it.
    try {
      lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
      lResult = 0;
    }
    if (!alive) pWnd = nullptr;  // deleted by a handler: its message is done with it
  }
  if (message == WM_NCDESTROY && pWnd != nullptr) {
    // The window's last message has been through its own procedure: let the object go.
    state.supers.erase(hWnd);
    state.ansiSupers.erase(hWnd);
    if (CWnd::FromHandlePermanent(hWnd) == pWnd) {
      pWnd->Detach();
      pWnd->PostNcDestroy();  // may delete the object
    }
  }
  // The outermost message is done: no handler can still hold a wrapper.
  if (state.current == nullptr && !state.temporary.empty()) SweepDeadTemporaries();
  return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult))
    lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  // The colour message of a framework child goes back to the child first; a brush it answers
  // with is our answer.
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
    CWnd* pChild = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    if (pChild != nullptr && pChild != this) {
      const Alive alive(this);
      const BOOL bTaken = pChild->OnChildNotify(message, wParam, lParam, &lResult);
      // The child's handler may have deleted this window's object: the message is then done.
      if (!alive || (bTaken && lResult != 0)) {
        if (pResult != nullptr) *pResult = alive ? lResult : 0;
        return TRUE;
      }
    }
    lResult = 0;
  }

  const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), message);
  if (pEntry == nullptr) return FALSE;
  lResult = pEntry->pfn(this, wParam, lParam);
  if (pResult != nullptr) *pResult = lResult;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return DefaultProcOf(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::CallOwnProc(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  // The innermost message this object is handling for its window; handlers nest when they
  // send their own window messages (SetWindowText inside a key handler, for instance).
  if (m_hWnd == nullptr) return 0;
  for (const CurrentMessage* m = State().current; m != nullptr; m = m->pOuter) {
    if (m->pWnd == this && m->hWnd == m_hWnd)
      return DefWindowProc(m->message, m->wParam, m->lParam);
  }
  return 0;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT* pResult) {
  if (m_hWnd == nullptr) return FALSE;
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
    // Reflected as WM_REFLECT_BASE + WM_CTLCOLOR: wParam the device context, lParam the kind.
    const UINT reflected = WM_REFLECT_BASE + WM_CTLCOLOR;
    const LPARAM nCtlType = message == WM_CTLCOLOREDIT ? CTLCOLOR_EDIT : CTLCOLOR_STATIC;
    // The reflected message is one this object handles: Default() inside the handler must
    // refer to it, not to whatever message the child was handling when it asked for colours.
    MessageScope scope(State(), this, m_hWnd, reflected, wParam, nCtlType);
    return OnWndMsg(reflected, wParam, nCtlType, pResult);
  }
  return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG* /*pMsg*/) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  if (pMsg == nullptr) return FALSE;
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr && hWnd != hWndStop; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = LookUpPermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
  }
  return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg) { return CWnd::WalkPreTranslateTree(nullptr, pMsg); }
