/* A dialog template names the three classes (DialogHost.rc); DialogBoxParamW shows it, keys go in
 * through SendInput and the dialog's own modal loop, and the dialog procedure reads the data back
 * in its WM_COMMAND handlers: each control's EN_CHANGE, and OK (the Enter key), which ends the
 * dialog. The dialog runs four times: the heap of the C runtime, which the library shares, holds
 * as much after the fourth run as after the second (the first two fill what the process keeps
 * once: tables that grow to their size), so the controls of a dialog that ends leave nothing
 * behind. Windows build only (run under Wine). Prints each failed check; exits 1 on any. */
#include <malloc.h>
#include <stdio.h>
#include <string.h>

#include "controls/KwMaskEditControls.h"
#include "tests/controls/DialogIds.h"

static int g_checks;
static int g_failures;

#define CHECK(cond, what)                                  \
  do {                                                     \
    ++g_checks;                                            \
    if (!(cond)) {                                         \
      ++g_failures;                                        \
      printf("FAIL %s:%d %s\n", __FILE__, __LINE__, what); \
    }                                                      \
  } while (0)

/* What the dialog procedure saw. */
struct Seen {
  char phoneOnChange[32]; /* the phone's data at its last EN_CHANGE */
  int changes[4];         /* EN_CHANGE per control (phone, code, amount, plain) */
  int rejected;           /* KWN_REJECTED */
  char phone[32], code[32], amount[32], prompted[32];
  double value;
  int styles; /* KWS_AUTOTAB of the phone, KWS_OVERWRITE of the amount, as the controls took them */
  int ended;  /* 1: by OK; 2: the keys never came */
};

#define WM_APP_TYPE (WM_APP + 1)
#define TIMER_GIVE_UP 1

/* The keys of a user: the phone fills and tabs on by itself, so do the code's three letters; a
 * refused letter in the amount, its digits, and Enter for OK. */
static const char kKeys[] = "5551234567abcx1234.5\r";

static UINT AddKey(INPUT* in, UINT n, WORD vk, int up) {
  memset(&in[n], 0, sizeof in[n]);
  in[n].type = INPUT_KEYBOARD;
  in[n].ki.wVk = vk;
  in[n].ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return n + 1;
}

static void TypeAll(void) {
  INPUT in[4 * sizeof kKeys];
  UINT n = 0;
  const char* c;
  for (c = kKeys; *c; ++c) {
    const SHORT scan = *c == '\r' ? VK_RETURN : VkKeyScanA(*c);
    const WORD vk = (WORD)(scan & 0xFF);
    const int shift = (scan & 0x100) != 0;
    if (shift) n = AddKey(in, n, VK_SHIFT, 0);
    n = AddKey(in, n, vk, 0);
    n = AddKey(in, n, vk, 1);
    if (shift) n = AddKey(in, n, VK_SHIFT, 1);
  }
  CHECK(SendInput(n, in, (int)sizeof(INPUT)) == n, "SendInput takes the keys");
}

