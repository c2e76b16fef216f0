#include "app/TextFit.h"

#include "controls/TPanel.h"
#include "controls/TRadioGroup.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <cmath>

namespace {
bool StandsIn(const QString& Text, const QFontMetrics& Metrics, QRect Room)
{
  return Metrics.horizontalAdvance(Text) <= Room.width() && Metrics.height() <= Room.height();
}

bool ButtonTextFits(const QWidget& Control, const QString& Text, const QFontMetrics& Metrics,
                    QRect Box, QStyle::SubElement Contents)
{
  QStyleOptionButton Option;
  Option.initFrom(&Control);
  Option.rect = Box;
  Option.text = Text;
  return StandsIn(Text, Metrics, Control.style()->subElementRect(Contents, &Option, &Control));
}
} // namespace

bool TextFits(const QWidget& Control, const QFont& Font)
{
  const QFontMetrics Metrics(Font);
  if (const auto* Button = qobject_cast<const QPushButton*>(&Control))
    return ButtonTextFits(Control, Button->text(), Metrics, Control.rect(),
                          QStyle::SE_PushButtonContents);
  if (const auto* Group = dynamic_cast<const TRadioGroup*>(&Control)) {
    if (!StandsIn(Group->title(), Metrics, Group->CaptionRoom(Font)))
      return false;
    for (int I = 0; I < Group->Count(); ++I)
      if (!ButtonTextFits(*Group->Item(I), Group->Item(I)->text(), Metrics,
                          Group->ItemRect(I, Font), QStyle::SE_RadioButtonContents))
        return false;
    return true;
  }
  if (const auto* Edit = qobject_cast<const QLineEdit*>(&Control)) {
    QStyleOptionFrame Option;
    Option.initFrom(Edit);
    Option.lineWidth = Edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, Edit);
    // The line edit keeps two pixels of its own on either side of the text.
    const QRect Room = Edit->style()
                           ->subElementRect(QStyle::SE_LineEditContents, &Option, Edit)
                           .marginsRemoved(Edit->textMargins())
                           .adjusted(2, 0, -2, 0);
    return StandsIn(QStringLiteral("99"), Metrics, Room); // a count of two digits
  }
  if (const auto* Panel = dynamic_cast<const TPanel*>(&Control))
    return Panel->Caption().isEmpty() || StandsIn(Panel->Caption(), Metrics, Panel->contentsRect());
  return true;
}

QFont LargestFitting(const QWidget& Control, QFont Font)
{
  while (Font.pixelSize() > 1 && !TextFits(Control, Font))
    Font.setPixelSize(Font.pixelSize() - 1);
  return Font;
}

namespace {
// Paragraph laid out as a plain text box lays it out: Width pixels wide, wrapped at a word
// boundary or, in Japanese, anywhere, each line under the last with its leading.
void LayOut(QTextLayout& Layout, int Width)
{
  QTextOption Option;
  Option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  Layout.setTextOption(Option);
  Layout.beginLayout();
  qreal Top = 0;
  for (QTextLine Line = Layout.createLine(); Line.isValid(); Line = Layout.createLine()) {
    Line.setLeadingIncluded(true);
    Line.setLineWidth(Width);
    Line.setPosition(QPointF(0, Top));
    Top += Line.height();
    if (Line.leading() < 0)
      Top += std::ceil(Line.leading());
  }
  Layout.endLayout();
}
} // namespace

TTextLayout LayOutText(const QString& Text, const QFont& Font, int Width, int Margin)
{
  TTextLayout Laid;
  qreal Top = Margin;
  qreal Bottom = Top;
  for (const QString& Paragraph : Text.split(QLatin1Char('\n'))) {
    QTextLayout Layout(Paragraph, Font);
    LayOut(Layout, Width);
    Laid.Lines.push_back(Layout.lineCount());
    if (!Paragraph.isEmpty())
      Bottom = Top + Ink(Layout.glyphRuns()).bottom();
    Top += Layout.boundingRect().height();
  }
  Laid.Bottom = static_cast<int>(std::ceil(Bottom));
  return Laid;
}

QRectF Ink(const QList<QGlyphRun>& Runs)
{
  QRectF Box;
  for (const QGlyphRun& Run : Runs) {
    const QList<quint32> Glyphs = Run.glyphIndexes();
    const QList<QPointF> At = Run.positions();
    for (qsizetype I = 0; I < Glyphs.size(); ++I)
      Box |= Run.rawFont().boundingRect(Glyphs[I]).translated(At[I]);
  }
  return Box;
}
