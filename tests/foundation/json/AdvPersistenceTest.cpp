#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "foundation/json/AdvPersistence.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/List.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Graphic.h"

namespace {

enum TJsonAlign { jaNone, jaLeft, jaRight, jaClient };
enum TJsonStyle { jsBold, jsItalic, jsUnderline };
using TJsonStyles = TSet<TJsonStyle>;

class TJsonFont : public TPersistent {
 public:
  Integer Size = 8;
  String Name = u"Tahoma";
  void Assign(TPersistent* Source) override {
    if (auto* f = dynamic_cast<TJsonFont*>(Source)) {
      Size = f->Size;
      Name = f->Name;
      return;
    }
    TPersistent::Assign(Source);
  }
};

// Declared under the class library's font name: its "Size" carries the IsFMX marker.
class TFontLike : public TPersistent {
 public:
  Integer Size = 10;
};

class TJsonItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  String Text;
  Integer Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* i = dynamic_cast<TJsonItem*>(Source)) {
      Text = i->Text;
      Value = i->Value;
      return;
    }
    TCollectionItem::Assign(Source);
  }
};

class TJsonSample : public TComponent {
 public:
  explicit TJsonSample(TComponent* AOwner)
      : TComponent(AOwner), FItems(TCollectionItemClass::Of<TJsonItem>()) {}

  String Caption;
  bool Enabled = true;
  Integer Count = 0;
  Integer Color = 0;
  Integer Back = -1;
  TJsonAlign Align = jaNone;
  TJsonStyles Styles;
  double Ratio = 0;
  TDateTime When = 0;
  Int64 Big = 0;
  Char Letter = u'a';
  std::string Ansi;
  String Wide = u"unchanged";
  Cardinal Mask = 0;
  Integer ReadOnlyValue() const { return 42; }
  TJsonFont* Font() const { return const_cast<TJsonFont*>(&FFont); }
  TFontLike* Font2() const { return const_cast<TFontLike*>(&FFont2); }
  TComponent* Buddy = nullptr;
  TCollection* Items() const { return const_cast<TCollection*>(&FItems); }
  TStringList* Lines() const { return const_cast<TStringList*>(&FLines); }
  TNotifyEvent OnClick;

 private:
  TJsonFont FFont;
  TFontLike FFont2;
  TCollection FItems;
  TStringList FLines;
};

// The root of a window: owns components and publishes the handlers events name.
class TJsonForm : public TComponent {
 public:
  using TComponent::TComponent;
  void ButtonClick(TObject* Sender) { Clicked = Sender; }
  TObject* Clicked = nullptr;
};

