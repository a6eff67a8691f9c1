// Undo, redo and refusals of KwMaskedEdit.
//
// Every message of the window passes WindowProc. A message that edits (a typed character,
// Backspace, Delete, cut, paste, clear, a foreign WM_SETTEXT) is an edit: while it is handled,
// the first rewrite that changes the text (Update, through NoteRewrite) opens a history step
// holding the text and caret from before it. An edit that does not rewrite (a control without a
// mask, where the edit control itself changes the text) is compared with the text the history
// last saw instead. Undo and redo give a step's text back to the model as a foreign text would
// come in (GetInputData, then SetInputData), so the mask filters it and the window is rewritten
// with the usual notifications; the edit control's own undo is never asked.
#include <algorithm>
#include <new>

#include "core/KwMaskedEdit.h"
#include "core/KwModule.h"
#include "core/KwText.h"

namespace {

enum {
  kEditNone = 0,
  kEditTyping,     // a printable character
  kEditBackspace,  // Backspace without a selection
  kEditDelete,     // Delete without a selection
  kEditPaste,
  kEditOther  // cut, clear, foreign text
};

constexpr char kCtrlY = 0x19;
constexpr char kCtrlZ = 0x1A;
constexpr std::size_t kUndoByteBudget = 16u << 20;
// A dropped step's text is kept for reuse up to this many units; a longer one is freed (its
// copying costs more than its allocation, and it would hold its memory long after).
constexpr std::size_t kSpareTextCapacity = 4096;

bool Joins(int action) {
  return action == kEditTyping || action == kEditBackspace || action == kEditDelete;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The message bracket

int KwMaskedEdit::EditActionOf(UINT message, WPARAM wParam) const {
  switch (message) {
    case WM_CHAR:
      if (wParam == VK_BACK) return kEditBackspace;
      if (wParam >= 0x20) return kEditTyping;
      // Ctrl+V and Ctrl+X reach the edit control as characters and come back as WM_PASTE and
      // WM_CUT inside this message.
      if (wParam == 0x16) return kEditPaste;
      if (wParam == 0x18) return kEditOther;
      return kEditNone;
    case WM_KEYDOWN:
      return wParam == VK_DELETE ? kEditDelete : kEditNone;
    case WM_PASTE:
      return kEditPaste;
    case WM_CUT:
    case WM_CLEAR:
    case EM_REPLACESEL:
      return kEditOther;
    case WM_SETTEXT:
      // The control's own rewrite (Update) is not an edit of its own.
      return m_nUpdateDepth > 0 ? kEditNone : kEditOther;
    default:
      return kEditNone;
  }
}

namespace {

// Whether the history has anything to do with a message: an undo message, an edit, or a caret
// movement that ends a run of typing. The others (most of a keystroke's) pass straight on.
bool ConcernsHistory(UINT message) {
  switch (message) {
    case WM_UNDO:
    case EM_UNDO:
    case EM_CANUNDO:
    case EM_EMPTYUNDOBUFFER:
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case WM_LBUTTONDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case EM_SETSEL:
      return true;
    default:
      return false;
  }
}

// The counters a message raises and lowers around what it calls, kept at its start: when the
// memory runs out in between, the frame that catches it puts them back.
struct Depths {
  int message, update, deferred;
};

}  // namespace

LRESULT KwMaskedEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing unwinds through the platform's frames. Inside an edit of an outer frame the edit is
  // marked and that frame refuses it whole when it gets control back.
  const Depths depths{m_nMessageDepth, m_nUpdateDepth, m_nCaretDeferred};
  const Alive alive(this);
  try {
    if (message >= WM_USER && g_pfnClassMessage != nullptr) {
      LRESULT result = 0;
      if (g_pfnClassMessage(*this, message, wParam, lParam, &result)) return result;
    }
    return RouteMessage(message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    if (!alive) return 0;
    m_nMessageDepth = depths.message;
    m_nUpdateDepth = depths.update;
    m_nCaretDeferred = depths.deferred;
    if (m_nEditAction != kEditNone) m_bOutOfMemory = true;
    return 0;
  }
}

LRESULT KwMaskedEdit::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ConcernsHistory(message)) return HandleMessage(message, wParam, lParam);
  LRESULT readOnlyResult = 0;
  if (PassReadOnly(message, wParam, lParam, readOnlyResult)) return readOnlyResult;
  switch (message) {
    case WM_UNDO:
    case EM_UNDO:
      return Undo() ? TRUE : FALSE;
    case EM_CANUNDO:
      return CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      EmptyUndoBuffer();
      return 0;
    case WM_CHAR:
      // Ctrl+Z (Ctrl+Shift+Z redoes) and Ctrl+Y never reach the edit control.
      if (wParam == static_cast<WPARAM>(kCtrlZ)) {
        if (::GetKeyState(VK_SHIFT) < 0) {
          Redo();
        } else {
          Undo();
        }
        return 0;
      }
      if (wParam == static_cast<WPARAM>(kCtrlY)) {
        Redo();
        return 0;
      }
      break;
    default:
      break;
  }

