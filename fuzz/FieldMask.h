// The field fuzzers' masks: one mask character, mostly of the mask language, sometimes any
// text (which the field refuses unless it is one known character).
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "field/KwFieldMaskedEdit.h"

namespace kwfuzz {
inline std::string FieldMask(FuzzedDataProvider& in) {
  static const char kLanguage[] = "#A?><&";
  if (in.ConsumeIntegralInRange<int>(0, 5) == 0) return in.ConsumeRandomLengthString(4);
  return std::string(1, kLanguage[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kLanguage - 2)]);
}
}  // namespace kwfuzz
