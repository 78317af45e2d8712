#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "foundation/json/AdvJSONReader.h"
#include "foundation/json/AdvJSONWriter.h"
#include "platform/rtl/Streams.h"

namespace {

using W = TAdvJSONWriter;

// The text a writer delivers after the steps, or "! message" at the first error.
std::string Written(const std::function<void(W&)>& steps, Integer indent = 0) {
  std::string out;
  std::string error;
  {
    W w(&out);
    w.SetIndentLength(indent);
    try {
      steps(w);
    } catch (const Exception& e) {
      error = "! " + StringToUtf8(e.Message());
    }
  }
  return error.empty() ? out : out + error;
}

TEST(AdvJSONWriter, CompactOutputByteForByte) {
  struct Case { std::function<void(W&)> steps; std::string out; };
  const Case cases[] = {
      {[](W& w) { w.WriteBeginObject().WriteName(u"a").WriteInteger(1).WriteEndObject(); }, "{\"a\":1}"},
      {[](W& w) { w.WriteBeginObject().WriteEndObject(); }, "{}"},
      {[](W& w) { w.WriteBeginArray().WriteEndArray(); }, "[]"},
      {[](W& w) {
         w.WriteBeginArray().WriteBoolean(true).WriteBoolean(false).WriteNull().WriteInteger(-9223372036854775807LL - 1)
             .WriteDouble(1.5).WriteDouble(1e20).WriteString(u"x").WriteEndArray();
       },
       "[true,false,null,-9223372036854775808,1.5,1E20,\"x\"]"},
      {[](W& w) { w.WriteBeginArray().WriteString(u"\u00E9\"\\\n").WriteEndArray(); },
       "[\"\\u00E9\\u0022\\u005C\\u000A\"]"},
      {[](W& w) { w.WriteBeginObject().WriteName(u"\u00E9").WriteNull().WriteEndObject(); }, "{\"\\u00E9\":null}"},
      {[](W& w) { w.WriteBeginArray().WriteRawString(u"a\\b\u00E9").WriteEndArray(); }, "[\"a\\b\xC3\xA9\"]"},
      {[](W& w) {
         w.WriteBeginObject().WriteName(u"o").WriteBeginObject().WriteName(u"l").WriteBeginArray()
             .WriteBeginArray().WriteEndArray().WriteBeginObject().WriteEndObject().WriteEndArray()
             .WriteEndObject().WriteName(u"z").WriteInteger(0).WriteEndObject();
       },
       "{\"o\":{\"l\":[[],{}]},\"z\":0}"},
      // JSON has no form for them: null keeps the document readable.
      {[](W& w) {
         w.WriteBeginArray().WriteDouble(std::nan("")).WriteDouble(std::numeric_limits<double>::infinity())
             .WriteEndArray();
       },
       "[null,null]"},
  };
  for (const auto& c : cases) EXPECT_EQ(Written(c.steps), c.out);
}

TEST(AdvJSONWriter, IndentedOutput) {
  const auto doc = [](W& w) {
    w.WriteBeginObject().WriteName(u"a").WriteInteger(1).WriteName(u"b").WriteBeginArray().WriteBoolean(true)
        .WriteNull().WriteEndArray().WriteName(u"c").WriteBeginArray().WriteEndArray().WriteEndObject();
  };
  EXPECT_EQ(Written(doc, 2),
            "{\r\n  \"a\": 1,\r\n  \"b\": [\r\n    true,\r\n    null\r\n  ],\r\n  \"c\": []\r\n}");
  std::string out;
  {
    W w(&out);
    w.SetIndentLength(3);
    EXPECT_EQ(w.IndentLength(), 3);
    w.SetIndentLength(-1);
    EXPECT_EQ(w.IndentLength(), 0);
    doc(w);
  }
  EXPECT_EQ(out, "{\"a\":1,\"b\":[true,null],\"c\":[]}");
}

TEST(AdvJSONWriter, MisuseRaisesAtTheCall) {
  struct Case { std::function<void(W&)> steps; std::string out; };
  const Case cases[] = {
      {[](W& w) { w.WriteString(u"x"); }, "! Object or array expected as top-level value"},
      {[](W& w) { w.WriteBeginArray().WriteEndArray().WriteBeginArray(); }, "[]! Multiple root values not allowed"},
      {[](W& w) { w.WriteBeginObject().WriteName(u"a").WriteName(u"b"); }, "{! Json value missing"},
      {[](W& w) { w.WriteBeginObject().WriteName(u"a").WriteEndObject(); }, "{! Json value missing"},
      {[](W& w) { w.WriteBeginArray().WriteName(u"a"); }, "["},  // accepted until the value comes
      {[](W& w) { w.WriteBeginArray().WriteName(u"a").WriteInteger(1); }, "[! Cannot write name in current Json scope"},
      {[](W& w) { w.WriteName(u"a").WriteBeginObject(); }, "! Cannot write name in current Json scope"},
      {[](W& w) { w.WriteBeginObject().WriteInteger(1); },
       "{! Invalid nesting. Not all arrays/objects were properly closed."},
      {[](W& w) { w.WriteBeginObject().WriteEndArray(); },
       "{! Invalid nesting. Not all arrays/objects were properly closed."},
      {[](W& w) { w.WriteEndObject(); }, "! Invalid nesting. Not all arrays/objects were properly closed."},
      {[](W& w) { w.Close(); }, "! Invalid nesting. Not all arrays/objects were properly closed."},
      {[](W& w) { w.WriteBeginArray().Close(); }, "[! Invalid nesting. Not all arrays/objects were properly closed."},
      {[](W& w) { w.WriteBeginArray().WriteEndArray().Close(); }, "[]"},
      {[](W& w) { w.WriteBeginObject().WriteName(u""); }, "{! Cannot write empty name"},
  };
  for (const auto& c : cases) EXPECT_EQ(Written(c.steps), c.out);
}

TEST(AdvJSONWriter, NestingLimitAndDelivery) {
  std::string out = "prefix:";
  {
    W w(&out);
    for (int i = 0; i < 255; ++i) w.WriteBeginArray();
    EXPECT_THROW(w.WriteBeginArray(), W::ETooManyDepthLevels);
    for (int i = 0; i < 255; ++i) w.WriteEndArray();
    w.Close();
    EXPECT_EQ(out, "prefix:");  // nothing before the writer is gone
  }
  EXPECT_EQ(out, "prefix:" + std::string(255, '[') + std::string(255, ']'));
}

}  // namespace

