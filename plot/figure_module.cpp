#include "plot/figure_module.h"

#include <type_traits>

// Everything else in the module stays hidden (it is linked with
// --exclude-libs), so that its DrawFigure never meets the loader's.
extern "C" __attribute__((visibility("default"))) void quorvane_plot_draw_figure(
    const quorvane::plot::Figure* figure, quorvane::plot::FigureFiles* files,
    std::string* problem) {
  *problem = quorvane::plot::DrawFigure(*figure, *files);
}

static_assert(std::is_same_v<decltype(&quorvane_plot_draw_figure), quorvane::plot::DrawFigureEntry>,
              "the loader calls the entry through DrawFigureEntry");
