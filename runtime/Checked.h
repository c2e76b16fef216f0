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

constexpr std::int32_t CheckedSub(std::int32_t A, std::int32_t B)
{
  std::int32_t Result = 0;
  if (__builtin_sub_overflow(A, B, &Result))
    throw EIntOverflow();
  return Result;
}

constexpr std::int32_t CheckedAdd(std::int32_t A, std::int32_t B)
{
  std::int32_t Result = 0;
  if (__builtin_add_overflow(A, B, &Result))
    throw EIntOverflow();
  return Result;
}
