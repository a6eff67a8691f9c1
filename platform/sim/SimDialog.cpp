// Dialog boxes built from in-memory templates, the dialog box's default procedure, and the two
// predefined classes a dialog of labels, edit controls and OK/Cancel needs: "Button" (push
// buttons, one of them the default) and "Static" (labels).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

// --- Buttons and labels -------------------------------------------------------------------------

void Clicked(HWND hWnd) {
  const Window* w = Find(hWnd);
  if (!w || !(w->style & WS_CHILD) || !w->parent) return;
  SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->ctrlId), BN_CLICKED),
               reinterpret_cast<LPARAM>(hWnd));
}

LRESULT ButtonProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, bool wide) {
  Window* w = Find(hWnd);
  if (!w) return 0;
  switch (msg) {
    case WM_GETDLGCODE:
      switch (w->style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
          return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
          return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        default:
          return DLGC_BUTTON;
      }
    case BM_SETSTYLE:
      w->style = (w->style & ~static_cast<DWORD>(BS_TYPEMASK)) | (wParam & BS_TYPEMASK);
      if (lParam) Invalidate(hWnd);
      return 0;
    case BM_CLICK:
      Clicked(hWnd);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) w->buttonDown = true;
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && w->buttonDown) {
        w->buttonDown = false;
        Clicked(hWnd);
      }
      return 0;
    case WM_LBUTTONDOWN:
      w->buttonDown = true;
      SetFocus(hWnd);
      return 0;
    case WM_LBUTTONUP:
      if (w->buttonDown) {
        w->buttonDown = false;
        Clicked(hWnd);
      }
      return 0;
    case WM_KILLFOCUS:
      w->buttonDown = false;
      Invalidate(hWnd);
      return 0;
    case WM_SETFOCUS:
    case WM_ENABLE:
      Invalidate(hWnd);
      return 0;
    default:
      return wide ? DefWindowProcW(hWnd, msg, wParam, lParam)
                  : DefWindowProcA(hWnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK ButtonProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ButtonProc(hWnd, msg, wParam, lParam, false);
}
LRESULT CALLBACK ButtonProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ButtonProc(hWnd, msg, wParam, lParam, true);
}

LRESULT CALLBACK StaticProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETDLGCODE) return DLGC_STATIC;
  return DefWindowProcA(hWnd, msg, wParam, lParam);
}
LRESULT CALLBACK StaticProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETDLGCODE) return DLGC_STATIC;
  return DefWindowProcW(hWnd, msg, wParam, lParam);
}

// --- The dialog box's default procedure ---------------------------------------------------------

LRESULT DialogCode(HWND hWnd) { return hWnd ? SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) : 0; }

// The child that shows itself as the default push button.
HWND FindDefButton(HWND hDlg) {
  const Window* d = Find(hDlg);
  if (!d) return nullptr;
  const std::vector<HWND> kids = d->children;
  for (HWND c : kids)
    if (DialogCode(c) & DLGC_DEFPUSHBUTTON) return c;
  return nullptr;
}

