#pragma once
// Reads a JSON document into a token list, writes the tokens again and
// compares: shared by the round-trip fuzz target and the unit tests.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/json/AdvJSONReader.h"
#include "foundation/json/AdvJSONWriter.h"
#include "foundation/utils/AdvUtils.h"

namespace json_round_trip {


using TToken = TAdvJSONReader::TAdvJSONToken;

enum class TKind { BeginObject, EndObject, BeginArray, EndArray, Name, True, False, Null, Text, Int, Float };

struct TTok {
  TKind Kind;
  String Text;  // names and strings decoded
  Int64 Int = 0;
  Double Float = 0;

  bool IsNumber() const { return Kind == TKind::Int || Kind == TKind::Float; }
  // A float is written with 15 digits and may come back as an integer: numbers
  // compare by their written text.
  String NumberText() const { return TAdvUtils::FloatToStrDot(Kind == TKind::Int ? static_cast<Double>(Int) : Float); }
  bool operator==(const TTok& o) const {
    if (IsNumber() || o.IsNumber()) return IsNumber() && o.IsNumber() && NumberText() == o.NumberText();
    return Kind == o.Kind && Text == o.Text;
  }
};

// Reads every token; false when the document is rejected (any exception).
inline bool ReadAll(std::string_view doc, std::vector<TTok>& out) {
  try {
    TAdvJSONReader r(doc);
    for (;;) {
      switch (r.Peek()) {
        case TToken::jstoBeginObject: r.ReadBeginObject(); out.push_back({TKind::BeginObject, {}}); break;
        case TToken::jstoEndObject: r.ReadEndObject(); out.push_back({TKind::EndObject, {}}); break;
        case TToken::jstoBeginArray: r.ReadBeginArray(); out.push_back({TKind::BeginArray, {}}); break;
        case TToken::jstoEndArray: r.ReadEndArray(); out.push_back({TKind::EndArray, {}}); break;
        case TToken::jstoName: {
          // Names come back as written; their decoded form is what a writer gets.
          const String raw = r.PeekName();
          if (r.ReadName() != raw) std::abort();
          out.push_back({TKind::Name, TAdvUtils::UnescapeString(raw)});
          break;
        }
        case TToken::jstoBoolean: out.push_back({r.ReadBoolean() ? TKind::True : TKind::False, {}}); break;
        case TToken::jstoNull: r.ReadNull(); out.push_back({TKind::Null, {}}); break;
        case TToken::jstoText: out.push_back({TKind::Text, r.ReadString()}); break;
        case TToken::jstoNumber: {
          try {
            out.push_back({TKind::Int, {}, r.ReadInt64()});
          } catch (const TAdvJSONReader::EInvalidStateException&) {
            out.push_back({TKind::Float, {}, 0, r.ReadDouble()});
          }
          break;
        }
        case TToken::jstoEOF: return true;
      }
    }
  } catch (const Exception&) {
    return false;
  }
}

inline std::string WriteAll(const std::vector<TTok>& toks) {
  std::string out;
  {
    TAdvJSONWriter w(&out);
    for (const auto& t : toks) {
      switch (t.Kind) {
        case TKind::BeginObject: w.WriteBeginObject(); break;
        case TKind::EndObject: w.WriteEndObject(); break;
        case TKind::BeginArray: w.WriteBeginArray(); break;
        case TKind::EndArray: w.WriteEndArray(); break;
        case TKind::Name:
          if (t.Text.empty()) return {};  // the writer refuses empty names by design
          w.WriteName(t.Text);
          break;
        case TKind::True: w.WriteBoolean(true); break;
        case TKind::False: w.WriteBoolean(false); break;
        case TKind::Null: w.WriteNull(); break;
        case TKind::Text: w.WriteString(t.Text); break;
        case TKind::Int: w.WriteInteger(t.Int); break;
        case TKind::Float: w.WriteDouble(t.Float); break;
      }
    }
    w.Close();
  }
  return out;
}


// Empty when the document is rejected or cannot be written again (empty
// names); otherwise the written text, which must read back to the same tokens.
enum class TRoundTrip { Rejected, Same, Different };
inline TRoundTrip RoundTrip(std::string_view doc, std::string* written = nullptr) {
  std::vector<TTok> first;
  if (!ReadAll(doc, first)) return TRoundTrip::Rejected;
  const std::string text = WriteAll(first);
  if (written != nullptr) *written = text;
  if (text.empty()) return TRoundTrip::Rejected;
  std::vector<TTok> second;
  return ReadAll(text, second) && second == first ? TRoundTrip::Same : TRoundTrip::Different;
}

}  // namespace json_round_trip
