#include "shell/run_application.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quorvane::shell {
namespace {

// Sets or clears the display variables for one test and restores them after.
class DisplayEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) saved_.push_back(Read(name));
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) Write(kNames[i], saved_[i]);
  }
  static void Write(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  static void ClearAll() {
    for (const char* name : kNames) unsetenv(name);
  }

 private:
  static constexpr const char* kNames[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  static std::optional<std::string> Read(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(DisplayEnvironment, NoVariableMeansNoDisplay) {
  ClearAll();
  EXPECT_FALSE(DisplayAvailable());
}

TEST_F(DisplayEnvironment, EmptyVariablesMeanNoDisplay) {
  ClearAll();
  setenv("DISPLAY", "", 1);
  setenv("WAYLAND_DISPLAY", "", 1);
  EXPECT_FALSE(DisplayAvailable());
}

TEST_F(DisplayEnvironment, AnyOneOfThemIsEnough) {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    ClearAll();
    setenv(name, "x", 1);
    EXPECT_TRUE(DisplayAvailable()) << name;
  }
}

TEST(NoDisplayMessage, IsOneLineShowingTheVirtualDisplayCommand) {
  EXPECT_EQ(NoDisplayMessage("/usr/bin/quorvane"),
            "No display found: run it under a virtual one with  xvfb-run -a /usr/bin/quorvane");
}

}  // namespace
}  // namespace quorvane::shell
