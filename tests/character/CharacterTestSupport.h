// Test support for the character masked edit: a probe that opens the protected model operations
// and counts refused keystrokes, and a fixture that makes controls in the shared parent window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "host/ModelProbe.h"

namespace kwtest {

class CharEditProbe : public ModelProbe<KwCharacterMaskedEdit> {
 public:
  using ModelProbe::ModelProbe;
  using ModelProbe::PositionCount;
  using ModelProbe::SetAtW;
  using ModelProbe::SetInputDataW;
  const KwValidator* Validator() const { return m_pValidator; }
  const KwMaskSymbol& Symbol(std::size_t i) const { return *m_vecSymbols.at(i); }
};

// A control model without a window, holding data (raw, so '_' keeps a position empty).
inline std::unique_ptr<CharEditProbe> Model(const char* mask, const char* data = "",
                                            char prompt = '_') {
  auto edit = std::make_unique<CharEditProbe>();
  edit->SetPromptSymbol(prompt);
  edit->SetMask(mask);
  if (*data != '\0') edit->SetInputData(data, 0, 1);
  return edit;
}

inline std::pair<int, int> Caret(int pos) { return {pos, pos}; }

// What the parent hears for each rewrite of the window by the control: the edit control's own
// pair for the WM_SETTEXT, then the control's EN_UPDATE and EN_CHANGE.
inline std::vector<UINT> OwnUpdates(int count) {
  std::vector<UINT> codes;
  for (int i = 0; i < count; ++i)
    codes.insert(codes.end(), {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE});
  return codes;
}

class CharacterControlTest : public WindowTest {
 protected:
  // A character control created as a child of the shared parent, with the prompt '_' and the
  // mask applied before the window exists and the (raw) data after.
  CharEditProbe& Make(const char* mask, int id = 1, const char* data = "") {
    m_controls.push_back(Model(mask));
    CharEditProbe& edit = *m_controls.back();
    EXPECT_TRUE(edit.Create(kEditStyle, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
    if (*data != '\0') edit.SetInputData(data, 0, 1);
    Pump();
    return edit;
  }

  // Focus on the control, the selection set, nothing recorded so far.
  void Ready(CharEditProbe& edit, int start, int end) {
    Focus(edit.GetSafeHwnd());
    SetSel(edit.GetSafeHwnd(), start, end);
    Pump();
    ClearNotifications();
    edit.refusals = 0;
  }

  void TearDown() override {
    m_controls.clear();
    WindowTest::TearDown();
  }

  std::vector<std::unique_ptr<CharEditProbe>> m_controls;
};

}  // namespace kwtest
