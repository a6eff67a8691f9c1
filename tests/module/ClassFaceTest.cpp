// The window classes and the C++ interface are one control: the class messages answer on a
// control a C++ host made, a window made by class name is a control object the C++ interface
// reaches, and the host's own loop (with its pre-translation walk) runs the number control's
// key filter once, not twice.
#include <gtest/gtest.h>

#include <memory>
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

// Each message of the class face, sent alike to a control the C++ interface made and to one made
// by class name (each with the data "12" first): both answer what the row expects, and their
// texts agree after it.
int CALLBACK SecondIsWrong(HWND, WCHAR* data, int, LPARAM) { return data[0] && data[1] ? 2 : 0; }
int CALLBACK WritesNines(HWND, WCHAR* data, int, LPARAM) {
  for (int i = 0; i < 6; ++i) data[i] = '9';
  data[6] = 0;
  return 1;
}

std::string Copied(HWND h, UINT message, WPARAM size, bool buffer) {
  char a[64] = {};
  WCHAR w[64] = {};
  const bool wide = message % 2 == 1;  // the W forms are the odd values
  const LRESULT n = wide ? SendMessageW(h, message, size, buffer ? reinterpret_cast<LPARAM>(w) : 0)
                         : SendMessageA(h, message, size, buffer ? reinterpret_cast<LPARAM>(a) : 0);
  std::string out = std::to_string(n) + " ";
  if (wide)
    for (int i = 0; w[i]; ++i) out += static_cast<char>(w[i]);
  else
    out += a;
  return out;
}

int Rejected(HWND h) {
  int n = 0;
  for (const kwhost::Notification& note : kwhost::Notifications())
    n += note.hwnd == h && note.code == KWN_REJECTED;
  return n;
}

