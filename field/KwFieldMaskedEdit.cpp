// The field masked edit: one-character mask, stored and shown text, editing up to the text
// limit with auto-tab, data exchange and the clipboard through the shared base bodies.
#include "field/KwFieldMaskedEdit.h"

#include <algorithm>
#include <climits>

#include "core/KwLocaleSeparators.h"
#include "core/KwText.h"

IMPLEMENT_DYNAMIC(KwFieldMaskedEdit, KwMaskedEdit)

BEGIN_MESSAGE_MAP(KwFieldMaskedEdit, KwMaskedEdit)
KW_ON_TEXT_AND_CLIPBOARD_MESSAGES()
ON_MESSAGE(EM_REPLACESEL, OnReplaceSel)
END_MESSAGE_MAP()

namespace {

// Mask characters and their kinds; any other character is a literal of itself.
struct FieldMaskEntry {
  WCHAR ch;
  int kind;
};
constexpr FieldMaskEntry kFieldMasks[] = {
    {'.', KindDecimalSeparator},
    {',', KindThousandSeparator},
    {':', KindTimeSeparator},
    {'/', KindDateSeparator},
    {'#', KindDigit},
    {'%', KindPercent},
    {'$', KindCurrency},
    {'A', KindAlphaNumeric},
    {'?', KindAlpha},
    {'>', KindUpperAlpha},
    {'<', KindLowerAlpha},
    {'&', KindAnyChar},
};

// The character (1 or 2 units) that starts at index at of text: a surrogate without its partner
// counts as one unit.
std::size_t UnitsAt(const KwWString& text, std::size_t at) {
  const KwTextChar c = KwCharKind::CharAt(text.data(), text.size(), at);
  return c.units > 0 ? static_cast<std::size_t>(c.units) : 1;
}

}  // namespace

KwFieldMaskedEdit::KwFieldMaskedEdit(const std::string& mask) : KwMaskedEdit(mask.c_str()) {
  m_pModel = this;
  if (!mask.empty()) {
    SetMaskW(KwWiden(mask));
  }
}

KwFieldMaskedEdit::KwFieldMaskedEdit(const KwWString& mask) : KwMaskedEdit("") {
  m_pModel = this;
  if (!mask.empty()) {
    SetMaskW(mask);
  }
}

KwFieldMaskedEdit::KwFieldMaskedEdit(const KwFieldMaskedEdit& other)
    : KwMaskedEdit(other), KwMaskedEditModel(other), m_symField(other.m_symField) {
  m_pModel = this;
}

KwFieldMaskedEdit::~KwFieldMaskedEdit() = default;

BOOL KwFieldMaskedEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  BOOL created = CEdit::Create(dwStyle, rect, pParentWnd, nID);
  if (created) {
    Update(0);
  }
  return created;
}

// ---------------------------------------------------------------------------------------------
// Mask

bool KwFieldMaskedEdit::SetMask(const std::string& mask) { return SetMaskW(KwWiden(mask)); }

bool KwFieldMaskedEdit::SetMaskW(const KwWString& mask) {
  const Alive alive(this);
  DeleteContents();
  if (!alive) return false;  // emptying the window reached a host that deleted the control
  m_symField.m_chValue = ' ';
  const WCHAR ch = mask.empty() ? WCHAR(0) : mask[0];
  m_symField.m_nKind = KindLiteral;
  bool known = false;
  for (const FieldMaskEntry& entry : kFieldMasks) {
    if (entry.ch == ch) {
      m_symField.m_nKind = entry.kind;
      known = true;
      break;
    }
  }
  if (!known) {
    m_symField.m_chValue = ch;
  }
  Update(0);
  if (alive) {
    EmptyUndoBuffer();
  }
  return true;
}

std::string KwFieldMaskedEdit::GetMask() const {
  // A NUL mask character stays a NUL (it stands for no mask).
  const KwWString mask = GetMaskW();
  if (mask.size() == 1 && mask[0] == 0) return std::string(1, '\0');
  return KwNarrow(mask);
}

KwWString KwFieldMaskedEdit::GetMaskW() const {
  if (m_symField.m_nKind == KindEscapedLiteral) {
    return KwWString(1, WCHAR('\\')) + m_symField.m_chValue;
  }
  for (const FieldMaskEntry& entry : kFieldMasks) {
    if (entry.kind == m_symField.m_nKind) {
      return KwWString(1, entry.ch);
    }
  }
  return KwWString(1, m_symField.m_chValue);
}

std::string KwFieldMaskedEdit::ShowMask() const { return KwNarrow(m_strFieldText); }

KwWString KwFieldMaskedEdit::ShowMaskW() const { return m_strFieldText; }

void KwFieldMaskedEdit::ShowMaskInto(KwWString& out) const { out.assign(m_strFieldText); }

