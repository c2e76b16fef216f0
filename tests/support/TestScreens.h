#pragma once

#include <QTemporaryFile>

// The screens of the window tests, on Qt's offscreen platform: a usual desktop first, the
// primary screen (1920 x 1080), then the small screens of classrooms side by side, each less
// its task bar: a 1024 x 768 projector, a 1920 x 1080 laptop at 150 % (1280 x 672) and a
// 1366 x 768 one at 125 % (1093 x 566); last one so small that the window is built at half
// size. Call before the application object; Config holds them while it lives. Another
// platform asked for in QT_QPA_PLATFORM is left alone.
void UseTestScreens(QTemporaryFile& Config);

enum class TTestScreen { Desktop, Projector, Laptop150, Laptop125, Tiny };
class QScreen;
[[nodiscard]] QScreen* TestScreen(TTestScreen Which);
