#pragma once
// Run-time type information: a metaclass (TClassInfo) per declared class with
// its parent, a factory and its published properties and methods; a class
// registry for finding classes by name; and routines that read and write
// published properties by name, in the manner of the class library.
//
// A class declares itself once, from an explicit registration function that
// the program's start-up (or a test) calls:
//
//   RegisterEnum<TAlign>(u"TAlign", {u"alNone", u"alTop", u"alBottom"});
//   TClassInfo::Of<TMyComp, TComponent>(u"TMyComp")
//       .Property(u"Caption", &TMyComp::Caption, &TMyComp::SetCaption)
//       .Property(u"Color", &TMyComp::Color, &TMyComp::SetColor).TypeName(u"TColor").Default(0xFFFFFF)
//       .Property(u"Font", &TMyComp::Font, &TMyComp::SetFont)
//       .Event(u"OnClick", &TMyComp::OnClick);
//   RegisterClass(ClassInfoOf<TMyComp>());
//
// Declaration order does not matter: a class or enumeration named before it
// is declared gets a placeholder that its declaration fills in later.
// TObject, TPersistent, TComponent (Name, Tag), TCollection, TOwnedCollection,
// TCollectionItem, TList, TStrings and TStringList are declared on first use
// of the registry.
// Declarations and look-ups happen on one thread (start-up, then the UI thread).
#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Set.h"

enum TTypeKind {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod, tkWChar,
  tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray, tkUString,
  tkClassRef, tkPointer, tkProcedure
};
using TTypeKinds = TSet<TTypeKind>;
inline constexpr TTypeKinds tkAny = [] {
  TTypeKinds all;
  for (int k = tkUnknown; k <= tkProcedure; ++k) all.Include(static_cast<TTypeKind>(k));
  return all;
}();

enum TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong, otSQWord, otUQWord };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

class TClassInfo;
class TPropInfo;
class TMethodInfo;

// What a property's type is. Type names matter: "TColor", "TDateTime",
// "TDate", "TTime" and the like are told apart from plain integers and
// doubles by their name only.
struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  String Name;
  TOrdType OrdType = otSLong;          // integers, chars, enumerations
  Int64 MinValue = 0;                  // integers, chars, enumerations
  Int64 MaxValue = -1;                 // an undeclared enumeration has no values
  std::vector<String> NameList;        // enumerations: value names by ordinal
  const TTypeInfo* BaseType = nullptr; // enumerations: the type itself
  const TTypeInfo* CompType = nullptr; // sets: the element enumeration
  TFloatType FloatType = ftDouble;     // floats
  const TClassInfo* ClassType = nullptr;  // classes: the declared class
};
using PTypeInfo = const TTypeInfo*;
using PPropInfo = const TPropInfo*;

// A method pointer as the type information sees it: the published method it
// was bound from (Code, when it was), the object it is bound to (Data), and
// the handler itself (a std::function of the event's type).
struct TMethod {
  const TMethodInfo* Code = nullptr;
  TObject* Data = nullptr;
  std::any Handler;
  bool Assigned() const { return Handler.has_value() || Code != nullptr; }
};

// A handler bound from a published method; an event holding one can tell
// which method it came from.
template <class Sig>
struct TBoundMethod;
template <class R, class... A>
struct TBoundMethod<R(A...)> {
  const TMethodInfo* Code = nullptr;
  TObject* Data = nullptr;
  std::function<R(A...)> Call;
  R operator()(A... args) const { return Call(std::forward<A>(args)...); }
};

