// Characters of every script through the controls: typed as WM_CHAR units into a Unicode window,
// pasted from CF_UNICODETEXT, undone and redone, read back through the wide and the narrow
// members, and committed by an input method. Every row runs on both builds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "character/CharacterTestSupport.h"
#include "core/KwText.h"
#include "field/KwFieldMaskedEdit.h"

namespace kwtest {
namespace {

// The narrow form of a text as the platform's A functions give it (the ANSI code page).
std::string Ansi(const KwWString& s) {
  if (s.empty()) return std::string();
  char buf[256] = {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), buf,
                                      static_cast<int>(sizeof buf), nullptr, nullptr);
  return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

KwWString TextW(HWND h) {
  WCHAR buf[256] = {};
  const int n = ::GetWindowTextW(h, buf, 256);
  return KwWString(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool SetClipboardW(const KwWString& text) {
  if (!::OpenClipboard(Parent())) return false;
  ::EmptyClipboard();
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
  auto* memory = static_cast<WCHAR*>(::GlobalLock(block));
  std::memcpy(memory, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  ::GlobalUnlock(block);
  const bool set = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  ::CloseClipboard();
  return set;
}

// The host loop of a Unicode program: messages taken out and dispatched with the W functions,
// so that posted characters stay UTF-16 (an ANSI loop would bring them through the code page).
void PumpW() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (AfxPreTranslateMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

class FieldProbe : public ModelProbe<KwFieldMaskedEdit> {
 public:
  using ModelProbe::ModelProbe;
};

const WCHAR kSmileHigh = 0xD83D, kSmileLow = 0xDE00;  // U+1F600, a character of two units

class Unicode : public CharacterControlTest {
 protected:
  // A field control with the mask, focused, the caret at its end.
  FieldProbe& MakeField(const char* mask, int id) {
    m_fields.push_back(std::make_unique<FieldProbe>(mask));
    FieldProbe& field = *m_fields.back();
    EXPECT_TRUE(field.Create(kEditStyle, EditRect(id), ParentWnd(), static_cast<UINT>(id)));
    Focus(field.GetSafeHwnd());
    return field;
  }
  void TearDown() override {
    m_fields.clear();
    CharacterControlTest::TearDown();
  }
  std::vector<std::unique_ptr<FieldProbe>> m_fields;
};

struct TypedRow {
  const char* name;
  bool field;  // a field control, else a character control with the prompt '_'
  const char* mask;
  KwWString typed;    // WM_CHAR units, one after the other
  KwWString shown;    // the window text after them
  KwWString data;     // GetInputDataW(false)
  int reason;         // GetLastRejection after the last unit
  int rejectedAt;     // its position
  char32_t rejected;  // and its character
};

// Typed into letter, digit and any-character positions: letters of every script are taken
// (case forced where the mask says), decimal digits of other scripts become ASCII digits, a
// character of two units is taken whole by the any-character field and refused whole
// (RejectWrongKind) by a letter position, and half a pair is refused.
TEST_F(Unicode, TypedCharactersAreTakenOrRefusedWholeAndReadBackBothWays) {
  const KwWString smile = {kSmileHigh, kSmileLow};
  const TypedRow rows[] = {
      {"LettersOfFourScripts", false, "????", KW_W("\u0142\u0416\u3042\u00E9"),
       KW_W("\u0142\u0416\u3042\u00E9"), KW_W("\u0142\u0416\u3042\u00E9"), 0, 0, 0},
      {"CaseForcedInEveryScript", false, ">><<", KW_W("\u0142\u0436\u0141\u0416"),
       KW_W("\u0141\u0416\u0142\u0436"), KW_W("\u0141\u0416\u0142\u0436"), 0, 0, 0},
      {"DigitsOfOtherScriptsShownAsAscii", false, "(##)", KW_W("\uFF11\u0661"), KW_W("(11)"),
       KW_W("11"), 0, 0, 0},
      {"EmojiIntoALetterPositionRefusedWhole", false, "??", smile, KW_W("__"), KW_W(""),
       KwMaskedEdit::RejectWrongKind, 0, 0x1F600},
      {"EmojiIntoAnAnyCharacterPositionRefusedWhole", false, "&&", smile, KW_W("__"), KW_W(""),
       KwMaskedEdit::RejectWrongKind, 0, 0x1F600},
      {"LoneLowSurrogateRefused", false, "&&", KwWString(1, kSmileLow), KW_W("__"), KW_W(""),
       KwMaskedEdit::RejectWrongKind, 0, kSmileLow},
      {"HighSurrogateWithoutItsLowRefused", false, "&&", KwWString{kSmileHigh, WCHAR('a')},
       KW_W("a_"), KW_W("a"), KwMaskedEdit::RejectWrongKind, 0, kSmileHigh},
      {"EmojiIntoAnAnyCharacterFieldKeptWhole", true, "&",
       KwWString{WCHAR('x'), kSmileHigh, kSmileLow, WCHAR('y')},
       KwWString{WCHAR('x'), kSmileHigh, kSmileLow, WCHAR('y')},
       KwWString{WCHAR('x'), kSmileHigh, kSmileLow, WCHAR('y')}, 0, 0, 0},
      {"EmojiIntoALetterFieldRefusedWhole", true, "?", KW_W("\u0142") + smile, KW_W("\u0142"),
       KW_W("\u0142"), KwMaskedEdit::RejectWrongKind, 1, 0x1F600},
      {"FullWidthDigitIntoADigitField", true, "#", KW_W("\uFF11\u0662"), KW_W("12"), KW_W("12"), 0,
       0, 0},
  };
  int id = 10;
  for (const TypedRow& r : rows) {
    SCOPED_TRACE(r.name);
    KwMaskedEdit* edit = nullptr;
    if (r.field) {
      edit = &MakeField(r.mask, ++id);
    } else {
      CharEditProbe& c = Make(r.mask, ++id);
      const int first = c.GetNextInputLocation(0);
      Ready(c, first, first);
      edit = &c;
    }
    const HWND h = edit->GetSafeHwnd();
    for (WCHAR unit : r.typed) ::SendMessageW(h, WM_CHAR, unit, 1);
    EXPECT_EQ(Hex(TextW(h)), Hex(r.shown));
    EXPECT_EQ(Hex(edit->GetInputDataW(false)), Hex(r.data));
    EXPECT_EQ(Hex(edit->ShowMaskW()), Hex(r.shown));
    // The narrow members give what the A functions give: the ANSI code page's form.
    EXPECT_EQ(edit->GetInputData(false), Ansi(r.data));
    EXPECT_EQ(edit->ShowMask(), Ansi(r.shown));
    EXPECT_EQ(Text(h), Ansi(r.shown));
    int pos = -1;
    WCHAR unit = 0;
    char narrow = 0;
    EXPECT_EQ(edit->GetLastRejectionW(&pos, &unit), r.reason);
    EXPECT_EQ(edit->GetLastRejection(nullptr, &narrow), r.reason);
    if (r.reason != KwMaskedEdit::RejectNone) {
      EXPECT_EQ(pos, r.rejectedAt);
      EXPECT_EQ(edit->GetLastRejectedCodePoint(), r.rejected);
      // A character of two units reads as its first; narrow, as the code page has it.
      const WCHAR first = r.rejected > 0xFFFF ? kSmileHigh : static_cast<WCHAR>(r.rejected);
      EXPECT_EQ(unit, first);
      EXPECT_EQ(narrow, '?');
    }
  }
  // 'é' is in the Western code page: the narrow members give its byte there, and for 'ł' the
  // letter the code page has in its place, as the A functions do.
  if (::GetACP() == 1252) {
    CharEditProbe& c = Make("??", ++id);
    c.SetTextW(KW_W("\u00E9\u0142"));
    EXPECT_EQ(c.GetInputData(false), "\xE9l");
    c.SetText("\xC9");
    EXPECT_EQ(Hex(c.GetInputDataW(false)), "00C9");
  }
}

// A paste of text of every script goes into the positions as typed characters do; undo brings
// back the text before it and redo the pasted one, whole characters each time.
TEST_F(Unicode, PastedCharactersAreFilteredUndoneAndRedone) {
  const KwWString smile = {kSmileHigh, kSmileLow};
  const struct {
    const char* name;
    bool field;
    const char* mask;
    KwWString pasted, shown;
    int reason;
  } rows[] = {
      {"Letters", false, "????", KW_W("\u0142\u0416\u3042\u00E9"), KW_W("\u0142\u0416\u3042\u00E9"),
       0},
      {"DigitsAsAscii", false, "##-##", KW_W("\uFF11\uFF12-\u0663\u0664"), KW_W("12-34"), 0},
      {"EmojiDroppedWhole", false, "???", KW_W("a") + smile + KW_W("b"), KW_W("ab_"),
       KwMaskedEdit::RejectWrongKind},
      {"EmojiKeptWholeInAField", true, "&", KW_W("a") + smile + KW_W("b"),
       KW_W("a") + smile + KW_W("b"), 0},
      {"LoneSurrogateDroppedInAField", true, "&", KwWString{WCHAR('a'), kSmileLow, WCHAR('b')},
       KW_W("ab"), KwMaskedEdit::RejectWrongKind},
  };
  int id = 30;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    KwMaskedEdit* edit = nullptr;
    if (r.field) {
      edit = &MakeField(r.mask, ++id);
    } else {
      CharEditProbe& c = Make(r.mask, ++id);
      Ready(c, 0, 0);
      edit = &c;
    }
    const HWND h = edit->GetSafeHwnd();
    const KwWString before = TextW(h);
    ASSERT_TRUE(SetClipboardW(r.pasted));
    ::SendMessageW(h, WM_PASTE, 0, 0);
    EXPECT_EQ(Hex(TextW(h)), Hex(r.shown));
    EXPECT_EQ(edit->GetLastRejection(), r.reason);
    EXPECT_EQ(edit->GetInputData(false), Ansi(edit->GetInputDataW(false)));
    ASSERT_TRUE(edit->CanUndo());
    EXPECT_TRUE(edit->Undo());
    EXPECT_EQ(Hex(TextW(h)), Hex(before));
    EXPECT_TRUE(edit->Redo());
    EXPECT_EQ(Hex(TextW(h)), Hex(r.shown));
  }
}

// The edit control takes any text, half a character too; a field never keeps a half: not from a
// foreign text, nor where a cut or clear ended inside a pair. The window shows what it kept.
TEST_F(Unicode, AFieldDropsTheHalvesTheEditControlLeaves) {
  const struct {
    const char* name;
    KwWString text;
    int selStart, selEnd;  // then cut (start < end), or nothing
    KwWString shown;
  } rows[] = {
      {"ForeignLoneLow", KwWString{WCHAR('a'), kSmileLow, WCHAR('b')}, 0, 0, KW_W("ab")},
      {"ForeignLoneHighAtTheEnd", KwWString{WCHAR('a'), kSmileHigh}, 0, 0, KW_W("a")},
      {"ForeignPairKept", KwWString{kSmileHigh, kSmileLow}, 0, 0, {kSmileHigh, kSmileLow}},
      {"CutEndsInsideAPair", KwWString{WCHAR('a'), kSmileHigh, kSmileLow, WCHAR('b')}, 0, 2,
       KW_W("b")},
      {"CutStartsInsideAPair", KwWString{WCHAR('a'), kSmileHigh, kSmileLow, WCHAR('b')}, 2, 4,
       KW_W("a")},
  };
  int id = 50;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    FieldProbe& field = MakeField("&", ++id);
    const HWND h = field.GetSafeHwnd();
    ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(r.text.c_str()));
    if (r.selStart < r.selEnd) {
      ::SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(r.selStart), r.selEnd);
      ::SendMessageW(h, WM_CUT, 0, 0);
    }
    EXPECT_EQ(Hex(TextW(h)), Hex(r.shown));
    EXPECT_EQ(Hex(field.GetInputDataW(true)), Hex(r.shown));
  }
}

// A text sent from an ANSI program reaches the Unicode window converted by the system, and a
// narrow mask and prompt are the ANSI code page's: the narrow interface works as it did.
TEST_F(Unicode, NarrowSendersAndMembersSpeakTheAnsiCodePage) {
  CharEditProbe& edit = Make("(###) ??", 2);
  ::SendMessageA(edit.GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("(123) ab"));
  EXPECT_EQ(Hex(TextW(edit.GetSafeHwnd())), Hex(KW_W("(123) ab")));
  EXPECT_EQ(edit.GetInputData(false), "123ab");
  EXPECT_EQ(edit.GetMask(), "(###) ??");
  EXPECT_EQ(Hex(edit.GetMaskW()), Hex(KW_W("(###) ??")));
  edit.SetPromptSymbolW(0x00B7);  // the middle dot
  EXPECT_EQ(edit.GetPromptSymbolW(), 0x00B7);
  EXPECT_TRUE(edit.SetMaskW(KW_W("\u2116 ##")));  // the numero sign, a literal
  EXPECT_EQ(Hex(edit.ShowMaskW()), Hex(KW_W("\u2116 \u00B7\u00B7")));
  edit.SetPromptSymbolW(0xD800);  // half a character: refused
  EXPECT_EQ(edit.GetPromptSymbolW(), 0x00B7);
}

// An input method's committed string goes through the mask as typed characters: 'あい' into '??'
// stays, full-width '１２' into '##' becomes '12'. A composition started where the caret stands
// on a literal first moves the caret to the next input position.
TEST_F(Unicode, InputMethodCommitsGoThroughTheMask) {
  const struct {
    const char* mask;
    int caret;
    KwWString committed, shown;
  } rows[] = {{"??", 0, KW_W("\u3042\u3044"), KW_W("\u3042\u3044")},
              {"##", 0, KW_W("\uFF11\uFF12"), KW_W("12")},
              {"(##)", 0, KW_W("\uFF11\uFF12"), KW_W("(12)")}};
  int id = 50;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.mask);
    CharEditProbe& edit = Make(r.mask, ++id);
    Ready(edit, r.caret, r.caret);
    const HWND h = edit.GetSafeHwnd();
    HIMC imc = ::ImmGetContext(h);
    ASSERT_NE(imc, nullptr);
    EXPECT_TRUE(::ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<WCHAR*>(r.committed.data()),
                                           static_cast<DWORD>(r.committed.size() * sizeof(WCHAR)),
                                           nullptr, 0));
    EXPECT_TRUE(::ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    ::ImmReleaseContext(h, imc);
    PumpW();
    EXPECT_EQ(Hex(TextW(h)), Hex(r.shown));
    EXPECT_EQ(edit.refusals, 0);
  }
}

