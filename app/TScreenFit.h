#pragma once

#include "app/Fonts.h"
#include "controls/LayoutScale.h"
#include "controls/TDockLayout.h"

#include <QFont>
#include <QMargins>
#include <QMetaObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPlainTextEdit;
class QWidget;

// The client rectangle centred on a screen's available Area where the window fits it with its
// Frame; none where it does not, and then the frame goes to the area's top-left, so that the
// title bar and the left edge (and bar 1) are on the screen.
std::optional<QRect> CentredPlace(QSize Client, QMargins Frame, QRect Area);

// The window's fit to its screen, in one place. The layout is designed at 30 pixels to the unit:
// each control's rectangle, anchors and face are recorded once as the window builds them (a
// parent before its children). On the screen the window opens on, and again whenever that screen
// or its free area changes, the fit takes the largest scale at which the window with its frame
// fits, builds the layout again at it, fits every face to its control, places the window and
// tells it once. Which controls, rectangles and faces are the window's decisions.
class TScreenFit {
public:
  struct TFace { // none ({}): the control takes its parent's face
    QString Family;
    int Pixels;
    bool Bold;
  };

  // Window, whose client area is Client at the design size, with the Frame that the design's
  // outer size puts round it, in Face of the Chosen faces.
  TScreenFit(QWidget& Window, QSize Client, QMargins Frame, const TGothicFaces& Chosen, TFace Face);

  [[nodiscard]] TLayoutScale Scale() const { return Current; }

  // Records Control at its design rectangle, in its face and with its anchors, and places and
  // dresses it at the current scale.
  void Place(QWidget& Control, QRect Design, TFace Face = {}, TAnchors Anchors = {});
  // The controls on Parent take one face size, the largest at which each of them fits.
  void OneSizeOn(const QWidget& Parent) { Row = &Parent; }

  // Every face at the largest size, not above its scaled one, that its control's texts fit.
  void FitFaces();

  // Shows the window at the largest scale that fits its screen, centred where it fits with its
  // frame, else at the screen's top-left; from then on the scale follows the screen.
  // ScaleChanged runs after each change of scale.
  void Show(std::function<void()> ScaleChanged);

private:
  struct TControl {
    QWidget* Widget;
    QRect Design;
    TAnchors Anchors;
    TFace Face;
  };
  void Watch();
  void Fit(bool Shown);
  void Apply(TLayoutScale Scale);
  [[nodiscard]] QFont KeepingLines(const QPlainTextEdit& Box, const TControl& Record,
                                   QFont Font) const;

  QWidget& Root;
  QSize DesignClient;
  QMargins DesignFrame;
  const TGothicFaces& Faces;
  TFace WindowFace;
  TLayoutScale Current;
  std::vector<TControl> Records; // in the order built
  const QWidget* Row = nullptr;
  std::function<void()> Rescaled;
  QMetaObject::Connection ScreenWatch;
};
