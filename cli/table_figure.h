#pragma once

#include <string>

#include "app/eos_request.h"
#include "plot/figure.h"

namespace quorvane::cli {

// The isotherms of a table: V against P, one line for each temperature, in
// the order of the rows. Rows that are not state points are left out.
plot::Figure TableFigure(const app::EosRequest& request);

}  // namespace quorvane::cli
