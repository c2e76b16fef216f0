#define QT_STATICPLUGIN // the bridge below, found as Qt finds its own in a static build
#include "app/Accessibility.h"
#include "app/PageMirror.h"
#include "app/TextFit.h"
#include "controls/TPanel.h"
#include "controls/TRadioGroup.h"
#include "support/TPuzzleSolver.h"
#include "support/TShownForm.h"
#include "support/TestScreens.h"

#include <QAccessible>
#include <QAccessibleBridge>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <tuple>

// A screen reader's bridge, as the page has one: it hears every answer the window speaks.
class THeardBridge : public QAccessibleBridge {
public:
  static inline QStringList Words;
  void setRootObject(QAccessibleInterface* /*Root*/) override {}
  void notifyAccessibilityUpdate(QAccessibleEvent* Event) override
  {
    if (QString Text = SpokenText(*Event); !Text.isEmpty())
      Words << Text;
  }
};

class THeardBridgePlugin : public QAccessibleBridgePlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "../../app/PageMirror.json")
public:
  QAccessibleBridge* create(const QString& /*Key*/) override
  {
    static THeardBridge Bridge; // Qt keeps its bridges for the process's life and never frees them
    return &Bridge;
  }
};
Q_IMPORT_PLUGIN(THeardBridgePlugin)

namespace {
struct TFormTest : ::testing::Test {
  TShownForm S;
  TFormMain& F = *S.Form;

  void SetUp() override { ASSERT_TRUE(S.Ready); }
  void Coins(std::uint32_t Bit) // every coin of puzzle 1 to one side
  {
    S.Random.OnInteger = [Bit](std::uint32_t N) { return N == 2 ? Bit : 0U; };
  }
  // Where the focus is once a box has gone and the window system has made the window active.
  QWidget* FocusAfterBox()
  {
    F.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&F));
    return QApplication::focusWidget();
  }
};

QString Described(QWidget* W)
{
  return QAccessible::queryAccessibleInterface(W)->text(QAccessible::Description);
}

QRect In(const QWidget* W, const QWidget* Ancestor)
{
  return {W->mapTo(Ancestor, QPoint(0, 0)), W->size()};
}
} // namespace

// What the player sees first: puzzle 1 chosen, its target, an example, locked bar buttons.
TEST_F(TFormTest, StartUpState)
{
  EXPECT_TRUE(F.RadioGroupKeisya->Item(0)->isChecked());
  EXPECT_EQ(F.EditMokuhyou->text(), " 5");
  EXPECT_EQ(F.EditKai->text(), " 0");
  EXPECT_FALSE(F.PanelTray->isEnabled());
  EXPECT_FALSE(F.BarButtons[1]->isEnabled());
  EXPECT_TRUE(F.ButtonDraw->isEnabled());
  EXPECT_TRUE(F.MemoSetsumei->isVisible());
  EXPECT_EQ(F.ButtonSetsumei->text(), "説明を隠す");
  EXPECT_TRUE(F.Puzzle().State().SlopeMode);
  // The random draw 0 puts the example's summit at 4: a level top 330 pixels up.
  EXPECT_EQ(S.Top(30 * 4 - 15), 598 - 330);
  for (int I = 1; I <= 31; ++I)
    EXPECT_EQ(S.Pixel(30 * I - 15, 597), clAqua) << I;
  // And what a screen reader is told of it.
  EXPECT_EQ(Described(F.MyImage), "例：頂点は4番");
  EXPECT_EQ(Described(F.BarButtons[4]), "例：高さ110，水平");
  EXPECT_EQ(Described(F.BarButtons[3]), "例：高さ83，右上がり");
  EXPECT_EQ(QApplication::focusWidget(), F.ButtonClose);
  EXPECT_EQ(F.windowTitle(), "ヤマルカ（山の形に分布している棒グラフの最も長い棒を探す）");
  EXPECT_TRUE(S.Closer.Boxes.empty());
}

TEST_F(TFormTest, GeometryAtTheDesignSizeAndAfterResizing)
{
  const struct {
    const char* Name;
    QWidget* W;
    QRect Design;
  } Rows[] = {
      {"PanelMain", F.PanelMain, {935, 0, 185, 641}},
      {"PanelBottom", F.PanelBottom, {1, 514, 183, 126}},
      {"ButtonClose", F.ButtonClose, {56, 86, 65, 25}},
      {"RadioGroupKeisya", F.RadioGroupKeisya, {1, 1, 183, 83}},
      {"ButtonBegin", F.ButtonBegin, {16, 232, 151, 40}},
      {"PanelMokuhyou", F.PanelMokuhyou, {1, 84, 183, 41}},
      {"EditMokuhyou", F.EditMokuhyou, {87, 8, 31, 29}},
      {"PanelKaisuu", F.PanelKaisuu, {1, 125, 183, 41}},
      {"EditKai", F.EditKai, {87, 6, 29, 29}},
      {"ButtonSetsumei", F.ButtonSetsumei, {16, 316, 151, 40}},
      {"ButtonDraw", F.ButtonDraw, {16, 458, 151, 40}},
      {"PanelImage", F.PanelImage, {0, 0, 935, 641}},
      {"PanelTray", F.PanelTray, {1, 599, 933, 41}},
      {"MemoSetsumei", F.MemoSetsumei, {17, 19, 904, 235}},
      {"MyImage", F.MyImage, {1, 1, 933, 598}},
  };
  ASSERT_EQ(F.size(), QSize(1120, 641));
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    EXPECT_EQ(Row.W->geometry(), Row.Design);
  }

  // Taller and wider: the bottom row moves down, only the play area widens.
  F.resize(1320, 741);
  ASSERT_TRUE(QTest::qWaitFor([&] { return F.MyImage->width() == 1133; }));
  EXPECT_EQ(F.PanelMain->geometry(), QRect(1135, 0, 185, 741));
  EXPECT_EQ(F.PanelBottom->geometry(), QRect(1, 614, 183, 126));
  EXPECT_EQ(F.ButtonClose->geometry(), QRect(56, 86, 65, 25));
  EXPECT_EQ(F.ButtonBegin->geometry(), QRect(16, 232, 151, 40));
  EXPECT_EQ(F.ButtonSetsumei->geometry(), QRect(16, 316, 151, 40));
  EXPECT_EQ(F.ButtonDraw->geometry(), QRect(16, 558, 151, 40));
  EXPECT_EQ(F.PanelImage->geometry(), QRect(0, 0, 1135, 741));
  EXPECT_EQ(F.PanelTray->geometry(), QRect(1, 699, 1133, 41));
  EXPECT_EQ(F.MyImage->geometry(), QRect(1, 1, 1133, 698));
  EXPECT_EQ(F.MemoSetsumei->geometry(), QRect(17, 19, 904, 235));
  // The example drawn before stays on the visible bottom edge.
  EXPECT_EQ(S.Pixel(30 * 4 - 15, 697), clAqua);
  EXPECT_EQ(S.Top(30 * 4 - 15), 698 - 330);
}

