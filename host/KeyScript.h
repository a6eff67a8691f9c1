// The key-script language: one way to write what a user types, for every program that drives
// the controls (tests, the demo, benchmarks, fuzzers, the trace tool). A script is UTF-8.
//
//   abc 12.5     a printable ASCII character (0x20 to 0x7E) types itself with its key and the
//                Shift state the keyboard layout asks for (VkKeyScanA): "A" is Shift+A
//   ł あ é 😀    any other character types itself as a character without a key, as an input
//                method or a character map sends it (SendInput with KEYEVENTF_UNICODE): one
//                WM_CHAR of its UTF-16 unit, two (a surrogate pair) beyond U+FFFF
//   {U+202F}     the same for any code point written as U+ and 4 to 6 hex digits (invisible and
//                blank characters are best written so); a surrogate code point, {U+D800}, types
//                that one unit alone (half a pair, to see how a control takes it)
//   {{  }}       type '{' and '}'
//   {Name}       presses and releases one key:
//                  Back Del Ins Home End Left Right Up Down PgUp PgDn Tab Enter Esc Space
//                or one letter or digit: {v} is the V key, {5} the 5 key
//   {S+Name}     Name with Shift held; C+ holds Ctrl; both in any order: {C+S+End},
//   {C+Name}     {S+C+End}. {C+v} paste, {C+x} cut, {C+c} copy, {C+z} undo, {C+y} and
//                {C+S+z} redo (what the focused control makes of them is its own affair)
//   {Cut} {Copy} {Paste} {Clear} {Undo}
//                no key: sends WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR or WM_UNDO to the focus
//                window, as a menu command would
//   {Replace=t}  no key: sends EM_REPLACESEL with the text t (up to the closing brace, UTF-8,
//                sent as UTF-16) to the focus window
//
// Names and modifier letters are case-insensitive ({del}, {s+left}, {u+202f}). Anything else is
// an error that names the 1-based column (counted in characters) where it starts: an unknown
// name ("column 7: unknown key 'Foo'"), a '{' without its '}', a lone '}', a modifier on a
// command or a character, a control character, bytes that are not UTF-8, a code point that is
// not one. Parsing needs no window system; playing goes through KwHost.h (SendInput and Pump).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/KwHost.h"

namespace kwhost {

struct Stroke {
  enum Kind {
    kChar,     // types ch with its key, or the units of wide as a character without a key
    kKey,      // presses vk with shift/ctrl held
    kMessage,  // sends message (text: EM_REPLACESEL's text) to the focus window
  };
  Kind kind = kChar;
  char ch = 0;     // a printable ASCII character, typed with its key
  KwWString wide;  // else the UTF-16 units of the character (one, or a pair)
  UINT vk = 0;
  bool shift = false;
  bool ctrl = false;
  UINT message = 0;
  std::string text;    // EM_REPLACESEL's text, UTF-8
  int column = 0;      // 1-based column (in characters) in the script where the stroke starts
  std::string source;  // the stroke as written: "a", "ł", "{{", "{S+Left}", "{U+202F}"
};

struct KeyScript {
  std::vector<Stroke> strokes;  // everything before the first error
  std::string error;            // "" when the whole script parsed; else "column N: ..."
  bool ok() const { return error.empty(); }
};

// Parses a script into strokes; stops at the first error.
KeyScript ParseKeys(const std::string& script);

// Plays strokes through SendInput and the host loop, one at a time, each pumped; afterEach (if
// any) runs after each stroke has been taken by the loop. False, reported through
// ReportError, when a character has no key on this keyboard (that stroke is skipped).
bool PlayKeys(const std::vector<Stroke>& strokes,
              const std::function<void(const Stroke&)>& afterEach = nullptr);

// Parses and plays a script; a script that does not parse is reported and nothing is played.
bool Keys(const std::string& script);

// A stroke written back in the language's own spelling: "a", "ł", "{{", "{S+C+End}", "{C+V}",
// "{Cut}", "{Replace=x}", and "{U+202F}" for a character typed without a key that is ASCII,
// blank, invisible, a control character or half a pair (what a trace prints; ParseKeys gives
// the same stroke back).
std::string StrokeText(const Stroke& stroke);

}  // namespace kwhost
