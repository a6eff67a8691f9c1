// The validator base: the control it was made for and the error text it leaves for the host.
// The template matcher lives with the rest of the validation code.
#include "core/KwValidator.h"

KwValidator::KwValidator(KwMaskedEdit* pEdit) : m_pMaskedEdit(pEdit) {}

KwValidator::~KwValidator() {
  m_pMaskedEdit = nullptr;
  m_strErrorString.clear();
}

std::string KwValidator::GetErrorString() { return m_strErrorString; }

bool KwValidator::SetErrorString(const std::string& text) {
  m_strErrorString = text;
  return true;
}

KwMaskedEdit* KwValidator::GetMaskedEdit() { return m_pMaskedEdit; }