namespace {

TEST(AdvJSONStreams, WriterDeliversAtThePositionOnlyWhenDestroyed) {
  TBytesStream target(TBytes{'#', '#', '#'});
  target.SetPosition(1);
  {
    TAdvJSONWriter w(&target);
    w.WriteBeginArray().WriteInteger(1).WriteEndArray();
    EXPECT_EQ(target.Size(), 3);
  }
  EXPECT_EQ(target.Bytes(), (TBytes{'#', '[', '1', ']'}));
}

TEST(AdvJSONStreams, ReaderCopiesTheStream) {
  TStringStream source(u"{\"a\":[1,2]}");
  TAdvJSONReader r(&source);
  source.Clear();  // the reader holds its own copy
  r.ReadBeginObject();
  EXPECT_EQ(r.ReadName(), u"a");
  r.SkipValue();
  r.ReadEndObject();
  EXPECT_TRUE(r.Eof());

  TStringStream moved(u"{}");
  moved.SetPosition(1);  // not rewound: fewer bytes than its size are left
  EXPECT_THROW(TAdvJSONReader{&moved}, EReadError);
  TBytesStream empty;
  TAdvJSONReader e(&empty);
  EXPECT_THROW(e.Peek(), TAdvJSONReader::EObjectOrArrayExpected);
}

}  // namespace
