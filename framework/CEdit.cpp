// CEdit: the platform's single-line edit control as a framework object.
#include "framework/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

CEdit::CEdit() = default;

CEdit::~CEdit() = default;

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetLimitText(UINT nMax) { ::SendMessageA(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }

void CEdit::LimitText(int nChars) {
  ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

UINT CEdit::GetLimitText() const {
  return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}

DWORD CEdit::GetSel() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, EM_GETSEL, 0, 0)); }

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  nStartChar = static_cast<int>(start);
  nEndChar = static_cast<int>(end);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
  // The handle is read once: a handler of the first message may have deleted this object.
  const HWND hWnd = m_hWnd;
  ::SendMessageA(hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
  if (!bNoScroll) ::SendMessageA(hWnd, EM_SCROLLCARET, 0, 0);
}

void CEdit::ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo) {
  ::SendMessageA(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo),
                 reinterpret_cast<LPARAM>(lpszNewText != nullptr ? lpszNewText : ""));
}

void CEdit::Cut() { ::SendMessageA(m_hWnd, WM_CUT, 0, 0); }

void CEdit::Copy() { ::SendMessageA(m_hWnd, WM_COPY, 0, 0); }

void CEdit::Paste() { ::SendMessageA(m_hWnd, WM_PASTE, 0, 0); }

void CEdit::Clear() { ::SendMessageA(m_hWnd, WM_CLEAR, 0, 0); }
