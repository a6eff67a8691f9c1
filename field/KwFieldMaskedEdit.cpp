// The field masked edit: one-character mask, stored and shown text, editing up to the text
// limit with auto-tab, data exchange and the clipboard through the shared base bodies.
#include "field/KwFieldMaskedEdit.h"

#include <climits>

#include "core/KwLocaleSeparators.h"

IMPLEMENT_DYNAMIC(KwFieldMaskedEdit, KwMaskedEdit)

BEGIN_MESSAGE_MAP(KwFieldMaskedEdit, KwMaskedEdit)
KW_ON_TEXT_AND_CLIPBOARD_MESSAGES()
END_MESSAGE_MAP()

namespace {

// Mask characters and their kinds; any other character is a literal of itself.
struct FieldMaskEntry {
  char ch;
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

}  // namespace

KwFieldMaskedEdit::KwFieldMaskedEdit(const std::string& mask) : KwMaskedEdit(mask.c_str()) {
  if (!mask.empty()) {
    SetMask(mask);
  }
}

KwFieldMaskedEdit::KwFieldMaskedEdit(const KwFieldMaskedEdit& other)
    : KwMaskedEdit(other), m_symField(other.m_symField) {}

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

bool KwFieldMaskedEdit::SetMask(const std::string& mask) {
  const Alive alive(this);
  DeleteContents();
  if (!alive) return false;  // emptying the window reached a host that deleted the control
  m_symField.m_chValue = ' ';
  const char ch = mask.empty() ? '\0' : mask[0];
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
  if (m_symField.m_nKind == KindEscapedLiteral) {
    return std::string(1, '\\') + m_symField.m_chValue;
  }
  for (const FieldMaskEntry& entry : kFieldMasks) {
    if (entry.kind == m_symField.m_nKind) {
      return std::string(1, entry.ch);
    }
  }
  return std::string(1, m_symField.m_chValue);
}

std::string KwFieldMaskedEdit::ShowMask() const { return m_strFieldText; }

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

std::string KwFieldMaskedEdit::GetInputData(bool) const {
  if (!::IsWindow(m_hWnd)) {
    return std::string();
  }
  return GetWindowText();
}

std::string KwFieldMaskedEdit::GetInputData(const char* text, bool) const {
  return text ? std::string(text) : std::string();
}

int KwFieldMaskedEdit::SetInputData(const char* data, int keep, int) {
  m_strFieldText.clear();
  std::string text = GetInputData(true);
  if (keep >= 0 && static_cast<size_t>(keep) < text.size()) {
    text.resize(static_cast<size_t>(keep));
  }
  if (data) {
    text += data;
  }
  // The text is the shown text and a C string after it: it holds no NUL.
  bool allTaken = true;
  for (char c : text) {
    if (m_symField.AcceptsChar(c)) {
      m_strFieldText += m_symField.TransformChar(c);
    } else {
      NoteRefusedData(RejectWrongKind, static_cast<int>(m_strFieldText.size()), c);
      allTaken = false;
    }
  }
  Update(0);
  return allTaken ? 1 : 0;
}

void KwFieldMaskedEdit::TakeShownText() { m_strFieldText = GetInputData(true); }

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

int KwFieldMaskedEdit::IsInputEmpty() { return GetInputData(true).empty() ? 1 : 0; }

int KwFieldMaskedEdit::IsInputData(int) const { return 1; }

int KwFieldMaskedEdit::InsertAt(int pos, char ch) {
  const std::string kept = GetInputData(true);
  const size_t length = kept.size();
  if (static_cast<unsigned long long>(GetFieldLimit()) < length + 1ULL) {
    NoteRejection(RejectFull, pos, ch);
    return -1;
  }
  // No kind takes NUL, and as a text it would cut off everything after it: refuse it here.
  if (ch == '\0') {
    return -1;
  }
  std::string candidate;
  candidate.reserve(length + 1);
  int placedAt = -1;
  for (size_t i = 0; i <= length; ++i) {
    if (placedAt < 0 && (pos < 0 || i >= static_cast<size_t>(pos))) {
      candidate += ch;
      placedAt = static_cast<int>(i);
    }
    if (i < length) {
      candidate += kept[i];
    }
  }
  const Alive alive(this);
  if (SetInputData(candidate.c_str(), 0, 1) == 0) {
    if (alive) {
      SetInputData(kept.c_str(), 0, 1);
    }
    return -1;
  }
  return placedAt;
}

int KwFieldMaskedEdit::SetAt(int pos, char ch) {
  if (pos < 0) {
    return pos;
  }
  if (!m_symField.AcceptsChar(ch)) {
    return -1;
  }
  const char c = m_symField.TransformChar(ch);
  if (static_cast<size_t>(pos) >= m_strFieldText.size()) {
    // Appending to a field that has reached its text limit would overrun its capacity.
    if (m_strFieldText.size() >= GetFieldLimit()) {
      NoteRejection(RejectFull, pos, ch);
      return -1;
    }
    m_strFieldText += c;
  } else {
    m_strFieldText[static_cast<size_t>(pos)] = c;
  }
  return pos;
}

int KwFieldMaskedEdit::DeleteRange(int start, int end) {
  std::string text = GetInputData(true);
  const long long count = static_cast<long long>(end) - start;
  if (count > 0) {
    const long long first = start < 0 ? 0 : start;
    if (first < static_cast<long long>(text.size())) {
      text.erase(static_cast<size_t>(first), static_cast<size_t>(end - first));
    }
    SetInputData(text.c_str(), 0, 1);
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
  const int length = static_cast<int>(GetInputData(true).size());
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
  return KwMaskedEdit::OnPaste(wParam, lParam);
}

LRESULT KwFieldMaskedEdit::OnClear(WPARAM wParam, LPARAM lParam) {
  const Alive alive(this);
  LRESULT result = KwMaskedEdit::OnClear(wParam, lParam);
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