// A screen reader takes a frame for a window of its own and cannot follow the focus into it;
// the surface, unnamed, would be a blank to a blind pupil.
TEST_F(TFormTest, ScreenReaderRolesAndNames)
{
  const struct {
    const char* Name;
    QWidget* W;
    QAccessible::Role Role;
    QString Said;
  } Rows[] = {
      {"FormMain", &F, QAccessible::Window, F.windowTitle()},
      {"PanelMain", F.PanelMain, QAccessible::Pane, ""},
      {"PanelMokuhyou", F.PanelMokuhyou, QAccessible::Pane, ""},
      {"PanelKaisuu", F.PanelKaisuu, QAccessible::Pane, ""},
      {"PanelTray", F.PanelTray, QAccessible::Pane, ""},
      {"RadioGroupKeisya", F.RadioGroupKeisya, QAccessible::Grouping, "パズル選択"},
      {"EditMokuhyou", F.EditMokuhyou, QAccessible::EditableText, "目標"},
      {"EditKai", F.EditKai, QAccessible::EditableText, "回数"},
      {"MyImage", F.MyImage, QAccessible::Chart, "棒グラフ"},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    QAccessibleInterface* I = QAccessible::queryAccessibleInterface(Row.W);
    ASSERT_NE(I, nullptr);
    EXPECT_EQ(I->role(), Row.Role);
    EXPECT_EQ(I->text(QAccessible::Name), Row.Said);
  }
}

// A blind pupil in the page hears what Orca is told here, from elements the page makes of this
// mirror at the controls' places; a double tap presses as a click does, and nothing behind an
// open box, where the mouse cannot act either.
TEST_F(TFormTest, PageMirrorsTheScreenReadersTreeAndKeepsTheBoxModal)
{
  const auto Find = [](const QString& Role, const QString& Name) {
    const std::vector<TMirrorNode> Nodes = MirrorTree();
    const auto Found = std::find_if(Nodes.begin(), Nodes.end(), [&](const TMirrorNode& Node) {
      return Node.Role == Role && Node.Name == Name;
    });
    return Found == Nodes.end() ? TMirrorNode{} : *Found;
  };
  const auto Global = [](const QWidget* W) {
    return QRect(W->mapToGlobal(QPoint(0, 0)), W->size());
  };
  const struct {
    const char* Role;
    QString Name;
    QWidget* W;
  } Rows[] = {
      {"region", F.windowTitle(), &F},
      {"button", "終了", F.ButtonClose},
      {"radiogroup", "パズル選択", F.RadioGroupKeisya},
      {"radio", "１（傾斜つき）", F.RadioGroupKeisya->Item(0)},
      {"radio", "２（傾斜なし）", F.RadioGroupKeisya->Item(1)},
      {"button", "開始", F.ButtonBegin},
      {"textbox", "目標", F.EditMokuhyou},
      {"textbox", "回数", F.EditKai},
      {"button", "説明を隠す", F.ButtonSetsumei},
      {"button", "棒グラフの例", F.ButtonDraw},
      {"note", "説明", F.MemoSetsumei},
      {"img", "棒グラフ", F.MyImage},
      {"button", "31", F.BarButtons[31]},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE((QLatin1String(Row.Role) + QLatin1Char(' ') + Row.Name).toStdString());
    const TMirrorNode Node = Find(Row.Role, Row.Name);
    ASSERT_NE(Node.Id, 0U);
    // A radio button's is where it takes a click: its indicator and its text.
    EXPECT_TRUE(Global(Row.W).contains(Node.Rect));
    EXPECT_GE(2 * Node.Rect.width() * Node.Rect.height(), Row.W->width() * Row.W->height());
    EXPECT_EQ(Node.Disabled, !Row.W->isEnabled());
  }
  EXPECT_TRUE(Find("radio", "１（傾斜つき）").Checked);
  EXPECT_FALSE(Find("radio", "２（傾斜なし）").Checked);
  EXPECT_EQ(Find("textbox", "目標").Value, " 5");
  EXPECT_TRUE(Find("note", "説明").Value.startsWith("  ３１個の棒"));
  EXPECT_TRUE(Find("img", "棒グラフ").Description.startsWith("例：頂点は"));
  EXPECT_TRUE(Find("button", "16").Disabled);
  EXPECT_TRUE(Find("button", "16").Description.startsWith("例：高さ"));
  EXPECT_TRUE(Find("button", "終了").Focused);

  Coins(1);
  PressFromPage(Find("button", "開始").Id);
  QTRY_VERIFY(F.PanelTray->isEnabled());
  PressFromPage(Find("button", "16").Id);
  QTRY_COMPARE(F.EditKai->text(), " 1");
  EXPECT_TRUE(Find("button", "16").Description.startsWith("1回目：高さ"));
  FocusFromPage(Find("button", "20").Id);
  QTRY_VERIFY(F.BarButtons[20]->hasFocus());

  // A wasted try: behind its box bar 17 stays as it is; the box's OK closes it.
  bool Refused = false;
  S.Closer.Instead = [&](QMessageBox& Box) {
    const TMirrorNode Dialog = Find("alertdialog", "ヤマルカ");
    EXPECT_TRUE(Dialog.Modal);
    EXPECT_EQ(Dialog.Value, "無駄な試行です\n無かったことにします");
    EXPECT_FALSE(MayAct(Find("button", "17").Id));
    PressFromPage(Find("button", "17").Id);
    QTimer::singleShot(0, &Box, [&] {
      Refused = F.Puzzle().State().ClickCount == 1;
      EXPECT_TRUE(MayAct(Find("button", "OK").Id));
      PressFromPage(Find("button", "OK").Id);
    });
  };
  PressFromPage(Find("button", "16").Id);
  QTRY_VERIFY(Refused && QApplication::activeModalWidget() == nullptr);
  QTest::qWait(0); // what the page queued behind the box has run
  EXPECT_EQ(F.EditKai->text(), " 1");
  EXPECT_EQ(S.Closer.LastText(), "無駄な試行です\n無かったことにします");
}

