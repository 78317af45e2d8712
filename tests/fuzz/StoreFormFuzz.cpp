// Fuzz target: the firmware store's stored form and its held bytes. Any
// input either loads or is refused with the store's exception; every item
// that loads is read back, which inflates its held bytes under the store's
// limits. Nothing may crash, leak or run without bound.
#include <cstddef>
#include <cstdint>

#include "app/MxStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBytesStream in(TBytes(data, data + size));
  TmxStorage store(nullptr);
  try {
    store.LoadStore(&in);
  } catch (const Exception&) {
    return 0;
  }
  for (Integer i = 0; i < store.StoredItems()->Count(); ++i) {
    try {
      store.ItemByIndex(i)->AsStream();
    } catch (const Exception&) {
    }
  }
  TBytesStream out;
  store.SaveStore(&out);
  return 0;
}
