// Simulated keyboard: synthesized input, key states, the US keyboard layout, TranslateMessage
// and the dialog manager's IsDialogMessageA.
#include <cstring>
#include <string>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

bool IsDown(const BYTE* keys, int vk) { return (keys[vk & 0xFF] & 0x80) != 0; }

// Sets one key's state; the generic Shift, Control and Alt keys follow their left and right
// variants and the other way round.
void SetKey(BYTE* keys, int vk, bool down) {
  auto set = [&](int k) {
    if (down) {
      keys[k] ^= 0x01;  // toggled on each press, repeats included
      keys[k] |= 0x80;
    } else {
      keys[k] &= static_cast<BYTE>(~0x80);
    }
  };
  set(vk);
  auto generic = [&](int g, int l, int r) {
    if (vk == g) {
      set(l);
    } else if (vk == l || vk == r) {
      if (down)
        set(g);
      else if (!IsDown(keys, l) && !IsDown(keys, r))
        set(g);
    }
    if (vk == g && !down) {
      set(r);
    }
  };
  generic(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
  generic(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
  generic(VK_MENU, 0xA4, 0xA5);
}

void QueueKey(WORD vk, WORD scan, DWORD flags, DWORD time) {
  State& s = S();
  bool up = (flags & KEYEVENTF_KEYUP) != 0;
  vk &= 0xFF;
  bool wasDown = IsDown(s.asyncKeys, vk);
  SetKey(s.asyncKeys, vk, !up);
  // With Alt down (and Ctrl up) keys come as system keys; releasing Alt itself is a plain key up.
  bool alt = IsDown(s.asyncKeys, VK_MENU);
  bool ctrl = IsDown(s.asyncKeys, VK_CONTROL);
  InputEvent& ev = s.input.emplace_back();  // filled in place: no temporary to copy
  bool sys = (alt && !ctrl) || vk == 0x79 /*VK_F10*/;
  ev.message = up ? (sys ? WM_SYSKEYUP : WM_KEYUP) : (sys ? WM_SYSKEYDOWN : WM_KEYDOWN);
  // Windows reports the generic modifier key in the message.
  WPARAM mvk = vk;
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) mvk = VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) mvk = VK_CONTROL;
  if (vk == 0xA4 || vk == 0xA5) mvk = VK_MENU;
  ev.vk = mvk;
  DWORD lp = 1u | (static_cast<DWORD>(scan & 0xFF) << 16);
  if (flags & KEYEVENTF_EXTENDEDKEY) lp |= 1u << 24;
  if (alt) lp |= 1u << 29;
  if (up)
    lp |= (1u << 30) | (1u << 31);
  else if (wasDown)
    lp |= 1u << 30;
  ev.lParam = static_cast<LPARAM>(lp);
  ev.time = time ? time : TickNow();
}

}  // namespace

void ApplyKeyMessageToThreadState(const MSG& msg) {
  State& s = S();
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      SetKey(s.threadKeys, static_cast<int>(msg.wParam & 0xFF), true);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      SetKey(s.threadKeys, static_cast<int>(msg.wParam & 0xFF), false);
      break;
    default:
      break;
  }
}

