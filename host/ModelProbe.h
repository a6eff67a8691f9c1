// Openers for white-box programs (tests, fuzzers, benchmarks): a control with its protected
// model operations public and every refused keystroke counted, and a validator that only
// offers the template matcher. Header-only: a program that includes it links the controls
// (kwmaskedit).
#pragma once

#include <string>

#include "core/KwMaskedEdit.h"
#include "core/KwValidator.h"

namespace kwhost {

template <class Control>
class ModelProbe : public Control {
 public:
  using Control::Control;
  using Control::DeleteRange;
  using Control::GetEmptyInputLocation;
  using Control::GetNextInputLocation;
  using Control::GetPreviousInputLocation;
  using Control::InsertAt;
  using Control::InsertAtW;
  using Control::IsInputData;
  using Control::SetAt;
  using Control::SetAtW;
  using Control::SetInputData;
  using Control::SetInputDataW;

  // Every refused keystroke comes through ValidationError; counting it works on every
  // platform (the beep it makes can only be counted on the simulation).
  int refusals = 0;

 protected:
  void ValidationError() override {
    ++refusals;
    Control::ValidationError();
  }
};

// A validator with no judgement of its own, for calling the matcher directly.
class TemplateMatcher : public KwValidator {
 public:
  TemplateMatcher() : KwValidator(nullptr) {}
  int Validate(std::string&) override { return 0; }
  KwValidator* Clone() override { return new TemplateMatcher(*this); }
};

}  // namespace kwhost
