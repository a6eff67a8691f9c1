// README, "A row of field controls with auto-tab".
// snippet-begin field-row
#include "field/KwFieldMaskedEdit.h"
// snippet-end field-row
#include "SnippetHost.h"

void FieldRowExample(CWnd& frame) {
  // snippet-begin field-row

  // In a host like examples/demo.cpp, beside the other controls of its frame window:
  KwFieldMaskedEdit code(">");    // letters, shown in upper case
  KwFieldMaskedEdit year("#");    // digits
  KwFieldMaskedEdit serial("#");  // digits
  struct {
    KwFieldMaskedEdit* field;
    UINT limit;
    int left, width;
    UINT id;
  } row[] = {{&code, 3, 10, 50, 201}, {&year, 4, 70, 60, 202}, {&serial, 4, 140, 60, 203}};
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
  for (auto& f : row) {
    f.field->Create(style, CRect(f.left, 90, f.left + f.width, 116), &frame, f.id);
    f.field->SetLimitText(f.limit);  // the field's length: the library never sets it
    f.field->SetAutoTab(true);       // a full field hands the focus on
  }

  code.SetFocus();
  Type(frame, "abc-2026-0042");  // no Tab: each full field moves the focus on; '-' is refused
                                 // (beep)
  // code shows "ABC", year "2026", serial "0042"; the focus has gone on to the frame's next
  // tab stop (wrapping to its first control when the row comes last).
  const std::string entry = code.GetInputData(false) + "-" + year.GetInputData(false) + "-" +
                            serial.GetInputData(false);  // "ABC-2026-0042"
                                                         // snippet-end field-row
  Check("the code", code.GetWindowText(), "ABC");
  Check("the year", year.GetWindowText(), "2026");
  Check("the serial", serial.GetWindowText(), "0042");
  Check("the entry", entry, "ABC-2026-0042");
}
