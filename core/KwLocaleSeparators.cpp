// The locale separators: one character each, read from the user's locale when the module loads.
#include "core/KwLocaleSeparators.h"

#include <vector>

namespace {

WCHAR FallbackSeparator(LCTYPE type) {
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

WCHAR GetLocaleSeparator(LCTYPE type) {
  LCID locale = LOCALE_USER_DEFAULT;
  int length = ::GetLocaleInfoW(locale, type, nullptr, 0);
  if (length <= 0) {
    locale = LOCALE_SYSTEM_DEFAULT;
    length = ::GetLocaleInfoW(locale, type, nullptr, 0);
  }
  if (length <= 0) return FallbackSeparator(type);

  // Only the first unit of a longer separator string is used.
  std::vector<WCHAR> buffer(static_cast<std::size_t>(length) + 1, WCHAR(0));
  if (::GetLocaleInfoW(locale, type, buffer.data(), length) <= 0) return FallbackSeparator(type);
  const WCHAR first = buffer[0];
  // A locale without a thousands separator still has the positions that show one: a space
  // there, which reads as no digit (the fall-back ',' might be the locale's decimal separator).
  if (first == 0 && (type == LOCALE_STHOUSAND || type == LOCALE_SMONTHOUSANDSEP)) return ' ';
  if (first < 0x20 || first == 0x7F || (first >= 0xD800 && first <= 0xDFFF))
    return FallbackSeparator(type);
  return first;
}
