#include "app/UnscrambleImage.h"

#include <cstdint>

namespace {
// Seeds and steps of the two keys. The build's store generator
// (app/resources/make_store.py) scrambles the stored image with the same
// four values; change both together.
constexpr std::uint8_t kSeedA = 0x5A, kStepA = 0x3D, kSeedB = 0xC3, kStepB = 0x71;
}  // namespace

std::string UnscrambleImage(const std::string& Data) {
  std::string result = Data;
  std::uint8_t a = kSeedA, b = kSeedB;
  for (std::size_t i = 0; i < result.size(); ++i) {
    std::uint8_t& key = (i % 2 == 0) ? a : b;
    result[i] = static_cast<char>(static_cast<std::uint8_t>(result[i]) ^ key);
    key = static_cast<std::uint8_t>(key + ((i % 2 == 0) ? kStepA : kStepB));
  }
  return result;
}
