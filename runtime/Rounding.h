#pragma once

#include <cmath>

// Rounds to the nearest integer, a value exactly halfway going to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). Independent of the floating-point rounding mode.
inline double RoundHalfEven(double Value)
{
  const double Floor = std::floor(Value);
  const double Diff = Value - Floor;
  if (Diff < 0.5)
    return Floor;
  if (Diff > 0.5)
    return Floor + 1.0;
  return std::fmod(Floor, 2.0) == 0.0 ? Floor : Floor + 1.0;
}

// Numerator / Denominator rounded the same way, exactly, for non-negative integers.
constexpr long long DivRoundHalfEven(long long Numerator, long long Denominator)
{
  const long long Quotient = Numerator / Denominator;
  const long long Twice = 2 * (Numerator % Denominator);
  if (Twice > Denominator || (Twice == Denominator && Quotient % 2 != 0))
    return Quotient + 1;
  return Quotient;
}