namespace typinfo_detail {
template <class T> struct IsSet : std::false_type {};
template <class E> struct IsSet<TSet<E>> : std::true_type { using Element = E; };
template <class T> struct IsFunction : std::false_type {};
template <class Sig> struct IsFunction<std::function<Sig>> : std::true_type { using Signature = Sig; };
template <class T> inline constexpr bool Unsupported = false;

// Registry storage behind the templates.
TTypeInfo& TypeEntry(std::type_index Type, bool& Created);
TClassInfo& ClassEntry(std::type_index Type);
PTypeInfo MethodTypeInfo(std::type_index Type, bool IsNotifyEvent);
[[noreturn]] void RangeError();
[[noreturn]] void InvalidCast();
[[noreturn]] void InvalidPropertyValue();

template <class T>
void DescribeType(TTypeInfo& info);
}  // namespace typinfo_detail

// The type information of a C++ type used by a published property.
template <class T>
PTypeInfo TypeInfo() {
  using namespace typinfo_detail;
  bool created = false;
  TTypeInfo& info = TypeEntry(typeid(T), created);
  if (created) DescribeType<T>(info);
  return &info;
}

// Declares the value names of enumeration E (ordinals 0, 1, ...) and its type
// name; answers its type information. Declaring again replaces the names.
template <class E>
PTypeInfo RegisterEnum(StringView Name, std::initializer_list<StringView> ValueNames);

// A type that is Base under another name ("TColor" for an integer,
// "TDateTime" for a double, "WideString" for a string...). The same name and
// base give the same answer.
PTypeInfo TypeAlias(PTypeInfo Base, StringView Name);

// One published property of a class.
class TPropInfo {
 public:
  const String& Name() const { return FName; }
  PTypeInfo PropType() const { return FPropType; }
  TTypeKind Kind() const { return FPropType->Kind; }
  const TClassInfo* DeclaringClass() const { return FClass; }
  bool IsReadable() const;
  bool IsWritable() const;
  // The declared default of an ordinal property (absent: always stored).
  bool HasDefault() const { return FDefault.has_value(); }
  Int64 Default() const { return FDefault.value_or(0); }

  // Typed access behind the routines below; use those, which check the kind.
  std::function<Int64(TObject*)> GetOrd;
  std::function<void(TObject*, Int64)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<String(TObject*)> GetStr;
  std::function<void(TObject*, const String&)> SetStr;
  std::function<TObject*(TObject*)> GetObject;
  std::function<void(TObject*, TObject*)> SetObject;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;
  std::function<bool(TObject*)> StoredFunc;
  bool StoredConst = true;

 private:
  template <class C> friend class TClassBuilder;
  friend class TClassInfo;
  String FName;
  PTypeInfo FPropType = nullptr;
  const TClassInfo* FClass = nullptr;
  std::optional<Int64> FDefault;
};

// A published method of a class, which events can be bound to by name.
class TMethodInfo {
 public:
  const String& Name() const { return FName; }
  const TClassInfo* DeclaringClass() const { return FClass; }
  // The std::function type a handler bound from this method has.
  std::type_index Signature() const { return FSignature; }
  // A handler (std::function) that calls this method on Data; raises
  // EInvalidCast when Data is not of the declaring class.
  std::any Bind(TObject* Data) const { return FBind(this, Data); }

 private:
  template <class C> friend class TClassBuilder;
  String FName;
  const TClassInfo* FClass = nullptr;
  std::type_index FSignature = typeid(void);
  std::function<std::any(const TMethodInfo*, TObject*)> FBind;
};

template <class C>
class TClassBuilder;

// The metaclass of a declared class.
class TClassInfo {
 public:
  // Declares class T, descending from TParent (void for a root), under Name;
  // answers a builder that adds published properties and methods.
  template <class T, class TParent = void>
  static TClassBuilder<T> Of(StringView Name);

  const String& ClassName() const { return FName; }
  const TClassInfo* ClassParent() const { return FParent; }
  // True for this class and its descendants.
  bool InheritsFrom(const TClassInfo* AClass) const;
  // False for a class only named as a parent or property type so far.
  bool IsDeclared() const { return FDeclared; }
  std::type_index Type() const { return FType; }
  // The type information of a property holding an object of this class.
  PTypeInfo ClassTypeInfo() const { return FTypeInfo; }
  bool IsInstance(const TObject* Object) const { return FIsInstance != nullptr && FIsInstance(Object); }

