#pragma once
// The GDI+ flat API (version 1.0 interface): the Gdip... functions both GDI+
// wrapper sets call, with GDI+'s statuses, enumerations and record layouts.
// Drawing goes through Qt's painter; a graphics made on an HDC draws on the
// same surface as the GDI calls on that DC. Every function answers a status:
// a null or stale handle, a null out-pointer or an out-of-range enumeration
// gives InvalidParameter; creations before GdiplusStartup give
// GdiplusNotInitialized. Nothing here raises.
#include <cstdint>

#include "platform/gdi/Gdi.h"
#include "platform/win/ComStream.h"
#include "platform/win/Guid.h"
#include "platform/win/Messages.h"
#include "platform/win/Module.h"

using INT = std::int32_t;
using REAL = float;
using ARGB = std::uint32_t;
using PROPID = std::uint32_t;
using UINT16 = std::uint16_t;
using HANDLE = void*;
using GraphicsState = UINT;
using GraphicsContainer = UINT;

enum GpStatus : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
  ProfileNotFound = 21,
};

enum GpUnit : int { UnitWorld, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter };
enum GpFillMode : int { FillModeAlternate, FillModeWinding };
enum GpMatrixOrder : int { MatrixOrderPrepend, MatrixOrderAppend };
enum GpCombineMode : int {
  CombineModeReplace, CombineModeIntersect, CombineModeUnion, CombineModeXor, CombineModeExclude,
  CombineModeComplement
};
enum GpWrapMode : int { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };
enum GpDashStyle : int { DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot, DashStyleCustom };
enum GpDashCap : int { DashCapFlat = 0, DashCapRound = 2, DashCapTriangle = 3 };
enum GpLineCap : int {
  LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2, LineCapTriangle = 3, LineCapNoAnchor = 0x10,
  LineCapSquareAnchor = 0x11, LineCapRoundAnchor = 0x12, LineCapDiamondAnchor = 0x13, LineCapArrowAnchor = 0x14,
  LineCapCustom = 0xff
};
enum GpLineJoin : int { LineJoinMiter, LineJoinBevel, LineJoinRound, LineJoinMiterClipped };
enum GpPenAlignment : int { PenAlignmentCenter, PenAlignmentInset };
enum GpPenType : int {
  PenTypeSolidColor = 0, PenTypeHatchFill = 1, PenTypeTextureFill = 2, PenTypePathGradient = 3,
  PenTypeLinearGradient = 4, PenTypeUnknown = -1
};
enum GpBrushType : int {
  BrushTypeSolidColor, BrushTypeHatchFill, BrushTypeTextureFill, BrushTypePathGradient, BrushTypeLinearGradient
};
enum GpLinearGradientMode : int {
  LinearGradientModeHorizontal, LinearGradientModeVertical, LinearGradientModeForwardDiagonal,
  LinearGradientModeBackwardDiagonal
};
enum GpHatchStyle : int {
  HatchStyleHorizontal, HatchStyleVertical, HatchStyleForwardDiagonal, HatchStyleBackwardDiagonal, HatchStyleCross,
  HatchStyleDiagonalCross, HatchStyle05Percent, HatchStyle10Percent, HatchStyle20Percent, HatchStyle25Percent,
  HatchStyle30Percent, HatchStyle40Percent, HatchStyle50Percent, HatchStyle60Percent, HatchStyle70Percent,
  HatchStyle75Percent, HatchStyle80Percent, HatchStyle90Percent, HatchStyleLightDownwardDiagonal,
  HatchStyleLightUpwardDiagonal, HatchStyleDarkDownwardDiagonal, HatchStyleDarkUpwardDiagonal,
  HatchStyleWideDownwardDiagonal, HatchStyleWideUpwardDiagonal, HatchStyleLightVertical, HatchStyleLightHorizontal,
  HatchStyleNarrowVertical, HatchStyleNarrowHorizontal, HatchStyleDarkVertical, HatchStyleDarkHorizontal,
  HatchStyleDashedDownwardDiagonal, HatchStyleDashedUpwardDiagonal, HatchStyleDashedHorizontal,
  HatchStyleDashedVertical, HatchStyleSmallConfetti, HatchStyleLargeConfetti, HatchStyleZigZag, HatchStyleWave,
  HatchStyleDiagonalBrick, HatchStyleHorizontalBrick, HatchStyleWeave, HatchStylePlaid, HatchStyleDivot,
  HatchStyleDottedGrid, HatchStyleDottedDiamond, HatchStyleShingle, HatchStyleTrellis, HatchStyleSphere,
  HatchStyleSmallGrid, HatchStyleSmallCheckerBoard, HatchStyleLargeCheckerBoard, HatchStyleOutlinedDiamond,
  HatchStyleSolidDiamond, HatchStyleTotal,
  HatchStyleLargeGrid = HatchStyleCross, HatchStyleMin = HatchStyleHorizontal, HatchStyleMax = HatchStyleTotal - 1
};
enum GpStringAlignment : int { StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar };
enum GpStringTrimming : int {
  StringTrimmingNone, StringTrimmingCharacter, StringTrimmingWord, StringTrimmingEllipsisCharacter,
  StringTrimmingEllipsisWord, StringTrimmingEllipsisPath
};
enum GpStringFormatFlags : int {
  StringFormatFlagsDirectionRightToLeft = 0x1, StringFormatFlagsDirectionVertical = 0x2,
  StringFormatFlagsNoFitBlackBox = 0x4, StringFormatFlagsDisplayFormatControl = 0x20,
  StringFormatFlagsNoFontFallback = 0x400, StringFormatFlagsMeasureTrailingSpaces = 0x800,
  StringFormatFlagsNoWrap = 0x1000, StringFormatFlagsLineLimit = 0x2000, StringFormatFlagsNoClip = 0x4000
};
enum GpHotkeyPrefix : int { HotkeyPrefixNone, HotkeyPrefixShow, HotkeyPrefixHide };
enum GpStringDigitSubstitute : int {
  StringDigitSubstituteUser, StringDigitSubstituteNone, StringDigitSubstituteNational,
  StringDigitSubstituteTraditional
};
enum GpFontStyle : int {
  FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2, FontStyleBoldItalic = 3, FontStyleUnderline = 4,
  FontStyleStrikeout = 8
};
enum GpTextRenderingHint : int {
  TextRenderingHintSystemDefault, TextRenderingHintSingleBitPerPixelGridFit, TextRenderingHintSingleBitPerPixel,
  TextRenderingHintAntiAliasGridFit, TextRenderingHintAntiAlias, TextRenderingHintClearTypeGridFit
};
enum GpCompositingMode : int { CompositingModeSourceOver, CompositingModeSourceCopy };
// Quality modes: -1 is GDI+'s invalid answer.
enum GpQualityMode : int { QualityModeInvalid = -1, QualityModeDefault = 0, QualityModeLow = 1, QualityModeHigh = 2 };
enum GpSmoothingMode : int {
  SmoothingModeInvalid = -1, SmoothingModeDefault = 0, SmoothingModeHighSpeed = 1, SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3, SmoothingModeAntiAlias = 4, SmoothingModeAntiAlias8x8 = 5
};
enum GpPixelOffsetMode : int {
  PixelOffsetModeInvalid = -1, PixelOffsetModeDefault = 0, PixelOffsetModeHighSpeed = 1,
  PixelOffsetModeHighQuality = 2, PixelOffsetModeNone = 3, PixelOffsetModeHalf = 4
};
enum GpCompositingQuality : int {
  CompositingQualityInvalid = -1, CompositingQualityDefault = 0, CompositingQualityHighSpeed = 1,
  CompositingQualityHighQuality = 2, CompositingQualityGammaCorrected = 3, CompositingQualityAssumeLinear = 4
};
enum GpInterpolationMode : int {
  InterpolationModeInvalid = -1, InterpolationModeDefault = 0, InterpolationModeLowQuality = 1,
  InterpolationModeHighQuality = 2, InterpolationModeBilinear = 3, InterpolationModeBicubic = 4,
  InterpolationModeNearestNeighbor = 5, InterpolationModeHighQualityBilinear = 6,
  InterpolationModeHighQualityBicubic = 7
};
enum GpCoordinateSpace : int { CoordinateSpaceWorld, CoordinateSpacePage, CoordinateSpaceDevice };
enum GpFlushIntention : int { FlushIntentionFlush, FlushIntentionSync };
enum GpWarpMode : int { WarpModePerspective, WarpModeBilinear };
enum GpColorAdjustType : int {
  ColorAdjustTypeDefault, ColorAdjustTypeBitmap, ColorAdjustTypeBrush, ColorAdjustTypePen, ColorAdjustTypeText,
  ColorAdjustTypeCount, ColorAdjustTypeAny
};
enum GpColorMatrixFlags : int { ColorMatrixFlagsDefault, ColorMatrixFlagsSkipGrays, ColorMatrixFlagsAltGray };
enum GpColorChannelFlags : int {
  ColorChannelFlagsC, ColorChannelFlagsM, ColorChannelFlagsY, ColorChannelFlagsK, ColorChannelFlagsLast
};
enum GpImageType : int { ImageTypeUnknown, ImageTypeBitmap, ImageTypeMetafile };
enum GpRotateFlipType : int {
  RotateNoneFlipNone = 0, Rotate90FlipNone = 1, Rotate180FlipNone = 2, Rotate270FlipNone = 3,
  RotateNoneFlipX = 4, Rotate90FlipX = 5, Rotate180FlipX = 6, Rotate270FlipX = 7,
  RotateNoneFlipY = Rotate180FlipX, Rotate90FlipY = Rotate270FlipX, Rotate180FlipY = RotateNoneFlipX,
  Rotate270FlipY = Rotate90FlipX, RotateNoneFlipXY = Rotate180FlipNone, Rotate90FlipXY = Rotate270FlipNone,
  Rotate180FlipXY = RotateNoneFlipNone, Rotate270FlipXY = Rotate90FlipNone
};
enum GpImageLockMode : int { ImageLockModeRead = 1, ImageLockModeWrite = 2, ImageLockModeUserInputBuf = 4 };
enum GpPathPointType : int {
  PathPointTypeStart = 0, PathPointTypeLine = 1, PathPointTypeBezier = 3, PathPointTypePathTypeMask = 0x07,
  PathPointTypeDashMode = 0x10, PathPointTypePathMarker = 0x20, PathPointTypeCloseSubpath = 0x80,
  PathPointTypeBezier3 = 3
};
enum GpCustomLineCapType : int { CustomLineCapTypeDefault, CustomLineCapTypeAdjustableArrow };
enum GpDriverStringOptions : int {
  DriverStringOptionsCmapLookup = 1, DriverStringOptionsVertical = 2, DriverStringOptionsRealizedAdvance = 4,
  DriverStringOptionsLimitSubpixel = 8
};

