#include "host/KeyScript.h"

#include <cctype>
#include <cstdio>

#include "host/Utf8.h"

namespace kwhost {

namespace {

struct Named {
  const char* name;
  UINT vk;       // a key, or
  UINT message;  // a message to the focus window
};

const Named kNames[] = {
    {"Back", VK_BACK, 0},    {"Del", VK_DELETE, 0},  {"Ins", VK_INSERT, 0},  {"Home", VK_HOME, 0},
    {"End", VK_END, 0},      {"Left", VK_LEFT, 0},   {"Right", VK_RIGHT, 0}, {"Up", VK_UP, 0},
    {"Down", VK_DOWN, 0},    {"PgUp", VK_PRIOR, 0},  {"PgDn", VK_NEXT, 0},   {"Tab", VK_TAB, 0},
    {"Enter", VK_RETURN, 0}, {"Esc", VK_ESCAPE, 0},  {"Space", VK_SPACE, 0}, {"Cut", 0, WM_CUT},
    {"Copy", 0, WM_COPY},    {"Paste", 0, WM_PASTE}, {"Clear", 0, WM_CLEAR}, {"Undo", 0, WM_UNDO},
};

bool SameName(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

std::string At(int column, const std::string& what) {
  return "column " + std::to_string(column) + ": " + what;
}

// A character a script may not hold as it is: the control characters (C0, DEL, C1).
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// Characters that a trace reader could not see or tell apart when written as they are: blanks
// other than the space, the invisible format characters, the surrogates, the noncharacters.
// StrokeText spells them {U+...}.
bool IsUnseen(char32_t c) {
  return IsControl(c) || c == 0x00A0 || c == 0x00AD || c == 0x034F || c == 0x061C || c == 0x115F ||
         c == 0x1160 || c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 ||
         c == 0x3164 || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFDD0 && c <= 0xFDEF) ||
         c == 0xFEFF || c == 0xFFA0 || (c >= 0xFFF0 && c <= 0xFFFB) || (c & 0xFFFE) == 0xFFFE;
}

// The characters in text (which is valid UTF-8): its bytes less its continuation bytes.
int CharactersIn(const std::string& text) {
  int n = 0;
  for (char b : text) n += (static_cast<unsigned char>(b) & 0xC0) != 0x80;
  return n;
}

// Where text stops being UTF-8, in characters from its start, with what is wrong; -1 when it
// is UTF-8 throughout.
int FirstBadUtf8(const std::string& text, std::string* error) {
  int column = 0;
  for (size_t i = 0; i < text.size(); ++column) {
    const Utf8Char c = DecodeUtf8(text, i);
    if (!c.error.empty()) {
      *error = c.error;
      return column;
    }
    i += c.length;
  }
  return -1;
}

// {U+XXXX}: 4 to 6 hex digits after "U+" (or "u+").
std::string ParseCodePoint(const std::string& written, const std::string& digits, Stroke& stroke) {
  if (digits.size() < 4 || digits.size() > 6 ||
      digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return "'" + written + "': a code point is U+ and 4 to 6 hex digits";
  const unsigned long code = std::stoul(digits, nullptr, 16);
  if (code > 0x10FFFF) return "'" + written + "': beyond U+10FFFF, the last code point";
  if (code == 0) return "'" + written + "': U+0000 types nothing";
  stroke.kind = Stroke::kChar;
  if (code >= 0xD800 && code <= 0xDFFF)
    stroke.wide.assign(1, static_cast<WCHAR>(code));  // half a pair, alone
  else
    AppendUtf16(stroke.wide, static_cast<char32_t>(code));
  return "";
}

// The stroke a braced name stands for ("S+Left", "Cut", "Replace=abc"), or an error.
std::string ParseName(std::string name, Stroke& stroke) {
  const std::string written = name;
  if (name.size() >= 8 && SameName(name.substr(0, 8), "Replace=")) {
    stroke.kind = Stroke::kMessage;
    stroke.message = EM_REPLACESEL;
    stroke.text = name.substr(8);
    return "";
  }
  while (name.size() > 2 && name[1] == '+') {
    const char m = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (m == 'U') {
      if (stroke.shift || stroke.ctrl) return "'" + written + "': a character takes no modifier";
      return ParseCodePoint(written, name.substr(2), stroke);
    }
    if (m == 'S' && !stroke.shift)
      stroke.shift = true;
    else if (m == 'C' && !stroke.ctrl)
      stroke.ctrl = true;
    else
      return "unknown key '" + written + "'";
    name.erase(0, 2);
  }
  if (name.empty()) return "empty key name";
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    stroke.kind = Stroke::kKey;
    stroke.vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0])));
    return "";
  }
  for (const Named& n : kNames) {
    if (!SameName(name, n.name)) continue;
    if (n.message) {
      if (stroke.shift || stroke.ctrl) return "'" + written + "': a command takes no modifier";
      stroke.kind = Stroke::kMessage;
      stroke.message = n.message;
    } else {
      stroke.kind = Stroke::kKey;
      stroke.vk = n.vk;
    }
    return "";
  }
  return "unknown key '" + written + "'";
}

}  // namespace

