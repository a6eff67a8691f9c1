// Shorthands for the platform suite: the parent's notifications as a short text, input
// sequences as text, and named rows for TEST_P tables.
#pragma once

#include <algorithm>
#include <string>
#include <utility>

#include "common/TestHost.h"

namespace ptest {

// The parent's notifications in order, as "<id><letter>" words: "1U 1C 2S". U EN_UPDATE,
// C EN_CHANGE, M EN_MAXTEXT, S EN_SETFOCUS, K EN_KILLFOCUS. A "!" marks one whose lParam is
// not the live control with that identifier.
inline std::string Notes() {
  std::string s;
  for (const kwtest::Notification& n : kwtest::Notifications()) {
    const UINT c = n.code;
    s += (s.empty() ? "" : " ") + std::to_string(n.id) +
         (c == EN_UPDATE ? "U" : c == EN_CHANGE ? "C" : c == EN_MAXTEXT ? "M" : c == EN_SETFOCUS ? "S" : c == EN_KILLFOCUS ? "K" : "?");
    if (IsWindow(n.hwnd) && GetDlgCtrlID(n.hwnd) != n.id) s += "!";
  }
  return s;
}

// Sends input through the host loop. Plain characters are typed; {Name} presses a key, {S+Name}
// and {C+Name} with Shift or Ctrl held: Left Right Up Down Home End Del Ins Tab, or one letter.
// {Cut} {Copy} {Paste} {Clear} and {Replace=text} send WM_CUT ... EM_REPLACESEL to the focus.
inline void Keys(const std::string& seq) {
  static const struct {
    const char* name;
    UINT vk, msg;
  } kNames[] = {{"Left", VK_LEFT, 0},  {"Right", VK_RIGHT, 0}, {"Up", VK_UP, 0},      {"Down", VK_DOWN, 0},
                {"Home", VK_HOME, 0},  {"End", VK_END, 0},     {"Del", VK_DELETE, 0}, {"Ins", VK_INSERT, 0},
                {"Tab", VK_TAB, 0},    {"Cut", 0, WM_CUT},     {"Copy", 0, WM_COPY},  {"Paste", 0, WM_PASTE},
                {"Clear", 0, WM_CLEAR}};
  for (size_t i = 0; i < seq.size();) {
    const size_t open = std::min(seq.find('{', i), seq.size());
    if (open > i) kwtest::Type(seq.substr(i, open - i));
    if (open == seq.size()) break;
    const size_t close = seq.find('}', open);
    std::string k = seq.substr(open + 1, close - open - 1);
    i = close + 1;
    if (k.compare(0, 8, "Replace=") == 0) {
      SendMessageA(GetFocus(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(k.c_str() + 8));
      continue;
    }
    const bool shift = k.compare(0, 2, "S+") == 0, ctrl = k.compare(0, 2, "C+") == 0;
    if (shift || ctrl) k.erase(0, 2);
    UINT vk = k.size() == 1 ? static_cast<UINT>(k[0]) : 0, msg = 0;
    for (const auto& n : kNames)
      if (k == n.name) vk = n.vk, msg = n.msg;
    if (msg) SendMessageA(GetFocus(), msg, 0, 0);
    else if (vk) kwtest::Press(vk, shift, ctrl);
    else ADD_FAILURE() << "unknown key {" << k << "}";
  }
}

// Names the rows of a TEST_P table by their name member.
#define PTEST_ROWS(Suite, rows)                                 \
  INSTANTIATE_TEST_SUITE_P(Platform, Suite, ::testing::ValuesIn(rows), \
                           [](const auto& info) { return std::string(info.param.name); })

}  // namespace ptest
