// KwMaskedEdit: construction and ownership, the shared keyboard, mouse and focus handling, the
// text and clipboard routing, and the one way the library reports to the parent window.
//
// The handlers reach the concrete control's model only through the virtual interface. Keys that
// only move the caret go to the edit control first and are then corrected so that the caret
// never rests on a literal; keys and characters that change the text never reach the edit
// control: the model changes and Update writes the new display text into the window.
//
// The display states, colours and OnValidate are in KwMaskedEditStates.cpp.
#include "core/KwMaskedEdit.h"

#include "core/KwText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

IMPLEMENT_DYNAMIC(KwMaskedEdit, CEdit)

// clang-format off
BEGIN_MESSAGE_MAP(KwMaskedEdit, CEdit)
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_IME_STARTCOMPOSITION, OnImeStartComposition)
  ON_MESSAGE(EM_REPLACESEL, OnReplaceSel)
  ON_MESSAGE(WM_GETOBJECT, OnGetObject)
  KW_ON_TEXT_AND_CLIPBOARD_MESSAGES()
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr COLORREF kDefaultText = RGB(0, 0, 0);
constexpr COLORREF kDefaultBackground = RGB(240, 0, 0);
constexpr COLORREF kDefaultHighlight = RGB(255, 16, 0);
constexpr int kDefaultUndoLimit = 100;

// No mask, or one that stands for nothing (a field's mask character NUL).
bool WithoutMask(const KwMaskedEdit& edit) {
  const KwWString mask = edit.GetMaskW();
  return mask.empty() || mask[0] == 0;
}

