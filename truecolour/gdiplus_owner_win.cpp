// Deleters of the GDI+ owners declared in gdi_owner.h.
#include "truecolour/gdi_owner.h"
#include "truecolour/gdiplus_win.h"

namespace gdi {

void DeleteGraphics::operator()(Gdiplus::GpGraphics* g) const { gp::GdipDeleteGraphics(g); }
void DisposeImage::operator()(Gdiplus::GpImage* image) const { gp::GdipDisposeImage(image); }

} // namespace gdi
