#include "foundation/graphics/AdvGraphicsSaveState.h"

TAdvGraphicsSaveState::TAdvGraphicsSaveState()
    : FFont(std::make_unique<TAdvGraphicsFont>()),
      FStroke(std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver)),
      FFill(std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite, clGray)) {}

TAdvGraphicsSaveState::~TAdvGraphicsSaveState() = default;
