#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <deque>
#include <map>

#include "platform/rtl/Format.h"
#include "platform/rtl/List.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"

namespace {

struct TTypeRegistry {
  std::map<std::type_index, std::unique_ptr<TClassInfo>> Classes;
  std::map<std::type_index, std::unique_ptr<TTypeInfo>> Types;
  std::deque<std::unique_ptr<TTypeInfo>> Aliases;
  std::vector<const TClassInfo*> Registered;
  std::map<std::type_index, const TClassInfo*> InstanceCache;
  bool CoreDeclared = false;
};

// Built on first use, never through static initialisation across files.
TTypeRegistry& Registry() {
  static TTypeRegistry registry;
  return registry;
}

void DeclareCoreClasses() {
  TClassInfo::Of<TObject>(u"TObject");
  TClassInfo::Of<TPersistent, TObject>(u"TPersistent");
  TClassInfo::Of<TComponent, TPersistent>(u"TComponent")
      .Property(u"Name", &TComponent::Name, &TComponent::SetName).Stored(false)
      .Property(u"Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
  TClassInfo::Of<TCollection, TPersistent>(u"TCollection");
  TClassInfo::Of<TOwnedCollection, TCollection>(u"TOwnedCollection");
  TClassInfo::Of<TCollectionItem, TPersistent>(u"TCollectionItem");
  TClassInfo::Of<TList, TObject>(u"TList");
  TClassInfo::Of<TStrings, TPersistent>(u"TStrings");
  TClassInfo::Of<TStringList, TStrings>(u"TStringList");
}

TTypeRegistry& CoreRegistry() {
  TTypeRegistry& r = Registry();
  if (!r.CoreDeclared) {
    r.CoreDeclared = true;  // first, so that declaring re-enters without looping
    DeclareCoreClasses();
  }
  return r;
}

[[noreturn]] void UnknownProperty(StringView name) {
  throw EPropertyError(Format(SUnknownProperty, {name}));
}

[[noreturn]] void InvalidType(PPropInfo prop) {
  const String& name = prop->PropType()->Name;
  throw EPropertyError(Format(SInvalidPropertyType, {name.empty() ? prop->Name() : name}));
}

PPropInfo Find(const TObject* instance, StringView name) {
  PPropInfo prop = GetPropInfo(instance, name);
  if (prop == nullptr) UnknownProperty(name);
  return prop;
}

void Check(TObject* instance, PPropInfo prop) {
  if (prop == nullptr) throw EPropertyError(SNoProperty);
  if (instance == nullptr) throw EInvalidPointer(SInvalidPointer);
}

bool IsOrdinal(TTypeKind kind) {
  return kind == tkInteger || kind == tkChar || kind == tkWChar || kind == tkEnumeration || kind == tkSet ||
         kind == tkInt64;
}

bool IsStringKind(TTypeKind kind) {
  return kind == tkString || kind == tkLString || kind == tkWString || kind == tkUString;
}

template <class F>
auto Read(TObject* instance, PPropInfo prop, bool kindOk, const F& getter) {
  Check(instance, prop);
  if (!kindOk) InvalidType(prop);
  if (!getter) throw EPropertyError(SWriteOnlyProperty);
  return getter(instance);
}

template <class F, class V>
void Write(TObject* instance, PPropInfo prop, bool kindOk, const F& setter, const V& value) {
  Check(instance, prop);
  if (!kindOk) InvalidType(prop);
  if (!setter) throw EPropertyError(SReadOnlyProperty);
  setter(instance, value);
}

PTypeInfo SetElementType(PTypeInfo type) {
  if (type != nullptr && type->Kind == tkSet) return type->CompType;
  return type;
}

}  // namespace

// --- storage behind the templates ---

namespace typinfo_detail {

TTypeInfo& TypeEntry(std::type_index Type, bool& Created) {
  auto& types = Registry().Types;
  auto it = types.find(Type);
  Created = it == types.end();
  if (Created) it = types.emplace(Type, std::make_unique<TTypeInfo>()).first;
  return *it->second;
}

TClassInfo& ClassEntry(std::type_index Type) {
  auto& classes = Registry().Classes;
  auto it = classes.find(Type);
  if (it == classes.end()) {
    it = classes.emplace(Type, std::unique_ptr<TClassInfo>(new TClassInfo(Type))).first;
    auto type = std::make_unique<TTypeInfo>();
    type->Kind = tkClass;
    type->ClassType = it->second.get();
    it->second->FTypeInfo = type.get();
    Registry().Aliases.push_back(std::move(type));
  }
  return *it->second;
}

PTypeInfo MethodTypeInfo(std::type_index Type, bool IsNotifyEvent) {
  bool created = false;
  TTypeInfo& info = TypeEntry(Type, created);
  if (created) {
    info.Kind = tkMethod;
    if (IsNotifyEvent) info.Name = u"TNotifyEvent";
  }
  return &info;
}

void RangeError() { throw ERangeError(SRangeError); }

void InvalidCast() { throw EInvalidCast(SInvalidCast); }

void InvalidPropertyValue() { throw EPropertyError(SInvalidPropertyValue); }

}  // namespace typinfo_detail

PTypeInfo TypeAlias(PTypeInfo Base, StringView Name) {
  if (Base == nullptr || Base->Name == Name) return Base;
  TTypeKind kind = Base->Kind;
  if (IsStringKind(kind)) {
    if (Name == u"WideString") kind = tkWString;
    if (Name == u"AnsiString") kind = tkLString;
  }
  auto& aliases = Registry().Aliases;
  for (const auto& alias : aliases)
    if (alias->Name == Name && alias->Kind == kind && alias->CompType == Base->CompType &&
        alias->ClassType == Base->ClassType && alias->NameList == Base->NameList)
      return alias.get();
  auto alias = std::make_unique<TTypeInfo>(*Base);
  alias->Name = String(Name);
  alias->Kind = kind;
  if (Base->BaseType == Base) alias->BaseType = Base;  // an enumeration alias keeps its values' type
  aliases.push_back(std::move(alias));
  return aliases.back().get();
}

// --- TPropInfo ---

bool TPropInfo::IsReadable() const {
  switch (Kind()) {
    case tkFloat: return static_cast<bool>(GetFloat);
    case tkClass: return static_cast<bool>(GetObject);
    case tkMethod: return static_cast<bool>(GetMethod);
    default: return IsStringKind(Kind()) ? static_cast<bool>(GetStr) : static_cast<bool>(GetOrd);
  }
}

bool TPropInfo::IsWritable() const {
  switch (Kind()) {
    case tkFloat: return static_cast<bool>(SetFloat);
    case tkClass: return static_cast<bool>(SetObject);
    case tkMethod: return static_cast<bool>(SetMethod);
    default: return IsStringKind(Kind()) ? static_cast<bool>(SetStr) : static_cast<bool>(SetOrd);
  }
}

// --- TClassInfo ---

void TClassInfo::Declare(StringView Name, const TClassInfo* Parent) {
  CoreRegistry();
  FName = String(Name);
  FParent = Parent;
  FDeclared = true;
  const_cast<TTypeInfo*>(FTypeInfo)->Name = FName;
  Registry().InstanceCache.clear();
}

TPropInfo& TClassInfo::AddProperty(StringView Name) {
  auto prop = std::make_unique<TPropInfo>();
  prop->FName = String(Name);
  prop->FClass = this;
  for (auto& existing : FProperties) {
    if (SameText(existing->FName, Name)) {
      existing = std::move(prop);  // declared again: the new declaration wins
      return *existing;
    }
  }
  FProperties.push_back(std::move(prop));
  return *FProperties.back();
}

bool TClassInfo::InheritsFrom(const TClassInfo* AClass) const {
  if (AClass == nullptr) return false;
  int depth = 0;
  for (const TClassInfo* c = this; c != nullptr && depth < 1000; c = c->FParent, ++depth)
    if (c == AClass) return true;
  return false;
}

std::unique_ptr<TObject> TClassInfo::Create() const {
  if (FCreate == nullptr) return nullptr;
  return std::unique_ptr<TObject>(FCreate());
}

TComponent* TClassInfo::CreateComponent(TComponent* AOwner) const {
  if (FCreateComponent == nullptr) return nullptr;
  return FCreateComponent(AOwner);
}

const TPropInfo* TClassInfo::FindProperty(StringView Name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
    for (const auto& prop : c->FProperties)
      if (SameText(prop->FName, Name)) return prop.get();
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent) chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const auto& prop : (*it)->FProperties) {
      auto same = std::find_if(result.begin(), result.end(),
                               [&](const TPropInfo* p) { return SameText(p->Name(), prop->Name()); });
      if (same != result.end())
        *same = prop.get();
      else
        result.push_back(prop.get());
    }
  }
  return result;
}