// The start of a composition places the caret as a typed character would: on the next input
// position past a literal, or, with none left, refused with the reason (and the beep).
TEST_F(Unicode, CompositionStartMovesTheCaretOrIsRefused) {
  const struct {
    const char* mask;
    const char* data;
    int caret;
    int movedTo;  // -1: refused
    int reason;
  } rows[] = {{"(##)", "", 0, 1, 0},
              {"##-##", "12", 2, 3, 0},
              {"##-", "12", 2, -1, KwMaskedEdit::RejectFull},
              {"##-", "1", 3, -1, KwMaskedEdit::RejectNoInputPosition},
              {"##", "", 1, 1, 0}};
  int id = 60;
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.mask) + " at " + std::to_string(r.caret));
    CharEditProbe& edit = Make(r.mask, ++id, r.data);
    Ready(edit, r.caret, r.caret);
    ::SendMessageW(edit.GetSafeHwnd(), WM_IME_STARTCOMPOSITION, 0, 0);
    if (r.movedTo >= 0) {
      EXPECT_EQ(Sel(edit.GetSafeHwnd()), Caret(r.movedTo));
      EXPECT_EQ(edit.refusals, 0);
    } else {
      EXPECT_EQ(Sel(edit.GetSafeHwnd()), Caret(r.caret));
      EXPECT_EQ(edit.refusals, 1);
    }
    EXPECT_EQ(edit.GetLastRejection(), r.reason);
    ::SendMessageW(edit.GetSafeHwnd(), WM_IME_ENDCOMPOSITION, 0, 0);
  }
  // Over a selection, and in a control without a mask, it starts where it is.
  const struct {
    const char* mask;
    const char* data;
    int start, end;
  } still[] = {{"##-##", "1234", 0, 2}, {"##-##", "1234", 2, 4}, {"", "ab", 2, 2}};
  for (const auto& r : still) {
    SCOPED_TRACE(std::string(r.mask) + " at " + std::to_string(r.start));
    CharEditProbe& edit = Make(r.mask, ++id, r.data);
    Ready(edit, r.start, r.end);
    ::SendMessageW(edit.GetSafeHwnd(), WM_IME_STARTCOMPOSITION, 0, 0);
    EXPECT_EQ(Sel(edit.GetSafeHwnd()), std::make_pair(r.start, r.end));
    EXPECT_EQ(edit.refusals, 0);
    ::SendMessageW(edit.GetSafeHwnd(), WM_IME_ENDCOMPOSITION, 0, 0);
  }
}

