// Fuzz target: the SVG document. Any bytes are parsed (XML, attributes, style
// rules, path data, transforms, references) and a parsed document is drawn
// into a small bitmap; nothing may crash, hang or grow without bound.
#include <cstdlib>

#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "platform/gdiplus/GdiPlus.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "platform/rtl/Streams.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/xml/XMLDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool started = [] {
    EnsureGuiApplication();
    InitializeNamedColors();
    RegisterGdiplusModule();
    gdiplus_runtime::InitializeGdiplusApi();
    gdiplus_runtime::InitializeGdiplusClasses();
    return true;
  }();
  (void)started;
  TAdvGraphicsSVGImport doc;
  try {
    TBytesStream in(TBytes(data, data + size));
    doc.LoadFromStream(&in);
  } catch (const EXMLDocError&) {
    return 0;
  }
  if (doc.HasElements()) {
    doc.GenerateBitmap(32, 32);
    doc.GenerateBitmap(-1, -1);
    TBytesStream out;
    doc.SaveToStream(&out);
  }
  return 0;
}
