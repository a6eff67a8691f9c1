// A text the host sets (SetWindowText) from inside a notification of the control's own rewrite
// is a text from outside, like any other: the model takes what fits, the window shows the
// model, and the parent hears of it as of any foreign text. Each row is an input; for each
// EN_UPDATE and EN_CHANGE it sends, in turn, the host sets its text there, and the control must
// end as a control of the same kind that got the host's text from outside, saying the same.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

constexpr int kEdit = 1;
constexpr int kReference = 3;

struct Reaction {
  UINT code = 0;
  int countdown = 0;  // 0: never (a run that only counts)
  int seen = 0;
  HWND target = nullptr;
  const char* text = nullptr;
  std::size_t from = 0, to = 0;  // the notifications recorded while the host set its text
};
Reaction g_reaction;
WNDPROC g_parentProc = nullptr;

LRESULT CALLBACK SettingParent(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallWindowProcA(g_parentProc, hWnd, msg, wParam, lParam);
  if (msg == WM_COMMAND && LOWORD(wParam) == kEdit && HIWORD(wParam) == g_reaction.code &&
      ++g_reaction.seen == g_reaction.countdown) {
    g_reaction.from = Notifications().size();
    ::SetWindowTextA(g_reaction.target, g_reaction.text);
    g_reaction.to = Notifications().size();
  }
  return result;
}

