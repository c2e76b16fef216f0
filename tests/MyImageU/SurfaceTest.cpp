#include "runtime/Errors.h"
#include "support/TSurfaceHost.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

// The surface takes its host's size when it docks, and puts world (0, 0) at its centre.
TEST(Surface, NewSurfaceIsCentredAtSixtyPixelsPerUnit)
{
  TSurfaceHost S(601, 400);
  EXPECT_EQ(S.Image->size(), QSize(601, 400));
  EXPECT_EQ(S.Image->GetOrigin(), (TPixelPoint{300, 200}));
  EXPECT_EQ(S.Image->GetScale(), 60);
  for (int Row = 1; Row <= 2; ++Row)
    for (int Column = 1; Column <= 3; ++Column)
      EXPECT_EQ(S.Image->MatrixAt(Row, Column), Row == Column ? 1.0 : 0.0);
  EXPECT_FALSE(S.Image->HasCanvas()); // construction does not touch the canvas
  EXPECT_EQ(S.Image->WorldToPixel(1, 1), (TPixelPoint{360, 140}));
  EXPECT_EQ(S.Image->WorldToPixel(-0.5, 0), (TPixelPoint{270, 200}));
}

TEST(Surface, ConversionRoundsHalvesToEvenAndFollowsTheMatrix)
{
  TSurfaceHost S(10, 10);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  EXPECT_EQ(S.Image->WorldToPixel(2.5, -2.5), (TPixelPoint{2, 2}));
  EXPECT_EQ(S.Image->WorldToPixel(3.5, 0.5), (TPixelPoint{4, 0}));
  S.Image->SetOrigin(0, 300);
  S.Image->SetScale(30);
  EXPECT_EQ(S.Image->WorldToPixel(2, 3), (TPixelPoint{60, 210}));
  EXPECT_EQ(S.Image->GetLastPoint(), (TRealPoint{2, 3}));
  S.Image->SetMatrixAt(1, 3, 1); // shift world x by one unit
  EXPECT_EQ(S.Image->WorldToPixel(2, 3), (TPixelPoint{90, 210}));
}

// Out-of-range pixels fail loudly, with the requested point already remembered.
TEST(Surface, ConversionErrors)
{
  TSurfaceHost S(10, 10);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  const struct {
    const char* Name;
    double X;
    double Y;
    bool Range;
  } Rows[] = {{"largest x", 2147483647.0, 0, false},
              {"x one past", 2147483648.0, 0, true},
              {"smallest x", -2147483648.0, 0, false},
              {"x one below", -2147483649.0, 0, true},
              {"y flipped past", 0, -2147483648.0, true},
              {"x at 2^63", 0x1.0p63, 0, false},
              {"infinite x", Inf, 0, false},
              {"y not a number", 0, NaN, false},
              {"minus infinite x", -Inf, 1, false}};
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    const bool Invalid = !std::isfinite(Row.X) || !std::isfinite(Row.Y) || Row.X >= 0x1.0p63;
    if (Row.Range) {
      EXPECT_THROW((void)S.Image->WorldToPixel(Row.X, Row.Y), ERangeError);
    } else if (Invalid) {
      EXPECT_THROW((void)S.Image->WorldToPixel(Row.X, Row.Y), EInvalidOp);
    } else {
      EXPECT_NO_THROW((void)S.Image->WorldToPixel(Row.X, Row.Y));
    }
    if (!std::isnan(Row.Y)) {
      EXPECT_EQ(S.Image->GetLastPoint().X, Row.X);
    }
  }
}

TEST(Surface, OutlinesOfOneAndTwoVerticesAndEmptyLists)
{
  TSurfaceHost S(20, 20);
  // Before anything is drawn there is no raster yet: a figure that fails has none to show.
  EXPECT_THROW(S.Image->PolygonOutline({}), ERangeError);
  EXPECT_FALSE(S.Image->HasCanvas());
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->Clear();
  const std::vector<TRealPoint> One{{5, -5}};
  S.Image->PolygonOutline(One);
  EXPECT_EQ(S.Count(clBlack), 0);
  const std::vector<TRealPoint> Two{{2, -3}, {8, -3}};
  S.Image->PolygonOutline(Two);
  EXPECT_EQ(S.Count(clBlack), 7); // both end pixels
  EXPECT_EQ(S.Pixel(2, 3), clBlack);
  EXPECT_EQ(S.Pixel(8, 3), clBlack);

  EXPECT_THROW(S.Image->PolygonOutline({}), ERangeError);
  EXPECT_EQ(S.Canvas().PenColor(), clBlack);
  EXPECT_THROW(S.Image->FillPolygon({}), ERangeError);
  EXPECT_EQ(S.Canvas().PenColor(), 0x000003U); // stopped in the marker colour
}

