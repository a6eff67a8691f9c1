// The window classes and the C++ interface are one control: the class messages answer on a
// control a C++ host made, a window made by class name is a control object the C++ interface
// reaches, and the host's own loop (with its pre-translation walk) runs the number control's
// key filter once, not twice.
#include <gtest/gtest.h>

#include <string>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "controls/KwMaskEditControls.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

using namespace kwtest;

namespace {

class ClassFace : public WindowTest {};

std::string DataA(HWND h, UINT message = KWM_GETDATAA) {
  char buf[64] = {};
  SendMessageA(h, message, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

TEST_F(ClassFace, MessagesAnswerOnAControlMadeThroughTheCppInterface) {
  KwCharacterMaskedEdit edit("###-###");
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  HWND h = edit.GetSafeHwnd();
  struct Row {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
  };
  const Row rows[] = {
      {"set data", KWM_SETDATAA, 0, reinterpret_cast<LPARAM>("12"), TRUE},
      {"prompt", KWM_SETPROMPT, '*', 0, TRUE},
      {"prompt NUL", KWM_SETPROMPT, 0, 0, FALSE},
      {"overwrite", KWM_SETINSERTMODE, FALSE, 0, TRUE},
      {"auto-tab", KWM_SETAUTOTAB, TRUE, 0, TRUE},
      {"state", KWM_SETSTATE, KWSTATE_WARNING, 0, TRUE},
      {"unknown state", KWM_SETSTATE, 0x40, 0, FALSE},
      {"colour", KWM_SETCOLOR, KWCOLOR_BACKWARNING, RGB(1, 2, 3), TRUE},
      {"unknown colour", KWM_SETCOLOR, 99, RGB(1, 2, 3), FALSE},
      {"value without a pointer", KWM_GETVALUE, 0, 0, FALSE},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SendMessageA(h, row.message, row.wParam, row.lParam), row.answer);
  }
  // What the messages did, read through the C++ interface, and back through the messages.
  EXPECT_EQ(edit.GetInputData(false), "12");
  EXPECT_EQ(edit.GetPromptSymbol(), '*');
  EXPECT_EQ(Text(h), "12*-***");
  EXPECT_FALSE(edit.GetInsertMode());
  EXPECT_TRUE(edit.GetAutoTab());
  EXPECT_EQ(edit.GetState(), KWSTATE_WARNING);
  EXPECT_EQ(DataA(h, KWM_GETPROMPTEDDATAA), "12****");
  EXPECT_EQ(DataA(h, KWM_GETMASKA), "###-###");
  edit.SetText("345");
  EXPECT_EQ(DataA(h), "345");
  EXPECT_EQ(SendMessageW(h, KWM_GETPROMPT, 0, 0), '*');
}

TEST_F(ClassFace, AWindowMadeByClassNameIsAControlObjectOfItsKind) {
  struct Row {
    const WCHAR* className;
    const CRuntimeClass* kind;
  };
  const Row rows[] = {{KWC_CHARACTERMASKEDEDITW, RUNTIME_CLASS(KwCharacterMaskedEdit)},
                      {KWC_FIELDMASKEDEDITW, RUNTIME_CLASS(KwFieldMaskedEdit)},
                      {KWC_NUMBERMASKEDEDITW, RUNTIME_CLASS(KwNumberMaskedEdit)}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kind->m_lpszClassName);
    HWND h = CreateWindowExW(0, row.className, KW_W("#"), kEditStyle, 0, 0, 100, 20, Parent(),
                             nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    CWnd* object = CWnd::FromHandlePermanent(h);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(row.kind));
    auto* edit = static_cast<KwMaskedEdit*>(object);
    EXPECT_EQ(SendMessageA(h, KWM_SETDATAA, 0, reinterpret_cast<LPARAM>("7")), TRUE);
    EXPECT_EQ(edit->GetInputData(false), "7");
    DestroyWindow(h);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
  }
}

// The host's loop runs the pre-translation walk, and the window runs the filter at its front:
// the number control's filter must act once. A second pass would drop the decimal point typed
// as the locale's separator (',' made '.', then '.' refused).
TEST_F(ClassFace, TheHostsWalkAndTheWindowRunTheNumberFilterOnce) {
  HWND h = CreateWindowExW(0, KWC_NUMBERMASKEDEDITW, KW_W("%"), kEditStyle, 0, 0, 100, 20, Parent(),
                           nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  Focus(h);
  char decimal[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
  Type(std::string("12") + decimal[0] + "5");
  EXPECT_EQ(DataA(h), "12.5");
  double value = 0;
  EXPECT_EQ(SendMessageA(h, KWM_GETVALUE, 0, reinterpret_cast<LPARAM>(&value)), TRUE);
  EXPECT_EQ(value, 12.5);
  DestroyWindow(h);
}

}  // namespace
