// What assistive technology hears of a masked edit control: its value, its description and its
// help, in words kept in one table below, and the value a speech or automation tool sets.
//
// The rules read the controls only through their public and virtual members (ShowMask,
// GetMask, GetInputData, IsInputData, GetNextInputLocation, GetLastRejection, the prompt symbol
// and the number control's layout), so that they hold whatever model a control keeps. The
// Windows build answers WM_GETOBJECT with an IAccessible that speaks these words
// (KwMaskedEditAccessible.cpp); natively the edit control answers it.
#include <cstdio>
#include <string>
#include <vector>

#include "character/KwCharacterMaskedEdit.h"
#include "core/KwCharKind.h"
#include "core/KwMaskedEdit.h"
#include "core/KwText.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

// ---------------------------------------------------------------------------------------------
// The words. Every word the controls say, in one table: a translation replaces the texts here
// and nothing else. %1, %2 and %3 stand for what the rules fill in.

enum Word {
  // Descriptions.
  kWordFormat,         // the character control: its format, what it takes, how much is entered
  kWordFormatNoInput,  // a character mask of literals only
  kWordNumber,         // the number control: digits before and after the decimal point
  kWordNumberWhole,    // the number control without decimals
  kWordField,          // the field control: its kind and limit
  kWordFieldNoWindow,  // the field control before it has a window (no limit yet)
  kWordNoInput,        // a field whose kind takes no character
  kWordCount,          // a number of things
  kWordPair,           // the last two of a list
  kWordList,           // the others of a list
  // What the positions take: one, and many.
  kWordDigit,
  kWordDigits,
  kWordLetterOrDigit,
  kWordLettersOrDigits,
  kWordLetter,
  kWordLetters,
  kWordCharacter,
  kWordCharacters,
  kWordDigitOrSign,
  kWordDigitsOrSigns,
  kWordDecimalPoint,
  kWordDecimalPoints,
  // The last refusal.
  kWordWrongKind,
  kWordWrongKindHere,
  kWordFull,
  kWordNoInputPosition,
  kWordNoMask,
  kWordNoClipboardText,
  kWordOutOfMemory,
  // A refused character.
  kWordQuoted,
  kWordSpace,
  kWordCharacterCode,
  kWordCount_
};

struct WordEntry {
  Word word;
  const char* text;
};

constexpr WordEntry kWords[] = {
    {kWordFormat, "format %1: %2, %3 entered"},
    {kWordFormatNoInput, "format %1: takes no input"},
    {kWordNumber, "number, up to %1 before the decimal point and %2 after"},
    {kWordNumberWhole, "number, up to %1"},
    {kWordField, "up to %1"},
    {kWordFieldNoWindow, "%1"},
    {kWordNoInput, "takes no input"},
    {kWordCount, "%1 %2"},
    {kWordPair, "%1 and %2"},
    {kWordList, "%1, %2"},
    {kWordDigit, "digit"},
    {kWordDigits, "digits"},
    {kWordLetterOrDigit, "letter or digit"},
    {kWordLettersOrDigits, "letters or digits"},
    {kWordLetter, "letter"},
    {kWordLetters, "letters"},
    {kWordCharacter, "character"},
    {kWordCharacters, "characters"},
    {kWordDigitOrSign, "digit or sign"},
    {kWordDigitsOrSigns, "digits or signs"},
    {kWordDecimalPoint, "decimal point"},
    {kWordDecimalPoints, "decimal points"},
    {kWordWrongKind, "wrong kind at %1: %2 is not a %3"},
    {kWordWrongKindHere, "wrong kind at %1: %2 does not fit there"},
    {kWordFull, "full at %1: no place left for %2"},
    {kWordNoInputPosition, "no input position at %1: %2 cannot go there"},
    {kWordNoMask, "no mask at %1: %2 cannot be typed"},
    {kWordNoClipboardText, "no text on the clipboard"},
    {kWordOutOfMemory, "out of memory: nothing changed"},
    {kWordQuoted, "'%1'"},
    {kWordSpace, "space"},
    {kWordCharacterCode, "character code %1"},
};
static_assert(sizeof kWords / sizeof kWords[0] == kWordCount_, "one text for every word");