// Every pixel of a closed outline is set, so a fill inside it cannot leak out.
TEST(Surface, ClosedOutlinesSetEveryEdgePixel)
{
  TSurfaceHost S(50, 50);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->Clear();
  S.Image->RectangleOutline(3, 20, -4, -15);
  EXPECT_EQ(S.Count(clBlack), 2 * 18 + 2 * 10);
  for (int X = 3; X <= 20; ++X) {
    EXPECT_EQ(S.Pixel(X, 4), clBlack);
    EXPECT_EQ(S.Pixel(X, 15), clBlack);
  }
  EXPECT_EQ(S.Image->GetLastPoint(), (TRealPoint{3, -4}));

  const std::vector<TRealPoint> Triangle{{25, -2}, {47, -30}, {28, -45}};
  S.Image->PolygonOutline(Triangle);
  EXPECT_EQ(S.Pixel(25, 2), clBlack);
  EXPECT_EQ(S.Pixel(47, 30), clBlack);
  EXPECT_EQ(S.Pixel(28, 45), clBlack);
  S.Image->SetBrushColor(clAqua);
  S.Image->FloodFillXY(33, -25, TFillStyle::fsBorder);
  const int Inside = S.Count(clAqua);
  EXPECT_GT(Inside, 200);
  EXPECT_LT(Inside, 22 * 43 / 2); // within the triangle's area
  EXPECT_EQ(S.Pixel(0, 0), clWhite);
}

TEST(Surface, FlatFillRectangleLeavesOnlyALine)
{
  TSurfaceHost S(20, 20);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->Clear();
  S.Image->SetBrushColor(clAqua);
  S.Image->FillRectangle(2, 9, -5, -5);
  EXPECT_EQ(S.Count(clAqua), 0);
  EXPECT_EQ(S.Count(clBlack), 8);
  EXPECT_EQ(S.Pixel(9, 5), clBlack);
  EXPECT_EQ(S.Canvas().PenColor(), clBlack); // back from the marker colour
}

// Only the marker outline stops a filled shape: earlier black edges inside are painted over.
TEST(Surface, FillPaintsOverEarlierDrawingInside)
{
  TSurfaceHost S(40, 40);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->Clear();
  S.Image->RectangleOutline(10, 20, -10, -20); // an earlier figure's edges
  S.Image->SetBrushColor(clAqua);
  S.Image->FillRectangle(5, 30, -5, -30);
  EXPECT_EQ(S.Pixel(10, 15), clAqua);
  EXPECT_EQ(S.Pixel(15, 15), clAqua);
  EXPECT_EQ(S.Count(clAqua), 24 * 24);
  EXPECT_EQ(S.Count(clBlack), 4 * 25);
  EXPECT_EQ(S.Count(0x000003), 0); // no marker pixel survives
}

// The fill starts at the vertex mean even when that lies outside: then the outside is filled.
TEST(Surface, ConcavePolygonWithMeanOutsideFillsTheOutside)
{
  TSurfaceHost S(40, 40);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->Clear();
  S.Image->SetBrushColor(clAqua);
  // A thin "V" whose vertex mean (20, -15) lies in its notch.
  const std::vector<TRealPoint> Vee{{2, -2}, {20, -30}, {38, -2}, {20, -26}};
  S.Image->FillPolygon(Vee);
  EXPECT_EQ(S.Pixel(20, 12), clAqua);
  EXPECT_EQ(S.Pixel(0, 39), clAqua);   // the outside, up to the raster's edges
  EXPECT_EQ(S.Pixel(20, 28), clWhite); // the V's own inside stays white
  EXPECT_EQ(S.Pixel(20, 30), clBlack);
}

TEST(Surface, FillsThatCannotStartChangeNothing)
{
  TSurfaceHost S(20, 20);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->Clear();
  S.Image->SetBrushColor(clAqua);
  S.Image->RectangleOutline(2, 8, -2, -8);
  S.Image->FloodFillXY(-5, 5, TFillStyle::fsBorder);   // outside
  S.Image->FloodFillXY(50, -5, TFillStyle::fsSurface); // outside
  S.Image->FloodFillXY(2, -5, TFillStyle::fsBorder);   // on the border colour
  EXPECT_EQ(S.Count(clAqua), 0);
  S.Image->FloodFillXY(5, -5, TFillStyle::fsSurface); // the white inside
  EXPECT_EQ(S.Count(clAqua), 25);
}

TEST(Surface, ClearWithKeepsBrushPenAndPenPosition)
{
  TSurfaceHost S(20, 20);
  S.Image->SetBrushColor(clAqua);
  S.Image->SetBrushStyle(TBrushStyle::bsCross);
  S.Image->SetPenColor(0x0000FF);
  S.Image->SetOrigin(0, 0);
  S.Image->SetScale(1);
  S.Image->MoveToXY(7, -3);
  S.Image->ClearWith(0x00FF00);
  EXPECT_EQ(S.Count(0x00FF00), 400);
  EXPECT_EQ(S.Canvas().BrushColor(), clAqua);
  EXPECT_EQ(S.Canvas().BrushStyle(), TBrushStyle::bsCross);
  EXPECT_EQ(S.Canvas().PenColor(), 0x0000FFU);
  EXPECT_EQ(S.Canvas().PenPos(), (TPixelPoint{7, 3}));
  S.Image->SetFontSize(14);
  S.Image->SetFontColor(0x123456);
  EXPECT_EQ(S.Canvas().FontSize(), 14);
  EXPECT_EQ(S.Canvas().FontColor(), 0x123456U);
}

