#include "foundation/gdiplus/PictureDecode.h"

#include "foundation/svg/AdvSVGBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/ComStream.h"

namespace gdiplus {

namespace {
// The stream is released on every path, as the COM stream on global memory was.
struct TStreamRef {
  explicit TStreamRef(const TBytes& data) : Stream(SHCreateMemStream(data.data(), ULONG(data.size()))) {}
  ~TStreamRef() { Stream->Release(); }
  IStream* Stream;
};

void CheckBudget(const TBytes& Data) {
  if (Int64(Data.size()) > kMaxPictureData) throw Exception(u"Could not allocate memory for image");
}
}  // namespace

std::unique_ptr<TGPImage> DecodePictureBytes(const TBytes& Data) {
  if (Data.empty()) return nullptr;
  CheckBudget(Data);
  TStreamRef ref(Data);
  return std::unique_ptr<TGPImage>(new TGPImage(ref.Stream, false));
}

std::unique_ptr<TGPBitmap> DecodePictureBitmap(const TBytes& Data) {
  if (Data.empty()) return nullptr;
  CheckBudget(Data);
  TStreamRef ref(Data);
  return std::unique_ptr<TGPBitmap>(new TGPBitmap(ref.Stream, false));
}

}  // namespace gdiplus