// The character a key gives on a US keyboard, or none (*produced false).
char TranslateKey(UINT vk, bool shift, bool ctrl, bool caps, bool* produced) {
  *produced = true;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<char>(vk - 'A' + 1);
    bool upper = shift != caps;
    return static_cast<char>(upper ? vk : vk - 'A' + 'a');
  }
  if (vk >= '0' && vk <= '9') {
    if (ctrl) {
      if (shift && vk == '2') return 0x00;
      if (shift && vk == '6') return 0x1E;
      *produced = false;
      return 0;
    }
    static const char shifted[] = ")!@#$%^&*(";
    return shift ? shifted[vk - '0'] : static_cast<char>(vk);
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
    if (ctrl) {
      *produced = false;
      return 0;
    }
    return static_cast<char>('0' + (vk - VK_NUMPAD0));
  }
  struct Oem {
    UINT vk;
    char plain, shifted, control;
  };
  static const Oem oem[] = {
      {VK_OEM_1, ';', ':', 0},     {VK_OEM_PLUS, '=', '+', 0},   {VK_OEM_COMMA, ',', '<', 0},
      {VK_OEM_MINUS, '-', '_', 0}, {VK_OEM_PERIOD, '.', '>', 0}, {VK_OEM_2, '/', '?', 0},
      {VK_OEM_3, '`', '~', 0},     {VK_OEM_4, '[', '{', 0x1B},   {VK_OEM_5, '\\', '|', 0x1C},
      {VK_OEM_6, ']', '}', 0x1D},  {VK_OEM_7, '\'', '"', 0},
  };
  for (const Oem& o : oem) {
    if (o.vk != vk) continue;
    if (ctrl) {
      if (o.vk == VK_OEM_MINUS && shift) return 0x1F;
      if (o.control && !shift) return o.control;
      *produced = false;
      return 0;
    }
    return shift ? o.shifted : o.plain;
  }
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_BACK:
      return ctrl ? 0x7F : 0x08;
    case VK_TAB:
      if (ctrl) break;
      return '\t';
    case VK_RETURN:
      return ctrl ? '\n' : '\r';
    case VK_ESCAPE:
      return 0x1B;
    case 0x03 /*VK_CANCEL*/:
      return 0x03;
    case VK_MULTIPLY:
      return ctrl ? 0 : '*';
    case VK_ADD:
      return ctrl ? 0 : '+';
    case VK_SUBTRACT:
      return ctrl ? 0 : '-';
    case VK_DECIMAL:
      return ctrl ? 0 : '.';
    case VK_DIVIDE:
      return ctrl ? 0 : '/';
    default:
      break;
  }
  *produced = false;
  return 0;
}

}  // namespace kwsim

using namespace kwsim;

void WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR) {
  QueueKey(vk, scan, flags, 0);
}

UINT WINAPI SendInput(UINT count, LPINPUT inputs, int cbSize) {
  if (cbSize != static_cast<int>(sizeof(INPUT)) || (!inputs && count)) {
    S().lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  UINT done = 0;
  for (UINT i = 0; i < count; ++i) {
    const INPUT& in = inputs[i];
    if (in.type == INPUT_KEYBOARD) {
      if (in.ki.dwFlags & KEYEVENTF_UNICODE) {
        // A character without a key: delivered as VK_PACKET (0xE7) with the UTF-16 unit in the
        // high word of lParam (which leaves no room for the transition bits, down or up), and
        // made a WM_CHAR of that unit by TranslateMessage.
        InputEvent ev;
        bool up = (in.ki.dwFlags & KEYEVENTF_KEYUP) != 0;
        ev.message = up ? WM_KEYUP : WM_KEYDOWN;
        ev.vk = VK_PACKET;
        ev.lParam = static_cast<LPARAM>(1u | (static_cast<DWORD>(in.ki.wScan) << 16));
        ev.time = in.ki.time ? in.ki.time : TickNow();
        S().input.push_back(ev);
      } else {
        QueueKey(in.ki.wVk, in.ki.wScan, in.ki.dwFlags, in.ki.time);
      }
    }
    ++done;
  }
  return done;
}

SHORT WINAPI GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  return static_cast<SHORT>((S().asyncKeys[vk] & 0x80) ? 0x8000 : 0);
}

SHORT WINAPI GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  BYTE k = S().threadKeys[vk];
  return static_cast<SHORT>(((k & 0x80) ? 0xFF80 : 0) | (k & 0x01));
}

