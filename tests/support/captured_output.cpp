#include "tests/support/captured_output.h"

#include "split/diagnostics.h"

CapturedOutput::CapturedOutput() : original(std::cout.rdbuf(this)), original_writer(write_diagnostic) {
  write_diagnostic = [](const std::string& text, bool end_line) {
    std::cout << text;
    if (end_line) std::cout << std::endl;
  };
}

CapturedOutput::~CapturedOutput() {
  write_diagnostic = original_writer;
  std::cout.rdbuf(original);
}

void CapturedOutput::on_progress_dot(std::function<void(int)> new_listener) { listener = std::move(new_listener); }

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
  const char character = traits_type::to_char_type(c);
  {
    std::lock_guard<std::mutex> lock(mutex);
    written += character;
  }
  const bool progress_dot = character == '.' && (previous == '\n' || previous == '.');
  previous = character;
  if (progress_dot && listener) listener(++dots);
  return c;
}

int CapturedOutput::sync() {
  std::lock_guard<std::mutex> lock(mutex);
  flushes.push_back(written.size());
  return 0;
}