  // A new instance owned by the caller: a component without owner, a
  // collection item without collection, any other class by its default
  // constructor. nullptr for a class that cannot be created (abstract, or
  // without such a constructor).
  std::unique_ptr<TObject> Create() const;
  bool CanCreate() const { return FCreate != nullptr; }
  // A new component owned by AOwner (by the caller when AOwner is nullptr);
  // nullptr when this is not a component class that can be created.
  TComponent* CreateComponent(TComponent* AOwner) const;

  // The published property named Name (letter case ignored) along the class
  // chain, nullptr when none.
  const TPropInfo* FindProperty(StringView Name) const;
  // Every published property, ancestors' first, in declaration order; a
  // property declared again by a descendant keeps its place.
  std::vector<const TPropInfo*> Properties() const;
  // The published method named Name along the class chain, nullptr when none.
  const TMethodInfo* MethodAddress(StringView Name) const;
  // The name of a published method of this class chain, empty when Code is not one.
  String MethodName(const TMethodInfo* Code) const;

 private:
  template <class C> friend class TClassBuilder;
  friend TClassInfo& typinfo_detail::ClassEntry(std::type_index);
  explicit TClassInfo(std::type_index Type) : FType(Type) {}
  void Declare(StringView Name, const TClassInfo* Parent);
  TPropInfo& AddProperty(StringView Name);

  std::type_index FType;
  String FName;
  const TClassInfo* FParent = nullptr;
  bool FDeclared = false;
  PTypeInfo FTypeInfo = nullptr;
  bool (*FIsInstance)(const TObject*) = nullptr;
  TObject* (*FCreate)() = nullptr;
  TComponent* (*FCreateComponent)(TComponent*) = nullptr;
  std::vector<std::unique_ptr<TPropInfo>> FProperties;
  std::vector<std::unique_ptr<TMethodInfo>> FMethods;
};
using TClass = const TClassInfo*;

// The metaclass of C++ class T (a placeholder until T is declared).
template <class T>
const TClassInfo* ClassInfoOf() {
  static_assert(std::is_base_of_v<TObject, T>, "classes descend from TObject");
  return &typinfo_detail::ClassEntry(typeid(T));
}
// The most derived declared class of Instance, nullptr for nullptr or when
// none of its classes is declared.
const TClassInfo* ClassInfoOf(const TObject* Instance);

// Adds properties and methods to a class being declared. Modifiers such as
// Default, Stored and TypeName apply to the property added last.
template <class C>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& Info) : FInfo(&Info) {}
  operator const TClassInfo*() const { return FInfo; }
  const TClassInfo* Info() const { return FInfo; }

  // A property read through Getter (const method or data member) and written
  // through Setter (method taking the value, data member, or nullptr for a
  // read-only property). Its kind follows the value type: bool and declared
  // enumerations, TSet<E>, integers (64-bit ones as Int64), Char and char,
  // float and double, String and std::string, pointers to TObject
  // descendants, std::function events.
  template <class G, class S>
  TClassBuilder& Property(StringView Name, G Getter, S Setter);
  template <class G>
  TClassBuilder& Property(StringView Name, G Getter) { return Property(Name, Getter, nullptr); }
  // An event held in a public std::function member, read and written directly.
  template <class F, class B>
  TClassBuilder& Event(StringView Name, F B::*Member) {
    static_assert(typinfo_detail::IsFunction<F>::value, "an event is a std::function member");
    return Property(Name, Member, Member);
  }
  // A published method that events can be bound to by name.
  template <class R, class B, class... A>
  TClassBuilder& Method(StringView Name, R (B::*Pmf)(A...));

  // Default value of the last (ordinal) property: a value equal to it need not be stored.
  template <class V>
  TClassBuilder& Default(V Value);
  // Whether the last property is stored, fixed or asked of the object.
  TClassBuilder& Stored(bool Value);
  TClassBuilder& Stored(bool (C::*Predicate)() const);
  // Gives the last property's type another name ("TColor", "TDateTime", "WideString"...).
  // "WideString" and "AnsiString" on a string property also set its kind.
  TClassBuilder& TypeName(StringView Name);

 private:
  TPropInfo& Last();
  TClassInfo* FInfo;
  TPropInfo* FLast = nullptr;
};

