#pragma once

#include "MyImageU/TMyImage.h"
#include "app/TFormMain.h"
#include "support/TBoxCloser.h"
#include "support/TScriptedRandom.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>

#include <memory>
#include <optional>
#include <vector>

// The real window, shown, after its start-up tick, with every random draw under the test's
// control.
struct TShownForm {
  TScriptedRandom Random;
  std::unique_ptr<TFormMain> Form;
  TBoxCloser Closer;

  // Seed: every draw from the program's generator with this seed; none: the test scripts them.
  // On: the screen it opens on; none: the primary screen.
  explicit TShownForm(std::optional<std::uint32_t> Seed = std::nullopt, QScreen* On = nullptr);
  bool Ready = false;

  void Click(QWidget* Widget)
  {
    QTest::mouseClick(Widget, Qt::LeftButton);
    TBoxCloser::Settle();
  }
  void Key(QWidget* Widget, Qt::Key Key)
  {
    QTest::keyClick(Widget, Key);
    TBoxCloser::Settle();
  }
  void ClickBar(int Pos) { Click(Form->BarButtons[static_cast<std::size_t>(Pos)]); }
  [[nodiscard]] std::vector<TColor> Pixels() const; // the whole raster, row by row
  [[nodiscard]] TColor Pixel(int X, int Y) const { return Form->MyImage->Canvas().GetPixel(X, Y); }
  // The top row of the drawing in surface column X, or the surface height when it is empty.
  [[nodiscard]] int Top(int X) const;
};