void DeclareClasses() {
  RegisterEnum<TJsonAlign>(u"TJsonAlign", {u"jaNone", u"jaLeft", u"jaRight", u"jaClient"});
  RegisterEnum<TJsonStyle>(u"TJsonStyle", {u"jsBold", u"jsItalic", u"jsUnderline"});
  TClassInfo::Of<TJsonFont, TPersistent>(u"TJsonFont")
      .Property(u"Size", &TJsonFont::Size, &TJsonFont::Size)
      .Property(u"Name", &TJsonFont::Name, &TJsonFont::Name);
  TClassInfo::Of<TFontLike, TPersistent>(u"TFont").Property(u"Size", &TFontLike::Size, &TFontLike::Size);
  TClassInfo::Of<TJsonItem, TCollectionItem>(u"TJsonItem")
      .Property(u"Text", &TJsonItem::Text, &TJsonItem::Text)
      .Property(u"Value", &TJsonItem::Value, &TJsonItem::Value);
  TClassInfo::Of<TJsonSample, TComponent>(u"TJsonSample")
      .Property(u"Caption", &TJsonSample::Caption, &TJsonSample::Caption)
      .Property(u"Enabled", &TJsonSample::Enabled, &TJsonSample::Enabled)
      .Property(u"Count", &TJsonSample::Count, &TJsonSample::Count)
      .Property(u"Color", &TJsonSample::Color, &TJsonSample::Color).TypeName(u"TColor")
      .Property(u"Back", &TJsonSample::Back, &TJsonSample::Back).TypeName(u"TColor")
      .Property(u"Align", &TJsonSample::Align, &TJsonSample::Align)
      .Property(u"Styles", &TJsonSample::Styles, &TJsonSample::Styles).TypeName(u"TJsonStyles")
      .Property(u"Ratio", &TJsonSample::Ratio, &TJsonSample::Ratio)
      .Property(u"When", &TJsonSample::When, &TJsonSample::When).TypeName(u"TDateTime")
      .Property(u"Big", &TJsonSample::Big, &TJsonSample::Big)
      .Property(u"Letter", &TJsonSample::Letter, &TJsonSample::Letter)
      .Property(u"Ansi", &TJsonSample::Ansi, &TJsonSample::Ansi)
      .Property(u"Wide", &TJsonSample::Wide, &TJsonSample::Wide).TypeName(u"WideString")
      .Property(u"Mask", &TJsonSample::Mask, &TJsonSample::Mask)
      .Property(u"ReadOnlyValue", &TJsonSample::ReadOnlyValue)
      .Property(u"Font", &TJsonSample::Font)
      .Property(u"Font2", &TJsonSample::Font2)
      .Property(u"Buddy", &TJsonSample::Buddy, &TJsonSample::Buddy)
      .Property(u"Items", &TJsonSample::Items)
      .Property(u"Lines", &TJsonSample::Lines)
      .Event(u"OnClick", &TJsonSample::OnClick);
  TClassInfo::Of<TJsonForm, TComponent>(u"TJsonForm").Method(u"ButtonClick", &TJsonForm::ButtonClick);
  RegisterClasses({ClassInfoOf<TJsonSample>(), ClassInfoOf<TJsonItem>(), ClassInfoOf<TJsonFont>()});
}

class AdvPersistence : public ::testing::Test {
 protected:
  void SetUp() override {
    DeclareClasses();
    TAdvPersistence::Initialize();
    TAdvPersistence::SetIOReference(nullptr);
    TAdvPersistence::SetRootObject(nullptr);
    TAdvPersistence::SetExcludeProperties({});
    FSettings = FormatSettings;
  }
  void TearDown() override {
    TAdvPersistence::SetIOReference(nullptr);
    TAdvPersistence::SetRootObject(nullptr);
    TAdvPersistence::SetExcludeProperties({});
    TAdvPersistence::OnCustomWriteProperty() = nullptr;
    TAdvPersistence::OnCustomReadProperty() = nullptr;
    TAdvPersistence::Initialize();
    FormatSettings = FSettings;
  }

