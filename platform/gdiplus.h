// GDI+ for MinGW and MSVC alike (MSVC's headers expect min and max in scope).
#pragma once

#include <windows.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
