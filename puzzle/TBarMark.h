#pragma once

#include <cstddef>
#include <cstdint>

// One revealed bar, or a wall: position 0..32 (0 and 32 are the walls), height in tenths
// of a world unit. Two bytes, position first, copied as one unit.
struct TBarMark {
  std::uint8_t Pos = 0;
  std::uint8_t Height = 0;

  friend constexpr bool operator==(TBarMark, TBarMark) = default;
};

static_assert(sizeof(TBarMark) == 2);
static_assert(offsetof(TBarMark, Pos) == 0 && offsetof(TBarMark, Height) == 1);