  static std::string Save(TObject* o) {
    TBytesStream s;
    TAdvPersistence::SaveSettingsToStream(o, &s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
  }
  static void Load(TObject* o, const std::string& json) {
    TBytesStream s(TBytes(json.begin(), json.end()));
    TAdvPersistence::LoadSettingsFromStream(o, &s);
  }

  // Fills every kind of property with a value other than its default.
  static void Fill(TJsonSample& s) {
    s.Caption = u"Caf\u00E9 \"quoted\"";
    s.Enabled = false;
    s.Count = -7;
    s.Color = 0x0000FF;  // red
    s.Back = 0x123456;
    s.Align = jaRight;
    s.Styles = TJsonStyles{jsBold, jsUnderline};
    s.Ratio = 1.5;
    s.When = 45000.25;
    s.Big = 0x123456789ABLL;
    s.Letter = u'Z';
    s.Ansi = "ansi";
    s.Wide = u"changed";
    s.Mask = 0xFFFFFFF0u;
    s.Font()->Size = 12;
    s.Font()->Name = u"Arial";
    s.Font2()->Size = 16;
    auto* a = static_cast<TJsonItem*>(s.Items()->Add());
    a->Text = u"one";
    a->Value = 1;
    auto* b = static_cast<TJsonItem*>(s.Items()->Add());
    b->Text = u"two";
    b->Value = 2;
    s.Lines()->Add(u"first");
    s.Lines()->Add(u"second");
  }

  TFormatSettings FSettings;
};

TEST_F(AdvPersistence, WritesEveryKindByteForByte) {
  TJsonSample s(nullptr);
  Fill(s);
  s.SetName(u"Sample1");
  EXPECT_EQ(Save(&s),
            "{\"$type\":\"TJsonSample\",\"Align\":2,\"Ansi\":\"ansi\",\"Back\":\"#563412\",\"Big\":1250999896491,"
            "\"Buddy\":\"\",\"Caption\":\"Caf\\u00E9 \\u0022quoted\\u0022\",\"Color\":\"#FF0000\",\"Count\":-7,"
            "\"Enabled\":false,\"Font\":{\"$type\":\"TJsonFont\",\"Name\":\"Arial\",\"Size\":12},"
            "\"Font2\":{\"$type\":\"TFont\",\"Size\":16,\"IsFMX\":false},"
            "\"Items\":[{\"$type\":\"TJsonItem\",\"Text\":\"one\",\"Value\":1},"
            "{\"$type\":\"TJsonItem\",\"Text\":\"two\",\"Value\":2}],"
            "\"Letter\":\"Z\",\"Lines\":[\"first\",\"second\"],\"Mask\":4294967280,\"Name\":\"Sample1\","
            "\"OnClick\":null,\"Ratio\":1.5,\"ReadOnlyValue\":42,\"Styles\":5,\"Tag\":0,\"When\":45000.25,"
            "\"Wide\":null}");
}

TEST_F(AdvPersistence, EveryKindRoundTrips) {
  TJsonSample s(nullptr);
  Fill(s);
  const std::string json = Save(&s);

  TJsonSample t(nullptr);
  t.Items()->Add();  // reading replaces the items
  t.Lines()->Add(u"old");
  Load(&t, json);
  EXPECT_EQ(t.Caption, s.Caption);
  EXPECT_EQ(t.Enabled, false);
  EXPECT_EQ(t.Count, -7);
  EXPECT_EQ(t.Color, 0x0000FF);
  EXPECT_EQ(t.Back, 0x123456);
  EXPECT_EQ(t.Align, jaRight);
  EXPECT_EQ(t.Styles, s.Styles);
  EXPECT_DOUBLE_EQ(t.Ratio, 1.5);
  EXPECT_DOUBLE_EQ(t.When, 45000.25);
  EXPECT_EQ(t.Big, 0x123456789ABLL);  // beyond 32 bits
  EXPECT_EQ(t.Letter, u'Z');
  EXPECT_EQ(t.Ansi, "ansi");
  EXPECT_EQ(t.Wide, u"unchanged");  // written as null, left alone
  EXPECT_EQ(t.Mask, 0xFFFFFFF0u);
  EXPECT_EQ(t.Font()->Size, 12);
  EXPECT_EQ(t.Font()->Name, u"Arial");
  EXPECT_EQ(t.Font2()->Size, 16);
  ASSERT_EQ(t.Items()->Count(), 2);
  EXPECT_EQ(static_cast<TJsonItem*>(t.Items()->Items(1))->Text, u"two");
  EXPECT_EQ(static_cast<TJsonItem*>(t.Items()->Items(1))->Value, 2);
  ASSERT_EQ(t.Lines()->Count(), 2);
  EXPECT_EQ(t.Lines()->Strings(0), u"first");
  EXPECT_EQ(Save(&t), json);
}

TEST_F(AdvPersistence, Colours) {
  struct Case { Integer color; std::string text; Integer readBack; };
  const Case cases[] = {
      {-1, "gcNull", -1},
      {0x0000FF, "#FF0000", 0x0000FF},
      {0x00FF00, "#00FF00", 0x00FF00},
      {0x1FFFFFFF, "#FFFFFF", 0xFFFFFF},  // clNone keeps its low bytes: white
      {static_cast<Integer>(0xFF000005), "#FFFFFF", 0xFFFFFF},  // the window colour's current value
      {static_cast<Integer>(0xFF00000D), "#0078D7", 0xD77800},  // highlight
  };
  for (const auto& c : cases) {
    TJsonSample s(nullptr);
    s.Color = c.color;
    const std::string json = Save(&s);
    EXPECT_NE(json.find("\"Color\":\"" + c.text + "\""), std::string::npos) << json;
    TJsonSample t(nullptr);
    Load(&t, json);
    EXPECT_EQ(t.Color, c.readBack) << c.text;
  }
  TJsonSample t(nullptr);
  EXPECT_THROW(Load(&t, "{\"$type\":\"TJsonSample\",\"Color\":\"#12\"}"), EConvertError);
  EXPECT_THROW(Load(&t, "{\"$type\":\"TJsonSample\",\"Color\":\"#GG0000\"}"), EConvertError);
}

TEST_F(AdvPersistence, EnumerationsAndSetsReadNumbersOrNames) {
  TJsonSample t(nullptr);
  Load(&t, "{\"$type\":\"TJsonSample\",\"Align\":3,\"Styles\":2}");
  EXPECT_EQ(t.Align, jaClient);
  EXPECT_EQ(t.Styles, TJsonStyles{jsItalic});
  Load(&t, "{\"$type\":\"TJsonSample\",\"Align\":\"jaLeft\",\"Styles\":\"[jsBold,jsUnderline]\"}");
  EXPECT_EQ(t.Align, jaLeft);
  EXPECT_EQ(t.Styles, (TJsonStyles{jsBold, jsUnderline}));
  EXPECT_THROW(Load(&t, "{\"$type\":\"TJsonSample\",\"Align\":9}"), ERangeError);
  EXPECT_THROW(Load(&t, "{\"$type\":\"TJsonSample\",\"Align\":\"jaNowhere\"}"), EConvertError);
}

TEST_F(AdvPersistence, EventsAndComponentReferencesThroughTheRoot) {
  TJsonForm form(nullptr);
  auto* sample = new TJsonSample(&form);
  sample->SetName(u"Sample1");
  auto* buddy = new TJsonSample(&form);
  buddy->SetName(u"Buddy1");
  sample->Buddy = buddy;
  sample->OnClick = std::any_cast<TNotifyEvent>(ClassInfoOf<TJsonForm>()->MethodAddress(u"ButtonClick")->Bind(&form));

  // Without a root object the handler has no name: null.
  std::string json = Save(sample);
  EXPECT_NE(json.find("\"OnClick\":null"), std::string::npos);
  EXPECT_NE(json.find("\"Buddy\":\"Buddy1\""), std::string::npos);

  TAdvPersistence::SetRootObject(&form);
  json = Save(sample);
  EXPECT_NE(json.find("\"OnClick\":\"ButtonClick\""), std::string::npos) << json;

  TJsonSample copy(nullptr);
  Load(&copy, json);
  EXPECT_EQ(copy.Buddy, buddy);
  ASSERT_TRUE(static_cast<bool>(copy.OnClick));
  copy.OnClick(&copy);
  EXPECT_EQ(form.Clicked, &copy);

  // An unknown handler name clears the event; without a root the value must be null.
  Load(&copy, "{\"$type\":\"TJsonSample\",\"OnClick\":\"Nope\",\"Buddy\":\"Missing\"}");
  EXPECT_FALSE(static_cast<bool>(copy.OnClick));
  EXPECT_EQ(copy.Buddy, nullptr);
  TAdvPersistence::SetRootObject(nullptr);
  EXPECT_THROW(Load(&copy, "{\"$type\":\"TJsonSample\",\"OnClick\":\"ButtonClick\"}"),
               TAdvJSONReader::EInvalidStateException);
}

TEST_F(AdvPersistence, TypeKeyAndUnknownMembers) {
  TJsonSample s(nullptr);
  s.Count = 5;
  TAdvPersistence::SetTypeKey(u"");
  const std::string json = Save(&s);
  EXPECT_EQ(json.find("$type"), std::string::npos);
  TJsonSample t(nullptr);
  Load(&t, "{\"Unknown\":{\"deep\":[1,{\"x\":null}]},\"Count\":9,\"Other\":\"x\"}");
  EXPECT_EQ(t.Count, 9);
  TAdvPersistence::SetTypeKey(u"$type");
  try {
    Load(&t, "{\"Count\":9}");
    ADD_FAILURE();
  } catch (const EAdvReaderException& e) {
    EXPECT_EQ(e.Message(), u"\"$type property not found in Object descriptor.");
  }
  EXPECT_THROW(Load(&t, "{}"), EAdvReaderException);
  // Nulls leave properties alone; a read-only property's value is read and dropped.
  t.Count = 3;
  Load(&t, "{\"$type\":\"x\",\"Count\":null,\"ReadOnlyValue\":7,\"Items\":[]}");
  EXPECT_EQ(t.Count, 3);
}

TEST_F(AdvPersistence, CollectionsAreClearedAndRecreatedFromTypeNames) {
  TJsonSample t(nullptr);
  t.Items()->Add();
  Load(&t, "{\"$type\":\"TJsonSample\",\"Items\":[]}");
  EXPECT_EQ(t.Items()->Count(), 0);
  Load(&t, "{\"$type\":\"TJsonSample\",\"Items\":[null,{\"$type\":\"TJsonItem\",\"Value\":4}]}");
  ASSERT_EQ(t.Items()->Count(), 1);
  EXPECT_EQ(static_cast<TJsonItem*>(t.Items()->Items(0))->Value, 4);

  struct Case { std::string items; std::string message; };
  const Case cases[] = {
      {"[{\"$type\":\"TNoSuchClass\"}]", "Type \"TNoSuchClass\" not found"},
      {"[{\"Value\":1}]", "\"$type property not found in Object descriptor."},
  };
  for (const auto& c : cases) {
    try {
      Load(&t, "{\"$type\":\"TJsonSample\",\"Items\":" + c.items + "}");
      ADD_FAILURE() << c.items;
    } catch (const Exception& e) {
      EXPECT_EQ(StringToUtf8(e.Message()), c.message);
    }
  }
  EXPECT_THROW(Load(&t, "{\"$type\":\"TJsonSample\",\"Items\":null}"), TAdvJSONReader::EInvalidStateException);
}

TEST_F(AdvPersistence, CreateObjectByName) {
  auto item = TAdvPersistence::CreateObject(u"TJsonItem", ClassInfoOf<TCollectionItem>());
  EXPECT_TRUE(dynamic_cast<TJsonItem*>(item.get()) != nullptr);
  auto sample = TAdvPersistence::CreateObject(u"TJsonSample", nullptr);
  EXPECT_EQ(static_cast<TComponent*>(sample.get())->Owner(), nullptr);
  struct Case { String name; TClass base; std::string message; };
  const Case cases[] = {
      {u"TNope", nullptr, "Type \"TNope\" not found"},
      {u"TJsonItem", ClassInfoOf<TComponent>(), "Type \"TJsonItem\" does not inherit from TComponent"},
  };
  for (const auto& c : cases) {
    try {
      TAdvPersistence::CreateObject(c.name, c.base);
      ADD_FAILURE();
    } catch (const EAdvReaderException& e) {
      EXPECT_EQ(StringToUtf8(e.Message()), c.message);
    }
  }
}

TEST_F(AdvPersistence, FontSizeMarker) {
  // Pixels back to points, rounded half to even as the class library rounds.
  struct Case { int size; bool fmx; int expected; };
  const Case cases[] = {{16, true, 12}, {16, false, 16}, {6, true, 4}, {10, true, 8}, {2, true, 2}};
  for (const auto& c : cases) {
    TJsonSample t(nullptr);
    Load(&t, "{\"$type\":\"TJsonSample\",\"Font2\":{\"$type\":\"TFont\",\"Size\":" + std::to_string(c.size) +
                 ",\"IsFMX\":" + (c.fmx ? "true" : "false") + "}}");
    EXPECT_EQ(t.Font2()->Size, c.expected) << c.size;
  }
}

// Pictures and plain bitmaps are stored as the hex text of their graphic's bytes.
class TJsonPictures : public TPersistent {
 public:
  TPicture* Picture() const { return const_cast<TPicture*>(&FPicture); }
  TBitmap* Bitmap() const { return const_cast<TBitmap*>(&FBitmap); }

