// A character control in a window: keys, characters, the clipboard, focus and clicks, all driven
// through the host's message loop (posted key input, the PreTranslateMessage walk,
// IsDialogMessageA, TranslateMessage and dispatch), and text set by the host or from outside.
#include <gtest/gtest.h>

#include "character/CharacterTestSupport.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";

using CharacterRoad = CharacterControlTest;

TEST_F(CharacterRoad, TypingIntoAnEmptyPhoneControl) {
  CharEditProbe& edit = Make(kPhone);
  HWND h = edit.GetSafeHwnd();
  EXPECT_EQ(Text(h), "(___) ___-____") << "Create shows the mask";
  Ready(edit, 1, 1);
  Type("5");
  EXPECT_EQ(Text(h), "(5__) ___-____");
  EXPECT_EQ(Sel(h), Caret(2)) << "the caret is on the next input position";
  // InsertAt rewrites the window once through SetInputData, then OnChar once more.
  EXPECT_EQ(ChangeCodesFor(1), OwnUpdates(2)) << Describe(ChangeCodesFor(1));
  for (const Notification& n : Notifications()) {
    if (n.id == 1) {
      EXPECT_EQ(n.hwnd, h) << "lParam carries the control's window";
    }
  }
  Type("551234");
  EXPECT_EQ(Text(h), "(555) 123-4___");
  EXPECT_EQ(Sel(h), Caret(11));
  EXPECT_EQ(edit.GetInputData(true), "5551234___");
  EXPECT_EQ(edit.GetInputData(false), "5551234");
  EXPECT_EQ(edit.refusals, 0);
}

