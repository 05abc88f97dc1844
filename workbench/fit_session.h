#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "fit/fit_data.h"

namespace quorvane::workbench {

// The program's name and version where a parameter file records what made it.
inline constexpr const char* kProgramName = "quorvane-workbench";

// The points of the open file, which of them the fit takes, and the last fit
// with the points it was made of. Reports and parameter files are the fit
// command's own, made from that fit.
class FitSession {
 public:
  // Reads a CSV or TSV text with the fit command's reader, with an axis its
  // column cubed in place of V; throws app::InputError naming the line of
  // the first fault.
  static fit::FitData Read(const std::string& path, double Tref, const std::string& axis);
  // The columns of the file that can be a cell edge; none where it cannot
  // be read.
  static std::vector<std::string> EdgeColumns(const std::string& path);
  // The session's points in place of the file's, for a program that makes
  // its data itself.
  void SetData(fit::FitData data);

  const fit::FitData& Data() const { return data_; }
  std::size_t Size() const { return data_.points.size(); }
  bool Included(std::size_t row) const { return included_[row]; }
  void SetIncluded(std::size_t row, bool included);
  void SetPoint(std::size_t row, const fit::Observation& point);
  const fit::Observation& Point(std::size_t row) const { return data_.points[row]; }

  // The included points, as the fit takes them.
  fit::FitData IncludedData() const;

  // Which rows IncludedData takes now.
  const std::vector<bool>& IncludedRows() const { return included_; }
  // The fit made of fitted, the rows includedRows took; a failed fit keeps
  // its message.
  void SetResult(fit::FitData fitted, std::vector<bool> includedRows, fit::FitResult result);
  // After a fit that gave no result: nothing of an earlier one is shown.
  void ClearResult();
  bool HasResult() const { return result_.has_value(); }
  const fit::FitResult& Result() const { return *result_; }
  const fit::FitData& FittedData() const { return fitted_; }
  // The residual of a row of the data, when the last fit took it and converged.
  std::optional<fit::PointResidual> ResidualOf(std::size_t row) const;
  // True when the points changed since the last fit.
  bool Stale() const { return stale_; }

  // The fit command's JSON report and parameter file of the last converged fit.
  std::string ReportJson() const;
  std::string ParameterFileText() const;

 private:
  fit::FitData data_;
  std::vector<bool> included_;
  fit::FitData fitted_;
  std::optional<fit::FitResult> result_;
  // For each row the index of its residual in the last fit, or -1.
  std::vector<long> residualIndex_;
  bool stale_ = false;
};

}  // namespace quorvane::workbench
