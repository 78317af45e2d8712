#pragma once
// TIcon: an icon picture (ICO files) over an icon handle.
#include "platform/gdi/Gdi.h"
#include "platform/vcl/Graphic.h"

class TIcon : public TGraphic {
 public:
  TIcon();
  ~TIcon() override;
  // Another TIcon: a copy of its handle and file data; nullptr: empty.
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  // The size picked from a file with several pictures (default 32 x 32).
  void SetSize(Integer w, Integer h) override;
  void SetWidth(Integer w) override { SetSize(w, FHeight); }
  void SetHeight(Integer h) override { SetSize(FWidth, h); }
  HICON Handle() const { return FHandle; }
  // Takes ownership of an icon handle.
  void SetHandle(HICON value);
  HICON ReleaseHandle();
  void Draw(TCanvas* canvas, const TRect& r) override;
  // The picture nearest the wanted size, deepest colour first. Damaged data:
  // EInvalidGraphic, icon empty.
  void LoadFromBytes(const TBytes& data) override;
  // The file read, or a one-picture ICO of the handle.
  void SaveToBytes(TBytes& data) override;

 private:
  void Pick();
  HICON FHandle = nullptr;
  TBytes FData;
  Integer FWidth = 0, FHeight = 0;
  Integer FRequestedWidth = 32, FRequestedHeight = 32;
};
