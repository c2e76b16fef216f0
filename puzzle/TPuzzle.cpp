#include "puzzle/TPuzzle.h"

#include "numstr/NumStr.h"
#include "puzzle/BarFigure.h"
#include "puzzle/Heights.h"
#include "puzzle/TPuzzleEffects.h"
#include "runtime/Checked.h"
#include "runtime/Format.h"
#include "runtime/Random.h"

#include <string>

namespace {
constexpr TBarMark LeftWall{0, 10};
constexpr TBarMark RightWall{32, 10};

bool SameFibDigits(int SpanA, int SpanB)
{
  return IntToFibStr(SpanA - 1, 0) == IntToFibStr(SpanB - 1, 0);
}
} // namespace

void TPuzzle::Select(int ItemIndex)
{
  Current.SlopeMode = ItemIndex == 0;
  Current.Target = Current.SlopeMode ? 5 : 7;
  Effects->ShowTarget(Format2d(Current.Target));
  ShowExample();
  Effects->LockBarButtons(true);
}

void TPuzzle::ShowExample()
{
  Effects->DrawExample(ExampleSummit(*Random), Current.SlopeMode);
}

void TPuzzle::Begin()
{
  ResetPuzzle();
  Effects->LockBarButtons(false);
  Effects->EnableDrawButton(false);
}

void TPuzzle::ResetPuzzle()
{
  Current.ClickCount = 0;
  Effects->ClearImage();
  Effects->ShowCount(Format2d(Current.ClickCount));
  Current.LeftEnd = LeftWall;
  Current.RightEnd = RightWall;
  Current.Best = Current.LeftEnd;
}

void TPuzzle::Probe(std::uint8_t Pos)
{
  if (Pos <= Current.LeftEnd.Pos || Pos >= Current.RightEnd.Pos || Pos == Current.Best.Pos) {
    Effects->ShowMessage("無駄な試行です\r無かったことにします");
    return;
  }
  // The answer is decided before the probe is counted: a probe whose bar would be too tall
  // fails with the range error and leaves the count, the ends and the picture as they were.
  const std::uint8_t Count = ToByte(Current.ClickCount + 1);
  const TProbeAnswer Answer = Current.SlopeMode ? ProbeSloped(Pos, Count) : ProbeLevel(Pos, Count);

  Current.ClickCount = Count;
  Effects->ShowCount(Format2d(Current.ClickCount));
  Current.LeftEnd = Answer.LeftEnd;
  Current.Best = Answer.Best;
  Current.RightEnd = Answer.RightEnd;
  Effects->DrawMark({Answer.Mark, Answer.Slope, Count}, Current.SlopeMode);
  if (Answer.Summit)
    FinishPuzzle();
}

void TPuzzle::FinishPuzzle()
{
  if (Current.ClickCount > Current.Target)
    Effects->ShowMessage("残念でした\r" + std::to_string(Current.ClickCount) + "回かかって" + "\r" +
                         "しまいました");
  else
    Effects->ShowMessage("おめでとう\r成功です");
  Effects->LockBarButtons(true);
  Effects->EnableDrawButton(true);
}

TProbeAnswer TPuzzle::ProbeSloped(std::uint8_t Pos, std::uint8_t /*Count*/) const
{
  TProbeAnswer Answer{{}, 0, Current.LeftEnd, Current.Best, Current.RightEnd, false};
  const int Left = Pos - Current.LeftEnd.Pos;
  const int Right = Current.RightEnd.Pos - Pos;

  const std::uint8_t Higher = Current.LeftEnd.Height < Current.RightEnd.Height
                                  ? Current.RightEnd.Height
                                  : Current.LeftEnd.Height;
  const std::uint8_t H = RiseHeight(*Random, 1, Higher);

  // The summit goes to the side whose unexplored bars need more binary digits.
  std::int8_t S = 0;
  if (Left + Right > 2) {
    const auto DL = IntToBinStr(Left - 1, 0).size();
    const auto DR = IntToBinStr(Right - 1, 0).size();
    if (DL == DR)
      S = static_cast<std::int8_t>(2 * static_cast<int>(Random->Integer(2)) - 1);
    else
      S = Left < Right ? 1 : -1;
  }

  Answer.Mark = {Pos, H};
  Answer.Slope = S;
  if (S < 0)
    Answer.RightEnd = Answer.Mark;
  else if (S > 0)
    Answer.LeftEnd = Answer.Mark;
  Answer.Summit = S == 0;
  return Answer;
}

TProbeAnswer TPuzzle::ProbeLevel(std::uint8_t Pos, std::uint8_t Count) const
{
  TProbeAnswer Answer{{}, 0, Current.LeftEnd, Current.Best, Current.RightEnd, false};
  const TBarMark& LeftEnd = Current.LeftEnd;
  const TBarMark& Best = Current.Best;
  const TBarMark& RightEnd = Current.RightEnd;

  if (Count == 1) {
    const int Left = Pos - LeftEnd.Pos;
    const int Right = RightEnd.Pos - Pos;
    const std::uint8_t H = Left < Right ? RiseHeight(*Random, ToByte(Left), LeftEnd.Height)
                                        : RiseHeight(*Random, ToByte(Right), RightEnd.Height);
    Answer.Best = {Pos, H};
    Answer.Mark = Answer.Best;
    return Answer;
  }

  std::uint8_t H = 0;
  if (Pos < Best.Pos) {
    const int NewBestSpan = Best.Pos - LeftEnd.Pos;
    const int KeepSpan = RightEnd.Pos - Pos;
    const bool KeepBest =
        SameFibDigits(NewBestSpan, KeepSpan) ? Random->Real() < 0.5 : KeepSpan > NewBestSpan;
    if (KeepBest && KeepSpan > 2) {
      H = MidHeight(*Random, LeftEnd.Height, Best.Height);
      Answer.LeftEnd = {Pos, H};
    } else {
      H = RiseHeight(*Random, ToByte(Best.Pos - Pos), ToByte(Best.Height + 2));
      Answer.RightEnd = Best;
      Answer.Best = {Pos, H};
    }
  } else {
    const int KeepSpan = Pos - LeftEnd.Pos;
    const int NewBestSpan = RightEnd.Pos - Best.Pos;
    const bool NewWins =
        SameFibDigits(KeepSpan, NewBestSpan) ? Random->Real() < 0.5 : NewBestSpan > KeepSpan;
    if (NewWins || KeepSpan <= 2) {
      H = RiseHeight(*Random, ToByte(Pos - Best.Pos), ToByte(Best.Height + 2));
      Answer.LeftEnd = Best;
      Answer.Best = {Pos, H};
    } else {
      H = MidHeight(*Random, Best.Height, RightEnd.Height);
      Answer.RightEnd = {Pos, H};
    }
  }
  Answer.Mark = {Pos, H};
  // The one bar left between the ends is Best, already revealed: the summit.
  Answer.Summit = Answer.RightEnd.Pos - Answer.LeftEnd.Pos <= 2;
  return Answer;
}
