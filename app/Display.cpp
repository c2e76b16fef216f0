#include "app/Display.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {
QtMessageHandler Previous = nullptr;

struct THeld {
  QtMsgType Type;
  QByteArray Category;
  QString Text;
};
std::vector<THeld> Held;

// While the platform is being reached, its complaints about a display that is not there are
// held back: they end in the one line below, or, where a later choice works, are let through.
void WhileReaching(QtMsgType Type, const QMessageLogContext& Context, const QString& Text)
{
  if (Type == QtFatalMsg) {
    std::fprintf(stderr,
                 "yamaruka: cannot open the display (is DISPLAY or WAYLAND_DISPLAY set?)\n");
    std::_Exit(1);
  }
  Held.push_back({Type, QByteArray(Context.category != nullptr ? Context.category : ""), Text});
}
} // namespace

void PrepareDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  // Qt's default is X even inside a Wayland session, where DISPLAY may point at nothing.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "wayland;xcb");
#endif
  Previous = qInstallMessageHandler(WhileReaching);
}

void DisplayReady()
{
  qInstallMessageHandler(Previous);
  for (const THeld& Message : std::exchange(Held, {})) {
    const QMessageLogContext Context(nullptr, 0, nullptr, Message.Category.constData());
    qt_message_output(Message.Type, Context, Message.Text);
  }
}

bool WindowsHaveFrames()
{
  return true;
}
