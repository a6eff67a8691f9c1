// The controls as window classes: any program makes them by class name and drives them with the
// messages of KwMaskEditControls.h.
//
// Each class is a superclass of the platform's edit control: the edit control's class with our
// procedure in front and a pointer more of window data. A window of ours goes through three
// procedures, front to back:
//   FaceProc     answers the KWM_ messages and runs the number control's key filter, which a
//                host of ours runs in its pre-translation walk and a plain program never does;
//   the framework's procedure, which routes the message to the control object's message map;
//   the edit control's own procedure, where the object's Default() ends.
// The object is made at WM_CREATE, after the edit control has made itself, and belongs to the
// window: it is freed when the outermost message of the window returns after WM_NCDESTROY, so a
// window destroyed from inside one of its own notifications frees nothing still in use.
//
// Text. The W messages hand their text to the controls' wide members as it is; the A messages
// convert it through the ANSI code page. The validate procedure and the template matcher speak
// the validator's narrow interface.
#include "controls/KwMaskEditControls.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "core/KwModule.h"
#include "core/KwValidator.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

#ifdef _WIN32
extern "C" IMAGE_DOS_HEADER __ImageBase;
#endif

namespace {

// ---------------------------------------------------------------------------------------------
// Text between the faces

KwWString Wide(const std::string& text) {
  if (text.empty()) return KwWString();
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  KwWString out(static_cast<size_t>(std::max(n, 0)), WCHAR(0));
  if (n > 0)
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string Narrow(const WCHAR* text, size_t length) {
  if (text == nullptr || length == 0) return std::string();
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
  return out;
}

size_t WideLength(const WCHAR* text) {
  size_t n = 0;
  if (text != nullptr)
    while (text[n] != 0) ++n;
  return n;
}

// A message's text in UTF-16: as it is for a W message, through the ANSI code page for an A one.
KwWString WideArg(LPARAM lParam, bool wide) {
  if (lParam == 0) return KwWString();
  if (wide) return KwWString(reinterpret_cast<const WCHAR*>(lParam));
  return Wide(std::string(reinterpret_cast<const char*>(lParam)));
}

// Copies text out as WM_GETTEXT does: at most size - 1 characters and a NUL; the length copied,
// or the length needed without the NUL when there is no buffer. A surrogate pair is never split.
LRESULT CopyOut(const KwWString& w, bool wide, WPARAM size, LPARAM buffer) {
  if (wide) {
    auto* out = reinterpret_cast<WCHAR*>(buffer);
    if (out == nullptr) return static_cast<LRESULT>(w.size());
    if (size == 0) return 0;
    size_t n = std::min<size_t>(w.size(), size - 1);
    if (n > 0 && n < w.size() && w[n - 1] >= 0xD800 && w[n - 1] <= 0xDBFF) --n;
    for (size_t i = 0; i < n; ++i) out[i] = w[i];
    out[n] = 0;
    return static_cast<LRESULT>(n);
  }
  const std::string text = Narrow(w.data(), w.size());
  auto* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr) return static_cast<LRESULT>(text.size());
  if (size == 0) return 0;
  const size_t n = std::min<size_t>(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

// ---------------------------------------------------------------------------------------------
// The validate procedure behind a validator

class ProcValidator;
// The procedure validator each window has, set by KWM_SETVALIDATEPROC.
std::map<HWND, ProcValidator*> g_procValidators;

class ProcValidator : public KwValidator {
 public:
  ProcValidator(KwMaskedEdit* pEdit, HWND hWnd, KWVALIDATEPROC proc, LPARAM user)
      : KwValidator(pEdit), m_hWnd(hWnd), m_proc(proc), m_user(user) {}
  ~ProcValidator() override {
    auto it = g_procValidators.find(m_hWnd);
    if (it != g_procValidators.end() && it->second == this) g_procValidators.erase(it);
  }
  ProcValidator(const ProcValidator&) = delete;
  ProcValidator& operator=(const ProcValidator&) = delete;

  // The procedure gets the data in a buffer with room to correct it, and what it leaves there
  // (cut at the buffer's end) comes back as the data.
  int Validate(std::string& data) override {
    const KwWString given = Wide(data);
    const size_t room = std::max<size_t>(256, 2 * given.size() + 64);
    std::vector<WCHAR> buffer(room + 1, WCHAR(0));  // one more: a NUL the procedure cannot reach
    for (size_t i = 0; i < given.size(); ++i) buffer[i] = given[i];
    KwMaskedEdit* pEdit = GetMaskedEdit();
    HWND hWnd = pEdit != nullptr ? pEdit->GetSafeHwnd() : m_hWnd;
    const int result = m_proc(hWnd, buffer.data(), static_cast<int>(room), m_user);
    buffer[room - 1] = 0;
    const size_t length = WideLength(buffer.data());
    if (KwWString(buffer.data(), length) != given) data = Narrow(buffer.data(), length);
    return result;
  }
  KwValidator* Clone() override {
    return new (std::nothrow) ProcValidator(nullptr, nullptr, m_proc, m_user);
  }

 private:
  HWND m_hWnd;
  KWVALIDATEPROC m_proc;
  LPARAM m_user;
};

// The template matcher for the C functions.
class Matcher : public KwValidator {
 public:
  Matcher() : KwValidator(nullptr) {}
  int Validate(std::string&) override { return 0; }
  KwValidator* Clone() override { return new (std::nothrow) Matcher(); }
  using KwValidator::IsErrMatchTemplate;
};

// ---------------------------------------------------------------------------------------------
// The messages, for a control made either way

template <typename Control>
bool SetPrompt(Control& control, WCHAR ch) {
  control.SetPromptSymbolW(ch);
  return control.GetPromptSymbolW() == ch;
}

LRESULT SetValidateProc(KwMaskedEdit& edit, WPARAM user, LPARAM procValue) {
  HWND hWnd = edit.GetSafeHwnd();
  auto proc = reinterpret_cast<KWVALIDATEPROC>(procValue);
  ProcValidator* made = nullptr;
  if (proc != nullptr) {
    made = new (std::nothrow) ProcValidator(&edit, hWnd, proc, static_cast<LPARAM>(user));
    if (made == nullptr) return FALSE;
  }
  // The procedure validator this window had is ours to free: the control never frees the
  // validator it replaces, and one replaced by the program since is owned by nobody.
  ProcValidator* old = nullptr;
  auto it = g_procValidators.find(hWnd);
  if (it != g_procValidators.end()) {
    old = it->second;
    g_procValidators.erase(it);
  }
  edit.SetValidator(made);
  if (made != nullptr) g_procValidators[hWnd] = made;
  delete old;
  return TRUE;
}

LRESULT SetColor(KwMaskedEdit& edit, WPARAM which, COLORREF color) {
  switch (which) {
    case KWCOLOR_TEXT:
      return edit.SetTextColor(color);
    case KWCOLOR_TEXTFOCUS:
      return edit.SetTextColorFocus(color);
    case KWCOLOR_TEXTWARNING:
      return edit.SetTextColorWarning(color);
    case KWCOLOR_TEXTERROR:
      return edit.SetTextColorError(color);
    case KWCOLOR_BACK:
      return edit.SetBackgroundColor(color);
    case KWCOLOR_BACKFOCUS:
      return edit.SetBackgroundColorFocus(color);
    case KWCOLOR_BACKWARNING:
      return edit.SetBackgroundColorWarning(color);
    case KWCOLOR_BACKERROR:
      return edit.SetBackgroundColorError(color);
    default:
      return FALSE;
  }
}

// Answers a KWM_ message for a control object, whoever made it.
LRESULT KwControlsMessage(KwMaskedEdit& edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* character = dynamic_cast<KwCharacterMaskedEdit*>(&edit);
  auto* number = dynamic_cast<KwNumberMaskedEdit*>(&edit);
  switch (message) {
    case KWM_SETMASKA:
    case KWM_SETMASKW:
      edit.SetMaskW(WideArg(lParam, message == KWM_SETMASKW));
      return TRUE;
    case KWM_GETMASKA:
    case KWM_GETMASKW:
      return CopyOut(edit.GetMaskW(), message == KWM_GETMASKW, wParam, lParam);
    case KWM_GETDATAA:
    case KWM_GETDATAW:
      return CopyOut(edit.GetInputDataW(false), message == KWM_GETDATAW, wParam, lParam);
    case KWM_GETPROMPTEDDATAA:
    case KWM_GETPROMPTEDDATAW:
      return CopyOut(edit.GetInputDataW(true), message == KWM_GETPROMPTEDDATAW, wParam, lParam);
    case KWM_SETDATAA:
    case KWM_SETDATAW:
      edit.SetTextW(WideArg(lParam, message == KWM_SETDATAW));
      return TRUE;
    case KWM_SETPROMPT:
      if (wParam > 0xFFFF) return FALSE;
      if (character != nullptr) return SetPrompt(*character, static_cast<WCHAR>(wParam));
      if (number != nullptr) return SetPrompt(*number, static_cast<WCHAR>(wParam));
      return FALSE;
    case KWM_GETPROMPT:
      if (character != nullptr) return character->GetPromptSymbolW();
      if (number != nullptr) return number->GetPromptSymbolW();
      return 0;
    case KWM_SETINSERTMODE:
      edit.SetInsertMode(wParam != 0);
      return TRUE;
    case KWM_GETINSERTMODE:
      return edit.GetInsertMode() ? TRUE : FALSE;
    case KWM_SETAUTOTAB:
      edit.SetAutoTab(wParam != 0);
      return TRUE;
    case KWM_GETAUTOTAB:
      return edit.GetAutoTab() ? TRUE : FALSE;
    case KWM_GETVALUE: {
      auto* out = reinterpret_cast<double*>(lParam);
      if (out == nullptr) return FALSE;
      double value = 0;
      edit.GetDataNumValue(value);
      *out = value;
      return TRUE;
    }
    case KWM_VALIDATE:
      return edit.OnValidate();
    case KWM_SETSTATE:
      if ((wParam & ~static_cast<WPARAM>(KWSTATE_ALL)) != 0) return FALSE;
      return edit.SetState(static_cast<int>(wParam)) ? TRUE : FALSE;
    case KWM_GETSTATE:
      return edit.GetState();
    case KWM_SETCOLOR:
      return SetColor(edit, wParam, static_cast<COLORREF>(lParam));
    case KWM_SETVALIDATEPROC:
      return SetValidateProc(edit, wParam, lParam);
    case KWM_GETREJECTION: {
      int pos = 0;
      WCHAR ch = 0;
      const int reason = edit.GetLastRejectionW(&pos, &ch);
      if (wParam != 0) *reinterpret_cast<int*>(wParam) = pos;
      if (lParam != 0) *reinterpret_cast<WCHAR*>(lParam) = ch;
      return reason;
    }
    case KWM_SETNOTIFYREJECTIONS:
      edit.SetNotifyRejections(wParam != 0);
      return TRUE;
    case KWM_GETACCVALUEA:
    case KWM_GETACCVALUEW:
      return CopyOut(edit.GetAccessibleValueW(), message == KWM_GETACCVALUEW, wParam, lParam);
    case KWM_GETACCDESCRIPTIONA:
    case KWM_GETACCDESCRIPTIONW:
      return CopyOut(edit.GetAccessibleDescriptionW(), message == KWM_GETACCDESCRIPTIONW, wParam,
                     lParam);
    case KWM_GETACCHELPA:
    case KWM_GETACCHELPW:
      return CopyOut(edit.GetAccessibleHelpW(), message == KWM_GETACCHELPW, wParam, lParam);
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------------------------
// The window classes

enum class Kind { Character, Field, Number };

struct ClassEntry {
  const WCHAR* name;
  Kind kind;
};

const ClassEntry kClasses[] = {{KWC_CHARACTERMASKEDEDITW, Kind::Character},
                               {KWC_FIELDMASKEDEDITW, Kind::Field},
                               {KWC_NUMBERMASKEDEDITW, Kind::Number}};

// The number control of a window of ours runs its key filter in front of its window (FaceProc),
// so a host's pre-translation walk passes it by: the filter runs once either way.
class FaceNumberMaskedEdit : public KwNumberMaskedEdit {
 public:
  using KwNumberMaskedEdit::KwNumberMaskedEdit;
  BOOL PreTranslateMessage(MSG* pMsg) override { return CWnd::PreTranslateMessage(pMsg); }
  BOOL FilterKey(MSG* pMsg) { return KwNumberMaskedEdit::PreTranslateMessage(pMsg); }
};

// Which messages the front procedure may hand straight to the framework's procedure: none (an
// ANSI window, or another procedure behind it, or the window is going), all that only pass
// through, or those but the keys (the number control's filter).
enum class Pass : unsigned char { None, All, NotKeys };

// What a window of ours holds, behind its edit control's window data.
struct Face {
  Kind kind = Kind::Character;
  std::unique_ptr<KwMaskedEdit> edit;  // made at WM_CREATE
  WNDPROC next = nullptr;              // the framework's procedure, behind FaceProc
  WNDPROC nextAnsi = nullptr;          // the same as it is, an ANSI procedure
  Pass pass = Pass::None;              // what FaceProc may hand straight on (PassesThrough)
  int depth = 0;                       // messages of the window now being handled
  bool destroyed = false;              // WM_NCDESTROY has been through
  bool decimalKey = false;             // the keypad's decimal key is down: its character is '.'
  bool spaceDeletes = false;           // a space that deleted a selection: its character goes
};

LRESULT CALLBACK FaceProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC g_editProc = nullptr;  // the edit control's own procedure (its Unicode face)
int g_faceOffset = 0;          // where the Face pointer lies in the window data

HINSTANCE ThisModule() {
#ifdef _WIN32
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
#else
  return nullptr;
#endif
}

// The Face of the window last asked about on this thread: a keystroke's messages go to one
// window, which then needs no look-up of its window data for each. (A window's messages are
// handled on its own thread, where its Face is also freed.)
struct LastSeen {
  HWND wnd = nullptr;
  Face* face = nullptr;
};
thread_local LastSeen t_last;

Face* FaceOf(HWND hWnd) {
  if (hWnd == t_last.wnd && t_last.face != nullptr) return t_last.face;
  Face* face = reinterpret_cast<Face*>(::GetWindowLongPtrW(hWnd, g_faceOffset));
  t_last.wnd = hWnd;
  t_last.face = face;
  return face;
}

void DeleteFace(Face* face) {
  if (t_last.face == face) t_last = LastSeen();
  delete face;
}

KwMaskedEdit* MakeControl(Kind kind, const KwWString& mask) {
  switch (kind) {
    case Kind::Field:
      return new (std::nothrow) KwFieldMaskedEdit(mask);
    case Kind::Number:
      return new (std::nothrow) FaceNumberMaskedEdit(mask);
    default:
      return new (std::nothrow) KwCharacterMaskedEdit(mask.c_str());
  }
}

// The edit control makes itself without a text (the window's name is the mask, not a text);
// then the control object is made, attached behind FaceProc, and shows its empty text.
LRESULT Create(HWND hWnd, Face& face, const CREATESTRUCTW* cs) {
  static const WCHAR kEmpty[] = {0};
  CREATESTRUCTW blank = *cs;
  blank.lpszName = kEmpty;
  if (::CallWindowProcW(g_editProc, hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&blank)) == -1)
    return -1;
  const bool named = cs->lpszName != nullptr && reinterpret_cast<ULONG_PTR>(cs->lpszName) > 0xFFFF;
  const KwWString mask = named ? KwWString(cs->lpszName) : KwWString();
  KwMaskedEdit* edit = MakeControl(face.kind, mask);
  if (edit == nullptr) return -1;
  face.edit.reset(edit);
  // The object's own procedure (Default) is the edit control's; the window's is FaceProc, with
  // the framework's behind it.
  // Given by its ANSI face, as the framework subclasses (it speaks ANSI): the object's own calls
  // of the edit control then go to it unconverted, as a C++-made control's do.
  ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
  ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
  if (!edit->SubclassWindow(hWnd)) {
    face.edit.reset();
    return -1;
  }
  face.next = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
  if (!::IsWindowUnicode(hWnd))
    face.nextAnsi = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
  if (face.nextAnsi == nullptr && face.next == &AfxWndProc)
    face.pass = face.kind == Kind::Number ? Pass::NotKeys : Pass::All;
  ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FaceProc));
  if (cs->style & KWS_OVERWRITE) edit->SetInsertMode(false);
  if (cs->style & KWS_AUTOTAB) edit->SetAutoTab(true);
  if (face.kind != Kind::Character) edit->SetText(std::string());
  return 0;
}

// The number control's key filter, where a host of ours runs it before TranslateMessage: the
// keypad's decimal key types the decimal point, a space over a selection deletes it, and the
// typed characters go through the filter's refusals and replacements.
bool FilterNumberKey(HWND hWnd, Face& face, UINT& message, WPARAM& wParam, LPARAM lParam) {
  auto& number = static_cast<FaceNumberMaskedEdit&>(*face.edit);
  MSG msg{};
  msg.hwnd = hWnd;
  msg.message = message;
  msg.lParam = lParam;
  if (message == WM_KEYDOWN) {
    msg.wParam = wParam;
    const BOOL eaten = number.FilterKey(&msg);
    face.decimalKey = wParam == VK_DECIMAL && msg.wParam != wParam;
    face.spaceDeletes = wParam == VK_SPACE && msg.wParam == VK_DELETE;
    wParam = msg.wParam;
    return eaten != FALSE;
  }
  // WM_CHAR
  if (face.decimalKey) {
    face.decimalKey = false;
    wParam = '.';
    return false;
  }
  if (face.spaceDeletes) {
    face.spaceDeletes = false;
    if (wParam == ' ') return true;
  }
  msg.wParam = wParam;
  if (number.FilterKey(&msg)) return true;
  wParam = msg.wParam;
  return false;
}

// ---------------------------------------------------------------------------------------------
// Colours under any parent
//
// The edit control asks its parent for its colours (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC when
// read-only) while it paints: in WM_PAINT and WM_PRINTCLIENT, and a single-line control at once
// when it gets the focus. A parent of our framework hands the question to the control; any other
// parent knows nothing of it. So while a window of ours paints under such a parent, the parent's
// procedure is lent one of ours: it lets the parent answer first, as it would, and then puts the
// control's colours on the device context and answers with the control's brush; every other
// message goes through to the parent's own procedure untouched. The parent gets its procedure
// back when the paint is over (unless something replaced it meanwhile: then it is left alone).

LRESULT CallNext(HWND hWnd, const Face& face, UINT message, WPARAM wParam, LPARAM lParam);

struct Lending {
  HWND parent;
  HWND child;
  WNDPROC own;  // the parent's procedure, in its own character set
  bool wide;    // the parent is a Unicode window
  Lending* outer;
};

thread_local Lending* t_lendings =
    nullptr;  // the paints now running on this thread, innermost first

LRESULT CALLBACK LentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Lending* lent = t_lendings;
  while (lent != nullptr && lent->parent != hWnd) lent = lent->outer;
  if (lent == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam);
  const LRESULT theirs = lent->wide ? ::CallWindowProcW(lent->own, hWnd, message, wParam, lParam)
                                    : ::CallWindowProcA(lent->own, hWnd, message, wParam, lParam);
  if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return theirs;
  // Which of the windows painting under this parent asks (paints may nest).
  HWND child = reinterpret_cast<HWND>(lParam);
  while (lent != nullptr && (lent->parent != hWnd || lent->child != child)) lent = lent->outer;
  if (lent == nullptr || !::IsWindow(child)) return theirs;
  // The control's answer, by the road a framework parent's reflection takes.
  const LPARAM kind = message == WM_CTLCOLOREDIT ? CTLCOLOR_EDIT : CTLCOLOR_STATIC;
  const LRESULT mine = ::SendMessageW(child, WM_REFLECT_BASE + WM_CTLCOLOR, wParam, kind);
  return mine != 0 ? mine : theirs;
}

bool PaintsNow(UINT message) {
  return message == WM_PAINT || message == WM_PRINTCLIENT || message == WM_SETFOCUS;
}

// Runs one painting message of a window of ours with its parent's procedure lent, where the
// parent needs it.
LRESULT PaintUnderAnyParent(HWND hWnd, Face& face, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = ::GetParent(hWnd);
  if (parent == nullptr || CWnd::FromHandlePermanent(parent) != nullptr)
    return CallNext(hWnd, face, message, wParam, lParam);
  Lending lent{parent, hWnd, nullptr, ::IsWindowUnicode(parent) != FALSE, t_lendings};
  const LONG_PTR lentProc = reinterpret_cast<LONG_PTR>(&LentProc);
  // A parent already lent by an outer paint keeps that lending, which serves this child too.
  bool swapped = false;
  const LONG_PTR current = lent.wide ? ::GetWindowLongPtrW(parent, GWLP_WNDPROC)
                                     : ::GetWindowLongPtrA(parent, GWLP_WNDPROC);
  if (current != lentProc) {
    const LONG_PTR own = lent.wide ? ::SetWindowLongPtrW(parent, GWLP_WNDPROC, lentProc)
                                   : ::SetWindowLongPtrA(parent, GWLP_WNDPROC, lentProc);
    swapped = own != 0;
    lent.own = reinterpret_cast<WNDPROC>(own);
  } else {
    for (const Lending* l = t_lendings; l != nullptr; l = l->outer)
      if (l->parent == parent && l->own != nullptr) lent.own = l->own;
  }
  if (lent.own == nullptr) return CallNext(hWnd, face, message, wParam, lParam);
  t_lendings = &lent;
  const LRESULT result = CallNext(hWnd, face, message, wParam, lParam);
  t_lendings = lent.outer;
  if (swapped && ::IsWindow(parent)) {
    const LONG_PTR now = lent.wide ? ::GetWindowLongPtrW(parent, GWLP_WNDPROC)
                                   : ::GetWindowLongPtrA(parent, GWLP_WNDPROC);
    if (now == lentProc) {
      if (lent.wide)
        ::SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lent.own));
      else
        ::SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lent.own));
    }
  }
  return result;
}

