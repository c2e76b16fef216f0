#include "MyImageU/TRaster.h"

#include "MyImageU/RowScan.h"
#include "runtime/WideDivision.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr std::uint32_t Opaque = 0xFF000000U;

constexpr std::uint32_t ToNative(TColor Color)
{
  return Opaque | ((Color & 0xFFU) << 16U) | (Color & 0xFF00U) | ((Color >> 16U) & 0xFFU);
}

constexpr TColor FromNative(std::uint32_t Pixel)
{
  return ((Pixel & 0xFFU) << 16U) | (Pixel & 0xFF00U) | ((Pixel >> 16U) & 0xFFU);
}

// Count pixels from index First down a column, Stride apart, set to Pixel; four a step, as the
// bars' sides are tall.
void FillColumn(std::uint32_t* Pixels, std::size_t First, std::size_t Count, std::size_t Stride,
                std::uint32_t Pixel)
{
  std::size_t I = First;
  for (; Count >= 4; Count -= 4, I += 4 * Stride) {
    Pixels[I] = Pixel;
    Pixels[I + Stride] = Pixel;
    Pixels[I + 2 * Stride] = Pixel;
    Pixels[I + 3 * Stride] = Pixel;
  }
  for (; Count > 0; --Count, I += Stride)
    Pixels[I] = Pixel;
}
} // namespace

TRaster::TRaster(int Width, int Height)
    : W(std::max(Width, 0)), H(std::max(Height, 0)),
      Pixels(static_cast<std::size_t>(W) * static_cast<std::size_t>(H), ToNative(clWhite))
{
}

TColor TRaster::GetPixel(std::int32_t X, std::int32_t Y) const
{
  if (!Inside(X, Y))
    return clInvalid;
  return FromNative(Pixels[static_cast<std::size_t>(Y) * static_cast<std::size_t>(W) +
                           static_cast<std::size_t>(X)]);
}

void TRaster::SetPixel(std::int32_t X, std::int32_t Y, TColor Color)
{
  if (!Inside(X, Y))
    return;
  Pixels[static_cast<std::size_t>(Y) * static_cast<std::size_t>(W) + static_cast<std::size_t>(X)] =
      ToNative(Color);
  Touch(X, Y, X + 1, Y + 1);
}

void TRaster::Touch(int Left, int Top, int Right, int Bottom)
{
  if (Left >= Right || Top >= Bottom)
    return;
  if (Dirty.Left >= Dirty.Right || Dirty.Top >= Dirty.Bottom) {
    Dirty = {Left, Top, Right, Bottom};
    return;
  }
  Dirty = {std::min(Dirty.Left, Left), std::min(Dirty.Top, Top), std::max(Dirty.Right, Right),
           std::max(Dirty.Bottom, Bottom)};
}

TPixelRect TRaster::TakeDirty()
{
  const TPixelRect Taken = Dirty;
  Dirty = {};
  return Taken;
}

