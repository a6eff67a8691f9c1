// The predefined "EDIT" class: a single-line edit control with the standard control's own
// processing (text, selection, limit, keys, characters, clipboard, focus, mouse, painting and
// the notifications to its parent, in the order the standard control sends them). The text is
// UTF-16 and positions count its units, whichever character set the window has; the ANSI face
// converts through the ANSI code page.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

struct Ctx {
  HWND hwnd;
  Window* win;  // valid for the whole message, even when the window is destroyed meanwhile
  EditState& es;
  DWORD Style() const { return win->style; }
};

UINT Len(const EditState& es) { return static_cast<UINT>(es.text.size()); }

// The case forcing of ES_UPPERCASE and ES_LOWERCASE, for the letters of Latin-1, Latin
// Extended-A, Greek and Cyrillic (as the platform maps them: 'ß' and 'µ' stay as they are).
bool EvenIsUpper(WCHAR c) {
  return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
}
bool OddIsUpper(WCHAR c) { return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E); }
WCHAR ToUpper(WCHAR c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((EvenIsUpper(c) && (c & 1)) || (OddIsUpper(c) && !(c & 1))) return c - 1;
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? WCHAR(0x3A3) : WCHAR(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}
WCHAR ToLower(WCHAR c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((EvenIsUpper(c) && !(c & 1)) || (OddIsUpper(c) && (c & 1))) return c + 1;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}
void ForceCase(KwWString& text, size_t from, size_t to, DWORD style) {
  if (!(style & (ES_LOWERCASE | ES_UPPERCASE))) return;
  const bool lower = (style & ES_LOWERCASE) != 0;
  for (size_t i = from; i < to; ++i) text[i] = lower ? ToLower(text[i]) : ToUpper(text[i]);
}

void Notify(Ctx& c, WORD code) {
  HWND parent = c.es.parent;
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.win->ctrlId), code),
               reinterpret_cast<LPARAM>(c.hwnd));
}

bool Alive(Ctx& c) { return Find(c.hwnd) != nullptr; }

// EM_SETSEL: -1 as start drops the selection (caret stays at the old caret); other values are
// clamped to the text. Returns whether anything changed.
bool SetSel(Ctx& c, UINT start, UINT end) {
  EditState& es = c.es;
  if (start == es.anchor && end == es.caret) return false;
  UINT len = Len(es);
  if (start == static_cast<UINT>(-1)) {
    start = es.caret;
    end = es.caret;
  } else {
    start = std::min(start, len);
    end = std::min(end, len);
  }
  es.anchor = start;
  es.caret = end;
  Invalidate(c.hwnd);
  return true;
}

void GetSel(const EditState& es, UINT& s, UINT& e) {
  s = std::min(es.anchor, es.caret);
  e = std::max(es.anchor, es.caret);
}

void EmptyUndo(EditState& es) {
  es.undoText.clear();
  es.undoInsert = 0;
}

// Keeps the one level of undo across an edit that deletes [s, e) and inserts strl units at s.
// A deletion that continues the last one (Delete at the same place, Backspace just before it)
// grows the deleted text; any deletion ends the insertion before it. An insertion that continues
// the last one, or follows the deletion at its place, grows the inserted run; elsewhere it
// starts anew and the deleted text is forgotten. Without undo, the buffer is emptied.
void RecordUndo(EditState& es, UINT s, UINT e, size_t strl, bool canUndo) {
  if (!canUndo) {
    if (e > s || strl) EmptyUndo(es);
    return;
  }
  if (e > s) {
    const bool growing = es.undoInsert == 0 && !es.undoText.empty();
    if (growing && s == es.undoPos) {
      es.undoText.append(es.text, s, e - s);
    } else if (growing && e == es.undoPos) {
      es.undoText.insert(0, es.text, s, e - s);
      es.undoPos = s;
    } else {
      es.undoText.assign(es.text, s, e - s);
      es.undoPos = s;
    }
    es.undoInsert = 0;
  }
  if (strl) {
    if (s == es.undoPos || (es.undoInsert && s == es.undoPos + es.undoInsert)) {
      es.undoInsert += static_cast<UINT>(strl);
    } else {
      es.undoPos = s;
      es.undoInsert = static_cast<UINT>(strl);
      es.undoText.clear();
    }
  }
}

