// Test support for the number masked edit: a probe opening the protected model and counting
// refused keystrokes, shown texts written in one locale-neutral form, and a window fixture.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/TestHost.h"
#include "core/KwLocaleSeparators.h"
#include "core/KwText.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {

class NumberEditProbe : public ModelProbe<KwNumberMaskedEdit> {
 public:
  using ModelProbe::ModelProbe;
  int FirstShown() const { return m_nFirstShown; }
};

// A shown text written with ',' and '.', in the separators a control with this mask shows.
inline std::string Shown(const std::string& neutral, char mask = '%') {
  const char dec = KwNarrowChar(mask == '$' ? g_chMonDecimalSep : g_chDecimalSep);
  const char tho = KwNarrowChar(mask == '$' ? g_chMonThousandSep : g_chThousandSep);
  std::string out;
  for (char c : neutral) out += c == ',' ? tho : c == '.' ? dec : c;
  return out;
}

// A number model without a window, the data laid out as by SetText.
inline std::unique_ptr<NumberEditProbe> NumberModel(const char* data = "", char prompt = '_',
                                                    const char* mask = "%") {
  auto edit = std::make_unique<NumberEditProbe>();
  edit->SetPromptSymbol(prompt);
  edit->SetMask(mask);
  edit->SetText(data);
  return edit;
}

class NumberControlTest : public WindowTest {
 protected:
  // A number control in the shared parent, mask and data set before the window exists.
  NumberEditProbe& Make(const char* data = "", int id = 1, const char* mask = "%") {
    m_controls.push_back(std::make_unique<NumberEditProbe>());
    NumberEditProbe& edit = *m_controls.back();
    if (*mask != '\0') edit.SetMask(mask);
    if (*data != '\0') edit.SetText(data);
    EXPECT_TRUE(edit.Create(kEditStyle, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
    Pump();
    return edit;
  }

  // Focus on the control, selection from start to end, nothing recorded so far.
  void Ready(NumberEditProbe& edit, int start, int end = -1) {
    Focus(edit.GetSafeHwnd());
    SetSel(edit.GetSafeHwnd(), start, end < 0 ? start : end);
    Pump();
    ClearNotifications();
    ResetBeeps();
    edit.refusals = 0;
  }

  static std::string TextOf(const NumberEditProbe& edit) { return Text(edit.GetSafeHwnd()); }
  static std::pair<int, int> SelOf(const NumberEditProbe& edit) { return Sel(edit.GetSafeHwnd()); }
  static std::pair<int, int> Caret(int pos) { return {pos, pos}; }

  void TearDown() override {
    m_controls.clear();
    WindowTest::TearDown();
  }

  std::vector<std::unique_ptr<NumberEditProbe>> m_controls;
};

}  // namespace kwtest
