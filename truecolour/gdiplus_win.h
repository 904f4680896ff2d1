// The GDI+ flat API. The mingw <gdiplus.h> only compiles whole, and it needs the COM
// declarations that WIN32_LEAN_AND_MEAN leaves out.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpStatus;
