#pragma once
// The imported GDI+ wrapper set: the common base whose instances live in
// GDI+'s memory, the value types, and GDI+'s start and end for the program.
#include <cstddef>

#include "platform/gdiplus/GdiPlus.h"

namespace gdiplus {

using TStatus = GpStatus;
using TGPPoint = GpPoint;
using TGPPointF = GpPointF;
using TGPRect = GpRect;
using TGPRectF = GpRectF;
using PGPPoint = GpPoint*;
using PGPPointF = GpPointF*;
using PARGB = ARGB*;
using PGPColor = ARGB*;
using TMatrixArray = REAL[6];

enum TGPImageFormat { ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon };

class TGdiplusBase {
 public:
  virtual ~TGdiplusBase() = default;
  // Instances come from GdipAlloc; when GDI+ is not running it is started
  // first. When even that fails, new answers nullptr (no object is made).
  static void* operator new(std::size_t size) noexcept;
  static void operator delete(void* p) noexcept;
};

// The kept status of a wrapper: a failure stays until GetLastStatus reads it.
class TGPStatusKeeper : public TGdiplusBase {
 public:
  // The kept status, reset to Ok.
  TStatus GetLastStatus() {
    TStatus s = lastResult;
    lastResult = Ok;
    return s;
  }
  TStatus lastResult = Ok;

 protected:
  TStatus SetStatus(TStatus s) {
    if (s != Ok) lastResult = s;
    return s;
  }
};

// The unit's start (GDI+ with its background thread suppressed) and end.
// Called from the program's start-up sequence; both are idempotent.
void InitializeGdiplusUnit();
void FinalizeGdiplusUnit();

}  // namespace gdiplus
