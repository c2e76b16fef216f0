#include "app/TFormMain.h"

#include "MyImageU/TMyImage.h"
#include "app/Accessibility.h"
#include "app/Display.h"
#include "app/Fonts.h"
#include "controls/TPanel.h"
#include "controls/TRadioGroup.h"
#include "runtime/Checked.h"
#include "runtime/Errors.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTimer>

#include <functional>

#include "app/yamaruka.xpm"

namespace {
const QString AppTitle = QStringLiteral("ヤマルカ");
const QString WindowCaption =
    QStringLiteral("ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）");
const QString ClosingText = QStringLiteral("終了");
const QString SelectorText = QStringLiteral("パズル選択");
const QStringList PuzzleItems{QStringLiteral("１（傾斜つき）"), QStringLiteral("２（傾斜なし）")};
const QString BeginText = QStringLiteral("開始");
const QString TargetText = QStringLiteral("目標　　回");
const QString CountText = QStringLiteral("　　　　回");
const QString HideText = QStringLiteral("説明を隠す");
const QString ShowText = QStringLiteral("説明を見る");
const QString DrawText = QStringLiteral("棒グラフの例");

// The lines stay whole, as the player reads them.
// clang-format off
const QString Explanation = QStringLiteral(
    "  ３１個の棒からなる棒グラフがあり，必ず山の形になっています。\n"
    "  右下の［棒グラフの例］をクリックすると，例が見られます。\n"
    "\n"
    "  パズルを［開始］したとき，グラフは隠れていて見えませんが，下にある３１個のボタンをクリックすると，\n"
    "  その部分だけグラフが現れます。\n"
    "  何回かクリックして，頂点を見つけることが目的です。\n"
    "\n"
    "  パズル１は，棒グラフの頭が斜線になっていて，右上がりの部分か右下がりの部分かがわかります。\n"
    "  これを手がかりにして，５回クリックするだけで，見つけることができます。\n"
    "\n"
    "  パズル２は，棒の頭がすべて水平です。７回クリツクして，見つけることができます。     ［閉じる］\n");
// clang-format on

// Every character the window's controls show, for the choice of faces.
QString ShownTexts()
{
  return WindowCaption + ClosingText + SelectorText + PuzzleItems.join(QString()) + BeginText +
         TargetText + CountText + HideText + ShowText + DrawText + Explanation +
         QStringLiteral("0123456789");
}

// A control with rounded corners paints the panel's colour behind them itself, so that a
// change of the control (a count, a press) does not repaint the panel beneath it.
void PaintsItsCorners(QWidget& Control)
{
  Control.setBackgroundRole(QPalette::Window);
  Control.setAutoFillBackground(true);
}

QPushButton* NewButton(QWidget* Parent, const QString& Caption)
{
  auto* Button = new QPushButton(Caption, Parent);
  Button->setAutoDefault(false);
  PaintsItsCorners(*Button);
  return Button;
}

QLineEdit* NewCounter(QWidget* Parent, const QString& Name)
{
  auto* Edit = new QLineEdit(Parent);
  Edit->setReadOnly(true);
  Edit->setTextMargins(0, 0, 0, 0);
  PaintsItsCorners(*Edit);
  Edit->setAccessibleName(Name);
  return Edit;
}

// The layout's client area and the frame that the layout's outer size, 1136 x 679, puts round
// it; the real frame is known only once the window is shown.
constexpr QSize DesignClient(1120, 641);
constexpr QMargins DesignFrame(8, 30, 8, 8);
const QString WindowFace = QStringLiteral("ＭＳ Ｐゴシック");
const QString MainFace = QStringLiteral("ＭＳ ゴシック");
const QString BarFace = QStringLiteral("ゴシック");
} // namespace

TFormMain::TFormMain(TRandomSource* RandomSource)
    : OwnRandom(RandomSource == nullptr ? std::make_unique<TSeededRandom>() : nullptr),
      Random(RandomSource == nullptr ? OwnRandom.get() : RandomSource), Engine(AfterBox, *Random),
      Faces(ShownTexts()), Fit(*this, DesignClient, DesignFrame, Faces, {WindowFace, 12, false})
{
  InstallAccessibleRoles();
  BuildControls();
  FormCreate();
  Fit.FitFaces();
}

TFormMain::~TFormMain() = default;