// Pixel formats: bits 8-15 the depth, and the property bits below.
using PixelFormat = INT;
constexpr PixelFormat PixelFormatIndexed = 0x00010000, PixelFormatGDI = 0x00020000, PixelFormatAlpha = 0x00040000,
                      PixelFormatPAlpha = 0x00080000, PixelFormatExtended = 0x00100000,
                      PixelFormatCanonical = 0x00200000, PixelFormatUndefined = 0, PixelFormatDontCare = 0,
                      PixelFormat1bppIndexed = 0x00030101, PixelFormat4bppIndexed = 0x00030402,
                      PixelFormat8bppIndexed = 0x00030803, PixelFormat16bppGrayScale = 0x00101004,
                      PixelFormat16bppRGB555 = 0x00021005, PixelFormat16bppRGB565 = 0x00021006,
                      PixelFormat16bppARGB1555 = 0x00061007, PixelFormat24bppRGB = 0x00021808,
                      PixelFormat32bppRGB = 0x00022009, PixelFormat32bppARGB = 0x0026200A,
                      PixelFormat32bppPARGB = 0x000E200B, PixelFormat48bppRGB = 0x0010300C,
                      PixelFormat64bppARGB = 0x0034400D, PixelFormat64bppPARGB = 0x001A400E;
constexpr UINT GetPixelFormatSize(PixelFormat f) { return UINT(f >> 8) & 0xff; }

// Image flags of GdipGetImageFlags.
constexpr UINT ImageFlagsNone = 0, ImageFlagsHasAlpha = 0x2, ImageFlagsHasTranslucent = 0x4,
               ImageFlagsColorSpaceRGB = 0x10, ImageFlagsColorSpaceGRAY = 0x40, ImageFlagsHasRealDPI = 0x1000,
               ImageFlagsHasRealPixelSize = 0x2000, ImageFlagsReadOnly = 0x10000;
constexpr UINT PaletteFlagsHasAlpha = 0x1, PaletteFlagsGrayScale = 0x2, PaletteFlagsHalftone = 0x4;

struct GpPointF { REAL X = 0, Y = 0; };
struct GpPoint { INT X = 0, Y = 0; };
struct GpRectF { REAL X = 0, Y = 0, Width = 0, Height = 0; };
struct GpRect { INT X = 0, Y = 0, Width = 0, Height = 0; };
struct GpSizeF { REAL Width = 0, Height = 0; };
struct GpCharacterRange { INT First = 0, Length = 0; };

struct GpPathData {
  INT Count = 0;
  GpPointF* Points = nullptr;
  Byte* Types = nullptr;
};

struct ColorMatrix { REAL m[5][5]; };
struct ColorMap { ARGB oldColor; ARGB newColor; };
struct ColorPalette {
  UINT Flags;
  UINT Count;
  ARGB Entries[1];  // Count entries follow
};

struct BitmapData {
  UINT Width = 0;
  UINT Height = 0;
  INT Stride = 0;
  PixelFormat PixelFormat_ = 0;
  void* Scan0 = nullptr;
  std::uintptr_t Reserved = 0;
};

struct PropertyItem {
  PROPID id = 0;
  ULONG length = 0;
  Word type = 0;
  void* value = nullptr;
};

struct EncoderParameter {
  GUID Guid;
  ULONG NumberOfValues = 0;
  ULONG Type = 0;
  void* Value = nullptr;
};
struct EncoderParameters {
  UINT Count = 0;
  EncoderParameter Parameter[1];
};

using DebugEventProc = void (*)(int level, char* message);
using NotificationHookProc = GpStatus (*)(std::uintptr_t* token);
using NotificationUnhookProc = void (*)(std::uintptr_t token);
using DrawImageAbort = BOOL (*)(void* data);
using GetThumbnailImageAbort = BOOL (*)(void* data);