// Messages that read the same in both character sets: neither parameter holds text or a
// character (a typed character of the ASCII range is the same byte in every ANSI code page).
bool SameInBothSets(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CHAR:
      return wParam < 0x80;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_GETDLGCODE:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_KILLFOCUS:
    case WM_SETFOCUS:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_SCROLLCARET:
    case EM_CANUNDO:
    case EM_UNDO:
    case EM_EMPTYUNDOBUFFER:
    case WM_UNDO:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
      return true;
    default:
      return false;
  }
}

// Hands a message on to the framework's procedure: straight, when it reads the same in both
// character sets (the conversion a Unicode window's call of an ANSI procedure makes would change
// nothing and costs a keystroke several per cent), else converted.
LRESULT CallNext(HWND hWnd, const Face& face, UINT message, WPARAM wParam, LPARAM lParam) {
  if (face.pass != Pass::None) return AfxWndProc(hWnd, message, wParam, lParam);
  if (face.nextAnsi != nullptr && SameInBothSets(message, wParam))
    return face.nextAnsi(hWnd, message, wParam, lParam);
  return ::CallWindowProcW(face.next, hWnd, message, wParam, lParam);
}

LRESULT Dispatch(HWND hWnd, Face& face, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= KWM_FIRST && message <= KWM_LAST)
    return KwControlsMessage(*face.edit, message, wParam, lParam);
  if (face.kind == Kind::Number && (message == WM_KEYDOWN || message == WM_CHAR) &&
      FilterNumberKey(hWnd, face, message, wParam, lParam))
    return 0;
  if (PaintsNow(message)) return PaintUnderAnyParent(hWnd, face, message, wParam, lParam);
  return CallNext(hWnd, face, message, wParam, lParam);
}