// A push button that takes the focus becomes the one default push button, and the dialog's
// default identifier (Enter clicks it); the focus moving to any other control leaves the default
// where it is.
void MoveDefButton(HWND hDlg, HWND focus) {
  const LRESULT code = focus ? DialogCode(focus) : 0;
  if (!(code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON))) return;
  if (code & DLGC_UNDEFPUSHBUTTON) {
    if (HWND old = FindDefButton(hDlg)) SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageW(focus, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  if (Window* d = Find(hDlg))
    if (d->dialog) d->dialog->defId = static_cast<WORD>(GetDlgCtrlID(focus));
}

// The dialog manager's focus move: an edit control's whole text is selected as it gets it.
void SetDialogFocus(HWND hDlg, HWND ctl) {
  if (!ctl) return;
  if (DialogCode(ctl) & DLGC_HASSETSEL) SendMessageW(ctl, EM_SETSEL, 0, -1);
  MoveDefButton(hDlg, ctl);
  SetFocus(ctl);
}

bool AnswersItself(UINT msg) {
  switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

// The dialog procedure first; what it leaves (returns FALSE) gets the dialog's own processing,
// then the default window procedure's. A message it handles answers its own value for the few
// messages that have one and DWLP_MSGRESULT otherwise.
LRESULT DefDlgProcOf(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam, bool wide) {
  Window* w = Find(hDlg);
  if (!w) return 0;
  if (w->dialog && w->dialog->proc) {
    if (w->extra.size() >= sizeof(LRESULT))
      std::memset(w->extra.data() + DWLP_MSGRESULT, 0, sizeof(LRESULT));
    const INT_PTR handled = w->dialog->proc(hDlg, msg, wParam, lParam);
    w = Find(hDlg);
    if (!w) return handled;
    if (handled) {
      if (AnswersItself(msg) || w->extra.size() < sizeof(LRESULT)) return handled;
      LRESULT result;
      std::memcpy(&result, w->extra.data() + DWLP_MSGRESULT, sizeof result);
      return result;
    }
  }
  DialogState* d = w->dialog.get();
  switch (msg) {
    case DM_GETDEFID:
      if (!d || d->ended) return 0;
      if (d->defId) return MAKELONG(d->defId, DC_HASDEFID);
      if (HWND def = FindDefButton(hDlg)) return MAKELONG(GetDlgCtrlID(def), DC_HASDEFID);
      return 0;
    case DM_SETDEFID:
      if (!d) return FALSE;
      if (HWND old = FindDefButton(hDlg)) SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      d->defId = static_cast<WORD>(wParam);
      if (HWND now = GetDlgItem(hDlg, static_cast<int>(wParam)))
        if (DialogCode(now) & DLGC_UNDEFPUSHBUTTON)
          SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      return TRUE;
    case WM_NEXTDLGCTL: {
      // lParam set: wParam is the control; else wParam says backwards from the focus.
      HWND to = lParam ? reinterpret_cast<HWND>(wParam)
                       : GetNextDlgTabItem(hDlg, GetFocus(), wParam ? TRUE : FALSE);
      SetDialogFocus(hDlg, to);
      return 0;
    }
    case WM_SETFOCUS:
      // The dialog passes the focus on to its first control.
      if (HWND first = GetNextDlgTabItem(hDlg, nullptr, FALSE)) SetDialogFocus(hDlg, first);
      return 0;
    case WM_CLOSE:
      if (d && !d->ended) {
        HWND cancel = GetDlgItem(hDlg, IDCANCEL);
        if (!cancel || IsWindowEnabled(cancel))
          PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    default:
      return wide ? DefWindowProcW(hDlg, msg, wParam, lParam)
                  : DefWindowProcA(hDlg, msg, wParam, lParam);
  }
}

// --- Templates ----------------------------------------------------------------------------------

// Reads a template front to back: WORDs, DWORDs, names (a string, an ordinal, or nothing).
struct Reader {
  const unsigned char* p;
  WORD Word() {
    WORD v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
  }
  DWORD Dword() {
    DWORD v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
  }
  short Short() { return static_cast<short>(Word()); }
  // A name: 0 for none, 0xFFFF and an ordinal, or a NUL-terminated UTF-16 string.
  void Name(KwWString& text, WORD& ordinal) {
    text.clear();
    ordinal = 0;
    WORD first = Word();
    if (first == 0xFFFF) {
      ordinal = Word();
      return;
    }
    for (WORD c = first; c != 0; c = Word()) text.push_back(static_cast<WCHAR>(c));
  }
  void AlignDword(const unsigned char* base) {
    const size_t off = static_cast<size_t>(p - base);
    p += (4 - off % 4) % 4;
  }
};

struct ItemTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0;
  KwWString className;
  KwWString title;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  KwWString className;
  KwWString title;
  std::vector<ItemTemplate> items;
};

// The predefined classes a template names by ordinal.
KwWString ClassOfOrdinal(WORD ordinal) {
  static const char* const kNames[] = {"Button",  "Edit",      "Static",
                                       "ListBox", "ScrollBar", "ComboBox"};
  KwWString name;
  if (ordinal >= 0x80 && ordinal <= 0x85)
    for (const char* c = kNames[ordinal - 0x80]; *c; ++c) name.push_back(static_cast<WCHAR>(*c));
  return name;
}

// Both forms: DLGTEMPLATE, and the extended one (version 1, signature 0xFFFF) with a help
// identifier and DWORD item identifiers.
DialogTemplate Parse(const void* data) {
  DialogTemplate t;
  const auto* base = static_cast<const unsigned char*>(data);
  Reader r{base};
  bool extended = false;
  if (r.Word() == 1 && r.Word() == 0xFFFF) {
    extended = true;
    r.Dword();  // help identifier
    t.exStyle = r.Dword();
    t.style = r.Dword();
  } else {
    r.p = base;
    t.style = r.Dword();
    t.exStyle = r.Dword();
  }
  const WORD count = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  WORD ordinal = 0;
  KwWString ignored;
  r.Name(ignored, ordinal);  // menu
  r.Name(t.className, ordinal);
  r.Name(t.title, ordinal);
  if (t.style & DS_SETFONT) {
    r.Word();  // point size
    if (extended) {
      r.Word();  // weight
      r.Word();  // italic, character set
    }
    r.Name(ignored, ordinal);  // typeface
  }
  for (WORD i = 0; i < count; ++i) {
    r.AlignDword(base);
    ItemTemplate item;
    if (extended) {
      r.Dword();  // help identifier
      item.exStyle = r.Dword();
      item.style = r.Dword();
    } else {
      item.style = r.Dword();
      item.exStyle = r.Dword();
    }
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = extended ? static_cast<WORD>(r.Dword()) : r.Word();
    r.Name(item.className, ordinal);
    if (item.className.empty()) item.className = ClassOfOrdinal(ordinal);
    r.Name(item.title, ordinal);  // an ordinal title (an icon's resource) shows no text
    const WORD extra = r.Word();
    r.p += extra;
    t.items.push_back(std::move(item));
  }
  return t;
}

// Dialog units to pixels, by the simulation's character cell: four horizontal units to a
// character's width, eight vertical ones to its height.
int PixelsX(short units) { return units * kCharWidth / 4; }
int PixelsY(short units) { return units * kCharHeight / 8; }

HWND CreateOf(bool wide, HWND parent, const KwWString& className, const KwWString& title,
              DWORD style, DWORD exStyle, int x, int y, int cx, int cy, HMENU menu,
              HINSTANCE instance) {
  static const WCHAR kDialogClass[] = {'#', '3', '2', '7', '7', '0', 0};
  const WCHAR* cls = className.empty() ? kDialogClass : className.c_str();
  if (wide)
    return CreateWindowExW(exStyle, cls, title.c_str(), style, x, y, cx, cy, parent, menu, instance,
                           nullptr);
  const std::string clsA = Narrow(CP_ACP, cls, WideLength(cls));
  const std::string titleA = Narrow(CP_ACP, title.data(), title.size());
  return CreateWindowExA(exStyle, clsA.c_str(), titleA.c_str(), style, x, y, cx, cy, parent, menu,
                         instance, nullptr);
}

// Creates the dialog and its controls, sends WM_INITDIALOG and gives the focus to the first
// control when the procedure asks for it. A modal dialog stays hidden: its loop shows it.
HWND CreateDialogOf(bool wide, bool modal, HINSTANCE instance, const void* data, HWND owner,
                    DLGPROC proc, LPARAM param) {
  if (!data) {
    S().lastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const DialogTemplate t = Parse(data);
  const DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
  HWND hDlg = CreateOf(wide, owner, t.className, t.title, style, t.exStyle, PixelsX(t.x),
                       PixelsY(t.y), PixelsX(t.cx), PixelsY(t.cy), nullptr, instance);
  Window* w = Find(hDlg);
  if (!w) return nullptr;
  w->dialog = std::make_unique<DialogState>();
  w->dialog->proc = proc;
  if (w->extra.size() >= DWLP_DLGPROC + sizeof(LONG_PTR)) {
    const LONG_PTR value = reinterpret_cast<LONG_PTR>(proc);
    std::memcpy(w->extra.data() + DWLP_DLGPROC, &value, sizeof value);
  }
  HWND defButton = nullptr;
  for (const ItemTemplate& item : t.items) {
    HWND ctl = CreateOf(wide, hDlg, item.className, item.title, item.style | WS_CHILD, item.exStyle,
                        PixelsX(item.x), PixelsY(item.y), PixelsX(item.cx), PixelsY(item.cy),
                        MakeHandle<HMENU>(item.id), instance);
    if (!Find(hDlg)) return nullptr;
    if (!ctl) {
      DestroyWindow(hDlg);
      return nullptr;
    }
    // The last default push button of the template is the one.
    if (DialogCode(ctl) & DLGC_DEFPUSHBUTTON) {
      if (defButton) SendMessageW(defButton, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
      defButton = ctl;
      if (Window* d = Find(hDlg)) d->dialog->defId = item.id;
    }
  }
  HWND first = GetNextDlgTabItem(hDlg, nullptr, FALSE);
  const LRESULT focus = SendMessageW(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!Find(hDlg)) return nullptr;
  if (focus) {
    first = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    SetDialogFocus(hDlg, first);
    if (!Find(hDlg)) return nullptr;
  }
  if (!modal && (t.style & WS_VISIBLE)) ShowWindow(hDlg, SW_SHOWNORMAL);
  return Find(hDlg) ? hDlg : nullptr;
}

// The modal loop: the dialog is shown when the queue first runs dry (or after its first
// WM_TIMER), and each message goes through the dialog manager until EndDialog; a message for
// another window, which the dialog manager leaves, is translated and dispatched. When the queue
// is empty the loop waits, which on the one simulated thread only a timer can end: a dialog still
// open with no timer left would wait forever, so it ends there with -1.
INT_PTR DialogBoxOf(bool wide, HINSTANCE instance, const void* data, HWND owner, DLGPROC proc,
                    LPARAM param) {
  if (owner && !Find(owner)) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return -1;
  }
  HWND disabled = nullptr;
  if (owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    disabled = owner;
  }
  HWND hDlg = CreateDialogOf(wide, true, instance, data, owner, proc, param);
  if (!hDlg) {
    if (disabled && Find(disabled)) EnableWindow(disabled, TRUE);
    return -1;
  }
  Find(hDlg)->dialog->disabledOwner = disabled;
  bool shown = false;
  INT_PTR result = -1;
  for (;;) {
    Window* w = Find(hDlg);
    if (!w) return 0;
    if (w->dialog->ended) {
      result = w->dialog->result;
      break;
    }
    MSG msg;
    if (!(wide ? PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)
               : PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))) {
      if (!shown) {
        shown = true;
        ShowWindow(hDlg, SW_SHOWNORMAL);
        continue;
      }
      if (WaitForTimer(nullptr)) continue;
      break;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!(wide ? IsDialogMessageW(hDlg, &msg) : IsDialogMessageA(hDlg, &msg))) {
      TranslateMessage(&msg);
      wide ? DispatchMessageW(&msg) : DispatchMessageA(&msg);
    }
    if (!shown && msg.message == WM_TIMER && Find(hDlg) && !Find(hDlg)->dialog->ended) {
      shown = true;
      ShowWindow(hDlg, SW_SHOWNORMAL);
    }
  }
  if (Window* w = Find(hDlg)) {
    disabled = w->dialog->disabledOwner;
    w->dialog->disabledOwner = nullptr;
    DestroyWindow(hDlg);
  }
  if (disabled && Find(disabled)) EnableWindow(disabled, TRUE);
  return result;
}

ClassInfo MakeClass(const char* name, ATOM atom, WNDPROC procA, WNDPROC procW, int extra) {
  ClassInfo c;
  c.name = name;
  c.atom = atom;
  c.wc.style = CS_DBLCLKS | CS_PARENTDC;
  c.wc.lpfnWndProc = procA;
  c.wc.cbWndExtra = extra;
  c.procA = procA;
  c.procW = procW;
  c.system = true;
  return c;
}

LRESULT CALLBACK DialogClassProcA(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcOf(hDlg, msg, wParam, lParam, false);
}
LRESULT CALLBACK DialogClassProcW(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcOf(hDlg, msg, wParam, lParam, true);
}

}  // namespace

