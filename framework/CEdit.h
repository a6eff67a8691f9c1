// CEdit: the platform's single-line edit control ("EDIT" window class) as a framework object.
#pragma once

#include "framework/CWnd.h"

class KWFW_API CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  CEdit();
  ~CEdit() override;

  // Creates an "EDIT" child window of pParentWnd with the given style, rectangle and identifier.
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetLimitText(UINT nMax);
  void LimitText(int nChars = 0);
  UINT GetLimitText() const;
  DWORD GetSel() const;
  void GetSel(int& nStartChar, int& nEndChar) const;
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE);
  void Cut();
  void Copy();
  void Paste();
  void Clear();

  using CWnd::Create;
};
