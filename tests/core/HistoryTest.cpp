// Undo, redo and the reasons of refusals, for the three controls alike, driven through the host
// loop with key scripts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";

struct Given {
  char kind;  // 'c' character, 'n' number, 'f' field
  const char* mask;
  const char* data;  // through SetText
  int selStart, selEnd;
  const char* clip;  // the clipboard before the keys; nullptr: empty
  UINT limit = 8;    // the field's text limit
};

class HistoryTest : public WindowTest {
 protected:
  KwMaskedEdit& Make(const Given& s) {
    if (s.kind == 'c') {
      auto edit = std::make_unique<KwCharacterMaskedEdit>();
      edit->SetPromptSymbol('_');
      edit->SetMask(s.mask);
      m_edit = std::move(edit);
    } else if (s.kind == 'n') {
      m_edit = std::make_unique<KwNumberMaskedEdit>(s.mask);
    } else {
      m_edit = std::make_unique<KwFieldMaskedEdit>(s.mask);
    }
    EXPECT_TRUE(m_edit->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
    if (s.kind == 'f') m_edit->SetLimitText(s.limit);
    m_edit->SetText(s.data);
    if (s.clip != nullptr) {
      EXPECT_TRUE(SetClipboardText(s.clip));
    } else {
      EmptyClipboardNow();
    }
    Focus(m_edit->GetSafeHwnd());
    SetSel(m_edit->GetSafeHwnd(), s.selStart, s.selEnd);
    Pump();
    ClearNotifications();
    return *m_edit;
  }
  std::string Shown() const { return Text(m_edit->GetSafeHwnd()); }
  int CaretAt() const { return Sel(m_edit->GetSafeHwnd()).first; }

  void TearDown() override {
    m_edit.reset();
    WindowTest::TearDown();
  }
  std::unique_ptr<KwMaskedEdit> m_edit;
};

// ---------------------------------------------------------------------------------------------
// Undo and redo to the exact text and caret

struct UndoCase {
  const char* name;
  Given setup;
  const char* keys;
  const char* foreign;  // then sent as WM_SETTEXT (a step of its own); nullptr: none
  int steps;            // the history steps the edits make
};
void PrintTo(const UndoCase& c, std::ostream* os) { *os << c.name; }

class UndoRedo : public HistoryTest, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(UndoRedo, BackToTheStartAndForwardToTheEnd) {
  const UndoCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.setup);
  const std::string before = Shown();
  const int caretBefore = CaretAt();
  Keys(c.keys);
  if (c.foreign != nullptr) ::SetWindowTextA(edit.GetSafeHwnd(), c.foreign);
  Pump();
  const std::string after = Shown();
  const int caretAfter = CaretAt();
  ASSERT_NE(after, before);

  for (int i = 0; i < c.steps; ++i) {
    ASSERT_TRUE(edit.CanUndo()) << "step " << i;
    Keys(i % 2 == 0 ? "{C+z}" : "{Undo}");
  }
  EXPECT_FALSE(edit.CanUndo()) << "the edits made more steps than " << c.steps;
  EXPECT_EQ(Shown(), before);
  EXPECT_EQ(CaretAt(), caretBefore);
  Keys("{C+z}");  // nothing left: nothing changes
  EXPECT_EQ(Shown(), before);

  for (int i = 0; i < c.steps; ++i) {
    ASSERT_TRUE(edit.CanRedo()) << "step " << i;
    Keys(i % 2 == 0 ? "{C+y}" : "{C+S+z}");
  }
  EXPECT_FALSE(edit.CanRedo());
  EXPECT_EQ(Shown(), after);
  EXPECT_EQ(CaretAt(), caretAfter);
}

const Given kEmptyPhone{'c', kPhone, "", 1, 1, nullptr};
const Given kFullPhone{'c', kPhone, "5551234567", 1, 1, nullptr};