// The standard control's replace-selection: the limit applies when honorLimit is set (typing,
// pasting, EM_REPLACESEL) and then EN_MAXTEXT comes first and the new text is cut to fit.
// canUndo keeps the edit as the one that EM_UNDO takes back; without it the undo is forgotten.
void ReplaceSel(Ctx& c, const WCHAR* str, size_t strl, bool sendUpdate, bool honorLimit,
                bool canUndo = true) {
  EditState& es = c.es;
  UINT tl = Len(es);
  UINT s, e;
  GetSel(es, s, e);
  if (s == e && strl == 0) return;
  size_t size = tl - (e - s) + strl;
  if (honorLimit && size > es.limit) {
    Notify(c, EN_MAXTEXT);
    if (!Alive(c)) return;
    GetSel(es, s, e);
    tl = Len(es);
    if (es.limit < tl - (e - s))
      strl = 0;
    else
      strl = std::min<size_t>(strl, es.limit - (tl - (e - s)));
  }
  if (!str) strl = 0;
  DWORD style = c.Style();
  static const WCHAR kNone[1] = {0};
  RecordUndo(es, s, e, strl, canUndo);
  if (s == 0 && e == tl) {
    es.text.assign(str ? str : kNone, strl);  // the whole text: no gap to open or close
  } else {
    es.text.replace(s, e - s, str ? str : kNone, strl);
  }
  ForceCase(es.text, s, s + strl, style);
  UINT caret = s + static_cast<UINT>(strl);
  es.anchor = caret;
  es.caret = caret;
  es.modified = true;
  // The change is painted: EN_UPDATE goes out before the window is invalidated, EN_CHANGE after.
  if (sendUpdate) {
    Notify(c, EN_UPDATE);
    if (!Alive(c)) return;
  }
  Invalidate(c.hwnd);
  if (sendUpdate) Notify(c, EN_CHANGE);
}

// The composition an input method is making shows in the text, selected, where the caret was
// (a selection is deleted first), each new string in place of the last; empty, it is gone. A
// committed string is not shown here: it comes as characters (WM_IME_CHAR, then WM_CHAR).
void ShowComposition(Ctx& c, const KwWString& comp) {
  EditState& es = c.es;
  if (es.compLen == 0 && es.anchor != es.caret) {
    ReplaceSel(c, nullptr, 0, true, false);
    if (!Alive(c)) return;
    es.compStart = es.caret;
  }
  const UINT start = std::min(es.compStart, Len(es));
  es.anchor = start;
  es.caret = std::min(start + es.compLen, Len(es));
  ReplaceSel(c, comp.data(), comp.size(), true, true);
  if (!Alive(c)) return;
  es.compLen = es.caret - start;
  es.anchor = start;
}

// EM_UNDO: the units the last edit inserted give way to the text it deleted, which is left
// selected; that edit is in turn the one to undo, so a second undo redoes. A read-only control
// changes nothing and still answers TRUE.
LRESULT Undo(Ctx& c) {
  EditState& es = c.es;
  if (c.Style() & ES_READONLY) return TRUE;
  const KwWString text = es.undoText;
  SetSel(c, es.undoPos, es.undoPos + es.undoInsert);
  EmptyUndo(es);
  ReplaceSel(c, text.data(), text.size(), true, true);
  if (!Alive(c)) return TRUE;
  SetSel(c, es.undoPos, es.undoPos + es.undoInsert);
  // The control says once more that its text changed, after the selection is set.
  Notify(c, EN_CHANGE);
  return TRUE;
}

void Clear(Ctx& c) {
  if (c.Style() & ES_READONLY) return;
  ReplaceSel(c, nullptr, 0, true, true);
}

void Copy(Ctx& c) {
  UINT s, e;
  GetSel(c.es, s, e);
  if (s == e) return;
  size_t len = e - s;
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (len + 1) * sizeof(WCHAR));
  if (!mem) return;
  WCHAR* dst = static_cast<WCHAR*>(GlobalLock(mem));
  if (!dst) {
    GlobalFree(mem);
    return;
  }
  std::memcpy(dst, c.es.text.data() + s, len * sizeof(WCHAR));
  dst[len] = 0;
  GlobalUnlock(mem);
  if (!OpenClipboard(c.hwnd)) {
    GlobalFree(mem);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
  CloseClipboard();
}

void Cut(Ctx& c) {
  Copy(c);
  if (Alive(c)) Clear(c);
}

