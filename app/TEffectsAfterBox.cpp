#include "app/TEffectsAfterBox.h"

#include <utility>

void TEffectsAfterBox::Then(std::function<void()> Effect)
{
  if (Open)
    Waiting.push_back(std::move(Effect));
  else
    Effect();
}

void TEffectsAfterBox::BoxClosed()
{
  Open = false;
  std::deque<std::function<void()>> Next = std::exchange(Waiting, {});
  while (!Next.empty() && !Open) {
    const std::function<void()> Effect = std::move(Next.front());
    Next.pop_front();
    Effect();
  }
  Waiting = std::move(Next); // after another box, if one opened
}

void TEffectsAfterBox::ShowCount(const std::string& Text)
{
  Then([this, Text] { Target->ShowCount(Text); });
}

void TEffectsAfterBox::ShowTarget(const std::string& Text)
{
  Then([this, Text] { Target->ShowTarget(Text); });
}

void TEffectsAfterBox::LockBarButtons(bool Locked)
{
  Then([this, Locked] { Target->LockBarButtons(Locked); });
}

void TEffectsAfterBox::EnableDrawButton(bool Enabled)
{
  Then([this, Enabled] { Target->EnableDrawButton(Enabled); });
}

void TEffectsAfterBox::ShowMessage(const std::string& Text)
{
  Then([this, Text] {
    Open = true;
    Target->ShowMessage(Text);
  });
}

void TEffectsAfterBox::ClearImage()
{
  Then([this] { Target->ClearImage(); });
}

void TEffectsAfterBox::DrawMark(TRevealedBar Bar, bool SlopeMode)
{
  Then([this, Bar, SlopeMode] { Target->DrawMark(Bar, SlopeMode); });
}

void TEffectsAfterBox::DrawExample(int Summit, bool SlopeMode)
{
  Then([this, Summit, SlopeMode] { Target->DrawExample(Summit, SlopeMode); });
}
