// KwNumberMaskedEdit: a masked edit control for decimal numbers in a fixed layout of nine
// integer digits, grouped in threes by the locale thousands separator, a decimal point and two
// decimals. The mask only chooses a plain number ('%', numeric separators) or a money amount
// ('$', monetary separators). The integer part is aligned at the decimal point and filled from
// the right, the fraction filled from the left; signs are typed into digit positions.
//
// The window shows a contiguous run of the 14 positions: the character at text index t belongs
// to the position with index m_nFirstShown + t. Every operation that takes or returns a caret
// position works with text indexes.
//
// The data form of a number is its plain text: an optional sign and digits, '.' as the decimal
// point whatever the locale, no thousands separators (-1234.5). Only the shown text carries the
// locale characters.
#pragma once

#include <string>
#include <vector>

#include "core/KwMaskSymbol.h"
#include "core/KwMaskedEdit.h"

class KW_API KwNumberMaskedEdit : public KwMaskedEdit, protected KwMaskedEditModel {
  DECLARE_DYNAMIC(KwNumberMaskedEdit)

 public:
  // A non-empty mask is applied as by SetMask; the default (or NULL) gives a control without
  // positions.
  explicit KwNumberMaskedEdit(const char* mask = "");
  explicit KwNumberMaskedEdit(const KwWString& mask);
  // A control without a window holding copies of the other's positions and settings.
  KwNumberMaskedEdit(const KwNumberMaskedEdit& other);
  KwNumberMaskedEdit& operator=(const KwNumberMaskedEdit&) = delete;
  ~KwNumberMaskedEdit() override;

  // Creates the edit window and shows the model at once when there is one.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  using CEdit::Create;

  // '$' (money) or '%' (number) as the first character builds the 14 empty positions; any
  // other mask leaves the control without positions and answers false. A refused mask takes
  // the number with the positions and empties the window too: the window never goes on
  // showing a number that the control no longer holds.
  bool SetMask(const std::string& mask) override;
  // One character per position: ',' for a thousands position, '.' for the decimal point, a
  // digit position's character (the prompt while empty): ___,__1,234.5_ for 1234.5.
  std::string GetMask() const override;
  // The shown text: the positions that hold data, with the locale separators.
  std::string ShowMask() const override;

  char GetPromptSymbol() const;
  // Not 0, CR, LF, DEL, a separator or a held character; empty positions take it. Rewrites.
  void SetPromptSymbol(char symbol);
  WCHAR GetPromptSymbolW() const { return m_chPromptSymbol; }
  void SetPromptSymbolW(WCHAR symbol);
  int GetMaxIntPos() const { return m_nMaxIntPos; }
  int GetMaxDecimalPos() const { return m_nMaxDecimalPos; }

  // Replaces the whole number by the data text; prompt characters in it are dropped. Always 1.
  int SetText(const std::string& text) override;
  // The number a shown text holds, in the data form: the thousands separators and spaces are
  // dropped, the decimal separator reads as '.'. The flag makes no difference.
  std::string GetInputData(const char* text, bool withPrompt) const override;
  // The number as entered; withPrompt keeps one character per data position (12).
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

  // The key filter that runs before translation: the keypad decimal key and the locale decimal
  // separator type the point, other separators are dropped, Space with a selection deletes it,
  // and typing into a full integer part is refused.
  BOOL PreTranslateMessage(MSG* pMsg) override;

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

  // Delete and Backspace of the number control; everything else goes to the shared handling.
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  // Selects the whole text.
  void OnLButtonDblClk(UINT nFlags, CPoint point);

  KwMaskSymbol m_digitSymbol;               // the kind of every digit position
  std::vector<KwMaskSymbol*> m_vecSymbols;  // the positions, owned
  WCHAR m_chPromptSymbol;                   // what an empty data position holds
  int m_nMaxIntPos;                         // positions left of the point, separators included
  int m_nMaxDecimalPos;                     // digit positions right of the point
  int m_nFirstShown;                        // position shown at text index 0
  int m_nDecimalIndex;                      // position of the decimal point
  WCHAR m_chDecimalSep;                     // the decimal separator shown and recognised
  WCHAR m_chThousandSep;                    // the thousands separator shown and recognised

  DECLARE_MESSAGE_MAP()

 private:
  int PositionCount() const { return static_cast<int>(m_vecSymbols.size()); }
  // From pos, one shown position after the other in the direction step (1 or -1), the first
  // that is not a thousands separator (or the first outside the positions).
  int SkipSeparators(int pos, int step) const;
  bool IsDataPosition(int index) const;
  bool IsEmptyPosition(int index) const;
  // Whether an empty data position stands inside the number: between the first shown position
  // and the last entered one, or between the integer part and the point.
  bool HasGap() const;
  // What a data position contributes to the data text: its character, '.' for a set point.
  WCHAR DataChar(int index) const;
  bool IsGroupSeparator(WCHAR c) const;
  // The characters of the data positions, first to last (the prompt for an empty one, '.' for
  // a set decimal point), leaving out those with index in [skipFrom, skipTo); *skipped counts
  // the positions left out.
  KwWString DataPositionsText(int skipFrom, int skipTo, int* skipped = nullptr) const;
  // Puts the caret at a text index after a deletion: anchor is the position index that
  // followed the deleted range.
  void PlaceCaretAfterDeletion(int anchor);
  // GetInputDataW(false) into out, within out's storage when it is long enough.
  void InputDataInto(KwWString& out) const;
  bool IsNumberEmpty() const;

  // A keystroke's texts, kept from one to the next so that typing allocates nothing (one
  // nested in another's rewrite makes its own): the data before an insertion, the data with
  // the character inserted, and the text SetInputDataW lays out.
  KwWString m_strOldData;
  KwWString m_strInsertData;
  KwWString m_strLayout;
  bool m_bOldDataInUse = false;
  bool m_bInsertDataInUse = false;
  bool m_bLayoutInUse = false;
};
