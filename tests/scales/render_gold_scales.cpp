// Draws how far the other gold scales lie from au-fei2007 at the same cell
// volume, for the documentation:
//   quorvane_render_gold_scales docs/scales-gold.png
// The volume is au-fei2007's at each of its pressures, so the curves read
// against the pressure a user of that scale would quote.
#include <cstdio>
#include <fstream>
#include <string>
#include <variant>

#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "plot/figure.h"
#include "plot/figure_writer.h"
#include "scales/scale_directory.h"

namespace {

using namespace quorvane;

constexpr double kTopGPa = 150.0;
constexpr double kStepGPa = 1.0;
constexpr double kRoomK = 300.0;
constexpr double kHotK = 2000.0;

scales::VolumeScale Shipped(const std::string& name) {
  return std::get<scales::VolumeScale>(scales::FindScale(name, QUORVANE_SHIPPED_SCALES_DIR));
}

plot::Series Difference(const scales::VolumeScale& reference, const scales::VolumeScale& other,
                        double T, int colour, plot::Series::Stroke stroke) {
  plot::Series series;
  series.label = other.info.name + ", " + std::to_string(static_cast<int>(T)) + " K";
  series.line = true;
  series.colour = colour;
  series.stroke = stroke;
  for (double P = 0; P <= kTopGPa; P += kStepGPa) {
    const engine::VolumeSolution V = models::VolumeFromPressure(reference.model, P, T);
    if (!V.converged) continue;
    series.x.push_back(P);
    series.y.push_back(models::Pressure(other.model, V.V, T) - P);
  }
  return series;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
    return 2;
  }
  const scales::VolumeScale fei = Shipped("au-fei2007");
  const scales::VolumeScale tsuchiya = Shipped("au-tsuchiya2003");
  const scales::VolumeScale dorfman = Shipped("au-dorfman2012");
  plot::Figure figure;
  figure.title = "Gold scales against au-fei2007 at the same volume";
  figure.xLabel = "P on au-fei2007 (GPa)";
  figure.yLabel = "P - P(au-fei2007) (GPa)";
  figure.zeroLine = true;
  using Stroke = plot::Series::Stroke;
  figure.series = {Difference(fei, tsuchiya, kRoomK, 0, Stroke::Solid),
                   Difference(fei, tsuchiya, kHotK, 1, Stroke::Solid),
                   Difference(fei, dorfman, kRoomK, 2, Stroke::Dashed)};
  plot::FigureFiles files;
  if (const std::string problem = plot::DrawFigure(figure, files); !problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << files.png;
  if (!out.flush()) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
