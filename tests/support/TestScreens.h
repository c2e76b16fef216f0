#pragma once

#include <QTemporaryFile>

class QScreen;

// The screens of the window tests, on Qt's offscreen platform: a usual desktop first, the
// primary screen (1920 x 1080), then the small screens of classrooms side by side, each less
// its task bar: a 1024 x 768 projector, a 1920 x 1080 laptop at 150 % (1280 x 672) and a
// 1366 x 768 one at 125 % (1093 x 566); one so small that the window is built at half size;
// and for every scale from 15 to 29 a screen just large enough for the window at that scale.
// Make it before the application object and call Read() after: the platform reads its screens
// once, and the file is gone from then on. Another platform asked for in QT_QPA_PLATFORM is
// left alone.
class TTestScreens {
public:
  TTestScreens();
  void Read() { Config.remove(); }

private:
  QTemporaryFile Config;
};

enum class TTestScreen { Desktop, Projector, Laptop150, Laptop125, Tiny };
[[nodiscard]] QScreen* TestScreen(TTestScreen Which);
// The screen on which the window, with the frame it has before it is shown, just fits at K
// pixels to the unit; the desktop for 30.
[[nodiscard]] QScreen* ScreenJustFor(int K);