const TMethodInfo* TClassInfo::MethodAddress(StringView Name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
    for (const auto& method : c->FMethods)
      if (SameText(method->Name(), Name)) return method.get();
  return nullptr;
}

String TClassInfo::MethodName(const TMethodInfo* Code) const {
  if (Code == nullptr) return {};
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
    for (const auto& method : c->FMethods)
      if (method.get() == Code) return method->Name();
  return {};
}

const TClassInfo* ClassInfoOf(const TObject* Instance) {
  if (Instance == nullptr) return nullptr;
  TTypeRegistry& r = CoreRegistry();
  const std::type_index type = typeid(*Instance);
  if (auto cached = r.InstanceCache.find(type); cached != r.InstanceCache.end()) return cached->second;
  const TClassInfo* best = nullptr;
  if (auto exact = r.Classes.find(type); exact != r.Classes.end() && exact->second->IsDeclared()) {
    best = exact->second.get();
  } else {
    // An undeclared class answers as its nearest declared ancestor.
    int bestDepth = -1;
    for (const auto& [key, info] : r.Classes) {
      if (!info->IsDeclared() || !info->IsInstance(Instance)) continue;
      int depth = 0;
      for (const TClassInfo* c = info->ClassParent(); c != nullptr; c = c->ClassParent()) ++depth;
      if (depth > bestDepth) {
        best = info.get();
        bestDepth = depth;
      }
    }
  }
  r.InstanceCache[type] = best;
  return best;
}