 private:
  TPicture FPicture;
  TBitmap FBitmap;
};

TEST_F(AdvPersistence, PicturesAsHexOfTheirGraphic) {
  EnsureGuiApplication();
  TClassInfo::Of<TGraphic, TPersistent>(u"TGraphic");
  TClassInfo::Of<TBitmap, TGraphic>(u"TBitmap");
  TClassInfo::Of<TPicture, TPersistent>(u"TPicture");
  TClassInfo::Of<TJsonPictures, TPersistent>(u"TJsonPictures")
      .Property(u"Bitmap", &TJsonPictures::Bitmap)
      .Property(u"Picture", &TJsonPictures::Picture);
  TAdvPersistence::SetTypeKey(u"");

  TJsonPictures empty;
  EXPECT_EQ(Save(&empty), "{\"Bitmap\":\"\",\"Picture\":\"\"}");

  TJsonPictures s;
  TBitmap pic(2, 1);
  pic.Canvas()->SetPixels(1, 0, 0x0000FF);
  s.Picture()->SetGraphic(&pic);
  s.Bitmap()->SetSize(1, 2);
  s.Bitmap()->Canvas()->SetPixels(0, 1, 0x00FF00);
  const std::string json = Save(&s);
  EXPECT_EQ(json.rfind("{\"Bitmap\":\"424D", 0), 0u) << json;  // "BM": a bitmap file
  EXPECT_NE(json.find("\"Picture\":\"424D"), std::string::npos) << json;

  TJsonPictures t;
  Load(&t, json);
  ASSERT_NE(t.Picture()->Graphic(), nullptr);
  EXPECT_EQ(t.Picture()->Width(), 2);
  EXPECT_EQ(t.Picture()->Bitmap()->Canvas()->Pixels(1, 0), 0x0000FF);
  EXPECT_EQ(t.Bitmap()->Height(), 2);
  EXPECT_EQ(t.Bitmap()->Canvas()->Pixels(0, 1), 0x00FF00);
  EXPECT_EQ(Save(&t), json);

  // Null and empty text leave a picture as it is; text that is no hex raises.
  Load(&t, "{\"Bitmap\":null,\"Picture\":\"\"}");
  EXPECT_EQ(t.Picture()->Width(), 2);
  EXPECT_EQ(t.Bitmap()->Height(), 2);
  EXPECT_THROW(Load(&t, "{\"Picture\":\"42ZZ\"}"), EConvertError);
}

// Generic containers are told apart by their class names alone.
class TIntListLike : public TObject {};
class TIntListChild : public TIntListLike {};
class TDictLike : public TObject {};

TEST_F(AdvPersistence, GenericContainerNames) {
  const TClass list = TClassInfo::Of<TIntListLike, TObject>(u"TList<System.Integer>");
  const TClass child = TClassInfo::Of<TIntListChild, TIntListLike>(u"TIntegers");
  const TClass dict = TClassInfo::Of<TDictLike, TObject>(u"TObjectDictionary<System.string,TJsonFont>");
  EXPECT_TRUE(TAdvPersistence::IsGenericList(list, u""));
  EXPECT_TRUE(TAdvPersistence::IsGenericList(child, u"integer"));
  EXPECT_FALSE(TAdvPersistence::IsGenericList(child, u"String"));
  EXPECT_FALSE(TAdvPersistence::IsGenericList(ClassInfoOf<TList>(), u""));
  EXPECT_FALSE(TAdvPersistence::IsGenericList(dict, u""));
  EXPECT_TRUE(TAdvPersistence::IsGenericDictionary(dict));
  EXPECT_FALSE(TAdvPersistence::IsGenericDictionary(list));
}

TEST_F(AdvPersistence, SettingsIgnoreTheLocaleAndRestoreIt) {
  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  TJsonSample s(nullptr);
  s.Ratio = 1.5;
  EXPECT_NE(Save(&s).find("\"Ratio\":1.5"), std::string::npos);
  EXPECT_EQ(FormatSettings.DecimalSeparator, u',');
  EXPECT_THROW(Load(&s, "{\"$type\":\"TJsonSample\",\"Ratio\":\"x\"}"), EConvertError);
  EXPECT_EQ(FormatSettings.DecimalSeparator, u',');
  EXPECT_EQ(FormatSettings.ThousandSeparator, u'.');
}

TEST_F(AdvPersistence, StreamPositions) {
  TJsonSample a(nullptr), b(nullptr);
  a.Count = 1;
  b.Count = 2;
  TBytesStream stream;
  TAdvPersistence::SaveSettingsToStream(&a, &stream);
  const Int64 first = stream.Size();
  TAdvPersistence::SaveSettingsToStream(&b, &stream);  // appended: two root values
  EXPECT_GT(stream.Size(), first);
  TJsonSample t(nullptr);
  stream.SetPosition(stream.Size());  // loading starts from 0 anyway
  TAdvPersistence::LoadSettingsFromStream(&t, &stream);
  EXPECT_EQ(t.Count, 1);  // the first value; what follows is not looked at
}

TEST_F(AdvPersistence, FilesAndPerObjectOperations) {
  TJsonSample s(nullptr);
  Fill(s);
  const String file = TAdvUtils::GetTempPath() + u"ryx-json-settings-" + IntToStr(::getpid()) + u".json";
  SaveToJSONFile(&s, file);
  TJsonSample t(nullptr);
  LoadFromJSONFile(&t, file);
  EXPECT_EQ(t.Caption, s.Caption);
  EXPECT_EQ(t.Items()->Count(), 2);
  std::filesystem::remove(StringToUtf8(file));
  EXPECT_THROW(LoadFromJSONFile(&t, file), EFOpenError);

  // ToJSON with an excluded property leaves it out once.
  const String text = ToJSON(&s, {u"caption", u"Items"});
  EXPECT_EQ(text.find(u"Caption"), String::npos);
  EXPECT_EQ(text.find(u"Items"), String::npos);
  EXPECT_NE(ToJSON(&s).find(u"\"Caption\""), String::npos);
  EXPECT_EQ(JSON(&s), ToJSON(&s));

  // FromJSON of the object's own text: simple properties and the collection's
  // items come back; the type key and IO reference are restored afterwards.
  TJsonSample u(nullptr);
  FromJSON(&u, ToJSON(&s));
  EXPECT_EQ(u.Caption, s.Caption);
  EXPECT_EQ(u.Align, jaRight);
  ASSERT_EQ(u.Items()->Count(), 2);
  EXPECT_EQ(static_cast<TJsonItem*>(u.Items()->Items(0))->Text, u"one");
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"$type");
  EXPECT_EQ(TAdvPersistence::IOReference(), nullptr);
  EXPECT_THROW(FromJSON(&u, u"{\"Count\":"), Exception);
  EXPECT_EQ(TAdvPersistence::TypeKey(), u"$type");
  SetJSON(&u, u"{\"Count\":77}");
  EXPECT_EQ(u.Count, 77);

