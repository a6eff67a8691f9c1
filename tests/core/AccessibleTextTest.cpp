// What assistive technology hears of each control, through the plain members: the value (no
// prompt, no literal after the last entered character), the description (format, kinds, how
// far), the help (the last refusal in words), the alert a refusal raises, and a value set from
// outside. Tables per question, each over the three controls; driven through the host's loop.
#include <gtest/gtest.h>

#include "core/AnyControl.h"
#include "core/KwLocaleSeparators.h"
#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";
const char kPhoneSays[] = "format (###) ###-####: 10 digits, ";
const char kNumberSays[] = "number, up to 9 digits before the decimal point and 2 after";

// A text written with '/' for the locale's date separator and '.' for its decimal separator.
std::string Dated(std::string text) {
  for (char& c : text) {
    if (c == '/') c = static_cast<char>(g_chDateSep);
    if (c == '.') c = static_cast<char>(g_chDecimalSep);
  }
  return text;
}

// The value and description expected, the number's written with ',' and '.'.
std::string Expected(char kind, const char* mask, const std::string& text) {
  return kind == 'n' ? Shown(text, mask[0]) : Dated(text);
}

struct HeardCase {
  const char* name;
  char kind;
  const char* mask;
  const char* data;  // set with SetText
  UINT limit;        // the field's text limit (0: the default)
  int selStart, selEnd;
  const char* clip;  // the clipboard before the keys ("" none)
  const char* keys;  // a key script
  const char* value;
  std::string description;
};
void PrintTo(const HeardCase& c, std::ostream* os) { *os << c.name; }

class Heard : public AnyControlTest, public ::testing::WithParamInterface<HeardCase> {};

TEST_P(Heard, ValueAndDescription) {
  const HeardCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, c.data, kEditStyle, c.limit);
  if (*c.clip != '\0') {
    ASSERT_TRUE(SetClipboardText(c.clip));
  } else {
    EmptyClipboardNow();
  }
  Ready(edit, c.selStart, c.selEnd);
  Keys(c.keys);
  const std::string value = Expected(c.kind, c.mask, c.value);
  EXPECT_EQ(edit.GetAccessibleValue(), value) << "window text " << TextOf(edit);
  EXPECT_EQ(edit.GetAccessibleDescription(), Dated(c.description));
  // The wide words are the narrow ones (ASCII here) in UTF-16.
  const KwWString wide = edit.GetAccessibleValueW();
  EXPECT_EQ(std::string(wide.begin(), wide.end()), value);
  const KwWString words = edit.GetAccessibleDescriptionW();
  EXPECT_EQ(std::string(words.begin(), words.end()), Dated(c.description));
}

const std::string kPhone0 = std::string(kPhoneSays) + "0 entered";
const std::string kPhone5 = std::string(kPhoneSays) + "5 entered";

