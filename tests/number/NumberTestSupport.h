// Test support for the number masked edit: a probe that opens the protected model operations
// and counts refused keystrokes, shown texts written in one locale-neutral form, and a fixture
// that makes controls in the shared parent window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/TestHost.h"
#include "core/KwLocaleSeparators.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {

class NumberEditProbe : public KwNumberMaskedEdit {
 public:
  using KwNumberMaskedEdit::KwNumberMaskedEdit;

  using KwNumberMaskedEdit::DeleteRange;
  using KwNumberMaskedEdit::GetEmptyInputLocation;
  using KwNumberMaskedEdit::GetNextInputLocation;
  using KwNumberMaskedEdit::GetPreviousInputLocation;
  using KwNumberMaskedEdit::InsertAt;
  using KwNumberMaskedEdit::IsInputData;
  using KwNumberMaskedEdit::SetAt;
  using KwNumberMaskedEdit::SetInputData;
  using KwNumberMaskedEdit::Update;

  int FirstShown() const { return m_nFirstShown; }
  int DecimalIndex() const { return m_nDecimalIndex; }
  std::size_t Positions() const { return m_vecSymbols.size(); }
  char DecimalSep() const { return m_chDecimalSep; }
  char ThousandSep() const { return m_chThousandSep; }

  // Every refused keystroke comes through here; counting it works on every platform.
  int refusals = 0;

 protected:
  void ValidationError() override {
    ++refusals;
    KwNumberMaskedEdit::ValidationError();
  }
};

// A shown text written with ',' for the thousands and '.' for the decimal separator, in the
// separators a control with this mask shows under the current locale.
inline std::string Shown(const std::string& neutral, char mask = '%') {
  const char dec = mask == '$' ? g_chMonDecimalSep : g_chDecimalSep;
  const char tho = mask == '$' ? g_chMonThousandSep : g_chThousandSep;
  std::string out;
  for (char c : neutral) out += c == ',' ? tho : c == '.' ? dec : c;
  return out;
}

// Whether the process runs with '.' as decimal and ',' as thousands separator (both masks).
inline bool PointAndCommaLocale() {
  return g_chDecimalSep == '.' && g_chThousandSep == ',' && g_chMonDecimalSep == '.' && g_chMonThousandSep == ',';
}

// A number model without a window, with prompt and data laid out as by SetText.
inline std::unique_ptr<NumberEditProbe> NumberModel(const char* data = "", char prompt = '_', const char* mask = "%") {
  auto edit = std::make_unique<NumberEditProbe>();
  edit->SetPromptSymbol(prompt);
  edit->SetMask(mask);
  if (*data != '\0') edit->SetInputData(data, 0, 0);
  return edit;
}

inline std::pair<int, int> Caret(int pos) { return {pos, pos}; }

// What the parent hears for n rewrites of the window by the control itself: each time the edit
// control's own EN_UPDATE and EN_CHANGE for the new text, then the library's pair.
inline std::vector<UINT> OwnRewrites(int n) {
  std::vector<UINT> codes;
  for (int i = 0; i < n; ++i) codes.insert(codes.end(), {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE});
  return codes;
}
// A text set from outside: one rewrite, of which the library reports only the update.
inline std::vector<UINT> ForeignTextCodes() { return {EN_UPDATE, EN_CHANGE, EN_UPDATE}; }

class NumberControlTest : public WindowTest {
 protected:
  // A number control created as a child of the shared parent, the mask and data set before
  // the window exists.
  NumberEditProbe& Make(const char* data = "", int id = 1, const char* mask = "%", char prompt = ' ',
                        DWORD style = kEditStyle) {
    auto edit = std::make_unique<NumberEditProbe>();
    if (prompt != ' ') edit->SetPromptSymbol(prompt);
    if (*mask != '\0') edit->SetMask(mask);
    if (*data != '\0') edit->SetText(data);
    EXPECT_TRUE(edit->Create(style, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
    Pump();
    m_controls.push_back(std::move(edit));
    return *m_controls.back();
  }

  // Focus on the control, selection from start to end, nothing recorded so far.
  void Ready(NumberEditProbe& edit, int pos) { Ready(edit, pos, pos); }
  void Ready(NumberEditProbe& edit, int start, int end) {
    Focus(edit.GetSafeHwnd());
    SetSel(edit.GetSafeHwnd(), start, end);
    Pump();
    ClearNotifications();
    ResetBeeps();
    edit.refusals = 0;
  }

  static std::string TextOf(const NumberEditProbe& edit) { return Text(edit.GetSafeHwnd()); }
  static std::pair<int, int> SelOf(const NumberEditProbe& edit) { return Sel(edit.GetSafeHwnd()); }

  void TearDown() override {
    m_controls.clear();
    WindowTest::TearDown();
  }

  std::vector<std::unique_ptr<NumberEditProbe>> m_controls;
};

}  // namespace kwtest
