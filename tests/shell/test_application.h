#pragma once

#include <QApplication>

// The one QApplication of a shell test executable, created on first use.
namespace quorvane::shell::testing {

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "shell_test";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

}  // namespace quorvane::shell::testing