// The raised bevel lies on each panel's outermost pixels: light left and top, dark right and
// bottom; one pixel in, the children would cover it. The selector's etched frame has its dark
// line outside on the left and top (from the caption's middle down) and its light line outside
// on the right and bottom.
TEST_F(TFormTest, FramesOnTheirOutermostPixels)
{
  const int GroupTop = QFontMetrics(F.RadioGroupKeisya->font()).height() / 2;
  const struct {
    const char* Name;
    QWidget* Control;
    int Top;
    QPalette::ColorRole TopLeft;
    QPalette::ColorRole BottomRight;
  } Rows[] = {{"PanelMain", F.PanelMain, 0, QPalette::Light, QPalette::Dark},
              {"PanelImage", F.PanelImage, 0, QPalette::Light, QPalette::Dark},
              {"PanelTray", F.PanelTray, 0, QPalette::Light, QPalette::Dark},
              {"PanelMokuhyou", F.PanelMokuhyou, 0, QPalette::Light, QPalette::Dark},
              {"PanelKaisuu", F.PanelKaisuu, 0, QPalette::Light, QPalette::Dark},
              {"RadioGroupKeisya", F.RadioGroupKeisya, GroupTop, QPalette::Dark, QPalette::Light}};
  // Also on a screen of twice the pixels, where a line one pixel wide is two device pixels.
  for (const int Ratio : {1, 2})
    for (const auto& [Name, Control, Top, TopLeft, BottomRight] : Rows) {
      SCOPED_TRACE(testing::Message() << Name << " at " << Ratio);
      QImage Picture(Control->size() * Ratio, QImage::Format_RGB32);
      Picture.setDevicePixelRatio(Ratio);
      Control->render(&Picture);
      const QRgb Outer = Control->palette().color(TopLeft).rgb();
      const QRgb Inner = Control->palette().color(BottomRight).rgb();
      const int W = Picture.width();
      const int H = Picture.height();
      EXPECT_EQ(Picture.pixel(0, H / 2), Outer);
      EXPECT_EQ(Picture.pixel(W * 3 / 4, Top * Ratio), Outer); // clear of the selector's caption
      EXPECT_EQ(Picture.pixel(W - 1, H / 2), Inner);
      EXPECT_EQ(Picture.pixel(W / 2, H - 1), Inner);
    }
}

// Each button stands under its own bar: bar i covers surface columns 30 (i - 1) to 30 i.
TEST_F(TFormTest, BarButtonsCaptionsTagsAndPlaces)
{
  for (int I = 1; I <= 31; ++I) {
    const QPushButton* B = F.BarButtons[static_cast<std::size_t>(I)];
    EXPECT_EQ(B->text(), QString::number(I));
    EXPECT_EQ(B->property("Tag").toInt(), I);
    EXPECT_EQ(B->geometry(), QRect((I - 1) * 30 + 2, 6, 29, 29));
    const QRect Button = In(B, F.PanelImage);
    const int BarLeft = In(F.MyImage, F.PanelImage).left() + 30 * (I - 1);
    EXPECT_GT(Button.left(), BarLeft);
    EXPECT_LE(Button.right(), BarLeft + 30);
  }
  EXPECT_EQ(F.BarButtons[0], nullptr);
  EXPECT_EQ(F.BarButtons[32], nullptr);
}

