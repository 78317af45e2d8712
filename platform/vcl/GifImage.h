#pragma once
// TGIFImage: a GIF picture; its first frame is shown (transparency kept).
#include <memory>

#include "platform/vcl/Bitmap.h"

class TGIFImage : public TGraphic {
 public:
  TGIFImage();
  ~TGIFImage() override;
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FImage->Empty(); }
  Integer Width() const override { return FImage->Width(); }
  Integer Height() const override { return FImage->Height(); }
  void Draw(TCanvas* canvas, const TRect& r) override;
  // Damaged, truncated or oversized data: EInvalidGraphic, picture empty.
  void LoadFromBytes(const TBytes& data) override;
  // The bytes read (a copy of the file); a GIF made from pixels is written
  // as one frame. EInvalidGraphicOperation when nothing can be written.
  void SaveToBytes(TBytes& data) override;
  // Frames in the file read (0 when empty).
  Integer FrameCount() const { return FFrameCount; }

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TBitmap> FImage;
  TBytes FData;
  Integer FFrameCount = 0;
};
