#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {
// Prints the usual table, and keeps each benchmark's time per iteration for the summary.
class TRecordingReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> Nanoseconds;

  void ReportRuns(const std::vector<Run>& Runs) override
  {
    ConsoleReporter::ReportRuns(Runs);
    for (const Run& R : Runs)
      if (R.run_type == Run::RT_Iteration)
        Nanoseconds[R.benchmark_name()] = R.GetAdjustedRealTime();
  }
};
} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication App(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRecordingReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  const auto Clear = Reporter.Nanoseconds.find("BM_Clear");
  const auto Example = Reporter.Nanoseconds.find("BM_DrawExample");
  if (Clear != Reporter.Nanoseconds.end() && Example != Reporter.Nanoseconds.end())
    std::printf("\nDrawExample / Clear = %.2f (goal: at most 2)\n",
                Example->second / Clear->second);
  benchmark::Shutdown();
  return 0;
}
