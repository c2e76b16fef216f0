#include "support/TShownForm.h"

TShownForm::TShownForm(std::optional<std::uint32_t> Seed)
{
  if (Seed)
    Random.Follow(*Seed);
  Form = std::make_unique<TFormMain>(&Random);
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
