#pragma once

#include "puzzle/TPuzzleEffects.h"

#include <deque>
#include <functional>

// The puzzle's effects with boxes that do not wait: a message box is shown and the call
// returns at once, and what the puzzle does after it (the end box's lock of the bar buttons)
// happens when the pupil closes the box, in the puzzle's order. So nothing runs an event loop
// of its own while a box is open, which a page cannot do.
class TEffectsAfterBox final : public TPuzzleEffects {
public:
  explicit TEffectsAfterBox(TPuzzleEffects& Window) : Target(&Window) {}

  // The box the last message opened is closed: what waited for it happens now, up to the
  // next box. An error raised there ends what was left of that handler.
  void BoxClosed();
  [[nodiscard]] bool BoxOpen() const { return Open; }

  void ShowCount(const std::string& Text) override;
  void ShowTarget(const std::string& Text) override;
  void LockBarButtons(bool Locked) override;
  void EnableDrawButton(bool Enabled) override;
  void ShowMessage(const std::string& Text) override;
  void ClearImage() override;
  void DrawMark(TRevealedBar Bar, bool SlopeMode) override;
  void DrawExample(int Summit, bool SlopeMode) override;

private:
  void Then(std::function<void()> Effect);

  TPuzzleEffects* Target;
  bool Open = false;
  std::deque<std::function<void()>> Waiting;
};
