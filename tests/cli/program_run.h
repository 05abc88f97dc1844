#pragma once

#include <gtest/gtest.h>

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

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

// The command line as main runs it: its exit code and what it wrote.
inline Outcome RunProgram(const std::vector<std::string>& arguments,
                          const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  Outcome outcome;
  outcome.code = IsScaleCommand(arguments) ? RunScaleCommand(arguments, in, out, err)
                                           : RunEosCommand(arguments, in, out, err);
  outcome.out = out.str();
  outcome.err = err.str();
  return outcome;
}

// A scratch folder of the test's own under a fresh name, removed afterwards,
// so that runs side by side (other builds, other checkouts) never share it.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    do {
      dir_ = std::filesystem::temp_directory_path() /
             ("quorvane_cli_" + std::to_string(random()) + "_" + std::to_string(random()));
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

}  // namespace quorvane::cli
