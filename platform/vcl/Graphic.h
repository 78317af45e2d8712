#pragma once
// TGraphic, the base of every picture class, and TPicture, the holder of
// one graphic of any registered format (chosen by content, then by file
// extension). Pictures load from files or byte buffers.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Geometry.h"
#include "platform/rtl/Persistent.h"

class TCanvas;
class TBitmap;
class TStream;
class TIcon;

// Damaged or unknown picture data.
class EInvalidGraphic : public Exception { public: using Exception::Exception; };
// An operation the picture cannot do (e.g. resizing a compressed picture).
class EInvalidGraphicOperation : public Exception { public: using Exception::Exception; };

class TGraphic : public TPersistent {
 public:
  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  // Formats that cannot be resized raise EInvalidGraphicOperation.
  virtual void SetWidth(Integer value);
  virtual void SetHeight(Integer value);
  virtual void SetSize(Integer w, Integer h);
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  bool Modified() const { return FModified; }
  void SetModified(bool value);

  // Draws the picture scaled into r on the canvas.
  virtual void Draw(TCanvas* canvas, const TRect& r) = 0;
  // Reads the picture; raises EInvalidGraphic for damaged data or data of
  // another format (the picture is then empty), EFOpenError for a missing file.
  virtual void LoadFromBytes(const TBytes& data) = 0;
  virtual void SaveToBytes(TBytes& data) = 0;
  virtual void LoadFromFile(const String& fileName);
  // Raises EFCreateError when the file cannot be written.
  virtual void SaveToFile(const String& fileName);
  // From the stream's position to its end (at most 256 MiB, else
  // EInvalidGraphic); nullptr does nothing.
  virtual void LoadFromStream(TStream* stream);
  virtual void SaveToStream(TStream* stream);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  bool FTransparent = false;
  bool FModified = false;
};

// A registered picture format: its class name, a maker, and a test of the
// first bytes of a file.
struct TGraphicClass {
  String ClassName;
  std::function<std::unique_ptr<TGraphic>()> Create;
  std::function<bool(const TBytes&)> Matches;
};

class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;

  // The held graphic (nullptr when none).
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of value (same class, Assign); nullptr empties the picture.
  void SetGraphic(TGraphic* value);
  // The graphic as a bitmap: another kind of graphic is replaced by an empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* value);
  TIcon* Icon();
  Integer Width() const;
  Integer Height() const;

  // By content first, then by extension. Unknown: EInvalidGraphic
  // "Unknown picture file extension (.ext)"; damaged: EInvalidGraphic.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  // By content only; EInvalidGraphic when no format recognises the bytes.
  void LoadFromBytes(const TBytes& data);
  // By content, from the stream's position to its end; nullptr does nothing.
  void LoadFromStream(TStream* stream);
  void SaveToStream(TStream* stream);

  // TPicture, TGraphic or nullptr.
  void Assign(TPersistent* Source) override;

  // Adds (or replaces) the format for a file extension ("png", no dot).
  static void RegisterFileFormat(const String& extension, const String& description, TGraphicClass graphicClass);
  template <class T>
  static void RegisterFileFormat(const String& extension, const String& description,
                                 std::function<bool(const TBytes&)> matches = {}) {
    RegisterFileFormat(extension, description,
                       TGraphicClass{ClassNameOf(typeid(T)), [] { return std::make_unique<T>(); }, std::move(matches)});
  }
  // Makes a class known for copies (SetGraphic, Assign) without a file
  // extension or signature; a class already known is left as it is.
  static void RegisterGraphicClass(TGraphicClass graphicClass);
  template <class T>
  static void RegisterGraphicClass() {
    RegisterGraphicClass(TGraphicClass{ClassNameOf(typeid(T)), [] { return std::make_unique<T>(); }, {}});
  }
  static void UnregisterGraphicClass(const String& className);
  // The registered class for an extension; nullptr when none.
  static const TGraphicClass* FindExtension(const String& extension);
  // The registered class whose signature matches; nullptr when none.
  static const TGraphicClass* FindByContent(const TBytes& data);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed();

 private:
  void Take(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> FGraphic;
};

// The graphics unit's start-up: declares TGraphicsObject, TFont (with its
// published properties), TGraphic, TPicture and TBitmap to the type
// information and registers them, so persistence knows a font or a picture
// by its own class. Calling it again changes nothing.
void RegisterGraphicsClasses();
