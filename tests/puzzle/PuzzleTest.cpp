#include "app/TEffectsAfterBox.h"
#include "puzzle/TPuzzle.h"
#include "runtime/Errors.h"
#include "support/TEffectsRecorder.h"
#include "support/TPuzzleTesting.h"
#include "support/TScriptedRandom.h"

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <vector>

namespace {
// Coins and height draws given in order; Integer(5) and MidHeight's real draw 0 unless told.
class TCoins {
public:
  std::deque<std::uint32_t> Bits;  // answers to Integer(2)
  std::deque<double> Reals;        // answers to Real()
  std::deque<std::uint32_t> Fives; // answers to Integer(5)

  void Attach(TScriptedRandom& Random)
  {
    Random.OnInteger = [this](std::uint32_t N) {
      if (N != 2 && N != 5)
        return 0U; // an example's summit: bar 4
      auto& Queue = N == 2 ? Bits : Fives;
      if (Queue.empty())
        return 0U;
      const auto Value = Queue.front();
      Queue.pop_front();
      return Value;
    };
    Random.OnReal = [this] {
      if (Reals.empty())
        return 0.0;
      const auto Value = Reals.front();
      Reals.pop_front();
      return Value;
    };
  }
};

struct TPuzzleFixture : ::testing::Test {
  TEffectsRecorder Effects;
  TScriptedRandom Random;
  TCoins Coins;
  TPuzzle Puzzle{Effects, Random};

  void SetUp() override { Coins.Attach(Random); }

  void Start(int Item)
  {
    Puzzle.Select(Item);
    Puzzle.Begin();
    Effects.Log.clear();
  }
  void Play(std::initializer_list<int> Positions)
  {
    for (int Pos : Positions)
      Puzzle.Probe(static_cast<std::uint8_t>(Pos));
  }
  void SetEnds(TBarMark Left, TBarMark Best, TBarMark Right, std::uint8_t Count)
  {
    auto State = Puzzle.State();
    State.LeftEnd = Left;
    State.Best = Best;
    State.RightEnd = Right;
    State.ClickCount = Count;
    TPuzzleTesting::SetState(Puzzle, State);
  }
};
} // namespace

// The order of effects is what the player sees: target before example, lock last.
TEST_F(TPuzzleFixture, SelectionShowsTargetExampleAndLocks)
{
  Puzzle.Select(0);
  EXPECT_EQ(Effects.Log, (std::vector<std::string>{"target ' 5'", "example 4 sloped", "lock"}));
  EXPECT_TRUE(Puzzle.State().SlopeMode);
  Effects.Log.clear();
  Puzzle.Select(1);
  EXPECT_EQ(Effects.Log, (std::vector<std::string>{"target ' 7'", "example 4 level", "lock"}));
  EXPECT_FALSE(Puzzle.State().SlopeMode);
  EXPECT_EQ(Puzzle.State().Target, 7);
}

TEST_F(TPuzzleFixture, StartClearsResetsAndUnlocksEveryTime)
{
  Puzzle.Select(0);
  for (int Round = 0; Round < 2; ++Round) {
    Effects.Log.clear();
    Puzzle.Begin();
    EXPECT_EQ(Effects.Log,
              (std::vector<std::string>{"clear", "count ' 0'", "unlock", "disable draw"}));
    EXPECT_EQ(Puzzle.State().LeftEnd, (TBarMark{0, 10}));
    EXPECT_EQ(Puzzle.State().Best, (TBarMark{0, 10}));
    EXPECT_EQ(Puzzle.State().RightEnd, (TBarMark{32, 10}));
    EXPECT_EQ(Puzzle.State().ClickCount, 0);
    Play({16});
  }
}

// A wasted try must cost nothing: not a click, not a pixel.
TEST_F(TPuzzleFixture, WastedTriesAreRefusedAndNotCounted)
{
  Start(0);
  Coins.Bits = {1};
  Play({16}); // rising side: LeftEnd becomes 16
  ASSERT_EQ(Puzzle.State().LeftEnd.Pos, 16);
  const auto Before = Puzzle.State();
  for (int Pos : {16, 3, 0}) {
    Effects.Log.clear();
    Puzzle.Probe(static_cast<std::uint8_t>(Pos));
    EXPECT_EQ(Effects.Log,
              (std::vector<std::string>{"message '無駄な試行です\r無かったことにします'"}));
    EXPECT_EQ(Puzzle.State(), Before);
  }
  Start(1);
  Play({13});
  Effects.Log.clear();
  Play({13}); // Best itself
  EXPECT_EQ(Effects.Wasted, 4);
  EXPECT_EQ(Puzzle.State().ClickCount, 1);
}

