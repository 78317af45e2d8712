#pragma once
// The run-time GDI+ binding: "gdiplus.dll" opened by name when the program
// starts and its flat functions looked up by name into a table, so the vector
// canvas and the SVG renderer draw through GDI+ without a load-time tie to it.
// Also the value types and small builders the wrappers share.
//
// Every entry is called through its slot. A slot left empty (library absent,
// or an older library without that export) is never called: the call answers
// GdiplusNotInitialized while no library is loaded and NotImplemented when
// the library lacks the export; entries that answer no status answer nothing
// (GdipAlloc: nullptr).
#include <cstdint>
#include <type_traits>
#include <vector>

#include "platform/gdiplus/GdiPlus.h"

namespace gdiplus_runtime {

using TStatus = GpStatus;
using TGPPointF = GpPointF;
using TGPPoint = GpPoint;
using TGPRectF = GpRectF;
using TGPRect = GpRect;
using TGPSizeF = GpSizeF;
using PGPPointF = GpPointF*;
using PGPPoint = GpPoint*;
using PGPRectF = GpRectF*;
using PGPRect = GpRect*;
using PARGB = ARGB*;
using TMatrixArray = REAL[6];

// The status of a call whose slot is empty.
TStatus MissingEntryStatus();

class TGdiplusApi;

// One bound entry point: its export name and the address found for it.
class TGdipSlot {
 public:
  TGdipSlot(TGdiplusApi& api, const char* name);
  TGdipSlot(const TGdipSlot&) = delete;
  TGdipSlot& operator=(const TGdipSlot&) = delete;
  const char* Name() const { return FName; }
  bool Bound() const { return FProc != nullptr; }
  // Looks the name up in the module; an export it lacks leaves the slot empty.
  void Bind(HMODULE library);
  void Unbind() { FProc = nullptr; }

 protected:
  void* FProc = nullptr;

 private:
  const char* FName;
};

// A slot typed as the flat function of the same name.
template <class F>
class TGdipEntry;

template <class R, class... A>
class TGdipEntry<R(A...)> : public TGdipSlot {
 public:
  using TGdipSlot::TGdipSlot;
  R operator()(A... args) const {
    if (!FProc) {
      if constexpr (std::is_same_v<R, GpStatus>) {
        return MissingEntryStatus();
      } else if constexpr (!std::is_void_v<R>) {
        return R{};
      } else {
        return;
      }
    }
    return reinterpret_cast<R (*)(A...)>(FProc)(args...);
  }
};

// The entry-point table, one slot per flat function the wrappers call, in
// binding order.
class TGdiplusApi {
 public:
  TGdiplusApi() = default;
  TGdiplusApi(const TGdiplusApi&) = delete;
  TGdiplusApi& operator=(const TGdiplusApi&) = delete;
  const std::vector<TGdipSlot*>& Slots() const { return FSlots; }

 private:
  friend class TGdipSlot;
  std::vector<TGdipSlot*> FSlots;  // filled by the slots below, in declaration order

