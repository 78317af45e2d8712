#pragma once
// The scope codes of the JSON reader's and writer's nesting stacks (private
// to foundation/json).
#include <cstdint>

enum : std::uint8_t {
  kEmptyDocument = 0, kEmptyArray = 1, kEmptyObject = 2, kNonEmptyDocument = 3,
  kNonEmptyArray = 4, kNonEmptyObject = 5, kDanglingName = 6
};
