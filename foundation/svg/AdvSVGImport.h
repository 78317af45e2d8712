#pragma once
// TAdvSVGImport: the abstract SVG document every picture talks to. The
// concrete document comes from a factory that the SVG parser registers;
// until one is registered no document exists and pictures keep SVG bytes
// without drawing them.
#include <functional>
#include <memory>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"

class TCanvas;
class TStream;
class TAdvBitmap;

class TAdvSVGImport : public TPersistent {
 public:
  TAdvSVGImport() = default;
  ~TAdvSVGImport() override = default;

  // The document holds at least one top-level element.
  virtual bool HasElements() = 0;
  virtual Integer ElementCount() = 0;
  // Renders into a bitmap the document owns; nullptr when it cannot.
  virtual TAdvBitmap* GenerateBitmap(Single AWidth, Single AHeight) = 0;
  virtual void Clear() = 0;
  // Draws the document stretched into ARect.
  virtual void Draw(TCanvas* ACanvas, const TRectF& ARect, bool ANative) = 0;
  // Parsers raise their own exceptions on malformed text.
  virtual void LoadFromText(const String& AText) = 0;
  virtual void LoadFromFile(const String& AFile) = 0;
  virtual void LoadFromStream(TStream* AStream) = 0;
  virtual void SaveToStream(TStream* AStream) = 0;
  virtual void SaveToFile(const String& AFile) = 0;

  Single RotationAngle = 0;
  TRectF ViewRect;
  bool GrayScale = false;
  TColor CustomFillColor = -1;
  TColor CustomStrokeColor = -1;
  TColor TintColor = -1;
  Single CustomOpacity = -1;

  using TFactory = std::function<std::unique_ptr<TAdvSVGImport>()>;
  // The SVG parser's unit registers its document maker at start-up; an
  // empty function unregisters it.
  static void RegisterFactory(TFactory AFactory);
  // A new document from the registered maker; nullptr when none is registered.
  static std::unique_ptr<TAdvSVGImport> CreateDocument();
};