struct Row {
  const char* name;
  char kind;  // 'c' character, 'n' number, 'f' field
  const char* mask;
  const char* text;  // through SetText
  int caret;
  const char* clip;  // nullptr: empty
  const char* keys;  // nullptr: the input is SetText(set)
  const char* set;
  const char* host;  // what the host sets from inside the notification
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

class HostTextFromANotification : public WindowTest, public ::testing::WithParamInterface<Row> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    g_parentProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SettingParent)));
  }
  void TearDown() override {
    ::SetWindowLongPtrA(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_parentProc));
    WindowTest::TearDown();
  }

  static std::unique_ptr<KwMaskedEdit> Make(const Row& r, int id) {
    std::unique_ptr<KwMaskedEdit> edit;
    if (r.kind == 'n') {
      edit = std::make_unique<KwNumberMaskedEdit>(r.mask);
    } else if (r.kind == 'f') {
      edit = std::make_unique<KwFieldMaskedEdit>(r.mask);
    } else {
      edit = std::make_unique<KwCharacterMaskedEdit>(r.mask);
    }
    EXPECT_TRUE(edit->Create(kEditStyle, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
    edit->SetLimitText(16);
    edit->SetText(r.text);
    return edit;
  }

  // Plays the row's input with the host setting its text at the countdown-th notification
  // (none: 0); answers how often the notification came.
  int Run(const Row& r, UINT code, int countdown, std::unique_ptr<KwMaskedEdit>& edit) {
    edit = Make(r, kEdit);
    if (r.clip != nullptr) {
      EXPECT_TRUE(SetClipboardText(r.clip));
    } else {
      EmptyClipboardNow();
    }
    Focus(edit->GetSafeHwnd());
    SetSel(edit->GetSafeHwnd(), r.caret, r.caret);
    ClearNotifications();
    g_reaction = Reaction{code, countdown, 0, edit->GetSafeHwnd(), r.host, 0, 0};
    if (r.keys != nullptr) {
      Keys(r.keys);
    } else {
      edit->SetText(r.set);
    }
    Pump();
    return g_reaction.seen;
  }
};

TEST_P(HostTextFromANotification, IsAForeignText) {
  const Row& r = GetParam();
  // What a text from outside makes of a control of the same kind, and what its parent hears.
  const std::unique_ptr<KwMaskedEdit> reference = Make(r, kReference);
  ClearNotifications();
  ::SendMessageA(reference->GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(r.host));
  const std::string expected = Text(reference->GetSafeHwnd());
  const std::string expectedNotes = Describe(CodesFor(kReference));

  for (UINT code : {static_cast<UINT>(EN_UPDATE), static_cast<UINT>(EN_CHANGE)}) {
    std::unique_ptr<KwMaskedEdit> edit;
    const int times = Run(r, code, 0, edit);
    EXPECT_GT(times, 0) << "the input sends no " << CodeName(code);
    for (int k = 1; k <= times; ++k) {
      SCOPED_TRACE("the host sets '" + std::string(r.host) + "' at the " + std::to_string(k) +
                   ". " + CodeName(code) + " of " + std::to_string(times));
      Run(r, code, k, edit);
      const HWND hWnd = edit->GetSafeHwnd();
      EXPECT_EQ(expected, Text(hWnd));
      EXPECT_EQ(edit->ShowMask(), Text(hWnd)) << "the window and the model disagree";
      EXPECT_EQ(reference->GetInputData(true), edit->GetInputData(true));
      std::vector<UINT> heard;
      const auto& notes = Notifications();
      for (std::size_t i = g_reaction.from; i < g_reaction.to && i < notes.size(); ++i)
        if (notes[i].id == kEdit) heard.push_back(notes[i].code);
      EXPECT_EQ(expectedNotes, Describe(heard)) << "what the parent heard of the host's text";
    }
  }
}

const char kPhone[] = "(###) ###-####";

INSTANTIATE_TEST_SUITE_P(
    Controls, HostTextFromANotification,
    ::testing::Values(
        Row{"CharacterTyping", 'c', kPhone, "", 1, nullptr, "5", nullptr, "9998887777"},
        Row{"CharacterBackspace", 'c', kPhone, "123", 4, nullptr, "{Back}", nullptr,
            "(999) 888-7777"},
        Row{"CharacterPaste", 'c', kPhone, "", 1, "555", "{C+v}", nullptr, "9998887777"},
        Row{"CharacterSetText", 'c', kPhone, "", 0, nullptr, nullptr, "555", "9998887777"},
        Row{"NumberTyping", 'n', "%", "12", 2, nullptr, "5", nullptr, "1,234.5"},
        Row{"NumberBackspace", 'n', "%", "1234", 5, nullptr, "{Back}", nullptr, "98.76"},
        Row{"NumberPaste", 'n', "%", "", 0, "77", "{C+v}", nullptr, "1,234.5"},
        Row{"NumberSetText", 'n', "%", "", 0, nullptr, nullptr, "12", "1,234.5"},
        Row{"FieldTyping", 'f', "#", "12", 2, nullptr, "5", nullptr, "4321"},
        Row{"FieldSetText", 'f', "#", "", 0, nullptr, nullptr, "12", "4321"}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// A control without a mask lets the edit control edit by itself, and the edit control tells
// the parent EN_MAXTEXT before it inserts what goes over the limit. A host that gives the control
// a mask there must find the window showing the mask's display afterwards, not the display with
// the edit control's insertion in it.
UINT g_maxTexts = 0;
KwMaskedEdit* g_masked = nullptr;
const char* g_newMask = nullptr;
LRESULT CALLBACK MaskingParent(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallWindowProcA(g_parentProc, hWnd, msg, wParam, lParam);
  if (msg == WM_COMMAND && LOWORD(wParam) == kEdit && HIWORD(wParam) == EN_MAXTEXT &&
      g_maxTexts++ == 0)
    g_masked->SetMask(g_newMask);
  return result;
}

TEST_F(WindowTest, AMaskTheHostSetsBeforeTheEditControlInsertsIsShown) {
  const struct {
    const char* name;
    char kind;
    const char* mask;
    const char* keys;
    const char* shown;  // the new mask's display
  } cases[] = {
      {"character control, typing", 'c', "(#)", "abcdefg", "( )"},
      {"character control, paste", 'c', "(#)", "{C+v}", "( )"},
      {"number control, paste", 'n', "%", "{C+v}", ""},
      {"character control, host's replacement", 'c', "(#)", "{Replace=1234567}", "( )"},
      {"number control, host's replacement", 'n', "%", "{Replace=1234567}", ""},
  };
  g_parentProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MaskingParent)));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<KwMaskedEdit> edit;
    if (c.kind == 'n') {
      edit = std::make_unique<KwNumberMaskedEdit>("");
    } else {
      edit = std::make_unique<KwCharacterMaskedEdit>("");
    }
    ASSERT_TRUE(edit->Create(kEditStyle, EditRect(kEdit), ParentWnd(), kEdit));
    edit->SetLimitText(6);
    ASSERT_TRUE(SetClipboardText("1234567"));
    Focus(edit->GetSafeHwnd());
    g_masked = edit.get();
    g_newMask = c.mask;
    g_maxTexts = 0;
    Keys(c.keys);
    EXPECT_GT(g_maxTexts, 0u) << "the edit control never reached its limit";
    EXPECT_EQ(c.shown, Text(edit->GetSafeHwnd()));
    EXPECT_EQ(edit->ShowMask(), Text(edit->GetSafeHwnd()));
    g_masked = nullptr;
  }
  ::SetWindowLongPtrA(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_parentProc));
}

}  // namespace
}  // namespace kwtest
