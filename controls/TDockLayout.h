#pragma once

#include <QFlags>
#include <QLayout>

#include <cstdint>
#include <memory>
#include <vector>

// How a control sits in its parent: docked against a side, filling what the docked siblings
// leave, or held at fixed distances from the parent edges named by its anchors.
enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum class TAnchor : std::uint8_t {
  akLeft = 1,
  akTop = 2,
  akRight = 4,
  akBottom = 8,
};
using TAnchors = QFlags<TAnchor>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

// The layout of a container whose children dock and anchor: docked ones against the sides of
// its inner area (tops in the order of their tops, and so on), the client one in what they
// leave, anchored ones at the distances they had to the named edges when they were anchored.
// Docked controls keep their own height (top, bottom) or width (left, right).
class TDockLayout : public QLayout {
public:
  explicit TDockLayout(QWidget* Parent);
  ~TDockLayout() override;

  // Docks Control in its parent's layout, made on first use, and places it at once: a
  // control that takes its size on creation (the drawing surface) finds it already there.
  static void Dock(QWidget& Control, TAlign Align);
  // Call with the control and its parent at their design geometry; again when the layout is
  // built at another scale.
  static void Anchor(QWidget& Control, TAnchors Anchors);
  // Places the docked and anchored children of Parent in its inner area now.
  static void Relayout(QWidget& Parent);

  void addItem(QLayoutItem* Item) override;
  [[nodiscard]] QLayoutItem* itemAt(int Index) const override;
  QLayoutItem* takeAt(int Index) override;
  [[nodiscard]] int count() const override;
  [[nodiscard]] QSize sizeHint() const override;
  void setGeometry(const QRect& Rect) override;

private:
  struct TItem {
    std::unique_ptr<QLayoutItem> Item;
    TAlign Align = TAlign::alNone;
    TAnchors Anchors;
    int RightGap = 0; // the parent's width less the control's right edge, when anchored
    int BottomGap = 0;
  };
  static TDockLayout& Of(QWidget& Parent);
  void Add(QWidget& Control, TAlign Align, TAnchors Anchors);

  std::vector<TItem> Items;
};