INSTANTIATE_TEST_SUITE_P(
    States, Heard,
    ::testing::Values(
        HeardCase{"PhoneEmpty", 'c', kPhone, "", 0, 0, 0, "", "", "", kPhone0},
        HeardCase{"PhoneHalfFilled", 'c', kPhone, "55512", 0, 0, 0, "", "", "(555) 12", kPhone5},
        HeardCase{"PhoneFull", 'c', kPhone, "5551234567", 0, 0, 0, "", "", "(555) 123-4567",
                  std::string(kPhoneSays) + "10 entered"},
        // An empty place before the last entered character is left out as well.
        HeardCase{"PhoneEmptyPlaceInside", 'c', kPhone, "_55", 0, 0, 0, "", "", "(55",
                  std::string(kPhoneSays) + "2 entered"},
        HeardCase{"KindsInTheirOrder", 'c', ">>-###-&", "ab12", 0, 0, 0, "", "", "AB-12",
                  "format >>-###-&: 2 letters, 3 digits and 1 character, 4 entered"},
        HeardCase{"TwoKinds", 'c', "AA ##", "x", 0, 0, 0, "", "", "x",
                  "format AA ##: 2 letters or digits and 2 digits, 1 entered"},
        // The separator after the last entered character is not heard; the format shows the
        // locale's.
        HeardCase{"DateHalfFilled", 'c', "##/##/####", "1231", 0, 0, 0, "", "", "12/31",
                  "format ##/##/####: 8 digits, 4 entered"},
        HeardCase{"EscapedLiteralOneDigit", 'c', "\\##", "5", 0, 0, 0, "", "", "#5",
                  "format ##: 1 digit, 1 entered"},
        HeardCase{"LiteralsOnly", 'c', "()", "", 0, 0, 0, "", "", "", "format (): takes no input"},
        // '<' takes a letter in lower case; '%' and '$' are literals of a character mask and '.'
        // the locale's decimal separator.
        HeardCase{"LowerCaseAndLiterals", 'c', "<<%$.#", "AB1", 0, 0, 0, "", "", "ab%$.1",
                  "format <<%$.#: 2 letters and 1 digit, 3 entered"},
        // A mask's last '\' has nothing to escape: a literal backslash.
        HeardCase{"TrailingBackslash", 'c', "##\\", "12", 0, 0, 0, "", "", "12",
                  "format ##\\: 2 digits, 2 entered"},
        HeardCase{"CharacterWithoutMask", 'c', "", "hello", 0, 0, 0, "", "", "hello", ""},
        HeardCase{"NumberEmpty", 'n', "%", "", 0, 0, 0, "", "", "", kNumberSays},
        HeardCase{"NumberHalfFilled", 'n', "%", "1234.5", 0, 0, 0, "", "", "1,234.5", kNumberSays},
        // The blank a thousands place shows beside the sign is not heard.
        HeardCase{"NumberNegative", 'n', "%", "-123", 0, 0, 0, "", "", "-123", kNumberSays},
        HeardCase{"MoneyFull", 'n', "$", "123456789.01", 0, 0, 0, "", "", "123,456,789.01",
                  kNumberSays},
        HeardCase{"FieldEmpty", 'f', "#", "", 4, 0, 0, "", "", "", "up to 4 digits"},
        HeardCase{"FieldHalfFilled", 'f', "#", "12", 4, 0, 0, "", "", "12", "up to 4 digits"},
        HeardCase{"FieldUpperCase", 'f', ">", "ab", 3, 0, 0, "", "", "AB", "up to 3 letters"},
        HeardCase{"FieldOneCharacter", 'f', "&", "", 1, 0, 0, "", "", "", "up to 1 character"},
        HeardCase{"FieldTakingNothing", 'f', "x", "", 4, 0, 0, "", "", "", "takes no input"},
        HeardCase{"FieldDigitsOrSigns", 'f', "%", "-12", 4, 0, 0, "", "", "-12",
                  "up to 4 digits or signs"},
        HeardCase{"FieldOneMoneyPlace", 'f', "$", "", 1, 0, 0, "", "", "", "up to 1 digit or sign"},
        HeardCase{"FieldDecimalPoints", 'f', ".", "", 2, 0, 0, "", "", "",
                  "up to 2 decimal points"}),
    [](const ::testing::TestParamInfo<HeardCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Edits, Heard,
    ::testing::Values(
        HeardCase{"PhoneTyped", 'c', kPhone, "", 0, 1, 1, "", "55512", "(555) 12", kPhone5},
        HeardCase{"PhoneBackspace", 'c', kPhone, "555123", 0, 9, 9, "", "{Back}", "(555) 12",
                  kPhone5},
        HeardCase{"PhoneDeleteClosesUp", 'c', kPhone, "5551234567", 0, 1, 1, "", "{Del}",
                  "(551) 234-567", std::string(kPhoneSays) + "9 entered"},
        HeardCase{"PhonePasted", 'c', kPhone, "", 0, 1, 1, "55512", "{C+v}", "(555) 12", kPhone5},
        HeardCase{"PhonePasteUndone", 'c', kPhone, "", 0, 1, 1, "55512", "{C+v}{C+z}", "", kPhone0},
        HeardCase{"PhonePasteRedone", 'c', kPhone, "", 0, 1, 1, "55512", "{C+v}{C+z}{C+y}",
                  "(555) 12", kPhone5},
        HeardCase{"PhoneCutToTheEnd", 'c', kPhone, "5551234567", 0, 7, 14, "", "{C+x}", "(555) 1",
                  std::string(kPhoneSays) + "4 entered"},
        HeardCase{"NumberTyped", 'n', "%", "", 0, 0, 0, "", "1234.5", "1,234.5", kNumberSays},
        HeardCase{"NumberPointTyped", 'n', "%", "", 0, 0, 0, "", "12.", "12.", kNumberSays},
        HeardCase{"NumberPastedUndone", 'n', "%", "7", 0, 0, 1, "1234.5", "{C+v}{C+z}", "7",
                  kNumberSays},
        HeardCase{"FieldTyped", 'f', "#", "", 4, 0, 0, "", "12", "12", "up to 4 digits"},
        HeardCase{"FieldBackspaceUndone", 'f', "#", "123", 4, 3, 3, "", "{Back}{C+z}", "123",
                  "up to 4 digits"}),
    [](const ::testing::TestParamInfo<HeardCase>& info) { return std::string(info.param.name); });

// The help after a refused key or paste says why in words, and the refusal raised one alert on
// the control's client object (counted on both builds).
struct HelpCase {
  const char* name;
  char kind;
  const char* mask;
  const char* data;
  UINT limit;
  int sel;
  const char* clip;  // "" none
  const char* keys;
  const char* help;  // "" after a key that was taken
  int alerts;        // refusals on the way
};
void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.name; }

