#include "workbench/fit_session.h"

#include <fstream>
#include <utility>

#include "app/data_table.h"
#include "app/fit_data_input.h"
#include "app/fit_parameter_file.h"
#include "app/fit_report.h"
#include "app/input_error.h"

namespace quorvane::workbench {

fit::FitData FitSession::Read(const std::string& path, double Tref, const std::string& axis) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw app::InputError(path + ": cannot be read");
  return app::ReadFitData(in, path, Tref, axis);
}

std::vector<std::string> FitSession::EdgeColumns(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return app::EdgeColumns(app::DataColumnNames(in));
}

void FitSession::SetData(fit::FitData data) {
  data_ = std::move(data);
  included_.assign(data_.points.size(), true);
  result_.reset();
  fitted_ = {};
  residualIndex_.assign(data_.points.size(), -1);
  stale_ = false;
}

void FitSession::SetIncluded(std::size_t row, bool included) {
  if (included_[row] == included) return;
  included_[row] = included;
  stale_ = true;
}

void FitSession::SetPoint(std::size_t row, const fit::Observation& point) {
  data_.points[row] = point;
  stale_ = true;
}

fit::FitData FitSession::IncludedData() const {
  fit::FitData included;
  included.source = data_.source;
  included.units = data_.units;
  included.axis = data_.axis;
  for (std::size_t i = 0; i < data_.points.size(); ++i) {
    if (included_[i]) included.points.push_back(data_.points[i]);
  }
  return included;
}

void FitSession::SetResult(fit::FitData fitted, std::vector<bool> includedRows,
                           fit::FitResult result) {
  fitted_ = std::move(fitted);
  result_ = std::move(result);
  residualIndex_.assign(data_.points.size(), -1);
  long next = 0;
  for (std::size_t i = 0; i < data_.points.size() && i < includedRows.size(); ++i) {
    if (includedRows[i]) residualIndex_[i] = next++;
  }
  // Points changed while the fit ran leave it behind their data.
  stale_ = includedRows != included_;
}

void FitSession::ClearResult() {
  result_.reset();
  fitted_ = {};
  residualIndex_.assign(data_.points.size(), -1);
}

std::optional<fit::PointResidual> FitSession::ResidualOf(std::size_t row) const {
  if (!result_ || !result_->converged || row >= residualIndex_.size() || residualIndex_[row] < 0)
    return std::nullopt;
  const auto index = static_cast<std::size_t>(residualIndex_[row]);
  if (index >= result_->residuals.size()) return std::nullopt;
  return result_->residuals[index];
}

std::string FitSession::ReportJson() const {
  std::string text;
  app::AppendFitJson(text, app::MakeFitReport(fitted_, *result_));
  return text;
}

std::string FitSession::ParameterFileText() const {
  return app::FitParameterFileText(kProgramName, fitted_, *result_);
}

}  // namespace quorvane::workbench
