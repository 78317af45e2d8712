// The JSON operations of the drawing contexts and of the named-colour
// object: each forwards to the persistence layer with the object itself, so
// the text, the round trips and the failures are the layer's.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/graphics/AdvGraphicsContextGeneral.h"
#include "foundation/graphics/AdvGraphicsContextWin.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/json/AdvPersistence.h"
#include "platform/rtl/Streams.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"
#include "tests/support/TestUtil.h"

namespace {

// The member operations of either class, bound to one instance.
template <class T>
struct TGraphicsJSONOps {
  static String ToJSON(TObject* o) { return static_cast<T*>(o)->ToJSON(); }
  static String ToJSONExcluding(TObject* o, const std::vector<String>& e) { return static_cast<T*>(o)->ToJSON(e); }
  static void FromJSON(TObject* o, StringView v) { static_cast<T*>(o)->FromJSON(v); }
  static String JSON(TObject* o) { return static_cast<T*>(o)->JSON(); }
  static void SetJSON(TObject* o, StringView v) { static_cast<T*>(o)->SetJSON(v); }
  static void SaveFile(TObject* o, const String& f) { static_cast<T*>(o)->SaveToJSONFile(f); }
  static void LoadFile(TObject* o, const String& f) { static_cast<T*>(o)->LoadFromJSONFile(f); }
  static void SaveStream(TObject* o, TStream* s) { static_cast<T*>(o)->SaveToJSONStream(s); }
  static void LoadStream(TObject* o, TStream* s) { static_cast<T*>(o)->LoadFromJSONStream(s); }
};

template <class T>
class AdvGraphicsJSON : public gdiplus_runtime_test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    TAdvPersistence::Initialize();
  }
  std::unique_ptr<T> Make() {
    if constexpr (std::is_same_v<T, TAdvGraphicsColorObject>)
      return std::make_unique<T>(0x123456);
    else
      return std::make_unique<T>(nullptr);
  }
  using Ops = TGraphicsJSONOps<T>;
};

using GraphicsJSONClasses = ::testing::Types<TAdvGraphicsContextGeneral, TAdvGraphicsContextWin, TAdvGraphicsColorObject>;
TYPED_TEST_SUITE(AdvGraphicsJSON, GraphicsJSONClasses);

TYPED_TEST(AdvGraphicsJSON, TextIsThePersistenceLayersAndReadsBack) {
  using Ops = typename TestFixture::Ops;
  auto object = this->Make();
  const String text = Ops::ToJSON(object.get());
  EXPECT_EQ(text, ::ToJSON(object.get()));
  EXPECT_EQ(Ops::JSON(object.get()), text);
  // The type key names the object's own class.
  EXPECT_EQ(text, u"{\"$type\":\"" + object->ClassName() + u"\"}");

  // Written text reads back through every road.
  EXPECT_NO_THROW(Ops::FromJSON(object.get(), text));
  EXPECT_NO_THROW(Ops::SetJSON(object.get(), u"{}"));
  TMemoryStream stream;
  Ops::SaveStream(object.get(), &stream);
  EXPECT_EQ(stream.Size(), static_cast<Int64>(StringToUtf8(text).size()));
  EXPECT_NO_THROW(Ops::LoadStream(object.get(), &stream));
  test_support::TTempDir dir;
  const String file = dir.File("context.json");
  Ops::SaveFile(object.get(), file);
  EXPECT_NO_THROW(Ops::LoadFile(object.get(), file));
  EXPECT_EQ(Ops::ToJSON(object.get()), text);
}

TYPED_TEST(AdvGraphicsJSON, FailuresPassThroughAndLeaveTheLayerAsItWas) {
  using Ops = typename TestFixture::Ops;
  auto object = this->Make();
  const TAdvExcludePropertyListArray kept{u"Tag"};
  TAdvPersistence::SetExcludeProperties(kept);
  Ops::ToJSONExcluding(object.get(), {u"Color"});
  EXPECT_EQ(TAdvPersistence::ExcludeProperties(), kept);
  TAdvPersistence::SetExcludeProperties({});

  EXPECT_ANY_THROW(Ops::FromJSON(object.get(), u"{\"a\":"));
  EXPECT_ANY_THROW(Ops::SetJSON(object.get(), u"[1,"));
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"$type");
  EXPECT_EQ(TAdvPersistence::IOReference(), nullptr);

  test_support::TTempDir dir;
  EXPECT_THROW(Ops::LoadFile(object.get(), dir.File("missing.json")), EFOpenError);
  EXPECT_THROW(Ops::SaveFile(object.get(), dir.File("no/such/folder/x.json")), EFCreateError);
}

}  // namespace
