// The demo form, built once for every demo host: the scripted transcript (kwdemo), the
// interactive terminal demo (kwterminal) and whatever else shows the controls. It makes, as
// children of a parent window and in tab order, a phone number, a row of three fields with
// auto-tab, a money amount, a validated date and a name (letters of any script), each with a
// label and a hint beside it.
//
// The form is laid out on a grid of character cells of kCellWidth x kCellHeight pixels, so a
// window system that paints with a fixed-width font (the terminal) shows it cell for cell.
#pragma once

#include <string>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "field/KwFieldMaskedEdit.h"
#include "form/Counted.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwdemo {

constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;

enum ControlId { kPhone = 101, kField1, kField2, kField3, kAmount, kDate, kName };
constexpr int kControlCount = kName - kPhone + 1;

// Judges a date entered as mmddyyyy (the control's data holds no separators). Nothing entered
// is fine; a date still being typed is a warning (state 0x02); eight digits that name no day
// (a month outside 1-12, a day the month does not have) are an error (state 0x04). The error
// string says what is wrong.
class DateValidator : public KwValidator {
 public:
  explicit DateValidator(KwMaskedEdit* pEdit) : KwValidator(pEdit) {}
  int Validate(std::string& data) override;
  KwValidator* Clone() override { return new DateValidator(*this); }
};

// One control of the form with what a host shows of it.
struct FormControl {
  KwMaskedEdit* control;
  int id;
  const char* name;  // short, for reports: "phone", "field 1", ...
  const char* kind;  // "character", "field", "number"
  int* refused;      // keys refused so far
};

class DemoForm {
 public:
  DemoForm();
  DemoForm(const DemoForm&) = delete;
  DemoForm& operator=(const DemoForm&) = delete;
  ~DemoForm();

  // Makes the labels and the controls as children of pParent, gives them the form's colours
  // and the date its validator; false when a window cannot be made.
  bool Create(CWnd* pParent);
  void Destroy();

  const std::vector<FormControl>& Controls() const { return m_controls; }
  // The form's control with this window, or null.
  const FormControl* Find(HWND hWnd) const;
  // The label and hint windows (plain windows with a text, no tab stop).
  const std::vector<HWND>& Labels() const { return m_labels; }
  // The form's controls' windows; each of them is painted as an edit control.
  bool IsControl(HWND hWnd) const { return Find(hWnd) != nullptr; }

  Counted<KwCharacterMaskedEdit> phone;
  Counted<KwFieldMaskedEdit> field1, field2, field3;
  Counted<KwNumberMaskedEdit> amount;
  Counted<KwCharacterMaskedEdit> date;
  Counted<KwFieldMaskedEdit> name;         // letters of any script, up to 20
  DateValidator* dateValidator = nullptr;  // owned by the date control once attached

 private:
  bool AddLabel(CWnd* pParent, const char* text, int column, int row);

  std::vector<FormControl> m_controls;
  std::vector<HWND> m_labels;
};

// The user's locale puts its own separators into the shown texts: this writes a text given with
// ',' '.' and '/' in the locale's characters (the monetary ones when money is true).
std::string Localised(std::string text, bool money);

}  // namespace kwdemo
