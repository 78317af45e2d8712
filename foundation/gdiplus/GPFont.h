#pragma once
// Font families, the font collection, fonts and string formats of the
// imported GDI+ set.
#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/GraphicsObjects.h"

namespace gdiplus {

class TGPFontCollection : public TGPStatusKeeper {
 public:
  TGPFontCollection() = default;
  ~TGPFontCollection() override = default;  // nothing native to delete
  GpFontCollection* nativeFontCollection = nullptr;
};

class TGPFontFamily : public TGPStatusKeeper {
 public:
  // FontFamilyNotFound kept when no installed family has the name.
  explicit TGPFontFamily(const String& name, TGPFontCollection* fontCollection = nullptr);
  TGPFontFamily(GpFontFamily* nativeOrig, TStatus status);
  ~TGPFontFamily() override;
  // Shared families of the unit, made on first use; never free them.
  static TGPFontFamily* GenericSansSerif();
  static TGPFontFamily* GenericSerif();
  static TGPFontFamily* GenericMonospace();
  // The name (at most 31 characters, from a 32-character buffer).
  TStatus GetFamilyName(String& name, Word language = 0);

  GpFontFamily* nativeFamily = nullptr;
};

class TGPFont : public TGPStatusKeeper {
 public:
  TGPFont(const TGPFontFamily* family, Single emSize, Integer style = FontStyleRegular, GpUnit unit = UnitPoint);
  // The family by name (in the collection); the generic sans-serif family
  // when that fails.
  TGPFont(const String& familyName, Single emSize, TFontStyles style = {}, GpUnit unit = UnitPoint,
          TGPFontCollection* fontCollection = nullptr);
  TGPFont(GpFont* font, TStatus status);
  ~TGPFont() override;
  Single GetSize();
  Integer GetStyle();
  // A nil family: InvalidParameter without a call.
  TStatus GetFamily(TGPFontFamily* family);

  GpFont* nativeFont = nullptr;
};

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(Integer formatFlags = 0, Word language = 0);
  explicit TGPStringFormat(const TGPStringFormat* format);
  TGPStringFormat(GpStringFormat* clonedStringFormat, TStatus status);
  ~TGPStringFormat() override;
  TStatus SetAlignment(GpStringAlignment align);
  GpStringAlignment GetAlignment();
  TStatus SetLineAlignment(GpStringAlignment align);
  GpStringAlignment GetLineAlignment();
  TStatus SetTrimming(GpStringTrimming trimming);
  GpStringTrimming GetTrimming();
  TStatus SetFormatFlags(Integer flags);
  Integer GetFormatFlags();
  TStatus SetHotkeyPrefix(GpHotkeyPrefix hotkeyPrefix);
  GpHotkeyPrefix GetHotkeyPrefix();
  TStatus GetLastStatus();

  GpStringFormat* nativeFormat = nullptr;
  TStatus lastError = Ok;

 private:
  TStatus SetStatus(TStatus s) {
    if (s != Ok) lastError = s;
    return s;
  }
};

// Style bits of a TFont's style set: bold 1, italic 2, underline 4, strikeout 8.
Integer FontStyleBits(TFontStyles style);

}  // namespace gdiplus
