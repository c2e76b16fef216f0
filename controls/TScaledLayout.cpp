#include "controls/TScaledLayout.h"

#include <QWidget>

#include <algorithm>
#include <utility>

namespace {
template <typename TRecords> auto& Find(TRecords& Records, const QWidget& Control)
{
  return *std::find_if(Records.begin(), Records.end(),
                       [&Control](const auto& Record) { return Record.Widget == &Control; });
}
} // namespace

TScaledLayout::TScaledLayout(QWidget& Window, QSize Client) : Root(Window), DesignClient(Client) {}

void TScaledLayout::Place(QWidget& Control, QRect Design, TAnchors Anchors)
{
  Records.push_back({&Control, Design, Anchors, {}});
  Control.setGeometry(Current(Design));
  if (Anchors)
    TDockLayout::Anchor(Control, Anchors);
}

void TScaledLayout::Dress(const QWidget& Control, TFace Face)
{
  Find(Records, Control).Face = std::move(Face);
}

const TScaledLayout::TControl& TScaledLayout::Of(const QWidget& Control) const
{
  return Find(Records, Control);
}

void TScaledLayout::Apply(TLayoutScale Scale)
{
  Current = Scale;
  for (const TControl& Record : Records)
    Record.Widget->setGeometry(Current(Record.Design));
  for (const TControl& Record : Records)
    if (Record.Anchors)
      TDockLayout::Anchor(*Record.Widget, Record.Anchors);
  Root.resize(Current(DesignClient));
  TDockLayout::Relayout(Root);
  for (const TControl& Record : Records)
    TDockLayout::Relayout(*Record.Widget);
}
