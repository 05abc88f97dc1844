#include "host/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace quorvane::host {
namespace {

constexpr int kLetterCount = 52;
// QFont's stretch is a percentage of the face's normal width.
constexpr int kNormalStretch = 100;
constexpr int kNarrowestStretch = 50;
constexpr int kDefaultPointSize = 8;
constexpr double kPointsPerInch = 72.0;
// The dialog faces of the original platform, none of them installed here.
constexpr std::array<const char*, 7> kHostDialogFaces = {
    "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif",
    "Tahoma",        "Segoe UI",     "System"};
// Liberation Sans rounds to the 6-pixel base unit of the host's 8 pt dialog
// face; DejaVu Sans is the fallback every Debian desktop has.
constexpr std::array<const char*, 4> kSubstitutes = {"Liberation Sans", "DejaVu Sans", "Arial",
                                                     "Helvetica"};

bool IsHostDialogFace(const QString& family) {
  for (const char* face : kHostDialogFaces) {
    if (family.compare(QLatin1String(face), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

QString SubstituteFamily() {
  for (const char* face : kSubstitutes) {
    if (QFontDatabase::hasFamily(QLatin1String(face))) return QLatin1String(face);
  }
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString ChooseFamily(const QString& requested) {
  if (!requested.isEmpty() && !IsHostDialogFace(requested) && QFontDatabase::hasFamily(requested)) {
    return requested;
  }
  return SubstituteFamily();
}

QString Letters() {
  return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
  const bool negative = (product < 0) != (c < 0);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

QFont DialogFont(const std::optional<dialog::DialogFont>& font, double dotsPerInch) {
  int points = kDefaultPointSize;
  QString family;
  bool bold = false;
  bool italic = false;
  if (font) {
    points = font->pointSize > 0 && font->pointSize < 0x7FFF ? font->pointSize : kDefaultPointSize;
    family = QString::fromStdString(font->typeface);
    bold = font->weight >= 600;
    italic = font->italic != 0;
  }
  QFont result(ChooseFamily(family));
  // The host asks for a character height of points * dpi / 72 pixels.
  result.setPixelSize(std::max(1, MulDiv(points, static_cast<int>(std::lround(dotsPerInch)),
                                         static_cast<int>(kPointsPerInch))));
  result.setBold(bold);
  result.setItalic(italic);
  return result;
}

BaseUnits FontBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(Letters());
  return BaseUnits{MulDiv(width, 1, kLetterCount), metrics.height()};
}

DialogMetrics MeasureDialogFont(const std::optional<dialog::DialogFont>& font, double dotsPerInch) {
  const QFont dialogFont = DialogFont(font, dotsPerInch);
  const BaseUnits units = FontBaseUnits(dialogFont);
  return DialogMetrics{NarrowedToFit(dialogFont, Letters(), kLetterCount * units.x), units};
}

QFont NarrowedToFit(const QFont& font, const QString& text, double room) {
  const double width = QFontMetricsF(font).horizontalAdvance(text);
  if (width <= room) return font;
  const int normal = font.stretch() > 0 ? font.stretch() : kNormalStretch;
  QFont narrowed = font;
  for (int stretch = static_cast<int>(std::floor(normal * room / width));
       stretch > kNarrowestStretch; --stretch) {
    narrowed.setStretch(stretch);
    if (QFontMetricsF(narrowed).horizontalAdvance(text) <= room) return narrowed;
  }
  narrowed.setStretch(kNarrowestStretch);
  return narrowed;
}

QRect DialogRectToPixels(int x, int y, int cx, int cy, BaseUnits units) {
  return QRect(MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(cx, units.x, 4),
               MulDiv(cy, units.y, 8));
}

}  // namespace quorvane::host
