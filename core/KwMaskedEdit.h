// KwMaskedEdit: the abstract single-line masked edit control that the character, field and
// number controls derive from. Each concrete control keeps its own model of the text, which is
// the authority: keys, clipboard and text messages change the model, and Update rewrites the
// whole window text from ShowMask(). The virtual interface below, in this order, is the
// contract between the shared handling here and the concrete models.
#pragma once

#include <string>
#include <vector>

#include "core/KwCharKind.h"
#include "core/KwDefs.h"
#include "core/KwValidator.h"

// Message-map entries of the five text and clipboard messages: each calls the virtual operation
// of the same name, so the override of the object's own class runs whichever map matched.
#define KW_ON_TEXT_AND_CLIPBOARD_MESSAGES() \
  ON_MESSAGE(WM_CUT, OnCut)                 \
  ON_MESSAGE(WM_COPY, OnCopy)               \
  ON_MESSAGE(WM_PASTE, OnPaste)             \
  ON_MESSAGE(WM_CLEAR, OnClear)             \
  ON_MESSAGE(WM_SETTEXT, OnSetText)

// The notification code of a refused key or paste (WM_COMMAND to the parent, after the beep),
// sent when SetNotifyRejections(true) asked for it. No edit control sends this code.
#define KWN_REJECTED 0x0A00

// The UTF-16 model operations of a concrete control: what the shared handling of KwMaskedEdit
// asks of the model for every key, paste and text, in the units the window counts. Each concrete
// control implements them as the real bodies; the narrow virtual operations of KwMaskedEdit of
// the same names convert through the ANSI code page and call them. The interface is a base of
// its own, so that KwMaskedEdit's virtual table stays as it is.
class KwMaskedEditModel {
 public:
  virtual KwWString GetMaskW() const = 0;
  virtual bool SetMaskW(const KwWString& mask) = 0;
  virtual KwWString ShowMaskW() const = 0;
  // The same into out, whose storage a model may reuse (Update keeps one text for it, so that a
  // keystroke needs no memory).
  virtual void ShowMaskInto(KwWString& out) const { out = ShowMaskW(); }
  virtual int SetTextW(const KwWString& text) = 0;
  virtual KwWString GetInputDataW(const WCHAR* text, bool withPrompt) const = 0;
  virtual KwWString GetInputDataW(bool withPrompt) const = 0;
  // As SetInputData, InsertAt and SetAt, in UTF-16. A character beyond the Basic Multilingual
  // Plane comes to InsertAtW and SetAtW whole (as its code point): a model takes both of its
  // units or refuses it.
  virtual int SetInputDataW(const WCHAR* data, int keep, int raw) = 0;
  virtual int InsertAtW(int pos, char32_t ch) = 0;
  virtual int SetAtW(int pos, char32_t ch) = 0;

 protected:
  KwMaskedEditModel() = default;
  KwMaskedEditModel(const KwMaskedEditModel&) = default;
  KwMaskedEditModel& operator=(const KwMaskedEditModel&) = default;
  ~KwMaskedEditModel() = default;
};

class KW_API KwMaskedEdit : public CEdit {
  DECLARE_DYNAMIC(KwMaskedEdit)

 public:
  // Values of the colour override (SetErrorOverride); any other value switches colouring off.
  enum { OverrideNone = 0, OverrideError = 1, OverrideNormal = 2, OverrideWarning = 3 };

  // NULL is the empty mask.
  explicit KwMaskedEdit(const char* mask = "");
  // A control without a window with the other's settings and a clone of its validator, bound to
  // the copy (the clone's GetMaskedEdit is the copy, not the control it was cloned from).
  KwMaskedEdit(const KwMaskedEdit& other);
  KwMaskedEdit& operator=(const KwMaskedEdit&) = delete;
  ~KwMaskedEdit() override;

  bool GetInsertMode() const { return m_bInsertMode; }
  void SetInsertMode(bool insertMode) { m_bInsertMode = insertMode; }
  bool GetAutoTab() const { return m_bAutoTab; }
  void SetAutoTab(bool autoTab) { m_bAutoTab = autoTab; }

