#include "plot/figure_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <memory>

#include "plot/figure_painter.h"

namespace quorvane::plot {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 560;

// Qt's notes about its environment (no runtime directory, say) are not the
// command line's business: only its critical messages reach standard error.
void CriticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

// Fonts need a GUI application. A program without one (the command line)
// gets its own, on the offscreen platform so that no display is needed.
void EnsureApplication() {
  if (QGuiApplication::instance()) return;
  qInstallMessageHandler(CriticalOnly);
  static int argc = 1;
  static char name[] = "quorvane-eos";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static std::unique_ptr<QGuiApplication> application =
      std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

bool FiguresAvailable() {
  return true;
}

std::string DrawFigure(const Figure& figure, FigureFiles& files) {
  EnsureApplication();
  const QSize size(kWidth, kHeight);
  QByteArray svgBytes;
  {
    QBuffer buffer(&svgBytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromStdString(figure.title));
    QPainter painter;
    if (!painter.begin(&svg)) return "cannot draw the figure as SVG";
    PaintFigure(painter, size, figure);
    // The generator writes its document when the painter ends.
    if (!painter.end()) return "cannot draw the figure as SVG";
  }
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintFigure(painter, size, figure);
  }
  QByteArray pngBytes;
  QBuffer buffer(&pngBytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    return "cannot draw the figure as PNG";
  }
  files.svg.assign(svgBytes.constData(), static_cast<std::size_t>(svgBytes.size()));
  files.png.assign(pngBytes.constData(), static_cast<std::size_t>(pngBytes.size()));
  return {};
}

}  // namespace quorvane::plot