void TRaster::LineTo(TPixelPoint To)
{
  const TPixelPoint From = PenAt;
  PenAt = To;
  const long long DX = static_cast<long long>(To.X) - From.X;
  const long long DY = static_cast<long long>(To.Y) - From.Y;
  const bool XMajor = std::llabs(DX) >= std::llabs(DY);
  const long long Steps = XMajor ? std::llabs(DX) : std::llabs(DY);
  if (Steps == 0)
    return;
  const long long MajorStart = XMajor ? From.X : From.Y;
  const long long MinorStart = XMajor ? From.Y : From.X;
  const long long MajorDir = (XMajor ? DX : DY) < 0 ? -1 : 1;
  const long long MinorDir = (XMajor ? DY : DX) < 0 ? -1 : 1;
  const auto MinorRun = static_cast<std::uint64_t>(std::llabs(XMajor ? DY : DX));
  const long long MajorLimit = XMajor ? W : H;

  // Only the steps whose major coordinate falls inside the raster are visited, so a line
  // with far-away ends costs no more than one across the raster.
  long long First = 0;
  long long Last = Steps - 1;
  if (MajorDir > 0) {
    First = std::max(First, -MajorStart);
    Last = std::min(Last, MajorLimit - 1 - MajorStart);
  } else {
    First = std::max(First, MajorStart - (MajorLimit - 1));
    Last = std::min(Last, MajorStart);
  }
  if (First > Last)
    return;
  // Every pixel of the line lies in the box of its ends.
  Touch(static_cast<int>(std::clamp<long long>(std::min(From.X, To.X), 0, W)),
        static_cast<int>(std::clamp<long long>(std::min(From.Y, To.Y), 0, H)),
        static_cast<int>(std::clamp<long long>(std::max<long long>(From.X, To.X) + 1, 0, W)),
        static_cast<int>(std::clamp<long long>(std::max<long long>(From.Y, To.Y) + 1, 0, H)));
  const std::uint32_t Native = ToNative(Pen);
  const auto At = [this](long long X, long long Y) {
    return static_cast<std::size_t>(Y) * static_cast<std::size_t>(W) + static_cast<std::size_t>(X);
  };
  // The bars' edges are all horizontal or vertical: those need no stepping.
  if (MinorRun == 0) {
    const long long A = MajorStart + MajorDir * First;
    const long long B = MajorStart + MajorDir * Last;
    const long long Low = std::min(A, B);
    const long long High = std::max(A, B);
    if (XMajor && From.Y >= 0 && From.Y < H) {
      std::fill(Pixels.begin() + static_cast<std::ptrdiff_t>(At(Low, From.Y)),
                Pixels.begin() + static_cast<std::ptrdiff_t>(At(High, From.Y)) + 1, Native);
    } else if (!XMajor && From.X >= 0 && From.X < W) {
      FillColumn(Pixels.data(), At(From.X, Low), static_cast<std::size_t>(High - Low + 1),
                 static_cast<std::size_t>(W), Native);
    }
    return;
  }
  // Nearest pixel to the exact line, halves rounded up: the minor offset of step I is
  // floor((2 I Run + Steps) / (2 Steps)), found once and then carried along.
  const TQuotRem Start =
      MulAddDivMod(2 * static_cast<std::uint64_t>(First), MinorRun,
                   static_cast<std::uint64_t>(Steps), 2 * static_cast<std::uint64_t>(Steps));
  auto Offset = static_cast<long long>(Start.Quot);
  auto Error = static_cast<long long>(Start.Rem);
  const long long Twice = 2 * Steps;
  const long long Rise = 2 * static_cast<long long>(MinorRun);
  for (long long I = First; I <= Last; ++I) {
    const long long Major = MajorStart + MajorDir * I;
    const long long Minor = MinorStart + MinorDir * Offset;
    const long long X = XMajor ? Major : Minor;
    const long long Y = XMajor ? Minor : Major;
    if (Inside(X, Y))
      Pixels[static_cast<std::size_t>(Y * W + X)] = Native;
    Error += Rise;
    if (Error >= Twice) {
      Error -= Twice;
      ++Offset;
    }
  }
}

std::uint32_t TRaster::BrushPixel(int X, int Y) const
{
  const auto Colour = ToNative(Brush);
  const auto Background = ToNative(clWhite);
  const bool Horizontal = Y % 8 == 0;
  const bool Vertical = X % 8 == 0;
  const bool Forward = (X - Y) % 8 == 0;
  const bool Backward = (X + Y) % 8 == 0;
  bool On = true;
  switch (Style) {
  case TBrushStyle::bsSolid:
  case TBrushStyle::bsClear:
    break;
  case TBrushStyle::bsHorizontal:
    On = Horizontal;
    break;
  case TBrushStyle::bsVertical:
    On = Vertical;
    break;
  case TBrushStyle::bsFDiagonal:
    On = Forward;
    break;
  case TBrushStyle::bsBDiagonal:
    On = Backward;
    break;
  case TBrushStyle::bsCross:
    On = Horizontal || Vertical;
    break;
  case TBrushStyle::bsDiagCross:
    On = Forward || Backward;
    break;
  }
  return On ? Colour : Background;
}

void TRaster::PaintSpan(int Y, int Left, int Right)
{
  Touch(Left, Y, Right + 1, Y + 1);
  PaintPixels(Y, Left, Right);
}

