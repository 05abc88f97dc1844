#include "shell/output_stream.h"

#include <iostream>

namespace quorvane::shell {

ForwardingStreamBuf::int_type ForwardingStreamBuf::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  pending_.push_back(traits_type::to_char_type(ch));
  if (ch == '\n') Deliver();
  return ch;
}

std::streamsize ForwardingStreamBuf::xsputn(const char* text, std::streamsize count) {
  pending_.append(text, static_cast<std::size_t>(count));
  if (pending_.find('\n') != std::string::npos) Deliver();
  return count;
}

int ForwardingStreamBuf::sync() {
  Deliver();
  return 0;
}

void ForwardingStreamBuf::Deliver() {
  if (pending_.empty()) return;
  std::string text;
  text.swap(pending_);
  sink_(std::move(text));
}

OutputRedirect::OutputRedirect(OutputSink sink, std::ostream& stream)
    : buffer_(std::move(sink)), stream_(stream), saved_(stream.rdbuf(&buffer_)) {}

OutputRedirect::~OutputRedirect() {
  stream_.flush();
  stream_.rdbuf(saved_);
}

}  // namespace quorvane::shell