 public:
  TGdipEntry<decltype(::GdiplusStartup)> GdiplusStartup{*this, "GdiplusStartup"};
  TGdipEntry<decltype(::GdiplusShutdown)> GdiplusShutdown{*this, "GdiplusShutdown"};
  TGdipEntry<decltype(::GdipAlloc)> GdipAlloc{*this, "GdipAlloc"};
  TGdipEntry<decltype(::GdipFree)> GdipFree{*this, "GdipFree"};
  TGdipEntry<decltype(::GdipCreateMatrix)> GdipCreateMatrix{*this, "GdipCreateMatrix"};
  TGdipEntry<decltype(::GdipCreateMatrix2)> GdipCreateMatrix2{*this, "GdipCreateMatrix2"};
  TGdipEntry<decltype(::GdipCreateMatrix3)> GdipCreateMatrix3{*this, "GdipCreateMatrix3"};
  TGdipEntry<decltype(::GdipCreateMatrix3I)> GdipCreateMatrix3I{*this, "GdipCreateMatrix3I"};
  TGdipEntry<decltype(::GdipCloneMatrix)> GdipCloneMatrix{*this, "GdipCloneMatrix"};
  TGdipEntry<decltype(::GdipDeleteMatrix)> GdipDeleteMatrix{*this, "GdipDeleteMatrix"};
  TGdipEntry<decltype(::GdipSetMatrixElements)> GdipSetMatrixElements{*this, "GdipSetMatrixElements"};
  TGdipEntry<decltype(::GdipGetMatrixElements)> GdipGetMatrixElements{*this, "GdipGetMatrixElements"};
  TGdipEntry<decltype(::GdipMultiplyMatrix)> GdipMultiplyMatrix{*this, "GdipMultiplyMatrix"};
  TGdipEntry<decltype(::GdipTranslateMatrix)> GdipTranslateMatrix{*this, "GdipTranslateMatrix"};
  TGdipEntry<decltype(::GdipScaleMatrix)> GdipScaleMatrix{*this, "GdipScaleMatrix"};
  TGdipEntry<decltype(::GdipRotateMatrix)> GdipRotateMatrix{*this, "GdipRotateMatrix"};
  TGdipEntry<decltype(::GdipShearMatrix)> GdipShearMatrix{*this, "GdipShearMatrix"};
  TGdipEntry<decltype(::GdipInvertMatrix)> GdipInvertMatrix{*this, "GdipInvertMatrix"};
  TGdipEntry<decltype(::GdipTransformMatrixPoints)> GdipTransformMatrixPoints{*this, "GdipTransformMatrixPoints"};
  TGdipEntry<decltype(::GdipTransformMatrixPointsI)> GdipTransformMatrixPointsI{*this, "GdipTransformMatrixPointsI"};
  TGdipEntry<decltype(::GdipVectorTransformMatrixPoints)> GdipVectorTransformMatrixPoints{
      *this, "GdipVectorTransformMatrixPoints"};
  TGdipEntry<decltype(::GdipVectorTransformMatrixPointsI)> GdipVectorTransformMatrixPointsI{
      *this, "GdipVectorTransformMatrixPointsI"};
  TGdipEntry<decltype(::GdipIsMatrixInvertible)> GdipIsMatrixInvertible{*this, "GdipIsMatrixInvertible"};
  TGdipEntry<decltype(::GdipIsMatrixIdentity)> GdipIsMatrixIdentity{*this, "GdipIsMatrixIdentity"};
  TGdipEntry<decltype(::GdipIsMatrixEqual)> GdipIsMatrixEqual{*this, "GdipIsMatrixEqual"};
  TGdipEntry<decltype(::GdipCreatePath)> GdipCreatePath{*this, "GdipCreatePath"};
  TGdipEntry<decltype(::GdipCreatePath2)> GdipCreatePath2{*this, "GdipCreatePath2"};
  TGdipEntry<decltype(::GdipCreatePath2I)> GdipCreatePath2I{*this, "GdipCreatePath2I"};
  TGdipEntry<decltype(::GdipClonePath)> GdipClonePath{*this, "GdipClonePath"};
  TGdipEntry<decltype(::GdipDeletePath)> GdipDeletePath{*this, "GdipDeletePath"};
  TGdipEntry<decltype(::GdipResetPath)> GdipResetPath{*this, "GdipResetPath"};
  TGdipEntry<decltype(::GdipGetPointCount)> GdipGetPointCount{*this, "GdipGetPointCount"};
  TGdipEntry<decltype(::GdipGetPathTypes)> GdipGetPathTypes{*this, "GdipGetPathTypes"};
  TGdipEntry<decltype(::GdipGetPathPoints)> GdipGetPathPoints{*this, "GdipGetPathPoints"};
  TGdipEntry<decltype(::GdipGetPathPointsI)> GdipGetPathPointsI{*this, "GdipGetPathPointsI"};
  TGdipEntry<decltype(::GdipGetPathFillMode)> GdipGetPathFillMode{*this, "GdipGetPathFillMode"};
  TGdipEntry<decltype(::GdipSetPathFillMode)> GdipSetPathFillMode{*this, "GdipSetPathFillMode"};
  TGdipEntry<decltype(::GdipGetPathData)> GdipGetPathData{*this, "GdipGetPathData"};
  TGdipEntry<decltype(::GdipStartPathFigure)> GdipStartPathFigure{*this, "GdipStartPathFigure"};
  TGdipEntry<decltype(::GdipClosePathFigure)> GdipClosePathFigure{*this, "GdipClosePathFigure"};
  TGdipEntry<decltype(::GdipClosePathFigures)> GdipClosePathFigures{*this, "GdipClosePathFigures"};
  TGdipEntry<decltype(::GdipSetPathMarker)> GdipSetPathMarker{*this, "GdipSetPathMarker"};
  TGdipEntry<decltype(::GdipClearPathMarkers)> GdipClearPathMarkers{*this, "GdipClearPathMarkers"};
  TGdipEntry<decltype(::GdipReversePath)> GdipReversePath{*this, "GdipReversePath"};
  TGdipEntry<decltype(::GdipGetPathLastPoint)> GdipGetPathLastPoint{*this, "GdipGetPathLastPoint"};
  TGdipEntry<decltype(::GdipAddPathLine)> GdipAddPathLine{*this, "GdipAddPathLine"};
  TGdipEntry<decltype(::GdipAddPathLine2)> GdipAddPathLine2{*this, "GdipAddPathLine2"};
  TGdipEntry<decltype(::GdipAddPathArc)> GdipAddPathArc{*this, "GdipAddPathArc"};
  TGdipEntry<decltype(::GdipAddPathBezier)> GdipAddPathBezier{*this, "GdipAddPathBezier"};
  TGdipEntry<decltype(::GdipAddPathBeziers)> GdipAddPathBeziers{*this, "GdipAddPathBeziers"};
  TGdipEntry<decltype(::GdipAddPathCurve)> GdipAddPathCurve{*this, "GdipAddPathCurve"};
  TGdipEntry<decltype(::GdipAddPathCurve2)> GdipAddPathCurve2{*this, "GdipAddPathCurve2"};
  TGdipEntry<decltype(::GdipAddPathCurve3)> GdipAddPathCurve3{*this, "GdipAddPathCurve3"};
  TGdipEntry<decltype(::GdipAddPathClosedCurve)> GdipAddPathClosedCurve{*this, "GdipAddPathClosedCurve"};
  TGdipEntry<decltype(::GdipAddPathClosedCurve2)> GdipAddPathClosedCurve2{*this, "GdipAddPathClosedCurve2"};
  TGdipEntry<decltype(::GdipAddPathRectangle)> GdipAddPathRectangle{*this, "GdipAddPathRectangle"};
  TGdipEntry<decltype(::GdipAddPathRectangles)> GdipAddPathRectangles{*this, "GdipAddPathRectangles"};
  TGdipEntry<decltype(::GdipAddPathEllipse)> GdipAddPathEllipse{*this, "GdipAddPathEllipse"};
  TGdipEntry<decltype(::GdipAddPathPie)> GdipAddPathPie{*this, "GdipAddPathPie"};
  TGdipEntry<decltype(::GdipAddPathPolygon)> GdipAddPathPolygon{*this, "GdipAddPathPolygon"};
  TGdipEntry<decltype(::GdipAddPathPath)> GdipAddPathPath{*this, "GdipAddPathPath"};
  TGdipEntry<decltype(::GdipAddPathString)> GdipAddPathString{*this, "GdipAddPathString"};
  TGdipEntry<decltype(::GdipAddPathStringI)> GdipAddPathStringI{*this, "GdipAddPathStringI"};
  TGdipEntry<decltype(::GdipAddPathLineI)> GdipAddPathLineI{*this, "GdipAddPathLineI"};
  TGdipEntry<decltype(::GdipAddPathLine2I)> GdipAddPathLine2I{*this, "GdipAddPathLine2I"};
  TGdipEntry<decltype(::GdipAddPathArcI)> GdipAddPathArcI{*this, "GdipAddPathArcI"};
  TGdipEntry<decltype(::GdipAddPathBezierI)> GdipAddPathBezierI{*this, "GdipAddPathBezierI"};
  TGdipEntry<decltype(::GdipAddPathBeziersI)> GdipAddPathBeziersI{*this, "GdipAddPathBeziersI"};
  TGdipEntry<decltype(::GdipAddPathCurveI)> GdipAddPathCurveI{*this, "GdipAddPathCurveI"};
  TGdipEntry<decltype(::GdipAddPathCurve2I)> GdipAddPathCurve2I{*this, "GdipAddPathCurve2I"};
  TGdipEntry<decltype(::GdipAddPathCurve3I)> GdipAddPathCurve3I{*this, "GdipAddPathCurve3I"};
  TGdipEntry<decltype(::GdipAddPathClosedCurveI)> GdipAddPathClosedCurveI{*this, "GdipAddPathClosedCurveI"};
  TGdipEntry<decltype(::GdipAddPathClosedCurve2I)> GdipAddPathClosedCurve2I{*this, "GdipAddPathClosedCurve2I"};
  TGdipEntry<decltype(::GdipAddPathRectangleI)> GdipAddPathRectangleI{*this, "GdipAddPathRectangleI"};
  TGdipEntry<decltype(::GdipAddPathRectanglesI)> GdipAddPathRectanglesI{*this, "GdipAddPathRectanglesI"};
  TGdipEntry<decltype(::GdipAddPathEllipseI)> GdipAddPathEllipseI{*this, "GdipAddPathEllipseI"};
  TGdipEntry<decltype(::GdipAddPathPieI)> GdipAddPathPieI{*this, "GdipAddPathPieI"};
  TGdipEntry<decltype(::GdipAddPathPolygonI)> GdipAddPathPolygonI{*this, "GdipAddPathPolygonI"};
  TGdipEntry<decltype(::GdipFlattenPath)> GdipFlattenPath{*this, "GdipFlattenPath"};
  TGdipEntry<decltype(::GdipWindingModeOutline)> GdipWindingModeOutline{*this, "GdipWindingModeOutline"};
  TGdipEntry<decltype(::GdipWidenPath)> GdipWidenPath{*this, "GdipWidenPath"};
  TGdipEntry<decltype(::GdipWarpPath)> GdipWarpPath{*this, "GdipWarpPath"};
  TGdipEntry<decltype(::GdipTransformPath)> GdipTransformPath{*this, "GdipTransformPath"};
  TGdipEntry<decltype(::GdipGetPathWorldBounds)> GdipGetPathWorldBounds{*this, "GdipGetPathWorldBounds"};
  TGdipEntry<decltype(::GdipGetPathWorldBoundsI)> GdipGetPathWorldBoundsI{*this, "GdipGetPathWorldBoundsI"};
  TGdipEntry<decltype(::GdipIsVisiblePathPoint)> GdipIsVisiblePathPoint{*this, "GdipIsVisiblePathPoint"};
  TGdipEntry<decltype(::GdipIsVisiblePathPointI)> GdipIsVisiblePathPointI{*this, "GdipIsVisiblePathPointI"};
  TGdipEntry<decltype(::GdipIsOutlineVisiblePathPoint)> GdipIsOutlineVisiblePathPoint{*this,
                                                                                      "GdipIsOutlineVisiblePathPoint"};
  TGdipEntry<decltype(::GdipIsOutlineVisiblePathPointI)> GdipIsOutlineVisiblePathPointI{
      *this, "GdipIsOutlineVisiblePathPointI"};
  TGdipEntry<decltype(::GdipCreateRegion)> GdipCreateRegion{*this, "GdipCreateRegion"};
  TGdipEntry<decltype(::GdipCreateRegionRect)> GdipCreateRegionRect{*this, "GdipCreateRegionRect"};
  TGdipEntry<decltype(::GdipCreateRegionRectI)> GdipCreateRegionRectI{*this, "GdipCreateRegionRectI"};
  TGdipEntry<decltype(::GdipCreateRegionPath)> GdipCreateRegionPath{*this, "GdipCreateRegionPath"};
  TGdipEntry<decltype(::GdipCreateRegionRgnData)> GdipCreateRegionRgnData{*this, "GdipCreateRegionRgnData"};
  TGdipEntry<decltype(::GdipCreateRegionHrgn)> GdipCreateRegionHrgn{*this, "GdipCreateRegionHrgn"};
  TGdipEntry<decltype(::GdipCloneRegion)> GdipCloneRegion{*this, "GdipCloneRegion"};
  TGdipEntry<decltype(::GdipDeleteRegion)> GdipDeleteRegion{*this, "GdipDeleteRegion"};
  TGdipEntry<decltype(::GdipSetInfinite)> GdipSetInfinite{*this, "GdipSetInfinite"};
  TGdipEntry<decltype(::GdipSetEmpty)> GdipSetEmpty{*this, "GdipSetEmpty"};
  TGdipEntry<decltype(::GdipCombineRegionRect)> GdipCombineRegionRect{*this, "GdipCombineRegionRect"};
  TGdipEntry<decltype(::GdipCombineRegionRectI)> GdipCombineRegionRectI{*this, "GdipCombineRegionRectI"};
  TGdipEntry<decltype(::GdipCombineRegionPath)> GdipCombineRegionPath{*this, "GdipCombineRegionPath"};
  TGdipEntry<decltype(::GdipCombineRegionRegion)> GdipCombineRegionRegion{*this, "GdipCombineRegionRegion"};
  TGdipEntry<decltype(::GdipTranslateRegion)> GdipTranslateRegion{*this, "GdipTranslateRegion"};
  TGdipEntry<decltype(::GdipTranslateRegionI)> GdipTranslateRegionI{*this, "GdipTranslateRegionI"};
  TGdipEntry<decltype(::GdipTransformRegion)> GdipTransformRegion{*this, "GdipTransformRegion"};
  TGdipEntry<decltype(::GdipGetRegionBounds)> GdipGetRegionBounds{*this, "GdipGetRegionBounds"};
  TGdipEntry<decltype(::GdipGetRegionBoundsI)> GdipGetRegionBoundsI{*this, "GdipGetRegionBoundsI"};
  TGdipEntry<decltype(::GdipGetRegionHRgn)> GdipGetRegionHRgn{*this, "GdipGetRegionHRgn"};
  TGdipEntry<decltype(::GdipIsEmptyRegion)> GdipIsEmptyRegion{*this, "GdipIsEmptyRegion"};
  TGdipEntry<decltype(::GdipIsInfiniteRegion)> GdipIsInfiniteRegion{*this, "GdipIsInfiniteRegion"};
  TGdipEntry<decltype(::GdipIsEqualRegion)> GdipIsEqualRegion{*this, "GdipIsEqualRegion"};
  TGdipEntry<decltype(::GdipGetRegionDataSize)> GdipGetRegionDataSize{*this, "GdipGetRegionDataSize"};
  TGdipEntry<decltype(::GdipGetRegionData)> GdipGetRegionData{*this, "GdipGetRegionData"};
  TGdipEntry<decltype(::GdipIsVisibleRegionPoint)> GdipIsVisibleRegionPoint{*this, "GdipIsVisibleRegionPoint"};
  TGdipEntry<decltype(::GdipIsVisibleRegionPointI)> GdipIsVisibleRegionPointI{*this, "GdipIsVisibleRegionPointI"};
  TGdipEntry<decltype(::GdipIsVisibleRegionRect)> GdipIsVisibleRegionRect{*this, "GdipIsVisibleRegionRect"};
  TGdipEntry<decltype(::GdipIsVisibleRegionRectI)> GdipIsVisibleRegionRectI{*this, "GdipIsVisibleRegionRectI"};
  TGdipEntry<decltype(::GdipGetRegionScansCount)> GdipGetRegionScansCount{*this, "GdipGetRegionScansCount"};
  TGdipEntry<decltype(::GdipGetRegionScans)> GdipGetRegionScans{*this, "GdipGetRegionScans"};
  TGdipEntry<decltype(::GdipGetRegionScansI)> GdipGetRegionScansI{*this, "GdipGetRegionScansI"};
  TGdipEntry<decltype(::GdipCloneBrush)> GdipCloneBrush{*this, "GdipCloneBrush"};
  TGdipEntry<decltype(::GdipDeleteBrush)> GdipDeleteBrush{*this, "GdipDeleteBrush"};
  TGdipEntry<decltype(::GdipGetBrushType)> GdipGetBrushType{*this, "GdipGetBrushType"};
  TGdipEntry<decltype(::GdipCreateSolidFill)> GdipCreateSolidFill{*this, "GdipCreateSolidFill"};
  TGdipEntry<decltype(::GdipSetSolidFillColor)> GdipSetSolidFillColor{*this, "GdipSetSolidFillColor"};
  TGdipEntry<decltype(::GdipGetSolidFillColor)> GdipGetSolidFillColor{*this, "GdipGetSolidFillColor"};
  TGdipEntry<decltype(::GdipCreateHatchBrush)> GdipCreateHatchBrush{*this, "GdipCreateHatchBrush"};
  TGdipEntry<decltype(::GdipGetHatchStyle)> GdipGetHatchStyle{*this, "GdipGetHatchStyle"};
  TGdipEntry<decltype(::GdipGetHatchForegroundColor)> GdipGetHatchForegroundColor{*this, "GdipGetHatchForegroundColor"};
  TGdipEntry<decltype(::GdipGetHatchBackgroundColor)> GdipGetHatchBackgroundColor{*this, "GdipGetHatchBackgroundColor"};
  TGdipEntry<decltype(::GdipCreateTexture)> GdipCreateTexture{*this, "GdipCreateTexture"};
  TGdipEntry<decltype(::GdipCreateTexture2)> GdipCreateTexture2{*this, "GdipCreateTexture2"};
  TGdipEntry<decltype(::GdipCreateTexture2I)> GdipCreateTexture2I{*this, "GdipCreateTexture2I"};
  TGdipEntry<decltype(::GdipCreateTextureIA)> GdipCreateTextureIA{*this, "GdipCreateTextureIA"};
  TGdipEntry<decltype(::GdipCreateTextureIAI)> GdipCreateTextureIAI{*this, "GdipCreateTextureIAI"};
  TGdipEntry<decltype(::GdipGetTextureImage)> GdipGetTextureImage{*this, "GdipGetTextureImage"};
  TGdipEntry<decltype(::GdipSetTextureTransform)> GdipSetTextureTransform{*this, "GdipSetTextureTransform"};
  TGdipEntry<decltype(::GdipGetTextureTransform)> GdipGetTextureTransform{*this, "GdipGetTextureTransform"};
  TGdipEntry<decltype(::GdipResetTextureTransform)> GdipResetTextureTransform{*this, "GdipResetTextureTransform"};
  TGdipEntry<decltype(::GdipMultiplyTextureTransform)> GdipMultiplyTextureTransform{*this,
                                                                                    "GdipMultiplyTextureTransform"};
  TGdipEntry<decltype(::GdipTranslateTextureTransform)> GdipTranslateTextureTransform{*this,
                                                                                      "GdipTranslateTextureTransform"};
  TGdipEntry<decltype(::GdipScaleTextureTransform)> GdipScaleTextureTransform{*this, "GdipScaleTextureTransform"};
  TGdipEntry<decltype(::GdipRotateTextureTransform)> GdipRotateTextureTransform{*this, "GdipRotateTextureTransform"};
  TGdipEntry<decltype(::GdipSetTextureWrapMode)> GdipSetTextureWrapMode{*this, "GdipSetTextureWrapMode"};
  TGdipEntry<decltype(::GdipGetTextureWrapMode)> GdipGetTextureWrapMode{*this, "GdipGetTextureWrapMode"};
  TGdipEntry<decltype(::GdipCreateLineBrush)> GdipCreateLineBrush{*this, "GdipCreateLineBrush"};
  TGdipEntry<decltype(::GdipCreateLineBrushI)> GdipCreateLineBrushI{*this, "GdipCreateLineBrushI"};
  TGdipEntry<decltype(::GdipCreateLineBrushFromRect)> GdipCreateLineBrushFromRect{*this, "GdipCreateLineBrushFromRect"};
  TGdipEntry<decltype(::GdipCreateLineBrushFromRectI)> GdipCreateLineBrushFromRectI{*this,
                                                                                    "GdipCreateLineBrushFromRectI"};
  TGdipEntry<decltype(::GdipCreateLineBrushFromRectWithAngle)> GdipCreateLineBrushFromRectWithAngle{
      *this, "GdipCreateLineBrushFromRectWithAngle"};
  TGdipEntry<decltype(::GdipCreateLineBrushFromRectWithAngleI)> GdipCreateLineBrushFromRectWithAngleI{
      *this, "GdipCreateLineBrushFromRectWithAngleI"};
  TGdipEntry<decltype(::GdipSetLineColors)> GdipSetLineColors{*this, "GdipSetLineColors"};
  TGdipEntry<decltype(::GdipGetLineColors)> GdipGetLineColors{*this, "GdipGetLineColors"};
  TGdipEntry<decltype(::GdipGetLineRect)> GdipGetLineRect{*this, "GdipGetLineRect"};
  TGdipEntry<decltype(::GdipGetLineRectI)> GdipGetLineRectI{*this, "GdipGetLineRectI"};
  TGdipEntry<decltype(::GdipSetLineGammaCorrection)> GdipSetLineGammaCorrection{*this, "GdipSetLineGammaCorrection"};
  TGdipEntry<decltype(::GdipGetLineGammaCorrection)> GdipGetLineGammaCorrection{*this, "GdipGetLineGammaCorrection"};
  TGdipEntry<decltype(::GdipGetLineBlendCount)> GdipGetLineBlendCount{*this, "GdipGetLineBlendCount"};
  TGdipEntry<decltype(::GdipGetLineBlend)> GdipGetLineBlend{*this, "GdipGetLineBlend"};
  TGdipEntry<decltype(::GdipSetLineBlend)> GdipSetLineBlend{*this, "GdipSetLineBlend"};
  TGdipEntry<decltype(::GdipGetLinePresetBlendCount)> GdipGetLinePresetBlendCount{*this, "GdipGetLinePresetBlendCount"};
  TGdipEntry<decltype(::GdipGetLinePresetBlend)> GdipGetLinePresetBlend{*this, "GdipGetLinePresetBlend"};
  TGdipEntry<decltype(::GdipSetLinePresetBlend)> GdipSetLinePresetBlend{*this, "GdipSetLinePresetBlend"};
  TGdipEntry<decltype(::GdipSetLineSigmaBlend)> GdipSetLineSigmaBlend{*this, "GdipSetLineSigmaBlend"};
  TGdipEntry<decltype(::GdipSetLineLinearBlend)> GdipSetLineLinearBlend{*this, "GdipSetLineLinearBlend"};
  TGdipEntry<decltype(::GdipSetLineWrapMode)> GdipSetLineWrapMode{*this, "GdipSetLineWrapMode"};
  TGdipEntry<decltype(::GdipGetLineWrapMode)> GdipGetLineWrapMode{*this, "GdipGetLineWrapMode"};
  TGdipEntry<decltype(::GdipGetLineTransform)> GdipGetLineTransform{*this, "GdipGetLineTransform"};
  TGdipEntry<decltype(::GdipSetLineTransform)> GdipSetLineTransform{*this, "GdipSetLineTransform"};
  TGdipEntry<decltype(::GdipResetLineTransform)> GdipResetLineTransform{*this, "GdipResetLineTransform"};
  TGdipEntry<decltype(::GdipMultiplyLineTransform)> GdipMultiplyLineTransform{*this, "GdipMultiplyLineTransform"};
  TGdipEntry<decltype(::GdipTranslateLineTransform)> GdipTranslateLineTransform{*this, "GdipTranslateLineTransform"};
  TGdipEntry<decltype(::GdipScaleLineTransform)> GdipScaleLineTransform{*this, "GdipScaleLineTransform"};
  TGdipEntry<decltype(::GdipRotateLineTransform)> GdipRotateLineTransform{*this, "GdipRotateLineTransform"};
  TGdipEntry<decltype(::GdipCreatePathGradient)> GdipCreatePathGradient{*this, "GdipCreatePathGradient"};
  TGdipEntry<decltype(::GdipCreatePathGradientI)> GdipCreatePathGradientI{*this, "GdipCreatePathGradientI"};
  TGdipEntry<decltype(::GdipCreatePathGradientFromPath)> GdipCreatePathGradientFromPath{
      *this, "GdipCreatePathGradientFromPath"};
  TGdipEntry<decltype(::GdipGetPathGradientCenterColor)> GdipGetPathGradientCenterColor{
      *this, "GdipGetPathGradientCenterColor"};
  TGdipEntry<decltype(::GdipSetPathGradientCenterColor)> GdipSetPathGradientCenterColor{
      *this, "GdipSetPathGradientCenterColor"};
  TGdipEntry<decltype(::GdipGetPathGradientSurroundColorsWithCount)> GdipGetPathGradientSurroundColorsWithCount{
      *this, "GdipGetPathGradientSurroundColorsWithCount"};
  TGdipEntry<decltype(::GdipSetPathGradientSurroundColorsWithCount)> GdipSetPathGradientSurroundColorsWithCount{
      *this, "GdipSetPathGradientSurroundColorsWithCount"};
  TGdipEntry<decltype(::GdipGetPathGradientPath)> GdipGetPathGradientPath{*this, "GdipGetPathGradientPath"};
  TGdipEntry<decltype(::GdipSetPathGradientPath)> GdipSetPathGradientPath{*this, "GdipSetPathGradientPath"};
  TGdipEntry<decltype(::GdipGetPathGradientCenterPoint)> GdipGetPathGradientCenterPoint{
      *this, "GdipGetPathGradientCenterPoint"};
  TGdipEntry<decltype(::GdipGetPathGradientCenterPointI)> GdipGetPathGradientCenterPointI{
      *this, "GdipGetPathGradientCenterPointI"};
  TGdipEntry<decltype(::GdipSetPathGradientCenterPoint)> GdipSetPathGradientCenterPoint{
      *this, "GdipSetPathGradientCenterPoint"};
  TGdipEntry<decltype(::GdipSetPathGradientCenterPointI)> GdipSetPathGradientCenterPointI{
      *this, "GdipSetPathGradientCenterPointI"};
  TGdipEntry<decltype(::GdipGetPathGradientRect)> GdipGetPathGradientRect{*this, "GdipGetPathGradientRect"};
  TGdipEntry<decltype(::GdipGetPathGradientRectI)> GdipGetPathGradientRectI{*this, "GdipGetPathGradientRectI"};
  TGdipEntry<decltype(::GdipGetPathGradientPointCount)> GdipGetPathGradientPointCount{*this,
                                                                                      "GdipGetPathGradientPointCount"};
  TGdipEntry<decltype(::GdipGetPathGradientSurroundColorCount)> GdipGetPathGradientSurroundColorCount{
      *this, "GdipGetPathGradientSurroundColorCount"};
  TGdipEntry<decltype(::GdipSetPathGradientGammaCorrection)> GdipSetPathGradientGammaCorrection{
      *this, "GdipSetPathGradientGammaCorrection"};
  TGdipEntry<decltype(::GdipGetPathGradientGammaCorrection)> GdipGetPathGradientGammaCorrection{
      *this, "GdipGetPathGradientGammaCorrection"};
  TGdipEntry<decltype(::GdipGetPathGradientBlendCount)> GdipGetPathGradientBlendCount{*this,
                                                                                      "GdipGetPathGradientBlendCount"};
  TGdipEntry<decltype(::GdipGetPathGradientBlend)> GdipGetPathGradientBlend{*this, "GdipGetPathGradientBlend"};
  TGdipEntry<decltype(::GdipSetPathGradientBlend)> GdipSetPathGradientBlend{*this, "GdipSetPathGradientBlend"};
  TGdipEntry<decltype(::GdipGetPathGradientPresetBlendCount)> GdipGetPathGradientPresetBlendCount{
      *this, "GdipGetPathGradientPresetBlendCount"};
  TGdipEntry<decltype(::GdipGetPathGradientPresetBlend)> GdipGetPathGradientPresetBlend{
      *this, "GdipGetPathGradientPresetBlend"};
  TGdipEntry<decltype(::GdipSetPathGradientPresetBlend)> GdipSetPathGradientPresetBlend{
      *this, "GdipSetPathGradientPresetBlend"};
  TGdipEntry<decltype(::GdipSetPathGradientSigmaBlend)> GdipSetPathGradientSigmaBlend{*this,
                                                                                      "GdipSetPathGradientSigmaBlend"};
  TGdipEntry<decltype(::GdipSetPathGradientLinearBlend)> GdipSetPathGradientLinearBlend{
      *this, "GdipSetPathGradientLinearBlend"};
  TGdipEntry<decltype(::GdipGetPathGradientWrapMode)> GdipGetPathGradientWrapMode{*this, "GdipGetPathGradientWrapMode"};
  TGdipEntry<decltype(::GdipSetPathGradientWrapMode)> GdipSetPathGradientWrapMode{*this, "GdipSetPathGradientWrapMode"};
  TGdipEntry<decltype(::GdipGetPathGradientTransform)> GdipGetPathGradientTransform{*this,
                                                                                    "GdipGetPathGradientTransform"};
  TGdipEntry<decltype(::GdipSetPathGradientTransform)> GdipSetPathGradientTransform{*this,
                                                                                    "GdipSetPathGradientTransform"};
  TGdipEntry<decltype(::GdipResetPathGradientTransform)> GdipResetPathGradientTransform{
      *this, "GdipResetPathGradientTransform"};
  TGdipEntry<decltype(::GdipMultiplyPathGradientTransform)> GdipMultiplyPathGradientTransform{
      *this, "GdipMultiplyPathGradientTransform"};
  TGdipEntry<decltype(::GdipTranslatePathGradientTransform)> GdipTranslatePathGradientTransform{
      *this, "GdipTranslatePathGradientTransform"};
  TGdipEntry<decltype(::GdipScalePathGradientTransform)> GdipScalePathGradientTransform{
      *this, "GdipScalePathGradientTransform"};
  TGdipEntry<decltype(::GdipRotatePathGradientTransform)> GdipRotatePathGradientTransform{
      *this, "GdipRotatePathGradientTransform"};
  TGdipEntry<decltype(::GdipGetPathGradientFocusScales)> GdipGetPathGradientFocusScales{
      *this, "GdipGetPathGradientFocusScales"};
  TGdipEntry<decltype(::GdipSetPathGradientFocusScales)> GdipSetPathGradientFocusScales{
      *this, "GdipSetPathGradientFocusScales"};
  TGdipEntry<decltype(::GdipCreatePen1)> GdipCreatePen1{*this, "GdipCreatePen1"};
  TGdipEntry<decltype(::GdipCreatePen2)> GdipCreatePen2{*this, "GdipCreatePen2"};
  TGdipEntry<decltype(::GdipClonePen)> GdipClonePen{*this, "GdipClonePen"};
  TGdipEntry<decltype(::GdipDeletePen)> GdipDeletePen{*this, "GdipDeletePen"};
  TGdipEntry<decltype(::GdipSetPenWidth)> GdipSetPenWidth{*this, "GdipSetPenWidth"};
  TGdipEntry<decltype(::GdipGetPenWidth)> GdipGetPenWidth{*this, "GdipGetPenWidth"};
  TGdipEntry<decltype(::GdipSetPenLineCap197819)> GdipSetPenLineCap197819{*this, "GdipSetPenLineCap197819"};
  TGdipEntry<decltype(::GdipSetPenStartCap)> GdipSetPenStartCap{*this, "GdipSetPenStartCap"};
  TGdipEntry<decltype(::GdipSetPenEndCap)> GdipSetPenEndCap{*this, "GdipSetPenEndCap"};
  TGdipEntry<decltype(::GdipSetPenDashCap197819)> GdipSetPenDashCap197819{*this, "GdipSetPenDashCap197819"};
  TGdipEntry<decltype(::GdipGetPenStartCap)> GdipGetPenStartCap{*this, "GdipGetPenStartCap"};
  TGdipEntry<decltype(::GdipGetPenEndCap)> GdipGetPenEndCap{*this, "GdipGetPenEndCap"};
  TGdipEntry<decltype(::GdipGetPenDashCap197819)> GdipGetPenDashCap197819{*this, "GdipGetPenDashCap197819"};
  TGdipEntry<decltype(::GdipSetPenLineJoin)> GdipSetPenLineJoin{*this, "GdipSetPenLineJoin"};
  TGdipEntry<decltype(::GdipGetPenLineJoin)> GdipGetPenLineJoin{*this, "GdipGetPenLineJoin"};
  TGdipEntry<decltype(::GdipSetPenCustomStartCap)> GdipSetPenCustomStartCap{*this, "GdipSetPenCustomStartCap"};
  TGdipEntry<decltype(::GdipGetPenCustomStartCap)> GdipGetPenCustomStartCap{*this, "GdipGetPenCustomStartCap"};
  TGdipEntry<decltype(::GdipSetPenCustomEndCap)> GdipSetPenCustomEndCap{*this, "GdipSetPenCustomEndCap"};
  TGdipEntry<decltype(::GdipGetPenCustomEndCap)> GdipGetPenCustomEndCap{*this, "GdipGetPenCustomEndCap"};
  TGdipEntry<decltype(::GdipSetPenMiterLimit)> GdipSetPenMiterLimit{*this, "GdipSetPenMiterLimit"};
  TGdipEntry<decltype(::GdipGetPenMiterLimit)> GdipGetPenMiterLimit{*this, "GdipGetPenMiterLimit"};
  TGdipEntry<decltype(::GdipSetPenMode)> GdipSetPenMode{*this, "GdipSetPenMode"};
  TGdipEntry<decltype(::GdipGetPenMode)> GdipGetPenMode{*this, "GdipGetPenMode"};
  TGdipEntry<decltype(::GdipSetPenTransform)> GdipSetPenTransform{*this, "GdipSetPenTransform"};
  TGdipEntry<decltype(::GdipGetPenTransform)> GdipGetPenTransform{*this, "GdipGetPenTransform"};
  TGdipEntry<decltype(::GdipResetPenTransform)> GdipResetPenTransform{*this, "GdipResetPenTransform"};
  TGdipEntry<decltype(::GdipMultiplyPenTransform)> GdipMultiplyPenTransform{*this, "GdipMultiplyPenTransform"};
  TGdipEntry<decltype(::GdipTranslatePenTransform)> GdipTranslatePenTransform{*this, "GdipTranslatePenTransform"};
  TGdipEntry<decltype(::GdipScalePenTransform)> GdipScalePenTransform{*this, "GdipScalePenTransform"};
  TGdipEntry<decltype(::GdipRotatePenTransform)> GdipRotatePenTransform{*this, "GdipRotatePenTransform"};
  TGdipEntry<decltype(::GdipSetPenColor)> GdipSetPenColor{*this, "GdipSetPenColor"};
  TGdipEntry<decltype(::GdipGetPenColor)> GdipGetPenColor{*this, "GdipGetPenColor"};
  TGdipEntry<decltype(::GdipSetPenBrushFill)> GdipSetPenBrushFill{*this, "GdipSetPenBrushFill"};
  TGdipEntry<decltype(::GdipGetPenBrushFill)> GdipGetPenBrushFill{*this, "GdipGetPenBrushFill"};
  TGdipEntry<decltype(::GdipGetPenFillType)> GdipGetPenFillType{*this, "GdipGetPenFillType"};
  TGdipEntry<decltype(::GdipGetPenDashStyle)> GdipGetPenDashStyle{*this, "GdipGetPenDashStyle"};
  TGdipEntry<decltype(::GdipSetPenDashStyle)> GdipSetPenDashStyle{*this, "GdipSetPenDashStyle"};
  TGdipEntry<decltype(::GdipGetPenDashOffset)> GdipGetPenDashOffset{*this, "GdipGetPenDashOffset"};
  TGdipEntry<decltype(::GdipSetPenDashOffset)> GdipSetPenDashOffset{*this, "GdipSetPenDashOffset"};
  TGdipEntry<decltype(::GdipGetPenDashCount)> GdipGetPenDashCount{*this, "GdipGetPenDashCount"};
  TGdipEntry<decltype(::GdipSetPenDashArray)> GdipSetPenDashArray{*this, "GdipSetPenDashArray"};
  TGdipEntry<decltype(::GdipGetPenDashArray)> GdipGetPenDashArray{*this, "GdipGetPenDashArray"};
  TGdipEntry<decltype(::GdipGetPenCompoundCount)> GdipGetPenCompoundCount{*this, "GdipGetPenCompoundCount"};
  TGdipEntry<decltype(::GdipSetPenCompoundArray)> GdipSetPenCompoundArray{*this, "GdipSetPenCompoundArray"};
  TGdipEntry<decltype(::GdipGetPenCompoundArray)> GdipGetPenCompoundArray{*this, "GdipGetPenCompoundArray"};
  TGdipEntry<decltype(::GdipCreateCustomLineCap)> GdipCreateCustomLineCap{*this, "GdipCreateCustomLineCap"};
  TGdipEntry<decltype(::GdipDeleteCustomLineCap)> GdipDeleteCustomLineCap{*this, "GdipDeleteCustomLineCap"};
  TGdipEntry<decltype(::GdipCloneCustomLineCap)> GdipCloneCustomLineCap{*this, "GdipCloneCustomLineCap"};
  TGdipEntry<decltype(::GdipSetCustomLineCapStrokeCaps)> GdipSetCustomLineCapStrokeCaps{
      *this, "GdipSetCustomLineCapStrokeCaps"};
  TGdipEntry<decltype(::GdipGetCustomLineCapStrokeCaps)> GdipGetCustomLineCapStrokeCaps{
      *this, "GdipGetCustomLineCapStrokeCaps"};
  TGdipEntry<decltype(::GdipSetCustomLineCapStrokeJoin)> GdipSetCustomLineCapStrokeJoin{
      *this, "GdipSetCustomLineCapStrokeJoin"};
  TGdipEntry<decltype(::GdipGetCustomLineCapStrokeJoin)> GdipGetCustomLineCapStrokeJoin{
      *this, "GdipGetCustomLineCapStrokeJoin"};
  TGdipEntry<decltype(::GdipSetCustomLineCapBaseCap)> GdipSetCustomLineCapBaseCap{*this, "GdipSetCustomLineCapBaseCap"};
  TGdipEntry<decltype(::GdipGetCustomLineCapBaseCap)> GdipGetCustomLineCapBaseCap{*this, "GdipGetCustomLineCapBaseCap"};
  TGdipEntry<decltype(::GdipSetCustomLineCapBaseInset)> GdipSetCustomLineCapBaseInset{*this,
                                                                                      "GdipSetCustomLineCapBaseInset"};
  TGdipEntry<decltype(::GdipGetCustomLineCapBaseInset)> GdipGetCustomLineCapBaseInset{*this,
                                                                                      "GdipGetCustomLineCapBaseInset"};
  TGdipEntry<decltype(::GdipSetCustomLineCapWidthScale)> GdipSetCustomLineCapWidthScale{
      *this, "GdipSetCustomLineCapWidthScale"};
  TGdipEntry<decltype(::GdipGetCustomLineCapWidthScale)> GdipGetCustomLineCapWidthScale{
      *this, "GdipGetCustomLineCapWidthScale"};
  TGdipEntry<decltype(::GdipLoadImageFromFile)> GdipLoadImageFromFile{*this, "GdipLoadImageFromFile"};
  TGdipEntry<decltype(::GdipLoadImageFromFileICM)> GdipLoadImageFromFileICM{*this, "GdipLoadImageFromFileICM"};
  TGdipEntry<decltype(::GdipLoadImageFromStream)> GdipLoadImageFromStream{*this, "GdipLoadImageFromStream"};
  TGdipEntry<decltype(::GdipLoadImageFromStreamICM)> GdipLoadImageFromStreamICM{*this, "GdipLoadImageFromStreamICM"};
  TGdipEntry<decltype(::GdipCreateBitmapFromFile)> GdipCreateBitmapFromFile{*this, "GdipCreateBitmapFromFile"};
  TGdipEntry<decltype(::GdipCreateBitmapFromFileICM)> GdipCreateBitmapFromFileICM{*this, "GdipCreateBitmapFromFileICM"};
  TGdipEntry<decltype(::GdipCreateBitmapFromStream)> GdipCreateBitmapFromStream{*this, "GdipCreateBitmapFromStream"};
  TGdipEntry<decltype(::GdipCreateBitmapFromStreamICM)> GdipCreateBitmapFromStreamICM{*this,
                                                                                      "GdipCreateBitmapFromStreamICM"};
  TGdipEntry<decltype(::GdipCreateBitmapFromScan0)> GdipCreateBitmapFromScan0{*this, "GdipCreateBitmapFromScan0"};
  TGdipEntry<decltype(::GdipCreateBitmapFromGraphics)> GdipCreateBitmapFromGraphics{*this,
                                                                                    "GdipCreateBitmapFromGraphics"};
  TGdipEntry<decltype(::GdipCreateBitmapFromHBITMAP)> GdipCreateBitmapFromHBITMAP{*this, "GdipCreateBitmapFromHBITMAP"};
  TGdipEntry<decltype(::GdipCreateBitmapFromHICON)> GdipCreateBitmapFromHICON{*this, "GdipCreateBitmapFromHICON"};
  TGdipEntry<decltype(::GdipCreateBitmapFromGdiDib)> GdipCreateBitmapFromGdiDib{*this, "GdipCreateBitmapFromGdiDib"};
  TGdipEntry<decltype(::GdipCreateBitmapFromResource)> GdipCreateBitmapFromResource{*this,
                                                                                    "GdipCreateBitmapFromResource"};
  TGdipEntry<decltype(::GdipCreateHBITMAPFromBitmap)> GdipCreateHBITMAPFromBitmap{*this, "GdipCreateHBITMAPFromBitmap"};
  TGdipEntry<decltype(::GdipCreateHICONFromBitmap)> GdipCreateHICONFromBitmap{*this, "GdipCreateHICONFromBitmap"};
  TGdipEntry<decltype(::GdipCloneImage)> GdipCloneImage{*this, "GdipCloneImage"};
  TGdipEntry<decltype(::GdipCloneBitmapArea)> GdipCloneBitmapArea{*this, "GdipCloneBitmapArea"};
  TGdipEntry<decltype(::GdipCloneBitmapAreaI)> GdipCloneBitmapAreaI{*this, "GdipCloneBitmapAreaI"};
  TGdipEntry<decltype(::GdipDisposeImage)> GdipDisposeImage{*this, "GdipDisposeImage"};
  TGdipEntry<decltype(::GdipSaveImageToFile)> GdipSaveImageToFile{*this, "GdipSaveImageToFile"};
  TGdipEntry<decltype(::GdipSaveImageToStream)> GdipSaveImageToStream{*this, "GdipSaveImageToStream"};
  TGdipEntry<decltype(::GdipSaveAdd)> GdipSaveAdd{*this, "GdipSaveAdd"};
  TGdipEntry<decltype(::GdipSaveAddImage)> GdipSaveAddImage{*this, "GdipSaveAddImage"};
  TGdipEntry<decltype(::GdipGetImageGraphicsContext)> GdipGetImageGraphicsContext{*this, "GdipGetImageGraphicsContext"};
  TGdipEntry<decltype(::GdipGetImageBounds)> GdipGetImageBounds{*this, "GdipGetImageBounds"};
  TGdipEntry<decltype(::GdipGetImageDimension)> GdipGetImageDimension{*this, "GdipGetImageDimension"};
  TGdipEntry<decltype(::GdipGetImageType)> GdipGetImageType{*this, "GdipGetImageType"};
  TGdipEntry<decltype(::GdipGetImageWidth)> GdipGetImageWidth{*this, "GdipGetImageWidth"};
  TGdipEntry<decltype(::GdipGetImageHeight)> GdipGetImageHeight{*this, "GdipGetImageHeight"};
  TGdipEntry<decltype(::GdipGetImageHorizontalResolution)> GdipGetImageHorizontalResolution{
      *this, "GdipGetImageHorizontalResolution"};
  TGdipEntry<decltype(::GdipGetImageVerticalResolution)> GdipGetImageVerticalResolution{
      *this, "GdipGetImageVerticalResolution"};
  TGdipEntry<decltype(::GdipGetImageFlags)> GdipGetImageFlags{*this, "GdipGetImageFlags"};
  TGdipEntry<decltype(::GdipGetImageRawFormat)> GdipGetImageRawFormat{*this, "GdipGetImageRawFormat"};
  TGdipEntry<decltype(::GdipGetImagePixelFormat)> GdipGetImagePixelFormat{*this, "GdipGetImagePixelFormat"};
  TGdipEntry<decltype(::GdipGetImageThumbnail)> GdipGetImageThumbnail{*this, "GdipGetImageThumbnail"};
  TGdipEntry<decltype(::GdipGetEncoderParameterListSize)> GdipGetEncoderParameterListSize{
      *this, "GdipGetEncoderParameterListSize"};
  TGdipEntry<decltype(::GdipGetEncoderParameterList)> GdipGetEncoderParameterList{*this, "GdipGetEncoderParameterList"};
  TGdipEntry<decltype(::GdipImageGetFrameDimensionsCount)> GdipImageGetFrameDimensionsCount{
      *this, "GdipImageGetFrameDimensionsCount"};
  TGdipEntry<decltype(::GdipImageGetFrameDimensionsList)> GdipImageGetFrameDimensionsList{
      *this, "GdipImageGetFrameDimensionsList"};
  TGdipEntry<decltype(::GdipImageGetFrameCount)> GdipImageGetFrameCount{*this, "GdipImageGetFrameCount"};
  TGdipEntry<decltype(::GdipImageSelectActiveFrame)> GdipImageSelectActiveFrame{*this, "GdipImageSelectActiveFrame"};
  TGdipEntry<decltype(::GdipImageRotateFlip)> GdipImageRotateFlip{*this, "GdipImageRotateFlip"};
  TGdipEntry<decltype(::GdipGetImagePalette)> GdipGetImagePalette{*this, "GdipGetImagePalette"};
  TGdipEntry<decltype(::GdipSetImagePalette)> GdipSetImagePalette{*this, "GdipSetImagePalette"};
  TGdipEntry<decltype(::GdipGetImagePaletteSize)> GdipGetImagePaletteSize{*this, "GdipGetImagePaletteSize"};
  TGdipEntry<decltype(::GdipGetPropertyCount)> GdipGetPropertyCount{*this, "GdipGetPropertyCount"};
  TGdipEntry<decltype(::GdipGetPropertyIdList)> GdipGetPropertyIdList{*this, "GdipGetPropertyIdList"};
  TGdipEntry<decltype(::GdipGetPropertyItemSize)> GdipGetPropertyItemSize{*this, "GdipGetPropertyItemSize"};
  TGdipEntry<decltype(::GdipGetPropertyItem)> GdipGetPropertyItem{*this, "GdipGetPropertyItem"};
  TGdipEntry<decltype(::GdipGetPropertySize)> GdipGetPropertySize{*this, "GdipGetPropertySize"};
  TGdipEntry<decltype(::GdipGetAllPropertyItems)> GdipGetAllPropertyItems{*this, "GdipGetAllPropertyItems"};
  TGdipEntry<decltype(::GdipRemovePropertyItem)> GdipRemovePropertyItem{*this, "GdipRemovePropertyItem"};
  TGdipEntry<decltype(::GdipSetPropertyItem)> GdipSetPropertyItem{*this, "GdipSetPropertyItem"};
  TGdipEntry<decltype(::GdipBitmapLockBits)> GdipBitmapLockBits{*this, "GdipBitmapLockBits"};
  TGdipEntry<decltype(::GdipBitmapUnlockBits)> GdipBitmapUnlockBits{*this, "GdipBitmapUnlockBits"};
  TGdipEntry<decltype(::GdipBitmapGetPixel)> GdipBitmapGetPixel{*this, "GdipBitmapGetPixel"};
  TGdipEntry<decltype(::GdipBitmapSetPixel)> GdipBitmapSetPixel{*this, "GdipBitmapSetPixel"};
  TGdipEntry<decltype(::GdipBitmapSetResolution)> GdipBitmapSetResolution{*this, "GdipBitmapSetResolution"};
  TGdipEntry<decltype(::GdipCreateCachedBitmap)> GdipCreateCachedBitmap{*this, "GdipCreateCachedBitmap"};
  TGdipEntry<decltype(::GdipDeleteCachedBitmap)> GdipDeleteCachedBitmap{*this, "GdipDeleteCachedBitmap"};
  TGdipEntry<decltype(::GdipDrawCachedBitmap)> GdipDrawCachedBitmap{*this, "GdipDrawCachedBitmap"};
  TGdipEntry<decltype(::GdipCreateImageAttributes)> GdipCreateImageAttributes{*this, "GdipCreateImageAttributes"};
  TGdipEntry<decltype(::GdipCloneImageAttributes)> GdipCloneImageAttributes{*this, "GdipCloneImageAttributes"};
  TGdipEntry<decltype(::GdipDisposeImageAttributes)> GdipDisposeImageAttributes{*this, "GdipDisposeImageAttributes"};
  TGdipEntry<decltype(::GdipSetImageAttributesToIdentity)> GdipSetImageAttributesToIdentity{
      *this, "GdipSetImageAttributesToIdentity"};
  TGdipEntry<decltype(::GdipResetImageAttributes)> GdipResetImageAttributes{*this, "GdipResetImageAttributes"};
  TGdipEntry<decltype(::GdipSetImageAttributesColorMatrix)> GdipSetImageAttributesColorMatrix{
      *this, "GdipSetImageAttributesColorMatrix"};
  TGdipEntry<decltype(::GdipSetImageAttributesThreshold)> GdipSetImageAttributesThreshold{
      *this, "GdipSetImageAttributesThreshold"};
  TGdipEntry<decltype(::GdipSetImageAttributesGamma)> GdipSetImageAttributesGamma{*this, "GdipSetImageAttributesGamma"};
  TGdipEntry<decltype(::GdipSetImageAttributesNoOp)> GdipSetImageAttributesNoOp{*this, "GdipSetImageAttributesNoOp"};
  TGdipEntry<decltype(::GdipSetImageAttributesColorKeys)> GdipSetImageAttributesColorKeys{
      *this, "GdipSetImageAttributesColorKeys"};
  TGdipEntry<decltype(::GdipSetImageAttributesOutputChannel)> GdipSetImageAttributesOutputChannel{
      *this, "GdipSetImageAttributesOutputChannel"};
  TGdipEntry<decltype(::GdipSetImageAttributesOutputChannelColorProfile)>
      GdipSetImageAttributesOutputChannelColorProfile{*this, "GdipSetImageAttributesOutputChannelColorProfile"};
  TGdipEntry<decltype(::GdipSetImageAttributesRemapTable)> GdipSetImageAttributesRemapTable{
      *this, "GdipSetImageAttributesRemapTable"};
  TGdipEntry<decltype(::GdipSetImageAttributesWrapMode)> GdipSetImageAttributesWrapMode{
      *this, "GdipSetImageAttributesWrapMode"};
  TGdipEntry<decltype(::GdipGetImageAttributesAdjustedPalette)> GdipGetImageAttributesAdjustedPalette{
      *this, "GdipGetImageAttributesAdjustedPalette"};
  TGdipEntry<decltype(::GdipCreateFontFamilyFromName)> GdipCreateFontFamilyFromName{*this,
                                                                                    "GdipCreateFontFamilyFromName"};
  TGdipEntry<decltype(::GdipDeleteFontFamily)> GdipDeleteFontFamily{*this, "GdipDeleteFontFamily"};
  TGdipEntry<decltype(::GdipCloneFontFamily)> GdipCloneFontFamily{*this, "GdipCloneFontFamily"};
  TGdipEntry<decltype(::GdipGetGenericFontFamilySansSerif)> GdipGetGenericFontFamilySansSerif{
      *this, "GdipGetGenericFontFamilySansSerif"};
  TGdipEntry<decltype(::GdipGetGenericFontFamilySerif)> GdipGetGenericFontFamilySerif{*this,
                                                                                      "GdipGetGenericFontFamilySerif"};
  TGdipEntry<decltype(::GdipGetGenericFontFamilyMonospace)> GdipGetGenericFontFamilyMonospace{
      *this, "GdipGetGenericFontFamilyMonospace"};
  TGdipEntry<decltype(::GdipGetFamilyName)> GdipGetFamilyName{*this, "GdipGetFamilyName"};
  TGdipEntry<decltype(::GdipIsStyleAvailable)> GdipIsStyleAvailable{*this, "GdipIsStyleAvailable"};
  TGdipEntry<decltype(::GdipGetEmHeight)> GdipGetEmHeight{*this, "GdipGetEmHeight"};
  TGdipEntry<decltype(::GdipGetCellAscent)> GdipGetCellAscent{*this, "GdipGetCellAscent"};
  TGdipEntry<decltype(::GdipGetCellDescent)> GdipGetCellDescent{*this, "GdipGetCellDescent"};
  TGdipEntry<decltype(::GdipGetLineSpacing)> GdipGetLineSpacing{*this, "GdipGetLineSpacing"};
  TGdipEntry<decltype(::GdipGetFontCollectionFamilyCount)> GdipGetFontCollectionFamilyCount{
      *this, "GdipGetFontCollectionFamilyCount"};
  TGdipEntry<decltype(::GdipGetFontCollectionFamilyList)> GdipGetFontCollectionFamilyList{
      *this, "GdipGetFontCollectionFamilyList"};
  TGdipEntry<decltype(::GdipCreateFontFromDC)> GdipCreateFontFromDC{*this, "GdipCreateFontFromDC"};
  TGdipEntry<decltype(::GdipCreateFontFromLogfontA)> GdipCreateFontFromLogfontA{*this, "GdipCreateFontFromLogfontA"};
  TGdipEntry<decltype(::GdipCreateFontFromLogfontW)> GdipCreateFontFromLogfontW{*this, "GdipCreateFontFromLogfontW"};
  TGdipEntry<decltype(::GdipCreateFont)> GdipCreateFont{*this, "GdipCreateFont"};
  TGdipEntry<decltype(::GdipCloneFont)> GdipCloneFont{*this, "GdipCloneFont"};
  TGdipEntry<decltype(::GdipDeleteFont)> GdipDeleteFont{*this, "GdipDeleteFont"};
  TGdipEntry<decltype(::GdipGetFamily)> GdipGetFamily{*this, "GdipGetFamily"};
  TGdipEntry<decltype(::GdipGetFontStyle)> GdipGetFontStyle{*this, "GdipGetFontStyle"};
  TGdipEntry<decltype(::GdipGetFontSize)> GdipGetFontSize{*this, "GdipGetFontSize"};
  TGdipEntry<decltype(::GdipGetFontUnit)> GdipGetFontUnit{*this, "GdipGetFontUnit"};
  TGdipEntry<decltype(::GdipGetFontHeight)> GdipGetFontHeight{*this, "GdipGetFontHeight"};
  TGdipEntry<decltype(::GdipGetFontHeightGivenDPI)> GdipGetFontHeightGivenDPI{*this, "GdipGetFontHeightGivenDPI"};
  TGdipEntry<decltype(::GdipGetLogFontA)> GdipGetLogFontA{*this, "GdipGetLogFontA"};
  TGdipEntry<decltype(::GdipGetLogFontW)> GdipGetLogFontW{*this, "GdipGetLogFontW"};
  TGdipEntry<decltype(::GdipCreateStringFormat)> GdipCreateStringFormat{*this, "GdipCreateStringFormat"};
  TGdipEntry<decltype(::GdipStringFormatGetGenericDefault)> GdipStringFormatGetGenericDefault{
      *this, "GdipStringFormatGetGenericDefault"};
  TGdipEntry<decltype(::GdipStringFormatGetGenericTypographic)> GdipStringFormatGetGenericTypographic{
      *this, "GdipStringFormatGetGenericTypographic"};
  TGdipEntry<decltype(::GdipDeleteStringFormat)> GdipDeleteStringFormat{*this, "GdipDeleteStringFormat"};
  TGdipEntry<decltype(::GdipCloneStringFormat)> GdipCloneStringFormat{*this, "GdipCloneStringFormat"};
  TGdipEntry<decltype(::GdipSetStringFormatFlags)> GdipSetStringFormatFlags{*this, "GdipSetStringFormatFlags"};
  TGdipEntry<decltype(::GdipGetStringFormatFlags)> GdipGetStringFormatFlags{*this, "GdipGetStringFormatFlags"};
  TGdipEntry<decltype(::GdipSetStringFormatAlign)> GdipSetStringFormatAlign{*this, "GdipSetStringFormatAlign"};
  TGdipEntry<decltype(::GdipGetStringFormatAlign)> GdipGetStringFormatAlign{*this, "GdipGetStringFormatAlign"};
  TGdipEntry<decltype(::GdipSetStringFormatLineAlign)> GdipSetStringFormatLineAlign{*this,
                                                                                    "GdipSetStringFormatLineAlign"};
  TGdipEntry<decltype(::GdipGetStringFormatLineAlign)> GdipGetStringFormatLineAlign{*this,
                                                                                    "GdipGetStringFormatLineAlign"};
  TGdipEntry<decltype(::GdipSetStringFormatTrimming)> GdipSetStringFormatTrimming{*this, "GdipSetStringFormatTrimming"};
  TGdipEntry<decltype(::GdipGetStringFormatTrimming)> GdipGetStringFormatTrimming{*this, "GdipGetStringFormatTrimming"};
  TGdipEntry<decltype(::GdipSetStringFormatHotkeyPrefix)> GdipSetStringFormatHotkeyPrefix{
      *this, "GdipSetStringFormatHotkeyPrefix"};
  TGdipEntry<decltype(::GdipGetStringFormatHotkeyPrefix)> GdipGetStringFormatHotkeyPrefix{
      *this, "GdipGetStringFormatHotkeyPrefix"};
  TGdipEntry<decltype(::GdipSetStringFormatTabStops)> GdipSetStringFormatTabStops{*this, "GdipSetStringFormatTabStops"};
  TGdipEntry<decltype(::GdipGetStringFormatTabStops)> GdipGetStringFormatTabStops{*this, "GdipGetStringFormatTabStops"};
  TGdipEntry<decltype(::GdipGetStringFormatTabStopCount)> GdipGetStringFormatTabStopCount{
      *this, "GdipGetStringFormatTabStopCount"};
  TGdipEntry<decltype(::GdipSetStringFormatDigitSubstitution)> GdipSetStringFormatDigitSubstitution{
      *this, "GdipSetStringFormatDigitSubstitution"};
  TGdipEntry<decltype(::GdipGetStringFormatDigitSubstitution)> GdipGetStringFormatDigitSubstitution{
      *this, "GdipGetStringFormatDigitSubstitution"};
  TGdipEntry<decltype(::GdipSetStringFormatMeasurableCharacterRanges)> GdipSetStringFormatMeasurableCharacterRanges{
      *this, "GdipSetStringFormatMeasurableCharacterRanges"};
  TGdipEntry<decltype(::GdipGetStringFormatMeasurableCharacterRangeCount)>
      GdipGetStringFormatMeasurableCharacterRangeCount{*this, "GdipGetStringFormatMeasurableCharacterRangeCount"};
  TGdipEntry<decltype(::GdipCreateFromHDC)> GdipCreateFromHDC{*this, "GdipCreateFromHDC"};
  TGdipEntry<decltype(::GdipCreateFromHDC2)> GdipCreateFromHDC2{*this, "GdipCreateFromHDC2"};
  TGdipEntry<decltype(::GdipCreateFromHWND)> GdipCreateFromHWND{*this, "GdipCreateFromHWND"};
  TGdipEntry<decltype(::GdipCreateFromHWNDICM)> GdipCreateFromHWNDICM{*this, "GdipCreateFromHWNDICM"};
  TGdipEntry<decltype(::GdipDeleteGraphics)> GdipDeleteGraphics{*this, "GdipDeleteGraphics"};
  TGdipEntry<decltype(::GdipFlush)> GdipFlush{*this, "GdipFlush"};
  TGdipEntry<decltype(::GdipGetDC)> GdipGetDC{*this, "GdipGetDC"};
  TGdipEntry<decltype(::GdipReleaseDC)> GdipReleaseDC{*this, "GdipReleaseDC"};
  TGdipEntry<decltype(::GdipSetCompositingMode)> GdipSetCompositingMode{*this, "GdipSetCompositingMode"};
  TGdipEntry<decltype(::GdipGetCompositingMode)> GdipGetCompositingMode{*this, "GdipGetCompositingMode"};
  TGdipEntry<decltype(::GdipSetRenderingOrigin)> GdipSetRenderingOrigin{*this, "GdipSetRenderingOrigin"};
  TGdipEntry<decltype(::GdipGetRenderingOrigin)> GdipGetRenderingOrigin{*this, "GdipGetRenderingOrigin"};
  TGdipEntry<decltype(::GdipSetCompositingQuality)> GdipSetCompositingQuality{*this, "GdipSetCompositingQuality"};
  TGdipEntry<decltype(::GdipGetCompositingQuality)> GdipGetCompositingQuality{*this, "GdipGetCompositingQuality"};
  TGdipEntry<decltype(::GdipSetSmoothingMode)> GdipSetSmoothingMode{*this, "GdipSetSmoothingMode"};
  TGdipEntry<decltype(::GdipGetSmoothingMode)> GdipGetSmoothingMode{*this, "GdipGetSmoothingMode"};
  TGdipEntry<decltype(::GdipSetPixelOffsetMode)> GdipSetPixelOffsetMode{*this, "GdipSetPixelOffsetMode"};
  TGdipEntry<decltype(::GdipGetPixelOffsetMode)> GdipGetPixelOffsetMode{*this, "GdipGetPixelOffsetMode"};
  TGdipEntry<decltype(::GdipSetTextRenderingHint)> GdipSetTextRenderingHint{*this, "GdipSetTextRenderingHint"};
  TGdipEntry<decltype(::GdipGetTextRenderingHint)> GdipGetTextRenderingHint{*this, "GdipGetTextRenderingHint"};
  TGdipEntry<decltype(::GdipSetTextContrast)> GdipSetTextContrast{*this, "GdipSetTextContrast"};
  TGdipEntry<decltype(::GdipGetTextContrast)> GdipGetTextContrast{*this, "GdipGetTextContrast"};
  TGdipEntry<decltype(::GdipSetInterpolationMode)> GdipSetInterpolationMode{*this, "GdipSetInterpolationMode"};
  TGdipEntry<decltype(::GdipGetInterpolationMode)> GdipGetInterpolationMode{*this, "GdipGetInterpolationMode"};
  TGdipEntry<decltype(::GdipSetWorldTransform)> GdipSetWorldTransform{*this, "GdipSetWorldTransform"};
  TGdipEntry<decltype(::GdipResetWorldTransform)> GdipResetWorldTransform{*this, "GdipResetWorldTransform"};
  TGdipEntry<decltype(::GdipMultiplyWorldTransform)> GdipMultiplyWorldTransform{*this, "GdipMultiplyWorldTransform"};
  TGdipEntry<decltype(::GdipTranslateWorldTransform)> GdipTranslateWorldTransform{*this, "GdipTranslateWorldTransform"};
  TGdipEntry<decltype(::GdipScaleWorldTransform)> GdipScaleWorldTransform{*this, "GdipScaleWorldTransform"};
  TGdipEntry<decltype(::GdipRotateWorldTransform)> GdipRotateWorldTransform{*this, "GdipRotateWorldTransform"};
  TGdipEntry<decltype(::GdipGetWorldTransform)> GdipGetWorldTransform{*this, "GdipGetWorldTransform"};
  TGdipEntry<decltype(::GdipGetPageUnit)> GdipGetPageUnit{*this, "GdipGetPageUnit"};
  TGdipEntry<decltype(::GdipGetPageScale)> GdipGetPageScale{*this, "GdipGetPageScale"};
  TGdipEntry<decltype(::GdipSetPageUnit)> GdipSetPageUnit{*this, "GdipSetPageUnit"};
  TGdipEntry<decltype(::GdipSetPageScale)> GdipSetPageScale{*this, "GdipSetPageScale"};
  TGdipEntry<decltype(::GdipGetDpiX)> GdipGetDpiX{*this, "GdipGetDpiX"};
  TGdipEntry<decltype(::GdipGetDpiY)> GdipGetDpiY{*this, "GdipGetDpiY"};
  TGdipEntry<decltype(::GdipTransformPoints)> GdipTransformPoints{*this, "GdipTransformPoints"};
  TGdipEntry<decltype(::GdipTransformPointsI)> GdipTransformPointsI{*this, "GdipTransformPointsI"};
  TGdipEntry<decltype(::GdipGetNearestColor)> GdipGetNearestColor{*this, "GdipGetNearestColor"};
  TGdipEntry<decltype(::GdipGraphicsClear)> GdipGraphicsClear{*this, "GdipGraphicsClear"};
  TGdipEntry<decltype(::GdipDrawLine)> GdipDrawLine{*this, "GdipDrawLine"};
  TGdipEntry<decltype(::GdipDrawLineI)> GdipDrawLineI{*this, "GdipDrawLineI"};
  TGdipEntry<decltype(::GdipDrawLines)> GdipDrawLines{*this, "GdipDrawLines"};
  TGdipEntry<decltype(::GdipDrawLinesI)> GdipDrawLinesI{*this, "GdipDrawLinesI"};
  TGdipEntry<decltype(::GdipDrawArc)> GdipDrawArc{*this, "GdipDrawArc"};
  TGdipEntry<decltype(::GdipDrawArcI)> GdipDrawArcI{*this, "GdipDrawArcI"};
  TGdipEntry<decltype(::GdipDrawBezier)> GdipDrawBezier{*this, "GdipDrawBezier"};
  TGdipEntry<decltype(::GdipDrawBezierI)> GdipDrawBezierI{*this, "GdipDrawBezierI"};
  TGdipEntry<decltype(::GdipDrawBeziers)> GdipDrawBeziers{*this, "GdipDrawBeziers"};
  TGdipEntry<decltype(::GdipDrawBeziersI)> GdipDrawBeziersI{*this, "GdipDrawBeziersI"};
  TGdipEntry<decltype(::GdipDrawRectangle)> GdipDrawRectangle{*this, "GdipDrawRectangle"};
  TGdipEntry<decltype(::GdipDrawRectangleI)> GdipDrawRectangleI{*this, "GdipDrawRectangleI"};
  TGdipEntry<decltype(::GdipDrawRectangles)> GdipDrawRectangles{*this, "GdipDrawRectangles"};
  TGdipEntry<decltype(::GdipDrawRectanglesI)> GdipDrawRectanglesI{*this, "GdipDrawRectanglesI"};
  TGdipEntry<decltype(::GdipDrawEllipse)> GdipDrawEllipse{*this, "GdipDrawEllipse"};
  TGdipEntry<decltype(::GdipDrawEllipseI)> GdipDrawEllipseI{*this, "GdipDrawEllipseI"};
  TGdipEntry<decltype(::GdipDrawPie)> GdipDrawPie{*this, "GdipDrawPie"};
  TGdipEntry<decltype(::GdipDrawPieI)> GdipDrawPieI{*this, "GdipDrawPieI"};
  TGdipEntry<decltype(::GdipDrawPolygon)> GdipDrawPolygon{*this, "GdipDrawPolygon"};
  TGdipEntry<decltype(::GdipDrawPolygonI)> GdipDrawPolygonI{*this, "GdipDrawPolygonI"};
  TGdipEntry<decltype(::GdipDrawPath)> GdipDrawPath{*this, "GdipDrawPath"};
  TGdipEntry<decltype(::GdipDrawCurve)> GdipDrawCurve{*this, "GdipDrawCurve"};
  TGdipEntry<decltype(::GdipDrawCurveI)> GdipDrawCurveI{*this, "GdipDrawCurveI"};
  TGdipEntry<decltype(::GdipDrawCurve2)> GdipDrawCurve2{*this, "GdipDrawCurve2"};
  TGdipEntry<decltype(::GdipDrawCurve2I)> GdipDrawCurve2I{*this, "GdipDrawCurve2I"};
  TGdipEntry<decltype(::GdipDrawCurve3)> GdipDrawCurve3{*this, "GdipDrawCurve3"};
  TGdipEntry<decltype(::GdipDrawCurve3I)> GdipDrawCurve3I{*this, "GdipDrawCurve3I"};
  TGdipEntry<decltype(::GdipDrawClosedCurve)> GdipDrawClosedCurve{*this, "GdipDrawClosedCurve"};
  TGdipEntry<decltype(::GdipDrawClosedCurveI)> GdipDrawClosedCurveI{*this, "GdipDrawClosedCurveI"};
  TGdipEntry<decltype(::GdipDrawClosedCurve2)> GdipDrawClosedCurve2{*this, "GdipDrawClosedCurve2"};
  TGdipEntry<decltype(::GdipDrawClosedCurve2I)> GdipDrawClosedCurve2I{*this, "GdipDrawClosedCurve2I"};
  TGdipEntry<decltype(::GdipFillRectangle)> GdipFillRectangle{*this, "GdipFillRectangle"};
  TGdipEntry<decltype(::GdipFillRectangleI)> GdipFillRectangleI{*this, "GdipFillRectangleI"};
  TGdipEntry<decltype(::GdipFillRectangles)> GdipFillRectangles{*this, "GdipFillRectangles"};
  TGdipEntry<decltype(::GdipFillRectanglesI)> GdipFillRectanglesI{*this, "GdipFillRectanglesI"};
  TGdipEntry<decltype(::GdipFillPolygon)> GdipFillPolygon{*this, "GdipFillPolygon"};
  TGdipEntry<decltype(::GdipFillPolygonI)> GdipFillPolygonI{*this, "GdipFillPolygonI"};
  TGdipEntry<decltype(::GdipFillEllipse)> GdipFillEllipse{*this, "GdipFillEllipse"};
  TGdipEntry<decltype(::GdipFillEllipseI)> GdipFillEllipseI{*this, "GdipFillEllipseI"};
  TGdipEntry<decltype(::GdipFillPie)> GdipFillPie{*this, "GdipFillPie"};
  TGdipEntry<decltype(::GdipFillPieI)> GdipFillPieI{*this, "GdipFillPieI"};
  TGdipEntry<decltype(::GdipFillPath)> GdipFillPath{*this, "GdipFillPath"};
  TGdipEntry<decltype(::GdipFillClosedCurve)> GdipFillClosedCurve{*this, "GdipFillClosedCurve"};
  TGdipEntry<decltype(::GdipFillClosedCurveI)> GdipFillClosedCurveI{*this, "GdipFillClosedCurveI"};
  TGdipEntry<decltype(::GdipFillClosedCurve2)> GdipFillClosedCurve2{*this, "GdipFillClosedCurve2"};
  TGdipEntry<decltype(::GdipFillClosedCurve2I)> GdipFillClosedCurve2I{*this, "GdipFillClosedCurve2I"};
  TGdipEntry<decltype(::GdipFillRegion)> GdipFillRegion{*this, "GdipFillRegion"};
  TGdipEntry<decltype(::GdipDrawImage)> GdipDrawImage{*this, "GdipDrawImage"};
  TGdipEntry<decltype(::GdipDrawImageI)> GdipDrawImageI{*this, "GdipDrawImageI"};
  TGdipEntry<decltype(::GdipDrawImageRect)> GdipDrawImageRect{*this, "GdipDrawImageRect"};
  TGdipEntry<decltype(::GdipDrawImageRectI)> GdipDrawImageRectI{*this, "GdipDrawImageRectI"};
  TGdipEntry<decltype(::GdipDrawImagePoints)> GdipDrawImagePoints{*this, "GdipDrawImagePoints"};
  TGdipEntry<decltype(::GdipDrawImagePointsI)> GdipDrawImagePointsI{*this, "GdipDrawImagePointsI"};
  TGdipEntry<decltype(::GdipDrawImagePointRect)> GdipDrawImagePointRect{*this, "GdipDrawImagePointRect"};
  TGdipEntry<decltype(::GdipDrawImagePointRectI)> GdipDrawImagePointRectI{*this, "GdipDrawImagePointRectI"};
  TGdipEntry<decltype(::GdipDrawImageRectRect)> GdipDrawImageRectRect{*this, "GdipDrawImageRectRect"};
  TGdipEntry<decltype(::GdipDrawImageRectRectI)> GdipDrawImageRectRectI{*this, "GdipDrawImageRectRectI"};
  TGdipEntry<decltype(::GdipDrawImagePointsRect)> GdipDrawImagePointsRect{*this, "GdipDrawImagePointsRect"};
  TGdipEntry<decltype(::GdipDrawImagePointsRectI)> GdipDrawImagePointsRectI{*this, "GdipDrawImagePointsRectI"};
  TGdipEntry<decltype(::GdipDrawString)> GdipDrawString{*this, "GdipDrawString"};
  TGdipEntry<decltype(::GdipMeasureString)> GdipMeasureString{*this, "GdipMeasureString"};
  TGdipEntry<decltype(::GdipMeasureCharacterRanges)> GdipMeasureCharacterRanges{*this, "GdipMeasureCharacterRanges"};
  TGdipEntry<decltype(::GdipDrawDriverString)> GdipDrawDriverString{*this, "GdipDrawDriverString"};
  TGdipEntry<decltype(::GdipMeasureDriverString)> GdipMeasureDriverString{*this, "GdipMeasureDriverString"};
  TGdipEntry<decltype(::GdipSetClipGraphics)> GdipSetClipGraphics{*this, "GdipSetClipGraphics"};
  TGdipEntry<decltype(::GdipSetClipRect)> GdipSetClipRect{*this, "GdipSetClipRect"};
  TGdipEntry<decltype(::GdipSetClipRectI)> GdipSetClipRectI{*this, "GdipSetClipRectI"};
  TGdipEntry<decltype(::GdipSetClipPath)> GdipSetClipPath{*this, "GdipSetClipPath"};
  TGdipEntry<decltype(::GdipSetClipRegion)> GdipSetClipRegion{*this, "GdipSetClipRegion"};
  TGdipEntry<decltype(::GdipSetClipHrgn)> GdipSetClipHrgn{*this, "GdipSetClipHrgn"};
  TGdipEntry<decltype(::GdipResetClip)> GdipResetClip{*this, "GdipResetClip"};
  TGdipEntry<decltype(::GdipTranslateClip)> GdipTranslateClip{*this, "GdipTranslateClip"};
  TGdipEntry<decltype(::GdipTranslateClipI)> GdipTranslateClipI{*this, "GdipTranslateClipI"};
  TGdipEntry<decltype(::GdipGetClip)> GdipGetClip{*this, "GdipGetClip"};
  TGdipEntry<decltype(::GdipGetClipBounds)> GdipGetClipBounds{*this, "GdipGetClipBounds"};
  TGdipEntry<decltype(::GdipGetClipBoundsI)> GdipGetClipBoundsI{*this, "GdipGetClipBoundsI"};
  TGdipEntry<decltype(::GdipIsClipEmpty)> GdipIsClipEmpty{*this, "GdipIsClipEmpty"};
  TGdipEntry<decltype(::GdipGetVisibleClipBounds)> GdipGetVisibleClipBounds{*this, "GdipGetVisibleClipBounds"};
  TGdipEntry<decltype(::GdipGetVisibleClipBoundsI)> GdipGetVisibleClipBoundsI{*this, "GdipGetVisibleClipBoundsI"};
  TGdipEntry<decltype(::GdipIsVisibleClipEmpty)> GdipIsVisibleClipEmpty{*this, "GdipIsVisibleClipEmpty"};
  TGdipEntry<decltype(::GdipIsVisiblePoint)> GdipIsVisiblePoint{*this, "GdipIsVisiblePoint"};
  TGdipEntry<decltype(::GdipIsVisiblePointI)> GdipIsVisiblePointI{*this, "GdipIsVisiblePointI"};
  TGdipEntry<decltype(::GdipIsVisibleRect)> GdipIsVisibleRect{*this, "GdipIsVisibleRect"};
  TGdipEntry<decltype(::GdipIsVisibleRectI)> GdipIsVisibleRectI{*this, "GdipIsVisibleRectI"};
  TGdipEntry<decltype(::GdipSaveGraphics)> GdipSaveGraphics{*this, "GdipSaveGraphics"};
  TGdipEntry<decltype(::GdipRestoreGraphics)> GdipRestoreGraphics{*this, "GdipRestoreGraphics"};
  TGdipEntry<decltype(::GdipBeginContainer)> GdipBeginContainer{*this, "GdipBeginContainer"};
  TGdipEntry<decltype(::GdipBeginContainerI)> GdipBeginContainerI{*this, "GdipBeginContainerI"};
  TGdipEntry<decltype(::GdipBeginContainer2)> GdipBeginContainer2{*this, "GdipBeginContainer2"};
  TGdipEntry<decltype(::GdipEndContainer)> GdipEndContainer{*this, "GdipEndContainer"};
  TGdipEntry<decltype(::GdipComment)> GdipComment{*this, "GdipComment"};
};

// The table (slots empty until InitializeGdiplusApi binds them).
TGdiplusApi& Api();
// Handle of "gdiplus.dll"; nullptr while it is not loaded.
HMODULE GdiplusLibrary();

// Start of the unit: loads "gdiplus.dll" and binds every slot by name. A
// missing library leaves every slot empty. Does nothing when already loaded.
void InitializeGdiplusApi();
// End of the unit: frees the library and empties every slot. Does nothing
// when nothing is loaded.
void FinalizeGdiplusApi();

// Value builders.
TGPPointF GPPointF(Single x, Single y);
TGPRectF GPRectF(Single x, Single y, Single width, Single height);
// (a << 24) | (r << 16) | (g << 8) | b.
ARGB ComposeARGB(Byte a, Byte r, Byte g, Byte b);

}  // namespace gdiplus_runtime
