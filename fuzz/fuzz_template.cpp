// Fuzzer of the validator's template matcher on arbitrary data and templates. The template is
// handed over in a heap block of exactly its size, so that AddressSanitizer sees any read past
// its end. A match (0) leaves the data in the template's form: as long as the template, up to
// the 254 positions the matcher reads; a mismatch leaves the data as it was and names a
// position within it or one past its end (1000 for data longer than 999 characters).
// The matcher speaks the narrow interface (a validator's data is the ANSI text): the data and
// the template are drawn as UTF-16 (characters of several scripts, digits of other scripts,
// the world's separators, halves of pairs and pairs whole) and handed over through the ANSI
// code page, as a host's wide text reaches it, or drawn as any bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "WideText.h"
#include "core/KwText.h"
#include "core/KwValidator.h"
#include "host/ModelProbe.h"

namespace {

using kwfuzz::Show;

using Matcher = kwhost::TemplateMatcher;

// A narrow text of up to max characters of alphabet, mostly: as UTF-16 through the code page,
// or, one time in four, any bytes.
std::string Narrow(FuzzedDataProvider& in, const char* alphabet, std::size_t max) {
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0) return in.ConsumeRandomLengthString(max);
  return KwNarrow(kwfuzz::SomeTextW(in, alphabet, 5, max));
}

// Template characters: mostly letters, digits, '?' and separators.
std::string Template(FuzzedDataProvider& in) {
  return Narrow(in, "A9?-/ .x0", in.ConsumeBool() ? 20 : 300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider in(bytes, size);
  const std::string tmpl = Template(in);
  std::string data = Narrow(in, "aZ09-/ .?", in.ConsumeBool() ? 1200 : 30);

  // The template as a C string in a block of its own size (it ends at its first NUL).
  const std::size_t tmplLength = std::strlen(tmpl.c_str());
  std::unique_ptr<char[]> block(new char[tmplLength + 1]);
  std::memcpy(block.get(), tmpl.c_str(), tmplLength + 1);

  Matcher matcher;
  const std::string before = data;
  const int r = matcher.IsErrMatchTemplate(data, block.get());
  if (r == 0) {
    const std::size_t expected = tmplLength < 254 ? tmplLength : 254;
    KW_FUZZ_CHECK(data.size() == expected,
                  "a match of '%s' with '%s' gave '%s' (%zu characters, expected %zu)",
                  Show(before).c_str(), Show(tmpl).c_str(), Show(data).c_str(), data.size(),
                  expected);
    // The normalised data matches again and stays as it is (within the 254 positions, and
    // unless the template ends in spaces, which the matcher trims from the data).
    if (tmplLength >= 254 || tmpl[tmplLength - (tmplLength ? 1 : 0)] == ' ') return 0;
    std::string again = data;
    const int r2 = matcher.IsErrMatchTemplate(again, block.get());
    KW_FUZZ_CHECK(r2 == 0 && again == data, "the normalised '%s' matched with %d as '%s'",
                  Show(data).c_str(), r2, Show(again).c_str());
  } else {
    KW_FUZZ_CHECK(data == before, "a mismatch (%d) changed the data", r);
    const int limit = before.size() > 999 ? 1000 : static_cast<int>(before.size()) + 1;
    KW_FUZZ_CHECK(r >= 1 && r <= limit, "a mismatch of %zu characters at %d", before.size(), r);
  }
  // Null template: as the empty one.
  std::string d2 = before;
  matcher.IsErrMatchTemplate(d2, nullptr);
  return 0;
}
