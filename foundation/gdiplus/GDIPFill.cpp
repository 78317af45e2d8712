#include "foundation/gdiplus/GDIPFill.h"

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/win/Clipboard.h"
#include "platform/win/WinError.h"

namespace gdiplus {

namespace {

UINT gFillClipboardFormat = 0;

Byte Effective(Byte argument, Byte property) { return argument == 255 ? property : argument; }

// The picture text of the settings file: two hexadecimal digits per byte.
TBytes PictureTextToBytes(const String& text) {
  if (text.size() % 2 != 0) throw EConvertError(u"No Hex-Number");
  try {
    return TAdvUtils::HexStrToBytes(text);
  } catch (const Exception&) {
    throw EConvertError(u"No Hex-Number");
  }
}

TFillRoundingType NarrowRounding(TFillRoundingType type, bool lowerHalf) {
  if (type == rtLeft || type == rtRight) return type;
  if (lowerHalf) return (type == rtBottom || type == rtBoth) ? rtBottom : rtNone;
  return (type == rtTop || type == rtBoth) ? rtTop : rtNone;
}

}  // namespace

TGDIPFill::TGDIPFill()
    : FBackGroundPicture(std::make_unique<TZovIVIDPicture>()), FPicture(std::make_unique<TZovIVIDPicture>()) {
  FBackGroundPicture->OnChange = [this](TObject*) { Changed(); };
  FPicture->OnChange = [this](TObject*) { Changed(); };
}

TGDIPFill::~TGDIPFill() = default;

void TGDIPFill::Changed() {
  if (OnChange && FUpdateCount == 0) OnChange(this);
}

void TGDIPFill::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TGDIPFill*>(Source);
  if (!src || src == this) return;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FColorMirror = src->FColorMirror;
  FColorMirrorTo = src->FColorMirrorTo;
  FGradientType = src->FGradientType;
  FGradientMirrorType = src->FGradientMirrorType;
  FHatchStyle = src->FHatchStyle;
  FHatchStyleMirror = src->FHatchStyleMirror;
  FBackGroundPictureAspectRatio = src->FBackGroundPictureAspectRatio;
  FBackGroundPictureMode = src->FBackGroundPictureMode;
  FBackGroundPicture->Assign(src->FBackGroundPicture.get());
  FBackGroundPicturePosition = src->FBackGroundPicturePosition;
  FBackGroundPictureLeft = src->FBackGroundPictureLeft;
  FBackGroundPictureTop = src->FBackGroundPictureTop;
  FBackGroundPictureAspectMode = src->FBackGroundPictureAspectMode;
  FPicture->Assign(src->FPicture.get());
  FPicturePosition = src->FPicturePosition;
  FPictureLeft = src->FPictureLeft;
  FPictureTop = src->FPictureTop;
  FPictureSize = src->FPictureSize;
  FPictureWidth = src->FPictureWidth;
  FPictureHeight = src->FPictureHeight;
  FPictureAspectRatio = src->FPictureAspectRatio;
  FPictureAspectMode = src->FPictureAspectMode;
  FOpacity = src->FOpacity;
  FOpacityTo = src->FOpacityTo;
  FOpacityMirror = src->FOpacityMirror;
  FOpacityMirrorTo = src->FOpacityMirrorTo;
  FBorderColor = src->FBorderColor;
  FBorderOpacity = src->FBorderOpacity;
  FBorderWidth = src->FBorderWidth;
  FRounding = src->FRounding;
  FRoundingType = src->FRoundingType;
  FShadowColor = src->FShadowColor;
  FShadowOffset = src->FShadowOffset;
  FShadowType = src->FShadowType;
  FAngle = src->FAngle;
  FGlow = src->FGlow;
  FGlowGradientColor = src->FGlowGradientColor;
  FGlowRadialColor = src->FGlowRadialColor;
  Changed();
}

void TGDIPFill::PaintShadow(TGPGraphics* Graphics, TGPRectF& F) {
  const Integer s = FShadowOffset;
  if (s <= 0 || FShadowColor == clNone) return;
  if (FShadowType == stBottom) {
    DrawRadialGlow(Graphics, GPRectF(F.X, F.Y + F.Height - 2 * s, F.Width, Single(2 * s)), FShadowColor, FShadowColor,
                   0, 255, rtBottom, FRounding, true);
    F.Height -= s;
    return;
  }
  std::unique_ptr<TGPGraphicsPath> outline = FShadowType == stSurround ? CreateRoundedRectPath(F, s, rtBoth)
                                                                      : CreateRoundedRectPath(F, FRounding, FRoundingType);
  if (outline) {
    TGPPathGradientBrush brush(outline.get());
    brush.SetWrapMode(WrapModeClamp);
    const ARGB colors[3] = {0, ColorToAlphaARGB(180, FShadowColor), ColorToAlphaARGB(180, FShadowColor)};
    const Single positions[3] = {0, 0.1f, 1.0f};
    brush.SetInterpolationColors(colors, positions, 3);
    Graphics->FillPath(&brush, outline.get());
  }
  if (FShadowType == stSurround) {
    F = GPRectF(F.X + s, F.Y + s, F.Width - 2 * s, F.Height - 2 * s);
  } else {
    F.Width -= s;
    F.Height -= s;
  }
}

