#include <gtest/gtest.h>

#include "tests/support/JsonRoundTrip.h"

namespace {

using json_round_trip::RoundTrip;
using json_round_trip::TRoundTrip;

// Documents the reader accepts read back unchanged after the writer wrote them
// (the fuzz target checks the same on random input; its findings live here).
TEST(AdvJSONRoundTrip, AcceptedDocumentsReadBackUnchanged) {
  const std::string docs[] = {
      "{\"a\":1,\"b\":[true,false,null],\"c\":{\"d\":\"x\\u00e9\\n\"}}",
      "[225223685477580.083,2038,3,0]",  // a float whose 15-digit text is an integer
      "[1e18,-0.0,3.0,1e-320,2.2250738585072014e-308,1.7976931348623157e308,-1.7976931348623157e308]",
      "[9223372036854775807,-9223372036854775808,9223372036854775808]",
      "[\"\\uD800\",\"\\uDFFF\\uD800\",\"\\uD83D\\uDE00\"]",  // lone and paired surrogates
      "[\"\xC3\xA9\xE9\xFF\xF0\x9F\x98\x80\xED\xA0\x80\"]",   // UTF-8, 8-bit bytes, an encoded surrogate
      std::string("[\"a\0b\x01\x1F\"]", 9),                   // raw control characters and a NUL
      "{\"n\\u0041\\\"\":{\"\\\\\":[]}}",                      // escaped names
      "[" + std::string(254, '9') + "]",
  };
  for (const auto& doc : docs) {
    std::string written;
    EXPECT_EQ(RoundTrip(doc, &written), TRoundTrip::Same) << doc << "\nwritten: " << written;
  }
  std::string written;
  ASSERT_EQ(RoundTrip(std::string("[\"a\0b\"]", 7), &written), TRoundTrip::Same);
  EXPECT_EQ(written, "[\"a\\u0000b\"]");
}

TEST(AdvJSONRoundTrip, RejectedInputsStayRejected) {
  const std::string docs[] = {
      "", "[", "{\"a\"", "[1e400]", "[\"\\x\"]", "{\"\\q\":1}", std::string(300, '['), "[\"\\u12\"]",
  };
  for (const auto& doc : docs) EXPECT_EQ(RoundTrip(doc), TRoundTrip::Rejected) << doc.substr(0, 40);
}

}  // namespace
