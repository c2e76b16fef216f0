#pragma once

#include "puzzle/TPuzzle.h"

#include <cstdint>

// The next bar a good player opens: halving in puzzle 1; in puzzle 2 a Fibonacci opening,
// then Best mirrored in the open range. Never a wasted try.
inline std::uint8_t NextProbe(const TPuzzleState& P)
{
  int Pos = P.SlopeMode ? (P.LeftEnd.Pos + P.RightEnd.Pos) / 2 : 13;
  if (!P.SlopeMode && P.ClickCount > 0) {
    Pos = P.LeftEnd.Pos + P.RightEnd.Pos - P.Best.Pos;
    if (Pos == P.Best.Pos)
      Pos = Pos + 1 < P.RightEnd.Pos ? Pos + 1 : Pos - 1;
  }
  return static_cast<std::uint8_t>(Pos);
}
