#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

class QWidget;

// Whether the texts a control shows stand whole inside it in Font: a push button's or a
// panel's caption, the puzzle selector's caption and items beside their indicators, two
// digits in a counter. A control without text always fits.
[[nodiscard]] bool TextFits(const QWidget& Control, const QFont& Font);

// Font at the largest pixel size, not above its own, at which the control's texts fit.
[[nodiscard]] QFont LargestFitting(const QWidget& Control, QFont Font);

// The lines a paragraph takes in a text box Width pixels wide, wrapped as the explanation
// wraps (at a word boundary or, in Japanese, anywhere).
[[nodiscard]] int WrappedLines(const QString& Paragraph, const QFont& Font, int Width);

// How far below the top of a plain text box the letters of Text's last line with text reach
// (their ink, not the line's leading), laid out as the box lays it out: Margin pixels down,
// Width pixels wide between its side margins.
[[nodiscard]] int TextBottom(const QString& Text, const QFont& Font, int Width, int Margin);

// Where the glyphs of laid-out runs put ink: a face's line box is taller than its letters.
[[nodiscard]] QRectF Ink(const QList<QGlyphRun>& Runs);
