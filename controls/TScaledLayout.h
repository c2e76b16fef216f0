#pragma once

#include "controls/LayoutScale.h"
#include "controls/TDockLayout.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QWidget;

// The window's layout as it is designed, at 30 pixels to the unit: each control's rectangle,
// anchors and face, recorded once as the controls are built (a parent before its children),
// and built again from that record at any scale. Which scale and which face fit are the
// window's decisions; this carries them out.
class TScaledLayout {
public:
  struct TFace {
    QString Family;
    int Pixels = 0; // 0: the control takes its parent's face
    bool Bold = false;
  };
  struct TControl {
    QWidget* Widget;
    QRect Design;
    TAnchors Anchors;
    TFace Face;
  };

  // The window, whose client area is Client at the design size.
  TScaledLayout(QWidget& Window, QSize Client);

  [[nodiscard]] TLayoutScale Scale() const { return Current; }

  // Records Control at its design rectangle and places it at the current scale.
  void Place(QWidget& Control, QRect Design, TAnchors Anchors = {});
  // Records the face Control is designed with; Control was placed first.
  void Dress(const QWidget& Control, TFace Face);
  [[nodiscard]] const TControl& Of(const QWidget& Control) const;
  [[nodiscard]] const std::vector<TControl>& Controls() const { return Records; }

  // Every control at Scale: placed parents first, so that each anchor measures its distances
  // in a parent already at the new size, the window at the scaled client size, and docking
  // done again. The faces are left to the window.
  void Apply(TLayoutScale Scale);

private:
  QWidget& Root;
  QSize DesignClient;
  TLayoutScale Current;
  std::vector<TControl> Records; // in the order built
};