void TGDIPFill::PaintFill(TGPGraphics* Graphics, const TGPRectF& F, Byte o1, Byte o2, Byte om1, Byte om2) {
  auto upper = [&](const TGPRectF& r, TFillRoundingType radialRounding) {
    if (FGradientType == gtRadial) {
      if (FColor != clNone)
        DrawRadialGlow(Graphics, r, FColor, FColorTo == clNone ? FColor : FColorTo, o1, o2, radialRounding,
                       FRounding, true);
    } else {
      DrawGradientBackGround(Graphics, r, false, o1, o2, om1, om2);
    }
  };
  const bool mirrored = FColorMirror != clNone && FGradientType != gtHatch && FGradientType != gtTexture;
  if (!mirrored) {
    upper(F, FRoundingType);
    return;
  }
  const Single h = F.Height / 2;
  upper(GPRectF(F.X, F.Y, F.Width, F.Height - h + 1), rtTop);
  const TGPRectF lower = GPRectF(F.X, F.Y + h - 1, F.Width, F.Height - h + 1);
  if (FGradientMirrorType == gtRadial && FColorMirror != clNone)
    DrawRadialGlow(Graphics, lower, FColorMirror, FColorMirrorTo == clNone ? FColorMirror : FColorMirrorTo, om1, om2,
                   rtBottom, FRounding, false);
  else
    DrawGradientBackGround(Graphics, lower, true, o1, o2, om1, om2);
}

void TGDIPFill::PlacePicture(TGPGraphics* Graphics, TZovIVIDPicture* Picture, const TGPRectF& F, Integer Width,
                             Integer Height, TFillPicturePosition Position, Integer Left, Integer Top,
                             bool AspectRatio, TPictureMode AspectMode) {
  TRect r = Bounds(Integer(Round(F.X)), Integer(Round(F.Y)), Integer(Round(F.Width)), Integer(Round(F.Height)));
  if (Position != ppCustom) OffsetRect(&r, Left, Top);
  DrawFillPicture(Graphics, AspectRatio, AspectMode, Top, Left, r, Height, Width, Position, Picture);
}

TGPRectF TGDIPFill::Fill(TGPGraphics* Graphics, const TGPRectF& R, Byte ABorderOpacity, Byte AOpacity,
                         Byte AOpacityTo, Byte AOpacityMirror, Byte AOpacityMirrorTo) {
  if (!Graphics) return R;
  const Byte o1 = Effective(AOpacity, FOpacity), o2 = Effective(AOpacityTo, FOpacityTo);
  const Byte om1 = Effective(AOpacityMirror, FOpacityMirror), om2 = Effective(AOpacityMirrorTo, FOpacityMirrorTo);
  const Byte ob = Effective(ABorderOpacity, FBorderOpacity);
  TGPRectF F = R;
  const bool hasBorder = FBorderWidth > 0 && FBorderColor != clNone;
  const bool backgroundPicture = !FBackGroundPicture->Empty() && FGradientType == gtTexture;
  if (R.Height == 1 || R.Width == 1) {
    if (hasBorder) {
      TGPPen pen(ColorToAlphaARGB(ob, FBorderColor), Single(FBorderWidth));
      Graphics->DrawLine(&pen, F.X, F.Y, F.X + F.Width, F.Y + F.Height);
    }
  } else {
    PaintShadow(Graphics, F);
    PaintFill(Graphics, F, o1, o2, om1, om2);
    if (FBackGroundPictureMode == pmInsideFill && backgroundPicture) {
      std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedRectPath(F, FRounding, FRoundingType);
      if (outline) Graphics->SetClip(outline.get(), CombineModeReplace);
      FBackGroundPicture->GetImageSizes();
      PlacePicture(Graphics, FBackGroundPicture.get(), F, FBackGroundPicture->Width(), FBackGroundPicture->Height(),
                   FBackGroundPicturePosition, FBackGroundPictureLeft, FBackGroundPictureTop,
                   FBackGroundPictureAspectRatio, FBackGroundPictureAspectMode);
      Graphics->ResetClip();
    }
    if (hasBorder) {
      std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedRectPath(F, FRounding, FRoundingType);
      TGPPen pen(ColorToAlphaARGB(ob, FBorderColor), Single(FBorderWidth));
      if (outline) Graphics->DrawPath(&pen, outline.get());
    }
  }
  DrawGlow(Graphics, F);
  const Single bw = Single(FBorderWidth);
  FFocusRect = GPRectF(F.X + bw, F.Y + bw, F.Width - 2 * bw, F.Height - 2 * bw);
  if (FFocus) {
    const Integer smoothing = Graphics->GetSmoothingMode();
    Graphics->SetSmoothingMode(SmoothingModeDefault);
    std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedRectPath(FFocusRect, FRounding - FBorderWidth, FRoundingType);
    TGPPen pen(ColorToAlphaARGB(o1, FFocusColor), 1);
    pen.SetDashStyle(DashStyleDot);
    if (outline) Graphics->DrawPath(&pen, outline.get());
    Graphics->SetSmoothingMode(smoothing);
  }
  if (FBackGroundPictureMode == pmOutsideFill && backgroundPicture) {
    FBackGroundPicture->GetImageSizes();
    PlacePicture(Graphics, FBackGroundPicture.get(), F, FBackGroundPicture->Width(), FBackGroundPicture->Height(),
                 FBackGroundPicturePosition, FBackGroundPictureLeft, FBackGroundPictureTop, FPictureAspectRatio,
                 FPictureAspectMode);
  }
  if (!FPicture->Empty()) {
    FPicture->GetImageSizes();
    const bool own = FPictureSize == psOriginal;
    PlacePicture(Graphics, FPicture.get(), F, own ? FPicture->Width() : FPictureWidth,
                 own ? FPicture->Height() : FPictureHeight, FPicturePosition, FPictureLeft, FPictureTop,
                 FPictureAspectRatio, FPictureAspectMode);
  }
  return F;
}