SHORT WINAPI VkKeyScanA(CHAR chIn) {
  unsigned char ch = static_cast<unsigned char>(chIn);
  // Keys that give these characters directly come before the Ctrl+letter combinations.
  switch (ch) {
    case 0x08:
      return VK_BACK;
    case '\t':
      return VK_TAB;
    case '\r':
      return VK_RETURN;
    case 0x1B:
      return VK_ESCAPE;
    case ' ':
      return VK_SPACE;
    case 0x03:
      return 0x0243;
    default:
      break;
  }
  for (int shiftState = 0; shiftState < 4; ++shiftState) {
    bool shift = (shiftState & 1) != 0;
    bool ctrl = (shiftState & 2) != 0;
    // Letters and digits and the punctuation keys of the main block.
    static const UINT keys[] = {
        'A',      'B',      'C',         'D',          'E',          'F',           'G',
        'H',      'I',      'J',         'K',          'L',          'M',           'N',
        'O',      'P',      'Q',         'R',          'S',          'T',           'U',
        'V',      'W',      'X',         'Y',          'Z',          '0',           '1',
        '2',      '3',      '4',         '5',          '6',          '7',           '8',
        '9',      VK_OEM_1, VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_PERIOD, VK_OEM_2,
        VK_OEM_3, VK_OEM_4, VK_OEM_5,    VK_OEM_6,     VK_OEM_7,     VK_RETURN};
    for (UINT vk : keys) {
      if (ctrl && !(vk >= 'A' && vk <= 'Z') && vk != VK_RETURN)
        continue;  // Ctrl+letter, Ctrl+Enter only
      bool produced = false;
      char c = TranslateKey(vk, shift, ctrl, false, &produced);
      if (produced && static_cast<unsigned char>(c) == ch)
        return static_cast<SHORT>(vk | (shift ? 0x100 : 0) | (ctrl ? 0x200 : 0));
    }
  }
  return -1;
}

namespace {

// The US keyboard's scan codes, as Wine's keyboard answers them: the virtual key of each scan
// code (0x00-0x7F) with left and right Shift, Control and Alt told apart (MAPVK_VSC_TO_VK_EX).
const BYTE kVkOfScan[128] = {
    0xAD, 0x1B, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD, 0xBB, 0x08, 0x09,
    0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, 0x4F, 0x50, 0xDB, 0xDD, 0x0D, 0xA2, 0x41, 0x53,
    0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C, 0xBA, 0xDE, 0xC0, 0xA0, 0xDC, 0x5A, 0x58, 0x43, 0x56,
    0x42, 0x4E, 0x4D, 0xBC, 0xBE, 0xBF, 0xA1, 0x2C, 0xA4, 0x20, 0x14, 0x70, 0x71, 0x72, 0x73, 0x74,
    0x75, 0x76, 0x77, 0x78, 0x79, 0x90, 0x91, 0x24, 0x26, 0x21, 0x6D, 0x25, 0x0C, 0x27, 0x6B, 0x23,
    0x28, 0x22, 0x2D, 0x2E, 0x00, 0x00, 0xE2, 0x7A, 0x7B, 0x00, 0x00, 0x5B, 0x5C, 0x5D, 0x00, 0x00,
    0xDF, 0xE1, 0xE3, 0xE4, 0x92, 0xE9, 0x15, 0x19, 0x03, 0xEB, 0xEC, 0xED, 0xEE, 0xF3, 0x03, 0x00,
    0xF2, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x1D, 0x00, 0x00, 0x00, 0x00,
};

// The generic key of a left or right Shift, Control or Alt.
UINT GenericVk(UINT vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case 0xA4:
    case 0xA5:
      return VK_MENU;
    default:
      return vk;
  }
}

// A key's scan code: the first that gives it (the generic modifiers their left key's), and for
// the keys whose code is an extended one of another key's, that code.
UINT ScanOfVk(UINT vk) {
  struct Pair {
    BYTE vk, scan;
  };
  static const Pair kExtended[] = {{0x13, 0x45},       {0x2F, 0x38},      {VK_MULTIPLY, 0x37},
                                   {VK_DECIMAL, 0x53}, {VK_DIVIDE, 0x35}, {VK_RCONTROL, 0x1D},
                                   {0xA5, 0x38}};
  for (const Pair& p : kExtended)
    if (p.vk == vk) return p.scan;
  if (vk == 0 || vk > 0xFF) return 0;
  for (UINT scan = 0; scan < 128; ++scan)
    if (kVkOfScan[scan] == vk) return scan;
  for (UINT scan = 0; scan < 128; ++scan)
    if (GenericVk(kVkOfScan[scan]) == vk) return scan;
  return 0;
}