// --- Class registry: classes found by name (letter case ignored) ---

// Registers AClass and its ancestors up to TPersistent for FindClass and
// GetClass. Registering a class again does nothing; another class under a
// registered name raises EFilerError "A class named <name> already exists";
// an undeclared class raises EFilerError; nullptr is ignored.
void RegisterClass(const TClassInfo* AClass);
void RegisterClasses(std::initializer_list<const TClassInfo*> Classes);
// Forgets AClass (not its ancestors); nothing when it is not registered.
void UnRegisterClass(const TClassInfo* AClass);
// The registered class named ClassName; raises EClassNotFound "Class <name> not found".
const TClassInfo* FindClass(StringView ClassName);
// The registered class named ClassName, nullptr when none.
const TClassInfo* GetClass(StringView ClassName);

// --- Property routines. A property named that does not exist raises
// EPropertyError "Property <name> does not exist"; a routine used on a
// property of another kind raises EPropertyError "Invalid property type: <type>";
// writing a read-only property raises EPropertyError "Property is read-only". ---

// The published property PropName of Instance or AClass, nullptr when none.
PPropInfo GetPropInfo(const TObject* Instance, StringView PropName);
PPropInfo GetPropInfo(const TClassInfo* AClass, StringView PropName);
// The published properties of the kinds given, sorted by name (letter case
// ignored) unless SortList is false, when they keep declaration order.
std::vector<PPropInfo> GetPropList(const TObject* Instance, TTypeKinds TypeKinds = tkAny, bool SortList = true);
std::vector<PPropInfo> GetPropList(const TClassInfo* AClass, TTypeKinds TypeKinds = tkAny, bool SortList = true);
bool IsPublishedProp(const TObject* Instance, StringView PropName);
bool IsPublishedProp(const TClassInfo* AClass, StringView PropName);
TTypeKind PropType(const TObject* Instance, StringView PropName);
bool PropIsType(const TObject* Instance, StringView PropName, TTypeKind TypeKind);
// The property's stored flag or predicate.
bool IsStoredProp(TObject* Instance, PPropInfo PropInfo);
bool IsStoredProp(TObject* Instance, StringView PropName);
// True when the value need not be written: an ordinal equal to its declared
// default, a 64-bit integer or float of 0, an empty string, a nil object, an
// unassigned event.
bool IsDefaultPropertyValue(TObject* Instance, PPropInfo PropInfo);

