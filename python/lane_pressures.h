#pragma once

#include <cstddef>

#include "models/model.h"

namespace quorvane::python {

// Whether the model's pressures over arrays take the vector path: a
// textbook model, on a processor with AVX or AVX-512, in a build with SLEEF.
// The calculator's arithmetic keeps the engine's doubles.
bool HasLanePressures(const models::Model& model);

// "avx512", "avx" or "none": the lanes the pressures take here.
const char* LaneSetName();

// P(V,T) over n points, each within a few ulp of models::Pressure (of |P| + K
// where the formula cancels); T[i * stride] is point i's temperature (a
// stride of 0: one for all). Only where HasLanePressures.
void LanePressures(const models::Model& model, const double* V, const double* T, std::size_t stride,
                   std::size_t n, double* out);

// The same for one instruction set; values are the model's parameters.
void Avx512Pressures(const models::Model& shape, const double* values, const double* V,
                     const double* T, std::size_t stride, std::size_t n, double* out);
void AvxPressures(const models::Model& shape, const double* values, const double* V,
                  const double* T, std::size_t stride, std::size_t n, double* out);

}  // namespace quorvane::python
