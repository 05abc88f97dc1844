#pragma once

#include <functional>
#include <iostream>
#include <ostream>
#include <streambuf>
#include <string>

// Standard output of the program, handed on in pieces to whoever shows it.
namespace quorvane::shell {

using OutputSink = std::function<void(std::string text)>;

// Collects what is written and hands it to the sink at every line end and
// every flush, so a line written without a flush still arrives whole.
class ForwardingStreamBuf : public std::streambuf {
 public:
  explicit ForwardingStreamBuf(OutputSink sink) : sink_(std::move(sink)) {}

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  void Deliver();

  OutputSink sink_;
  std::string pending_;
};

// Sends one stream (std::cout by default) to a sink for its lifetime and
// restores the stream's own buffer afterwards.
class OutputRedirect {
 public:
  explicit OutputRedirect(OutputSink sink, std::ostream& stream = std::cout);
  ~OutputRedirect();
  OutputRedirect(const OutputRedirect&) = delete;
  OutputRedirect& operator=(const OutputRedirect&) = delete;

 private:
  ForwardingStreamBuf buffer_;
  std::ostream& stream_;
  std::streambuf* saved_;
};

}  // namespace quorvane::shell