void TGDIPFill::DrawGradientBackGround(TGPGraphics* Graphics, const TGPRectF& R, bool Mirror, Byte oc, Byte octo,
                                       Byte ocmr, Byte ocmrto) {
  if (!Graphics) return;
  const TColor color = Mirror ? FColorMirror : FColor;
  const TColor colorTo = Mirror ? FColorMirrorTo : FColorTo;
  TAdvGradientType kind = Mirror ? FGradientMirrorType : FGradientType;
  std::unique_ptr<TGPGraphicsPath> outline;
  if (FRounding != 0) {
    const TFillRoundingType type = FColorMirror == clNone ? FRoundingType : NarrowRounding(FRoundingType, Mirror);
    outline = CreateRoundedRectPath(R, FRounding, type);
  }
  if (color == clNone) kind = gtNone;
  else if (colorTo == clNone) kind = gtSolid;

  TGradientFillParams p;
  p.Graphics = Graphics;
  p.Path = outline.get();
  p.UsePath = outline != nullptr;
  p.Rect = R;
  p.GradientType = kind;
  p.Color = color;
  p.ColorTo = colorTo;
  p.Opacity = Mirror ? ocmr : oc;
  p.OpacityTo = Mirror ? ocmrto : octo;
  p.HatchStyle = Mirror ? FHatchStyleMirror : FHatchStyle;
  p.Angle = FAngle;
  p.Picture = FBackGroundPicturePosition == ppTiled ? FBackGroundPicture.get() : nullptr;
  p.BorderColor = clNone;
  p.BorderWidth = 0;
  p.BorderDashStyle = DashStyleSolid;
  p.TopLine = Mirror;
  const Integer smoothing = p.UsePath ? Graphics->GetSmoothingMode() : 0;
  if (p.UsePath) Graphics->SetSmoothingMode(SmoothingModeAntiAlias);
  DrawGradientFill(p);
  if (p.UsePath) Graphics->SetSmoothingMode(smoothing);
}