void TRaster::PaintPixels(int Y, int Left, int Right)
{
  std::uint32_t* Row = Pixels.data() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(W);
  if (Style == TBrushStyle::bsSolid) {
    FillPixels(Row + Left, Right - Left + 1, ToNative(Brush));
    return;
  }
  for (int X = Left; X <= Right; ++X)
    Row[X] = BrushPixel(X, Y);
}

void TRaster::FillRect(TPixelRect Rect)
{
  if (Style == TBrushStyle::bsClear)
    return;
  const int Left = std::max(Rect.Left, 0);
  const int Top = std::max(Rect.Top, 0);
  const int Right = std::min(Rect.Right, W);
  const int Bottom = std::min(Rect.Bottom, H);
  for (int Y = Top; Y < Bottom; ++Y)
    if (Left < Right)
      PaintSpan(Y, Left, Right - 1);
}

const TRaster::TRun* TRaster::PaintedRunAt(int Y, int X) const
{
  for (int I = LastRunOfRow[static_cast<std::size_t>(Y)]; I >= 0;) {
    const TRun& Run = PaintedRuns[static_cast<std::size_t>(I)];
    if (X >= Run.Left && X <= Run.Right)
      return &Run;
    I = Run.Next;
  }
  return nullptr;
}

int TRaster::NextOpen(int Y, int From, int Limit, const TRowScan& Scan) const
{
  const std::uint32_t* Row =
      Pixels.data() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(W);
  for (int X = From; X < Limit; ++X) {
    if (Scan.Stops(Row[X]))
      continue;
    // A painted run is bounded by pixels that stop the fill: the whole run is passed over.
    const TRun* Run = PaintedRunAt(Y, X);
    if (Run == nullptr)
      return X;
    X = Run->Right;
  }
  return Limit;
}

int TRaster::PaintStraightOn(int First, int Dir, int Left, int Right, int Block,
                             const TRowScan& Scan)
{
  // Apart from the fill's other work, and with everything it reads copied to locals (the stores
  // into pixels and marks might otherwise alias them), so that this loop, which paints most of a
  // figure, keeps what it needs in registers.
  const TRowScan Check = Scan;
  const int Width = W;
  const int Height = H;
  std::uint32_t* const Base = Pixels.data();
  int* const Marks = LastRunOfRow.data();
  const int Count = Right - Left + 1;
  const bool StopLeft = Left > 0;
  const bool StopRight = Right + 1 < Width;
  const bool Solid = Style == TBrushStyle::bsSolid;
  const std::uint32_t BrushNative = ToNative(Brush);
  int Y = First;
  for (; Y >= 0 && Y < Height; Y += Dir) {
    std::uint32_t* const Run =
        Base + static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) + Left;
    if (Marks[Y] >= 0 || (StopLeft && !Check.Stops(Run[-1])) ||
        (StopRight && !Check.Stops(Run[Count])) || !Check.NoneStops(Run, Count))
      break;
    if (Solid)
      FillPixels(Run, Count, BrushNative);
    else
      PaintPixels(Y, Left, Right);
    Marks[Y] = Block;
  }
  return Y;
}

