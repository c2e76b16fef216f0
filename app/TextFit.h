#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

#include <vector>

class QWidget;

// Whether the texts a control shows stand whole inside it in Font: a push button's or a
// panel's caption, the puzzle selector's caption and items beside their indicators, two
// digits in a counter. A control without text always fits.
[[nodiscard]] bool TextFits(const QWidget& Control, const QFont& Font);

// Font at the largest pixel size, not above its own, at which the control's texts fit.
[[nodiscard]] QFont LargestFitting(const QWidget& Control, QFont Font);

// Text as a plain text box lays it out in Font, Width pixels wide between its side margins and
// Margin pixels down: the lines each paragraph takes, wrapped at a word boundary or, in
// Japanese, anywhere; and how far down the letters of the last line with text reach (their ink,
// not the line's leading).
struct TTextLayout {
  std::vector<int> Lines;
  int Bottom = 0;
};
[[nodiscard]] TTextLayout LayOutText(const QString& Text, const QFont& Font, int Width, int Margin);

// Where the glyphs of laid-out runs put ink: a face's line box is taller than its letters.
[[nodiscard]] QRectF Ink(const QList<QGlyphRun>& Runs);
