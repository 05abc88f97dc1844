// Any bytes as a hand-edited parameter file: either one ParameterFileError, or
// a set that writes out and reads back to the same file, bit for bit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "params/parameter_file.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quorvane::params::ParameterFile file;
  try {
    file = quorvane::params::ReadParameterFile(text, "fuzz.json");
  } catch (const quorvane::params::ParameterFileError&) {
    return 0;
  }
  Require(file.covariance.empty() || file.covariance.size() == file.refined.size());
  const std::string written = quorvane::params::WriteParameterFile(file);
  const quorvane::params::ParameterFile again =
      quorvane::params::ReadParameterFile(written, "fuzz.json");
  Require(quorvane::params::WriteParameterFile(again) == written);
  return 0;
}
