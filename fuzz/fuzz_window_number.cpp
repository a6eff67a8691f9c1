// Window-level fuzzer of the number control (the harness and its checks: WindowFuzz.h).
#include "WindowFuzz.h"
#include "number/KwNumberMaskedEdit.h"

namespace {
// "$" or "%", sometimes followed by anything, sometimes any text at all.
std::string Mask(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0:
      return in.ConsumeRandomLengthString(8);
    case 1:
      return "$" + in.ConsumeRandomLengthString(4);
    case 2:
    case 3:
      return "$";
    default:
      return "%";
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  kwfuzz::WindowFuzz<KwNumberMaskedEdit>(in, Mask, false).Run();
  return 0;
}
