// A host of the shared library: it links libkwmaskedit.so (KwMaskEdit.dll) and includes only
// the public headers of the four control classes and the validator, as an application would.
// The library registered its classes with the shared framework when it was loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "core/KwMaskedEdit.h"
#include "core/KwValidator.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

using namespace kwtest;

namespace {

// A host's own control: derived from an exported control, with a run-time class and a message
// map of its own chained to the library's, and an override of a protected virtual.
class CHostPhoneEdit : public KwCharacterMaskedEdit {
  DECLARE_DYNAMIC(CHostPhoneEdit)

 public:
  CHostPhoneEdit() : KwCharacterMaskedEdit("##-##") {}
  int m_nRefused = 0;
  int m_nKeyUps = 0;

 protected:
  void ValidationError() override { ++m_nRefused; }  // instead of the beep
  void OnKeyUp(UINT, UINT, UINT) {
    ++m_nKeyUps;
    Default();
  }

  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(CHostPhoneEdit, KwCharacterMaskedEdit)

// clang-format off
BEGIN_MESSAGE_MAP(CHostPhoneEdit, KwCharacterMaskedEdit)
  ON_WM_KEYUP()
END_MESSAGE_MAP()
// clang-format on

// A host's validator: takes any data, uppercased, and marks the control's state.
class CUpperValidator : public KwValidator {
 public:
  using KwValidator::KwValidator;
  int Validate(std::string& data) override {
    std::transform(data.begin(), data.end(), data.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    GetMaskedEdit()->SetState(0x02);
    return 7;
  }
  KwValidator* Clone() override { return new CUpperValidator(*this); }
};

class ModuleHost : public WindowTest {
 protected:
  template <class Edit>
  void Make(Edit& edit, int id) {
    ASSERT_TRUE(edit.Create(kEditStyle, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
  }
};

TEST(ModuleRegistry, TheLibraryRegisteredItsFourClassesWithTheirBaseLinks) {
  struct Row {
    const char* name;
    const CRuntimeClass* record;
    const CRuntimeClass* base;
  };
  const Row rows[] = {
      {"KwMaskedEdit", RUNTIME_CLASS(KwMaskedEdit), RUNTIME_CLASS(CEdit)},
      {"KwCharacterMaskedEdit", RUNTIME_CLASS(KwCharacterMaskedEdit), RUNTIME_CLASS(KwMaskedEdit)},
      {"KwFieldMaskedEdit", RUNTIME_CLASS(KwFieldMaskedEdit), RUNTIME_CLASS(KwMaskedEdit)},
      {"KwNumberMaskedEdit", RUNTIME_CLASS(KwNumberMaskedEdit), RUNTIME_CLASS(KwMaskedEdit)},
  };
  std::vector<const CRuntimeClass*> expected;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CRuntimeClass* found = AfxFindRuntimeClass(row.name);
    ASSERT_EQ(found, row.record);  // one record, the library's, seen from the host
    EXPECT_STREQ(found->m_lpszClassName, row.name);
    EXPECT_EQ(found->GetBaseClass(), row.base);
    EXPECT_EQ(found->m_wSchema, 0xFFFFu);
    EXPECT_EQ(found->m_pfnCreateObject, nullptr);
    EXPECT_EQ(found->CreateObject(), nullptr);
    expected.push_back(row.record);
  }
  EXPECT_EQ(AfxRegisteredClasses(), expected);
  EXPECT_EQ(AfxFindRuntimeClass("KwValidator"), nullptr);     // a plain class
  EXPECT_EQ(AfxFindRuntimeClass("CHostPhoneEdit"), nullptr);  // the host registered nothing
}

TEST_F(ModuleHost, OneControlOfEachKindTakesTypingThroughTheHostLoop) {
  KwCharacterMaskedEdit character("(###) ###-####");
  KwFieldMaskedEdit field(">");
  KwNumberMaskedEdit number("%");
  Make(character, 1);
  Make(field, 2);
  field.SetLimitText(3);
  Make(number, 3);

  Focus(character.GetSafeHwnd());
  Type("555x1234567");  // 'x' refused
  EXPECT_EQ(Text(character.GetSafeHwnd()), "(555) 123-4567");
  EXPECT_EQ(character.GetInputData(false), "5551234567");

  Focus(field.GetSafeHwnd());
  Type("ab1c");  // '1' refused, letters shown in upper case
  EXPECT_EQ(Text(field.GetSafeHwnd()), "ABC");
  EXPECT_EQ(field.GetInputData(false), "ABC");

  Focus(number.GetSafeHwnd());
  Type("-1234");
  double value = 0;
  EXPECT_TRUE(number.GetDataNumValue(value));
  EXPECT_EQ(value, -1234.0);
  EXPECT_EQ(number.GetInputData(false), "-1234");

  // Each kind is a KwMaskedEdit and a CEdit, and names its own class.
  const std::pair<CWnd*, const char*> controls[] = {{&character, "KwCharacterMaskedEdit"},
                                                    {&field, "KwFieldMaskedEdit"},
                                                    {&number, "KwNumberMaskedEdit"}};
  for (const auto& [control, name] : controls) {
    SCOPED_TRACE(name);
    EXPECT_STREQ(control->GetRuntimeClass()->m_lpszClassName, name);
    EXPECT_TRUE(control->IsKindOf(RUNTIME_CLASS(KwMaskedEdit)));
    EXPECT_TRUE(control->IsKindOf(RUNTIME_CLASS(CEdit)));
    EXPECT_TRUE(control->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(control->IsKindOf(RUNTIME_CLASS(CHostPhoneEdit)));
  }
  EXPECT_FALSE(character.IsKindOf(RUNTIME_CLASS(KwNumberMaskedEdit)));
  EXPECT_FALSE(number.IsKindOf(RUNTIME_CLASS(KwFieldMaskedEdit)));
}

TEST_F(ModuleHost, AHostsDerivedControlOverridesAVirtualAndChainsItsMessageMap) {
  CHostPhoneEdit edit;
  Make(edit, 1);
  EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(KwCharacterMaskedEdit)));
  EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(KwMaskedEdit)));

