#pragma once
// TSet<E>: the class library's "set of E" over an enumeration, for element
// ordinals 0..255 as the class library allows. Values outside that range are
// never members: Include ignores them and Contains answers false.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
  static_assert(std::is_enum_v<E>, "TSet is a set of an enumeration");

 public:
  using Element = E;
  static constexpr int MaxElements = 256;

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E item : items) Include(item);
  }

  // True when the element is in the set; out-of-range ordinals are never members.
  constexpr bool Contains(E item) const {
    const long long n = Ordinal(item);
    return n >= 0 && n < MaxElements && ((FBits[n / 64] >> (n % 64)) & 1u) != 0;
  }
  constexpr TSet& Include(E item) {
    const long long n = Ordinal(item);
    if (n >= 0 && n < MaxElements) FBits[n / 64] |= std::uint64_t{1} << (n % 64);
    return *this;
  }
  constexpr TSet& Exclude(E item) {
    const long long n = Ordinal(item);
    if (n >= 0 && n < MaxElements) FBits[n / 64] &= ~(std::uint64_t{1} << (n % 64));
    return *this;
  }
  constexpr bool Empty() const { return FBits == std::array<std::uint64_t, 4>{}; }

  // Union, difference, intersection, as the class library's + - * on sets.
  constexpr TSet operator+(const TSet& other) const { return Combine(other, [](auto a, auto b) { return a | b; }); }
  constexpr TSet operator-(const TSet& other) const { return Combine(other, [](auto a, auto b) { return a & ~b; }); }
  constexpr TSet operator*(const TSet& other) const { return Combine(other, [](auto a, auto b) { return a & b; }); }
  constexpr TSet& operator+=(const TSet& other) { return *this = *this + other; }
  constexpr TSet& operator-=(const TSet& other) { return *this = *this - other; }
  constexpr TSet& operator*=(const TSet& other) { return *this = *this * other; }
  constexpr bool operator==(const TSet& other) const = default;
  // Subset test, as the class library's <= on sets.
  constexpr bool operator<=(const TSet& other) const { return (*this - other).Empty(); }

  // The stored bits of elements 0..63, as the run-time type information reads a set.
  constexpr std::uint64_t ToBits() const { return FBits[0]; }
  static constexpr TSet FromBits(std::uint64_t bits) {
    TSet result;
    result.FBits[0] = bits;
    return result;
  }

 private:
  static constexpr long long Ordinal(E item) { return static_cast<long long>(item); }
  template <class Op>
  constexpr TSet Combine(const TSet& other, Op op) const {
    TSet result;
    for (std::size_t i = 0; i < FBits.size(); ++i) result.FBits[i] = op(FBits[i], other.FBits[i]);
    return result;
  }

  std::array<std::uint64_t, 4> FBits{};
};
