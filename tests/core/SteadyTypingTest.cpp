// Typing allocates nothing once a control has been typed into: the entry is emptied (as a host
// resets a form) and typed again, each keystroke with the next allocation of this executable
// failing. The history's steps, the model's texts and the display text all reuse what the first
// round left behind; a keystroke that needed memory would be refused for it, and the round would
// not read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "FailingNew.h"
#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "host/Utf8.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

// Whether operator new is this executable's own (a memory checker replaces it, and then nothing
// can be made to fail).
bool CanFailAllocations() {
  FailAllocation(1);
  try {
    void* volatile probe = ::operator new(16);
    ::operator delete(probe);
  } catch (const std::bad_alloc&) {
  }
  return AllocationFailed();
}

struct TypingCase {
  const char* name;
  char kind;         // 'c' character, 'n' number, 'f' field
  const char* mask;  // UTF-8
  const char* keys;  // UTF-8, each character typed as WM_CHAR units
  bool emptyBySetText;
  const char* data;  // UTF-8: GetInputDataW(false) after a round
};
void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

const TypingCase kTypingCases[] = {
    {"PhoneEmptied", 'c', "(###) ###-####", "5551234567", false, "5551234567"},
    {"PhoneSetEmpty", 'c', "(###) ###-####", "5551234567", true, "5551234567"},
    // Letters of several scripts and a full-width digit, past the string's small buffer.
    {"Letters", 'c', "\?\?\?\?\?-\?\?\?\?-&&&", "łЖあéabcdxy１Ω", false, "łЖあéabcdxy１Ω"},
    {"Number", 'n', "%", "1234567.25", true, "1234567.25"},
    {"NumberArabicIndicDigits", 'n', "%", "١٢٣٤٥٦٧٨", true, "12345678"},
    {"Field", 'f', "&", "łЖあéabcd12", true, "łЖあéabcd12"},
};

class SteadyTyping : public WindowTest, public ::testing::WithParamInterface<TypingCase> {
 protected:
  void TearDown() override {
    FailAllocation(0);
    m_edit.reset();
    WindowTest::TearDown();
  }

  void Empty() {
    const TypingCase& c = GetParam();
    if (c.emptyBySetText) {
      m_edit->SetText("");
    } else {
      m_edit->EmptyData(1);
    }
    // The caret on the first place, as a click leaves it.
    const int first =
        c.kind == 'c' ? static_cast<int>(m_edit->GetMaskW().find_first_of(KW_W("#?&"))) : 0;
    SetSel(m_edit->GetSafeHwnd(), first, first);
    Pump();
    ClearNotifications();
  }

  // Types the keys, each as its UTF-16 units; with failing, the next allocation from each
  // keystroke on fails. Answers the keystrokes that met a failed allocation.
  int TypeRound(bool failing) {
    const KwWString units = Utf16FromUtf8(GetParam().keys);
    const HWND h = m_edit->GetSafeHwnd();
    int allocating = 0;
    for (const WCHAR unit : units) {
      if (failing) FailAllocation(1);
      SendMessageW(h, WM_CHAR, static_cast<WPARAM>(unit), 1);
      if (failing && AllocationFailed()) ++allocating;
    }
    return allocating;
  }

  std::unique_ptr<KwMaskedEdit> m_edit;
};

TEST_P(SteadyTyping, ASecondRoundOfTypingNeedsNoMemory) {
  if (!CanFailAllocations())
    GTEST_SKIP() << "operator new is not this executable's own (a memory checker replaced it)";
  const TypingCase& c = GetParam();
  const KwWString mask = Utf16FromUtf8(c.mask);
  if (c.kind == 'c') {
    m_edit = std::make_unique<KwCharacterMaskedEdit>(mask.c_str());
  } else if (c.kind == 'n') {
    m_edit = std::make_unique<KwNumberMaskedEdit>(mask);
  } else {
    m_edit = std::make_unique<KwFieldMaskedEdit>(mask);
  }
  ASSERT_TRUE(m_edit->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  Focus(m_edit->GetSafeHwnd());
  const KwWString data = Utf16FromUtf8(c.data);
  for (int round = 0; round < 2; ++round) {
    Empty();
    ASSERT_EQ(TypeRound(false), 0);
    ASSERT_EQ(m_edit->GetInputDataW(false), data) << "round " << round;
  }
  Empty();
  EXPECT_EQ(TypeRound(true), 0) << "keystrokes that needed memory";
  EXPECT_EQ(m_edit->GetInputDataW(false), data);
  EXPECT_NE(m_edit->GetLastRejection(), KwMaskedEdit::RejectOutOfMemory);
  // The round is one step of the history, as always.
  ASSERT_TRUE(m_edit->Undo());
  EXPECT_EQ(m_edit->GetInputDataW(false), KwWString());
  ASSERT_TRUE(m_edit->Redo());
  EXPECT_EQ(m_edit->GetInputDataW(false), data);
}

INSTANTIATE_TEST_SUITE_P(Controls, SteadyTyping, ::testing::ValuesIn(kTypingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The history hands the storage of dropped steps to new ones: each step still brings back its
// own text, whichever step's storage it took.
TEST_F(WindowTest, ReusedHistoryStepsBringBackTheirOwnTexts) {
  KwCharacterMaskedEdit edit("(###) ###-####");
  ASSERT_TRUE(edit.Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  edit.SetPromptSymbol('_');
  Focus(edit.GetSafeHwnd());
  const HWND h = edit.GetSafeHwnd();
  auto type = [&](int at, const char* keys) {
    SetSel(h, at, at);
    for (const char* k = keys; *k != 0; ++k) SendMessageA(h, WM_CHAR, static_cast<WPARAM>(*k), 1);
  };
  // Steps made, dropped by a new text, made again from their storage.
  type(1, "555");
  type(6, "12");
  edit.SetText("999");
  type(6, "44");
  type(10, "7");
  EXPECT_EQ(Text(h), "(999) 44_-7___");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(h), "(999) 44_-____");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(h), "(999) ___-____");
  EXPECT_FALSE(edit.Undo());
  // Redo's steps are dropped by new typing and their storage serves the next ones.
  ASSERT_TRUE(edit.Redo());
  type(10, "8");
  EXPECT_FALSE(edit.CanRedo());
  EXPECT_EQ(Text(h), "(999) 44_-8___");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(h), "(999) 44_-____");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(h), "(999) ___-____");
  // At the step limit the oldest step's storage is taken over.
  edit.SetUndoLimit(2);
  ASSERT_TRUE(edit.Redo());
  type(10, "1");
  type(12, "2");
  type(13, "3");
  EXPECT_EQ(Text(h), "(999) 44_-1_23");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(h), "(999) 44_-1_2_");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(h), "(999) 44_-1___");
  EXPECT_FALSE(edit.Undo());
}

}  // namespace
}  // namespace kwtest
