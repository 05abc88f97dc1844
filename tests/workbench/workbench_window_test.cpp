#include "workbench/workbench_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "workbench/point_table_model.h"

namespace quorvane::workbench {
namespace {

// The window is closed and destroyed with points on show, as when the
// program ends: its tables are hidden after nothing of the window is left
// for them to read, or not at all.
TEST(WorkbenchWindow, EndsWithPointsShown) {
  auto window = std::make_unique<WorkbenchWindow>();
  fit::FitData data;
  for (int i = 0; i < 60; ++i) data.points.push_back({0.1 * i, 100.0 - 0.1 * i, 298.0, 0.01, 0, 0});
  window->show();
  window->Session().SetData(data);
  window->Points().Reset();

  window.reset();
  SUCCEED();
}

}  // namespace
}  // namespace quorvane::workbench
