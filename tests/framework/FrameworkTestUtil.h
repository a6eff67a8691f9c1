// Small helpers shared by the framework tests.
#pragma once

#include <string>
#include <vector>

#include "common/TestHost.h"

namespace fwtest {

// What the test windows' handlers did, in order.
std::vector<std::string>& Log();

inline std::string Char(WPARAM ch) { return std::string(1, static_cast<char>(ch)); }

// A child window rectangle inside the shared parent, below the rows the test host uses.
inline RECT Row(int n) { return RECT{10, 200 + 24 * n, 210, 220 + 24 * n}; }

// A plain "EDIT" child of hParent that the framework knows nothing about.
inline HWND CreatePlainEdit(HWND hParent, int id, const char* text = "") {
  RECT r = Row(id % 8);
  return ::CreateWindowExA(0, "EDIT", text, kwtest::kEditStyle, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                           nullptr);
}

}  // namespace fwtest