  // Text given to FromJSON keeps every character, also outside 8-bit text.
  FromJSON(&u, u"{\"Caption\":\"\u20AC \u65E5\u672C \u00E9\"}");
  EXPECT_EQ(u.Caption, u"\u20AC \u65E5\u672C \u00E9");
  EXPECT_NE(ToJSON(&u).find(u"\"Caption\":\"\\u20AC \\u65E5\\u672C \\u00E9\""), String::npos);

  // An item that fails to read is not left half-read in the collection.
  TJsonSample w(nullptr);
  EXPECT_THROW(FromJSON(&w, u"{\"Items\":[{\"Value\":1},{\"Text\":\"half\",\"Value\":\"x\"}]}"), EConvertError);
  ASSERT_EQ(w.Items()->Count(), 1);
  EXPECT_EQ(static_cast<TJsonItem*>(w.Items()->Items(0))->Value, 1);

  TBytesStream stream;
  SaveToJSONStream(&s, &stream);
  TJsonSample v(nullptr);
  LoadFromJSONStream(&v, &stream);
  EXPECT_EQ(v.Big, s.Big);
}

// An application's resolver: objects of TJsonFont are written as ids.
class TFontResolver : public TObject, public IAdvObjectResolver {
 public:
  TJsonFont Shared;
  TObject* CreateObject(const String& AClassName, TClass ABaseClass) override {
    return TAdvPersistence::CreateObject(AClassName, ABaseClass).release();
  }
  bool IsReferenceClass(TClass AClass) override { return AClass == ClassInfoOf<TJsonFont>(); }
  String GetReferenceId(TObject*) override { return u"font#1"; }
  TObject* ResolveReference(const String& AId) override { return AId == u"font#1" ? &Shared : nullptr; }
  void ObjectReadIntoList(TObject*, TObject*) override {}
};

