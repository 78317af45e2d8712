#pragma once
// TObject: the root of the class library's objects. Not copyable: objects are
// referenced, owned by a component owner or held by std::unique_ptr.
#include <typeinfo>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

class TClassInfo;

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  // The class's own name, e.g. u"TStringList".
  String ClassName() const { return ClassNameOf(typeid(*this)); }
  bool ClassNameIs(StringView name) const;

  // The declared metaclass of this object's class (its nearest declared
  // ancestor's when the class itself is not declared); nullptr when none is.
  const TClassInfo* ClassType() const;
  // True when the object's class is AClass or descends from it.
  bool InheritsFrom(const TClassInfo* AClass) const;

  // The `is` operator.
  template <class T>
  bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }
};

// The `as` operator: nullptr stays nullptr, a wrong class raises EInvalidCast.
template <class T, class U>
T* As(U* object) {
  if (object == nullptr) return nullptr;
  if (auto* cast = dynamic_cast<T*>(object)) return cast;
  throw EInvalidCast(u"Invalid class typecast");
}
