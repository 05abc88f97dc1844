#include "cli/state_table.h"

#include <gtest/gtest.h>

#include <numeric>
#include <ostream>
#include <streambuf>
#include <string>

#include "cli/command_line.h"
#include "cli/request_options.h"

namespace quorvane::cli {
namespace {

// Takes the first bytes offered, then refuses every write, as a full disk or
// a closed pipe does.
class RefusingBuffer : public std::streambuf {
 public:
  explicit RefusingBuffer(std::streamsize room) : room_(room) {}

 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    const std::streamsize taken = std::min(count, room_);
    room_ -= taken;
    return taken;
  }
  int_type overflow(int_type c) override {
    if (room_ == 0 || traits_type::eq_int_type(c, traits_type::eof())) return traits_type::eof();
    --room_;
    return c;
  }

 private:
  std::streamsize room_;
};

std::int64_t RowsComputed(const TableSummary& summary) {
  return std::accumulate(summary.rows.begin(), summary.rows.end(), std::int64_t{0});
}

TEST(StateTable, StopsAtTheFirstBlockTheOutputRefuses) {
  const EosRequest request = RequestFromOptions(ReadCommandLine({"--P", "0:999999:1"}));
  for (const std::streamsize room : {std::streamsize{0}, std::streamsize{100000}}) {
    RefusingBuffer buffer(room);
    std::ostream out(&buffer);
    const TableSummary summary = WriteStateTable(request, out);
    EXPECT_FALSE(summary.written);
    EXPECT_LT(RowsComputed(summary), 200000) << "room " << room;
  }
}

}  // namespace
}  // namespace quorvane::cli
