// KwCharacterMaskedEdit: the character mask, its positions model, the editing operations the
// shared handling calls, and the text and clipboard handlers.
//
// Every position argument and result is a character index into the window text, which is also
// the index into m_vecSymbols: literals count.
#include "character/KwCharacterMaskedEdit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/KwLocaleSeparators.h"
#include "core/KwText.h"

IMPLEMENT_DYNAMIC(KwCharacterMaskedEdit, KwMaskedEdit)

// clang-format off
BEGIN_MESSAGE_MAP(KwCharacterMaskedEdit, KwMaskedEdit)
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  KW_ON_TEXT_AND_CLIPBOARD_MESSAGES()
END_MESSAGE_MAP()
// clang-format on

namespace {

// The position a mask character makes, with the character it holds while empty.
KwMaskSymbol SymbolFor(WCHAR maskChar, WCHAR prompt) {
  switch (maskChar) {
    case '#':
      return KwMaskSymbol(KindDigit, prompt);
    case 'A':
      return KwMaskSymbol(KindAlphaNumeric, prompt);
    case '?':
      return KwMaskSymbol(KindAlpha, prompt);
    case '>':
      return KwMaskSymbol(KindUpperAlpha, prompt);
    case '<':
      return KwMaskSymbol(KindLowerAlpha, prompt);
    case '&':
      return KwMaskSymbol(KindAnyChar, prompt);
    case '.':
      return KwMaskSymbol(KindDecimalSeparator, g_chDecimalSep);
    case ',':
      return KwMaskSymbol(KindThousandSeparator, g_chThousandSep);
    case ':':
      return KwMaskSymbol(KindTimeSeparator, g_chTimeSep);
    case '/':
      return KwMaskSymbol(KindDateSeparator, g_chDateSep);
    default:
      return KwMaskSymbol(KindLiteral, maskChar);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction

KwCharacterMaskedEdit::KwCharacterMaskedEdit(const char* mask)
    : KwMaskedEdit(mask), m_chPromptSymbol(' ') {
  m_pModel = this;
  if (mask != nullptr && *mask != '\0') SetMaskW(KwWiden(mask));
}

KwCharacterMaskedEdit::KwCharacterMaskedEdit(const WCHAR* mask)
    : KwMaskedEdit(""), m_chPromptSymbol(' ') {
  m_pModel = this;
  if (mask != nullptr && *mask != 0) SetMaskW(KwWString(mask));
}

KwCharacterMaskedEdit::KwCharacterMaskedEdit(const KwCharacterMaskedEdit& other)
    : KwMaskedEdit(other), KwMaskedEditModel(other), m_chPromptSymbol(other.m_chPromptSymbol) {
  m_pModel = this;
  m_vecSymbols.reserve(other.m_vecSymbols.size());
  for (const KwMaskSymbol* symbol : other.m_vecSymbols)
    m_vecSymbols.push_back(new KwMaskSymbol(*symbol));
}

KwCharacterMaskedEdit::~KwCharacterMaskedEdit() {
  DeleteContents();
  m_vecSymbols.clear();
  m_vecSymbols.shrink_to_fit();
}

BOOL KwCharacterMaskedEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  const BOOL created = CEdit::Create(dwStyle, rect, pParentWnd, nID);
  if (created && HasPositions()) Update(0);
  return created;
}

void KwCharacterMaskedEdit::PreSubclassWindow() {
  KwMaskedEdit::PreSubclassWindow();
  // A dialog's edit control subclassed after SetMask shows the mask at once.
  if (HasPositions()) Update(0);
}

// ---------------------------------------------------------------------------------------------
// The mask

bool KwCharacterMaskedEdit::SetMask(const std::string& mask) {
  return SetMaskW(KwWiden(mask.c_str()));
}

bool KwCharacterMaskedEdit::SetMaskW(const KwWString& mask) {
  const Alive alive(this);
  DeleteContents();
  if (!alive) return false;  // emptying a plain control's window reached a host that deleted it
  // The mask ends at a NUL, as one given as a C string does: a NUL position would cut the
  // window text short of the display text.
  const std::size_t length = std::min(mask.size(), KwWideLength(mask.c_str()));
  for (std::size_t i = 0; i < length; ++i) {
    if (mask[i] == '\\') {
      if (i + 1 < length) {
        ++i;
        m_vecSymbols.push_back(new KwMaskSymbol(KindEscapedLiteral, mask[i]));
      } else {
        // Nothing left to escape: the backslash stands for itself, so GetMask gives it back.
        m_vecSymbols.push_back(new KwMaskSymbol(KindLiteral, '\\'));
      }
      continue;
    }
    m_vecSymbols.push_back(new KwMaskSymbol(SymbolFor(mask[i], m_chPromptSymbol)));
  }
  // Every entered character is gone: the new input positions start empty, a new document.
  EmptyUndoBuffer();
  Update(0);
  return true;
}

std::string KwCharacterMaskedEdit::GetMask() const { return KwNarrow(GetMaskW()); }

KwWString KwCharacterMaskedEdit::GetMaskW() const {
  KwWString mask;
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    switch (symbol->m_nKind) {
      case KindDecimalSeparator:
        mask += WCHAR('.');
        break;
      case KindThousandSeparator:
        mask += WCHAR(',');
        break;
      case KindTimeSeparator:
        mask += WCHAR(':');
        break;
      case KindDateSeparator:
        mask += WCHAR('/');
        break;
      case KindDigit:
        mask += WCHAR('#');
        break;
      case KindAlphaNumeric:
        mask += WCHAR('A');
        break;
      case KindAlpha:
        mask += WCHAR('?');
        break;
      case KindUpperAlpha:
        mask += WCHAR('>');
        break;
      case KindLowerAlpha:
        mask += WCHAR('<');
        break;
      case KindAnyChar:
        mask += WCHAR('&');
        break;
      case KindEscapedLiteral:
        mask += WCHAR('\\');
        mask += symbol->m_chValue;
        break;
      default:
        mask += symbol->m_chValue;
        break;
    }
  }
  return mask;
}

std::string KwCharacterMaskedEdit::ShowMask() const { return KwNarrow(ShowMaskW()); }

KwWString KwCharacterMaskedEdit::ShowMaskW() const {
  KwWString text;
  ShowMaskInto(text);
  return text;
}

void KwCharacterMaskedEdit::ShowMaskInto(KwWString& text) const {
  // Sized once and written in place: the display text is made twice on most keystrokes.
  text.resize(m_vecSymbols.size());
  WCHAR* out = &text[0];
  for (const KwMaskSymbol* symbol : m_vecSymbols) *out++ = symbol->m_chValue;
}

void KwCharacterMaskedEdit::SetPromptSymbol(char symbol) { SetPromptSymbolW(KwWidenChar(symbol)); }

char KwCharacterMaskedEdit::GetPromptSymbol() const { return KwNarrowChar(m_chPromptSymbol); }

void KwCharacterMaskedEdit::SetPromptSymbolW(WCHAR symbol) {
  if (!HasPositions()) {
    // A plain edit control has no prompt to show: keep the symbol for a later mask and leave
    // what was typed alone.
    if (IsPromptSymbolAllowed(symbol)) m_chPromptSymbol = symbol;
    return;
  }
  // A character the data holds would read as an empty position from then on: refused.
  bool allowed = IsPromptSymbolAllowed(symbol);
  for (const KwMaskSymbol* s : m_vecSymbols) {
    if (s->IsInput() && s->m_chValue != m_chPromptSymbol && s->m_chValue == symbol) allowed = false;
  }
  if (allowed) {
    for (KwMaskSymbol* s : m_vecSymbols) {
      if (s->IsInput() && s->m_chValue == m_chPromptSymbol) s->m_chValue = symbol;
    }
    m_chPromptSymbol = symbol;
  }
  Update(-1);
}

void KwCharacterMaskedEdit::DeleteContents() {
  if (HasPositions()) {
    for (KwMaskSymbol* symbol : m_vecSymbols) delete symbol;
    m_vecSymbols.clear();
    return;
  }
  if (::IsWindow(m_hWnd)) SetWindowText("");
}

int KwCharacterMaskedEdit::SetTextW(const KwWString& text) { return SetTextInput(text); }

// ---------------------------------------------------------------------------------------------
// Data

std::string KwCharacterMaskedEdit::GetInputData(bool withPrompt) const {
  return KwNarrow(GetInputDataW(withPrompt));
}

std::string KwCharacterMaskedEdit::GetInputData(const char* text, bool withPrompt) const {
  return KwNarrow(GetInputDataW(KwWiden(text).c_str(), withPrompt));
}

KwWString KwCharacterMaskedEdit::GetInputDataW(bool withPrompt) const {
  if (!HasPositions()) return GetWindowTextW();
  // Sized once for every position and cut to what was written: asked on every keystroke.
  KwWString data(m_vecSymbols.size(), WCHAR(0));
  WCHAR* const begin = &data[0];
  WCHAR* out = begin;
  const WCHAR prompt = m_chPromptSymbol;
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (!symbol->IsInput()) continue;
    if (withPrompt || symbol->m_chValue != prompt) *out++ = symbol->m_chValue;
  }
  data.resize(static_cast<std::size_t>(out - begin));
  return data;
}

