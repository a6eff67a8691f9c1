// KwFieldMaskedEdit: one field of a single character kind, named by a one-character mask
// ("#" digits, ">" letters shown in upper case, ...), as long as the edit control's text limit.
// It shows exactly the characters it accepted: no prompt, no literals, no separators; every
// position is an input position. Several of them side by side, each with its own text limit and
// auto-tab on, work as one entry: the focus moves on when a field is full.
//
// Two texts describe the field: the shown text (the window text) and the stored text
// m_strFieldText, which ShowMask returns and every Update writes into the window. Insertion,
// deletion and paste work on the shown text and rebuild the stored text from it through
// SetInputData (filtering by kind); an overwrite changes one character of the stored text. Cut,
// clear and a text set from outside are carried out by the edit control itself; the field then
// takes the shown text over as its stored text, so the two never drift apart.
#pragma once

#include <string>

#include "core/KwMaskSymbol.h"
#include "core/KwMaskedEdit.h"

class KW_API KwFieldMaskedEdit : public KwMaskedEdit, protected KwMaskedEditModel {
  DECLARE_DYNAMIC(KwFieldMaskedEdit)

 public:
  // A non-empty mask is applied as SetMask does; with "" the field accepts nothing until
  // SetMask is called.
  explicit KwFieldMaskedEdit(const std::string& mask = "");
  explicit KwFieldMaskedEdit(const KwWString& mask);
  // Copies the kind (not the text); the copy has no window.
  KwFieldMaskedEdit(const KwFieldMaskedEdit& other);
  KwFieldMaskedEdit& operator=(const KwFieldMaskedEdit&) = delete;
  ~KwFieldMaskedEdit() override;

  // Creates the edit control and shows the stored text, caret at 0.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  using CEdit::Create;

  // Only the first character of a mask of any length counts; every mask is taken (true). The
  // text goes.
  bool SetMask(const std::string& mask) override;
  // The mask character of the current kind.
  std::string GetMask() const override;
  // The stored text.
  std::string ShowMask() const override;

  // The shown text, unchanged; the flag means nothing to a field.
  std::string GetInputData(bool withPrompt) const override;
  // text itself ("" for null).
  std::string GetInputData(const char* text, bool withPrompt) const override;

  // The same in UTF-16 (KwMaskedEdit's wide twins call these).
  KwWString GetMaskW() const override;
  bool SetMaskW(const KwWString& mask) override;
  KwWString ShowMaskW() const override;
  void ShowMaskInto(KwWString& out) const override;
  int SetTextW(const KwWString& text) override;
  KwWString GetInputDataW(const WCHAR* text, bool withPrompt) const override;
  KwWString GetInputDataW(bool withPrompt) const override;

  // Empties the field; the kind stays.
  void EmptyData(int keepMask) override;
  // 1 when the shown text is empty.
  int IsInputEmpty() override;

 protected:
  void DeleteContents() override;
  void PreSubclassWindow() override;

  // The stored text becomes the filtered form of the first keep characters of the shown text
  // followed by data, and is shown; 1 when every character was taken, else 0.
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
  // The edit control pastes within the text limit; refused characters are dropped.
  LRESULT OnPaste(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnClear(WPARAM wParam, LPARAM lParam) override;
  // A host's EM_REPLACESEL: through the model as the base has it, and the stored text follows.
  LRESULT OnReplaceSel(WPARAM wParam, LPARAM lParam);
  // The edit control takes the text whole (lParam 0: none), past the text limit too.
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam) override;

  // The edit control's text limit, the field's capacity (0 without a window).
  UINT GetFieldLimit() const;
  // After the edit control changed its text by itself: the stored text becomes the shown text.
  void TakeShownText();

  KwMaskSymbol m_symField;
  KwWString m_strFieldText;

  DECLARE_MESSAGE_MAP()

 private:
  // GetInputDataW(true) into out, within out's storage when it is long enough.
  void ShownTextInto(KwWString& out) const;
  void ReserveFieldText(std::size_t units);

  // A keystroke's texts, kept from one to the next so that typing allocates nothing (one
  // nested in another's rewrite makes its own): the text before an insertion, the text with
  // the character inserted, the text SetInputDataW filters, and the shown text taken after a
  // rewrite.
  KwWString m_strKept;
  KwWString m_strCandidate;
  KwWString m_strLayout;
  KwWString m_strTaken;
  bool m_bKeptInUse = false;
  bool m_bCandidateInUse = false;
  bool m_bLayoutInUse = false;
  bool m_bTakenInUse = false;
};
