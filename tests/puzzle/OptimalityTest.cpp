#include "support/TPuzzleSolver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace {
// Plays Pick from State against every sequence of coins; calls OnEnd with each game's length.
template <typename TPick, typename TOnEnd>
void PlayAllCoins(TPuzzleSolver& Solver, const TPuzzleState& State, int Depth, TPick Pick,
                  TOnEnd OnEnd)
{
  const std::uint8_t Pos = Pick(State);
  ASSERT_TRUE(TPuzzleSolver::Allowed(State, Pos));
  for (const auto& Next : Solver.Outcomes(State, Pos)) {
    if (Next.Summit)
      OnEnd(Depth + 1);
    else
      PlayAllCoins(Solver, Next.State, Depth + 1, Pick, OnEnd);
  }
}

// The memoised search takes tens of milliseconds; a second means the memo broke. Sanitizer
// builds and WebAssembly under node run several times slower and share the machine with the
// other tests: timed only natively, without sanitizers.
void ExpectQuick(std::chrono::steady_clock::time_point Started)
{
  const auto Elapsed = std::chrono::steady_clock::now() - Started;
  ::testing::Test::RecordProperty(
      "search_ms",
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Elapsed).count()));
#if !defined(__SANITIZE_ADDRESS__) && !defined(__EMSCRIPTEN__)
  EXPECT_LT(Elapsed, std::chrono::seconds(1));
#endif
}
} // namespace

// The slanted puzzle's promise: halving finds the summit in exactly 5 probes whatever the
// coins do, and nothing does better, even with every coin in the player's favour.
TEST(Optimality, SlopedPuzzleNeedsExactlyFiveAndOnlySixteenOpensIt)
{
  const auto Started = std::chrono::steady_clock::now();
  TPuzzleSolver Solver(true);
  const auto& Start = Solver.Initial();

  EXPECT_EQ(Solver.Value(Start), 5);
  EXPECT_EQ(Solver.BestCase(Start), 5);
  std::set<int> Openings;
  for (std::uint8_t Pos = 1; Pos <= 31; ++Pos)
    if (Solver.WorstAfter(Start, Pos) == 5)
      Openings.insert(Pos);
  EXPECT_EQ(Openings, std::set<int>{16});

  std::set<int> Lengths;
  int Games = 0;
  PlayAllCoins(
      Solver, Start, 0,
      [](const TPuzzleState& State) {
        return static_cast<std::uint8_t>((State.LeftEnd.Pos + State.RightEnd.Pos) / 2);
      },
      [&](int Length) {
        Lengths.insert(Length);
        ++Games;
      });
  EXPECT_EQ(Lengths, std::set<int>{5});
  EXPECT_EQ(Games, 16); // a coin at each of the four splits

  ExpectQuick(Started);
}

// The level puzzle's promise: 7 probes with Fibonacci splitting, never fewer, and exactly
// the openings 11, 12, 13, 19, 20 and 21 keep 7 within reach.
TEST(Optimality, LevelPuzzleNeedsExactlySevenFromTheFibonacciOpenings)
{
  const auto Started = std::chrono::steady_clock::now();
  TPuzzleSolver Solver(false);
  const auto& Start = Solver.Initial();

  EXPECT_EQ(Solver.Value(Start), 7);
  EXPECT_EQ(Solver.BestCase(Start), 7);
  std::set<int> Openings;
  for (std::uint8_t Pos = 1; Pos <= 31; ++Pos)
    if (Solver.WorstAfter(Start, Pos) == 7)
      Openings.insert(Pos);
  EXPECT_EQ(Openings, (std::set<int>{11, 12, 13, 19, 20, 21}));

  std::set<int> Lengths;
  PlayAllCoins(
      Solver, Start, 0, [&](const TPuzzleState& State) { return Solver.BestProbe(State); },
      [&](int Length) { Lengths.insert(Length); });
  EXPECT_EQ(Lengths, std::set<int>{7});

  ExpectQuick(Started);
}
