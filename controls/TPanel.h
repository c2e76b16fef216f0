#pragma once

#include <QFont>
#include <QFrame>
#include <QStaticText>
#include <QString>

#include <optional>

class QPainter;

// A one-pixel frame on the edge pixels of Box (all of them included): the top and left edges in
// TopLeft, then the bottom and right ones in BottomRight, which own the top-right and bottom-left
// corners. Filled as rectangles rather than drawn as lines, so that on a screen of more device
// pixels each edge still covers its whole pixel (a line is centred on its pixel and falls one
// device pixel short on the right and bottom there).
void DrawFrameEdges(QPainter& Painter, const QRect& Box, const QColor& TopLeft,
                    const QColor& BottomRight);

// A container with an optional raised 1-pixel bevel and a caption centred both ways. Its
// children dock and anchor inside the bevel (see controls/TDockLayout.h). It names itself
// nothing: a screen reader takes it for a pane, and the counters' captions are only the gaps
// their edits fill, which carry the names.
class TPanel : public QFrame {
public:
  enum class TBevel { Raised, None };

  TPanel(QWidget* Parent, TBevel Bevel, const QString& Caption = {});

  [[nodiscard]] const QString& Caption() const { return Text; }
  [[nodiscard]] int BevelWidth() const { return Bevel == TBevel::Raised ? 1 : 0; }

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  TBevel Bevel;
  QString Text;
  QStaticText CaptionLayout;
  std::optional<QFont> LaidOutFor;
};
