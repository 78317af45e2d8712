#pragma once
// The flat-API handle behind a wrapper object (nullptr for none), for the
// wrappers' own units.
#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/GPMatrix.h"

namespace gdiplus {

inline GpPen* H(TGPPen* p) { return p ? p->nativePen : nullptr; }
inline GpBrush* H(const TGPBrush* b) { return b ? b->nativeBrush : nullptr; }
inline GpPath* H(TGPGraphicsPath* p) { return p ? p->nativePath : nullptr; }
inline GpImage* H(TGPImage* i) { return i ? i->nativeImage : nullptr; }
inline GpImageAttributes* H(TGPImageAttributes* a) { return a ? a->nativeImageAttr : nullptr; }
inline GpFont* H(const TGPFont* f) { return f ? f->nativeFont : nullptr; }
inline GpStringFormat* H(const TGPStringFormat* f) { return f ? f->nativeFormat : nullptr; }
inline GpRegion* H(TGPRegion* r) { return r ? r->nativeRegion : nullptr; }
inline GpMatrix* H(TGPMatrix* m) { return m ? m->nativeMatrix : nullptr; }

}  // namespace gdiplus