  Focus(edit.GetSafeHwnd());
  Type("1a2b34");
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "12-34");  // the library's map still handles the characters
  EXPECT_EQ(edit.m_nRefused, 2);                 // the library called the host's override
  EXPECT_GE(edit.m_nKeyUps, 6);                  // the host's own entry
  EXPECT_EQ(edit.GetInputData(false), "1234");
}

TEST_F(ModuleHost, AHostsValidatorCorrectsTheDataThroughTheControl) {
  KwCharacterMaskedEdit edit("?\?-?\?");
  Make(edit, 1);
  edit.SetValidator(new CUpperValidator(&edit));  // owned by the control from now on
  Focus(edit.GetSafeHwnd());
  Type("abcd");
  EXPECT_EQ(edit.OnValidate(), 7);
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "AB-CD");
  EXPECT_EQ(edit.GetState(), 0x02);
}

// Messages sent to a number control find its own handlers before the base class's: Delete
// keeps the caret by the character that followed the deleted digit (the shared handling would
// put it on the next input place after the deletion point), and a text set from outside is
// read as a number.
TEST_F(ModuleHost, MessagesToANumberControlReachItsOwnHandlers) {
  KwNumberMaskedEdit number("%");
  Make(number, 1);
  number.SetText("1234.5");
  const HWND hwnd = number.GetSafeHwnd();
  if (Text(hwnd) != "1,234.5") GTEST_SKIP() << "written for '.' and ',' as separators";

  SetSel(hwnd, 2, 2);  // before the 2
  ::SendMessageA(hwnd, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(Text(hwnd), "134.5");
  EXPECT_EQ(Sel(hwnd), std::make_pair(1, 1));  // before the 3, which followed the 2

  ::SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("9,876.5"));
  EXPECT_EQ(number.GetInputData(false), "9876.5");
  EXPECT_EQ(Text(hwnd), "9,876.5");
}

}  // namespace
