#include "controls/TPanel.h"

#include <QPainter>

TPanel::TPanel(QWidget* Parent, TBevel BevelKind, const QString& Caption)
    : QFrame(Parent), Bevel(BevelKind), Text(Caption)
{
  setContentsMargins(BevelWidth(), BevelWidth(), BevelWidth(), BevelWidth());
  setAttribute(Qt::WA_OpaquePaintEvent);
  CaptionLayout.setTextFormat(Qt::PlainText);
}

void TPanel::paintEvent(QPaintEvent* /*Event*/)
{
  QPainter Painter(this);
  // Opaque: the panel paints its own background, so that a change inside it repaints nothing
  // behind it.
  Painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!Text.isEmpty()) {
    Painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    // Laid out once; only a new font lays it out again.
    if (LaidOutFor != font()) {
      LaidOutFor = font();
      CaptionLayout.setText(Text);
      CaptionLayout.prepare(QTransform(), font());
    }
    const QSizeF Size = CaptionLayout.size();
    Painter.drawStaticText(QPointF((width() - Size.width()) / 2, (height() - Size.height()) / 2),
                           CaptionLayout);
  }
  if (Bevel == TBevel::Raised) // the outermost pixels: children start inside them
    DrawFrameEdges(Painter, rect(), palette().color(QPalette::Light),
                   palette().color(QPalette::Dark));
}

void DrawFrameEdges(QPainter& Painter, const QRect& Box, const QColor& TopLeft,
                    const QColor& BottomRight)
{
  Painter.fillRect(Box.left(), Box.top(), Box.width(), 1, TopLeft);
  Painter.fillRect(Box.left(), Box.top(), 1, Box.height(), TopLeft);
  Painter.fillRect(Box.left(), Box.bottom(), Box.width(), 1, BottomRight);
  Painter.fillRect(Box.right(), Box.top(), 1, Box.height(), BottomRight);
}
