/* The demo as a Windows dialog, written in C against KwMaskEditControls.h: the template
 * (DemoDialog.rc) names the controls by class, this program shows it with DialogBoxParamW, gives
 * the controls their colours and the field lengths, and checks the date as it is typed with a
 * validate procedure built on KwMatchTemplateW. OK checks the date once more and ends the dialog;
 * Cancel ends it. It links KwMaskEdit.dll like any program of any language would.
 *
 *   kwdialog.exe                      the dialog, typed into by the user
 *   kwdialog.exe --keys TEXT          types TEXT first ({Tab} for the Tab key), then prints
 *                                     "ready" and goes on
 *   kwdialog.exe --keys TEXT --exit   the same, then prints what each control shows and ends */
#include <stdio.h>
#include <string.h>

#include "controls/KwMaskEditControls.h"
#include "examples/windows/DemoDialogIds.h"

#define WM_APP_TYPE (WM_APP + 1)
#define WM_APP_TYPED (WM_APP + 2)

static const char* g_keys;
static int g_exitAfterKeys;
static int g_keyEvents; /* key events sent and not yet taken by the dialog's loop */
static HWND g_dialog;
static HHOOK g_hook;

/* The looks: neutral, blue when focused, amber for a warning, red for an error. */
static void SetLooks(HWND control) {
  (void)KwMask_SetColor(control, KWCOLOR_TEXT, RGB(0, 0, 0));
  (void)KwMask_SetColor(control, KWCOLOR_TEXTFOCUS, RGB(0, 0, 0));
  (void)KwMask_SetColor(control, KWCOLOR_TEXTWARNING, RGB(0, 0, 0));
  (void)KwMask_SetColor(control, KWCOLOR_TEXTERROR, RGB(255, 255, 255));
  (void)KwMask_SetColor(control, KWCOLOR_BACK, RGB(255, 255, 255));
  (void)KwMask_SetColor(control, KWCOLOR_BACKFOCUS, RGB(160, 210, 255));
  (void)KwMask_SetColor(control, KWCOLOR_BACKWARNING, RGB(255, 210, 90));
  (void)KwMask_SetColor(control, KWCOLOR_BACKERROR, RGB(200, 30, 30));
}

// snippet-begin validate
/* The date's check, as the control calls it with its entered data ("mmddyyyy" as far as typed):
 * 0 when it is fine (or empty), else the 1-based position of the first mistake. An incomplete
 * date is a warning, a month or day that does not exist an error; the control shows either. */
static int CALLBACK CheckDate(HWND control, WCHAR* data, int cchData, LPARAM user) {
  static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int result = 0, state = KWSTATE_NORMAL;
  (void)user;
  if (data[0] != 0 && (result = KwMatchTemplateW(data, cchData, L"99999999")) != 0) {
    state = KWSTATE_WARNING;
  } else if (data[0] != 0) {
    const int month = (data[0] - '0') * 10 + (data[1] - '0');
    const int day = (data[2] - '0') * 10 + (data[3] - '0');
    const int year =
        ((data[4] - '0') * 10 + (data[5] - '0')) * 100 + (data[6] - '0') * 10 + (data[7] - '0');
    const int leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12)
      result = 1;
    else if (day < 1 || day > days[month - 1] || (month == 2 && day == 29 && !leap))
      result = 3;
    state = result != 0 ? KWSTATE_ERROR : KWSTATE_NORMAL;
  }
  (void)KwMask_SetState(control, state);
  return result;
}
// snippet-end validate

/* What the line under the controls says of the date. */
static void ShowCheck(HWND dialog) {
  HWND date = GetDlgItem(dialog, IDC_DATE);
  WCHAR line[80];
  const int position = KwMask_Validate(date);
  const int state = KwMask_GetState(date);
  if (position == 0)
    swprintf(line, 80, L"Date check: %ls", KwMask_GetData(date, NULL, 0) ? L"fine" : L"empty");
  else if (state & KWSTATE_WARNING)
    swprintf(line, 80, L"Date check: incomplete at position %d", position);
  else
    swprintf(line, 80, L"Date check: no such %ls", position == 1 ? L"month" : L"day");
  SetDlgItemTextW(dialog, IDC_CHECK, line);
}

/* ---- Typing a text into the dialog (--keys) ----------------------------------------------- */

static UINT AddKey(INPUT* in, UINT n, WORD vk, int up) {
  memset(&in[n], 0, sizeof in[n]);
  in[n].type = INPUT_KEYBOARD;
  in[n].ki.wVk = vk;
  in[n].ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return n + 1;
}

/* Counts the key events the dialog's loop takes; when the last has come, the dialog hears it. */
static LRESULT CALLBACK CountKeys(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = (const MSG*)lParam;
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message >= WM_KEYFIRST &&
      msg->message <= WM_KEYLAST && msg->message != WM_CHAR && --g_keyEvents == 0)
    PostMessageW(g_dialog, WM_APP_TYPED, 0, 0);
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

