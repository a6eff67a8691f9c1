// Shorthands for the platform suite: the parent's notifications as a short text and named rows
// for TEST_P tables.
#pragma once

#include <string>

#include "common/TestHost.h"

namespace ptest {

// The parent's notifications as "1U 1C 2S" (host/KwHost.h).
inline std::string Notes() { return kwtest::NotesText(); }

// Names the rows of a TEST_P table by their name member.
#define PTEST_ROWS(Suite, rows)                                        \
  INSTANTIATE_TEST_SUITE_P(Platform, Suite, ::testing::ValuesIn(rows), \
                           [](const auto& info) { return std::string(info.param.name); })

}  // namespace ptest
