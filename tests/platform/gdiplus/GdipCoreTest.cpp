// Start-up, memory, the module table and matrices.
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "tests/platform/gdiplus/GdipFixture.h"
#include "platform/win/Modules.h"
#include "platform/win/WinError.h"

TEST(GdiplusStartupTest, CountsStartsAndRefusesBadInput) {
  GdiplusStartupInput in;
  std::uintptr_t t1 = 0, t2 = 0;
  EXPECT_EQ(GdipAlloc(16), nullptr) << "no memory before start-up";
  GpMatrix* m = nullptr;
  EXPECT_EQ(GdipCreateMatrix(&m), GdiplusNotInitialized);
  EXPECT_EQ(GdiplusStartup(nullptr, &in, nullptr), InvalidParameter);
  GdiplusStartupInput v2;
  v2.GdiplusVersion = 2;
  EXPECT_EQ(GdiplusStartup(&t1, &v2, nullptr), UnsupportedGdiplusVersion);
  GdiplusStartupInput noThread;
  noThread.SuppressBackgroundThread = TRUE;
  EXPECT_EQ(GdiplusStartup(&t1, &noThread, nullptr), InvalidParameter) << "the hook pair needs an output";
  GdiplusStartupOutput out;
  ASSERT_EQ(GdiplusStartup(&t1, &noThread, &out), Ok);
  ASSERT_NE(out.NotificationHook, nullptr);
  std::uintptr_t hook = 0;
  EXPECT_EQ(out.NotificationHook(&hook), Ok);
  out.NotificationUnhook(hook);
  ASSERT_EQ(GdiplusStartup(&t2, &in, nullptr), Ok);
  GdiplusShutdown(t1);
  void* p = GdipAlloc(32);
  EXPECT_NE(p, nullptr) << "one start is still in force";
  GdipFree(p);
  int local = 0;
  GdipFree(&local);  // not GDI+'s memory: ignored
  GdiplusShutdown(t2);
  EXPECT_EQ(GdipAlloc(16), nullptr);
}

