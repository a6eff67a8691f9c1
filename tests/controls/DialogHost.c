/* A dialog template names the three classes; the dialog shows through DialogBoxIndirectParamW
 * from a template built in memory (DialogTemplate.c) and, on Windows, also through
 * DialogBoxParamW from the same dialog compiled by windres (DialogHost.rc), which must be the
 * same template byte for byte but for the case of the class names. Keys go in through SendInput
 * and the dialog's own modal loop, and the dialog procedure reads the data back in its
 * WM_COMMAND handlers: each control's EN_CHANGE, and OK (the Enter key), which ends the dialog.
 * The dialog runs four times (on Windows from the resource and from memory in turn): the heap,
 * which the library shares, holds as much after the fourth run as after the second (the first
 * two fill what the process keeps once: tables that grow to their size), so the controls of a
 * dialog that ends leave nothing behind. The heap is the C runtime's walked heap on Windows, the
 * C library's allocated bytes natively (mallinfo2; the sanitizer's allocator's under
 * AddressSanitizer).
 * Prints each failed check; exits 1 on any. */
#if defined(__SANITIZE_ADDRESS__)
#define KW_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KW_ASAN 1
#endif
#endif
#if defined(_WIN32) || !defined(KW_ASAN)
#include <malloc.h>
#endif
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "controls/KwMaskEditControls.h"
#include "tests/controls/DialogIds.h"
#include "tests/controls/DialogTemplate.h"

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

/* Whether HeapInUse counts exactly what the program holds. glibc counts the blocks in its
 * thread cache as in use (up to seven of each size, filled over the first rounds): ctest runs
 * the host with that cache turned off. */
static int HeapCountIsExact(void) {
#if defined(_WIN32) || defined(KW_ASAN)
  return 1;
#else
  const char* tunables = getenv("GLIBC_TUNABLES");
  return tunables != NULL && strstr(tunables, "glibc.malloc.tcache_count=0") != NULL;
#endif
}

#if !defined(_WIN32) && defined(KW_ASAN)
/* The sanitizer's runtime (sanitizer/allocator_interface.h, not installed with every compiler). */
size_t __sanitizer_get_current_allocated_bytes(void);
#endif

/* The bytes the heap holds in use. */
static size_t HeapInUse(void) {
#if defined(_WIN32)
  _HEAPINFO info;
  size_t used = 0;
  info._pentry = NULL;
  while (_heapwalk(&info) == _HEAPOK)
    if (info._useflag == _USEDENTRY) used += info._size;
  return used;
#elif defined(KW_ASAN)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks;
#endif
}

/* The form's template built in memory (DWORD-aligned, as a template must be). */
static DWORD g_template[512];

/* fromResource: DialogBoxParamW of the compiled template (Windows only), else the one built in
 * memory. */
static void RunOnce(int round, int fromResource, size_t* heapAfter) {
  struct Seen seen;
  INT_PTR result;
  memset(&seen, 0, sizeof seen);
#ifdef _WIN32
  if (fromResource)
    result = DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_FORM), NULL, FormProc,
                             (LPARAM)&seen);
  else
#endif
    result = DialogBoxIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)g_template, NULL,
                                     FormProc, (LPARAM)&seen);
  *heapAfter = HeapInUse();
  printf("round %d (%s): dialog answered %d; phone '%s', code '%s', amount '%s' (%g)\n", round,
         fromResource ? "resource" : "memory", (int)result, seen.phone, seen.code, seen.amount,
         seen.value);
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

#ifdef _WIN32
/* The template built in memory, with the class names in upper case as windres writes them, is
 * the compiled one byte for byte. */
static void CompareWithResource(void) {
  static DWORD upper[512];
  const size_t size = KwBuildFormTemplate(upper, sizeof upper, 1);
  HRSRC found = FindResourceW(NULL, MAKEINTRESOURCEW(IDD_FORM), (LPCWSTR)RT_DIALOG);
  const unsigned char* compiled =
      found ? (const unsigned char*)LockResource(LoadResource(NULL, found)) : NULL;
  const size_t compiledSize = found ? SizeofResource(NULL, found) : 0;
  size_t i = 0;
  CHECK(compiled != NULL, "the compiled template is there");
  if (compiled == NULL) return;
  while (i < size && i < compiledSize && compiled[i] == ((const unsigned char*)upper)[i]) ++i;
  printf("template in memory %lu bytes, compiled %lu; the same up to byte %lu\n",
         (unsigned long)size, (unsigned long)compiledSize, (unsigned long)i);
  CHECK(size > 0 && size == compiledSize && i == size,
        "the template in memory is the compiled one");
}
#endif

int main(void) {
  size_t first = 0, last = 0;
  int round;
  CHECK(KwRegisterControls() == TRUE, "the classes are there");
  CHECK(KwBuildFormTemplate(g_template, sizeof g_template, 0) > 0, "the template is built");
#ifdef _WIN32
  CompareWithResource();
#endif
  for (round = 1; round <= 4; ++round) {
#ifdef _WIN32
    const int fromResource = round % 2;
#else
    const int fromResource = 0;
#endif
    RunOnce(round, fromResource, round <= 2 ? &first : &last);
  }
  printf("heap in use after the second dialog %lu bytes, after the fourth %lu\n",
         (unsigned long)first, (unsigned long)last);
  if (first == 0 && last == 0)
    /* An allocator of its own in front of the C library's (valgrind's memcheck) leaves the
     * C library's count at nothing; memcheck itself then reports what a dialog leaves. */
    printf("heap not compared: the C library's count is empty (another allocator in front)\n");
  else if (HeapCountIsExact())
    CHECK(last <= first, "the dialogs that ended left nothing on the heap");
  else
    printf(
        "heap not compared: glibc's thread cache counts as in use (run with "
        "GLIBC_TUNABLES=glibc.malloc.tcache_count=0, as ctest does)\n");
  printf("%d checks, %d failed\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
