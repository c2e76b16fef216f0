#pragma once

#include "puzzle/TPuzzleEffects.h"

#include <QString>

#include <vector>

class TMyImage2;

// What the drawing surface shows, kept once: an example mountain (its summit and its style) or
// the bars a puzzle has revealed, each with the click that revealed it. The surface is drawn
// from it, at any scale, and a screen reader is told the same things in words.
class TPicture {
public:
  void Clear();
  void Example(int Summit, bool SlopeMode);
  void Reveal(TRevealedBar Bar, bool SlopeMode);

  // The whole picture, the surface cleared first and set up for the bars.
  void Draw(TMyImage2& Image, int PixelsPerUnit) const;

  // The surface's words: the example's summit, or every bar revealed, left to right.
  [[nodiscard]] QString Description() const;
  // Bar button Pos's words: what its bar shows, and in a puzzle at which click.
  [[nodiscard]] QString BarDescription(int Pos) const;
  // The answer to the last probe, as it is spoken the moment it is drawn.
  [[nodiscard]] QString LastAnswer() const;

private:
  [[nodiscard]] const TRevealedBar* RevealedAt(int Pos) const;

  int Summit = 0; // 0: no example
  bool SlopeMode = false;
  std::vector<TRevealedBar> Bars; // in the order revealed
};
