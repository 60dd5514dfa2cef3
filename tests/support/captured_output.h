#pragma once
// Takes over the split's diagnostic lines for one scope, written to std::cout
// whatever standard output is, and std::cout itself, keeping what the program wrote
// and where it flushed the stream.
#include <functional>
#include <iostream>
#include <mutex>
#include <streambuf>
#include <string>
#include <vector>

class CapturedOutput : private std::streambuf {
 public:
  CapturedOutput();
  ~CapturedOutput() override;

  // Called on the writing thread for every progress dot, after it was recorded, with
  // the number of dots so far. Progress dots follow a line end or another dot; the
  // dots inside a part's path do not count.
  void on_progress_dot(std::function<void(int)> listener);

  std::string text() const;
  // Lengths of the text at each flush.
  std::vector<std::size_t> flush_points() const;

 private:
  int_type overflow(int_type c) override;
  int sync() override;

  std::streambuf* const original;
  void (*const original_writer)(const std::string& text, bool end_line);
  mutable std::mutex mutex;
  std::string written;
  std::vector<std::size_t> flushes;
  std::function<void(int)> listener;
  char previous = '\n';
  int dots = 0;
};
