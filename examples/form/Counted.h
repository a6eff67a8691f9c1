// Counted<Control>: any of the controls, counting the keys it refuses (it still beeps, as every
// control does). The demo hosts and the trace tool show the count, and the reason of the last
// refusal in words (RejectionText).
#pragma once

#include <string>

#include "core/KwMaskedEdit.h"

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

// The last refusal of a control: "wrong kind at 3 'a'", "full at 14 '5'", "no text on the
// clipboard", or "" when the last key or paste was taken.
inline std::string RejectionText(const KwMaskedEdit& control) {
  int pos = 0;
  char ch = '\0';
  const int reason = control.GetLastRejection(&pos, &ch);
  std::string what;
  switch (reason) {
    case KwMaskedEdit::RejectWrongKind:
      what = "wrong kind";
      break;
    case KwMaskedEdit::RejectFull:
      what = "full";
      break;
    case KwMaskedEdit::RejectNoInputPosition:
      what = "no input position";
      break;
    case KwMaskedEdit::RejectNoMask:
      what = "no mask";
      break;
    case KwMaskedEdit::RejectClipboard:
      return "no text on the clipboard";
    case KwMaskedEdit::RejectOutOfMemory:
      return "out of memory: nothing changed";
    default:
      return "";
  }
  what += " at " + std::to_string(pos);
  // The character itself when it prints, else its byte in hexadecimal.
  const auto byte = static_cast<unsigned char>(ch);
  static const char kHex[] = "0123456789ABCDEF";
  const bool prints = byte >= 0x20 && byte < 0x7F;
  return what + (prints ? std::string(" '") + ch + "'"
                        : std::string(" 0x") + kHex[byte >> 4] + kHex[byte & 0xF]);
}

}  // namespace kwdemo