struct GdiplusStartupInput {
  UINT GdiplusVersion = 1;
  DebugEventProc DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
struct GdiplusStartupOutput {
  NotificationHookProc NotificationHook = nullptr;
  NotificationUnhookProc NotificationUnhook = nullptr;
};

// Image formats (GdipGetImageRawFormat) and the encoders of GdipSaveImage*.
constexpr GUID ImageFormatUndefined = {0xb96b3ca9, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatMemoryBMP = {0xb96b3caa, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatBMP = {0xb96b3cab, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatEMF = {0xb96b3cac, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatWMF = {0xb96b3cad, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatJPEG = {0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatPNG = {0xb96b3caf, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatGIF = {0xb96b3cb0, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatTIFF = {0xb96b3cb1, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatEXIF = {0xb96b3cb2, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID ImageFormatIcon = {0xb96b3cb5, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID FrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
constexpr GUID FrameDimensionPage = {0x7462dc86, 0x6180, 0x4c7e, {0x8e, 0x3f, 0xee, 0x73, 0x33, 0xa7, 0xa4, 0x83}};
constexpr CLSID EncoderClsidBMP = {0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr CLSID EncoderClsidJPEG = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr CLSID EncoderClsidPNG = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID EncoderQuality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
constexpr ULONG EncoderParameterValueTypeLong = 4;

// Handles. Every brush kind is a GpBrush and every bitmap a GpImage, so the
// specific handles pass where the general one is asked for.
struct GpGraphics;
struct GpPen;
struct GpBrush;
struct GpPath;
struct GpRegion;
struct GpMatrix;
struct GpImage;
struct GpImageAttributes;
struct GpFont;
struct GpFontFamily;
struct GpFontCollection;
struct GpStringFormat;
struct GpCustomLineCap;
struct GpCachedBitmap;
using GpSolidFill = GpBrush;
using GpHatch = GpBrush;
using GpTexture = GpBrush;
using GpLineGradient = GpBrush;
using GpPathGradient = GpBrush;
using GpBitmap = GpImage;
using GpAdjustableArrowCap = GpCustomLineCap;

// ---- Start-up, memory, module --------------------------------------------
// Starts GDI+ (counted: every successful start needs its shutdown). Version
// other than 1: UnsupportedGdiplusVersion; null token or input: InvalidParameter.
// With SuppressBackgroundThread the output receives the hook pair.
GpStatus GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
// Ends one start; an unknown token does nothing.
void GdiplusShutdown(std::uintptr_t token);
// True while at least one start is in force.
bool GdiplusRunning();
// Memory from GDI+: nullptr while GDI+ is not running (or for size 0 beyond
// a minimal block). GdipFree accepts nullptr.
void* GdipAlloc(std::size_t size);
void GdipFree(void* ptr);
// Registers "gdiplus.dll" with the module table (platform/win/Modules.h):
// every function of this header by its name. Idempotent.
void RegisterGdiplusModule();

// ---- Matrix --------------------------------------------------------------
GpStatus GdipCreateMatrix(GpMatrix** matrix);
GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
// Maps rect onto the parallelogram of three points (upper-left, upper-right, lower-left).
GpStatus GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix);
GpStatus GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix);
GpStatus GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone);
GpStatus GdipDeleteMatrix(GpMatrix* matrix);
GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* matrixOut);
GpStatus GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, GpMatrixOrder order);
GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, GpMatrixOrder order);
GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, GpMatrixOrder order);
GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, GpMatrixOrder order);
GpStatus GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, GpMatrixOrder order);
// InvalidParameter for a singular matrix.
GpStatus GdipInvertMatrix(GpMatrix* matrix);
GpStatus GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count);
GpStatus GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count);
GpStatus GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count);
GpStatus GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count);
GpStatus GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result);
GpStatus GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result);
GpStatus GdipIsMatrixEqual(const GpMatrix* matrix, const GpMatrix* matrix2, BOOL* result);

// ---- Path ----------------------------------------------------------------
GpStatus GdipCreatePath(GpFillMode brushMode, GpPath** path);
// InvalidParameter for types that do not start a figure or a bad Bézier run.
GpStatus GdipCreatePath2(const GpPointF* points, const Byte* types, INT count, GpFillMode fillMode, GpPath** path);
GpStatus GdipCreatePath2I(const GpPoint* points, const Byte* types, INT count, GpFillMode fillMode, GpPath** path);
GpStatus GdipClonePath(GpPath* path, GpPath** clonePath);
GpStatus GdipDeletePath(GpPath* path);
GpStatus GdipResetPath(GpPath* path);
GpStatus GdipGetPointCount(GpPath* path, INT* count);
// InsufficientBuffer when count is smaller than the path's point count.
GpStatus GdipGetPathTypes(GpPath* path, Byte* types, INT count);
GpStatus GdipGetPathPoints(GpPath* path, GpPointF* points, INT count);
GpStatus GdipGetPathPointsI(GpPath* path, GpPoint* points, INT count);
GpStatus GdipGetPathFillMode(GpPath* path, GpFillMode* fillmode);
GpStatus GdipSetPathFillMode(GpPath* path, GpFillMode fillmode);
// pathData->Count must hold the point count; Points and Types receive them.
GpStatus GdipGetPathData(GpPath* path, GpPathData* pathData);
GpStatus GdipStartPathFigure(GpPath* path);
GpStatus GdipClosePathFigure(GpPath* path);
GpStatus GdipClosePathFigures(GpPath* path);
GpStatus GdipSetPathMarker(GpPath* path);
GpStatus GdipClearPathMarkers(GpPath* path);
GpStatus GdipReversePath(GpPath* path);
GpStatus GdipGetPathLastPoint(GpPath* path, GpPointF* lastPoint);
GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
// count must be 3k+1.
GpStatus GdipAddPathBeziers(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
GpStatus GdipAddPathCurve3(GpPath* path, const GpPointF* points, INT count, INT offset, INT numberOfSegments,
                           REAL tension);
GpStatus GdipAddPathClosedCurve(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathClosedCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathRectangles(GpPath* path, const GpRectF* rects, INT count);
GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathPath(GpPath* path, const GpPath* addingPath, BOOL connect);
GpStatus GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                           REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format);
GpStatus GdipAddPathStringI(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                            REAL emSize, const GpRect* layoutRect, const GpStringFormat* format);
GpStatus GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2);
GpStatus GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count);
GpStatus GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
GpStatus GdipAddPathBeziersI(GpPath* path, const GpPoint* points, INT count);
GpStatus GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count);
GpStatus GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension);
GpStatus GdipAddPathCurve3I(GpPath* path, const GpPoint* points, INT count, INT offset, INT numberOfSegments,
                            REAL tension);
GpStatus GdipAddPathClosedCurveI(GpPath* path, const GpPoint* points, INT count);
GpStatus GdipAddPathClosedCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension);
GpStatus GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus GdipAddPathRectanglesI(GpPath* path, const GpRect* rects, INT count);
GpStatus GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus GdipAddPathPieI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count);
// Replaces every curve by lines within flatness (0.25 device units by default).
GpStatus GdipFlattenPath(GpPath* path, GpMatrix* matrix, REAL flatness);
GpStatus GdipWindingModeOutline(GpPath* path, GpMatrix* matrix, REAL flatness);
// The outline that the pen would paint, as a flattened path.
GpStatus GdipWidenPath(GpPath* nativePath, GpPen* pen, GpMatrix* matrix, REAL flatness);
GpStatus GdipWarpPath(GpPath* path, GpMatrix* matrix, const GpPointF* points, INT count, REAL srcx, REAL srcy,
                      REAL srcwidth, REAL srcheight, GpWarpMode warpMode, REAL flatness);
GpStatus GdipTransformPath(GpPath* path, GpMatrix* matrix);
GpStatus GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen);
GpStatus GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix, const GpPen* pen);
GpStatus GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
GpStatus GdipIsVisiblePathPointI(GpPath* path, INT x, INT y, GpGraphics* graphics, BOOL* result);
GpStatus GdipIsOutlineVisiblePathPoint(GpPath* path, REAL x, REAL y, GpPen* pen, GpGraphics* graphics,
                                       BOOL* result);
GpStatus GdipIsOutlineVisiblePathPointI(GpPath* path, INT x, INT y, GpPen* pen, GpGraphics* graphics,
                                        BOOL* result);

