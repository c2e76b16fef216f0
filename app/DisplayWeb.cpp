#include "app/Display.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtPlugin>

#include <algorithm>

#include <emscripten.h>

// The bridge that mirrors the program's accessibility tree into the page (PageMirrorWeb.cpp).
Q_IMPORT_PLUGIN(TPageBridgePlugin)

namespace {
// The page's platform makes no context menu of a key: the menu key and Shift+F10 open the
// focused control's, as a desktop's keys do.
class TMenuKeys : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override
  {
    if (Event->type() != QEvent::KeyPress || Watched != QApplication::focusWidget())
      return false;
    const auto* Key = static_cast<QKeyEvent*>(Event);
    if (Key->key() != Qt::Key_Menu &&
        (Key->key() != Qt::Key_F10 || Key->modifiers() != Qt::ShiftModifier))
      return false;
    auto* Focus = static_cast<QWidget*>(Watched);
    const QPoint At = Focus->rect().center();
    QContextMenuEvent Menu(QContextMenuEvent::Keyboard, At, Focus->mapToGlobal(At));
    QApplication::sendEvent(Focus, &Menu);
    return true;
  }
};

// Qt's page platform leaves no window active once a box has closed, and the keys would then
// reach nothing: the window the pupil plays in takes them again, its focus where it was (or
// where the program put it meanwhile), as a desktop gives it back.
class TActivator : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override
  {
    if (Event->type() == QEvent::Hide && Watched->isWidgetType() &&
        static_cast<QWidget*>(Watched)->isWindow())
      QTimer::singleShot(0, this, [] {
        if (QApplication::activeWindow() != nullptr)
          return;
        const QWidgetList Windows = QApplication::topLevelWidgets();
        const auto Shown = std::find_if(Windows.begin(), Windows.end(), [](const QWidget* Window) {
          return Window->isVisible() && Window->windowType() == Qt::Window;
        });
        if (Shown == Windows.end())
          return;
        const QPointer<QWidget> Focus = (*Shown)->focusWidget();
        (*Shown)->activateWindow();
        if (Focus != nullptr && Focus->isEnabled() && Focus->isVisible())
          Focus->setFocus(Qt::ActiveWindowFocusReason);
      });
    return false;
  }
};
} // namespace

// The page is the display and is always there.
void PrepareDisplay() {}

void DisplayReady()
{
  // The page carries its Japanese faces: registered, they are simply the system's faces.
  const QDir Faces(QStringLiteral(":/faces"));
  for (const QString& Name : Faces.entryList(QDir::Files))
    QFontDatabase::addApplicationFont(Faces.filePath(Name));
  // The message boxes' face, Qt's page default (Bitstream Vera Sans) under the name the page's
  // cut-down copy carries.
  QApplication::setFont(QFont(QStringLiteral("Yamaruka Sans")));
  qApp->installEventFilter(new TActivator(qApp));
  qApp->installEventFilter(new TMenuKeys(qApp));
  // A page cannot take the program's stack down as a process ends: the browser's runtime stops
  // at the first object it meets after the loop. So the closed window ends the program as the
  // pupil sees it, and the page says so and offers to start again.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [] {
    EM_ASM({
      if (Module.programEnded)
        Module.programEnded();
    });
  });
}

bool WindowsHaveFrames()
{
  return false;
}
