#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypInfo.h"

namespace {

enum TRttiAlign { raNone, raTop, raBottom, raClient };
enum TRttiStyle { rsBold, rsItalic, rsUnderline, rsStrikeOut };
using TRttiStyles = TSet<TRttiStyle>;
using TValueEvent = std::function<void(TObject* Sender, int Value)>;

class TRttiFont : public TPersistent {
 public:
  Integer Size() const { return FSize; }
  void SetSize(Integer v) { FSize = v; }
  void Assign(TPersistent* Source) override {
    if (auto* f = dynamic_cast<TRttiFont*>(Source)) {
      FSize = f->FSize;
      return;
    }
    TPersistent::Assign(Source);
  }

 private:
  Integer FSize = 8;
};

class TRttiBase : public TComponent {
 public:
  using TComponent::TComponent;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  Integer Width() const { return FWidth; }
  void SetWidth(Integer v) { FWidth = v; }

 private:
  String FCaption;
  bool FEnabled = true;
  Integer FWidth = 10;
};

class TRttiWidget : public TRttiBase {
 public:
  explicit TRttiWidget(TComponent* owner) : TRttiBase(owner), FFont(std::make_unique<TRttiFont>()) {}

  TRttiAlign Align() const { return FAlign; }
  void SetAlign(TRttiAlign v) { FAlign = v; }
  TRttiStyles Styles() const { return FStyles; }
  void SetStyles(TRttiStyles v) { FStyles = v; }
  Single Ratio() const { return FRatio; }
  void SetRatio(Single v) { FRatio = v; }
  TDateTime When() const { return FWhen; }
  void SetWhen(TDateTime v) { FWhen = v; }
  Int64 Big() const { return FBig; }
  void SetBig(Int64 v) { FBig = v; }
  Char Letter() const { return FLetter; }
  void SetLetter(Char v) { FLetter = v; }
  Byte Small() const { return FSmall; }
  void SetSmall(Byte v) { FSmall = v; }
  TRttiFont* Font() const { return FFont.get(); }
  void SetFont(TRttiFont* v) { FFont->Assign(v); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* v) { FBuddy = v; }
  Integer Count() const { return 3; }
  bool ScaleStored() const { return FScale != 1.0; }
  double Scale() const { return FScale; }
  void SetScale(double v) { FScale = v; }

  std::string Ansi;
  String Wide;
  Integer Color = 0xFFFFFF;
  TNotifyEvent OnClick;
  TValueEvent OnValue;

  void HandleClick(TObject* Sender) { Clicks.push_back(Sender); }
  void HandleValue(TObject*, int value) { Values.push_back(value); }
  std::vector<TObject*> Clicks;
  std::vector<int> Values;

 protected:
  // Clear a reference to a component that goes away.
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TRttiBase::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
  }

 private:
  TRttiAlign FAlign = raNone;
  TRttiStyles FStyles;
  Single FRatio = 0;
  TDateTime FWhen = 0;
  Int64 FBig = 0;
  Char FLetter = u'a';
  Byte FSmall = 0;
  std::unique_ptr<TRttiFont> FFont;
  TComponent* FBuddy = nullptr;
  double FScale = 1.0;
};

// A class that is not declared: it answers as its nearest declared ancestor.
class TRttiUndeclared : public TRttiWidget {
 public:
  using TRttiWidget::TRttiWidget;
};

class TRttiAbstract : public TComponent {
 public:
  using TComponent::TComponent;
  virtual void Pure() = 0;
};

class TRttiItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  Integer Value = 0;
};

class TRttiPlain : public TPersistent {};

