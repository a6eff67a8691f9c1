// The number masked edit control: the number model, its editing operations, data exchange and
// clipboard, and the keys it takes over from the shared handling.
#include "number/KwNumberMaskedEdit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/KwLocaleSeparators.h"
#include "core/KwText.h"

IMPLEMENT_DYNAMIC(KwNumberMaskedEdit, KwMaskedEdit)

BEGIN_MESSAGE_MAP(KwNumberMaskedEdit, KwMaskedEdit)
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDBLCLK()
KW_ON_TEXT_AND_CLIPBOARD_MESSAGES()
END_MESSAGE_MAP()

namespace {

bool IsDecimalDigit(WCHAR c) { return c >= '0' && c <= '9'; }

// The spaces a thousands separator may be written with, and the apostrophes.
bool IsSpaceSeparator(WCHAR c) { return c == ' ' || c == 0x00A0 || c == 0x202F; }
bool IsApostropheSeparator(WCHAR c) { return c == '\'' || c == 0x2019; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction

KwNumberMaskedEdit::KwNumberMaskedEdit(const char* mask) : KwNumberMaskedEdit(KwWiden(mask)) {}

KwNumberMaskedEdit::KwNumberMaskedEdit(const KwWString& mask)
    : KwMaskedEdit(""),
      m_chPromptSymbol(' '),
      m_nMaxIntPos(11),
      m_nMaxDecimalPos(2),
      m_nFirstShown(-1),
      m_nDecimalIndex(0),
      m_chDecimalSep(g_chDecimalSep),
      m_chThousandSep(g_chThousandSep) {
  m_pModel = this;
  // Like the other controls, a mask given here is applied at once.
  if (!mask.empty() && mask[0] != 0) KwNumberMaskedEdit::SetMaskW(mask);
}

KwNumberMaskedEdit::KwNumberMaskedEdit(const KwNumberMaskedEdit& other)
    : KwMaskedEdit(other),
      KwMaskedEditModel(other),
      m_digitSymbol(other.m_digitSymbol),
      m_chPromptSymbol(other.m_chPromptSymbol),
      m_nMaxIntPos(other.m_nMaxIntPos),
      m_nMaxDecimalPos(other.m_nMaxDecimalPos),
      m_nFirstShown(other.m_nFirstShown),
      m_nDecimalIndex(other.m_nDecimalIndex),
      m_chDecimalSep(other.m_chDecimalSep),
      m_chThousandSep(other.m_chThousandSep) {
  m_pModel = this;
  m_vecSymbols.reserve(other.m_vecSymbols.size());
  for (const KwMaskSymbol* symbol : other.m_vecSymbols)
    m_vecSymbols.push_back(new KwMaskSymbol(*symbol));
}

KwNumberMaskedEdit::~KwNumberMaskedEdit() {
  DeleteContents();
  std::vector<KwMaskSymbol*>().swap(m_vecSymbols);
}

BOOL KwNumberMaskedEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  BOOL created = CEdit::Create(dwStyle, rect, pParentWnd, nID);
  if (created && !m_vecSymbols.empty()) Update(0);
  return created;
}

// ---------------------------------------------------------------------------------------------
// Mask and rendering

bool KwNumberMaskedEdit::SetMask(const std::string& mask) { return SetMaskW(KwWiden(mask)); }

bool KwNumberMaskedEdit::SetMaskW(const KwWString& mask) {
  const Alive alive(this);
  DeleteContents();
  if (!alive) return false;  // emptying a plain control's window reached a host that deleted it
  const WCHAR first = mask.empty() ? WCHAR(0) : mask[0];
  if (first == '$') {
    m_digitSymbol.m_nKind = KindCurrency;
    m_chDecimalSep = g_chMonDecimalSep;
    m_chThousandSep = g_chMonThousandSep;
  } else if (first == '%') {
    m_digitSymbol.m_nKind = KindPercent;
    m_chDecimalSep = g_chDecimalSep;
    m_chThousandSep = g_chThousandSep;
  } else {
    // Refused: the control is left without positions and its number is gone, so the window
    // must not go on showing it (Update writes the empty text of a control without positions).
    // The caret stays where the emptied text leaves it, and the history goes with the number.
    // The parent may delete the control when it hears of the empty text.
    const Alive alive(this);
    Update(-1);
    if (alive) EmptyUndoBuffer();
    return false;
  }
  // Counting e as the distance from the decimal point, a thousands position stands at every
  // fourth place left of it.
  for (int e = m_nMaxIntPos; e >= -m_nMaxDecimalPos; --e) {
    if (e == 0) {
      m_vecSymbols.push_back(new KwMaskSymbol(KindDecimalSeparator, m_chPromptSymbol));
      m_nDecimalIndex = PositionCount() - 1;
      m_nFirstShown = m_nDecimalIndex - 1;
    } else if (e > 0 && e % 4 == 0) {
      m_vecSymbols.push_back(new KwMaskSymbol(KindThousandSeparator, m_chThousandSep));
    } else {
      m_vecSymbols.push_back(new KwMaskSymbol(m_digitSymbol.m_nKind, m_chPromptSymbol));
    }
  }
  Update(0);
  if (alive) EmptyUndoBuffer();
  return true;
}

std::string KwNumberMaskedEdit::GetMask() const { return KwNarrow(GetMaskW()); }

KwWString KwNumberMaskedEdit::GetMaskW() const {
  KwWString mask;
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (symbol->m_nKind == KindDecimalSeparator)
      mask += WCHAR('.');
    else if (symbol->m_nKind == KindThousandSeparator)
      mask += WCHAR(',');
    else
      mask += symbol->m_chValue;
  }
  return mask;
}