bool SystemClass(const std::string& key, ClassInfo& out) {
  if (key == "button") {
    out = MakeClass("Button", 0xC002, ButtonProcA, ButtonProcW, 0);
  } else if (key == "static") {
    out = MakeClass("Static", 0xC003, StaticProcA, StaticProcW, 0);
  } else if (key == "#32770") {
    out = MakeClass("#32770", 0xC004, DialogClassProcA, DialogClassProcW, DLGWINDOWEXTRA);
    out.wc.style = CS_DBLCLKS | 0x0800 /*CS_SAVEBITS*/;
  } else {
    return false;
  }
  return true;
}

void AddSystemClasses(std::map<std::string, ClassInfo>& classes) {
  for (const char* key : {"button", "static", "#32770"}) SystemClass(key, classes[key]);
}

// Whether a window is a dialog box (made from a template): the dialog manager moves its focus
// with WM_NEXTDLGCTL.
bool IsDialogWindow(HWND hWnd) {
  const Window* w = Find(hWnd);
  return w && w->dialog;
}

}  // namespace kwsim

using namespace kwsim;

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner,
                                       DLGPROC proc, LPARAM param) {
  return DialogBoxOf(false, instance, tmpl, owner, proc, param);
}

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND owner,
                                       DLGPROC proc, LPARAM param) {
  return DialogBoxOf(true, instance, tmpl, owner, proc, param);
}

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND owner,
                                       DLGPROC proc, LPARAM param) {
  return CreateDialogOf(false, false, instance, tmpl, owner, proc, param);
}

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND owner,
                                       DLGPROC proc, LPARAM param) {
  return CreateDialogOf(true, false, instance, tmpl, owner, proc, param);
}