INSTANTIATE_TEST_SUITE_P(
    Controls, UndoRedo,
    ::testing::Values(
        UndoCase{"TypingIsOneStep", kEmptyPhone, "5551234", nullptr, 1},
        UndoCase{"ACaretMoveStartsAStep", kEmptyPhone, "55{Left}1", nullptr, 2},
        UndoCase{"BackspacesAfterTyping", kEmptyPhone, "5551234{Back}{Back}", nullptr, 2},
        UndoCase{"ARunOfDeletes", kFullPhone, "{Del}{Del}{Del}", nullptr, 1},
        UndoCase{
            "DeleteOfASelection", {'c', kPhone, "5551234567", 1, 4, nullptr}, "{Del}", nullptr, 1},
        UndoCase{
            "TypingOverASelection", {'c', kPhone, "5551234567", 1, 4, nullptr}, "98", nullptr, 1},
        UndoCase{"APasteBetweenTyping", {'c', kPhone, "", 1, 1, "12"}, "5{C+v}6", nullptr, 3},
        UndoCase{"ACut", {'c', kPhone, "5551234567", 1, 4, nullptr}, "{C+x}", nullptr, 1},
        UndoCase{"ForeignText", kEmptyPhone, "55", "(999) 888-7777", 2},
        UndoCase{"NoMask", {'c', "", "", 0, 0, "xy"}, "abc{Back}{C+v}", "plain", 4},
        UndoCase{"NumberTyping", {'n', "%", "", 0, 0, nullptr}, "1234.5", nullptr, 1},
        UndoCase{
            "NumberBackspaces", {'n', "%", "1234.5", 6, 6, nullptr}, "{Back}{Back}", nullptr, 1},
        UndoCase{"NumberPasteAndForeign", {'n', "%", "7", 1, 1, "99.5"}, "{C+v}", "12", 2},
        UndoCase{"FieldTyping", {'f', "#", "", 0, 0, nullptr}, "123{Back}4", nullptr, 3},
        UndoCase{"FieldPasteAndForeign", {'f', "#", "12", 2, 2, "34"}, "{C+v}", "9", 2},
        // A field shows a foreign text as it is: the redo brings it back so, letters and all.
        UndoCase{"FieldForeignTextOfAnotherKind", {'f', "#", "12", 2, 2, nullptr}, "3", "x9", 2}),
    [](const ::testing::TestParamInfo<UndoCase>& info) { return std::string(info.param.name); });

// The host's own changes start a new document; the limit and the messages.
TEST_F(HistoryTest, HostChangesEmptyTheHistory) {
  const std::vector<std::pair<const char*, std::function<void(KwMaskedEdit&)>>> changes = {
      {"SetText", [](KwMaskedEdit& e) { e.SetText("555"); }},
      {"EmptyData keeping the mask", [](KwMaskedEdit& e) { e.EmptyData(1); }},
      {"EmptyData", [](KwMaskedEdit& e) { e.EmptyData(0); }},
      {"SetMask", [](KwMaskedEdit& e) { e.SetMask("###"); }},
      {"SetPromptSymbol",
       [](KwMaskedEdit& e) { static_cast<KwCharacterMaskedEdit&>(e).SetPromptSymbol('*'); }},
  };
  for (const auto& [name, change] : changes) {
    KwMaskedEdit& edit = Make(kEmptyPhone);
    Keys("55{Left}1");
    ASSERT_TRUE(edit.Undo()) << name;
    ASSERT_TRUE(edit.CanRedo()) << name;
    change(edit);
    EXPECT_FALSE(edit.CanUndo()) << name;
    EXPECT_FALSE(edit.CanRedo()) << name;
  }
}

TEST_F(HistoryTest, TheLimitKeepsTheNewestSteps) {
  KwMaskedEdit& edit = Make(kEmptyPhone);
  EXPECT_EQ(edit.GetUndoLimit(), 100);
  edit.SetUndoLimit(2);
  Keys("1{Left}2{Left}3{Left}4");  // four steps
  const std::string four = Shown();
  EXPECT_TRUE(edit.Undo());
  EXPECT_TRUE(edit.Undo());
  EXPECT_FALSE(edit.Undo());
  EXPECT_EQ(Shown(), "(21_) ___-____");  // the state after the second step
  EXPECT_TRUE(edit.Redo());
  EXPECT_TRUE(edit.Redo());
  EXPECT_EQ(Shown(), four);

  edit.SetUndoLimit(0);
  EXPECT_FALSE(edit.CanUndo());
  Keys("5");
  const std::string typed = Shown();
  Keys("{C+z}");
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_EQ(Shown(), typed) << "with undo off Ctrl+Z changes nothing";
}

