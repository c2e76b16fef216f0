#include "puzzle/Heights.h"

#include "runtime/Checked.h"
#include "runtime/Random.h"
#include "runtime/Rounding.h"

std::uint8_t RiseHeight(TRandomSource& Random, std::uint8_t Steps, std::uint8_t Base)
{
  return ToByte(Base + 2LL * Steps + Random.Integer(5));
}

std::uint8_t MidHeight(TRandomSource& Random, std::uint8_t A, std::uint8_t B)
{
  const double R = Random.Real();
  const double Value = (5.0 * (A + B) + 4.0 * (A - B) * (R - 0.5)) / 10.0;
  return ToByte(static_cast<long long>(RoundHalfEven(Value)));
}