// --- class registry ---

void RegisterClass(const TClassInfo* AClass) {
  TTypeRegistry& r = CoreRegistry();
  const TClassInfo* persistent = ClassInfoOf<TPersistent>();
  for (const TClassInfo* c = AClass; c != nullptr; c = c->ClassParent()) {
    if (!c->IsDeclared()) throw EFilerError(SUndeclaredClass);
    const TClassInfo* existing = GetClass(c->ClassName());
    if (existing == nullptr)
      r.Registered.push_back(c);
    else if (existing != c)
      throw EFilerError(Format(SDuplicateClass, {c->ClassName()}));
    if (c == persistent) break;
  }
}

void RegisterClasses(std::initializer_list<const TClassInfo*> Classes) {
  for (const TClassInfo* c : Classes) RegisterClass(c);
}

void UnRegisterClass(const TClassInfo* AClass) {
  auto& list = CoreRegistry().Registered;
  list.erase(std::remove(list.begin(), list.end(), AClass), list.end());
}

const TClassInfo* GetClass(StringView ClassName) {
  for (const TClassInfo* c : CoreRegistry().Registered)
    if (SameText(c->ClassName(), ClassName)) return c;
  return nullptr;
}

const TClassInfo* FindClass(StringView ClassName) {
  const TClassInfo* c = GetClass(ClassName);
  if (c == nullptr) throw EClassNotFound(Format(SClassNotFound, {ClassName}));
  return c;
}

// --- property look-up ---

PPropInfo GetPropInfo(const TClassInfo* AClass, StringView PropName) {
  return AClass == nullptr ? nullptr : AClass->FindProperty(PropName);
}

PPropInfo GetPropInfo(const TObject* Instance, StringView PropName) {
  return GetPropInfo(ClassInfoOf(Instance), PropName);
}

