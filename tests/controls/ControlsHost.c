/* A host written in C: the three controls made by class name with CreateWindowExW and
 * CreateWindowExA, typed into through SendInput and a plain GetMessage/IsDialogMessage loop,
 * and driven by the messages of KwMaskEditControls.h. Nothing of the library but that header;
 * the same source runs natively and under Wine. Prints each failed check; exits 1 on any. */
#include "controls/KwMaskEditControls.h"

#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#define T(text) L##text
#else
#define T(text) u##text
#endif

static int g_checks;
static int g_failures;
static const char* g_row = "";

#define CHECK(cond, what)                                              \
  do {                                                                 \
    ++g_checks;                                                        \
    if (!(cond)) {                                                     \
      ++g_failures;                                                    \
      printf("FAIL %s:%d [%s] %s\n", __FILE__, __LINE__, g_row, what); \
    }                                                                  \
  } while (0)

/* ---- Text helpers ------------------------------------------------------------------------- */

static int WLen(const WCHAR* s) {
  int n = 0;
  while (s[n]) ++n;
  return n;
}

static int WEq(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

/* ASCII text as UTF-16 (the rows' texts are ASCII). */
static void Widen(const char* s, WCHAR* out, int room) {
  int i = 0;
  for (; s[i] && i < room - 1; ++i) out[i] = (WCHAR)(unsigned char)s[i];
  out[i] = 0;
}

static int WEqA(const WCHAR* w, const char* a) {
  WCHAR buf[256];
  Widen(a, buf, 256);
  return WEq(w, buf);
}

static void ShowW(const char* label, const WCHAR* w) {
  int i;
  printf("    %s: \"", label);
  for (i = 0; w[i]; ++i) putchar(w[i] < 0x80 ? (char)w[i] : '?');
  printf("\"\n");
}

/* ---- The parent and its notifications ------------------------------------------------------ */

static HWND g_parent;
static int g_rejectedCount;
static int g_changeCount;
static HWND g_destroyOnChange; /* a control the parent destroys when it reports a change */

static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) {
    if (HIWORD(wParam) == KWN_REJECTED) ++g_rejectedCount;
    if (HIWORD(wParam) == EN_CHANGE) {
      ++g_changeCount;
      if (g_destroyOnChange && (HWND)lParam == g_destroyOnChange) {
        HWND h = g_destroyOnChange;
        g_destroyOnChange = NULL;
        DestroyWindow(h);
      }
    }
    return 0;
  }
  /* WM_CTLCOLOREDIT and everything else: the default processing, knowing nothing of ours. */
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

/* ---- The message loop and the keyboard ---------------------------------------------------- */

static int g_pendingKeys;

static int IsKeyMessage(UINT m) {
  return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP;
}

