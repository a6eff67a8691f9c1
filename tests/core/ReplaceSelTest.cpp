// A host's EM_REPLACESEL goes through the mask as a host's WM_SETTEXT does: the window shows what
// the model holds afterwards, the data is what the positions took, and undo takes it back. Each
// row on every control, driven through the host's loop; both builds.
#include <gtest/gtest.h>

#include <string>

#include "core/AnyControl.h"
#include "core/KwText.h"

namespace kwtest {
namespace {

struct ReplaceCase {
  const char* name;
  char kind;
  const char* mask;
  const char* data;  // set with SetText
  int selStart, selEnd;
  const char* inserted;  // nullptr: a NULL lParam
  const char* expected;  // GetInputData(false) afterwards (the number control: its value)
};
void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceSel : public AnyControlTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceSel, GoesThroughTheModel) {
  const ReplaceCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, c.data, kEditStyle, 8);
  Ready(edit, c.selStart, c.selEnd);
  const std::string before = TextOf(edit);
  const KwWString inserted = c.inserted != nullptr ? KwWiden(c.inserted) : KwWString();
  ::SendMessageW(edit.GetSafeHwnd(), EM_REPLACESEL, TRUE,
                 c.inserted != nullptr ? reinterpret_cast<LPARAM>(inserted.c_str()) : 0);
  if (c.kind == 'n') {
    double value = 0;
    EXPECT_TRUE(edit.GetDataNumValue(value));
    EXPECT_EQ(value, std::stod(c.expected));
  } else {
    EXPECT_EQ(edit.GetInputData(false), c.expected);
  }
  // The window shows the model's rendering, not the edit control's own replacement (a plain
  // character control renders nothing: its text is the window's).
  if (c.kind != 'c' || *c.mask != 0) EXPECT_EQ(TextOf(edit), edit.ShowMask());
  edit.Undo();
  EXPECT_EQ(TextOf(edit), before) << "undo takes the replacement back";
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ReplaceSel,
    ::testing::Values(
        ReplaceCase{"PhoneDigitsAtTheCaret", 'c', "(###) ###-####", "555", 6, 6, "123", "555123"},
        ReplaceCase{"PhoneLettersDropped", 'c', "(###) ###-####", "555", 6, 6, "1a2", "55512"},
        ReplaceCase{"PhoneSelectionReplaced", 'c', "(###) ###-####", "5551234567", 1, 4, "999",
                    "9991234567"},
        ReplaceCase{"PhoneNullIsNothing", 'c', "(###) ###-####", "555", 6, 6, nullptr, "555"},
        ReplaceCase{"FieldDigits", 'f', "#", "12", 2, 2, "34", "1234"},
        // A field takes a host's text as it stands, as it takes a host's WM_SETTEXT.
        ReplaceCase{"FieldHostTextAsItStands", 'f', "#", "12", 0, 2, "a9", "a9"},
        // Without a mask the edit control replaces the selection; the step is still undone,
        // and a field's stored text follows the window.
        ReplaceCase{"NoMask", 'c', "", "", 0, 0, "ab", "ab"},
        ReplaceCase{"FieldOfNoKind", 'f', "", "", 0, 0, "ab", "ab"},
        ReplaceCase{"NumberWholeText", 'n', "%", "1234.5", 0, 7, "42", "42"},
        ReplaceCase{"NumberDigitsInside", 'n', "%", "12", 1, 1, "3", "132"}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
