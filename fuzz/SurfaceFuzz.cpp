// Random sequences of the drawing surface's operations with any numbers: huge, negative,
// infinite and NaN coordinates, any colour, any vertex count, any control size. The only
// failures the surface may raise are the program's own errors; anything else (a crash, a
// sanitizer report, a foreign exception) is a finding.
#include "MyImageU/TMyImage.h"
#include "runtime/Errors.h"

#include <QApplication>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
// Live until the process ends: Qt's teardown inside exit() is not what is being fuzzed.
QApplication* App = nullptr;
QWidget* Owner = nullptr;

// Reads the input front to back; past its end every value is zero.
class TInput {
public:
  TInput(const std::uint8_t* Data, std::size_t Size) : At(Data), End(Data + Size) {}
  [[nodiscard]] bool Empty() const { return At == End; }
  template <typename T> T Raw()
  {
    T Value{};
    const std::size_t Count = std::min(sizeof(T), static_cast<std::size_t>(End - At));
    std::memcpy(&Value, At, Count);
    At += Count;
    return Value;
  }
  std::uint8_t Byte() { return Raw<std::uint8_t>(); }
  // Either any bit pattern (NaN, infinities, huge) or a small value near the picture.
  double Number()
  {
    if ((Byte() & 1U) != 0)
      return Raw<double>();
    return Raw<std::int16_t>() / 4.0;
  }
  std::int32_t Integer()
  {
    if ((Byte() & 1U) != 0)
      return Raw<std::int32_t>();
    return Raw<std::int8_t>();
  }

private:
  const std::uint8_t* At;
  const std::uint8_t* End;
};

std::vector<TRealPoint> Vertices(TInput& In)
{
  std::vector<TRealPoint> Points(In.Byte() % 40U);
  for (auto& P : Points)
    P = {In.Number(), In.Number()};
  return Points;
}

void Apply(TMyImage& S, TInput& In)
{
  switch (In.Byte() % 25U) {
  case 0:
    S.SetPenColor(In.Raw<std::uint32_t>());
    break;
  case 1:
    S.SetBrushColor(In.Raw<std::uint32_t>());
    break;
  case 2:
    S.SetBrushStyle(static_cast<TBrushStyle>(In.Byte()));
    break;
  case 3:
    S.SetFontSize(In.Integer());
    break;
  case 4:
    S.SetFontColor(In.Raw<std::uint32_t>());
    break;
  case 5:
    S.ClearWith(In.Raw<std::uint32_t>());
    break;
  case 6:
    S.SetOrigin(In.Integer(), In.Integer());
    break;
  case 7:
    S.SetScale(In.Integer());
    break;
  case 8:
    S.ResetMatrix();
    break;
  case 9:
    S.SetMatrixAt(1 + In.Byte() % 2, 1 + In.Byte() % 3, In.Number());
    break;
  case 10:
    (void)S.WorldToPixel(In.Number(), In.Number());
    break;
  case 11:
    S.MoveToXY(In.Number(), In.Number());
    break;
  case 12:
    S.LineToXY(In.Number(), In.Number());
    break;
  case 13:
    S.PolygonOutline(Vertices(In));
    break;
  case 14:
    S.FillPolygon(Vertices(In));
    break;
  case 15:
    S.FloodFillXY(In.Number(), In.Number(),
                  (In.Byte() & 1U) != 0 ? TFillStyle::fsBorder : TFillStyle::fsSurface);
    break;
  case 16:
    S.RectangleOutline(In.Number(), In.Number(), In.Number(), In.Number());
    break;
  case 17:
    S.FillRectangle(In.Number(), In.Number(), In.Number(), In.Number());
    break;
  case 18:
    Owner->resize(In.Raw<std::uint16_t>() % 700U, In.Raw<std::uint16_t>() % 500U);
    break;
  case 19:
    S.SetViewDirection(In.Number(), In.Number(), In.Number());
    break;
  case 20:
    S.SetUpVector(In.Number(), In.Number(), In.Number());
    break;
  case 21:
    S.SetViewCenter(In.Number(), In.Number(), In.Number());
    break;
  case 22:
    S.SetEyePoint(In.Number(), In.Number(), In.Number());
    break;
  case 23:
    (void)S.WorldToView(In.Number(), In.Number(), In.Number());
    break;
  default:
    S.repaint();
    break;
  }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  App = new QApplication(*Argc, *Argv);
  Owner = new QWidget;
  Owner->show();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
  TInput In(Data, Size);
  Owner->resize(In.Raw<std::uint16_t>() % 700U, In.Raw<std::uint16_t>() % 500U);
  TMyImage Surface(Owner);
  Surface.show();
  while (!In.Empty()) {
    try {
      Apply(Surface, In);
    } catch (const ERuntimeError&) {
      // the program's own errors are the surface's answer to numbers it cannot draw
    }
  }
  // Whatever happened, the canvas covers the control (it grows with it and never shrinks)
  // and every pixel is opaque.
  const TRaster& Canvas = Surface.Canvas();
  if (Canvas.Width() < Surface.width() || Canvas.Height() < Surface.height())
    std::abort();
  const std::size_t Count =
      static_cast<std::size_t>(Canvas.Width()) * static_cast<std::size_t>(Canvas.Height());
  for (std::size_t I = 0; I < Count; ++I)
    if ((Canvas.Bits()[I] >> 24) != 0xFFU)
      std::abort();
  return 0;
}
