#include "foundation/json/AdvPersistence.h"

#include <cmath>

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/Graphic.h"

namespace {

// The process-wide persistence state; used on one thread.
struct TPersistenceState {
  String TypeKey = u"$type";
  TAdvExcludePropertyListArray ExcludeProperties;
  TObject* IOReference = nullptr;
  TObject* RootObject = nullptr;
  TAdvWriterCustomWritePropertyEvent CustomWrite;
  TAdvReaderCustomReadPropertyEvent CustomRead;
};

TPersistenceState& State() {
  static TPersistenceState state;
  return state;
}

bool Excluded(StringView name) {
  return TAdvUtils::IndexOfTextInArray(name, State().ExcludeProperties) >= 0;
}

String Quoted(StringView s) { return u"\"" + String(s) + u"\""; }

// The class of an object as the type information knows it (nullptr when undeclared).
TClass ClassOf(const TObject* AObject) { return AObject == nullptr ? nullptr : ClassInfoOf(AObject); }

String ClassNameFor(const TObject* AObject) {
  const TClass cls = ClassOf(AObject);
  return cls != nullptr ? cls->ClassName() : AObject->ClassName();
}

// The graphic a picture-like object stores: a picture's graphic, or a
// graphic (a plain bitmap) itself.
TGraphic* StoredGraphic(TObject* AObject) {
  if (auto* picture = dynamic_cast<TPicture*>(AObject)) return picture->Graphic();
  return dynamic_cast<TGraphic*>(AObject);
}

// Empty text for no graphic or an empty one, else the graphic's bytes as hex.
String PictureText(TObject* AObject) {
  TGraphic* graphic = StoredGraphic(AObject);
  if (graphic == nullptr || graphic->Empty()) return String();
  TMemoryStream stream;
  graphic->SaveToStream(&stream);
  return TAdvUtils::SaveStreamToHexStr(&stream);
}

// Loads hex text written by PictureText; a picture recognises the format.
void LoadPictureText(TObject* AObject, StringView AText) {
  if (AText.empty()) return;
  TMemoryStream stream;
  TAdvUtils::LoadStreamFromHexStr(AText, &stream);
  stream.SetPosition(0);
  if (auto* picture = dynamic_cast<TPicture*>(AObject)) picture->LoadFromStream(&stream);
  else if (auto* graphic = dynamic_cast<TGraphic*>(AObject)) graphic->LoadFromStream(&stream);
}

// A member name as the writer wrote it: its escapes (every character beyond
// ASCII is one) decoded. A name with a broken escape names no property.
String PropertyName(const String& AWritten) {
  if (AWritten.find(u'\\') == String::npos) return AWritten;
  try {
    return TAdvUtils::UnescapeString(AWritten);
  } catch (const Exception&) {
    return AWritten;
  }
}

}  // namespace

// --- process-wide state ------------------------------------------------------------

const String& TAdvPersistence::TypeKey() { return State().TypeKey; }
void TAdvPersistence::SetTypeKey(const String& Value) { State().TypeKey = Value; }
const TAdvExcludePropertyListArray& TAdvPersistence::ExcludeProperties() { return State().ExcludeProperties; }
void TAdvPersistence::SetExcludeProperties(const TAdvExcludePropertyListArray& Value) {
  State().ExcludeProperties = Value;
}
TObject* TAdvPersistence::IOReference() { return State().IOReference; }
void TAdvPersistence::SetIOReference(TObject* Value) { State().IOReference = Value; }
TObject* TAdvPersistence::RootObject() { return State().RootObject; }
void TAdvPersistence::SetRootObject(TObject* Value) { State().RootObject = Value; }
TAdvWriterCustomWritePropertyEvent& TAdvPersistence::OnCustomWriteProperty() { return State().CustomWrite; }
TAdvReaderCustomReadPropertyEvent& TAdvPersistence::OnCustomReadProperty() { return State().CustomRead; }

void TAdvPersistence::Initialize() { State().TypeKey = u"$type"; }

void TAdvPersistence::Finalize() {
  State().TypeKey.clear();
  State().ExcludeProperties.clear();
}

// --- classification ------------------------------------------------------------------

