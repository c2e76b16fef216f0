// The whole window: start-up against a bare Qt window, and a bar button's click to the
// repainted surface.
#include "StartChild.h"
#include "support/Strategy.h"

#include "MyImageU/TMyImage.h"
#include "app/TFormMain.h"
#include "controls/TRadioGroup.h"
#include "puzzle/TPuzzleEffects.h"
#include "support/TPuzzleTesting.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {
using TClock = std::chrono::steady_clock;

long PeakKilobytes()
{
  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  return Usage.ru_maxrss;
}

class TNoEffects : public TPuzzleEffects {
public:
  void ShowCount(const std::string&) override {}
  void ShowTarget(const std::string&) override {}
  void LockBarButtons(bool) override {}
  void EnableDrawButton(bool) override {}
  void ShowMessage(const std::string&) override {}
  void ClearImage() override {}
  void DrawMark(TRevealedBar, bool) override {}
  void DrawExample(int, bool) override {}
};

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
  long long Paints = 0;
  bool eventFilter(QObject* /*Watched*/, QEvent* Event) override
  {
    if (Event->type() == QEvent::Paint)
      ++Paints;
    return false;
  }
};

// The text floor: the window's texts in the window's faces and sizes, one label each, as any
// window that shows them must lay them out.
void ShowTextFloor(QWidget& Window)
{
  const auto Face = [](const char* Family, int Pixels, bool Bold) {
    QFont Font(QString::fromUtf8(Family));
    Font.setStyleStrategy(QFont::NoFontMerging);
    Font.setPixelSize(Pixels);
    Font.setBold(Bold);
    return Font;
  };
  const QFont Main = Face("IPAGothic", 19, true);
  const struct {
    QFont Font;
    const char* Text;
  } Labels[] = {
      {Main, "終了"},
      {Main, "パズル選択"},
      {Main, "１（傾斜つき）"},
      {Main, "２（傾斜なし）"},
      {Main, "開始"},
      {Main, "目標　　回"},
      {Main, "　　　　回"},
      {Main, "説明を隠す"},
      {Main, "棒グラフの例"},
      {Face("IPAGothic", 21, true), " 5"},
      {Face("IPAGothic", 21, true), " 0"},
      {Face("IPAPGothic", 19, false),
       "  ３１個の棒からなる棒グラフがあり，必ず山の形になっています。\n"
       "  右下の［棒グラフの例］をクリックすると，例が見られます。\n\n"
       "  パズルを［開始］したとき，グラフは隠れていて見えませんが，下にある３１個のボタンを"
       "クリックすると，\n  その部分だけグラフが現れます。\n"
       "  何回かクリックして，頂点を見つけることが目的です。\n\n"
       "  パズル１は，棒グラフの頭が斜線になっていて，右上がりの部分か右下がりの部分かが"
       "わかります。\n  これを手がかりにして，５回クリックするだけで，見つけることができます。\n\n"
       "  パズル２は，棒の頭がすべて水平です。７回クリツクして，見つけることができます。     "
       "［閉じる］\n"},
      {Face("IPAGothic", 16, true), "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 "
                                    "24 25 26 27 28 29 30 31"},
  };
  Window.setFont(Face("IPAPGothic", 12, false));
  int Top = 0;
  for (const auto& Row : Labels) {
    auto* Label = new QLabel(&Window);
    Label->setTextFormat(Qt::PlainText);
    Label->setFont(Row.Font);
    Label->setText(QString::fromUtf8(Row.Text));
    Label->move(0, Top);
    Top += 30;
  }
}

// One child start-up: its time and peak memory.
struct TStart {
  double Seconds = 0;
  long PeakKB = 0;
};

bool StartOnce(const char* Kind, TStart& Result)
{
  char Self[4096] = {};
  const ssize_t Length = readlink("/proc/self/exe", Self, sizeof Self - 1);
  if (Length <= 0)
    return false;
  const std::string Command = std::string(Self) + " " + StartChildFlag + Kind + " 2>/dev/null";
  FILE* Child = popen(Command.c_str(), "r");
  if (Child == nullptr)
    return false;
  long Microseconds = 0;
  const bool Read = std::fscanf(Child, "%ld %ld", &Microseconds, &Result.PeakKB) == 2;
  Result.Seconds = static_cast<double>(Microseconds) * 1e-6;
  return pclose(Child) == 0 && Read;
}

