#include "plot/figure_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <memory>

namespace quorvane::plot {
namespace {

// Slides want twice the pixels of the page.
constexpr double kPngScale = 2.0;

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

bool PngBuilt() {
  return true;
}

std::string RenderPng(const std::string& svg, std::string& png) {
  EnsureApplication();
  QSvgRenderer renderer(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
  if (!renderer.isValid()) return "cannot read the figure's SVG to draw it as PNG";
  const QSize size = (QSizeF(renderer.defaultSize()) * kPngScale).toSize();
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    return "cannot draw the figure as PNG";
  }
  png.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return {};
}

}  // namespace quorvane::plot
