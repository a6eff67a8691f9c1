// A control that its host deletes from inside the control's own processing: from any
// notification it sends (EN_UPDATE, EN_CHANGE, EN_SETFOCUS, EN_KILLFOCUS, EN_MAXTEXT,
// KWN_REJECTED), from its validator, and from the next control's EN_SETFOCUS when the focus
// moves on. The control stops quietly: its memory is fenced (Fenced.h), so any touch of it
// afterwards faults; it sends nothing more; and the host goes on.
//
// Each row is an input into a control; for each notification the row names, a first run counts
// how often the input sends it, and then the control is deleted at each of those in turn, so
// that every place the control calls out from is left with the control gone.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "character/KwCharacterMaskedEdit.h"
#include "common/Fenced.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

constexpr int kVictim = 1;
constexpr int kNext = 2;  // a plain edit control: the next tab stop
constexpr UINT kByValidator = 0xFFFF;

// The host's reaction: the countdown-th time the parent hears `code` from `from`, it deletes
// the victim (the validator counts its calls the same way, as code kByValidator).
struct Reaction {
  UINT code = 0;
  int from = 0;
  int countdown = 0;  // 0: never (a run that only counts)
  int seen = 0;
  KwMaskedEdit* victim = nullptr;
  std::size_t notesBefore = 0;  // notifications recorded once the victim was deleted
};
Reaction g_reaction;
WNDPROC g_parentProc = nullptr;

bool Hears(UINT code, int from) {
  if (code != g_reaction.code || from != g_reaction.from) return false;
  if (++g_reaction.seen != g_reaction.countdown || g_reaction.victim == nullptr) return false;
  delete std::exchange(g_reaction.victim, nullptr);
  // What the window said while it was destroyed (EN_KILLFOCUS) is behind this mark.
  g_reaction.notesBefore = Notifications().size();
  return true;
}

// The host's parent, hooked: it records the notification first, then reacts.
LRESULT CALLBACK ReactingParent(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallWindowProcA(g_parentProc, hWnd, msg, wParam, lParam);
  if (msg == WM_COMMAND) Hears(HIWORD(wParam), LOWORD(wParam));
  return result;
}

class DeletingValidator : public KwValidator {
 public:
  using KwValidator::KwValidator;
  // Deleting the control deletes its validator, this one: nothing of it is touched after.
  int Validate(std::string&) override {
    Hears(kByValidator, kVictim);
    return 0;
  }
  KwValidator* Clone() override { return new DeletingValidator(*this); }
};

