// Common definitions of the masked edit library.
#pragma once

#include "framework/framework.h"

// The library builds as a shared library that exports its classes whole.
#if defined(_WIN32) && defined(KW_SHARED)
#if defined(KW_BUILDING)
#define KW_API __declspec(dllexport)
#else
#define KW_API __declspec(dllimport)
#endif
#elif defined(KW_SHARED)
#define KW_API __attribute__((visibility("default")))
#else
#define KW_API
#endif
