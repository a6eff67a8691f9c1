// The KwMaskEdit showcase: a frame window holding a phone number, a row of three fields, a money
// amount and a date, filled in by simulated key presses that travel the host's own message loop
// (PeekMessageA -> PreTranslateMessage walk -> IsDialogMessageA -> TranslateMessage ->
// DispatchMessageA), as a user's typing does. It prints what each control shows after every step
// and exits nonzero when a step does not give what it should, so it doubles as a smoke test.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "form/DemoForm.h"
#include "framework/framework.h"
#include "host/KeyScript.h"

namespace {

using namespace kwdemo;
constexpr int kLastId = kDate;
int g_failures = 0;

// The frame window: counts the notifications its controls send it, per control.
class DemoFrame : public CWnd {
 public:
  struct Counts {
    int setFocus = 0, killFocus = 0, change = 0, maxText = 0;
  };
  Counts counts[kLastId - kPhone + 1];

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    const int id = LOWORD(wParam);
    if (message == WM_COMMAND && id >= kPhone && id <= kLastId) {
      Counts& c = counts[id - kPhone];
      switch (HIWORD(wParam)) {
        case EN_SETFOCUS:
          ++c.setFocus;
          break;
        case EN_KILLFOCUS:
          ++c.killFocus;
          break;
        case EN_CHANGE:
          ++c.change;
          break;
        case EN_MAXTEXT:
          ++c.maxText;
          break;
        default:
          break;
      }
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// --- Input through the host loop ---------------------------------------------------------------

// What goes wrong while typing (a key event that never arrives, a key script that does not
// parse) is a failed step.
void InputFailed(const std::string& what) {
  std::printf("  FAILED: %s\n", what.c_str());
  ++g_failures;
}

// --- The transcript ----------------------------------------------------------------------------

void Check(bool ok, const std::string& what) {
  if (!ok) std::printf("  FAILED: %s\n", what.c_str()), ++g_failures;
}

void ExpectText(const CWnd& control, const std::string& expected, bool money = false) {
  const std::string shown = control.GetWindowText(), wanted = Localised(expected, money);
  Check(shown == wanted, "shows '" + shown + "', expected '" + wanted + "'");
}

void ExpectFocus(int id) {
  HWND focus = GetFocus();
  const int actual = focus ? GetDlgCtrlID(focus) : 0;
  Check(actual == id, "focus on " + std::to_string(actual) + ", expected " + std::to_string(id));
}

void Step(const char* what) { std::printf("\n== %s\n", what); }

}  // namespace

int main() {
  WNDCLASSA wc;
  std::memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = "KwDemoFrame";
  DemoFrame frame;
  if (!RegisterClassA(&wc) ||
      !frame.CreateEx(0, wc.lpszClassName, "KwMaskEdit demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                      0, 680, 200, nullptr, nullptr)) {
    std::fprintf(stderr, "demo: cannot create the frame window\n");
    return 1;
  }
  frame.ShowWindow(SW_SHOW);
  frame.UpdateWindow();
#ifdef _WIN32
  SetForegroundWindow(frame.GetSafeHwnd());  // keyboard input goes to the foreground window
#endif

  // The form's controls, created in tab order.
  DemoForm form;
  if (!form.Create(&frame)) {
    std::fprintf(stderr, "demo: cannot create the controls\n");
    return 1;
  }
  Counted<KwCharacterMaskedEdit>& phone = form.phone;
  Counted<KwFieldMaskedEdit>&field1 = form.field1, &field2 = form.field2, &field3 = form.field3;
  Counted<KwNumberMaskedEdit>& amount = form.amount;
  Counted<KwCharacterMaskedEdit>& date = form.date;
  DateValidator* const validator = form.dateValidator;
  // Keys travel the host loop, which hands the frame to IsDialogMessageA.
  kwhost::SetDialogWindow(frame.GetSafeHwnd());
  kwhost::SetErrorHandler(InputFailed);

  const std::vector<FormControl>& all = form.Controls();
  auto showAll = [&] {
    HWND focus = GetFocus();
    for (int i = 0; i <= kLastId - kPhone; ++i)
      std::printf("   %-8s '%s'%s\n", all[i].name, all[i].control->GetWindowText().c_str(),
                  focus == all[i].control->GetSafeHwnd() ? "   <- focus" : "");
  };

  auto showVerdict = [&](int verdict) {
    std::printf("   date '%s', validator says %d ('%s'), state 0x%02X: %s look\n",
                date.GetWindowText().c_str(), verdict, validator->GetErrorString().c_str(),
                date.GetState(), date.GetState() & 0x04 ? "error" : "normal");
  };

  Step("Start: the phone control has the focus");
  phone.SetFocus();
  kwhost::Pump();
  showAll();
  ExpectText(phone, "(___) ___-____");

  Step("The user types 'x' into the phone number: a letter has no place there");
  kwhost::Keys("x");
  std::printf("   phone '%s', keys refused so far: %d\n", phone.GetWindowText().c_str(),
              phone.refused);
  Check(phone.refused == 1, "the letter was not refused");
  ExpectText(phone, "(___) ___-____");

  Step(
      "The user types 5551234567: the literals are stepped over, and when the number is full the "
      "focus moves on");
  kwhost::Keys("5551234567");
  showAll();
  ExpectText(phone, "(555) 123-4567");
  ExpectFocus(kField1);

  Step("The user types abc20260042 across the row of fields: each full field hands on the focus");
  kwhost::Keys("abc20260042");
  showAll();
  ExpectText(field1, "ABC"), ExpectText(field2, "2026"), ExpectText(field3, "0042");
  ExpectFocus(kAmount);

  Step("The user types 1234567.89 into the amount (with the locale's decimal separator)");
  kwhost::PlayKeys(
      kwhost::ParseKeys(Localised("1234567.89", true)).strokes, [&](const kwhost::Stroke& s) {
        std::printf("   typed %s -> '%s'\n", s.source.c_str(), amount.GetWindowText().c_str());
      });
  ExpectText(amount, "1,234,567.89", true);
  Check(amount.GetInputData(false) == "1234567.89",
        "amount data is '" + amount.GetInputData(false) + "'");

  Step("The user tabs to the date and types 13452026, then the host validates it");
  kwhost::Keys("{Tab}");
  ExpectFocus(kDate);
  kwhost::Keys("13452026");
  int verdict = date.OnValidate();
  showVerdict(verdict);
  ExpectText(date, "13/45/2026");
  Check(verdict != 0 && date.GetState() == 0x04, "the bad date was not marked as an error");

  Step(
      "The user selects the date (Home, Shift+End), pastes 07042026 with Ctrl+V, and the host "
      "validates again");
  Check(kwhost::SetClipboardText("07042026"), "the clipboard took no text");
  kwhost::Keys("{Home}{S+End}{C+v}");
  verdict = date.OnValidate();
  showVerdict(verdict);
  ExpectText(date, "07/04/2026");
  Check(verdict == 0 && date.GetState() == 0, "the good date was not accepted");

  Step("What the host reads back");
  std::printf("   %-8s %-15s %-13s %-14s %-5s %-7s %s\n", "control", "data+prompt", "data",
              "number value", "state", "refused", "WM_COMMAND setfocus/killfocus/change/maxtext");
  for (int i = 0; i <= kLastId - kPhone; ++i) {
    double value = 0;
    KwMaskedEdit& control = *all[i].control;
    control.GetDataNumValue(value);
    const DemoFrame::Counts& c = frame.counts[i];
    std::printf("   %-8s %-15s %-13s %-14.2f 0x%02X  %-7d %d/%d/%d/%d\n", all[i].name,
                ("'" + control.GetInputData(true) + "'").c_str(),
                ("'" + control.GetInputData(false) + "'").c_str(), value, control.GetState(),
                *all[i].refused, c.setFocus, c.killFocus, c.change, c.maxText);
  }
  double value = 0;
  amount.GetDataNumValue(value);
  Check(value == 1234567.89, "the amount reads " + std::to_string(value));
  Check(phone.GetInputData(false) == "5551234567",
        "the phone data is '" + phone.GetInputData(false) + "'");

  form.Destroy();
  frame.DestroyWindow();
  std::printf("\n%s\n", g_failures ? "Some steps did not give what they should."
                                   : "Every step gave what it should.");
  return g_failures ? 1 : 0;
}
