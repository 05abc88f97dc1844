#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace quorvane::python {

// Below this many elements a second thread costs more than it saves.
inline constexpr std::size_t kElementsPerThread = 16384;
inline constexpr unsigned kMaxThreads = 8;

// Runs body(begin, end) over [0, count) in contiguous chunks, one per core for
// large counts; the calling thread takes the first chunk, and a chunk whose
// thread cannot be started runs there too.
template <typename Body>
void ParallelFor(std::size_t count, const Body& body) {
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
  const std::size_t chunks = std::clamp<std::size_t>(count / kElementsPerThread, 1, cores);
  if (chunks == 1) {
    body(std::size_t{0}, count);
    return;
  }
  const std::size_t size = (count + chunks - 1) / chunks;
  std::vector<std::thread> helpers;
  std::size_t next = size;
  try {
    for (; next < count; next += size) {
      helpers.emplace_back(body, next, std::min(count, next + size));
    }
  } catch (const std::system_error&) {
    for (std::size_t begin = next; begin < count; begin += size) {
      body(begin, std::min(count, begin + size));
    }
  }
  body(std::size_t{0}, std::min(count, size));
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace quorvane::python
