#include "support/TestScreens.h"

#include "controls/LayoutScale.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <array>

namespace {
const std::array<QString, 5> Names{QStringLiteral("desktop"), QStringLiteral("projector"),
                                   QStringLiteral("laptop150"), QStringLiteral("laptop125"),
                                   QStringLiteral("tiny")};
constexpr std::array<QSize, 5> Sizes{QSize(1920, 1080), QSize(1024, 768), QSize(1280, 672),
                                     QSize(1093, 566), QSize(576, 380)};

QString ScaleName(int K)
{
  return QStringLiteral("k%1").arg(K);
}

QByteArray ScreensJson()
{
  QStringList Screens;
  int X = 0;
  const auto Add = [&Screens, &X](const QString& Name, QSize Size) {
    Screens << QStringLiteral(R"({"name": "%1", "x": %2, "y": 0, "width": %3, "height": %4})")
                   .arg(Name)
                   .arg(X)
                   .arg(Size.width())
                   .arg(Size.height());
    X += Size.width();
  };
  for (std::size_t I = 0; I < Names.size(); ++I)
    Add(Names[I], Sizes[I]);
  // The client at K with the frame the window is placed with before it is shown.
  for (int K = TLayoutScale::Smallest; K < TLayoutScale::Design; ++K)
    Add(ScaleName(K), TLayoutScale(K)(QSize(1120, 641)).grownBy(QMargins(8, 30, 8, 8)));
  return QStringLiteral(R"({"screens": [%1]})").arg(Screens.join(QStringLiteral(", "))).toUtf8();
}

QScreen* Named(const QString& Name)
{
  for (QScreen* Screen : QGuiApplication::screens())
    if (Screen->name() == Name)
      return Screen;
  return QGuiApplication::primaryScreen();
}
} // namespace

TTestScreens::TTestScreens()
{
  Config.setFileTemplate(QStringLiteral("yamaruka-screens-XXXXXX.json"));
  if (qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")) !=
          QLatin1String("offscreen") ||
      !Config.open())
    return;
  Config.write(ScreensJson());
  Config.close();
  // Named from the working folder: a platform's arguments end at a colon, and on Windows a
  // full name starts with its drive.
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" +
                                 QDir::current().relativeFilePath(Config.fileName()).toLocal8Bit());
}

QScreen* TestScreen(TTestScreen Which)
{
  return Named(Names[static_cast<std::size_t>(Which)]);
}

QScreen* ScreenJustFor(int K)
{
  return K == TLayoutScale::Design ? TestScreen(TTestScreen::Desktop) : Named(ScaleName(K));
}
