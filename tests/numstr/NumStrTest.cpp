#include "numstr/NumStr.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

// The adversaries compare these strings; a wrong digit moves the summit to the wrong side.
TEST(DigitStrings, TableOfValues)
{
  const struct {
    int N;
    const char* Bin;
    const char* Fib;
  } Rows[] = {{0, "", "0"},
              {1, "1", "1"},
              {2, "10", "10"},
              {3, "11", "100"},
              {4, "100", "101"},
              {5, "101", "1000"},
              {7, "111", "1010"},
              {8, "1000", "10000"},
              {12, "1100", "10101"},
              {15, "1111", "100010"},
              {19, "10011", "101001"},
              {20, "10100", "101010"},
              {30, "11110", "1010001"}};
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.N);
    EXPECT_EQ(IntToBinStr(Row.N, 0), Row.Bin);
    EXPECT_EQ(IntToFibStr(Row.N, 0), Row.Fib);
  }
}

TEST(DigitStrings, Padding)
{
  EXPECT_EQ(IntToBinStr(5, 8), "00000101");
  EXPECT_EQ(IntToBinStr(0, 3), "000");
  EXPECT_EQ(IntToFibStr(1, 3), "001");
  EXPECT_EQ(IntToFibStr(0, 4), "0000");
}

// Equal strings must mean equal values, and no two 1s may touch: the level adversary
// relies on equality alone.
TEST(DigitStrings, FibonacciStringsAreDistinctZeckendorfForms)
{
  std::set<std::string> Seen;
  for (int N = 0; N < 5000; ++N) {
    const auto Digits = IntToFibStr(N, 0);
    EXPECT_EQ(Digits.find("11"), std::string::npos) << N;
    long long Value = 0;
    for (std::size_t I = 0; I < Digits.size(); ++I)
      if (Digits[I] == '1')
        Value += FibTable[Digits.size() - I];
    EXPECT_EQ(Value, N);
    EXPECT_TRUE(Seen.insert(Digits).second) << N;
  }
}

TEST(DigitStrings, GuardsAtTheLimits)
{
  constexpr auto Max = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(IntToBinStr(Max, 0), std::string(31, '1'));
  EXPECT_EQ(IntToFibStr(Max, 0).size(), 45U); // the whole table, never past it
  EXPECT_EQ(IntToBinStr(-1, 0), "");          // only non-negative values are shifted out
  EXPECT_EQ(IntToBinStr(1, 254).size(), 254U);
  EXPECT_THROW((void)IntToBinStr(1, 255), EIntOverflow);
  EXPECT_EQ(IntToFibStr(1, 45).size(), 45U);
  EXPECT_THROW((void)IntToFibStr(1, 46), ERangeError);
  EXPECT_THROW((void)IntToFibStr(1, 255), ERangeError);
  EXPECT_THROW((void)IntToFibStr(std::numeric_limits<std::int32_t>::min(), 0), EIntOverflow);
}
