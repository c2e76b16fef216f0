#include "controls/TRadioGroup.h"

#include "controls/TPanel.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QPainter>
#include <QRadioButton>

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

void TRadioGroup::resizeEvent(QResizeEvent* Event)
{
  QGroupBox::resizeEvent(Event);
  // The items share the height below the caption evenly, as one column.
  const int Top = QFontMetrics(font()).height();
  const int Count = static_cast<int>(Buttons.size());
  if (Count == 0)
    return;
  const int Step = (height() - Top - 4) / Count;
  for (int I = 0; I < Count; ++I)
    Buttons[static_cast<std::size_t>(I)]->setGeometry(8, Top + I * Step, width() - 16, Step);
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