void TRaster::FloodFill(std::int32_t X, std::int32_t Y, TColor Reference, TFillStyle FillStyle)
{
  if (!Inside(X, Y) || Style == TBrushStyle::bsClear)
    return;
  const TRowScan Scan(ToNative(Reference & 0xFFFFFFU), FillStyle == TFillStyle::fsBorder);
  std::uint32_t* Base = Pixels.data();
  const auto RowOf = [Base, this](int Row) {
    return Base + static_cast<std::size_t>(Row) * static_cast<std::size_t>(W);
  };
  if (Scan.Stops(RowOf(Y)[X]))
    return;

  // The runs painted so far, row by row, beside the image: a painted pixel may still look
  // fillable (a border fill in any colour but the border's), and is never painted twice.
  if (LastRunOfRow.size() != static_cast<std::size_t>(H))
    LastRunOfRow.assign(static_cast<std::size_t>(H), -1);
  const auto Record = [this](int RowY, int Left, int Right) {
    int& Last = LastRunOfRow[static_cast<std::size_t>(RowY)];
    PaintedRuns.push_back({RowY, RowY, Left, Right, Last});
    Last = static_cast<int>(PaintedRuns.size()) - 1;
  };
  Seeds.clear();
  const auto Push = [this](int Row, int Left, int Right, int Dir) {
    if (Row + Dir >= 0 && Row + Dir < H)
      Seeds.push_back({Row + Dir, Left, Right, Dir});
  };

  // Span-seed fill: each seed is a run of row Y - Dir already painted, under (or over) which
  // row Y is explored; only what sticks out past the parent run is looked at in the parent's
  // row again. A run that exactly continues its parent goes straight on to the next row.
  Push(Y, X, X, 0);
  while (!Seeds.empty()) {
    const TSeed Seed = Seeds.back();
    Seeds.pop_back();
    const int Dir = Seed.Dir == 0 ? 1 : Seed.Dir;
    for (int RowY = Seed.Y;;) {
      std::uint32_t* Row = RowOf(RowY);
      int I = Seed.Left;
      int Left = I;
      if (!Scan.Stops(Row[I]) && PaintedRunAt(RowY, I) == nullptr) {
        // Unpainted and fillable: no painted run can lie next to it on its row.
        while (Left > 0 && !Scan.Stops(Row[Left - 1]))
          --Left;
      } else {
        I = NextOpen(RowY, I + 1, Seed.Right + 1, Scan);
        Left = I;
      }
      bool Straight = false;
      while (I <= Seed.Right) {
        const int Right = Scan.FindStop(Row, I, W) - 1;
        PaintPixels(RowY, Left, Right);
        Record(RowY, Left, Right);
        if (Seed.Dir != 0 && Left == Seed.Left && Right == Seed.Right) {
          Straight = true; // the only run, with nothing leaking round either end
          break;
        }
        Push(RowY, Left, Right, Dir);
        if (Seed.Dir == 0) {
          Push(RowY, Left, Right, -1);
        } else {
          if (Left < Seed.Left)
            Push(RowY, Left, Seed.Left - 1, -Dir);
          if (Right > Seed.Right)
            Push(RowY, Seed.Right + 1, Right, -Dir);
        }
        I = NextOpen(RowY, Right + 2, Seed.Right + 1, Scan);
        Left = I;
      }
      if (!Straight)
        break;
      // Most rows of a figure hold the same run as the row before: while the fill has not
      // been on a row yet and its run is exactly the parent's, between two stops, it is
      // painted whole and all such rows share one record.
      const int Block = static_cast<int>(PaintedRuns.size());
      const int First = RowY + Dir;
      RowY = PaintStraightOn(First, Dir, Seed.Left, Seed.Right, Block, Scan);
      if (RowY != First)
        PaintedRuns.push_back(
            {std::min(First, RowY - Dir), std::max(First, RowY - Dir), Seed.Left, Seed.Right, -1});
      if (RowY < 0 || RowY >= H)
        break;
    }
  }
  TPixelRect Changed{X, Y, X + 1, Y + 1};
  for (const TRun& Run : PaintedRuns) {
    std::fill(LastRunOfRow.begin() + Run.Top, LastRunOfRow.begin() + Run.Bottom + 1, -1);
    Changed = {std::min(Changed.Left, Run.Left), std::min(Changed.Top, Run.Top),
               std::max(Changed.Right, Run.Right + 1), std::max(Changed.Bottom, Run.Bottom + 1)};
  }
  Touch(Changed.Left, Changed.Top, Changed.Right, Changed.Bottom);
  PaintedRuns.clear();
}

void TRaster::Resize(int Width, int Height)
{
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == W && Height == H)
    return;
  std::vector<std::uint32_t> Resized(
      static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), ToNative(clWhite));
  const int Shift = Height - H;
  const int Columns = std::min(W, Width);
  for (int Y = std::max(0, -Shift); Y < H && Y + Shift < Height; ++Y)
    std::copy_n(Pixels.data() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(W), Columns,
                Resized.data() +
                    static_cast<std::size_t>(Y + Shift) * static_cast<std::size_t>(Width));
  Pixels.swap(Resized);
  W = Width;
  H = Height;
  Dirty = {0, 0, W, H};
}
