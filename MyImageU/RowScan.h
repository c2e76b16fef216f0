#pragma once

#include <cstdint>

// The flood fill's inner scan along a row, four pixels at a time with SSE2 where the processor
// has it, one at a time otherwise (YAMARUKA_PORTABLE forces the plain loop).

// The first index from From on, below Limit, whose pixel has none of the Mark bits, or whose
// pixel with the Mark bits set equals Ref exactly when StopOnRef; Limit when there is none.
int FindStop(const std::uint32_t* Row, int From, int Limit, std::uint32_t Mark, std::uint32_t Ref,
             bool StopOnRef);

// Asks for a row that the fill will write soon; a hint only, nothing where unsupported.
inline void PrefetchForWrite(const void* Address)
{
#if (defined(__GNUC__) || defined(__clang__)) && !defined(YAMARUKA_PORTABLE)
  __builtin_prefetch(Address, 1);
#else
  (void)Address;
#endif
}
