// Why a typed key or a paste was refused (GetLastRejection), one table of each for the three
// controls, driven through the host's loop: the reason names what happened, and a paste whose
// every character found a place is no refusal.
#include <gtest/gtest.h>

#include "core/AnyControl.h"
#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";

struct ReasonCase {
  const char* name;
  char kind;
  const char* mask;
  const char* data;
  UINT limit;  // the field's text limit (0: the default)
  int selStart, selEnd;
  const char* clip;   // the clipboard before the keys ("" none)
  const char* keys;   // a key script
  const char* shown;  // the window text afterwards, the number's written with ',' and '.'
  int reason;
  int pos;
  char ch;
};
void PrintTo(const ReasonCase& c, std::ostream* os) { *os << c.name; }

class RejectionReason : public AnyControlTest, public ::testing::WithParamInterface<ReasonCase> {};

TEST_P(RejectionReason, SaysWhatHappened) {
  const ReasonCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, c.data, kEditStyle, c.limit);
  edit.SetNotifyRejections(true);
  if (*c.clip != '\0') {
    ASSERT_TRUE(SetClipboardText(c.clip));
  } else {
    EmptyClipboardNow();
  }
  Ready(edit, c.selStart, c.selEnd);
  Keys(c.keys);
  EXPECT_EQ(TextOf(edit), c.kind == 'n' ? Shown(c.shown, c.mask[0]) : c.shown);
  int pos = -1;
  char ch = '?';
  EXPECT_EQ(edit.GetLastRejection(&pos, &ch), c.reason);
  const bool refused = c.reason != KwMaskedEdit::RejectNone;
  if (refused) {
    EXPECT_EQ(pos, c.pos);
    EXPECT_EQ(ch, c.ch);
  }
  EXPECT_EQ(RejectedNotes(), refused ? 1 : 0) << "KWN_REJECTED, once for a refusal";
}

constexpr int kNone = KwMaskedEdit::RejectNone;
constexpr int kWrongKind = KwMaskedEdit::RejectWrongKind;
constexpr int kFull = KwMaskedEdit::RejectFull;
constexpr int kNoPosition = KwMaskedEdit::RejectNoInputPosition;

INSTANTIATE_TEST_SUITE_P(
    TypedKeys, RejectionReason,
    ::testing::Values(
        // Past the last input position of a control with empty places: no position there.
        ReasonCase{"PhoneEmptyPastTheEnd", 'c', kPhone, "", 0, 14, 14, "", "5", "(___) ___-____",
                   kNoPosition, 14, '5'},
        ReasonCase{"PhonePartlyFilledPastTheEnd", 'c', kPhone, "555123", 0, 14, 14, "", "5",
                   "(555) 123-____", kNoPosition, 14, '5'},
        // Every place taken: full.
        ReasonCase{"PhoneFullPastTheEnd", 'c', kPhone, "5551234567", 0, 14, 14, "", "5",
                   "(555) 123-4567", kFull, 14, '5'},
        ReasonCase{"PhoneOnALiteral", 'c', kPhone, "", 0, 4, 4, "", "5", "(___) ___-____",
                   kNoPosition, 4, '5'},
        ReasonCase{"PhoneSelectionOfLiterals", 'c', kPhone, "555123", 0, 4, 6, "", "5",
                   "(555) 123-____", kNoPosition, 4, '5'},
        ReasonCase{"PhoneLetterForADigit", 'c', kPhone, "", 0, 1, 1, "", "a", "(___) ___-____",
                   kWrongKind, 1, 'a'},
        ReasonCase{"LiteralsOnlyPastTheEnd", 'c', "()", "", 0, 2, 2, "", "5", "()", kNoPosition, 2,
                   '5'},
        // The number's two decimals are taken: a third digit finds them full.
        ReasonCase{"NumberThirdDecimal", 'n', "%", "12.34", 0, 5, 5, "", "5", "12.34", kFull, 5,
                   '5'},
        ReasonCase{"NumberThirdDecimalOverwriting", 'n', "%", "12.34", 0, 5, 5, "", "{Ins}5",
                   "12.34", kFull, 5, '5'},
        ReasonCase{"NumberLetterAfterTheDecimals", 'n', "%", "12.34", 0, 5, 5, "", "a", "12.34",
                   kWrongKind, 5, 'a'},
        ReasonCase{"NumberLetter", 'n', "$", "12.34", 0, 1, 1, "", "q", "12.34", kWrongKind, 1,
                   'q'},
        ReasonCase{"NumberIntegerPartFull", 'n', "%", "123456789", 0, 0, 0, "", "5", "123,456,789",
                   kFull, 0, '5'},
        ReasonCase{"FieldAtItsLimit", 'f', "#", "123", 3, 3, 3, "", "4", "123", kFull, 3, '4'},
        // The character could go nowhere in the field, full or not: the kind refused it.
        ReasonCase{"FieldLetterAtItsLimit", 'f', "#", "123", 3, 3, 3, "", "a", "123", kWrongKind, 3,
                   'a'},
        ReasonCase{"FieldLetter", 'f', "#", "12", 3, 1, 1, "", "a", "12", kWrongKind, 1, 'a'}),
    [](const ::testing::TestParamInfo<ReasonCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Pastes, RejectionReason,
    ::testing::Values(
        // Every pasted character found a place: no refusal, whatever the window text held
        // around it (prompts and the mask's literals).
        ReasonCase{"PhoneDigitsFillIt", 'c', kPhone, "", 0, 1, 1, "5551234567", "{C+v}",
                   "(555) 123-4567", kNone, 0, 0},
        ReasonCase{"PhoneDigitsBeforeTheMask", 'c', kPhone, "", 0, 0, 0, "5551234567", "{C+v}",
                   "(555) 123-4567", kNone, 0, 0},
        ReasonCase{"PhoneDisplayTextOverAll", 'c', kPhone, "", 0, 0, 14, "(555) 123-4567",
                   "{Paste}", "(555) 123-4567", kNone, 0, 0},
        ReasonCase{"PhoneRestAfterData", 'c', kPhone, "555", 0, 6, 6, "1234567", "{C+v}",
                   "(555) 123-4567", kNone, 0, 0},
        ReasonCase{"PhoneTooLong", 'c', kPhone, "", 0, 1, 1, "555123456789", "{C+v}",
                   "(555) 123-4567", kFull, 14, '8'},
        ReasonCase{"PhoneLetter", 'c', kPhone, "", 0, 1, 1, "55a5", "{C+v}", "(555) ___-____",
                   kWrongKind, 3, 'a'},
        ReasonCase{"NumberFits", 'n', "%", "", 0, 0, 0, "1234.5", "{C+v}", "1,234.5", kNone, 0, 0},
        ReasonCase{"NumberLetter", 'n', "%", "", 0, 0, 0, "12a", "{C+v}", "12", kWrongKind, 0, 'a'},
        ReasonCase{"FieldFits", 'f', "#", "", 0, 0, 0, "123", "{C+v}", "123", kNone, 0, 0},
        ReasonCase{"FieldLetter", 'f', "#", "", 0, 0, 0, "12x3", "{C+v}", "123", kWrongKind, 2,
                   'x'}),
    [](const ::testing::TestParamInfo<ReasonCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
