#include "puzzle/Heights.h"
#include "runtime/Errors.h"
#include "support/TScriptedRandom.h"

#include <gtest/gtest.h>

// A losing bar must stay between its neighbours, and a winner may never wrap past a byte.
TEST(Heights, MidHeightStaysWithinAFifthOfTheDifference)
{
  TScriptedRandom Random;
  for (double R : {0.0, 0.25, 0.5, 0.999999}) {
    Random.OnReal = [R] { return R; };
    const auto H = MidHeight(Random, 10, 50);
    EXPECT_GE(H, 22);
    EXPECT_LE(H, 38);
    EXPECT_EQ(MidHeight(Random, 77, 77), 77);
    EXPECT_EQ(MidHeight(Random, 255, 255), 255);
  }
  Random.OnReal = [] { return 0.0; };
  EXPECT_EQ(MidHeight(Random, 10, 50), 38); // (300 + 4 * -40 * -0.5) / 10
  Random.OnInteger = [](std::uint32_t) { return 4U; };
  EXPECT_EQ(RiseHeight(Random, 1, 10), 16);
  EXPECT_EQ(RiseHeight(Random, 0, 251), 255);
  EXPECT_THROW((void)RiseHeight(Random, 1, 250), ERangeError);
}