void TFormMain::BuildControls()
{
  setWindowTitle(WindowCaption);
  // The program's icon, for the message boxes' title bars too (in a page Qt draws them, with
  // its own logo where a window has none).
  QApplication::setWindowIcon(QIcon(QPixmap(yamaruka_xpm)));
  const TScreenFit::TFace Main{MainFace, 19, true};
  const TScreenFit::TFace Counter{MainFace, 21, true};
  const TAnchors LeftTop = TAnchor::akLeft | TAnchor::akTop;
  const TAnchors LeftBottom = TAnchor::akLeft | TAnchor::akBottom;

  PanelMain = new TPanel(this, TPanel::TBevel::Raised);
  Fit.Place(*PanelMain, {935, 0, 185, 641}, Main);
  PanelBottom = new TPanel(PanelMain, TPanel::TBevel::None);
  Fit.Place(*PanelBottom, {1, 514, 183, 126});
  ButtonClose = NewButton(PanelBottom, ClosingText);
  Fit.Place(*ButtonClose, {56, 86, 65, 25}, Main, LeftBottom);
  TDockLayout::Dock(*PanelBottom, TAlign::alBottom);

  RadioGroupKeisya = new TRadioGroup(PanelMain, SelectorText, PuzzleItems);
  Fit.Place(*RadioGroupKeisya, {1, 1, 183, 83}, Main);
  TDockLayout::Dock(*RadioGroupKeisya, TAlign::alTop);
  ButtonBegin = NewButton(PanelMain, BeginText);
  Fit.Place(*ButtonBegin, {16, 232, 151, 40}, Main, LeftTop);

  PanelMokuhyou = new TPanel(PanelMain, TPanel::TBevel::Raised, TargetText);
  Fit.Place(*PanelMokuhyou, {1, 84, 183, 41}, Main);
  EditMokuhyou = NewCounter(PanelMokuhyou, QStringLiteral("目標"));
  Fit.Place(*EditMokuhyou, {87, 8, 31, 29}, Counter, LeftTop);
  TDockLayout::Dock(*PanelMokuhyou, TAlign::alTop);
  PanelKaisuu = new TPanel(PanelMain, TPanel::TBevel::Raised, CountText);
  Fit.Place(*PanelKaisuu, {1, 125, 183, 41}, Main);
  EditKai = NewCounter(PanelKaisuu, QStringLiteral("回数"));
  // Its face before the text, which is laid out once, in its own face.
  Fit.Place(*EditKai, {87, 6, 29, 29}, Counter, LeftTop);
  EditKai->setText(QStringLiteral(" 0"));
  TDockLayout::Dock(*PanelKaisuu, TAlign::alTop);

  ButtonSetsumei = NewButton(PanelMain, HideText);
  Fit.Place(*ButtonSetsumei, {16, 316, 151, 40}, Main, LeftTop);
  ButtonDraw = NewButton(PanelMain, DrawText);
  Fit.Place(*ButtonDraw, {16, 458, 151, 40}, Main, LeftBottom);
  TDockLayout::Dock(*PanelMain, TAlign::alRight);

  PanelImage = new TPanel(this, TPanel::TBevel::Raised);
  Fit.Place(*PanelImage, {0, 0, 935, 641});
  PanelTray = new TPanel(PanelImage, TPanel::TBevel::Raised);
  Fit.Place(*PanelTray, {1, 599, 933, 41});
  TDockLayout::Dock(*PanelTray, TAlign::alBottom);
  Fit.OneSizeOn(*PanelTray); // one size for the row of bar buttons

  MemoSetsumei = new QPlainTextEdit(PanelImage);
  Fit.Place(*MemoSetsumei, {17, 19, 904, 235}, {WindowFace, 19, false}, LeftTop);
  MemoSetsumei->setReadOnly(true);
  MemoSetsumei->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  MemoSetsumei->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoSetsumei->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoSetsumei->setTabChangesFocus(true);
  MemoSetsumei->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  MemoSetsumei->setAccessibleName(QStringLiteral("説明"));
  QPalette MemoColours = MemoSetsumei->palette();
  MemoColours.setColor(QPalette::Base, QColor(255, 255, 192));
  MemoColours.setColor(QPalette::Text, Qt::black);
  MemoSetsumei->setPalette(MemoColours);
  // The text comes last, so that it is laid out once, at its own size and font.
  MemoSetsumei->setPlainText(Explanation);
  MemoSetsumei->viewport()->installEventFilter(this);
  MemoSetsumei->installEventFilter(this);
  TDockLayout::Dock(*PanelImage, TAlign::alClient);

  Announcer = new TAnnouncer(this);

  TimerCreate = new QTimer(this);
  TimerCreate->setInterval(1);
  connect(TimerCreate, &QTimer::timeout, this, [this] { Guarded([this] { TimerCreateTimer(); }); });
  TimerCreate->start();

  connect(ButtonClose, &QPushButton::clicked, this,
          [this] { Guarded([this] { ButtonCloseClick(); }); });
  connect(ButtonBegin, &QPushButton::clicked, this,
          [this] { Guarded([this] { ButtonBeginClick(); }); });
  connect(ButtonSetsumei, &QPushButton::clicked, this,
          [this] { Guarded([this] { ButtonSetsumeiClick(); }); });
  connect(ButtonDraw, &QPushButton::clicked, this,
          [this] { Guarded([this] { ButtonDrawClick(); }); });
  RadioGroupKeisya->OnChange = [this] { Guarded([this] { RadioGroupKeisyaClick(); }); };
}