void KwFieldMaskedEdit::ReserveFieldText(std::size_t units) {
  // Only ever grown, and then to at least twice what it was: a string's reserve may give back
  // storage (that of a shorter text), and a field typed into grows one unit at a time.
  if (m_strFieldText.capacity() < units)
    m_strFieldText.reserve(std::max(units, 2 * m_strFieldText.capacity()));
}

int KwFieldMaskedEdit::SetTextW(const KwWString& text) { return SetTextInput(text); }

void KwFieldMaskedEdit::DeleteContents() {
  m_strFieldText.clear();
  KwMaskedEdit::DeleteContents();
}

void KwFieldMaskedEdit::PreSubclassWindow() {
  KwMaskedEdit::PreSubclassWindow();
  // A dialog's edit control arrives with the text of its template, which stays shown until the
  // first Update. Hold it as the stored text too, so that an overwrite edits that text instead
  // of wiping it. (Create arrives here with an empty window; a text stored before it stays.)
  if (m_strFieldText.empty()) {
    TakeShownText();
  }
}

// ---------------------------------------------------------------------------------------------
// Data exchange

std::string KwFieldMaskedEdit::GetInputData(bool withPrompt) const {
  return KwNarrow(GetInputDataW(withPrompt));
}

std::string KwFieldMaskedEdit::GetInputData(const char* text, bool) const {
  return text ? std::string(text) : std::string();
}

int KwFieldMaskedEdit::SetInputData(const char* data, int keep, int raw) {
  return SetInputDataW(KwWiden(data).c_str(), keep, raw);
}

KwWString KwFieldMaskedEdit::GetInputDataW(bool) const {
  KwWString text;
  ShownTextInto(text);
  return text;
}

void KwFieldMaskedEdit::ShownTextInto(KwWString& out) const {
  if (!::IsWindow(m_hWnd)) {
    out.clear();
    return;
  }
  GetWindowTextW(out);
}

KwWString KwFieldMaskedEdit::GetInputDataW(const WCHAR* text, bool) const {
  return text ? KwWString(text) : KwWString();
}

int KwFieldMaskedEdit::SetInputDataW(const WCHAR* data, int keep, int) {
  m_strFieldText.clear();
  const Alive alive(this);
  BorrowedText borrowed(alive, m_strLayout, m_bLayoutInUse);
  KwWString& text = borrowed.text();
  ShownTextInto(text);
  if (keep >= 0 && static_cast<size_t>(keep) < text.size()) {
    text.resize(static_cast<size_t>(keep));
  }
  if (data) {
    text += data;
  }
  // The text is the shown text and a C string after it: it holds no NUL. A character beyond the
  // Basic Multilingual Plane is taken whole (both its units) or refused whole; a surrogate
  // without its partner is refused.
  bool allTaken = true;
  ReserveFieldText(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const KwTextChar c = KwCharKind::CharAt(text.data(), text.size(), i);
    if (c.units == 1) {
      const WCHAR unit = text[i];
      if (m_symField.AcceptsChar(unit)) {
        m_strFieldText += m_symField.TransformChar(unit);
      } else {
        NoteRefusedData(RejectWrongKind, static_cast<int>(m_strFieldText.size()), unit);
        allTaken = false;
      }
      ++i;
      continue;
    }
    char16_t units[2] = {0, 0};
    if (c.units == 2 && KwCharKind::Fits(m_symField.m_nKind, c.ch) &&
        KwCharKind::ToUtf16(KwCharKind::StoredForm(m_symField.m_nKind, c.ch), units) == 2) {
      m_strFieldText += static_cast<WCHAR>(units[0]);
      m_strFieldText += static_cast<WCHAR>(units[1]);
    } else {
      NoteRefusedData(RejectWrongKind, static_cast<int>(m_strFieldText.size()),
                      c.units == 2 ? c.ch : text[i]);
      allTaken = false;
    }
    i += c.units == 2 ? 2 : 1;
  }
  Update(0);
  return allTaken ? 1 : 0;
}

void KwFieldMaskedEdit::TakeShownText() {
  // The edit control takes any text, half a character too: a foreign text may hold a surrogate
  // without its partner, and a cut or clear whose selection ended inside a pair leaves one
  // half. The field takes the text without such halves, and the window then shows what it took.
  const Alive alive(this);
  BorrowedText borrowed(alive, m_strTaken, m_bTakenInUse);
  KwWString& shown = borrowed.text();
  ShownTextInto(shown);
  int start = 0;
  int end = 0;
  if (::IsWindow(m_hWnd)) GetSelection(start, end);
  int caret = start;  // where the caret stands once the halves before it are gone
  m_strFieldText.clear();
  ReserveFieldText(shown.size());
  for (std::size_t i = 0; i < shown.size();) {
    const KwTextChar c = KwCharKind::CharAt(shown.data(), shown.size(), i);
    if (c.units > 0) {
      m_strFieldText.append(shown, i, static_cast<std::size_t>(c.units));
      i += static_cast<std::size_t>(c.units);
    } else {
      if (static_cast<int>(i) < start) --caret;
      ++i;
    }
  }
  if (m_strFieldText.size() != shown.size() && ::IsWindow(m_hWnd)) {
    Update(-1);
    if (alive) SetCaret(caret);
  }
}

