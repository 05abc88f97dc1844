#include "dialog/runtime_messages.h"

#include <gtest/gtest.h>

#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

TEST(RuntimeMessages, FillsTheNumberedTexts) {
  struct Case {
    std::int32_t number;
    const char* text;
  };
  const std::vector<Case> cases = {
      {50001, "CoInitialize must be called for a dialog box containing ActiveX controls"},
      {50003, "Program exception in CloseForm"},
      {50006, "Program exception while displaying a dialog box"},
      {50007, "Invalid style BS_OWNERDRAW used for control 12"},
      {50008, "Error creating ActiveX control {X} - gone"},
      {50000, "Error in Dialog Procedures - 50000"},
      {50009, "Error in Dialog Procedures - 50009"},
      {-3, "Error in Dialog Procedures - -3"},
  };
  for (const Case& c : cases) {
    const bool twoArguments = c.number == 50008;
    EXPECT_EQ(RuntimeMessageText(
                  c.number, {twoArguments ? "{X}" : "BS_OWNERDRAW", twoArguments ? "gone" : "12"}),
              c.text)
        << c.number;
  }
  EXPECT_EQ(RuntimeMessageText(50007, {"BS_USERBUTTON"}),
            "Invalid style BS_USERBUTTON used for control %s");
}

using FatalPathTest = ScriptedHostTest;

TEST_F(FatalPathTest, ShowsTheTextThenEndsTheProgram) {
  EXPECT_THROW(FailFatally(kExceptionInCloseForm, {}), ProgramEnded);
  EXPECT_EQ(host.Calls(), (std::vector<std::string>{
                              "ShowMessage \"Dialog runtime\" \"Program exception in CloseForm\"",
                              "EndProgram"}));
  host.ClearCalls();
  ReportRuntimeMessage(kCoInitializeMissing, {});
  EXPECT_EQ(host.Calls().size(), 1u);
}

}  // namespace
}  // namespace quorvane::dialog
