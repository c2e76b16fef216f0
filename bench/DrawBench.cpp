#include "support/Strategy.h"

#include "MyImageU/TMyImage.h"
#include "puzzle/BarFigure.h"
#include "puzzle/TPicture.h"
#include "puzzle/TPuzzle.h"
#include "puzzle/TPuzzleEffects.h"
#include "runtime/Random.h"

#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {
// The surface at the window's design size.
struct TDesignSurface {
  std::unique_ptr<QWidget> Host = std::make_unique<QWidget>();
  TMyImage* Image;
  TDesignSurface()
  {
    Host->resize(933, 598);
    Image = new TMyImage(Host.get());
    Image->Clear();
  }
};

// Carries out only the drawing effects, as the window does: the picture recorded, and drawn
// whole from the record; the rest have no window to act on.
class TDrawingEffects : public TPuzzleEffects {
public:
  explicit TDrawingEffects(TMyImage& Surface) : Image(Surface) {}
  bool Finished = false;
  void ShowCount(const std::string&) override {}
  void ShowTarget(const std::string&) override {}
  void LockBarButtons(bool) override {}
  void EnableDrawButton(bool) override {}
  void ShowMessage(const std::string&) override { Finished = true; }
  void ClearImage() override
  {
    Picture.Clear();
    Picture.Draw(Image, 30);
  }
  void DrawMark(TRevealedBar Bar, bool SlopeMode) override
  {
    Picture.Reveal(Bar, SlopeMode);
    Picture.Draw(Image, 30);
  }
  void DrawExample(int Summit, bool SlopeMode) override
  {
    Picture.Example(Summit, SlopeMode);
    Picture.Draw(Image, 30);
  }

private:
  TMyImage& Image;
  TPicture Picture;
};

void BM_Clear(benchmark::State& State)
{
  TDesignSurface S;
  for (auto _ : State)
    S.Image->Clear();
}
BENCHMARK(BM_Clear);

void BM_DrawExample(benchmark::State& State)
{
  TDesignSurface S;
  TSeededRandom Random(1);
  for (auto _ : State)
    DrawMountain(*S.Image, true, ExampleSummit(Random), 30);
}
BENCHMARK(BM_DrawExample);

// What an example's finished picture holds beyond white, row by row: runs of one colour each.
struct TRun {
  int Y;
  int Left;
  int Right; // one past the last pixel
  std::uint32_t Pixel;
};

std::vector<TRun> FinishedRuns(const TRaster& R)
{
  std::vector<TRun> Runs;
  const std::uint32_t White = R.Bits()[0];
  for (int Y = 0; Y < R.Height(); ++Y) {
    const std::uint32_t* Row = R.Bits() + static_cast<std::ptrdiff_t>(Y) * R.Width();
    for (int X = 0; X < R.Width();) {
      int End = X + 1;
      while (End < R.Width() && Row[End] == Row[X])
        ++End;
      if (Row[X] != White)
        Runs.push_back({Y, X, End, Row[X]});
      X = End;
    }
  }
  return Runs;
}

// The floor of drawing an example: the surface cleared, then the bars' finished pixels written
// once, without outlines, checks or any search. Written past the raster's own drawing, as
// nothing in the program may: the floor is a reference, not a way to draw.
void WriteRuns(TRaster& R, const std::vector<TRun>& Runs)
{
  auto* Pixels = const_cast<std::uint32_t*>(R.Bits()); // NOLINT: the floor writes past the raster
  for (const TRun& Run : Runs) {
    std::uint32_t* Row = Pixels + static_cast<std::ptrdiff_t>(Run.Y) * R.Width();
    std::fill(Row + Run.Left, Row + Run.Right, Run.Pixel);
  }
}

// Clear, the example and the floor in turns on one surface, so that all three meet the same
// machine state; the figure is the ratio of the medians of the example and the floor.
void BM_ExampleAgainstFloor(benchmark::State& State)
{
  using TClock = std::chrono::steady_clock;
  TDesignSurface S;
  TSeededRandom Random(1);
  std::vector<double> Clears;
  std::vector<double> Examples;
  std::vector<double> Floors;
  for (auto _ : State) {
    const auto Start = TClock::now();
    S.Image->Clear();
    const auto Cleared = TClock::now();
    DrawMountain(*S.Image, true, ExampleSummit(Random), 30);
    const auto Drawn = TClock::now();
    const std::vector<TRun> Runs = FinishedRuns(S.Image->Canvas()); // untimed
    const auto FloorStart = TClock::now();
    S.Image->Clear();
    WriteRuns(S.Image->Canvas(), Runs);
    const auto FloorEnd = TClock::now();
    benchmark::DoNotOptimize(S.Image->Canvas().Bits());
    Clears.push_back(std::chrono::duration<double>(Cleared - Start).count());
    Examples.push_back(std::chrono::duration<double>(Drawn - Cleared).count());
    Floors.push_back(std::chrono::duration<double>(FloorEnd - FloorStart).count());
  }
  const auto Median = [](std::vector<double>& Times) {
    std::nth_element(Times.begin(), Times.begin() + std::ssize(Times) / 2, Times.end());
    return Times[Times.size() / 2] * 1e6;
  };
  State.counters["clear_us"] = Median(Clears);
  State.counters["example_us"] = Median(Examples);
  State.counters["floor_us"] = Median(Floors);
}
BENCHMARK(BM_ExampleAgainstFloor)->Iterations(2000);

void BM_FillPolygonBar(benchmark::State& State)
{
  TDesignSurface S;
  TSeededRandom Random(1);
  DrawMountain(*S.Image, true, ExampleSummit(Random), 30);
  const std::array<TRealPoint, 4> Bar{{{15, 0}, {16, 0}, {16, 11.0}, {15, 11.0}}};
  for (auto _ : State)
    S.Image->FillPolygon(Bar);
}
BENCHMARK(BM_FillPolygonBar);

// A whole puzzle, from "開始" to the summit, with every bar drawn.
void BM_PlayedPuzzle(benchmark::State& State)
{
  const bool Sloped = State.range(0) == 1;
  TDesignSurface S;
  TSeededRandom Random(1);
  TDrawingEffects Effects(*S.Image);
  TPuzzle Puzzle(Effects, Random);
  Puzzle.Select(Sloped ? 0 : 1);
  for (auto _ : State) {
    Puzzle.Begin();
    Effects.Finished = false;
    while (!Effects.Finished)
      Puzzle.Probe(NextProbe(Puzzle.State()));
  }
}
BENCHMARK(BM_PlayedPuzzle)->Arg(1)->Arg(0)->ArgName("sloped");
} // namespace
