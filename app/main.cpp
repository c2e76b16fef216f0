#include "app/TFormMain.h"

#include <QApplication>

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Qt ends the process with an abort when it cannot reach the display; say so plainly instead.
bool DisplayReachable()
{
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (Platform != nullptr && std::strncmp(Platform, "xcb", 3) != 0)
    return true;
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") != nullptr)
    return true;
  Display* X = XOpenDisplay(nullptr);
  if (X == nullptr)
    return false;
  XCloseDisplay(X);
  return true;
}
} // namespace

int main(int argc, char** argv)
{
  if (!DisplayReachable()) {
    std::fprintf(stderr, "yamaruka: cannot open the display (is DISPLAY set?)\n");
    return 1;
  }
  QApplication App(argc, argv);
  QApplication::setApplicationName(QStringLiteral("yamaruka"));
  // No display name: Qt would append it to every title bar.
  TFormMain FormMain;
  FormMain.ShowCentred();
  return QApplication::exec();
}