std::vector<PPropInfo> GetPropList(const TClassInfo* AClass, TTypeKinds TypeKinds, bool SortList) {
  std::vector<PPropInfo> result;
  if (AClass == nullptr) return result;
  for (PPropInfo p : AClass->Properties())
    if (TypeKinds.Contains(p->Kind())) result.push_back(p);
  if (SortList)
    std::stable_sort(result.begin(), result.end(),
                     [](PPropInfo a, PPropInfo b) { return CompareText(a->Name(), b->Name()) < 0; });
  return result;
}

std::vector<PPropInfo> GetPropList(const TObject* Instance, TTypeKinds TypeKinds, bool SortList) {
  return GetPropList(ClassInfoOf(Instance), TypeKinds, SortList);
}

bool IsPublishedProp(const TObject* Instance, StringView PropName) { return GetPropInfo(Instance, PropName) != nullptr; }
bool IsPublishedProp(const TClassInfo* AClass, StringView PropName) { return GetPropInfo(AClass, PropName) != nullptr; }

TTypeKind PropType(const TObject* Instance, StringView PropName) { return Find(Instance, PropName)->Kind(); }

bool PropIsType(const TObject* Instance, StringView PropName, TTypeKind TypeKind) {
  return PropType(Instance, PropName) == TypeKind;
}

bool IsStoredProp(TObject* Instance, PPropInfo PropInfo) {
  Check(Instance, PropInfo);
  if (PropInfo->StoredFunc) return PropInfo->StoredFunc(Instance);
  return PropInfo->StoredConst;
}

bool IsStoredProp(TObject* Instance, StringView PropName) { return IsStoredProp(Instance, Find(Instance, PropName)); }

bool IsDefaultPropertyValue(TObject* Instance, PPropInfo PropInfo) {
  Check(Instance, PropInfo);
  if (!PropInfo->IsReadable()) return true;
  const TTypeKind kind = PropInfo->Kind();
  if (kind == tkInt64) return PropInfo->GetOrd(Instance) == (PropInfo->HasDefault() ? PropInfo->Default() : 0);
  if (IsOrdinal(kind)) return PropInfo->HasDefault() && PropInfo->GetOrd(Instance) == PropInfo->Default();
  if (kind == tkFloat) return PropInfo->GetFloat(Instance) == 0.0;
  if (IsStringKind(kind)) return PropInfo->GetStr(Instance).empty();
  if (kind == tkClass) return PropInfo->GetObject(Instance) == nullptr;
  if (kind == tkMethod) return !PropInfo->GetMethod(Instance).Assigned();
  return false;
}

// --- ordinal properties ---

Int64 GetOrdProp(TObject* Instance, PPropInfo PropInfo) {
  return Read(Instance, PropInfo, PropInfo != nullptr && IsOrdinal(PropInfo->Kind()), PropInfo ? PropInfo->GetOrd : nullptr);
}
Int64 GetOrdProp(TObject* Instance, StringView PropName) { return GetOrdProp(Instance, Find(Instance, PropName)); }

void SetOrdProp(TObject* Instance, PPropInfo PropInfo, Int64 Value) {
  Write(Instance, PropInfo, PropInfo != nullptr && IsOrdinal(PropInfo->Kind()), PropInfo ? PropInfo->SetOrd : nullptr, Value);
}
void SetOrdProp(TObject* Instance, StringView PropName, Int64 Value) {
  SetOrdProp(Instance, Find(Instance, PropName), Value);
}

Int64 GetInt64Prop(TObject* Instance, PPropInfo PropInfo) { return GetOrdProp(Instance, PropInfo); }
Int64 GetInt64Prop(TObject* Instance, StringView PropName) { return GetOrdProp(Instance, PropName); }
void SetInt64Prop(TObject* Instance, PPropInfo PropInfo, Int64 Value) { SetOrdProp(Instance, PropInfo, Value); }
void SetInt64Prop(TObject* Instance, StringView PropName, Int64 Value) { SetOrdProp(Instance, PropName, Value); }

