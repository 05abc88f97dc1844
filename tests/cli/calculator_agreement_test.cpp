#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "app/decimal_text.h"
#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "calculator/working_point_handlers.h"
#include "cli/eos_command.h"
#include "dialog/control_values.h"
#include "dialog/resources.h"
#include "dialog/scripted_host.h"
#include "engine/process_state.h"
#include "resources/program_resources.h"

// quorvane-eos against the calculator itself: the same parameters and the same
// entry must give the same state point, to the last bit, and with --width the
// same texts the form shows.
namespace quorvane::cli {
namespace {

using namespace quorvane::calculator;

// The working-point fields in the order of the output columns.
constexpr std::array<std::int32_t, 6> kColumnFields = {
    kPressureField,    kTemperatureField,        kVolumeField,
    kVolumeRatioField, kZeroPressureVolumeField, kThermalVolumeRatioField};

struct Entry {
  std::int32_t field;
  std::string text;
};

struct AgreementCase {
  const char* name;
  std::vector<std::int32_t> clicks;
  std::vector<Entry> parameterTyping;
  // Whole entries into working-point fields; the last one is compared.
  std::vector<Entry> entries;
};

const AgreementCase kAgreementCases[] = {
    {"PressureAtStartUp", {}, {}, {{kPressureField, "10"}}},
    {"PressureBelowTheReachable", {}, {}, {{kPressureField, "-30"}}},
    {"PressureWhenHot", {}, {}, {{kTemperatureField, "1200"}, {kPressureField, "25"}}},
    {"Volume", {}, {}, {{kVolumeField, "9.1"}}},
    {"VolumeOverV00", {}, {}, {{kTemperatureField, "500"}, {kVolumeRatioField, "0.93"}}},
    {"ZeroPressureVolumeHoldsTheVolume",
     {},
     {},
     {{kPressureField, "7"}, {kZeroPressureVolumeField, "10.3"}}},
    {"TemperatureHoldsTheVolume", {}, {}, {{kPressureField, "12"}, {kTemperatureField, "900"}}},
    {"VolumeOverVT0", {}, {}, {{kTemperatureField, "1500"}, {kThermalVolumeRatioField, "0.95"}}},
    {"VinetWithTypedParameters",
     {kVinetRadio},
     {{kK0Field, "160"}, {kKp0Field, "5.2"}, {kAlpha1Field, "1.5"}},
     {{kTemperatureField, "1200"}, {kPressureField, "25"}}},
    {"NaturalStrainOrder4",
     {kNaturalStrainRadio, kOrder4Radio},
     {{kKpp0Field, "-0.05"}, {kTrefField, "300"}, {kDKdTField, "-0.03"}},
     {{kTemperatureField, "700"}, {kPressureField, "-3"}}},
    {"BirchMurnaghanOrder2", {kOrder2Radio}, {{kV0Field, "11"}}, {{kVolumeField, "9.5"}}},
    {"Murnaghan", {kMurnaghanRadio}, {{kAlpha0Field, "3.5"}}, {{kPressureField, "40"}}},
    {"VinetOrder2Stretched", {kVinetRadio, kOrder2Radio}, {}, {{kPressureField, "-4"}}},
};

std::string FieldText(std::int32_t field) {
  std::array<char, 256> buffer{};
  dialog::GetControlText(TheCalculatorForm(), field, buffer);
  std::string text(buffer.data(), strnlen(buffer.data(), buffer.size()));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string Shortest(double x) {
  std::string text;
  app::AppendShortest(text, x);
  return text;
}

const char* EosName(engine::EosType type) {
  switch (type) {
    case engine::EosType::Murnaghan:
      return "murnaghan";
    case engine::EosType::Vinet:
      return "vinet";
    case engine::EosType::NaturalStrain:
      return "natural-strain";
    default:
      return "birch-murnaghan";
  }
}

// The form's parameter set as options; the implied coefficients are left out,
// since quorvane-eos implies them itself and refuses them.
std::vector<std::string> ParameterArguments(const engine::EosParameters& p) {
  std::vector<std::string> arguments = {
      "--eos",    EosName(p.type),    "--order",  std::to_string(p.order),
      "--V0",     Shortest(p.V0),     "--K0",     Shortest(p.K0),
      "--alpha0", Shortest(p.alpha0), "--alpha1", Shortest(p.alpha1),
      "--dKdT",   Shortest(p.dKdT),   "--Tref",   Shortest(p.Tref)};
  const bool ownKp0 = p.order != 2 || p.type == engine::EosType::Murnaghan;
  const bool ownKpp0 = p.order == 4 && (p.type == engine::EosType::BirchMurnaghan ||
                                        p.type == engine::EosType::NaturalStrain);
  if (ownKp0) arguments.insert(arguments.end(), {"--Kp0", Shortest(p.Kp0)});
  if (ownKpp0) arguments.insert(arguments.end(), {"--Kpp0", Shortest(p.Kpp0)});
  return arguments;
}

// The entry as options: what the form's handler holds for that field.
std::vector<std::string> EntryArguments(const Entry& entry, double T, const std::string& heldV) {
  switch (entry.field) {
    case kPressureField:
      return {"--P", entry.text, "--T", Shortest(T), "--solver", "form"};
    case kVolumeField:
      return {"--V", entry.text, "--T", Shortest(T)};
    case kVolumeRatioField:
      return {"--V-over-V00", entry.text, "--T", Shortest(T)};
    case kZeroPressureVolumeField:
      return {"--VT0", entry.text, "--V", heldV};
    case kTemperatureField:
      return {"--V", heldV, "--T", entry.text};
    default:
      return {"--V-over-VT0", entry.text, "--T", Shortest(T)};
  }
}

std::vector<std::string> CsvRow(const std::string& table, char separator = ',') {
  const std::string row = table.substr(table.find('\n') + 1);
  std::vector<std::string> fields;
  std::stringstream stream(row.substr(0, row.find('\n')));
  std::string field;
  while (std::getline(stream, field, separator)) fields.push_back(field);
  return fields;
}

std::string RunQuorvaneEos(const std::vector<std::string>& arguments) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunEosCommand(arguments, in, out, err), 0) << err.str();
  return out.str();
}

struct FormSnapshot {
  engine::EosParameters parameters;
  engine::WorkingPoint point;
  std::string heldVolume;
  std::array<std::string, 6> texts;
};

class CalculatorAgreement : public testing::TestWithParam<AgreementCase> {
 protected:
  CalculatorAgreement() {
    resources::RegisterProgramResources(table_);
    dialog::SetWindowSystem(&host_);
  }
  ~CalculatorAgreement() override { dialog::SetWindowSystem(nullptr); }

