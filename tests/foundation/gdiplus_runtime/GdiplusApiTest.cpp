// The run-time binding: the table bound by name, the library-absent and
// export-missing roads, wrapper lifetime against GDI+'s end, the status
// contract of each class and hostile arguments.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPCustomLineCap.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPFontCollection.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPImageAttributes.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPRegion.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"
#include "platform/win/Modules.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {

class GdiplusApiTest : public RuntimeTest {};

// Rebinds the table while `hide` is hidden from "gdiplus.dll".
struct TMissingExport {
  explicit TMissingExport(std::string name) : Name(std::move(name)) {
    UnbindRuntime();
    SetModuleExportHidden(u"gdiplus.dll", Name, true);
    BindRuntime();
  }
  ~TMissingExport() {
    UnbindRuntime();
    SetModuleExportHidden(u"gdiplus.dll", Name, false);
    BindRuntime();
  }
  std::string Name;
};

}  // namespace

TEST_F(GdiplusApiTest, BuildersAndEveryCalledEntryBoundByItsName) {
  EXPECT_EQ(ComposeARGB(0x80, 0x12, 0x34, 0x56), 0x80123456u);
  TGPRectF r = GPRectF(1, 2, 3, 4);
  EXPECT_EQ(r.X + r.Y + r.Width + r.Height, 10.0f);
  EXPECT_EQ(GPPointF(5, 6).Y, 6.0f);

  ASSERT_NE(GdiplusLibrary(), nullptr);
  EXPECT_EQ(Api().Slots().size(), 530u);
  for (const TGdipSlot* slot : Api().Slots()) {
    SCOPED_TRACE(slot->Name());
    EXPECT_TRUE(slot->Bound());
  }
  EXPECT_TRUE(GdiplusClassesStarted());
}

TEST_F(GdiplusApiTest, WithoutTheLibraryNothingIsCalledAndEveryCallAnswersAStatus) {
  UnbindRuntime();
  ASSERT_TRUE(UnregisterModule(u"gdiplus.dll"));
  InitializeGdiplusApi();
  InitializeGdiplusClasses();
  EXPECT_EQ(GdiplusLibrary(), nullptr);
  EXPECT_FALSE(GdiplusClassesStarted());
  for (const TGdipSlot* slot : Api().Slots()) EXPECT_FALSE(slot->Bound()) << slot->Name();

  // No wrapper memory without GDI+; objects on the stack answer statuses.
  EXPECT_EQ(std::unique_ptr<TGPMatrix>(new TGPMatrix()), nullptr);
  TGPMatrix m;
  EXPECT_EQ(m.nativeMatrix, nullptr);
  EXPECT_EQ(m.GetLastStatus(), GdiplusNotInitialized);
  EXPECT_EQ(m.Translate(1, 1), GdiplusNotInitialized);
  EXPECT_FALSE(m.IsIdentity());
  EXPECT_EQ(m.Clone(), nullptr);
  TGPFont font(u"Arial", 10);
  EXPECT_FALSE(font.IsAvailable());
  EXPECT_NE(font.GetLastStatus(), Ok);
  EXPECT_EQ(TGPFontFamily::GenericSansSerif(), nullptr);
  TCanvas canvas(4, 4);
  EXPECT_EQ(canvas.Graphics.GetLastStatus(), GdiplusNotInitialized);
  EXPECT_EQ(canvas.Px(0, 0), 0u);
  UnbindRuntime();  // ends complete without the library
}

TEST_F(GdiplusApiTest, AMissingExportLeavesOnlyItsSlotEmpty) {
  TMissingExport missing("GdipCreatePen1");
  EXPECT_FALSE(Api().GdipCreatePen1.Bound());
  EXPECT_TRUE(Api().GdipCreatePen2.Bound());
  TGPPen pen(0xFF000000, 1);
  EXPECT_EQ(pen.nativePen, nullptr);
  EXPECT_EQ(pen.GetLastStatus(), NotImplemented);
  TGPSolidBrush brush(0xFF000000);
  TGPPen brushPen(&brush, 2);
  EXPECT_EQ(brushPen.GetLastStatus(), Ok);
  EXPECT_EQ(brushPen.GetWidth(), 2.0f);
}