TEST_F(ClassFace, EveryMessageAnswersAlikeOnBothFaces) {
  using Call = std::string (*)(HWND);
  struct Row {
    const char* name;
    const char* mask;  // "%": the number control, else the character control
    Call call;
    const char* expected;
  };
  static const WCHAR kMaskW[] = {'(', '#', '#', ')', 0};
  static const WCHAR kDataW[] = {'9', '8', 0};
  const Row rows[] = {
      {"SETMASKA", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageA(h, KWM_SETMASKA, 0, reinterpret_cast<LPARAM>("##-##"));
         return std::to_string(r) + " " + Text(h);
       },
       "1   -  "},
      {"SETMASKA NULL", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageA(h, KWM_SETMASKA, 0, 0);
         return std::to_string(r) + " " + Copied(h, KWM_GETMASKA, 64, true);
       },
       "1 0 "},
      {"SETMASKW", "###-###",
       [](HWND h) {
         SendMessageW(h, KWM_SETMASKW, 0, reinterpret_cast<LPARAM>(kMaskW));
         return Copied(h, KWM_GETMASKW, 64, true);
       },
       "4 (##)"},
      {"GETMASKA", "###-###", [](HWND h) { return Copied(h, KWM_GETMASKA, 64, true); },
       "7 ###-###"},
      {"GETMASKA small", "###-###", [](HWND h) { return Copied(h, KWM_GETMASKA, 3, true); },
       "2 ##"},
      {"GETMASKW NULL", "###-###", [](HWND h) { return Copied(h, KWM_GETMASKW, 64, false); }, "7 "},
      {"GETDATAA", "###-###", [](HWND h) { return Copied(h, KWM_GETDATAA, 64, true); }, "2 12"},
      {"GETDATAW size 0", "###-###", [](HWND h) { return Copied(h, KWM_GETDATAW, 0, true); }, "0 "},
      {"GETACCVALUEW", "###-###", [](HWND h) { return Copied(h, KWM_GETACCVALUEW, 64, true); },
       "2 12"},
      {"GETACCDESCRIPTIONA", "###-###",
       [](HWND h) { return Copied(h, KWM_GETACCDESCRIPTIONA, 64, true); },
       "35 format ###-###: 6 digits, 2 entered"},
      {"GETACCDESCRIPTIONW small", "%",
       [](HWND h) { return Copied(h, KWM_GETACCDESCRIPTIONW, 7, true); }, "6 number"},
      {"GETACCHELPA NULL", "###-###", [](HWND h) { return Copied(h, KWM_GETACCHELPA, 64, false); },
       "0 "},
      {"GETPROMPTEDDATAA", "###-###",
       [](HWND h) { return Copied(h, KWM_GETPROMPTEDDATAA, 64, true); }, "6 12    "},
      {"GETPROMPTEDDATAW NULL", "###-###",
       [](HWND h) { return Copied(h, KWM_GETPROMPTEDDATAW, 9, false); }, "6 "},
      {"SETDATAA", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageA(h, KWM_SETDATAA, 0, reinterpret_cast<LPARAM>("345678"));
         return std::to_string(r) + " " + Text(h);
       },
       "1 345-678"},
      {"SETDATAW", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageW(h, KWM_SETDATAW, 0, reinterpret_cast<LPARAM>(kDataW));
         return std::to_string(r) + " " + Text(h);
       },
       "1 98 -   "},
      {"SETDATAW NULL", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageW(h, KWM_SETDATAW, 0, 0);
         return std::to_string(r) + " " + Text(h);
       },
       "1    -   "},
      {"SETPROMPT", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageW(h, KWM_SETPROMPT, '*', 0);
         const LRESULT prompt = SendMessageW(h, KWM_GETPROMPT, 0, 0);
         return std::to_string(r) + " " + std::to_string(prompt) + " " + Text(h);
       },
       "1 42 12*-***"},
      {"SETPROMPT outside the code page", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageW(h, KWM_SETPROMPT, 0x4E00, 0);
         return std::to_string(r) + " " + std::to_string(SendMessageW(h, KWM_GETPROMPT, 0, 0));
       },
       "1 19968"},
      {"SETINSERTMODE", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageW(h, KWM_SETINSERTMODE, FALSE, 0);
         return std::to_string(r) + " " + std::to_string(SendMessageW(h, KWM_GETINSERTMODE, 0, 0));
       },
       "1 0"},
      {"SETAUTOTAB", "###-###",
       [](HWND h) {
         const LRESULT r = SendMessageW(h, KWM_SETAUTOTAB, 3, 0);
         return std::to_string(r) + " " + std::to_string(SendMessageW(h, KWM_GETAUTOTAB, 0, 0));
       },
       "1 1"},
      {"GETVALUE", "%",
       [](HWND h) {
         double value = 0;
         const LRESULT r = SendMessageW(h, KWM_GETVALUE, 0, reinterpret_cast<LPARAM>(&value));
         const LRESULT none = SendMessageW(h, KWM_GETVALUE, 0, 0);
         return std::to_string(r) + " " + std::to_string(value) + " " + std::to_string(none);
       },
       "1 12.000000 0"},
      {"VALIDATE and SETVALIDATEPROC", "###-###",
       [](HWND h) {
         const LRESULT none = SendMessageW(h, KWM_VALIDATE, 0, 0);
         const LRESULT set =
             SendMessageW(h, KWM_SETVALIDATEPROC, 0, reinterpret_cast<LPARAM>(&SecondIsWrong));
         const LRESULT found = SendMessageW(h, KWM_VALIDATE, 0, 0);
         return std::to_string(none) + " " + std::to_string(set) + " " + std::to_string(found);
       },
       "0 1 2"},
      {"SETVALIDATEPROC corrects", "###-###",
       [](HWND h) {
         SendMessageW(h, KWM_SETVALIDATEPROC, 0, reinterpret_cast<LPARAM>(&WritesNines));
         const LRESULT r = SendMessageW(h, KWM_VALIDATE, 0, 0);
         const std::string corrected = Text(h);
         SendMessageW(h, KWM_SETVALIDATEPROC, 0, 0);
         const LRESULT removed = SendMessageW(h, KWM_VALIDATE, 0, 0);
         return std::to_string(r) + " " + corrected + " " + std::to_string(removed);
       },
       "1 999-999 0"},
      {"SETSTATE", "###-###",
       [](HWND h) {
         const LRESULT ok = SendMessageW(h, KWM_SETSTATE, KWSTATE_ERROR, 0);
         const LRESULT unknown = SendMessageW(h, KWM_SETSTATE, 0x40, 0);
         const LRESULT state = SendMessageW(h, KWM_GETSTATE, 0, 0);
         return std::to_string(ok) + " " + std::to_string(unknown) + " " + std::to_string(state);
       },
       "1 0 4"},
      {"SETCOLOR", "###-###",
       [](HWND h) {
         const LRESULT known = SendMessageW(h, KWM_SETCOLOR, KWCOLOR_BACKERROR, RGB(1, 2, 3));
         const LRESULT unknown = SendMessageW(h, KWM_SETCOLOR, 8, RGB(1, 2, 3));
         return std::to_string(known) + " " + std::to_string(unknown);
       },
       "1 0"},
      {"GETREJECTION and SETNOTIFYREJECTIONS", "###-###",
       [](HWND h) {
         SetSel(h, 0, 0);
         const LRESULT on = SendMessageW(h, KWM_SETNOTIFYREJECTIONS, TRUE, 0);
         SendMessageW(h, WM_CHAR, 'x', 0);
         int pos = -1;
         WCHAR ch = 0;
         const LRESULT reason = SendMessageW(h, KWM_GETREJECTION, reinterpret_cast<WPARAM>(&pos),
                                             reinterpret_cast<LPARAM>(&ch));
         const LRESULT again = SendMessageW(h, KWM_GETREJECTION, 0, 0);
         return std::to_string(on) + " " + std::to_string(reason) + " " + std::to_string(pos) +
                " " + static_cast<char>(ch) + " " + std::to_string(Rejected(h)) + " " +
                std::to_string(again);
       },
       "1 1 0 x 1 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const bool number = std::string(row.mask) == "%";
    std::unique_ptr<KwMaskedEdit> made;
    if (number)
      made = std::make_unique<KwNumberMaskedEdit>(row.mask);
    else
      made = std::make_unique<KwCharacterMaskedEdit>(row.mask);
    ASSERT_TRUE(made->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
    HWND named = CreateWindowExA(0, number ? KWC_NUMBERMASKEDEDITA : KWC_CHARACTERMASKEDEDITA,
                                 row.mask, kEditStyle, 0, 0, 200, 20, Parent(),
                                 reinterpret_cast<HMENU>(2), nullptr, nullptr);
    ASSERT_NE(named, nullptr);
    kwhost::ClearNotifications();
    for (HWND h : {made->GetSafeHwnd(), named}) {
      SendMessageA(h, KWM_SETDATAA, 0, reinterpret_cast<LPARAM>("12"));
      EXPECT_EQ(row.call(h), row.expected) << (h == named ? "by class name" : "C++ interface");
    }
    EXPECT_EQ(Text(made->GetSafeHwnd()), Text(named));
    DestroyWindow(named);
    made->DestroyWindow();
  }
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
