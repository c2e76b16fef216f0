#include "support/TPuzzleSolver.h"

#include "support/TPuzzleTesting.h"

#include <algorithm>

TPuzzleSolver::TPuzzleSolver(bool SlopeMode) : Engine(Effects, Random)
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

int TPuzzleSolver::WorstAfter(const TPuzzleState& State, std::uint8_t Pos)
{
  int Result = 0;
  for (const auto& Next : Outcomes(State, Pos))
    Result = std::max(Result, 1 + (Next.Summit ? 0 : Value(Next.State)));
  return Result;
}

std::uint8_t TPuzzleSolver::BestProbe(const TPuzzleState& State)
{
  const int Target = Value(State);
  for (std::uint8_t Pos = 1; Pos <= 31; ++Pos)
    if (Allowed(State, Pos) && WorstAfter(State, Pos) == Target)
      return Pos;
  return 0;
}

std::vector<TPuzzleSolver::TOutcome> TPuzzleSolver::Outcomes(const TPuzzleState& State,
                                                             std::uint8_t Pos)
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
    const bool Duplicate = !Result.empty() && SamePositions(Result.front().State, Outcome.State) &&
                           Result.front().Summit == Outcome.Summit;
    if (!Duplicate)
      Result.push_back(Outcome);
    if (!CoinThrown)
      break;
  }
  return Result;
}

bool TPuzzleSolver::SamePositions(const TPuzzleState& A, const TPuzzleState& B)
{
  return A.LeftEnd.Pos == B.LeftEnd.Pos && A.Best.Pos == B.Best.Pos &&
         A.RightEnd.Pos == B.RightEnd.Pos;
}

TPuzzleState TPuzzleSolver::Normalised(TPuzzleState State)
{
  const bool First = State.ClickCount == 0;
  State.LeftEnd.Height = 10;
  State.RightEnd.Height = 10;
  State.Best.Height = State.Best.Pos == State.LeftEnd.Pos ? 10 : 100;
  State.ClickCount = First ? 0 : 1;
  return State;
}

std::size_t TPuzzleSolver::Key(const TPuzzleState& State)
{
  return ((State.ClickCount == 0 ? 0U : 1U) * 33U + State.LeftEnd.Pos) * 33U * 33U +
         State.Best.Pos * 33U + State.RightEnd.Pos;
}

int TPuzzleSolver::Solve(const TPuzzleState& State, std::vector<int>& Memo, bool Lucky)
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