TEST_F(GdiplusApiTest, WrappersOutliveGdiplusAndAnswerStatuses) {
  auto matrix = std::unique_ptr<TGPMatrix>(new TGPMatrix(1, 0, 0, 1, 5, 6));
  ASSERT_NE(matrix, nullptr);
  TGPGraphicsPath path;
  path.AddRectangle(GPRectF(0, 0, 10, 10));
  TGPFontFamily* serif = TGPFontFamily::GenericSerif();
  ASSERT_NE(serif, nullptr);

  // Every start of GDI+ ends: this set's and the imported set's.
  FinalizeGdiplusClasses();
  gdiplus::FinalizeGdiplusUnit();
  ASSERT_FALSE(GdiplusRunning());
  EXPECT_EQ(std::unique_ptr<TGPPen>(new TGPPen(0xFF000000)), nullptr) << "no wrapper memory";
  TGPPen pen(0xFF000000);
  EXPECT_EQ(pen.GetLastStatus(), GdiplusNotInitialized);
  EXPECT_EQ(pen.SetWidth(3), InvalidParameter);
  EXPECT_EQ(matrix->OffsetX(), 5.0f);
  EXPECT_EQ(path.GetPointCount(), 4);
  EXPECT_EQ(path.Clone(), nullptr) << "the copy is made but no wrapper can hold it";
  EXPECT_EQ(path.GetLastStatus(), Ok);
  matrix.reset();  // handed back to GDI+ memory after its end

  // With the table released too, a surviving wrapper calls nothing.
  FinalizeGdiplusApi();
  EXPECT_EQ(path.AddLine(0, 0, 1, 1), GdiplusNotInitialized);
  EXPECT_FALSE(path.IsVisible(1.0f, 1.0f));
  BindRuntime();  // before path's destructor, so its native path is freed
  gdiplus::InitializeGdiplusUnit();
}