/* Takes every message waiting, and waits (up to 1.5 s) for key events still on their way. */
static void Pump(void) {
  MSG msg;
  DWORD start = 0;
  int waiting = 0;
  for (;;) {
    if (PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
      if (GetMessageW(&msg, NULL, 0, 0) <= 0) return;
      if (IsKeyMessage(msg.message) && g_pendingKeys > 0) --g_pendingKeys;
      if (!IsDialogMessageW(g_parent, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      continue;
    }
    if (g_pendingKeys <= 0) return;
    if (!waiting) {
      start = GetTickCount();
      waiting = 1;
    }
    if (GetTickCount() - start > 1500) {
      printf("FAIL [%s] %d key event(s) never arrived\n", g_row, g_pendingKeys);
      ++g_failures;
      g_pendingKeys = 0;
      return;
    }
    Sleep(1);
  }
}

static void SendKey(WORD vk, int up) {
  INPUT in;
  memset(&in, 0, sizeof in);
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
#ifdef _WIN32
  in.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
#endif
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END || vk == VK_DELETE)
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  ++g_pendingKeys;
  if (SendInput(1, &in, (int)sizeof(INPUT)) != 1) {
    --g_pendingKeys;
    printf("FAIL [%s] SendInput refused a key\n", g_row);
    ++g_failures;
  }
  Pump();
}

static void Press(WORD vk, int shift, int ctrl) {
  if (shift) SendKey(VK_SHIFT, 0);
  if (ctrl) SendKey(VK_CONTROL, 0);
  SendKey(vk, 0);
  SendKey(vk, 1);
  if (ctrl) SendKey(VK_CONTROL, 1);
  if (shift) SendKey(VK_SHIFT, 1);
}

/* Types ASCII text as a US keyboard would ('(' and ')' are Shift+9 and Shift+0: Wine under Xvfb
 * finds no key of their own). */
static void Type(const char* text) {
  for (; *text; ++text) {
    SHORT scan = VkKeyScanA(*text);
    if (*text == '(') scan = 0x100 | '9';
    if (*text == ')') scan = 0x100 | '0';
    Press((WORD)(scan & 0xFF), (scan & 0x100) != 0, 0);
  }
}

/* ---- Controls ------------------------------------------------------------------------------ */

enum Kind { CHARACTER, FIELD, NUMBER };

static const WCHAR* ClassW(enum Kind k) {
  return k == CHARACTER ? KWC_CHARACTERMASKEDEDITW
         : k == FIELD   ? KWC_FIELDMASKEDEDITW
                        : KWC_NUMBERMASKEDEDITW;
}

static const char* ClassA(enum Kind k) {
  return k == CHARACTER ? KWC_CHARACTERMASKEDEDITA
         : k == FIELD   ? KWC_FIELDMASKEDEDITA
                        : KWC_NUMBERMASKEDEDITA;
}

static int g_nextId = 100;

/* A control of the kind, made by the W or the A function, focused. */
static HWND Make(enum Kind kind, int wide, const char* mask, DWORD style) {
  HWND h;
  const DWORD styles = WS_CHILD | WS_VISIBLE | WS_TABSTOP | style;
  if (wide) {
    WCHAR wmask[64];
    Widen(mask, wmask, 64);
    h = CreateWindowExW(0, ClassW(kind), wmask, styles, 10, 10, 200, 24, g_parent,
                        (HMENU)(INT_PTR)g_nextId++, NULL, NULL);
  } else {
    h = CreateWindowExA(0, ClassA(kind), mask, styles, 10, 10, 200, 24, g_parent,
                        (HMENU)(INT_PTR)g_nextId++, NULL, NULL);
  }
  CHECK(h != NULL, "the control is made");
  if (h) SetFocus(h);
  Pump();
  return h;
}

static void Text(HWND h, WCHAR* out, int room) { GetWindowTextW(h, out, room); }

/* ---- Creation and typing ----------------------------------------------------------------- */

struct TypingRow {
  const char* name;
  enum Kind kind;
  int wide;
  const char* mask;
  DWORD style;
  const char* shownAtFirst; /* the window text right after creation */
  const char* typed;
  const char* shown;    /* the window text after typing */
  const char* data;     /* KWM_GETDATA */
  const char* prompted; /* KWM_GETPROMPTEDDATA */
  int reason;           /* KWM_GETREJECTION */
  char refused;         /* the refused character, when reason is not KWR_NONE */
};

static const struct TypingRow kTyping[] = {
    {"phone W", CHARACTER, 1, "(###) ###-####", 0, "(   )    -    ", "5551234567", "(555) 123-4567",
     "5551234567", "5551234567", KWR_NONE, 0},
    {"phone A", CHARACTER, 0, "(###) ###-####", 0, "(   )    -    ", "555", "(555)    -    ", "555",
     "555       ", KWR_NONE, 0},
    {"letter refused", CHARACTER, 1, "###", 0, "   ", "12a", "12 ", "12", "12 ", KWR_WRONGKIND,
     'a'},
    {"full", CHARACTER, 0, "##", 0, "  ", "123", "12", "12", "12", KWR_FULL, '3'},
    {"overwrite style", CHARACTER, 1, "###", KWS_OVERWRITE, "   ", "12", "12 ", "12", "12 ",
     KWR_NONE, 0},
    {"field digits W", FIELD, 1, "#", 0, "", "123x", "123", "123", "123", KWR_WRONGKIND, 'x'},
    {"field upper A", FIELD, 0, ">", 0, "", "ab1", "AB", "AB", "AB", KWR_WRONGKIND, '1'},
    {"number W", NUMBER, 1, "%", 0, NULL, "1234.5", NULL, "1234.5", NULL, KWR_NONE, 0},
    {"number A letter", NUMBER, 0, "%", 0, NULL, "12a", NULL, "12", NULL, KWR_WRONGKIND, 'a'},
};

static void TypingRows(void) {
  size_t i;
  for (i = 0; i < sizeof kTyping / sizeof kTyping[0]; ++i) {
    const struct TypingRow* r = &kTyping[i];
    WCHAR buf[128];
    int pos = -1;
    WCHAR ch = 0xFFFF;
    int reason;
    HWND h;
    g_row = r->name;
    h = Make(r->kind, r->wide, r->mask, r->style);
    if (!h) continue;
    CHECK(IsWindowUnicode(h), "a Unicode window");
    Text(h, buf, 128);
    if (r->shownAtFirst) {
      CHECK(WEqA(buf, r->shownAtFirst), "the empty text shows at once");
      if (!WEqA(buf, r->shownAtFirst)) ShowW("shown", buf);
    }
    Type(r->typed);
    Text(h, buf, 128);
    if (r->shown) {
      CHECK(WEqA(buf, r->shown), "the text after typing");
      if (!WEqA(buf, r->shown)) ShowW("shown", buf);
    }
    (void)KwMask_GetDataW(h, buf, 128);
    CHECK(WEqA(buf, r->data), "the data");
    if (!WEqA(buf, r->data)) ShowW("data", buf);
    if (r->prompted) {
      char narrow[128];
      (void)KwMask_GetPromptedDataA(h, narrow, 128);
      CHECK(strcmp(narrow, r->prompted) == 0, "the prompted data");
      if (strcmp(narrow, r->prompted) != 0) printf("    prompted: \"%s\"\n", narrow);
    }
    reason = KwMask_GetRejection(h, &pos, &ch);
    CHECK(reason == r->reason, "the reason of the last refusal");
    if (r->reason != KWR_NONE)
      CHECK(ch == (WCHAR)(unsigned char)r->refused, "the character refused");
    DestroyWindow(h);
  }
}

/* ---- One row per message, each with a bad input -------------------------------------------- */

struct MessageRow {
  const char* name;
  enum Kind kind;
  const char* mask;
  void (*run)(HWND h);
};

static void RowSetMaskA(HWND h) {
  char buf[32];
  WCHAR shown[32];
  CHECK(KwMask_SetMaskA(h, "##-##") == TRUE, "TRUE");
  CHECK(KwMask_GetMaskA(h, buf, 32) == 5 && strcmp(buf, "##-##") == 0, "the mask back");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "  -  "), "the new mask shows");
  CHECK(KwMask_SetMaskA(h, NULL) == TRUE, "NULL: TRUE");
  CHECK(KwMask_GetMaskA(h, buf, 32) == 0 && buf[0] == 0, "NULL is the empty mask");
}

