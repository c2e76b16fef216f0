#pragma once

#include "puzzle/TBarMark.h"

#include <cstdint>

class TPuzzleEffects;
class TRandomSource;

struct TPuzzleState {
  TBarMark LeftEnd;       // nearest revealed bar known to lie left of the summit
  TBarMark Best;          // puzzle 2: highest bar revealed so far
  TBarMark RightEnd;      // nearest revealed bar known to lie right of the summit
  bool SlopeMode = false; // puzzle 1: slanted tops
  std::uint8_t Target = 0;
  std::uint8_t ClickCount = 0;

  friend bool operator==(const TPuzzleState&, const TPuzzleState&) = default;
};

// What one accepted probe reveals: the bar, its slant, the ends and best that follow, and
// whether the summit has been found.
struct TProbeAnswer {
  TBarMark Mark;
  std::int8_t Slope = 0;
  TBarMark LeftEnd;
  TBarMark Best;
  TBarMark RightEnd;
  bool Summit = false;
};

// The hidden-mountain puzzle: the player's selection, start and probes, and the adversary
// that decides each bar when it is probed.
class TPuzzle {
public:
  TPuzzle(TPuzzleEffects& EffectsSink, TRandomSource& RandomSource)
      : Effects(&EffectsSink), Random(&RandomSource)
  {
  }

  // Item 0 is puzzle 1 (slanted tops), item 1 puzzle 2 (flat tops).
  void Select(int ItemIndex);
  // A new random example mountain in the style of the selected puzzle.
  void ShowExample();
  void Begin();
  void ResetPuzzle();
  void Probe(std::uint8_t Pos);

  [[nodiscard]] const TPuzzleState& State() const { return Current; }

private:
  friend class TPuzzleTesting; // the tests' access to the rules and the state

  // The adversary rules. They decide from the current state and draw their random numbers,
  // but change nothing; Probe applies the answer.
  [[nodiscard]] TProbeAnswer ProbeSloped(std::uint8_t Pos, std::uint8_t Count) const;
  [[nodiscard]] TProbeAnswer ProbeLevel(std::uint8_t Pos, std::uint8_t Count) const;
  void FinishPuzzle();

  TPuzzleEffects* Effects;
  TRandomSource* Random;
  TPuzzleState Current;
};
