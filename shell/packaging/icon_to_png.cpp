// Build-time tool: writes the program's .ico as the PNG a desktop icon theme
// takes. Usage: icon_to_png <input.ico> <output.png>
#include <QCoreApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 3) {
    std::fputs("usage: icon_to_png <input.ico> <output.png>\n", stderr);
    return 2;
  }
  QImage icon(QString::fromLocal8Bit(argv[1]), "ICO");
  if (icon.isNull()) {
    std::fprintf(stderr, "icon_to_png: cannot read %s\n", argv[1]);
    return 1;
  }
  if (!icon.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "icon_to_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
