// Fuzzer of the field control's model: its editing operations called directly (the field's
// length is its window's text limit, so it lives in a window; harness and checks: WindowFuzz.h).
#include "FieldMask.h"
#include "WindowFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  kwfuzz::WindowFuzz<KwFieldMaskedEdit>(in, kwfuzz::FieldMask, true).Run();
  return 0;
}
