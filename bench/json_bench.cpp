// JSON reading and writing throughput of the component core's reader and
// writer, side by side with nlohmann-json on the same bytes in the same run.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "foundation/json/AdvJSONReader.h"
#include "foundation/json/AdvJSONWriter.h"

namespace {

using TToken = TAdvJSONReader::TAdvJSONToken;

// A settings- and API-shaped document of about 8 MB: records with nested
// objects and arrays, strings with escapes and UTF-8, integers and floats.
const std::string& Document() {
  static const std::string doc = [] {
    std::string s = "{\"version\":3,\"generator\":\"bench \\\"gen\\\" \\/ v1\",\"items\":[";
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < 20000; ++i) {
      if (i) s += ',';
      s += "{\"id\":" + std::to_string(i * 7919) + ",\"name\":\"Item " + std::to_string(i) +
           " \\\"quoted\\\" caf\xC3\xA9 \\u00e9\",\"path\":\"C:\\\\data\\\\file" + std::to_string(i % 97) +
           ".txt\",\"price\":" + std::to_string(next() % 100000) + "." + std::to_string(next() % 100) +
           ",\"ratio\":" + std::to_string((next() % 1000) / 1000.0) + "e-" + std::to_string(next() % 9) +
           ",\"active\":" + (next() % 2 ? "true" : "false") + ",\"owner\":null" +
           ",\"tags\":[\"alpha\",\"beta\\tgamma\",\"line\\nbreak\"]" +
           ",\"dims\":{\"w\":" + std::to_string(next() % 5000) + ",\"h\":" + std::to_string(next() % 5000) +
           ",\"depth\":-" + std::to_string(next() % 100) + ".25}" +
           ",\"history\":[[1,2,3],[" + std::to_string(next()) + "," + std::to_string(next() % 77) + "]]" +
           ",\"note\":\"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor.\"}";
    }
    s += "]}";
    return s;
  }();
  return doc;
}

// One pass over every token, taking every value as the persistence layer does.
void ReadAllTokens(TAdvJSONReader& r, std::size_t& sink) {
  for (;;) {
    switch (r.Peek()) {
      case TToken::jstoBeginObject: r.ReadBeginObject(); break;
      case TToken::jstoEndObject: r.ReadEndObject(); break;
      case TToken::jstoBeginArray: r.ReadBeginArray(); break;
      case TToken::jstoEndArray: r.ReadEndArray(); break;
      case TToken::jstoName: sink += r.ReadName().size(); break;
      case TToken::jstoBoolean: sink += r.ReadBoolean(); break;
      case TToken::jstoNull: r.ReadNull(); break;
      case TToken::jstoText: sink += r.ReadString().size(); break;
      case TToken::jstoNumber: sink += static_cast<std::size_t>(r.ReadDouble()); break;
      case TToken::jstoEOF: return;
    }
  }
}

void BM_Read_Adv(benchmark::State& state) {
  const std::string& doc = Document();
  for (auto _ : state) {
    std::size_t sink = 0;
    TAdvJSONReader r(doc);
    ReadAllTokens(r, sink);
    benchmark::DoNotOptimize(sink);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_Read_Adv)->Unit(benchmark::kMillisecond);

void BM_Read_NlohmannDom(benchmark::State& state) {
  const std::string& doc = Document();
  for (auto _ : state) {
    auto j = nlohmann::json::parse(doc);
    benchmark::DoNotOptimize(j);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_Read_NlohmannDom)->Unit(benchmark::kMillisecond);

// The reference's event parser: the same kind of work as a pull parser (no tree).
struct TCountingSax : nlohmann::json_sax<nlohmann::json> {
  std::size_t sink = 0;
  bool null() override { return true; }
  bool boolean(bool v) override { sink += v; return true; }
  bool number_integer(number_integer_t v) override { sink += static_cast<std::size_t>(v); return true; }
  bool number_unsigned(number_unsigned_t v) override { sink += v; return true; }
  bool number_float(number_float_t v, const string_t&) override { sink += static_cast<std::size_t>(v); return true; }
  bool string(string_t& v) override { sink += v.size(); return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t& v) override { sink += v.size(); return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }
};

void BM_Read_NlohmannSax(benchmark::State& state) {
  const std::string& doc = Document();
  for (auto _ : state) {
    TCountingSax sax;
    nlohmann::json::sax_parse(doc, &sax);
    benchmark::DoNotOptimize(sax.sink);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_Read_NlohmannSax)->Unit(benchmark::kMillisecond);

// The document as writer calls, so the writers get the same content in memory.
struct TWriteTok {
  TToken Kind;
  String Text;
  Double Number = 0;
  bool Integral = false;
  Int64 Int = 0;
  bool Flag = false;
};

const std::vector<TWriteTok>& WriteToks() {
  static const std::vector<TWriteTok> toks = [] {
    std::vector<TWriteTok> v;
    TAdvJSONReader r(Document());
    for (;;) {
      TWriteTok t;
      t.Kind = r.Peek();
      switch (t.Kind) {
        case TToken::jstoBeginObject: r.ReadBeginObject(); break;
        case TToken::jstoEndObject: r.ReadEndObject(); break;
        case TToken::jstoBeginArray: r.ReadBeginArray(); break;
        case TToken::jstoEndArray: r.ReadEndArray(); break;
        case TToken::jstoName: t.Text = r.ReadName(); break;
        case TToken::jstoBoolean: t.Flag = r.ReadBoolean(); break;
        case TToken::jstoNull: r.ReadNull(); break;
        case TToken::jstoText: t.Text = r.ReadString(); break;
        case TToken::jstoNumber:
          try {
            t.Int = r.ReadInt64();
            t.Integral = true;
          } catch (const Exception&) {
            t.Number = r.ReadDouble();
          }
          break;
        case TToken::jstoEOF: return v;
      }
      v.push_back(std::move(t));
    }
  }();
  return toks;
}

void BM_Write_Adv(benchmark::State& state) {
  const auto& toks = WriteToks();
  std::size_t size = 0;
  for (auto _ : state) {
    std::string out;
    {
      TAdvJSONWriter w(&out);
      for (const auto& t : toks) {
        switch (t.Kind) {
          case TToken::jstoBeginObject: w.WriteBeginObject(); break;
          case TToken::jstoEndObject: w.WriteEndObject(); break;
          case TToken::jstoBeginArray: w.WriteBeginArray(); break;
          case TToken::jstoEndArray: w.WriteEndArray(); break;
          case TToken::jstoName: w.WriteName(t.Text); break;
          case TToken::jstoBoolean: w.WriteBoolean(t.Flag); break;
          case TToken::jstoNull: w.WriteNull(); break;
          case TToken::jstoText: w.WriteString(t.Text); break;
          case TToken::jstoNumber:
            if (t.Integral) w.WriteInteger(t.Int);
            else w.WriteDouble(t.Number);
            break;
          default: break;
        }
      }
    }
    size = out.size();
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_Write_Adv)->Unit(benchmark::kMillisecond);

void BM_Write_Nlohmann(benchmark::State& state) {
  const auto j = nlohmann::json::parse(Document());
  std::size_t size = 0;
  for (auto _ : state) {
    std::string out = j.dump();
    size = out.size();
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_Write_Nlohmann)->Unit(benchmark::kMillisecond);

}  // namespace
