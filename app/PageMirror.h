#pragma once

#include <QAccessible>
#include <QByteArray>
#include <QRect>
#include <QString>

#include <vector>

// The program's accessibility tree as a page mirrors it for a screen reader: the same roles,
// names, descriptions and states that Orca is told on the desktop, in the page's own terms (its
// element roles), each object at its control's rectangle. Plain Qt, so that the desktop's tests
// can read it; the page's side is PageMirrorWeb.cpp.
struct TMirrorNode {
  QAccessible::Id Id = 0;
  QAccessible::Id Parent = 0; // 0: a window of its own
  QString Role; // the page's: button, radio, radiogroup, textbox, note, img, menu, menuitem, ...
  QString Name;
  QString Description;
  QString Value; // a counter's digits, the explanation's text, a box's message
  QRect Rect;    // on the screen, in device-independent pixels: the page's CSS pixels
  bool Disabled = false;
  bool Checked = false;
  bool Focused = false;
  bool Modal = false; // a box in front of every other window: they are inert behind it
};

// Every object the shown windows show, a parent before its children, in the tree's order.
[[nodiscard]] std::vector<TMirrorNode> MirrorTree();
[[nodiscard]] QByteArray MirrorJson(const std::vector<TMirrorNode>& Nodes);

// Whether the page may act on the object Id as the mouse could: it is shown and enabled, and no
// modal box stands in front of it.
[[nodiscard]] bool MayAct(QAccessible::Id Id);

// A screen reader's press on the object Id (a click on its element, a double tap) runs its
// control's press, and a move to it gives it Qt's focus: later, from Qt's own loop, where a box
// the press opens may wait. Nothing happens where the mouse could not act.
void PressFromPage(QAccessible::Id Id);
void FocusFromPage(QAccessible::Id Id);