// A new solid brush of the colour, attached to brush. When the platform cannot make one the
// brush stays empty and the look that uses it hands out a null brush.
void MakeBrush(CBrush& brush, COLORREF color) {
  HBRUSH hBrush = ::CreateSolidBrush(color);
  if (hBrush != nullptr) brush.Attach(hBrush);
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether a number too far out of a double's range is too large (else too small): the sign of
// its order of magnitude, the digits before the point less the zeros after it plus the exponent.
// The text is one that from_chars read whole: an exponent mark has a signed or unsigned run of
// digits after it.
bool TooLarge(const char* p, const char* end, bool hex) {
  long long order = 0;
  bool point = false;
  bool significant = false;
  for (; p != end && !(hex ? (*p == 'p' || *p == 'P') : (*p == 'e' || *p == 'E')); ++p) {
    if (*p == '.') {
      point = true;
      continue;
    }
    significant = significant || *p != '0';
    if (!point && significant) ++order;
    if (point && !significant) --order;
  }
  if (p != end) {
    ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    long long exponent = 0;
    for (; p != end; ++p) exponent = std::min(exponent * 10 + (*p - '0'), 1LL << 40);
    order += negative ? -exponent : exponent;
  }
  return order > 0;
}

// The number at the start of text as atof reads it in the "C" locale, whatever locale the host
// has set: white space, a sign, then a decimal or hexadecimal (0x) number, an infinity or a NaN,
// with '.' as the decimal point. What follows the number is ignored; no number at all reads 0,
// one beyond a double's range infinity or 0.
double ParseNumber(const std::string& text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && IsCSpace(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == end || *p == '+' || *p == '-') return 0.0;
  bool hex = false;
  if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
      (IsHexDigit(p[2]) || (p[2] == '.' && end - p > 3 && IsHexDigit(p[3])))) {
    hex = true;
    p += 2;
  }
  double value = 0.0;
  const std::from_chars_result r =
      std::from_chars(p, end, value, hex ? std::chars_format::hex : std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    value = TooLarge(p, r.ptr, hex) ? HUGE_VAL : 0.0;
  } else if (r.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and ownership

KwMaskedEdit::KwMaskedEdit(const char* mask)
    : m_bAutoTab(false),
      m_bInsertMode(true),
      m_nUpdateDepth(0),
      m_nCaretDeferred(0),
      m_bNotifyChange(1),
      m_nErrorOverride(OverrideNone),
      m_pValidator(nullptr),
      m_nState(0),
      m_crText(kDefaultText),
      m_crTextError(kDefaultText),
      m_crTextWarning(kDefaultText),
      m_crTextFocus(kDefaultText),
      m_crBackground(kDefaultBackground),
      m_crBackgroundError(kDefaultHighlight),
      m_crBackgroundWarning(kDefaultHighlight),
      m_crBackgroundFocus(kDefaultHighlight),
      m_nUndoLimit(kDefaultUndoLimit),
      m_bNotifyRejections(false) {
  MakeBrush(m_brBackgroundError, m_crBackgroundError);
  MakeBrush(m_brBackgroundFocus, m_crBackgroundFocus);
  MakeBrush(m_brBackground, m_crBackground);
  MakeBrush(m_brBackgroundWarning, m_crBackgroundWarning);
  // The base takes no mask; each concrete constructor applies its own.
  KwMaskedEdit::SetMask(mask != nullptr ? mask : "");
}

KwMaskedEdit::KwMaskedEdit(const KwMaskedEdit& other)
    : CEdit(),
      m_bAutoTab(other.m_bAutoTab),
      m_bInsertMode(other.m_bInsertMode),
      m_nUpdateDepth(0),
      m_nCaretDeferred(0),
      m_bNotifyChange(1),
      m_nErrorOverride(OverrideNone),
      m_pValidator(other.m_pValidator != nullptr ? other.m_pValidator->Clone() : nullptr),
      m_nState(other.m_nState),
      m_crText(other.m_crText),
      m_crTextError(other.m_crTextError),
      m_crTextWarning(other.m_crTextWarning),
      m_crTextFocus(other.m_crTextFocus),
      m_crBackground(other.m_crBackground),
      m_crBackgroundError(other.m_crBackgroundError),
      m_crBackgroundWarning(other.m_crBackgroundWarning),
      m_crBackgroundFocus(other.m_crBackgroundFocus),
      m_nUndoLimit(other.m_nUndoLimit),
      m_bNotifyRejections(other.m_bNotifyRejections) {
  // The copy starts with an empty history and no refusal. Its validator judges the copy: the
  // clone is bound to it, so that nothing of the copy points at the source.
  if (m_pValidator != nullptr) m_pValidator->m_pMaskedEdit = this;
  MakeBrush(m_brBackgroundError, m_crBackgroundError);
  MakeBrush(m_brBackgroundFocus, m_crBackgroundFocus);
  MakeBrush(m_brBackground, m_crBackground);
  MakeBrush(m_brBackgroundWarning, m_crBackgroundWarning);
  // The concrete copy constructors copy their own mask model.
  KwMaskedEdit::SetMask(other.GetMask());
}

KwMaskedEdit::~KwMaskedEdit() {
  delete m_pValidator;
  m_pValidator = nullptr;
  m_brBackgroundError.DeleteObject();
  m_brBackgroundWarning.DeleteObject();
  m_brBackgroundFocus.DeleteObject();
  m_brBackground.DeleteObject();
}

bool KwMaskedEdit::SetValidator(KwValidator* pValidator) {
  // The validator replaced goes back to the caller: it is not deleted here.
  m_pValidator = pValidator;
  return true;
}

bool KwMaskedEdit::SetMask(const std::string& /*mask*/) { return false; }

// ---------------------------------------------------------------------------------------------
// Data

int KwMaskedEdit::SetText(const std::string& text) { return m_pModel->SetTextW(KwWiden(text)); }

int KwMaskedEdit::SetTextInput(const KwWString& text) {
  const Alive alive(this);
  m_pModel->SetInputDataW(text.c_str(), 0, 1);
  if (alive) EmptyUndoBuffer();
  return 1;
}

bool KwMaskedEdit::GetDataNumValue(double& value) {
  const Alive alive(this);
  OnValidate();
  if (!alive) return true;  // the validator's host deleted the control: value stays as it was
  const KwWString withPrompt = GetInputDataW(true);
  const KwWString entered = GetInputDataW(false);
  // The data without prompts is the data with prompts less every prompt symbol, so walking the
  // two side by side tells each prompt apart from an entered character. Prompts read as blanks:
  // the value is the same whichever prompt symbol the control shows.
  std::string number;
  number.reserve(withPrompt.size());
  std::size_t next = 0;
  for (WCHAR c : withPrompt) {
    if (next < entered.size() && entered[next] == c) {
      // Anything beyond ASCII is no part of a number: DEL ends it there.
      number += c < 0x80 ? static_cast<char>(c) : '\x7F';
      ++next;
    } else {
      number += ' ';
    }
  }
  value = ParseNumber(number);
  return true;
}

void KwMaskedEdit::ValidationError() { ::MessageBeep(MB_ICONEXCLAMATION); }

void KwMaskedEdit::DeleteContents() {
  if (::IsWindow(GetSafeHwnd())) SetWindowText("");
}

void KwMaskedEdit::Update(int pos) {
  if (!::IsWindow(m_hWnd)) return;
  const Alive alive(this);
  BorrowedText borrowed(alive, m_strShown, m_bShownInUse);
  KwWString& shown = borrowed.text();
  m_pModel->ShowMaskInto(shown);
  // The edit control moves its caret on each rewrite and each caret placement, and a visible
  // caret is drawn away and back every time; hidden, it is drawn once when the edit is done.
  // Without the focus the window has no caret and nothing is hidden.
  if (m_nEditAction != 0 && !m_bCaretHidden) m_bCaretHidden = ::HideCaret(m_hWnd) != FALSE;
  // The history notes the text before the parent hears of it: a text the host sets from inside
  // those notifications is then noted after this one, as the newer.
  NoteRewrite(shown);
  ++m_nUpdateDepth;
  // An edit control that cannot take the text (out of memory, or this control's own message
  // handling out of memory inside) refuses it: the edit under way is refused whole.
  const BOOL taken = ::SetWindowTextW(m_hWnd, shown.c_str());
  if (!alive) return;  // deleted by the parent while it heard of the text
  if (!taken && m_nEditAction != 0) m_bOutOfMemory = true;
  --m_nUpdateDepth;
  if (pos >= 0 && m_nCaretDeferred == 0) UpdateInsertionPointForward(pos);
}

LRESULT KwMaskedEdit::DefaultUnmasked() {
  const Alive alive(this);
  const LRESULT result = Default();
  if (!alive) return result;
  if (!WithoutMask(*this) && GetWindowTextW() != m_pModel->ShowMaskW()) Update(-1);
  return result;
}

LRESULT KwMaskedEdit::TakeOwnText(bool notify) {
  const Alive alive(this);
  const int depth = std::exchange(m_nUpdateDepth, 0);
  const LRESULT result = Default();
  if (alive && notify) {
    NotifyParent(EN_UPDATE);
    if (alive && m_bNotifyChange != 0) NotifyParent(EN_CHANGE);
  }
  if (alive) m_nUpdateDepth = depth;
  return result;
}

void KwMaskedEdit::PreSubclassWindow() { CEdit::PreSubclassWindow(); }

// ---------------------------------------------------------------------------------------------
// Keys, characters, focus and the mouse

int KwMaskedEdit::GetSelection(int& start, int& end) const {
  DWORD s = 0;
  DWORD e = 0;
  CallOwnProc(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
  if (m_nEditAction != 0 && !m_bEditCaretKnown) {
    // The first look at the selection during an edit is the caret the history goes back to.
    m_bEditCaretKnown = true;
    m_nEditCaret = start;
    m_bEditSelection = start != end;
  }
  return end - start;
}

int KwMaskedEdit::DeleteBackward(int start, int end, int* pLast) {
  const Alive alive(this);
  for (int first = start - 1, last = end; first >= 0; --first, --last) {
    const int deleted = DeleteRange(first, last);
    if (!alive) return -1;  // the rewrite's notification deleted the control
    if (deleted != 0) {
      if (pLast != nullptr) *pLast = last;
      return first;
    }
  }
  return -1;
}

bool KwMaskedEdit::IsReadOnly() const {
  return ::IsWindow(m_hWnd) && (GetStyle() & ES_READONLY) != 0;
}

bool KwMaskedEdit::PassReadOnly(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!IsReadOnly()) return false;
  switch (message) {
    case WM_UNDO:
    case EM_UNDO:
      // Not even the edit control's own undo.
      result = FALSE;
      return true;
    case WM_CHAR:
      // Printable characters, Backspace, Ctrl+V, Ctrl+X, Ctrl+Y and Ctrl+Z; Ctrl+C copies.
      if (wParam < 0x20 && wParam != VK_BACK && wParam != 0x16 && wParam != 0x18 &&
          wParam != 0x19 && wParam != 0x1A)
        return false;
      break;
    case WM_KEYDOWN:
      if (wParam != VK_DELETE) return false;
      break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
      break;
    default:
      return false;
  }
  result = DefWindowProc(message, wParam, lParam);
  return true;
}

bool KwMaskedEdit::IsFull() {
  const int length = GetWindowTextLengthW();
  return GetNextInputLocation(0) < length && GetEmptyInputLocation(0) >= length;
}

bool KwMaskedEdit::IsPromptSymbolAllowed(WCHAR symbol) {
  // A surrogate would be half a character in every empty position.
  return symbol != 0 && symbol != '\r' && symbol != '\n' && symbol != 0x7F &&
         !KwCharKind::IsSurrogate(symbol);
}

void KwMaskedEdit::TabToNextControl() {
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent == nullptr) return;
  HWND hNext = ::GetNextDlgTabItem(hParent, m_hWnd, FALSE);
  if (hNext != nullptr && hNext != m_hWnd) {
    if (CWnd* pNext = CWnd::FromHandle(hNext)) pNext->SetFocus();
  }
}

void KwMaskedEdit::SetCaret(int pos) {
  m_bCaretSet = true;
  m_nCaretSet = pos;
  CallOwnProc(EM_SETSEL, static_cast<WPARAM>(pos), static_cast<LPARAM>(pos));
  CallOwnProc(EM_SCROLLCARET);
}

void KwMaskedEdit::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
  // Shift matters to the caret keys only, so only they ask for it (held, it extends the
  // selection and the caret is left where the edit control put it). Shift is read as it came
  // with this key (GetKeyState), as the edit control reads it, not as the keyboard holds it now:
  // a Shift+Left typed faster than the loop takes keys out, its Shift released before the Left
  // is handled, selects here as in the edit control. (Reading the keyboard's state at handling
  // time, as first specified, moved the caret and dropped the selection the edit control made.)
  bool shift = false;
  int start = 0;
  int end = 0;
  const Alive alive(this);
  switch (nChar) {
    case VK_DELETE:
      // Never reaches the edit control, whatever modifier is held: Shift+Delete deletes without
      // copying. A refused Delete is silent.
      GetSelection(start, end);
      if (start == end) end = start + 1;
      if (DeleteRange(start, end) != 0 && alive) Update(start);
      break;
    case VK_INSERT:
      // Ctrl+Insert and Shift+Insert toggle as well; they neither copy nor paste.
      m_bInsertMode = !m_bInsertMode;
      break;
    case VK_HOME:
    case VK_RIGHT:
    case VK_DOWN:
      shift = ::GetKeyState(VK_SHIFT) < 0;
      Default();
      if (!shift && alive) {
        GetSelection(start, end);
        UpdateInsertionPointForward(start);
      }
      break;
    case VK_LEFT:
    case VK_UP:
      shift = ::GetKeyState(VK_SHIFT) < 0;
      Default();
      if (!shift && alive) {
        GetSelection(start, end);
        UpdateInsertionPointBackward(start);
      }
      break;
    default:
      // End and every other key are the edit control's alone.
      Default();
      break;
  }
}