TEST_F(GdiplusApiTest, KeptStatusPerClass) {
  struct Case {
    const char* name;
    std::function<TStatus()> fail;     // a failing call on the object
    std::function<TStatus()> succeed;  // a later succeeding call
    std::function<TStatus()> read;     // GetLastStatus
  };
  TGPMatrix matrix;
  TGPPen pen(0xFF000000);
  TGPLinearGradientBrush brush(GPRectF(0, 0, 10, 10), 0xFF000000, 0xFFFFFFFF, LinearGradientModeHorizontal);
  TGPGraphicsPath path;
  TGPRegion region;
  TGPImageAttributes attributes;
  TGPGraphicsPath capPath;
  capPath.AddLine(0.0f, 0.0f, 1.0f, 1.0f);
  TGPCustomLineCap cap(nullptr, &capPath);
  TGPStringFormat format;
  TCanvas canvas(4, 4);
  const Case cases[] = {
      {"matrix", [&] { return matrix.Rotate(1, GpMatrixOrder(7)); }, [&] { return matrix.Reset(); },
       [&] { return matrix.GetLastStatus(); }},
      {"pen", [&] { return pen.SetWidth(-1); }, [&] { return pen.SetWidth(2); }, [&] { return pen.GetLastStatus(); }},
      {"brush", [&] { return brush.SetInterpolationColors(nullptr, nullptr, 0); },
       [&] { return brush.SetGammaCorrection(true); }, [&] { return brush.GetLastStatus(); }},
      {"path", [&] { return path.AddBeziers(static_cast<const TGPPointF*>(nullptr), 4); }, [&] { return path.Reset(); },
       [&] { return path.GetLastStatus(); }},
      {"region", [&] { return region.Union(static_cast<const TGPRegion*>(nullptr)); },
       [&] { return region.MakeEmpty(); }, [&] { return region.GetLastStatus(); }},
      {"attributes", [&] { return attributes.SetRemapTable(1, nullptr); }, [&] { return attributes.ClearGamma(); },
       [&] { return attributes.GetLastStatus(); }},
      {"cap", [&] { return cap.SetBaseCap(GpLineCap(99)); }, [&] { return cap.SetBaseInset(1); },
       [&] { return cap.GetLastStatus(); }},
      {"format", [&] { return format.SetAlignment(GpStringAlignment(9)); },
       [&] { return format.SetTrimming(StringTrimmingWord); }, [&] { return format.GetLastStatus(); }},
      {"graphics", [&] { return canvas.Graphics.SetPageUnit(UnitWorld); },
       [&] { return canvas.Graphics.ResetTransform(); }, [&] { return canvas.Graphics.GetLastStatus(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.read(), Ok);
    TStatus failure = c.fail();
    ASSERT_NE(failure, Ok);
    EXPECT_EQ(c.succeed(), Ok);
    EXPECT_EQ(c.read(), failure) << "a later success leaves the failure kept";
    EXPECT_EQ(c.read(), Ok) << "reading resets";
  }

  // Two failures in a row: the second is kept.
  EXPECT_EQ(pen.SetWidth(-1), InvalidParameter);
  EXPECT_EQ(pen.SetDashStyle(GpDashStyle(42)), InvalidParameter);
  EXPECT_EQ(pen.SetColor(0xFF00FF00), Ok);
  EXPECT_EQ(pen.GetLastStatus(), InvalidParameter);

  // A family read twice: the failure, then Ok. A font and a collection keep
  // their failure when read.
  TGPFontFamily missing(u"No Such Family At All");
  EXPECT_EQ(missing.GetLastStatus(), FontFamilyNotFound);
  EXPECT_EQ(missing.GetLastStatus(), Ok);
  TGPFont font(u"Arial", 10);
  EXPECT_EQ(font.GetFamily(nullptr), InvalidParameter);
  EXPECT_EQ(font.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(font.GetLastStatus(), InvalidParameter);
  TGPFontCollection collection;
  EXPECT_EQ(collection.GetFamilyCount(), 0);
  EXPECT_NE(collection.GetLastStatus(), Ok);
  EXPECT_NE(collection.GetLastStatus(), Ok);
}

TEST_F(GdiplusApiTest, NilForeignAndOversizedArgumentsAnswerStatuses) {
  // A wrapper holding a handle of another kind, and one whose creation failed.
  GpBrush* nativeBrush = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xFF000000, &nativeBrush), Ok);
  {
    TGPPen foreign(reinterpret_cast<GpPen*>(nativeBrush), Ok);
    EXPECT_EQ(foreign.SetWidth(2), InvalidParameter);
    EXPECT_EQ(foreign.GetWidth(), 0.0f);
    EXPECT_EQ(foreign.GetPenType(), PenTypeUnknown);
    EXPECT_EQ(foreign.GetBrush(), nullptr);
    ARGB color = 7;
    EXPECT_EQ(foreign.GetColor(color), WrongState);
    EXPECT_EQ(color, 7u);
  }  // its delete call is refused for the wrong kind: the brush lives on
  EXPECT_EQ(GdipDeleteBrush(nativeBrush), Ok);

  TGPPen none(static_cast<const TGPBrush*>(nullptr));
  EXPECT_EQ(none.nativePen, nullptr);
  EXPECT_EQ(none.GetLastStatus(), InvalidParameter);
  TGPCustomLineCap held;
  EXPECT_EQ(none.GetCustomStartCap(&held), InvalidParameter);
  EXPECT_EQ(none.GetCustomEndCap(nullptr), InvalidParameter);
  EXPECT_EQ(none.GetDashStyle(), DashStyleSolid);
  EXPECT_EQ(none.Clone()->nativePen, nullptr);

  // Counts larger than the data given.
  TCanvas canvas(20, 20);
  TGPFont font(u"Arial", 10);
  TGPSolidBrush black(0xFF000000);
  String text = u"abc";
  EXPECT_EQ(canvas.Graphics.DrawString(text, 4, &font, GPRectF(0, 0, 20, 20), nullptr, &black), InvalidParameter);
  EXPECT_EQ(canvas.Graphics.DrawString(text, -2, &font, GPPointF(0, 0), &black), InvalidParameter);
  TGPRectF box;
  EXPECT_EQ(canvas.Graphics.MeasureString(text, 99, &font, GPRectF(0, 0, 20, 20), box), InvalidParameter);
  TGPGraphicsPath path;
  EXPECT_EQ(path.AddString(text, 5, nullptr, 0, 10, GPPointF(0, 0), nullptr), InvalidParameter);
  TGPRegion r1, r2;
  std::vector<TGPRegion*> regions{&r1};
  TGPStringFormat format;
  EXPECT_EQ(canvas.Graphics.MeasureCharacterRanges(text, -1, &font, GPRectF(0, 0, 20, 20), &format, 2, regions),
            InvalidParameter);
  regions = {&r1, nullptr};
  EXPECT_EQ(canvas.Graphics.MeasureCharacterRanges(text, -1, &font, GPRectF(0, 0, 20, 20), &format, 2, regions),
            InvalidParameter);
  TGPFontCollection collection;
  TGPFontFamily slot;
  std::vector<TGPFontFamily*> families{&slot};
  Integer found = -5;
  EXPECT_EQ(collection.GetFamilies(2, families, found), InvalidParameter);
  EXPECT_EQ(collection.GetFamilies(0, families, found), InvalidParameter);
  EXPECT_EQ(found, -5) << "numFound untouched";

  TGPRegion region(GPRectF(0, 0, 10, 10));
  region.Union(GPRectF(20, 20, 10, 10));
  TGPMatrix identity;
  ASSERT_EQ(region.GetRegionScansCount(&identity), 2u);
  TGPRect one[1];
  Integer room = 1;
  EXPECT_EQ(region.GetRegionScans(&identity, one, room), InsufficientBuffer);
  TGPRect two[2];
  room = 2;
  EXPECT_EQ(region.GetRegionScans(&identity, two, room), Ok);
  EXPECT_EQ(room, 2);
  EXPECT_EQ(two[1].X, 20);
}
