// The page's side of the mirror (PageMirror.h): Qt 6.4 gives a page no accessibility tree of its
// own, but tells an accessibility bridge linked into the program of every change. The bridge
// sends the tree to the page's script (web/mirror.js), which keeps one element for each object;
// the script calls back when a screen reader presses an element or moves to it.
// Linked into the program, the bridge is found as Qt finds its own plugins in a static build.
#define QT_STATICPLUGIN

#include "app/Accessibility.h"
#include "app/PageMirror.h"

#include <QAccessibleBridge>
#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

class TPageBridge : public QObject, public QAccessibleBridge {
public:
  TPageBridge() { qApp->installEventFilter(this); }

  void setRootObject(QAccessibleInterface* /*Root*/) override {}

  void notifyAccessibilityUpdate(QAccessibleEvent* Event) override
  {
    // An answer is spoken once, as it is given, even where it is the same words as the last.
    if (const QString Spoken = SpokenText(*Event); !Spoken.isEmpty())
      Tell("announce", Spoken.toUtf8());
    SendSoon();
  }

protected:
  // Qt tells no move of a control (a new scale, a page resized, a window centred again); it
  // does tell a control shown or hidden.
  bool eventFilter(QObject* Watched, QEvent* Event) override
  {
    if ((Event->type() == QEvent::Move || Event->type() == QEvent::Resize) &&
        Watched->isWidgetType())
      SendSoon();
    return false;
  }

private:
  // The page's script, as the loader hands it to the program (web/mirror.js).
  static void Tell(const char* What, const QByteArray& Text)
  {
    const emscripten::val Mirror = emscripten::val::module_property("mirror");
    if (!Mirror.isUndefined())
      Mirror.call<void>(What, Text.toStdString());
  }

  // Once a turn of Qt's loop, however many changes came in it.
  void SendSoon()
  {
    if (Pending)
      return;
    Pending = true;
    QTimer::singleShot(0, this, [this] {
      Pending = false;
      Tell("sync", MirrorJson(MirrorTree()));
    });
  }

  bool Pending = false;
};

class TPageBridgePlugin : public QAccessibleBridgePlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "PageMirror.json")
public:
  QAccessibleBridge* create(const QString& /*Key*/) override { return new TPageBridge; }
};

EMSCRIPTEN_BINDINGS(yamaruka_mirror)
{
  emscripten::function("mirrorPress", &PressFromPage);
  emscripten::function("mirrorFocus", &FocusFromPage);
}

#include "PageMirrorWeb.moc"
