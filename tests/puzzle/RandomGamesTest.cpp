#include "puzzle/TPuzzle.h"
#include "runtime/Errors.h"
#include "support/TEffectsRecorder.h"
#include "support/TScriptedRandom.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {
// YAMARUKA_RANDOM_GAMES raises the count for a longer run.
int GameCount()
{
  const char* Text = std::getenv("YAMARUKA_RANDOM_GAMES");
  const int Asked = Text != nullptr ? std::atoi(Text) : 0;
  return Asked > 0 ? Asked : 100000;
}

// The promises every answered probe must keep, whatever the player and the coins do.
void ExpectInvariants(const TPuzzleState& S, const TProbeAnswer& Answer, const TPuzzleState& Old,
                      bool Finished)
{
  ASSERT_LT(S.LeftEnd.Pos, S.RightEnd.Pos);
  ASSERT_LE(S.ClickCount, 31);
  if (!Finished) {
    ASSERT_GE(S.RightEnd.Pos - S.LeftEnd.Pos, 2) << "the summit must lie strictly inside";
  }
  // The range never grows.
  ASSERT_GE(S.LeftEnd.Pos, Old.LeftEnd.Pos);
  ASSERT_LE(S.RightEnd.Pos, Old.RightEnd.Pos);
  if (S.SlopeMode) {
    ASSERT_EQ(S.Best, (TBarMark{0, 10}));
    // Every revealed bar stands higher than both ends it was compared with.
    ASSERT_GT(Answer.Mark.Height, Old.LeftEnd.Height);
    ASSERT_GT(Answer.Mark.Height, Old.RightEnd.Height);
  } else {
    ASSERT_LT(S.LeftEnd.Pos, S.Best.Pos);
    ASSERT_LT(S.Best.Pos, S.RightEnd.Pos);
    // A lower bar is the rounded mean of two heights, which can meet Best's when they differ
    // by one; so Best is only never below the ends.
    ASSERT_GE(S.Best.Height, S.LeftEnd.Height);
    ASSERT_GE(S.Best.Height, S.RightEnd.Height);
    if (Answer.Mark == S.Best) { // a winner outgrows both old ends and the old best
      ASSERT_GT(Answer.Mark.Height, Old.LeftEnd.Height);
      ASSERT_GT(Answer.Mark.Height, Old.RightEnd.Height);
      if (Old.ClickCount > 0) {
        ASSERT_GT(Answer.Mark.Height, Old.Best.Height);
      }
    }
  }
}

// Shows which answer a probe produced, by watching the engine's drawing effect.
class TWatchingRecorder : public TEffectsRecorder {
public:
  TProbeAnswer Last;
  int Marks = 0;
  void DrawMark(TRevealedBar Bar, bool SlopeMode) override
  {
    Last.Mark = Bar.Mark;
    Last.Slope = Bar.Slope;
    ++Marks;
    TEffectsRecorder::DrawMark(Bar, SlopeMode);
  }
};
} // namespace

// Random players, wasted tries, clicks on a locked board, puzzle changes and restarts
// mid-game: every answered probe keeps the invariants and every game ends exactly once.
TEST(RandomGames, InvariantsHoldAfterEveryProbe)
{
  const int Games = GameCount();
  TWatchingRecorder Effects;
  Effects.KeepLog = false;
  TSeededRandom Random(20261208);
  TSeededRandom Player(7);
  TPuzzle Puzzle(Effects, Random);
  int Ended = 0;
  int Overflows = 0;
  long long Probes = 0;
  for (int Game = 0; Game < Games; ++Game) {
    Puzzle.Select(static_cast<int>(Player.Integer(2)));
    Puzzle.Begin();
    const int FinishesBefore = Effects.Finishes;
    bool Abandoned = false;
    while (Effects.Finishes == FinishesBefore) {
      const auto Move = Player.Integer(1000);
      if (Move < 2) { // a change of puzzle abandons the game
        Puzzle.Select(static_cast<int>(Player.Integer(2)));
        Abandoned = true;
        break;
      }
      if (Move < 4) { // a restart
        Puzzle.Begin();
        continue;
      }
      const auto Old = Puzzle.State();
      const auto Pos = static_cast<std::uint8_t>(Move < 100 ? Player.Integer(33) : [&] {
        // Mostly probes inside the open range, so games get somewhere.
        const auto Width = static_cast<std::uint32_t>(Old.RightEnd.Pos - Old.LeftEnd.Pos);
        return Old.LeftEnd.Pos + Player.Integer(Width);
      }());
      const int MarksBefore = Effects.Marks;
      try {
        Puzzle.Probe(Pos);
      } catch (const ERangeError&) {
        ++Overflows;
        ASSERT_FALSE(Old.SlopeMode);
        ASSERT_EQ(Puzzle.State(), Old);
        continue;
      }
      if (Effects.Marks == MarksBefore) { // refused
        ASSERT_EQ(Puzzle.State(), Old);
        continue;
      }
      ++Probes;
      const bool Finished = Effects.Finishes > FinishesBefore;
      ASSERT_EQ(Puzzle.State().ClickCount, Old.ClickCount + 1);
      ExpectInvariants(Puzzle.State(), Effects.Last, Old, Finished);
      ASSERT_EQ(Effects.Locked, Finished);
    }
    if (!Abandoned) {
      ++Ended;
      ASSERT_EQ(Effects.Finishes, FinishesBefore + 1);
      ASSERT_TRUE(Effects.Locked);
      ASSERT_TRUE(Effects.DrawEnabled);
    }
  }
  RecordProperty("games", Games);
  RecordProperty("probes", static_cast<int>(Probes));
  RecordProperty("overflows", Overflows);
  std::printf("random games: %d games, %lld probes, %d ended, %d height overflows\n", Games, Probes,
              Ended, Overflows);
  EXPECT_GT(Ended, Games / 2);
}
