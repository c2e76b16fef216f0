#include "support/TBoxCloser.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

TBoxCloser::TBoxCloser()
{
  Timer.setInterval(0);
  QObject::connect(&Timer, &QTimer::timeout, [this] {
    auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (Box == nullptr || !Box->isVisible()) {
      Handed = nullptr;
      return;
    }
    if (Box == Handed)
      return;
    Boxes.push_back({Box->windowTitle(), Box->text(), Box->icon()});
    if (Instead) {
      Handed = Box;
      Instead(*Box);
      return;
    }
    Box->button(QMessageBox::Ok)->click();
  });
  Timer.start();
}

void TBoxCloser::Settle()
{
  if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }))
    ADD_FAILURE() << "a box stayed open";
}
