// The demo form as a Windows program: the phone number, the row of three fields, the amount and
// the date of the other demo hosts, on the real window system's edit controls, in a frame window
// with a status panel. It links KwMaskEdit.dll and KwFramework.dll as any host does and runs the
// host loop a dialog runs (GetMessageA -> AfxPreTranslateMessage -> IsDialogMessageA ->
// TranslateMessage -> DispatchMessageA).
//
//   kwdialog.exe                      the form, typed into by the user
//   kwdialog.exe --keys SCRIPT        types a key script first (the key-script language of
//                                     host/KeyScript.h), then prints "ready" and goes on
//   kwdialog.exe --keys SCRIPT --exit  the same, then quits (a smoke run)
#include <cstdio>
#include <cstring>
#include <string>

#include "form/DemoForm.h"
#include "host/KeyScript.h"
#include "host/KwHost.h"

namespace {

constexpr int kStatusTop = 12;   // in form cells
constexpr int kStatusLines = 7;  // lines of the status panel
constexpr int kFormColumns = 80;

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

const char* StateWord(int state) {
  if (state & 0x14) return "error";
  if (state & 0x0A) return "warning";
  return "normal";
}

// The last notifications the frame received, newest last, named.
std::string LastNotifications(const kwdemo::DemoForm& form, std::size_t count) {
  const std::vector<kwhost::Notification>& all = kwhost::Notifications();
  std::string out;
  for (std::size_t i = all.size() > count ? all.size() - count : 0; i < all.size(); ++i) {
    const kwdemo::FormControl* from = form.Find(all[i].hwnd);
    out += std::string(out.empty() ? "" : "  ") + (from ? from->name : "?") + " " +
           kwhost::CodeName(all[i].code);
  }
  return out.empty() ? "none yet" : out;
}

// What the status panel says of the focused control.
std::string StatusText(kwdemo::DemoForm& form) {
  const kwdemo::FormControl* focus = form.Find(GetFocus());
  std::string text;
  if (focus == nullptr) {
    text = "No control has the focus.";
  } else {
    KwMaskedEdit& c = *focus->control;
    double value = 0;
    c.GetDataNumValue(value);
    char line[160];
    std::snprintf(line, sizeof line, "%s (%s control, %s)   state 0x%02X %s   refused %d key(s)",
                  focus->name, focus->kind, c.GetInsertMode() ? "insert" : "overwrite",
                  c.GetState(), StateWord(c.GetState()), *focus->refused);
    text = line;
    std::snprintf(line, sizeof line, "%.2f", value);
    text += "\r\ndata " + Quoted(c.GetInputData(false)) + "   with prompts " +
            Quoted(c.GetInputData(true)) + "   value " + line;
    const std::string why = kwdemo::RejectionText(c);
    text += std::string("\r\nundo ") + (c.CanUndo() ? "yes" : "no") + ", redo " +
            (c.CanRedo() ? "yes" : "no") + "   last refusal: " + (why.empty() ? "none" : why);
  }
  const std::string check = form.dateValidator ? form.dateValidator->GetErrorString() : "";
  text += "\r\ndate check: " + (check.empty() ? std::string("fine") : check);
  text += "\r\nparent got: " + LastNotifications(form, 4);
  text +=
      "\r\nTab / Shift+Tab move, Ins toggles insert, Ctrl+X/C/V cut, copy, paste, Ctrl+Z/Y undo, "
      "redo.";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string keys;
  bool exitAfterKeys = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--keys") == 0 && i + 1 < argc) {
      keys = argv[++i];
    } else if (std::strcmp(argv[i], "--exit") == 0) {
      exitAfterKeys = true;
    } else {
      std::fprintf(stderr, "kwdialog: unknown option '%s' (--keys SCRIPT, --exit)\n", argv[i]);
      return 2;
    }
  }

  // The host window records the notifications; it becomes the demo's frame.
  CWnd* frame = kwhost::ParentWnd();
  HWND hFrame = frame->GetSafeHwnd();
  HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
  RECT outer = {0, 0, kFormColumns * kwdemo::kCellWidth,
                (kStatusTop + kStatusLines + 1) * kwdemo::kCellHeight};
  AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowTextA(hFrame, "KwMaskEdit demo");
  SetWindowPos(hFrame, nullptr, 40, 40, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER);

  kwdemo::DemoForm form;
  if (!form.Create(frame)) {
    std::fprintf(stderr, "kwdialog: cannot create the form\n");
    return 1;
  }
  HWND hStatus = CreateWindowExA(
      0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, kwdemo::kCellWidth,
      kStatusTop * kwdemo::kCellHeight, (kFormColumns - 2) * kwdemo::kCellWidth,
      kStatusLines * kwdemo::kCellHeight, hFrame, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (HWND h : form.Labels()) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The form's boxes are sized for their text on a grid of the font's cells: no inner margins.
  for (const kwdemo::FormControl& c : form.Controls()) {
    SendMessageA(c.control->GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(c.control->GetSafeHwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELONG(1, 1));
  }
  SendMessageA(hStatus, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  form.phone.SetFocus();

  std::string shown;
  auto refresh = [&] {
    const std::string now = StatusText(form);
    if (now != shown) SetWindowTextA(hStatus, (shown = now).c_str());
  };
  refresh();

  if (!keys.empty()) {
    const kwhost::KeyScript script = kwhost::ParseKeys(keys);
    if (!script.ok()) {
      std::fprintf(stderr, "kwdialog: --keys: %s\n", script.error.c_str());
      return 2;
    }
    kwhost::PlayKeys(script.strokes, [&](const kwhost::Stroke&) { refresh(); });
    refresh();
    RedrawWindow(hFrame, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::printf("ready\n");
    std::fflush(stdout);
    if (exitAfterKeys) {
      for (const kwdemo::FormControl& c : form.Controls())
        std::printf("%s shows %s\n", c.name, Quoted(c.control->GetWindowText()).c_str());
      return kwhost::Errors() == 0 ? 0 : 1;
    }
  }

  // The dialog's loop: until the frame is closed.
  MSG msg;
  while (IsWindow(hFrame) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!AfxPreTranslateMessage(&msg) && !IsDialogMessageA(hFrame, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (IsWindow(hFrame)) refresh();
  }
  return 0;
}
