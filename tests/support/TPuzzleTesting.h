#pragma once

#include "puzzle/TPuzzle.h"

#include <cstdint>

// The tests' one door into the puzzle: put it in any state, and ask the rules what a probe
// would answer without making it. The window has no use for either.
class TPuzzleTesting {
public:
  static void SetState(TPuzzle& Puzzle, const TPuzzleState& State) { Puzzle.Current = State; }
  [[nodiscard]] static TProbeAnswer Answer(const TPuzzle& Puzzle, std::uint8_t Pos)
  {
    const auto Count = static_cast<std::uint8_t>(Puzzle.Current.ClickCount + 1);
    return Puzzle.Current.SlopeMode ? Puzzle.ProbeSloped(Pos, Count)
                                    : Puzzle.ProbeLevel(Pos, Count);
  }
};