UINT KwFieldMaskedEdit::GetFieldLimit() const {
  if (!::IsWindow(m_hWnd)) {
    return 0;
  }
  return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}

// ---------------------------------------------------------------------------------------------
// Editing operations

void KwFieldMaskedEdit::EmptyData(int) {
  const Alive alive(this);
  DeleteContents();
  if (!alive) {
    return;
  }
  Update(0);
  if (alive) {
    EmptyUndoBuffer();
  }
}

int KwFieldMaskedEdit::IsInputEmpty() { return GetInputDataW(true).empty() ? 1 : 0; }

int KwFieldMaskedEdit::IsInputData(int) const { return 1; }

int KwFieldMaskedEdit::InsertAt(int pos, char ch) { return InsertAtW(pos, KwWidenChar(ch)); }

int KwFieldMaskedEdit::SetAt(int pos, char ch) { return SetAtW(pos, KwWidenChar(ch)); }

int KwFieldMaskedEdit::InsertAtW(int pos, char32_t ch) {
  char16_t units[2] = {0, 0};
  // No kind takes NUL, and as a text it would cut off everything after it; a surrogate is no
  // character: both are refused here.
  const int count = ch == 0 ? 0 : KwCharKind::ToUtf16(ch, units);
  const Alive alive(this);
  BorrowedText borrowedKept(alive, m_strKept, m_bKeptInUse);
  KwWString& kept = borrowedKept.text();
  ShownTextInto(kept);
  const size_t length = kept.size();
  if (static_cast<unsigned long long>(GetFieldLimit()) < length + (count > 0 ? count : 1)) {
    // A character of another kind is refused as such, whether the field has room or not.
    if (count > 0 && KwCharKind::Fits(m_symField.m_nKind, ch)) {
      NoteRejection(RejectFull, pos, ch);
    }
    return -1;
  }
  if (count == 0) {
    return -1;
  }
  BorrowedText borrowedCandidate(alive, m_strCandidate, m_bCandidateInUse);
  KwWString& candidate = borrowedCandidate.text();
  candidate.clear();
  candidate.reserve(length + static_cast<size_t>(count));
  int placedAt = -1;
  for (size_t i = 0; i <= length; ++i) {
    // Never between the two halves of a pair.
    if (placedAt < 0 && (pos < 0 || i >= static_cast<size_t>(pos)) &&
        !(i > 0 && i < length && KwCharKind::IsLowSurrogate(kept[i]) &&
          KwCharKind::IsHighSurrogate(kept[i - 1]))) {
      candidate.append(reinterpret_cast<const WCHAR*>(units), static_cast<size_t>(count));
      placedAt = static_cast<int>(i);
    }
    if (i < length) {
      candidate += kept[i];
    }
  }
  if (SetInputDataW(candidate.c_str(), 0, 1) == 0) {
    if (alive) {
      SetInputDataW(kept.c_str(), 0, 1);
    }
    return -1;
  }
  return placedAt;
}

int KwFieldMaskedEdit::SetAtW(int pos, char32_t ch) {
  if (pos < 0) {
    return pos;
  }
  char16_t units[2] = {0, 0};
  if (ch == 0 || !KwCharKind::Fits(m_symField.m_nKind, ch) ||
      KwCharKind::ToUtf16(KwCharKind::StoredForm(m_symField.m_nKind, ch), units) == 0) {
    return -1;
  }
  const size_t count = ch > 0xFFFF ? 2 : 1;
  size_t at = static_cast<size_t>(pos);
  const size_t size = m_strFieldText.size();
  if (at < size && at > 0 && KwCharKind::IsLowSurrogate(m_strFieldText[at]) &&
      KwCharKind::IsHighSurrogate(m_strFieldText[at - 1])) {
    --at;  // the whole pair is overwritten, never half of it
  }
  const size_t replaced = at < size ? UnitsAt(m_strFieldText, at) : 0;
  // Overwriting or appending past the text limit would overrun the field's capacity.
  if (size - replaced + count > GetFieldLimit()) {
    NoteRejection(RejectFull, pos, ch);
    return -1;
  }
  m_strFieldText.replace(std::min(at, size), replaced, reinterpret_cast<const WCHAR*>(units),
                         count);
  return static_cast<int>(std::min(at, size));
}

