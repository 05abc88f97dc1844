// Renders the calculator as it stands after start-up into a PNG file, for the
// documentation and for checking the form's layout by eye:
//   QT_QPA_PLATFORM=offscreen quorvane_render_calculator docs/calculator.png
#include <QPixmap>
#include <QString>
#include <cstdio>

#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "host/qt/qt_driver.h"
#include "resources/program_resources.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
    return 2;
  }
  using namespace quorvane;
  host::testing::QtDriver driver;
  resources::RegisterProgramResources(driver.Resources());
  dialog::SetWindowSystem(&driver.Host());
  bool saved = false;
  driver.Inspect([&driver, &saved, path = QString::fromLocal8Bit(argv[1])] {
    host::QtWindowSystem& host = driver.Qt();
    QWidget* form = host.Widget(host.ActiveDialog());
    saved = form != nullptr && form->grab().save(path, "PNG");
  });
  driver.Click(calculator::kExitButton);
  const bool ran = driver.Play(calculator::RunCalculator);
  dialog::SetWindowSystem(nullptr);
  if (!ran || !saved) {
    std::fprintf(stderr, "the calculator could not be rendered\n");
    return 1;
  }
  return 0;
}
