#include "terminal/TerminalKeys.h"

#include <curses.h>

#include <cstring>

#include "host/KeyScript.h"
#include "host/Utf8.h"

namespace kwterminal {

namespace {

TerminalKey Type(const char* script) { return {KeyAction::kType, script}; }

// Keys that have no constant of their own; terminfo's extended names: 2 is Shift, 5 is Ctrl,
// 6 Ctrl+Shift ("kLFT5" is Ctrl+Left).
TerminalKey MapNamedKey(const char* name) {
  static const struct {
    const char* name;
    const char* script;
  } kNamed[] = {{"kUP2", "{S+Up}"},     {"kDN2", "{S+Down}"},    {"kLFT5", "{C+Left}"},
                {"kRIT5", "{C+Right}"}, {"kLFT6", "{C+S+Left}"}, {"kRIT6", "{C+S+Right}"},
                {"kHOM5", "{C+Home}"},  {"kEND5", "{C+End}"},    {"kHOM6", "{C+S+Home}"},
                {"kEND6", "{C+S+End}"}, {"kIC5", "{C+Ins}"},     {"kDC5", "{C+Del}"},
                {"kIC2", "{S+Ins}"},    {"kDC2", "{S+Del}"}};
  if (name != nullptr)
    for (const auto& k : kNamed)
      if (std::strcmp(k.name, name) == 0) return Type(k.script);
  return {};
}

}  // namespace

TerminalKey MapCharacter(char32_t ch) {
  if (ch < 0x80) return MapKey(static_cast<int>(ch));
  if (ch <= 0x9F || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return {};
  kwhost::Stroke stroke;  // spelled as the key-script language spells it
  kwhost::AppendUtf16(stroke.wide, ch);
  return {KeyAction::kType, kwhost::StrokeText(stroke)};
}

TerminalKey MapKey(int ch) {
  if (ch == '{') return Type("{{");
  if (ch == '}') return Type("}}");
  if (ch >= 0x20 && ch < 0x7F) return {KeyAction::kType, std::string(1, static_cast<char>(ch))};
  switch (ch) {
    case KEY_F(1):
      return {KeyAction::kHelp, ""};
    case KEY_F(10):
    case 'Q' - '@':
      return {KeyAction::kQuit, ""};
    case KEY_RESIZE:
      return {KeyAction::kResize, ""};
    case KEY_BACKSPACE:
    case 0x7F:
    case '\b':
      return Type("{Back}");
    case KEY_DC:
      return Type("{Del}");
    case KEY_SDC:
      return Type("{S+Del}");
    case KEY_IC:
      return Type("{Ins}");
    case KEY_SIC:
      return Type("{S+Ins}");
    case KEY_HOME:
      return Type("{Home}");
    case KEY_SHOME:
      return Type("{S+Home}");
    case KEY_END:
      return Type("{End}");
    case KEY_SEND:
      return Type("{S+End}");
    case KEY_LEFT:
      return Type("{Left}");
    case KEY_SLEFT:
      return Type("{S+Left}");
    case KEY_RIGHT:
      return Type("{Right}");
    case KEY_SRIGHT:
      return Type("{S+Right}");
    case KEY_UP:
      return Type("{Up}");
    case KEY_SR:  // scroll backward: what many terminals send for Shift+Up
      return Type("{S+Up}");
    case KEY_DOWN:
      return Type("{Down}");
    case KEY_SF:  // scroll forward: Shift+Down
      return Type("{S+Down}");
    case '\t':
      return Type("{Tab}");
    case KEY_BTAB:
      return Type("{S+Tab}");
    case '\r':
    case '\n':
    case KEY_ENTER:
      return Type("{Enter}");
    case 'X' - '@':
      return Type("{C+x}");
    case 'C' - '@':
      return Type("{C+c}");
    case 'V' - '@':
      return Type("{C+v}");
    case 'Z' - '@':
      return Type("{C+z}");
    case 'Y' - '@':
      return Type("{C+y}");
    default:
      break;
  }
  if (ch > KEY_MAX || (ch >= KEY_MIN && ch <= KEY_MAX)) return MapNamedKey(keyname(ch));
  return {};
}

}  // namespace kwterminal
