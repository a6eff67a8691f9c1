#include "host/KeyScript.h"

#include <cctype>
#include <cstdio>

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

std::string At(size_t index, const std::string& what) {
  return "column " + std::to_string(index + 1) + ": " + what;
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
  for (size_t i = 0; i < script.size();) {
    Stroke stroke;
    stroke.column = static_cast<int>(i) + 1;
    const char c = script[i];
    if ((c == '{' || c == '}') && i + 1 < script.size() && script[i + 1] == c) {
      stroke.ch = c;
      stroke.source = std::string(2, c);
      i += 2;
    } else if (c == '{') {
      const size_t close = script.find_first_of("{}", i + 1);
      if (close == std::string::npos || script[close] != '}') {
        out.error = At(i, "'{' without its '}'");
        return out;
      }
      stroke.source = script.substr(i, close + 1 - i);
      const std::string error = ParseName(script.substr(i + 1, close - i - 1), stroke);
      if (!error.empty()) {
        out.error = At(i, error);
        return out;
      }
      i = close + 1;
    } else if (c == '}') {
      out.error = At(i, "a lone '}' (write }} to type it)");
      return out;
    } else if (c < 0x20 || c > 0x7E) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "byte 0x%02X is not a printable character",
                    static_cast<unsigned char>(c));
      out.error = At(i, buf);
      return out;
    } else {
      stroke.ch = c;
      stroke.source = std::string(1, c);
      ++i;
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
      case Stroke::kMessage:
        SendMessageA(GetFocus(), s.message, 0,
                     s.message == EM_REPLACESEL ? reinterpret_cast<LPARAM>(s.text.c_str()) : 0);
        Pump();
        break;
    }
    if (afterEach) afterEach(s);
  }
  return played;
}

std::string StrokeText(const Stroke& s) {
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