TEST_F(HistoryTest, TheEditMessagesAnswerFromTheHistory) {
  KwMaskedEdit& edit = Make(kEmptyPhone);
  const HWND h = edit.GetSafeHwnd();
  EXPECT_EQ(::SendMessageA(h, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(::SendMessageA(h, EM_UNDO, 0, 0), FALSE);
  Keys("55");
  EXPECT_EQ(::SendMessageA(h, EM_CANUNDO, 0, 0), TRUE);
  ClearNotifications();
  EXPECT_EQ(::SendMessageA(h, EM_UNDO, 0, 0), TRUE);
  EXPECT_EQ(Shown(), "(___) ___-____");
  EXPECT_EQ(ChangeCodesFor(1), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}))
      << "an undo is a rewrite as any edit's: " << Describe(ChangeCodesFor(1));
  EXPECT_EQ(::SendMessageA(h, WM_UNDO, 0, 0), FALSE);
  EXPECT_TRUE(edit.CanRedo());
  ::SendMessageA(h, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_FALSE(edit.CanRedo());
}

// ---------------------------------------------------------------------------------------------
// Why a key was refused

struct RejectCase {
  const char* name;
  Given setup;
  const char* keys;
  int reason;
  int pos;
  char ch;
  int notices = 1;  // KWN_REJECTED when asked for
};
void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }

class Refusals : public HistoryTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(Refusals, ReasonPositionCharacterAndNotification) {
  const RejectCase& c = GetParam();
  for (bool notify : {false, true}) {
    KwMaskedEdit& edit = Make(c.setup);
    EXPECT_FALSE(edit.GetNotifyRejections());
    edit.SetNotifyRejections(notify);
    Keys(c.keys);
    int pos = -1;
    char ch = '?';
    EXPECT_EQ(edit.GetLastRejection(&pos, &ch), c.reason);
    EXPECT_EQ(edit.GetLastRejection(), c.reason);
    if (c.reason != KwMaskedEdit::RejectNone) {
      EXPECT_EQ(pos, c.pos);
      EXPECT_EQ(ch, c.ch);
    }
    const std::vector<UINT> codes = CodesFor(1);
    const auto sent = std::count(codes.begin(), codes.end(), static_cast<UINT>(KWN_REJECTED));
    EXPECT_EQ(sent, notify ? c.notices : 0) << Describe(codes);
  }
}

