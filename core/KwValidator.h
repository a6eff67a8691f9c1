// The abstract validator that a host attaches to a masked edit control. The control owns it,
// hands it its input data to judge and correct (Validate), and clones it when copied.
#pragma once

#include <string>

#include "core/KwDefs.h"

class KwMaskedEdit;

class KW_API KwValidator {
 public:
  explicit KwValidator(KwMaskedEdit* pEdit);
  virtual ~KwValidator();

  // Judges data, which it may correct in place; the result goes back to the host unchanged.
  virtual int Validate(std::string& data) = 0;
  // A new validator, allocated with new, that behaves like this one. A control copied with its
  // validator binds the clone to the copy (GetMaskedEdit answers the copy), whatever control
  // Clone left in it: a clone that judged the source would change the source's state, and
  // outlive it.
  virtual KwValidator* Clone() = 0;
  virtual std::string GetErrorString();

  // Template matcher: 0 when data matches tmpl (data is then normalised to the template's
  // form), else the 1-based position in data where matching failed (data unchanged). Null is
  // the empty template; data longer than 999 characters is a mismatch at 1000.
  int IsErrMatchTemplate(std::string& data, const char* tmpl);
  // Class comparison of one data and one template character: 0 same class, 1 mismatch or one
  // side ended, 2 non-alphanumeric against a template literal, 3 alphanumeric against one.
  int CmpAlphaNumericCh(char dataCh, char tmplCh);

 protected:
  KwValidator(const KwValidator&) = default;
  KwValidator& operator=(const KwValidator&) = default;

  bool SetErrorString(const std::string& text);
  KwMaskedEdit* GetMaskedEdit();

  std::string m_strErrorString;
  KwMaskedEdit* m_pMaskedEdit;

 private:
  // The copy of a control binds the clone of its validator to itself.
  friend class KwMaskedEdit;
};