static void TypeKeys(const char* text) {
  static INPUT in[1024];
  UINT n = 0;
  while (*text && n + 4 <= sizeof in / sizeof in[0]) {
    SHORT scan;
    if (strncmp(text, "{Tab}", 5) == 0) {
      scan = VK_TAB;
      text += 5;
    } else {
      scan = VkKeyScanA(*text++);
    }
    if (scan == -1) continue;
    if (scan & 0x100) n = AddKey(in, n, VK_SHIFT, 0);
    n = AddKey(in, n, (WORD)(scan & 0xFF), 0);
    n = AddKey(in, n, (WORD)(scan & 0xFF), 1);
    if (scan & 0x100) n = AddKey(in, n, VK_SHIFT, 1);
  }
  g_keyEvents = (int)n;
  g_hook = SetWindowsHookExW(WH_GETMESSAGE, CountKeys, NULL, GetCurrentThreadId());
  if (n == 0 || SendInput(n, in, (int)sizeof(INPUT)) != n)
    PostMessageW(g_dialog, WM_APP_TYPED, 0, 0);
}

static void PrintShown(HWND dialog) {
  static const struct {
    int id;
    const char* name;
  } controls[] = {{IDC_PHONE, "phone"},    {IDC_CODE, "field 1"},  {IDC_YEAR, "field 2"},
                  {IDC_NUMBER, "field 3"}, {IDC_AMOUNT, "amount"}, {IDC_DATE, "date"},
                  {IDC_NAME, "name"}};
  size_t i;
  char text[64];
  WCHAR wide[64];
  for (i = 0; i < sizeof controls / sizeof controls[0]; ++i) {
    /* In UTF-8: the name takes letters of any script. */
    GetDlgItemTextW(dialog, controls[i].id, wide, (int)(sizeof wide / sizeof wide[0]));
    if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, (int)sizeof text, NULL, NULL)) text[0] = 0;
    printf("%s shows '%s'\n", controls[i].name, text);
  }
  GetDlgItemTextA(dialog, IDC_CHECK, text, (int)sizeof text);
  printf("%s\n", text);
  fflush(stdout);
}

/* ---- The dialog ------------------------------------------------------------------------- */

static INT_PTR CALLBACK DemoProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG: {
      int id;
      g_dialog = dialog;
      for (id = IDC_PHONE; id <= IDC_DATE; ++id) SetLooks(GetDlgItem(dialog, id));
      SetLooks(GetDlgItem(dialog, IDC_NAME));
      /* The fields' lengths: three letters, a year, a number of four digits, a name. */
      SendDlgItemMessageW(dialog, IDC_CODE, EM_LIMITTEXT, 3, 0);
      SendDlgItemMessageW(dialog, IDC_YEAR, EM_LIMITTEXT, 4, 0);
      SendDlgItemMessageW(dialog, IDC_NUMBER, EM_LIMITTEXT, 4, 0);
      SendDlgItemMessageW(dialog, IDC_NAME, EM_LIMITTEXT, 24, 0);
      (void)KwMask_SetValidateProc(GetDlgItem(dialog, IDC_DATE), CheckDate, 0);
      ShowCheck(dialog);
      if (g_keys != NULL) PostMessageW(dialog, WM_APP_TYPE, 0, 0);
      return TRUE; /* the focus on the first tab stop: the phone */
    }
    case WM_APP_TYPE:
      SetForegroundWindow(dialog);
      TypeKeys(g_keys);
      return TRUE;
    case WM_APP_TYPED:
      if (g_hook != NULL) UnhookWindowsHookEx(g_hook);
      g_hook = NULL;
      RedrawWindow(dialog, NULL, NULL,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      printf("ready\n");
      fflush(stdout);
      if (g_exitAfterKeys) {
        PrintShown(dialog);
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_DATE && HIWORD(wParam) == EN_CHANGE) {
        ShowCheck(dialog);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) {
        /* A date with a mistake keeps the dialog open, the caret at the mistake. */
        HWND date = GetDlgItem(dialog, IDC_DATE);
        const int position = KwMask_Validate(date);
        if (position != 0) {
          MessageBeep(MB_ICONWARNING);
          SetFocus(date);
          return TRUE;
        }
        PrintShown(dialog);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

int main(int argc, char** argv) {
  int i;
  for (i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--keys") == 0 && i + 1 < argc) {
      g_keys = argv[++i];
    } else if (strcmp(argv[i], "--exit") == 0) {
      g_exitAfterKeys = 1;
    } else {
      fprintf(stderr, "kwdialog: unknown option '%s' (--keys TEXT, --exit)\n", argv[i]);
      return 2;
    }
  }
  if (g_exitAfterKeys && g_keys == NULL) g_keys = "";
  if (DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_DEMO), NULL, DemoProc, 0) ==
      -1) {
    fprintf(stderr, "kwdialog: the dialog cannot be shown (%lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
