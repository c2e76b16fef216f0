#include "puzzle/BarFigure.h"
#include "support/TEffectsRecorder.h"
#include "support/TScriptedRandom.h"
#include "support/TSurfaceHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The 933 x 598 surface of the window at its design size, set up as the example leaves it.
struct TBars : ::testing::Test {
  TSurfaceHost S{933, 598};
  static constexpr int Bottom = 598;

  void SetUp() override
  {
    S.Image->Clear();
    S.Image->SetOrigin(0, Bottom);
    S.Image->SetScale(30);
    S.Image->SetBrushColor(clAqua);
  }
  // Top pixel row of the column X that is not white, or Bottom when the column is empty.
  [[nodiscard]] int Top(int X) const
  {
    for (int Y = 0; Y < Bottom; ++Y)
      if (S.Pixel(X, Y) != clWhite)
        return Y;
    return Bottom;
  }
};
} // namespace

// Bar Pos covers columns 30 (Pos - 1) to 30 Pos and 3 Height rows on the bottom edge, so it
// stands exactly over its button.
TEST_F(TBars, LevelBarCoversItsColumnsAndHeight)
{
  DrawBar(*S.Image, false, 5, 40, 0);
  for (int X = 120; X <= 150; ++X) {
    EXPECT_EQ(Top(X), Bottom - 120) << X;
    EXPECT_EQ(S.Pixel(X, Bottom - 1), X == 120 || X == 150 ? clBlack : clAqua) << X;
  }
  EXPECT_EQ(Top(119), Bottom);
  EXPECT_EQ(Top(151), Bottom);
  EXPECT_EQ(S.Pixel(135, Bottom - 120), clBlack);
  EXPECT_EQ(S.Pixel(135, Bottom - 119), clAqua);
  EXPECT_EQ(S.Count(clAqua), 29 * 119);
}

TEST_F(TBars, SlantedTopsRiseOrFallByTwoTenths)
{
  DrawBar(*S.Image, true, 2, 50, 1); // left end 4.9 units, right end 5.1 units
  EXPECT_EQ(Top(30), Bottom - 147);
  EXPECT_EQ(Top(60), Bottom - 153);
  DrawBar(*S.Image, true, 4, 50, -1);
  EXPECT_EQ(Top(90), Bottom - 153);
  EXPECT_EQ(Top(120), Bottom - 147);
  // A summit in puzzle 1 is a polygon with a level top.
  DrawBar(*S.Image, true, 6, 110, 0);
  for (int X = 150; X <= 180; ++X)
    EXPECT_EQ(Top(X), Bottom - 330) << X;
}

// Neighbours share an edge; a new bar's fill must stop at its own outline, never flood
// into the bar beside it.
TEST_F(TBars, NeighboursNeverFloodIntoEachOther)
{
  DrawBar(*S.Image, true, 10, 60, 1);
  S.Image->SetBrushColor(0x0000FF);
  DrawBar(*S.Image, true, 11, 90, -1);
  DrawBar(*S.Image, true, 9, 30, 1);
  EXPECT_EQ(S.Pixel(285, Bottom - 10), clAqua);
  EXPECT_EQ(S.Pixel(315, Bottom - 10), 0x0000FFU);
  EXPECT_EQ(S.Pixel(255, Bottom - 10), 0x0000FFU);
  EXPECT_EQ(S.Pixel(300, Bottom - 10), clBlack); // the shared edge
  EXPECT_EQ(S.Pixel(0, 0), clWhite);
  DrawBar(*S.Image, false, 31, 200, 0);
  EXPECT_EQ(Top(930), Bottom - 600 < 0 ? 0 : Bottom - 600);
  EXPECT_EQ(S.Pixel(931, Bottom - 1), clWhite); // the graph ends at column 930
}

// The example's heights come from the exact fraction: halves go to even on every machine.
TEST(Example, HeightsOfBothFlanks)
{
  const std::vector<int> Left{20, 33, 46, 58, 70, 83, 96};
  for (int I = 1; I < 8; ++I)
    EXPECT_EQ(ExampleHeight(8, I), Left[static_cast<std::size_t>(I - 1)]) << I;
  EXPECT_EQ(ExampleHeight(8, 9), 104);
  EXPECT_EQ(ExampleHeight(8, 31), 12);
  EXPECT_EQ(ExampleHeight(8, 17), 70);  // 62.5 -> 62
  EXPECT_EQ(ExampleHeight(24, 15), 70); // 62.5 -> 62, not 63
  for (int P = 4; P <= 27; ++P)
    for (int I = 1; I <= 31; ++I) {
      if (I == P)
        continue;
      const auto H = ExampleHeight(P, I);
      EXPECT_GE(H, 12);
      EXPECT_LE(H, 104);
      EXPECT_LT(H, 110);    // the summit is the single highest bar
      if (I > 1 && I < P) { // strictly rising towards the summit
        EXPECT_GT(H, ExampleHeight(P, I - 1));
      }
      if (I < 31 && I > P) {
        EXPECT_GT(H, ExampleHeight(P, I + 1));
      }
    }
}

TEST_F(TBars, ExampleIsPixelExactAndSetsUpTheSurface)
{
  TScriptedRandom Random;
  for (const std::uint32_t Draw : {0U, 4U, 20U, 23U}) { // P = 4, 8, 24, 27
    const int P = 4 + static_cast<int>(Draw);
    SCOPED_TRACE(P);
    Random.OnInteger = [Draw](std::uint32_t N) {
      EXPECT_EQ(N, 24U);
      return Draw;
    };
    S.Image->SetOrigin(5, 5);
    S.Image->SetScale(60);
    S.Image->SetBrushColor(clWhite);
    DrawMountain(*S.Image, false, ExampleSummit(Random), 30);
    EXPECT_EQ(S.Image->GetOrigin(), (TPixelPoint{0, Bottom}));
    EXPECT_EQ(S.Image->GetScale(), 30);
    EXPECT_EQ(S.Canvas().BrushColor(), clAqua);
    for (int I = 1; I <= 31; ++I) {
      const int Height = I == P ? 110 : ExampleHeight(P, I);
      EXPECT_EQ(Top(30 * I - 15), Bottom - 3 * Height) << I;
      EXPECT_EQ(S.Pixel(30 * I - 15, Bottom - 3 * Height + 1), clAqua) << I;
    }
    EXPECT_EQ(Top(931), Bottom);
    // Slanted style: the left flank rises, the right falls, the summit is level.
    DrawMountain(*S.Image, true, ExampleSummit(Random), 30);
    if (P > 4) {
      EXPECT_LT(Top(30), Top(1));
    }
    EXPECT_GT(Top(30 * 31), Top(30 * 30 + 1));
    EXPECT_EQ(Top(30 * P - 29), Bottom - 330);
    EXPECT_EQ(Top(30 * P - 1), Bottom - 330);
  }
}