// The character a key gives unshifted, letters in upper case; 0 for none (the number pad's
// digits among them, as Wine answers).
UINT CharOfVk(UINT vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  switch (vk) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
      return vk;
    case 0x03 /*VK_CANCEL*/:
      return 0;
    case VK_SEPARATOR:
      return '.';
    case 0x92:
      return '=';
    case 0xE2:
      return '<';
    case 0xE4:
      return '\n';
    case 0xE9:
      return 0xB1;
    default:
      break;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return 0;
  bool produced = false;
  const char c = TranslateKey(vk, false, false, false, &produced);
  return produced ? static_cast<unsigned char>(c) : 0;
}

UINT MapVirtualKeyOf(UINT code, UINT type) {
  switch (type) {
    case MAPVK_VK_TO_VSC:
      return ScanOfVk(code);
    case MAPVK_VSC_TO_VK:
      return code < 128 ? GenericVk(kVkOfScan[code]) : 0;
    case MAPVK_VK_TO_CHAR:
      return CharOfVk(code);
    case MAPVK_VSC_TO_VK_EX:
      return code < 128 ? kVkOfScan[code] : 0;
    default:
      return 0;
  }
}

}  // namespace

UINT WINAPI MapVirtualKeyA(UINT code, UINT type) { return MapVirtualKeyOf(code, type); }

UINT WINAPI MapVirtualKeyW(UINT code, UINT type) { return MapVirtualKeyOf(code, type); }

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  switch (msg->message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      break;
    default:
      return FALSE;
  }
  State& s = S();
  UINT vk = static_cast<UINT>(msg->wParam & 0xFF);
  if (vk == VK_PACKET) {
    if (msg->message == WM_KEYDOWN)
      PostMessageW(msg->hwnd, WM_CHAR, HIWORD(static_cast<DWORD>(msg->lParam)), 1);
    return TRUE;
  }
  bool shift = (s.threadKeys[VK_SHIFT] & 0x80) != 0;
  bool ctrl = (s.threadKeys[VK_CONTROL] & 0x80) != 0;
  bool alt = (s.threadKeys[VK_MENU] & 0x80) != 0;
  bool caps = (s.threadKeys[0x14 /*VK_CAPITAL*/] & 0x01) != 0;
  if (alt && ctrl) return TRUE;  // no AltGr characters on a US layout
  bool produced = false;
  char c = TranslateKey(vk, shift, ctrl, caps, &produced);
  if (!produced) return TRUE;
  UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  PostMessageA(msg->hwnd, charMsg, static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam);
  return TRUE;
}

namespace {

HWND NextGroupItem(HWND dlg, HWND ctl, bool previous) {
  // Within the group of ctl (from a WS_GROUP sibling to the next), the next or previous visible,
  // enabled control, wrapping inside the group.
  auto d = Find(dlg);
  if (!d || !ctl) return nullptr;
  const auto& kids = d->children;
  int n = static_cast<int>(kids.size());
  int idx = -1;
  for (int i = 0; i < n; ++i)
    if (kids[i] == ctl) idx = i;
  if (idx < 0) return nullptr;
  int start = idx;
  while (start > 0) {
    auto w = Find(kids[start]);
    if (w && (w->style & WS_GROUP)) break;
    --start;
  }
  int end = idx + 1;
  while (end < n) {
    auto w = Find(kids[end]);
    if (w && (w->style & WS_GROUP)) break;
    ++end;
  }
  int count = end - start;
  for (int step = 1; step <= count; ++step) {
    int i = start + ((idx - start + (previous ? count - step : step)) % count);
    auto w = Find(kids[i]);
    if (w && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED)) return kids[i];
  }
  return ctl;
}