// Ordinal kinds: integers, chars, enumerations, sets (their bits), Int64.
// Writing an enumeration outside its values raises ERangeError "Range check error".
Int64 GetOrdProp(TObject* Instance, PPropInfo PropInfo);
Int64 GetOrdProp(TObject* Instance, StringView PropName);
void SetOrdProp(TObject* Instance, PPropInfo PropInfo, Int64 Value);
void SetOrdProp(TObject* Instance, StringView PropName, Int64 Value);
Int64 GetInt64Prop(TObject* Instance, PPropInfo PropInfo);
Int64 GetInt64Prop(TObject* Instance, StringView PropName);
void SetInt64Prop(TObject* Instance, PPropInfo PropInfo, Int64 Value);
void SetInt64Prop(TObject* Instance, StringView PropName, Int64 Value);
// Enumerations by value name (letter case ignored on writing); an unknown name
// raises EPropertyConvertError "Invalid property element: <name>".
String GetEnumProp(TObject* Instance, PPropInfo PropInfo);
String GetEnumProp(TObject* Instance, StringView PropName);
void SetEnumProp(TObject* Instance, PPropInfo PropInfo, StringView Value);
void SetEnumProp(TObject* Instance, StringView PropName, StringView Value);
// Sets by element names: "a,b", or "[a,b]" with Brackets; writing accepts
// either, blanks around names, letter case ignored; an unknown name raises
// EPropertyConvertError "Invalid property element: <name>".
String GetSetProp(TObject* Instance, PPropInfo PropInfo, bool Brackets = false);
String GetSetProp(TObject* Instance, StringView PropName, bool Brackets = false);
void SetSetProp(TObject* Instance, PPropInfo PropInfo, StringView Value);
void SetSetProp(TObject* Instance, StringView PropName, StringView Value);
double GetFloatProp(TObject* Instance, PPropInfo PropInfo);
double GetFloatProp(TObject* Instance, StringView PropName);
void SetFloatProp(TObject* Instance, PPropInfo PropInfo, double Value);
void SetFloatProp(TObject* Instance, StringView PropName, double Value);
// String kinds; an 8-bit string property converts as Latin-1.
String GetStrProp(TObject* Instance, PPropInfo PropInfo);
String GetStrProp(TObject* Instance, StringView PropName);
void SetStrProp(TObject* Instance, PPropInfo PropInfo, const String& Value);
void SetStrProp(TObject* Instance, StringView PropName, const String& Value);
TObject* GetObjectProp(TObject* Instance, PPropInfo PropInfo);
TObject* GetObjectProp(TObject* Instance, StringView PropName);
// Assigns Value when it is nil or of the property's class; another class is ignored.
void SetObjectProp(TObject* Instance, PPropInfo PropInfo, TObject* Value);
void SetObjectProp(TObject* Instance, StringView PropName, TObject* Value);
// The declared class of a class property.
const TClassInfo* GetObjectPropClass(PPropInfo PropInfo);
TMethod GetMethodProp(TObject* Instance, PPropInfo PropInfo);
TMethod GetMethodProp(TObject* Instance, StringView PropName);
// Assigns the handler of Value, or binds its Code to its Data; an unassigned
// Value clears the event; a handler of another event type raises EPropertyError
// "Invalid property value".
void SetMethodProp(TObject* Instance, PPropInfo PropInfo, const TMethod& Value);
void SetMethodProp(TObject* Instance, StringView PropName, const TMethod& Value);
// The published method Name of Data's class bound to Data; unassigned when none.
TMethod MethodOf(TObject* Data, StringView Name);

// Value name of an enumeration's ordinal; the number as text for other
// ordinal types and for values outside the enumeration.
String GetEnumName(PTypeInfo TypeInfo, Integer Value);
// Ordinal of a value name (letter case ignored), -1 when none.
Integer GetEnumValue(PTypeInfo TypeInfo, StringView Name);
// Set type (or its element enumeration) and bits <-> names, as GetSetProp and SetSetProp.
String SetToString(PTypeInfo TypeInfo, UInt64 Value, bool Brackets = false);
UInt64 StringToSet(PTypeInfo TypeInfo, StringView Value);

// ===================== implementation of the templates =====================