void TGDIPFill::DrawGlow(TGPGraphics* Graphics, const TGPRectF& R) {
  if (!Graphics || FGlow == gmNone) return;
  TGPRegion clip(R);
  Graphics->SetClip(&clip, CombineModeReplace);
  const TGPRectF G = GPRectF(R.X + 1, R.Y + 1, R.Width - 2, R.Height - 2);
  if (FGlow == gmGradient || FGlow == gmRadialGradient) {
    if (std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedRectPath(G, FRounding, FRoundingType)) {
      TGPPen pen(ColorToAlphaARGB(200, FGlowGradientColor), 1);
      Graphics->DrawPath(&pen, outline.get());
    }
    auto band = [&](const TGPRectF& B, Byte topAlpha, Byte bottomAlpha, const TGPPointF (&left)[3],
                    const TGPPointF (&right)[3]) {
      TGPLinearGradientBrush brush(GPRectF(B.X - 1, B.Y - 1, B.Width + 2, B.Height + 2),
                                   ColorToAlphaARGB(topAlpha, FGlowGradientColor),
                                   ColorToAlphaARGB(bottomAlpha, FGlowGradientColor), LinearGradientModeVertical);
      Graphics->FillPolygon(&brush, left, 3);
      Graphics->FillPolygon(&brush, right, 3);
      Graphics->FillRectangle(&brush, B);
    };
    const Single right = G.X + G.Width, bottom = G.Y + G.Height;
    band(GPRectF(G.X + 5, G.Y, G.Width - 10, 4), 175, 0,
         {GPPointF(G.X, G.Y), GPPointF(G.X + 5, G.Y), GPPointF(G.X + 5, G.Y + 4)},
         {GPPointF(right, G.Y), GPPointF(right - 5, G.Y), GPPointF(right - 5, G.Y + 4)});
    band(GPRectF(G.X + 5, bottom - 7, G.Width - 10, 7), 0, 220,
         {GPPointF(G.X, bottom), GPPointF(G.X + 5, bottom), GPPointF(G.X + 5, bottom - 7)},
         {GPPointF(right, bottom), GPPointF(right - 5, bottom), GPPointF(right - 5, bottom - 7)});
  }
  if (FGlow == gmRadial || FGlow == gmRadialGradient) {
    TGPGraphicsPath ellipse;
    const TGPRectF e = GPRectF(G.X + 10, G.Y - G.Height / 2, G.Width - 20, G.Height * 3);
    ellipse.AddEllipse(e);
    TGPPathGradientBrush brush(&ellipse);
    brush.SetCenterPoint(GPPointF(e.X + e.Width / 2, e.Y + e.Height / 2));
    brush.SetCenterColor(ColorToAlphaARGB(150, FGlowRadialColor));
    const ARGB surround = ColorToAlphaARGB(0, FColor);
    Integer count = 1;
    brush.SetSurroundColors(&surround, count);
    Graphics->FillPath(&brush, &ellipse);
  }
  Graphics->ResetClip();
}

// --- settings file -------------------------------------------------------------

namespace {

String PictureText(TZovIVIDPicture* Picture) {
  TBytesStream bytes;
  Picture->SaveToStream(&bytes);
  return TAdvUtils::BytesToHexStr(bytes.Bytes().data(), bytes.Bytes().size());
}

// Reads the picture text of Key whose length Size-Key names; nothing when the length is 0 or missing.
void LoadPictureText(TCustomIniFile* ini, const String& Section, const String& Key, const String& SizeKey,
                     TZovIVIDPicture* Picture) {
  const Integer n = ini->ReadInteger(Section, SizeKey, 0);
  if (n <= 0) return;
  String text = ini->ReadString(Section, Key, u"");
  if (text.size() > std::size_t(n)) text.resize(std::size_t(n));
  TBytesStream data(PictureTextToBytes(text));
  Picture->LoadFromStream(&data);
}

}  // namespace

void TGDIPFill::SaveToFile(const String& FileName, const String& Section) {
  TIniFile ini(FileName);
  SaveToFile(&ini, Section);
}

void TGDIPFill::SaveToFile(TCustomIniFile* ini, const String& Section) {
  if (!ini) return;
  auto put = [&](const char16_t* key, Integer value) { ini->WriteInteger(Section, key, value); };
  put(u"Color", FColor);
  put(u"ColorTo", FColorTo);
  put(u"ColorMirror", FColorMirror);
  put(u"ColorMirrorTo", FColorMirrorTo);
  put(u"GradientType", FGradientType);
  put(u"GradientMirrorType", FGradientMirrorType);
  put(u"HatchStyle", FHatchStyle);
  put(u"HatchStyleMirror", FHatchStyleMirror);
  put(u"BackGroundPictureMode", FBackGroundPictureMode);
  put(u"BackGroundPicturePosition", FBackGroundPicturePosition);
  put(u"BackGroundPictureLeft", FBackGroundPictureLeft);
  put(u"BackGroundPictureTop", FBackGroundPictureTop);
  put(u"PicturePosition", FPicturePosition);
  put(u"PictureLeft", FPictureLeft);
  put(u"PictureTop", FPictureTop);
  put(u"PictureSize", FPictureSize);
  put(u"PictureWidth", FPictureWidth);
  put(u"PictureHeight", FPictureHeight);
  put(u"Opacity", FOpacity);
  put(u"OpacityTo", FOpacityTo);
  put(u"OpacityMirror", FOpacityMirror);
  put(u"OpacityMirrorTo", FOpacityMirrorTo);
  put(u"BorderColor", FBorderColor);
  put(u"BorderOpacity", FBorderOpacity);
  put(u"BorderWidth", FBorderWidth);
  put(u"Rounding", FRounding);
  put(u"RoundingType", FRoundingType);
  put(u"ShadowOffset", FShadowOffset);
  put(u"ShadowColor", FShadowColor);
  put(u"Angle", FAngle);
  put(u"Glow", FGlow);
  put(u"GlowGradientColor", FGlowGradientColor);
  put(u"GlowRadialColor", FGlowRadialColor);
  const String picture = PictureText(FPicture.get());
  ini->WriteString(Section, u"Picture", picture);
  put(u"PictureSize", Integer(picture.size()));
  const String background = PictureText(FBackGroundPicture.get());
  ini->WriteString(Section, u"BackgroundPicture", background);
  put(u"BackgroundPictureSize", Integer(background.size()));
  // "PictureSize" holds the picture text's length, so the property has a key of its own.
  put(u"PictureSizeMode", FPictureSize);
}

