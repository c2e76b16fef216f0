#include "app/Accessibility.h"

#include "MyImageU/TMyImage2.h"
#include "app/TFormMain.h"
#include "controls/TPanel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {
QAccessibleInterface* OwnRoles(const QString& /*ClassName*/, QObject* Object)
{
  auto* Widget = qobject_cast<QWidget*>(Object);
  if (Widget == nullptr)
    return nullptr;
  if (dynamic_cast<TPanel*>(Widget) != nullptr)
    return new QAccessibleWidget(Widget, QAccessible::Pane);
  if (dynamic_cast<TFormMain*>(Widget) != nullptr)
    return new QAccessibleWidget(Widget, QAccessible::Window);
  if (dynamic_cast<TMyImage2*>(Widget) != nullptr)
    return new QAccessibleWidget(Widget, QAccessible::Chart);
  if (dynamic_cast<TAnnouncer*>(Widget) != nullptr)
    return new QAccessibleWidget(Widget, QAccessible::Notification);
  return nullptr;
}
} // namespace

void InstallAccessibleRoles()
{
  QAccessible::installFactory(OwnRoles); // Qt keeps one copy of a factory however often
}

TAnnouncer::TAnnouncer(QWidget* Parent) : QWidget(Parent)
{
  setGeometry(0, 0, 1, 1);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  lower();
}

void TAnnouncer::Announce(const QString& Text)
{
  setAccessibleName(Text);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent Event(this, Text);
  QAccessible::updateAccessibility(&Event);
#else
  QAccessibleEvent Shown(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&Shown);
#endif
}

QString SpokenText(QAccessibleEvent& Event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  if (Event.type() == QAccessible::Announcement)
    return static_cast<QAccessibleAnnouncementEvent&>(Event).message();
#else
  if (Event.type() == QAccessible::ObjectShow)
    if (QAccessibleInterface* Object = Event.accessibleInterface())
      if (Object->role() == QAccessible::Notification)
        return Object->text(QAccessible::Name);
#endif
  return {};
}
