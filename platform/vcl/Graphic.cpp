#include "platform/vcl/Graphic.h"

#include <fstream>
#include <list>
#include <mutex>

#include "platform/rtl/Streams.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/GifImage.h"
#include "platform/vcl/GraphicsObjects.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/JpegImage.h"
#include "platform/vcl/PngImage.h"

namespace {

// Pictures larger than this are refused before they are read.
constexpr std::streamoff kMaxPictureFile = 256ll << 20;

TBytes ReadFile(const String& fileName) {
  std::ifstream in(StringToUtf8(fileName), std::ios::binary);
  if (!in) throw EFOpenError(u"Cannot open file \"" + fileName + u"\"");
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxPictureFile) throw EInvalidGraphic(u"Picture file too large");
  in.seekg(0);
  TBytes data(static_cast<size_t>(size));
  if (size && !in.read(reinterpret_cast<char*>(data.data()), size)) throw EReadError(u"Stream read error");
  return data;
}

void WriteFile(const String& fileName, const TBytes& data) {
  std::ofstream out(StringToUtf8(fileName), std::ios::binary | std::ios::trunc);
  if (!out) throw EFCreateError(u"Cannot create file \"" + fileName + u"\"");
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw EWriteError(u"Stream write error");
}

String Extension(const String& fileName) {
  size_t dot = fileName.find_last_of(u'.');
  size_t sep = fileName.find_last_of(u"/\\");
  if (dot == String::npos || (sep != String::npos && dot < sep)) return {};
  return LowerCase(fileName.substr(dot + 1));
}

bool StartsWith(const TBytes& d, std::initializer_list<int> sig) {
  if (d.size() < sig.size()) return false;
  size_t i = 0;
  for (int b : sig)
    if (d[i++] != Byte(b)) return false;
  return true;
}

struct TFormat {
  String Extension;
  String Description;
  TGraphicClass Class;
};

struct TRegistry {
  std::mutex Lock;
  std::list<TFormat> Formats;  // stable addresses: Find* hands out pointers
};

TRegistry& Registry() {
  // The standard formats are there from the first use on.
  static TRegistry* r = [] {
    auto* reg = new TRegistry();
    auto add = [&](const String& ext, const String& desc, TGraphicClass c) { reg->Formats.push_back({ext, desc, std::move(c)}); };
    TGraphicClass bmp{u"TBitmap", [] { return std::make_unique<TBitmap>(); }, [](const TBytes& d) { return StartsWith(d, {'B', 'M'}); }};
    TGraphicClass png{u"TPngImage", [] { return std::make_unique<TPngImage>(); },
                      [](const TBytes& d) { return StartsWith(d, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}); }};
    TGraphicClass jpg{u"TJPEGImage", [] { return std::make_unique<TJPEGImage>(); },
                      [](const TBytes& d) { return StartsWith(d, {0xFF, 0xD8, 0xFF}); }};
    TGraphicClass gif{u"TGIFImage", [] { return std::make_unique<TGIFImage>(); },
                      [](const TBytes& d) { return StartsWith(d, {'G', 'I', 'F', '8'}); }};
    TGraphicClass ico{u"TIcon", [] { return std::make_unique<TIcon>(); },
                      [](const TBytes& d) { return StartsWith(d, {0, 0, 1, 0}); }};
    add(u"bmp", u"Bitmaps", bmp);
    add(u"png", u"Portable Network Graphics", png);
    add(u"jpg", u"JPEG Image File", jpg);
    add(u"jpeg", u"JPEG Image File", jpg);
    add(u"jpe", u"JPEG Image File", jpg);
    add(u"jfif", u"JPEG Image File", jpg);
    add(u"gif", u"GIF Image", gif);
    add(u"ico", u"Icons", ico);
    return reg;
  }();
  return *r;
}


TBytes ReadRest(TStream* stream) {
  Int64 left = stream->Size() - stream->Position();
  if (left < 0) left = 0;
  if (left > kMaxPictureFile) throw EInvalidGraphic(u"Picture file too large");
  TBytes data;
  stream->ReadBuffer(data, Integer(left));
  return data;
}

}  // namespace

// ---- TGraphic -------------------------------------------------------------

void TGraphic::LoadFromStream(TStream* stream) {
  if (stream) LoadFromBytes(ReadRest(stream));
}

void TGraphic::SaveToStream(TStream* stream) {
  if (!stream) return;
  TBytes data;
  SaveToBytes(data);
  stream->WriteBuffer(data);
}

void TGraphic::SetWidth(Integer) { throw EInvalidGraphicOperation(u"Cannot change the size of a " + ClassName()); }
void TGraphic::SetHeight(Integer) { throw EInvalidGraphicOperation(u"Cannot change the size of a " + ClassName()); }
void TGraphic::SetSize(Integer w, Integer h) {
  SetWidth(w);
  SetHeight(h);
}

void TGraphic::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed();
}

void TGraphic::SetModified(bool value) {
  if (value) Changed();
  else FModified = false;
}

void TGraphic::Changed() {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) { LoadFromBytes(ReadFile(fileName)); }

void TGraphic::SaveToFile(const String& fileName) {
  TBytes data;
  SaveToBytes(data);
  WriteFile(fileName, data);
}