static INT_PTR CALLBACK FormProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  struct Seen* seen = (struct Seen*)GetWindowLongPtrW(dlg, DWLP_USER);
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, DWLP_USER, lParam);
      seen = (struct Seen*)lParam;
      /* The field's length, and refusals told to the dialog. */
      SendDlgItemMessageW(dlg, IDC_CODE, EM_LIMITTEXT, 3, 0);
      (void)KwMask_SetNotifyRejections(GetDlgItem(dlg, IDC_AMOUNT), TRUE);
      seen->styles = KwMask_GetAutoTab(GetDlgItem(dlg, IDC_PHONE)) &&
                     KwMask_GetAutoTab(GetDlgItem(dlg, IDC_CODE)) &&
                     !KwMask_GetInsertMode(GetDlgItem(dlg, IDC_AMOUNT)) &&
                     KwMask_GetInsertMode(GetDlgItem(dlg, IDC_PHONE));
      SetForegroundWindow(dlg);
      PostMessageW(dlg, WM_APP_TYPE, 0, 0);
      SetTimer(dlg, TIMER_GIVE_UP, 10000, NULL);
      return TRUE; /* the focus on the first tab stop: the phone */
    case WM_APP_TYPE:
      TypeAll();
      return TRUE;
    case WM_TIMER:
      if (seen == NULL) return FALSE;
      seen->ended = 2;
      EndDialog(dlg, IDABORT);
      return TRUE;
    case WM_COMMAND:
      /* The controls tell of their empty text as the dialog makes them, before WM_INITDIALOG. */
      if (seen == NULL) return FALSE;
      if (LOWORD(wParam) >= IDC_PHONE && LOWORD(wParam) <= IDC_PLAIN) {
        if (HIWORD(wParam) == EN_CHANGE) ++seen->changes[LOWORD(wParam) - IDC_PHONE];
        if (HIWORD(wParam) == KWN_REJECTED) ++seen->rejected;
        if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_PHONE)
          (void)KwMask_GetDataA((HWND)lParam, seen->phoneOnChange, 32);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        (void)KwMask_GetDataA(GetDlgItem(dlg, IDC_PHONE), seen->phone, 32);
        (void)KwMask_GetDataA(GetDlgItem(dlg, IDC_CODE), seen->code, 32);
        (void)KwMask_GetDataA(GetDlgItem(dlg, IDC_AMOUNT), seen->amount, 32);
        (void)KwMask_GetPromptedDataA(GetDlgItem(dlg, IDC_PHONE), seen->prompted, 32);
        (void)KwMask_GetValue(GetDlgItem(dlg, IDC_AMOUNT), &seen->value);
        KillTimer(dlg, TIMER_GIVE_UP);
        seen->ended = LOWORD(wParam) == IDOK ? 1 : 3;
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

/* The bytes the C runtime's heap holds in use. */
static size_t HeapInUse(void) {
  _HEAPINFO info;
  size_t used = 0;
  info._pentry = NULL;
  while (_heapwalk(&info) == _HEAPOK)
    if (info._useflag == _USEDENTRY) used += info._size;
  return used;
}

static void RunOnce(int round, size_t* heapAfter) {
  struct Seen seen;
  INT_PTR result;
  memset(&seen, 0, sizeof seen);
  result = DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_FORM), NULL, FormProc,
                           (LPARAM)&seen);
  *heapAfter = HeapInUse();
  printf("round %d: dialog answered %d; phone '%s', code '%s', amount '%s' (%g)\n", round,
         (int)result, seen.phone, seen.code, seen.amount, seen.value);
  CHECK(result == IDOK && seen.ended == 1, "the dialog ends by OK (Enter)");
  CHECK(seen.styles, "KWS_AUTOTAB and KWS_OVERWRITE of the template are taken");
  CHECK(strcmp(seen.phone, "5551234567") == 0, "the phone's data");
  CHECK(strcmp(seen.prompted, "5551234567") == 0, "the phone's prompted data");
  CHECK(strcmp(seen.phoneOnChange, "5551234567") == 0, "the data at the phone's last EN_CHANGE");
  CHECK(strcmp(seen.code, "ABC") == 0, "the code's data, upper case, after the phone tabbed on");
  CHECK(strcmp(seen.amount, "1234.5") == 0, "the amount's data, after the code tabbed on");
  CHECK(seen.value == 1234.5, "the amount's value");
  CHECK(seen.changes[0] > 0 && seen.changes[1] > 0 && seen.changes[2] > 0,
        "each control told the dialog of its changes");
  CHECK(seen.changes[3] == 0, "nothing typed into the plain edit control");
  CHECK(seen.rejected == 1, "the refused 'x' told the dialog once");
}

int main(void) {
  size_t first = 0, last = 0;
  int round;
  CHECK(KwRegisterControls() == TRUE, "the classes are there");
  for (round = 1; round <= 4; ++round) RunOnce(round, round <= 2 ? &first : &last);
  printf("C runtime heap in use after the second dialog %lu bytes, after the fourth %lu\n",
         (unsigned long)first, (unsigned long)last);
  CHECK(first > 0, "the heap is walked");
  CHECK(last <= first, "the dialogs that ended left nothing on the heap");
  printf("%d checks, %d failed\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
