#pragma once
// Holds the splitting thread at a progress dot until the test lets it go on, so
// that a job is certainly running while the test works the dialog.
#include <condition_variable>
#include <mutex>

#include "tests/support/captured_output.h"

class WorkerGate {
 public:
  // Holds the writer of `output` right after its dot number `at_dot`.
  explicit WorkerGate(CapturedOutput& output, int at_dot = 1);
  // Lets the writer go on, so that no test can leave it held.
  ~WorkerGate();

  // Serves the calling thread's messages until the writer is held there.
  bool wait_until_reached();
  void open();

 private:
  std::mutex mutex;
  std::condition_variable changed;
  bool reached = false;
  bool opened = false;
};
