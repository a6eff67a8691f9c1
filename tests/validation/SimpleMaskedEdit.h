// A small concrete masked edit for the tests of the shared display and validation code: a mask
// of input positions '9' (digit), 'A' (letter) and '?' (any printable character) between
// literals, the prompt '_' in empty positions. Data put in with SetInputData fills the input
// positions in order, skipping characters a position refuses. It exposes the four brushes and
// counts SetInputData calls.
#pragma once

#include <string>
#include <vector>

#include "core/KwMaskedEdit.h"

namespace kwtest {

class SimpleMaskedEdit : public KwMaskedEdit {
 public:
  explicit SimpleMaskedEdit(const std::string& mask = "") { SetMask(mask); }

  enum class Look { Normal, Focused, Warning, Error };
  HBRUSH BrushOf(Look look) const {
    switch (look) {
      case Look::Normal: return static_cast<HBRUSH>(m_brBackground.GetSafeHandle());
      case Look::Focused: return static_cast<HBRUSH>(m_brBackgroundFocus.GetSafeHandle());
      case Look::Warning: return static_cast<HBRUSH>(m_brBackgroundWarning.GetSafeHandle());
      case Look::Error: return static_cast<HBRUSH>(m_brBackgroundError.GetSafeHandle());
    }
    return nullptr;
  }
  int ErrorOverride() const { return m_nErrorOverride; }

  int setInputDataCalls = 0;
  std::string lastSetInputData;

  std::string GetMask() const override { return m_mask; }
  bool SetMask(const std::string& mask) override {
    m_mask = mask;
    m_cells.assign(mask.size(), kPrompt);
    Update(-1);
    return true;
  }
  std::string ShowMask() const override {
    std::string shown;
    for (std::size_t i = 0; i < m_mask.size(); ++i) shown += IsInput(i) ? m_cells[i] : m_mask[i];
    return shown;
  }
  std::string GetInputData(const char* text, bool withPrompt) const override {
    std::string data;
    for (std::size_t i = 0; i < m_mask.size() && text != nullptr && text[i] != '\0'; ++i)
      if (IsInput(i) && (withPrompt || text[i] != kPrompt)) data += text[i];
    return data;
  }
  std::string GetInputData(bool withPrompt) const override {
    std::string shown = ShowMask();
    return GetInputData(shown.c_str(), withPrompt);
  }
  void EmptyData(int keepMask) override {
    m_cells.assign(m_mask.size(), kPrompt);
    if (!keepMask) m_mask.clear(), m_cells.clear();
    Update(-1);
  }
  int IsInputEmpty() override {
    for (std::size_t i = 0; i < m_mask.size(); ++i)
      if (IsInput(i) && m_cells[i] != kPrompt) return 0;
    return 1;
  }

 protected:
  void DeleteContents() override {
    m_cells.assign(m_mask.size(), kPrompt);
    KwMaskedEdit::DeleteContents();
  }
  int SetInputData(const char* data, int, int) override {
    ++setInputDataCalls;
    lastSetInputData = data != nullptr ? data : "";
    m_cells.assign(m_mask.size(), kPrompt);
    const char* p = data != nullptr ? data : "";
    for (std::size_t i = 0; i < m_mask.size() && *p != '\0'; ++i) {
      if (!IsInput(i)) continue;
      while (*p != '\0' && !Accepts(i, *p)) ++p;
      if (*p != '\0') m_cells[i] = *p++;
    }
    Update(-1);
    return 1;
  }
  int IsInputData(int pos) const override { return pos >= 0 && IsInput(static_cast<std::size_t>(pos)); }
  int DeleteRange(int start, int end) override {
    int taken = 0;
    for (int i = start; i < end; ++i)
      if (IsInputData(i)) m_cells[i] = kPrompt, taken = 1;
    Update(-1);
    return taken;
  }
  int InsertAt(int pos, char ch) override { return SetAt(pos, ch); }
  int SetAt(int pos, char ch) override {
    if (!IsInputData(pos) || !Accepts(static_cast<std::size_t>(pos), ch)) return -1;
    m_cells[pos] = ch;
    return pos;
  }
  int GetNextInputLocation(int pos) override {
    int i = pos < 0 ? 0 : pos;
    while (i < static_cast<int>(m_mask.size()) && !IsInputData(i)) ++i;
    return i;
  }
  int GetPreviousInputLocation(int pos) override {
    int i = pos - 1;
    while (i > 0 && !IsInputData(i)) --i;
    return i < 0 ? 0 : i;
  }
  int GetEmptyInputLocation(int pos) override {
    for (int i = pos < 0 ? 0 : pos; i < static_cast<int>(m_mask.size()); ++i)
      if (IsInputData(i) && m_cells[i] == kPrompt) return i;
    return GetNextInputLocation(pos);
  }
  void UpdateInsertionPointForward(int pos) override {
    const int next = GetNextInputLocation(pos);
    SetSel(next, next);
  }
  void UpdateInsertionPointBackward(int pos) override {
    const int prev = GetPreviousInputLocation(pos);
    SetSel(prev, prev);
  }
  LRESULT OnCut(WPARAM, LPARAM) override { return Default(); }
  LRESULT OnCopy(WPARAM, LPARAM) override { return Default(); }
  LRESULT OnPaste(WPARAM, LPARAM) override { return Default(); }
  LRESULT OnClear(WPARAM, LPARAM) override { return Default(); }
  LRESULT OnSetText(WPARAM, LPARAM) override { return Default(); }

 private:
  static constexpr char kPrompt = '_';
  bool IsInput(std::size_t i) const {
    return i < m_mask.size() && (m_mask[i] == '9' || m_mask[i] == 'A' || m_mask[i] == '?');
  }
  bool Accepts(std::size_t i, char ch) const {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (m_mask[i]) {
      case '9': return c >= '0' && c <= '9';
      case 'A': return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      default: return c >= 0x20 && c != 0x7F;
    }
  }

  std::string m_mask;
  std::string m_cells;
};

}  // namespace kwtest