void KwMaskedEdit::OnChar(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  // The model's rewrites and the refusal's beep may reach the host, which may delete the
  // control: each step below goes on only while it lives.
  const Alive alive(this);

  if (nChar >= 0x20) {
    // WM_CHAR brings UTF-16 units: a character beyond the Basic Multilingual Plane comes as two,
    // and is handled when its second has come, whole. A surrogate without its partner is no
    // character: refused as a character of the wrong kind.
    const char32_t held = m_chHeldHigh;
    const KwSurrogateJoiner::Result joined = m_joiner.Take(static_cast<char16_t>(nChar & 0xFFFF));
    m_chHeldHigh = m_joiner.Holding() ? static_cast<WCHAR>(nChar & 0xFFFF) : WCHAR(0);
    if (joined.droppedHigh || joined.refused) {
      NoteRejection(RejectWrongKind, start, joined.refused ? nChar & 0xFFFF : held);
      ValidationError();
      if (!alive) return;
      if (joined.refused) {
        UpdateInsertionPointForward(start);
        return;
      }
    }
    if (joined.units == 0) return;  // the first half of a pair: the second completes it
    const char32_t ch = joined.ch;
    int r;
    if (start == end) {
      if (IsInputData(start) == 0) {
        int reason = RejectNoInputPosition;
        if (WithoutMask(*this)) {
          reason = RejectNoMask;
        } else if (start >= GetWindowTextLengthW() && IsFull()) {
          reason = RejectFull;  // typed on past the last position of a full control
        }
        NoteRejection(reason, start, ch);
        ValidationError();
        if (alive) UpdateInsertionPointForward(start);
        return;
      }
      // The model's own rewrites leave the caret alone: the Update below places it.
      ++m_nCaretDeferred;
      r = m_bInsertMode ? m_pModel->InsertAtW(start, ch) : m_pModel->SetAtW(start, ch);
      if (!alive) return;
      --m_nCaretDeferred;
    } else {
      const int deleted = DeleteRange(start, end);
      if (!alive) return;
      if (deleted == 0) {
        NoteRejection(WithoutMask(*this) ? RejectNoMask : RejectNoInputPosition, start, ch);
        ValidationError();
        if (alive) UpdateInsertionPointForward(start);
        return;
      }
      // With a selection the character is inserted in overwrite mode too.
      ++m_nCaretDeferred;
      r = m_pModel->InsertAtW(start, ch);
      if (!alive) return;
      --m_nCaretDeferred;
    }
    if (r >= 0) {
      Update(r + KwCharKind::Utf16Length(ch));
    } else {
      // The model may have told the reason already (a full field); otherwise the kind refused.
      NoteRejection(WithoutMask(*this) ? RejectNoMask : RejectWrongKind, start, ch);
      ValidationError();
      if (alive) Update(start);
    }
    return;
  }

  if (nChar == VK_BACK) {
    if (start != end && DeleteRange(start, end) != 0) {
      if (alive) Update(start);
      return;
    }
    if (!alive) return;
    const int first = DeleteBackward(start, end, nullptr);
    if (first >= 0) Update(first);  // nothing found: silent
    return;
  }

  // Tab, Enter, Escape, the clipboard shortcuts and the other control characters.
  Default();
}

