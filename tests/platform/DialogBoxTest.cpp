// Dialog boxes made from in-memory templates, and the dialog manager's Enter, Escape and Tab
// around a single-line edit control inside a real dialog: keys and characters posted to the
// control from WM_INITDIALOG, the dialog ending with what its procedure saw. The rows follow the
// real platform's own conformance facts for single-line controls (with and without
// ES_WANTRETURN, several edit controls without buttons), and add the default push button that
// moves with the focus, the first control's focus, WM_CLOSE, the template's extended form and a
// modeless dialog. Then what a dialog's own loop brings besides keys (timers, keys sent with
// SendInput, messages for other windows) and the calls a dialog procedure makes of the platform
// (DWLP_USER, SendDlgItemMessageW, SetForegroundWindow), timers outside a dialog, and the
// keyboard's scan codes (MapVirtualKey) that SendInput takes. Every row passes on the simulation
// and under Wine. (Multi-line controls in dialogs are left out: the library's controls are
// single-line.)
#include <string>
#include <vector>

#include "PlatformTest.h"

namespace {

// --- Templates ----------------------------------------------------------------------------------

struct Item {
  DWORD style;
  WORD id;
  WORD classOrdinal;  // 0x80 button, 0x81 edit, 0x82 static; 0: className
  const char* className;
  const char* text;
};

// The template of a dialog at 0,0 of 160x80 units, without menu, class or font, in the plain
// (DLGTEMPLATE) or the extended form, as a resource compiler lays it out.
class Template {
 public:
  Template(DWORD style, const std::vector<Item>& items, bool extended) {
    if (extended) {
      Word(1);
      Word(0xFFFF);
      Dword(0);  // help identifier
      Dword(0);  // extended style
      Dword(style);
    } else {
      Dword(style);
      Dword(0);
    }
    Word(static_cast<WORD>(items.size()));
    for (short v : {0, 0, 160, 80}) Word(static_cast<WORD>(v));
    Word(0);  // no menu
    Word(0);  // the dialog class
    String("Dialog");
    short y = 5;
    for (const Item& item : items) {
      if (m_words.size() % 2) Word(0);  // DWORD boundary
      if (extended) {
        Dword(0);
        Dword(0);
        Dword(item.style | WS_CHILD | WS_VISIBLE);
      } else {
        Dword(item.style | WS_CHILD | WS_VISIBLE);
        Dword(0);
      }
      for (short v : {short(5), y, short(100), short(12)}) Word(static_cast<WORD>(v));
      y = static_cast<short>(y + 14);
      if (extended)
        Dword(item.id);
      else
        Word(item.id);
      if (item.classOrdinal) {
        Word(0xFFFF);
        Word(item.classOrdinal);
      } else {
        String(item.className);
      }
      String(item.text);
      Word(0);  // no creation data
    }
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

 private:
  void Word(WORD w) { m_words.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void String(const char* s) {
    for (; *s; ++s) Word(static_cast<unsigned char>(*s));
    Word(0);
  }
  std::vector<WORD> m_words;
};

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER;
constexpr WORD kButton = 0x80, kEditClass = 0x81, kStatic = 0x82;

enum Layout {
  kButtonsThenEdit,            // OK, Cancel, edit 1000
  kButtonsThenWantReturnEdit,  // the same, the edit with ES_WANTRETURN
  kThreeEdits,                 // edits 1000, 1001, 1002, no buttons
  kCancelIsDefault,            // OK, Cancel (the default push button), edit 1000
  kForm,                       // label, edit 1000 "abc" (by class name), OK (default), Cancel
};

std::vector<Item> ItemsOf(Layout layout) {
  const Item ok{BS_PUSHBUTTON | WS_TABSTOP, IDOK, kButton, nullptr, "OK"};
  const Item cancel{BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, kButton, nullptr, "Cancel"};
  const Item edit{kEdit, 1000, kEditClass, nullptr, ""};
  switch (layout) {
    case kButtonsThenEdit:
      return {ok, cancel, edit};
    case kButtonsThenWantReturnEdit:
      return {ok, cancel, {kEdit | ES_WANTRETURN, 1000, kEditClass, nullptr, ""}};
    case kThreeEdits:
      return {edit, {kEdit, 1001, kEditClass, nullptr, ""}, {kEdit, 1002, kEditClass, nullptr, ""}};
    case kCancelIsDefault:
      return {ok, {BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, kButton, nullptr, "Cancel"}, edit};
    case kForm:
    default:
      return {{SS_LEFT, 0xFFFF, kStatic, nullptr, "Name:"},
              {kEdit, 1000, 0, "Edit", "abc"},
              {BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, kButton, nullptr, "OK"},
              cancel};
  }
}

// --- The dialog procedure -----------------------------------------------------------------------

// What the procedure answers once the posted keys are through (WM_APP), by EndDialog:
enum Check {
  kNone,         // nothing: a command ends the dialog
  kEditEmpty,    // 444 when the edit control has the focus and no text, else 555
  kOkEmpty,      // 444 when OK has the focus and the edit control no text, else 555
  kFocusId,      // 10000 + the focused control's identifier
  kDefId,        // DM_GETDEFID: 0x10000 | its identifier when it has one, else 0
  kSelectedAll,  // 444 when the edit control has the focus and its whole text selected
  kDialogCodes,  // 1 static, 2 the default push button, 4 a push button: each when right
};

struct DialogCase {
  const char* name;
  Layout layout;
  bool wide;         // DialogBoxIndirectParamW, else A
  bool extended;     // the template's extended form
  bool procFocus;    // the procedure sets the focus to edit 1000 and answers FALSE
  const char* keys;  // posted to edit 1000: K/k Escape, R/r Enter, T/t Tab (capital: a key
                     // down, small: a character); C: WM_CLOSE posted to the dialog
  Check check;
  bool closeDefault;  // WM_CLOSE left to the dialog's default processing
  int wantInitFocus;  // WM_INITDIALOG's wParam: the identifier of the first tab stop
  INT_PTR want;
};
void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

const DialogCase* g_row = nullptr;
int g_initFocus = 0;

INT_PTR CALLBACK TestDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) {
  const DialogCase& c = *g_row;
  HWND edit = GetDlgItem(hDlg, 1000);
  switch (msg) {
    case WM_INITDIALOG:
      g_initFocus = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
      if (c.procFocus) SetFocus(edit);
      for (const char* k = c.keys; *k; ++k) {
        switch (*k) {
          case 'K':
          case 'k':
            PostMessageA(edit, *k == 'K' ? WM_KEYDOWN : WM_CHAR, VK_ESCAPE, 0x10001);
            break;
          case 'R':
          case 'r':
            PostMessageA(edit, *k == 'R' ? WM_KEYDOWN : WM_CHAR, VK_RETURN, 0x1c0001);
            break;
          case 'T':
          case 't':
            PostMessageA(edit, *k == 'T' ? WM_KEYDOWN : WM_CHAR, VK_TAB, 0xf0001);
            break;
          case 'C':
            PostMessageA(hDlg, WM_CLOSE, 0, 0);
            break;
          default:
            break;
        }
      }
      PostMessageA(hDlg, WM_APP, 0xbeef, 0);
      return c.procFocus ? FALSE : TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == IDOK) EndDialog(hDlg, 111);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(hDlg, 222);
      break;
    case WM_APP: {
      if (wParam != 0xbeef || c.check == kNone) break;
      HWND focus = GetFocus();
      const LRESULT len = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
      INT_PTR result = 555;
      switch (c.check) {
        case kEditEmpty:
          result = focus == edit && len == 0 ? 444 : 555;
          break;
        case kOkEmpty:
          result = focus == GetDlgItem(hDlg, IDOK) && len == 0 ? 444 : 555;
          break;
        case kFocusId:
          result = 10000 + GetDlgCtrlID(focus);
          break;
        case kDefId: {
          const LRESULT def = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
          result = HIWORD(def) == DC_HASDEFID ? 0x10000 | LOWORD(def) : 0;
          break;
        }
        case kSelectedAll: {
          DWORD s = 0, e = 0;
          SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
          result = focus == edit && s == 0 && static_cast<LRESULT>(e) == len ? 444 : 555;
          break;
        }
        case kDialogCodes: {
          HWND label = GetDlgItem(hDlg, 0xFFFF);
          result = 0;
          if (SendMessageA(label, WM_GETDLGCODE, 0, 0) == DLGC_STATIC) result |= 1;
          if (SendMessageA(GetDlgItem(hDlg, IDOK), WM_GETDLGCODE, 0, 0) ==
              (DLGC_BUTTON | DLGC_DEFPUSHBUTTON))
            result |= 2;
          if (SendMessageA(GetDlgItem(hDlg, IDCANCEL), WM_GETDLGCODE, 0, 0) ==
              (DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON))
            result |= 4;
          break;
        }
        default:
          break;
      }
      EndDialog(hDlg, result);
      break;
    }
    case WM_CLOSE:
      if (!c.closeDefault) EndDialog(hDlg, 333);
      break;
    default:
      break;
  }
  return FALSE;
}

class DialogBox : public kwtest::WindowTest, public ::testing::WithParamInterface<DialogCase> {};

const DialogCase kDialogCases[] = {
    // One single-line edit control after OK and Cancel.
    {"KeyEscapeCancels", kButtonsThenEdit, false, false, true, "K", kNone, false, IDOK, 222},
    {"KeyEnterIsOk", kButtonsThenEdit, false, false, true, "R", kNone, false, IDOK, 111},
    {"KeyTabGoesToOk", kButtonsThenEdit, false, false, true, "T", kOkEmpty, false, IDOK, 444},
    {"CharEscapeIsNothing", kButtonsThenEdit, false, false, true, "k", kEditEmpty, false, IDOK,
     444},
    {"CharEnterIsNothing", kButtonsThenEdit, false, false, true, "r", kEditEmpty, false, IDOK, 444},
    {"CharTabIsNothing", kButtonsThenEdit, false, false, true, "t", kEditEmpty, false, IDOK, 444},
    {"KeyAndCharEscapeCancel", kButtonsThenEdit, false, false, true, "Kk", kNone, false, IDOK, 222},
    {"KeyAndCharEnterIsOk", kButtonsThenEdit, false, false, true, "Rr", kNone, false, IDOK, 111},
    {"KeyAndCharTabGoToOk", kButtonsThenEdit, false, false, true, "Tt", kOkEmpty, false, IDOK, 444},
    {"TwoTabsGoToCancel", kButtonsThenEdit, false, false, true, "TT", kFocusId, false, IDOK,
     10000 + IDCANCEL},
    {"ThreeTabsComeBack", kButtonsThenEdit, false, false, true, "TTT", kFocusId, false, IDOK,
     11000},
    {"EnterOnTheFocusedButtonClicksIt", kButtonsThenEdit, false, false, true, "TTR", kNone, false,
     IDOK, 222},
    {"DefaultIdIsOkWithoutADefaultButton", kButtonsThenEdit, false, false, true, "", kDefId, false,
     IDOK, 0x10000 | IDOK},
    {"CloseAsTheProcedureSays", kButtonsThenEdit, false, false, true, "C", kNone, false, IDOK, 333},
    {"CloseByDefaultIsCancel", kButtonsThenEdit, false, false, true, "C", kNone, true, IDOK, 222},
    // The same with ES_WANTRETURN, through the Unicode face.
    {"WantReturnKeyEscapeCancels", kButtonsThenWantReturnEdit, true, false, true, "K", kNone, false,
     IDOK, 222},
    {"WantReturnKeyEnterIsOk", kButtonsThenWantReturnEdit, true, false, true, "R", kNone, false,
     IDOK, 111},
    {"WantReturnKeyTabGoesToOk", kButtonsThenWantReturnEdit, true, false, true, "T", kOkEmpty,
     false, IDOK, 444},
    {"WantReturnCharEscapeIsNothing", kButtonsThenWantReturnEdit, true, false, true, "k",
     kEditEmpty, false, IDOK, 444},
    {"WantReturnCharEnterIsNothing", kButtonsThenWantReturnEdit, true, false, true, "r", kEditEmpty,
     false, IDOK, 444},
    {"WantReturnCharTabIsNothing", kButtonsThenWantReturnEdit, true, false, true, "t", kEditEmpty,
     false, IDOK, 444},
    {"WantReturnKeyAndCharEscapeCancel", kButtonsThenWantReturnEdit, true, false, true, "Kk", kNone,
     false, IDOK, 222},
    {"WantReturnKeyAndCharEnterIsOk", kButtonsThenWantReturnEdit, true, false, true, "Rr", kNone,
     false, IDOK, 111},
    {"WantReturnKeyAndCharTabGoToOk", kButtonsThenWantReturnEdit, true, false, true, "Tt", kOkEmpty,
     false, IDOK, 444},
    // Three edit controls and no button.
    {"EditsKeyTabGoesToTheNext", kThreeEdits, true, false, true, "T", kFocusId, false, 1000, 11001},
    {"EditsCharTabStays", kThreeEdits, true, false, true, "t", kFocusId, false, 1000, 11000},
    {"EditsKeyAndCharTabGoToTheNext", kThreeEdits, true, false, true, "Tt", kFocusId, false, 1000,
     11001},
    {"EditsKeyEnterStillCommandsOk", kThreeEdits, true, false, true, "R", kNone, false, 1000, 111},
    {"EditsKeyEscapeStillCommandsCancel", kThreeEdits, false, false, true, "K", kNone, false, 1000,
     222},
    // Cancel the default push button.
    {"EnterClicksTheDefaultButton", kCancelIsDefault, false, false, true, "R", kNone, false, IDOK,
     222},
    {"DefaultIdIsTheDefaultButtons", kCancelIsDefault, false, false, true, "", kDefId, false, IDOK,
     0x10000 | IDCANCEL},
    {"TabToAButtonMakesItTheDefault", kCancelIsDefault, false, false, true, "TR", kNone, false,
     IDOK, 111},
    // A form: a label, an edit control with text, OK the default, Cancel.
    {"FirstTabStopGetsTheFocusSelected", kForm, false, false, false, "", kSelectedAll, false, 1000,
     444},
    {"FormCodes", kForm, false, false, false, "", kDialogCodes, false, 1000, 7},
    {"FormTabSkipsTheLabel", kForm, true, false, false, "TT", kFocusId, false, 1000,
     10000 + IDCANCEL},
    {"FormEnter", kForm, false, false, false, "R", kNone, false, 1000, 111},
    {"ExtendedTemplateSelected", kForm, false, true, false, "", kSelectedAll, false, 1000, 444},
    {"ExtendedTemplateTab", kForm, true, true, false, "T", kFocusId, false, 1000, 10000 + IDOK},
    {"ExtendedTemplateEscape", kForm, false, true, false, "K", kNone, false, 1000, 222},
};

TEST_P(DialogBox, Ends) {
  const DialogCase& c = GetParam();
  g_row = &c;
  g_initFocus = -1;
  const Template t(kDialogStyle, ItemsOf(c.layout), c.extended);
  const INT_PTR r =
      c.wide
          ? DialogBoxIndirectParamW(GetModuleHandleA(nullptr), t.get(), nullptr, TestDialogProc, 0)
          : DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.get(), nullptr, TestDialogProc, 0);
  EXPECT_EQ(r, c.want);
  EXPECT_EQ(g_initFocus, c.wantInitFocus);
  g_row = nullptr;
}

