// Windows of both character sets: a window procedure has an ANSI face, a Unicode face or both;
// a message whose sender speaks the other character set than the procedure has its text
// converted on the way in and back (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, EM_REPLACESEL, the
// creation messages through the ANSI code page; WM_CHAR through the keyboard's code page), and
// GetWindowLongPtr answers a handle for a face the procedure lacks, which CallWindowProc
// understands.
#include <cstring>
#include <memory>
#include <vector>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

bool IsProcHandle(std::uintptr_t v) {
  return v >= kProcHandleBase && v < kProcHandleBase + S().procHandles.size();
}

LONG_PTR HandleFor(WNDPROC procA, WNDPROC procW) {
  State& s = S();
  for (size_t i = 0; i < s.procHandles.size(); ++i)
    if (s.procHandles[i].first == procA && s.procHandles[i].second == procW)
      return static_cast<LONG_PTR>(kProcHandleBase + i);
  s.procHandles.emplace_back(procA, procW);
  return static_cast<LONG_PTR>(kProcHandleBase + s.procHandles.size() - 1);
}

// CREATESTRUCTA and CREATESTRUCTW differ in the types of their two names only.
template <typename To, typename From, typename Text>
To ConvertCreate(const From& from, const Text& name, const Text& cls, bool nameIsText,
                 bool classIsText) {
  To to;
  std::memcpy(static_cast<void*>(&to), &from, sizeof to);
  if (nameIsText) to.lpszName = name.c_str();
  if (classIsText) to.lpszClass = cls.c_str();
  return to;
}

bool IsText(const void* p) { return Value(p) >= 0x10000; }

// The scratch buffers of one level of nested conversions, for as long as its message runs.
class Lease {
 public:
  Lease() : m_state(S()) {
    if (m_state.scratchDepth == m_state.scratch.size())
      m_state.scratch.push_back(std::make_unique<State::Scratch>());
    m_scratch = m_state.scratch[m_state.scratchDepth++].get();
  }
  ~Lease() { --m_state.scratchDepth; }
  Lease(const Lease&) = delete;
  Lease& operator=(const Lease&) = delete;
  State::Scratch* operator->() { return m_scratch; }

 private:
  State& m_state;
  State::Scratch* m_scratch;
};

}  // namespace

bool NeedsConversion(UINT msg) {
  switch (msg) {
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_IME_CHAR:
    case EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

LRESULT CallConverted(WNDPROC proc, bool wide, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // wide: a UTF-16 message for an ANSI procedure; otherwise the other way round.
  switch (msg) {
    case WM_NCCREATE:
    case WM_CREATE: {
      if (!lParam) break;
      if (wide) {
        const auto& cs = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const bool n = IsText(cs.lpszName) && cs.lpszName, c = IsText(cs.lpszClass);
        const std::string name = n ? Narrow(CP_ACP, cs.lpszName, WideLength(cs.lpszName)) : "";
        const std::string cls = c ? Narrow(CP_ACP, cs.lpszClass, WideLength(cs.lpszClass)) : "";
        CREATESTRUCTA a = ConvertCreate<CREATESTRUCTA>(cs, name, cls, n, c);
        return proc(hWnd, msg, wParam, reinterpret_cast<LPARAM>(&a));
      }
      const auto& cs = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
      const bool n = IsText(cs.lpszName) && cs.lpszName, c = IsText(cs.lpszClass);
      const KwWString name = n ? Widen(CP_ACP, cs.lpszName, std::strlen(cs.lpszName)) : KwWString();
      const KwWString cls =
          c ? Widen(CP_ACP, cs.lpszClass, std::strlen(cs.lpszClass)) : KwWString();
      CREATESTRUCTW w = ConvertCreate<CREATESTRUCTW>(cs, name, cls, n, c);
      return proc(hWnd, msg, wParam, reinterpret_cast<LPARAM>(&w));
    }
    case WM_SETTEXT:
    case EM_REPLACESEL: {
      if (!lParam) break;
      Lease scratch;
      if (wide) {
        const auto* text = reinterpret_cast<const WCHAR*>(lParam);
        NarrowInto(CP_ACP, text, WideLength(text), scratch->narrow);
        return proc(hWnd, msg, wParam, reinterpret_cast<LPARAM>(scratch->narrow.c_str()));
      }
      const auto* text = reinterpret_cast<const char*>(lParam);
      WidenInto(CP_ACP, text, std::strlen(text), scratch->wide);
      return proc(hWnd, msg, wParam, reinterpret_cast<LPARAM>(scratch->wide.c_str()));
    }
    case WM_GETTEXT: {
      // The procedure gets a buffer of as many of its own units as the caller gave; its text
      // comes back converted and cut to the caller's buffer.
      if (!lParam || wParam == 0) return 0;
      const size_t room = wParam - 1;
      Lease scratch;
      if (wide) {
        scratch->narrow.assign(wParam, '\0');
        LRESULT got = proc(hWnd, msg, wParam, reinterpret_cast<LPARAM>(&scratch->narrow[0]));
        const size_t n = got > 0 ? std::min(static_cast<size_t>(got), room) : 0;
        WidenInto(CP_ACP, scratch->narrow.data(), n, scratch->wide);
        const size_t k = std::min(scratch->wide.size(), room);
        auto* out = reinterpret_cast<WCHAR*>(lParam);
        std::memcpy(out, scratch->wide.data(), k * sizeof(WCHAR));
        out[k] = 0;
        return static_cast<LRESULT>(k);
      }
      scratch->wide.assign(wParam, 0);
      LRESULT got = proc(hWnd, msg, wParam, reinterpret_cast<LPARAM>(&scratch->wide[0]));
      const size_t n = got > 0 ? std::min(static_cast<size_t>(got), room) : 0;
      auto* out = reinterpret_cast<char*>(lParam);
      const size_t k = NarrowToBuffer(CP_ACP, scratch->wide.data(), n, out, room);
      out[k] = '\0';
      return static_cast<LRESULT>(k);
    }
    case WM_GETTEXTLENGTH: {
      // An ANSI caller is told the exact length of the converted text: the Unicode procedure
      // is asked for its length, then for its text. A Unicode caller gets the ANSI length, an
      // upper bound of its own (as the platform documents).
      const LRESULT units = proc(hWnd, msg, wParam, lParam);
      if (wide || units <= 0) return units;
      Lease scratch;
      scratch->wide.assign(static_cast<size_t>(units) + 1, 0);
      LRESULT got =
          proc(hWnd, WM_GETTEXT, scratch->wide.size(), reinterpret_cast<LPARAM>(&scratch->wide[0]));
      const size_t n = got > 0 ? std::min(static_cast<size_t>(got), scratch->wide.size() - 1) : 0;
      return static_cast<LRESULT>(NarrowLength(CP_ACP, scratch->wide.data(), n));
    }
    case WM_CHAR:
    case WM_SYSCHAR:
      return proc(hWnd, msg, wide ? KeyCharToAnsi(wParam) : KeyCharToWide(wParam), lParam);
    case WM_IME_CHAR: {
      // An input method's character through the ANSI code page, best fit or '?'.
      if (wide) {
        const WCHAR unit = static_cast<WCHAR>(wParam);
        const std::string bytes = Narrow(CP_ACP, &unit, 1);
        return proc(hWnd, msg, bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]), lParam);
      }
      const char byte = static_cast<char>(wParam & 0xFF);
      const KwWString units = Widen(CP_ACP, &byte, 1);
      return proc(hWnd, msg, units.empty() ? 0 : units[0], lParam);
    }
    default:
      break;
  }
  return proc(hWnd, msg, wParam, lParam);
}

