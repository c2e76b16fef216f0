#pragma once

#include <QString>
#include <QWidget>

class QAccessibleEvent;

// What assistive technology is told of the window's own controls, which Qt knows only as plain
// widgets: a panel is a pane, not a window; the window is a window; the drawing surface is a
// chart. Qt's own controls need nothing. Installed once, before the window is built.
void InstallAccessibleRoles();

// Speaks a text at once, wherever the focus is: the answer to a probe. Qt 6.8 and later have an
// announcement for this; before them, a notification whose name carries the text, shown anew
// each time, which screen readers speak. It covers one pixel behind the panels and paints
// nothing.
class TAnnouncer : public QWidget {
public:
  explicit TAnnouncer(QWidget* Parent);
  void Announce(const QString& Text);
};

// The words an event of the announcer speaks, whichever of the two ways this Qt has; empty for
// any other event. A bridge of the program's own (the page's) hears the answer through this.
[[nodiscard]] QString SpokenText(QAccessibleEvent& Event);