// The table is in the order of the words, and each '%' of a text stands for an argument: checked
// here, so that the look-ups below need not.
constexpr bool WordsInOrder() {
  for (int i = 0; i < kWordCount_; ++i) {
    if (kWords[i].word != i) return false;
    for (const char* p = kWords[i].text; *p != '\0'; ++p)
      if (p[0] == '%' && (p[1] < '1' || p[1] > '3')) return false;
  }
  return true;
}
static_assert(WordsInOrder(), "the words in order, %1 to %3 their only arguments");

const char* Text(Word word) { return kWords[word].text; }

// An ASCII text (the words, numbers) in UTF-16.
KwWString Ascii(const char* text) {
  KwWString out;
  for (const char* p = text; *p != '\0'; ++p) out += static_cast<WCHAR>(*p);
  return out;
}

KwWString Number(int n) { return Ascii(std::to_string(n).c_str()); }

// The word's text with %1, %2, %3 replaced by the arguments.
KwWString Say(Word word, const KwWString& a1 = KwWString(), const KwWString& a2 = KwWString(),
              const KwWString& a3 = KwWString()) {
  const KwWString* args[] = {&a1, &a2, &a3};
  KwWString out;
  for (const char* p = Text(word); *p != '\0'; ++p) {
    if (p[0] == '%') {
      out += *args[p[1] - '1'];
      ++p;
    } else {
      out += static_cast<WCHAR>(*p);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// What a control is

enum class Face { Plain, Character, Number, Field };

struct Shape {
  Face face = Face::Plain;
  bool hasPrompt = false;
  WCHAR prompt = 0;
};

// A control without a mask (or one of a class of its own) is a plain edit control: its text is
// all there is to hear.
Shape ShapeOf(const KwMaskedEdit& edit) {
  Shape shape;
  const bool masked = edit.GetMaskW().c_str()[0] != 0;
  if (!masked) return shape;
  if (const auto* c = dynamic_cast<const KwCharacterMaskedEdit*>(&edit)) {
    shape = Shape{Face::Character, true, c->GetPromptSymbolW()};
  } else if (const auto* n = dynamic_cast<const KwNumberMaskedEdit*>(&edit)) {
    shape = Shape{Face::Number, true, n->GetPromptSymbolW()};
  } else if (dynamic_cast<const KwFieldMaskedEdit*>(&edit) != nullptr) {
    shape.face = Face::Field;
  }
  return shape;
}

// The kind words (one, many) of a mask character; false for a character that takes nothing.
// In a character mask '.' is a separator shown by the control; a field of '.' takes the point.
bool KindWords(WCHAR maskChar, bool field, Word& one, Word& many) {
  switch (maskChar) {
    case '#':
      one = kWordDigit, many = kWordDigits;
      return true;
    case 'A':
      one = kWordLetterOrDigit, many = kWordLettersOrDigits;
      return true;
    case '?':
    case '>':
    case '<':
      one = kWordLetter, many = kWordLetters;
      return true;
    case '&':
      one = kWordCharacter, many = kWordCharacters;
      return true;
    case '%':
    case '$':
      if (!field) return false;
      one = kWordDigitOrSign, many = kWordDigitsOrSigns;
      return true;
    case '.':
      if (!field) return false;
      one = kWordDecimalPoint, many = kWordDecimalPoints;
      return true;
    default:
      return false;
  }
}

KwWString Counted(int count, Word one, Word many) {
  return Say(kWordCount, Number(count), Ascii(Text(count == 1 ? one : many)));
}

// "a", "a and b", "a, b and c": one item at least.
KwWString Listed(const std::vector<KwWString>& items) {
  const std::size_t n = items.size();
  KwWString out = items[n - 1];
  if (n >= 2) {
    out = Say(kWordPair, items[n - 2], out);
    for (std::size_t i = n - 2; i > 0; --i) out = Say(kWordList, items[i - 1], out);
  }
  return out;
}

// The mask character of each position of a character mask, 0 for a literal (an escaped one,
// a separator, any other character): the mask language read as the control reads it (its mask
// ends at the first NUL).
std::vector<WCHAR> CharacterPositions(const KwWString& mask) {
  std::vector<WCHAR> positions;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\') {
      if (i + 1 < mask.size()) ++i;
      positions.push_back(0);
      continue;
    }
    Word one;
    Word many;
    positions.push_back(KindWords(mask[i], false, one, many) ? mask[i] : WCHAR(0));
  }
  return positions;
}

// A refused character in words: 'x' (a character beyond the Basic Multilingual Plane whole),
// space, or the code of one that has no face (a control character, half a pair).
KwWString CharWords(char32_t ch) {
  if (ch == ' ') return Ascii(Text(kWordSpace));
  const bool control = ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
  const bool half = ch >= 0xD800 && ch <= 0xDFFF;
  if (control || half || ch > 0x10FFFF) {
    char code[16];
    std::snprintf(code, sizeof code, ch < 0x80 ? "%u" : "U+%04X", static_cast<unsigned>(ch));
    return Say(kWordCharacterCode, Ascii(code));
  }
  char16_t units[2] = {0, 0};
  const int n = KwCharKind::ToUtf16(ch, units);
  KwWString quoted;
  for (int i = 0; i < n; ++i) quoted += static_cast<WCHAR>(units[i]);
  return Say(kWordQuoted, quoted);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The value, the description and the help. The rules speak UTF-16, as the controls hold their
// text; the narrow members are the same words in the ANSI code page.

KwWString KwMaskedEdit::GetAccessibleValueW() const {
  const Shape shape = ShapeOf(*this);
  if (shape.face == Face::Plain || shape.face == Face::Field) return GetInputDataW(false);
  // The position lookups change nothing (they only tell where a caret would go).
  KwMaskedEdit& self = const_cast<KwMaskedEdit&>(*this);
  const KwWString shown = ShowMaskW();
  KwWString value;
  std::size_t entered = 0;  // the value's length up to its last entered character
  for (int t = 0; t < static_cast<int>(shown.size()); ++t) {
    const WCHAR c = shown[static_cast<std::size_t>(t)];
    const bool input = self.IsInputData(t) != 0 && self.GetNextInputLocation(t) == t;
    if (input && c == shape.prompt) continue;  // an empty place
    // The blank a thousands place shows beside a sign is no part of the number.
    if (!input && shape.face == Face::Number && c == ' ') continue;
    value += c;
    if (input) entered = value.size();
  }
  value.resize(entered);
  return value;
}

KwWString KwMaskedEdit::GetAccessibleDescriptionW() const {
  const Shape shape = ShapeOf(*this);
  switch (shape.face) {
    case Face::Character: {
      // The format as the control shows it (the locale's separators), each input position as
      // its mask character; then what the positions take, kind by kind in their order.
      const std::vector<WCHAR> positions = CharacterPositions(GetMaskW());
      const KwWString shown = ShowMaskW();
      KwWString format;
      struct Taken {
        Word one, many;
        int count;
      };
      std::vector<Taken> kinds;
      for (std::size_t i = 0; i < positions.size(); ++i) {
        Word one;
        Word many;
        if (!KindWords(positions[i], false, one, many)) {
          format += i < shown.size() ? shown[i] : WCHAR(' ');
          continue;
        }
        format += positions[i];
        std::size_t k = 0;
        while (k < kinds.size() && kinds[k].one != one) ++k;
        if (k == kinds.size()) kinds.push_back(Taken{one, many, 0});
        ++kinds[k].count;
      }
      std::vector<KwWString> takes;
      for (const Taken& kind : kinds) takes.push_back(Counted(kind.count, kind.one, kind.many));
      if (kinds.empty()) return Say(kWordFormatNoInput, format);
      const int entered = static_cast<int>(GetInputDataW(false).size());
      return Say(kWordFormat, format, Listed(takes), Number(entered));
    }
    case Face::Number: {
      const auto& number = static_cast<const KwNumberMaskedEdit&>(*this);
      const int decimals = number.GetMaxDecimalPos();
      // One character per data position: the integer digits, the point, the decimals.
      const int digits = static_cast<int>(GetInputDataW(true).size()) - decimals - 1;
      const KwWString before = Counted(digits, kWordDigit, kWordDigits);
      if (decimals <= 0) return Say(kWordNumberWhole, before);
      return Say(kWordNumber, before, Number(decimals));
    }
    case Face::Field: {
      Word one;
      Word many;
      const KwWString mask = GetMaskW();
      if (!KindWords(mask[0], true, one, many)) return Ascii(Text(kWordNoInput));
      if (!::IsWindow(m_hWnd)) return Say(kWordFieldNoWindow, Ascii(Text(many)));
      const int limit = static_cast<int>(GetLimitText());
      return Say(kWordField, Counted(limit, one, many));
    }
    case Face::Plain:
    default:
      return KwWString();
  }
}

KwWString KwMaskedEdit::GetAccessibleHelpW() const {
  int pos = 0;
  const int reason = GetLastRejectionW(&pos, nullptr);
  const char32_t ch = GetLastRejectedCodePoint();
  const KwWString at = Number(pos);
  switch (reason) {
    case RejectWrongKind: {
      // The kind of the position that refused the character.
      const Shape shape = ShapeOf(*this);
      WCHAR kind = 0;
      bool field = false;
      if (shape.face == Face::Character) {
        const std::vector<WCHAR> positions = CharacterPositions(GetMaskW());
        if (pos >= 0 && pos < static_cast<int>(positions.size()))
          kind = positions[static_cast<std::size_t>(pos)];
      } else if (shape.face == Face::Number) {
        kind = '#';
      } else if (shape.face == Face::Field) {
        kind = GetMaskW()[0];
        field = true;
      }
      Word one;
      Word many;
      if (!KindWords(kind, field, one, many)) return Say(kWordWrongKindHere, at, CharWords(ch));
      return Say(kWordWrongKind, at, CharWords(ch), Ascii(Text(one)));
    }
    case RejectFull:
      return Say(kWordFull, at, CharWords(ch));
    case RejectNoInputPosition:
      return Say(kWordNoInputPosition, at, CharWords(ch));
    case RejectNoMask:
      return Say(kWordNoMask, at, CharWords(ch));
    case RejectClipboard:
      return Ascii(Text(kWordNoClipboardText));
    case RejectOutOfMemory:
      return Ascii(Text(kWordOutOfMemory));
    default:
      return KwWString();
  }
}

bool KwMaskedEdit::SetAccessibleValueW(const KwWString& value) {
  // A tool that sets the value acts for the user: a read-only control takes nothing from it.
  if (IsReadOnly()) return false;
  // The value is read as a shown text (a value read before, with its literals and the locale's
  // separators) and its data goes in through the mask as SetText takes data.
  SetTextW(GetInputDataW(value.c_str(), true));
  return true;
}

std::string KwMaskedEdit::GetAccessibleValue() const { return KwNarrow(GetAccessibleValueW()); }

std::string KwMaskedEdit::GetAccessibleDescription() const {
  return KwNarrow(GetAccessibleDescriptionW());
}

std::string KwMaskedEdit::GetAccessibleHelp() const { return KwNarrow(GetAccessibleHelpW()); }

bool KwMaskedEdit::SetAccessibleValue(const std::string& value) {
  return SetAccessibleValueW(KwWiden(value));
}

void KwMaskedEdit::AnnounceRefusal() {
  ::NotifyWinEvent(EVENT_SYSTEM_ALERT, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

#ifndef _WIN32
// Without the platform's accessibility the edit control answers (the simulation: 0).
LRESULT KwMaskedEdit::OnGetObject(WPARAM /*wParam*/, LPARAM /*lParam*/) { return Default(); }
#endif