namespace typinfo_detail {

template <class T>
void DescribeType(TTypeInfo& info) {
  if constexpr (std::is_same_v<T, bool>) {
    info.Kind = tkEnumeration;
    info.Name = u"Boolean";
    info.OrdType = otUByte;
    info.MinValue = 0;
    info.MaxValue = 1;
    info.NameList = {u"False", u"True"};
    info.BaseType = &info;
  } else if constexpr (std::is_enum_v<T>) {
    info.Kind = tkEnumeration;
    info.OrdType = otUByte;
    info.BaseType = &info;
  } else if constexpr (IsSet<T>::value) {
    info.Kind = tkSet;
    info.CompType = TypeInfo<typename IsSet<T>::Element>();
  } else if constexpr (std::is_same_v<T, char>) {
    info.Kind = tkChar;
    info.Name = u"AnsiChar";
    info.OrdType = otUByte;
    info.MinValue = 0;
    info.MaxValue = 255;
  } else if constexpr (std::is_same_v<T, char16_t>) {
    info.Kind = tkWChar;
    info.Name = u"Char";
    info.OrdType = otUWord;
    info.MinValue = 0;
    info.MaxValue = 65535;
  } else if constexpr (std::is_integral_v<T>) {
    constexpr bool isSigned = std::is_signed_v<T>;
    info.Kind = sizeof(T) == 8 ? tkInt64 : tkInteger;
    info.MinValue = sizeof(T) == 8 && !isSigned ? 0 : static_cast<Int64>(std::numeric_limits<T>::min());
    info.MaxValue = sizeof(T) == 8 && !isSigned ? INT64_MAX : static_cast<Int64>(std::numeric_limits<T>::max());
    switch (sizeof(T)) {
      case 1: info.OrdType = isSigned ? otSByte : otUByte; info.Name = isSigned ? u"ShortInt" : u"Byte"; break;
      case 2: info.OrdType = isSigned ? otSWord : otUWord; info.Name = isSigned ? u"SmallInt" : u"Word"; break;
      case 4: info.OrdType = isSigned ? otSLong : otULong; info.Name = isSigned ? u"Integer" : u"Cardinal"; break;
      default: info.OrdType = isSigned ? otSQWord : otUQWord; info.Name = isSigned ? u"Int64" : u"UInt64"; break;
    }
  } else if constexpr (std::is_floating_point_v<T>) {
    info.Kind = tkFloat;
    info.FloatType = sizeof(T) == 4 ? ftSingle : sizeof(T) == 8 ? ftDouble : ftExtended;
    info.Name = sizeof(T) == 4 ? u"Single" : sizeof(T) == 8 ? u"Double" : u"Extended";
  } else if constexpr (std::is_same_v<T, String>) {
    info.Kind = tkUString;
    info.Name = u"string";
  } else if constexpr (std::is_same_v<T, std::string>) {
    info.Kind = tkLString;
    info.Name = u"AnsiString";
  } else {
    static_assert(Unsupported<T>, "no type information for this property type");
  }
}

template <class C>
C* Self(TObject* Instance) {
  auto* self = dynamic_cast<C*>(Instance);
  if (self == nullptr) InvalidCast();
  return self;
}

template <class G, class C>
decltype(auto) Read(G Getter, C* Self) {
  return std::invoke(Getter, Self);
}

template <class V, class S, class C>
void Write(S Setter, C* Self, V Value) {
  if constexpr (std::is_member_function_pointer_v<S>)
    std::invoke(Setter, Self, std::move(Value));
  else
    std::invoke(Setter, Self) = std::move(Value);
}

template <class V>
PTypeInfo PropertyType() {
  using Raw = std::remove_cv_t<std::remove_pointer_t<V>>;
  if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TObject, Raw>) {
    return ClassInfoOf<Raw>()->ClassTypeInfo();
  } else if constexpr (IsFunction<V>::value) {
    return MethodTypeInfo(typeid(V), std::is_same_v<V, std::function<void(TObject*)>>);
  } else {
    return TypeInfo<V>();
  }
}

}  // namespace typinfo_detail

template <class E>
PTypeInfo RegisterEnum(StringView Name, std::initializer_list<StringView> ValueNames) {
  static_assert(std::is_enum_v<E>, "RegisterEnum declares an enumeration");
  auto* info = const_cast<TTypeInfo*>(TypeInfo<E>());
  info->Name = String(Name);
  info->NameList.assign(ValueNames.begin(), ValueNames.end());
  info->MinValue = 0;
  info->MaxValue = static_cast<Int64>(ValueNames.size()) - 1;
  info->OrdType = ValueNames.size() <= 256 ? otUByte : otUWord;
  return info;
}