std::string KwNumberMaskedEdit::ShowMask() const { return KwNarrow(ShowMaskW()); }

KwWString KwNumberMaskedEdit::ShowMaskW() const {
  KwWString shown;
  ShowMaskInto(shown);
  return shown;
}

void KwNumberMaskedEdit::ShowMaskInto(KwWString& shown) const {
  shown.clear();
  for (int i = PositionCount() - 1; i >= 0; --i) {
    const KwMaskSymbol* symbol = m_vecSymbols[i];
    if (symbol->m_nKind == KindThousandSeparator) {
      const WCHAR left = i > 0 ? m_vecSymbols[i - 1]->m_chValue : m_chPromptSymbol;
      if (left == m_chPromptSymbol) continue;
      shown += IsDecimalDigit(left) ? symbol->m_chValue : WCHAR(' ');
    } else if (symbol->m_chValue != m_chPromptSymbol) {
      shown += symbol->m_chValue;
    }
  }
  std::reverse(shown.begin(), shown.end());
}

void KwNumberMaskedEdit::SetPromptSymbol(char symbol) { SetPromptSymbolW(KwWidenChar(symbol)); }

char KwNumberMaskedEdit::GetPromptSymbol() const { return KwNarrowChar(m_chPromptSymbol); }

void KwNumberMaskedEdit::SetPromptSymbolW(WCHAR symbol) {
  // A separator, or a character the number holds, would read as an empty position: refused.
  bool allowed =
      IsPromptSymbolAllowed(symbol) && symbol != m_chDecimalSep && symbol != m_chThousandSep;
  for (const KwMaskSymbol* s : m_vecSymbols) {
    if (s->m_nKind != KindThousandSeparator && s->m_chValue != m_chPromptSymbol &&
        s->m_chValue == symbol)
      allowed = false;
  }
  if (allowed) {
    for (KwMaskSymbol* s : m_vecSymbols) {
      if (s->m_nKind != KindThousandSeparator && s->m_chValue == m_chPromptSymbol)
        s->m_chValue = symbol;
    }
    m_chPromptSymbol = symbol;
  }
  Update(-1);
}

void KwNumberMaskedEdit::DeleteContents() {
  if (m_vecSymbols.empty()) {
    KwMaskedEdit::DeleteContents();
    return;
  }
  for (KwMaskSymbol* symbol : m_vecSymbols) delete symbol;
  m_vecSymbols.clear();
  m_nDecimalIndex = 0;
}

