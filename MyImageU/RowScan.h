#pragma once

#include <cstdint>

// The flood fill's scans along a row, four pixels at a time with SSE2 where the processor has
// it, one at a time otherwise (YAMARUKA_PORTABLE forces the plain loops). A pixel stops the
// fill when it equals Ref exactly when StopOnRef (a border fill stops on the border colour, a
// surface fill on anything else).

// The first index from From on, below Limit, of a pixel that stops the fill; Limit if none.
int FindStop(const std::uint32_t* Row, int From, int Limit, std::uint32_t Ref, bool StopOnRef);

// The same, painting Brush over every pixel before it on the way.
int PaintWhileFillable(std::uint32_t* Row, int From, int Limit, std::uint32_t Ref, bool StopOnRef,
                       std::uint32_t Brush);