LRESULT CallProcValue(WNDPROC proc, bool wide, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::uintptr_t v = Value(reinterpret_cast<const void*>(proc));
  if (!IsProcHandle(v)) return proc ? proc(hWnd, msg, wParam, lParam) : 0;
  const auto [procA, procW] = S().procHandles[v - kProcHandleBase];
  if (WNDPROC face = wide ? procW : procA) return face(hWnd, msg, wParam, lParam);
  WNDPROC other = wide ? procA : procW;
  if (!NeedsConversion(msg)) return other(hWnd, msg, wParam, lParam);
  return CallConverted(other, wide, hWnd, msg, wParam, lParam);
}

LONG_PTR ProcHandle(WNDPROC procA, WNDPROC procW) { return HandleFor(procA, procW); }

LONG_PTR ProcFace(const Window* w, bool wide) {
  if (wide == w->unicode) return reinterpret_cast<LONG_PTR>(w->proc);
  return HandleFor(w->procA, w->procW);
}

void SetProcs(Window* w, WNDPROC procA, WNDPROC procW, bool unicode) {
  w->procA = procA;
  w->procW = procW;
  w->unicode = unicode;
  w->proc = unicode ? procW : procA;
}

void SetProcFace(Window* w, LONG_PTR value, bool wide) {
  const std::uintptr_t v = static_cast<std::uintptr_t>(value);
  if (IsProcHandle(v)) {
    // A handle brings back the procedure it stands for; the window keeps the setter's
    // character set where that procedure has that face.
    const auto [procA, procW] = S().procHandles[v - kProcHandleBase];
    SetProcs(w, procA, procW, wide ? procW != nullptr : procA == nullptr);
    return;
  }
  WNDPROC proc = reinterpret_cast<WNDPROC>(value);
  // The system's edit control set back by either face has both again: a Unicode sender reaches
  // its Unicode face unconverted, in an ANSI window too.
  if (proc == EditWndProcA || proc == EditWndProcW) {
    SetProcs(w, EditWndProcA, EditWndProcW, wide);
    return;
  }
  if (wide)
    SetProcs(w, nullptr, proc, true);
  else
    SetProcs(w, proc, nullptr, false);
}

}  // namespace kwsim

using namespace kwsim;

BOOL WINAPI IsWindowUnicode(HWND hWnd) {
  const Window* w = Find(hWnd);
  return w && w->unicode ? TRUE : FALSE;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallProcValue(proc, false, hWnd, msg, wParam, lParam);
}

LRESULT WINAPI CallWindowProcW(WNDPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallProcValue(proc, true, hWnd, msg, wParam, lParam);
}