TEST_F(TFormTest, SlopedGameSucceedsOnTheTarget)
{
  Coins(1);
  S.Click(F.ButtonBegin);
  EXPECT_TRUE(F.PanelTray->isEnabled());
  EXPECT_FALSE(F.ButtonDraw->isEnabled());
  EXPECT_EQ(S.Top(100), 598); // cleared
  THeardBridge::Words.clear();
  S.ClickBar(16);
  EXPECT_EQ(THeardBridge::Words, QStringList{"16番，1回目：高さ12，右上がり"}); // once
  S.ClickBar(24);
  // A narrow, low window and back mid-puzzle: every revealed pixel is there again.
  const TRaster& C = F.MyImage->Canvas();
  const std::vector<std::uint32_t> Drawn(C.Bits(), C.Bits() + std::ptrdiff_t{933} * 598);
  F.resize(700, 350);
  ASSERT_TRUE(QTest::qWaitFor([&] { return F.MyImage->width() == 513; }));
  EXPECT_EQ(F.MyImage->grab().toImage().pixel(30 * 16 - 15, 306), qRgb(0, 255, 255));
  F.resize(1120, 641);
  ASSERT_TRUE(QTest::qWaitFor([&] { return F.MyImage->width() == 933; }));
  ASSERT_EQ(C.Width() * C.Height(), 933 * 598);
  EXPECT_TRUE(std::equal(Drawn.begin(), Drawn.end(), C.Bits()));
  // Behind the end box nothing has changed yet; its OK locks the bar buttons.
  S.Closer.Instead = [&](QMessageBox& Box) {
    EXPECT_TRUE(F.PanelTray->isEnabled());
    EXPECT_FALSE(F.ButtonDraw->isEnabled());
    Box.button(QMessageBox::Ok)->click();
  };
  for (int Pos : {28, 30, 31})
    S.ClickBar(Pos);
  ASSERT_EQ(S.Closer.Boxes.size(), 1U);
  EXPECT_EQ(S.Closer.Boxes[0].Text, "おめでとう\n成功です");
  EXPECT_EQ(S.Closer.Boxes[0].Title, "ヤマルカ");
  EXPECT_EQ(S.Closer.Boxes[0].Icon, QMessageBox::NoIcon);
  EXPECT_EQ(F.EditKai->text(), " 5");
  EXPECT_FALSE(F.PanelTray->isEnabled());
  EXPECT_TRUE(F.ButtonDraw->isEnabled());
  // Bar 16 rose: its right end is higher; the summit 31 is level.
  EXPECT_LT(S.Top(30 * 16 - 1), S.Top(30 * 15 + 1));
  EXPECT_EQ(S.Top(30 * 31 - 2), S.Top(30 * 30 + 2));
  // A screen reader is told the same, and Enter on the focus then starts the next puzzle.
  EXPECT_EQ(Described(F.BarButtons[16]), "1回目：高さ12，右上がり");
  EXPECT_EQ(Described(F.BarButtons[31]), "5回目：高さ20，水平");
  EXPECT_EQ(Described(F.MyImage), "16番 高さ12，右上がり／24番 高さ14，右上がり／28番 高さ16，"
                                  "右上がり／30番 高さ18，右上がり／31番 高さ20，水平");
  EXPECT_EQ(FocusAfterBox(), F.ButtonBegin);
}

TEST_F(TFormTest, SlopedGameOneOverTheTargetFails)
{
  Coins(1);
  S.Click(F.ButtonBegin);
  for (int Pos : {1, 16, 24, 28, 30, 31})
    S.ClickBar(Pos);
  EXPECT_EQ(S.Closer.LastText(), "残念でした\n6回かかって\nしまいました");
  EXPECT_EQ(F.EditKai->text(), " 6");
}

// Best play of puzzle 2, chosen by the exhaustive search, meets its target of 7.
TEST_F(TFormTest, LevelGamesSucceedWithBestPlayAndFailWithout)
{
  S.Click(F.RadioGroupKeisya->Item(1));
  EXPECT_EQ(F.EditMokuhyou->text(), " 7");
  TPuzzleSolver Solver(false);
  S.Random.OnReal = [] { return 0.75; };
  S.Click(F.ButtonBegin);
  EXPECT_EQ(Described(F.BarButtons[16]), ""); // "開始" forgets the example
  // Played from the keyboard by what a screen reader says of each bar: the highest so far
  // and its nearest revealed neighbours are all the player knows.
  TPuzzleState Known = Solver.Initial();
  std::map<int, int> Heights;
  while (S.Closer.Boxes.empty() && Known.ClickCount < 31) {
    QPushButton* Bar = F.BarButtons[Solver.BestProbe(Known)];
    Bar->setFocus();
    S.Key(Bar, Qt::Key_Space);
    const QString Said = Described(Bar);
    ASSERT_TRUE(Said.startsWith(QStringLiteral("%1回目：高さ").arg(++Known.ClickCount)));
    Heights[Bar->property("Tag").toInt()] = Said.section(QStringLiteral("高さ"), 1).toInt();
    const auto Mark = [](auto At) {
      return TBarMark{static_cast<std::uint8_t>(At->first), static_cast<std::uint8_t>(At->second)};
    };
    const auto Best = std::max_element(Heights.begin(), Heights.end(),
                                       [](auto A, auto B) { return A.second < B.second; });
    Known.Best = Mark(Best);
    Known.LeftEnd = Best == Heights.begin() ? TBarMark{0, 10} : Mark(std::prev(Best));
    Known.RightEnd = std::next(Best) == Heights.end() ? TBarMark{32, 10} : Mark(std::next(Best));
  }
  EXPECT_EQ(S.Closer.LastText(), "おめでとう\n成功です");
  EXPECT_EQ(F.EditKai->text(), " 7");
  EXPECT_EQ(FocusAfterBox(), F.ButtonBegin);

  S.Click(F.ButtonBegin);
  for (int Pos = 1; Pos <= 31 && S.Closer.Boxes.size() == 1; ++Pos)
    S.ClickBar(Pos);
  EXPECT_TRUE(S.Closer.LastText().startsWith("残念でした\n"));
  EXPECT_TRUE(S.Closer.LastText().endsWith("回かかって\nしまいました"));
}

TEST_F(TFormTest, WastedTryIsRefusedAndNotCounted)
{
  Coins(1);
  S.Click(F.ButtonBegin);
  S.ClickBar(16);
  S.ClickBar(16);
  S.ClickBar(3);
  ASSERT_EQ(S.Closer.Boxes.size(), 2U);
  EXPECT_EQ(S.Closer.Boxes[1].Text, "無駄な試行です\n無かったことにします");
  EXPECT_EQ(F.EditKai->text(), " 1");
  EXPECT_EQ(FocusAfterBox(), F.BarButtons[3]); // the box leaves the focus where it was
}