KwWString KwCharacterMaskedEdit::GetInputDataW(const WCHAR* text, bool /*withPrompt*/) const {
  const KwWString t = text != nullptr ? KwWString(text) : KwWString();
  if (!HasPositions()) return t;
  const int length = static_cast<int>(t.size());
  bool runOpen = false;
  int runStart = 0;
  KwWString literals;
  // A run of literals is cut out where it stands exactly at its place and an input position
  // follows it within the text's length; anything else is left for SetInputData to skip. The
  // runs are cut by copying what lies between them once: erasing each in place would move the
  // rest of the text per run, quadratic in a long mask.
  KwWString data;
  std::size_t copied = 0;
  for (int i = 0; i < PositionCount(); ++i) {
    const KwMaskSymbol* symbol = m_vecSymbols[static_cast<std::size_t>(i)];
    if (!symbol->IsInput()) {
      if (!runOpen) {
        runOpen = true;
        runStart = i;
        literals.clear();
      }
      literals += symbol->m_chValue;
    } else if (runOpen) {
      runOpen = false;
      // The run starts before this input position, which lies within the text.
      const std::size_t at = static_cast<std::size_t>(runStart);
      if (t.compare(at, literals.size(), literals) == 0) {
        data.append(t, copied, at - copied);
        copied = at + literals.size();
      }
    }
    if (i + 1 >= length) break;
  }
  data.append(t, copied, KwWString::npos);
  return data;
}

