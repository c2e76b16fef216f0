#pragma once

#include "puzzle/TPuzzle.h"
#include "support/TEffectsRecorder.h"
#include "support/TScriptedRandom.h"

#include <cstdint>
#include <vector>

// Exhaustive game search over the real engine: every state is copied into the engine, each
// probe is made with the coin forced both ways, and the results are memoised by the bar
// positions (the rules decide on positions alone; heights only shape the picture).
class TPuzzleSolver {
public:
  static constexpr int Unknown = -1;

  explicit TPuzzleSolver(bool SlopeMode);

  [[nodiscard]] const TPuzzleState& Initial() const { return Start; }

  // The probes still needed to reveal the summit, with best play against every coin.
  int Value(const TPuzzleState& State) { return Solve(State, Worst, false); }
  // The fewest probes still needed when every coin falls the player's way.
  int BestCase(const TPuzzleState& State) { return Solve(State, Luckiest, true); }

  // Probes needed after first probing Pos: 1 for Pos itself, then best play.
  int WorstAfter(const TPuzzleState& State, std::uint8_t Pos);
  std::uint8_t BestProbe(const TPuzzleState& State);

  struct TOutcome {
    TPuzzleState State;
    bool Summit = false;
    std::uint32_t Coin = 0;
  };

  // The distinct results of one probe, one per way the coin can fall (one when no coin is
  // thrown).
  std::vector<TOutcome> Outcomes(const TPuzzleState& State, std::uint8_t Pos);

  static bool Allowed(const TPuzzleState& State, std::uint8_t Pos)
  {
    return Pos > State.LeftEnd.Pos && Pos < State.RightEnd.Pos && Pos != State.Best.Pos;
  }

private:
  static bool SamePositions(const TPuzzleState& A, const TPuzzleState& B);
  // Modest heights keep the search clear of the height limit, which positions never reach.
  static TPuzzleState Normalised(TPuzzleState State);
  static std::size_t Key(const TPuzzleState& State);
  int Solve(const TPuzzleState& State, std::vector<int>& Memo, bool Lucky);

  TEffectsRecorder Effects;
  TScriptedRandom Random;
  TPuzzle Engine;
  TPuzzleState Start;
  std::vector<int> Worst;
  std::vector<int> Luckiest;
};
