// Window-level fuzzer of the character control (the harness and its checks: WindowFuzz.h).
#include "WindowFuzz.h"
#include "character/KwCharacterMaskedEdit.h"

namespace {
// Mostly the mask language, sometimes any byte but NUL; now and then a long mask.
std::string Mask(FuzzedDataProvider& in) {
  static const char kLanguage[] = "#A?><&.,:/\\()- x";
  std::string mask;
  const int length =
      in.ConsumeIntegralInRange<int>(0, in.ConsumeIntegralInRange<int>(0, 31) == 0 ? 3000 : 24);
  for (int i = 0; i < length; ++i)
    mask += in.ConsumeIntegralInRange<int>(0, 7) == 0
                ? static_cast<char>(in.ConsumeIntegralInRange<int>(1, 255))
                : kLanguage[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kLanguage - 2)];
  return mask;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  kwfuzz::WindowFuzz<KwCharacterMaskedEdit>(in, Mask, false).Run();
  return 0;
}