struct Row {
  const char* name;
  char kind;  // 'c' character, 'p' character without a mask, 'n' number, 'f' field
  const char* mask;
  const char* text;  // through SetText
  int limit;         // the text limit; 0: the edit control's default
  bool autoTab;
  const char* clip;  // the clipboard; nullptr: empty
  int selStart, selEnd;
  // The input: 'k' keys (arg), 't' WM_SETTEXT (arg) from the host, 's' SetText(arg),
  // 'm' SetMask(arg), 'e' EmptyData(keep the mask: arg "1"), 'v' OnValidate, 'g' GetDataNumValue,
  // 'f' the focus given to the control (it had none), 'l' a click into it (it had no focus).
  char act;
  const char* arg;
  // What the host reacts to: U EN_UPDATE, C EN_CHANGE, S EN_SETFOCUS, K EN_KILLFOCUS,
  // M EN_MAXTEXT, R KWN_REJECTED, V the validator, N EN_SETFOCUS of the next control.
  const char* reactions;
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

std::pair<UINT, int> ReactionOf(char letter) {
  switch (letter) {
    case 'U':
      return {EN_UPDATE, kVictim};
    case 'C':
      return {EN_CHANGE, kVictim};
    case 'S':
      return {EN_SETFOCUS, kVictim};
    case 'K':
      return {EN_KILLFOCUS, kVictim};
    case 'M':
      return {EN_MAXTEXT, kVictim};
    case 'R':
      return {KWN_REJECTED, kVictim};
    case 'V':
      return {kByValidator, kVictim};
    default:
      return {EN_SETFOCUS, kNext};
  }
}

class DeletedFromItsOwnProcessing : public WindowTest, public ::testing::WithParamInterface<Row> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_next = CreateEdit(kNext);
    g_parentProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReactingParent)));
  }
  void TearDown() override {
    ::SetWindowLongPtrA(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_parentProc));
    delete std::exchange(g_reaction.victim, nullptr);
    WindowTest::TearDown();
  }

  KwMaskedEdit* Make(const Row& r) {
    KwMaskedEdit* edit = nullptr;
    switch (r.kind) {
      case 'n':
        edit = new Fenced<KwNumberMaskedEdit>(r.mask);
        break;
      case 'f':
        edit = new Fenced<KwFieldMaskedEdit>(r.mask);
        break;
      default:
        edit = new Fenced<KwCharacterMaskedEdit>(r.mask);
        break;
    }
    EXPECT_TRUE(edit->Create(kEditStyle, EditRect(kVictim), ParentWnd(), kVictim));
    if (r.limit > 0) edit->SetLimitText(static_cast<UINT>(r.limit));
    edit->SetAutoTab(r.autoTab);
    edit->SetNotifyRejections(true);
    edit->SetValidator(new DeletingValidator(edit));
    edit->SetText(r.text);
    if (r.clip != nullptr) {
      EXPECT_TRUE(SetClipboardText(r.clip));
    } else {
      EmptyClipboardNow();
    }
    if (r.act == 'f' || r.act == 'l') {
      Focus(m_next);
    } else {
      Focus(edit->GetSafeHwnd());
      SetSel(edit->GetSafeHwnd(), r.selStart, r.selEnd);
    }
    Pump();
    ClearNotifications();
    return edit;
  }

  // Makes the control, arms the reaction and plays the input; answers how often the reaction's
  // notification came.
  int Run(const Row& r, char letter, int countdown) {
    KwMaskedEdit* edit = Make(r);
    const HWND hWnd = edit->GetSafeHwnd();
    const auto [code, from] = ReactionOf(letter);
    g_reaction = Reaction{code, from, countdown, 0, edit, 0};
    switch (r.act) {
      case 'k':
        Keys(r.arg);
        break;
      case 't':
        ::SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(r.arg));
        break;
      case 's':
        edit->SetText(r.arg);
        break;
      case 'm':
        edit->SetMask(r.arg);
        break;
      case 'e':
        edit->EmptyData(*r.arg == '1' ? 1 : 0);
        break;
      case 'v':
        edit->OnValidate();
        break;
      case 'g': {
        double value = 0;
        edit->GetDataNumValue(value);
        break;
      }
      case 'f':
        Focus(hWnd);
        break;
      default:
        Click(hWnd, 0);
        break;
    }
    Pump();
    if (countdown == 0) {
      const int seen = g_reaction.seen;  // not what the control says while it is deleted
      delete std::exchange(g_reaction.victim, nullptr);
      return seen;
    }
    EXPECT_EQ(g_reaction.victim, nullptr) << "the host never deleted the control";
    EXPECT_FALSE(::IsWindow(hWnd));
    const auto& notes = Notifications();
    std::size_t first = g_reaction.notesBefore;
    // The real edit control ends the message it was in: deleted at its EN_UPDATE, its window
    // gone, Wine's still sends the EN_CHANGE that follows. Nothing more may come.
    if (code == EN_UPDATE && first < notes.size() && notes[first].code == EN_CHANGE) ++first;
    for (std::size_t i = first; i < notes.size(); ++i)
      EXPECT_NE(notes[i].hwnd, hWnd) << CodeName(notes[i].code) << " from the deleted control";
    // The host goes on.
    ::SetWindowTextA(m_next, "");
    Focus(m_next);
    Keys("ok");
    EXPECT_EQ("ok", Text(m_next));
    return g_reaction.seen;
  }

  HWND m_next = nullptr;
};

TEST_P(DeletedFromItsOwnProcessing, StopsQuietly) {
  const Row& r = GetParam();
  for (const char* letter = r.reactions; *letter != '\0'; ++letter) {
    SCOPED_TRACE(std::string("reacting to ") + *letter);
    const int times = Run(r, *letter, 0);
    EXPECT_GT(times, 0) << "the input never sends what the host reacts to";
    for (int k = 1; k <= times; ++k) {
      SCOPED_TRACE("deleted at the " + std::to_string(k) + ". of " + std::to_string(times));
      Run(r, *letter, k);
      if (HasFatalFailure()) return;
    }
  }
}

const char kPhone[] = "(###) ###-####";