static void RowSetMaskW(HWND h) {
  WCHAR buf[32];
  CHECK(KwMask_SetMaskW(h, T("(##)")) == TRUE, "TRUE");
  CHECK(KwMask_GetMaskW(h, buf, 32) == 4 && WEqA(buf, "(##)"), "the mask back");
  CHECK(KwMask_SetMaskW(h, NULL) == TRUE, "NULL: TRUE");
  CHECK(KwMask_GetMaskW(h, buf, 32) == 0 && buf[0] == 0, "NULL is the empty mask");
}

/* The copying messages: a NULL buffer tells the length, a size of 0 copies nothing, a small
 * buffer gets the start and a NUL. */
static void CheckCopies(HWND h, UINT msgA, UINT msgW, const char* expected) {
  char a[64];
  WCHAR w[64];
  const int n = (int)strlen(expected);
  CHECK(SendMessageA(h, msgA, 64, (LPARAM)a) == n && strcmp(a, expected) == 0, "A: the text");
  CHECK(SendMessageW(h, msgW, 64, (LPARAM)w) == n && WEqA(w, expected), "W: the text");
  CHECK(SendMessageA(h, msgA, 0, 0) == n, "A: NULL buffer tells the length");
  CHECK(SendMessageW(h, msgW, 5, 0) == n, "W: NULL buffer tells the length");
  a[0] = 'x';
  w[0] = 'x';
  CHECK(SendMessageA(h, msgA, 0, (LPARAM)a) == 0 && a[0] == 'x', "A: size 0 copies nothing");
  CHECK(SendMessageW(h, msgW, 0, (LPARAM)w) == 0 && w[0] == 'x', "W: size 0 copies nothing");
  memset(a, 'x', sizeof a);
  CHECK(SendMessageA(h, msgA, 3, (LPARAM)a) == 2 && a[2] == 0 && a[3] == 'x' &&
            strncmp(a, expected, 2) == 0,
        "A: a small buffer gets the start and a NUL, nothing beyond");
  w[1] = 'x';
  w[2] = 'x';
  CHECK(SendMessageW(h, msgW, 2, (LPARAM)w) == 1 && w[1] == 0 && w[2] == 'x',
        "W: a small buffer gets the start and a NUL, nothing beyond");
}

static void RowGetMask(HWND h) { CheckCopies(h, KWM_GETMASKA, KWM_GETMASKW, "###-###"); }

static void RowGetData(HWND h) {
  (void)KwMask_SetDataA(h, "1234");
  CheckCopies(h, KWM_GETDATAA, KWM_GETDATAW, "1234");
}

static void RowGetPromptedData(HWND h) {
  (void)KwMask_SetDataA(h, "12");
  CheckCopies(h, KWM_GETPROMPTEDDATAA, KWM_GETPROMPTEDDATAW, "12    ");
}

static void RowSetDataA(HWND h) {
  WCHAR shown[32];
  CHECK(KwMask_SetDataA(h, "123456") == TRUE, "TRUE");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "123-456"), "the data shows through the mask");
  CHECK(KwMask_SetDataA(h, NULL) == TRUE, "NULL: TRUE");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "   -   "), "NULL is the empty text");
}

static void RowSetDataW(HWND h) {
  WCHAR shown[32];
  CHECK(KwMask_SetDataW(h, T("98")) == TRUE, "TRUE");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "98 -   "), "the data shows through the mask");
  CHECK(KwMask_SetDataW(h, NULL) == TRUE, "NULL: TRUE");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "   -   "), "NULL is the empty text");
}

static void RowPrompt(HWND h) {
  WCHAR shown[32];
  CHECK(KwMask_GetPrompt(h) == ' ', "the prompt at first");
  CHECK(KwMask_SetPrompt(h, '*') == TRUE, "'*' taken");
  CHECK(KwMask_GetPrompt(h) == '*', "the prompt back");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "***-***"), "the prompt shows");
  CHECK(KwMask_SetPrompt(h, 0) == FALSE, "NUL refused");
  CHECK(KwMask_SetPrompt(h, '\r') == FALSE, "CR refused");
  CHECK(KwMask_SetPrompt(h, 0xD800) == FALSE, "half a surrogate pair refused");
  CHECK(KwMask_GetPrompt(h) == '*', "the prompt unchanged");
  CHECK(KwMask_SetPrompt(h, 0x4E00) == TRUE, "a character outside the ANSI code page taken");
  Text(h, shown, 32);
  CHECK(shown[0] == 0x4E00 && shown[3] == '-', "and shown as itself");
  CHECK(KwMask_SetPrompt(h, '*') == TRUE, "'*' again");
}

