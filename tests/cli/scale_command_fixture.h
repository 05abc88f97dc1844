#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/eos_command.h"
#include "cli/program_run.h"
#include "cli/scale_commands.h"

namespace quorvane::cli {

using ScaleOutcome = Outcome;

// The program as main runs it, with the shipped scales of the source tree.
inline Outcome RunScaleProgram(const std::vector<std::string>& arguments,
                               const std::string& input = "") {
#ifdef _WIN32
  _putenv_s("QUORVANE_SCALES_DIR", QUORVANE_SHIPPED_SCALES_DIR);
#else
  setenv("QUORVANE_SCALES_DIR", QUORVANE_SHIPPED_SCALES_DIR, 1);
#endif
  return RunProgram(arguments, input);
}

using ScaleCommandTest = ScratchFolderTest;

// The numbers of one CSV line.
inline std::vector<double> CsvNumbers(const std::string& line) {
  std::vector<double> numbers;
  std::istringstream fields(line);
  for (std::string field; std::getline(fields, field, ',');) {
    if (field == "true" || field == "false") continue;
    numbers.push_back(std::stod(field));
  }
  return numbers;
}

// The data lines of a CSV table, header left out.
inline std::vector<std::vector<double>> CsvRows(const std::string& text) {
  std::vector<std::vector<double>> rows;
  std::istringstream lines(text);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) rows.push_back(CsvNumbers(line));
  return rows;
}

}  // namespace quorvane::cli
