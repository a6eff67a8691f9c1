// Counted<Control>: any of the controls, counting the keys it refuses (it still beeps, as every
// control does). The demo hosts and the trace tool show the count.
#pragma once

namespace kwdemo {

template <class Control>
class Counted : public Control {
 public:
  using Control::Control;
  int refused = 0;

 protected:
  void ValidationError() override {
    ++refused;
    Control::ValidationError();
  }
};

}  // namespace kwdemo
