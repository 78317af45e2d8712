// Picture decoding over hostile bytes: the picture by content, each picture
// class directly, and the GDI+ decoder. A crash, a sanitizer report or an
// allocation beyond the fuzzer's memory limit is a finding.
#include <cstddef>
#include <cstdint>

#include "platform/gdiplus/GdiPlus.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/GifImage.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/JpegImage.h"
#include "platform/vcl/PngImage.h"

namespace {

template <class T>
void Load(const TBytes& bytes) {
  try {
    T graphic;
    graphic.LoadFromBytes(bytes);
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    EnsureGuiApplication();
    GdiplusStartupInput input{};
    std::uintptr_t token = 0;
    return GdiplusStartup(&token, &input, nullptr) == Ok;
  }();
  const TBytes bytes(data, data + size);
  Load<TPicture>(bytes);
  Load<TBitmap>(bytes);
  Load<TPngImage>(bytes);
  Load<TJPEGImage>(bytes);
  Load<TGIFImage>(bytes);
  Load<TIcon>(bytes);
  if (ready) {
    IStream* stream = SHCreateMemStream(data, ULONG(size));
    GpImage* image = nullptr;
    if (stream && GdipLoadImageFromStream(stream, &image) == Ok) GdipDisposeImage(image);
    if (stream) stream->Release();
  }
  return 0;
}