// ---- Region --------------------------------------------------------------
// A new region is infinite.
GpStatus GdipCreateRegion(GpRegion** region);
GpStatus GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
GpStatus GdipCreateRegionRectI(const GpRect* rect, GpRegion** region);
GpStatus GdipCreateRegionPath(GpPath* path, GpRegion** region);
// Data from GdipGetRegionData; InvalidParameter for anything else.
GpStatus GdipCreateRegionRgnData(const Byte* regionData, INT size, GpRegion** region);
GpStatus GdipCreateRegionHrgn(HRGN hRgn, GpRegion** region);
GpStatus GdipCloneRegion(GpRegion* region, GpRegion** cloneRegion);
GpStatus GdipDeleteRegion(GpRegion* region);
GpStatus GdipSetInfinite(GpRegion* region);
GpStatus GdipSetEmpty(GpRegion* region);
GpStatus GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, GpCombineMode combineMode);
GpStatus GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, GpCombineMode combineMode);
GpStatus GdipCombineRegionPath(GpRegion* region, GpPath* path, GpCombineMode combineMode);
GpStatus GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, GpCombineMode combineMode);
GpStatus GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy);
GpStatus GdipTranslateRegionI(GpRegion* region, INT dx, INT dy);
GpStatus GdipTransformRegion(GpRegion* region, GpMatrix* matrix);
GpStatus GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect);
GpStatus GdipGetRegionBoundsI(GpRegion* region, GpGraphics* graphics, GpRect* rect);
GpStatus GdipGetRegionHRgn(GpRegion* region, GpGraphics* graphics, HRGN* hRgn);
GpStatus GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
GpStatus GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
GpStatus GdipIsEqualRegion(GpRegion* region, GpRegion* region2, GpGraphics* graphics, BOOL* result);
GpStatus GdipGetRegionDataSize(GpRegion* region, UINT* bufferSize);
GpStatus GdipGetRegionData(GpRegion* region, Byte* buffer, UINT bufferSize, UINT* sizeFilled);
GpStatus GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
GpStatus GdipIsVisibleRegionPointI(GpRegion* region, INT x, INT y, GpGraphics* graphics, BOOL* result);
GpStatus GdipIsVisibleRegionRect(GpRegion* region, REAL x, REAL y, REAL width, REAL height, GpGraphics* graphics,
                                 BOOL* result);
GpStatus GdipIsVisibleRegionRectI(GpRegion* region, INT x, INT y, INT width, INT height, GpGraphics* graphics,
                                  BOOL* result);
// The region as horizontal bands of pixel rectangles after the matrix.
GpStatus GdipGetRegionScansCount(GpRegion* region, UINT* count, GpMatrix* matrix);
GpStatus GdipGetRegionScans(GpRegion* region, GpRectF* rects, INT* count, GpMatrix* matrix);
GpStatus GdipGetRegionScansI(GpRegion* region, GpRect* rects, INT* count, GpMatrix* matrix);

// ---- Brushes -------------------------------------------------------------
GpStatus GdipCloneBrush(GpBrush* brush, GpBrush** cloneBrush);
GpStatus GdipDeleteBrush(GpBrush* brush);
GpStatus GdipGetBrushType(GpBrush* brush, GpBrushType* type);
GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GpStatus GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
// Fixed 8x8 patterns, anchored at the rendering origin.
GpStatus GdipCreateHatchBrush(GpHatchStyle hatchstyle, ARGB forecol, ARGB backcol, GpHatch** brush);
GpStatus GdipGetHatchStyle(GpHatch* brush, GpHatchStyle* hatchstyle);
GpStatus GdipGetHatchForegroundColor(GpHatch* brush, ARGB* forecol);
GpStatus GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* backcol);
GpStatus GdipCreateTexture(GpImage* image, GpWrapMode wrapmode, GpTexture** texture);
// The part (x, y, width, height) of the image; InvalidParameter outside it.
GpStatus GdipCreateTexture2(GpImage* image, GpWrapMode wrapmode, REAL x, REAL y, REAL width, REAL height,
                            GpTexture** texture);
GpStatus GdipCreateTexture2I(GpImage* image, GpWrapMode wrapmode, INT x, INT y, INT width, INT height,
                             GpTexture** texture);
GpStatus GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width,
                             REAL height, GpTexture** texture);
GpStatus GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width,
                              INT height, GpTexture** texture);
GpStatus GdipGetTextureImage(GpTexture* brush, GpImage** image);
GpStatus GdipSetTextureTransform(GpTexture* brush, const GpMatrix* matrix);
GpStatus GdipGetTextureTransform(GpTexture* brush, GpMatrix* matrix);
GpStatus GdipResetTextureTransform(GpTexture* brush);
GpStatus GdipMultiplyTextureTransform(GpTexture* brush, const GpMatrix* matrix, GpMatrixOrder order);
GpStatus GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus GdipRotateTextureTransform(GpTexture* brush, REAL angle, GpMatrixOrder order);
GpStatus GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapmode);
GpStatus GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapmode);

GpStatus GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                             GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                              GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, GpLinearGradientMode mode,
                                     GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, GpLinearGradientMode mode,
                                      GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                              BOOL isAngleScalable, GpWrapMode wrapMode,
                                              GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable, GpWrapMode wrapMode,
                                               GpLineGradient** lineGradient);