int KwCharacterMaskedEdit::SetInputData(const char* data, int keep, int raw) {
  return SetInputDataW(KwWiden(data).c_str(), keep, raw);
}

int KwCharacterMaskedEdit::SetInputDataW(const WCHAR* data, int keep, int raw) {
  static const WCHAR empty[1] = {0};
  const WCHAR* const given = data != nullptr ? data : empty;
  if (!HasPositions()) {
    // A plain edit control: the first keep characters of its text followed by the data.
    KwWString text =
        keep > 0 ? GetWindowTextW().substr(0, static_cast<std::size_t>(keep)) : KwWString();
    text += given;
    if (::IsWindow(m_hWnd)) SetWindowTextW(text);
    return 1;
  }

  // What goes into the positions: the raw data alone is taken as it stands (every keystroke).
  // One unit goes into one position: a surrogate, half a character, fits none, so a character
  // beyond the Basic Multilingual Plane is refused whole, each of its halves in turn.
  const WCHAR prompt = m_chPromptSymbol;
  KwWString source;
  const WCHAR* from = given;
  std::size_t size = KwWideLength(given);
  if (keep > 0 || raw == 0) {
    if (keep > 0) source = GetInputDataW(true).substr(0, static_cast<std::size_t>(keep));
    if (raw != 0) {
      source.append(given, size);
    } else {
      for (std::size_t i = 0; i < size; ++i) {
        if (given[i] != prompt) source += given[i];
      }
    }
    from = source.data();
    size = source.size();
  }

  int result = 1;
  std::size_t next = 0;
  // Noting a refusal leaves the positions alone: walked through a local pointer.
  KwMaskSymbol* const* symbols = m_vecSymbols.data();
  const int count = PositionCount();
  for (int i = 0; i < count; ++i) {
    KwMaskSymbol* symbol = symbols[i];
    if (!symbol->IsInput()) continue;
    WCHAR stored = prompt;
    while (next < size) {
      const WCHAR c = from[next++];
      // The prompt keeps a position empty as it is: raised or lowered, a letter prompt would
      // turn into an entered character.
      if (c == prompt) break;
      if (symbol->AcceptsChar(c)) {
        stored = symbol->TransformChar(c);
        break;
      }
      // A literal of the mask in a pasted display text is passed over, not refused.
      if (raw != 0 || !IsMaskLiteral(c)) NoteRefusedData(RejectWrongKind, i, c);
      result = 0;
    }
    symbol->m_chValue = stored;
  }
  // What is left over found no position (a paste longer than the mask). The rest of a pasted
  // display text (the literals after the last position) is no refusal.
  for (; next < size; ++next) {
    const WCHAR c = from[next];
    if (c == prompt || (raw == 0 && IsMaskLiteral(c))) continue;
    NoteRefusedData(RejectFull, PositionCount(), c);
    break;
  }
  Update(0);
  return result;
}

