#pragma once

// The Win32 API as the adapter uses it: the wide-character functions (UNICODE, set by the build
// for the whole library), the common controls and no min/max macros.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h.
#include <commctrl.h>

// The ui layer has a MessageBox of its own; the adapter calls MessageBoxW by its name.
#undef MessageBox