TEST_F(TFormTest, ChangingThePuzzleMidGameAndStartingTwice)
{
  Coins(1);
  S.Click(F.ButtonBegin);
  S.ClickBar(16);
  S.Click(F.RadioGroupKeisya->Item(1));
  EXPECT_FALSE(F.PanelTray->isEnabled());
  EXPECT_FALSE(F.ButtonDraw->isEnabled()); // only a finished puzzle enables it again
  EXPECT_EQ(F.EditMokuhyou->text(), " 7");
  EXPECT_EQ(S.Pixel(15, 597), clAqua); // a new example
  // The selected item again: nothing is drawn.
  S.Click(F.ButtonBegin);
  S.Click(F.RadioGroupKeisya->Item(1));
  EXPECT_TRUE(F.PanelTray->isEnabled());
  for (int Round = 0; Round < 2; ++Round) {
    S.ClickBar(5);
    S.Click(F.ButtonBegin);
    EXPECT_EQ(F.EditKai->text(), " 0");
    EXPECT_EQ(S.Top(30 * 5 - 15), 598);
  }
  EXPECT_FALSE(F.Puzzle().State().SlopeMode);
}

TEST_F(TFormTest, ExplanationHidesOnAClickAndShowsAgain)
{
  // Keys never scroll the first lines out of sight, and only the left button hides it.
  F.MemoSetsumei->setFocus();
  for (const Qt::Key Key : {Qt::Key_Space, Qt::Key_PageDown, Qt::Key_Down, Qt::Key_End})
    QTest::keyClick(F.MemoSetsumei, Key);
  EXPECT_EQ(F.MemoSetsumei->verticalScrollBar()->value(), 0);
  for (const Qt::MouseButton Button : {Qt::RightButton, Qt::MiddleButton})
    QTest::mouseClick(F.MemoSetsumei->viewport(), Button, {}, QPoint(400, 100));
  EXPECT_TRUE(F.MemoSetsumei->isVisible());
  QTest::mouseClick(F.MemoSetsumei->viewport(), Qt::LeftButton, {}, QPoint(400, 100));
  EXPECT_FALSE(F.MemoSetsumei->isVisible());
  EXPECT_EQ(F.ButtonSetsumei->text(), "説明を見る");
  S.Click(F.ButtonSetsumei);
  EXPECT_TRUE(F.MemoSetsumei->isVisible());
  EXPECT_EQ(F.ButtonSetsumei->text(), "説明を隠す");
  const QStringList Lines = F.MemoSetsumei->toPlainText().split('\n');
  ASSERT_EQ(Lines.size(), 12);
  EXPECT_EQ(Lines[10],
            "  パズル２は，棒の頭がすべて水平です。７回クリツクして，見つけることができます。     "
            "［閉じる］");
  EXPECT_TRUE(Lines[11].isEmpty());
}

// Enter presses the focused button; on an edit or the selector it presses the example
// button; in the explanation it does nothing.
TEST_F(TFormTest, FocusOrderAndEnter)
{
  const std::vector<QWidget*> Order{F.RadioGroupKeisya->Item(0),
                                    F.ButtonBegin,
                                    F.EditMokuhyou,
                                    F.EditKai,
                                    F.ButtonSetsumei,
                                    F.ButtonDraw,
                                    F.MemoSetsumei,
                                    F.ButtonClose};
  for (QWidget* Next : Order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Next) << Next->metaObject()->className();
  }
  int Draws = 0;
  S.Random.OnInteger = [&Draws](std::uint32_t N) {
    Draws += N == 24 ? 1 : 0;
    return 0U;
  };
  F.EditKai->setFocus();
  QTest::keyClick(F.EditKai, Qt::Key_Return);
  EXPECT_EQ(Draws, 1);
  F.RadioGroupKeisya->Item(0)->setFocus();
  QTest::keyClick(F.RadioGroupKeisya->Item(0), Qt::Key_Enter);
  EXPECT_EQ(Draws, 2);
  F.MemoSetsumei->setFocus();
  QTest::keyClick(F.MemoSetsumei, Qt::Key_Return);
  EXPECT_EQ(Draws, 2);
  EXPECT_TRUE(F.MemoSetsumei->isVisible());
  F.ButtonBegin->setFocus();
  QTest::keyClick(F.ButtonBegin, Qt::Key_Return);
  EXPECT_TRUE(F.PanelTray->isEnabled());
  F.EditKai->setFocus();
  QTest::keyClick(F.EditKai, Qt::Key_Return); // the example button is disabled now
  EXPECT_EQ(Draws, 2);
  F.ButtonClose->setFocus();
  QTest::keyClick(F.ButtonClose, Qt::Key_Return);
  EXPECT_FALSE(F.isVisible());
}

// A winner too tall for a byte: the error box says so, and the probe is not counted.
TEST_F(TFormTest, HeightOverflowShowsTheRangeErrorAndKeepsTheCount)
{
  S.Click(F.RadioGroupKeisya->Item(1));
  double Coin = 0.75;
  S.Random.OnReal = [&Coin] { // the coins favour the new bar on alternate sides
    Coin = 1.0 - Coin;
    return Coin;
  };
  S.Random.OnInteger = [](std::uint32_t N) { return N == 5 ? 4U : 0U; };
  S.Click(F.ButtonBegin);
  for (int Pos : {1, 31, 2, 30})
    S.ClickBar(Pos);
  ASSERT_TRUE(S.Closer.Boxes.empty());
  const int Top = S.Top(30 * 3 - 15);
  S.ClickBar(3);
  ASSERT_EQ(S.Closer.Boxes.size(), 1U);
  EXPECT_EQ(S.Closer.Boxes[0].Text, "範囲チェックエラー.");
  EXPECT_EQ(S.Closer.Boxes[0].Icon, QMessageBox::Critical);
  EXPECT_EQ(S.Closer.Boxes[0].Title, "ヤマルカ");
  EXPECT_EQ(F.EditKai->text(), " 4");
  EXPECT_EQ(S.Top(30 * 3 - 15), Top);    // nothing drawn
  EXPECT_TRUE(F.PanelTray->isEnabled()); // the program and the puzzle go on
  S.ClickBar(16);
  EXPECT_EQ(F.EditKai->text(), " 5");
}