LRESULT FaceProcOf(Kind kind, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Face* face = FaceOf(hWnd);
  if (face == nullptr) {
    if (message != WM_NCCREATE) return ::CallWindowProcW(g_editProc, hWnd, message, wParam, lParam);
    face = new (std::nothrow) Face();
    if (face == nullptr) return FALSE;
    face->kind = kind;
    CREATESTRUCTW blank = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
    static const WCHAR kEmpty[] = {0};
    blank.lpszName = kEmpty;
    if (!::CallWindowProcW(g_editProc, hWnd, message, wParam, reinterpret_cast<LPARAM>(&blank))) {
      delete face;
      return FALSE;
    }
    ::SetWindowLongPtrW(hWnd, g_faceOffset, reinterpret_cast<LONG_PTR>(face));
    return TRUE;
  }
  if (!face->edit) {
    // Between WM_NCCREATE and WM_CREATE, or a creation that failed.
    if (message == WM_CREATE)
      return Create(hWnd, *face, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    const LRESULT result = ::CallWindowProcW(g_editProc, hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(hWnd, g_faceOffset, 0);
      DeleteFace(face);
    }
    return result;
  }
  ++face->depth;
  const LRESULT result = Dispatch(hWnd, *face, message, wParam, lParam);
  if (message == WM_NCDESTROY) face->destroyed = true, face->pass = Pass::None;
  if (--face->depth == 0 && face->destroyed) DeleteFace(face);
  return result;
}

LRESULT CALLBACK CharacterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return FaceProcOf(Kind::Character, hWnd, message, wParam, lParam);
}
LRESULT CALLBACK FieldProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return FaceProcOf(Kind::Field, hWnd, message, wParam, lParam);
}
LRESULT CALLBACK NumberProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return FaceProcOf(Kind::Number, hWnd, message, wParam, lParam);
}