void TGDIPFill::LoadFromFile(const String& FileName, const String& Section) {
  TIniFile ini(FileName);
  LoadFromFile(&ini, Section);
}

void TGDIPFill::LoadFromFile(TCustomIniFile* ini, const String& Section) {
  if (!ini) return;
  auto get = [&](const char16_t* key, auto& field) {
    using T = std::remove_reference_t<decltype(field)>;
    field = T(ini->ReadInteger(Section, key, Integer(field)));
  };
  auto getEnum = [&](const char16_t* key, auto& field, Integer last) {
    using T = std::remove_reference_t<decltype(field)>;
    const Integer v = ini->ReadInteger(Section, key, Integer(field));
    if (v >= 0 && v <= last) field = T(v);  // out-of-range values in the file are ignored
  };
  get(u"Color", FColor);
  get(u"ColorTo", FColorTo);
  get(u"ColorMirror", FColorMirror);
  get(u"ColorMirrorTo", FColorMirrorTo);
  getEnum(u"GradientType", FGradientType, gtNone);
  getEnum(u"GradientMirrorType", FGradientMirrorType, gtNone);
  getEnum(u"HatchStyle", FHatchStyle, HatchStyleMax);
  getEnum(u"HatchStyleMirror", FHatchStyleMirror, HatchStyleMax);
  getEnum(u"BackGroundPictureMode", FBackGroundPictureMode, pmOutsideFill);
  getEnum(u"BackGroundPicturePosition", FBackGroundPicturePosition, ppCustom);
  get(u"BackGroundPictureLeft", FBackGroundPictureLeft);
  get(u"BackGroundPictureTop", FBackGroundPictureTop);
  getEnum(u"PicturePosition", FPicturePosition, ppCustom);
  get(u"PictureLeft", FPictureLeft);
  get(u"PictureTop", FPictureTop);
  // Key "PictureSize" is the picture text's length (see SaveToFile); the property has its own key.
  get(u"PictureWidth", FPictureWidth);
  get(u"PictureHeight", FPictureHeight);
  get(u"Opacity", FOpacity);
  get(u"OpacityTo", FOpacityTo);
  get(u"OpacityMirror", FOpacityMirror);
  get(u"OpacityMirrorTo", FOpacityMirrorTo);
  get(u"BorderColor", FBorderColor);
  get(u"BorderOpacity", FBorderOpacity);
  get(u"BorderWidth", FBorderWidth);
  get(u"Rounding", FRounding);
  getEnum(u"RoundingType", FRoundingType, rtRight);
  get(u"ShadowOffset", FShadowOffset);
  get(u"ShadowColor", FShadowColor);
  get(u"Angle", FAngle);
  getEnum(u"Glow", FGlow, gmRadialGradient);
  get(u"GlowGradientColor", FGlowGradientColor);
  get(u"GlowRadialColor", FGlowRadialColor);
  getEnum(u"PictureSizeMode", FPictureSize, psCustom);
  // The pictures' own change events are held back: the load notifies once.
  ++FUpdateCount;
  try {
    LoadPictureText(ini, Section, u"Picture", u"PictureSize", FPicture.get());
    LoadPictureText(ini, Section, u"BackgroundPicture", u"BackgroundPictureSize", FBackGroundPicture.get());
  } catch (...) {
    --FUpdateCount;
    throw;
  }
  --FUpdateCount;
  Changed();
}

