#pragma once
// TAdvSVGBitmap: a graphic holding SVG bytes exactly as loaded plus the parsed
// document; the base of the library's picture classes, which share its
// stored form (a 32-bit length, then the SVG bytes) and its content tests.
#include <memory>

#include "foundation/svg/AdvSVGImport.h"
#include "platform/vcl/Graphic.h"

// Picture data larger than this is refused before anything is allocated.
inline constexpr Int64 kMaxPictureData = Int64(256) << 20;

class TAdvSVGBitmap : public TGraphic {
 public:
  TAdvSVGBitmap();
  ~TAdvSVGBitmap() override;

  // The parsed document; nullptr while no SVG parser is registered.
  TAdvSVGImport* SVG() const { return FSVG.get(); }
  const String& FileName() const { return FFileName; }
  // Loads the file when the name differs from the current one; load errors pass on.
  void SetFileName(const String& Value);

  // Empties the document and the kept SVG bytes; raises OnChange.
  virtual void Clear();
  // The document holds at least one element.
  virtual bool HasSVG() const;
  // The SVG bytes as last loaded (also when parsing them failed).
  const TBytes& SVGData() const { return FStream; }

  bool Empty() const override;
  // The view box times the DPI scale; 0 without a document.
  Integer Width() const override;
  Integer Height() const override;
  // The document stretched into r; nothing when empty.
  void Draw(TCanvas* ACanvas, const TRect& r) override;

  // From another TAdvSVGBitmap: its SVG bytes, parsed again (parse errors are
  // swallowed); any other source is ignored. Raises OnChange.
  void Assign(TPersistent* Source) override;
  // The stream's whole content (from its start) as SVG; parse errors are
  // swallowed (the picture is then empty); nullptr does nothing.
  void LoadFromStream(TStream* Stream) override;
  // The kept SVG bytes; nullptr does nothing.
  void SaveToStream(TStream* Stream) override;
  // File and parse errors pass on.
  void LoadFromFile(const String& FileName) override;
  void SaveToFile(const String& FileName) override;
  void LoadFromBytes(const TBytes& data) override;
  void SaveToBytes(TBytes& data) override;

  // The stored form: a 32-bit length, then that many SVG bytes. A length of 0
  // or less reads as empty; a length past the data raises EReadError; parse
  // errors pass on (the bytes are kept).
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);

  // True when the next four bytes carry no raster signature; the position is kept.
  static bool CanLoadFromStream(TStream* Stream);

  // --- content tests shared by the picture classes ---------------------------
  // The whole stream from its start; EInvalidGraphic beyond kMaxPictureData.
  static TBytes ReadWholeStream(TStream* Stream);
  // The first four bytes carry a raster signature the utility class knows.
  static bool IsImageSignature(const TBytes& Data);
  // Text that starts (after a byte-order mark and blanks) with "<".
  static bool LooksLikeSVG(const TBytes& Data);
  // Raster content: a known signature, or anything that is not SVG text (such
  // data is kept as raw bytes rather than lost in a failed SVG parse).
  static bool IsRasterContent(const TBytes& Data);
  // The stored SVG form exactly: a length matching the data, then SVG text
  // (or nothing). Tells an SVG block whose length looks like a signature from
  // raw picture bytes.
  static bool IsStoredSVGBlock(const TBytes& Data);
  // How a form property's data is read back: raw picture bytes or an SVG block.
  static bool IsRawFormData(const TBytes& Data);

 protected:
  void AssignTo(TPersistent* Dest) override;
  // Keeps the bytes and parses them; parse errors are swallowed. No event.
  void LoadSVGBytes(TBytes Data);
  // Keeps the bytes and parses them; parse errors pass on. No event.
  void LoadSVGBytesStrict(TBytes Data);
  // SVG bytes are held (the document may still be missing or empty).
  bool HasSVGData() const { return !FStream.empty(); }
  // Empties the document and the SVG bytes without an event.
  void ClearSVG();
  // The stream from its position to its end; EInvalidGraphic beyond kMaxPictureData.
  static TBytes ReadRestOfStream(TStream* Stream);
  // The registered document, made on first need.
  TAdvSVGImport* Document();

 private:
  std::unique_ptr<TAdvSVGImport> FSVG;
  TBytes FStream;
  String FFileName;
};

// The unit's start: registers TAdvSVGBitmap as the picture format "SVG"; its
// end unregisters it. Called from the program's start-up sequence.
void InitializeAdvTypesUnit();
void FinalizeAdvTypesUnit();
