// The six locale separator characters. Each control's source unit includes this header once
// and so holds its own six characters, read from the user's locale when the module loads,
// before any control exists, and never read again.
#pragma once

#include "core/KwDefs.h"

// One character of the locale string for the LCTYPE: the user's locale, else the system's,
// else the fall-back ('.', ',', '.', ',', ':', '/' for the six separators, '?' for any other).
char GetLocaleSeparator(LCTYPE type);

namespace {
const char g_chDecimalSep = GetLocaleSeparator(LOCALE_SDECIMAL);
const char g_chThousandSep = GetLocaleSeparator(LOCALE_STHOUSAND);
const char g_chMonDecimalSep = GetLocaleSeparator(LOCALE_SMONDECIMALSEP);
const char g_chMonThousandSep = GetLocaleSeparator(LOCALE_SMONTHOUSANDSEP);
const char g_chTimeSep = GetLocaleSeparator(LOCALE_STIME);
const char g_chDateSep = GetLocaleSeparator(LOCALE_SDATE);
}  // namespace