// ---------------------------------------------------------------------------------------------
// The two data forms

std::string KwNumberMaskedEdit::GetInputData(bool withPrompt) const {
  return KwNarrow(GetInputDataW(withPrompt));
}

std::string KwNumberMaskedEdit::GetInputData(const char* text, bool withPrompt) const {
  return KwNarrow(GetInputDataW(KwWiden(text).c_str(), withPrompt));
}

KwWString KwNumberMaskedEdit::GetInputDataW(bool withPrompt) const {
  if (m_vecSymbols.empty()) return GetWindowTextW();
  KwWString data;
  if (!withPrompt) {
    InputDataInto(data);
    return data;
  }
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (symbol->m_nKind == KindThousandSeparator) continue;
    if (symbol->m_chValue == m_chPromptSymbol) {
      data += m_chPromptSymbol;
    } else if (symbol->m_nKind == KindDecimalSeparator) {
      data += WCHAR('.');
    } else {
      data += symbol->m_chValue;
    }
  }
  return data;
}

void KwNumberMaskedEdit::InputDataInto(KwWString& data) const {
  data.clear();
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (symbol->m_nKind == KindThousandSeparator || symbol->m_chValue == m_chPromptSymbol) continue;
    data += symbol->m_nKind == KindDecimalSeparator ? WCHAR('.') : symbol->m_chValue;
  }
}

bool KwNumberMaskedEdit::IsNumberEmpty() const {
  for (const KwMaskSymbol* symbol : m_vecSymbols) {
    if (symbol->m_nKind != KindThousandSeparator && symbol->m_chValue != m_chPromptSymbol)
      return false;
  }
  return true;
}

int KwNumberMaskedEdit::SetInputData(const char* data, int keep, int raw) {
  return SetInputDataW(KwWiden(data).c_str(), keep, raw);
}

int KwNumberMaskedEdit::SetInputDataW(const WCHAR* data, int keep, int raw) {
  static const WCHAR empty[1] = {0};
  if (data == nullptr) data = empty;
  if (m_vecSymbols.empty()) {
    // Without a mask the control is a plain edit control: the text is simply shown.
    if (::IsWindow(GetSafeHwnd())) SetWindowTextW(data);
    return 1;
  }

  const Alive alive(this);
  BorrowedText borrowed(alive, m_strLayout, m_bLayoutInUse);
  KwWString& text = borrowed.text();
  InputDataInto(text);
  if (keep < 0) keep = 0;
  if (static_cast<size_t>(keep) < text.size()) text.resize(static_cast<size_t>(keep));
  int result = 1;
  // Refused characters go before the number is laid out, so that the places counted right of
  // the point are the places filled. A number has one point: the first one given is it; any
  // later one is refused, so that no digit position ever takes a point.
  bool hasPoint = text.find(WCHAR('.')) != KwWString::npos;
  for (const WCHAR* p = data; *p != 0; ++p) {
    if (raw == 0 && *p == m_chPromptSymbol) continue;
    if (*p == '.') {
      if (hasPoint) {
        NoteRefusedData(RejectWrongKind, -1, *p);
        result = 0;
        continue;
      }
      hasPoint = true;
    } else if (!m_digitSymbol.AcceptsChar(*p)) {
      NoteRefusedData(RejectWrongKind, -1, *p);
      result = 0;
      continue;
    }
    text += *p;
  }

  const KwWString::size_type point = text.find(WCHAR('.'));
  int fraction = point == KwWString::npos ? -1 : static_cast<int>(text.size() - point - 1);
  int decimals = m_nMaxDecimalPos;
  int read = static_cast<int>(text.size()) - 1;

  for (int i = PositionCount() - 1; i >= 0; --i) {
    KwMaskSymbol* symbol = m_vecSymbols[i];
    if (symbol->m_nKind == KindThousandSeparator) continue;
    if (decimals > fraction) {
      // A fraction place (or the point) that the text has no character for.
      symbol->m_chValue = m_chPromptSymbol;
      --decimals;
      continue;
    }
    symbol->m_chValue = m_chPromptSymbol;
    while (read >= 0) {
      const WCHAR c = text[static_cast<size_t>(read--)];
      if (!symbol->AcceptsChar(c)) {
        result = 0;
        continue;
      }
      if (symbol->m_nKind == KindDecimalSeparator) {
        symbol->m_chValue = m_chDecimalSep;
        break;
      }
      if (fraction > decimals) {
        // A fraction digit beyond the last place: cut off.
        --fraction;
        continue;
      }
      symbol->m_chValue = symbol->TransformChar(c);
      break;
    }
  }

  if (text.empty()) {
    m_nFirstShown = PositionCount() - m_nMaxDecimalPos - 2;
  } else {
    m_nFirstShown = PositionCount();
    for (int i = 0; i < PositionCount(); ++i) {
      if (IsDataPosition(i) && !IsEmptyPosition(i)) {
        m_nFirstShown = i;
        break;
      }
    }
  }
  if (raw != 0 && HasGap()) {
    // A prompt character in raw data left an empty place inside the number, which the shown
    // text would pass over, so that text indexes no longer matched positions: lay out again
    // what was placed (no prompt in it, so no gap), which also shows it.
    const KwWString placed = GetInputDataW(false);
    SetInputDataW(placed.c_str(), 0, 0);
    return result;
  }
  Update(0);
  return result;
}

