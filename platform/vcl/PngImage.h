#pragma once
// TPngImage: a PNG picture (alpha kept), read and written with Qt's codec.
#include <memory>

#include "platform/vcl/Bitmap.h"

class TPngImage : public TGraphic {
 public:
  TPngImage();
  ~TPngImage() override;
  // Another TPngImage: a copy; a TBitmap: its pixels (alpha when pf32bit
  // with an alpha format); another graphic: drawn; nullptr: empty.
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FImage->Empty(); }
  Integer Width() const override { return FImage->Width(); }
  Integer Height() const override { return FImage->Height(); }
  void Draw(TCanvas* canvas, const TRect& r) override;
  // Damaged, truncated or oversized data: EInvalidGraphic, picture empty.
  void LoadFromBytes(const TBytes& data) override;
  void SaveToBytes(TBytes& data) override;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TBitmap> FImage;  // pf32bit, premultiplied alpha
};
