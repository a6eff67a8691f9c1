// Counted<Control>: any of the controls, counting the keys it refuses (it still beeps, as every
// control does). The demo hosts and the trace tool show the count, and the reason of the last
// refusal in words (RejectionText).
#pragma once

#include <cstdio>
#include <string>

#include "core/KwMaskedEdit.h"
#include "form/WideText.h"
#include "host/KeyScript.h"

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
// clipboard", or "" when the last key or paste was taken. UTF-8: "wrong kind at 0 'あ'".
inline std::string RejectionText(const KwMaskedEdit& control) {
  int pos = 0;
  const std::pair<int, KwWString> refused = LastRejectionW(control, &pos);
  const int reason = refused.first;
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
  // The character itself when it prints, else its byte in hexadecimal; beyond ASCII, as the
  // key-script language spells it, its code point when it is blank, invisible or half a pair.
  const char32_t code = refused.second.empty() ? 0 : kwhost::CodePointAt(refused.second, 0);
  char buf[16];
  if (code >= 0x80) {
    kwhost::Stroke stroke;
    stroke.wide = refused.second;
    const std::string spelt = kwhost::StrokeText(stroke);
    if (spelt[0] != '{') return what + " '" + spelt + "'";
    std::snprintf(buf, sizeof buf, " U+%04X", static_cast<unsigned>(code));
    return what + buf;
  }
  if (code >= 0x20 && code != 0x7F) return what + " '" + static_cast<char>(code) + "'";
  std::snprintf(buf, sizeof buf, " 0x%02X", static_cast<unsigned>(code));
  return what + buf;
}

}  // namespace kwdemo