template <class T, class TParent>
TClassBuilder<T> TClassInfo::Of(StringView Name) {
  static_assert(std::is_base_of_v<TObject, T>, "classes descend from TObject");
  TClassInfo& info = typinfo_detail::ClassEntry(typeid(T));
  const TClassInfo* parent = nullptr;
  if constexpr (!std::is_void_v<TParent>) {
    static_assert(std::is_base_of_v<TParent, T>, "the parent is a base class");
    parent = ClassInfoOf<TParent>();
  }
  info.FIsInstance = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
  if constexpr (!std::is_abstract_v<T>) {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>) {
      info.FCreateComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
      info.FCreate = []() -> TObject* { return new T(static_cast<TComponent*>(nullptr)); };
    } else if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection*>) {
      info.FCreate = []() -> TObject* { return new T(static_cast<TCollection*>(nullptr)); };
    } else if constexpr (std::is_default_constructible_v<T>) {
      info.FCreate = []() -> TObject* { return new T(); };
    }
  }
  info.Declare(Name, parent);
  return TClassBuilder<T>(info);
}

template <class C>
TPropInfo& TClassBuilder<C>::Last() {
  if (FLast == nullptr) typinfo_detail::InvalidPropertyValue();  // a modifier before any property
  return *FLast;
}

template <class C>
template <class G, class S>
TClassBuilder<C>& TClassBuilder<C>::Property(StringView Name, G Getter, S Setter) {
  using namespace typinfo_detail;
  static_assert(std::is_member_pointer_v<G>, "the getter is a method or a data member");
  using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
  constexpr bool writable = !std::is_null_pointer_v<S>;
  TPropInfo& p = FInfo->AddProperty(Name);
  FLast = &p;
  p.FPropType = PropertyType<V>();

  if constexpr (std::is_same_v<V, bool> || std::is_enum_v<V> || IsSet<V>::value || std::is_integral_v<V>) {
    p.GetOrd = [Getter](TObject* o) -> Int64 {
      const V value = Read(Getter, Self<C>(o));
      if constexpr (IsSet<V>::value)
        return static_cast<Int64>(value.ToBits());
      else
        return static_cast<Int64>(value);
    };
    if constexpr (writable) {
      p.SetOrd = [Setter](TObject* o, Int64 v) {
        C* self = Self<C>(o);
        if constexpr (IsSet<V>::value) {
          Write<V>(Setter, self, V::FromBits(static_cast<UInt64>(v)));
        } else if constexpr (std::is_same_v<V, bool>) {
          if (v < 0 || v > 1) RangeError();
          Write<V>(Setter, self, v != 0);
        } else if constexpr (std::is_enum_v<V>) {
          const PTypeInfo type = TypeInfo<V>();
          if (v < type->MinValue || v > type->MaxValue) RangeError();
          Write<V>(Setter, self, static_cast<V>(v));
        } else {
          Write<V>(Setter, self, static_cast<V>(v));  // truncates as the class library does
        }
      };
    }
  } else if constexpr (std::is_floating_point_v<V>) {
    p.GetFloat = [Getter](TObject* o) -> double { return static_cast<double>(Read(Getter, Self<C>(o))); };
    if constexpr (writable)
      p.SetFloat = [Setter](TObject* o, double v) { Write<V>(Setter, Self<C>(o), static_cast<V>(v)); };
  } else if constexpr (std::is_same_v<V, String>) {
    p.GetStr = [Getter](TObject* o) -> String { return Read(Getter, Self<C>(o)); };
    if constexpr (writable)
      p.SetStr = [Setter](TObject* o, const String& v) { Write<V>(Setter, Self<C>(o), v); };
  } else if constexpr (std::is_same_v<V, std::string>) {
    p.GetStr = [Getter](TObject* o) -> String { return AnsiToString(Read(Getter, Self<C>(o))); };
    if constexpr (writable)
      p.SetStr = [Setter](TObject* o, const String& v) { Write<V>(Setter, Self<C>(o), StringToAnsi(v)); };
  } else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<V>>>) {
    using T = std::remove_cv_t<std::remove_pointer_t<V>>;
    p.GetObject = [Getter](TObject* o) -> TObject* { return const_cast<T*>(Read(Getter, Self<C>(o))); };
    if constexpr (writable) {
      p.SetObject = [Setter](TObject* o, TObject* v) {
        C* self = Self<C>(o);
        if (v == nullptr) {
          Write<V>(Setter, self, nullptr);
        } else if (T* typed = dynamic_cast<T*>(v)) {
          Write<V>(Setter, self, typed);
        }
      };
    }
  } else if constexpr (IsFunction<V>::value) {
    using Sig = typename IsFunction<V>::Signature;
    p.GetMethod = [Getter](TObject* o) -> TMethod {
      const V& handler = Read(Getter, Self<C>(o));
      TMethod m;
      if (!handler) return m;
      m.Handler = handler;
      if (const auto* bound = handler.template target<TBoundMethod<Sig>>()) {
        m.Code = bound->Code;
        m.Data = bound->Data;
      }
      return m;
    };
    if constexpr (writable) {
      p.SetMethod = [Setter](TObject* o, const TMethod& m) {
        C* self = Self<C>(o);
        if (const V* handler = std::any_cast<V>(&m.Handler)) {
          Write<V>(Setter, self, *handler);
        } else if (!m.Handler.has_value() && m.Code != nullptr) {
          std::any bound = m.Code->Bind(m.Data);
          const V* handler2 = std::any_cast<V>(&bound);
          if (handler2 == nullptr) InvalidPropertyValue();
          Write<V>(Setter, self, *handler2);
        } else if (!m.Handler.has_value()) {
          Write<V>(Setter, self, V());
        } else {
          InvalidPropertyValue();
        }
      };
    }
  } else {
    static_assert(Unsupported<V>, "no type information for this property type");
  }
  return *this;
}

