// README, "A number control".
// snippet-begin amount
#include "number/KwNumberMaskedEdit.h"
// snippet-end amount
#include "SnippetHost.h"

void NumberExample(CWnd& frame) {
  // snippet-begin amount

  // In a host like examples/demo.cpp (frame: the parent window; Pump/Type: its message loop
  // and keyboard input), beside the other controls:
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
  KwNumberMaskedEdit amount("$");  // same as amount.SetMask("$")
  amount.SetText("-1234.5");       // the data form: '.' as the point, no grouping
  amount.Create(style, CRect(10, 10, 290, 36), &frame, 101);
  // shows -1,234.5 (under a German locale: -1.234,5)
  // snippet-end amount
  Check("the amount set as data", amount.GetWindowText(), "-1,234.5");
  // snippet-begin amount

  amount.SetFocus();
  amount.SetSel(0, -1);
  Pump(frame);             // the host loop: the control's key filter runs in
  Type(frame, "98765.4");  // PreTranslateMessage, before TranslateMessage
                           // shows 98,765.4; amount.GetInputData(false) == "98765.4"
                           // snippet-end amount
  Check("the typed amount", amount.GetWindowText(), "98,765.4");
  Check("the typed amount's data", amount.GetInputData(false), "98765.4");
  // snippet-begin amount

  double value = 0;
  amount.GetDataNumValue(value);  // 98765.4, whatever the prompt symbol
                                  // snippet-end amount
  Check("the amount's value", std::to_string(value), std::to_string(98765.4));
  // snippet-begin amount
  amount.SetWindowText("12,345.67");
  // a text set from outside shows the number it holds: 12,345.67, data "12345.67"
  // snippet-end amount
  Check("the amount's text", amount.GetWindowText(), "12,345.67");
  Check("the amount's data", amount.GetInputData(false), "12345.67");
}
