#include "form/DemoForm.h"

#include <cstdlib>
#include <cstring>

namespace kwdemo {

namespace {

// On Windows the labels are the system's static controls, which paint their text; the simulated
// window system has none, so there they are plain windows of their own class whose text the
// terminal paints.
#ifdef _WIN32
const char kLabelClass[] = "STATIC";
#else
const char kLabelClass[] = "KwDemoLabel";
#endif
constexpr DWORD kControlStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

// Where the controls start, and where the hints beside them start, in cells.
constexpr int kLabelColumn = 2;
constexpr int kControlColumn = 21;

// The form's looks. Each is a tint a monochrome display can tell apart too: neutral (normal),
// blue (focused), amber (warning), red (error).
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kBackgroundFocus = RGB(160, 210, 255);
constexpr COLORREF kBackgroundWarning = RGB(255, 210, 90);
constexpr COLORREF kTextError = RGB(255, 255, 255);
constexpr COLORREF kBackgroundError = RGB(200, 30, 30);

CRect Cells(int column, int row, int width) {
  return CRect(column * kCellWidth, row * kCellHeight, (column + width) * kCellWidth,
               (row + 1) * kCellHeight);
}

bool RegisterLabelClass() {
#ifdef _WIN32
  return true;
#endif
  static const bool registered = [] {
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kLabelClass;
    return RegisterClassA(&wc) != 0;
  }();
  return registered;
}

char LocaleChar(LCTYPE type, char fallback) {
  char buf[8] = {0};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf) > 0 && buf[0] ? buf[0]
                                                                                  : fallback;
}

}  // namespace

int DateValidator::Validate(std::string& data) {
  int result = 0;
  int state = 0;
  const bool blank = data.find_first_not_of(' ') == std::string::npos;
  if (blank) {
    SetErrorString("");
  } else if ((result = IsErrMatchTemplate(data, "99999999")) != 0) {
    state = 0x02;
    SetErrorString("incomplete: position " + std::to_string(result));
  } else {
    const int month = std::atoi(data.substr(0, 2).c_str());
    const int day = std::atoi(data.substr(2, 2).c_str());
    const int year = std::atoi(data.substr(4).c_str());
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
      result = 1;
      SetErrorString("no month " + data.substr(0, 2));
    } else if (day < 1 || day > days[month - 1]) {
      result = 3;
      SetErrorString("no day " + data.substr(2, 2) + " in that month");
    } else {
      SetErrorString("");
    }
    state = result != 0 ? 0x04 : 0;
  }
  GetMaskedEdit()->SetState(state);
  return result;
}

DemoForm::DemoForm()
    : phone("(###) ###-####"),
      field1(">"),
      field2("#"),
      field3("#"),
      amount("$"),
      date("##/##/####"),
      name("?") {
  phone.SetPromptSymbol('_');
  date.SetPromptSymbol('_');
  m_controls = {{&phone, kPhone, "phone", "character", &phone.refused},
                {&field1, kField1, "field 1", "field", &field1.refused},
                {&field2, kField2, "field 2", "field", &field2.refused},
                {&field3, kField3, "field 3", "field", &field3.refused},
                {&amount, kAmount, "amount", "number", &amount.refused},
                {&date, kDate, "date", "character", &date.refused},
                {&name, kName, "name", "field", &name.refused}};
}

DemoForm::~DemoForm() { Destroy(); }