void Paste(Ctx& c) {
  if (c.Style() & ES_READONLY) return;
  if (!OpenClipboard(c.hwnd)) return;
  // Closed again however the paste ends: the process may run out of memory on the way (the
  // exception then reaches the caller, but the clipboard is not left open and locked).
  struct Open {
    HANDLE locked = nullptr;
    bool open = true;
    ~Open() {
      if (locked) GlobalUnlock(locked);
      if (open) CloseClipboard();
    }
  } guard;
  HANDLE mem = GetClipboardData(CF_UNICODETEXT);
  if (mem) {
    const WCHAR* src = static_cast<const WCHAR*>(GlobalLock(mem));
    if (src) {
      guard.locked = mem;
      // The block's own size bounds the text, terminated or not.
      size_t size = GlobalSize(mem) / sizeof(WCHAR);
      size_t len = 0;
      while (len < size && src[len]) ++len;
      KwWString text(src, len);
      guard.locked = nullptr;
      GlobalUnlock(mem);
      // A single line takes the text up to the first line break.
      size_t nl = text.find(WCHAR('\n'));
      if (nl != KwWString::npos) {
        text.resize(nl);
        if (!text.empty() && text.back() == '\r') text.pop_back();
      }
      guard.open = false;
      CloseClipboard();
      ReplaceSel(c, text.data(), text.size(), true, true);
      return;
    }
  } else if (c.Style() & ES_PASSWORD) {
    guard.open = false;
    CloseClipboard();
    ReplaceSel(c, nullptr, 0, true, true);
    return;
  }
}

// Word breaks: a word starts after white space.
bool SoftBreak(const KwWString& t, UINT i) {
  return i > 0 && i < t.size() && t[i - 1] == ' ' && t[i] != ' ';
}

UINT WordLeft(const KwWString& t, UINT index) {
  if (t.empty()) return 0;
  if (index) --index;
  while (index && !SoftBreak(t, index)) --index;
  return index;
}

UINT WordRight(const KwWString& t, UINT index) {
  UINT count = static_cast<UINT>(t.size());
  if (!count) return 0;
  while (index < count && !SoftBreak(t, index)) ++index;
  return index;
}

void MoveTo(Ctx& c, UINT e, bool extend) { SetSel(c, extend ? c.es.anchor : e, e); }

void KeyDown(Ctx& c, UINT vk) {
  EditState& es = c.es;
  bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  switch (vk) {
    case VK_UP:
    case VK_LEFT:
      if (control)
        MoveTo(c, WordLeft(es.text, es.caret), shift);
      else
        MoveTo(c, es.caret ? es.caret - 1 : 0, shift);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      if (control)
        MoveTo(c, WordRight(es.text, std::min(es.caret + 1, Len(es))), shift);
      else
        MoveTo(c, std::min(es.caret + 1, Len(es)), shift);
      break;
    case VK_HOME:
      MoveTo(c, 0, shift);
      break;
    case VK_END:
      MoveTo(c, Len(es), shift);
      break;
    case VK_DELETE:
      if (!(c.Style() & ES_READONLY) && !(shift && control)) {
        if (es.anchor != es.caret) {
          if (shift)
            Cut(c);
          else
            Clear(c);
        } else {
          SetSel(c, static_cast<UINT>(-1), 0);
          if (shift) {
            // Without a selection Shift+Delete deletes to the left and copies nothing.
            MoveTo(c, es.caret ? es.caret - 1 : 0, true);
            Clear(c);
          } else if (control) {
            MoveTo(c, Len(es), true);
            Clear(c);
          } else {
            MoveTo(c, std::min(es.caret + 1, Len(es)), true);
            Clear(c);
          }
        }
      }
      break;
    case VK_RETURN:
      // In a dialog, Enter that reaches the control itself goes to the default button: the
      // focus moves there and the button gets the key.
      if (es.dialogMode && !control && es.parent) {
        const LRESULT def = SendMessageW(es.parent, DM_GETDEFID, 0, 0);
        if (HIWORD(def) == DC_HASDEFID) {
          if (HWND button = GetDlgItem(es.parent, LOWORD(def))) {
            SendMessageW(es.parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
            PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0);
          }
        }
      }
      break;
    case VK_INSERT:
      if (shift) {
        if (!(c.Style() & ES_READONLY)) Paste(c);
      } else if (control) {
        Copy(c);
      }
      break;
    default:
      break;
  }
}

