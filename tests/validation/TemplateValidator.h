// A concrete validator for the tests: it matches the data against a template, takes the
// normalised form on a match, and shows the verdict through the control's display state
// (error state 0x04 on a mismatch, 0 on a match). It counts its calls.
#pragma once

#include <string>
#include <utility>

#include "core/KwMaskedEdit.h"
#include "core/KwValidator.h"

namespace kwtest {

class TemplateValidator : public KwValidator {
 public:
  TemplateValidator(KwMaskedEdit* pEdit, std::string tmpl) : KwValidator(pEdit), m_tmpl(std::move(tmpl)) {}

  int Validate(std::string& data) override {
    ++calls;
    seen = data;
    const int r = IsErrMatchTemplate(data, m_tmpl.c_str());
    if (r != 0) SetErrorString("mismatch at " + std::to_string(r));
    if (GetMaskedEdit() != nullptr) GetMaskedEdit()->SetState(r != 0 ? 0x04 : 0);
    return r;
  }
  KwValidator* Clone() override { return new TemplateValidator(*this); }

  int calls = 0;
  std::string seen;  // the data handed to the last Validate

 private:
  std::string m_tmpl;
};

// A validator with no judgement of its own, for calling the matcher directly.
class MatcherOnly : public KwValidator {
 public:
  MatcherOnly() : KwValidator(nullptr) {}
  int Validate(std::string&) override { return 0; }
  KwValidator* Clone() override { return new MatcherOnly(*this); }
};

}  // namespace kwtest
