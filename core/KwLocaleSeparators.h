// The six locale separator characters. Each control's source unit includes this header once
// and so holds its own six characters, read from the user's locale when the module loads,
// before any control exists, and never read again.
#pragma once

#include "core/KwDefs.h"

// One UTF-16 unit of the locale string for the LCTYPE (GetLocaleInfoW, so that U+202F, U+00A0
// or U+2019 is itself): the user's locale, else the system's, else the fall-back ('.', ',',
// '.', ',', ':', '/' for the six separators, '?' for any other). A separator is shown in the
// window text, which a NUL would cut short: an empty thousands separator reads as a space (the
// fall-back ',' may be the locale's decimal separator), and any other empty string, or one that
// starts with a unit that is no character of its own (a control character, a surrogate), as the
// fall-back.
WCHAR GetLocaleSeparator(LCTYPE type);

namespace {
const WCHAR g_chDecimalSep = GetLocaleSeparator(LOCALE_SDECIMAL);
const WCHAR g_chThousandSep = GetLocaleSeparator(LOCALE_STHOUSAND);
const WCHAR g_chMonDecimalSep = GetLocaleSeparator(LOCALE_SMONDECIMALSEP);
const WCHAR g_chMonThousandSep = GetLocaleSeparator(LOCALE_SMONTHOUSANDSEP);
const WCHAR g_chTimeSep = GetLocaleSeparator(LOCALE_STIME);
const WCHAR g_chDateSep = GetLocaleSeparator(LOCALE_SDATE);
}  // namespace