void DeclareTestClasses() {
  RegisterEnum<TRttiAlign>(u"TRttiAlign", {u"raNone", u"raTop", u"raBottom", u"raClient"});
  RegisterEnum<TRttiStyle>(u"TRttiStyle", {u"rsBold", u"rsItalic", u"rsUnderline", u"rsStrikeOut"});
  // The widget is declared before its base: order does not matter.
  TClassInfo::Of<TRttiWidget, TRttiBase>(u"TRttiWidget")
      .Property(u"Align", &TRttiWidget::Align, &TRttiWidget::SetAlign).Default(raNone)
      .Property(u"Styles", &TRttiWidget::Styles, &TRttiWidget::SetStyles).TypeName(u"TRttiStyles").Default(TRttiStyles{})
      .Property(u"Ratio", &TRttiWidget::Ratio, &TRttiWidget::SetRatio)
      .Property(u"When", &TRttiWidget::When, &TRttiWidget::SetWhen).TypeName(u"TDateTime")
      .Property(u"Big", &TRttiWidget::Big, &TRttiWidget::SetBig)
      .Property(u"Letter", &TRttiWidget::Letter, &TRttiWidget::SetLetter)
      .Property(u"Small", &TRttiWidget::Small, &TRttiWidget::SetSmall)
      .Property(u"Font", &TRttiWidget::Font, &TRttiWidget::SetFont)
      .Property(u"Buddy", &TRttiWidget::Buddy, &TRttiWidget::SetBuddy)
      .Property(u"Count", &TRttiWidget::Count)
      .Property(u"Scale", &TRttiWidget::Scale, &TRttiWidget::SetScale).Stored(&TRttiWidget::ScaleStored)
      .Property(u"Ansi", &TRttiWidget::Ansi, &TRttiWidget::Ansi)
      .Property(u"Wide", &TRttiWidget::Wide, &TRttiWidget::Wide).TypeName(u"WideString")
      .Property(u"Color", &TRttiWidget::Color, &TRttiWidget::Color).TypeName(u"TColor").Default(0xFFFFFF)
      // Declared again with another default: keeps its inherited place.
      .Property(u"Width", &TRttiWidget::Width, &TRttiWidget::SetWidth).Default(10)
      .Event(u"OnClick", &TRttiWidget::OnClick)
      .Event(u"OnValue", &TRttiWidget::OnValue).TypeName(u"TValueEvent")
      .Method(u"HandleClick", &TRttiWidget::HandleClick)
      .Method(u"HandleValue", &TRttiWidget::HandleValue);
  TClassInfo::Of<TRttiBase, TComponent>(u"TRttiBase")
      .Property(u"Caption", &TRttiBase::Caption, &TRttiBase::SetCaption)
      .Property(u"Enabled", &TRttiBase::Enabled, &TRttiBase::SetEnabled).Default(true)
      .Property(u"Width", &TRttiBase::Width, &TRttiBase::SetWidth);
  TClassInfo::Of<TRttiFont, TPersistent>(u"TRttiFont").Property(u"Size", &TRttiFont::Size, &TRttiFont::SetSize);
  TClassInfo::Of<TRttiAbstract, TComponent>(u"TRttiAbstract");
  TClassInfo::Of<TRttiItem, TCollectionItem>(u"TRttiItem").Property(u"Value", &TRttiItem::Value, &TRttiItem::Value);
  TClassInfo::Of<TRttiPlain, TPersistent>(u"TRttiPlain");
}

class TypInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { DeclareTestClasses(); }
  TRttiWidget W{nullptr};
};

std::vector<String> Names(const std::vector<PPropInfo>& props) {
  std::vector<String> names;
  for (PPropInfo p : props) names.push_back(p->Name());
  return names;
}

TEST_F(TypInfoTest, EveryKindReadsAndWritesByName) {
  // Inherited string, Boolean and integer properties.
  SetStrProp(&W, u"caption", u"Hello");
  EXPECT_EQ(W.Caption(), u"Hello");
  EXPECT_EQ(GetStrProp(&W, u"Caption"), u"Hello");
  SetOrdProp(&W, u"Enabled", 0);
  EXPECT_FALSE(W.Enabled());
  SetOrdProp(&W, u"Width", 640);
  EXPECT_EQ(GetOrdProp(&W, u"Width"), 640);
  // Names and tags come from the component itself.
  SetStrProp(&W, u"Name", u"Widget1");
  EXPECT_EQ(W.Name(), u"Widget1");
  SetOrdProp(&W, u"Tag", -5);
  EXPECT_EQ(W.Tag(), -5);

  SetInt64Prop(&W, u"Big", 0x123456789AB);
  EXPECT_EQ(W.Big(), 0x123456789AB);
  EXPECT_EQ(GetInt64Prop(&W, u"Big"), 0x123456789AB);
  SetOrdProp(&W, u"Letter", u'Z');
  EXPECT_EQ(W.Letter(), u'Z');
  SetOrdProp(&W, u"Small", 300);  // truncated to the property's width
  EXPECT_EQ(W.Small(), 44);

  SetFloatProp(&W, u"Ratio", 0.5);
  EXPECT_EQ(W.Ratio(), 0.5f);
  SetFloatProp(&W, u"When", 45000.25);
  EXPECT_EQ(GetFloatProp(&W, u"When"), 45000.25);

  SetStrProp(&W, u"Ansi", u"caf\u00E9");
  EXPECT_EQ(W.Ansi, "caf\xE9");
  EXPECT_EQ(GetStrProp(&W, u"Ansi"), u"caf\u00E9");
  SetStrProp(&W, u"Wide", u"w");
  EXPECT_EQ(W.Wide, u"w");

  // A sub-object: its own properties reached through it; assigning copies into it.
  auto* font = static_cast<TRttiFont*>(GetObjectProp(&W, u"Font"));
  SetOrdProp(font, u"Size", 12);
  EXPECT_EQ(W.Font()->Size(), 12);
  TRttiFont other;
  other.SetSize(20);
  SetObjectProp(&W, u"Font", &other);
  EXPECT_EQ(W.Font(), font);
  EXPECT_EQ(font->Size(), 20);

  // A component reference; an object of the wrong class is ignored.
  TComponent buddy(nullptr);
  SetObjectProp(&W, u"Buddy", &buddy);
  EXPECT_EQ(W.Buddy(), &buddy);
  TRttiPlain stranger;
  SetObjectProp(&W, u"Buddy", &stranger);
  EXPECT_EQ(W.Buddy(), &buddy);
  SetObjectProp(&W, u"Buddy", nullptr);
  EXPECT_EQ(W.Buddy(), nullptr);
}

