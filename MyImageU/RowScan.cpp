#include "MyImageU/RowScan.h"

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(YAMARUKA_PORTABLE)
#include <emmintrin.h>
#define YAMARUKA_SSE2 1
#endif

namespace {
bool Stops(std::uint32_t Pixel, std::uint32_t Mark, std::uint32_t Ref, bool StopOnRef)
{
  return (Pixel & Mark) == 0 || ((Pixel | Mark) == Ref) == StopOnRef;
}
} // namespace

int FindStop(const std::uint32_t* Row, int From, int Limit, std::uint32_t Mark, std::uint32_t Ref,
             bool StopOnRef)
{
  int I = From;
#ifdef YAMARUKA_SSE2
  const __m128i MarkBits = _mm_set1_epi32(static_cast<int>(Mark));
  const __m128i RefBits = _mm_set1_epi32(static_cast<int>(Ref));
  const __m128i Flip = StopOnRef ? _mm_setzero_si128() : _mm_set1_epi32(-1);
  for (; I + 4 <= Limit; I += 4) {
    const __m128i P = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Row + I));
    const __m128i Unmarked = _mm_cmpeq_epi32(_mm_and_si128(P, MarkBits), _mm_setzero_si128());
    const __m128i IsRef = _mm_xor_si128(_mm_cmpeq_epi32(_mm_or_si128(P, MarkBits), RefBits), Flip);
    if (_mm_movemask_epi8(_mm_or_si128(Unmarked, IsRef)) != 0)
      break;
  }
#endif
  while (I < Limit && !Stops(Row[I], Mark, Ref, StopOnRef))
    ++I;
  return I;
}