void KwMaskedEdit::OnSetFocus(CWnd* /*pOldWnd*/) {
  const Alive alive(this);
  Default();
  if (!alive) return;  // deleted by the parent on EN_SETFOCUS
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  // The whole text selected (as Tab leaves it), or no text at all: caret to the first input.
  if (start == 0 && end == GetWindowTextLengthW()) UpdateInsertionPointForward(0);
}

void KwMaskedEdit::OnKillFocus(CWnd* /*pNewWnd*/) {
  // Leaving the control neither validates nor reformats it. Half a character typed is dropped.
  m_joiner.Reset();
  m_chHeldHigh = 0;
  Default();
}

LRESULT KwMaskedEdit::OnReplaceSel(WPARAM /*wParam*/, LPARAM lParam) {
  // A host's EM_REPLACESEL: the text the edit control would make of it (the selection replaced)
  // is taken as a foreign text, through the model, as a host's WM_SETTEXT is; the edit control
  // left to itself would change the window behind the model's back. Its notifications are the
  // foreign text's; it is an undo step of its own, whatever wParam asks; the caret goes to the
  // first empty input position from the selection's start, as after a paste. Without a mask the
  // edit control replaces the selection itself.
  if (WithoutMask(*this)) return DefaultUnmasked();
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  KwWString text = GetWindowTextW();
  const std::size_t from = std::min(static_cast<std::size_t>(std::max(start, 0)), text.size());
  const std::size_t to =
      std::min(std::max(static_cast<std::size_t>(std::max(end, 0)), from), text.size());
  const auto* inserted = reinterpret_cast<const WCHAR*>(lParam);
  text.replace(from, to - from, inserted != nullptr ? inserted : KW_W(""),
               inserted != nullptr ? KwWideLength(inserted) : 0);
  const Alive alive(this);
  ::SendMessageW(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (alive) SetCaret(GetEmptyInputLocation(static_cast<int>(from)));
  return 0;
}

LRESULT KwMaskedEdit::OnImeStartComposition(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  // The composition is shown where its characters will go: the caret moves on to the next input
  // position first, as for a typed character. With none left the composition is refused (the
  // reason, the beep, KWN_REJECTED); its characters, should they come, are refused one by one.
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  if (start == end && !WithoutMask(*this) && !IsReadOnly()) {
    const int next = GetNextInputLocation(start);
    if (next < GetWindowTextLengthW() && IsInputData(next) != 0) {
      if (next != start) SetCaret(next);
    } else {
      const Alive alive(this);
      RefuseKey(IsFull() ? RejectFull : RejectNoInputPosition, start, 0);
      if (!alive) return 0;
    }
  }
  return Default();
}

void KwMaskedEdit::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
  if (::GetFocus() != m_hWnd && IsInputEmpty() != 0) {
    // An empty control clicked into gets its caret on the first input position, wherever the
    // click was; the click itself is not passed on.
    const Alive alive(this);
    SetFocus();
    if (alive) UpdateInsertionPointForward(0);
    return;
  }
  Default();
}