int KwNumberMaskedEdit::SetText(const std::string& text) { return SetTextW(KwWiden(text)); }

int KwNumberMaskedEdit::SetTextW(const KwWString& text) {
  const Alive alive(this);
  SetInputDataW(text.c_str(), 0, 0);
  if (alive) EmptyUndoBuffer();
  return 1;
}

KwWString KwNumberMaskedEdit::GetInputDataW(const WCHAR* text, bool /*withPrompt*/) const {
  // The shown form back to the data form: the thousands separators, and the space a thousands
  // place shows next to a sign, are no part of the number; the decimal separator is its point.
  KwWString data;
  if (text == nullptr) return data;
  for (const WCHAR* p = text; *p != 0; ++p) {
    const WCHAR c = *p;
    if (IsGroupSeparator(c) || c == ' ' || c == m_chPromptSymbol) continue;
    data += c == m_chDecimalSep ? WCHAR('.') : c;
  }
  return data;
}

bool KwNumberMaskedEdit::IsGroupSeparator(WCHAR c) const {
  // A thousands separator that is a space is read back from any space a text may carry (the
  // narrow no-break space of one system, the no-break space of another, a space typed); one
  // that is an apostrophe from either apostrophe.
  if (c == m_chThousandSep) return true;
  if (IsSpaceSeparator(m_chThousandSep)) return IsSpaceSeparator(c);
  if (IsApostropheSeparator(m_chThousandSep)) return IsApostropheSeparator(c);
  return false;
}

// ---------------------------------------------------------------------------------------------
// Positions

bool KwNumberMaskedEdit::IsDataPosition(int index) const {
  return index >= 0 && index < PositionCount() &&
         m_vecSymbols[index]->m_nKind != KindThousandSeparator;
}

bool KwNumberMaskedEdit::IsEmptyPosition(int index) const {
  return m_vecSymbols[index]->m_chValue == m_chPromptSymbol;
}

bool KwNumberMaskedEdit::HasGap() const {
  int last = -1;
  for (int i = 0; i < PositionCount(); ++i)
    if (IsDataPosition(i) && !IsEmptyPosition(i)) last = i;
  if (last < 0) return false;
  // The integer part ends at the point: an empty place between its last character and the
  // point is a gap too, even when nothing follows the point.
  const int end = std::max(last, m_nDecimalIndex);
  for (int i = std::max(m_nFirstShown, 0); i < end; ++i)
    if (IsDataPosition(i) && IsEmptyPosition(i)) return true;
  return false;
}