String GetEnumProp(TObject* Instance, PPropInfo PropInfo) {
  const Int64 value = GetOrdProp(Instance, PropInfo);
  return GetEnumName(PropInfo->PropType(), static_cast<Integer>(value));
}
String GetEnumProp(TObject* Instance, StringView PropName) { return GetEnumProp(Instance, Find(Instance, PropName)); }

void SetEnumProp(TObject* Instance, PPropInfo PropInfo, StringView Value) {
  Check(Instance, PropInfo);
  if (PropInfo->Kind() != tkEnumeration) InvalidType(PropInfo);
  const Integer ordinal = GetEnumValue(PropInfo->PropType(), Trim(Value));
  if (ordinal < 0) throw EPropertyConvertError(Format(SInvalidPropertyElement, {Value}));
  SetOrdProp(Instance, PropInfo, ordinal);
}
void SetEnumProp(TObject* Instance, StringView PropName, StringView Value) {
  SetEnumProp(Instance, Find(Instance, PropName), Value);
}

String GetSetProp(TObject* Instance, PPropInfo PropInfo, bool Brackets) {
  Check(Instance, PropInfo);
  if (PropInfo->Kind() != tkSet) InvalidType(PropInfo);
  return SetToString(PropInfo->PropType(), static_cast<UInt64>(GetOrdProp(Instance, PropInfo)), Brackets);
}
String GetSetProp(TObject* Instance, StringView PropName, bool Brackets) {
  return GetSetProp(Instance, Find(Instance, PropName), Brackets);
}

void SetSetProp(TObject* Instance, PPropInfo PropInfo, StringView Value) {
  Check(Instance, PropInfo);
  if (PropInfo->Kind() != tkSet) InvalidType(PropInfo);
  SetOrdProp(Instance, PropInfo, static_cast<Int64>(StringToSet(PropInfo->PropType(), Value)));
}
void SetSetProp(TObject* Instance, StringView PropName, StringView Value) {
  SetSetProp(Instance, Find(Instance, PropName), Value);
}

// --- other kinds ---

double GetFloatProp(TObject* Instance, PPropInfo PropInfo) {
  return Read(Instance, PropInfo, PropInfo != nullptr && PropInfo->Kind() == tkFloat, PropInfo ? PropInfo->GetFloat : nullptr);
}
double GetFloatProp(TObject* Instance, StringView PropName) { return GetFloatProp(Instance, Find(Instance, PropName)); }
void SetFloatProp(TObject* Instance, PPropInfo PropInfo, double Value) {
  Write(Instance, PropInfo, PropInfo != nullptr && PropInfo->Kind() == tkFloat, PropInfo ? PropInfo->SetFloat : nullptr, Value);
}
void SetFloatProp(TObject* Instance, StringView PropName, double Value) {
  SetFloatProp(Instance, Find(Instance, PropName), Value);
}

String GetStrProp(TObject* Instance, PPropInfo PropInfo) {
  return Read(Instance, PropInfo, PropInfo != nullptr && IsStringKind(PropInfo->Kind()), PropInfo ? PropInfo->GetStr : nullptr);
}
String GetStrProp(TObject* Instance, StringView PropName) { return GetStrProp(Instance, Find(Instance, PropName)); }
void SetStrProp(TObject* Instance, PPropInfo PropInfo, const String& Value) {
  Write(Instance, PropInfo, PropInfo != nullptr && IsStringKind(PropInfo->Kind()), PropInfo ? PropInfo->SetStr : nullptr, Value);
}
void SetStrProp(TObject* Instance, StringView PropName, const String& Value) {
  SetStrProp(Instance, Find(Instance, PropName), Value);
}

TObject* GetObjectProp(TObject* Instance, PPropInfo PropInfo) {
  return Read(Instance, PropInfo, PropInfo != nullptr && PropInfo->Kind() == tkClass, PropInfo ? PropInfo->GetObject : nullptr);
}
TObject* GetObjectProp(TObject* Instance, StringView PropName) { return GetObjectProp(Instance, Find(Instance, PropName)); }
void SetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value) {
  Write(Instance, PropInfo, PropInfo != nullptr && PropInfo->Kind() == tkClass, PropInfo ? PropInfo->SetObject : nullptr, Value);
}
void SetObjectProp(TObject* Instance, StringView PropName, TObject* Value) {
  SetObjectProp(Instance, Find(Instance, PropName), Value);
}