INSTANTIATE_TEST_SUITE_P(
    Controls, DeletedFromItsOwnProcessing,
    ::testing::Values(
        // The character control.
        Row{"CharacterTyping", 'c', kPhone, "", 0, false, nullptr, 1, 1, 'k', "5", "UC"},
        Row{"CharacterRefused", 'c', kPhone, "", 0, false, nullptr, 1, 1, 'k', "x", "UCR"},
        Row{"CharacterBackspace", 'c', kPhone, "123", 0, false, nullptr, 4, 4, 'k', "{Back}", "UC"},
        Row{"CharacterDelete", 'c', kPhone, "123", 0, false, nullptr, 1, 1, 'k', "{Del}", "UC"},
        Row{"CharacterTypingOverASelection", 'c', kPhone, "123", 0, false, nullptr, 1, 3, 'k', "9",
            "UC"},
        Row{"CharacterPaste", 'c', kPhone, "", 0, false, "555", 1, 1, 'k', "{C+v}", "UC"},
        Row{"CharacterPasteOverTheLimit", 'c', "###", "", 3, false, "55", 0, 0, 'k', "{C+v}", "M"},
        Row{"CharacterNothingToPaste", 'c', kPhone, "", 0, false, nullptr, 1, 1, 'k', "{C+v}",
            "UCR"},
        Row{"CharacterCut", 'c', kPhone, "123456", 0, false, nullptr, 1, 8, 'k', "{C+x}", "UC"},
        Row{"CharacterUndo", 'c', kPhone, "", 0, false, nullptr, 1, 1, 'k', "5{C+z}{C+y}", "UC"},
        Row{"CharacterForeignText", 'c', kPhone, "", 0, false, nullptr, 0, 0, 't', "5551234", "UC"},
        Row{"CharacterSetText", 'c', kPhone, "", 0, false, nullptr, 0, 0, 's', "5551234", "UC"},
        Row{"CharacterFocus", 'c', kPhone, "", 0, false, nullptr, 0, 0, 'f', "", "S"},
        Row{"CharacterClick", 'c', kPhone, "", 0, false, nullptr, 0, 0, 'l', "", "S"},
        Row{"CharacterTabAway", 'c', kPhone, "", 0, false, nullptr, 1, 1, 'k', "{Tab}", "K"},
        Row{"CharacterAutoTab", 'c', "##", "1", 0, true, nullptr, 1, 1, 'k', "2", "UCKN"},
        Row{"CharacterValidate", 'c', kPhone, "123", 0, false, nullptr, 0, 0, 'v', "", "V"},
        Row{"CharacterValue", 'c', kPhone, "123", 0, false, nullptr, 0, 0, 'g', "", "V"},
        Row{"CharacterEmptied", 'c', kPhone, "123", 0, false, nullptr, 0, 0, 'e', "1", "UC"},
        Row{"CharacterEmptiedOfItsMask", 'c', kPhone, "123", 0, false, nullptr, 0, 0, 'e', "0",
            "UC"},
        Row{"PlainEmptied", 'p', "", "ab", 0, false, nullptr, 0, 0, 'e', "0", "UC"},
        Row{"PlainGetsAMask", 'p', "", "ab", 0, false, nullptr, 0, 0, 'm', "###", "UC"},
        Row{"PlainTyping", 'p', "", "ab", 3, false, nullptr, 2, 2, 'k', "cd", "UCM"},
        // The number control (it never lets the edit control insert text: no EN_MAXTEXT).
        Row{"NumberTyping", 'n', "%", "12", 0, false, nullptr, 2, 2, 'k', "5", "UC"},
        Row{"NumberPoint", 'n', "%", "12", 0, false, nullptr, 2, 2, 'k', ".5", "UC"},
        Row{"NumberRefused", 'n', "%", "12", 0, false, nullptr, 2, 2, 'k', "x", "UCR"},
        Row{"NumberIntegerPartFull", 'n', "%", "123456789", 0, false, nullptr, 11, 11, 'k', "1",
            "R"},
        Row{"NumberBackspace", 'n', "%", "1234", 0, false, nullptr, 5, 5, 'k', "{Back}", "UC"},
        Row{"NumberDelete", 'n', "%", "1234", 0, false, nullptr, 0, 0, 'k', "{Del}", "UC"},
        Row{"NumberSpaceDeletesTheSelection", 'n', "%", "1234", 0, false, nullptr, 0, 2, 'k', " ",
            "UC"},
        Row{"NumberOverwrite", 'n', "%", "1234", 0, false, nullptr, 0, 0, 'k', "{Ins}9{Ins}", "UC"},
        Row{"NumberPaste", 'n', "%", "", 0, false, "12.5", 0, 0, 'k', "{C+v}", "UC"},
        Row{"NumberMaskRefused", 'n', "%", "1234", 0, false, nullptr, 0, 0, 'm', "x", "UC"},
        Row{"NumberCut", 'n', "%", "1234", 0, false, nullptr, 0, 3, 'k', "{C+x}", "UC"},
        Row{"NumberClear", 'n', "%", "1234", 0, false, nullptr, 0, 3, 'k', "{Clear}", "UC"},
        Row{"NumberUndo", 'n', "%", "", 0, false, nullptr, 0, 0, 'k', "5{C+z}{C+y}", "UC"},
        Row{"NumberForeignText", 'n', "%", "", 0, false, nullptr, 0, 0, 't', "1,234.5", "UC"},
        Row{"NumberSetText", 'n', "%", "", 0, false, nullptr, 0, 0, 's', "1234.5", "UC"},
        Row{"NumberFocus", 'n', "%", "", 0, false, nullptr, 0, 0, 'f', "", "S"},
        Row{"NumberClick", 'n', "%", "", 0, false, nullptr, 0, 0, 'l', "", "S"},
        Row{"NumberTabAway", 'n', "%", "1", 0, false, nullptr, 1, 1, 'k', "{Tab}", "K"},
        Row{"NumberAutoTab", 'n', "%", "123456789.1", 0, true, nullptr, 13, 13, 'k', "2", "UCKN"},
        Row{"NumberValue", 'n', "%", "12.5", 0, false, nullptr, 0, 0, 'g', "", "V"},
        Row{"NumberEmptied", 'n', "%", "12.5", 0, false, nullptr, 0, 0, 'e', "1", "UC"},
        Row{"NumberWithoutPositionsGetsAMask", 'n', "", "12", 0, false, nullptr, 0, 0, 'm', "%",
            "UC"},
        // The field control (the edit control's own processing edits it).
        Row{"FieldTyping", 'f', "#", "12", 4, false, nullptr, 2, 2, 'k', "5", "UC"},
        Row{"FieldRefused", 'f', "#", "12", 4, false, nullptr, 2, 2, 'k', "x", "UCR"},
        Row{"FieldFull", 'f', "#", "1234", 4, false, nullptr, 4, 4, 'k', "5", "R"},
        Row{"FieldBackspace", 'f', "#", "1234", 4, false, nullptr, 2, 2, 'k', "{Back}", "UC"},
        Row{"FieldDelete", 'f', "#", "1234", 4, false, nullptr, 0, 0, 'k', "{Del}", "UC"},
        Row{"FieldPaste", 'f', "#", "1", 4, false, "23", 1, 1, 'k', "{C+v}", "UC"},
        Row{"FieldPasteOverTheLimit", 'f', "#", "12", 4, false, "345", 2, 2, 'k', "{C+v}", "MUC"},
        Row{"FieldCut", 'f', "#", "1234", 4, false, nullptr, 0, 2, 'k', "{C+x}", "UC"},
        Row{"FieldClear", 'f', "#", "1234", 4, false, nullptr, 0, 2, 'k', "{Clear}", "UC"},
        Row{"FieldUndo", 'f', "#", "", 4, false, nullptr, 0, 0, 'k', "5{C+z}{C+y}", "UC"},
        Row{"FieldForeignText", 'f', "#", "", 4, false, nullptr, 0, 0, 't', "12", "UC"},
        Row{"FieldFocus", 'f', "#", "", 4, false, nullptr, 0, 0, 'f', "", "S"},
        Row{"FieldClick", 'f', "#", "", 4, false, nullptr, 0, 0, 'l', "", "S"},
        Row{"FieldTabAway", 'f', "#", "1", 4, false, nullptr, 1, 1, 'k', "{Tab}", "K"},
        Row{"FieldAutoTab", 'f', "#", "123", 4, true, nullptr, 3, 3, 'k', "4", "UCKN"},
        Row{"FieldValidate", 'f', "#", "12", 4, false, nullptr, 0, 0, 'v', "", "V"},
        Row{"FieldEmptied", 'f', "#", "12", 4, false, nullptr, 0, 0, 'e', "0", "UC"},
        Row{"FieldWithoutMaskGetsAMask", 'f', "", "ab", 4, false, nullptr, 0, 0, 'm', "#", "UC"}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
