#include "StartChild.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

namespace {
// Prints the usual table, and keeps each benchmark's seconds per iteration and its counters
// for the summary.
class TRecordingReporter : public benchmark::ConsoleReporter {
public:
  // Colours only on a terminal.
  TRecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_Defaults : OO_Tabular) {}

  std::map<std::string, double> Seconds;
  // Counter name -> benchmark name -> value.
  std::map<std::string, std::map<std::string, double>> Counters;

  void ReportRuns(const std::vector<Run>& Runs) override
  {
    ConsoleReporter::ReportRuns(Runs);
    for (const Run& R : Runs) {
      if (R.run_type != Run::RT_Iteration || R.error_occurred)
        continue;
      Seconds[R.benchmark_name()] =
          R.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(R.time_unit);
      for (const auto& [Counter, Value] : R.counters)
        Counters[Counter][R.benchmark_name()] = Value.value;
    }
  }
};

// The figure of the first benchmark whose name starts with Name (the names carry their
// options, "/iterations:15/manual_time" and the like).
double Find(const std::map<std::string, double>& Figures, const std::string& Name)
{
  const auto At = Figures.lower_bound(Name);
  return At == Figures.end() || At->first.rfind(Name, 0) != 0 ? -1 : At->second;
}

void Row(const char* Figure, const std::string& Measured, const char* Goal, int Met)
{
  std::printf("%-34s %-34s %-14s %s\n", Figure, Measured.c_str(), Goal,
              Met < 0    ? ""
              : Met != 0 ? "met"
                         : "NOT MET");
}

std::string Text(const char* Format, double A, double B = 0, double C = 0)
{
  char Buffer[128];
  std::snprintf(Buffer, sizeof Buffer, Format, A, B, C);
  return Buffer;
}

// One counter's figures, by benchmark name.
const std::map<std::string, double>& Of(const TRecordingReporter& R, const std::string& Counter)
{
  static const std::map<std::string, double> None;
  const auto At = R.Counters.find(Counter);
  return At == R.Counters.end() ? None : At->second;
}

// One table: every figure with its goal.
void PrintSummary(const TRecordingReporter& R)
{
  const auto& S = R.Seconds;
  std::printf("\n");
  Row("figure", "measured", "goal", -1);
  // A figure against its reference: Format shows both, scaled, and their ratio; a negative
  // Limit is no goal.
  const auto Ratio = [](const char* Label, double A, double B, const char* Format, double Scale,
                        const char* Goal, double Limit) {
    if (A > 0 && B > 0)
      Row(Label, Text(Format, A * Scale, B * Scale, A / B), Goal,
          Limit < 0 ? -1 : static_cast<int>(A / B <= Limit));
  };
  Ratio("start to ready (program / floor)", Find(S, "BM_StartToReady/program/"),
        Find(S, "BM_StartToReady/floor/"), "%.1f ms / %.1f ms = %.2fx", 1e3, "<= 1.15x", 1.15);
  Ratio("start to ready (program / bare)", Find(S, "BM_StartToReady/program/"),
        Find(S, "BM_StartToReady/bare/"), "%.1f ms / %.1f ms = %.2fx", 1e3, "-", -1);
  // Times per run: Limit is the goal in seconds, or none when negative.
  const auto Times = [&S](std::initializer_list<std::pair<const char*, const char*>> Rows,
                          const char* Goal, double Limit) {
    for (const auto& [Name, Label] : Rows) {
      const double T = Find(S, Name);
      if (T > 0)
        Row(Label, Text("%.0f us", T * 1e6), Goal, Limit < 0 ? -1 : static_cast<int>(T <= Limit));
    }
  };
  // What a pupil sees is the next frame, 16,700 us away at 60 Hz: a click far inside it, in a
  // few paints, is all the goal asks.
  Times({{"BM_ClickToPicture/sloped:1", "click to picture, puzzle 1"},
         {"BM_ClickToPicture/sloped:0", "click to picture, puzzle 2"}},
        "<= 100 us", 100e-6);
  for (const auto& [Name, Label] :
       {std::pair{"BM_ClickToPicture/sloped:1", "paint events a click, puzzle 1"},
        std::pair{"BM_ClickToPicture/sloped:0", "paint events a click, puzzle 2"}})
    if (const double P = Find(Of(R, "paints_per_click"), Name); P > 0)
      Row(Label, Text("%.2f", P), "<= 8", static_cast<int>(P <= 8));
  Ratio("peak memory at ready (prog / floor)", Find(Of(R, "peak_kB"), "BM_StartToReady/program/"),
        Find(Of(R, "peak_kB"), "BM_StartToReady/floor/"), "%.1f MB / %.1f MB = %.2fx", 1.0 / 1024,
        "<= 1.10x", 1.10);
  Ratio("peak memory at ready (prog / bare)", Find(Of(R, "peak_kB"), "BM_StartToReady/program/"),
        Find(Of(R, "peak_kB"), "BM_StartToReady/bare/"), "%.1f MB / %.1f MB = %.2fx", 1.0 / 1024,
        "-", -1);
  // Medians of the three in turns, in microseconds; the floor is Clear and the bars' finished
  // pixels written once.
  const double Example = Find(Of(R, "example_us"), "BM_ExampleAgainstFloor");
  const double Floor = Find(Of(R, "floor_us"), "BM_ExampleAgainstFloor");
  Ratio("DrawExample / floor, interleaved", Example, Floor, "%.1f us / %.1f us = %.2fx", 1, "<= 2x",
        2);
  Ratio("floor / Clear, interleaved", Floor, Find(Of(R, "clear_us"), "BM_ExampleAgainstFloor"),
        "%.1f us / %.1f us = %.2fx", 1, "-", -1);
  Times({{"BM_FillPolygonBar", "fill one bar"},
         {"BM_PlayedPuzzle/sloped:1", "a played puzzle 1, drawing only"},
         {"BM_PlayedPuzzle/sloped:0", "a played puzzle 2, drawing only"}},
        "-", -1);
}
} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::size_t FlagLength = std::strlen(StartChildFlag);
  if (argc > 1 && std::strncmp(argv[1], StartChildFlag, FlagLength) == 0)
    return RunStartChild(argv[1] + FlagLength, argc, argv);

  QApplication App(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRecordingReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  PrintSummary(Reporter);
  benchmark::Shutdown();
  return 0;
}