void TFormMain::FormCreate()
{
  Random->Seed(MillisecondsSinceMidnightUtc());
  CreateBarButtons();

  // Focus runs depth-first through the tab orders of the layout.
  QWidget* Previous = ButtonClose;
  const auto Chain = [&Previous](QWidget* Next) {
    setTabOrder(Previous, Next);
    Previous = Next;
  };
  Chain(RadioGroupKeisya->Item(0));
  Chain(RadioGroupKeisya->Item(1));
  Chain(ButtonBegin);
  Chain(EditMokuhyou);
  Chain(EditKai);
  Chain(ButtonSetsumei);
  Chain(ButtonDraw);
  for (int I = 1; I <= 31; ++I)
    Chain(BarButtons[static_cast<std::size_t>(I)]);
  Chain(MemoSetsumei);
  ButtonClose->setFocus();
}

void TFormMain::CreateBarButtons()
{
  for (int I = 1; I <= 31; ++I) {
    QPushButton* Button = NewButton(PanelTray, QString::number(I));
    Fit.Place(*Button, {(I - 1) * 30 + 2, 6, 29, 29}, {BarFace, 16, true});
    Button->setProperty("Tag", I);
    connect(Button, &QPushButton::clicked, this,
            [this, Button] { Guarded([this, Button] { BarButtonClick(Button); }); });
    BarButtons[static_cast<std::size_t>(I)] = Button;
  }
}

void TFormMain::ShowCentred()
{
  Fit.Show([this] { Guarded([this] { DrawAgain(); }); });
}

void TFormMain::DrawAgain()
{
  if (MyImage == nullptr || !MyImage->HasCanvas())
    return;
  MyImage->DropCanvas(); // a raster of the new size
  ShowPicture();
}

void TFormMain::CreateSurface()
{
  if (MyImage != nullptr)
    return;
  MyImage = new TMyImage(PanelImage);
  MyImage->setAccessibleName(QStringLiteral("棒グラフ"));
  MyImage->lower(); // the explanation lies over it
  MyImage->show();
}

void TFormMain::TimerCreateTimer()
{
  CreateSurface();
  MyImage->Clear();
  RadioGroupKeisya->SetItemIndex(0);
  TimerCreate->stop();
}

void TFormMain::BarButtonClick(QObject* Sender)
{
  Engine.Probe(ToPos(Sender->property("Tag").toInt()));
}

void TFormMain::ButtonDrawClick()
{
  CreateSurface(); // a click before the first tick finds no surface yet
  Engine.ShowExample();
}

void TFormMain::ButtonSetsumeiClick()
{
  MemoSetsumei->setVisible(!MemoSetsumei->isVisible());
  ButtonSetsumei->setText(MemoSetsumei->isVisible() ? HideText : ShowText);
}

void TFormMain::ButtonCloseClick()
{
  close();
}

void TFormMain::RadioGroupKeisyaClick()
{
  CreateSurface();
  Engine.Select(RadioGroupKeisya->ItemIndex());
}

void TFormMain::ButtonBeginClick()
{
  CreateSurface();
  Engine.Begin();
}

template <typename TFunction> void TFormMain::Guarded(TFunction&& Handler)
{
  try {
    Handler();
  } catch (const std::exception& Error) {
    ShowError(Error.what());
  }
}

void TFormMain::ShowError(const std::string& Text)
{
  OpenBox(new QMessageBox(QMessageBox::Critical, AppTitle,
                          QString::fromStdString(ErrorBoxText(Text)), QMessageBox::Ok),
          {});
}

void TFormMain::OpenBox(QMessageBox* Box, const std::function<void()>& Closed)
{
  // Qt's way without a loop of the box's own: modal, shown, and back to the pupil's loop.
  Box->setAttribute(Qt::WA_DeleteOnClose);
  Box->setWindowModality(Qt::ApplicationModal);
  if (Closed)
    connect(Box, &QDialog::finished, this, [this, Closed] { Guarded(Closed); });
  // The box is a window of its own, centred on the screen, not on this one; it goes with it.
  connect(this, &QObject::destroyed, Box, [Box] { delete Box; });
  Box->show();
}

