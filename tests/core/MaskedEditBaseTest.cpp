// The masked edit base: construction, copying with a validator, validator ownership, the number
// value of the data, Update and NotifyParent without a window, the refusal beep and the locale
// separator fall-back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "character/CharacterTestSupport.h"
#include "core/KwLocaleSeparators.h"

namespace kwtest {
namespace {

// A validator that records what it saw and how many of its kind are alive.
class RecordingValidator : public KwValidator {
 public:
  explicit RecordingValidator(KwMaskedEdit* pEdit, std::string replacement = "")
      : KwValidator(pEdit), m_replacement(std::move(replacement)) {
    ++alive;
  }
  RecordingValidator(const RecordingValidator& other) : KwValidator(other), m_replacement(other.m_replacement) {
    ++alive;
  }
  ~RecordingValidator() override { --alive; }

  int Validate(std::string& data) override {
    seen.push_back(data);
    if (!m_replacement.empty()) data = m_replacement;
    SetErrorString("checked");
    return 7;
  }
  KwValidator* Clone() override { return new RecordingValidator(*this); }
  using KwValidator::GetMaskedEdit;

  static int alive;
  std::vector<std::string> seen;

 private:
  std::string m_replacement;
};
int RecordingValidator::alive = 0;

class MaskedEditBase : public ::testing::Test {
 protected:
  void SetUp() override { RecordingValidator::alive = 0; }
};

TEST_F(MaskedEditBase, ReplacedValidatorGoesBackToCaller) {
  auto* first = new RecordingValidator(nullptr);
  auto* second = new RecordingValidator(nullptr);
  {
    CharEditProbe edit("##");
    EXPECT_TRUE(edit.SetValidator(first));
    EXPECT_TRUE(edit.SetValidator(second));
    EXPECT_EQ(RecordingValidator::alive, 2) << "the replaced validator is not deleted";
    EXPECT_EQ(edit.Validator(), second);
  }
  EXPECT_EQ(RecordingValidator::alive, 1) << "the control deletes the validator it holds";
  delete first;

  auto* kept = new RecordingValidator(nullptr);
  {
    CharEditProbe edit("##");
    edit.SetValidator(kept);
    edit.SetValidator(nullptr);
  }
  EXPECT_EQ(RecordingValidator::alive, 1) << "detaching does not delete";
  delete kept;
}

TEST_F(MaskedEditBase, CopyOwnsAClonedValidator) {
  auto source = std::make_unique<CharEditProbe>("#-#");
  auto* validator = new RecordingValidator(source.get());
  source->SetValidator(validator);
  source->SetAutoTab(true);
  source->SetInsertMode(false);
  source->SetState(0x02);
  source->SetErrorOverride(KwMaskedEdit::OverrideError);
  source->SetBackgroundColorWarning(RGB(1, 2, 3));

  auto copy = std::make_unique<CharEditProbe>(*source);
  ASSERT_NE(copy->Validator(), nullptr);
  EXPECT_NE(copy->Validator(), validator);
  EXPECT_EQ(RecordingValidator::alive, 2);
  EXPECT_EQ(const_cast<RecordingValidator*>(static_cast<const RecordingValidator*>(copy->Validator()))->GetMaskedEdit(),
            source.get())
      << "the clone keeps what Clone gave it";
  EXPECT_TRUE(copy->GetAutoTab());
  EXPECT_FALSE(copy->GetInsertMode());
  EXPECT_EQ(copy->GetState(), 0x02) << "a copy of a control in the warning state is in it too";
  EXPECT_EQ(copy->Override(), KwMaskedEdit::OverrideNone) << "but has no colour override";
  EXPECT_EQ(copy->BackgroundWarning(), RGB(1, 2, 3));
  EXPECT_NE(copy->WarningBrush(), nullptr);
  EXPECT_NE(copy->WarningBrush(), source->WarningBrush()) << "each control owns its brushes";

  source.reset();
  EXPECT_EQ(RecordingValidator::alive, 1) << "destroying one control deletes only its own validator";
  copy.reset();
  EXPECT_EQ(RecordingValidator::alive, 0);
}

TEST_F(MaskedEditBase, CopyWithoutValidatorHasNone) {
  CharEditProbe source("##");
  CharEditProbe copy(source);
  EXPECT_EQ(copy.Validator(), nullptr);
}

struct NumCase {
  const char* name;
  const char* mask;
  char prompt;
  const char* data;  // raw
  double value;
};

class DataNumValue : public ::testing::TestWithParam<NumCase> {};

// Prompt symbols read as blanks, so the value does not depend on which prompt the control shows.
TEST_P(DataNumValue, ReadsInputDataAsNumber) {
  const NumCase& c = GetParam();
  auto edit = Model(c.mask, "", c.prompt);
  edit->SetInputData(c.data, 0, 1);
  double value = -999.0;
  EXPECT_TRUE(edit->GetDataNumValue(value));
  EXPECT_DOUBLE_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataNumValue,
    ::testing::Values(NumCase{"Plain", "&&&&&&", '_', "12.5", 12.5},
                      NumCase{"Empty", "&&&&&&", '_', "", 0.0},
                      NumCase{"LeadingUnderscorePrompts", "&&&&&&&&&&", '_', "__-1234.5", -1234.5},
                      NumCase{"LeadingSpacePrompts", "&&&&&&&&&&", ' ', "  -1234.5", -1234.5},
                      NumCase{"LetterPrompt", "&&&&&&", 'x', "xx42", 42.0},
                      NumCase{"LiteralsAreNotData", "$##.##", '_', "1250", 1250.0},
                      NumCase{"Unreadable", "??", '_', "ab", 0.0}),
    [](const ::testing::TestParamInfo<NumCase>& info) { return std::string(info.param.name); });

TEST_F(MaskedEditBase, DataNumValueValidatesFirst) {
  auto edit = Model("&&&&", "");
  edit->SetInputData("12", 0, 1);
  auto* validator = new RecordingValidator(edit.get(), "34");
  edit->SetValidator(validator);
  double value = 0.0;
  EXPECT_TRUE(edit->GetDataNumValue(value));
  ASSERT_EQ(validator->seen.size(), 1u);
  EXPECT_EQ(validator->seen[0], "12");
  EXPECT_DOUBLE_EQ(value, 34.0) << "the validator's correction is read";
  EXPECT_EQ(validator->GetErrorString(), "checked");
}

TEST_F(MaskedEditBase, SetTextKeepsPromptsInPlace) {
  auto edit = Model("###", "");
  EXPECT_EQ(edit->SetText("1_3"), 1);
  EXPECT_EQ(edit->ShowMask(), "1_3");
  EXPECT_EQ(edit->SetText("abc"), 1) << "success is reported even when nothing fits";
  EXPECT_EQ(edit->ShowMask(), "___");
}

TEST_F(MaskedEditBase, NothingHappensWithoutAWindow) {
  auto edit = Model("##", "12");
  edit->Update(0);
  edit->Update(-1);
  EXPECT_EQ(edit->UpdateDepth(), 0);
  EXPECT_EQ(edit->NotifyParent(EN_CHANGE), FALSE);
  EXPECT_EQ(edit->GetSafeHwnd(), nullptr);
}

TEST(LocaleSeparators, UnknownTypeFallsBackToQuestionMark) {
  EXPECT_EQ(GetLocaleSeparator(0x7777), '?');
}

}  // namespace
}  // namespace kwtest
