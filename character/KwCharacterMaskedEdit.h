// KwCharacterMaskedEdit: a masked edit whose input is constrained position by position by a
// character mask such as "(###) ###-####".
//
// Mask language, one position per step:
//   #  digit               A  letter or digit      ?  letter
//   >  letter, upper case  <  letter, lower case   &  any printable character
//   .  locale decimal separator   ,  locale thousands separator
//   :  locale time separator      /  locale date separator
//   \x the character x as a literal; any other character is a literal.
// A trailing single backslash is a literal backslash.
//
// Every empty input position holds and shows the prompt symbol (a space by default). The data
// of the control are the characters of its input positions only. Without a mask the control is
// a plain edit control.
#pragma once

#include <string>
#include <vector>

#include "core/KwMaskSymbol.h"
#include "core/KwMaskedEdit.h"

class KW_API KwCharacterMaskedEdit : public KwMaskedEdit, protected KwMaskedEditModel {
  DECLARE_DYNAMIC(KwCharacterMaskedEdit)

 public:
  // A non-empty mask is applied at once, as SetMask would; NULL is the empty mask (a plain edit
  // control). Every byte is a mask character: one of the kinds, or a literal of itself; a mask
  // ends at its first NUL.
  explicit KwCharacterMaskedEdit(const char* mask = "");
  explicit KwCharacterMaskedEdit(const WCHAR* mask);
  KwCharacterMaskedEdit(const KwCharacterMaskedEdit& other);
  KwCharacterMaskedEdit& operator=(const KwCharacterMaskedEdit&) = delete;
  ~KwCharacterMaskedEdit() override;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  using CEdit::Create;

  char GetPromptSymbol() const;
  // Refuses 0, CR, LF, DEL and a character the data holds silently; the empty positions take it.
  void SetPromptSymbol(char symbol);
  WCHAR GetPromptSymbolW() const { return m_chPromptSymbol; }
  void SetPromptSymbolW(WCHAR symbol);

  std::string GetMask() const override;
  bool SetMask(const std::string& mask) override;
  std::string ShowMask() const override;
  std::string GetInputData(const char* text, bool withPrompt) const override;
  std::string GetInputData(bool withPrompt) const override;

  // The same in UTF-16 (KwMaskedEdit's wide twins call these).
  KwWString GetMaskW() const override;
  bool SetMaskW(const KwWString& mask) override;
  KwWString ShowMaskW() const override;
  void ShowMaskInto(KwWString& out) const override;
  int SetTextW(const KwWString& text) override;
  KwWString GetInputDataW(const WCHAR* text, bool withPrompt) const override;
  KwWString GetInputDataW(bool withPrompt) const override;
  void EmptyData(int keepMask) override;
  int IsInputEmpty() override;

 protected:
  void DeleteContents() override;
  int SetInputData(const char* data, int keep, int raw) override;
  int IsInputData(int pos) const override;
  int DeleteRange(int start, int end) override;
  int InsertAt(int pos, char ch) override;
  int SetAt(int pos, char ch) override;
  int SetInputDataW(const WCHAR* data, int keep, int raw) override;
  int InsertAtW(int pos, char32_t ch) override;
  int SetAtW(int pos, char32_t ch) override;
  int GetNextInputLocation(int pos) override;
  int GetPreviousInputLocation(int pos) override;
  int GetEmptyInputLocation(int pos) override;
  void UpdateInsertionPointForward(int pos) override;
  void UpdateInsertionPointBackward(int pos) override;
  LRESULT OnCut(WPARAM wParam, LPARAM lParam) override;
  // The shared copy: the selected display text as it is shown.
  LRESULT OnCopy(WPARAM wParam, LPARAM lParam) override {
    return KwMaskedEdit::OnCopy(wParam, lParam);
  }
  LRESULT OnPaste(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnClear(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam) override;

  void PreSubclassWindow() override;

  // Without a mask, keys and characters go to the edit control untouched; with one, to the
  // shared handling of KwMaskedEdit.
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  void DefaultWithoutMask();
  bool IsMaskLiteral(WCHAR c) const;

  bool HasPositions() const { return !m_vecSymbols.empty(); }
  int PositionCount() const { return static_cast<int>(m_vecSymbols.size()); }

  std::vector<KwMaskSymbol*> m_vecSymbols;
  WCHAR m_chPromptSymbol;
  // InsertAtW's text, kept from one keystroke to the next (one nested in another's rewrite
  // makes its own).
  KwWString m_strInsert;
  bool m_bInsertInUse = false;

  DECLARE_MESSAGE_MAP()
};
