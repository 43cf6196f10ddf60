// Text measuring and drawing shared by the bitmap canvas, the metafile canvas
// and metafile replay, so that all three agree to the pixel. Measuring uses a
// paint device of 96 pixels per inch; fonts are sized in pixels (TFont::ToQFont).
// Text is placed like GDI's default alignment: (x, y) is the top-left corner of
// the text cell, the baseline lies at y + ascent, and the cell is
// TextExtent wide and ascent + descent high.
#pragma once

#include <QFont>
#include <QPainter>
#include <QSize>
#include <QString>
#include <vector>

#include "Color.h"

namespace mosaiko {

// Width (sum of advances) and height (ascent + descent); 0 x 0 for an empty text.
QSize MeasureText(const QFont& font, const QString& text);
int FontAscent(const QFont& font);
// The advance of each UTF-16 unit of text, in pixels; they add up to MeasureText().width().
std::vector<int> CharacterAdvances(const QFont& font, const QString& text);
// Draws the glyphs only (no background) with the text cell's top-left at (x, y).
void DrawTextAt(QPainter& painter, const QFont& font, TColor color, int x, int y, const QString& text);

}  // namespace mosaiko
