#include "job/split_worker.h"

#include <cstring>
#include <exception>
#include <memory>
#include <thread>

#include "job/job_texts.h"
#include "job/outcome_box.h"
#include "job/split_job.h"
#include "split/split_file.h"

namespace {

// Shows the question on the dialog thread; the worker goes on copying meanwhile.
bool confirm_cancel(HWND dialog) {
  if (MessageBoxA(dialog, job_texts::cancel_question, job_texts::question_caption, MB_OKCANCEL | MB_ICONQUESTION) !=
      IDOK) {
    return false;
  }
  split_job.cancel_requested = true;
  return true;
}

}  // namespace

bool split_job_in_progress() { return split_job.start_button != nullptr; }

std::int64_t part_size_bytes(std::int64_t size_mb) { return size_mb * 1048576; }

bool start_split_job(HWND dialog, HWND start_button, std::int32_t size_mb, const char* path) {
  split_job.owner_dialog = dialog;
  split_job.start_button = start_button;
  split_job.cancel_requested = false;
  split_job.job_ending = SplitOutcome::Ending::finished;
  split_job.job_finished = false;
  split_job.report_dismissed = false;
  split_job.quit_requested = false;
  split_job.bytes_copied = 0;
  split_job.bytes_in_all = -1;
  const std::size_t length = strnlen(path, sizeof split_job.source_path - 1);
  std::memcpy(split_job.source_path, path, length);
  split_job.source_path[length] = '\0';
  split_job.split_size_mb = size_mb;

  // `worker` is empty here: the previous worker was joined when its start button
  // was handed back, and no start is accepted before that.
  try {
    // The worker reads the fields above; creating it is what publishes them.
    split_job.worker = std::make_unique<std::thread>(split_worker);
    return true;
  } catch (const std::exception&) {
    // No thread: undo the start so that the user can try again. The thread
    // facility's error carries no number of the system's.
    split_job.start_button = nullptr;
    EnableWindow(start_button, TRUE);
    show_outcome_box(dialog, SplitOutcome::failure(SplitOutcome::Reason::cannot_start));
    return false;
  }
}

double split_job_progress() {
  const std::int64_t in_all = split_job.bytes_in_all;
  // Nothing to copy is everything copied; an unknown size is nothing yet.
  if (in_all <= 0) return in_all == 0 ? 1.0 : 0.0;
  return static_cast<double>(split_job.bytes_copied) / static_cast<double>(in_all);
}

std::optional<SplitOutcome::Ending> split_job_ending() {
  if (!split_job.job_finished) return std::nullopt;
  return split_job.job_ending.load();
}

void split_worker() {
  const SplitOutcome outcome = split_file(part_size_bytes(split_job.split_size_mb));
  split_job.job_ending = outcome.ending;
  // Set before the box shows, so that a cancel command from now on asks nothing,
  // and the dialog shows the ending on the taskbar button while it is open.
  split_job.job_finished = true;
  show_outcome_box(split_job.owner_dialog, outcome);
  // The dialog thread hands the start button back. Enabling it from here would wait
  // for the dialog thread, which may itself be waiting for this thread to end.
  split_job.report_dismissed = true;
  PostMessageA(split_job.owner_dialog, WM_SPLIT_JOB_ENDED, 0, 0);
}

void request_cancel(HWND dialog) {
  if (!split_job_in_progress() || split_job.job_finished) return;
  confirm_cancel(dialog);
}

bool request_quit(HWND dialog) {
  if (split_job_in_progress()) {
    // Once the job has finished there is nothing to abort: the quit waits for the
    // user to dismiss its completion box.
    if (!split_job.job_finished && !confirm_cancel(dialog)) return false;
    split_job.quit_requested = true;
    // The job may have ended while the question was open; then nothing is left to wait for.
    if (split_job_in_progress()) return false;
  }
  join_worker();
  return true;
}

bool on_split_job_ended() {
  // Any program may post this message. Until the worker has closed its box, taking
  // the button back would let a second job start, and the join would wait for the
  // user with the dialog unable to serve the box.
  if (!split_job.report_dismissed) return false;
  const HWND start_button = split_job.start_button;
  // Cleared before the button is enabled, so that a start accepted the moment it is
  // enabled keeps its own value.
  split_job.start_button = nullptr;
  if (start_button != nullptr) EnableWindow(start_button, TRUE);
  join_worker();
  return split_job.quit_requested;
}

void join_worker() {
  if (!split_job.worker) return;
  split_job.worker->join();
  split_job.worker.reset();
}
