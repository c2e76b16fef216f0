#include "puzzle/BarFigure.h"

#include "MyImageU/TMyImage2.h"
#include "runtime/Checked.h"
#include "runtime/Random.h"
#include "runtime/Rounding.h"

#include <array>

void DrawBar(TMyImage2& Image, bool SlopeMode, std::uint8_t Pos, std::uint8_t Height,
             std::int8_t Slope)
{
  const double Left = Pos - 1;
  const double Right = Pos;
  if (SlopeMode) {
    const std::array<TRealPoint, 4> Outline{
        TMyImage2::RealPoint(Left, 0),
        TMyImage2::RealPoint(Right, 0),
        TMyImage2::RealPoint(Right, (Height + Slope) / 10.0),
        TMyImage2::RealPoint(Left, (Height - Slope) / 10.0),
    };
    Image.FillPolygon(Outline);
  } else {
    Image.FillRectangle(Left, Right, 0, Height / 10.0);
  }
}

void DrawMark(TMyImage2& Image, bool SlopeMode, TBarMark Mark, std::int8_t Slope)
{
  DrawBar(Image, SlopeMode, Mark.Pos, Mark.Height, Slope);
}

std::uint8_t ExampleHeight(int P, int I)
{
  // Exact integer rounding: 62.5 must round to 62 on every machine.
  if (I < P)
    return ToByte(8 + DivRoundHalfEven(100LL * I, P));
  return ToByte(8 + DivRoundHalfEven(100LL * (32 - I), 32 - P));
}

TExampleBar ExampleBar(int P, int I)
{
  if (I == P)
    return {ExampleSummitHeight, 0};
  return {ExampleHeight(P, I), static_cast<std::int8_t>(I < P ? 1 : -1)};
}

void SetUpBars(TMyImage2& Image, int PixelsPerUnit)
{
  // The raster's bottom row is the control's bottom edge, whatever the control's height.
  Image.SetOrigin(0, Image.Canvas().Height());
  Image.SetScale(PixelsPerUnit);
  Image.SetBrushStyle(TBrushStyle::bsSolid);
  Image.SetBrushColor(clAqua);
}

int ExampleSummit(TRandomSource& Random)
{
  return 4 + static_cast<int>(Random.Integer(24));
}

void DrawMountain(TMyImage2& Image, bool SlopeMode, int P, int PixelsPerUnit)
{
  Image.Clear();
  SetUpBars(Image, PixelsPerUnit);
  const auto Draw = [&](int I) {
    const TExampleBar Bar = ExampleBar(P, I);
    DrawBar(Image, SlopeMode, ToPos(I), Bar.Height, Bar.Slope);
  };
  // The flanks from the outside in, the summit last.
  for (int I = 1; I < P; ++I)
    Draw(I);
  for (int I = 31; I > P; --I)
    Draw(I);
  Draw(P);
}