// The dialog manager for a loop of either character set (wide: IsDialogMessageW).
BOOL DialogMessage(HWND hDlg, LPMSG msg, bool wide) {
  if (!msg || !Find(hDlg)) return FALSE;
  if (hDlg != msg->hwnd && !IsDescendant(hDlg, msg->hwnd)) return FALSE;
  LRESULT code = 0;
  switch (msg->message) {
    case WM_KEYDOWN:
      code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
      if (code & DLGC_WANTMESSAGE) break;
      switch (msg->wParam) {
        case VK_TAB:
          if (!(code & DLGC_WANTTAB)) {
            bool previous = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            // A dialog box moves its focus itself.
            if (IsDialogWindow(hDlg)) {
              SendMessageW(hDlg, WM_NEXTDLGCTL, previous ? 1 : 0, 0);
              return TRUE;
            }
            // An ordinary window serving as a dialog: move along the tab order and select the
            // whole text of an edit control before it takes the focus.
            HWND focus = GetFocus();
            HWND next =
                GetNextDlgTabItem(hDlg, focus == hDlg ? nullptr : focus, previous ? TRUE : FALSE);
            if (next) {
              LRESULT nextCode =
                  SendMessageA(next, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
              if (nextCode & DLGC_HASSETSEL) {
                // The length in the edit control's own units, UTF-16.
                LRESULT maxlen = 1 + SendMessageW(next, WM_GETTEXTLENGTH, 0, 0);
                KwWString buffer(static_cast<size_t>(maxlen > 0 ? maxlen : 1), 0);
                SendMessageW(next, WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                             reinterpret_cast<LPARAM>(&buffer[0]));
                size_t length = WideLength(buffer.c_str());
                SendMessageA(next, EM_SETSEL, 0, static_cast<LPARAM>(length));
              }
              SetFocus(next);
            }
            return TRUE;
          }
          break;
        case VK_RIGHT:
        case VK_DOWN:
        case VK_LEFT:
        case VK_UP:
          if (!(code & DLGC_WANTARROWS)) {
            bool previous = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
            HWND next = NextGroupItem(hDlg, msg->hwnd, previous);
            SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), 1);
            return TRUE;
          }
          break;
        case 0x03 /*VK_CANCEL*/:
        case VK_ESCAPE:
          SendMessageA(hDlg, WM_COMMAND, IDCANCEL,
                       reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
          return TRUE;
        case 0x2B /*VK_EXECUTE*/:
        case VK_RETURN: {
          // A focused default push button is clicked; else the dialog's default identifier
          // (unless its control is disabled); without one, IDOK.
          if (GetFocus() == msg->hwnd &&
              (SendMessageW(msg->hwnd, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(msg->hwnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(msg->hwnd));
            return TRUE;
          }
          LRESULT dw = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
          if (HIWORD(dw) == DC_HASDEFID) {
            HWND def = GetDlgItem(hDlg, LOWORD(dw));
            if (!def || IsWindowEnabled(def))
              SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(LOWORD(dw), BN_CLICKED),
                           reinterpret_cast<LPARAM>(def));
            return TRUE;
          }
          SendMessageA(hDlg, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
          return TRUE;
        }
        default:
          break;
      }
      break;
    case WM_CHAR:
      code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
      if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) break;
      if (msg->wParam == '\t' && (code & DLGC_WANTTAB)) break;
      break;
    default:
      break;
  }
  TranslateMessage(msg);
  if (wide)
    DispatchMessageW(msg);
  else
    DispatchMessageA(msg);
  return TRUE;
}

}  // namespace

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG msg) { return DialogMessage(hDlg, msg, false); }

BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG msg) { return DialogMessage(hDlg, msg, true); }