int KwFieldMaskedEdit::DeleteRange(int start, int end) {
  KwWString text = GetInputDataW(true);
  const long long count = static_cast<long long>(end) - start;
  if (count > 0) {
    const long long first = start < 0 ? 0 : start;
    if (first < static_cast<long long>(text.size())) {
      text.erase(static_cast<size_t>(first), static_cast<size_t>(end - first));
    }
    SetInputDataW(text.c_str(), 0, 1);
  }
  if (count > INT_MAX) {
    return INT_MAX;
  }
  if (count < INT_MIN) {
    return INT_MIN;
  }
  return static_cast<int>(count);
}

int KwFieldMaskedEdit::GetNextInputLocation(int pos) {
  const UINT limit = GetFieldLimit();
  if (static_cast<UINT>(pos) < limit) {
    return pos;
  }
  return static_cast<int>(limit);
}

int KwFieldMaskedEdit::GetPreviousInputLocation(int pos) { return pos < 0 ? 0 : pos; }

int KwFieldMaskedEdit::GetEmptyInputLocation(int) {
  const int length = GetWindowTextLengthW();
  if (length < static_cast<int>(GetFieldLimit())) {
    return length;
  }
  return -1;
}

void KwFieldMaskedEdit::UpdateInsertionPointForward(int pos) {
  if (!::IsWindow(m_hWnd)) {
    return;
  }
  const int p = GetNextInputLocation(pos);
  if (m_bAutoTab && static_cast<UINT>(p) == GetFieldLimit()) {
    TabToNextControl();  // the field is full
    return;
  }
  SetCaret(p);
}

void KwFieldMaskedEdit::UpdateInsertionPointBackward(int pos) {
  KwMaskedEdit::UpdateInsertionPointBackward(pos);
}

// ---------------------------------------------------------------------------------------------
// Text and clipboard messages: the edit control does the work (through the base bodies).

LRESULT KwFieldMaskedEdit::OnCut(WPARAM wParam, LPARAM lParam) {
  const Alive alive(this);
  LRESULT result = KwMaskedEdit::OnCut(wParam, lParam);
  if (alive) {
    TakeShownText();  // what was cut must not come back with a later overwrite
  }
  return result;
}

LRESULT KwFieldMaskedEdit::OnPaste(WPARAM wParam, LPARAM lParam) {
  // What the field's length leaves out of a paste is refused as a key would be (RejectFull at
  // the length, with the first character left out), unless a character the kind refused was
  // heard first: nothing of a paste goes without a word.
  int start = 0;
  int end = 0;
  GetSelection(start, end);
  const size_t kept = static_cast<size_t>(GetWindowTextLengthW() - (end - start));
  KwWString pasted;
  const bool readable = ClipboardHasText(&pasted);
  const Alive alive(this);
  const LRESULT result = KwMaskedEdit::OnPaste(wParam, lParam);
  if (!alive) return result;
  const size_t limit = static_cast<size_t>(GetLimitText());
  if (readable && limit >= kept && kept + pasted.size() > limit) {
    const size_t first = limit - kept;
    char32_t ch = pasted[first];
    if (KwCharKind::IsHighSurrogate(ch) && first + 1 < pasted.size() &&
        KwCharKind::IsLowSurrogate(pasted[first + 1]))
      ch = KwCharKind::CombineSurrogates(ch, pasted[first + 1]);
    NoteRefusedData(RejectFull, static_cast<int>(limit), ch);
  }
  return result;
}

LRESULT KwFieldMaskedEdit::OnClear(WPARAM wParam, LPARAM lParam) {
  const Alive alive(this);
  LRESULT result = KwMaskedEdit::OnClear(wParam, lParam);
  if (alive) {
    TakeShownText();
  }
  return result;
}

LRESULT KwFieldMaskedEdit::OnReplaceSel(WPARAM wParam, LPARAM lParam) {
  // A field of no kind leaves a host's EM_REPLACESEL to the edit control, as any plain edit
  // control does; the stored text follows it there as well.
  const Alive alive(this);
  LRESULT result = KwMaskedEdit::OnReplaceSel(wParam, lParam);
  if (alive) {
    TakeShownText();
  }
  return result;
}

LRESULT KwFieldMaskedEdit::OnSetText(WPARAM, LPARAM) {
  // The edit control takes any text as it is, the field's own Update included; the stored
  // text follows what is shown (unfiltered until it next passes through SetInputData).
  const Alive alive(this);
  LRESULT result = m_nUpdateDepth > 0 ? TakeOwnText(false) : Default();
  if (alive) {
    TakeShownText();
  }
  return result;
}
