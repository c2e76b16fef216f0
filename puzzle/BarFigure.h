#pragma once

#include "puzzle/TBarMark.h"

#include <cstdint>

class TMyImage2;
class TRandomSource;

// One bar: the unit-wide column from x = Pos - 1 to x = Pos, Height / 10 units tall. In
// puzzle 1 its top slants up (Slope +1), down (-1) or is level (0); in puzzle 2 it is flat.
void DrawBar(TMyImage2& Image, bool SlopeMode, std::uint8_t Pos, std::uint8_t Height,
             std::int8_t Slope);
void DrawMark(TMyImage2& Image, bool SlopeMode, TBarMark Mark, std::int8_t Slope);

inline constexpr std::uint8_t ExampleSummitHeight = 110;

// Height of bar I of the example whose summit is at P (1 <= I <= 31, I != P): 8 plus the
// flank's share of 100, rounded halves to even from the exact fraction.
std::uint8_t ExampleHeight(int P, int I);

// Bar I of that example as drawn: the summit level at ExampleSummitHeight, the bars left of it
// slanting up (+1) and those right of it down (-1).
struct TExampleBar {
  std::uint8_t Height;
  std::int8_t Slope;
};
TExampleBar ExampleBar(int P, int I);

// The set-up the bars are drawn with: the origin on the raster's bottom-left corner,
// PixelsPerUnit pixels to a unit (30 at the design size), a solid aqua brush.
void SetUpBars(TMyImage2& Image, int PixelsPerUnit);

// A random example's summit: one of bars 4 to 27.
int ExampleSummit(TRandomSource& Random);
// The complete mountain whose summit is at P, on a cleared surface, set up for the puzzle's
// bars to follow.
void DrawMountain(TMyImage2& Image, bool SlopeMode, int P, int PixelsPerUnit);
