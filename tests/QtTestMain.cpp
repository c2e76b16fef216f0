#include "support/TestScreens.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {
QtMessageHandler Previous = nullptr;

// The offscreen platform says this for every message box it shows; it is no finding.
void DropOffscreenNoise(QtMsgType Type, const QMessageLogContext& Context, const QString& Text)
{
  if (Text == QLatin1String("This plugin does not support propagateSizeHints()"))
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
  Screens.Read();
  return RUN_ALL_TESTS();
}
