#include "controls/Docking.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

#include <QRect>

#include <algorithm>
#include <vector>

namespace {
constexpr const char* AlignProperty = "yamarukaAlign";
constexpr const char* AnchorsProperty = "yamarukaAnchors";
constexpr const char* RightGapProperty = "yamarukaRightGap";
constexpr const char* BottomGapProperty = "yamarukaBottomGap";
} // namespace

void SetAlign(QWidget& Control, TAlign Align)
{
  Control.setProperty(AlignProperty, static_cast<int>(Align));
  QWidget* Parent = Control.parentWidget();
  if (Parent == nullptr)
    return;
  if (Align == TAlign::alClient)
    Control.setGeometry(Parent->contentsRect());
  QEvent Request(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(Parent, &Request);
}

TAlign GetAlign(const QWidget& Control)
{
  const QVariant Value = Control.property(AlignProperty);
  return Value.isValid() ? static_cast<TAlign>(Value.toInt()) : TAlign::alNone;
}

void SetAnchors(QWidget& Control, int Anchors)
{
  Control.setProperty(AnchorsProperty, Anchors);
  if (const QWidget* Parent = Control.parentWidget()) {
    Control.setProperty(RightGapProperty, Parent->width() - Control.geometry().right() - 1);
    Control.setProperty(BottomGapProperty, Parent->height() - Control.geometry().bottom() - 1);
  }
}

void AlignChildren(QWidget& Parent, const QRect& Inner)
{
  std::vector<QWidget*> Docked[6];
  std::vector<QWidget*> Anchored;
  for (QObject* Child : Parent.children()) {
    auto* Control = qobject_cast<QWidget*>(Child);
    if (Control == nullptr || Control->isWindow())
      continue;
    const TAlign Align = GetAlign(*Control);
    if (Align == TAlign::alNone)
      Anchored.push_back(Control);
    else if (!(Control->isHidden() && Control->testAttribute(Qt::WA_WState_ExplicitShowHide)))
      Docked[static_cast<int>(Align)].push_back(Control);
  }
  const auto ByTop = [](QWidget* A, QWidget* B) { return A->y() < B->y(); };
  const auto ByLeft = [](QWidget* A, QWidget* B) { return A->x() < B->x(); };
  auto& Tops = Docked[static_cast<int>(TAlign::alTop)];
  auto& Bottoms = Docked[static_cast<int>(TAlign::alBottom)];
  auto& Lefts = Docked[static_cast<int>(TAlign::alLeft)];
  auto& Rights = Docked[static_cast<int>(TAlign::alRight)];
  std::stable_sort(Tops.begin(), Tops.end(), ByTop);
  std::stable_sort(Bottoms.begin(), Bottoms.end(),
                   [&](QWidget* A, QWidget* B) { return ByTop(B, A); });
  std::stable_sort(Lefts.begin(), Lefts.end(), ByLeft);
  std::stable_sort(Rights.begin(), Rights.end(),
                   [&](QWidget* A, QWidget* B) { return ByLeft(B, A); });

  QRect Free = Inner;
  for (QWidget* C : Tops) {
    C->setGeometry(Free.left(), Free.top(), Free.width(), C->height());
    Free.setTop(Free.top() + C->height());
  }
  for (QWidget* C : Bottoms) {
    C->setGeometry(Free.left(), Free.bottom() + 1 - C->height(), Free.width(), C->height());
    Free.setBottom(Free.bottom() - C->height());
  }
  for (QWidget* C : Lefts) {
    C->setGeometry(Free.left(), Free.top(), C->width(), Free.height());
    Free.setLeft(Free.left() + C->width());
  }
  for (QWidget* C : Rights) {
    C->setGeometry(Free.right() + 1 - C->width(), Free.top(), C->width(), Free.height());
    Free.setRight(Free.right() - C->width());
  }
  for (QWidget* C : Docked[static_cast<int>(TAlign::alClient)])
    C->setGeometry(Free.left(), Free.top(), std::max(Free.width(), 0), std::max(Free.height(), 0));

  for (QWidget* C : Anchored) {
    const QVariant Value = C->property(AnchorsProperty);
    if (!Value.isValid())
      continue;
    const int Anchors = Value.toInt();
    const int RightGap = C->property(RightGapProperty).toInt();
    const int BottomGap = C->property(BottomGapProperty).toInt();
    QRect R = C->geometry();
    if ((Anchors & akRight) != 0) {
      if ((Anchors & akLeft) != 0)
        R.setWidth(std::max(Parent.width() - RightGap - R.left(), 0));
      else
        R.moveLeft(Parent.width() - RightGap - R.width());
    }
    if ((Anchors & akBottom) != 0) {
      if ((Anchors & akTop) != 0)
        R.setHeight(std::max(Parent.height() - BottomGap - R.top(), 0));
      else
        R.moveTop(Parent.height() - BottomGap - R.height());
    }
    C->setGeometry(R);
  }
}
