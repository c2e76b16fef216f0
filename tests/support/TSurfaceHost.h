#pragma once

#include "MyImageU/TMyImage.h"

#include <QWidget>

#include <memory>

// A bare host of a given size with a surface docked into it.
struct TSurfaceHost {
  std::unique_ptr<QWidget> Host;
  TMyImage* Image = nullptr;

  TSurfaceHost(int Width, int Height) : Host(std::make_unique<QWidget>())
  {
    Host->resize(Width, Height);
    Image = new TMyImage(Host.get());
  }
  [[nodiscard]] TRaster& Canvas() const { return Image->Canvas(); }
  [[nodiscard]] TColor Pixel(int X, int Y) const { return Image->Canvas().GetPixel(X, Y); }
  // How many pixels of the raster have Color.
  [[nodiscard]] int Count(TColor Color) const
  {
    int N = 0;
    const TRaster& C = Image->Canvas();
    for (int Y = 0; Y < C.Height(); ++Y)
      for (int X = 0; X < C.Width(); ++X)
        N += C.GetPixel(X, Y) == Color ? 1 : 0;
    return N;
  }
};