  // Text in UTF-16, without the ANSI code page between: the wide twins of GetMask, SetMask,
  // ShowMask, SetText and GetInputData, for characters of every script. Positions are indexes
  // into the window text in UTF-16 units, as the edit control counts them.
  KwWString GetMaskW() const { return m_pModel->GetMaskW(); }
  bool SetMaskW(const KwWString& mask) { return m_pModel->SetMaskW(mask); }
  KwWString ShowMaskW() const { return m_pModel->ShowMaskW(); }
  int SetTextW(const KwWString& text) { return m_pModel->SetTextW(text); }
  KwWString GetInputDataW(const WCHAR* text, bool withPrompt) const {
    return m_pModel->GetInputDataW(text, withPrompt);
  }
  KwWString GetInputDataW(bool withPrompt) const { return m_pModel->GetInputDataW(withPrompt); }

  // 1-8: colours. Each stores its colour, remakes the matching brush (backgrounds), asks for a
  // repaint when the window exists and returns true.
  virtual bool SetTextColor(COLORREF color);
  virtual bool SetTextColorError(COLORREF color);
  virtual bool SetTextColorWarning(COLORREF color);
  virtual bool SetTextColorFocus(COLORREF color);
  virtual bool SetBackgroundColor(COLORREF color);
  virtual bool SetBackgroundColorError(COLORREF color);
  virtual bool SetBackgroundColorWarning(COLORREF color);
  virtual bool SetBackgroundColorFocus(COLORREF color);
  // 9: attaches a validator (owned from now on); the one it replaces is not deleted.
  virtual bool SetValidator(KwValidator* pValidator);
  // 10-12: the mask.
  virtual std::string GetMask() const = 0;
  virtual bool SetMask(const std::string& mask) = 0;  // base body: takes nothing, false
  virtual std::string ShowMask() const = 0;
  // 13: replaces the data; always 1. The narrow members from here on take and give the ANSI
  // code page and convert at the boundary; a character the code page lacks reads as '?'.
  virtual int SetText(const std::string& text);
  // 14-15: input data taken from a display text (NULL reads as the empty text), and the current
  // input data.
  virtual std::string GetInputData(const char* text, bool withPrompt) const = 0;
  virtual std::string GetInputData(bool withPrompt) const = 0;
  // 16: runs the validator, then converts GetInputData(true) to a number; always true. The
  // conversion reads the number as atof does in the "C" locale ('.' the decimal point), not in
  // the locale the host may have set for the C runtime: under a German LC_NUMERIC the runtime
  // would read 12.5 as 12.
  virtual bool GetDataNumValue(double& value);
  // 17-18
  virtual void EmptyData(int keepMask) = 0;
  virtual int IsInputEmpty() = 0;
  // 19-22: validation and display state.
  virtual int OnValidate();
  virtual bool SetErrorOverride(int value);
  virtual bool SetState(int state);
  virtual int GetState() const;

  // Undo and redo. The history holds the text and caret before each edit: a run of characters
  // typed on from where the last one went is one step, as is a run of Backspaces or of Deletes;
  // each paste, cut, clear, deletion of a selection and foreign WM_SETTEXT is a step of its own.
  // Undo and Redo rewrite the window through the model as an edit does (EN_UPDATE, EN_CHANGE),
  // so the text is always one the mask takes, and put the caret back; they return false when
  // there is nothing to undo or redo, without a window, or while an edit is under way. Ctrl+Z,
  // WM_UNDO and EM_UNDO undo; Ctrl+Y and Ctrl+Shift+Z redo; EM_CANUNDO answers CanUndo();
  // EM_EMPTYUNDOBUFFER empties the history. The edit control's own undo never acts. A change
  // the host makes through the interface (SetMask, SetText, EmptyData, the prompt symbol, any
  // other rewrite it causes) empties the history: the text is a new document.
  // A read-only control neither undoes nor redoes (its history is kept for when it is writable
  // again).
  bool CanUndo() const;
  bool Undo();
  bool CanRedo() const;
  bool Redo();
  void EmptyUndoBuffer();
  // Keeps at most `steps` steps (default 100), dropping the oldest; 0 or less turns undo off and
  // empties the history. Whatever the limit, the steps kept hold at most 16 MB of text together
  // (the newest step is always kept).
  void SetUndoLimit(int steps);
  int GetUndoLimit() const { return m_nUndoLimit; }

