#pragma once

#include "runtime/Errors.h"

#include <cstdint>
#include <limits>

// Range-checked narrowing for the program's small integer types: a value that does not fit
// raises the range error instead of wrapping.

constexpr std::uint8_t ToByte(long long Value)
{
  if (Value < 0 || Value > 255)
    throw ERangeError();
  return static_cast<std::uint8_t>(Value);
}

// A bar position: 1..31 are the bars, 0 and 32 the walls.
constexpr std::uint8_t ToPos(long long Value)
{
  if (Value < 0 || Value > 32)
    throw ERangeError();
  return static_cast<std::uint8_t>(Value);
}

// Formed in 64 bits, where no 32-bit sum or difference overflows, then narrowed.
constexpr std::int32_t ToInt32(long long Value)
{
  if (Value < std::numeric_limits<std::int32_t>::min() ||
      Value > std::numeric_limits<std::int32_t>::max())
    throw EIntOverflow();
  return static_cast<std::int32_t>(Value);
}

constexpr std::int32_t CheckedSub(std::int32_t A, std::int32_t B)
{
  return ToInt32(static_cast<long long>(A) - B);
}

constexpr std::int32_t CheckedAdd(std::int32_t A, std::int32_t B)
{
  return ToInt32(static_cast<long long>(A) + B);
}