class HeardRefusal : public AnyControlTest, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HeardRefusal, HelpSaysWhyAndAlerts) {
  const HelpCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, c.data, kEditStyle, c.limit);
  edit.SetNotifyRejections(true);
  if (*c.clip != '\0') {
    ASSERT_TRUE(SetClipboardText(c.clip));
  } else {
    EmptyClipboardNow();
  }
  Ready(edit, c.sel, c.sel);
  kwinspect::ResetWinEvents();
  Keys(c.keys);
  EXPECT_EQ(edit.GetAccessibleHelp(), c.help);
  EXPECT_EQ(edit.GetLastRejectionW(nullptr, nullptr), edit.GetLastRejection());
  const int alerts = kwinspect::WinEventCount(EVENT_SYSTEM_ALERT, edit.GetSafeHwnd());
  EXPECT_EQ(alerts, RejectedNotes()) << "one alert with each KWN_REJECTED";
  EXPECT_EQ(alerts, c.alerts);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, HeardRefusal,
    ::testing::Values(HelpCase{"PhoneLetter", 'c', kPhone, "555", 0, 6, "", "x",
                               "wrong kind at 6: 'x' is not a digit", 1},
                      HelpCase{"PhoneSpace", 'c', kPhone, "", 0, 1, "", " ",
                               "wrong kind at 1: space is not a digit", 1},
                      HelpCase{"LetterOrDigitPlace", 'c', "AA", "", 0, 0, "", "%",
                               "wrong kind at 0: '%' is not a letter or digit", 1},
                      HelpCase{"PhoneFull", 'c', kPhone, "5551234567", 0, 14, "", "5",
                               "full at 14: no place left for '5'", 1},
                      HelpCase{"PhoneOnALiteral", 'c', kPhone, "", 0, 4, "", "5",
                               "no input position at 4: '5' cannot go there", 1},
                      HelpCase{"PhoneTaken", 'c', kPhone, "", 0, 1, "", "5", "", 0},
                      // A later key that is taken clears what the help said. A paste that drops
                      // characters is heard as a refusal too.
                      HelpCase{"PhoneTakenAfterARefusal", 'c', kPhone, "", 0, 1, "", "x5", "", 1},
                      HelpCase{"PhonePastedLetter", 'c', kPhone, "", 0, 1, "55a5", "{C+v}",
                               "wrong kind at 3: 'a' is not a digit", 1},
                      HelpCase{"PhoneNothingToPaste", 'c', kPhone, "", 0, 1, "", "{C+v}",
                               "no text on the clipboard", 1},
                      HelpCase{"NumberLetter", 'n', "$", "12.34", 0, 1, "", "q",
                               "wrong kind at 1: 'q' is not a digit", 1},
                      HelpCase{"NumberIntegerPartFull", 'n', "%", "123456789", 0, 0, "", "5",
                               "full at 0: no place left for '5'", 1},
                      HelpCase{"FieldLetter", 'f', "#", "12", 3, 1, "", "a",
                               "wrong kind at 1: 'a' is not a digit", 1},
                      HelpCase{"FieldFull", 'f', ">", "abc", 3, 3, "", "d",
                               "full at 3: no place left for 'd'", 1},
                      HelpCase{"FieldSignPlace", 'f', "%", "", 3, 0, "", "a",
                               "wrong kind at 0: 'a' is not a digit or sign", 1},
                      HelpCase{"FieldPointPlace", 'f', ".", "", 3, 0, "", "1",
                               "wrong kind at 0: '1' is not a decimal point", 1},
                      // A control character pasted is named by its code.
                      HelpCase{"PhonePastedTab", 'c', kPhone, "", 0, 1, "5\t5", "{C+v}",
                               "wrong kind at 2: character code 9 is not a digit", 1},
                      HelpCase{"FieldWithoutMask", 'f', "", "", 0, 0, "", "a",
                               "no mask at 0: 'a' cannot be typed", 1},
                      HelpCase{"NumberWithoutMask", 'n', "", "", 0, 0, "", "5",
                               "no mask at 0: '5' cannot be typed", 1},
                      // A paste the field's length cuts short is heard as a refusal too.
                      HelpCase{"FieldPasteCutShort", 'f', "#", "12", 4, 2, "3456", "{C+v}",
                               "full at 4: no place left for '5'", 1},
                      HelpCase{"FieldPasteLetter", 'f', "#", "12", 4, 2, "3a", "{C+v}",
                               "wrong kind at 3: 'a' is not a digit", 1}),
    [](const ::testing::TestParamInfo<HelpCase>& info) { return std::string(info.param.name); });