TEST(Surface, ViewingSetUpAfterConstruction)
{
  TSurfaceHost S(10, 10);
  const TMyImage3& V = *S.Image;
  EXPECT_TRUE(V.IsViewReady());
  for (std::size_t I = 0; I < 3; ++I)
    for (std::size_t J = 0; J < 3; ++J)
      EXPECT_DOUBLE_EQ(V.GetViewRotation()[I][J], I == J ? 1.0 : 0.0);
  EXPECT_DOUBLE_EQ(V.GetEyeInView()[0], std::sqrt(3.0));
  EXPECT_DOUBLE_EQ(V.GetEyeInView()[2], 6.0);
  EXPECT_DOUBLE_EQ(V.GetProjection()[0][0], 1.0);
  EXPECT_DOUBLE_EQ(V.GetProjection()[1][1], 1.0);
  EXPECT_NEAR(V.GetProjection()[2][0], -0.2886751, 1e-7);
  EXPECT_NEAR(V.GetProjection()[2][1], -0.1666667, 1e-7);

  // Any direction is carried onto +z, and the up vector into x = 0, y > 0.
  S.Image->SetViewDirection(1, 2, 2);
  S.Image->SetUpVector(0, 0, 1);
  const auto Along = V.WorldToView(1, 2, 2);
  EXPECT_NEAR(Along[0], 0, 1e-12);
  EXPECT_NEAR(Along[1], 0, 1e-12);
  EXPECT_NEAR(Along[2], 3, 1e-12);
  const auto Up = V.WorldToView(0, 0, 1);
  EXPECT_NEAR(Up[0], 0, 1e-12);
  EXPECT_GT(Up[1], 0);

  const auto Before = V.GetViewDirection();
  EXPECT_THROW(S.Image->SetViewDirection(0, 0, 0), EInvalidOp);
  EXPECT_THROW(S.Image->SetViewDirection(NaN, 0, 1), EInvalidOp);
  EXPECT_THROW(S.Image->SetViewDirection(1e200, 0, 1), EOverflow);
  EXPECT_EQ(V.GetViewDirection(), Before);
}

// A taller window grows the raster upwards and the origin moves with it, so old and new bars
// stand on the visible bottom edge; a smaller one shows the raster's bottom-left part and
// discards nothing, so that growing back shows every pixel as it was.
TEST(Surface, ResizeKeepsEveryPixelAndThePictureOnTheBottomEdge)
{
  TSurfaceHost S(300, 200);
  S.Host->show(); // a hidden control hears of its new size only when shown
  S.Image->Clear();
  S.Image->SetOrigin(0, 200);
  S.Image->SetScale(30);
  S.Image->SetBrushColor(clAqua);
  S.Image->FillRectangle(0, 1, 0, 2); // 60 pixels tall on the bottom edge
  ASSERT_EQ(S.Pixel(15, 199), clAqua);

  S.Image->resize(400, 350); // as its docking host would
  EXPECT_EQ(S.Canvas().Width(), 400);
  EXPECT_EQ(S.Canvas().Height(), 350);
  EXPECT_EQ(S.Image->GetOrigin(), (TPixelPoint{0, 350}));
  EXPECT_EQ(S.Pixel(15, 349), clAqua);
  EXPECT_EQ(S.Pixel(15, 291), clAqua);
  EXPECT_EQ(S.Pixel(15, 289), clWhite);
  S.Image->FillRectangle(9, 10, 0, 1); // right of what the first size showed
  const std::vector<std::uint32_t> Drawn(S.Canvas().Bits(),
                                         S.Canvas().Bits() + std::ptrdiff_t{400} * 350);

  for (const QSize Size : {QSize(100, 50), QSize(0, 0), QSize(400, 350)}) {
    S.Image->resize(Size);
    EXPECT_EQ(S.Canvas().Width(), 400);
    EXPECT_EQ(S.Canvas().Height(), 350);
    EXPECT_EQ(S.Image->GetOrigin(), (TPixelPoint{0, 350}));
    EXPECT_TRUE(std::equal(Drawn.begin(), Drawn.end(), S.Canvas().Bits()))
        << Size.width() << " x " << Size.height();
  }
  // What the control shows is the bottom-left part: a bar on its bottom edge.
  S.Image->resize(100, 50);
  const QImage Shown = S.Image->grab().toImage();
  EXPECT_EQ(Shown.pixel(15, 49), qRgb(0, 255, 255));
  EXPECT_EQ(Shown.pixel(15, 0), qRgb(0, 255, 255));
  EXPECT_EQ(Shown.pixel(45, 49), qRgb(255, 255, 255));
}
