#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/eos_command.h"
#include "cli/scale_commands.h"

namespace quorvane::cli {

struct ScaleOutcome {
  int code = -1;
  std::string out;
  std::string err;
};

// The program as main runs it, with the shipped scales of the source tree.
inline ScaleOutcome RunScaleProgram(const std::vector<std::string>& arguments,
                                    const std::string& input = "") {
#ifdef _WIN32
  _putenv_s("QUORVANE_SCALES_DIR", QUORVANE_SHIPPED_SCALES_DIR);
#else
  setenv("QUORVANE_SCALES_DIR", QUORVANE_SHIPPED_SCALES_DIR, 1);
#endif
  std::istringstream in(input);
  std::ostringstream out, err;
  ScaleOutcome outcome;
  outcome.code = IsScaleCommand(arguments) ? RunScaleCommand(arguments, in, out, err)
                                           : RunEosCommand(arguments, in, out, err);
  outcome.out = out.str();
  outcome.err = err.str();
  return outcome;
}

// A scratch folder of the test's own, under a fresh name, removed afterwards.
class ScaleCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    do {
      dir_ = std::filesystem::temp_directory_path() /
             ("quorvane_scale_" + std::to_string(random()) + "_" + std::to_string(random()));
    } while (!std::filesystem::create_directory(dir_));
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  static std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path dir_;
};

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
