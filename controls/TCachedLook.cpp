#include "controls/TCachedLook.h"

#include <QPen>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

std::optional<TLook> TCachedButton::Look() const
{
  if (!icon().isNull())
    return std::nullopt;
  QStyleOptionButton Option;
  initStyleOption(&Option);
  TLook Now = Inherited(static_cast<int>(Option.state));
  Now.Settings[0] = static_cast<int>(Option.features);
  Now.Text = Option.text;
  return Now;
}

void TCachedButton::DrawCopy(QPainter& Painter) const
{
  // As the window paints it: the background it fills, the painter set up as for the control
  // itself, then what a push button's own paint asks of the style.
  Painter.fillRect(rect(), palette().brush(backgroundRole()));
  Painter.setLayoutDirection(layoutDirection());
  Painter.setPen(QPen(palette().brush(foregroundRole()), 1));
  Painter.setBackground(palette().brush(backgroundRole()));
  Painter.setFont(font());
  QStyleOptionButton Option;
  initStyleOption(&Option);
  style()->drawControl(QStyle::CE_PushButton, &Option, &Painter, this);
}

TCachedEdit::TCachedEdit(QWidget* Parent) : TCachedLook(Parent)
{
  connect(this, &QLineEdit::textChanged, this, [this] { CopyLook(); });
}

std::optional<TLook> TCachedEdit::Look() const
{
  if (hasFocus() || hasSelectedText() || !isReadOnly())
    return std::nullopt;
  QStyleOptionFrame Option;
  initStyleOption(&Option);
  TLook Now = Inherited(static_cast<int>(Option.state));
  const QMargins Margins = textMargins();
  Now.Settings = {static_cast<int>(alignment()) | (hasFrame() ? 1 << 16 : 0),
                  Margins.left(),
                  Margins.top(),
                  Margins.right(),
                  Margins.bottom(),
                  cursorPosition()};
  Now.Text = displayText();
  return Now;
}
