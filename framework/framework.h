// The application framework layer in one include.
#pragma once

#include "framework/CDC.h"
#include "framework/CEdit.h"
#include "framework/CGdiObject.h"
#include "framework/CObject.h"
#include "framework/CWnd.h"
#include "framework/ExtensionModule.h"
#include "framework/MessageMap.h"
