#include "controls/TRadioGroup.h"

#include "controls/TPanel.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QRadioButton>

#include <algorithm>

TRadioGroup::TRadioGroup(QWidget* Parent, const QString& Caption, const QStringList& Items)
    : QGroupBox(Caption, Parent), Group(new QButtonGroup(this))
{
  for (int I = 0; I < Items.size(); ++I) {
    auto* Button = new QRadioButton(Items[I], this);
    Group->addButton(Button, I);
    Buttons.push_back(Button);
  }
  connect(Group, &QButtonGroup::idToggled, this, [this](int /*Id*/, bool Checked) {
    if (Checked && OnChange)
      OnChange();
  });
}

int TRadioGroup::ItemIndex() const
{
  return Group->checkedId();
}

void TRadioGroup::SetItemIndex(int Index)
{
  if (Index >= 0 && Index < static_cast<int>(Buttons.size()))
    Buttons[static_cast<std::size_t>(Index)]->setChecked(true);
}

QRadioButton* TRadioGroup::Item(int Index) const
{
  return Buttons.at(static_cast<std::size_t>(Index));
}

QRect TRadioGroup::CaptionRoom(const QFont& Font) const
{
  const QFontMetrics Metrics(Font);
  return {9, 0, std::max(width() - 18, 0), Metrics.height()}; // see paintEvent
}

QRect TRadioGroup::ItemRect(int Index, const QFont& Font) const
{
  // The items share the height below the caption evenly, as one column.
  const int Top = QFontMetrics(Font).height();
  const int Step = (height() - Top - 4) / std::max(Count(), 1);
  return {8, Top + Index * Step, width() - 16, Step};
}

void TRadioGroup::PlaceItems()
{
  for (int I = 0; I < Count(); ++I)
    Buttons[static_cast<std::size_t>(I)]->setGeometry(ItemRect(I, font()));
}

void TRadioGroup::resizeEvent(QResizeEvent* Event)
{
  QGroupBox::resizeEvent(Event);
  PlaceItems();
}

void TRadioGroup::changeEvent(QEvent* Event)
{
  QGroupBox::changeEvent(Event);
  if (Event->type() == QEvent::FontChange)
    PlaceItems();
}

void TRadioGroup::paintEvent(QPaintEvent* /*Event*/)
{
  // An etched frame, clearly visible, whose top line runs through the caption's middle; the
  // caption stands on it at the left.
  QPainter Painter(this);
  const QFontMetrics Metrics(font());
  const QRect Frame = rect().adjusted(0, Metrics.height() / 2, 0, 0);
  const QColor Dark = palette().color(QPalette::Dark);
  const QColor Light = palette().color(QPalette::Light);
  DrawFrameEdges(Painter, Frame.adjusted(0, 0, -1, -1), Dark, Dark);
  DrawFrameEdges(Painter, Frame.adjusted(1, 1, 0, 0), Light, Light);
  const QRect Caption(6, 0, Metrics.horizontalAdvance(title()) + 6, Metrics.height());
  Painter.fillRect(Caption, palette().color(QPalette::Window));
  Painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  Painter.drawText(Caption, Qt::AlignCenter, title());
}