// Halving with every coin to the right: 16, 24, 28, 30, 31 ends on the target, a success.
// With boxes that do not wait, the window sees the same effects in the same order, what
// follows the box once the pupil has closed it.
TEST_F(TPuzzleFixture, SlopedGameEndsInSuccessAtExactlyTheTarget)
{
  const std::vector<std::string> Expected{"count ' 1'",
                                          "mark 16/12/1 sloped at 1",
                                          "count ' 2'",
                                          "mark 24/18/1 sloped at 2",
                                          "count ' 3'",
                                          "mark 28/22/1 sloped at 3",
                                          "count ' 4'",
                                          "mark 30/24/1 sloped at 4",
                                          "count ' 5'",
                                          "mark 31/26/0 sloped at 5",
                                          "message 'おめでとう\r成功です'",
                                          "lock",
                                          "enable draw"};
  TEffectsRecorder Seen;
  TEffectsAfterBox AfterBox(Seen);
  TPuzzle Boxed(AfterBox, Random);
  for (TPuzzle* Game : {&Puzzle, &Boxed}) {
    Game->Select(0);
    Game->Begin();
    (Game == &Puzzle ? Effects : Seen).Log.clear();
    Coins.Bits = {1, 1, 1, 1};
    Coins.Fives = {0, 4, 2};
    for (int Pos : {16, 24, 28, 30, 31})
      Game->Probe(static_cast<std::uint8_t>(Pos));
  }
  EXPECT_EQ(Effects.Log, Expected);
  EXPECT_EQ(Seen.Log, std::vector<std::string>(Expected.begin(), Expected.end() - 2));
  ASSERT_TRUE(AfterBox.BoxOpen());
  AfterBox.BoxClosed();
  EXPECT_EQ(Seen.Log, Expected);
  EXPECT_FALSE(AfterBox.BoxOpen());
}

TEST_F(TPuzzleFixture, OneOverTheTargetIsTooBad)
{
  Start(0);
  Coins.Bits = {1, 1, 1, 1};
  Play({1, 16, 24, 28, 30, 31});
  ASSERT_EQ(Effects.Messages.size(), 1U);
  EXPECT_EQ(Effects.Messages[0], "残念でした\r6回かかって\rしまいました");
  EXPECT_EQ(Effects.Count, " 6");
  EXPECT_TRUE(Effects.Locked);
  EXPECT_TRUE(Effects.DrawEnabled);
}

// The first probes of the slanted puzzle: the side with more binary digits gets the summit.
TEST_F(TPuzzleFixture, SlopedFirstProbes)
{
  const struct {
    const char* Name;
    int Pos;
    std::uint32_t Coin;
    int Slope;
  } Rows[] = {{"16, coin left", 16, 0, -1},       {"16, coin right", 16, 1, 1},
              {"8: 3 digits against 5", 8, 0, 1}, {"1: none against 5", 1, 0, 1},
              {"31: 5 against none", 31, 1, -1},  {"24: 5 against 3", 24, 1, -1}};
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    Start(0);
    Coins.Bits = {Row.Coin};
    Coins.Fives = {4};
    Play({Row.Pos});
    const auto& State = Puzzle.State();
    const TBarMark Mark{static_cast<std::uint8_t>(Row.Pos), 16};
    EXPECT_EQ(Row.Slope > 0 ? State.LeftEnd : State.RightEnd, Mark);
    EXPECT_EQ(Row.Slope > 0 ? State.RightEnd : State.LeftEnd,
              (TBarMark{static_cast<std::uint8_t>(Row.Slope > 0 ? 32 : 0), 10}));
    EXPECT_EQ(Effects.Log.back(), "mark " + std::to_string(Row.Pos) + "/16/" +
                                      std::to_string(Row.Slope) + " sloped at 1");
    // A coin is thrown only when both sides need the same number of digits.
    EXPECT_EQ(Coins.Bits.empty(), Row.Pos == 16);
  }
}

TEST_F(TPuzzleFixture, SlopedLastBarBetweenTheEndsIsTheSummit)
{
  Start(0);
  SetEnds({29, 40}, {0, 10}, {31, 50}, 3);
  Play({30});
  EXPECT_EQ(Effects.Log[1], "mark 30/52/0 sloped at 4"); // the higher end plus 2
  EXPECT_EQ(Effects.Finishes, 1);
}

