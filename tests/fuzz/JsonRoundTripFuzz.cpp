// Fuzz target: the reader must survive any input; whatever it accepts is
// written again and must read back as the same tokens.
#include <cstdio>
#include <cstdlib>

#include "tests/support/JsonRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace json_round_trip;
  std::string written;
  // A writer error while writing accepted tokens escapes as an exception: a finding too.
  if (RoundTrip(std::string_view(reinterpret_cast<const char*>(data), size), &written) == TRoundTrip::Different) {
    std::fprintf(stderr, "round trip differs; written: %s\n", written.c_str());
    std::abort();
  }
  return 0;
}
