#pragma once

#include <bit>
#include <cstdint>

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(YAMARUKA_PORTABLE)
#include <emmintrin.h>
#define YAMARUKA_SSE2 1
#endif

// The flood fill's scans along a row, four pixels at a time with SSE2 where the processor has
// it, one at a time otherwise (YAMARUKA_PORTABLE forces the plain loops). A pixel stops the
// fill when it equals Ref exactly when StopOnRef: a border fill stops on the border colour, a
// surface fill on anything else. Inline, so that a fill sets its constants up once.
class TRowScan {
public:
  TRowScan(std::uint32_t Reference, bool StopOnReference, std::uint32_t BrushPixel)
      : Ref(Reference), StopOnRef(StopOnReference), Brush(BrushPixel)
#ifdef YAMARUKA_SSE2
        ,
        RefBits(_mm_set1_epi32(static_cast<int>(Reference))),
        Flip(StopOnReference ? _mm_setzero_si128() : _mm_set1_epi32(-1)),
        BrushBits(_mm_set1_epi32(static_cast<int>(BrushPixel)))
#endif
  {
  }

  [[nodiscard]] bool Stops(std::uint32_t Pixel) const
  {
    return (Pixel == Ref) == StopOnRef;
  }

  // The first index from From on, below Limit, of a pixel that stops the fill; Limit if none.
  [[nodiscard]] int FindStop(const std::uint32_t* Row, int From, int Limit) const
  {
    int I = From;
#ifdef YAMARUKA_SSE2
    for (; I + 4 <= Limit; I += 4)
      if (const int Lanes = StopLanes(Row + I); Lanes != 0)
        return I + std::countr_zero(static_cast<unsigned>(Lanes)) / 4;
#endif
    while (I < Limit && !Stops(Row[I]))
      ++I;
    return I;
  }

  // The same, painting the brush over every pixel before it on the way.
  int PaintWhileFillable(std::uint32_t* Row, int From, int Limit) const
  {
    int I = From;
#ifdef YAMARUKA_SSE2
    for (; I + 4 <= Limit; I += 4) {
      if (const int Lanes = StopLanes(Row + I); Lanes != 0) {
        const int Stop = I + std::countr_zero(static_cast<unsigned>(Lanes)) / 4;
        for (; I < Stop; ++I)
          Row[I] = Brush;
        return Stop;
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Row + I), BrushBits);
    }
#endif
    for (; I < Limit && !Stops(Row[I]); ++I)
      Row[I] = Brush;
    return I;
  }

private:
#ifdef YAMARUKA_SSE2
  // Four bits for each of four pixels that stops the fill, none for one that does not.
  [[nodiscard]] int StopLanes(const std::uint32_t* Four) const
  {
    const __m128i Pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Four));
    return _mm_movemask_epi8(_mm_xor_si128(_mm_cmpeq_epi32(Pixels, RefBits), Flip));
  }
#endif

  std::uint32_t Ref;
  bool StopOnRef;
  std::uint32_t Brush;
#ifdef YAMARUKA_SSE2
  __m128i RefBits;
  __m128i Flip;
  __m128i BrushBits;
#endif
};

// Asks for pixels the fill will write soon; a hint only, nothing where unsupported.
inline void PrefetchForWrite(const void* Address)
{
#if (defined(__GNUC__) || defined(__clang__)) && !defined(YAMARUKA_PORTABLE)
  __builtin_prefetch(Address, 1);
#elif defined(YAMARUKA_SSE2)
  _mm_prefetch(static_cast<const char*>(Address), _MM_HINT_T0);
#else
  (void)Address;
#endif
}
