#include "controls/TPanel.h"

#include "controls/Docking.h"

#include <QEvent>
#include <QPainter>

TPanel::TPanel(QWidget* Parent, TBevel BevelKind, const QString& Caption)
    : QFrame(Parent), Bevel(BevelKind), Text(Caption)
{
  setContentsMargins(BevelWidth(), BevelWidth(), BevelWidth(), BevelWidth());
  setAccessibleName(Caption);
}

bool TPanel::event(QEvent* Event)
{
  if (Event->type() == QEvent::LayoutRequest) {
    AlignNow();
    return true;
  }
  return QFrame::event(Event);
}

void TPanel::resizeEvent(QResizeEvent* Event)
{
  QFrame::resizeEvent(Event);
  AlignNow();
}

void TPanel::AlignNow()
{
  AlignChildren(*this, contentsRect());
}

void TPanel::paintEvent(QPaintEvent* /*Event*/)
{
  QPainter Painter(this);
  if (!Text.isEmpty()) {
    Painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    Painter.drawText(rect(), Qt::AlignCenter, Text);
  }
  if (Bevel == TBevel::Raised) {
    const QRect R = rect(); // the outermost pixels: children start inside them
    Painter.setPen(palette().color(QPalette::Light));
    Painter.drawLine(R.topLeft(), R.topRight());
    Painter.drawLine(R.topLeft(), R.bottomLeft());
    Painter.setPen(palette().color(QPalette::Dark));
    Painter.drawLine(R.bottomLeft(), R.bottomRight());
    Painter.drawLine(R.topRight(), R.bottomRight());
  }
}
