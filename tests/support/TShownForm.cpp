#include "support/TShownForm.h"

TShownForm::TShownForm(std::optional<std::uint32_t> Seed, QScreen* On)
{
  if (Seed)
    Random.Follow(*Seed);
  Form = std::make_unique<TFormMain>(&Random);
  if (On != nullptr)
    Form->setScreen(On);
  Form->ShowCentred();
  Ready = QTest::qWaitFor([this] { return !Form->TimerCreate->isActive(); });
}

int TShownForm::Top(int X) const
{
  const TRaster& C = Form->MyImage->Canvas();
  for (int Y = 0; Y < C.Height(); ++Y)
    if (C.GetPixel(X, Y) != clWhite)
      return Y;
  return C.Height();
}

std::vector<TColor> TShownForm::Pixels() const
{
  const TRaster& C = Form->MyImage->Canvas();
  return {C.Bits(), C.Bits() + static_cast<std::ptrdiff_t>(C.Width()) * C.Height()};
}