bool KwCharacterMaskedEdit::IsMaskLiteral(WCHAR c) const {
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (!symbol->IsInput() && symbol->m_chValue == c) return true;
  }
  return false;
}

int KwCharacterMaskedEdit::IsInputData(int pos) const {
  if (!HasPositions()) return 1;
  if (pos < 0 || pos >= PositionCount()) return 0;
  return m_vecSymbols[static_cast<std::size_t>(pos)]->IsInput() ? 1 : 0;
}

int KwCharacterMaskedEdit::InsertAt(int pos, char ch) { return InsertAtW(pos, KwWidenChar(ch)); }

int KwCharacterMaskedEdit::SetAt(int pos, char ch) { return SetAtW(pos, KwWidenChar(ch)); }

int KwCharacterMaskedEdit::InsertAtW(int pos, char32_t ch) {
  // A position holds one UTF-16 unit: no position takes a character of two.
  if (!HasPositions() || ch > 0xFFFF) return -1;
  // The input data with ch in front of the first input position at or after pos (at index
  // `at` of the data), written in place; without ch it is the data as it was.
  const int count = PositionCount();
  const Alive alive(this);
  BorrowedText borrowed(alive, m_strInsert, m_bInsertInUse);
  KwWString& shifted = borrowed.text();
  shifted.resize(static_cast<std::size_t>(count) + 1);
  WCHAR* const begin = &shifted[0];
  WCHAR* out = begin;
  int result = -1;
  std::size_t at = 0;
  const KwMaskSymbol* const* symbols = m_vecSymbols.data();
  for (int i = 0; i < count; ++i) {
    const KwMaskSymbol* symbol = symbols[i];
    if (!symbol->IsInput()) continue;
    if (result < 0 && i >= pos) {
      at = static_cast<std::size_t>(out - begin);
      *out++ = static_cast<WCHAR>(ch);
      result = i;
    }
    *out++ = symbol->m_chValue;
  }
  shifted.resize(static_cast<std::size_t>(out - begin));
  if (SetInputDataW(shifted.c_str(), 0, 1) == 0) {
    if (!alive) return -1;
    if (result >= 0) shifted.erase(at, 1);  // the data as it was
    SetInputDataW(shifted.c_str(), 0, 1);
    return -1;
  }
  return result;
}

int KwCharacterMaskedEdit::SetAtW(int pos, char32_t ch) {
  if (pos < 0 || pos >= PositionCount()) return pos;
  KwMaskSymbol* symbol = m_vecSymbols[static_cast<std::size_t>(pos)];
  if (!symbol->IsInput()) return pos;
  if (ch > 0xFFFF) return -1;
  const WCHAR unit = static_cast<WCHAR>(ch);
  if (unit == m_chPromptSymbol) {
    symbol->m_chValue = unit;
    return pos;
  }
  if (!symbol->AcceptsChar(unit)) return -1;
  symbol->m_chValue = symbol->TransformChar(unit);
  return pos;
}

int KwCharacterMaskedEdit::DeleteRange(int start, int end) {
  // Without a mask nothing is deleted here; the edit control does its own deleting.
  if (!HasPositions()) return 0;
  KwWString remaining;
  int count = 0;
  for (int i = 0; i < PositionCount(); ++i) {
    const KwMaskSymbol* symbol = m_vecSymbols[static_cast<std::size_t>(i)];
    if (!symbol->IsInput()) continue;
    if (i >= start && i < end) {
      ++count;
    } else {
      remaining += symbol->m_chValue;
    }
  }
  // The following input moves left; what a position refuses on the way is lost.
  SetInputDataW(remaining.c_str(), 0, 1);
  return count;
}

// ---------------------------------------------------------------------------------------------
// Locations and the caret

int KwCharacterMaskedEdit::GetNextInputLocation(int pos) {
  const int n = PositionCount();
  for (int i = pos > 0 ? pos : 0; i < n; ++i) {
    if (m_vecSymbols[static_cast<std::size_t>(i)]->IsInput()) return i;
  }
  return n;
}

