#pragma once

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "scales/fluorescence_scale.h"
#include "scales/volume_scale.h"

namespace quorvane::scales {

// The folder of the shipped volume scales: $QUORVANE_SCALES_DIR when set,
// else the first of "scales" beside the running program (the build tree, and
// Windows) and "../share/quorvane/scales" from it (an installed tree) that
// exists. Empty when none does.
std::filesystem::path ShippedScalesFolder();

// The volume scales of a folder, and one line for each file that is none.
struct ScaleFolder {
  std::vector<VolumeScale> scales;
  std::vector<std::string> problems;
};

// The shipped volume scales, by name, from the folder (none when it is
// empty). Only regular files named *.json are read, so that a FIFO or a
// folder among them neither hangs nor stops the listing; a file that is no
// scale is named in problems and the others are read.
ScaleFolder ShippedVolumeScales(const std::filesystem::path& folder);

// Every scale name a user may give, for an error line.
std::string KnownScaleNames(const std::filesystem::path& folder);

using Scale = std::variant<VolumeScale, const FluorescenceScale*>;

// A scale by name (a fluorescence gauge, or NAME.json in the folder), or the
// parameter file at a path (a name holding a separator or ending in .json).
// A gauge's name reads no folder. Throws ScaleError: an unknown name (listing
// the known ones), a file that is not a regular one, cannot be read or is no
// scale.
Scale FindScale(const std::string& nameOrPath, const std::filesystem::path& folder);

const ScaleInfo& InfoOf(const Scale& scale);

}  // namespace quorvane::scales
