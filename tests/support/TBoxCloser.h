#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>

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

  TBoxCloser();
  [[nodiscard]] QString LastText() const { return Boxes.empty() ? QString() : Boxes.back().Text; }

private:
  QTimer Timer;
};
