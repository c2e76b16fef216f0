#include "runtime/WideDivision.h"

#if defined(__SIZEOF_INT128__) && !defined(YAMARUKA_PORTABLE)

TQuotRem MulAddDivMod(std::uint64_t A, std::uint64_t B, std::uint64_t C, std::uint64_t D)
{
  __extension__ typedef unsigned __int128 TWide;
  const TWide N = static_cast<TWide>(A) * B + C;
  return {static_cast<std::uint64_t>(N / D), static_cast<std::uint64_t>(N % D)};
}

#else

TQuotRem MulAddDivMod(std::uint64_t A, std::uint64_t B, std::uint64_t C, std::uint64_t D)
{
  // The product in two 64-bit halves, from four 32-bit partial products.
  constexpr std::uint64_t Low32 = 0xFFFFFFFFU;
  const std::uint64_t LL = (A & Low32) * (B & Low32);
  const std::uint64_t LH = (A & Low32) * (B >> 32U);
  const std::uint64_t HL = (A >> 32U) * (B & Low32);
  const std::uint64_t HH = (A >> 32U) * (B >> 32U);
  const std::uint64_t Middle = (LL >> 32U) + (LH & Low32) + (HL & Low32);
  std::uint64_t Lo = (Middle << 32U) | (LL & Low32);
  std::uint64_t Hi = HH + (LH >> 32U) + (HL >> 32U) + (Middle >> 32U);
  Lo += C;
  Hi += Lo < C ? 1U : 0U;
  // Long division, one bit at a time; the remainder may briefly need a 65th bit.
  TQuotRem Result{0, 0};
  for (int Bit = 127; Bit >= 0; --Bit) {
    const std::uint64_t Next = Bit >= 64 ? (Hi >> (Bit - 64)) & 1U : (Lo >> Bit) & 1U;
    const bool Carry = (Result.Rem >> 63U) != 0;
    Result.Rem = (Result.Rem << 1U) | Next;
    if (Carry || Result.Rem >= D) {
      Result.Rem -= D;
      if (Bit < 64)
        Result.Quot |= std::uint64_t{1} << Bit;
    }
  }
  return Result;
}

#endif