  if (m_nEditAction == kEditNone && m_nUndoReplay == 0) {
    const int action = EditActionOf(message, wParam);
    if (action != kEditNone) return RunEditAction(action, message, wParam, lParam);
    switch (message) {
      case WM_KEYDOWN:
        if (wParam >= VK_PRIOR && wParam <= VK_DOWN) m_nLastEditAction = kEditNone;
        break;
      case WM_LBUTTONDOWN:
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
      case EM_SETSEL:
        // The caret went elsewhere: what is typed next starts a step of its own.
        m_nLastEditAction = kEditNone;
        break;
      default:
        break;
    }
  }
  return HandleMessage(message, wParam, lParam);
}

LRESULT KwMaskedEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The handlers may reach the host (notifications, the focus moving on), which may delete
  // the control: then nothing of it is touched here.
  const Alive alive(this);
  ++m_nMessageDepth;
  const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
  if (alive) --m_nMessageDepth;
  return result;
}

LRESULT KwMaskedEdit::RunEditAction(int action, UINT message, WPARAM wParam, LPARAM lParam) {
  // What a refusal for want of memory goes back to. The text's storage is kept from edit to
  // edit: only a text longer than any before needs memory here, before anything has changed
  // (without it the edit is refused before it starts).
  bool kept = true;
  try {
    m_strBeforeEdit.assign(m_strUndoShown);
  } catch (const std::bad_alloc&) {
    kept = false;
  }
  CallOwnProc(EM_GETSEL, reinterpret_cast<WPARAM>(&m_nBeforeStart),
              reinterpret_cast<LPARAM>(&m_nBeforeEnd));
  m_bOutOfMemory = !kept;
  m_bEditPushedStep = false;
  m_nEditAction = action;
  m_bEditCaretKnown = false;
  m_bEditSelection = false;
  m_bUndoStepOpen = false;
  m_bEditRewrote = false;
  m_bCaretSet = false;
  const bool keyOrPaste = action != kEditOther;
  if (keyOrPaste) {
    m_nRejection = RejectNone;
    m_nRejectionPos = 0;
    m_chRejection = '\0';
    m_bRejectionNoted = false;
    m_bRejectionArmed = true;
  }
  if (action == kEditPaste || action == kEditOther) {
    int start = 0;
    int end = 0;
    GetSelection(start, end);  // the caret to go back to
  }

  const Depths depths{m_nMessageDepth, m_nUpdateDepth, m_nCaretDeferred};
  const Alive alive(this);
  LRESULT result = 0;
  try {
    if (kept) {
      ++m_nMessageDepth;
      result = CEdit::WindowProc(message, wParam, lParam);
      if (!alive) return result;  // deleted by the host during its edit: nothing left to settle
      --m_nMessageDepth;
    }
    if (!m_bOutOfMemory) NoteEditDone(action);
  } catch (const std::bad_alloc&) {
    if (!alive) return 0;
    m_nMessageDepth = depths.message;
    m_nUpdateDepth = depths.update;
    m_nCaretDeferred = depths.deferred;
    m_bOutOfMemory = true;
  }
  if (m_bOutOfMemory) {
    RefuseForMemory(action, wParam, kept);
    if (!alive) return 0;  // the refusal's beep or notifications reached a host that deleted it
    result = 0;
  }
  m_nEditAction = kEditNone;
  if (m_bCaretHidden) {
    // Hidden by a rewrite of this edit. When the edit moved the focus on (auto-tab), the caret
    // went with it and was never ours to show again: the call then fails and does nothing. A
    // window destroyed meanwhile took its caret along; a null handle would mean any caret.
    m_bCaretHidden = false;
    if (m_hWnd != nullptr) ::ShowCaret(m_hWnd);
  }
  const bool refused = keyOrPaste || m_bOutOfMemory;
  m_bOutOfMemory = false;
  if (refused) {
    m_bRejectionArmed = false;
    if (m_bRejectionNoted && ::IsWindow(m_hWnd)) {
      AnnounceRefusal();
      if (!alive) return result;  // an in-context event hook reached a host that deleted it
    }
    // The last thing the edit does: the parent may delete the control when it hears of it.
    if (m_bRejectionNoted && m_bNotifyRejections && ::IsWindow(m_hWnd)) NotifyParent(KWN_REJECTED);
  }
  return result;
}