int KwMaskedEdit::NotifyParent(UINT nCode) {
  // The parent's handle is all a notification needs (no framework object for it).
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent == nullptr) return FALSE;
  ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID() & 0xFFFF, nCode & 0xFFFF),
                 reinterpret_cast<LPARAM>(m_hWnd));
  return TRUE;
}

void KwMaskedEdit::UpdateInsertionPointBackward(int pos) {
  // No auto-tab backwards.
  SetCaret(GetPreviousInputLocation(pos));
}

// ---------------------------------------------------------------------------------------------
// Clipboard bodies shared by the concrete controls

LRESULT KwMaskedEdit::OnCut(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  const Alive alive(this);
  Default();
  if (!alive) return 0;
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  DeleteRange(start, end);
  if (alive) SetCaret(start);
  return 0;
}

LRESULT KwMaskedEdit::OnCopy(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  // The edit control copies the selected display text, literals and prompts included.
  Default();
  return 0;
}

LRESULT KwMaskedEdit::OnPaste(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  PasteIntoPositions(false);
  return 0;
}

void KwMaskedEdit::PasteIntoPositions(bool rewrite) {
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  if (!ClipboardHasText()) NoteRejection(RejectClipboard, start, 0);
  const Alive alive(this);
  Default();
  if (!alive) return;
  // The pasted window text is packed into the input positions from the first one.
  const KwWString text = GetWindowTextW();
  m_pModel->SetInputDataW(text.c_str(), 0, 0);
  if (rewrite && alive) Update(-1);
  if (alive) SetCaret(GetEmptyInputLocation(start));
}

LRESULT KwMaskedEdit::OnClear(WPARAM /*wParam*/, LPARAM /*lParam*/) { return Default(); }