TEST_F(TFormTest, CloseEndsAtOnceMidPuzzle)
{
  S.Click(F.ButtonBegin);
  S.ClickBar(16);
  S.Click(F.ButtonClose);
  EXPECT_FALSE(F.isVisible());
  EXPECT_TRUE(S.Closer.Boxes.empty());
}

// The window's faces do without fallback faces where they cover everything, so a character
// they lack would show as a box: every text on the window must be in its control's own face,
// a family the system lists. It runs under the C and the Japanese locale (whose fontconfig
// lists the faces by their Japanese names), with the IPA faces and with VL Gothic alone.
TEST_F(TFormTest, EveryTextIsInItsOwnFace)
{
  const QStringList Listed = QFontDatabase::families();
  int Checked = 0;
  const auto Expect = [&Checked, &Listed](const QWidget* W, const QString& Text) {
    EXPECT_TRUE(W->font().styleStrategy() & QFont::NoFontMerging)
        << W->font().family().toStdString();
    EXPECT_TRUE(Listed.contains(QFontInfo(W->font()).family()));
    const QFontMetrics Metrics(W->font());
    for (const QChar C : Text) {
      if (C.isSpace())
        continue;
      EXPECT_TRUE(Metrics.inFont(C)) << "U+" << std::hex << static_cast<int>(C.unicode()) << " in "
                                     << W->metaObject()->className();
      ++Checked;
    }
  };
  for (const QWidget* W : F.findChildren<QWidget*>()) {
    if (const auto* Button = qobject_cast<const QAbstractButton*>(W))
      Expect(W, Button->text());
    else if (const auto* Edit = qobject_cast<const QLineEdit*>(W))
      Expect(W, Edit->text());
    else if (const auto* Memo = qobject_cast<const QPlainTextEdit*>(W))
      Expect(W, Memo->toPlainText());
    else if (const auto* Panel = dynamic_cast<const TPanel*>(W))
      Expect(W, Panel->Caption());
    else if (const auto* Group = qobject_cast<const QGroupBox*>(W))
      Expect(W, Group->title());
  }
  S.Click(F.ButtonSetsumei); // "説明を見る"
  Expect(F.ButtonSetsumei, F.ButtonSetsumei->text());
  EXPECT_GT(Checked, 300); // the explanation alone has more
}