WCHAR KwNumberMaskedEdit::DataChar(int index) const {
  const KwMaskSymbol* symbol = m_vecSymbols[index];
  if (symbol->m_nKind == KindDecimalSeparator && symbol->m_chValue != m_chPromptSymbol) return '.';
  return symbol->m_chValue;
}

KwWString KwNumberMaskedEdit::DataPositionsText(int skipFrom, int skipTo, int* skipped) const {
  KwWString text;
  int count = 0;
  for (int i = 0; i < PositionCount(); ++i) {
    if (!IsDataPosition(i)) continue;
    if (i >= skipFrom && i < skipTo) {
      ++count;
      continue;
    }
    text += DataChar(i);
  }
  if (skipped != nullptr) *skipped = count;
  return text;
}

int KwNumberMaskedEdit::IsInputData(int pos) const {
  return pos >= 0 && pos < PositionCount() ? 1 : 0;
}

int KwNumberMaskedEdit::SkipSeparators(int pos, int step) const {
  pos = std::max(pos, 0);
  for (int index = m_nFirstShown + pos; index >= 0 && index < PositionCount(); index += step) {
    if (m_vecSymbols[index]->m_nKind != KindThousandSeparator) break;
    pos += step;
  }
  return pos;
}

int KwNumberMaskedEdit::GetNextInputLocation(int pos) { return SkipSeparators(pos, 1); }

int KwNumberMaskedEdit::GetPreviousInputLocation(int pos) { return SkipSeparators(pos, -1); }

int KwNumberMaskedEdit::GetEmptyInputLocation(int pos) {
  pos = std::max(pos, 0);
  if (m_vecSymbols.empty()) return pos;
  while (true) {
    const int index = m_nFirstShown + pos;
    if (index >= PositionCount()) return PositionCount() - m_nFirstShown;
    if (index >= 0 && m_vecSymbols[index]->IsInput() && IsEmptyPosition(index)) return pos;
    ++pos;
  }
}

void KwNumberMaskedEdit::UpdateInsertionPointForward(int pos) {
  const int q = GetNextInputLocation(pos);
  if (m_bAutoTab && q == PositionCount()) {
    TabToNextControl();
    return;
  }
  SetCaret(q);
}

void KwNumberMaskedEdit::UpdateInsertionPointBackward(int pos) {
  KwMaskedEdit::UpdateInsertionPointBackward(pos);
}

// ---------------------------------------------------------------------------------------------
// Editing operations

int KwNumberMaskedEdit::InsertAt(int pos, char ch) { return InsertAtW(pos, KwWidenChar(ch)); }

int KwNumberMaskedEdit::SetAt(int pos, char ch) { return SetAtW(pos, KwWidenChar(ch)); }

int KwNumberMaskedEdit::InsertAtW(int pos, char32_t wide) {
  // A position holds one UTF-16 unit: no digit is a character of two.
  if (m_vecSymbols.empty() || wide > 0xFFFF) return -1;
  const WCHAR ch = static_cast<WCHAR>(wide);
  if (IsNumberEmpty()) m_nFirstShown = m_nDecimalIndex;
  const int a = m_nFirstShown + pos;
  const bool fractionSide = a > m_nDecimalIndex || (a == m_nDecimalIndex && ch == '.');

  // The receiving position: on the fraction side the first data position at or after a, on the
  // integer side the last data position before a.
  int receiving = -1;
  if (fractionSide) {
    for (int i = std::max(a, 0); i < PositionCount() && receiving < 0; ++i)
      if (IsDataPosition(i)) receiving = i;
    if (receiving < 0 && ch != '.' && m_digitSymbol.AcceptsChar(ch)) {
      // After the last decimal: the decimals are full.
      NoteRejection(RejectFull, pos, ch);
      return -1;
    }
  } else {
    for (int i = std::min(a, PositionCount()) - 1; i >= 0 && receiving < 0; --i)
      if (IsDataPosition(i)) receiving = i;
  }

  const Alive alive(this);
  BorrowedText borrowedOld(alive, m_strOldData, m_bOldDataInUse);
  KwWString& old = borrowedOld.text();
  InputDataInto(old);
  BorrowedText borrowedText(alive, m_strInsertData, m_bInsertDataInUse);
  KwWString& text = borrowedText.text();
  text.clear();
  for (int i = 0; i < PositionCount(); ++i) {
    if (!IsDataPosition(i)) continue;
    if (fractionSide && i == receiving) text += ch;
    text += DataChar(i);
    if (!fractionSide && i == receiving) text += ch;
  }

  const int taken = SetInputDataW(text.c_str(), 0, 0);
  if (!alive) return -1;
  if (taken == 0) {
    SetInputDataW(old.c_str(), 0, 1);
    return -1;
  }
  return receiving - m_nFirstShown;
}

