#include "tests/support/captured_output.h"

CapturedOutput::CapturedOutput() : original(std::cout.rdbuf(this)) {}

CapturedOutput::~CapturedOutput() { std::cout.rdbuf(original); }

void CapturedOutput::on_character(std::function<void(char)> new_listener) { listener = std::move(new_listener); }

std::string CapturedOutput::text() const {
  std::lock_guard<std::mutex> lock(mutex);
  return written;
}

std::vector<std::size_t> CapturedOutput::flush_points() const {
  std::lock_guard<std::mutex> lock(mutex);
  return flushes;
}

// No put area is set up, so every character arrives here on its own.
CapturedOutput::int_type CapturedOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  {
    std::lock_guard<std::mutex> lock(mutex);
    written += traits_type::to_char_type(c);
  }
  if (listener) listener(traits_type::to_char_type(c));
  return c;
}

int CapturedOutput::sync() {
  std::lock_guard<std::mutex> lock(mutex);
  flushes.push_back(written.size());
  return 0;
}