bool DemoForm::AddLabel(CWnd* pParent, const char* text, int column, int row) {
  const CRect r = Cells(column, row, static_cast<int>(std::strlen(text)));
  HWND hLabel = CreateWindowExA(0, kLabelClass, text, WS_CHILD | WS_VISIBLE, r.left, r.top,
                                r.Width(), r.Height(), pParent->GetSafeHwnd(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (hLabel != nullptr) m_labels.push_back(hLabel);
  return hLabel != nullptr;
}

bool DemoForm::Create(CWnd* pParent) {
  if (!RegisterLabelClass()) return false;
  struct Row {
    const char* label;
    const char* hint;
    int row;
  };
  const Row rows[] = {{"Phone number", "digits; ( ) - are stepped over", 2},
                      {"Code-year-number", "a full field tabs on", 4},
                      {"Amount", "money, the locale's separators", 6},
                      {"Date mm/dd/yyyy", "checked as you type", 8},
                      {"Name", "letters of any script", 10}};
  const int hintColumn[] = {kControlColumn + 19, kControlColumn + 23, kControlColumn + 19,
                            kControlColumn + 19, kControlColumn + 24};
  // The controls in tab order; the row of fields sits as three boxes with a gap between them.
  // Each row's label is made just before its control: assistive technology names a control
  // after the label that is the window before it.
  const auto label = [&](int i) {
    return AddLabel(pParent, rows[i].label, kLabelColumn, rows[i].row);
  };
  const auto hint = [&](int i) {
    return AddLabel(pParent, rows[i].hint, hintColumn[i], rows[i].row);
  };
  bool made = label(0) &&
              phone.Create(kControlStyle, Cells(kControlColumn, 2, 16), pParent, kPhone) && hint(0);
  made = made && label(1) &&
         field1.Create(kControlStyle, Cells(kControlColumn, 4, 4), pParent, kField1) &&
         field2.Create(kControlStyle, Cells(kControlColumn + 7, 4, 5), pParent, kField2) &&
         field3.Create(kControlStyle, Cells(kControlColumn + 15, 4, 5), pParent, kField3) &&
         hint(1);
  made = made && label(2) &&
         amount.Create(kControlStyle, Cells(kControlColumn, 6, 16), pParent, kAmount) && hint(2);
  made = made && label(3) &&
         date.Create(kControlStyle, Cells(kControlColumn, 8, 16), pParent, kDate) && hint(3);
  made = made && label(4) &&
         name.Create(kControlStyle, Cells(kControlColumn, 10, 21), pParent, kName) && hint(4);
  if (!made) return false;

  field1.SetLimitText(3);
  field2.SetLimitText(4);
  field3.SetLimitText(4);
  name.SetLimitText(20);
  for (KwMaskedEdit* c : {static_cast<KwMaskedEdit*>(&phone), static_cast<KwMaskedEdit*>(&field1),
                          static_cast<KwMaskedEdit*>(&field2), static_cast<KwMaskedEdit*>(&field3)})
    c->SetAutoTab(true);
  for (const FormControl& c : m_controls) {
    c.control->SetTextColor(kText);
    c.control->SetTextColorFocus(kText);
    c.control->SetTextColorWarning(kText);
    c.control->SetTextColorError(kTextError);
    c.control->SetBackgroundColor(kBackground);
    c.control->SetBackgroundColorFocus(kBackgroundFocus);
    c.control->SetBackgroundColorWarning(kBackgroundWarning);
    c.control->SetBackgroundColorError(kBackgroundError);
  }
  dateValidator = new DateValidator(&date);  // the control owns it from now on
  date.SetValidator(dateValidator);
  return true;
}

void DemoForm::Destroy() {
  for (const FormControl& c : m_controls)
    if (c.control->GetSafeHwnd() != nullptr) c.control->DestroyWindow();
  for (HWND hLabel : m_labels) DestroyWindow(hLabel);
  m_labels.clear();
}

const FormControl* DemoForm::Find(HWND hWnd) const {
  if (hWnd == nullptr) return nullptr;
  for (const FormControl& c : m_controls)
    if (c.control->GetSafeHwnd() == hWnd) return &c;
  return nullptr;
}

std::string Localised(std::string text, bool money) {
  const char thousands = LocaleChar(money ? LOCALE_SMONTHOUSANDSEP : LOCALE_STHOUSAND, ',');
  const char decimal = LocaleChar(money ? LOCALE_SMONDECIMALSEP : LOCALE_SDECIMAL, '.');
  const char dateSep = LocaleChar(LOCALE_SDATE, '/');
  for (char& c : text) c = c == ',' ? thousands : c == '.' ? decimal : c == '/' ? dateSep : c;
  return text;
}

}  // namespace kwdemo