WNDPROC ClassProc(Kind kind) {
  switch (kind) {
    case Kind::Field:
      return &FieldProc;
    case Kind::Number:
      return &NumberProc;
    default:
      return &CharacterProc;
  }
}

BOOL RegisterAll() {
  static const WCHAR kEdit[] = {'E', 'D', 'I', 'T', 0};
  WNDCLASSEXW edit{};
  edit.cbSize = sizeof edit;
  if (!::GetClassInfoExW(nullptr, kEdit, &edit)) return FALSE;
  g_editProc = edit.lpfnWndProc;
  g_faceOffset = edit.cbWndExtra;
  BOOL all = TRUE;
  for (const ClassEntry& entry : kClasses) {
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(ThisModule(), entry.name, &have)) continue;
    WNDCLASSEXW wc = edit;
    wc.style = edit.style | CS_GLOBALCLASS;
    wc.lpfnWndProc = ClassProc(entry.kind);
    wc.cbWndExtra = edit.cbWndExtra + static_cast<int>(sizeof(Face*));
    wc.hInstance = ThisModule();
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = entry.name;
    if (!::RegisterClassExW(&wc)) all = FALSE;
  }
  return all;
}

// Registers the classes when the library is loaded and takes them back when it is unloaded (on
// Windows the runtime runs this from the DLL's entry, before DllMain).
BOOL ClassMessage(KwMaskedEdit& edit, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT* pResult) {
  if (message < KWM_FIRST || message > KWM_LAST) return FALSE;
  *pResult = KwControlsMessage(edit, message, wParam, lParam);
  return TRUE;
}

