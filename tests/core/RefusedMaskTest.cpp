// A mask a control refuses, or one that leaves it without positions, while it holds data: the
// window shows what the control holds afterwards, typing and undo keep the two together.
#include <gtest/gtest.h>

#include "core/AnyControl.h"

namespace kwtest {
namespace {

struct MaskCase {
  const char* name;
  char kind;
  const char* mask;
  const char* data;
  std::string next;   // the mask set then
  bool accepted;      // SetMask's answer
  const char* shown;  // the window text afterwards
  const char* keys;   // typed afterwards (a key script)
  const char* typed;  // the window text then
};
void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.name; }

class MaskChange : public AnyControlTest, public ::testing::WithParamInterface<MaskCase> {
 protected:
  // What the control holds as its window text: the model's display text, or, for a control
  // without a mask (a plain edit control), the window text itself.
  static std::string Holds(const KwMaskedEdit& edit) {
    return edit.GetMask().empty() ? TextOf(edit) : edit.ShowMask();
  }
};

TEST_P(MaskChange, WindowShowsWhatTheControlHolds) {
  const MaskCase& c = GetParam();
  KwMaskedEdit& edit = Make(c.kind, c.mask, c.data);
  Ready(edit, 0, 0);
  EXPECT_EQ(edit.SetMask(c.next), c.accepted);
  EXPECT_EQ(TextOf(edit), c.shown);
  EXPECT_EQ(TextOf(edit), Holds(edit)) << "the window shows the model";
  EXPECT_FALSE(edit.CanUndo()) << "the data before the mask is no step to go back to";

  Ready(edit, 0, 0);
  Keys(c.keys);
  EXPECT_EQ(TextOf(edit), c.typed);
  EXPECT_EQ(TextOf(edit), Holds(edit));
  Keys("{C+z}");
  EXPECT_EQ(TextOf(edit), Holds(edit)) << "after undo";
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskChange,
    ::testing::Values(
        // A number control refuses every mask but '%' and '$': it keeps no positions and no number,
        // and neither does its window.
        MaskCase{"NumberRefusesLetter", 'n', "%", "1234.5", "x", false, "", "12", ""},
        MaskCase{"NumberRefusesEmpty", 'n', "$", "-7.25", "", false, "", "5", ""},
        MaskCase{"NumberRefusesDigitMask", 'n', "%", "99", "#", false, "", "5", ""},
        MaskCase{"NumberTakesMoney", 'n', "%", "1234.5", "$", true, "", "12", "12"},
        MaskCase{"CharacterToNoMask", 'c', "(###)", "123", "", true, "", "ab", "ab"},
        MaskCase{"CharacterToOtherMask", 'c', "(###)", "123", "##-##", true, "__-__", "12",
                 "12-__"},
        // A mask ends at its first NUL, as a mask given as a C string does.
        MaskCase{"CharacterMaskWithNul", 'c', "(###)", "123", std::string("#-\0#", 4), true, "_-",
                 "7", "7-"},
        MaskCase{"FieldToUnknownMask", 'f', "#", "123", "x", true, "", "12", ""},
        MaskCase{"FieldToOtherMask", 'f', "#", "123", "?", true, "", "ab1", "ab"}),
    [](const ::testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
