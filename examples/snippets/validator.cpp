// README, "Validators".
#include "SnippetHost.h"

// snippet-begin validator
class DateValidator : public KwValidator {
 public:
  using KwValidator::KwValidator;
  int Validate(std::string& data) override {
    const int at = IsErrMatchTemplate(data, "99999999");  // ddmmyyyy, no literals in the data
    GetMaskedEdit()->SetState(at == 0 ? 0 : 0x04);
    if (at != 0) SetErrorString("not a date");
    return at;
  }
  KwValidator* Clone() override { return new DateValidator(*this); }
};
// snippet-end validator

void ValidatorExample(CWnd& frame) {
  KwCharacterMaskedEdit date("##/##/####");
  date.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, CRect(10, 130, 200, 156), &frame,
              301);
  date.SetText("0704");
  // snippet-begin validator

  date.SetValidator(new DateValidator(&date));
  if (date.OnValidate() != 0) { /* date shows the error look */
  }
  // snippet-end validator
  Check("the incomplete date's state", std::to_string(date.GetState()), "4");
}