TEST_F(TypInfoTest, PropertyTypesAndClasses) {
  struct Case { const char16_t* name; TTypeKind kind; const char16_t* typeName; };
  const Case cases[] = {
      {u"Caption", tkUString, u"string"},     {u"Enabled", tkEnumeration, u"Boolean"},
      {u"Width", tkInteger, u"Integer"},      {u"Align", tkEnumeration, u"TRttiAlign"},
      {u"Styles", tkSet, u"TRttiStyles"},     {u"Ratio", tkFloat, u"Single"},
      {u"When", tkFloat, u"TDateTime"},       {u"Big", tkInt64, u"Int64"},
      {u"Letter", tkWChar, u"Char"},          {u"Small", tkInteger, u"Byte"},
      {u"Font", tkClass, u"TRttiFont"},       {u"Buddy", tkClass, u"TComponent"},
      {u"Ansi", tkLString, u"AnsiString"},    {u"Wide", tkWString, u"WideString"},
      {u"Color", tkInteger, u"TColor"},       {u"OnClick", tkMethod, u"TNotifyEvent"},
      {u"OnValue", tkMethod, u"TValueEvent"}, {u"Tag", tkInt64, u"Int64"},
  };
  for (const auto& c : cases) {
    PPropInfo p = GetPropInfo(&W, c.name);
    ASSERT_NE(p, nullptr) << StringToUtf8(c.name);
    EXPECT_EQ(p->Kind(), c.kind) << StringToUtf8(c.name);
    EXPECT_EQ(p->PropType()->Name, c.typeName) << StringToUtf8(c.name);
    EXPECT_TRUE(PropIsType(&W, c.name, c.kind));
  }
  EXPECT_EQ(GetPropInfo(&W, u"When")->PropType()->FloatType, ftDouble);
  EXPECT_EQ(GetPropInfo(&W, u"Ratio")->PropType()->FloatType, ftSingle);
  EXPECT_EQ(GetObjectPropClass(GetPropInfo(&W, u"Font")), ClassInfoOf<TRttiFont>());
  EXPECT_EQ(GetPropInfo(&W, u"Styles")->PropType()->CompType, TypeInfo<TRttiStyle>());
  EXPECT_EQ(GetPropInfo(&W, u"Enabled")->PropType(), TypeInfo<bool>());
  EXPECT_FALSE(GetPropInfo(&W, u"Count")->IsWritable());
  EXPECT_TRUE(GetPropInfo(&W, u"Count")->IsReadable());
  EXPECT_EQ(GetPropInfo(&W, u"Width")->DeclaringClass(), ClassInfoOf<TRttiWidget>());
  EXPECT_FALSE(IsPublishedProp(&W, u"Nope"));
  EXPECT_TRUE(IsPublishedProp(ClassInfoOf<TRttiBase>(), u"CAPTION"));
  EXPECT_FALSE(IsPublishedProp(ClassInfoOf<TRttiBase>(), u"Align"));
}

