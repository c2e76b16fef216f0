#pragma once

#include "MyImageU/TRaster.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <span>

struct TRealPoint {
  double X = 0;
  double Y = 0;
  friend constexpr bool operator==(TRealPoint, TRealPoint) = default;
};

// The picture area: a retained raster addressed in world coordinates (x to the right, y up),
// converted through a 2x3 matrix, an integer scale and a pixel origin. Every operation draws
// at once; the widget only shows the raster.
class TMyImage2 : public QWidget {
public:
  explicit TMyImage2(QWidget* Owner);

  void SetPenColor(TColor Color);
  void SetBrushColor(TColor Color);
  void SetBrushStyle(TBrushStyle Style);
  void SetFontSize(int Size);
  void SetFontColor(TColor Color);

  void ClearWith(TColor Color);
  void Clear() { ClearWith(clWhite); }

  [[nodiscard]] static constexpr TRealPoint RealPoint(double X, double Y) { return {X, Y}; }
  void SetOrigin(std::int32_t X, std::int32_t Y) { Origin = {X, Y}; }
  void SetScale(std::int32_t Value) { Scale = Value; }
  void ResetMatrix();

  TPixelPoint WorldToPixel(double X, double Y);

  void MoveToXY(double X, double Y);
  void MoveToPt(TRealPoint P) { MoveToXY(P.X, P.Y); }
  void LineToXY(double X, double Y);
  void LineToPt(TRealPoint P) { LineToXY(P.X, P.Y); }
  void PolygonOutline(std::span<const TRealPoint> Vertices);
  void FillPolygon(std::span<const TRealPoint> Vertices);
  void FloodFillXY(double X, double Y, TFillStyle Style);
  void FloodFillPt(TRealPoint P, TFillStyle Style) { FloodFillXY(P.X, P.Y, Style); }
  void RectangleOutline(double X1, double X2, double Y1, double Y2);
  void FillRectangle(double X1, double X2, double Y1, double Y2);

  // The canvas; the raster comes into being on the first call, at the control's size. It
  // grows with the control and never shrinks: the control shows its bottom-left part.
  TRaster& Canvas();
  [[nodiscard]] bool HasCanvas() const { return Raster.has_value(); }
  // A picture drawn afresh at another scale starts on a raster of the control's size: the next
  // drawing makes it.
  void DropCanvas() { Raster.reset(); }

  [[nodiscard]] TPixelPoint GetOrigin() const { return Origin; }
  [[nodiscard]] std::int32_t GetScale() const { return Scale; }
  [[nodiscard]] double MatrixAt(int Row, int Column) const { return Matrix[Row - 1][Column - 1]; }
  void SetMatrixAt(int Row, int Column, double Value) { Matrix[Row - 1][Column - 1] = Value; }
  [[nodiscard]] TRealPoint GetLastPoint() const { return LastPoint; }

protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

private:
  void GrowToControl();
  [[nodiscard]] int ShownFrom() const; // the raster row on the control's top row
  void ShowDrawn();                    // asks for a repaint of what the last operation changed

  // Held through a figure of several lines and a fill: the figure is shown once, at its end,
  // rather than once a line.
  class TShowOnce {
  public:
    explicit TShowOnce(TMyImage2& Owner) : Image(Owner) { ++Image.Holding; }
    ~TShowOnce()
    {
      if (--Image.Holding == 0)
        Image.ShowDrawn();
    }
    TShowOnce(const TShowOnce&) = delete;
    TShowOnce& operator=(const TShowOnce&) = delete;

  private:
    TMyImage2& Image;
  };

  TPixelPoint Origin;
  std::int32_t Scale = 0;
  double Matrix[2][3] = {};
  TRealPoint LastPoint;
  std::optional<TRaster> Raster;
  int Holding = 0; // figures under way: ShowDrawn waits for the outermost to end
};