static void RowFieldPrompt(HWND h) {
  CHECK(KwMask_SetPrompt(h, '*') == FALSE, "the field control has no prompt");
  CHECK(KwMask_GetPrompt(h) == 0, "its prompt reads 0");
}

static void RowInsertMode(HWND h) {
  WCHAR shown[32];
  CHECK(KwMask_GetInsertMode(h) == TRUE, "insert mode at first");
  (void)KwMask_SetDataA(h, "123");
  (void)SendMessageW(h, EM_SETSEL, 0, 0);
  CHECK(KwMask_SetInsertMode(h, FALSE) == TRUE, "TRUE");
  CHECK(KwMask_GetInsertMode(h) == FALSE, "overwrite mode");
  Type("9");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "923-   "), "a typed digit overwrites");
  CHECK(KwMask_SetInsertMode(h, 7) == TRUE && KwMask_GetInsertMode(h) == TRUE,
        "any nonzero value is TRUE");
}

static void RowAutoTab(HWND h) {
  HWND next = Make(CHARACTER, 1, "##", 0);
  SetFocus(h);
  Pump();
  CHECK(KwMask_GetAutoTab(h) == FALSE, "auto-tab off at first");
  CHECK(KwMask_SetAutoTab(h, TRUE) == TRUE && KwMask_GetAutoTab(h) == TRUE, "auto-tab on");
  Type("1234567");
  CHECK(GetFocus() == next, "a filled control hands the focus on");
  CHECK(KwMask_SetAutoTab(h, 5) == TRUE && KwMask_GetAutoTab(h) == TRUE,
        "any nonzero value is TRUE");
  DestroyWindow(next);
}

static void RowGetValue(HWND h) {
  double value = -1;
  (void)KwMask_SetDataA(h, "1234.5");
  CHECK(KwMask_GetValue(h, &value) == TRUE && value == 1234.5, "the value");
  CHECK(KwMask_GetValue(h, NULL) == FALSE, "NULL: FALSE");
}

static int CALLBACK SecondIsWrong(HWND h, WCHAR* data, int cch, LPARAM user) {
  (void)h, (void)cch, (void)user;
  return data[0] && data[1] ? 2 : 0;
}

static void RowValidate(HWND h) {
  CHECK(KwMask_Validate(h) == 0, "no procedure: 0");
  (void)KwMask_SetDataA(h, "12");
  (void)KwMask_SetValidateProc(h, SecondIsWrong, 0);
  CHECK(KwMask_Validate(h) == 2, "the procedure's position");
  (void)KwMask_SetValidateProc(h, NULL, 0);
  CHECK(KwMask_Validate(h) == 0, "removed: 0");
}

static void RowState(HWND h) {
  CHECK(KwMask_GetState(h) == KWSTATE_NORMAL, "normal at first");
  CHECK(KwMask_SetState(h, KWSTATE_ERROR) == TRUE, "error taken");
  CHECK(KwMask_GetState(h) == KWSTATE_ERROR, "error back");
  CHECK(KwMask_SetState(h, KWSTATE_ERROR) == FALSE, "the same state again: FALSE");
  CHECK(KwMask_SetState(h, 0x20) == FALSE, "an unknown state: FALSE");
  CHECK(KwMask_SetState(h, -1) == FALSE, "-1: FALSE");
  CHECK(KwMask_GetState(h) == KWSTATE_ERROR, "the state unchanged");
  CHECK(KwMask_SetState(h, KWSTATE_WARNING | KWSTATE_WARNING2) == TRUE, "bits combine");
}

static void RowColor(HWND h) {
  int which;
  for (which = KWCOLOR_TEXT; which <= KWCOLOR_BACKERROR; ++which)
    CHECK(KwMask_SetColor(h, which, RGB(1, 2, 3)) == TRUE, "each of the eight colours");
  CHECK(KwMask_SetColor(h, 8, RGB(1, 2, 3)) == FALSE, "an unknown colour: FALSE");
  CHECK(KwMask_SetColor(h, -1, RGB(1, 2, 3)) == FALSE, "-1: FALSE");
}

/* Writes "999999" over the data (a correction) and says the first position is wrong. */
static int CALLBACK Corrects(HWND h, WCHAR* data, int cch, LPARAM user) {
  int i;
  (void)h;
  CHECK(cch >= 256, "room for at least 256 characters");
  CHECK(user == 42, "the user value");
  for (i = 0; i < 6; ++i) data[i] = '9';
  data[6] = 0;
  return 1;
}

/* Fills its whole buffer with digits and no NUL. */
static int CALLBACK Overruns(HWND h, WCHAR* data, int cch, LPARAM user) {
  int i;
  (void)h, (void)user;
  for (i = 0; i < cch; ++i) data[i] = '7';
  return 0;
}

