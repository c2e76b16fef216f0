// The floor the page's start is measured against (tools/web-bench.js): the least a page
// of this Qt shows, one label in the window's face, set up and loaded as the program is. On
// aqua, as the example's bars are, for the test to see it.
#include "app/Display.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>

int main(int argc, char** argv)
{
  PrepareDisplay();
  QApplication App(argc, argv);
  DisplayReady();
  QLabel Label(QStringLiteral("ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）"));
  QFont Face(QStringLiteral("Yamaruka PGothic"));
  Face.setPixelSize(16);
  Label.setFont(Face);
  Label.setAutoFillBackground(true);
  QPalette Aqua = Label.palette();
  Aqua.setColor(QPalette::Window, Qt::cyan);
  Label.setPalette(Aqua);
  Label.show();
  return QApplication::exec();
}
