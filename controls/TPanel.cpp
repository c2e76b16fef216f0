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
  if (Bevel == TBevel::Raised) {
    // The outermost pixels, children start inside them; filled as rectangles rather than drawn
    // as lines, so that on a screen of more device pixels the edge is still the outermost ones
    // (a line is centred on its pixel and falls one device pixel short there). The dark edges
    // go last and own the top-right and bottom-left corners.
    const int W = width();
    const int H = height();
    const QColor Light = palette().color(QPalette::Light);
    const QColor Dark = palette().color(QPalette::Dark);
    Painter.fillRect(0, 0, W, 1, Light);
    Painter.fillRect(0, 0, 1, H, Light);
    Painter.fillRect(0, H - 1, W, 1, Dark);
    Painter.fillRect(W - 1, 0, 1, H, Dark);
  }
}