PTEST_ROWS(DialogBox, kDialogCases);

// --- A modeless dialog --------------------------------------------------------------------------

INT_PTR CALLBACK ModelessProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

class ModelessDialog : public kwtest::WindowTest {};

// Made hidden (no WS_VISIBLE) and left to the caller's loop: its controls are its children with
// the template's texts; the dialog manager moves the focus on Tab and makes the focused push
// button the default; EndDialog hides nothing that was hidden and destroys nothing.
TEST_F(ModelessDialog, FromTemplateThroughTheCallersLoop) {
  const Template t(kDialogStyle, ItemsOf(kForm), false);
  HWND dlg =
      CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.get(), nullptr, ModelessProc, 0);
  ASSERT_NE(dlg, nullptr);
  HWND edit = GetDlgItem(dlg, 1000), ok = GetDlgItem(dlg, IDOK), cancel = GetDlgItem(dlg, IDCANCEL);
  ASSERT_TRUE(edit && ok && cancel);
  EXPECT_EQ(GetParent(edit), dlg);
  EXPECT_EQ(kwtest::Text(GetDlgItem(dlg, 0xFFFF)), "Name:");
  EXPECT_EQ(kwtest::Text(cancel), "Cancel");
  EXPECT_EQ(kwtest::Text(edit), "abc");
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(kwtest::Sel(edit), std::make_pair(0, 3));
  auto loop = [&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (!IsDialogMessageA(dlg, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
  };
  PostMessageA(edit, WM_KEYDOWN, VK_TAB, 0xf0001);
  PostMessageA(ok, WM_KEYDOWN, VK_TAB, 0xf0001);
  loop();
  EXPECT_EQ(GetFocus(), cancel);
  EXPECT_EQ(SendMessageA(cancel, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(SendMessageA(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(cancel, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(EndDialog(dlg, 5));
  EXPECT_TRUE(IsWindow(dlg));
  EXPECT_FALSE(IsWindowVisible(dlg));
  EXPECT_TRUE(DestroyWindow(dlg));
  EXPECT_FALSE(IsWindow(edit));
  kwtest::Focus(kwtest::Parent());
}

// --- What a dialog's own loop brings
// --------------------------------------------------------------

// Each row but the first lets its timers fall due before the loop first finds the queue empty,
// so that the dialog ends unseen (showing it would cost a window manager's round trip).
enum LoopSetup {
  kTimerEnds,          // a timer of 30 ms: the loop waits for it
  kKilledTimer,        // one killed (TRUE, then FALSE), another of 30 ms
  kPostedBeforeTimer,  // a timer due, then a message posted: the message comes first
  kEarlierDueFirst,    // two due: the one due first comes first, whatever the order they were set
  kTimerProcedure,     // a timer with a procedure: DispatchMessage calls it, not the dialog's
  kOtherWindow,        // WM_CLOSE posted to another window: the dialog's loop dispatches it
  kTypedKeys,          // "xy" and Enter sent with SendInput once the edit control has the focus
  kProcedureCalls,     // DWLP_USER, SendDlgItemMessageW, SetForegroundWindow of the hidden dialog
};

struct LoopCase {
  const char* name;
  LoopSetup setup;
  INT_PTR want;
};
void PrintTo(const LoopCase& c, std::ostream* os) { *os << c.name; }

constexpr UINT_PTR kGiveUp = 99;  // ends a dialog whose awaited message never comes
const LoopCase* g_loop = nullptr;
bool g_appSeen = false;
bool g_killed = false;
int g_procCalls = 0;
HWND g_other = nullptr;

void CALLBACK EndByTimer(HWND hDlg, UINT msg, UINT_PTR id, DWORD) {
  EndDialog(hDlg, msg == WM_TIMER ? static_cast<INT_PTR>(800 + id) : 0);
}

// The keys of a lower-case text and Enter, by their virtual keys and scan codes.
UINT SendKeys(const char* text) {
  std::vector<INPUT> in;
  auto add = [&](WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  for (const char* c = text; *c; ++c) {
    const WORD vk = *c == '\r' ? VK_RETURN : static_cast<WORD>(VkKeyScanA(*c) & 0xFF);
    add(vk, false);
    add(vk, true);
  }
  return SendInput(static_cast<UINT>(in.size()), in.data(), static_cast<int>(sizeof(INPUT)));
}

INT_PTR CALLBACK LoopProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM) {
  const LoopCase& c = *g_loop;
  switch (msg) {
    case WM_INITDIALOG:
      SetTimer(hDlg, kGiveUp, 5000, nullptr);
      switch (c.setup) {
        case kTimerEnds:
          SetTimer(hDlg, 6, 30, nullptr);
          break;
        case kKilledTimer:
          SetTimer(hDlg, 7, 10, nullptr);
          g_killed = KillTimer(hDlg, 7) && !KillTimer(hDlg, 7);
          SetTimer(hDlg, 6, 30, nullptr);
          Sleep(50);
          break;
        case kPostedBeforeTimer:
          SetTimer(hDlg, 5, 0, nullptr);
          Sleep(50);
          PostMessageA(hDlg, WM_APP, 0, 0);
          break;
        case kEarlierDueFirst:
          SetTimer(hDlg, 8, 40, nullptr);
          SetTimer(hDlg, 9, 10, nullptr);
          Sleep(100);
          break;
        case kTimerProcedure:
          SetTimer(hDlg, 8, 10, EndByTimer);
          Sleep(50);
          break;
        case kOtherWindow:
          PostMessageA(g_other, WM_CLOSE, 0, 0);
          PostMessageA(hDlg, WM_APP, 0, 0);
          break;
        case kTypedKeys:
          SetForegroundWindow(hDlg);
          PostMessageA(hDlg, WM_APP + 1, 0, 0);
          break;
        case kProcedureCalls: {
          SetWindowLongPtrW(hDlg, DWLP_USER, 0x1234);
          INT_PTR bits = 0;
          if (SetForegroundWindow(hDlg) && !IsWindowVisible(hDlg)) bits |= 2;
          if (SendDlgItemMessageW(hDlg, 1000, WM_GETTEXTLENGTH, 0, 0) == 3) bits |= 4;
          if (SendDlgItemMessageW(hDlg, 4242, WM_GETTEXTLENGTH, 0, 0) == 0) bits |= 8;
          g_procCalls = static_cast<int>(bits);
          PostMessageA(hDlg, WM_APP, 0, 0);
          break;
        }
      }
      return TRUE;
    case WM_APP + 1:
      if (SendKeys("xy\r") != 6) EndDialog(hDlg, 1);
      return TRUE;
    case WM_APP:
      g_appSeen = true;
      if (c.setup == kOtherWindow) EndDialog(hDlg, IsWindow(g_other) ? 555 : 444);
      if (c.setup == kProcedureCalls)
        EndDialog(hDlg, g_procCalls | (GetWindowLongPtrW(hDlg, DWLP_USER) == 0x1234 ? 1 : 0));
      return TRUE;
    case WM_TIMER:
      if (wParam == kGiveUp) {
        EndDialog(hDlg, -99);
      } else if (c.setup == kPostedBeforeTimer) {
        EndDialog(hDlg, g_appSeen ? 500 : 0);
      } else if (c.setup == kKilledTimer) {
        EndDialog(hDlg, g_killed ? static_cast<INT_PTR>(600 + wParam) : 0);
      } else {
        // A timer with a procedure never reaches the dialog's procedure.
        EndDialog(hDlg, c.setup == kTimerProcedure ? 999 : static_cast<INT_PTR>(600 + wParam));
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED)
        EndDialog(hDlg, kwtest::Text(GetDlgItem(hDlg, 1000)) == "xy" ? 444 : 555);
      return TRUE;
    default:
      return FALSE;
  }
}

class DialogLoop : public kwtest::WindowTest, public ::testing::WithParamInterface<LoopCase> {};

const LoopCase kLoopCases[] = {
    {"TimerEndsTheDialog", kTimerEnds, 606},
    {"KilledTimerNeverComes", kKilledTimer, 606},
    {"PostedMessageBeforeADueTimer", kPostedBeforeTimer, 500},
    {"TimerDueFirstComesFirst", kEarlierDueFirst, 609},
    {"TimerProcedureIsCalled", kTimerProcedure, 808},
    {"MessageForAnotherWindowIsDispatched", kOtherWindow, 444},
    {"SendInputReachesTheFocusedControl", kTypedKeys, 444},
    {"ProcedureCalls", kProcedureCalls, 15},
};

TEST_P(DialogLoop, Ends) {
  const LoopCase& c = GetParam();
  g_loop = &c;
  g_appSeen = g_killed = false;
  g_procCalls = 0;
  g_other =
      CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(g_other, nullptr);
  const Template t(kDialogStyle, ItemsOf(kForm), true);
  EXPECT_EQ(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr, LoopProc, 0),
            c.want);
  if (IsWindow(g_other)) DestroyWindow(g_other);
  g_loop = nullptr;
  kwtest::Focus(kwtest::Parent());
}

PTEST_ROWS(DialogLoop, kLoopCases);

// --- Timers outside a dialog --------------------------------------------------------------------

class Timers : public kwtest::WindowTest {};

// A window's timer answers its identifier (1 for 0); the thread's take identifiers of their own;
// a due timer stays until its message is taken, which starts its next elapse; a destroyed
// window's timers go with it.
TEST_F(Timers, IdentifiersAndDueMessages) {
  HWND w =
      CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  MSG m;
  while (PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  EXPECT_EQ(SetTimer(w, 0, 10, nullptr), 1u);
  EXPECT_TRUE(KillTimer(w, 0));
  EXPECT_FALSE(KillTimer(w, 0));
  const UINT_PTR a = SetTimer(nullptr, 0, 10000, nullptr);
  const UINT_PTR b = SetTimer(nullptr, 0, 10000, nullptr);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(SetTimer(nullptr, a, 10000, nullptr), a) << "an existing thread timer is set again";
  EXPECT_TRUE(KillTimer(nullptr, a));
  EXPECT_TRUE(KillTimer(nullptr, b));
  EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleA(nullptr));

  EXPECT_EQ(SetTimer(w, 3, 10, nullptr), 3u);
  EXPECT_FALSE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE)) << "not due yet";
  Sleep(50);
  ASSERT_TRUE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_EQ(m.hwnd, w);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_TRUE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE)) << "the next elapse began";
  Sleep(50);
  EXPECT_TRUE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE));
  DestroyWindow(w);
  Sleep(50);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

