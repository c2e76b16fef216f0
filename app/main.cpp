#include "app/Display.h"
#include "app/TFormMain.h"
#include "app/Translation.h"

#include <QApplication>

int main(int argc, char** argv)
{
  PrepareDisplay();
  QApplication App(argc, argv);
  DisplayReady();
  InstallQtTranslation();
  // No display name: Qt would add it to every title bar.
  QApplication::setApplicationName(QStringLiteral("yamaruka"));
  // The menu entry's name: desktops and Wayland match the window to its entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.yamaruka.Yamaruka"));
  TFormMain FormMain;
  FormMain.ShowCentred();
  return QApplication::exec();
}