// The edit control's caret keys step over UTF-16 units, not characters: Right from before a pair
// stops between its halves, as Left from after it does (measured under Wine). The controls leave
// these moves to the edit control, so a field holding a pair moves as a plain edit control does;
// what is typed or deleted there never leaves half a pair (the rows above, and the fuzzers).
TEST_F(Unicode, CaretKeysStepOverUnitsAsTheEditControlDoes) {
  const KwWString text = {'a', kSmileHigh, kSmileLow, 'b'};
  const struct {
    const char* name;
    int caret;
    UINT key;
    bool shift;
    std::pair<int, int> sel;
  } rows[] = {{"RightIntoThePair", 1, VK_RIGHT, false, {2, 2}},
              {"RightOutOfThePair", 2, VK_RIGHT, false, {3, 3}},
              {"LeftIntoThePair", 3, VK_LEFT, false, {2, 2}},
              {"ShiftRightSelectsHalf", 1, VK_RIGHT, true, {1, 2}}};
  int id = 70;
  for (bool field : {false, true}) {
    for (const auto& r : rows) {
      SCOPED_TRACE(std::string(field ? "field " : "edit control ") + r.name);
      HWND h = nullptr;
      if (field) {
        FieldProbe& f = MakeField("&", ++id);
        f.SetTextW(text);
        h = f.GetSafeHwnd();
      } else {
        const RECT rc = EditRect(++id);
        h = ::CreateWindowExW(0, KW_W("EDIT"), text.c_str(), kEditStyle, rc.left, rc.top,
                              rc.right - rc.left, rc.bottom - rc.top, Parent(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(h, nullptr);
        Focus(h);
      }
      SetSel(h, r.caret, r.caret);
      Press(r.key, r.shift);
      EXPECT_EQ(Sel(h), r.sel);
      EXPECT_EQ(Hex(TextW(h)), Hex(text));
      if (!field) ::DestroyWindow(h);
    }
  }
}

}  // namespace
}  // namespace kwtest
