#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// The layout is designed at 30 pixels to the world unit: bar I's column and bar button I
// stand 30 pixels apart. On a screen too small for it the same layout is built at k pixels to
// the unit, k from 29 down to 15 (half size): every position, size and face height times k / 30.
class TLayoutScale {
public:
  static constexpr int Design = 30;
  static constexpr int Smallest = 15;

  constexpr TLayoutScale() = default;
  explicit constexpr TLayoutScale(int PixelsPerUnit) : Pixels(PixelsPerUnit) {}

  [[nodiscard]] constexpr int PixelsPerUnit() const { return Pixels; }

  // A length of the layout at this scale, halves to even.
  [[nodiscard]] int operator()(int Length) const;
  // A rectangle by its edges, so that controls that meet at the design size still meet.
  [[nodiscard]] QRect operator()(QRect Box) const;
  [[nodiscard]] QSize operator()(QSize Size) const;

  // The largest scale at which the client area, with the window's frame, fits the screen's
  // available area; the smallest where none does.
  [[nodiscard]] static TLayoutScale Fitting(QSize DesignClient, QMargins Frame, QSize Area);

  friend constexpr bool operator==(TLayoutScale, TLayoutScale) = default;

private:
  int Pixels = Design;
};
