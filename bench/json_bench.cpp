// Time per document of the component core's JSON reader and writer against
// nlohmann-json on the same documents in the same run. Each iteration runs
// both sides, each in a child process of its own (alternating which goes
// first), so neither inherits the other's warm heap; the counters give each
// side's milliseconds per document and the ratio (ours / reference, below 1
// is faster). Outputs differ in length (ours
// escapes every character beyond ASCII), so throughput in bytes would
// compare different work: only the time per document is reported.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "foundation/json/AdvJSONReader.h"
#include "foundation/json/AdvJSONWriter.h"

namespace {

using TToken = TAdvJSONReader::TAdvJSONToken;

unsigned gSeed = 12345;
unsigned Next() { return gSeed = gSeed * 1103515245u + 12345u; }

// Settings- and API-shaped records: nested objects and arrays, strings with
// escapes and UTF-8, integers and floats (about 2 MB).
std::string RecordsDocument() {
  std::string s = "{\"version\":3,\"generator\":\"bench \\\"gen\\\" \\/ v1\",\"items\":[";
  for (int i = 0; i < 5000; ++i) {
    if (i) s += ',';
    s += "{\"id\":" + std::to_string(i * 7919) + ",\"name\":\"Item " + std::to_string(i) +
         " \\\"quoted\\\" caf\xC3\xA9 \\u00e9\",\"path\":\"C:\\\\data\\\\file" + std::to_string(i % 97) +
         ".txt\",\"price\":" + std::to_string(Next() % 100000) + "." + std::to_string(Next() % 100) +
         ",\"active\":" + (Next() % 2 ? "true" : "false") + ",\"owner\":null" +
         ",\"tags\":[\"alpha\",\"beta\\tgamma\",\"line\\nbreak\"]" + ",\"dims\":{\"w\":" +
         std::to_string(Next() % 5000) + ",\"h\":" + std::to_string(Next() % 5000) + ",\"depth\":-" +
         std::to_string(Next() % 100) + ".25}" + ",\"history\":[[1,2,3],[" + std::to_string(Next()) + "," +
         std::to_string(Next() % 77) + "]]" +
         ",\"note\":\"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor.\"}";
  }
  return s + "]}";
}

// Many small objects whose texts are mostly escapes and characters beyond ASCII.
std::string SmallObjectsDocument() {
  std::string s = "[";
  for (int i = 0; i < 40000; ++i) {
    if (i) s += ',';
    s += "{\"k\":\"a\\\"b\\\\c\\n" + std::to_string(i) + "\",\"t\":\"\xC3\xA9t\xC3\xA9 \\u00fc \\t\xE2\x82\xAC\",\"n\":" +
         std::to_string(Next() % 1000) + "}";
  }
  return s + "]";
}

// Arrays of floats: short decimals as typed by people and results of
// arithmetic with all their digits.
std::string FloatsDocument() {
  std::string s = "{\"series\":[";
  char buf[40];
  for (int row = 0; row < 200; ++row) {
    if (row) s += ',';
    s += '[';
    for (int i = 0; i < 500; ++i) {
      if (i) s += ',';
      const double v = i % 2 ? static_cast<double>(Next() % 1000000) / 1000.0
                             : std::sin(row * 500.0 + i) * std::pow(10.0, static_cast<int>(Next() % 12) - 4);
      std::snprintf(buf, sizeof buf, "%.17g", v);
      s += buf;
    }
    s += ']';
  }
  return s + "]}";
}

// Deep nesting: blocks of alternating arrays and objects 200 levels deep.
std::string DeepDocument() {
  std::string s = "[";
  for (int block = 0; block < 300; ++block) {
    if (block) s += ',';
    for (int d = 0; d < 100; ++d) s += "{\"a\":[" + std::to_string(d) + ",";
    s += "\"leaf\"";
    for (int d = 0; d < 100; ++d) s += "]}";
  }
  return s + "]";
}

struct TDocument {
  const char* Name;
  std::string Text;
};

const std::vector<TDocument>& Documents() {
  static const std::vector<TDocument> docs = {{"records", RecordsDocument()},
                                              {"small_objects", SmallObjectsDocument()},
                                              {"floats", FloatsDocument()},
                                              {"deep", DeepDocument()}};
  return docs;
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

// A document as writer calls, so both writers get the same content in
// memory; as compact as the reference's tree (texts kept apart), so walking
// it costs no more than walking the tree.
struct TWriteTok {
  TToken Kind;
  bool Integral = false;
  bool Flag = false;
  Integer Text = -1;  // index into TWriteDoc::Texts
  union {
    Int64 Int;
    Double Number;
  };
};

struct TWriteDoc {
  std::vector<TWriteTok> Toks;
  std::vector<String> Texts;
};

TWriteDoc WriteToks(const std::string& doc) {
  TWriteDoc d;
  TAdvJSONReader r(doc);
  for (;;) {
    TWriteTok t;
    t.Kind = r.Peek();
    t.Int = 0;
    switch (t.Kind) {
      case TToken::jstoBeginObject: r.ReadBeginObject(); break;
      case TToken::jstoEndObject: r.ReadEndObject(); break;
      case TToken::jstoBeginArray: r.ReadBeginArray(); break;
      case TToken::jstoEndArray: r.ReadEndArray(); break;
      case TToken::jstoName:
      case TToken::jstoText:
        t.Text = static_cast<Integer>(d.Texts.size());
        d.Texts.push_back(t.Kind == TToken::jstoName ? r.ReadName() : r.ReadString());
        break;
      case TToken::jstoBoolean: t.Flag = r.ReadBoolean(); break;
      case TToken::jstoNull: r.ReadNull(); break;
      case TToken::jstoNumber:
        try {
          t.Int = r.ReadInt64();
          t.Integral = true;
        } catch (const Exception&) {
          t.Number = r.ReadDouble();
        }
        break;
      case TToken::jstoEOF: return d;
    }
    d.Toks.push_back(t);
  }
}

std::size_t WriteAdv(const TWriteDoc& d) {
  std::string out;
  {
    TAdvJSONWriter w(&out);
    for (const auto& t : d.Toks) {
      switch (t.Kind) {
        case TToken::jstoBeginObject: w.WriteBeginObject(); break;
        case TToken::jstoEndObject: w.WriteEndObject(); break;
        case TToken::jstoBeginArray: w.WriteBeginArray(); break;
        case TToken::jstoEndArray: w.WriteEndArray(); break;
        case TToken::jstoName: w.WriteName(d.Texts[static_cast<std::size_t>(t.Text)]); break;
        case TToken::jstoBoolean: w.WriteBoolean(t.Flag); break;
        case TToken::jstoNull: w.WriteNull(); break;
        case TToken::jstoText: w.WriteString(d.Texts[static_cast<std::size_t>(t.Text)]); break;
        case TToken::jstoNumber:
          if (t.Integral) w.WriteInteger(t.Int);
          else w.WriteDouble(t.Number);
          break;
        default: break;
      }
    }
  }
  benchmark::DoNotOptimize(out);
  return out.size();
}

double Seconds(const std::function<void()>& run) {
  const auto started = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// Seconds per run of `run`, measured in a child process after one run that
// is not counted: each side starts from the same allocator state and warms
// the heap for itself, none inherits the other's (large buffers one side
// freed would spare the other its page faults).
double SecondsInChild(const std::function<void()>& run, int runs) {
  int fds[2];
  if (::pipe(fds) != 0) return Seconds(run);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    run();  // its own heap warmed by itself
    double total = 0;
    for (int i = 0; i < runs; ++i) total += Seconds(run);
    const ssize_t written = ::write(fds[1], &total, sizeof total);
    ::_exit(written == sizeof total ? 0 : 1);
  }
  ::close(fds[1]);
  double total = -1;
  const ssize_t got = pid > 0 ? ::read(fds[0], &total, sizeof total) : 0;
  ::close(fds[0]);
  if (pid > 0) ::waitpid(pid, nullptr, 0);
  return got == sizeof total ? total / runs : Seconds(run);
}

// Both sides per iteration, each in its own child, the first one alternating.
void Compare(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& reference) {
  constexpr int kRuns = 5;
  double oursTotal = 0, referenceTotal = 0;
  long n = 0;
  for (auto _ : state) {
    double a = 0, b = 0;
    if (n % 2 == 0) {
      a = SecondsInChild(ours, kRuns);
      b = SecondsInChild(reference, kRuns);
    } else {
      b = SecondsInChild(reference, kRuns);
      a = SecondsInChild(ours, kRuns);
    }
    oursTotal += a;
    referenceTotal += b;
    ++n;
    state.SetIterationTime(a + b);
  }
  state.counters["ours_ms"] = oursTotal / static_cast<double>(n) * 1e3;
  state.counters["reference_ms"] = referenceTotal / static_cast<double>(n) * 1e3;
  state.counters["ratio"] = oursTotal / referenceTotal;
}

void BM_Read(benchmark::State& state, std::size_t index) {
  const std::string& doc = Documents()[index].Text;
  Compare(
      state,
      [&] {
        std::size_t sink = 0;
        TAdvJSONReader r(doc);
        ReadAllTokens(r, sink);
        benchmark::DoNotOptimize(sink);
      },
      [&] {
        TCountingSax sax;
        nlohmann::json::sax_parse(doc, &sax);
        benchmark::DoNotOptimize(sax.sink);
      });
}

void BM_Write(benchmark::State& state, std::size_t index) {
  const std::string& doc = Documents()[index].Text;
  const TWriteDoc toks = WriteToks(doc);
  const nlohmann::json tree = nlohmann::json::parse(doc);
  Compare(
      state, [&] { benchmark::DoNotOptimize(WriteAdv(toks)); },
      [&] {
        std::string out = tree.dump();
        benchmark::DoNotOptimize(out);
      });
}

BENCHMARK_CAPTURE(BM_Read, records, 0)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Read, small_objects, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Read, floats, 2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Read, deep, 3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, records, 0)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, small_objects, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, floats, 2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, deep, 3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
