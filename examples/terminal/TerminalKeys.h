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
  std::string script;  // for kType: "5", "{{", "{S+Left}", "{C+v}"
};

// ch as getch() answers it (keypad on, raw mode): printable characters type themselves;
// Backspace, Delete, Insert, Home, End, the arrows and Tab, each also with Shift where the
// terminal reports it; Ctrl+X, C, V, Z, Y; Ctrl+Insert and Ctrl+Delete where reported.
TerminalKey MapKey(int ch);

}  // namespace kwterminal
