// The narrow interface's conversions at their edges: NULL and empty texts, characters the ANSI
// code page lacks or writes with more than one byte, and the process that runs with UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "common/TestHost.h"
#include "core/KwText.h"

namespace kwtest {
namespace {

TEST(TextConversion, NullAndEmptyTextsAreEmpty) {
  EXPECT_TRUE(KwWiden(nullptr, 3).empty());
  EXPECT_TRUE(KwWiden(static_cast<const char*>(nullptr)).empty());
  EXPECT_TRUE(KwWiden("abc", 0).empty());
  EXPECT_TRUE(KwNarrow(nullptr, 3).empty());
  EXPECT_TRUE(KwNarrow(KW_W("abc"), 0).empty());
  EXPECT_EQ(KwWideLength(nullptr), 0u);
  EXPECT_EQ(KwWideLength(KW_W("")), 0u);
  EXPECT_EQ(KwWideLength(KW_W("a\u00E9\u4E00")), 3u);
}

// In code page 1252 (the simulation's, and Wine's for an English user).
TEST(TextConversion, OneCharacterEachWayInTheWesternCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the process runs with code page " << ::GetACP();
  const struct {
    WCHAR wide;
    char narrow;
    bool back;  // the narrow character widens to the wide one again
  } rows[] = {
      {'a', 'a', true},       {0x00E9, '\xE9', true},
      {0x20AC, '\x80', true},  // the euro sign, 0x80 in this code page
      {0x4E00, '?', false},    // no character of the code page: its default
      {0xD83D, '?', false},    // half a pair
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(static_cast<unsigned>(r.wide));
    EXPECT_EQ(KwNarrowChar(r.wide), r.narrow);
    if (r.back) {
      EXPECT_EQ(KwWidenChar(r.narrow), r.wide);
    }
    const KwWString wide(1, r.wide);
    EXPECT_EQ(KwNarrow(wide), std::string(1, r.narrow));
  }
}

// A process of UTF-8: a character beyond ASCII is more than one narrow character, so it has no
// one narrow character of its own; whole texts convert both ways.
TEST(TextConversion, OneCharacterEachWayInUtf8) {
  KWTEST_REQUIRE_INSPECT();  // the real platform cannot switch its ANSI code page
  struct Restore {
    UINT codePage = ::GetACP();
    ~Restore() { kwinspect::UseAnsiCodePage(codePage); }
  } restore;
  ASSERT_TRUE(kwinspect::UseAnsiCodePage(CP_UTF8));
  EXPECT_EQ(KwNarrowChar(0x00E9), '?');
  EXPECT_EQ(KwNarrowChar(0x4E00), '?');
  EXPECT_EQ(KwNarrowChar('x'), 'x');
  EXPECT_EQ(KwNarrow(KW_W("\u00E9\u4E00")), "\xC3\xA9\xE4\xB8\x80");
  EXPECT_EQ(KwWiden("\xC3\xA9\xE4\xB8\x80"), KW_W("\u00E9\u4E00"));
}

}  // namespace
}  // namespace kwtest
