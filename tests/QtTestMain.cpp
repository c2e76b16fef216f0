#include "app/Translation.h"
#include "support/TestScreens.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {
QtMessageHandler Previous = nullptr;

// The offscreen platform says these for every message box and menu it shows; they are no
// finding.
void DropOffscreenNoise(QtMsgType Type, const QMessageLogContext& Context, const QString& Text)
{
  if (Text == QLatin1String("This plugin does not support propagateSizeHints()") ||
      Text == QLatin1String("This plugin does not support grabbing the keyboard"))
    return;
  if (Previous != nullptr)
    Previous(Type, Context, Text);
}
} // namespace

// Widgets need an application object; the offscreen platform needs no display.
int main(int argc, char** argv)
{
  TTestScreens Screens;
  ::testing::InitGoogleTest(&argc, argv);
  Previous = qInstallMessageHandler(DropOffscreenNoise);
  QApplication App(argc, argv);
  InstallQtTranslation();
  Screens.Read();
  return RUN_ALL_TESTS();
}