TTypeKind TAdvPersistence::GetPropInfoType(PPropInfo APropInfo) { return APropInfo->Kind(); }
String TAdvPersistence::GetPropInfoName(PPropInfo APropInfo) { return APropInfo->Name(); }
bool TAdvPersistence::IsWriteOnly(PPropInfo APropInfo) { return !APropInfo->IsReadable(); }
bool TAdvPersistence::IsReadOnly(PPropInfo APropInfo) { return !APropInfo->IsWritable(); }

bool TAdvPersistence::IsAssignableProperty(TObject* AObject, PPropInfo APropInfo) {
  if (APropInfo->Kind() != tkClass || !APropInfo->IsReadable()) return false;
  TObject* value = GetObjectProp(AObject, APropInfo);
  return value == nullptr || IsComponent(ClassOf(value)) || value->Is<TComponent>();
}

bool TAdvPersistence::IsColor(StringView AName) {
  return AName == u"TAlphaColor" || AName == u"TColor" || AName == u"TGraphicsColor";
}
bool TAdvPersistence::IsStrokeKind(StringView AName) { return AName == u"TAdvGraphicsStrokeKind"; }
bool TAdvPersistence::IsFillKind(StringView AName) { return AName == u"TAdvGraphicsFillKind"; }
bool TAdvPersistence::IsDate(StringView AName) { return AName == u"TDate"; }
bool TAdvPersistence::IsDateTime(StringView AName) { return AName == u"TDateTime"; }
bool TAdvPersistence::IsTime(StringView AName) { return AName == u"TTime"; }

bool TAdvPersistence::IsDescendingClass(TClass AClass, std::initializer_list<StringView> AClassParentList) {
  for (TClass c = AClass; c != nullptr; c = c->ClassParent())
    for (StringView name : AClassParentList)
      if (c->ClassName() == name) return true;
  return false;
}

