// Message maps: per-class tables of message handlers, each chained to its base class's table.
// A message not found in a class's table is looked for in its base's, up to CWnd's.
//
//   class CMyEdit : public CEdit { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyEdit, CEdit)
//     ON_WM_CHAR()
//     ON_MESSAGE(WM_PASTE, OnPaste)
//   END_MESSAGE_MAP()
//
// Each entry holds a small thunk that unpacks wParam/lParam into the handler's arguments and
// calls it on the object as the class that declared the map (so virtual handlers dispatch to
// the object's own override). The handler runs with the access rights of the class.
#pragma once

#include <utility>

#include "framework/fwdefs.h"

class CWnd;
class CDC;

typedef LRESULT (*AFX_PMSGTHUNK)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // 0 ends the table
  AFX_PMSGTHUNK pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                          \
 public:                                               \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                          \
    typedef theClass ThisClass;                                                     \
    typedef baseClass TheBaseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { 0, nullptr }                                                                                \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

#define KWFW_THIS(pWnd) static_cast<ThisClass*>(pWnd)

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
  {(UINT)(message),                    \
   [](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT { return KWFW_THIS(w)->memberFxn(wp, lp); }},

// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) and the like.
#define KWFW_ON_KEYMSG(message, memberFxn)                                  \
  {(UINT)(message), [](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT {          \
     KWFW_THIS(w)->memberFxn((UINT)wp, (UINT)LOWORD(lp), (UINT)HIWORD(lp)); \
     return 0;                                                              \
   }},
#define ON_WM_KEYDOWN() KWFW_ON_KEYMSG(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() KWFW_ON_KEYMSG(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() KWFW_ON_KEYMSG(WM_CHAR, OnChar)

// void OnSetFocus(CWnd* pOldWnd) / void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_SETFOCUS()                                    \
  {WM_SETFOCUS, [](CWnd* w, WPARAM wp, LPARAM) -> LRESULT { \
     KWFW_THIS(w)->OnSetFocus(CWnd::FromHandle((HWND)wp));  \
     return 0;                                              \
   }},
#define ON_WM_KILLFOCUS()                                    \
  {WM_KILLFOCUS, [](CWnd* w, WPARAM wp, LPARAM) -> LRESULT { \
     KWFW_THIS(w)->OnKillFocus(CWnd::FromHandle((HWND)wp));  \
     return 0;                                               \
   }},

// void OnLButtonDown(UINT nFlags, CPoint point) and the like.
#define KWFW_ON_MOUSEMSG(message, memberFxn)                       \
  {(UINT)(message), [](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT { \
     KWFW_THIS(w)->memberFxn((UINT)wp, CPoint(lp));                \
     return 0;                                                     \
   }},
#define ON_WM_LBUTTONDOWN() KWFW_ON_MOUSEMSG(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() KWFW_ON_MOUSEMSG(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() KWFW_ON_MOUSEMSG(WM_LBUTTONDBLCLK, OnLButtonDblClk)

// BOOL OnEraseBkgnd(CDC* pDC). The expanding file must include framework/CDC.h.
#define ON_WM_ERASEBKGND()                                    \
  {WM_ERASEBKGND, [](CWnd* w, WPARAM wp, LPARAM) -> LRESULT { \
     CDC dc;                                                  \
     dc.Attach((HDC)wp);                                      \
     LRESULT r = (LRESULT)KWFW_THIS(w)->OnEraseBkgnd(&dc);    \
     dc.Detach();                                             \
     return r;                                                \
   }},

// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): the control-colour message reflected back to the
// control by its parent; wParam is the device context, lParam the CTLCOLOR_ kind. A null brush
// lets the parent and the platform colour the control.
#define ON_WM_CTLCOLOR_REFLECT()                                                 \
  {WM_REFLECT_BASE + WM_CTLCOLOR, [](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT { \
     CDC dc;                                                                     \
     dc.Attach((HDC)wp);                                                         \
     LRESULT r = (LRESULT)KWFW_THIS(w)->CtlColor(&dc, (UINT)lp);                 \
     dc.Detach();                                                                \
     return r;                                                                   \
   }},
