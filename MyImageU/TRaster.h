#pragma once

#include <cstdint>
#include <vector>

class TRowScan;

// Colours as the program writes them: 0x00BBGGRR, red in the low byte.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clAqua = 0xFFFF00;
// What GetPixel answers for a pixel outside the raster.
inline constexpr TColor clInvalid = 0xFFFFFFFF;

enum class TBrushStyle : std::uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross,
};

// How a flood fill is bounded: surface fills the connected pixels of one colour, border those
// up to a border colour.
enum class TFillStyle : std::uint8_t { fsSurface = 0, fsBorder = 1 };

struct TPixelPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend constexpr bool operator==(TPixelPoint, TPixelPoint) = default;
};

// Left and top included, right and bottom excluded.
struct TPixelRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
};

// A pixel buffer with a pen, a brush and a pen position: the canvas the drawing surface
// draws on. Pixels outside the buffer are dropped. The pixels are kept in the layout Qt shows
// without conversion (0xFFRRGGBB).
class TRaster {
public:
  TRaster() = default;
  TRaster(int Width, int Height);

  [[nodiscard]] int Width() const { return W; }
  [[nodiscard]] int Height() const { return H; }
  [[nodiscard]] const std::uint32_t* Bits() const { return Pixels.data(); }

  [[nodiscard]] TColor PenColor() const { return Pen; }
  void SetPenColor(TColor Color) { Pen = Color & 0xFFFFFFU; }
  [[nodiscard]] TColor BrushColor() const { return Brush; }
  void SetBrushColor(TColor Color) { Brush = Color & 0xFFFFFFU; }
  [[nodiscard]] TBrushStyle BrushStyle() const { return Style; }
  void SetBrushStyle(TBrushStyle NewStyle) { Style = NewStyle; }
  [[nodiscard]] int FontSize() const { return FontPoints; }
  void SetFontSize(int Points) { FontPoints = Points; }
  [[nodiscard]] TColor FontColor() const { return Font; }
  void SetFontColor(TColor Color) { Font = Color & 0xFFFFFFU; }

  [[nodiscard]] TPixelPoint PenPos() const { return PenAt; }
  void MoveTo(TPixelPoint To) { PenAt = To; }
  // A line from the pen position to To, To itself left out; To becomes the pen position.
  void LineTo(TPixelPoint To);

  void FillRect(TPixelRect Rect);
  [[nodiscard]] TPixelRect ClipBox() const { return {0, 0, W, H}; }
  [[nodiscard]] TColor GetPixel(std::int32_t X, std::int32_t Y) const;
  void SetPixel(std::int32_t X, std::int32_t Y, TColor Color);

  // Border mode fills every pixel connected to the start that lacks Reference; surface mode
  // every connected pixel that has it. Nothing happens when the fill cannot start.
  void FloodFill(std::int32_t X, std::int32_t Y, TColor Reference, TFillStyle FillStyle);

  // Takes a new size, keeping the picture anchored at the bottom-left corner; new area white.
  void Resize(int Width, int Height);

  // The smallest rectangle holding every pixel changed since the last call (empty when
  // none), so that only that part of the screen is painted again.
  TPixelRect TakeDirty();

private:
  [[nodiscard]] bool Inside(long long X, long long Y) const
  {
    return X >= 0 && Y >= 0 && X < W && Y < H;
  }
  [[nodiscard]] std::uint32_t BrushPixel(int X, int Y) const;
  void PaintSpan(int Y, int Left, int Right);
  void PaintPixels(int Y, int Left, int Right); // with the brush, not marked as changed

  int W = 0;
  int H = 0;
  std::vector<std::uint32_t> Pixels;
  TColor Pen = clBlack;
  TColor Brush = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  int FontPoints = 8;
  TColor Font = clBlack;
  TPixelPoint PenAt;
  TPixelRect Dirty;
  void Touch(int Left, int Top, int Right, int Bottom);
  // Kept between fills so that a fill allocates nothing once warmed up.
  struct TSeed {
    int Y;
    int Left;
    int Right;
    int Dir; // the row this run came from lies at Y - Dir; 0 for the start
  };
  struct TRun { // columns Left..Right of rows Top..Bottom, all included
    int Top;
    int Bottom;
    int Left;
    int Right;
    int Next; // the row's run painted before this one, or -1 (always, for several rows)
  };
  // The flood fill's record of what it painted, beside the pixels: the run of row Y that
  // holds X, if any.
  [[nodiscard]] const TRun* PaintedRunAt(int Y, int X) const;
  // The first X in From..Limit - 1 that the fill may paint and has not, or Limit.
  [[nodiscard]] int NextOpen(int Y, int From, int Limit, const TRowScan& Scan) const;
  // Paints rows First, First + Dir, ... for as long as each holds exactly Left..Right as one
  // whole run and the fill has not been on it yet, and records them as run Block; answers the
  // first row that is not such a row.
  int PaintStraightOn(int First, int Dir, int Left, int Right, int Block, const TRowScan& Scan);
  std::vector<TRun> PaintedRuns;
  std::vector<int> LastRunOfRow; // -1 where the fill has painted nothing yet
  std::vector<TSeed> Seeds;
};
