#include "MyImageU/TRaster.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace {
int CountColor(const TRaster& R, TColor Color)
{
  int N = 0;
  for (int Y = 0; Y < R.Height(); ++Y)
    for (int X = 0; X < R.Width(); ++X)
      N += R.GetPixel(X, Y) == Color ? 1 : 0;
  return N;
}

// The plainest fill, to check the fast one against: a 4-connected search over the picture as
// it is, each reached pixel in the brush's colour there (read off a raster filled with the
// same brush). Answers the whole picture as the fill should leave it.
std::vector<TColor> ReferenceFill(const TRaster& R, int X, int Y, TColor Reference, bool Border)
{
  const int W = R.Width();
  TRaster Brush(W, R.Height());
  Brush.SetBrushColor(R.BrushColor());
  Brush.SetBrushStyle(R.BrushStyle());
  if (R.BrushStyle() != TBrushStyle::bsClear)
    Brush.FillRect(Brush.ClipBox());
  std::vector<TColor> Expected(static_cast<std::size_t>(W) * static_cast<std::size_t>(R.Height()));
  for (std::size_t I = 0; I < Expected.size(); ++I)
    Expected[I] = R.GetPixel(static_cast<int>(I) % W, static_cast<int>(I) / W);
  const auto Fillable = [&](int PX, int PY) {
    const TColor C = R.GetPixel(PX, PY);
    return C != clInvalid && (C == Reference) != Border;
  };
  std::vector<bool> Seen(Expected.size());
  std::vector<std::pair<int, int>> Stack;
  if (Fillable(X, Y) && R.BrushStyle() != TBrushStyle::bsClear)
    Stack.emplace_back(X, Y);
  while (!Stack.empty()) {
    const auto [PX, PY] = Stack.back();
    Stack.pop_back();
    const auto At =
        static_cast<std::size_t>(PY) * static_cast<std::size_t>(W) + static_cast<std::size_t>(PX);
    if (Seen[At])
      continue;
    Seen[At] = true;
    Expected[At] = Brush.GetPixel(PX, PY);
    for (const auto& [DX, DY] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
      if (Fillable(PX + DX, PY + DY))
        Stack.emplace_back(PX + DX, PY + DY);
  }
  return Expected;
}
} // namespace

// A new canvas: black solid pen, white solid brush; a line leaves out its end pixel, which
// becomes the pen position, so chained lines meet without a gap or a double pixel.
TEST(Raster, DefaultsAndTheEndPixelRule)
{
  TRaster R(20, 10);
  EXPECT_EQ(R.PenColor(), clBlack);
  EXPECT_EQ(R.BrushColor(), clWhite);
  EXPECT_EQ(R.BrushStyle(), TBrushStyle::bsSolid);
  R.MoveTo({2, 3});
  R.LineTo({6, 3});
  for (int X = 2; X < 6; ++X)
    EXPECT_EQ(R.GetPixel(X, 3), clBlack) << X;
  EXPECT_EQ(R.GetPixel(6, 3), clWhite);
  EXPECT_EQ(R.PenPos(), (TPixelPoint{6, 3}));
  R.LineTo({6, 3}); // a line to the pen position draws nothing
  EXPECT_EQ(CountColor(R, clBlack), 4);
  R.LineTo({6, 0}); // upward, end left out
  EXPECT_EQ(R.GetPixel(6, 3), clBlack);
  EXPECT_EQ(R.GetPixel(6, 1), clBlack);
  EXPECT_EQ(R.GetPixel(6, 0), clWhite);
}

// Colours keep red in the low byte all the way to the pixel and back.
TEST(Raster, ColoursRoundTripAndOutsideReadsInvalid)
{
  TRaster R(3, 3);
  R.SetPixel(1, 1, 0x123456);
  EXPECT_EQ(R.GetPixel(1, 1), 0x123456U);
  EXPECT_EQ(R.Bits()[4], 0xFF563412U); // shown as 0xFFRRGGBB
  EXPECT_EQ(R.GetPixel(-1, 0), clInvalid);
  EXPECT_EQ(R.GetPixel(3, 0), clInvalid);
  R.SetPixel(5, 5, clBlack); // dropped
}