TEST_F(TypInfoTest, PropertyListsFollowTheClassChain) {
  const auto sorted = Names(GetPropList(&W));
  std::vector<String> expected = sorted;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const String& a, const String& b) { return CompareText(a, b) < 0; });
  EXPECT_EQ(sorted, expected);
  EXPECT_EQ(std::count(sorted.begin(), sorted.end(), u"Width"), 1);  // declared twice, listed once
  EXPECT_EQ(sorted.size(), 21u);

  const auto declared = Names(GetPropList(ClassInfoOf<TRttiWidget>(), tkAny, false));
  // Ancestors first, in their order; the redeclared Width keeps the base's place.
  EXPECT_EQ(std::vector<String>(declared.begin(), declared.begin() + 6),
            (std::vector<String>{u"Name", u"Tag", u"Caption", u"Enabled", u"Width", u"Align"}));

  EXPECT_EQ(Names(GetPropList(&W, TTypeKinds{tkMethod})), (std::vector<String>{u"OnClick", u"OnValue"}));
  EXPECT_EQ(Names(GetPropList(&W, TTypeKinds{tkClass, tkFloat})),
            (std::vector<String>{u"Buddy", u"Font", u"Ratio", u"Scale", u"When"}));
}

TEST_F(TypInfoTest, EnumerationsAndSetsByName) {
  SetEnumProp(&W, u"Align", u"RACLIENT");
  EXPECT_EQ(W.Align(), raClient);
  EXPECT_EQ(GetEnumProp(&W, u"Align"), u"raClient");
  SetEnumProp(&W, u"Enabled", u"true");
  EXPECT_TRUE(W.Enabled());
  EXPECT_EQ(GetEnumProp(&W, u"Enabled"), u"True");

  SetSetProp(&W, u"Styles", u"[ rsUnderline , rsbold ]");
  EXPECT_EQ(W.Styles(), (TRttiStyles{rsBold, rsUnderline}));
  EXPECT_EQ(GetSetProp(&W, u"Styles"), u"rsBold,rsUnderline");
  EXPECT_EQ(GetSetProp(&W, u"Styles", true), u"[rsBold,rsUnderline]");
  EXPECT_EQ(GetOrdProp(&W, u"Styles"), 0b101);
  SetOrdProp(&W, u"Styles", 0b1010);
  EXPECT_EQ(W.Styles(), (TRttiStyles{rsItalic, rsStrikeOut}));
  SetSetProp(&W, u"Styles", u"[]");
  EXPECT_TRUE(W.Styles().Empty());

  const PTypeInfo align = TypeInfo<TRttiAlign>();
  EXPECT_EQ(GetEnumName(align, 2), u"raBottom");
  EXPECT_EQ(GetEnumName(align, 9), u"9");
  EXPECT_EQ(GetEnumValue(align, u"ratop"), 1);
  EXPECT_EQ(GetEnumValue(align, u"raMiddle"), -1);
  EXPECT_EQ(SetToString(GetPropInfo(&W, u"Styles")->PropType(), 0b1001, true), u"[rsBold,rsStrikeOut]");

  // Bad names and values change nothing.
  W.SetAlign(raTop);
  W.SetStyles({rsItalic});
  EXPECT_THROW(SetEnumProp(&W, u"Align", u"raMiddle"), EPropertyConvertError);
  try {
    SetSetProp(&W, u"Styles", u"rsBold,rsShadow");
    FAIL();
  } catch (const EPropertyConvertError& e) {
    EXPECT_EQ(e.Message(), u"Invalid property element: rsShadow");
  }
  EXPECT_THROW(SetOrdProp(&W, u"Align", 4), ERangeError);
  EXPECT_THROW(SetOrdProp(&W, u"Align", -1), ERangeError);
  EXPECT_THROW(SetOrdProp(&W, u"Enabled", 2), ERangeError);
  EXPECT_EQ(W.Align(), raTop);
  EXPECT_EQ(W.Styles(), TRttiStyles{rsItalic});
}