  FormSnapshot RunCase(const AgreementCase& c) {
    for (std::int32_t radio : c.clicks) host_.Click(radio);
    for (const Entry& typing : c.parameterTyping) host_.TypeText(typing.field, typing.text);
    FormSnapshot snapshot;
    host_.Then([&] {
      // Each entry arrives whole, as if pasted, and reaches the field's handler.
      for (const Entry& entry : c.entries) {
        snapshot.heldVolume = FieldText(kVolumeField);
        dialog::SetControlText(TheCalculatorForm(), entry.field, entry.text);
        OnWorkingPointChanged(TheCalculatorForm(), entry.field, dialog::EventKind::Changed);
      }
      snapshot.parameters = engine::TheEosParameters();
      snapshot.point = engine::TheWorkingPoint();
      for (std::size_t i = 0; i < kColumnFields.size(); ++i) {
        snapshot.texts[i] = FieldText(kColumnFields[i]);
      }
    });
    host_.Click(kExitButton);
    RunCalculator();
    EXPECT_FALSE(host_.SafetyStopped());
    return snapshot;
  }

  dialog::ResourceTable table_;
  dialog::ScriptedHost host_{table_};
};

TEST_P(CalculatorAgreement, SameEntryGivesTheSameStatePoint) {
  const AgreementCase& c = GetParam();
  const FormSnapshot form = RunCase(c);
  const Entry& last = c.entries.back();
  std::vector<std::string> arguments = ParameterArguments(form.parameters);
  const std::vector<std::string> entry = EntryArguments(last, form.point.T, form.heldVolume);
  arguments.insert(arguments.end(), entry.begin(), entry.end());
  SCOPED_TRACE(testing::PrintToString(arguments));

  const std::vector<std::string> exact = CsvRow(RunQuorvaneEos(arguments));
  ASSERT_GE(exact.size(), 6u);
  const engine::WorkingPoint& p = form.point;
  const double want[] = {p.P, p.T, p.V, p.VoverV00, p.VT0, p.VoverVT0};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(exact[i], Shortest(want[i])) << "column " << i;

  arguments.insert(arguments.end(), {"--width", std::to_string(form.parameters.precision)});
  const std::vector<std::string> shown = CsvRow(RunQuorvaneEos(arguments));
  ASSERT_GE(shown.size(), 6u);
  // On the pressure path the form leaves the pressure and temperature as typed.
  const std::size_t firstWritten = last.field == kPressureField ? 2 : 0;
  for (std::size_t i = firstWritten; i < 6; ++i) EXPECT_EQ(shown[i], form.texts[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Entries, CalculatorAgreement, testing::ValuesIn(kAgreementCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::cli