TEST_F(TPuzzleFixture, LevelFirstProbeUsesTheNearerWall)
{
  const struct {
    const char* Name;
    int Pos;
    std::uint32_t Draw;
    int Height;
  } Rows[] = {{"1, lowest draw", 1, 0, 12},   {"1, highest draw", 1, 4, 16},
              {"16, lowest draw", 16, 0, 42}, {"16, highest draw", 16, 4, 46},
              {"31: right wall", 31, 0, 12},  {"20: right wall", 20, 0, 34}};
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    Start(1);
    Coins.Fives = {Row.Draw};
    Play({Row.Pos});
    EXPECT_EQ(Puzzle.State().Best, (TBarMark{static_cast<std::uint8_t>(Row.Pos),
                                             static_cast<std::uint8_t>(Row.Height)}));
    EXPECT_EQ(Puzzle.State().LeftEnd, (TBarMark{0, 10}));
    EXPECT_EQ(Puzzle.State().RightEnd, (TBarMark{32, 10}));
    EXPECT_EQ(Effects.Finishes, 0);
  }
}

// Spans with different Fibonacci strings decide without a coin; equal spans throw one.
TEST_F(TPuzzleFixture, LevelSpansDecideTheSide)
{
  Start(1);
  SetEnds({0, 10}, {13, 40}, {32, 10}, 1);
  Coins.Reals = {0.0}; // MidHeight's draw: the low end of its range
  Play({20});
  EXPECT_TRUE(Coins.Reals.empty());                       // no coin: only MidHeight drew
  EXPECT_EQ(Puzzle.State().RightEnd, (TBarMark{20, 19})); // (250 - 60) / 10
  EXPECT_EQ(Puzzle.State().Best, (TBarMark{13, 40}));

  for (double Coin : {0.25, 0.75}) {
    Start(1);
    SetEnds({0, 10}, {12, 40}, {32, 10}, 1);
    Coins.Reals = {Coin, 0.5};
    Play({20});
    const auto& State = Puzzle.State();
    if (Coin < 0.5) {                            // on the right, a low coin favours the new bar
      EXPECT_EQ(State.Best, (TBarMark{20, 58})); // 40 + 2 + 2 * 8
      EXPECT_EQ(State.LeftEnd, (TBarMark{12, 40}));
    } else {
      EXPECT_EQ(State.RightEnd, (TBarMark{20, 25}));
      EXPECT_EQ(State.Best, (TBarMark{12, 40}));
    }
  }

  for (double Coin : {0.25, 0.75}) { // on the left, a low coin keeps Best
    Start(1);
    SetEnds({0, 10}, {20, 40}, {32, 10}, 1);
    Coins.Reals = {Coin, 0.5};
    Play({12});
    EXPECT_EQ(Puzzle.State().Best.Pos, Coin < 0.5 ? 20 : 12);
  }
}

TEST_F(TPuzzleFixture, LevelNeverKeepsBestWithTwoOrFewerLeft)
{
  for (double Coin : {0.25, 0.75}) {
    Start(1);
    SetEnds({0, 10}, {1, 20}, {3, 10}, 2);
    Coins.Reals = {Coin};
    const int Before = Effects.Finishes;
    Play({2});
    EXPECT_EQ(Puzzle.State().LeftEnd, (TBarMark{1, 20}));
    EXPECT_EQ(Puzzle.State().Best, (TBarMark{2, 24}));
    EXPECT_EQ(Effects.Finishes, Before + 1);
  }
}

// Alternating far probes drive a winner past 255. The probe fails with the range error,
// but it is not counted and nothing on the board moves.
TEST_F(TPuzzleFixture, HeightOverflowFailsWithoutCountingTheProbe)
{
  Start(1);
  Coins.Reals = {0.25, 0.75, 0.25, 0.75};
  Coins.Fives = {4, 4, 4, 4}; // heights 16, 82, 146, 208
  Play({1, 31, 2, 30});
  ASSERT_EQ(Puzzle.State().Best, (TBarMark{30, 208}));
  const auto Before = Puzzle.State();
  Effects.Log.clear();
  EXPECT_THROW(Play({3}), ERangeError); // 208 + 2 + 2 * 27 > 255
  EXPECT_EQ(Puzzle.State(), Before);
  EXPECT_EQ(Puzzle.State().ClickCount, 4);
  EXPECT_TRUE(Effects.Log.empty()); // no count shown, no bar drawn
}