// A refused keystroke beeps once, with the exclamation, and nothing else beeps (the edit control
// under the control never gets a key to refuse on its own); what a paste refuses is skipped
// silently, told by KWN_REJECTED alone.
TEST_P(Refusals, AKeyBeepsOnceAPasteNever) {
  KWTEST_REQUIRE_INSPECT();  // beeps are counted by the simulation only
  const RejectCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.setup);
  edit.SetNotifyRejections(true);
  ResetBeeps();
  Keys(c.keys);
  const std::vector<UINT> codes = CodesFor(1);
  const auto notices = std::count(codes.begin(), codes.end(), static_cast<UINT>(KWN_REJECTED));
  const bool paste = std::string(c.keys).find("{C+v}") != std::string::npos;
  EXPECT_EQ(Beeps(), paste ? 0 : notices);
  if (Beeps() > 0) {
    EXPECT_EQ(kwinspect::LastBeepType(), static_cast<UINT>(MB_ICONEXCLAMATION));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Refusals,
    ::testing::Values(
        RejectCase{"Accepted", kEmptyPhone, "5", KwMaskedEdit::RejectNone, 0, 0, 0},
        RejectCase{"ALetterInADigit", kEmptyPhone, "a", KwMaskedEdit::RejectWrongKind, 1, 'a'},
        RejectCase{"ThenAnAcceptedKeyClearsIt", kEmptyPhone, "a5", KwMaskedEdit::RejectNone, 0, 0},
        RejectCase{"PastTheEnd",
                   {'c', kPhone, "5551234567", 14, 14, nullptr},
                   "5",
                   KwMaskedEdit::RejectFull,
                   14,
                   '5'},
        RejectCase{"OnALiteral",
                   {'c', kPhone, "", 0, 0, nullptr},
                   "5",
                   KwMaskedEdit::RejectNoInputPosition,
                   0,
                   '5'},
        RejectCase{"OnlyLiteralsSelected",
                   {'c', kPhone, "", 4, 6, nullptr},
                   "5",
                   KwMaskedEdit::RejectNoInputPosition,
                   4,
                   '5'},
        RejectCase{"AnEmptyClipboard", kEmptyPhone, "{C+v}", KwMaskedEdit::RejectClipboard, 1,
                   '\0'},
        RejectCase{"APartlyRefusedPaste",
                   {'c', kPhone, "", 1, 1, "55a1"},
                   "{C+v}",
                   KwMaskedEdit::RejectWrongKind,
                   3,
                   'a'},
        RejectCase{"APasteTooLong",
                   {'c', kPhone, "", 1, 1, "123456789012"},
                   "{C+v}",
                   KwMaskedEdit::RejectFull,
                   14,
                   '1'},
        RejectCase{"AFullField",
                   {'f', "#", "123", 3, 3, nullptr, 3},
                   "4",
                   KwMaskedEdit::RejectFull,
                   3,
                   '4'},
        RejectCase{"AFieldLetter",
                   {'f', "#", "", 0, 0, nullptr},
                   "a",
                   KwMaskedEdit::RejectWrongKind,
                   0,
                   'a'},
        RejectCase{"AFieldWithoutMask",
                   {'f', "", "", 0, 0, nullptr},
                   "a",
                   KwMaskedEdit::RejectNoMask,
                   0,
                   'a'},
        RejectCase{"AFullIntegerPart",
                   {'n', "%", "123456789", 11, 11, nullptr},
                   "1",
                   KwMaskedEdit::RejectFull,
                   11,
                   '1'},
        RejectCase{"ANumberLetter",
                   {'n', "%", "", 0, 0, nullptr},
                   "a",
                   KwMaskedEdit::RejectWrongKind,
                   0,
                   'a'},
        RejectCase{"ANumberPasteWithALetter",
                   {'n', "%", "", 0, 0, "1x2"},
                   "{C+v}",
                   KwMaskedEdit::RejectWrongKind,
                   0,
                   'x'},
        RejectCase{"ANumberEmptyClipboard",
                   {'n', "%", "5", 1, 1, nullptr},
                   "{C+v}",
                   KwMaskedEdit::RejectClipboard,
                   1,
                   '\0'}),
    [](const ::testing::TestParamInfo<RejectCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// The caret after an edit: the edit hides it while it rewrites the window; when the edit is done
// it is in the control that has the focus, and shown again. (Whether it is hidden can be told on
// the simulation only: the real platform says where the caret is, not whether it shows.)

struct CaretCase {
  const char* name;
  Given setup;
  const char* keys;
};
void PrintTo(const CaretCase& c, std::ostream* os) { *os << c.name; }

class CaretAfterEdits : public HistoryTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(CaretAfterEdits, IsInTheControl) {
  const KwMaskedEdit& edit = Make(GetParam().setup);
  Keys(GetParam().keys);
  EXPECT_EQ(kwinspect::CaretWindow(), edit.GetSafeHwnd());
}

TEST_P(CaretAfterEdits, IsShown) {
  KWTEST_REQUIRE_INSPECT();  // a hidden caret can be told on the simulation only
  Make(GetParam().setup);
  Keys(GetParam().keys);
  bool hidden = true;
  kwinspect::CaretWindow(&hidden);
  EXPECT_FALSE(hidden);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, CaretAfterEdits,
    ::testing::Values(CaretCase{"Typing", kEmptyPhone, "5551"},
                      CaretCase{"ARefusedLetter", kEmptyPhone, "5x"},
                      CaretCase{"BackspaceAndDelete", kFullPhone, "{Back}{Del}{Home}{Del}"},
                      CaretCase{
                          "PasteAndCut", {'c', kPhone, "5551234567", 1, 4, "98"}, "{C+x}{C+v}"},
                      CaretCase{"UndoAndRedo", kEmptyPhone, "55{C+z}{C+y}"},
                      CaretCase{"Number", {'n', "%", "", 0, 0, nullptr}, "12.5{Back}"},
                      CaretCase{"Field", {'f', "#", "", 0, 0, nullptr}, "12a{Back}"}),
    [](const ::testing::TestParamInfo<CaretCase>& info) { return std::string(info.param.name); });

// Auto-tab moves the focus inside the edit: the caret is the next control's, and comes back to
// the control it left with the focus.
TEST_F(HistoryTest, AutoTabTakesTheCaretAlong) {
  KwMaskedEdit& first = Make({'c', "##", "", 0, 0, nullptr});
  first.SetAutoTab(true);
  KwCharacterMaskedEdit second("##");
  ASSERT_TRUE(second.Create(kEditStyle, EditRect(2), ParentWnd(), 2));
  Keys("12");
  EXPECT_EQ(kwinspect::CaretWindow(), second.GetSafeHwnd());
  Focus(first.GetSafeHwnd());
  EXPECT_EQ(kwinspect::CaretWindow(), first.GetSafeHwnd());
}

// ... shown in both, though the first control hid it for its edit.
TEST_F(HistoryTest, AutoTabLeavesTheCaretShown) {
  KWTEST_REQUIRE_INSPECT();  // a hidden caret can be told on the simulation only
  KwMaskedEdit& first = Make({'c', "##", "", 0, 0, nullptr});
  first.SetAutoTab(true);
  KwCharacterMaskedEdit second("##");
  ASSERT_TRUE(second.Create(kEditStyle, EditRect(2), ParentWnd(), 2));
  Keys("12");
  bool hidden = true;
  EXPECT_EQ(kwinspect::CaretWindow(&hidden), second.GetSafeHwnd());
  EXPECT_FALSE(hidden);
  Focus(first.GetSafeHwnd());
  EXPECT_EQ(kwinspect::CaretWindow(&hidden), first.GetSafeHwnd());
  EXPECT_FALSE(hidden);
}

// A parent that, once armed, hearing a change from its control 1 destroys that control's window,
// gives the focus to the other control and hides that one's caret.
HWND g_takesOver = nullptr;
bool g_armed = false;
LRESULT CALLBACK TakingOverProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const HWND from = reinterpret_cast<HWND>(lParam);
  if (g_armed && msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == 1) {
    g_armed = false;
    ::DestroyWindow(from);
    ::SetFocus(g_takesOver);
    ::HideCaret(g_takesOver);
  }
  return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

// The parent's box with the control 1 in it and the plain edit that takes over.
class TakingOver : public HistoryTest {
 protected:
  void SetUp() override {
    HistoryTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = TakingOverProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KwTakingOverBox";
    ::RegisterClassA(&wc);
    m_box = ::CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 100, 300, 80,
                              ParentWnd()->GetSafeHwnd(), nullptr, wc.hInstance, nullptr);
    ASSERT_NE(m_box, nullptr);
    ASSERT_TRUE(m_control.Create(kEditStyle, EditRect(1), CWnd::FromHandle(m_box), 1));
    g_takesOver = ::CreateWindowExA(0, "EDIT", "", kEditStyle, 0, 40, 100, 24, m_box,
                                    reinterpret_cast<HMENU>(2), wc.hInstance, nullptr);
    Focus(m_control.GetSafeHwnd());
    g_armed = true;
  }
  void TearDown() override {
    g_armed = false;
    if (m_box != nullptr) ::DestroyWindow(m_box);
    HistoryTest::TearDown();
  }
  HWND m_box = nullptr;
  KwCharacterMaskedEdit m_control{"###"};
};

TEST_F(TakingOver, AWindowDestroyedDuringItsEditLeavesTheCaretWithTheNext) {
  Keys("1");
  EXPECT_EQ(m_control.GetSafeHwnd(), nullptr);
  EXPECT_EQ(kwinspect::CaretWindow(), g_takesOver);
}

TEST_F(TakingOver, AWindowDestroyedDuringItsEditLeavesTheNextCaretHidden) {
  KWTEST_REQUIRE_INSPECT();  // a hidden caret can be told on the simulation only
  Keys("1");
  bool hidden = false;
  EXPECT_EQ(kwinspect::CaretWindow(&hidden), g_takesOver);
  EXPECT_TRUE(hidden) << "the other control hid its caret; it stays so";
}

}  // namespace
}  // namespace kwtest
