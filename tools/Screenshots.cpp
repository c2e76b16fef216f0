// The README's pictures, drawn by the real window on Qt's offscreen platform with a fixed seed:
// the window as it starts, and a puzzle 1 halfway, after three halving probes.
// Made again by tools/screenshots.sh.
#include "support/Strategy.h"
#include "support/TShownForm.h"
#include "support/TestScreens.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TTestScreens Screens; // the window at its design size
  const QApplication App(argc, argv);
  Screens.Read();
  const QString Folder = QString::fromLocal8Bit(argv[1]);
  TShownForm S(20261209);
  if (!S.Ready || !S.Form->grab().save(Folder + QStringLiteral("/start.png")))
    return 1;
  S.Click(S.Form->ButtonBegin);
  for (int Probe = 0; Probe < 3; ++Probe)
    S.ClickBar(NextProbe(S.Form->Puzzle().State()));
  return S.Form->grab().save(Folder + QStringLiteral("/puzzle.png")) ? 0 : 1;
}