struct ClassLifetime {
  ClassLifetime() {
    g_pfnClassMessage = &ClassMessage;
    RegisterAll();
  }
  ~ClassLifetime() {
    g_pfnClassMessage = nullptr;
    for (const ClassEntry& entry : kClasses) ::UnregisterClassW(entry.name, ThisModule());
  }
  ClassLifetime(const ClassLifetime&) = delete;
  ClassLifetime& operator=(const ClassLifetime&) = delete;
};

const ClassLifetime g_classLifetime;

// A message the front procedure only hands on, unchanged, to the framework's: none of ours, no
// painting, not the window's last, and for the number control no key of its filter.
bool PassesThrough(const Face& face, UINT message) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_NCDESTROY:
      return false;
    case WM_KEYDOWN:
    case WM_CHAR:
      return face.pass == Pass::All;
    default:
      return message < KWM_FIRST || message > KWM_LAST;
  }
}

// The front procedure of every window of ours once its object is attached.
// (Set once the Face is made: the kind, which only WM_NCCREATE needs, is the Face's.) Most of a
// keystroke's messages only pass through: those of the window last seen go straight on, and
// nothing of the Face is touched after them, so they need no count of the messages under way
// (a window destroyed inside one frees its Face at WM_NCDESTROY, which the long road takes).
LRESULT CALLBACK FaceProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const LastSeen& last = t_last;
  const Face* face = last.face;
  if (hWnd == last.wnd && face != nullptr && face->pass != Pass::None &&
      PassesThrough(*face, message))
    return AfxWndProc(hWnd, message, wParam, lParam);
  return FaceProcOf(Kind::Character, hWnd, message, wParam, lParam);
}

}  // namespace

