// A host of the installed library, as small as a real one gets: a frame window with one
// character control for a phone number, typed into through the host's message loop; prints what
// the control shows and holds. Exits nonzero when the control does not hold what was typed.
#include <KwMaskEdit.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

int g_pendingKeys = 0;  // key events sent but not yet taken from the queue

// The host loop: the framework's PreTranslateMessage walk (where the control filters keys),
// then the dialog manager, then the usual translation and dispatch. Under Wine input from
// SendInput arrives a little later, so the loop runs until every key event has come through.
void Pump(HWND frame) {
  const auto start = std::chrono::steady_clock::now();
  MSG msg;
  while (g_pendingKeys > 0 || PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (std::chrono::steady_clock::now() - start > std::chrono::seconds(2)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) --g_pendingKeys;
    if (AfxPreTranslateMessage(&msg) || IsDialogMessageA(frame, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Types a text as key presses (Shift held where the keyboard needs it).
void Type(HWND frame, const char* text) {
  for (; *text; ++text) {
    const SHORT key = VkKeyScanA(*text);
    if (key == -1) continue;
    INPUT in[4];
    std::memset(in, 0, sizeof in);
    int n = 0;
    const bool shift = (key & 0x100) != 0;
    if (shift) in[n++].ki.wVk = VK_SHIFT;
    in[n++].ki.wVk = LOBYTE(key);
    in[n].ki.wVk = LOBYTE(key), in[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) in[n].ki.wVk = VK_SHIFT, in[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    for (int i = 0; i < n; ++i) in[i].type = INPUT_KEYBOARD;
    g_pendingKeys += n;
    SendInput(n, in, sizeof(INPUT));
    Pump(frame);
  }
}

}  // namespace

int main() {
  WNDCLASSA wc{};  // the frame's class: default procedure, nothing else
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KwConsumerFrame";
  CWnd frame;
  if (!RegisterClassA(&wc) ||
      !frame.CreateEx(0, wc.lpszClassName, "KwMaskEdit consumer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      0, 0, 300, 100, nullptr, nullptr)) {
    std::fprintf(stderr, "app: cannot create the frame window\n");
    return 1;
  }
#ifdef _WIN32
  SetForegroundWindow(frame.GetSafeHwnd());  // keyboard input goes to the foreground window
#endif

  // snippet-begin control
  KwCharacterMaskedEdit phone("###-####");
  phone.SetPromptSymbol('_');
  if (!phone.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, CRect(10, 10, 200, 34), &frame,
                    101)) {
    std::fprintf(stderr, "app: cannot create the control\n");
    return 1;
  }
  phone.SetFocus();
  Pump(frame.GetSafeHwnd());
  Type(frame.GetSafeHwnd(), "555x12");  // 'x' is refused: a digit position

  const std::string shown = phone.GetWindowText(), data = phone.GetInputData(false);
  std::printf("KwMaskEdit %s: shows '%s', data '%s'\n", KW_VERSION_STRING, shown.c_str(),
              data.c_str());
  // snippet-end control
  return shown == "555-12__" && data == "55512" ? 0 : 1;
}