GpStatus GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2);
GpStatus GdipGetLineColors(GpLineGradient* brush, ARGB* colors);
GpStatus GdipGetLineRect(GpLineGradient* brush, GpRectF* rect);
GpStatus GdipGetLineRectI(GpLineGradient* brush, GpRect* rect);
GpStatus GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection);
GpStatus GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection);
GpStatus GdipGetLineBlendCount(GpLineGradient* brush, INT* count);
GpStatus GdipGetLineBlend(GpLineGradient* brush, REAL* blend, REAL* positions, INT count);
// Positions must run from 0 to 1; count at least 1 (2 when more than one).
GpStatus GdipSetLineBlend(GpLineGradient* brush, const REAL* blend, const REAL* positions, INT count);
GpStatus GdipGetLinePresetBlendCount(GpLineGradient* brush, INT* count);
GpStatus GdipGetLinePresetBlend(GpLineGradient* brush, ARGB* blend, REAL* positions, INT count);
// count >= 2, first position 0 and last 1.
GpStatus GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* blend, const REAL* positions, INT count);
GpStatus GdipSetLineSigmaBlend(GpLineGradient* brush, REAL focus, REAL scale);
GpStatus GdipSetLineLinearBlend(GpLineGradient* brush, REAL focus, REAL scale);
GpStatus GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapmode);
GpStatus GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapmode);
GpStatus GdipGetLineTransform(GpLineGradient* brush, GpMatrix* matrix);
GpStatus GdipSetLineTransform(GpLineGradient* brush, const GpMatrix* matrix);
GpStatus GdipResetLineTransform(GpLineGradient* brush);
GpStatus GdipMultiplyLineTransform(GpLineGradient* brush, const GpMatrix* matrix, GpMatrixOrder order);
GpStatus GdipTranslateLineTransform(GpLineGradient* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus GdipScaleLineTransform(GpLineGradient* brush, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus GdipRotateLineTransform(GpLineGradient* brush, REAL angle, GpMatrixOrder order);

GpStatus GdipCreatePathGradient(const GpPointF* points, INT count, GpWrapMode wrapMode, GpPathGradient** polyGradient);
GpStatus GdipCreatePathGradientI(const GpPoint* points, INT count, GpWrapMode wrapMode,
                                 GpPathGradient** polyGradient);
GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** polyGradient);
GpStatus GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* colors);
GpStatus GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB colors);
GpStatus GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* color, INT* count);
// InvalidParameter for a count above the point count; *count receives the colours kept.
GpStatus GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* color, INT* count);
GpStatus GdipGetPathGradientPath(GpPathGradient* brush, GpPath* path);
GpStatus GdipSetPathGradientPath(GpPathGradient* brush, const GpPath* path);
GpStatus GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* points);
GpStatus GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* points);
GpStatus GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* points);
GpStatus GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* points);
GpStatus GdipGetPathGradientRect(GpPathGradient* brush, GpRectF* rect);
GpStatus GdipGetPathGradientRectI(GpPathGradient* brush, GpRect* rect);
GpStatus GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count);
GpStatus GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count);
GpStatus GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection);
GpStatus GdipGetPathGradientGammaCorrection(GpPathGradient* brush, BOOL* useGammaCorrection);
GpStatus GdipGetPathGradientBlendCount(GpPathGradient* brush, INT* count);
GpStatus GdipGetPathGradientBlend(GpPathGradient* brush, REAL* blend, REAL* positions, INT count);
GpStatus GdipSetPathGradientBlend(GpPathGradient* brush, const REAL* blend, const REAL* positions, INT count);
GpStatus GdipGetPathGradientPresetBlendCount(GpPathGradient* brush, INT* count);
GpStatus GdipGetPathGradientPresetBlend(GpPathGradient* brush, ARGB* blend, REAL* positions, INT count);
GpStatus GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* blend, const REAL* positions, INT count);
GpStatus GdipSetPathGradientSigmaBlend(GpPathGradient* brush, REAL focus, REAL scale);
GpStatus GdipSetPathGradientLinearBlend(GpPathGradient* brush, REAL focus, REAL scale);
GpStatus GdipGetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode* wrapmode);
GpStatus GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapmode);
GpStatus GdipGetPathGradientTransform(GpPathGradient* brush, GpMatrix* matrix);
GpStatus GdipSetPathGradientTransform(GpPathGradient* brush, GpMatrix* matrix);
GpStatus GdipResetPathGradientTransform(GpPathGradient* brush);
GpStatus GdipMultiplyPathGradientTransform(GpPathGradient* brush, const GpMatrix* matrix, GpMatrixOrder order);
GpStatus GdipTranslatePathGradientTransform(GpPathGradient* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus GdipScalePathGradientTransform(GpPathGradient* brush, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus GdipRotatePathGradientTransform(GpPathGradient* brush, REAL angle, GpMatrixOrder order);
GpStatus GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale);
GpStatus GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale);

// ---- Pens and line caps --------------------------------------------------
GpStatus GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
GpStatus GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
GpStatus GdipClonePen(GpPen* pen, GpPen** clonepen);
GpStatus GdipDeletePen(GpPen* pen);
GpStatus GdipSetPenWidth(GpPen* pen, REAL width);
GpStatus GdipGetPenWidth(GpPen* pen, REAL* width);
GpStatus GdipSetPenLineCap197819(GpPen* pen, GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap);
GpStatus GdipSetPenStartCap(GpPen* pen, GpLineCap startCap);
GpStatus GdipSetPenEndCap(GpPen* pen, GpLineCap endCap);
GpStatus GdipSetPenDashCap197819(GpPen* pen, GpDashCap dashCap);
GpStatus GdipGetPenStartCap(GpPen* pen, GpLineCap* startCap);
GpStatus GdipGetPenEndCap(GpPen* pen, GpLineCap* endCap);
GpStatus GdipGetPenDashCap197819(GpPen* pen, GpDashCap* dashCap);
GpStatus GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin);
GpStatus GdipGetPenLineJoin(GpPen* pen, GpLineJoin* lineJoin);
GpStatus GdipSetPenCustomStartCap(GpPen* pen, GpCustomLineCap* customCap);
GpStatus GdipGetPenCustomStartCap(GpPen* pen, GpCustomLineCap** customCap);
GpStatus GdipSetPenCustomEndCap(GpPen* pen, GpCustomLineCap* customCap);
GpStatus GdipGetPenCustomEndCap(GpPen* pen, GpCustomLineCap** customCap);
GpStatus GdipSetPenMiterLimit(GpPen* pen, REAL miterLimit);
GpStatus GdipGetPenMiterLimit(GpPen* pen, REAL* miterLimit);
GpStatus GdipSetPenMode(GpPen* pen, GpPenAlignment penMode);
GpStatus GdipGetPenMode(GpPen* pen, GpPenAlignment* penMode);
GpStatus GdipSetPenTransform(GpPen* pen, GpMatrix* matrix);
GpStatus GdipGetPenTransform(GpPen* pen, GpMatrix* matrix);
GpStatus GdipResetPenTransform(GpPen* pen);
GpStatus GdipMultiplyPenTransform(GpPen* pen, const GpMatrix* matrix, GpMatrixOrder order);
GpStatus GdipTranslatePenTransform(GpPen* pen, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus GdipScalePenTransform(GpPen* pen, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus GdipRotatePenTransform(GpPen* pen, REAL angle, GpMatrixOrder order);
GpStatus GdipSetPenColor(GpPen* pen, ARGB argb);
// WrongState when the pen paints with a brush other than a solid one.
GpStatus GdipGetPenColor(GpPen* pen, ARGB* argb);
GpStatus GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
// A new brush (the caller deletes it) copying the pen's.
GpStatus GdipGetPenBrushFill(GpPen* pen, GpBrush** brush);
GpStatus GdipGetPenFillType(GpPen* pen, GpPenType* type);
GpStatus GdipGetPenDashStyle(GpPen* pen, GpDashStyle* dashstyle);
GpStatus GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashstyle);
GpStatus GdipGetPenDashOffset(GpPen* pen, REAL* offset);
GpStatus GdipSetPenDashOffset(GpPen* pen, REAL offset);
GpStatus GdipGetPenDashCount(GpPen* pen, INT* count);
// Lengths in pen widths, all positive; sets the style to custom.
GpStatus GdipSetPenDashArray(GpPen* pen, const REAL* dash, INT count);
GpStatus GdipGetPenDashArray(GpPen* pen, REAL* dash, INT count);
GpStatus GdipGetPenCompoundCount(GpPen* pen, INT* count);
// Even count >= 2 of increasing values in [0, 1].
GpStatus GdipSetPenCompoundArray(GpPen* pen, const REAL* dash, INT count);
GpStatus GdipGetPenCompoundArray(GpPen* pen, REAL* dash, INT count);

GpStatus GdipCreateCustomLineCap(GpPath* fillPath, GpPath* strokePath, GpLineCap baseCap, REAL baseInset,
                                 GpCustomLineCap** customCap);
GpStatus GdipDeleteCustomLineCap(GpCustomLineCap* customCap);
GpStatus GdipCloneCustomLineCap(GpCustomLineCap* customCap, GpCustomLineCap** clonedCap);
GpStatus GdipSetCustomLineCapStrokeCaps(GpCustomLineCap* customCap, GpLineCap startCap, GpLineCap endCap);
GpStatus GdipGetCustomLineCapStrokeCaps(GpCustomLineCap* customCap, GpLineCap* startCap, GpLineCap* endCap);
GpStatus GdipSetCustomLineCapStrokeJoin(GpCustomLineCap* customCap, GpLineJoin lineJoin);
GpStatus GdipGetCustomLineCapStrokeJoin(GpCustomLineCap* customCap, GpLineJoin* lineJoin);
GpStatus GdipSetCustomLineCapBaseCap(GpCustomLineCap* customCap, GpLineCap baseCap);
GpStatus GdipGetCustomLineCapBaseCap(GpCustomLineCap* customCap, GpLineCap* baseCap);
GpStatus GdipSetCustomLineCapBaseInset(GpCustomLineCap* customCap, REAL inset);
GpStatus GdipGetCustomLineCapBaseInset(GpCustomLineCap* customCap, REAL* inset);
GpStatus GdipSetCustomLineCapWidthScale(GpCustomLineCap* customCap, REAL widthScale);
GpStatus GdipGetCustomLineCapWidthScale(GpCustomLineCap* customCap, REAL* widthScale);

// ---- Images, bitmaps, attributes -----------------------------------------
// PNG, JPEG, BMP, GIF, ICO. FileNotFound / OutOfMemory (GDI+'s answer for
// undecodable data) / InvalidParameter for a null name.
GpStatus GdipLoadImageFromFile(const WCHAR* filename, GpImage** image);
GpStatus GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image);
GpStatus GdipLoadImageFromStream(IStream* stream, GpImage** image);
GpStatus GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
GpStatus GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromFileICM(const WCHAR* filename, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap);
// With scan0 null the bitmap owns zeroed pixels; otherwise it uses the
// caller's rows of |stride| bytes. Sizes 1..16384.
GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, Byte* scan0,
                                   GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromGraphics(INT width, INT height, GpGraphics* target, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromHBITMAP(HBITMAP hbm, void* hpal, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromHICON(HICON hicon, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromGdiDib(const BITMAPINFO* gdiBitmapInfo, void* gdiBitmapData, GpBitmap** bitmap);
// Resources by name from the running program (RCDATA-style entries).
GpStatus GdipCreateBitmapFromResource(HINSTANCE hInstance, const WCHAR* lpBitmapName, GpBitmap** bitmap);
GpStatus GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background);
GpStatus GdipCreateHICONFromBitmap(GpBitmap* bitmap, HICON* hbmReturn);
GpStatus GdipCloneImage(GpImage* image, GpImage** cloneImage);
GpStatus GdipCloneBitmapArea(REAL x, REAL y, REAL width, REAL height, PixelFormat format, GpBitmap* srcBitmap,
                             GpBitmap** dstBitmap);
GpStatus GdipCloneBitmapAreaI(INT x, INT y, INT width, INT height, PixelFormat format, GpBitmap* srcBitmap,
                              GpBitmap** dstBitmap);
// ObjectBusy while a graphics draws on the image or its bits are locked.
GpStatus GdipDisposeImage(GpImage* image);
// Encoders: EncoderClsidPNG, EncoderClsidJPEG (quality parameter honoured), EncoderClsidBMP.
GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams);
GpStatus GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* clsidEncoder,
                               const EncoderParameters* encoderParams);
