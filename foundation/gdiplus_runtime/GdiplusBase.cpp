#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

void* TGdiplusBase::operator new(std::size_t size) noexcept { return Api().GdipAlloc(size); }

void TGdiplusBase::operator delete(void* p) noexcept { Api().GdipFree(p); }

}  // namespace gdiplus_runtime
