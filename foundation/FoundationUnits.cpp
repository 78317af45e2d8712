#include "foundation/FoundationUnits.h"

#include "foundation/gdiplus/GDIPFill.h"
#include "foundation/gdiplus/GdiplusBase.h"
#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "foundation/graphics/AdvGraphics.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/json/AdvPersistence.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "foundation/pictures/HTMLPicture.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "foundation/svg/AdvSVGBitmap.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/gdiplus/GdiPlus.h"

void AddFoundationUnits(TUnitSequence& Units) {
  Units.Add(u"AdvUtils", InitializeAdvUtilsUnit);
  Units.Add(u"AdvPersistence", TAdvPersistence::Initialize, TAdvPersistence::Finalize);
  Units.Add(
      u"ZovIVIDlusApi",
      [] {
        RegisterGdiplusModule();
        gdiplus_runtime::InitializeGdiplusApi();
      },
      gdiplus_runtime::FinalizeGdiplusApi);
  Units.Add(u"ZovIVIDlusClasses", gdiplus_runtime::InitializeGdiplusClasses, gdiplus_runtime::FinalizeGdiplusClasses);
  Units.Add(u"AdvGraphicsTypes", InitializeNamedColors, FinalizeNamedColors);
  Units.Add(u"AdvGraphics", InitializeAdvGraphicsUnit);
  // The picture format "SVG" and the document maker that draws it.
  Units.Add(
      u"AdvTypes",
      [] {
        InitializeAdvTypesUnit();
        InitializeAdvGraphicsSVGEngineUnit();
      },
      [] {
        FinalizeAdvGraphicsSVGEngineUnit();
        FinalizeAdvTypesUnit();
      });
  Units.Add(
      u"AdvGDIP",
      [] {
        RegisterGdiplusModule();
        gdiplus::InitializeGdiplusUnit();
      },
      gdiplus::FinalizeGdiplusUnit);
  Units.Add(u"GDIPFill", [] {
    gdiplus::InitializeGDIPFillUnit();
    // The pictures and hint record the controls publish.
    DeclareAdvHintInfoClass();
    DeclareHTMLPictureClass();
  });
}
