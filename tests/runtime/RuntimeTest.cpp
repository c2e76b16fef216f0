#include "runtime/Checked.h"
#include "runtime/Errors.h"
#include "runtime/Format.h"
#include "runtime/Random.h"
#include "runtime/Rounding.h"
#include "runtime/WideDivision.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

// Halfway values must go to the even neighbour, whatever their sign: the pixel grid and the
// heights of the example depend on it.
TEST(Rounding, HalvesGoToEvenNeighbour)
{
  const struct {
    const char* Name;
    double In;
    double Out;
  } Rows[] = {{"2.5 down", 2.5, 2},
              {"3.5 up", 3.5, 4},
              {"-0.5 to zero", -0.5, 0},
              {"-1.5 down", -1.5, -2},
              {"-2.5 up", -2.5, -2},
              {"just below a half", 0.49999999999999994, 0},
              {"2.4", 2.4, 2},
              {"2.6", 2.6, 3},
              {"-2.6", -2.6, -3},
              {"large half", 1e15 + 0.5, 1e15},
              {"whole", 7, 7}};
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    EXPECT_EQ(RoundHalfEven(Row.In), Row.Out);
  }
}

TEST(Rounding, ExactFractionAgreesWithRealRounding)
{
  EXPECT_EQ(DivRoundHalfEven(1500, 24), 62); // 62.5
  EXPECT_EQ(DivRoundHalfEven(300, 8), 38);   // 37.5
  EXPECT_EQ(DivRoundHalfEven(100, 8), 12);   // 12.5
  EXPECT_EQ(DivRoundHalfEven(700, 8), 88);   // 87.5
  for (long long D = 1; D < 40; ++D)
    for (long long N = 0; N < 4000; N += 7) {
      const auto Exact = DivRoundHalfEven(4 * N, 4 * D); // same fraction, scaled
      EXPECT_EQ(DivRoundHalfEven(N, D), Exact);
      if (2 * (N % D) != D) { // not halfway: plain real rounding must agree
        EXPECT_EQ(static_cast<double>(Exact),
                  RoundHalfEven(static_cast<double>(N) / static_cast<double>(D)));
      }
    }
}

TEST(Format, TwoCharactersRightAligned)
{
  EXPECT_EQ(Format2d(0), " 0");
  EXPECT_EQ(Format2d(5), " 5");
  EXPECT_EQ(Format2d(12), "12");
  EXPECT_EQ(Format2d(123), "123");
}

// Bytes and positions must never wrap silently: a tall bar has to fail, not shrink.
TEST(Checked, NarrowingRaisesRangeError)
{
  EXPECT_EQ(ToByte(0), 0);
  EXPECT_EQ(ToByte(255), 255);
  EXPECT_THROW((void)ToByte(256), ERangeError);
  EXPECT_THROW((void)ToByte(-1), ERangeError);
  EXPECT_EQ(ToPos(32), 32);
  EXPECT_THROW((void)ToPos(33), ERangeError);
  EXPECT_THROW((void)ToPos(-1), ERangeError);
  constexpr auto Max = std::numeric_limits<std::int32_t>::max();
  constexpr auto Min = std::numeric_limits<std::int32_t>::min();
  EXPECT_THROW((void)CheckedAdd(Max, 1), EIntOverflow);
  EXPECT_THROW((void)CheckedSub(Min, 1), EIntOverflow);
  EXPECT_EQ(CheckedSub(Max, Max), 0);
}

// A line with far-away ends starts its walk with a product past 64 bits; the plain long
// division that stands in for a 128-bit type must give the same steps.
TEST(WideDivision, ExactPastSixtyFourBits)
{
  const struct {
    const char* Name;
    std::uint64_t A, B, C, D;
    TQuotRem Expected;
  } Rows[] = {
      {"small", 7, 6, 3, 5, {9, 0}},
      {"product of 80 bits",
       1ULL << 40U,
       1ULL << 40U,
       5,
       3ULL << 20U,
       {384307168202282325ULL, 1048581}},
      {"carry from the addend",
       1ULL << 33U,
       (1ULL << 32U) - 1,
       1ULL << 32U,
       1ULL << 33U,
       {4294967295ULL, 4294967296ULL}},
      {"divisor past 63 bits", 1ULL << 63U, 3, 1, (1ULL << 63U) + 1, {2, (1ULL << 63U) - 1}},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    const TQuotRem Got = MulAddDivMod(Row.A, Row.B, Row.C, Row.D);
    EXPECT_EQ(Got.Quot, Row.Expected.Quot);
    EXPECT_EQ(Got.Rem, Row.Expected.Rem);
  }
}

TEST(Errors, CarryTheRuntimeTextsAndTheBoxAddsAFullStop)
{
  EXPECT_STREQ(ERangeError().what(), "範囲チェックエラー");
  EXPECT_STREQ(EIntOverflow().what(), "整数のオーバーフロー");
  EXPECT_STREQ(EInvalidOp().what(), "不正な浮動小数点数演算命令");
  EXPECT_STREQ(EZeroDivide().what(), "0 による浮動小数点数除算");
  EXPECT_STREQ(EOverflow().what(), "浮動小数点数のオーバーフロー");
  EXPECT_EQ(ErrorBoxText("範囲チェックエラー"), "範囲チェックエラー.");
  EXPECT_EQ(ErrorBoxText("done."), "done.");
  EXPECT_EQ(ErrorBoxText("a-"), "a-"); // '-' sorts before '.'
  EXPECT_EQ(ErrorBoxText(""), "");
}

// Two starts at the same millisecond must play the same game.
TEST(Random, SameSeedSameSequenceAndDrawsStayInRange)
{
  TSeededRandom A(12345);
  TSeededRandom B(12345);
  std::set<std::uint32_t> Seen;
  for (int I = 0; I < 10000; ++I) {
    const auto Value = A.Integer(5);
    EXPECT_EQ(Value, B.Integer(5));
    EXPECT_LT(Value, 5U);
    Seen.insert(Value);
    const double R = A.Real();
    EXPECT_EQ(R, B.Real());
    EXPECT_GE(R, 0.0);
    EXPECT_LT(R, 1.0);
  }
  EXPECT_EQ(Seen.size(), 5U);
  TSeededRandom C(12346);
  EXPECT_NE(TSeededRandom(12345).Real(), C.Real());
  EXPECT_THROW((void)A.Integer(0), ERangeError);
  EXPECT_LT(MillisecondsSinceMidnightUtc(), 86400000U);
}
