#include "support/TestScreens.h"

#include <QGuiApplication>
#include <QScreen>

#include <array>

namespace {
constexpr char Screens[] = R"({"screens": [
  {"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1080},
  {"name": "projector", "x": 1920, "y": 0, "width": 1024, "height": 768},
  {"name": "laptop150", "x": 2944, "y": 0, "width": 1280, "height": 672},
  {"name": "laptop125", "x": 4224, "y": 0, "width": 1093, "height": 566},
  {"name": "tiny", "x": 5317, "y": 0, "width": 576, "height": 380}]})";
} // namespace

void UseTestScreens(QTemporaryFile& Config)
{
  // In the working folder, named without a drive: a platform's arguments end at a colon.
  Config.setFileTemplate(QStringLiteral("yamaruka-screens-XXXXXX.json"));
  if (qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")) !=
          QLatin1String("offscreen") ||
      !Config.open())
    return;
  Config.write(Screens);
  Config.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + Config.fileName().toLocal8Bit());
}

QScreen* TestScreen(TTestScreen Which)
{
  static const std::array<QString, 5> Names{QStringLiteral("desktop"), QStringLiteral("projector"),
                                            QStringLiteral("laptop150"),
                                            QStringLiteral("laptop125"), QStringLiteral("tiny")};
  const QString& Name = Names[static_cast<std::size_t>(Which)];
  for (QScreen* Screen : QGuiApplication::screens())
    if (Screen->name() == Name)
      return Screen;
  return QGuiApplication::primaryScreen();
}