void KwMaskedEdit::NoteEditDone(int action) {
  if (!m_bEditRewrote && ::IsWindow(m_hWnd)) {
    // No rewrite: without a mask the edit control changed its text itself, if at all.
    const KwWString text = GetWindowTextW();
    if (text != m_strUndoShown) {
      OpenUndoStep();
      m_strUndoShown = text;
      // Its own undo buffer now holds this edit: empty it, so that nothing of the edit
      // control's own undo can ever act.
      DefWindowProc(EM_EMPTYUNDOBUFFER, 0, 0);
    }
  }
  if (m_bUndoStepOpen) {
    m_nLastEditAction = action;
    if (m_bCaretSet) {
      // Where the control put the caret, as the edit control keeps it: inside the text.
      const int length = static_cast<int>(m_strUndoShown.size());
      m_nLastEditCaret = std::clamp(m_nCaretSet, 0, length);
    } else if (::IsWindow(m_hWnd)) {
      int start = 0;
      int end = 0;
      GetSelection(start, end);
      m_nLastEditCaret = start;
    }
    // Redo brings the caret back to where the edit left it.
    if (!m_vecUndo.empty()) m_vecUndo.back().caretOther = m_nLastEditCaret;
  }
}

void KwMaskedEdit::RefuseForMemory(int action, WPARAM wParam, bool started) {
  // The text from before the edit goes back through the model, as an undo would bring it; the
  // step the edit opened in the history goes. What the restoring needs is mostly memory freed
  // by the failed edit; when even that fails, the window is left as it stands.
  const Depths depths{m_nMessageDepth, m_nUpdateDepth, m_nCaretDeferred};
  ++m_nUndoReplay;
  try {
    if (m_bEditPushedStep && !m_vecUndo.empty()) {
      KeepSpareText(m_vecUndo.back().text);
      m_vecUndo.pop_back();
    }
    if (started && ::IsWindow(m_hWnd)) {
      const KwWString data = m_pModel->GetInputDataW(m_strBeforeEdit.c_str(), true);
      m_pModel->SetInputDataW(data.c_str(), 0, 1);
      if (::IsWindow(m_hWnd) && GetWindowTextW() != m_strBeforeEdit)
        SetWindowTextW(m_strBeforeEdit);
    }
  } catch (const std::bad_alloc&) {
    m_nMessageDepth = depths.message;
    m_nUpdateDepth = depths.update;
    m_nCaretDeferred = depths.deferred;
  }
  --m_nUndoReplay;
  if (started) m_strUndoShown.swap(m_strBeforeEdit);
  if (::IsWindow(m_hWnd))
    CallOwnProc(EM_SETSEL, static_cast<WPARAM>(m_nBeforeStart), static_cast<LPARAM>(m_nBeforeEnd));
  m_nLastEditAction = kEditNone;
  m_bRejectionArmed = true;
  m_bRejectionNoted = false;
  const char32_t ch = action == kEditTyping ? static_cast<char32_t>(wParam & 0xFFFF) : 0;
  NoteRejection(RejectOutOfMemory, static_cast<int>(m_nBeforeStart), ch);
  try {
    ValidationError();
  } catch (const std::bad_alloc&) {
  }
}

// ---------------------------------------------------------------------------------------------
// The history

void KwMaskedEdit::NoteRewrite(const KwWString& shown) {
  if (m_nUndoReplay > 0) return;  // Undo and Redo keep the history themselves
  if (m_nEditAction == kEditNone) {
    // A rewrite outside an edit: the host changed the text (or the mask or prompt), which
    // starts a new document; inside another message of the window it is only taken note of.
    if (m_nMessageDepth == 0) EmptyUndoBuffer();
    m_strUndoShown = shown;
    return;
  }
  m_bEditRewrote = true;
  if (shown == m_strUndoShown) return;
  OpenUndoStep();
  m_strUndoShown = shown;
}