// Qt's own texts are Japanese too, whatever the system's language: a pupil in the first years
// reads no English. The context menus of the explanation and of a counter, opened as the menu
// key opens them; the box's one button reads "OK" all the same.
TEST_F(TFormTest, QtsOwnTextsAreJapanese)
{
  const struct {
    const char* Name;
    QWidget* Control;
    QStringList Items;
  } Rows[] = {{"the explanation", F.MemoSetsumei->viewport(), {"コピー(C)", "すべてを選択"}},
              {"the count", F.EditKai, {"コピー(C)", "すべてを選択"}}};
  for (const auto& [Name, Control, Expected] : Rows) {
    SCOPED_TRACE(Name);
    QContextMenuEvent Press(QContextMenuEvent::Keyboard, Control->rect().center(),
                            Control->mapToGlobal(Control->rect().center()));
    QApplication::sendEvent(Control, &Press);
    auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(Menu, nullptr);
    // As a screen reader hears it, on the desktop and in the page's mirror.
    QStringList Items;
    for (const TMirrorNode& Node : MirrorTree())
      if (Node.Role == "menuitem" && !Node.Name.isEmpty())
        Items << Node.Name;
    EXPECT_EQ(Items, Expected) << Items.join(" | ").toStdString();
    QTest::keyClick(Menu, Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  }
  S.Click(F.ButtonBegin);
  S.Closer.Instead = [](QMessageBox& Box) {
    EXPECT_EQ(Box.button(QMessageBox::Ok)->text(), "OK");
    Box.button(QMessageBox::Ok)->click();
  };
  S.ClickBar(1);
  S.ClickBar(1);
  EXPECT_EQ(S.Closer.Boxes.size(), 1U);
}

// On a small classroom screen the window must not open with its left edge and bar 1 off it.
TEST(FormPlacement, CentredWhereItFitsElseAtTheTopLeft)
{
  const QSize Client(1120, 641);
  const QMargins Frame(8, 30, 8, 8);
  const struct {
    const char* Name;
    QRect Area;
    std::optional<QPoint> At; // none: the frame at the area's top-left
  } Rows[] = {
      {"fits", {0, 0, 1280, 800}, QPoint(80, 80)},
      {"fits exactly", {0, 0, 1136, 679}, QPoint(8, 19)},
      {"a panel above, a second screen left", {1920, 24, 1280, 776}, QPoint(1920 + 80, 24 + 68)},
      {"too narrow", {0, 0, 1024, 768}, std::nullopt},
      {"too low: 1366 x 768 at 125 %", {0, 0, 1093, 614}, std::nullopt},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    const auto Place = CentredPlace(Client, Frame, Row.Area);
    ASSERT_EQ(Place.has_value(), Row.At.has_value());
    if (Place) {
      EXPECT_EQ(*Place, QRect(*Row.At, Client));
    }
  }
  // The shown window on whatever screen it has: wholly on it where it fits (centred round a
  // frame that is known only once shown), else at its top-left.
  TShownForm S;
  const QRect Area = S.Form->screen()->availableGeometry();
  const QRect Shown = S.Form->frameGeometry();
  if (Shown.width() <= Area.width() && Shown.height() <= Area.height()) {
    EXPECT_TRUE(Area.contains(Shown));
  } else {
    EXPECT_EQ(Shown.topLeft(), Area.topLeft());
  }
}

// A classroom projector or a scaled laptop is smaller than the window: the whole game must be
// on the screen, every caption and every line of the explanation whole, every bar under its
// button, and both puzzles playable, at every scale the window can be built at.
TEST(FormOnSmallScreens, WholeWindowAtTheLargestScaleThatFitsPlaysBothPuzzles)
{
  // No line of the explanation wraps that does not at the design size, and its last line stands
  // whole in the box.
  const auto LinesOf = [](const QPlainTextEdit& Memo) {
    auto* Layout = qobject_cast<QPlainTextDocumentLayout*>(Memo.document()->documentLayout());
    std::vector<int> Lines;
    for (QTextBlock B = Memo.document()->begin(); B.isValid(); B = B.next()) {
      Layout->ensureBlockLayout(B);
      Lines.push_back(B.layout()->lineCount());
    }
    return Lines;
  };
  const auto LastLine = [](const QPlainTextEdit& Memo) { // its letters' ink, on the screen
    QTextBlock Last = Memo.document()->lastBlock();
    while (Last.text().isEmpty())
      Last = Last.previous();
    QTextCursor End(Last);
    End.movePosition(QTextCursor::EndOfBlock);
    const QTextLine Line = Last.layout()->lineAt(Last.layout()->lineCount() - 1);
    return Ink(Line.glyphRuns())
        .translated(0, Memo.cursorRect(End).top() - Line.y())
        .toAlignedRect();
  };
  const std::vector<int> DesignLines = LinesOf(*TShownForm().Form->MemoSetsumei);
  struct TRow {
    std::string Name;
    QScreen* Screen;
    int K;
  };
  std::vector<TRow> Rows{
      {"1024 x 768 projector", TestScreen(TTestScreen::Projector), 27},
      {"1920 x 1080 laptop at 150 %", TestScreen(TTestScreen::Laptop150), 29},
      {"1366 x 768 laptop at 125 %", TestScreen(TTestScreen::Laptop125), 24},
      {"half size", TestScreen(TTestScreen::Tiny), 15},
  };
  for (int K = TLayoutScale::Smallest; K <= TLayoutScale::Design; ++K)
    Rows.push_back({"just large enough for " + std::to_string(K), ScreenJustFor(K), K});
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TShownForm S(std::nullopt, Row.Screen);
    ASSERT_TRUE(S.Ready);
    TFormMain& F = *S.Form;
    const int K = Row.K;
    EXPECT_EQ(F.LayoutScale().PixelsPerUnit(), K);
    const QRect Area = Row.Screen->availableGeometry();
    EXPECT_TRUE(Area.contains(F.frameGeometry()));
    for (const QWidget* W : F.findChildren<QWidget*>()) {
      if (!W->isVisible())
        continue;
      SCOPED_TRACE(W->metaObject()->className());
      EXPECT_TRUE(Area.contains(QRect(W->mapToGlobal(QPoint(0, 0)), W->size())));
      EXPECT_TRUE(TextFits(*W, W->font()));
    }
    const std::vector<int> Lines = LinesOf(*F.MemoSetsumei);
    ASSERT_EQ(Lines.size(), DesignLines.size());
    for (std::size_t I = 0; I < Lines.size(); ++I)
      EXPECT_LE(Lines[I], DesignLines[I]) << "line " << I + 1;
    EXPECT_TRUE(F.MemoSetsumei->viewport()->rect().contains(LastLine(*F.MemoSetsumei)))
        << "the last line's letters end at " << LastLine(*F.MemoSetsumei).bottom() << " in "
        << F.MemoSetsumei->viewport()->height();
    // The summit at 4, 110 high, covers exactly the columns of bar 4, under button 4.
    const int H = F.MyImage->height();
    for (const int X : {3 * K, 3 * K + 1, 4 * K - 1, 4 * K})
      EXPECT_EQ(S.Top(X), H - 11 * K) << X;
    EXPECT_GT(S.Top(3 * K - 1), H - 11 * K);
    EXPECT_GT(S.Top(4 * K + 1), H - 11 * K);
    for (int I = 1; I <= 31; ++I) {
      const QRect Button = In(F.BarButtons[static_cast<std::size_t>(I)], F.PanelImage);
      const int BarLeft = In(F.MyImage, F.PanelImage).left() + K * (I - 1);
      EXPECT_GT(Button.left(), BarLeft);
      EXPECT_LE(Button.right(), BarLeft + K);
    }
    for (const bool SlopeMode : {true, false}) {
      S.Click(F.RadioGroupKeisya->Item(SlopeMode ? 0 : 1));
      S.Click(F.ButtonBegin);
      TPuzzleSolver Solver(SlopeMode);
      const std::size_t Ended = S.Closer.Boxes.size() + 1;
      while (S.Closer.Boxes.size() < Ended && F.Puzzle().State().ClickCount < 31)
        S.ClickBar(Solver.BestProbe(F.Puzzle().State()));
      EXPECT_EQ(S.Closer.LastText(), "おめでとう\n成功です");
    }
  }
}

