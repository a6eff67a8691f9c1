// The locale separators: one character each, read from the user's locale when the module loads.
#include "core/KwLocaleSeparators.h"

#include <vector>

namespace {

char FallbackSeparator(LCTYPE type) {
  switch (type) {
    case LOCALE_SDECIMAL:
      return '.';
    case LOCALE_STHOUSAND:
      return ',';
    case LOCALE_SMONDECIMALSEP:
      return '.';
    case LOCALE_SMONTHOUSANDSEP:
      return ',';
    case LOCALE_STIME:
      return ':';
    case LOCALE_SDATE:
      return '/';
    default:
      return '?';
  }
}

}  // namespace

char GetLocaleSeparator(LCTYPE type) {
  LCID locale = LOCALE_USER_DEFAULT;
  int length = ::GetLocaleInfoA(locale, type, nullptr, 0);
  if (length <= 0) {
    locale = LOCALE_SYSTEM_DEFAULT;
    length = ::GetLocaleInfoA(locale, type, nullptr, 0);
  }
  if (length <= 0) return FallbackSeparator(type);

  // Only the first byte of a longer separator string is used.
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  if (::GetLocaleInfoA(locale, type, buffer.data(), length) <= 0) return FallbackSeparator(type);
  return buffer[0];
}
