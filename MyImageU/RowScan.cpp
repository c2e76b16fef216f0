#include "MyImageU/RowScan.h"

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(YAMARUKA_PORTABLE)
#include <emmintrin.h>
#define YAMARUKA_SSE2 1
#endif

namespace {
bool Stops(std::uint32_t Pixel, std::uint32_t Ref, bool StopOnRef)
{
  return (Pixel == Ref) == StopOnRef;
}

#ifdef YAMARUKA_SSE2
// Whether any of four pixels stops the fill.
bool AnyStops(__m128i Four, __m128i RefBits, __m128i Flip)
{
  return _mm_movemask_epi8(_mm_xor_si128(_mm_cmpeq_epi32(Four, RefBits), Flip)) != 0;
}
#endif
} // namespace

int FindStop(const std::uint32_t* Row, int From, int Limit, std::uint32_t Ref, bool StopOnRef)
{
  int I = From;
#ifdef YAMARUKA_SSE2
  const __m128i RefBits = _mm_set1_epi32(static_cast<int>(Ref));
  const __m128i Flip = StopOnRef ? _mm_setzero_si128() : _mm_set1_epi32(-1);
  for (; I + 4 <= Limit; I += 4)
    if (AnyStops(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Row + I)), RefBits, Flip))
      break;
#endif
  while (I < Limit && !Stops(Row[I], Ref, StopOnRef))
    ++I;
  return I;
}

int PaintWhileFillable(std::uint32_t* Row, int From, int Limit, std::uint32_t Ref, bool StopOnRef,
                       std::uint32_t Brush)
{
  int I = From;
#ifdef YAMARUKA_SSE2
  const __m128i RefBits = _mm_set1_epi32(static_cast<int>(Ref));
  const __m128i Flip = StopOnRef ? _mm_setzero_si128() : _mm_set1_epi32(-1);
  const __m128i BrushBits = _mm_set1_epi32(static_cast<int>(Brush));
  // Eight at a time where the run is long, as the bars' are.
  for (; I + 8 <= Limit; I += 8) {
    auto* At = reinterpret_cast<__m128i*>(Row + I);
    const __m128i A = _mm_cmpeq_epi32(_mm_loadu_si128(At), RefBits);
    const __m128i B = _mm_cmpeq_epi32(_mm_loadu_si128(At + 1), RefBits);
    const __m128i Stop = StopOnRef ? _mm_or_si128(A, B) : _mm_xor_si128(_mm_and_si128(A, B), Flip);
    if (_mm_movemask_epi8(Stop) != 0)
      break;
    _mm_storeu_si128(At, BrushBits);
    _mm_storeu_si128(At + 1, BrushBits);
  }
  for (; I + 4 <= Limit; I += 4) {
    auto* At = reinterpret_cast<__m128i*>(Row + I);
    if (AnyStops(_mm_loadu_si128(At), RefBits, Flip))
      break;
    _mm_storeu_si128(At, BrushBits);
  }
#endif
  for (; I < Limit && !Stops(Row[I], Ref, StopOnRef); ++I)
    Row[I] = Brush;
  return I;
}
