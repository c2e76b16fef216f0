#pragma once

#include "MyImageU/TMyImage.h"
#include "app/TFormMain.h"
#include "puzzle/PuzzleSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <memory>
#include <vector>

// Reads and closes every message box the moment it becomes the active modal widget.
class TBoxCloser {
public:
  struct TBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon;
  };
  std::vector<TBox> Boxes;

  TBoxCloser()
  {
    Timer.setInterval(0);
    QObject::connect(&Timer, &QTimer::timeout, [this] {
      auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (Box == nullptr || !Box->isVisible())
        return;
      Boxes.push_back({Box->windowTitle(), Box->text(), Box->icon()});
      Box->button(QMessageBox::Ok)->click();
    });
    Timer.start();
  }
  [[nodiscard]] QString LastText() const { return Boxes.empty() ? QString() : Boxes.back().Text; }

private:
  QTimer Timer;
};

// The real window, shown, after its start-up tick, with every random draw under the test's
// control.
struct TShownForm {
  TScriptedRandom Random;
  std::unique_ptr<TFormMain> Form;
  TBoxCloser Closer;

  TShownForm()
  {
    Form = std::make_unique<TFormMain>(&Random);
    Form->ShowCentred();
    Ready = QTest::qWaitFor([this] { return !Form->TimerCreate->isActive(); });
  }
  bool Ready = false;

  void Click(QWidget* Widget) { QTest::mouseClick(Widget, Qt::LeftButton); }
  void ClickBar(int Pos) { Click(Form->BarButtons[static_cast<std::size_t>(Pos)]); }
  [[nodiscard]] TColor Pixel(int X, int Y) const { return Form->MyImage->Canvas().GetPixel(X, Y); }
  // The top row of the drawing in surface column X, or the surface height when it is empty.
  [[nodiscard]] int Top(int X) const
  {
    const TRaster& C = Form->MyImage->Canvas();
    for (int Y = 0; Y < C.Height(); ++Y)
      if (C.GetPixel(X, Y) != clWhite)
        return Y;
    return C.Height();
  }
};