template <class C>
template <class R, class B, class... A>
TClassBuilder<C>& TClassBuilder<C>::Method(StringView Name, R (B::*Pmf)(A...)) {
  static_assert(std::is_base_of_v<B, C>, "the method belongs to the class");
  using Fn = std::function<R(A...)>;
  auto info = std::make_unique<TMethodInfo>();
  info->FName = String(Name);
  info->FClass = FInfo;
  info->FSignature = typeid(Fn);
  info->FBind = [Pmf](const TMethodInfo* code, TObject* data) -> std::any {
    C* self = typinfo_detail::Self<C>(data);
    TBoundMethod<R(A...)> bound;
    bound.Code = code;
    bound.Data = data;
    bound.Call = [self, Pmf](A... args) -> R { return (self->*Pmf)(std::forward<A>(args)...); };
    return Fn(std::move(bound));
  };
  FInfo->FMethods.push_back(std::move(info));
  return *this;
}

template <class C>
template <class V>
TClassBuilder<C>& TClassBuilder<C>::Default(V Value) {
  TPropInfo& p = Last();
  if constexpr (typinfo_detail::IsSet<V>::value)
    p.FDefault = static_cast<Int64>(Value.ToBits());
  else
    p.FDefault = static_cast<Int64>(Value);
  return *this;
}

template <class C>
TClassBuilder<C>& TClassBuilder<C>::Stored(bool Value) {
  TPropInfo& p = Last();
  p.StoredConst = Value;
  p.StoredFunc = nullptr;
  return *this;
}

template <class C>
TClassBuilder<C>& TClassBuilder<C>::Stored(bool (C::*Predicate)() const) {
  TPropInfo& p = Last();
  p.StoredFunc = [Predicate](TObject* o) { return (typinfo_detail::Self<C>(o)->*Predicate)(); };
  return *this;
}

template <class C>
TClassBuilder<C>& TClassBuilder<C>::TypeName(StringView Name) {
  TPropInfo& p = Last();
  p.FPropType = TypeAlias(p.FPropType, Name);
  return *this;
}