TEST_F(TypInfoTest, StoredAndDefaultValues) {
  auto prop = [&](const char16_t* name) { return GetPropInfo(&W, name); };
  EXPECT_FALSE(IsStoredProp(&W, u"Name"));
  EXPECT_TRUE(IsStoredProp(&W, u"Caption"));
  EXPECT_FALSE(IsStoredProp(&W, u"Scale"));  // predicate: stored only when not 1.0
  W.SetScale(2);
  EXPECT_TRUE(IsStoredProp(&W, u"Scale"));

  struct Case { const char16_t* name; bool isDefault; };
  const Case fresh[] = {
      {u"Tag", true},   {u"Enabled", true}, {u"Align", true},  {u"Styles", true},   {u"Color", true},
      {u"Width", true}, {u"Caption", true}, {u"Ratio", true},  {u"Big", true},      {u"Buddy", true},
      {u"OnClick", true}, {u"Letter", false},  // no declared default: always written
  };
  for (const auto& c : fresh) EXPECT_EQ(IsDefaultPropertyValue(&W, prop(c.name)), c.isDefault) << StringToUtf8(c.name);
  W.SetEnabled(false);
  W.SetWidth(11);
  W.Color = 0;
  W.SetStyles({rsBold});
  W.SetCaption(u"x");
  W.SetBig(1);
  W.OnClick = [](TObject*) {};
  for (const char16_t* name : {u"Enabled", u"Width", u"Color", u"Styles", u"Caption", u"Big", u"OnClick"})
    EXPECT_FALSE(IsDefaultPropertyValue(&W, prop(name))) << StringToUtf8(name);
  EXPECT_EQ(prop(u"Color")->Default(), 0xFFFFFF);
  EXPECT_FALSE(prop(u"Caption")->HasDefault());
}

TEST_F(TypInfoTest, EventsBindToPublishedMethodsByName) {
  TRttiWidget root(nullptr);
  // A handler bound by name calls the root's method and remembers its name.
  SetMethodProp(&W, u"OnClick", MethodOf(&root, u"handleclick"));
  ASSERT_TRUE(W.OnClick);
  W.OnClick(&W);
  EXPECT_EQ(root.Clicks, std::vector<TObject*>{&W});
  TMethod m = GetMethodProp(&W, u"OnClick");
  EXPECT_TRUE(m.Assigned());
  EXPECT_EQ(m.Data, &root);
  EXPECT_EQ(ClassInfoOf(&root)->MethodName(m.Code), u"HandleClick");

  // Copying a handler from one event to another keeps its origin.
  TRttiWidget copy(nullptr);
  SetMethodProp(&copy, u"OnClick", m);
  EXPECT_EQ(GetMethodProp(&copy, u"OnClick").Code, m.Code);

  // Binding by Code and Data alone.
  TMethod byCode;
  byCode.Code = ClassInfoOf<TRttiWidget>()->MethodAddress(u"HandleValue");
  byCode.Data = &root;
  SetMethodProp(&W, u"OnValue", byCode);
  W.OnValue(&W, 7);
  EXPECT_EQ(root.Values, std::vector<int>{7});

  // A handler of another event type is refused; the event keeps its handler.
  EXPECT_THROW(SetMethodProp(&W, u"OnClick", byCode), EPropertyError);
  EXPECT_THROW(SetMethodProp(&W, u"OnValue", m), EPropertyError);
  EXPECT_EQ(GetMethodProp(&W, u"OnClick").Code, m.Code);

  // A handler set in code is assigned but has no published name.
  W.OnClick = [](TObject*) {};
  m = GetMethodProp(&W, u"OnClick");
  EXPECT_TRUE(m.Assigned());
  EXPECT_EQ(ClassInfoOf(&root)->MethodName(m.Code), u"");
  // An unknown method name, or an empty method, clears the event.
  SetMethodProp(&W, u"OnClick", MethodOf(&root, u"NoSuchMethod"));
  EXPECT_FALSE(W.OnClick);
  EXPECT_FALSE(GetMethodProp(&W, u"OnClick").Assigned());
}

