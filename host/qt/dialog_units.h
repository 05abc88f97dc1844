#pragma once

#include <QFont>
#include <QRect>
#include <optional>

#include "dialog/dialog_template.h"

// Dialog units: a template's coordinates, scaled by its font so that a form
// keeps its proportions whatever font and screen it is shown with.
namespace quorvane::host {

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct BaseUnits {
  int x = 0;
  int y = 0;
  bool operator==(const BaseUnits&) const = default;
};

// a * b / c rounded to the nearest integer, halves away from zero; 0 when c is 0.
int MulDiv(int a, int b, int c);

// The template's font, or the closest installed sans-serif face when the
// typeface is missing here, at the template's point size on a screen of the
// given dots per inch. Without a template font the system dialog font (8 pt)
// is meant.
QFont DialogFont(const std::optional<dialog::DialogFont>& font, double dotsPerInch);

// Average width of the 52 letters A-Z a-z (rounded) and the text height.
BaseUnits FontBaseUnits(const QFont& font);

// The dialog font's base units, and the face its controls draw their texts
// in: the dialog font, narrowed where its letters are wider on average than
// the whole pixels of the base unit they are rounded to. A template sizes each
// text in average letters of its face, so a text fits its rectangle in the
// substitute face as it did in the template's own.
struct DialogMetrics {
  QFont textFont;
  BaseUnits units;
};
DialogMetrics MeasureDialogFont(const std::optional<dialog::DialogFont>& font, double dotsPerInch);

// The font narrowed just enough for the text to fit the room, in pixels; at
// most to half its width. A substitute face differs from the template's in
// its proportions beyond the average letter (digits, blanks, punctuation).
QFont NarrowedToFit(const QFont& font, const QString& text, double room);

// A rectangle in dialog units as pixels.
QRect DialogRectToPixels(int x, int y, int cx, int cy, BaseUnits units);

}  // namespace quorvane::host