  // Why the last key or paste was refused. Every key that edits (a typed character, Backspace,
  // Delete) and every paste starts afresh with RejectNone; the first refusal it meets is kept
  // with its window position and character (a refused paste character reports the position
  // that refused it; a clipboard without readable text reports the caret and NUL).
  enum {
    RejectNone = 0,
    RejectWrongKind = 1,        // the character does not fit the position's kind
    RejectFull = 2,             // no empty position left, or the integer part is full
    RejectNoInputPosition = 3,  // the caret or selection holds no input position
    RejectNoMask = 4,           // the control has no mask that could take the character
    RejectClipboard = 5,        // no text on the clipboard, or it could not be read
    RejectOutOfMemory = 6       // the edit could not get the memory it needs: nothing changed
  };
  // The character comes narrow ('?' for one the ANSI code page lacks) or as a UTF-16 unit (the
  // high surrogate of a character beyond the Basic Multilingual Plane, which
  // GetLastRejectedCodePoint gives whole).
  int GetLastRejection(int* pPos = nullptr, char* pCh = nullptr) const;
  int GetLastRejectionW(int* pPos, WCHAR* pCh) const;
  char32_t GetLastRejectedCodePoint() const { return m_chRejection; }
  // With true, each refused key or paste also sends the parent WM_COMMAND with KWN_REJECTED
  // (after the beep, once per key or paste). Off by default.
  void SetNotifyRejections(bool notify) { m_bNotifyRejections = notify; }
  bool GetNotifyRejections() const { return m_bNotifyRejections; }

  // What assistive technology hears of the control (KwMaskedEditAccess.cpp). The value is what
  // the user has entered, laid out as shown, without prompts and without the literals that only
  // stand after the last entered character ("(555) 12" for "(555) 12_-____"); the description
  // says what the control expects and how far the user is ("format (###) ###-####: 10 digits, 5
  // entered"); the help says the last refusal in words ("wrong kind at 6: 'x' is not a digit",
  // "" when the last key or paste was taken). SetAccessibleValue reads a text as shown (a value,
  // literals and all) and gives its data to SetText: through the mask, with SetText's
  // notifications; false, taking nothing, on a read-only control. The W forms carry the same
  // words in UTF-16.
  std::string GetAccessibleValue() const;
  std::string GetAccessibleDescription() const;
  std::string GetAccessibleHelp() const;
  bool SetAccessibleValue(const std::string& value);
  KwWString GetAccessibleValueW() const;
  KwWString GetAccessibleDescriptionW() const;
  KwWString GetAccessibleHelpW() const;
  bool SetAccessibleValueW(const KwWString& value);