const TClassInfo* GetObjectPropClass(PPropInfo PropInfo) {
  if (PropInfo == nullptr || PropInfo->Kind() != tkClass) return nullptr;
  return PropInfo->PropType()->ClassType;
}

TMethod GetMethodProp(TObject* Instance, PPropInfo PropInfo) {
  return Read(Instance, PropInfo, PropInfo != nullptr && PropInfo->Kind() == tkMethod, PropInfo ? PropInfo->GetMethod : nullptr);
}
TMethod GetMethodProp(TObject* Instance, StringView PropName) { return GetMethodProp(Instance, Find(Instance, PropName)); }
void SetMethodProp(TObject* Instance, PPropInfo PropInfo, const TMethod& Value) {
  Write(Instance, PropInfo, PropInfo != nullptr && PropInfo->Kind() == tkMethod, PropInfo ? PropInfo->SetMethod : nullptr, Value);
}
void SetMethodProp(TObject* Instance, StringView PropName, const TMethod& Value) {
  SetMethodProp(Instance, Find(Instance, PropName), Value);
}

TMethod MethodOf(TObject* Data, StringView Name) {
  TMethod m;
  const TClassInfo* cls = ClassInfoOf(Data);
  const TMethodInfo* code = cls == nullptr ? nullptr : cls->MethodAddress(Name);
  if (code == nullptr) return m;
  m.Code = code;
  m.Data = Data;
  m.Handler = code->Bind(Data);
  return m;
}

// --- enumeration and set names ---

String GetEnumName(PTypeInfo TypeInfo, Integer Value) {
  if (TypeInfo != nullptr && TypeInfo->Kind == tkEnumeration) {
    const PTypeInfo base = TypeInfo->BaseType != nullptr ? TypeInfo->BaseType : TypeInfo;
    if (Value >= 0 && static_cast<std::size_t>(Value) < base->NameList.size())
      return base->NameList[static_cast<std::size_t>(Value)];
  }
  return IntToStr(Value);
}

Integer GetEnumValue(PTypeInfo TypeInfo, StringView Name) {
  if (TypeInfo == nullptr || TypeInfo->Kind != tkEnumeration) return -1;
  const PTypeInfo base = TypeInfo->BaseType != nullptr ? TypeInfo->BaseType : TypeInfo;
  for (std::size_t i = 0; i < base->NameList.size(); ++i)
    if (SameText(base->NameList[i], Name)) return static_cast<Integer>(i);
  return -1;
}

String SetToString(PTypeInfo TypeInfo, UInt64 Value, bool Brackets) {
  const PTypeInfo element = SetElementType(TypeInfo);
  String result;
  for (int bit = 0; bit < 64; ++bit) {
    if (((Value >> bit) & 1u) == 0) continue;
    if (!result.empty()) result += u',';
    result += GetEnumName(element, bit);
  }
  return Brackets ? u"[" + result + u"]" : result;
}

UInt64 StringToSet(PTypeInfo TypeInfo, StringView Value) {
  const PTypeInfo element = SetElementType(TypeInfo);
  String text = Trim(Value);
  if (!text.empty() && text.front() == u'[') text.erase(0, 1);
  if (!text.empty() && text.back() == u']') text.pop_back();
  UInt64 result = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u',', start);
    if (end == String::npos) end = text.size();
    const String name = Trim(StringView(text).substr(start, end - start));
    if (!name.empty()) {
      const Integer ordinal = GetEnumValue(element, name);
      if (ordinal < 0 || ordinal >= 64) throw EPropertyConvertError(Format(SInvalidPropertyElement, {name}));
      result |= UInt64{1} << ordinal;
    }
    start = end + 1;
  }
  return result;
}
