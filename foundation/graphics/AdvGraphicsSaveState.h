#pragma once
// TAdvGraphicsSaveState: a drawing state of the vector canvas (fill, stroke,
// font and the context's own state token) kept between SaveState and
// RestoreState of a drawing context.
#include <cstdint>
#include <memory>

#include "foundation/graphics/AdvGraphicsFill.h"
#include "foundation/graphics/AdvGraphicsFont.h"
#include "foundation/graphics/AdvGraphicsStroke.h"

class TAdvGraphicsSaveState : public TPersistent {
 public:
  // A solid white-to-grey fill, a solid silver stroke and a default font.
  TAdvGraphicsSaveState();
  ~TAdvGraphicsSaveState() override;

  TAdvGraphicsFill* Fill() const { return FFill.get(); }
  TAdvGraphicsStroke* Stroke() const { return FStroke.get(); }
  TAdvGraphicsFont* Font() const { return FFont.get(); }
  // Copy into the owned objects.
  void SetFill(TAdvGraphicsFill* Value) { FFill->Assign(Value); }
  void SetStroke(TAdvGraphicsStroke* Value) { FStroke->Assign(Value); }
  void SetFont(TAdvGraphicsFont* Value) { FFont->AssignSource(Value); }

  // The GDI context's SaveDC level.
  Integer SaveDC() const { return FSaveDC; }
  void SetSaveDC(Integer Value) { FSaveDC = Value; }
  // The GDI+ context's graphics-state token.
  std::uintptr_t CustomSaveDC() const { return FCustomSaveDC; }
  void SetCustomSaveDC(std::uintptr_t Value) { FCustomSaveDC = Value; }

 private:
  Integer FSaveDC = 0;
  std::unique_ptr<TAdvGraphicsFont> FFont;
  std::unique_ptr<TAdvGraphicsStroke> FStroke;
  std::unique_ptr<TAdvGraphicsFill> FFill;
  std::uintptr_t FCustomSaveDC = 0;
};
