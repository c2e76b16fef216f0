#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <functional>

#include <vector>

// Reads and closes every message box the moment it becomes the active modal widget; or, while
// Instead is set, reads it and hands it to Instead, which closes it itself.
class TBoxCloser {
public:
  struct TBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon;
  };
  std::vector<TBox> Boxes;
  std::function<void(QMessageBox&)> Instead;

  TBoxCloser();
  // Boxes do not wait for their OK: a press that may open one waits here until it is closed
  // and what came after it has happened.
  static void Settle();
  [[nodiscard]] QString LastText() const { return Boxes.empty() ? QString() : Boxes.back().Text; }

private:
  QTimer Timer;
  const QMessageBox* Handed = nullptr;
};
