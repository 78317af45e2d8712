#include "platform/rtl/Object.h"

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"

bool TObject::ClassNameIs(StringView name) const { return SameText(ClassName(), name); }

const TClassInfo* TObject::ClassType() const { return ClassInfoOf(this); }

bool TObject::InheritsFrom(const TClassInfo* AClass) const {
  return AClass != nullptr && AClass->IsInstance(this);
}
