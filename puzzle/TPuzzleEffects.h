#pragma once

#include "puzzle/TBarMark.h"

#include <cstdint>
#include <string>

// A bar a probe revealed: the bar, the slant of its top (puzzle 1) and the click that
// revealed it.
struct TRevealedBar {
  TBarMark Mark;
  std::int8_t Slope = 0;
  std::uint8_t Click = 0;
};

// Everything the puzzle makes visible. The main window carries these out on its controls;
// tests record them.
class TPuzzleEffects {
public:
  virtual ~TPuzzleEffects() = default;
  virtual void ShowCount(const std::string& Text) = 0;
  virtual void ShowTarget(const std::string& Text) = 0;
  virtual void LockBarButtons(bool Locked) = 0;
  virtual void EnableDrawButton(bool Enabled) = 0;
  // Modal: the window takes no input until the player closes the box, and the effects that
  // follow it show only then. "\r" breaks the line.
  virtual void ShowMessage(const std::string& Text) = 0;
  virtual void ClearImage() = 0;
  virtual void DrawMark(TRevealedBar Bar, bool SlopeMode) = 0;
  // The example mountain whose summit is bar Summit.
  virtual void DrawExample(int Summit, bool SlopeMode) = 0;
};