 protected:
  // WM_GETOBJECT: on Windows the control's client object is its own IAccessible, which wraps the
  // edit control's standard one (KwMaskedEditAccessible.cpp); elsewhere the edit control answers.
  LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
  // A refusal is announced to assistive technology: EVENT_SYSTEM_ALERT on the client object.
  void AnnounceRefusal();
  // Selection and caret, for every control alike (non-virtual). GetSelection reads the
  // selection as the edit control holds it (EM_GETSEL; start == end is a caret at start) and
  // returns its length; SetCaret selects nothing, puts the caret at pos (EM_SETSEL pos, pos)
  // and scrolls it into view (EM_SCROLLCARET).
  int GetSelection(int& start, int& end) const;
  void SetCaret(int pos);
  // Auto-tab, when a control has nothing left to fill: the next control of the parent's tab
  // order (GetNextDlgTabItem) takes the focus. Without a parent, or when this control is the
  // only tab stop, focus and caret stay where they are.
  void TabToNextControl();
  // Read-only (ES_READONLY at creation or EM_SETREADONLY): the control takes no edit. Every
  // editing key (characters, Backspace, Delete, Shift+Delete, the clipboard shortcuts), WM_CUT,
  // WM_PASTE and WM_CLEAR go to the edit control as they are, which, read-only, changes nothing
  // and beeps where it beeps; undo and redo (keys, messages, Undo and Redo) do nothing. Copy,
  // the caret keys and a text the host sets work as ever. PassReadOnly hands such a message on
  // (true, with its result) while the control is read-only.
  bool IsReadOnly() const;
  bool PassReadOnly(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Whether the control has input positions and none of them is empty (a character typed past
  // the last one is then refused as RejectFull rather than RejectNoInputPosition).
  bool IsFull();
  // Whether a character may serve as the prompt symbol: anything but NUL, CR, LF and DEL (they
  // would end, break or garble the window text). SetPromptSymbol ignores the others.
  static bool IsPromptSymbolAllowed(WCHAR symbol);
  // Backspace's walk: deletes the nearest input position left of [start, end) by trying
  // DeleteRange(start - 1, end), then one position further left each time, across literals and
  // separators. Returns the first position of the range that was taken (its end in *pLast), or
  // -1 when none was. Places no caret: the caller does.
  int DeleteBackward(int start, int end, int* pLast);
  // The paste body: lets the edit control paste (Default), packs the window text it leaves
  // into the input positions from the first one (SetInputData(text, 0, 0)), with `rewrite` once
  // more rewrites the window (Update(-1)), and puts the caret on the empty input place found
  // from the selection's start.
  void PasteIntoPositions(bool rewrite);
  // Refusals. NoteRejection keeps the first refusal of the key or paste being handled (nothing
  // outside one). NoteRefusedData does the same for pasted data that the model refuses while it
  // takes it in (SetInputData), and nothing outside a paste; a negative pos stands for the caret
  // the paste went to. RefuseKey serves a key refused before it reaches the window
  // (PreTranslateMessage): it records the refusal, beeps and notifies the parent.
  void NoteRejection(int reason, int pos, char32_t ch);
  void NoteRefusedData(int reason, int pos, char32_t ch);
  void RefuseKey(int reason, int pos, char32_t ch);
  // SetText's body for the controls whose data is the text set: the data through the model
  // (SetInputDataW), then a new document (the history emptied).
  int SetTextInput(const KwWString& text);
  // Whether the clipboard holds text that can be read (a paste's first question); with text,
  // also what it holds, read within its block (a text without its NUL ends with the block).
  bool ClipboardHasText(KwWString* text = nullptr);
  // Closes the clipboard this control opened when it goes out of scope, however the scope
  // ends (the memory may run out while the clipboard is open).
  struct ClipboardOpen {
    ClipboardOpen() = default;
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    ~ClipboardOpen() { ::CloseClipboard(); }
  };

  // 23: a refused keystroke.
  virtual void ValidationError();
  // 24-32: the model. Positions are indexes into the window text (ShowMask()): literals count,
  // and an input position is one that takes a typed character.
  //
  // Empties the window text when the window exists; the controls first empty their models.
  virtual void DeleteContents() = 0;
  // Replaces the model's input data with the filtered form of the first `keep` characters of
  // the shown text followed by `data` (characters a position refuses are dropped; `raw` says
  // the text holds no literals) and rewrites the window through Update. Returns 1 when every
  // character examined fitted its position, 0 otherwise. The core passes keep 0; NULL data is the
  // empty data.
  virtual int SetInputData(const char* data, int keep, int raw) = 0;
  // Nonzero when a character may be typed at pos (pos is an input position).
  virtual int IsInputData(int pos) const = 0;
  // Deletes the input characters of positions [start, end): literals stay, and what follows
  // closes up as the control's model defines it. Returns nonzero when it took the range, 0 when
  // there was nothing it could delete. May rewrite the window and place the caret.
  virtual int DeleteRange(int start, int end) = 0;
  // Inserts ch at pos (InsertAt: what follows moves on) or replaces the character there (SetAt).
  // Returns the position that received the character, or a negative value when it is refused
  // (the caller beeps through ValidationError). May rewrite the window; the caller's own
  // Update(result + 1) then places the caret.
  virtual int InsertAt(int pos, char ch) = 0;
  virtual int SetAt(int pos, char ch) = 0;
  // Where the caret goes: the first input position at or after pos (the number of positions,
  // past the end, when none); the input position before pos when moving backwards; an empty input
  // place looked for from pos (after a paste). None of them changes the model or the window.
  virtual int GetNextInputLocation(int pos) = 0;
  virtual int GetPreviousInputLocation(int pos) = 0;
  virtual int GetEmptyInputLocation(int pos) = 0;
  // 33: rewrites the window text from ShowMask() (even when it is unchanged; the parent hears
  // EN_UPDATE, and EN_CHANGE unless a foreign text is being taken in), then, for pos >= 0, calls
  // UpdateInsertionPointForward(pos); a negative pos leaves the caret alone. Does nothing without a
  // window. Inside an edit (a key, a paste, a cut) the caret is hidden from the first rewrite until
  // the edit is done, so it is drawn once, where the edit leaves it. The history notes the text
  // before the parent hears of it; a parent that deletes the control on hearing of it ends
  // Update there (nothing of the control is touched after).
  virtual void Update(int pos);
  // 34-35: the caret. Forward: to GetNextInputLocation(pos), or, with auto-tab on and nothing
  // left to fill, the focus moves to the next control (TabToNextControl). Backward: to
  // GetPreviousInputLocation(pos), never auto-tab; one body serves every control.
  virtual void UpdateInsertionPointForward(int pos) = 0;
  virtual void UpdateInsertionPointBackward(int pos) = 0;
  // 36-40: text and clipboard messages. Whatever their size and bytes, a paste or a text from
  // outside (WM_SETTEXT; lParam NULL is the empty text) puts into the positions what they take
  // and drops the rest; the window then shows the model. A clipboard without text pastes
  // nothing (RejectClipboard).
  virtual LRESULT OnCut(WPARAM wParam, LPARAM lParam) = 0;
  virtual LRESULT OnCopy(WPARAM wParam, LPARAM lParam) = 0;
  virtual LRESULT OnPaste(WPARAM wParam, LPARAM lParam) = 0;
  virtual LRESULT OnClear(WPARAM wParam, LPARAM lParam) = 0;
  virtual LRESULT OnSetText(WPARAM wParam, LPARAM lParam) = 0;

  void PreSubclassWindow() override;
  // Every message of the window passes here first: the undo messages and keys are answered
  // from the control's own history, and each edit is bracketed for the history and refusals.
  //
  // A host may delete the control from inside any call of the control's that reaches it: a
  // notification to the parent (the edit control's and the library's own), the validator, a
  // virtual it overrides, the focus moving on. Every member that touches the control again after
  // such a call watches its life across it (CWnd::Alive) and, when the control is gone, returns
  // at once without touching it; this bracket and Update are the ones most calls pass through.
  //
  // No exception leaves it: an edit that cannot get the memory it needs (std::bad_alloc, or the
  // edit control refusing the control's own rewrite) is refused whole: the text, model and
  // selection from before it come back, RejectOutOfMemory, the beep (ValidationError) and
  // KWN_REJECTED as for a refused key. Any other message that runs out of memory returns 0.
  // (The first design let exceptions of the handlers run on into the window system, whose
  // frames cannot unwind them; the history may lose its redo steps with such an edit.)
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Message handlers of the base map.
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnSetFocus(CWnd* pOldWnd);
  void OnKillFocus(CWnd* pNewWnd);
  void OnLButtonDown(UINT nFlags, CPoint point);
  LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
  LRESULT OnReplaceSel(WPARAM wParam, LPARAM lParam);
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  BOOL OnEraseBkgnd(CDC* pDC);

  // The concrete control's UTF-16 model (the control itself), set by its constructors.
  KwMaskedEditModel* m_pModel = nullptr;
  // Joins the two WM_CHAR units of a character beyond the Basic Multilingual Plane.
  KwSurrogateJoiner m_joiner;
  // The text Update writes, kept from one rewrite to the next; a rewrite nested in another's
  // notifications makes its own.
  KwWString m_strShown;
  bool m_bShownInUse = false;
  // A text buffer a member keeps for reuse (no allocation per keystroke), lent for one scope;
  // when it is already lent further up the stack (a host re-entering from a notification) the
  // scope gets a text of its own instead. The loan ends with the scope, unless the control was
  // deleted meanwhile.
  class BorrowedText {
   public:
    BorrowedText(const Alive& alive, KwWString& buffer, bool& inUse)
        : m_alive(alive), m_own(!inUse), m_inUse(inUse), m_text(m_own ? buffer : m_nested) {
      inUse = true;
    }
    BorrowedText(const BorrowedText&) = delete;
    BorrowedText& operator=(const BorrowedText&) = delete;
    ~BorrowedText() {
      if (m_own && m_alive) m_inUse = false;
    }
    KwWString& text() { return m_text; }

   private:
    const Alive& m_alive;
    const bool m_own;
    bool& m_inUse;
    KwWString m_nested;
    KwWString& m_text;
  };
  WCHAR m_chHeldHigh = 0;  // the high surrogate it holds

  // Sends WM_COMMAND with nCode to the parent; FALSE when there is no parent.
  int NotifyParent(UINT nCode);
  // The WM_SETTEXT handlers' way with the control's own display text (m_nUpdateDepth above 0):
  // the edit control takes it as it stands, then, with notify, the parent hears EN_UPDATE, and
  // EN_CHANGE while m_bNotifyChange is set. While they run m_nUpdateDepth is 0 again, so that a
  // text the host sets from inside those notifications is foreign. Answers the edit control's
  // result.
  LRESULT TakeOwnText(bool notify);
  // The edit control's own editing (Default) of a control without a mask: a key, a paste, a
  // cut, a clear. The edit control tells the parent EN_MAXTEXT before it inserts; a host that
  // gives the control a mask there would have the edit control insert into the mask's display,
  // so a window that then differs from the model is rewritten from it.
  LRESULT DefaultUnmasked();

  bool m_bAutoTab;
  bool m_bInsertMode;
  // Above 0 while Update writes the display text, until the WM_SETTEXT that carries it arrives:
  // a WM_SETTEXT handler that sees it above 0 takes the text as the control's own. It is 0
  // again while that text's notifications run (TakeOwnText), so a text the host sets from
  // inside them is foreign and goes through the model like any text from outside; counting on
  // it during the notifications would show the host's text as it stands, the model holding
  // another, window and data disagreeing from then on.
  int m_nUpdateDepth;
  // While set, Update rewrites the window but leaves the caret to the caller's own Update.
  int m_nCaretDeferred;
  // Whether the control's own text is reported with EN_CHANGE as well as EN_UPDATE: cleared
  // while a foreign text is taken into the model, and restored to what it was after.
  int m_bNotifyChange;
  int m_nErrorOverride;
  KwValidator* m_pValidator;
  int m_nState;
  CBrush m_brBackground;
  CBrush m_brBackgroundFocus;
  CBrush m_brBackgroundWarning;
  CBrush m_brBackgroundError;
  COLORREF m_crText;
  COLORREF m_crTextError;
  COLORREF m_crTextWarning;
  COLORREF m_crTextFocus;
  COLORREF m_crBackground;
  COLORREF m_crBackgroundError;
  COLORREF m_crBackgroundWarning;
  COLORREF m_crBackgroundFocus;

 private:
  struct UndoStep {
    KwWString text;  // the text to go back (or forward) to
    int caret;       // and its caret
    int caretOther;  // the caret of the text it replaces
  };
  int EditActionOf(UINT message, WPARAM wParam) const;
  // The body of WindowProc inside its barrier: read-only, undo, the edit bracket.
  LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void NoteEditDone(int action);
  void RefuseForMemory(int action, WPARAM wParam, bool started);
  LRESULT RunEditAction(int action, UINT message, WPARAM wParam, LPARAM lParam);
  // The message handed on to the message map, counted in m_nMessageDepth.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void NoteRewrite(const KwWString& shown);
  void OpenUndoStep();
  void PushUndoStep(std::vector<UndoStep>& steps, const KwWString& text, int caret);
  bool RestoreUndoStep(std::vector<UndoStep>& from, std::vector<UndoStep>& to);
  // Steps leave the history through these, which keep their texts' storage for the next steps.
  void DropUndoSteps(std::vector<UndoStep>& steps, std::size_t count);
  void KeepSpareText(KwWString& text);
  // A step's text: a dropped step's storage when there is one (no allocation), else a new one.
  KwWString TakeSpareText(const KwWString& text);

  std::vector<UndoStep> m_vecUndo;
  std::vector<UndoStep> m_vecRedo;
  // The storage of the last steps dropped, emptied, for the next steps to take: a history that
  // is emptied and begun again (a host resetting the text between entries) keeps reusing it.
  static constexpr int kSpareTexts = 4;
  KwWString m_strSpare[kSpareTexts];
  int m_nSpareTexts = 0;
  KwWString m_strUndoShown;  // the text as the history last saw it
  int m_nUndoLimit;
  int m_nEditAction = 0;      // the edit being handled, or none
  int m_nLastEditAction = 0;  // the edit of the newest step, while typing on may join it
  int m_nLastEditCaret = 0;
  mutable int m_nEditCaret = 0;  // the caret before the edit, read by its first GetSelection
  mutable bool m_bEditCaretKnown = false;
  mutable bool m_bEditSelection = false;
  bool m_bUndoStepOpen = false;
  bool m_bEditRewrote = false;
  bool m_bCaretSet = false;
  bool m_bCaretHidden = false;  // hidden by the edit's first rewrite, shown when the edit ends
  int m_nCaretSet = 0;
  int m_nUndoReplay = 0;
  int m_nMessageDepth = 0;
  // The edit's text and selection from before it, for an edit refused for want of memory (the
  // text's storage is kept from edit to edit, so taking it seldom needs memory), and whether the
  // edit ran out of memory in a message nested inside it.
  KwWString m_strBeforeEdit;
  DWORD m_nBeforeStart = 0;
  DWORD m_nBeforeEnd = 0;
  bool m_bOutOfMemory = false;
  bool m_bEditPushedStep = false;  // the edit opened a step of its own in the history
  int m_nRejection = RejectNone;
  int m_nRejectionPos = 0;
  char32_t m_chRejection = 0;
  bool m_bRejectionNoted = false;
  bool m_bRejectionArmed = false;
  bool m_bNotifyRejections;

  DECLARE_MESSAGE_MAP()
};