static void RowValidateProc(HWND h) {
  WCHAR shown[32];
  (void)KwMask_SetDataA(h, "12");
  CHECK(KwMask_SetValidateProc(h, Corrects, 42) == TRUE, "TRUE");
  CHECK(KwMask_Validate(h) == 1, "the procedure's answer");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "999-999"), "the correction shows through the mask");
  CHECK(KwMask_SetValidateProc(h, Overruns, 0) == TRUE, "replaced");
  CHECK(KwMask_Validate(h) == 0, "a text that fills the buffer is cut at its end");
  Text(h, shown, 32);
  CHECK(WEqA(shown, "777-777"), "the cut text through the mask");
  CHECK(KwMask_SetValidateProc(h, NULL, 0) == TRUE, "NULL removes it");
}

static void RowRejection(HWND h) {
  int pos = -1;
  WCHAR ch = 0;
  Type("x");
  CHECK(KwMask_GetRejection(h, &pos, &ch) == KWR_WRONGKIND && pos == 0 && ch == 'x',
        "a letter in a digit position");
  CHECK(KwMask_GetRejection(h, NULL, NULL) == KWR_WRONGKIND, "NULL, NULL: the reason only");
  Type("1");
  CHECK(KwMask_GetRejection(h, &pos, &ch) == KWR_NONE, "an accepted key clears it");
}

/* What a screen reader hears: the value without prompts or trailing literals, the description,
 * and the last refusal in words (none yet: an empty text). */
static void RowAccValue(HWND h) {
  (void)KwMask_SetDataA(h, "55512");
  CheckCopies(h, KWM_GETACCVALUEA, KWM_GETACCVALUEW, "(555) 12");
}

static void RowAccDescription(HWND h) {
  (void)KwMask_SetDataA(h, "55512");
  CheckCopies(h, KWM_GETACCDESCRIPTIONA, KWM_GETACCDESCRIPTIONW,
              "format (###) ###-####: 10 digits, 5 entered");
}

static void RowAccHelp(HWND h) {
  char a[8] = "x";
  CHECK(KwMask_GetAccHelpA(h, a, 8) == 0 && a[0] == 0, "no refusal yet: the empty text");
  Type("x");
  CheckCopies(h, KWM_GETACCHELPA, KWM_GETACCHELPW, "wrong kind at 0: 'x' is not a digit");
}

static void RowNotifyRejections(HWND h) {
  g_rejectedCount = 0;
  Type("x");
  CHECK(g_rejectedCount == 0, "off at first");
  CHECK(KwMask_SetNotifyRejections(h, TRUE) == TRUE, "TRUE");
  Type("x");
  CHECK(g_rejectedCount == 1, "the parent hears the refusal");
  CHECK(KwMask_SetNotifyRejections(h, FALSE) == TRUE, "off again");
  Type("x");
  CHECK(g_rejectedCount == 1, "no more notifications");
}

static void RowUndo(HWND h) {
  WCHAR shown[32];
  CHECK(SendMessageW(h, EM_CANUNDO, 0, 0) == 0, "nothing to undo at first");
  Type("12"); /* one step: a run of typing */
  Press(VK_HOME, 0, 0);
  Type("3"); /* another: typed elsewhere */
  CHECK(SendMessageW(h, EM_CANUNDO, 0, 0) != 0, "something to undo");
  (void)SendMessageW(h, EM_UNDO, 0, 0);
  Text(h, shown, 32);
  CHECK(WEqA(shown, "12 -   "), "EM_UNDO takes back the last step");
  if (!WEqA(shown, "12 -   ")) ShowW("after EM_UNDO", shown);
  (void)SendMessageW(h, WM_UNDO, 0, 0);
  Text(h, shown, 32);
  CHECK(WEqA(shown, "   -   "), "WM_UNDO the one before");
  Type("5");
  (void)SendMessageW(h, EM_EMPTYUNDOBUFFER, 0, 0);
  CHECK(SendMessageW(h, EM_CANUNDO, 0, 0) == 0, "emptied");
}

static void RowEditMessages(HWND h) {
  WCHAR shown[32];
  char narrow[32];
  SetWindowTextW(h, T("123456"));
  Text(h, shown, 32);
  CHECK(WEqA(shown, "123-456"), "WM_SETTEXT through the mask");
  CHECK(GetWindowTextA(h, narrow, 32) == 7 && strcmp(narrow, "123-456") == 0, "WM_GETTEXT A");
}

static void RowDestroyInNotification(HWND h) {
  g_destroyOnChange = h;
  Type("1");
  CHECK(!IsWindow(h), "the parent destroyed the control in its EN_CHANGE");
  g_destroyOnChange = NULL;
}

