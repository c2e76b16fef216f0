#pragma once

#include <bit>
#include <cstdint>

#if (defined(__SSE2__) || defined(_M_X64)) && !defined(YAMARUKA_PORTABLE)
#include <emmintrin.h>
#define YAMARUKA_SSE2 1
#endif

// The raster's work along a row, four pixels at a time with SSE2 where the processor has it,
// one at a time otherwise (YAMARUKA_PORTABLE forces the plain loops). A pixel stops the
// fill when it equals Ref exactly when StopOnRef: a border fill stops on the border colour, a
// surface fill on anything else. Inline, so that a fill sets its constants up once.
class TRowScan {
public:
  TRowScan(std::uint32_t Reference, bool StopOnReference)
      : Ref(Reference), StopOnRef(StopOnReference)
#ifdef YAMARUKA_SSE2
        ,
        RefBits(_mm_set1_epi32(static_cast<int>(Reference))),
        Flip(StopOnReference ? _mm_setzero_si128() : _mm_set1_epi32(-1))
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

  // Whether none of Count pixels stops the fill.
  [[nodiscard]] bool NoneStops(const std::uint32_t* Pixels, int Count) const
  {
    return StopOnRef ? NoneAre<true>(Pixels, Count) : NoneAre<false>(Pixels, Count);
  }

private:
  // Whether no pixel equals Ref (Equal) or every pixel does (!Equal).
  template <bool Equal> [[nodiscard]] bool NoneAre(const std::uint32_t* Pixels, int Count) const
  {
#ifdef YAMARUKA_SSE2
    if (Count >= 4) {
      // The lanes' verdicts gathered, eight pixels a step and the last ones overlapping: no
      // branch until the end.
      __m128i Seen = Equal ? _mm_setzero_si128() : _mm_set1_epi32(-1);
      const auto Take = [&](const std::uint32_t* Four) {
        const __m128i Same =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Four)), RefBits);
        Seen = Equal ? _mm_or_si128(Seen, Same) : _mm_and_si128(Seen, Same);
      };
      int I = 0;
      for (; I + 8 < Count; I += 8) {
        Take(Pixels + I);
        Take(Pixels + I + 4);
      }
      if (Count - I > 4)
        Take(Pixels + I);
      Take(Pixels + Count - 4);
      return _mm_movemask_epi8(Seen) == (Equal ? 0 : 0xFFFF);
    }
#endif
    for (int I = 0; I < Count; ++I)
      if ((Pixels[I] == Ref) == Equal)
        return false;
    return true;
  }

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
#ifdef YAMARUKA_SSE2
  __m128i RefBits;
  __m128i Flip;
#endif
};

// Count pixels from First on set to Pixel.
inline void FillPixels(std::uint32_t* First, int Count, std::uint32_t Pixel)
{
#ifdef YAMARUKA_SSE2
  if (Count >= 4) {
    const __m128i Four = _mm_set1_epi32(static_cast<int>(Pixel));
    const auto Put = [Four](std::uint32_t* At) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(At), Four);
    };
    int I = 0;
    for (; I + 8 < Count; I += 8) {
      Put(First + I);
      Put(First + I + 4);
    }
    if (Count - I > 4)
      Put(First + I);
    Put(First + Count - 4);
    return;
  }
#endif
  for (int I = 0; I < Count; ++I)
    First[I] = Pixel;
}