// Lines with far-away ends must draw only what falls inside, and quickly.
TEST(Raster, HugeLinesAreClippedNotWalked)
{
  TRaster R(100, 100);
  constexpr auto Max = std::numeric_limits<std::int32_t>::max();
  constexpr auto Min = std::numeric_limits<std::int32_t>::min();
  const auto Started = std::chrono::steady_clock::now();
  R.MoveTo({Min, 50});
  R.LineTo({Max, 50});
  R.MoveTo({Min, Min});
  R.LineTo({Max, Max});
  R.MoveTo({50, Max});
  R.LineTo({50, Min});
  EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::milliseconds(50));
  for (int X = 0; X < 100; ++X)
    EXPECT_EQ(R.GetPixel(X, 50), clBlack);
  EXPECT_EQ(R.GetPixel(50, 0), clBlack);
  EXPECT_EQ(R.GetPixel(50, 99), clBlack);
  EXPECT_EQ(R.GetPixel(7, 7), clBlack); // the diagonal through the corner
}

TEST(Raster, FloodModesAndFillsThatCannotStart)
{
  TRaster R(10, 10);
  R.SetBrushColor(clAqua);
  // A closed square 2..6; border mode fills its inside up to the black.
  R.MoveTo({2, 2});
  R.LineTo({6, 2});
  R.LineTo({6, 6});
  R.LineTo({2, 6});
  R.LineTo({2, 2});
  R.FloodFill(4, 4, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(CountColor(R, clAqua), 9);
  EXPECT_EQ(R.GetPixel(1, 1), clWhite);

  R.FloodFill(2, 2, clBlack, TFillStyle::fsBorder);  // start on the border colour
  R.FloodFill(-1, 4, clBlack, TFillStyle::fsBorder); // start outside
  R.FloodFill(0, 0, clBlack, TFillStyle::fsSurface); // start lacks the reference
  R.FloodFill(10, 0, clWhite, TFillStyle::fsSurface);
  EXPECT_EQ(CountColor(R, clAqua), 9);

  // Surface mode: the white outside the square, 100 - 25 pixels.
  R.SetBrushColor(0x0000FF);
  R.FloodFill(0, 0, clWhite, TFillStyle::fsSurface);
  EXPECT_EQ(CountColor(R, 0x0000FF), 75);
  EXPECT_EQ(CountColor(R, clAqua), 9);
}

// A border fill whose brush already appears inside must still reach past it: the fill tells
// its own pixels from old ones of the same colour.
TEST(Raster, BorderFillCrossesPixelsThatAlreadyHaveTheBrushColour)
{
  TRaster R(9, 1);
  R.SetBrushColor(clAqua);
  R.SetPixel(4, 0, clAqua);
  R.SetPixel(8, 0, clBlack);
  R.FloodFill(0, 0, clBlack, TFillStyle::fsBorder);
  for (int X = 0; X < 8; ++X)
    EXPECT_EQ(R.GetPixel(X, 0), clAqua) << X;
  EXPECT_EQ(R.GetPixel(8, 0), clBlack);
  // And a surface fill whose brush is its reference colour ends.
  R.SetBrushColor(clAqua);
  R.FloodFill(0, 0, clAqua, TFillStyle::fsSurface);
  EXPECT_EQ(R.GetPixel(3, 0), clAqua);
}

TEST(Raster, ClearBrushPaintsNothingAndHatchesKeepTheirLines)
{
  TRaster R(16, 16);
  R.SetBrushStyle(TBrushStyle::bsClear);
  R.SetBrushColor(clBlack);
  R.FillRect(R.ClipBox());
  R.FloodFill(3, 3, clBlack, TFillStyle::fsBorder);
  EXPECT_EQ(CountColor(R, clBlack), 0);
  R.SetBrushStyle(TBrushStyle::bsHorizontal);
  R.FloodFill(3, 3, clAqua, TFillStyle::fsBorder);
  EXPECT_EQ(CountColor(R, clBlack), 32); // rows 0 and 8
  EXPECT_EQ(R.GetPixel(5, 8), clBlack);
  EXPECT_EQ(R.GetPixel(5, 9), clWhite);
}

// Growing keeps the picture on the bottom-left corner; shrinking cuts the top and right.
TEST(Raster, ResizeKeepsTheBottomLeftCorner)
{
  TRaster R(4, 3);
  R.SetPixel(0, 2, clBlack);
  R.SetPixel(3, 0, clAqua);
  R.Resize(6, 5);
  EXPECT_EQ(R.GetPixel(0, 4), clBlack);
  EXPECT_EQ(R.GetPixel(3, 2), clAqua);
  EXPECT_EQ(CountColor(R, clWhite), 28);
  R.Resize(2, 1);
  EXPECT_EQ(R.GetPixel(0, 0), clBlack);
  R.Resize(0, 0);
  EXPECT_EQ(R.Width(), 0);
  R.Resize(3, 3);
  EXPECT_EQ(CountColor(R, clWhite), 9);
  R.FloodFill(0, 0, clBlack, TFillStyle::fsBorder);
}

// The screen repaints only the dirty rectangle: a changed pixel outside it would stay stale
// on the screen. Random lines (far ends included), rectangles, fills and pixels; each fill,
// in either mode, solid or hatched, its brush at times the reference colour, must also leave
// exactly what the plainest fill leaves.
TEST(Raster, DirtyRectangleHoldsEveryChangedPixelAndFillsAgreeWithAPlainOne)
{
  TRaster R(64, 48);
  (void)R.TakeDirty();
  std::uint64_t State = 12345;
  const auto Next = [&State](int N) {
    State = State * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((State >> 33) % static_cast<std::uint64_t>(N));
  };
  const auto Coordinate = [&] { return Next(8) == 0 ? Next(20001) - 10000 : Next(80) - 8; };
  for (int Step = 0; Step < 3000; ++Step) {
    SCOPED_TRACE(Step);
    constexpr std::size_t Count = std::size_t{64} * 48;
    const std::vector<std::uint32_t> Before(R.Bits(), R.Bits() + Count);
    R.SetPenColor(static_cast<TColor>(Next(4)) * 0x3F3F3FU);
    R.SetBrushColor(static_cast<TColor>(Next(4)) * 0x404040U);
    switch (Next(4)) {
    case 0:
      R.MoveTo({Coordinate(), Coordinate()});
      R.LineTo({Coordinate(), Coordinate()});
      break;
    case 1:
      R.FillRect({Coordinate(), Coordinate(), Coordinate(), Coordinate()});
      break;
    case 2: {
      R.SetBrushStyle(Next(4) == 0 ? TBrushStyle::bsCross : TBrushStyle::bsSolid);
      const int X = Next(64);
      const int Y = Next(48);
      const bool Border = Next(2) == 0;
      const auto Expected = ReferenceFill(R, X, Y, R.PenColor(), Border);
      R.FloodFill(X, Y, R.PenColor(), Border ? TFillStyle::fsBorder : TFillStyle::fsSurface);
      for (std::size_t I = 0; I < Expected.size(); ++I)
        ASSERT_EQ(R.GetPixel(static_cast<int>(I % 64), static_cast<int>(I / 64)), Expected[I])
            << "fill at (" << X << ", " << Y << ")";
      break;
    }
    default:
      R.SetPixel(Coordinate(), Coordinate(), 0x123456);
      break;
    }
    const TPixelRect D = R.TakeDirty();
    for (int Y = 0; Y < 48; ++Y)
      for (int X = 0; X < 64; ++X)
        if (const auto At = static_cast<std::size_t>(Y) * 64 + static_cast<std::size_t>(X);
            R.Bits()[At] != Before[At]) {
          ASSERT_TRUE(X >= D.Left && X < D.Right && Y >= D.Top && Y < D.Bottom)
              << "(" << X << ", " << Y << ") changed outside " << D.Left << "," << D.Top << " - "
              << D.Right << "," << D.Bottom;
        }
    const TPixelRect After = R.TakeDirty();
    ASSERT_GE(After.Left, After.Right) << "taking it empties it";
  }
}
