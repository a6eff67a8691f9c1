// CWnd: a framework object attached to a window handle. Messages reach it through the
// framework's window procedure (AfxWndProc), which looks the message up in the object's
// message map chain and otherwise hands it to the window's original procedure.
#pragma once

#include <string>

#include "framework/CObject.h"
#include "framework/MessageMap.h"

class CDC;

class KWFW_API CWnd : public CObject {
  DECLARE_DYNAMIC(CWnd)

 public:
  HWND m_hWnd = nullptr;

  CWnd();
  // Destroys the window when the object still owns one.
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // A watch on an object's life, kept on the stack by a member that calls out (a notification
  // to the parent, the window's own procedure, a host's handler or virtual) and touches its
  // object again afterwards. It reads false once the object has been destroyed meanwhile (a
  // host may delete it from any of those calls, or PostNcDestroy may), without touching the
  // freed object: the destructor of CWnd clears every watch still on it. Watches nest with the
  // frames that hold them.
  // (GCC 12 takes the link of the watch into the object for a dangling pointer; the
  // destructor unlinks it before the frame ends.)
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
  class Alive {
   public:
    explicit Alive(const CWnd* pWnd) : m_pWnd(pWnd), m_pOuter(pWnd->m_pAlive) {
      pWnd->m_pAlive = this;
    }
    ~Alive() {
      if (m_pWnd != nullptr) m_pWnd->m_pAlive = m_pOuter;
    }
    Alive(const Alive&) = delete;
    Alive& operator=(const Alive&) = delete;
    explicit operator bool() const { return m_pWnd != nullptr; }

   private:
    friend class CWnd;
    const CWnd* m_pWnd;
    Alive* m_pOuter;
  };
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }

  // Handle map. FromHandle gives the permanent object of a framework window, or a temporary
  // wrapper for any other window (kept until that window is destroyed or
  // AfxDeleteTempMap runs); null for a null handle.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  BOOL Attach(HWND hWndNew);
  HWND Detach();

  // Creation and subclassing. Create/CreateEx make the window, attach this object and route
  // its messages through the framework (calling PreSubclassWindow first, once attached). The
  // window is a Unicode window (made with CreateWindowExW, subclassed with SetWindowLongPtrW),
  // unless its class has the framework's procedure itself; the names given are in the ANSI
  // code page.
  virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID);
  BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x,
                int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                LPVOID lpParam = nullptr);
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();
  virtual BOOL DestroyWindow();

  // Window state.
  void SetWindowText(LPCSTR lpszString);
  void SetWindowText(const std::string& text) { SetWindowText(text.c_str()); }
  void GetWindowText(std::string& rString) const;
  std::string GetWindowText() const;
  int GetWindowTextLength() const;
  // The same in UTF-16, without the ANSI code page between (every framework window is a Unicode
  // window).
  void SetWindowTextW(const WCHAR* lpszString);
  void SetWindowTextW(const KwWString& text) { SetWindowTextW(text.c_str()); }
  void GetWindowTextW(KwWString& rString) const;
  KwWString GetWindowTextW() const;
  int GetWindowTextLengthW() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  int GetDlgCtrlID() const;
  CWnd* GetParent() const;
  CWnd* GetDlgItem(int nID) const;
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int nCmdShow);
  void GetClientRect(LPRECT lpRect) const;
  void Invalidate(BOOL bErase = TRUE);
  void UpdateWindow();
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // Message processing.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Calls PreTranslateMessage for the window a message is for and each of its ancestors up to
  // (not including) hWndStop; TRUE when one of them consumed the message.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

 protected:
  WNDPROC m_pfnSuper = nullptr;  // the window's own procedure, for Default()

 private:
  mutable Alive* m_pAlive = nullptr;  // the innermost watch on this object's life

 protected:
  virtual void PreSubclassWindow();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Looks the message up in the message map chain; TRUE when a handler took it.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // The window's own processing of any message (its original procedure).
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's own processing of the message now being handled by this object.
  LRESULT Default();
  // Hands a message straight to the window's own procedure, past this object's message map:
  // for the questions and orders an object gives its own window (selection, caret), which its
  // map does not handle. A window the framework did not subclass gets it sent.
  LRESULT CallOwnProc(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // A child's message reflected here by the parent (WM_REFLECT_BASE + message).
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Called after the window's last message (WM_NCDESTROY) and detaching.
  virtual void PostNcDestroy();

  // CWnd is the root of every message map chain (its own table is empty), so it declares the
  // map functions itself rather than through DECLARE_MESSAGE_MAP, which overrides a base's.
 public:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  friend LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The framework's window procedure: every framework window's messages pass through it.
KWFW_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// What a host's message loop calls before translating and dispatching a message.
KWFW_API BOOL AfxPreTranslateMessage(MSG* pMsg);
// Frees the temporary CWnd wrappers that FromHandle made for foreign windows.
KWFW_API void AfxDeleteTempMap();