TEST(ModuleTableTest, FindsExportsByNameAndHidesOnRequest) {
  RegisterGdiplusModule();
  EXPECT_EQ(LoadLibraryW(u"no-such.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  HMODULE h = LoadLibraryW(u"C:\\Windows\\System32\\GDIPLUS.DLL");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(LoadLibraryW(u"gdiplus"), h) << "the .dll suffix is optional";
  EXPECT_EQ(GetProcAddress(h, "GdipCreatePath"), reinterpret_cast<void*>(&GdipCreatePath));
  EXPECT_EQ(GetProcAddress(h, "GdiplusStartup"), reinterpret_cast<void*>(&GdiplusStartup));
  EXPECT_EQ(GetProcAddress(h, "gdipcreatepath"), nullptr) << "export names are case-sensitive";
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  SetModuleExportHidden(u"gdiplus.dll", "GdipFillPath", true);
  EXPECT_EQ(GetProcAddress(h, "GdipFillPath"), nullptr);
  EXPECT_NE(GetProcAddress(h, "GdipDrawPath"), nullptr);
  SetModuleExportHidden(u"gdiplus.dll", "GdipFillPath", false);
  EXPECT_NE(GetProcAddress(h, "GdipFillPath"), nullptr);
  int junk = 0;
  EXPECT_EQ(GetProcAddress(&junk, "GdipFillPath"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(FreeLibrary(h), 1);
  EXPECT_EQ(FreeLibrary(h), 1);
  EXPECT_EQ(FreeLibrary(h), 0) << "more frees than loads";
}

namespace {

std::string SourceText(const std::string& relative) {
  std::ifstream in(std::string(RYX_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

// The export table is written by hand: a function declared but not listed
// would be missing for a caller that binds GDI+ by name at run time.
TEST(ModuleTableTest, ExportsEveryDeclaredFlatFunctionAndNothingElse) {
  const std::string header = SourceText("platform/gdiplus/GdiPlus.h");
  const std::string table = SourceText("platform/gdiplus/GdipModule.cpp");
  ASSERT_FALSE(header.empty());
  ASSERT_FALSE(table.empty());

  // A declaration starts a line: return type, then the name and its "(".
  std::set<std::string> declared;
  const std::regex declaration(R"(^[A-Za-z_][\w:<>*& ]*?\b((?:Gdip|Gdiplus)\w*)\()", std::regex::multiline);
  for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end; ++it)
    declared.insert((*it)[1]);
  declared.erase("GdiplusRunning");  // the layer's own query, not part of the flat API

  std::set<std::string> exported;
  const std::regex entry(R"re(E\("(\w+)", &(\w+)\))re");
  for (std::sregex_iterator it(table.begin(), table.end(), entry), end; it != end; ++it) {
    EXPECT_EQ((*it)[1], (*it)[2]) << "exported under another name";
    EXPECT_TRUE(exported.insert((*it)[1]).second) << "exported twice: " << (*it)[1];
  }
  EXPECT_GT(declared.size(), 500u) << "the header no longer parses as expected";

  for (const auto& name : declared) EXPECT_TRUE(exported.count(name)) << "declared, not exported: " << name;
  for (const auto& name : exported) EXPECT_TRUE(declared.count(name)) << "exported, not declared: " << name;

  // And the live table answers each of them.
  RegisterGdiplusModule();
  HMODULE h = LoadLibraryW(u"gdiplus.dll");
  ASSERT_NE(h, nullptr);
  for (const auto& name : declared) EXPECT_NE(GetProcAddress(h, name.c_str()), nullptr) << name;
  FreeLibrary(h);
}

TEST(ModuleTableTest, UnregisteredModuleStopsAnsweringOldHandles) {
  RegisterModule(u"probe.dll", {{"Answer", reinterpret_cast<void*>(&GdipAlloc)}});
  HMODULE h = LoadLibraryW(u"probe.dll");
  ASSERT_NE(h, nullptr);
  EXPECT_NE(GetProcAddress(h, "Answer"), nullptr);
  EXPECT_TRUE(UnregisterModule(u"PROBE.DLL"));
  EXPECT_EQ(GetProcAddress(h, "Answer"), nullptr);
  EXPECT_EQ(LoadLibraryW(u"probe.dll"), nullptr);
}

class GpMatrixTest : public GdiplusTest {};

TEST_F(GpMatrixTest, OrderRotationInversionAndBadArguments) {
  GpMatrix* m = nullptr;
  ASSERT_EQ(GdipCreateMatrix(&m), Ok);
  // Rotate 90 about (10, 10): translate, rotate, translate back, prepended.
  EXPECT_EQ(GdipTranslateMatrix(m, 10, 10, MatrixOrderPrepend), Ok);
  EXPECT_EQ(GdipRotateMatrix(m, 90, MatrixOrderPrepend), Ok);
  EXPECT_EQ(GdipTranslateMatrix(m, -10, -10, MatrixOrderPrepend), Ok);
  GpPointF p{20, 10};
  EXPECT_EQ(GdipTransformMatrixPoints(m, &p, 1), Ok);
  EXPECT_NEAR(p.X, 10, 1e-4);
  EXPECT_NEAR(p.Y, 20, 1e-4);
  // Append applies after: scale then translate vs translate then scale.
  GpMatrix* a = nullptr;
  GdipCreateMatrix(&a);
  GdipScaleMatrix(a, 2, 2, MatrixOrderAppend);
  GdipTranslateMatrix(a, 5, 0, MatrixOrderAppend);
  GpPointF q{1, 1};
  GdipTransformMatrixPoints(a, &q, 1);
  EXPECT_FLOAT_EQ(q.X, 7);
  GpPointF v{1, 1};
  GdipVectorTransformMatrixPoints(a, &v, 1);
  EXPECT_FLOAT_EQ(v.X, 2) << "vectors ignore the offset";
  REAL e[6];
  GdipSetMatrixElements(a, 0, 0, 0, 0, 1, 1);
  BOOL inv = TRUE;
  GdipIsMatrixInvertible(a, &inv);
  EXPECT_FALSE(inv);
  EXPECT_EQ(GdipInvertMatrix(a), InvalidParameter);
  EXPECT_EQ(GdipGetMatrixElements(a, e), Ok);
  EXPECT_EQ(e[4], 1);
  EXPECT_EQ(GdipRotateMatrix(a, 1, GpMatrixOrder(7)), InvalidParameter);
  EXPECT_EQ(GdipTransformMatrixPoints(a, &v, 0), InvalidParameter);
  EXPECT_EQ(GdipDeleteMatrix(a), Ok);
  EXPECT_EQ(GdipDeleteMatrix(a), InvalidParameter) << "a stale handle is refused";
  EXPECT_EQ(GdipScaleMatrix(nullptr, 1, 1, MatrixOrderAppend), InvalidParameter);
  GdipDeleteMatrix(m);
  // Three-point form: the unit square onto a parallelogram.
  GpRectF r{0, 0, 10, 10};
  GpPointF plg[3] = {{100, 100}, {120, 100}, {100, 130}};
  GpMatrix* m3 = nullptr;
  ASSERT_EQ(GdipCreateMatrix3(&r, plg, &m3), Ok);
  GpPointF c{10, 10};
  GdipTransformMatrixPoints(m3, &c, 1);
  EXPECT_FLOAT_EQ(c.X, 120);
  EXPECT_FLOAT_EQ(c.Y, 130);
  GdipDeleteMatrix(m3);
}
