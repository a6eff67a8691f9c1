// Shorthands for the platform suite: the parent's notifications as a short text and named rows
// for TEST_P tables.
#pragma once

#include <string>

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

// Names the rows of a TEST_P table by their name member.
#define PTEST_ROWS(Suite, rows)                                 \
  INSTANTIATE_TEST_SUITE_P(Platform, Suite, ::testing::ValuesIn(rows), \
                           [](const auto& info) { return std::string(info.param.name); })

}  // namespace ptest
