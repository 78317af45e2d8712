#pragma once
// TAdvGraphicsFont: the platform font with update brackets and an OnChanged
// event for the vector canvas and its drawing contexts.
#include "platform/vcl/GraphicsObjects.h"

class TAdvGraphicsFont : public TFont {
 public:
  // A font 11 pixels high.
  TAdvGraphicsFont();

  // The base font's copy (another TFont; anything else raises
  // EConvertError), then OnChanged.
  void Assign(TPersistent* Source) override;
  // Copies through Assign (what the saved state and the HTML renderer call).
  virtual void AssignSource(TPersistent* Source);
  // Holds OnChanged back until the matching EndUpdate, which raises it once.
  virtual void BeginUpdate();
  virtual void EndUpdate();

  // Raised after a change while no update bracket is open; sender = the font.
  TNotifyEvent OnChanged;

 protected:
  void Changed() override;
  void DoChanged();

 private:
  Integer FUpdateCount = 0;
};
