#include "app/Display.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QtPlugin>

#include <emscripten.h>

// The bridge that mirrors the program's accessibility tree into the page (PageMirrorWeb.cpp).
Q_IMPORT_PLUGIN(TPageBridgePlugin)

// The page is the display and is always there.
void PrepareDisplay() {}

void DisplayReady()
{
  // The page carries its Japanese faces: registered, they are simply the system's faces.
  const QDir Faces(QStringLiteral(":/faces"));
  for (const QString& Name : Faces.entryList(QDir::Files))
    QFontDatabase::addApplicationFont(Faces.filePath(Name));
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
