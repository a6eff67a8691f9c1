// The GoogleTest side of the host library (host/KwHost.h, host/KeyScript.h): the window-test
// fixture and the skip macro. Everything of the host library is reachable as kwtest::Name;
// what goes wrong while driving input fails the running test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/KeyScript.h"
#include "host/KwHost.h"
#include "platform/probe.h"  // the simulation's inspection interface, for white-box tests

namespace kwtest {

using namespace kwhost;

#define KWTEST_REQUIRE_INSPECT()                                                           \
  do {                                                                                     \
    if (!::kwhost::CanInspect())                                                           \
      GTEST_SKIP() << "needs the simulated window system's inspection interface (beeps, "  \
                      "repaint counts, injected failures), which the real platform lacks"; \
  } while (0)

// UTF-16 units as hex words ("0142 3042"), so that a failed comparison names them on both
// builds.
std::string Hex(const KwWString& s);

// Base fixture for window tests: each test starts with the parent shown and focused, no key
// held, an empty queue, no recorded notifications, no beeps and an empty clipboard. Edit
// controls made with CreateEdit are destroyed after the test.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A plain "EDIT" child of the parent (kEditStyle unless style says otherwise), one row per
  // identifier.
  HWND CreateEdit(int id, const char* text = "", DWORD style = 0);

 private:
  std::vector<HWND> m_created;
};

}  // namespace kwtest