class TFontHolder : public TPersistent {
 public:
  TJsonFont* Font = nullptr;
};

TEST_F(AdvPersistence, ReferencesAndCustomHooks) {
  TClassInfo::Of<TFontHolder, TPersistent>(u"TFontHolder").Property(u"Font", &TFontHolder::Font, &TFontHolder::Font);
  TFontResolver resolver;
  TAdvPersistence::SetIOReference(&resolver);
  TJsonFont font;
  TFontHolder holder;
  holder.Font = &font;
  TAdvPersistence::SetTypeKey(u"");
  EXPECT_EQ(Save(&holder), "{\"Font\":\"font#1\"}");

  TFontHolder back;
  TBytesStream s(TBytes{'{', '"', 'F', 'o', 'n', 't', '"', ':', '"', 'f', 'o', 'n', 't', '#', '1', '"', '}'});
  TAdvReader reader(&s);
  reader.SetIOReference(&resolver);
  reader.Read(&back);
  EXPECT_EQ(back.Font, nullptr);  // pending until solved
  reader.SolveReferences();
  EXPECT_EQ(back.Font, &resolver.Shared);

  // The custom hooks write and read a property themselves.
  TAdvPersistence::SetIOReference(nullptr);
  TAdvPersistence::OnCustomWriteProperty() = [](TObject*, const String& n, TTypeKind, TAdvJSONWriter* w, bool& can) {
    if (n == u"Count") {
      w->WriteName(u"Count").WriteString(u"custom");
      can = false;
    }
  };
  TAdvPersistence::OnCustomReadProperty() = [](TObject* o, const String& n, TTypeKind, TAdvJSONReader* r, bool& can) {
    if (n == u"Count") {
      static_cast<TJsonSample*>(o)->Count = r->ReadString() == u"custom" ? 1234 : -1;
      can = false;
    }
  };
  TJsonSample a(nullptr), b(nullptr);
  const std::string json = Save(&a);
  EXPECT_NE(json.find("\"Count\":\"custom\""), std::string::npos);
  Load(&b, json);
  EXPECT_EQ(b.Count, 1234);
}

}  // namespace
