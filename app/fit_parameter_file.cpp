#include "app/fit_parameter_file.h"

#include "models/model_catalogue.h"
#include "params/parameter_file.h"

namespace quorvane::app {
namespace {

const char* Name(models::Parameter parameter) {
  return models::Info(parameter).name;
}

params::Provenance FitProvenance(const std::string& program, const fit::FitData& data,
                                 const fit::FitResult& result) {
  params::Provenance provenance{program, data.source, result.chi2w, result.dof, result.converged};
  provenance.esdScaling = fit::EsdScalingName(result.esdScaling);
  for (const fit::Prior& prior : result.priors) {
    provenance.constraints.push_back({Name(prior.parameter), {prior.mean, prior.sigma}});
  }
  for (const fit::Bound& bound : result.bounds) {
    provenance.bounds.push_back({Name(bound.parameter), {bound.lower, bound.upper}});
  }
  for (models::Parameter parameter : result.atBound) provenance.atBound.push_back(Name(parameter));
  return provenance;
}

}  // namespace

// A parameter held on a limit keeps its place in "refined" with variance 0,
// as exact as one held.
std::string FitParameterFileText(const std::string& program, const fit::FitData& data,
                                 const fit::FitResult& result) {
  params::ParameterFile file;
  file.model = result.model;
  file.refined = result.refined;
  file.covarianceScaled = result.scaledByChi2;
  file.covariance = result.ReportedCovariance();
  file.provenance = params::ProvenanceJson(FitProvenance(program, data, result));
  return params::WriteParameterFile(file);
}

}  // namespace quorvane::app
