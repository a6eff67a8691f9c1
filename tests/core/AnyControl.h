// Test support for tables that run on each of the three controls: a control of any kind in the
// shared parent window, its refused keystrokes counted (ValidationError, on every platform), and
// the notifications it sent its parent.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {

// A control of a concrete class counting its refused keystrokes.
template <class Control>
class Counted : public Control {
 public:
  explicit Counted(int* refusals) : m_refusals(refusals) {}

 protected:
  void ValidationError() override {
    ++*m_refusals;
    Control::ValidationError();
  }

 private:
  int* m_refusals;
};

// 'c' character control, 'n' number control, 'f' field control.
inline const char* KindName(char kind) {
  return kind == 'c' ? "character" : kind == 'n' ? "number" : "field";
}

class AnyControlTest : public WindowTest {
 protected:
  // A control of the kind in the parent, prompt '_' (character and number), the mask set before
  // the window exists, then the field's text limit (0: the default), then the data (SetText).
  KwMaskedEdit& Make(char kind, const std::string& mask, const std::string& data = "",
                     DWORD style = kEditStyle, UINT limit = 0, int id = 1) {
    std::unique_ptr<KwMaskedEdit> edit;
    if (kind == 'c') {
      auto c = std::make_unique<Counted<KwCharacterMaskedEdit>>(&refusals);
      c->SetPromptSymbol('_');
      edit = std::move(c);
    } else if (kind == 'n') {
      auto n = std::make_unique<Counted<KwNumberMaskedEdit>>(&refusals);
      n->SetPromptSymbol('_');
      edit = std::move(n);
    } else {
      edit = std::make_unique<Counted<KwFieldMaskedEdit>>(&refusals);
    }
    if (!mask.empty()) edit->SetMask(mask);
    EXPECT_TRUE(edit->Create(style, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
    if (limit != 0) edit->SetLimitText(limit);
    if (!data.empty()) edit->SetText(data);
    Pump();
    m_controls.push_back(std::move(edit));
    return *m_controls.back();
  }

  // Focus on the control, the selection set, nothing counted or recorded so far.
  void Ready(KwMaskedEdit& edit, int start, int end) {
    Focus(edit.GetSafeHwnd());
    SetSel(edit.GetSafeHwnd(), start, end);
    Pump();
    ClearNotifications();
    ResetBeeps();
    refusals = 0;
  }

  static std::string TextOf(const KwMaskedEdit& edit) { return Text(edit.GetSafeHwnd()); }

  // How many KWN_REJECTED notifications the control with this identifier sent.
  static int RejectedNotes(int id = 1) {
    const std::vector<UINT> codes = CodesFor(id);
    return static_cast<int>(std::count(codes.begin(), codes.end(), UINT{KWN_REJECTED}));
  }

  void TearDown() override {
    m_controls.clear();
    WindowTest::TearDown();
  }

  int refusals = 0;
  std::vector<std::unique_ptr<KwMaskedEdit>> m_controls;
};

}  // namespace kwtest