void BM_StartToReady(benchmark::State& State, const char* Kind)
{
  double PeakSum = 0;
  for (auto _ : State) {
    TStart Start;
    if (!StartOnce(Kind, Start)) {
      State.SkipWithError("the child start-up failed");
      return;
    }
    State.SetIterationTime(Start.Seconds);
    PeakSum += static_cast<double>(Start.PeakKB);
  }
  State.counters["peak_kB"] = PeakSum / static_cast<double>(State.iterations());
}
BENCHMARK_CAPTURE(BM_StartToReady, bare, "bare")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartToReady, floor, "floor")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartToReady, program, "program")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

// From the press of a bar button to the window painted again (the new bar and the count). A click
// that would find the summit is not timed: its end message is a modal box, not a picture; the game
// starts anew.
void BM_ClickToPicture(benchmark::State& State)
{
  const bool Sloped = State.range(0) == 1;
  TSeededRandom Random(1);
  TFormMain Form(&Random);
  Form.ShowCentred();
  while (Form.TimerCreate->isActive())
    QCoreApplication::processEvents();
  // Safety net: should a box open after all, close it at once.
  QTimer Closer;
  QObject::connect(&Closer, &QTimer::timeout, [] {
    if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      Box->done(QMessageBox::Ok);
  });
  Closer.start(0);
  QTest::mouseClick(Form.RadioGroupKeisya->Item(Sloped ? 0 : 1), Qt::LeftButton);
  QTest::mouseClick(Form.ButtonBegin, Qt::LeftButton);
  TNoEffects Nothing;
  TPuzzle Oracle(Nothing, Random);   // never probes: only asks what a probe would answer
  QCoreApplication::processEvents(); // the start's own repaint is no click's
  TPaintCounter Counter;             // every widget's paint events
  QCoreApplication::instance()->installEventFilter(&Counter);
  long long Untimed = 0;
  for (auto _ : State) {
    const TPuzzleState& P = Form.Puzzle().State();
    const std::uint8_t Pos = NextProbe(P);
    TPuzzleTesting::SetState(Oracle, P);
    const bool Summit = TPuzzleTesting::Answer(Oracle, Pos).Summit;
    if (Summit) {
      State.PauseTiming();
      const long long Before = Counter.Paints;
      QTest::mouseClick(Form.ButtonBegin, Qt::LeftButton);
      QCoreApplication::processEvents(); // the new game's repaint, not the next click's
      Untimed += Counter.Paints - Before;
      State.ResumeTiming();
    }
    QTest::mouseClick(Form.BarButtons[NextProbe(Form.Puzzle().State())], Qt::LeftButton);
    QCoreApplication::processEvents(); // the repaint the click asked for, as the program does it
  }
  QCoreApplication::instance()->removeEventFilter(&Counter);
  // At least one paint a click, or the figure would time nothing; few, or the click repaints
  // widgets that did not change.
  State.counters["paints_per_click"] =
      static_cast<double>(Counter.Paints - Untimed) / static_cast<double>(State.iterations());
}
BENCHMARK(BM_ClickToPicture)->Arg(1)->Arg(0)->ArgName("sloped")->Unit(benchmark::kMicrosecond);
} // namespace

int RunStartChild(const char* Kind, int argc, char** argv)
{
  const auto Begin = TClock::now();
  QApplication App(argc, argv);
  std::unique_ptr<QWidget> Window;
  QTimer* FirstTick = nullptr;
  if (std::strcmp(Kind, "program") == 0) {
    auto* Form = new TFormMain;
    Form->ShowCentred();
    Window.reset(Form);
    FirstTick = Form->TimerCreate;
  } else {
    Window = std::make_unique<QWidget>();
    Window->resize(1120, 641);
    if (std::strcmp(Kind, "floor") == 0)
      ShowTextFloor(*Window);
    Window->show();
    FirstTick = new QTimer(Window.get());
    FirstTick->setInterval(1);
    FirstTick->setSingleShot(true);
    FirstTick->start();
  }
  // Connected after the window's own handler, so it runs when the first tick has been handled.
  QObject::connect(FirstTick, &QTimer::timeout, [&] {
    const auto Ready = TClock::now();
    std::printf("%lld %ld\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::microseconds>(Ready - Begin).count()),
                PeakKilobytes());
    std::fflush(stdout);
    QCoreApplication::exit(0);
  });
  return QApplication::exec();
}