int KwNumberMaskedEdit::SetAtW(int pos, char32_t wide) {
  if (m_vecSymbols.empty() || wide > 0xFFFF) return -1;
  const WCHAR ch = static_cast<WCHAR>(wide);
  // An empty number is typed from the first place left of the point, whatever run it showed
  // before, as InsertAt starts it at the point.
  if (IsNumberEmpty()) m_nFirstShown = PositionCount() - m_nMaxDecimalPos - 2;
  const int i = m_nFirstShown + pos;
  if (i >= PositionCount() && ch != '.' && m_digitSymbol.AcceptsChar(ch)) {
    // After the last decimal: the decimals are full.
    NoteRejection(RejectFull, pos, ch);
    return -1;
  }
  if (i < 0 || i >= PositionCount()) return -1;
  KwMaskSymbol* symbol = m_vecSymbols[i];
  if (symbol->m_chValue == ch) return pos;

  if (symbol->IsInput()) {
    if (ch != m_chPromptSymbol) {
      // The point has a position of its own; a digit position never holds one.
      if (ch == '.' || !symbol->AcceptsChar(ch)) return -1;
      symbol->m_chValue = symbol->TransformChar(ch);
      return pos;
    }
    // Overwriting a digit with the prompt takes the digit out of the number, and the number is
    // laid out again: an empty place inside the shown run would break the text indexes.
    const bool integerSide = i < m_nDecimalIndex;
    const Alive alive(this);
    SetInputDataW(DataPositionsText(i, i + 1).c_str(), 0, 0);
    if (!alive) return -1;
    // The character that followed keeps its place on the integer side and moves one place to
    // the left in the fraction; the caller puts the caret on it (result + 1).
    const int following = (integerSide ? i + 1 : i) - m_nFirstShown;
    return std::max(0, following - 1);
  }

  if (symbol->m_nKind != KindDecimalSeparator) return -1;  // a thousands position

  if (symbol->m_chValue == m_chPromptSymbol) {
    // The point is not shown: the caret stands at the end of a number without fraction. A
    // typed character is appended there as in insert mode (a '.' sets the point), unless the
    // integer part is full and a digit would be pushed out on the left.
    if (ch != '.' && m_nFirstShown == 0) {
      NoteRejection(RejectFull, pos, ch);
      return -1;
    }
    return InsertAtW(pos, ch);
  }

  // Typing over the shown point joins the fraction to the integer part.
  if (m_nFirstShown <= m_nMaxDecimalPos + 1) {
    NoteRejection(RejectFull, pos, ch);
    return -1;
  }
  if (ch != m_chPromptSymbol && !m_digitSymbol.AcceptsChar(ch)) return -1;
  const int after = static_cast<int>(ShowMaskW().size()) - pos - 1;
  KwWString text;
  for (int k = 0; k < PositionCount(); ++k) {
    if (!IsDataPosition(k)) continue;
    text += k == i ? ch : DataChar(k);
  }
  const Alive alive(this);
  SetInputDataW(text.c_str(), 0, 0);
  if (!alive) return -1;
  return static_cast<int>(ShowMaskW().size()) - after - 1;
}

int KwNumberMaskedEdit::DeleteRange(int start, int end) {
  if (m_vecSymbols.empty()) return 0;
  int count = 0;
  const KwWString text = DataPositionsText(m_nFirstShown + start, m_nFirstShown + end, &count);
  SetInputDataW(text.c_str(), 0, 0);
  return count;
}

