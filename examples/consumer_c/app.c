/* A program in C of KwMaskEdit's window classes: a frame window with a phone-number control made
 * by class name, typed into through SendInput and a plain GetMessage/IsDialogMessage loop; prints
 * what the control shows and holds. Exits nonzero when it does not hold what was typed. */
#include <controls/KwMaskEditControls.h>
#include <stdio.h>
#include <string.h>

static int g_pendingKeys; /* key events sent and not yet taken from the queue */

/* The program's loop: the dialog manager, then translation and dispatch; it waits (up to two
 * seconds) for key events still on their way. */
static void Pump(HWND frame) {
  DWORD start = GetTickCount();
  MSG msg;
  while (g_pendingKeys > 0 || PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
    if (!PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (GetTickCount() - start > 2000) return;
      Sleep(1);
      continue;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) --g_pendingKeys;
    if (IsDialogMessageW(frame, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

static void Type(HWND frame, const char* text) {
  for (; *text; ++text) {
    INPUT in[2];
    memset(in, 0, sizeof in);
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = (WORD)(VkKeyScanA(*text) & 0xFF);
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    g_pendingKeys += 2;
    SendInput(2, in, sizeof(INPUT));
    Pump(frame);
  }
}

int main(void) {
  WNDCLASSW wc;
  HWND frame, phone;
  char shown[32], data[32];
  int reason;
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcW; /* a frame that knows nothing of the controls */
  wc.lpszClassName = KW_CONTROLS_WIDE("KwConsumerFrame");
  RegisterClassW(&wc);
  frame = CreateWindowExW(0, wc.lpszClassName, KW_CONTROLS_WIDE("KwMaskEdit from C"),
                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100, NULL, NULL, NULL, NULL);
  if (frame == NULL) {
    fprintf(stderr, "app: cannot create the frame window\n");
    return 1;
  }
#ifdef _WIN32
  SetForegroundWindow(frame); /* keyboard input goes to the foreground window */
#endif

  // snippet-begin control
  /* The library registers its classes as it loads; a program that calls nothing else of it says
   * so (a linker may otherwise leave the library out), as with the common controls. */
  if (!KwRegisterControls()) return 1;
  /* The window's name is the mask; the styles of ours sit beside the edit styles. */
  phone = CreateWindowExA(0, KWC_CHARACTERMASKEDEDITA, "###-####",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | KWS_AUTOTAB, 10, 10, 190,
                          24, frame, (HMENU)101, NULL, NULL);
  if (phone == NULL) {
    fprintf(stderr, "app: cannot create the control\n");
    return 1;
  }
  (void)KwMask_SetPrompt(phone, '_');
  SetFocus(phone);
  Pump(frame);
  Type(frame, "555x12"); /* 'x' is refused: a digit position */

  GetWindowTextA(phone, shown, sizeof shown);
  (void)KwMask_GetDataA(phone, data, sizeof data);
  reason = KwMask_GetRejection(phone, NULL, NULL); /* KWR_NONE: the last key was taken */
  printf("shows '%s', data '%s', last refusal %d\n", shown, data, reason);
  // snippet-end control
  DestroyWindow(frame);
  return strcmp(shown, "555-12__") == 0 && strcmp(data, "55512") == 0 ? 0 : 1;
}
