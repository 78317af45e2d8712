#pragma once
// TEncodedPicture: what the library's pictures that hold either an encoded
// image file or SVG content share. Such a picture keeps the file byte for
// byte (decoded for each use) or the SVG through its base; it saves either
// as it was loaded, stores the bare file or the base's length-prefixed SVG
// block as its form data, and loads from resources and from "RES://" and
// "FILE://" addresses. Each picture adds its own drawing and events, and
// says whether SVG content read from a stream drops the raw bytes held
// before (some pictures keep them behind, unused while SVG is held).
#include "foundation/svg/AdvSVGBitmap.h"
#include "platform/win/Module.h"

namespace gdiplus {
class TGPGraphics;
}

class TEncodedPicture : public TAdvSVGBitmap {
 public:
  ~TEncodedPicture() override;

  bool Empty() const override;
  Integer Width() const override;
  Integer Height() const override;
  void SetWidth(Integer) override {}
  void SetHeight(Integer) override {}

  // The SVG bytes, else the raw bytes; nullptr: nothing.
  void SaveToStream(TStream* Stream) override;
  void SaveToBytes(TBytes& data) override;
  // The form property Data: the bare file, or the base's SVG block.
  void WriteData(TStream* Stream) override;
  // An RCDATA resource by name (nothing when missing) or by number
  // (EResNotFound when missing), through LoadFromStream.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
  void LoadFromResourceID(HINSTANCE Instance, Integer ResID);

  const TBytes& Data() const { return FDatastream; }

 protected:
  explicit TEncodedPicture(bool SVGDropsRaw);

  // "RES://name" or "FILE://path", the prefix in any letter case.
  static bool IsLocalURL(const String& URL);
  // A local address through LoadFromResourceName or LoadFromFile; nothing
  // after the prefix, or any other address, loads nothing.
  void LoadFromLocalURL(const String& URL);
  // Raster content is kept raw (SVG dropped), anything else as SVG (parse
  // errors swallowed; raw bytes dropped as the picture says). Sets the empty
  // mark; no event.
  void TakeContent(TBytes Data);
  // The file's content as above, raw bytes always dropped for SVG; file and
  // SVG parse errors pass on.
  void TakeFileContent(const String& FileName);
  // The form property read back from the stream's position: the bare file
  // or the SVG block (raw bytes dropped as the picture says). Sets the empty
  // mark; no event.
  void TakeFormData(TStream* Stream);
  // Nothing held, size 0 x 0. No event.
  void ClearContent();
  // The raw bytes' decoded size into FWidth, FHeight; false (sizes kept)
  // when there are none or they do not decode.
  bool DecodeRawSize();
  // The SVG content into (X, Y, X + W, Y + H) through the surface's device
  // context; nothing without SVG or a context.
  void DrawSVGOn(gdiplus::TGPGraphics* Graphics, Single X, Single Y, Single W, Single H);
  void RaiseChange() {
    if (OnChange) OnChange(this);
  }

  TBytes FDatastream;
  bool FIsEmpty = true;
  Integer FWidth = 0, FHeight = 0;

 private:
  const bool FSVGDropsRaw;
  void MarkEmpty() { FIsEmpty = FDatastream.empty() && !HasSVGData(); }
};