// ---- TPicture -------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == FGraphic.get()) return;
  if (!value) {
    Take(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy;
  {
    auto& reg = Registry();
    std::lock_guard lock(reg.Lock);
    for (auto& f : reg.Formats)
      if (f.Class.ClassName == value->ClassName()) {
        copy = f.Class.Create();
        break;
      }
  }
  if (!copy) throw EInvalidGraphic(u"Unknown picture class " + value->ClassName());
  copy->Assign(value);
  Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) Take(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap* value) { SetGraphic(value); }

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) Take(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

Integer TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
Integer TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromBytes(const TBytes& data) {
  const TGraphicClass* c = FindByContent(data);
  if (!c) throw EInvalidGraphic(u"Unsupported picture format");
  auto g = c->Create();
  g->LoadFromBytes(data);
  Take(std::move(g));
}

void TPicture::LoadFromFile(const String& fileName) {
  TBytes data = ReadFile(fileName);
  const TGraphicClass* c = FindByContent(data);
  if (!c) c = FindExtension(Extension(fileName));
  if (!c) throw EInvalidGraphic(u"Unknown picture file extension (." + Extension(fileName) + u")");
  auto g = c->Create();
  g->LoadFromBytes(data);
  Take(std::move(g));
}

void TPicture::LoadFromStream(TStream* stream) {
  if (stream) LoadFromBytes(ReadRest(stream));
}

void TPicture::SaveToStream(TStream* stream) {
  if (FGraphic) FGraphic->SaveToStream(stream);
}

void TPicture::SaveToFile(const String& fileName) {
  if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    if (p != this) SetGraphic(p->Graphic());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic && dynamic_cast<TGraphic*>(Dest)) {
    Dest->Assign(FGraphic.get());
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicClass graphicClass) {
  auto& reg = Registry();
  std::lock_guard lock(reg.Lock);
  String ext = LowerCase(extension);
  for (auto& f : reg.Formats)
    if (f.Extension == ext) {
      f = {ext, description, std::move(graphicClass)};
      return;
    }
  reg.Formats.push_back({ext, description, std::move(graphicClass)});
}

void TPicture::RegisterGraphicClass(TGraphicClass graphicClass) {
  auto& reg = Registry();
  std::lock_guard lock(reg.Lock);
  for (auto& f : reg.Formats)
    if (f.Class.ClassName == graphicClass.ClassName) return;
  // No extension: the class is only made for copies, never chosen for a file.
  reg.Formats.push_back({String(), String(), std::move(graphicClass)});
}

void TPicture::UnregisterGraphicClass(const String& className) {
  auto& reg = Registry();
  std::lock_guard lock(reg.Lock);
  std::erase_if(reg.Formats, [&](const TFormat& f) { return f.Class.ClassName == className; });
}

const TGraphicClass* TPicture::FindExtension(const String& extension) {
  auto& reg = Registry();
  std::lock_guard lock(reg.Lock);
  String ext = LowerCase(extension);
  for (auto& f : reg.Formats)
    if (!f.Extension.empty() && f.Extension == ext) return &f.Class;
  return nullptr;
}

const TGraphicClass* TPicture::FindByContent(const TBytes& data) {
  auto& reg = Registry();
  std::lock_guard lock(reg.Lock);
  for (auto& f : reg.Formats)
    if (f.Class.Matches && f.Class.Matches(data)) return &f.Class;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Type information

void RegisterGraphicsClasses() {
  RegisterEnum<TFontStyle>(u"TFontStyle", {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"});
  RegisterEnum<TFontPitch>(u"TFontPitch", {u"fpDefault", u"fpVariable", u"fpFixed"});
  RegisterEnum<TFontQuality>(u"TFontQuality", {u"fqDefault", u"fqDraft", u"fqProof", u"fqNonAntialiased",
                                               u"fqAntialiased", u"fqClearType", u"fqClearTypeNatural"});
  TClassInfo::Of<TGraphicsObject, TPersistent>(u"TGraphicsObject");
  TClassInfo::Of<TFont, TGraphicsObject>(u"TFont")
      .Property(u"Charset", &TFont::Charset, &TFont::SetCharset).TypeName(u"TFontCharset")
      .Property(u"Color", &TFont::Color, &TFont::SetColor).TypeName(u"TColor")
      .Property(u"Height", &TFont::Height, &TFont::SetHeight)
      .Property(u"Name", &TFont::Name, &TFont::SetName).TypeName(u"TFontName")
      .Property(u"Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0)
      .Property(u"Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault)
      .Property(u"Quality", &TFont::Quality, &TFont::SetQuality).Default(fqDefault)
      .Property(u"Size", &TFont::Size, &TFont::SetSize).Stored(false)
      .Property(u"Style", &TFont::Style, &TFont::SetStyle).TypeName(u"TFontStyles");
  TClassInfo::Of<TGraphic, TPersistent>(u"TGraphic");
  TClassInfo::Of<TBitmap, TGraphic>(u"TBitmap");
  TClassInfo::Of<TPicture, TPersistent>(u"TPicture");
  RegisterClasses({ClassInfoOf<TFont>(), ClassInfoOf<TPicture>(), ClassInfoOf<TBitmap>()});
}