void Char(Ctx& c, WCHAR ch) {
  EditState& es = c.es;
  bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  DWORD style = c.Style();
  switch (ch) {
    case '\r':
    case '\n':
    case '\t':
      break;
    case VK_BACK:
      if (!(style & ES_READONLY) && !control) {
        if (es.anchor != es.caret) {
          Clear(c);
        } else {
          SetSel(c, static_cast<UINT>(-1), 0);
          MoveTo(c, es.caret ? es.caret - 1 : 0, true);
          Clear(c);
        }
      }
      break;
    case 0x03:
      if (!(style & ES_PASSWORD)) SendMessageA(c.hwnd, WM_COPY, 0, 0);
      break;
    case 0x16:
      if (!(style & ES_READONLY)) SendMessageA(c.hwnd, WM_PASTE, 0, 0);
      break;
    case 0x18:
      if (!(style & (ES_READONLY | ES_PASSWORD))) SendMessageA(c.hwnd, WM_CUT, 0, 0);
      break;
    case 0x1A:
      if (!(style & ES_READONLY)) SendMessageA(c.hwnd, WM_UNDO, 0, 0);
      break;
    default:
      if ((style & ES_NUMBER) && !(ch >= '0' && ch <= '9')) break;
      if (!(style & ES_READONLY) && ch >= ' ' && ch != 0x7F) {
        const WCHAR s[1] = {ch};
        ReplaceSel(c, s, 1, true, true);
      }
      break;
  }
}

UINT CharFromX(const EditState& es, int x) {
  int rel = x - es.margin;
  if (rel <= 0) return 0;
  UINT i = static_cast<UINT>((rel + kCharWidth / 2) / kCharWidth);
  return std::min(i, Len(es));
}

// Paints the control into its window, or with given into that device context (WM_PRINTCLIENT),
// which leaves the window's update state alone. Either way it asks the parent for its colours.
void Paint(Ctx& c, HDC given = nullptr) {
  EditState& es = c.es;
  HDC dc = given != nullptr ? given : GetDC(c.hwnd);
  HWND parent = GetParent(c.hwnd);
  UINT msg = (!es.enabled || (c.Style() & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HBRUSH brush = nullptr;
  if (parent) {
    brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.hwnd)));
    if (!brush && Find(parent))
      brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, msg, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(c.hwnd)));
  }
  if (!Alive(c)) {
    if (given == nullptr) ReleaseDC(nullptr, dc);
    return;
  }
  RECT rc;
  GetClientRect(c.hwnd, &rc);
  if (brush) FillRect(dc, &rc, brush);
  const std::string shown = (c.Style() & ES_PASSWORD)
                                ? std::string(es.text.size(), '*')
                                : Narrow(CP_ACP, es.text.data(), es.text.size());
  ExtTextOutA(dc, es.margin, es.margin, 0, &rc, shown.c_str(), static_cast<UINT>(shown.size()),
              nullptr);
  es.paintText = GetTextColor(dc);
  es.paintBk = GetBkColor(dc);
  es.paintBrush = brush;
  if (given != nullptr) return;
  es.paints++;
  ReleaseDC(c.hwnd, dc);
  c.win->invalid = false;
}

