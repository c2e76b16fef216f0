#pragma once

#include "puzzle/TPuzzleEffects.h"

#include <string>
#include <utility>
#include <vector>

// Keeps every window effect, in order, as one readable line each.
class TEffectsRecorder : public TPuzzleEffects {
public:
  void Note(std::string Line)
  {
    if (KeepLog)
      Log.push_back(std::move(Line));
  }

  std::vector<std::string> Log;
  bool Locked = false;
  bool DrawEnabled = true;
  std::string Count;
  std::string Target;
  int Finishes = 0;
  int Wasted = 0;
  std::vector<std::string> Messages;
  bool KeepLog = true; // long searches only count

  void ShowCount(const std::string& Text) override
  {
    Count = Text;
    Note("count '" + Text + "'");
  }
  void ShowTarget(const std::string& Text) override
  {
    Target = Text;
    Note("target '" + Text + "'");
  }
  void LockBarButtons(bool IsLocked) override
  {
    Locked = IsLocked;
    Note(IsLocked ? "lock" : "unlock");
  }
  void EnableDrawButton(bool Enabled) override
  {
    DrawEnabled = Enabled;
    Note(Enabled ? "enable draw" : "disable draw");
  }
  void ShowMessage(const std::string& Text) override
  {
    if (KeepLog)
      Messages.push_back(Text);
    if (Text.starts_with("無駄"))
      ++Wasted;
    else
      ++Finishes;
    Note("message '" + Text + "'");
  }
  void ClearImage() override { Note("clear"); }
  void DrawMark(TRevealedBar Bar, bool SlopeMode) override
  {
    Note("mark " + std::to_string(Bar.Mark.Pos) + "/" + std::to_string(Bar.Mark.Height) + "/" +
         std::to_string(Bar.Slope) + (SlopeMode ? " sloped" : " level") + " at " +
         std::to_string(Bar.Click));
  }
  void DrawExample(int Summit, bool SlopeMode) override
  {
    Note("example " + std::to_string(Summit) + (SlopeMode ? " sloped" : " level"));
  }
};