void KwNumberMaskedEdit::EmptyData(int keepMask) {
  const Alive alive(this);
  if (m_vecSymbols.empty()) {
    DeleteContents();
    if (alive) EmptyUndoBuffer();
    return;
  }
  if (keepMask != 0) {
    for (KwMaskSymbol* symbol : m_vecSymbols)
      if (symbol->m_nKind != KindThousandSeparator) symbol->m_chValue = m_chPromptSymbol;
  } else {
    DeleteContents();
  }
  Update(0);
  if (alive) EmptyUndoBuffer();
}

int KwNumberMaskedEdit::IsInputEmpty() {
  if (m_vecSymbols.empty()) return GetWindowTextLengthW() == 0 ? 1 : 0;
  for (int i = 0; i < PositionCount(); ++i) {
    if (m_vecSymbols[i]->IsInput() && !IsEmptyPosition(i)) return 0;
  }
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Selection and caret

void KwNumberMaskedEdit::PlaceCaretAfterDeletion(int anchor) {
  const Alive alive(this);
  Update(-1);
  if (alive) SetCaret(anchor - m_nFirstShown);
}

// ---------------------------------------------------------------------------------------------
// Text and clipboard messages

LRESULT KwNumberMaskedEdit::OnSetText(WPARAM /*wParam*/, LPARAM lParam) {
  if (m_vecSymbols.empty()) return Default();
  if (m_nUpdateDepth > 0) return TakeOwnText(true);
  const Alive alive(this);
  const int notifyChange = std::exchange(m_bNotifyChange, 0);
  // A Unicode window: the text comes in UTF-16 (an A sender's converted by the system).
  const KwWString data = GetInputDataW(reinterpret_cast<const WCHAR*>(lParam), true);
  SetInputDataW(data.c_str(), 0, 1);
  if (alive) m_bNotifyChange = notifyChange;
  return TRUE;
}

LRESULT KwNumberMaskedEdit::OnCut(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (m_vecSymbols.empty()) return DefaultUnmasked();
  int start = 0, end = 0;
  GetSelection(start, end);
  if (start == end) return 0;

  const KwWString shown = GetWindowTextW();
  const int from = std::clamp(std::min(start, end), 0, static_cast<int>(shown.size()));
  const int to = std::clamp(std::max(start, end), from, static_cast<int>(shown.size()));
  const KwWString cut = shown.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));

  // The text goes onto the clipboard first (CF_UNICODETEXT; the system offers it as CF_TEXT
  // too); only when the clipboard has it is it deleted.
  if (!::OpenClipboard(m_hWnd)) return 0;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (cut.size() + 1) * sizeof(WCHAR));
  if (block == nullptr) {
    ::CloseClipboard();
    return 0;
  }
  WCHAR* memory = static_cast<WCHAR*>(::GlobalLock(block));
  if (memory == nullptr) {
    ::GlobalFree(block);
    ::CloseClipboard();
    return 0;
  }
  std::memcpy(memory, cut.c_str(), (cut.size() + 1) * sizeof(WCHAR));
  ::GlobalUnlock(block);
  ::EmptyClipboard();
  if (::SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
    ::GlobalFree(block);
    ::CloseClipboard();
    return 0;
  }
  ::CloseClipboard();

  const int anchor = m_nFirstShown + end;
  const Alive alive(this);
  DeleteRange(start, end);
  if (alive) PlaceCaretAfterDeletion(anchor);
  return 0;
}

