#include "tests/support/worker_gate.h"

#include "tests/support/message_boxes.h"

WorkerGate::WorkerGate(CapturedOutput& output, int at_dot) {
  output.on_progress_dot([this, at_dot](int dots) {
    if (dots != at_dot) return;
    std::unique_lock<std::mutex> lock(mutex);
    reached = true;
    changed.notify_all();
    changed.wait(lock, [this] { return opened; });
  });
}

WorkerGate::~WorkerGate() { open(); }

bool WorkerGate::wait_until_reached() {
  return pump_until([this] {
    std::lock_guard<std::mutex> lock(mutex);
    return reached;
  });
}

void WorkerGate::open() {
  std::lock_guard<std::mutex> lock(mutex);
  opened = true;
  changed.notify_all();
}
