#pragma once
// TJPEGImage: a JPEG picture, decoded and encoded with libjpeg (6b API).
#include <memory>

#include "platform/vcl/Bitmap.h"

enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
using TJPEGQualityRange = Integer;

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  // Another TJPEGImage: a copy; a TBitmap or other graphic: its pixels, to
  // be compressed when saved; nullptr: empty.
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FImage->Empty(); }
  Integer Width() const override { return FImage->Width(); }
  Integer Height() const override { return FImage->Height(); }
  void Draw(TCanvas* canvas, const TRect& r) override;
  // Damaged, truncated or oversized data: EInvalidGraphic, picture empty.
  void LoadFromBytes(const TBytes& data) override;
  // The bytes read when unchanged, else a fresh compression at CompressionQuality.
  void SaveToBytes(TBytes& data) override;

  TJPEGQualityRange CompressionQuality() const { return FQuality; }
  // 1..100; other values are clamped.
  void SetCompressionQuality(TJPEGQualityRange value);
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool value);
  TJPEGPerformance Performance() const { return FPerformance; }
  void SetPerformance(TJPEGPerformance value) { FPerformance = value; }
  bool ProgressiveEncoding() const { return FProgressive; }
  void SetProgressiveEncoding(bool value) { FProgressive = value; }
  // The decoded pixels are always kept; these exist for callers that ask.
  void DIBNeeded() {}
  void JPEGNeeded();

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TBitmap> FImage;  // pf24bit
  TBytes FData;                      // the compressed form, empty when stale
  TJPEGQualityRange FQuality = 90;
  bool FGrayscale = false;
  bool FProgressive = false;
  TJPEGPerformance FPerformance = jpBestQuality;
};