// Every message but the selection's own (EditWndProc answers those).
__attribute__((noinline)) LRESULT EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto win = Find(hWnd);
  if (!win) return 0;
  if (msg == WM_NCCREATE) {
    auto es = std::make_unique<EditState>();
    auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    es->parent = cs ? cs->hwndParent : nullptr;
    es->enabled = !(win->style & WS_DISABLED);
    // The control draws a plain border itself: the window keeps no WS_BORDER (and no
    // non-client area) unless it has the client edge.
    if (win->exStyle & WS_EX_CLIENTEDGE) {
      es->margin = kEditMarginClientEdge;
    } else if (win->style & WS_BORDER) {
      // The style written back without the border is the control's own reading of it: one
      // alignment (right before centred) and one case (lower before upper, none with numbers).
      DWORD style = win->style & ~static_cast<DWORD>(WS_BORDER);
      if ((style & ES_RIGHT) && (style & ES_CENTER)) style &= ~static_cast<DWORD>(ES_CENTER);
      if (!(style & ES_NUMBER) && (style & ES_LOWERCASE))
        style &= ~static_cast<DWORD>(ES_UPPERCASE);
      win->style = style;
      es->margin = kEditMarginBorder;
    } else {
      es->margin = kEditMarginNone;
    }
    win->edit = std::move(es);
    return TRUE;
  }
  if (!win->edit) return DefWindowProcW(hWnd, msg, wParam, lParam);
  Ctx c{hWnd, win, *win->edit};
  EditState& es = c.es;
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && Value(cs->lpszName) >= 0x10000 && *cs->lpszName) {
        es.text = cs->lpszName;
        es.anchor = es.caret = 0;
      }
      return 0;
    }
    case WM_NCDESTROY: {
      // The control's state goes with it: whatever the window is sent from now on gets the
      // default processing (no text, no selection), as the window of no class would. The state
      // itself stays until no message is under way, for the callers that still hold it.
      LRESULT r = DefWindowProcW(hWnd, msg, wParam, lParam);
      if (Window* w = Find(hWnd)) {
        if (w->edit) S().droppedEdits.push_back(std::move(w->edit));
      } else {
        S().droppedEdits.push_back(std::move(win->edit));
      }
      return r;
    }
    case WM_DESTROY:
      return 0;
    case WM_SETTEXT: {
      // The whole text replaced (no limit), the caret at its start, unmodified; in one step,
      // as selecting everything, replacing the selection and moving the caret home would leave
      // it (nothing is sent on the way).
      const auto* text = reinterpret_cast<const WCHAR*>(lParam);
      const size_t length = WideLength(text);
      if (length != 0 || !es.text.empty() || es.anchor != 0 || es.caret != 0) {
        if (length)
          es.text.assign(text, length);
        else
          es.text.clear();
        ForceCase(es.text, 0, es.text.size(), win->style);
        es.anchor = 0;
        es.caret = 0;
        win->invalid = true;
      }
      es.modified = false;
      EmptyUndo(es);  // a text set from outside is no edit to take back
      Notify(c, EN_UPDATE);
      if (Alive(c)) Notify(c, EN_CHANGE);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<WCHAR*>(lParam);
      if (!buf || wParam == 0) return 0;
      size_t n = std::min<size_t>(es.text.size(), wParam - 1);
      std::memcpy(buf, es.text.data(), n * sizeof(WCHAR));
      buf[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(es.text.size());
    case EM_REPLACESEL: {
      const auto* text = reinterpret_cast<const WCHAR*>(lParam);
      ReplaceSel(c, text, WideLength(text), true, true, wParam != 0);
      return 1;
    }
    case EM_LIMITTEXT: {
      UINT limit = static_cast<UINT>(wParam);
      if (!limit) limit = ~0u;
      es.limit = std::min<UINT>(limit, 0x7FFFFFFE);
      return 0;
    }
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(es.limit);
    case EM_GETMODIFY:
      return es.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      es.modified = wParam != 0;
      return 0;
    case EM_SETREADONLY:
      if (wParam)
        win->style |= ES_READONLY;
      else
        win->style &= ~static_cast<DWORD>(ES_READONLY);
      Invalidate(hWnd);
      return TRUE;
    case EM_CANUNDO:
      return es.undoInsert != 0 || !es.undoText.empty() ? TRUE : FALSE;
    case EM_UNDO:
    case WM_UNDO:
      return Undo(c);
    case EM_EMPTYUNDOBUFFER:
      EmptyUndo(es);
      return 0;
    case EM_POSFROMCHAR: {
      UINT index = static_cast<UINT>(wParam);
      if (index >= Len(es)) return -1;
      return MAKELONG(es.margin + static_cast<int>(index) * kCharWidth, es.margin);
    }
    case EM_CHARFROMPOS:
      return MAKELONG(CharFromX(es, GET_X_LPARAM(lParam)), 0);
    case WM_CHAR:
      Char(c, static_cast<WCHAR>(wParam & 0xFFFF));
      return 1;
    case WM_IME_STARTCOMPOSITION:
      es.compStart = std::max(es.anchor, es.caret);
      es.compLen = 0;
      return 0;
    case WM_IME_COMPOSITION:
      if (lParam & GCS_RESULTSTR) return DefWindowProcW(hWnd, msg, wParam, lParam);
      if (lParam & GCS_COMPSTR) ShowComposition(c, ImeCompositionString());
      return 0;
    case WM_IME_ENDCOMPOSITION:
      if (es.compLen > 0) ShowComposition(c, KwWString());
      return 0;
    case WM_KEYDOWN:
      KeyDown(c, static_cast<UINT>(wParam));
      return 1;
    case WM_CUT:
      // Read-only, the selection is copied and stays (Clear leaves the text alone).
      if (!(c.Style() & ES_PASSWORD)) Cut(c);
      return 0;
    case WM_COPY:
      if (!(c.Style() & ES_PASSWORD)) Copy(c);
      return 0;
    case WM_PASTE:
      Paste(c);
      return 0;
    case WM_CLEAR:
      Clear(c);
      return 0;
    case WM_SETFOCUS:
      es.focused = true;
      // The caret is made for this window, shown.
      S().caretOwner = hWnd;
      S().caretHidden = 0;
      Invalidate(hWnd);
      if (IsWindowVisible(hWnd)) Paint(c);
      if (Alive(c)) Notify(c, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      es.focused = false;
      if (S().caretOwner == hWnd) S().caretOwner = nullptr;  // the caret is destroyed
      Invalidate(hWnd);
      Notify(c, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      es.enabled = wParam != 0;
      Invalidate(hWnd);
      return 0;
    case WM_LBUTTONDOWN: {
      es.captured = true;
      UINT e = CharFromX(es, GET_X_LPARAM(lParam));
      SetSel(c, (wParam & MK_SHIFT) ? es.anchor : e, e);
      if (!es.focused) SetFocus(hWnd);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      es.captured = true;
      UINT e = es.caret;
      UINT s = WordLeft(es.text, e);
      e = WordRight(es.text, e);
      SetSel(c, s, e);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (es.captured && (wParam & MK_LBUTTON)) {
        UINT e = CharFromX(es, GET_X_LPARAM(lParam));
        SetSel(c, es.anchor, e);
      }
      return 0;
    case WM_LBUTTONUP:
      es.captured = false;
      return 0;
    case WM_PAINT:
      Paint(c);
      return 0;
    case WM_PRINTCLIENT:
      if (wParam != 0) Paint(c, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      es.font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Invalidate(hWnd);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(es.font);
    default:
      return DefWindowProcW(hWnd, msg, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK EditWndProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The dialog code and the selection, asked and set on every keystroke, are answered here at
  // once; everything else takes the whole procedure.
  if (msg == EM_GETSEL || msg == EM_SETSEL || msg == EM_SCROLLCARET || msg == WM_GETDLGCODE) {
    Window* win = Find(hWnd);
    if (win && win->edit) {
      EditState& es = *win->edit;
      switch (msg) {
        case EM_GETSEL: {
          UINT s, e;
          GetSel(es, s, e);
          if (wParam) *reinterpret_cast<DWORD*>(wParam) = s;
          if (lParam) *reinterpret_cast<DWORD*>(lParam) = e;
          return MAKELONG(s, e);
        }
        case EM_SETSEL: {
          Ctx c{hWnd, win, es};
          SetSel(c, static_cast<UINT>(wParam), static_cast<UINT>(lParam));
          return 1;
        }
        case EM_SCROLLCARET:
          return 1;
        default:  // WM_GETDLGCODE
          if (lParam) es.dialogMode = true;
          return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
      }
    }
  }
  return EditProc(hWnd, msg, wParam, lParam);
}

// The ANSI face: the text of the messages through the ANSI code page, a typed character too (a
// byte that is no character of it, as a lone byte of UTF-8, arrives as U+FFFD).
LRESULT CALLBACK EditWndProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_IME_CHAR:
      return DefWindowProcA(hWnd, msg, wParam, lParam);
    case WM_CHAR: {
      const unsigned char b = static_cast<unsigned char>(wParam & 0xFF);
      const WCHAR ch = S().acp == CP_UTF8 && b >= 0x80 ? WCHAR(0xFFFD) : KeyCharToWide(b);
      return EditWndProcW(hWnd, msg, ch, lParam);
    }
    case WM_GETTEXTLENGTH: {
      const Window* win = Find(hWnd);
      if (!win || !win->edit) break;
      const KwWString& text = win->edit->text;
      return static_cast<LRESULT>(NarrowLength(CP_ACP, text.data(), text.size()));
    }
    case WM_GETTEXT: {
      const Window* win = Find(hWnd);
      if (!win || !win->edit) break;
      auto* out = reinterpret_cast<char*>(lParam);
      if (!out || wParam == 0) return 0;
      const KwWString& text = win->edit->text;
      const size_t k = NarrowToBuffer(CP_ACP, text.data(), text.size(), out, wParam - 1);
      out[k] = '\0';
      return static_cast<LRESULT>(k);
    }
    default:
      break;
  }
  if (NeedsConversion(msg)) return CallConverted(EditWndProcW, false, hWnd, msg, wParam, lParam);
  return EditWndProcW(hWnd, msg, wParam, lParam);
}

}  // namespace kwsim
