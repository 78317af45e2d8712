#include "platform/rtl/Object.h"

#include "platform/rtl/StrUtils.h"

bool TObject::ClassNameIs(StringView name) const { return SameText(ClassName(), name); }
