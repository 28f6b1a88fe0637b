#pragma once

#include <QFontMetricsF>
#include <QStringList>

namespace report {

// Breaks text into the lines a box of the given width shows: at line breaks,
// then at word boundaries (or anywhere inside a word longer than the box).
// Without wrap each paragraph stays one line, shortened with "…" if too wide.
QStringList wrapText(const QString& text, const QFont& font, const QFontMetricsF& metrics, double width,
                     bool wrap);
// Whether the text shows whole in a box of that width and height: every
// word (without wrap, every paragraph) within the width, every line within
// the height.
bool fitsWhole(const QString& text, const QFont& font, const QFontMetricsF& metrics, double width,
               double height, bool wrap);
// The line shortened so that it and a final "…" fit the width.
QString elideLine(const QString& line, const QFontMetricsF& metrics, double width);

} // namespace report
