// Drawing the SVG document on the vector canvas.
#include "foundation/svg/AdvGraphicsSVGImport.h"

// The canvas is not part of this build yet: nothing is drawn.
TAdvBitmap* TAdvGraphicsSVGImport::GenerateBitmap(Single, Single) { return nullptr; }
void TAdvGraphicsSVGImport::Draw(TCanvas*, const TRectF&, bool) {}
void TAdvGraphicsSVGImport::Draw(TAdvGraphics*, const TRectF&, bool, bool) {}
