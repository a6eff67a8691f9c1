// A minimal host: one top-level window with a plain edit control and a character masked edit
// control from the shared library, typed into through the host's message loop (PeekMessageA ->
// PreTranslateMessage walk -> IsDialogMessageA -> TranslateMessage -> DispatchMessageA) with
// keyboard input from SendInput, then printed.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "framework/framework.h"

namespace {

const char kClassName[] = "KwDemoHost";
const int kFirstId = 101;
const int kSecondId = 102;

// The host's main window: counts the notifications its edit controls send it.
class CDemoWnd : public CWnd {
 public:
  struct Counts {
    int setFocus = 0, change = 0, maxText = 0;
  };
  Counts m_counts[2];

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const int id = LOWORD(wParam);
    if (message == WM_COMMAND && (id == kFirstId || id == kSecondId)) {
      Counts& c = m_counts[id - kFirstId];
      switch (HIWORD(wParam)) {
        case EN_SETFOCUS: ++c.setFocus; break;
        case EN_CHANGE: ++c.change; break;
        case EN_MAXTEXT: ++c.maxText; break;
        default: break;
      }
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// Runs the host loop until the queue stays empty for a moment (input from SendInput may reach
// the queue a little later on the real platform).
void RunLoop(HWND hDlg) {
  auto quietSince = std::chrono::steady_clock::now();
  MSG msg;
  while (std::chrono::steady_clock::now() - quietSince < std::chrono::milliseconds(50)) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    quietSince = std::chrono::steady_clock::now();
    if (AfxPreTranslateMessage(&msg)) continue;
    if (IsDialogMessageA(hDlg, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void AddKey(std::vector<INPUT>& in, WORD vk, bool up) {
  INPUT i;
  std::memset(&i, 0, sizeof i);
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  in.push_back(i);
}

// Types text as key presses: the key and the Shift state for each character from VkKeyScanA;
// '\t' is the Tab key, which the dialog manager turns into a focus move.
void TypeText(const std::string& text) {
  std::vector<INPUT> in;
  for (char ch : text) {
    SHORT scan = VkKeyScanA(ch);
    // Wine under Xvfb finds no key for the parentheses; a US keyboard has them on Shift+9, Shift+0.
    if (scan == -1 && (ch == '(' || ch == ')')) scan = static_cast<SHORT>(0x100 | (ch == '(' ? '9' : '0'));
    if (scan == -1) continue;
    const bool shift = (scan & 0x100) != 0;
    if (shift) AddKey(in, VK_SHIFT, false);
    AddKey(in, LOBYTE(scan), false);
    AddKey(in, LOBYTE(scan), true);
    if (shift) AddKey(in, VK_SHIFT, true);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), static_cast<int>(sizeof(INPUT)));
}

std::string Show(const CEdit& edit) {
  int start = 0, end = 0;
  edit.GetSel(start, end);
  char buf[96];
  std::snprintf(buf, sizeof buf, "'%s' (selection %d..%d)", edit.GetWindowText().c_str(), start, end);
  return buf;
}

}  // namespace

int main() {
  WNDCLASSA wc;
  std::memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) {
    std::fprintf(stderr, "demo: cannot register the window class\n");
    return 1;
  }

  CDemoWnd frame;
  if (!frame.CreateEx(0, kClassName, "KwMaskEdit demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 140, nullptr,
                      nullptr)) {
    std::fprintf(stderr, "demo: cannot create the main window\n");
    return 1;
  }
  CEdit name;
  KwCharacterMaskedEdit phone("(###) ###-####");  // from the shared library, as any host uses it
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
  if (!name.Create(style, CRect(10, 10, 290, 36), &frame, kFirstId) ||
      !phone.Create(style, CRect(10, 50, 290, 76), &frame, kSecondId)) {
    std::fprintf(stderr, "demo: cannot create the edit controls\n");
    return 1;
  }

  std::printf("Typing \"Ada Lovelace\", Tab, \"5551234567 ext 89\":\n");
  name.SetFocus();
  RunLoop(frame);
  TypeText("Ada Lovelace\t5551234567 ext 89");
  RunLoop(frame);

  std::printf("First control shows:  %s\n", Show(name).c_str());
  std::printf("Second control shows: %s, text limit %u\n", Show(phone).c_str(), phone.GetLimitText());
  for (int i = 0; i < 2; ++i) {
    const CDemoWnd::Counts& c = frame.m_counts[i];
    std::printf("Control %d told its parent: focus gained %d, text changed %d, text limit reached %d\n",
                kFirstId + i, c.setFocus, c.change, c.maxText);
  }
  HWND focus = GetFocus();
  std::printf("Focus is on control %d\n", focus ? GetDlgCtrlID(focus) : 0);

  name.DestroyWindow();
  phone.DestroyWindow();
  frame.DestroyWindow();
  return 0;
}