void KwMaskedEdit::OpenUndoStep() {
  if (m_bUndoStepOpen) return;
  m_bUndoStepOpen = true;
  if (m_nUndoLimit <= 0) return;
  if (!m_bEditCaretKnown) {
    int start = 0;
    int end = 0;
    GetSelection(start, end);
  }
  DropUndoSteps(m_vecRedo, m_vecRedo.size());
  // A character typed (or a Backspace or Delete made) where the last one left the caret joins
  // its step, as a word processor groups a run of typing.
  const bool joins = Joins(m_nEditAction) && !m_bEditSelection &&
                     m_nEditAction == m_nLastEditAction && m_nEditCaret == m_nLastEditCaret &&
                     !m_vecUndo.empty();
  if (!joins) {
    PushUndoStep(m_vecUndo, m_strUndoShown, m_nEditCaret);
    m_bEditPushedStep = true;
  }
}

void KwMaskedEdit::PushUndoStep(std::vector<UndoStep>& steps, const KwWString& text, int caret) {
  if (!steps.empty() && static_cast<int>(steps.size()) >= m_nUndoLimit) {
    // At the limit the oldest step goes; its text's storage serves the new one.
    UndoStep recycled = std::move(steps.front());
    steps.erase(steps.begin());
    recycled.text.assign(text);
    recycled.caret = caret;
    recycled.caretOther = caret;
    steps.push_back(std::move(recycled));
  } else {
    steps.push_back(UndoStep{TakeSpareText(text), caret, caret});
  }
  std::size_t bytes = 0;
  for (const UndoStep& step : steps) bytes += step.text.size() * sizeof(WCHAR);
  std::size_t dropped = 0;
  while (bytes > kUndoByteBudget && steps.size() - dropped > 1) {
    bytes -= steps[dropped].text.size() * sizeof(WCHAR);
    ++dropped;
  }
  DropUndoSteps(steps, dropped);
}

void KwMaskedEdit::DropUndoSteps(std::vector<UndoStep>& steps, std::size_t count) {
  count = std::min(count, steps.size());
  for (std::size_t i = 0; i < count; ++i) KeepSpareText(steps[i].text);
  steps.erase(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(count));
}

void KwMaskedEdit::KeepSpareText(KwWString& text) {
  // A text within the string's own small buffer has no storage worth keeping.
  if (m_nSpareTexts == kSpareTexts || text.capacity() <= KwWString().capacity() ||
      text.capacity() > kSpareTextCapacity)
    return;
  text.clear();
  m_strSpare[m_nSpareTexts++] = std::move(text);
}

KwWString KwMaskedEdit::TakeSpareText(const KwWString& text) {
  if (m_nSpareTexts == 0) return text;
  KwWString spare = std::move(m_strSpare[--m_nSpareTexts]);
  spare.assign(text);  // within its storage unless the text is longer
  return spare;
}

bool KwMaskedEdit::RestoreUndoStep(std::vector<UndoStep>& from, std::vector<UndoStep>& to) {
  if (from.empty() || m_nEditAction != kEditNone || !::IsWindow(m_hWnd) || IsReadOnly())
    return false;
  UndoStep step = std::move(from.back());
  from.pop_back();
  to.push_back(UndoStep{TakeSpareText(m_strUndoShown), step.caretOther, step.caret});

  const Alive alive(this);
  ++m_nUndoReplay;
  const KwWString data = m_pModel->GetInputDataW(step.text.c_str(), true);
  m_pModel->SetInputDataW(data.c_str(), 0, 1);
  if (!alive) return true;
  m_strUndoShown = GetWindowTextW();
  if (m_strUndoShown != step.text) {
    // A text the model did not make: one set from outside where the control shows such texts
    // as they are (no mask, a field). It comes back the way it came in, as a foreign text, and
    // the control takes it as it took it then.
    SetWindowTextW(step.text);
    if (!alive) return true;
    m_strUndoShown = GetWindowTextW();
  }
  --m_nUndoReplay;
  const int length = static_cast<int>(m_strUndoShown.size());
  SetCaret(std::clamp(step.caret, 0, length));
  if (!alive) return true;
  KeepSpareText(step.text);
  // Typing after an undo or redo starts a step of its own.
  m_nLastEditAction = kEditNone;
  return true;
}