// Ends a dialog: it is hidden (a modal dialog's loop then destroys it and answers the result; a
// modeless one stays until destroyed) and its owner is enabled again.
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR result) {
  Window* w = Find(hDlg);
  if (!w || !w->dialog) {
    S().lastError = ERROR_INVALID_WINDOW_HANDLE;
    return FALSE;
  }
  w->dialog->result = result;
  w->dialog->ended = true;
  HWND owner = w->dialog->disabledOwner;
  w->dialog->disabledOwner = nullptr;
  if (owner && Find(owner)) EnableWindow(owner, TRUE);
  if (!Find(hDlg)) return TRUE;
  const HWND focus = GetFocus();
  const bool hadFocus = focus && (focus == hDlg || IsDescendant(hDlg, focus));
  ShowWindow(hDlg, SW_HIDE);
  if (hadFocus && owner && Find(owner)) SetFocus(owner);
  return TRUE;
}

// A message to a control of the dialog; 0 when it has none of that identifier.
LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(hDlg, id);
  return item ? SendMessageA(item, msg, wParam, lParam) : 0;
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(hDlg, id);
  return item ? SendMessageW(item, msg, wParam, lParam) : 0;
}

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcOf(hDlg, msg, wParam, lParam, false);
}

LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcOf(hDlg, msg, wParam, lParam, true);
}
