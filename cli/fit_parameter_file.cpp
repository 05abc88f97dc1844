#include "cli/fit_parameter_file.h"

#include "params/parameter_file.h"

namespace quorvane::cli {

std::string FitParameterFileText(const std::string& program, const fit::FitData& data,
                                 const fit::FitResult& result) {
  params::ParameterFile file;
  file.model = result.model;
  file.refined = result.refined;
  file.covarianceScaled = result.dof > 0;
  file.covariance = file.covarianceScaled ? result.ScaledCovariance() : result.covariance;
  file.provenance =
      params::ProvenanceJson({program, data.source, result.chi2w, result.dof, result.converged});
  return params::WriteParameterFile(file);
}

}  // namespace quorvane::cli