extern "C" {

KW_CONTROLS_API BOOL WINAPI KwRegisterControls(void) { return RegisterAll(); }

KW_CONTROLS_API int WINAPI KwMatchTemplateA(CHAR* data, int cchData, const CHAR* templ) {
  if (data == nullptr || templ == nullptr || cchData < 1) return 1;
  std::string text(data, static_cast<size_t>(std::find(data, data + cchData, '\0') - data));
  Matcher matcher;
  const int result = matcher.IsErrMatchTemplate(text, templ);
  const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(cchData) - 1);
  std::memcpy(data, text.data(), n);
  data[n] = '\0';
  return result;
}

KW_CONTROLS_API int WINAPI KwMatchTemplateW(WCHAR* data, int cchData, const WCHAR* templ) {
  if (data == nullptr || templ == nullptr || cchData < 1) return 1;
  const size_t given = static_cast<size_t>(std::find(data, data + cchData, WCHAR(0)) - data);
  std::string text = Narrow(data, given);
  const std::string narrowTempl = Narrow(templ, WideLength(templ));
  Matcher matcher;
  const int result = matcher.IsErrMatchTemplate(text, narrowTempl.c_str());
  const KwWString out = Wide(text);
  size_t n = std::min<size_t>(out.size(), static_cast<size_t>(cchData) - 1);
  for (size_t i = 0; i < n; ++i) data[i] = out[i];
  data[n] = 0;
  return result;
}

}  // extern "C"
