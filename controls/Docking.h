#pragma once

#include <cstdint>

class QWidget;

// How a control sits in its parent: docked against a side, filling what the docked siblings
// leave, or held at fixed distances from the parent edges named by its anchors.
enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchor : std::uint8_t {
  akLeft = 1,
  akTop = 2,
  akRight = 4,
  akBottom = 8,
};

// Records the docking on the control and has its parent lay out its children again at once.
// A parent that does no docking of its own gets the control at its whole inner area for
// alClient.
void SetAlign(QWidget& Control, TAlign Align);
[[nodiscard]] TAlign GetAlign(const QWidget& Control);

// Keeps the control's present distances to the parent edges named in Anchors (a set of
// TAnchor) when the parent is resized. Call it with the control and its parent at their
// design geometry.
void SetAnchors(QWidget& Control, int Anchors);

class QRect;
// Places the children of Parent in its inner area: docked ones against their sides (tops in
// the order of their tops, and so on), alClient in what is left, anchored ones at their
// kept distances.
void AlignChildren(QWidget& Parent, const QRect& Inner);
