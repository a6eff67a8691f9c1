// A copied control's validator: the clone judges the copy, sets the copy's state, corrects the
// copy's data, and outlives the control it was cloned from. One table for the three controls.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "character/KwCharacterMaskedEdit.h"
#include "field/KwFieldMaskedEdit.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

// Judges the control it is bound to: remembers the data it was given and what its control
// holds, marks the control's state, and corrects the data to `correction` when one is set.
class JudgingValidator : public KwValidator {
 public:
  JudgingValidator(KwMaskedEdit* pEdit, std::string correction)
      : KwValidator(pEdit), m_correction(std::move(correction)) {}
  int Validate(std::string& data) override {
    given = data;
    held = GetMaskedEdit()->GetInputData(false);
    GetMaskedEdit()->SetState(0x04);
    if (!m_correction.empty()) data = m_correction;
    return 5;
  }
  KwValidator* Clone() override { return new JudgingValidator(*this); }
  std::string given;
  std::string held;

 private:
  std::string m_correction;
};

struct CopyCase {
  const char* name;
  // The source control, its data already set.
  std::function<std::unique_ptr<KwMaskedEdit>()> make;
  std::function<std::unique_ptr<KwMaskedEdit>(const KwMaskedEdit&)> copy;
  const char* correction;  // what the validator corrects the data to ("" none)
  const char* corrected;   // the copy's data after the correction
};
void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

template <class Control>
std::function<std::unique_ptr<KwMaskedEdit>(const KwMaskedEdit&)> CopyOf() {
  return [](const KwMaskedEdit& source) -> std::unique_ptr<KwMaskedEdit> {
    return std::make_unique<Control>(static_cast<const Control&>(source));
  };
}

std::unique_ptr<KwMaskedEdit> Phone() {
  auto edit = std::make_unique<KwCharacterMaskedEdit>("(###) ###-####");
  edit->SetText("5551234567");
  return edit;
}

std::unique_ptr<KwMaskedEdit> Amount() {
  auto edit = std::make_unique<KwNumberMaskedEdit>("%");
  edit->SetText("1234.5");
  return edit;
}

std::unique_ptr<KwMaskedEdit> Digits() { return std::make_unique<KwFieldMaskedEdit>("#"); }

class ValidatorOfACopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(ValidatorOfACopy, JudgesTheCopyAndOutlivesTheSource) {
  const CopyCase& c = GetParam();
  std::unique_ptr<KwMaskedEdit> source = c.make();
  source->SetValidator(new JudgingValidator(source.get(), c.correction));
  std::unique_ptr<KwMaskedEdit> copy = c.copy(*source);
  const std::string copied = copy->GetInputData(false);

  EXPECT_EQ(copy->OnValidate(), 5);
  EXPECT_EQ(copy->GetState(), 0x04) << "the clone marks the copy";
  EXPECT_EQ(source->GetState(), 0) << "and leaves the source alone";
  EXPECT_EQ(source->GetInputData(false), copied) << "the correction goes to the copy only";
  EXPECT_EQ(copy->GetInputData(false), c.corrected);

  // The source gone, the copy's validator still judges the copy (AddressSanitizer would catch
  // a clone that still pointed at the source).
  source.reset();
  copy->SetState(0);
  double value = -1;
  EXPECT_TRUE(copy->GetDataNumValue(value));
  EXPECT_EQ(copy->GetState(), 0x04);
}

// The source keeps its own validator, bound to itself, when the copy goes first.
TEST_P(ValidatorOfACopy, SourceKeepsItsOwnValidator) {
  const CopyCase& c = GetParam();
  std::unique_ptr<KwMaskedEdit> source = c.make();
  source->SetValidator(new JudgingValidator(source.get(), ""));
  c.copy(*source).reset();
  EXPECT_EQ(source->OnValidate(), 5);
  EXPECT_EQ(source->GetState(), 0x04);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ValidatorOfACopy,
    ::testing::Values(
        CopyCase{"Character", Phone, CopyOf<KwCharacterMaskedEdit>(), "4441230000", "4441230000"},
        CopyCase{"CharacterUncorrected", Phone, CopyOf<KwCharacterMaskedEdit>(), "", "5551234567"},
        CopyCase{"Number", Amount, CopyOf<KwNumberMaskedEdit>(), "77.25", "77.25"},
        // A field's copy starts empty and without a window: its data stays empty.
        CopyCase{"Field", Digits, CopyOf<KwFieldMaskedEdit>(), "", ""}),
    [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

}  // namespace
