// Window-level fuzzer of the field control (the harness and its checks: WindowFuzz.h).
#include "FieldMask.h"
#include "WindowFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  kwfuzz::WindowFuzz<KwFieldMaskedEdit>(in, kwfuzz::FieldMask, false).Run();
  return 0;
}
