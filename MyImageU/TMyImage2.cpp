#include "MyImageU/TMyImage2.h"

#include "controls/TDockLayout.h"
#include "runtime/Errors.h"
#include "runtime/Rounding.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr std::uint32_t MarkerBits = 3; // the marker colour: the pen colour with these flipped

std::int32_t ToPixel(double Value)
{
  if (!std::isfinite(Value) || std::fabs(Value) >= 0x1.0p63)
    throw EInvalidOp();
  const double Rounded = RoundHalfEven(Value);
  if (Rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      Rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    throw ERangeError();
  return static_cast<std::int32_t>(Rounded);
}
} // namespace

TMyImage2::TMyImage2(QWidget* Owner) : QWidget(Owner)
{
  setAttribute(Qt::WA_StaticContents);
  setAttribute(Qt::WA_OpaquePaintEvent); // it paints every pixel it covers
  TDockLayout::Dock(*this, TAlign::alClient);
  SetOrigin(width() / 2, height() / 2);
  SetScale(60);
  ResetMatrix();
}

TRaster& TMyImage2::Canvas()
{
  if (!Raster)
    Raster.emplace(width(), height());
  return *Raster;
}

void TMyImage2::GrowToControl()
{
  // A smaller control shows part of the raster and discards nothing, so that growing back
  // shows every bar again. Growth goes up and to the right: the picture keeps standing on the
  // bottom edge, above the bar buttons, and the origin moves up with it.
  const int Grown = std::max(height() - Raster->Height(), 0);
  Raster->Resize(std::max(width(), Raster->Width()), Raster->Height() + Grown);
  const long long Moved = static_cast<long long>(Origin.Y) + Grown;
  Origin.Y = static_cast<std::int32_t>(std::clamp<long long>(
      Moved, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

int TMyImage2::ShownFrom() const
{
  return Raster->Height() - height();
}

void TMyImage2::ShowDrawn()
{
  // A figure that failed before anything was drawn may end here with no raster yet.
  if (Holding > 0 || !Raster)
    return;
  const TPixelRect D = Raster->TakeDirty();
  if (D.Left < D.Right && D.Top < D.Bottom)
    update(D.Left, D.Top - ShownFrom(), D.Right - D.Left, D.Bottom - D.Top);
}

void TMyImage2::SetPenColor(TColor Color)
{
  Canvas().SetPenColor(Color);
}
void TMyImage2::SetBrushColor(TColor Color)
{
  Canvas().SetBrushColor(Color);
}
void TMyImage2::SetBrushStyle(TBrushStyle Style)
{
  Canvas().SetBrushStyle(Style);
}
void TMyImage2::SetFontSize(int Size)
{
  Canvas().SetFontSize(Size);
}
void TMyImage2::SetFontColor(TColor Color)
{
  Canvas().SetFontColor(Color);
}

void TMyImage2::ClearWith(TColor Color)
{
  TRaster& C = Canvas();
  const TColor OldColor = C.BrushColor();
  const TBrushStyle OldStyle = C.BrushStyle();
  C.SetBrushColor(Color);
  C.SetBrushStyle(TBrushStyle::bsSolid);
  C.FillRect(C.ClipBox());
  C.SetBrushColor(OldColor);
  C.SetBrushStyle(OldStyle);
  ShowDrawn();
}

void TMyImage2::ResetMatrix()
{
  for (int Row = 0; Row < 2; ++Row)
    for (int Column = 0; Column < 3; ++Column)
      Matrix[Row][Column] = Row == Column ? 1.0 : 0.0;
}

TPixelPoint TMyImage2::WorldToPixel(double X, double Y)
{
  LastPoint = {X, Y};
  const double U = Matrix[0][0] * X + Matrix[0][1] * Y + Matrix[0][2];
  const double V = Matrix[1][0] * X + Matrix[1][1] * Y + Matrix[1][2];
  const std::int32_t PX = ToPixel(Scale * U + Origin.X);
  const std::int32_t PY = ToPixel(Origin.Y - Scale * V);
  return {PX, PY};
}

void TMyImage2::MoveToXY(double X, double Y)
{
  const TPixelPoint P = WorldToPixel(X, Y);
  Canvas().MoveTo(P);
}

void TMyImage2::LineToXY(double X, double Y)
{
  const TPixelPoint P = WorldToPixel(X, Y);
  Canvas().LineTo(P);
  ShowDrawn();
}

void TMyImage2::PolygonOutline(std::span<const TRealPoint> Vertices)
{
  const TShowOnce Showing(*this);
  if (Vertices.empty())
    throw ERangeError();
  MoveToPt(Vertices.back());
  for (const TRealPoint& P : Vertices)
    LineToPt(P);
}

void TMyImage2::FillPolygon(std::span<const TRealPoint> Vertices)
{
  const TShowOnce Showing(*this);
  TRaster& C = Canvas();
  C.SetPenColor(C.PenColor() ^ MarkerBits);
  if (Vertices.empty())
    throw ERangeError();
  MoveToPt(Vertices.back());
  double SumX = 0;
  double SumY = 0;
  for (const TRealPoint& P : Vertices) {
    LineToPt(P);
    SumX += P.X;
    SumY += P.Y;
  }
  // The vertex mean, which lies inside any convex figure.
  const auto Count = static_cast<double>(Vertices.size());
  FloodFillPt({SumX / Count, SumY / Count}, TFillStyle::fsBorder);
  C.SetPenColor(C.PenColor() ^ MarkerBits);
  PolygonOutline(Vertices);
}

void TMyImage2::FloodFillXY(double X, double Y, TFillStyle Style)
{
  const TPixelPoint P = WorldToPixel(X, Y);
  TRaster& C = Canvas();
  // Border: up to the pen's colour; surface: over the colour the start pixel has now.
  C.FloodFill(P.X, P.Y, Style == TFillStyle::fsBorder ? C.PenColor() : C.GetPixel(P.X, P.Y), Style);
  ShowDrawn();
}

void TMyImage2::RectangleOutline(double X1, double X2, double Y1, double Y2)
{
  const TShowOnce Showing(*this);
  MoveToXY(X1, Y1);
  LineToXY(X1, Y2);
  LineToXY(X2, Y2);
  LineToXY(X2, Y1);
  LineToXY(X1, Y1);
}

void TMyImage2::FillRectangle(double X1, double X2, double Y1, double Y2)
{
  const TShowOnce Showing(*this);
  TRaster& C = Canvas();
  C.SetPenColor(C.PenColor() ^ MarkerBits);
  RectangleOutline(X1, X2, Y1, Y2);
  FloodFillXY((X1 + X2) / 2, (Y1 + Y2) / 2, TFillStyle::fsBorder);
  C.SetPenColor(C.PenColor() ^ MarkerBits);
  RectangleOutline(X1, X2, Y1, Y2);
}

void TMyImage2::paintEvent(QPaintEvent* Event)
{
  QPainter Painter(this);
  if (!Raster || Raster->Width() == 0 || Raster->Height() == 0) {
    Painter.fillRect(Event->rect(), Qt::white);
    return;
  }
  const QImage Image(reinterpret_cast<const uchar*>(Raster->Bits()), Raster->Width(),
                     Raster->Height(), static_cast<qsizetype>(Raster->Width()) * 4,
                     QImage::Format_RGB32);
  const QRect Shown = Event->rect().translated(0, ShownFrom()).intersected(Image.rect());
  const QRect Target = Shown.translated(0, -ShownFrom());
  Painter.drawImage(Target.topLeft(), Image, Shown);
  // Only while the raster has not yet grown to a larger control.
  for (const QRect& Rest : QRegion(Event->rect()).subtracted(Target))
    Painter.fillRect(Rest, Qt::white);
}

void TMyImage2::resizeEvent(QResizeEvent* Event)
{
  QWidget::resizeEvent(Event);
  if (!Raster)
    return;
  GrowToControl();
  // The bottom-left corner is what stays: another height shows the raster shifted.
  if (Event->oldSize().height() != height())
    update();
}