static const struct MessageRow kMessages[] = {
    {"KWM_SETMASKA", CHARACTER, "###", RowSetMaskA},
    {"KWM_SETMASKW", CHARACTER, "###", RowSetMaskW},
    {"KWM_GETMASK", CHARACTER, "###-###", RowGetMask},
    {"KWM_GETDATA", CHARACTER, "###-###", RowGetData},
    {"KWM_GETPROMPTEDDATA", CHARACTER, "###-###", RowGetPromptedData},
    {"KWM_SETDATAA", CHARACTER, "###-###", RowSetDataA},
    {"KWM_SETDATAW", CHARACTER, "###-###", RowSetDataW},
    {"KWM_SETPROMPT", CHARACTER, "###-###", RowPrompt},
    {"KWM_SETPROMPT field", FIELD, "#", RowFieldPrompt},
    {"KWM_SETINSERTMODE", CHARACTER, "###-###", RowInsertMode},
    {"KWM_SETAUTOTAB", CHARACTER, "###", RowAutoTab},
    {"KWM_GETVALUE", NUMBER, "%", RowGetValue},
    {"KWM_VALIDATE", CHARACTER, "###", RowValidate},
    {"KWM_SETSTATE", CHARACTER, "###", RowState},
    {"KWM_SETCOLOR", CHARACTER, "###", RowColor},
    {"KWM_SETVALIDATEPROC", CHARACTER, "###-###", RowValidateProc},
    {"KWM_GETREJECTION", CHARACTER, "###", RowRejection},
    {"KWM_SETNOTIFYREJECTIONS", CHARACTER, "###", RowNotifyRejections},
    {"KWM_GETACCVALUE", CHARACTER, "(###) ###-####", RowAccValue},
    {"KWM_GETACCDESCRIPTION", CHARACTER, "(###) ###-####", RowAccDescription},
    {"KWM_GETACCHELP", CHARACTER, "###", RowAccHelp},
    {"EM_UNDO", CHARACTER, "###-###", RowUndo},
    {"edit messages", CHARACTER, "###-###", RowEditMessages},
    {"destroyed in its notification", CHARACTER, "###", RowDestroyInNotification},
};

static void MessageRows(void) {
  size_t i;
  for (i = 0; i < sizeof kMessages / sizeof kMessages[0]; ++i) {
    HWND h;
    g_row = kMessages[i].name;
    h = Make(kMessages[i].kind, (int)(i % 2), kMessages[i].mask, 0);
    if (!h) continue;
    kMessages[i].run(h);
    if (IsWindow(h)) DestroyWindow(h);
  }
}

/* ---- Colours under a parent that knows nothing of ours ---------------------------------- */

/* What a paint of the control (WM_PRINTCLIENT) left on a device context that held the sentinel
 * colours; under Windows also a pixel of the background, right of the text. */
struct Painted {
  COLORREF text, back, pixel;
};

#define SENTINEL_TEXT RGB(1, 1, 1)
#define SENTINEL_BACK RGB(2, 2, 2)

static struct Painted PaintOf(HWND h) {
  struct Painted p;
#ifdef _WIN32
  HDC screen = GetDC(NULL);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 24);
  HGDIOBJ old = SelectObject(dc, bitmap);
#else
  HDC dc = GetDC(g_parent);
#endif
  SetTextColor(dc, SENTINEL_TEXT);
  SetBkColor(dc, SENTINEL_BACK);
  (void)SendMessageW(h, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
  p.text = GetTextColor(dc);
  p.back = GetBkColor(dc);
#ifdef _WIN32
  p.pixel = GetPixel(dc, 190, 12);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(NULL, screen);
#else
  p.pixel = p.back; /* the simulation keeps no pixels */
  ReleaseDC(g_parent, dc);
#endif
  return p;
}

/* The eight colours, each distinct: text colours 0x10.., backgrounds 0x20... */
static COLORREF Slot(int which) { return RGB(0x10 * (which + 1), 0x20, 0x30 + which); }

enum Look { NORMAL, FOCUSED, WARNING, ERROR_LOOK, PLATFORM };

struct LookRow {
  const char* name;
  enum Kind kind;
  DWORD style;
  int focused;
  int state;
  enum Look look;
};

static const struct LookRow kLooks[] = {
    {"normal", CHARACTER, 0, 0, KWSTATE_NORMAL, NORMAL},
    {"focused", CHARACTER, 0, 1, KWSTATE_NORMAL, FOCUSED},
    {"warning", FIELD, 0, 0, KWSTATE_WARNING, WARNING},
    {"warning 2, focused", NUMBER, 0, 1, KWSTATE_WARNING2, WARNING},
    {"error wins over warning", CHARACTER, 0, 1, KWSTATE_ERROR | KWSTATE_WARNING, ERROR_LOOK},
    {"error 2", FIELD, 0, 0, KWSTATE_ERROR2, ERROR_LOOK},
    {"read-only: the platform's", CHARACTER, ES_READONLY, 0, KWSTATE_ERROR, PLATFORM},
};

static void CheckLook(HWND h, enum Look look, int readOnly) {
  const struct Painted p = PaintOf(h);
  COLORREF text, back;
  if (look == PLATFORM) {
    /* DefWindowProc's answer to WM_CTLCOLORSTATIC, which a read-only edit control asks. */
    text = GetSysColor(COLOR_WINDOWTEXT);
    back = GetSysColor(readOnly ? COLOR_3DFACE : COLOR_WINDOW);
  } else {
    const int t = look == NORMAL    ? KWCOLOR_TEXT
                  : look == FOCUSED ? KWCOLOR_TEXTFOCUS
                  : look == WARNING ? KWCOLOR_TEXTWARNING
                                    : KWCOLOR_TEXTERROR;
    text = Slot(t);
    back = Slot(t + KWCOLOR_BACK);
  }
  CHECK(p.text == text, "the text colour painted");
  CHECK(p.back == back, "the background colour painted");
#ifdef _WIN32
  CHECK(p.pixel == back, "the background brush painted");
#endif
  if (p.text != text || p.back != back || p.pixel != back)
    printf("    painted text %06lx back %06lx pixel %06lx, expected %06lx %06lx\n",
           (unsigned long)p.text, (unsigned long)p.back, (unsigned long)p.pixel,
           (unsigned long)text, (unsigned long)back);
}