LRESULT KwNumberMaskedEdit::OnPaste(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (m_vecSymbols.empty()) return DefaultUnmasked();
  int start = 0, end = 0;
  GetSelection(start, end);
  KwWString pasted;
  if (!ClipboardHasText(&pasted)) {
    NoteRejection(RejectClipboard, start, 0);
    return 0;
  }

  KwWString text;
  for (WCHAR c : pasted) {
    if (IsGroupSeparator(c)) continue;
    text += c == m_chDecimalSep ? WCHAR('.') : c;
  }
  // A text with nothing the number takes is refused as a whole: the number stays.
  const bool takes = std::any_of(text.begin(), text.end(), [this](WCHAR c) {
    return c != m_chPromptSymbol && (c == '.' || m_digitSymbol.AcceptsChar(c));
  });
  if (!takes) return 0;
  const Alive alive(this);
  SetInputDataW(text.c_str(), 0, 0);
  if (alive) Update(-1);
  if (alive) SetCaret(GetEmptyInputLocation(start));
  return 0;
}

LRESULT KwNumberMaskedEdit::OnClear(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (m_vecSymbols.empty()) return DefaultUnmasked();
  int start = 0, end = 0;
  GetSelection(start, end);
  const int anchor = m_nFirstShown + end;
  const Alive alive(this);
  DeleteRange(start, end);
  if (alive) Default();
  if (alive) PlaceCaretAfterDeletion(anchor);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Keys

BOOL KwNumberMaskedEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_DECIMAL) {
      // The keypad decimal key types the locale decimal separator.
      pMsg->wParam =
          static_cast<WPARAM>(static_cast<INT_PTR>(::VkKeyScanA(KwNarrowChar(m_chDecimalSep))));
    }
    if (pMsg->wParam == VK_SPACE) {
      int start = 0, end = 0;
      if (GetSelection(start, end) != 0) pMsg->wParam = VK_DELETE;
    }
    return CWnd::PreTranslateMessage(pMsg);
  }
  if (pMsg->message == WM_CHAR) {
    // The characters of a Unicode window are UTF-16 units.
    const WPARAM decimalSep = m_chDecimalSep;
    const WPARAM thousandSep = m_chThousandSep;
    if (pMsg->wParam == decimalSep) {
      pMsg->wParam = '.';
    } else if (pMsg->wParam == thousandSep || pMsg->wParam == '.') {
      return TRUE;
    }
    const WCHAR ch = static_cast<WCHAR>(pMsg->wParam);
    // A read-only control refuses nothing itself: the edit control takes no character.
    if (m_bInsertMode && m_nFirstShown == 0 && !IsReadOnly() && pMsg->wParam != '.' &&
        pMsg->wParam <= 0xFFFF && m_digitSymbol.AcceptsChar(ch)) {
      // The integer part is full: nothing more can be inserted left of the point.
      int start = 0, end = 0;
      GetSelection(start, end);
      if (start == end && start <= m_nDecimalIndex) {
        RefuseKey(RejectFull, start, ch);
        return TRUE;
      }
    }
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void KwNumberMaskedEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar != VK_DELETE) {
    KwMaskedEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  int start = 0, end = 0;
  if (GetSelection(start, end) == 0) end = start + 1;
  const int anchor = m_nFirstShown + end;
  const Alive alive(this);
  if (DeleteRange(start, end) != 0 && alive) PlaceCaretAfterDeletion(anchor);
}

void KwNumberMaskedEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar != VK_BACK) {
    KwMaskedEdit::OnChar(nChar, nRepCnt, nFlags);
    return;
  }
  int start = 0, end = 0;
  GetSelection(start, end);
  int anchor = 0;
  const Alive alive(this);
  if (start != end) {
    anchor = m_nFirstShown + end;
    if (DeleteRange(start, end) == 0 || !alive) return;
  } else {
    // The nearest data position left of the caret, passing over thousands separators.
    // The anchor counts from the first shown position as it was before the deletion.
    const int firstShown = m_nFirstShown;
    int last = 0;
    if (DeleteBackward(start, end, &last) < 0) return;  // none taken, or the control is gone
    anchor = firstShown + last;
  }
  if (alive) PlaceCaretAfterDeletion(anchor);
}

void KwNumberMaskedEdit::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) {
  const HWND hWnd = m_hWnd;  // read once: the first message passes the control's own bracket
  ::SendMessageA(hWnd, EM_SETSEL, 0, -1);
  ::SendMessageA(hWnd, EM_SCROLLCARET, 0, 0);
}
