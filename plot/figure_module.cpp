#include "plot/figure_module.h"

#include <type_traits>

// Everything else in the module stays hidden (it is linked with
// --exclude-libs), so that its RenderPng never meets the loader's.
extern "C" __attribute__((visibility("default"))) void quorvane_plot_render_png(
    const std::string* svg, std::string* png, std::string* problem) {
  *problem = quorvane::plot::RenderPng(*svg, *png);
}

static_assert(std::is_same_v<decltype(&quorvane_plot_render_png), quorvane::plot::RenderPngEntry>,
              "the loader calls the entry through RenderPngEntry");
