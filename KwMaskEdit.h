// KwMaskEdit: masked edit controls for Win32. One include for a host: the five public classes
// (KwMaskedEdit, KwCharacterMaskedEdit, KwFieldMaskedEdit, KwNumberMaskedEdit, KwValidator), the
// application framework they are built on (CWnd, CEdit, message maps), the Win32 subset of the
// platform, and the library's version (KW_VERSION_MAJOR, _MINOR, _PATCH, KW_VERSION_STRING).
#pragma once

#include "KwMaskEditVersion.h"
#include "character/KwCharacterMaskedEdit.h"
#include "core/KwMaskedEdit.h"
#include "core/KwValidator.h"
#include "field/KwFieldMaskedEdit.h"
#include "framework/framework.h"
#include "number/KwNumberMaskedEdit.h"
