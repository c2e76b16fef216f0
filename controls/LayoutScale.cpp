#include "controls/LayoutScale.h"

#include "runtime/Rounding.h"

#include <cstdlib>

int TLayoutScale::operator()(int Length) const
{
  const long long Scaled = DivRoundHalfEven(std::llabs(Length) * Pixels, Design);
  return static_cast<int>(Length < 0 ? -Scaled : Scaled);
}

QRect TLayoutScale::operator()(QRect Box) const
{
  const int Left = (*this)(Box.left());
  const int Top = (*this)(Box.top());
  return {Left, Top, (*this)(Box.left() + Box.width()) - Left,
          (*this)(Box.top() + Box.height()) - Top};
}

QSize TLayoutScale::operator()(QSize Size) const
{
  return {(*this)(Size.width()), (*this)(Size.height())};
}

TLayoutScale TLayoutScale::Fitting(QSize DesignClient, QMargins Frame, QSize Area)
{
  for (int K = Design; K > Smallest; --K) {
    const QSize Outer = TLayoutScale(K)(DesignClient).grownBy(Frame);
    if (Outer.width() <= Area.width() && Outer.height() <= Area.height())
      return TLayoutScale(K);
  }
  return TLayoutScale(Smallest);
}
