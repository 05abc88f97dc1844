#pragma once

#include <cstdint>
#include <span>

namespace quorvane::resources {

// The bytes of quorvane.ico, embedded at build time: one 64x64 image at 8 bits
// per pixel.
std::span<const std::uint8_t> ProgramIconBytes();

}  // namespace quorvane::resources
