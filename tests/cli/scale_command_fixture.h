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

// A command line the program refuses, and what its one line of error says.
struct Refusal {
  std::vector<std::string> arguments;
  const char* says;
};

// Each refusal exits as bad input with one line on the error stream naming
// the fault, and writes nothing to the output.
inline void ExpectRefusals(const std::string& command, const std::vector<Refusal>& refusals) {
  for (const Refusal& refusal : refusals) {
    std::vector<std::string> arguments{command};
    arguments.insert(arguments.end(), refusal.arguments.begin(), refusal.arguments.end());
    const Outcome run = RunScaleProgram(arguments);
    EXPECT_EQ(run.code, kExitBadInput) << refusal.says;
    EXPECT_TRUE(run.out.empty()) << refusal.says;
    EXPECT_NE(run.err.find(refusal.says), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
}

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
