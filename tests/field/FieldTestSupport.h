// Shared pieces of the field control tests: a field with its model operations opened up, and a
// fixture that makes field controls as children of the test host's parent window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"

namespace kwfieldtest {

// A field control whose protected model operations the tests may call directly.
class OpenField : public KwFieldMaskedEdit {
 public:
  using KwFieldMaskedEdit::KwFieldMaskedEdit;
  using KwFieldMaskedEdit::DeleteRange;
  using KwFieldMaskedEdit::GetEmptyInputLocation;
  using KwFieldMaskedEdit::GetNextInputLocation;
  using KwFieldMaskedEdit::GetPreviousInputLocation;
  using KwFieldMaskedEdit::InsertAt;
  using KwFieldMaskedEdit::IsInputData;
  using KwFieldMaskedEdit::SetAt;
  using KwFieldMaskedEdit::SetInputData;

  const std::string& Stored() const { return m_strFieldText; }
};

class FieldTest : public kwtest::WindowTest {
 protected:
  // A field control with the given mask and text limit, created as a child of the parent with
  // identifier id (a tab stop unless style says otherwise).
  OpenField& MakeField(int id, const std::string& mask, UINT limit, bool autoTab = false,
                       DWORD style = kwtest::kEditStyle) {
    m_fields.push_back(std::make_unique<OpenField>());
    OpenField& field = *m_fields.back();
    field.SetMask(mask);
    field.SetAutoTab(autoTab);
    EXPECT_TRUE(field.Create(style, kwtest::EditRect(id), kwtest::ParentWnd(), static_cast<UINT>(id)));
    field.SetLimitText(limit);
    return field;
  }

  // Gives the field the focus, then the text (filtered, as the host's SetText) and the selection.
  static void Prepare(OpenField& field, const std::string& text, int selStart, int selEnd) {
    kwtest::Focus(field.GetSafeHwnd());
    field.SetText(text);
    kwtest::SetSel(field.GetSafeHwnd(), selStart, selEnd);
  }

  static std::pair<int, int> Caret(int at) { return {at, at}; }

  void TearDown() override {
    kwtest::Focus(kwtest::Parent());
    for (auto& field : m_fields) {
      if (::IsWindow(field->GetSafeHwnd())) field->DestroyWindow();
    }
    m_fields.clear();
    kwtest::WindowTest::TearDown();
  }

  std::vector<std::unique_ptr<OpenField>> m_fields;
};

}  // namespace kwfieldtest
