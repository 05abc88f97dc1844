#pragma once

#include <string>

#include "plot/figure_writer.h"

// The Qt renderer behind RenderPng, built as a shared module of its own that
// quorvane-eos opens on its first PNG: a command that draws none never loads
// Qt, which would otherwise take most of its start-up.
namespace quorvane::plot {

// The module's one exported function, looked up by name. It fills `png` and
// leaves `problem` empty, or says in one line in `problem` what failed.
using RenderPngEntry = void (*)(const std::string* svg, std::string* png, std::string* problem);
inline constexpr const char* kRenderPngEntryName = "quorvane_plot_render_png";

}  // namespace quorvane::plot