void TFormMain::keyPressEvent(QKeyEvent* Event)
{
  if (Event->key() != Qt::Key_Return && Event->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(Event);
    return;
  }
  // Enter presses the focused push button; on an edit or in the puzzle selector it presses
  // the example button; in the explanation it does nothing.
  QWidget* Focus = QApplication::focusWidget();
  if (auto* Button = qobject_cast<QPushButton*>(Focus)) {
    if (Button->isEnabled())
      Button->click();
  } else if ((qobject_cast<QLineEdit*>(Focus) != nullptr ||
              qobject_cast<QRadioButton*>(Focus) != nullptr) &&
             ButtonDraw->isEnabled()) {
    ButtonDraw->click();
  }
  Event->accept();
}

bool TFormMain::eventFilter(QObject* Watched, QEvent* Event)
{
  // A press in the explanation's selection would start dragging the text out, in a loop of the
  // drag's own that a page cannot run: the press starts a new selection instead.
  if (Watched == MemoSetsumei->viewport() && Event->type() == QEvent::MouseButtonPress) {
    QTextCursor Cursor = MemoSetsumei->textCursor();
    const int At =
        MemoSetsumei->cursorForPosition(static_cast<QMouseEvent*>(Event)->position().toPoint())
            .position();
    if (Cursor.hasSelection() && At >= Cursor.selectionStart() && At <= Cursor.selectionEnd()) {
      Cursor.clearSelection();
      MemoSetsumei->setTextCursor(Cursor);
    }
  }
  if (Watched == MemoSetsumei->viewport() && Event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) {
    Guarded([this] { ButtonSetsumeiClick(); });
    return true;
  }
  // Read-only, and a little taller than its box, with no scroll bar to bring lines back: a key
  // may move the focus on or copy, but never scroll the first lines out of sight.
  if (Watched == MemoSetsumei && Event->type() == QEvent::KeyPress) {
    const auto* Key = static_cast<QKeyEvent*>(Event);
    return Key->key() != Qt::Key_Tab && Key->key() != Qt::Key_Backtab &&
           !Key->matches(QKeySequence::Copy) && !Key->matches(QKeySequence::SelectAll);
  }
  return QWidget::eventFilter(Watched, Event);
}

void TFormMain::ShowCount(const std::string& Text)
{
  EditKai->setText(QString::fromStdString(Text));
}

void TFormMain::ShowTarget(const std::string& Text)
{
  EditMokuhyou->setText(QString::fromStdString(Text));
}

void TFormMain::LockBarButtons(bool Locked)
{
  // A finished puzzle must not leave the focus on a locked bar, where Qt would pass it on to
  // "終了": on "開始", Enter starts the next puzzle.
  if (Locked && PanelTray->isAncestorOf(focusWidget())) // the end box may still hold the focus
    ButtonBegin->setFocus();
  PanelTray->setEnabled(!Locked);
}

void TFormMain::EnableDrawButton(bool Enabled)
{
  ButtonDraw->setEnabled(Enabled);
}

void TFormMain::ShowMessage(const std::string& Text)
{
  QString Message = QString::fromStdString(Text);
  Message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  OpenBox(new QMessageBox(QMessageBox::NoIcon, AppTitle, Message, QMessageBox::Ok),
          [this] { AfterBox.BoxClosed(); });
}

void TFormMain::ClearImage()
{
  Picture.Clear();
  ShowPicture();
}

void TFormMain::DrawMark(TRevealedBar Bar, bool SlopeMode)
{
  Picture.Reveal(Bar, SlopeMode);
  ShowPicture();
  Announcer->Announce(Picture.LastAnswer());
}

void TFormMain::DrawExample(int Summit, bool SlopeMode)
{
  Picture.Example(Summit, SlopeMode);
  ShowPicture();
}

void TFormMain::ShowPicture()
{
  Picture.Draw(*MyImage, LayoutScale().PixelsPerUnit());
  // Only what changed: each new description is an event a screen reader may speak.
  const auto Set = [](QWidget* Widget, const QString& Text) {
    if (Widget->accessibleDescription() != Text)
      Widget->setAccessibleDescription(Text);
  };
  for (int Pos = 1; Pos <= 31; ++Pos)
    Set(BarButtons[static_cast<std::size_t>(Pos)], Picture.BarDescription(Pos));
  Set(MyImage, Picture.Description());
}