// --- Scan codes ---------------------------------------------------------------------------------

struct ScanCase {
  const char* name;
  UINT vk;
  UINT scan;    // MAPVK_VK_TO_VSC
  UINT ch;      // MAPVK_VK_TO_CHAR
  UINT vkBack;  // MAPVK_VSC_TO_VK of the scan code (the generic modifier key)
  UINT vkEx;    // MAPVK_VSC_TO_VK_EX (left and right told apart)
};
void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class ScanCodes : public ::testing::TestWithParam<ScanCase> {};

// The US keyboard: the keys a host types, the modifiers, keys of the number pad, and keys that
// share a scan code with another. (The number pad's digit keys are left out: Wine answers no
// scan code for them, Windows their keys' codes.)
const ScanCase kScanCases[] = {
    {"LetterA", 'A', 0x1E, 'A', 'A', 'A'},
    {"LetterX", 'X', 0x2D, 'X', 'X', 'X'},
    {"Digit5", '5', 0x06, '5', '5', '5'},
    {"Digit0", '0', 0x0B, '0', '0', '0'},
    {"Period", VK_OEM_PERIOD, 0x34, '.', VK_OEM_PERIOD, VK_OEM_PERIOD},
    {"Comma", VK_OEM_COMMA, 0x33, ',', VK_OEM_COMMA, VK_OEM_COMMA},
    {"Minus", VK_OEM_MINUS, 0x0C, '-', VK_OEM_MINUS, VK_OEM_MINUS},
    {"Quote", VK_OEM_7, 0x28, '\'', VK_OEM_7, VK_OEM_7},
    {"Space", VK_SPACE, 0x39, ' ', VK_SPACE, VK_SPACE},
    {"Enter", VK_RETURN, 0x1C, '\r', VK_RETURN, VK_RETURN},
    {"Tab", VK_TAB, 0x0F, '\t', VK_TAB, VK_TAB},
    {"Backspace", VK_BACK, 0x0E, '\b', VK_BACK, VK_BACK},
    {"Escape", VK_ESCAPE, 0x01, 0x1B, VK_ESCAPE, VK_ESCAPE},
    {"Shift", VK_SHIFT, 0x2A, 0, VK_SHIFT, VK_LSHIFT},
    {"RightShift", VK_RSHIFT, 0x36, 0, VK_SHIFT, VK_RSHIFT},
    {"Control", VK_CONTROL, 0x1D, 0, VK_CONTROL, VK_LCONTROL},
    {"RightControl", VK_RCONTROL, 0x1D, 0, VK_CONTROL, VK_LCONTROL},
    {"Alt", VK_MENU, 0x38, 0, VK_MENU, 0xA4},
    {"Home", VK_HOME, 0x47, 0, VK_HOME, VK_HOME},
    {"Delete", VK_DELETE, 0x53, 0, VK_DELETE, VK_DELETE},
    {"NumpadDecimal", VK_DECIMAL, 0x53, '.', VK_DELETE, VK_DELETE},
    {"NumpadDivide", VK_DIVIDE, 0x35, '/', VK_OEM_2, VK_OEM_2},
    {"NumpadAdd", VK_ADD, 0x4E, '+', VK_ADD, VK_ADD},
    {"F1", VK_F1, 0x3B, 0, VK_F1, VK_F1},
};

TEST_P(ScanCodes, BothWays) {
  const ScanCase& c = GetParam();
  EXPECT_EQ(MapVirtualKeyA(c.vk, MAPVK_VK_TO_VSC), c.scan);
  EXPECT_EQ(MapVirtualKeyW(c.vk, MAPVK_VK_TO_VSC), c.scan);
  EXPECT_EQ(MapVirtualKeyA(c.vk, MAPVK_VK_TO_CHAR), c.ch);
  EXPECT_EQ(MapVirtualKeyA(c.scan, MAPVK_VSC_TO_VK), c.vkBack);
  EXPECT_EQ(MapVirtualKeyA(c.scan, MAPVK_VSC_TO_VK_EX), c.vkEx);
}

PTEST_ROWS(ScanCodes, kScanCases);

}  // namespace
