#include "controls/TDockLayout.h"

#include <QWidget>

#include <algorithm>
#include <array>

TDockLayout::TDockLayout(QWidget* Parent) : QLayout(Parent)
{
  setContentsMargins(0, 0, 0, 0);
  setSpacing(0);
  // The controls keep the sizes the layout gives them; the window its own.
  setSizeConstraint(QLayout::SetNoConstraint);
}

TDockLayout::~TDockLayout() = default;

TDockLayout& TDockLayout::Of(QWidget& Parent)
{
  if (auto* Own = dynamic_cast<TDockLayout*>(Parent.layout()))
    return *Own;
  return *new TDockLayout(&Parent); // the parent owns it
}

void TDockLayout::Add(QWidget& Control, TAlign Align, TAnchors Anchors)
{
  // A control placed again (the layout built at another scale) keeps its one item.
  auto Known = std::find_if(Items.begin(), Items.end(), [&Control](const TItem& Item) {
    return Item.Item->widget() == &Control;
  });
  if (Known == Items.end()) {
    addChildWidget(&Control);
    TItem Item;
    Item.Item = std::make_unique<QWidgetItem>(&Control);
    Known = Items.insert(Items.end(), std::move(Item));
  }
  Known->Align = Align;
  Known->Anchors = Anchors;
  if (const QWidget* Parent = parentWidget()) {
    Known->RightGap = Parent->width() - Control.geometry().right() - 1;
    Known->BottomGap = Parent->height() - Control.geometry().bottom() - 1;
  }
  invalidate();
}

void TDockLayout::Dock(QWidget& Control, TAlign Align)
{
  QWidget* Parent = Control.parentWidget();
  if (Parent == nullptr)
    return;
  Of(*Parent).Add(Control, Align, {});
  Relayout(*Parent);
}

void TDockLayout::Anchor(QWidget& Control, TAnchors Anchors)
{
  if (QWidget* Parent = Control.parentWidget())
    Of(*Parent).Add(Control, TAlign::alNone, Anchors);
}

void TDockLayout::Relayout(QWidget& Parent)
{
  if (auto* Own = dynamic_cast<TDockLayout*>(Parent.layout()))
    Own->setGeometry(Parent.contentsRect());
}

void TDockLayout::addItem(QLayoutItem* Item)
{
  TItem Plain;
  Plain.Item.reset(Item);
  Items.push_back(std::move(Plain));
}

QLayoutItem* TDockLayout::itemAt(int Index) const
{
  return Index >= 0 && Index < count() ? Items[static_cast<std::size_t>(Index)].Item.get()
                                       : nullptr;
}

QLayoutItem* TDockLayout::takeAt(int Index)
{
  if (Index < 0 || Index >= count())
    return nullptr;
  QLayoutItem* Taken = Items[static_cast<std::size_t>(Index)].Item.release();
  Items.erase(Items.begin() + Index);
  return Taken;
}

int TDockLayout::count() const
{
  return static_cast<int>(Items.size());
}

QSize TDockLayout::sizeHint() const
{
  return parentWidget() != nullptr ? parentWidget()->size() : QSize();
}

void TDockLayout::setGeometry(const QRect& Rect)
{
  QLayout::setGeometry(Rect);
  std::array<std::vector<QWidget*>, 6> Docked;
  for (const TItem& Item : Items) {
    QWidget* Control = Item.Item->widget();
    if (Control != nullptr && Item.Align != TAlign::alNone && !Item.Item->isEmpty())
      Docked[static_cast<std::size_t>(Item.Align)].push_back(Control);
  }
  const auto ByTop = [](QWidget* A, QWidget* B) { return A->y() < B->y(); };
  const auto ByLeft = [](QWidget* A, QWidget* B) { return A->x() < B->x(); };
  const auto Side = [&Docked](TAlign Align) -> std::vector<QWidget*>& {
    return Docked[static_cast<std::size_t>(Align)];
  };
  std::stable_sort(Side(TAlign::alTop).begin(), Side(TAlign::alTop).end(), ByTop);
  std::stable_sort(Side(TAlign::alBottom).begin(), Side(TAlign::alBottom).end(),
                   [&](QWidget* A, QWidget* B) { return ByTop(B, A); });
  std::stable_sort(Side(TAlign::alLeft).begin(), Side(TAlign::alLeft).end(), ByLeft);
  std::stable_sort(Side(TAlign::alRight).begin(), Side(TAlign::alRight).end(),
                   [&](QWidget* A, QWidget* B) { return ByLeft(B, A); });

  QRect Free = Rect;
  for (QWidget* C : Side(TAlign::alTop)) {
    C->setGeometry(Free.left(), Free.top(), Free.width(), C->height());
    Free.setTop(Free.top() + C->height());
  }
  for (QWidget* C : Side(TAlign::alBottom)) {
    C->setGeometry(Free.left(), Free.bottom() + 1 - C->height(), Free.width(), C->height());
    Free.setBottom(Free.bottom() - C->height());
  }
  for (QWidget* C : Side(TAlign::alLeft)) {
    C->setGeometry(Free.left(), Free.top(), C->width(), Free.height());
    Free.setLeft(Free.left() + C->width());
  }
  for (QWidget* C : Side(TAlign::alRight)) {
    C->setGeometry(Free.right() + 1 - C->width(), Free.top(), C->width(), Free.height());
    Free.setRight(Free.right() - C->width());
  }
  for (QWidget* C : Side(TAlign::alClient))
    C->setGeometry(Free.left(), Free.top(), std::max(Free.width(), 0), std::max(Free.height(), 0));

  const QWidget* Parent = parentWidget();
  if (Parent == nullptr)
    return;
  for (const TItem& Item : Items) {
    QWidget* C = Item.Item->widget();
    if (C == nullptr || Item.Align != TAlign::alNone)
      continue;
    QRect R = C->geometry();
    if (Item.Anchors.testFlag(TAnchor::akRight)) {
      if (Item.Anchors.testFlag(TAnchor::akLeft))
        R.setWidth(std::max(Parent->width() - Item.RightGap - R.left(), 0));
      else
        R.moveLeft(Parent->width() - Item.RightGap - R.width());
    }
    if (Item.Anchors.testFlag(TAnchor::akBottom)) {
      if (Item.Anchors.testFlag(TAnchor::akTop))
        R.setHeight(std::max(Parent->height() - Item.BottomGap - R.top(), 0));
      else
        R.moveTop(Parent->height() - Item.BottomGap - R.height());
    }
    C->setGeometry(R);
  }
}
