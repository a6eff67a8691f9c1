// Running out of memory in the middle of an edit. Allocation N of a typed character, a paste and
// a text set from outside fails, for N = 1, 2, ... until the edit no longer meets the failure:
// each time the control either refused the edit whole (text, data and selection as before,
// RejectOutOfMemory, one refusal with its beep) or made it completely, and the window shows the
// model. Nothing is thrown out of the window procedure.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "FailingNew.h"
#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

struct MemoryCase {
  const char* name;
  char kind;  // 'c' character, 'n' number, 'f' field
  const char* mask;
  const char* data;  // SetText before the edit
  std::pair<int, int> sel;
  UINT message;      // WM_CHAR, WM_PASTE or WM_SETTEXT
  const char* text;  // the character typed, the clipboard's text or the text set
  bool refusable;    // whether the edit always needs memory of its own (typing into a
                     // character control needs at most what a text longer than before needs)
};
void PrintTo(const MemoryCase& c, std::ostream* os) { *os << c.name; }

const MemoryCase kMemoryCases[] = {
    {"CharacterTyped", 'c', "(###) ###-####", "555123", {10, 10}, WM_CHAR, "4", false},
    {"CharacterPaste", 'c', "(###) ###-####", "555", {1, 4}, WM_PASTE, "(123) 456-7890", true},
    // A text longer than 15 characters: keeping it before the edit needs memory of its own.
    {"CharacterLongTyped", 'c', "(###) ###-#### x####", "555", {4, 4}, WM_CHAR, "7", true},
    {"CharacterSetText", 'c', "(###) ###-####", "555", {2, 2}, WM_SETTEXT, "5551234567", true},
    {"NumberTyped", 'n', "%", "1234.5", {2, 2}, WM_CHAR, "9", true},
    {"NumberPaste", 'n', "%", "12", {0, 2}, WM_PASTE, "-98,765.25", true},
    {"NumberSetText", 'n', "%", "12", {1, 1}, WM_SETTEXT, "4,321.5", true},
    {"FieldTyped", 'f', "#", "20", {2, 2}, WM_CHAR, "2", true},
    {"FieldPaste", 'f', "#", "20", {0, 1}, WM_PASTE, "2026x", true},
    {"FieldSetText", 'f', "#", "20", {0, 0}, WM_SETTEXT, "1999", true},
};

struct Seen {
  std::string text, data;
  std::pair<int, int> sel;
  bool operator==(const Seen& o) const { return text == o.text && data == o.data && sel == o.sel; }
  bool operator!=(const Seen& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << "'" << s.text << "' data '" << s.data << "' sel " << s.sel.first << ","
            << s.sel.second;
}

class OutOfMemory : public WindowTest, public ::testing::WithParamInterface<MemoryCase> {
 protected:
  void TearDown() override {
    FailAllocation(0);
    m_edit.reset();
    WindowTest::TearDown();
  }

  KwMaskedEdit& Make() {
    const MemoryCase& c = GetParam();
    m_edit.reset();
    m_refusals = nullptr;
    if (c.kind == 'c') {
      auto edit = std::make_unique<ModelProbe<KwCharacterMaskedEdit>>(c.mask);
      m_refusals = &edit->refusals;
      m_edit = std::move(edit);
    } else if (c.kind == 'n') {
      auto edit = std::make_unique<ModelProbe<KwNumberMaskedEdit>>(c.mask);
      m_refusals = &edit->refusals;
      m_edit = std::move(edit);
    } else {
      auto edit = std::make_unique<ModelProbe<KwFieldMaskedEdit>>(c.mask);
      m_refusals = &edit->refusals;
      m_edit = std::move(edit);
    }
    EXPECT_TRUE(m_edit->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
    m_edit->SetText(c.data);
    Focus(m_edit->GetSafeHwnd());
    SetSel(m_edit->GetSafeHwnd(), c.sel.first, c.sel.second);
    if (c.message == WM_PASTE) {
      EXPECT_TRUE(SetClipboardText(c.text));
    }
    Pump();
    *m_refusals = 0;
    ResetBeeps();
    return *m_edit;
  }

  Seen Look() const {
    const HWND h = m_edit->GetSafeHwnd();
    return {Text(h), m_edit->GetInputData(true), Sel(h)};
  }

  // Sends the edit's message with the nth allocation from now failing (0: none); true when
  // that allocation was reached.
  bool Edit(long nth) {
    const MemoryCase& c = GetParam();
    const HWND h = m_edit->GetSafeHwnd();
    const WPARAM wParam = c.message == WM_CHAR ? static_cast<unsigned char>(c.text[0]) : 0;
    const LPARAM lParam = c.message == WM_SETTEXT ? reinterpret_cast<LPARAM>(c.text) : 0;
    FailAllocation(nth);
    SendMessageA(h, c.message, wParam, lParam);
    return AllocationFailed();
  }

  std::unique_ptr<KwMaskedEdit> m_edit;
  int* m_refusals = nullptr;
};

TEST_P(OutOfMemory, EachAllocationFailingRefusesTheEditWholeOrLetsItComplete) {
  const MemoryCase& c = GetParam();
  // A memory checker (valgrind) replaces operator new with its own, and nothing could fail.
  kwtest::FailAllocation(1);
  try {
    void* volatile probe = ::operator new(16);
    ::operator delete(probe);
  } catch (const std::bad_alloc&) {
  }
  if (!kwtest::AllocationFailed())
    GTEST_SKIP() << "operator new is not this executable's own (a memory checker replaced it)";
  Make();
  const Seen before = Look();
  ASSERT_FALSE(Edit(0));
  const Seen after = Look();
  ASSERT_NE(after, before) << "the edit changes the control";
  const int reason = m_edit->GetLastRejection();
  const int refusals = *m_refusals;

  int refused = 0;
  long nth = 1;
  for (; nth < 5000; ++nth) {
    Make();
    SCOPED_TRACE("allocation " + std::to_string(nth) + " failing");
    const bool failed = Edit(nth);
    const Seen seen = Look();
    EXPECT_EQ(seen.text, m_edit->ShowMask()) << "the window shows the model";
    if (!failed) {
      EXPECT_EQ(seen, after);
      break;
    }
    if (seen == before && m_edit->GetLastRejection() == KwMaskedEdit::RejectOutOfMemory) {
      ++refused;
      // The refusal beeps; a partial edit that went on after a nested rewrite failed may have
      // beeped once already.
      EXPECT_GE(*m_refusals, 1);
      EXPECT_LE(*m_refusals, 2);
      int pos = -1;
      m_edit->GetLastRejection(&pos);
      EXPECT_EQ(pos, before.sel.first);
      EXPECT_EQ(m_edit->GetAccessibleHelp(), "out of memory: nothing changed");
    } else {
      EXPECT_EQ(seen, after) << "neither refused nor done";
      EXPECT_EQ(m_edit->GetLastRejection(), reason);
      EXPECT_EQ(*m_refusals, refusals);
    }
    if (HasFailure()) break;
  }
  EXPECT_LT(nth, 5000) << "the edit never got through";
  // The controls' own allocations were among those failed: on both builds the test
  // executable's operator new serves the controls' code, which is linked into it.
  if (c.refusable) {
    EXPECT_GT(refused, 0) << "of " << nth - 1 << " allocation(s)";
  }
  std::printf("%s: %ld allocation(s), %d refused whole\n", c.name, nth - 1, refused);
}

INSTANTIATE_TEST_SUITE_P(Controls, OutOfMemory, ::testing::ValuesIn(kMemoryCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