TEST_F(TypInfoTest, MisuseRaisesClearErrors) {
  struct Case { const char* what; std::function<void()> call; String message; };
  TRttiFont font;
  const Case cases[] = {
      {"unknown", [&] { GetOrdProp(&W, u"Height"); }, u"Property Height does not exist"},
      {"wrong kind", [&] { GetStrProp(&W, u"Width"); }, u"Invalid property type: Integer"},
      {"ord on float", [&] { SetOrdProp(&W, u"When", 1); }, u"Invalid property type: TDateTime"},
      {"enum on set", [&] { SetEnumProp(&W, u"Styles", u"rsBold"); }, u"Invalid property type: TRttiStyles"},
      {"read-only", [&] { SetOrdProp(&W, u"Count", 1); }, u"Property is read-only"},
      {"null prop", [&] { GetOrdProp(&W, static_cast<PPropInfo>(nullptr)); }, u"Property does not exist"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what;
    } catch (const EPropertyError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  // A property of one class used on an object of another.
  EXPECT_THROW(GetOrdProp(&font, GetPropInfo(&W, u"Width")), EInvalidCast);
}

TEST_F(TypInfoTest, RegistryFindsAndCreatesClassesByName) {
  RegisterClasses({ClassInfoOf<TRttiWidget>(), ClassInfoOf<TRttiItem>(), ClassInfoOf<TRttiPlain>()});
  RegisterClass(ClassInfoOf<TRttiWidget>());  // again: nothing happens

  EXPECT_EQ(FindClass(u"trttiwidget"), ClassInfoOf<TRttiWidget>());
  EXPECT_EQ(GetClass(u"TRttiBase"), ClassInfoOf<TRttiBase>());  // ancestors come along
  EXPECT_EQ(GetClass(u"TComponent"), ClassInfoOf<TComponent>());
  EXPECT_EQ(GetClass(u"TObject"), nullptr);  // up to TPersistent only
  EXPECT_EQ(GetClass(u"TRttiMissing"), nullptr);
  try {
    FindClass(u"TRttiMissing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), u"Class TRttiMissing not found");
  }

  const TClassInfo* widgetClass = FindClass(u"TRttiWidget");
  EXPECT_EQ(widgetClass->ClassParent()->ClassName(), u"TRttiBase");
  EXPECT_TRUE(widgetClass->InheritsFrom(ClassInfoOf<TComponent>()));
  EXPECT_FALSE(ClassInfoOf<TRttiBase>()->InheritsFrom(widgetClass));

  // A component by name, with an owner that destroys it.
  TComponent owner(nullptr);
  TComponent* made = widgetClass->CreateComponent(&owner);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(made->ClassName(), u"TRttiWidget");
  SetStrProp(made, u"Caption", u"made");
  EXPECT_EQ(static_cast<TRttiWidget*>(made)->Caption(), u"made");

  // Owner-less creation for every creatable kind of class.
  std::unique_ptr<TObject> item = FindClass(u"TRttiItem")->Create();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(static_cast<TRttiItem*>(item.get())->Collection(), nullptr);
  EXPECT_NE(FindClass(u"TRttiPlain")->Create(), nullptr);
  EXPECT_NE(widgetClass->Create(), nullptr);
  EXPECT_EQ(ClassInfoOf<TRttiAbstract>()->Create(), nullptr);
  EXPECT_EQ(ClassInfoOf<TRttiAbstract>()->CreateComponent(&owner), nullptr);
  EXPECT_EQ(FindClass(u"TRttiItem")->CreateComponent(&owner), nullptr);

  UnRegisterClass(ClassInfoOf<TRttiPlain>());
  EXPECT_EQ(GetClass(u"TRttiPlain"), nullptr);
}

TEST_F(TypInfoTest, RegistryRefusesAnotherClassUnderATakenName) {
  class TRttiImpostor : public TPersistent {};
  TClassInfo::Of<TRttiImpostor, TPersistent>(u"TRttiPlainTwin");
  class TRttiTwin : public TPersistent {};
  TClassInfo::Of<TRttiTwin, TPersistent>(u"TRTTIPLAINTWIN");
  RegisterClass(ClassInfoOf<TRttiImpostor>());
  EXPECT_THROW(RegisterClass(ClassInfoOf<TRttiTwin>()), EFilerError);
  EXPECT_EQ(FindClass(u"TRttiPlainTwin"), ClassInfoOf<TRttiImpostor>());
  class TRttiNeverDeclared : public TPersistent {};
  EXPECT_THROW(RegisterClass(ClassInfoOf<TRttiNeverDeclared>()), EFilerError);
  UnRegisterClass(ClassInfoOf<TRttiImpostor>());
}

TEST_F(TypInfoTest, UndeclaredClassesAnswerAsTheirNearestDeclaredAncestor) {
  TRttiUndeclared object(nullptr);
  EXPECT_EQ(object.ClassType(), ClassInfoOf<TRttiWidget>());
  EXPECT_TRUE(object.InheritsFrom(ClassInfoOf<TRttiBase>()));
  EXPECT_FALSE(W.InheritsFrom(ClassInfoOf<TRttiFont>()));
  SetEnumProp(&object, u"Align", u"raTop");
  EXPECT_EQ(object.Align(), raTop);
  TCollection collection(TCollectionItemClass::Of<TRttiItem>());
  EXPECT_EQ(ClassInfoOf(&collection), ClassInfoOf<TCollection>());
  // The class library's own classes are declared without any registration call.
  TStringList lines;
  EXPECT_EQ(lines.ClassType()->ClassParent()->ClassName(), u"TStrings");
  EXPECT_EQ(ClassInfoOf(static_cast<TObject*>(nullptr)), nullptr);
}

}  // namespace