struct KeyCase {
  const char* name;
  const char* mask;
  const char* data;  // raw
  int selStart, selEnd;
  const char* keys;  // a key script (host/KeyScript.h)
  const char* shown;
  int caretStart, caretEnd;
  int updates;  // rewrites of the window the parent hears about; -1: not counted
  int refusals;
  const char* clip;                 // the clipboard before the keys ("" empty)
  const char* clipAfter = nullptr;  // nullptr: as before
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class CharacterKeys : public CharacterControlTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(CharacterKeys, ShowCaretNotificationsRefusalsAndClipboard) {
  const KeyCase& c = GetParam();
  CharEditProbe& edit = Make(c.mask, 1, c.data);
  HWND h = edit.GetSafeHwnd();
  if (*c.clip != '\0') {
    ASSERT_TRUE(SetClipboardText(c.clip));
  } else {
    EmptyClipboardNow();
  }
  Ready(edit, c.selStart, c.selEnd);
  Keys(c.keys);
  EXPECT_EQ(Text(h), c.shown);
  EXPECT_EQ(Sel(h), std::make_pair(c.caretStart, c.caretEnd));
  if (c.updates >= 0) {
    EXPECT_EQ(ChangeCodesFor(1), OwnUpdates(c.updates)) << Describe(ChangeCodesFor(1));
  }
  EXPECT_EQ(edit.refusals, c.refusals);
  EXPECT_EQ(ClipboardText(), c.clipAfter ? c.clipAfter : c.clip);
}

// Phone mask holding 555123: '(555) 123-____'. Each try of DeleteRange lays the data out again,
// so a Delete or Backspace that removes nothing still rewrites the window and leaves the caret on
// the first input position, and a Backspace that crosses literals rewrites once per try.
INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterKeys,
    ::testing::Values(
        KeyCase{"DeleteMovesInputLeft", kPhone, "555123", 2, 2, "{Del}", "(551) 23_-____", 2, 2, 2,
                0, ""},
        KeyCase{"DeleteOnLiteral", kPhone, "555123", 4, 4, "{Del}", "(555) 123-____", 1, 1, 1, 0,
                ""},
        KeyCase{"DeleteSelection", kPhone, "555123", 1, 7, "{Del}", "(23_) ___-____", 1, 1, 2, 0,
                ""},
        KeyCase{"ShiftDeleteDoesNotCopy", kPhone, "555123", 1, 4, "{S+Del}", "(123) ___-____", 1, 1,
                2, 0, "k"},
        KeyCase{"BackspaceOverLiterals", kPhone, "555123", 6, 6, "{Back}", "(551) 23_-____", 3, 3,
                4, 0, ""},
        KeyCase{"BackspaceAtStart", kPhone, "555123", 0, 0, "{Back}", "(555) 123-____", 0, 0, 0, 0,
                ""},
        KeyCase{"BackspaceSelection", kPhone, "555123", 2, 7, "{Back}", "(523) ___-____", 2, 2, 2,
                0, ""},
        KeyCase{"BackspaceLiteralSelection", kPhone, "555123", 4, 6, "{Back}", "(551) 23_-____", 3,
                3, 3, 0, ""},
        KeyCase{"LeftSkipsLiterals", kPhone, "555123", 6, 6, "{Left}", "(555) 123-____", 3, 3, 0, 0,
                ""},
        KeyCase{"UpMovesLikeLeft", kPhone, "555123", 6, 6, "{Up}", "(555) 123-____", 3, 3, 0, 0,
                ""},
        KeyCase{"RightSkipsLiterals", kPhone, "555123", 3, 3, "{Right}", "(555) 123-____", 6, 6, 0,
                0, ""},
        KeyCase{"HomeGoesToFirstInput", kPhone, "555123", 8, 8, "{Home}", "(555) 123-____", 1, 1, 0,
                0, ""},
        KeyCase{"EndMayRestAfterLiteral", "(###)", "12", 1, 1, "{End}", "(12_)", 5, 5, 0, 0, ""},
        KeyCase{"ShiftLeftExtends", kPhone, "555123", 6, 6, "{S+Left}", "(555) 123-____", 5, 6, 0,
                0, ""},
        KeyCase{"ShiftRightExtends", kPhone, "555123", 3, 3, "{S+Right}", "(555) 123-____", 3, 4, 0,
                0, ""},
        KeyCase{"ShiftHomeSelectsToStart", kPhone, "555123", 3, 3, "{S+Home}", "(555) 123-____", 0,
                3, 0, 0, ""},
        KeyCase{"InsertShiftsFollowingInput", kPhone, "555123", 1, 1, "9", "(955) 512-3___", 2, 2,
                2, 0, ""},
        KeyCase{"CharacterOnLiteralMovesOn", kPhone, "555123", 9, 9, "7", "(555) 123-____", 10, 10,
                0, 1, ""},
        // The refused insertion rewrote twice (tried, restored), then the handler once more.
        KeyCase{"RefusedCharacterRedisplays", kPhone, "555123", 6, 6, "x", "(555) 123-____", 6, 6,
                3, 1, ""},
        KeyCase{"SelectionWithoutInput", kPhone, "555123", 4, 6, "1", "(555) 123-____", 6, 6, -1, 1,
                ""},
        KeyCase{"OverwriteSkipsLiterals", "##-##", "1234", 0, 0, "{Ins}98", "98-34", 3, 3, -1, 0,
                ""},
        KeyCase{"OverwriteSelectionInserts", "##-##", "1234", 3, 5, "{Ins}5", "12-5_", 4, 4, -1, 0,
                ""},
        KeyCase{"OverwriteRefused", "##", "12", 1, 1, "{Ins}a", "12", 1, 1, -1, 1, ""},
        // Shift+Insert and Ctrl+Insert toggle the mode too: neither pastes nor copies.
        KeyCase{"InsertToggles", "##-##", "1234", 0, 0, "{S+Ins}{C+Ins}{Ins}9", "92-34", 1, 1, -1,
                0, "77"},
        KeyCase{"CtrlXCutsDisplayText", kPhone, "5551234", 1, 4, "{C+x}", "(123) 4__-____", 1, 1,
                -1, 0, "", "555"},
        KeyCase{"CutTakesLiterals", kPhone, "5551234", 8, 12, "{Cut}", "(555) 12_-____", 8, 8, -1,
                0, "", "3-4_"},
        KeyCase{"CopyChangesNoText", kPhone, "5551234", 0, 11, "{C+c}", "(555) 123-4___", 0, 11, 0,
                0, "", "(555) 123-4"},
        KeyCase{"ClearLeavesClipboard", kPhone, "5551234", 1, 4, "{Clear}", "(123) 4__-____", 1, 1,
                -1, 0, "k"},
        // Pasting packs the text into the input positions; refused characters are skipped silently.
        KeyCase{"PasteClosesGaps", "##-##", "1__4", 1, 1, "{C+v}", "12-4_", 4, 4, -1, 0, "2"},
        KeyCase{"PasteDisplayFormLinesUp", "##-##", "", 0, 0, "{C+v}", "12-34", 5, 5, -1, 0,
                "12-34"},
        KeyCase{"PasteOverSelection", kPhone, "5551234", 1, 4, "{C+v}", "(999) 123-4___", 11, 11,
                -1, 0, "999"},
        KeyCase{"PasteSkipsRefused", "###", "", 0, 0, "{C+v}", "12_", 2, 2, -1, 0, "1x2"},
        // Without a mask the control is a plain edit control: nothing typed is wiped.
        KeyCase{"NoMaskEditing", "", "", 0, 0, "ab1 x{Back}{Left}{Left}{Del}{Home}Z", "Zab ", 1, 1,
                -1, 0, ""},
        KeyCase{"NoMaskClipboard", "", "hello", 1, 3, "{C+x}{End}{C+v}{Home}{S+Right}{Clear}",
                "loel", 0, 0, -1, 0, "", "el"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

using CharacterFocus = CharacterControlTest;

TEST_F(CharacterFocus, TabSelectsNoWholeTextButFocusKeepsAPartialSelection) {
  CharEditProbe& edit = Make(kPhone, 1, "555");
  HWND h = edit.GetSafeHwnd();
  Focus(CreateEdit(2, "x"));
  Press(VK_TAB);  // wraps round to the first tab stop
  ASSERT_EQ(Focused(), h);
  EXPECT_EQ(Sel(h), Caret(1)) << "the dialog's whole-text selection is dropped";
  Focus(CreateEdit(3, "y"));
  SetSel(h, 2, 3);
  Focus(h);
  EXPECT_EQ(Sel(h), std::make_pair(2, 3));
}

TEST_F(CharacterFocus, ClickIntoUnfocusedControls) {
  struct {
    CharEditProbe& edit;
    int caret;
  } const cases[] = {{Make(kPhone, 1), 1}, {Make(kPhone, 2, "555123"), 8}, {Make("", 3), 0}};
  for (const auto& c : cases) {
    HWND h = c.edit.GetSafeHwnd();
    ASSERT_NE(Focused(), h);
    Click(h, 8);
    EXPECT_EQ(Focused(), h);
    EXPECT_EQ(Sel(h), Caret(c.caret)) << "mask '" << c.edit.GetMask() << "'";
  }
}

// A full control with auto-tab hands the focus on, and so does one without input positions
// when Tab brings the focus in; without auto-tab the caret rests at the end.
TEST_F(CharacterFocus, AutoTab) {
  CharEditProbe& first = Make("##", 1);
  CharEditProbe& second = Make("##", 2);
  CharEditProbe& literals = Make("--", 3);
  first.SetAutoTab(true);
  literals.SetAutoTab(true);
  Ready(first, 0, 0);
  Type("1");
  EXPECT_EQ(Focused(), first.GetSafeHwnd());
  Type("234");
  EXPECT_EQ(Text(first.GetSafeHwnd()), "12");
  EXPECT_EQ(Text(second.GetSafeHwnd()), "34") << "typing goes on in the next control";
  EXPECT_EQ(Focused(), second.GetSafeHwnd());
  EXPECT_EQ(Sel(second.GetSafeHwnd()), Caret(2));
  Press(VK_TAB);
  EXPECT_EQ(Focused(), first.GetSafeHwnd()) << "the literals pass the focus on round to the first";
}

TEST_F(CharacterFocus, AutoTabStaysWhenOnlyTabStop) {
  CharEditProbe& edit = Make("##", 1);
  edit.SetAutoTab(true);
  Ready(edit, 0, 0);
  Type("12");
  EXPECT_EQ(Focused(), edit.GetSafeHwnd());
  EXPECT_EQ(Text(edit.GetSafeHwnd()), "12");
  EXPECT_EQ(edit.refusals, 0);
}

// The parent hears the edit control's own pair for each WM_SETTEXT it takes; for a text that the
// control writes itself, the control adds EN_UPDATE and EN_CHANGE, for one from outside only
// EN_UPDATE.
const std::vector<UINT> kOwnUpdate = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
const std::vector<UINT> kForeignText = {EN_UPDATE, EN_CHANGE, EN_UPDATE};

struct SetTextCase {
  const char* name;
  char how;  // S: the control's SetText, W: SetWindowTextA from outside, F: the framework's
             // SetWindowText
  const char* mask;
  const char* text;
  const char* shown;
};
void PrintTo(const SetTextCase& c, std::ostream* os) { *os << c.name; }

class CharacterSetText : public CharacterControlTest,
                         public ::testing::WithParamInterface<SetTextCase> {};

TEST_P(CharacterSetText, ShowsTheDataTakenFromIt) {
  const SetTextCase& c = GetParam();
  CharEditProbe& edit = Make(c.mask, 1);
  ClearNotifications();
  if (c.how == 'W') ::SetWindowTextA(edit.GetSafeHwnd(), c.text);
  if (c.how == 'F') edit.SetWindowText(c.text);
  EXPECT_EQ(c.how == 'S' ? edit.SetText(c.text) : 1, 1) << "SetText reports success";
  EXPECT_EQ(Text(edit.GetSafeHwnd()), c.shown);
  // Without a mask only the edit control's own pair: the control adds nothing of its own.
  const std::vector<UINT> codes = !*c.mask       ? std::vector<UINT>{EN_UPDATE, EN_CHANGE}
                                  : c.how == 'S' ? kOwnUpdate
                                                 : kForeignText;
  EXPECT_EQ(ChangeCodesFor(1), codes) << Describe(ChangeCodesFor(1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterSetText,
    ::testing::Values(SetTextCase{"DisplayForm", 'W', kPhone, "(555) 123-4567", "(555) 123-4567"},
                      SetTextCase{"DataForm", 'W', kPhone, "5551234567", "(555) 123-4567"},
                      SetTextCase{"OtherLiterals", 'W', kPhone, "555-1234", "(555) 123-4___"},
                      SetTextCase{"RefusedCharactersDropped", 'W', "##-##", "1a2b3", "12-3_"},
                      SetTextCase{"TrailingLiteralKept", 'W', "(###)", "(12)", "(12_)"},
                      SetTextCase{"FrameworkSetWindowTextIsForeign", 'F', "##-##", "1234", "12-34"},
                      SetTextCase{"OwnSetTextKeepsPromptsInPlace", 'S', "###", "1_3", "1_3"},
                      SetTextCase{"NoMaskTakesTextAsIs", 'W', "", "free (text)", "free (text)"},
                      SetTextCase{"NoMaskSetText", 'S', "", "(555) 12", "(555) 12"}),
    [](const ::testing::TestParamInfo<SetTextCase>& info) { return std::string(info.param.name); });

using CharacterText = CharacterControlTest;

TEST_F(CharacterText, SubclassedDialogControlShowsMaskAtOnce) {
  HWND h = CreateEdit(3, "old text");
  CharEditProbe edit;
  edit.SetPromptSymbol('_');
  edit.SetMask("##-##");
  ASSERT_TRUE(edit.SubclassWindow(h));
  EXPECT_EQ(Text(h), "__-__");
  Focus(h);
  SetSel(h, 0, 0);
  Type("12");
  EXPECT_EQ(Text(h), "12-__");
  EXPECT_EQ(edit.GetInputData(true), "12__");
  edit.UnsubclassWindow();
}

// Without a mask the model operations leave the text alone; a mask set later takes over, and
// removing it leaves an empty plain edit control.
TEST_F(CharacterText, NoMaskKeepsTheTextUntilAMaskIsSet) {
  CharEditProbe& edit = Make("", 1);
  HWND h = edit.GetSafeHwnd();
  ::SetWindowTextA(h, "abc");
  EXPECT_EQ(edit.InsertAt(1, 'x'), -1);
  EXPECT_EQ(edit.DeleteRange(0, 2), 0);
  EXPECT_EQ(edit.IsInputData(7), 1) << "everything is input in a plain edit control";
  edit.SetPromptSymbol('*');
  EXPECT_EQ(Text(h), "abc");
  EXPECT_EQ(edit.SetInputData("yz", 1, 1), 1);
  EXPECT_EQ(Text(h), "ayz") << "the first characters kept, the data after them";
  EXPECT_TRUE(edit.SetMask("##"));
  EXPECT_EQ(Text(h), "**") << "with the prompt chosen before";
  edit.EmptyData(0);
  EXPECT_EQ(edit.GetMask(), "");
  EXPECT_EQ(Text(h), "");
  Ready(edit, 0, 0);
  Type("free");
  EXPECT_EQ(Text(h), "free");
}

}  // namespace
}  // namespace kwtest
