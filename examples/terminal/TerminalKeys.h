// The terminal's keys in the key-script language (host/KeyScript.h): what a key read from
// ncurses becomes before it goes to the simulated keyboard.
#pragma once

#include <string>

namespace kwterminal {

enum class KeyAction {
  kType,    // play the script
  kHelp,    // F1
  kQuit,    // F10, Ctrl+Q
  kResize,  // the terminal changed its size
  kIgnore,  // a key the demo has no use for
};

struct TerminalKey {
  KeyAction action = KeyAction::kIgnore;
  std::string script;  // for kType: "5", "ł", "{{", "{S+Left}", "{C+v}"
};

// A key code as get_wch() answers it with KEY_CODE_YES (keypad on, raw mode): Backspace,
// Delete, Insert, Home, End, the arrows, each also with Shift where the terminal reports it;
// Ctrl+Insert and Ctrl+Delete where reported; F1, F10, a resize.
TerminalKey MapKey(int ch);
// A character as get_wch() answers it with OK: printable characters of any script type
// themselves ("a", "ł", "あ", "{U+202F}" for an invisible one); Backspace, Tab, Enter;
// Ctrl+X, C, V, Z, Y; Ctrl+Q quits. Other control characters do nothing.
TerminalKey MapCharacter(char32_t ch);

}  // namespace kwterminal