KeyScript ParseKeys(const std::string& script) {
  KeyScript out;
  int column = 1;  // of script[i], in characters
  for (size_t i = 0; i < script.size();) {
    Stroke stroke;
    stroke.column = column;
    const char c = script[i];
    if ((c == '{' || c == '}') && i + 1 < script.size() && script[i + 1] == c) {
      stroke.ch = c;
      stroke.source = std::string(2, c);
      i += 2;
      column += 2;
    } else if (c == '{') {
      const size_t close = script.find_first_of("{}", i + 1);
      if (close == std::string::npos || script[close] != '}') {
        out.error = At(column, "'{' without its '}'");
        return out;
      }
      const std::string name = script.substr(i + 1, close - i - 1);
      std::string error;
      const int bad = FirstBadUtf8(name, &error);
      if (bad >= 0) {
        out.error = At(column + 1 + bad, error);
        return out;
      }
      stroke.source = script.substr(i, close + 1 - i);
      error = ParseName(name, stroke);
      if (!error.empty()) {
        out.error = At(column, error);
        return out;
      }
      i = close + 1;
      column += CharactersIn(stroke.source);
    } else if (c == '}') {
      out.error = At(column, "a lone '}' (write }} to type it)");
      return out;
    } else {
      const Utf8Char u = DecodeUtf8(script, i);
      if (!u.error.empty()) {
        out.error = At(column, u.error);
        return out;
      }
      if (IsControl(u.code)) {
        char buf[80];
        std::snprintf(buf, sizeof buf,
                      u.code < 0x80 ? "byte 0x%02X is not a printable character"
                                    : "U+%04X is a control character (write {U+%04X} to type it)",
                      static_cast<unsigned>(u.code), static_cast<unsigned>(u.code));
        out.error = At(column, buf);
        return out;
      }
      stroke.source = script.substr(i, u.length);
      if (u.code < 0x80)
        stroke.ch = c;
      else
        AppendUtf16(stroke.wide, u.code);
      i += u.length;
      ++column;
    }
    out.strokes.push_back(stroke);
  }
  return out;
}

bool PlayKeys(const std::vector<Stroke>& strokes,
              const std::function<void(const Stroke&)>& afterEach) {
  bool played = true;
  for (const Stroke& s : strokes) {
    switch (s.kind) {
      case Stroke::kChar: {
        if (!s.wide.empty()) {
          TypeUnits(s.wide);
          break;
        }
        const SHORT scan = KeyFor(s.ch);
        if (scan == -1 || (scan & 0x0400)) {
          ReportError("column " + std::to_string(s.column) + ": no key types '" + s.source + "'");
          played = false;
          continue;
        }
        Press(LOBYTE(scan), (scan & 0x0100) != 0, (scan & 0x0200) != 0);
        break;
      }
      case Stroke::kKey:
        Press(s.vk, s.shift, s.ctrl);
        break;
      case Stroke::kMessage: {
        const KwWString text = Utf16FromUtf8(s.text);
        SendMessageW(GetFocus(), s.message, 0,
                     s.message == EM_REPLACESEL ? reinterpret_cast<LPARAM>(text.c_str()) : 0);
        Pump();
        break;
      }
    }
    if (afterEach) afterEach(s);
  }
  return played;
}

std::string StrokeText(const Stroke& s) {
  if (s.kind == Stroke::kChar && !s.wide.empty()) {
    size_t units = 0;
    const char32_t code = CodePointAt(s.wide, 0, &units);
    std::string out;
    if (units == s.wide.size() && code >= 0x80 && !IsUnseen(code)) {
      AppendUtf8(out, code);
      return out;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "{U+%04X}", static_cast<unsigned>(code));
    return buf;
  }
  if (s.kind == Stroke::kChar) return std::string(s.ch == '{' || s.ch == '}' ? 2 : 1, s.ch);
  if (s.kind == Stroke::kMessage && s.message == EM_REPLACESEL) return "{Replace=" + s.text + "}";
  std::string name(1, static_cast<char>(s.vk));
  for (const Named& n : kNames)
    if (s.kind == Stroke::kKey ? n.vk == s.vk : n.message == s.message) name = n.name;
  return std::string("{") + (s.shift ? "S+" : "") + (s.ctrl ? "C+" : "") + name + "}";
}

bool Keys(const std::string& script) {
  const KeyScript parsed = ParseKeys(script);
  if (!parsed.ok()) {
    ReportError("key script \"" + script + "\": " + parsed.error);
    return false;
  }
  return PlayKeys(parsed.strokes);
}

}  // namespace kwhost
