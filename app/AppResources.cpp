#include "app/AppResources.h"

#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Format.h"

void LoadResourcePicture(TPicture* Picture, const String& Name) {
  std::unique_ptr<TStream> stream = TAdvUtils::GetResourceStream(Name);
  if (!stream) throw EResNotFound(Format(u"Resource %s not found", {Name}));
  Picture->LoadFromStream(stream.get());
}
