#include "puzzle/TPicture.h"

#include "MyImageU/TMyImage2.h"
#include "puzzle/BarFigure.h"

#include <QStringList>

#include <algorithm>

namespace {
// A bar as a screen reader says it: its height and, in puzzle 1, the slant of its top.
QString BarWords(int Height, int Slope, bool SlopeMode)
{
  QString Words = QStringLiteral("高さ%1").arg(Height);
  if (!SlopeMode)
    return Words;
  if (Slope > 0)
    return Words + QStringLiteral("，右上がり");
  if (Slope < 0)
    return Words + QStringLiteral("，右下がり");
  return Words + QStringLiteral("，水平");
}
} // namespace

void TPicture::Clear()
{
  *this = {};
}

void TPicture::Example(int ExampleSummit, bool ExampleSlopeMode)
{
  *this = {};
  Summit = ExampleSummit;
  SlopeMode = ExampleSlopeMode;
}

void TPicture::Reveal(TRevealedBar Bar, bool PuzzleSlopeMode)
{
  SlopeMode = PuzzleSlopeMode;
  Bars.push_back(Bar);
}

void TPicture::Draw(TMyImage2& Image, int PixelsPerUnit) const
{
  if (Summit != 0) {
    DrawMountain(Image, SlopeMode, Summit, PixelsPerUnit);
    return;
  }
  Image.Clear();
  SetUpBars(Image, PixelsPerUnit);
  for (const TRevealedBar& Bar : Bars)
    DrawMark(Image, SlopeMode, Bar.Mark, Bar.Slope);
}

const TRevealedBar* TPicture::RevealedAt(int Pos) const
{
  const auto Found = std::find_if(Bars.begin(), Bars.end(),
                                  [Pos](const TRevealedBar& Bar) { return Bar.Mark.Pos == Pos; });
  return Found == Bars.end() ? nullptr : &*Found;
}

QString TPicture::Description() const
{
  if (Summit != 0)
    return QStringLiteral("例：頂点は%1番").arg(Summit);
  QStringList Words;
  for (int Pos = 1; Pos <= 31; ++Pos)
    if (const TRevealedBar* Bar = RevealedAt(Pos))
      Words << QStringLiteral("%1番 ").arg(Pos) + BarWords(Bar->Mark.Height, Bar->Slope, SlopeMode);
  return Words.join(QStringLiteral("／"));
}

QString TPicture::BarDescription(int Pos) const
{
  if (Summit != 0) {
    const TExampleBar Bar = ExampleBar(Summit, Pos);
    return QStringLiteral("例：") + BarWords(Bar.Height, Bar.Slope, SlopeMode);
  }
  if (const TRevealedBar* Bar = RevealedAt(Pos))
    return QStringLiteral("%1回目：").arg(Bar->Click) +
           BarWords(Bar->Mark.Height, Bar->Slope, SlopeMode);
  return {};
}

QString TPicture::LastAnswer() const
{
  if (Bars.empty())
    return {};
  const int Pos = Bars.back().Mark.Pos;
  return QStringLiteral("%1番，").arg(Pos) + BarDescription(Pos);
}
