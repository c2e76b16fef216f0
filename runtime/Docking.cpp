#include "runtime/Docking.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* AlignProperty = "yamarukaAlign";
}

void SetAlign(QWidget& Control, TAlign Align)
{
  Control.setProperty(AlignProperty, static_cast<int>(Align));
  QWidget* Parent = Control.parentWidget();
  if (Parent == nullptr)
    return;
  if (Align == TAlign::alClient)
    Control.setGeometry(Parent->contentsRect());
  QEvent Request(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(Parent, &Request);
}

TAlign GetAlign(const QWidget& Control)
{
  const QVariant Value = Control.property(AlignProperty);
  return Value.isValid() ? static_cast<TAlign>(Value.toInt()) : TAlign::alNone;
}
