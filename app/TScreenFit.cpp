#include "app/TScreenFit.h"

#include "app/Display.h"
#include "app/TextFit.h"

#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <utility>

std::optional<QRect> CentredPlace(QSize Client, QMargins Frame, QRect Area)
{
  const QSize Outer = Client.grownBy(Frame);
  if (Outer.width() > Area.width() || Outer.height() > Area.height())
    return std::nullopt;
  return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, Client, Area);
}

TScreenFit::TScreenFit(QWidget& Window, QSize Client, QMargins Frame, const TGothicFaces& Chosen,
                       TFace Face)
    : Root(Window), DesignClient(Client), DesignFrame(Frame), Faces(Chosen),
      WindowFace(std::move(Face))
{
  Root.setFont(Faces.Font(WindowFace.Family, WindowFace.Pixels, WindowFace.Bold));
  Root.resize(DesignClient);
}

void TScreenFit::Place(QWidget& Control, QRect Design, TFace Face, TAnchors Anchors)
{
  Control.setGeometry(Current(Design));
  if (Anchors)
    TDockLayout::Anchor(Control, Anchors);
  if (Face.Pixels != 0)
    Control.setFont(Faces.Font(Face.Family, Current(Face.Pixels), Face.Bold));
  Records.push_back({&Control, Design, Anchors, std::move(Face)});
}

void TScreenFit::Show(std::function<void()> ScaleChanged)
{
  Rescaled = std::move(ScaleChanged);
  if (!WindowsHaveFrames()) // no title bar: without the customising hint Qt would add one
    Root.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
  Fit(false);
  Root.setVisible(true); // where show() would fill the screen (a page), the window keeps its size
  Watch();
  QObject::connect(Root.windowHandle(), &QWindow::screenChanged, &Root, [this] {
    Watch();
    Fit(true);
  });
}

void TScreenFit::Watch()
{
  QObject::disconnect(ScreenWatch);
  if (const QScreen* Screen = Root.windowHandle()->screen())
    ScreenWatch =
        QObject::connect(Screen, &QScreen::availableGeometryChanged, &Root, [this] { Fit(true); });
}

void TScreenFit::Fit(bool Shown)
{
  const QScreen* Screen = Root.screen();
  if (Screen == nullptr)
    return;
  const QRect Area = Screen->availableGeometry();
  QMargins Frame = WindowsHaveFrames() ? DesignFrame : QMargins();
  if (Shown && !Root.windowHandle()->frameMargins().isNull())
    Frame = Root.windowHandle()->frameMargins();
  const TLayoutScale Fitting = TLayoutScale::Fitting(DesignClient, Frame, Area.size());
  // A window the player has sized or moved stays as it is; one in a page, which the player
  // cannot move, keeps to the page's middle.
  if (Shown && Fitting == Current && WindowsHaveFrames())
    return;
  if (Fitting != Current) {
    Apply(Fitting);
    FitFaces();
    Rescaled();
  }
  if (const auto Centred = CentredPlace(Root.size(), Frame, Area))
    Root.setGeometry(*Centred);
  else
    Root.move(Area.topLeft()); // the frame's corner, whatever the frame's real size
}

void TScreenFit::Apply(TLayoutScale Scale)
{
  // Parents first, so that each anchor measures its distances in a parent already at the new
  // size; then the window at the scaled client size, and docking done again.
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

void TScreenFit::FitFaces()
{
  // The faces measured in the controls as docked, at the design size too: rounded sizes, and a
  // system's face wider than the layout's, can clip where the style's margins and indicators
  // keep their pixels.
  Root.setFont(Faces.Font(WindowFace.Family, Current(WindowFace.Pixels), WindowFace.Bold));
  int RowPixels = 0;
  for (const TControl& Record : Records) {
    const TFace& Face = Record.Face;
    if (Face.Pixels == 0)
      continue;
    const QFont Font = Faces.Font(Face.Family, Current(Face.Pixels), Face.Bold);
    QWidget& Control = *Record.Widget;
    if (const auto* Box = qobject_cast<const QPlainTextEdit*>(&Control))
      Control.setFont(KeepingLines(*Box, Record, Font));
    else
      Control.setFont(LargestFitting(Control, Font));
    if (Control.parentWidget() == Row)
      RowPixels = RowPixels == 0 ? Control.font().pixelSize()
                                 : std::min(RowPixels, Control.font().pixelSize());
  }
  for (const TControl& Record : Records)
    if (Record.Widget->parentWidget() == Row) {
      QFont Font = Record.Widget->font();
      Font.setPixelSize(RowPixels);
      Record.Widget->setFont(Font);
    }
}

QFont TScreenFit::KeepingLines(const QPlainTextEdit& Box, const TControl& Record, QFont Font) const
{
  // No line wraps that does not wrap in the design face at the design size, and the last one
  // stands whole in the box: at the design size too, where a system's face may be wider than
  // the one the layout was made for.
  const QString Text = Box.toPlainText();
  const int Frame = Box.frameWidth();
  const int Margin = static_cast<int>(Box.document()->documentMargin());
  const TFace& Face = Record.Face;
  const QFont DesignFont = Faces.Font(Face.Family, Face.Pixels, Face.Bold);
  const std::vector<int> DesignLines =
      LayOutText(Text, DesignFont, Record.Design.width() - 2 * (Frame + Margin), Margin).Lines;
  const QRect Room = Current(Record.Design);
  const auto Fits = [&](const QFont& Candidate) {
    const TTextLayout Laid =
        LayOutText(Text, Candidate, Room.width() - 2 * (Frame + Margin), Margin);
    return Laid.Bottom <= Room.height() - 2 * Frame &&
           std::equal(Laid.Lines.begin(), Laid.Lines.end(), DesignLines.begin(),
                      std::less_equal<>());
  };
  while (Font.pixelSize() > 1 && !Fits(Font))
    Font.setPixelSize(Font.pixelSize() - 1);
  return Font;
}