namespace {

constexpr const char16_t* kSaveSection = u"SaveObject";

TGDIPFill* FillOf(TPersistent* Object) {
  auto* fill = dynamic_cast<TGDIPFill*>(Object);
  if (!fill) throw EAssertionFailed(u"Assertion failed: the fill carrier has no fill");
  return fill;
}

// Closes the clipboard when it goes out of scope.
struct TClipboardSession {
  TClipboardSession() {
    if (!OpenClipboard(nullptr)) RaiseLastOSError();
  }
  ~TClipboardSession() { CloseClipboard(); }
  TClipboardSession(const TClipboardSession&) = delete;
  TClipboardSession& operator=(const TClipboardSession&) = delete;
};

}  // namespace

TBytes TSaver::WriteObject() const {
  TGDIPFill* fill = FillOf(FSaveObject);
  TMemIniFile ini(u"");
  fill->SaveToFile(&ini, kSaveSection);
  // The settings file leaves these out; the clipboard carries every published property.
  ini.WriteInteger(kSaveSection, u"ShadowType", fill->ShadowType());
  ini.WriteBool(kSaveSection, u"BackGroundPictureAspectRatio", fill->BackGroundPictureAspectRatio());
  ini.WriteInteger(kSaveSection, u"BackGroundPictureAspectMode", fill->BackGroundPictureAspectMode());
  ini.WriteBool(kSaveSection, u"PictureAspectRatio", fill->PictureAspectRatio());
  ini.WriteInteger(kSaveSection, u"PictureAspectMode", fill->PictureAspectMode());
  TStringList lines;
  ini.GetStrings(&lines);
  const std::string text = StringToUtf8(lines.Text());
  return TBytes(text.begin(), text.end());
}

void TSaver::ReadObject(const TBytes& Data) const {
  TGDIPFill* fill = FillOf(FSaveObject);
  TStringList lines;
  lines.SetText(Utf8ToString(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size())));
  TMemIniFile ini(u"");
  ini.SetStrings(&lines);
  fill->BeginUpdate();
  try {
    const Integer shadow = ini.ReadInteger(kSaveSection, u"ShadowType", fill->ShadowType());
    if (shadow >= stRightBottom && shadow <= stSurround) fill->SetShadowType(TShadowType(shadow));
    fill->SetBackGroundPictureAspectRatio(
        ini.ReadBool(kSaveSection, u"BackGroundPictureAspectRatio", fill->BackGroundPictureAspectRatio()));
    const Integer bgMode = ini.ReadInteger(kSaveSection, u"BackGroundPictureAspectMode", fill->BackGroundPictureAspectMode());
    if (bgMode >= pmStretch && bgMode <= pmNormal) fill->SetBackGroundPictureAspectMode(TPictureMode(bgMode));
    fill->SetPictureAspectRatio(ini.ReadBool(kSaveSection, u"PictureAspectRatio", fill->PictureAspectRatio()));
    const Integer mode = ini.ReadInteger(kSaveSection, u"PictureAspectMode", fill->PictureAspectMode());
    if (mode >= pmStretch && mode <= pmNormal) fill->SetPictureAspectMode(TPictureMode(mode));
  } catch (...) {
    fill->EndUpdate();
    throw;
  }
  fill->EndUpdate();
  fill->LoadFromFile(&ini, kSaveSection);  // notifies the change once
}

void TGDIPFill::SaveToClipBoard() {
  TSaver saver;
  saver.SetSaveObject(this);
  const TBytes data = saver.WriteObject();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size());
  if (!block) RaiseLastOSError();
  auto* p = static_cast<Byte*>(GlobalLock(block));
  std::copy(data.begin(), data.end(), p);
  GlobalUnlock(block);
  TClipboardSession session;
  EmptyClipboard();
  if (!SetClipboardData(gFillClipboardFormat, block)) {
    const DWORD error = GetLastError();
    GlobalFree(block);
    RaiseLastOSError(error);
  }
}

void TGDIPFill::LoadFromClipBoard() {
  TBytes data;
  {
    TClipboardSession session;
    HGLOBAL block = GetClipboardData(gFillClipboardFormat);
    if (!block) return;
    const auto* p = static_cast<const Byte*>(GlobalLock(block));
    if (!p) return;
    data.assign(p, p + GlobalSize(block));
    GlobalUnlock(block);
  }
  TSaver saver;
  saver.SetSaveObject(this);
  saver.ReadObject(data);
}

UINT GDIPFillClipboardFormat() { return gFillClipboardFormat; }

