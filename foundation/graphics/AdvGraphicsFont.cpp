#include "foundation/graphics/AdvGraphicsFont.h"

TAdvGraphicsFont::TAdvGraphicsFont() { SetHeight(-11); }

void TAdvGraphicsFont::Assign(TPersistent* Source) {
  TFont::Assign(Source);
  DoChanged();
}

void TAdvGraphicsFont::AssignSource(TPersistent* Source) { Assign(Source); }

void TAdvGraphicsFont::BeginUpdate() { ++FUpdateCount; }

void TAdvGraphicsFont::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  DoChanged();
}

void TAdvGraphicsFont::Changed() {
  TFont::Changed();
  DoChanged();
}

void TAdvGraphicsFont::DoChanged() {
  if (OnChanged && FUpdateCount == 0) OnChanged(this);
}