int KwCharacterMaskedEdit::GetPreviousInputLocation(int pos) {
  if (pos < 0) return 0;
  const int n = PositionCount();
  for (int i = pos < n ? pos : n - 1; i >= 0; --i) {
    if (m_vecSymbols[static_cast<std::size_t>(i)]->IsInput()) return i;
  }
  return GetNextInputLocation(pos);
}

int KwCharacterMaskedEdit::GetEmptyInputLocation(int pos) {
  const int n = PositionCount();
  for (int i = pos > 0 ? pos : 0; i < n; ++i) {
    const KwMaskSymbol* symbol = m_vecSymbols[static_cast<std::size_t>(i)];
    if (symbol->IsInput() && symbol->m_chValue == m_chPromptSymbol) return i;
  }
  return n;
}

void KwCharacterMaskedEdit::UpdateInsertionPointForward(int pos) {
  const int p = GetNextInputLocation(pos);
  if (m_bAutoTab && p == PositionCount()) {
    TabToNextControl();  // nothing left to fill here
    return;
  }
  SetCaret(p);
}

void KwCharacterMaskedEdit::UpdateInsertionPointBackward(int pos) {
  KwMaskedEdit::UpdateInsertionPointBackward(pos);
}

void KwCharacterMaskedEdit::EmptyData(int keepMask) {
  const Alive alive(this);
  if (!HasPositions()) {
    DeleteContents();
    if (alive) EmptyUndoBuffer();
    return;
  }
  if (keepMask != 0) {
    for (KwMaskSymbol* symbol : m_vecSymbols) {
      if (symbol->IsInput()) symbol->m_chValue = m_chPromptSymbol;
    }
  } else {
    DeleteContents();
  }
  Update(0);
  if (alive) EmptyUndoBuffer();
}

int KwCharacterMaskedEdit::IsInputEmpty() {
  if (!HasPositions()) return GetWindowTextLengthW() == 0 ? 1 : 0;
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (symbol->IsInput() && symbol->m_chValue != m_chPromptSymbol) return 0;
  }
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Keys without a mask

void KwCharacterMaskedEdit::DefaultWithoutMask() {
  // The edit control edits by itself; the selection it starts from is read first, as every
  // edit of the base reads it, so that the history knows the caret to go back to.
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  DefaultUnmasked();
}

void KwCharacterMaskedEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!HasPositions()) {
    DefaultWithoutMask();
    return;
  }
  KwMaskedEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void KwCharacterMaskedEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!HasPositions()) {
    DefaultWithoutMask();
    return;
  }
  KwMaskedEdit::OnChar(nChar, nRepCnt, nFlags);
}

// ---------------------------------------------------------------------------------------------
// Text and clipboard messages

LRESULT KwCharacterMaskedEdit::OnSetText(WPARAM /*wParam*/, LPARAM lParam) {
  if (!HasPositions()) return Default();
  // The control's own display text, written by Update.
  if (m_nUpdateDepth > 0) return TakeOwnText(true);
  // A text from outside: its input characters go into the model, which shows them; the text
  // itself never becomes the window text.
  const Alive alive(this);
  const int notifyChange = std::exchange(m_bNotifyChange, 0);
  // A Unicode window: the text comes in UTF-16 (an A sender's converted by the system).
  const KwWString data = GetInputDataW(reinterpret_cast<const WCHAR*>(lParam), true);
  SetInputDataW(data.c_str(), 0, 1);
  if (alive) m_bNotifyChange = notifyChange;
  return TRUE;
}

LRESULT KwCharacterMaskedEdit::OnCut(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (!HasPositions()) return DefaultUnmasked();
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  // For a cut the edit control puts the selected display text on the clipboard.
  const Alive alive(this);
  Default();
  if (!alive) return 0;
  DeleteRange(start, end);
  if (alive) Update(start);
  return 0;
}

LRESULT KwCharacterMaskedEdit::OnPaste(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (!HasPositions()) return DefaultUnmasked();
  PasteIntoPositions(true);
  return 0;
}

LRESULT KwCharacterMaskedEdit::OnClear(WPARAM wParam, LPARAM lParam) {
  // One handler for cut and clear.
  return KwCharacterMaskedEdit::OnCut(wParam, lParam);
}
