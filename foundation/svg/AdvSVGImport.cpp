#include "foundation/svg/AdvSVGImport.h"

namespace {
// Written only by the start-up sequence on the user-interface thread.
TAdvSVGImport::TFactory& Factory() {
  static TAdvSVGImport::TFactory f;
  return f;
}
}  // namespace

void TAdvSVGImport::RegisterFactory(TFactory AFactory) { Factory() = std::move(AFactory); }

std::unique_ptr<TAdvSVGImport> TAdvSVGImport::CreateDocument() {
  return Factory() ? Factory()() : nullptr;
}
