#pragma once
// The process-wide table of colour keywords (the CSS colour keywords) that
// the canvas, the SVG renderer and the HTML renderer look colour names up in.
#include <vector>

#include "platform/rtl/Strings.h"
#include "platform/vcl/Color.h"

// The colour stored with each name of the table.
class TAdvGraphicsColorObject : public TObject {
 public:
  explicit TAdvGraphicsColorObject(TColor AColor) : FColor(AColor) {}
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }

  // --- JSON: the persistence layer's per-object operations on this object ---
  // Same contracts as the free functions of the persistence layer.
  String ToJSON();
  String ToJSON(const std::vector<String>& AExcludedProperties);
  void FromJSON(StringView Value);
  void Log();
  void SaveToJSONFile(const String& AFileName);
  void LoadFromJSONFile(const String& AFileName);
  void SaveToJSONStream(TStream* AStream);
  void LoadFromJSONStream(TStream* AStream);
  String JSON() { return ToJSON(); }
  void SetJSON(StringView Value) { FromJSON(Value); }

 private:
  TColor FColor;
};

// The table: lower-case keywords with a TAdvGraphicsColorObject each,
// sorted without regard to letter case; nullptr before the unit starts.
TStringList* GetNamedColors();
// The colour of a keyword (any letter case); false when the table has no
// such keyword or has not been filled.
bool FindNamedColor(const String& AName, TColor& AColor);

// Start-up: fills and sorts the table once, however often it is called
// before the matching finalisation.
void InitializeNamedColors();
// Shut-down: frees the colour objects and the table.
void FinalizeNamedColors();
