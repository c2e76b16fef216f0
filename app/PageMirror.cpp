#include "app/PageMirror.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWidget>

namespace {
QString PageRole(QAccessibleInterface& Object)
{
  switch (Object.role()) {
  case QAccessible::PushButton:
    return QStringLiteral("button");
  case QAccessible::RadioButton:
    return QStringLiteral("radio");
  case QAccessible::Grouping:
    for (int I = 0; I < Object.childCount(); ++I)
      if (Object.child(I)->role() == QAccessible::RadioButton)
        return QStringLiteral("radiogroup");
    return QStringLiteral("group");
  case QAccessible::EditableText: // read-only here: the counters, and the explanation as text
    return Object.state().multiLine ? QStringLiteral("note") : QStringLiteral("textbox");
  case QAccessible::Chart:
  case QAccessible::Graphic:
    return QStringLiteral("img");
  case QAccessible::AlertMessage:
  case QAccessible::Dialog:
    return QStringLiteral("alertdialog");
  case QAccessible::Window:
    return QStringLiteral("region");
  case QAccessible::Pane:
    return QStringLiteral("group");
  case QAccessible::PopupMenu: // a context menu
    return QStringLiteral("menu");
  case QAccessible::MenuItem:
    return QStringLiteral("menuitem");
  default:
    return {}; // plain text, or a box of no meaning of its own
  }
}

void Mirror(QAccessibleInterface& Object, QAccessible::Id Parent, bool Modal,
            std::vector<TMirrorNode>& Nodes)
{
  const QAccessible::State State = Object.state();
  // The announcer speaks through the page's own live region, there before any answer.
  if (State.invisible || Object.role() == QAccessible::Notification)
    return;
  TMirrorNode Node;
  Node.Id = QAccessible::uniqueId(&Object);
  Node.Parent = Parent;
  Node.Role = PageRole(Object);
  Node.Name = Object.text(QAccessible::Name).section(QLatin1Char('\t'), 0, 0); // not an item's keys
  Node.Description = Object.text(QAccessible::Description);
  Node.Value = Object.text(QAccessible::Value);
  Node.Rect = Object.rect();
  Node.Disabled = State.disabled;
  Node.Checked = State.checked;
  Node.Focused = State.focused;
  Node.Modal = Modal;
  Nodes.push_back(Node);
  for (int I = 0; I < Object.childCount(); ++I)
    if (QAccessibleInterface* Child = Object.child(I))
      Mirror(*Child, Node.Id, false, Nodes);
}

// The control an object is, or, for a menu's item, the menu it is in.
QWidget* ControlOf(QAccessible::Id Id)
{
  QAccessibleInterface* Object = QAccessible::accessibleInterface(Id);
  if (Object == nullptr)
    return nullptr;
  if (Object->role() == QAccessible::MenuItem && Object->parent() != nullptr)
    Object = Object->parent();
  return qobject_cast<QWidget*>(Object->object());
}

// Runs Act on the object Id's control from Qt's loop, if the page may act on it then.
template <typename TAct> void Later(QAccessible::Id Id, TAct&& Act)
{
  QTimer::singleShot(0, qApp, [Id, Act = std::forward<TAct>(Act)] {
    if (MayAct(Id))
      Act(*QAccessible::accessibleInterface(Id), *ControlOf(Id));
  });
}
} // namespace

std::vector<TMirrorNode> MirrorTree()
{
  std::vector<TMirrorNode> Nodes;
  const QWidget* Modal = QApplication::activeModalWidget();
  for (QWidget* Window : QApplication::topLevelWidgets())
    if (Window->isVisible() && Window->isWindow() && Window->windowType() != Qt::ToolTip)
      if (QAccessibleInterface* Object = QAccessible::queryAccessibleInterface(Window))
        Mirror(*Object, 0, Window == Modal, Nodes);
  return Nodes;
}

QByteArray MirrorJson(const std::vector<TMirrorNode>& Nodes)
{
  QJsonArray Array;
  for (const TMirrorNode& Node : Nodes)
    Array.append(QJsonObject{{QStringLiteral("id"), static_cast<qint64>(Node.Id)},
                             {QStringLiteral("parent"), static_cast<qint64>(Node.Parent)},
                             {QStringLiteral("role"), Node.Role},
                             {QStringLiteral("name"), Node.Name},
                             {QStringLiteral("description"), Node.Description},
                             {QStringLiteral("value"), Node.Value},
                             {QStringLiteral("x"), Node.Rect.x()},
                             {QStringLiteral("y"), Node.Rect.y()},
                             {QStringLiteral("width"), Node.Rect.width()},
                             {QStringLiteral("height"), Node.Rect.height()},
                             {QStringLiteral("disabled"), Node.Disabled},
                             {QStringLiteral("checked"), Node.Checked},
                             {QStringLiteral("focused"), Node.Focused},
                             {QStringLiteral("modal"), Node.Modal}});
  return QJsonDocument(Array).toJson(QJsonDocument::Compact);
}

bool MayAct(QAccessible::Id Id)
{
  const QWidget* Control = ControlOf(Id);
  if (Control == nullptr || !Control->isVisible() || !Control->isEnabled() ||
      QAccessible::accessibleInterface(Id)->state().disabled)
    return false;
  const QWidget* Modal = QApplication::activeModalWidget();
  return Modal == nullptr || Modal == Control || Modal->isAncestorOf(Control);
}

void PressFromPage(QAccessible::Id Id)
{
  Later(Id, [](QAccessibleInterface& Object, QWidget& /*Control*/) {
    if (QAccessibleActionInterface* Actions = Object.actionInterface())
      Actions->doAction(QAccessibleActionInterface::pressAction());
  });
}

void FocusFromPage(QAccessible::Id Id)
{
  Later(Id, [](QAccessibleInterface& /*Object*/, QWidget& Control) {
    if (Control.focusPolicy() != Qt::NoFocus)
      Control.setFocus(Qt::OtherFocusReason);
  });
}
