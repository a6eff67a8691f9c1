// Keys typed faster than the host loop takes them out: Shift+Left, Shift+Home and the like
// whose Shift is released before the key is handled. Each control reads Shift as it came with
// the key, as the edit control does, so the stroke selects; the caret keys alone still step
// over literals.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

struct QueuedCase {
  const char* name;
  char kind;  // 'c' character, 'n' number, 'f' field
  const char* mask;
  const char* data;  // SetText
  int caret;         // where the caret is before the stroke
  UINT vk;
  bool shift;
  std::pair<int, int> sel;  // the selection after it
};
void PrintTo(const QueuedCase& c, std::ostream* os) { *os << c.name; }

// Shown texts: character "(555) 123-4567", number "1,234.5", field "2026".
const QueuedCase kQueuedCases[] = {
    // Shifted: the edit control's selection stays, whichever way the key goes.
    {"CharacterShiftLeft", 'c', "(###) ###-####", "5551234567", 10, VK_LEFT, true, {9, 10}},
    {"CharacterShiftUp", 'c', "(###) ###-####", "5551234567", 10, VK_UP, true, {9, 10}},
    {"CharacterShiftRight", 'c', "(###) ###-####", "5551234567", 8, VK_RIGHT, true, {8, 9}},
    {"CharacterShiftDown", 'c', "(###) ###-####", "5551234567", 8, VK_DOWN, true, {8, 9}},
    {"CharacterShiftHome", 'c', "(###) ###-####", "5551234567", 10, VK_HOME, true, {0, 10}},
    {"NumberShiftLeft", 'n', "%", "1234.5", 6, VK_LEFT, true, {5, 6}},
    {"NumberShiftHome", 'n', "%", "1234.5", 6, VK_HOME, true, {0, 6}},
    {"NumberShiftRight", 'n', "%", "1234.5", 1, VK_RIGHT, true, {1, 2}},
    {"FieldShiftLeft", 'f', "#", "2026", 3, VK_LEFT, true, {2, 3}},
    {"FieldShiftHome", 'f', "#", "2026", 3, VK_HOME, true, {0, 3}},
    // Unshifted, the same keys go on stepping over the literals to an input position.
    {"CharacterLeftOverLiteral", 'c', "(###) ###-####", "5551234567", 10, VK_LEFT, false, {8, 8}},
    {"CharacterHomeToFirstInput", 'c', "(###) ###-####", "5551234567", 10, VK_HOME, false, {1, 1}},
};

class QueuedKeys : public WindowTest, public ::testing::WithParamInterface<QueuedCase> {
 protected:
  void TearDown() override {
    ReleaseModifiers();
    m_edit.reset();
    WindowTest::TearDown();
  }
  std::unique_ptr<KwMaskedEdit> m_edit;
};

TEST_P(QueuedKeys, ReadShiftAsItCameWithTheKey) {
  const QueuedCase& c = GetParam();
  if (c.kind == 'c') {
    m_edit = std::make_unique<KwCharacterMaskedEdit>(c.mask);
  } else if (c.kind == 'n') {
    m_edit = std::make_unique<KwNumberMaskedEdit>(c.mask);
  } else {
    m_edit = std::make_unique<KwFieldMaskedEdit>(c.mask);
  }
  ASSERT_TRUE(m_edit->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
  m_edit->SetText(c.data);
  const HWND hWnd = m_edit->GetSafeHwnd();
  const std::string shown = Text(hWnd);
  Focus(hWnd);
  SetSel(hWnd, c.caret, c.caret);
  PressQueued(c.vk, c.shift);
  EXPECT_EQ(Sel(hWnd), c.sel) << "in '" << shown << "'";
  EXPECT_EQ(Text(hWnd), shown);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "the loop took the Shift's release too";
}

INSTANTIATE_TEST_SUITE_P(Controls, QueuedKeys, ::testing::ValuesIn(kQueuedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