// A projector plugged in mid-game: the game goes on at the projector's scale with nothing lost,
// drawn as if played there from the start, and back on the desktop it is as it was.
TEST(FormOnSmallScreens, GameCarriedToAnotherScreenKeepsEverything)
{
  const auto Play = [](TShownForm& S) {
    S.Click(S.Form->ButtonBegin);
    S.ClickBar(16);
    S.ClickBar(8);
  };
  TShownForm S;
  TFormMain& F = *S.Form;
  Play(S);
  const TPuzzleState Before = F.Puzzle().State();
  const std::vector<TColor> OnDesktop = S.Pixels();
  F.windowHandle()->setScreen(TestScreen(TTestScreen::Projector));
  EXPECT_EQ(F.LayoutScale().PixelsPerUnit(), 27);
  const TPuzzleState After = F.Puzzle().State();
  EXPECT_EQ(After.ClickCount, 2);
  EXPECT_EQ(F.EditKai->text(), " 2");
  EXPECT_EQ(
      std::tie(After.LeftEnd.Pos, After.LeftEnd.Height, After.RightEnd.Pos, After.RightEnd.Height),
      std::tie(Before.LeftEnd.Pos, Before.LeftEnd.Height, Before.RightEnd.Pos,
               Before.RightEnd.Height));
  TShownForm There(std::nullopt, TestScreen(TTestScreen::Projector));
  Play(There);
  EXPECT_EQ(F.MyImage->size(), There.Form->MyImage->size());
  EXPECT_TRUE(S.Pixels() == There.Pixels());

  F.windowHandle()->setScreen(TestScreen(TTestScreen::Desktop));
  EXPECT_EQ(F.LayoutScale().PixelsPerUnit(), 30);
  EXPECT_EQ(F.size(), QSize(1120, 641));
  EXPECT_TRUE(S.Pixels() == OnDesktop);
  TPuzzleSolver Solver(true);
  while (S.Closer.Boxes.empty() && F.Puzzle().State().ClickCount < 31)
    S.ClickBar(Solver.BestProbe(F.Puzzle().State()));
  EXPECT_EQ(S.Closer.LastText(), "おめでとう\n成功です");
}

// Each face takes the first installed family that covers the window, its own kind (fixed or
// proportional) first, on any system and under any name the system lists it by: a wrong
// order or a name missed shows the wrong widths or empty boxes.
TEST(GothicFaces, ChoiceFollowsTheOrderOfCandidates)
{
  const QString P = QStringLiteral("ＭＳ Ｐゴシック");
  const QString M = QStringLiteral("ＭＳ ゴシック");
  const QString G = QStringLiteral("ゴシック");
  const struct {
    const char* Name;
    QString Face;
    QStringList Covering;
    QString Chosen;
  } Rows[] = {
      {"IPA, proportional", P, {"IPAGothic", "IPAPGothic"}, "IPAPGothic"},
      {"IPA, fixed", M, {"IPAPGothic", "IPAGothic"}, "IPAGothic"},
      {"plain Gothic is fixed", G, {"IPAPGothic", "IPAGothic"}, "IPAGothic"},
      {"the named face", M, {"IPAGothic", "MS Gothic", M}, M},
      {"its Latin name", P, {"IPAPGothic", "MS PGothic"}, "MS PGothic"},
      {"Hiragino before Noto",
       P,
       {"Noto Sans CJK JP", "Hiragino Kaku Gothic ProN"},
       "Hiragino Kaku Gothic ProN"},
      {"Noto before VL",
       G,
       {"VL Gothic", "Source Han Sans JP", "Noto Sans CJK JP"},
       "Noto Sans CJK JP"},
      {"VL of the same kind", P, {"VL Gothic", "VL PGothic"}, "VL PGothic"},
      {"Takao of the same kind", M, {"TakaoPGothic", "TakaoGothic"}, "TakaoGothic"},
      {"Droid last", G, {"DejaVu Sans", "Droid Sans Fallback"}, "Droid Sans Fallback"},
      {"no Japanese face", P, {"DejaVu Sans"}, ""},
      // The families as a Japanese system lists them, in Japanese where a family has such a name.
      {"Japanese fontconfig, proportional",
       P,
       {"Droid Sans Fallback", "IPAゴシック", "IPA Pゴシック", "Noto Sans CJK JP", "VL Pゴシック"},
       "IPA Pゴシック"},
      {"Japanese fontconfig, fixed", G, {"IPA Pゴシック", "IPAゴシック"}, "IPAゴシック"},
      {"Japanese fontconfig, VL only", M, {"VL Pゴシック", "VL ゴシック"}, "VL ゴシック"},
      {"Japanese fontconfig, Takao only",
       P,
       {"Takaoゴシック", "Takao Pゴシック"},
       "Takao Pゴシック"},
      {"Japanese Windows", G, {"メイリオ", "ＭＳ Ｐゴシック", "ＭＳ ゴシック"}, M},
      {"Windows without the MS faces", P, {"IPAPGothic", "Meiryo", "Yu Gothic"}, "Yu Gothic"},
      {"Japanese Windows without them", M, {"メイリオ", "Noto Sans CJK JP"}, "メイリオ"},
      {"Japanese macOS", P, {"Noto Sans CJK JP", "ヒラギノ角ゴシック"}, "ヒラギノ角ゴシック"},
      {"older Japanese macOS", M, {"ヒラギノ角ゴ ProN", "源ノ角ゴシック JP"}, "ヒラギノ角ゴ ProN"},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    EXPECT_EQ(TGothicFaces::Choose(TGothicFaces::Candidates(Row.Face),
                                   [&Row](const QString& F) { return Row.Covering.contains(F); }),
              Row.Chosen);
  }
}

// Events before the first tick must not fail: the surface is made on demand.
TEST(FormBeforeFirstTick, HandlersFindASurface)
{
  TScriptedRandom Random;
  TFormMain Form(&Random);
  TBoxCloser Closer;
  Form.ButtonDraw->click();
  ASSERT_NE(Form.MyImage, nullptr);
  Form.BarButtons[17]->click(); // the all-zero state refuses it as a wasted try
  TBoxCloser::Settle();
  EXPECT_EQ(Closer.LastText(), "無駄な試行です\n無かったことにします");
  Form.ButtonBegin->click();
  EXPECT_EQ(Form.EditKai->text(), " 0");
}

#include "FormMainTest.moc"