static void LookRows(void) {
  size_t i;
  const LONG_PTR parentProc = GetWindowLongPtrW(g_parent, GWLP_WNDPROC);
  for (i = 0; i < sizeof kLooks / sizeof kLooks[0]; ++i) {
    const struct LookRow* r = &kLooks[i];
    HWND h;
    int which;
    g_row = r->name;
    h = Make(r->kind, (int)(i % 2), r->kind == NUMBER ? "%" : "#", r->style);
    if (!h) continue;
    for (which = KWCOLOR_TEXT; which <= KWCOLOR_BACKERROR; ++which)
      (void)KwMask_SetColor(h, which, Slot(which));
    (void)KwMask_SetState(h, r->state);
    SetFocus(r->focused ? h : g_parent);
    Pump();
    CheckLook(h, r->look, (r->style & ES_READONLY) != 0);
    UpdateWindow(h);
    CHECK(GetWindowLongPtrW(g_parent, GWLP_WNDPROC) == parentProc,
          "the parent has its own procedure back after the paint");
    DestroyWindow(h);
  }
}

/* The same under an ANSI parent: it stays an ANSI window and hears its messages as before. */
static int g_ansiCommands;
static LRESULT CALLBACK AnsiParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) ++g_ansiCommands;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static void AnsiParent(void) {
  WNDCLASSA wc;
  HWND parent, h;
  int which;
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = AnsiParentProc;
  wc.lpszClassName = "KwControlsHostAnsiParent";
  RegisterClassA(&wc);
  g_row = "ANSI parent";
  parent = CreateWindowExA(0, wc.lpszClassName, "ANSI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                           100, NULL, NULL, NULL, NULL);
  CHECK(parent != NULL && !IsWindowUnicode(parent), "an ANSI parent");
  h = CreateWindowExA(0, KWC_CHARACTERMASKEDEDITA, "###", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24,
                      parent, (HMENU)1, NULL, NULL);
  CHECK(h != NULL, "the control is made");
  if (!parent || !h) return;
  for (which = KWCOLOR_TEXT; which <= KWCOLOR_BACKERROR; ++which)
    (void)KwMask_SetColor(h, which, Slot(which));
  (void)KwMask_SetState(h, KWSTATE_ERROR);
  CheckLook(h, ERROR_LOOK, 0);
  CHECK(!IsWindowUnicode(parent), "still an ANSI window after the paint");
  CHECK(GetWindowLongPtrA(parent, GWLP_WNDPROC) == (LONG_PTR)AnsiParentProc,
        "its own procedure back");
  g_ansiCommands = 0;
  (void)KwMask_SetDataA(h, "12");
  CHECK(g_ansiCommands > 0, "it hears the control's notifications");
  DestroyWindow(parent);
}

/* ---- Read-only controls ------------------------------------------------------------------- */

static void ReadOnlyRows(void) {
  int kind;
  for (kind = CHARACTER; kind <= NUMBER; ++kind) {
    HWND h;
    WCHAR before[32], after[32];
    int pos = -1;
    g_row = kind == CHARACTER ? "read-only character"
            : kind == FIELD   ? "read-only field"
                              : "read-only number";
    h = Make((enum Kind)kind, kind % 2,
             kind == NUMBER  ? "%"
             : kind == FIELD ? "#"
                             : "###",
             ES_READONLY);
    if (!h) continue;
    CHECK(KwMask_SetDataA(h, "12") == TRUE, "the host still sets the data");
    (void)KwMask_SetNotifyRejections(h, TRUE);
    g_rejectedCount = 0;
    Text(h, before, 32);
    Press(VK_END, 0, 0);
    Type("34");
    Press(VK_BACK, 0, 0);
    Press(VK_HOME, 0, 0);
    Press(VK_DELETE, 0, 0);
    Text(h, after, 32);
    CHECK(WEq(before, after), "typing, Backspace and Delete take nothing");
    if (!WEq(before, after)) ShowW("after typing", after);
    CHECK(KwMask_GetRejection(h, &pos, NULL) == KWR_NONE, "nothing is refused by the control");
    CHECK(g_rejectedCount == 0, "no KWN_REJECTED");
    CHECK(SendMessageW(h, EM_CANUNDO, 0, 0) == 0, "nothing to undo");
    /* EM_SETREADONLY takes it back: the same keys now edit. */
    CHECK(SendMessageW(h, EM_SETREADONLY, FALSE, 0) != 0, "EM_SETREADONLY FALSE");
    Press(VK_HOME, 0, 0);
    Type("3");
    Text(h, after, 32);
    CHECK(!WEq(before, after), "writable again, a key edits");
    CHECK(SendMessageW(h, EM_SETREADONLY, TRUE, 0) != 0, "EM_SETREADONLY TRUE");
    Text(h, before, 32);
    Type("4");
    Text(h, after, 32);
    CHECK(WEq(before, after), "read-only again");
    DestroyWindow(h);
  }
}

/* The styles of ours at creation, for each class made by both functions. */
static void Styles(void) {
  int kind, wide;
  for (kind = CHARACTER; kind <= NUMBER; ++kind) {
    for (wide = 0; wide <= 1; ++wide) {
      HWND plain, styled;
      g_row = "styles";
      plain = Make((enum Kind)kind, wide, kind == NUMBER ? "%" : "#", 0);
      styled = Make((enum Kind)kind, wide, kind == NUMBER ? "%" : "#", KWS_AUTOTAB | KWS_OVERWRITE);
      CHECK(KwMask_GetAutoTab(plain) == FALSE && KwMask_GetInsertMode(plain) == TRUE,
            "without them: auto-tab off, insert mode");
      CHECK(KwMask_GetAutoTab(styled) == TRUE, "KWS_AUTOTAB: auto-tab on");
      CHECK(KwMask_GetInsertMode(styled) == FALSE, "KWS_OVERWRITE: overwrite mode");
      DestroyWindow(plain);
      DestroyWindow(styled);
    }
  }
}

/* Every message of ours, sent to an edit control (another class) or to a destroyed window: the
 * platform's usual 0, and nothing written through the pointers. */
static void OtherClass(void) {
  UINT message;
  HWND edit =
      CreateWindowExW(0, T("EDIT"), T("abc"), WS_CHILD, 0, 0, 50, 20, g_parent, NULL, NULL, NULL);
  HWND gone = Make(CHARACTER, 1, "###", 0);
  DestroyWindow(gone);
  g_row = "another class";
  CHECK(edit != NULL, "an edit control");
  for (message = KWM_FIRST; message <= KWM_SETNOTIFYREJECTIONS; ++message) {
    WCHAR buf[8] = {'x', 0};
    double value = -1;
    int pos = -1;
    const int pointers = message == KWM_GETVALUE || message == KWM_GETREJECTION;
    const WPARAM w = message == KWM_GETREJECTION ? (WPARAM)&pos : pointers ? 0 : 8;
    const LPARAM l = message == KWM_GETVALUE ? (LPARAM)&value : (LPARAM)buf;
    CHECK(SendMessageW(edit, message, w, l) == 0, "an edit control answers 0");
    CHECK(SendMessageW(gone, message, w, l) == 0, "a destroyed window answers 0");
    CHECK(buf[0] == 'x' && value == -1 && pos == -1, "nothing written");
    CHECK(GetWindowTextLengthW(edit) == 3, "the edit control's text untouched");
  }
  DestroyWindow(edit);
}

/* ---- The template matcher ----------------------------------------------------------------- */

struct MatchRow {
  const char* data;
  const char* templ;
  int room;
  int result;
  const char* after;
};

static const struct MatchRow kMatches[] = {
    {"12/31/1999", "99/99/9999", 32, 0, "12/31/1999"},
    {"1a/31/1999", "99/99/9999", 32, 2, NULL},
    {"", "", 32, 0, ""},
};

static void MatchRows(void) {
  size_t i;
  g_row = "KwMatchTemplate";
  for (i = 0; i < sizeof kMatches / sizeof kMatches[0]; ++i) {
    const struct MatchRow* r = &kMatches[i];
    char a[64];
    WCHAR w[64], t[64];
    strcpy(a, r->data);
    Widen(r->data, w, 64);
    Widen(r->templ, t, 64);
    CHECK(KwMatchTemplateA(a, r->room, r->templ) == r->result, "A: the result");
    CHECK(KwMatchTemplateW(w, r->room, t) == r->result, "W: the result");
    if (r->after) CHECK(strcmp(a, r->after) == 0 && WEqA(w, r->after), "the data after");
  }
  CHECK(KwMatchTemplateA(NULL, 8, "9") == 1, "NULL data: a mismatch at 1");
  CHECK(KwMatchTemplateW(NULL, 8, T("9")) == 1, "W: NULL data: a mismatch at 1");
  {
    char a[4] = "1";
    CHECK(KwMatchTemplateA(a, 4, NULL) == 1 && a[0] == '1', "NULL template: nothing written");
    CHECK(KwMatchTemplateA(a, 0, "9") == 1 && a[0] == '1', "size 0: nothing written");
  }
}

int main(void) {
  WNDCLASSW wc;
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = ParentProc;
  wc.lpszClassName = T("KwControlsHostParent");
  RegisterClassW(&wc);
  CHECK(KwRegisterControls() == TRUE, "the classes are there");
  CHECK(KwRegisterControls() == TRUE, "and again");
  g_parent =
      CreateWindowExW(0, T("KwControlsHostParent"), T("C host"), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      0, 0, 400, 300, NULL, NULL, NULL, NULL);
  if (!g_parent) {
    printf("FAIL no parent window\n");
    return 1;
  }
  Pump();
  TypingRows();
  MessageRows();
  Styles();
  LookRows();
  AnsiParent();
  ReadOnlyRows();
  OtherClass();
  MatchRows();
  printf("%d checks, %d failed\n", g_checks, g_failures);
  (void)WLen;
  return g_failures == 0 ? 0 : 1;
}