// Multi-frame saving is not offered: NotImplemented.
GpStatus GdipSaveAdd(GpImage* image, const EncoderParameters* encoderParams);
GpStatus GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* encoderParams);
GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
GpStatus GdipGetImageBounds(GpImage* image, GpRectF* srcRect, GpUnit* srcUnit);
GpStatus GdipGetImageDimension(GpImage* image, REAL* width, REAL* height);
GpStatus GdipGetImageType(GpImage* image, GpImageType* type);
GpStatus GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution);
GpStatus GdipGetImageVerticalResolution(GpImage* image, REAL* resolution);
GpStatus GdipGetImageFlags(GpImage* image, UINT* flags);
GpStatus GdipGetImageRawFormat(GpImage* image, GUID* format);
GpStatus GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
GpStatus GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                               GetThumbnailImageAbort callback, void* callbackData);
GpStatus GdipGetEncoderParameterListSize(GpImage* image, const CLSID* clsidEncoder, UINT* size);
GpStatus GdipGetEncoderParameterList(GpImage* image, const CLSID* clsidEncoder, UINT size,
                                     EncoderParameters* buffer);
GpStatus GdipImageGetFrameDimensionsCount(GpImage* image, UINT* count);
GpStatus GdipImageGetFrameDimensionsList(GpImage* image, GUID* dimensionIDs, UINT count);
GpStatus GdipImageGetFrameCount(GpImage* image, const GUID* dimensionID, UINT* count);
GpStatus GdipImageSelectActiveFrame(GpImage* image, const GUID* dimensionID, UINT frameIndex);
GpStatus GdipImageRotateFlip(GpImage* image, GpRotateFlipType rfType);
GpStatus GdipGetImagePalette(GpImage* image, ColorPalette* palette, INT size);
GpStatus GdipSetImagePalette(GpImage* image, const ColorPalette* palette);
GpStatus GdipGetImagePaletteSize(GpImage* image, INT* size);
GpStatus GdipGetPropertyCount(GpImage* image, UINT* numOfProperty);
GpStatus GdipGetPropertyIdList(GpImage* image, UINT numOfProperty, PROPID* list);
GpStatus GdipGetPropertyItemSize(GpImage* image, PROPID propId, UINT* size);
GpStatus GdipGetPropertyItem(GpImage* image, PROPID propId, UINT propSize, PropertyItem* buffer);
GpStatus GdipGetPropertySize(GpImage* image, UINT* totalBufferSize, UINT* numProperties);
GpStatus GdipGetAllPropertyItems(GpImage* image, UINT totalBufferSize, UINT numProperties, PropertyItem* allItems);
GpStatus GdipRemovePropertyItem(GpImage* image, PROPID propId);
GpStatus GdipSetPropertyItem(GpImage* image, const PropertyItem* item);
// Lock formats: 32bppARGB, 32bppPARGB, 32bppRGB, 24bppRGB. Rect inside the bitmap.
GpStatus GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format,
                            BitmapData* lockedBitmapData);
GpStatus GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* lockedBitmapData);
GpStatus GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
GpStatus GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);
GpStatus GdipBitmapSetResolution(GpBitmap* bitmap, REAL xdpi, REAL ydpi);
GpStatus GdipCreateCachedBitmap(GpBitmap* bitmap, GpGraphics* graphics, GpCachedBitmap** cachedBitmap);
GpStatus GdipDeleteCachedBitmap(GpCachedBitmap* cachedBitmap);
GpStatus GdipDrawCachedBitmap(GpGraphics* graphics, GpCachedBitmap* cachedBitmap, INT x, INT y);

GpStatus GdipCreateImageAttributes(GpImageAttributes** imageattr);
GpStatus GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** cloneImageattr);
GpStatus GdipDisposeImageAttributes(GpImageAttributes* imageattr);
GpStatus GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, GpColorAdjustType type);
GpStatus GdipResetImageAttributes(GpImageAttributes* imageattr, GpColorAdjustType type);
// Row-vector matrices: [r g b a 1] x M, channels in 0..1.
GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                           const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                           GpColorMatrixFlags flags);
GpStatus GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                         REAL threshold);
GpStatus GdipSetImageAttributesGamma(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                     REAL gamma);
GpStatus GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag);
GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                         ARGB colorLow, ARGB colorHigh);
GpStatus GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                             GpColorChannelFlags channelFlags);
// Colour profiles are not read here: ProfileNotFound when enabling.
GpStatus GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, GpColorAdjustType type,
                                                         BOOL enableFlag, const WCHAR* colorProfileFilename);
GpStatus GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, GpColorAdjustType type, BOOL enableFlag,
                                          UINT mapSize, const ColorMap* map);
GpStatus GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, GpWrapMode wrap, ARGB argb, BOOL clamp);
GpStatus GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                               GpColorAdjustType colorAdjustType);

// ---- Fonts and string formats --------------------------------------------
// FontFamilyNotFound when the installed families (or the Windows names the
// project's font set maps) do not hold the name.
GpStatus GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* fontCollection,
                                      GpFontFamily** fontFamily);
