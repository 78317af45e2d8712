// TAdvUtils' per-object JSON operations, apart from the text utilities so that
// those need no persistence layer.
#include "foundation/json/AdvPersistence.h"
#include "foundation/utils/AdvUtils.h"

String TAdvUtils::ToJSON(TObject* AObject) { return ::ToJSON(AObject); }
String TAdvUtils::ToJSON(TObject* AObject, const std::vector<String>& AExcludedProperties) {
  return ::ToJSON(AObject, AExcludedProperties);
}
void TAdvUtils::FromJSON(TObject* AObject, StringView Value) { ::FromJSON(AObject, Value); }
void TAdvUtils::SaveToJSONFile(TObject* AObject, const String& AFileName) { ::SaveToJSONFile(AObject, AFileName); }
void TAdvUtils::LoadFromJSONFile(TObject* AObject, const String& AFileName) { ::LoadFromJSONFile(AObject, AFileName); }
void TAdvUtils::SaveToJSONStream(TObject* AObject, TStream* AStream) { ::SaveToJSONStream(AObject, AStream); }
void TAdvUtils::LoadFromJSONStream(TObject* AObject, TStream* AStream) { ::LoadFromJSONStream(AObject, AStream); }