// A value set from outside (a speech or automation tool) goes through the mask as SetText:
// a value read before comes back as it was, what no position takes is dropped, and the parent
// hears what SetText makes it hear.
struct PutCase {
  const char* name;
  char kind;
  const char* mask;
  const char* data;
  UINT limit;
  const char* put;  // the number's written with ',' and '.'
  const char* value;
};
void PrintTo(const PutCase& c, std::ostream* os) { *os << c.name; }

class HeardPut : public AnyControlTest, public ::testing::WithParamInterface<PutCase> {};

TEST_P(HeardPut, GoesThroughTheMask) {
  const PutCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, c.data, kEditStyle, c.limit);
  Ready(edit, 0, 0);
  ASSERT_TRUE(edit.SetAccessibleValue(Expected(c.kind, c.mask, c.put)));
  EXPECT_EQ(edit.GetAccessibleValue(), Expected(c.kind, c.mask, c.value));
  const std::vector<UINT> heard = ChangeCodesFor(1);
  // The same data given to SetText in a control of its own: the same window text, the same
  // notifications.
  KwMaskedEdit& twin = Make(c.kind, c.mask, c.data, kEditStyle, c.limit, 2);
  Ready(twin, 0, 0);
  twin.SetText(twin.GetInputData(Expected(c.kind, c.mask, c.put).c_str(), true));
  EXPECT_EQ(TextOf(edit), TextOf(twin));
  EXPECT_EQ(Describe(heard), Describe(ChangeCodesFor(2)));
}