GpStatus GdipDeleteFontFamily(GpFontFamily* fontFamily);
GpStatus GdipCloneFontFamily(GpFontFamily* fontFamily, GpFontFamily** clonedFontFamily);
// New family objects of the generic faces (the caller deletes them).
GpStatus GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily);
GpStatus GdipGetGenericFontFamilySerif(GpFontFamily** nativeFamily);
GpStatus GdipGetGenericFontFamilyMonospace(GpFontFamily** nativeFamily);
// name: LF_FACESIZE (32) characters including the terminator.
GpStatus GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, Word language);
GpStatus GdipIsStyleAvailable(const GpFontFamily* family, INT style, BOOL* isStyleAvailable);
// Design units per em and their ascent, descent and line spacing.
GpStatus GdipGetEmHeight(const GpFontFamily* family, INT style, Word* emHeight);
GpStatus GdipGetCellAscent(const GpFontFamily* family, INT style, Word* cellAscent);
GpStatus GdipGetCellDescent(const GpFontFamily* family, INT style, Word* cellDescent);
GpStatus GdipGetLineSpacing(const GpFontFamily* family, INT style, Word* lineSpacing);
GpStatus GdipGetFontCollectionFamilyCount(GpFontCollection* fontCollection, INT* numFound);
GpStatus GdipGetFontCollectionFamilyList(GpFontCollection* fontCollection, INT numSought, GpFontFamily* gpfamilies[],
                                         INT* numFound);
GpStatus GdipCreateFontFromDC(HDC hdc, GpFont** font);
GpStatus GdipCreateFontFromLogfontA(HDC hdc, const void* logfont, GpFont** font);
GpStatus GdipCreateFontFromLogfontW(HDC hdc, const LOGFONTW* logfont, GpFont** font);
// emSize > 0; unit not UnitDisplay.
GpStatus GdipCreateFont(const GpFontFamily* fontFamily, REAL emSize, INT style, INT unit, GpFont** font);
GpStatus GdipCloneFont(GpFont* font, GpFont** cloneFont);
GpStatus GdipDeleteFont(GpFont* font);
GpStatus GdipGetFamily(GpFont* font, GpFontFamily** family);
GpStatus GdipGetFontStyle(GpFont* font, INT* style);
GpStatus GdipGetFontSize(GpFont* font, REAL* size);
GpStatus GdipGetFontUnit(GpFont* font, GpUnit* unit);
// Line spacing in the graphics' page unit (pixels at 96 DPI without one).
GpStatus GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height);
GpStatus GdipGetFontHeightGivenDPI(const GpFont* font, REAL dpi, REAL* height);
GpStatus GdipGetLogFontA(GpFont* font, GpGraphics* graphics, void* logfontA);
GpStatus GdipGetLogFontW(GpFont* font, GpGraphics* graphics, LOGFONTW* logfontW);

GpStatus GdipCreateStringFormat(INT formatAttributes, Word language, GpStringFormat** format);
// Shared formats owned by GDI+: deleting them does nothing.
GpStatus GdipStringFormatGetGenericDefault(GpStringFormat** format);
GpStatus GdipStringFormatGetGenericTypographic(GpStringFormat** format);
GpStatus GdipDeleteStringFormat(GpStringFormat* format);
GpStatus GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** newFormat);
GpStatus GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
GpStatus GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags);
GpStatus GdipSetStringFormatAlign(GpStringFormat* format, GpStringAlignment align);
GpStatus GdipGetStringFormatAlign(const GpStringFormat* format, GpStringAlignment* align);
GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, GpStringAlignment align);
GpStatus GdipGetStringFormatLineAlign(const GpStringFormat* format, GpStringAlignment* align);
GpStatus GdipSetStringFormatTrimming(GpStringFormat* format, GpStringTrimming trimming);
GpStatus GdipGetStringFormatTrimming(const GpStringFormat* format, GpStringTrimming* trimming);
GpStatus GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);
GpStatus GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix);
GpStatus GdipSetStringFormatTabStops(GpStringFormat* format, REAL firstTabOffset, INT count, const REAL* tabStops);
GpStatus GdipGetStringFormatTabStops(const GpStringFormat* format, INT count, REAL* firstTabOffset, REAL* tabStops);
GpStatus GdipGetStringFormatTabStopCount(const GpStringFormat* format, INT* count);
GpStatus GdipSetStringFormatDigitSubstitution(GpStringFormat* format, Word language,
                                              GpStringDigitSubstitute substitute);
GpStatus GdipGetStringFormatDigitSubstitution(const GpStringFormat* format, Word* language,
                                              GpStringDigitSubstitute* substitute);
// At most 32 ranges.
GpStatus GdipSetStringFormatMeasurableCharacterRanges(GpStringFormat* format, INT rangeCount,
                                                      const GpCharacterRange* ranges);
GpStatus GdipGetStringFormatMeasurableCharacterRangeCount(const GpStringFormat* format, INT* count);

// ---- Graphics ------------------------------------------------------------
GpStatus GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
GpStatus GdipCreateFromHDC2(HDC hdc, HANDLE hDevice, GpGraphics** graphics);
// Windows have no drawing surface of their own at this layer: Win32Error.
GpStatus GdipCreateFromHWND(HWND hwnd, GpGraphics** graphics);
GpStatus GdipCreateFromHWNDICM(HWND hwnd, GpGraphics** graphics);
GpStatus GdipDeleteGraphics(GpGraphics* graphics);
GpStatus GdipFlush(GpGraphics* graphics, GpFlushIntention intention);
// A DC over the graphics' surface until GdipReleaseDC; other calls answer
// ObjectBusy meanwhile.
GpStatus GdipGetDC(GpGraphics* graphics, HDC* hdc);
GpStatus GdipReleaseDC(GpGraphics* graphics, HDC hdc);
GpStatus GdipSetCompositingMode(GpGraphics* graphics, GpCompositingMode compositingMode);
GpStatus GdipGetCompositingMode(GpGraphics* graphics, GpCompositingMode* compositingMode);
GpStatus GdipSetRenderingOrigin(GpGraphics* graphics, INT x, INT y);
GpStatus GdipGetRenderingOrigin(GpGraphics* graphics, INT* x, INT* y);
GpStatus GdipSetCompositingQuality(GpGraphics* graphics, GpCompositingQuality compositingQuality);
GpStatus GdipGetCompositingQuality(GpGraphics* graphics, GpCompositingQuality* compositingQuality);
GpStatus GdipSetSmoothingMode(GpGraphics* graphics, GpSmoothingMode smoothingMode);
GpStatus GdipGetSmoothingMode(GpGraphics* graphics, GpSmoothingMode* smoothingMode);
GpStatus GdipSetPixelOffsetMode(GpGraphics* graphics, GpPixelOffsetMode pixelOffsetMode);
GpStatus GdipGetPixelOffsetMode(GpGraphics* graphics, GpPixelOffsetMode* pixelOffsetMode);
GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, GpTextRenderingHint mode);
GpStatus GdipGetTextRenderingHint(GpGraphics* graphics, GpTextRenderingHint* mode);
// 0..12.
GpStatus GdipSetTextContrast(GpGraphics* graphics, UINT contrast);
GpStatus GdipGetTextContrast(GpGraphics* graphics, UINT* contrast);
GpStatus GdipSetInterpolationMode(GpGraphics* graphics, GpInterpolationMode interpolationMode);
GpStatus GdipGetInterpolationMode(GpGraphics* graphics, GpInterpolationMode* interpolationMode);
GpStatus GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus GdipResetWorldTransform(GpGraphics* graphics);
GpStatus GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, GpMatrixOrder order);
GpStatus GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order);
GpStatus GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus GdipResetPageTransform(GpGraphics* graphics);
GpStatus GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit);
GpStatus GdipGetPageScale(GpGraphics* graphics, REAL* scale);
// UnitWorld is refused (InvalidParameter), as GDI+ does.
GpStatus GdipSetPageUnit(GpGraphics* graphics, GpUnit unit);
GpStatus GdipSetPageScale(GpGraphics* graphics, REAL scale);
GpStatus GdipGetDpiX(GpGraphics* graphics, REAL* dpi);
GpStatus GdipGetDpiY(GpGraphics* graphics, REAL* dpi);
GpStatus GdipTransformPoints(GpGraphics* graphics, GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace,
                             GpPointF* points, INT count);
