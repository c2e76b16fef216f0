#pragma once

#include "puzzle/TPuzzle.h"
#include "support/TEffectsRecorder.h"
#include "support/TPuzzleTesting.h"
#include "support/TScriptedRandom.h"

#include <algorithm>
#include <array>
#include <vector>

// Exhaustive game search over the real engine: every state is copied into the engine, each
// probe is made with the coin forced both ways, and the results are memoised by the bar
// positions (the rules decide on positions alone; heights only shape the picture).
class TPuzzleSolver {
public:
  static constexpr int Unknown = -1;

  explicit TPuzzleSolver(bool SlopeMode) : Engine(Effects, Random)
  {
    Effects.KeepLog = false;
    Start.LeftEnd = {0, 10};
    Start.Best = Start.LeftEnd;
    Start.RightEnd = {32, 10};
    Start.SlopeMode = SlopeMode;
    Start.Target = SlopeMode ? 5 : 7;
    Worst.assign(std::size_t{2} * 33 * 33 * 33, Unknown);
    Luckiest.assign(Worst.size(), Unknown);
  }

  [[nodiscard]] const TPuzzleState& Initial() const { return Start; }

  // The probes still needed to reveal the summit, with best play against every coin.
  int Value(const TPuzzleState& State) { return Solve(State, Worst, false); }
  // The fewest probes still needed when every coin falls the player's way.
  int BestCase(const TPuzzleState& State) { return Solve(State, Luckiest, true); }

  // Probes needed after first probing Pos: 1 for Pos itself, then best play.
  int WorstAfter(const TPuzzleState& State, std::uint8_t Pos)
  {
    int Result = 0;
    for (const auto& Next : Outcomes(State, Pos))
      Result = std::max(Result, 1 + (Next.Summit ? 0 : Value(Next.State)));
    return Result;
  }

  std::uint8_t BestProbe(const TPuzzleState& State)
  {
    const int Target = Value(State);
    for (std::uint8_t Pos = 1; Pos <= 31; ++Pos)
      if (Allowed(State, Pos) && WorstAfter(State, Pos) == Target)
        return Pos;
    return 0;
  }

  struct TOutcome {
    TPuzzleState State;
    bool Summit = false;
    std::uint32_t Coin = 0;
  };

  // The distinct results of one probe, one per way the coin can fall (one when no coin is
  // thrown).
  std::vector<TOutcome> Outcomes(const TPuzzleState& State, std::uint8_t Pos)
  {
    std::vector<TOutcome> Result;
    for (std::uint32_t Coin = 0; Coin < 2; ++Coin) {
      TPuzzleTesting::SetState(Engine, Normalised(State));
      bool CoinThrown = false;
      bool FirstReal = true;
      Random.OnInteger = [&](std::uint32_t N) {
        if (N != 2)
          return 0U;
        CoinThrown = true;
        return Coin;
      };
      Random.OnReal = [&] {
        // The level rule throws its coin before it draws any height.
        const double Value = FirstReal ? (Coin == 0 ? 0.25 : 0.75) : 0.5;
        CoinThrown = CoinThrown || FirstReal;
        FirstReal = false;
        return Value;
      };
      const int FinishesBefore = Effects.Finishes;
      Engine.Probe(Pos);
      TOutcome Outcome{Engine.State(), Effects.Finishes > FinishesBefore, Coin};
      const bool Duplicate = !Result.empty() &&
                             SamePositions(Result.front().State, Outcome.State) &&
                             Result.front().Summit == Outcome.Summit;
      if (!Duplicate)
        Result.push_back(Outcome);
      if (!CoinThrown)
        break;
    }
    return Result;
  }

  static bool Allowed(const TPuzzleState& State, std::uint8_t Pos)
  {
    return Pos > State.LeftEnd.Pos && Pos < State.RightEnd.Pos && Pos != State.Best.Pos;
  }

private:
  static bool SamePositions(const TPuzzleState& A, const TPuzzleState& B)
  {
    return A.LeftEnd.Pos == B.LeftEnd.Pos && A.Best.Pos == B.Best.Pos &&
           A.RightEnd.Pos == B.RightEnd.Pos;
  }

  // Modest heights keep the search clear of the height limit, which positions never reach.
  static TPuzzleState Normalised(TPuzzleState State)
  {
    const bool First = State.ClickCount == 0;
    State.LeftEnd.Height = 10;
    State.RightEnd.Height = 10;
    State.Best.Height = State.Best.Pos == State.LeftEnd.Pos ? 10 : 100;
    State.ClickCount = First ? 0 : 1;
    return State;
  }

  static std::size_t Key(const TPuzzleState& State)
  {
    return ((State.ClickCount == 0 ? 0U : 1U) * 33U + State.LeftEnd.Pos) * 33U * 33U +
           State.Best.Pos * 33U + State.RightEnd.Pos;
  }

  int Solve(const TPuzzleState& State, std::vector<int>& Memo, bool Lucky)
  {
    int& Slot = Memo[Key(State)];
    if (Slot != Unknown)
      return Slot;
    int Best = 1000;
    for (std::uint8_t Pos = 1; Pos <= 31; ++Pos) {
      if (!Allowed(State, Pos))
        continue;
      int Here = Lucky ? 1000 : 0;
      for (const auto& Next : Outcomes(State, Pos)) {
        const int Probes = 1 + (Next.Summit ? 0 : Solve(Next.State, Memo, Lucky));
        Here = Lucky ? std::min(Here, Probes) : std::max(Here, Probes);
      }
      Best = std::min(Best, Here);
    }
    Slot = Best;
    return Slot;
  }

  TEffectsRecorder Effects;
  TScriptedRandom Random;
  TPuzzle Engine;
  TPuzzleState Start;
  std::vector<int> Worst;
  std::vector<int> Luckiest;
};
