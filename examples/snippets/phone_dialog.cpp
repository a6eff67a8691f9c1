// README, "A character control in a dialog".
// snippet-begin phone
#include "character/KwCharacterMaskedEdit.h"
// snippet-end phone
#include "SnippetHost.h"

enum { IDC_PHONE = 100 };

// snippet-begin phone

class CPhoneDialog : public CWnd {
 public:
  BOOL Build() {
    // Mask: '#' digit, 'A' letter or digit, '?' letter, '>' upper-case letter, '<' lower-case
    // letter, '&' any printable character, '.', ',', ':' and '/' the locale's decimal,
    // thousands, time and date separators, '\x' a literal x; anything else is a literal.
    m_phone.SetMask("(###) ###-####");
    m_phone.SetPromptSymbol('_');  // shown in every empty input position (default: space)
    m_phone.SetAutoTab(true);      // move on to the next control once the last digit is typed
    return m_phone.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, CRect(10, 10, 250, 36),
                          this, IDC_PHONE);
    // For an edit control that the dialog template already made:
    //   m_phone.SubclassDlgItem(IDC_PHONE, this);
  }

  void OnOK() {
    // The user typed 5551234: the control shows "(555) 123-4___".
    std::string withPrompts = m_phone.GetInputData(true);  // "5551234___": one character per
                                                           // input position, literals left out
    std::string entered = m_phone.GetInputData(false);     // "5551234": only what was typed
    // ...
  }

 private:
  KwCharacterMaskedEdit m_phone;
};
// snippet-end phone

void PhoneDialogExample(CWnd& frame) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KwSnippetDialog";
  RegisterClassA(&wc);
  CPhoneDialog dialog;
  if (!dialog.CreateEx(0, wc.lpszClassName, "phone", WS_CHILD | WS_VISIBLE, 0, 0, 300, 60,
                       frame.GetSafeHwnd(), nullptr) ||
      !dialog.Build()) {
    Check("the phone dialog", "not created", "created");
    return;
  }
  dialog.OnOK();
}