void DeclareGDIPFillClass() {
  RegisterEnum<TAdvGradientType>(u"TAdvGradientType", {u"gtSolid", u"gtRadial", u"gtVertical", u"gtHorizontal", u"gtForwardDiagonal", u"gtBackwardDiagonal", u"gtAngle", u"gtHatch", u"gtPath", u"gtTexture", u"gtNone"});
  RegisterEnum<GpHatchStyle>(u"GpHatchStyle", {u"HatchStyleHorizontal", u"HatchStyleVertical", u"HatchStyleForwardDiagonal", u"HatchStyleBackwardDiagonal", u"HatchStyleCross", u"HatchStyleDiagonalCross", u"HatchStyle05Percent", u"HatchStyle10Percent", u"HatchStyle20Percent", u"HatchStyle25Percent", u"HatchStyle30Percent", u"HatchStyle40Percent", u"HatchStyle50Percent", u"HatchStyle60Percent", u"HatchStyle70Percent", u"HatchStyle75Percent", u"HatchStyle80Percent", u"HatchStyle90Percent", u"HatchStyleLightDownwardDiagonal", u"HatchStyleLightUpwardDiagonal", u"HatchStyleDarkDownwardDiagonal", u"HatchStyleDarkUpwardDiagonal", u"HatchStyleWideDownwardDiagonal", u"HatchStyleWideUpwardDiagonal", u"HatchStyleLightVertical", u"HatchStyleLightHorizontal", u"HatchStyleNarrowVertical", u"HatchStyleNarrowHorizontal", u"HatchStyleDarkVertical", u"HatchStyleDarkHorizontal", u"HatchStyleDashedDownwardDiagonal", u"HatchStyleDashedUpwardDiagonal", u"HatchStyleDashedHorizontal", u"HatchStyleDashedVertical", u"HatchStyleSmallConfetti", u"HatchStyleLargeConfetti", u"HatchStyleZigZag", u"HatchStyleWave", u"HatchStyleDiagonalBrick", u"HatchStyleHorizontalBrick", u"HatchStyleWeave", u"HatchStylePlaid", u"HatchStyleDivot", u"HatchStyleDottedGrid", u"HatchStyleDottedDiamond", u"HatchStyleShingle", u"HatchStyleTrellis", u"HatchStyleSphere", u"HatchStyleSmallGrid", u"HatchStyleSmallCheckerBoard", u"HatchStyleLargeCheckerBoard", u"HatchStyleOutlinedDiamond", u"HatchStyleSolidDiamond"});
  RegisterEnum<TFillPictureMode>(u"TFillPictureMode", {u"pmInsideFill", u"pmOutsideFill"});
  RegisterEnum<TFillPicturePosition>(u"TFillPicturePosition", {u"ppTopLeft", u"ppTopCenter", u"ppTopRight", u"ppBottomLeft", u"ppBottomCenter", u"ppBottomRight", u"ppTiled", u"ppStretched", u"ppCenterLeft", u"ppCenterCenter", u"ppCenterRight", u"ppCustom"});
  RegisterEnum<TPictureMode>(u"TPictureMode", {u"pmStretch", u"pmNormal"});
  RegisterEnum<TFillPictureSize>(u"TFillPictureSize", {u"psOriginal", u"psCustom"});
  RegisterEnum<TFillRoundingType>(u"TFillRoundingType", {u"rtNone", u"rtTop", u"rtBottom", u"rtBoth", u"rtLeft", u"rtRight"});
  RegisterEnum<TShadowType>(u"TShadowType", {u"stRightBottom", u"stBottom", u"stSurround"});
  RegisterEnum<TGlowMode>(u"TGlowMode", {u"gmNone", u"gmGradient", u"gmRadial", u"gmRadialGradient"});
  TClassInfo::Of<TZovIVIDPicture, TGraphic>(u"TZovIVIDPicture");
  TClassInfo::Of<TGDIPFill, TPersistent>(u"TGDIPFill")
      .Property(u"Color", &TGDIPFill::Color, &TGDIPFill::SetColor).TypeName(u"TColor")
      .Property(u"ColorTo", &TGDIPFill::ColorTo, &TGDIPFill::SetColorTo).TypeName(u"TColor")
      .Property(u"ColorMirror", &TGDIPFill::ColorMirror, &TGDIPFill::SetColorMirror).TypeName(u"TColor")
      .Property(u"ColorMirrorTo", &TGDIPFill::ColorMirrorTo, &TGDIPFill::SetColorMirrorTo).TypeName(u"TColor")
      .Property(u"GradientType", &TGDIPFill::GradientType, &TGDIPFill::SetGradientType)
      .Property(u"GradientMirrorType", &TGDIPFill::GradientMirrorType, &TGDIPFill::SetGradientMirrorType)
      .Property(u"HatchStyle", &TGDIPFill::HatchStyle, &TGDIPFill::SetHatchStyle)
      .Property(u"HatchStyleMirror", &TGDIPFill::HatchStyleMirror, &TGDIPFill::SetHatchStyleMirror)
      .Property(u"BackGroundPicture", &TGDIPFill::BackGroundPicture, &TGDIPFill::SetBackGroundPicture)
      .Property(u"BackGroundPictureMode", &TGDIPFill::BackGroundPictureMode, &TGDIPFill::SetBackGroundPictureMode)
      .Property(u"BackGroundPicturePosition", &TGDIPFill::BackGroundPicturePosition, &TGDIPFill::SetBackGroundPicturePosition)
      .Property(u"BackGroundPictureLeft", &TGDIPFill::BackGroundPictureLeft, &TGDIPFill::SetBackGroundPictureLeft)
      .Property(u"BackGroundPictureTop", &TGDIPFill::BackGroundPictureTop, &TGDIPFill::SetBackGroundPictureTop)
      .Property(u"BackGroundPictureAspectRatio", &TGDIPFill::BackGroundPictureAspectRatio, &TGDIPFill::SetBackGroundPictureAspectRatio)
      .Property(u"BackGroundPictureAspectMode", &TGDIPFill::BackGroundPictureAspectMode, &TGDIPFill::SetBackGroundPictureAspectMode)
      .Property(u"Picture", &TGDIPFill::Picture, &TGDIPFill::SetPicture)
      .Property(u"PicturePosition", &TGDIPFill::PicturePosition, &TGDIPFill::SetPicturePosition)
      .Property(u"PictureLeft", &TGDIPFill::PictureLeft, &TGDIPFill::SetPictureLeft)
      .Property(u"PictureTop", &TGDIPFill::PictureTop, &TGDIPFill::SetPictureTop)
      .Property(u"PictureSize", &TGDIPFill::PictureSize, &TGDIPFill::SetPictureSize)
      .Property(u"PictureWidth", &TGDIPFill::PictureWidth, &TGDIPFill::SetPictureWidth)
      .Property(u"PictureHeight", &TGDIPFill::PictureHeight, &TGDIPFill::SetPictureHeight)
      .Property(u"PictureAspectRatio", &TGDIPFill::PictureAspectRatio, &TGDIPFill::SetPictureAspectRatio)
      .Property(u"PictureAspectMode", &TGDIPFill::PictureAspectMode, &TGDIPFill::SetPictureAspectMode)
      .Property(u"Opacity", &TGDIPFill::Opacity, &TGDIPFill::SetOpacity)
      .Property(u"OpacityTo", &TGDIPFill::OpacityTo, &TGDIPFill::SetOpacityTo)
      .Property(u"OpacityMirror", &TGDIPFill::OpacityMirror, &TGDIPFill::SetOpacityMirror)
      .Property(u"OpacityMirrorTo", &TGDIPFill::OpacityMirrorTo, &TGDIPFill::SetOpacityMirrorTo)
      .Property(u"BorderColor", &TGDIPFill::BorderColor, &TGDIPFill::SetBorderColor).TypeName(u"TColor")
      .Property(u"BorderOpacity", &TGDIPFill::BorderOpacity, &TGDIPFill::SetBorderOpacity)
      .Property(u"BorderWidth", &TGDIPFill::BorderWidth, &TGDIPFill::SetBorderWidth)
      .Property(u"Rounding", &TGDIPFill::Rounding, &TGDIPFill::SetRounding)
      .Property(u"RoundingType", &TGDIPFill::RoundingType, &TGDIPFill::SetRoundingType)
      .Property(u"ShadowColor", &TGDIPFill::ShadowColor, &TGDIPFill::SetShadowColor).TypeName(u"TColor")
      .Property(u"ShadowOffset", &TGDIPFill::ShadowOffset, &TGDIPFill::SetShadowOffset)
      .Property(u"ShadowType", &TGDIPFill::ShadowType, &TGDIPFill::SetShadowType)
      .Property(u"Angle", &TGDIPFill::Angle, &TGDIPFill::SetAngle)
      .Property(u"Glow", &TGDIPFill::Glow, &TGDIPFill::SetGlow)
      .Property(u"GlowGradientColor", &TGDIPFill::GlowGradientColor, &TGDIPFill::SetGlowGradientColor).TypeName(u"TColor")
      .Property(u"GlowRadialColor", &TGDIPFill::GlowRadialColor, &TGDIPFill::SetGlowRadialColor).TypeName(u"TColor")
      .Property(u"Focus", &TGDIPFill::Focus, &TGDIPFill::SetFocus)
      .Property(u"FocusColor", &TGDIPFill::FocusColor, &TGDIPFill::SetFocusColor).TypeName(u"TColor");
}

void InitializeGDIPFillUnit() {
  if (gFillClipboardFormat == 0) gFillClipboardFormat = RegisterClipboardFormat(u"GDI+ Fill");
  DeclareGDIPFillClass();
}

}  // namespace gdiplus
