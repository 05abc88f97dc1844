#include "runtime_scenarios.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "form_builder.h"

namespace quorvane::dialog::scenarios {
namespace {

constexpr std::int32_t kFormId = 4100;
constexpr std::int32_t kExit = 8;

// Makes the driver's host current for one scenario and loads its form.
class Scenario {
 public:
  Scenario(HostDriver& driver, const FormBuilder& builder) {
    builder.Install(driver.Resources(), kFormId);
    SetWindowSystem(&driver.Host());
    loaded_ = LoadForm(form, kFormId) == kTrue;
    EXPECT_TRUE(loaded_);
  }
  ~Scenario() {
    ReleaseForm(form);
    SetWindowSystem(nullptr);
  }
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  std::string Text(std::int32_t id) {
    std::string buffer(256, ' ');
    EXPECT_EQ(GetControlText(form, id, buffer), kTrue);
    return buffer.substr(0, buffer.find_last_not_of(' ') + 1);
  }
  Logical Checked(std::int32_t id) {
    Logical value = 0;
    EXPECT_EQ(GetControlLogical(form, id, value), kTrue);
    return value;
  }

  DialogForm form;

 private:
  bool loaded_ = false;
};

std::vector<std::string> events;

void Record(DialogForm&, std::int32_t id, EventKind kind) {
  events.push_back(std::to_string(id) + " " + std::to_string(static_cast<int>(kind)));
}

void CopyField(DialogForm& form, std::int32_t id, EventKind kind) {
  Record(form, id, kind);
  std::string text(256, ' ');
  GetControlText(form, id, text);
  // Built by appending: GCC 12 at -O2 takes the literal inserted before a
  // temporary for an overlapping copy and warns (-Wrestrict, its bug 105651).
  std::string shown = "[";
  shown += text.substr(0, text.find_last_not_of(' ') + 1);
  shown += ']';
  SetControlText(form, 1001, shown);
}

void GreyOnClick(DialogForm& form, std::int32_t id, EventKind kind) {
  Record(form, id, kind);
  SetControlLogical(form, 1000, kFalse, ValueKind::Enabled);
  SetControlLogical(form, 1022, kTrue);
  SetControlText(form, 1001, "greyed");
}

FormBuilder TwoFields() {
  FormBuilder builder;
  builder.Button(kExit, "Exit", BS_PUSHBUTTON, WS_TABSTOP).Edit(1000).Edit(1001);
  return builder;
}

}  // namespace

void TypingUpdatesTheFormAndExitKeepsTheShownText(HostDriver& driver) {
  Scenario scenario(driver, TwoFields());
  events.clear();
  SetControlHandler(scenario.form, 1000, CopyField);
  driver.TypeText(1000, "12.5");
  driver.Inspect([&driver] {
    EXPECT_EQ(driver.ShownText(1000), "12.5");
    EXPECT_EQ(driver.ShownText(1001), "[12.5]");
  });
  driver.Click(kExit);
  EXPECT_EQ(RunFormModal(scenario.form), kExit);
  EXPECT_EQ(scenario.Text(1000), "12.5");
  EXPECT_EQ(scenario.Text(1001), "[12.5]");
  // One Changed per typed character, none for the handler's own writes.
  EXPECT_EQ(events, (std::vector<std::string>{"1000 -6", "1000 -6", "1000 -6", "1000 -6"}));
}

void EscapeEnterAndCloseBoxLeaveTheFormOpen(HostDriver& driver) {
  Scenario scenario(driver, TwoFields());
  SetControlText(scenario.form, 1000, "still here");
  driver.PressEscape();
  driver.PressEnter();
  driver.PressCloseBox();
  driver.Inspect([&driver] { EXPECT_EQ(driver.ShownText(1000), "still here"); });
  driver.Click(kExit);
  EXPECT_EQ(RunFormModal(scenario.form), kExit);
}

void RadioClicksCheckOneButtonPerGroup(HostDriver& driver) {
  FormBuilder builder;
  builder.Button(kExit, "Exit", BS_PUSHBUTTON)
      .Static(1016, "Precision", WS_GROUP)
      .Radio(1021, "Murnaghan")
      .Radio(1022, "Birch-Murnaghan")
      .Radio(1023, "Vinet")
      .Radio(1025, "2nd", WS_GROUP)
      .Radio(1026, "3rd")
      .Static(1029, "credit", WS_GROUP);
  Scenario scenario(driver, builder);
  events.clear();
  for (std::int32_t id : {1021, 1022, 1023, 1025, 1026})
    SetControlHandler(scenario.form, id, Record);
  driver.Click(1023);
  driver.Click(1026);
  driver.Inspect([&driver] {
    EXPECT_FALSE(driver.ShownChecked(1021));
    EXPECT_TRUE(driver.ShownChecked(1023));
    EXPECT_FALSE(driver.ShownChecked(1025));
    EXPECT_TRUE(driver.ShownChecked(1026));
  });
  driver.Click(kExit);
  EXPECT_EQ(RunFormModal(scenario.form), kExit);
  EXPECT_EQ(events, (std::vector<std::string>{"1023 -4", "1026 -4"}));
  EXPECT_EQ(scenario.Checked(1021), kFalse);
  EXPECT_EQ(scenario.Checked(1023) & 1, 1);
  EXPECT_EQ(scenario.Checked(1026) & 1, 1);
}

void SpinnerStepsStayWithinTheRange(HostDriver& driver) {
  FormBuilder builder;
  builder.Button(kExit, "Exit", BS_PUSHBUTTON).Edit(1038, ES_NUMBER).Spinner(1039);
  Scenario scenario(driver, builder);
  events.clear();
  SetControlInteger(scenario.form, 1039, 2, ValueKind::RangeMin);
  SetControlInteger(scenario.form, 1039, 8, ValueKind::RangeMax);
  SetControlInteger(scenario.form, 1039, 7, ValueKind::Position);
  SetControlHandler(scenario.form, 1038, Record);
  driver.Inspect([&driver] { EXPECT_EQ(driver.ShownText(1038), "7"); });
  driver.SpinUp(1039);
  driver.SpinUp(1039);
  driver.Inspect([&driver] { EXPECT_EQ(driver.ShownText(1038), "8"); });
  driver.SpinDown(1039);
  driver.SpinDown(1039);
  driver.Inspect([&driver] { EXPECT_EQ(driver.ShownText(1038), "6"); });
  driver.Click(kExit);
  EXPECT_EQ(RunFormModal(scenario.form), kExit);
  EXPECT_EQ(events, (std::vector<std::string>{"1038 -6", "1038 -6", "1038 -6"}));
  std::int32_t position = 0;
  EXPECT_EQ(GetControlInteger(scenario.form, 1039, position), kTrue);
  EXPECT_EQ(position, 6);
}

void DigitsOnlyFieldRefusesOtherCharacters(HostDriver& driver) {
  FormBuilder builder;
  builder.Button(kExit, "Exit", BS_PUSHBUTTON).Edit(1038, ES_NUMBER);
  Scenario scenario(driver, builder);
  driver.TypeText(1038, "-1.5");
  driver.Inspect([&driver] { EXPECT_EQ(driver.ShownText(1038), "15"); });
  driver.Click(kExit);
  EXPECT_EQ(RunFormModal(scenario.form), kExit);
  EXPECT_EQ(scenario.Text(1038), "15");
}

void HandlerSetsReachTheWindowWhenItReturns(HostDriver& driver) {
  FormBuilder builder = TwoFields();
  builder.Button(30, "Grey", BS_PUSHBUTTON).Radio(1021, "a", WS_GROUP).Radio(1022, "b");
  Scenario scenario(driver, builder);
  events.clear();
  SetControlHandler(scenario.form, 30, GreyOnClick);
  driver.Inspect([&driver] {
    EXPECT_TRUE(driver.ShownEnabled(1000));
    EXPECT_TRUE(driver.ShownChecked(1021));
  });
  driver.Click(30);
  driver.Inspect([&driver] {
    EXPECT_FALSE(driver.ShownEnabled(1000));
    EXPECT_FALSE(driver.ShownChecked(1021));
    EXPECT_TRUE(driver.ShownChecked(1022));
    EXPECT_EQ(driver.ShownText(1001), "greyed");
  });
  driver.Click(kExit);
  EXPECT_EQ(RunFormModal(scenario.form), kExit);
  Logical enabled = kTrue;
  EXPECT_EQ(GetControlLogical(scenario.form, 1000, enabled, ValueKind::Enabled), kTrue);
  EXPECT_EQ(enabled & 1, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"30 -4"}));
}

}  // namespace quorvane::dialog::scenarios
