#include "runtime/Random.h"

#include "runtime/Errors.h"

#include <chrono>

std::uint64_t TSeededRandom::Next()
{
  State += 0x9E3779B97F4A7C15ULL;
  std::uint64_t Z = State;
  Z = (Z ^ (Z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
  Z = (Z ^ (Z >> 27U)) * 0x94D049BB133111EBULL;
  return Z ^ (Z >> 31U);
}

std::uint32_t TSeededRandom::Integer(std::uint32_t N)
{
  if (N == 0)
    throw ERangeError();
  // The high 32 bits scaled by N: bias below 2^-32 for the small N used here.
  return static_cast<std::uint32_t>(((Next() >> 32U) * N) >> 32U);
}

double TSeededRandom::Real()
{
  return static_cast<double>(Next() >> 11U) * 0x1.0p-53;
}

std::uint32_t MillisecondsSinceMidnightUtc()
{
  using namespace std::chrono;
  const auto Now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<std::uint32_t>(Now % (24LL * 60 * 60 * 1000));
}
