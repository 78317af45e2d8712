#pragma once
// Helpers of the app suite: byte strings, streams and files.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/rtl/Streams.h"

namespace app_test {

// Deterministic bytes that compress somewhat (text-like with noise).
inline std::string SampleBytes(std::size_t n, std::uint32_t seed = 1) {
  std::string s(n, '\0');
  std::uint32_t x = seed;
  for (std::size_t i = 0; i < n; ++i) {
    x = x * 1664525u + 1013904223u;
    s[i] = (x >> 28) < 10 ? static_cast<char>(x >> 8) : "firmware page "[i % 14];
  }
  return s;
}

inline std::string StreamBytes(TStream* s) {
  std::string out(static_cast<std::size_t>(s->Size()), '\0');
  s->SetPosition(0);
  if (!out.empty()) s->ReadBuffer(out.data(), static_cast<Integer>(out.size()));
  return out;
}

inline std::string HeldBytes(const TMemoryStream* s) {
  return std::string(reinterpret_cast<const char*>(s->Memory()), static_cast<std::size_t>(const_cast<TMemoryStream*>(s)->Size()));
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace app_test