namespace {

bool StartsWith(StringView s, StringView prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

bool TAdvPersistence::IsGenericList(TClass AClass, StringView AType) {
  const String type = LowerCase(AType);
  for (TClass c = AClass; c != nullptr; c = c->ClassParent()) {
    const String& name = c->ClassName();
    if (!StartsWith(name, u"TList<") && !StartsWith(name, u"TObjectList<")) continue;
    if (type.empty() || LowerCase(name).find(type) != String::npos) return true;
  }
  return false;
}

bool TAdvPersistence::IsGenericDictionary(TClass AClass) {
  for (TClass c = AClass; c != nullptr; c = c->ClassParent())
    if (StartsWith(c->ClassName(), u"TDictionary<") || StartsWith(c->ClassName(), u"TObjectDictionary<")) return true;
  return false;
}

bool TAdvPersistence::IsCollection(TClass AClass) { return IsDescendingClass(AClass, {u"TCollection"}); }
bool TAdvPersistence::IsComponent(TClass AClass) {
  return IsDescendingClass(AClass, {u"TComponent", u"TAdvCustomComponent"});
}
bool TAdvPersistence::IsControl(TClass AClass) { return IsDescendingClass(AClass, {u"TControl"}); }
bool TAdvPersistence::IsList(TClass AClass) { return IsDescendingClass(AClass, {u"TList"}); }
bool TAdvPersistence::IsBitmap(TClass AClass) {
  // The library's own picture classes stream their data as bitmaps do.
  return IsDescendingClass(AClass,
                           {u"TBitmap", u"TPicture", u"TAdvBitmap", u"TGDIPPicture", u"THTMLPicture", u"TZovIVIDPicture"});
}
bool TAdvPersistence::IsStrings(TClass AClass) { return IsDescendingClass(AClass, {u"TStrings"}); }

PTypeInfo TAdvPersistence::GetPropInfoDataTypeInfo(PPropInfo APropInfo) {
  const PTypeInfo t = APropInfo->PropType();
  return t->BaseType != nullptr ? t->BaseType : t;
}

TClass TAdvPersistence::GetPropInfoDataTypeInfoClassType(PPropInfo APropInfo) {
  return APropInfo->Kind() == tkClass ? GetObjectPropClass(APropInfo) : nullptr;
}

String TAdvPersistence::GetPropInfoTypeName(PPropInfo APropInfo) { return APropInfo->PropType()->Name; }

String TAdvPersistence::GetEnumName(PTypeInfo ATypeInfo, Integer AValue) { return ::GetEnumName(ATypeInfo, AValue); }

void TAdvPersistence::GetEnumValues(TStrings* AValues, PPropInfo APropInfo) {
  if (AValues == nullptr || APropInfo == nullptr) return;
  PTypeInfo t = APropInfo->PropType();
  if (t->Kind == tkSet) t = t->CompType;
  if (t == nullptr || t->Kind != tkEnumeration) return;
  for (const auto& name : t->NameList) AValues->Add(name);
}

std::unique_ptr<TObject> TAdvPersistence::CreateObject(StringView AClassName, TClass BaseClass) {
  const TClass cls = GetClass(AClassName);
  if (cls == nullptr) throw EAdvReaderException(u"Type " + Quoted(AClassName) + u" not found");
  if (BaseClass != nullptr && !cls->InheritsFrom(BaseClass))
    throw EAdvReaderException(u"Type " + Quoted(AClassName) + u" does not inherit from " + BaseClass->ClassName());
  if (IsDescendingClass(cls, {u"TComponent", u"TCollectionItem", u"TPersistent"})) {
    if (auto object = cls->Create()) return object;
  }
  throw EAdvReaderException(u"Type " + Quoted(AClassName) + u" not supported");
}

// --- settings documents ------------------------------------------------------------------

namespace {

// Holds the number separators at "." and "," for a save or load, restoring them after.
class TSeparatorScope {
 public:
  TSeparatorScope() : FDecimal(FormatSettings.DecimalSeparator), FThousand(FormatSettings.ThousandSeparator) {
    FormatSettings.DecimalSeparator = u'.';
    FormatSettings.ThousandSeparator = u',';
  }
  ~TSeparatorScope() {
    FormatSettings.DecimalSeparator = FDecimal;
    FormatSettings.ThousandSeparator = FThousand;
  }
  TSeparatorScope(const TSeparatorScope&) = delete;
  TSeparatorScope& operator=(const TSeparatorScope&) = delete;

 private:
  Char FDecimal, FThousand;
};

}  // namespace

void TAdvPersistence::SaveSettingsToStream(TObject* AObject, TStream* AStream) {
  TAdvWriter writer(AStream);
  writer.SetIOReference(IOReference());
  writer.SetRootObject(RootObject());
  writer.OnCustomWriteProperty = [](TObject* o, const String& n, TTypeKind k, TAdvJSONWriter* w, bool& can) {
    if (State().CustomWrite) State().CustomWrite(o, n, k, w, can);
  };
  TSeparatorScope separators;
  writer.Write(AObject);
}

void TAdvPersistence::LoadSettingsFromStream(TObject* AObject, TStream* AStream) {
  if (AStream != nullptr) AStream->SetPosition(0);
  TAdvReader reader(AStream);
  reader.SetIOReference(IOReference());
  reader.SetRootObject(RootObject());
  reader.OnCustomReadProperty = [](TObject* o, const String& n, TTypeKind k, TAdvJSONReader* r, bool& can) {
    if (State().CustomRead) State().CustomRead(o, n, k, r, can);
  };
  TSeparatorScope separators;
  reader.Read(AObject);
}

void TAdvPersistence::SaveSettingsToFile(TObject* AObject, const String& AFileName) {
  TMemoryStream stream;
  SaveSettingsToStream(AObject, &stream);
  stream.SaveToFile(AFileName);
}

void TAdvPersistence::LoadSettingsFromFile(TObject* AObject, const String& AFileName) {
  TMemoryStream stream;
  stream.LoadFromFile(AFileName);
  LoadSettingsFromStream(AObject, &stream);
}

// --- writer --------------------------------------------------------------------------------

TAdvWriter::TAdvWriter(TStream* AStream) : FWriter(std::make_unique<TAdvJSONWriter>(AStream)) {}

TAdvWriter::~TAdvWriter() = default;

void TAdvWriter::SetIOReference(TObject* Value) {
  FIOReference = Value;
  TAdvPersistence::SetIOReference(Value);
}

void TAdvWriter::SetRootObject(TObject* Value) {
  FRootObject = Value;
  TAdvPersistence::SetRootObject(Value);
}

void TAdvWriter::SetExcludeProperties(const TAdvExcludePropertyListArray& Value) {
  FExcludeProperties = Value;
  TAdvPersistence::SetExcludeProperties(Value);
}

void TAdvWriter::Write(TObject* AObject) { WriteValue(AObject); }

void TAdvWriter::WriteArray(const String& AName, const TAdvObjectArray& AArray) {
  FWriter->WriteBeginObject();
  FWriter->WriteName(AName);
  FWriter->WriteBeginArray();
  for (TObject* item : AArray) {
    if (item == nullptr) FWriter->WriteNull();
    else WriteObjectForm(item);
  }
  FWriter->WriteEndArray();
  FWriter->WriteEndObject();
}

void TAdvWriter::WriteValue(TObject* AObject) {
  if (AObject == nullptr) {
    FWriter->WriteNull();
    return;
  }
  const TClass cls = ClassOf(AObject);
  if (TAdvPersistence::IsList(cls)) {
    // A pointer list says nothing about what its items are: no JSON form.
    FWriter->WriteNull();
    return;
  }
  if (auto* collection = dynamic_cast<TCollection*>(AObject)) {
    FWriter->WriteBeginArray();
    for (Integer i = 0; i < collection->Count(); ++i) WriteObjectForm(collection->Items(i));
    FWriter->WriteEndArray();
    return;
  }
  if (TAdvPersistence::IsBitmap(cls)) {
    FWriter->WriteString(PictureText(AObject));
    return;
  }
  if (auto* strings = dynamic_cast<TStrings*>(AObject)) {
    FWriter->WriteBeginArray();
    for (Integer i = 0; i < strings->Count(); ++i) FWriter->WriteString(strings->Strings(i));
    FWriter->WriteEndArray();
    return;
  }
  if (auto* resolver = dynamic_cast<IAdvObjectResolver*>(FIOReference); resolver && resolver->IsReferenceClass(cls)) {
    FWriter->WriteString(resolver->GetReferenceId(AObject));
    return;
  }
  WriteObjectForm(AObject);
}

void TAdvWriter::WriteObjectForm(TObject* AObject) {
  FWriter->WriteBeginObject();
  const String& typeKey = TAdvPersistence::TypeKey();
  if (!typeKey.empty()) {
    FWriter->WriteName(typeKey);
    FWriter->WriteString(ClassNameFor(AObject));
  }
  for (PPropInfo prop : GetPropList(AObject)) WriteProperty(AObject, prop);
  FWriter->WriteEndObject();
}

void TAdvWriter::WriteColor(Int64 AValue) {
  if (AValue == -1) {
    FWriter->WriteString(u"gcNull");
    return;
  }
  const Integer rgb = static_cast<Integer>(ColorToRGB(static_cast<TColor>(AValue)) & 0xFFFFFF);
  const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
                                 static_cast<std::uint8_t>((rgb >> 16) & 0xFF)};
  FWriter->WriteString(u"#" + TAdvUtils::BytesToHexStr(bytes, 3));
}

void TAdvWriter::WriteProperty(TObject* AObject, PPropInfo AProp) {
  const String& name = AProp->Name();
  const TTypeKind kind = AProp->Kind();
  if (auto* filter = dynamic_cast<IAdvPropertyFilter*>(AObject)) {
    if (!filter->CanWriteProperty(AObject, name, kind)) return;
  } else if (Excluded(name)) {
    return;
  }
  bool canWrite = true;
  if (OnCustomWriteProperty) OnCustomWriteProperty(AObject, name, kind, FWriter.get(), canWrite);
  if (!canWrite) return;

  FWriter->WriteName(name);
  if (TAdvPersistence::IsWriteOnly(AProp)) {
    FWriter->WriteNull();
    return;
  }
  switch (kind) {
    case tkInteger:
      if (TAdvPersistence::IsColor(AProp->PropType()->Name)) WriteColor(GetOrdProp(AObject, AProp));
      else FWriter->WriteInteger(GetOrdProp(AObject, AProp));
      break;
    case tkChar:
    case tkWChar:
      FWriter->WriteString(String(1, static_cast<Char>(GetOrdProp(AObject, AProp))));
      break;
    case tkString:
    case tkLString:
    case tkUString:
      FWriter->WriteString(GetStrProp(AObject, AProp));
      break;
    case tkEnumeration:
      if (TAdvPersistence::GetPropInfoDataTypeInfo(AProp)->Name == u"Boolean")
        FWriter->WriteBoolean(GetOrdProp(AObject, AProp) != 0);
      else
        FWriter->WriteInteger(GetOrdProp(AObject, AProp));
      break;
    case tkFloat:
      FWriter->WriteDouble(GetFloatProp(AObject, AProp));
      break;
    case tkSet:
      FWriter->WriteInteger(GetOrdProp(AObject, AProp));
      break;
    case tkMethod: {
      const TMethod method = GetMethodProp(AObject, AProp);
      const TClass rootClass = ClassOf(FRootObject);
      if (method.Assigned() && FRootObject != nullptr)
        FWriter->WriteString(rootClass != nullptr ? rootClass->MethodName(method.Code) : String());
      else
        FWriter->WriteNull();
      break;
    }
    case tkInt64:
      FWriter->WriteInteger(GetInt64Prop(AObject, AProp));
      break;
    case tkClass: {
      bool assignable = TAdvPersistence::IsAssignableProperty(AObject, AProp);
      if (OnCustomIsAssignableProperty) OnCustomIsAssignableProperty(AObject, name, assignable);
      TObject* value = GetObjectProp(AObject, AProp);
      if (assignable) {
        const auto* component = dynamic_cast<TComponent*>(value);
        FWriter->WriteString(component != nullptr ? component->Name() : String());
      } else {
        WriteValue(value);
      }
      break;
    }
    default:  // wide strings and kinds without a JSON form
      FWriter->WriteNull();
      break;
  }
  if (name == u"Size" && TAdvPersistence::IsDescendingClass(ClassOf(AObject), {u"TFont"})) {
    FWriter->WriteName(u"IsFMX");
    FWriter->WriteBoolean(false);
  }
}

// --- reader --------------------------------------------------------------------------------

TAdvReader::TAdvReader(TStream* AStream) : FReader(std::make_unique<TAdvJSONReader>(AStream)) {}

TAdvReader::~TAdvReader() = default;

void TAdvReader::SetIOReference(TObject* Value) {
  FIOReference = Value;
  TAdvPersistence::SetIOReference(Value);
}

void TAdvReader::SetRootObject(TObject* Value) {
  FRootObject = Value;
  TAdvPersistence::SetRootObject(Value);
}

void TAdvReader::SetExcludeProperties(const TAdvExcludePropertyListArray& Value) {
  FExcludeProperties = Value;
  TAdvPersistence::SetExcludeProperties(Value);
}

void TAdvReader::Read(TObject* AObject) { ReadInto(AObject); }

std::unique_ptr<TObject> TAdvReader::Read(TClass AClass) { return ReadNewObject(AClass); }

std::vector<std::unique_ptr<TObject>> TAdvReader::ReadArray(const String& AName) {
  std::vector<std::unique_ptr<TObject>> result;
  FReader->ReadBeginObject();
  while (FReader->HasNext()) {
    if (PropertyName(FReader->ReadName()) != AName) {
      FReader->SkipValue();
      continue;
    }
    FReader->ReadBeginArray();
    while (FReader->HasNext()) {
      if (FReader->IsNull()) {
        FReader->ReadNull();
        continue;
      }
      if (auto object = ReadNewObject(nullptr)) result.push_back(std::move(object));
    }
    FReader->ReadEndArray();
  }
  return result;
}

void TAdvReader::SolveReferences() {
  auto* resolver = dynamic_cast<IAdvObjectResolver*>(FIOReference);
  if (resolver == nullptr) return;
  for (const auto& ref : FReferences) SetObjectProp(ref->Instance, ref->Prop, resolver->ResolveReference(ref->Id));
}

void TAdvReader::ReadInto(TObject* AObject) {
  if (AObject == nullptr) {
    FReader->ReadNull();
    return;
  }
  const TClass cls = ClassOf(AObject);
  if (TAdvPersistence::IsList(cls)) {
    FReader->SkipValue();  // written as null: nothing to restore
    return;
  }
  if (auto* collection = dynamic_cast<TCollection*>(AObject)) {
    ReadCollection(collection);
    return;
  }
  if (TAdvPersistence::IsBitmap(cls)) {
    if (FReader->IsNull()) FReader->ReadNull();
    else LoadPictureText(AObject, FReader->ReadString());
    return;
  }
  if (auto* strings = dynamic_cast<TStrings*>(AObject)) {
    ReadStrings(strings);
    return;
  }
  ReadObjectForm(AObject);
}

void TAdvReader::ReadObjectForm(TObject* AObject) {
  FReader->ReadBeginObject();
  const String& typeKey = TAdvPersistence::TypeKey();
  if (!typeKey.empty()) {
    if (FReader->Peek() != TAdvJSONReader::TAdvJSONToken::jstoName || FReader->PeekName() != typeKey)
      throw EAdvReaderException(u"\"" + typeKey + u" property not found in Object descriptor.");
    FReader->ReadName();
    FReader->ReadString();
  }
  ReadMembers(AObject);
  FReader->ReadEndObject();
}

void TAdvReader::ReadMembers(TObject* AObject) {
  while (FReader->HasNext()) {
    const String name = PropertyName(FReader->ReadName());
    PPropInfo prop = AObject != nullptr ? GetPropInfo(AObject, name) : nullptr;
    if (prop == nullptr) FReader->SkipValue();
    else ReadProperty(AObject, prop);
  }
}

std::unique_ptr<TObject> TAdvReader::ReadNewObject(TClass ABaseClass) {
  FReader->ReadBeginObject();
  String className;
  const String& typeKey = TAdvPersistence::TypeKey();
  if (!typeKey.empty()) {
    if (FReader->Peek() != TAdvJSONReader::TAdvJSONToken::jstoName || FReader->PeekName() != typeKey)
      throw EAdvReaderException(u"\"" + typeKey + u" property not found in Object descriptor.");
    FReader->ReadName();
    className = FReader->ReadString();
  }
  if (className.empty()) className = ABaseClass != nullptr ? ABaseClass->ClassName() : String(u"TObject");

  std::unique_ptr<TObject> object;
  if (auto* creator = dynamic_cast<IAdvObjectCreator*>(FIOReference))
    object.reset(creator->CreateObject(className, ABaseClass));
  else if (auto* resolver = dynamic_cast<IAdvObjectResolver*>(FIOReference))
    object.reset(resolver->CreateObject(className, ABaseClass));
  else if (FIOReference == nullptr)
    object = TAdvPersistence::CreateObject(className, ABaseClass);
  ReadMembers(object.get());  // a failure frees the new object on the way out
  FReader->ReadEndObject();
  return object;
}

void TAdvReader::ReadCollection(TCollection* ACollection) {
  FReader->ReadBeginArray();
  ACollection->BeginUpdate();
  try {
    ACollection->Clear();
    auto* provider = dynamic_cast<IAdvItemClassProvider*>(ACollection);
    const TClass itemBase = provider != nullptr ? provider->GetItemClass() : nullptr;
    auto* itemCreator = dynamic_cast<IAdvCollectionItemCreator*>(ACollection);
    while (FReader->HasNext()) {
      if (FReader->IsNull()) {
        FReader->ReadNull();
        continue;
      }
      const bool named = !TAdvPersistence::TypeKey().empty();
      const bool canCreate = named && (FIOReference == nullptr || dynamic_cast<IAdvObjectCreator*>(FIOReference) ||
                                       dynamic_cast<IAdvObjectResolver*>(FIOReference));
      if (!canCreate) {
        // No object can be made for the element (no class names, or an IO
        // reference that creates none): it is read straight into a new item
        // of the collection's own class, so the items are not lost.
        TCollectionItem* item = ACollection->Add();
        try {
          ReadObjectForm(item);
        } catch (...) {
          ACollection->Delete(item->Index());  // no half-read item stays behind
          throw;
        }
        continue;
      }
      std::unique_ptr<TObject> object = ReadNewObject(itemBase);
      if (auto* persistent = dynamic_cast<TPersistent*>(object.get())) {
        TCollectionItem* item = itemCreator != nullptr ? itemCreator->CreateItem(object.get()) : ACollection->Add();
        if (item != nullptr) item->Assign(persistent);
      }
    }
    FReader->ReadEndArray();
  } catch (...) {
    ACollection->EndUpdate();
    throw;
  }
  ACollection->EndUpdate();
}

void TAdvReader::ReadStrings(TStrings* AStrings) {
  FReader->ReadBeginArray();
  AStrings->BeginUpdate();
  try {
    AStrings->Clear();
    while (FReader->HasNext()) {
      if (FReader->IsNull()) FReader->ReadNull();
      else AStrings->Add(FReader->ReadString());
    }
    FReader->ReadEndArray();
  } catch (...) {
    AStrings->EndUpdate();
    throw;
  }
  AStrings->EndUpdate();
}

Int64 TAdvReader::ReadColor() {
  const String text = FReader->ReadString();
  if (text == u"gcNull") return -1;
  // "#RRGGBB": red, green and blue as hexadecimal pairs.
  const TBytes rgb = text.size() >= 7 ? TAdvUtils::HexStrToBytes(StringView(text).substr(1, 6)) : TBytes{};
  if (rgb.size() != 3) throw EConvertError(u"'" + text + u"' is not a valid integer value");
  return rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
}

void TAdvReader::ReadProperty(TObject* AObject, PPropInfo AProp) {
  using TToken = TAdvJSONReader::TAdvJSONToken;
  const String& name = AProp->Name();
  const TTypeKind kind = AProp->Kind();
  if (auto* filter = dynamic_cast<IAdvPropertyFilter*>(AObject)) {
    if (!filter->CanReadProperty(AObject, name, kind)) {
      FReader->SkipValue();
      return;
    }
  } else if (Excluded(name)) {
    FReader->SkipValue();
    return;
  }
  bool canRead = true;
  if (OnCustomReadProperty) OnCustomReadProperty(AObject, name, kind, FReader.get(), canRead);
  if (!canRead) return;

  const bool writable = !TAdvPersistence::IsReadOnly(AProp);
  if (kind == tkClass) {
    const TClass declared = GetObjectPropClass(AProp);
    TObject* held = AProp->IsReadable() ? GetObjectProp(AObject, AProp) : nullptr;
    if (TAdvPersistence::IsList(declared) || TAdvPersistence::IsCollection(declared) ||
        TAdvPersistence::IsBitmap(declared) || TAdvPersistence::IsStrings(declared)) {
      if (held != nullptr || FReader->IsNull()) {
        ReadInto(held);
        return;
      }
      // No list, collection or picture to read into: the writer wrote it as
      // an empty reference (""), read below as one.
    }
    if (auto* resolver = dynamic_cast<IAdvObjectResolver*>(FIOReference);
        resolver && resolver->IsReferenceClass(declared)) {
      if (FReader->IsNull()) {
        FReader->ReadNull();
        if (writable) SetObjectProp(AObject, AProp, nullptr);
      } else {
        FReferences.push_back(std::make_unique<TAdvObjectReference>(AObject, AProp, FReader->ReadString()));
      }
      return;
    }
    bool assignable = TAdvPersistence::IsAssignableProperty(AObject, AProp);
    if (OnCustomIsAssignableProperty) OnCustomIsAssignableProperty(AObject, name, assignable);
    if (assignable) {
      const String componentName = FReader->ReadString();
      if (auto* root = dynamic_cast<TComponent*>(FRootObject); root != nullptr && writable)
        SetObjectProp(AObject, AProp, root->FindComponent(componentName));
      return;
    }
    if (held != nullptr) ReadObjectForm(held);
    else FReader->ReadNull();
    return;
  }

  if (TAdvPersistence::IsWriteOnly(AProp) || FReader->IsNull()) {
    FReader->ReadNull();  // raises unless the value is null
    return;
  }
  switch (kind) {
    case tkInteger: {
      const PTypeInfo type = AProp->PropType();
      Int64 v;
      if (TAdvPersistence::IsColor(type->Name)) v = ReadColor();
      else if (type->OrdType == otULong) v = FReader->ReadInt64();
      else v = FReader->ReadInteger();
      if (writable) SetOrdProp(AObject, AProp, v);
      break;
    }
    case tkChar:
    case tkWChar: {
      const String s = FReader->ReadString();
      if (writable) SetOrdProp(AObject, AProp, s.empty() ? 0 : s[0]);
      break;
    }
    case tkString:
    case tkLString:
    case tkUString: {
      const String s = FReader->ReadString();
      if (writable) SetStrProp(AObject, AProp, s);
      break;
    }
    case tkEnumeration: {
      const PTypeInfo type = TAdvPersistence::GetPropInfoDataTypeInfo(AProp);
      Int64 v;
      if (type->Name == u"Boolean") {
        v = FReader->ReadBoolean() ? 1 : 0;
      } else if (FReader->Peek() == TToken::jstoText) {
        // Value names are accepted too (documents written by hand).
        const String valueName = FReader->ReadString();
        v = GetEnumValue(type, valueName);
        if (v < 0) throw EConvertError(u"Invalid property element: " + valueName);
      } else {
        v = FReader->ReadInteger();
      }
      if (writable) SetOrdProp(AObject, AProp, v);
      break;
    }
    case tkFloat: {
      const Double v = FReader->ReadDouble();
      if (writable) SetFloatProp(AObject, AProp, v);
      break;
    }
    case tkSet: {
      Int64 v;
      if (FReader->Peek() == TToken::jstoText) v = static_cast<Int64>(StringToSet(AProp->PropType(), FReader->ReadString()));
      else v = FReader->ReadInt64();
      if (writable) SetOrdProp(AObject, AProp, v);
      break;
    }
    case tkMethod: {
      if (FRootObject == nullptr) {
        FReader->ReadNull();
        break;
      }
      const String methodName = FReader->ReadString();
      if (writable) SetMethodProp(AObject, AProp, MethodOf(FRootObject, methodName));
      break;
    }
    case tkInt64: {
      const Int64 v = FReader->ReadInt64();
      if (writable) SetInt64Prop(AObject, AProp, v);
      break;
    }
    default:  // kinds without a JSON form must hold null
      FReader->ReadNull();
      break;
  }
  if (name == u"Size" && TAdvPersistence::IsDescendingClass(ClassOf(AObject), {u"TFont"}) &&
      FReader->Peek() == TToken::jstoName && FReader->PeekName() == u"IsFMX") {
    FReader->ReadName();
    if (FReader->ReadBoolean()) {
      // Sizes of the other framework are pixels: back to points.
      const Int64 pixels = GetOrdProp(AObject, AProp);
      SetOrdProp(AObject, AProp, Round(pixels * 72.0 / 96.0));
    }
  }
}

// --- per-object operations ---------------------------------------------------------------

String ToJSON(TObject* AObject) {
  TStringStream stream;
  TAdvPersistence::SaveSettingsToStream(AObject, &stream);
  return stream.DataString();
}

String ToJSON(TObject* AObject, const TAdvObjectExcludePropertyListArray& AExcludedProperties) {
  const TAdvExcludePropertyListArray saved = TAdvPersistence::ExcludeProperties();
  TAdvPersistence::SetExcludeProperties(AExcludedProperties);
  try {
    String text = ToJSON(AObject);
    TAdvPersistence::SetExcludeProperties(saved);
    return text;
  } catch (...) {
    TAdvPersistence::SetExcludeProperties(saved);
    throw;
  }
}

void FromJSON(TObject* AObject, StringView Value) {
  const String savedKey = TAdvPersistence::TypeKey();
  TObject* savedIO = TAdvPersistence::IOReference();
  TAdvPersistence::SetTypeKey(String());
  TAdvPersistence::SetIOReference(AObject);
  auto restore = [&] {
    TAdvPersistence::SetTypeKey(savedKey);
    TAdvPersistence::SetIOReference(savedIO);
  };
  try {
    TStringStream stream(Value);
    TAdvPersistence::LoadSettingsFromStream(AObject, &stream);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void Log(TObject* AObject) { TAdvUtils::Log(ToJSON(AObject)); }

void SaveToJSONFile(TObject* AObject, const String& AFileName) { TAdvPersistence::SaveSettingsToFile(AObject, AFileName); }

void LoadFromJSONFile(TObject* AObject, const String& AFileName) {
  TAdvPersistence::LoadSettingsFromFile(AObject, AFileName);
}

void SaveToJSONStream(TObject* AObject, TStream* AStream) { TAdvPersistence::SaveSettingsToStream(AObject, AStream); }

void LoadFromJSONStream(TObject* AObject, TStream* AStream) { TAdvPersistence::LoadSettingsFromStream(AObject, AStream); }
