#pragma once
// Accessor pairs of the appearance classes. The class declares a private
// SetColour(TColor&, TColor) (and SetGradientValue for gradients) that stores
// a changed value and notifies; plain members are written without notice.
// A colour member whose setter stores a changed value and notifies.
#define RYX_NOTIFYING_COLOUR(Name)             \
  TColor Name() const { return F##Name; }      \
  void Set##Name(TColor V) { SetColour(F##Name, V); }
// A colour member written straight into its field, without notification.
#define RYX_PLAIN_COLOUR(Name)            \
  TColor Name() const { return F##Name; } \
  void Set##Name(TColor V) { F##Name = V; }
#define RYX_NOTIFYING_GRADIENT(Name)                 \
  TGDIPGradient Name() const { return F##Name; }     \
  void Set##Name(TGDIPGradient V) { SetGradientValue(F##Name, V); }