GpStatus GdipTransformPointsI(GpGraphics* graphics, GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace,
                              GpPoint* points, INT count);
GpStatus GdipGetNearestColor(GpGraphics* graphics, ARGB* argb);
GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color);

GpStatus GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
GpStatus GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle);
GpStatus GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                      REAL sweepAngle);
GpStatus GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                        REAL x4, REAL y4);
GpStatus GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4,
                         INT y4);
GpStatus GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus GdipDrawBeziersI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, INT count);
GpStatus GdipDrawRectanglesI(GpGraphics* graphics, GpPen* pen, const GpRect* rects, INT count);
GpStatus GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle);
GpStatus GdipDrawPieI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                      REAL sweepAngle);
GpStatus GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus GdipDrawCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension);
GpStatus GdipDrawCurve2I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count, REAL tension);
GpStatus GdipDrawCurve3(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, INT offset,
                        INT numberOfSegments, REAL tension);
GpStatus GdipDrawCurve3I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count, INT offset,
                         INT numberOfSegments, REAL tension);
GpStatus GdipDrawClosedCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
GpStatus GdipDrawClosedCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
GpStatus GdipDrawClosedCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension);
GpStatus GdipDrawClosedCurve2I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count, REAL tension);
GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, INT count);
GpStatus GdipFillRectanglesI(GpGraphics* graphics, GpBrush* brush, const GpRect* rects, INT count);
GpStatus GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                         GpFillMode fillMode);
GpStatus GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                          GpFillMode fillMode);
GpStatus GdipFillPolygon2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count);
GpStatus GdipFillPolygon2I(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count);
GpStatus GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle);
GpStatus GdipFillPieI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height, REAL startAngle,
                      REAL sweepAngle);
GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
GpStatus GdipFillClosedCurve(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count);
GpStatus GdipFillClosedCurveI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count);
GpStatus GdipFillClosedCurve2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, REAL tension,
                              GpFillMode fillMode);
GpStatus GdipFillClosedCurve2I(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                               REAL tension, GpFillMode fillMode);
GpStatus GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region);

GpStatus GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
GpStatus GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
// Three points: upper-left, upper-right, lower-left of the destination.
GpStatus GdipDrawImagePoints(GpGraphics* graphics, GpImage* image, const GpPointF* dstpoints, INT count);
GpStatus GdipDrawImagePointsI(GpGraphics* graphics, GpImage* image, const GpPoint* dstpoints, INT count);
GpStatus GdipDrawImagePointRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL srcx, REAL srcy,
                                REAL srcwidth, REAL srcheight, GpUnit srcUnit);
GpStatus GdipDrawImagePointRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT srcx, INT srcy,
                                 INT srcwidth, INT srcheight, GpUnit srcUnit);
GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                               REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                               const GpImageAttributes* imageAttributes, DrawImageAbort callback,
                               void* callbackData);
GpStatus GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                                INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                                const GpImageAttributes* imageAttributes, DrawImageAbort callback,
                                void* callbackData);
GpStatus GdipDrawImagePointsRect(GpGraphics* graphics, GpImage* image, const GpPointF* points, INT count, REAL srcx,
                                 REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                                 const GpImageAttributes* imageAttributes, DrawImageAbort callback,
                                 void* callbackData);
GpStatus GdipDrawImagePointsRectI(GpGraphics* graphics, GpImage* image, const GpPoint* points, INT count, INT srcx,
                                  INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                                  const GpImageAttributes* imageAttributes, DrawImageAbort callback,
                                  void* callbackData);

// Text. length -1: up to the terminating zero. An empty layout width or
// height means unbounded in that direction.
GpStatus GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                        const GpRectF* layoutRect, const GpStringFormat* stringFormat, const GpBrush* brush);
GpStatus GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                           const GpRectF* layoutRect, const GpStringFormat* stringFormat, GpRectF* boundingBox,
                           INT* codepointsFitted, INT* linesFilled);
// One region per range of the format's measurable ranges.
GpStatus GdipMeasureCharacterRanges(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                                    const GpRectF* layoutRect, const GpStringFormat* stringFormat, INT regionCount,
                                    GpRegion** regions);
// Characters (with DriverStringOptionsCmapLookup) placed at the given points.
GpStatus GdipDrawDriverString(GpGraphics* graphics, const UINT16* text, INT length, const GpFont* font,
                              const GpBrush* brush, const GpPointF* positions, INT flags, const GpMatrix* matrix);
GpStatus GdipMeasureDriverString(GpGraphics* graphics, const UINT16* text, INT length, const GpFont* font,
                                 const GpPointF* positions, INT flags, const GpMatrix* matrix, GpRectF* boundingBox);

// Clipping.
GpStatus GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* srcgraphics, GpCombineMode combineMode);
GpStatus GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, GpCombineMode combineMode);
GpStatus GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, GpCombineMode combineMode);
GpStatus GdipSetClipPath(GpGraphics* graphics, GpPath* path, GpCombineMode combineMode);
GpStatus GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, GpCombineMode combineMode);
GpStatus GdipSetClipHrgn(GpGraphics* graphics, HRGN hRgn, GpCombineMode combineMode);
GpStatus GdipResetClip(GpGraphics* graphics);
GpStatus GdipTranslateClip(GpGraphics* graphics, REAL dx, REAL dy);
GpStatus GdipTranslateClipI(GpGraphics* graphics, INT dx, INT dy);
GpStatus GdipGetClip(GpGraphics* graphics, GpRegion* region);
GpStatus GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect);
GpStatus GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect);
GpStatus GdipIsClipEmpty(GpGraphics* graphics, BOOL* result);
GpStatus GdipGetVisibleClipBounds(GpGraphics* graphics, GpRectF* rect);
GpStatus GdipGetVisibleClipBoundsI(GpGraphics* graphics, GpRect* rect);
GpStatus GdipIsVisibleClipEmpty(GpGraphics* graphics, BOOL* result);
GpStatus GdipIsVisiblePoint(GpGraphics* graphics, REAL x, REAL y, BOOL* result);
GpStatus GdipIsVisiblePointI(GpGraphics* graphics, INT x, INT y, BOOL* result);
GpStatus GdipIsVisibleRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, BOOL* result);
GpStatus GdipIsVisibleRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, BOOL* result);
GpStatus GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state);
GpStatus GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state);
GpStatus GdipBeginContainer(GpGraphics* graphics, const GpRectF* dstrect, const GpRectF* srcrect, GpUnit unit,
                            GraphicsContainer* state);
GpStatus GdipBeginContainerI(GpGraphics* graphics, const GpRect* dstrect, const GpRect* srcrect, GpUnit unit,
                             GraphicsContainer* state);
GpStatus GdipBeginContainer2(GpGraphics* graphics, GraphicsContainer* state);
GpStatus GdipEndContainer(GpGraphics* graphics, GraphicsContainer state);
// Metafile comments: nothing records here, so the call only checks arguments.
GpStatus GdipComment(GpGraphics* graphics, UINT sizeData, const Byte* data);