INSTANTIATE_TEST_SUITE_P(
    Values, HeardPut,
    ::testing::Values(PutCase{"PhoneItsOwnValue", 'c', kPhone, "", 0, "(555) 12", "(555) 12"},
                      PutCase{"PhoneDigits", 'c', kPhone, "", 0, "5551234567", "(555) 123-4567"},
                      PutCase{"PhoneOverData", 'c', kPhone, "999", 0, "(555) 123-4567",
                              "(555) 123-4567"},
                      PutCase{"PhoneNothingFits", 'c', kPhone, "555", 0, "abc", ""},
                      PutCase{"AnyCharacterKeepsNoLiteral", 'c', "&&-&&", "", 0, "ab-c", "ab-c"},
                      PutCase{"NumberItsOwnValue", 'n', "%", "", 0, "1,234.5", "1,234.5"},
                      PutCase{"NumberPlain", 'n', "$", "7", 0, "-42.5", "-42.5"},
                      PutCase{"FieldFiltered", 'f', "#", "", 4, "12a3", "123"},
                      PutCase{"FieldEmptied", 'f', "#", "12", 4, "", ""}),
    [](const ::testing::TestParamInfo<PutCase>& info) { return std::string(info.param.name); });

// The words in UTF-16 are the control's own characters: letters of any script, a character of
// two units whole (in the value, and quoted whole in the help), and the code of one that has
// no face. Typed as WM_CHAR units; a value set from outside in UTF-16 goes through the mask.
struct WideCase {
  const char* name;
  char kind;
  const char* mask;
  KwWString typed;
  KwWString put;  // then set with SetAccessibleValueW (empty: not set)
  KwWString value;
  KwWString help;
};
void PrintTo(const WideCase& c, std::ostream* os) { *os << c.name; }

class HeardWide : public AnyControlTest, public ::testing::WithParamInterface<WideCase> {};

TEST_P(HeardWide, SpeaksTheControlsCharacters) {
  const WideCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, "", kEditStyle, 4);
  Ready(edit, 0, 0);
  for (WCHAR unit : c.typed) ::SendMessageW(edit.GetSafeHwnd(), WM_CHAR, unit, 1);
  EXPECT_EQ(Hex(edit.GetAccessibleHelpW()), Hex(c.help));
  if (!c.put.empty()) {
    ASSERT_TRUE(edit.SetAccessibleValueW(c.put));
  }
  EXPECT_EQ(Hex(edit.GetAccessibleValueW()), Hex(c.value));
}

const KwWString kSmile = {WCHAR(0xD83D), WCHAR(0xDE00)};  // U+1F600

INSTANTIATE_TEST_SUITE_P(
    Scripts, HeardWide,
    ::testing::Values(
        WideCase{"FieldLetters", 'f', "?", KW_W("\u0142\u0416\u3042\u00E9"), KwWString(),
                 KW_W("\u0142\u0416\u3042\u00E9"), KwWString()},
        WideCase{"CharacterLetters", 'c', "????", KW_W("\u0142\u0416\u3042"), KwWString(),
                 KW_W("\u0142\u0416\u3042"), KwWString()},
        WideCase{"FullWidthDigits", 'c', "##", KW_W("\uFF11\u0662"), KwWString(), KW_W("12"),
                 KwWString()},
        WideCase{"PairKeptByAnyCharacter", 'f', "&", KW_W("x") + kSmile, KwWString(),
                 KW_W("x") + kSmile, KwWString()},
        WideCase{"PairRefusedWhole", 'c', "??", kSmile, KwWString(), KwWString(),
                 KW_W("wrong kind at 0: '") + kSmile + KW_W("' is not a letter")},
        WideCase{"ControlCharacterByCode", 'c', "##", KW_W("\u0085"), KwWString(), KwWString(),
                 KW_W("wrong kind at 0: character code U+0085 is not a digit")},
        WideCase{"DeleteCharacterByCode", 'c', "&&", KwWString(1, WCHAR(0x7F)), KwWString(),
                 KwWString(), KW_W("wrong kind at 0: character code 127 is not a character")},
        // Half a pair alone: refused where it was typed, on a literal too.
        WideCase{"LowHalfOnALiteral", 'c', "(##)", KwWString(1, WCHAR(0xDC00)), KwWString(),
                 KwWString(), KW_W("wrong kind at 0: character code U+DC00 does not fit there")},
        WideCase{"HighHalfDropped", 'f', "#", KwWString(1, WCHAR(0xD800)) + KW_W("x"), KwWString(),
                 KwWString(), KW_W("wrong kind at 0: character code U+D800 is not a digit")},
        WideCase{"PutThroughTheMask", 'f', "?", KwWString(), KW_W("\u0416x1\u3042"),
                 KW_W("\u0416x\u3042"), KwWString()}),
    [](const ::testing::TestParamInfo<WideCase>& info) { return std::string(info.param.name); });