bool KwMaskedEdit::CanUndo() const { return !m_vecUndo.empty(); }

bool KwMaskedEdit::CanRedo() const { return !m_vecRedo.empty(); }

bool KwMaskedEdit::Undo() { return RestoreUndoStep(m_vecUndo, m_vecRedo); }

bool KwMaskedEdit::Redo() { return RestoreUndoStep(m_vecRedo, m_vecUndo); }

void KwMaskedEdit::EmptyUndoBuffer() {
  DropUndoSteps(m_vecUndo, m_vecUndo.size());
  DropUndoSteps(m_vecRedo, m_vecRedo.size());
  m_nLastEditAction = kEditNone;
}

void KwMaskedEdit::SetUndoLimit(int steps) {
  m_nUndoLimit = std::max(steps, 0);
  if (m_nUndoLimit == 0) {
    EmptyUndoBuffer();
    return;
  }
  const auto limit = static_cast<std::size_t>(m_nUndoLimit);
  if (m_vecUndo.size() > limit) DropUndoSteps(m_vecUndo, m_vecUndo.size() - limit);
  if (m_vecRedo.size() > limit) DropUndoSteps(m_vecRedo, m_vecRedo.size() - limit);
}

// ---------------------------------------------------------------------------------------------
// Refusals

int KwMaskedEdit::GetLastRejection(int* pPos, char* pCh) const {
  if (pPos != nullptr) *pPos = m_nRejectionPos;
  if (pCh != nullptr) {
    *pCh = m_chRejection <= 0xFFFF ? KwNarrowChar(static_cast<WCHAR>(m_chRejection)) : '?';
  }
  return m_nRejection;
}

int KwMaskedEdit::GetLastRejectionW(int* pPos, WCHAR* pCh) const {
  if (pPos != nullptr) *pPos = m_nRejectionPos;
  if (pCh != nullptr) {
    char16_t units[2] = {static_cast<char16_t>(m_chRejection), 0};
    if (m_chRejection > 0xFFFF) KwCharKind::ToUtf16(m_chRejection, units);
    *pCh = static_cast<WCHAR>(units[0]);
  }
  return m_nRejection;
}

void KwMaskedEdit::NoteRejection(int reason, int pos, char32_t ch) {
  if (!m_bRejectionArmed || m_bRejectionNoted) return;
  m_bRejectionNoted = true;
  m_nRejection = reason;
  m_nRejectionPos = pos;
  m_chRejection = ch;
}

void KwMaskedEdit::NoteRefusedData(int reason, int pos, char32_t ch) {
  if (m_nEditAction == kEditPaste) NoteRejection(reason, pos >= 0 ? pos : m_nEditCaret, ch);
}

void KwMaskedEdit::RefuseKey(int reason, int pos, char32_t ch) {
  m_bRejectionArmed = true;
  m_bRejectionNoted = false;
  NoteRejection(reason, pos, ch);
  m_bRejectionArmed = false;
  const Alive alive(this);
  // Called from the host's loop (PreTranslateMessage), not from a window procedure: a host's
  // ValidationError out of memory ends the refusal quietly all the same.
  try {
    ValidationError();
    if (alive && ::IsWindow(m_hWnd)) AnnounceRefusal();
    if (alive && m_bNotifyRejections && ::IsWindow(m_hWnd)) NotifyParent(KWN_REJECTED);
  } catch (const std::bad_alloc&) {
  }
}

bool KwMaskedEdit::ClipboardHasText(KwWString* text) {
  // The edit control of a Unicode window pastes CF_UNICODETEXT, which the system makes from a
  // CF_TEXT that another program put there alone.
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  if (!::OpenClipboard(m_hWnd)) return false;
  const ClipboardOpen open;  // closed again even when the memory runs out on the way
  HANDLE handle = ::GetClipboardData(CF_UNICODETEXT);
  const auto* memory =
      handle != nullptr ? static_cast<const WCHAR*>(::GlobalLock(handle)) : nullptr;
  if (memory == nullptr) return false;
  if (text != nullptr) {
    const size_t size = static_cast<size_t>(::GlobalSize(handle)) / sizeof(WCHAR);
    size_t length = 0;
    while (length < size && memory[length] != 0) ++length;
    try {
      text->assign(memory, length);
    } catch (...) {
      ::GlobalUnlock(handle);
      throw;
    }
  }
  ::GlobalUnlock(handle);
  return true;
}