// A field has no text limit before its window exists: it names its kind alone.
TEST(AccessibleWords, FieldBeforeItsWindow) {
  const struct {
    const char* mask;
    const char* description;
  } rows[] = {{"#", "digits"}, {"?", "letters"}, {"%", "digits or signs"}, {"x", "takes no input"}};
  for (const auto& r : rows) {
    KwFieldMaskedEdit field;
    field.SetMask(r.mask);
    EXPECT_EQ(field.GetAccessibleDescription(), r.description) << r.mask;
  }
  // A value set before the window exists goes in through the mask all the same.
  KwCharacterMaskedEdit phone(kPhone);
  EXPECT_TRUE(phone.SetAccessibleValue("(555) 12"));
  EXPECT_EQ(phone.GetInputData(false), "55512");
}

// A number control of a layout without decimals (a derived class's) counts its digits alone.
class WholeNumber : public KwNumberMaskedEdit {
 public:
  WholeNumber() {
    m_nMaxDecimalPos = 0;
    SetMask("%");
  }
};

TEST(AccessibleWords, NumberWithoutDecimals) {
  WholeNumber number;
  EXPECT_EQ(number.GetMaxDecimalPos(), 0);
  EXPECT_EQ(number.GetAccessibleDescription(), "number, up to 9 digits");
}

// Half a pair typed past the end of a full character control: refused there, which is no
// position of the mask.
TEST_F(AnyControlTest, HalfAPairPastTheEnd) {
  KwMaskedEdit& edit = Make('c', "##", "12");
  Ready(edit, 2, 2);
  ::SendMessageW(edit.GetSafeHwnd(), WM_CHAR, 0xDC01, 1);
  EXPECT_EQ(edit.GetAccessibleHelp(), "wrong kind at 2: character code U+DC01 does not fit there");
  EXPECT_EQ(TextOf(edit), "12");
}

// A mask given with a NUL in it ends there, for the words as for the control.
TEST_F(AnyControlTest, MaskEndsAtANul) {
  KwMaskedEdit& edit = Make('c', "");
  ASSERT_TRUE(edit.SetMaskW(KwWString(KW_W("#\0#"), 3)));
  EXPECT_EQ(edit.GetAccessibleDescription(), "format #: 1 digit, 0 entered");
}

TEST_F(AnyControlTest, ReadOnlyTakesNoValueFromOutside) {
  int id = 1;
  for (char kind : {'c', 'n', 'f'}) {
    const char* mask = kind == 'c' ? kPhone : kind == 'n' ? "%" : "#";
    KwMaskedEdit& edit = Make(kind, mask, "12", kEditStyle | ES_READONLY, 4, id++);
    const std::string before = TextOf(edit);
    EXPECT_FALSE(edit.SetAccessibleValue("34")) << KindName(kind);
    EXPECT_EQ(TextOf(edit), before) << KindName(kind);
  }
}

}  // namespace
}  // namespace kwtest
