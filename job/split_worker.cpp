#include "job/split_worker.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <exception>
#include <memory>
#include <thread>

#include "job/job_texts.h"
#include "job/outcome_box.h"
#include "job/split_job.h"
#include "split/held_file.h"
#include "split/split_file.h"

namespace {

// Shows the question on the dialog thread; the worker goes on copying meanwhile,
// and may end before the answer.
bool confirm_cancel(HWND dialog) {
  const OwnModalWindow question;
  if (MessageBoxW(dialog, from_code_page_932(job_texts::cancel_question).c_str(),
                  from_code_page_932(job_texts::question_caption).c_str(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    return false;
  }
  split_job.cancel_requested = true;
  split_job.abort_confirmed = true;
  return true;
}

}  // namespace

bool split_job_in_progress() { return split_job.start_button != nullptr; }

std::int64_t part_size_bytes(std::int64_t size_mb) { return size_mb * 1048576; }

bool start_split_job(HWND dialog, HWND start_button, std::int32_t size_mb, const wchar_t* path, bool make_spare) {
  split_job.owner_dialog = dialog;
  split_job.start_button = start_button;
  split_job.cancel_requested = false;
  split_job.job_finished = false;
  split_job.quit_requested = false;
  split_job.abort_confirmed = false;
  split_job.bytes_copied = 0;
  split_job.bytes_in_all = -1;
  const std::size_t length = wcsnlen(path, std::size(split_job.source_path) - 1);
  std::copy(path, path + length, split_job.source_path);
  split_job.source_path[length] = L'\0';
  split_job.split_size_mb = size_mb;
  split_job.make_spare = make_spare;

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
  // An unknown size is nothing yet; the split's own files count too, so the size
  // is never 0 once known.
  if (in_all <= 0) return 0.0;
  return static_cast<double>(split_job.bytes_copied) / static_cast<double>(in_all);
}

std::optional<SplitOutcome::Ending> split_job_ending() {
  if (!split_job.job_finished) return std::nullopt;
  return split_job.outcome.ending;
}

SplitOutcome (*run_split)(std::int64_t part_size) = split_file;

// The worker shows nothing itself: a box of its own would open on top of the
// dialog's question or open-file dialog. Its ending goes to the dialog thread.
void split_worker() {
  try {
    split_job.outcome = run_split(part_size_bytes(split_job.split_size_mb));
  } catch (...) {
    // The split catches its own failures; what escapes it can only be memory running
    // out on the way back. Made of nothing but numbers, this failure takes no more.
    split_job.outcome = SplitOutcome::failure(SplitOutcome::Reason::out_of_memory);
  }
  // From here a cancel command asks nothing, and the dialog shows the ending on
  // the taskbar button. Should the notice be lost (a full message queue), the
  // dialog's progress timer finds the job ended.
  split_job.job_finished = true;
  PostMessageW(split_job.owner_dialog, WM_SPLIT_JOB_ENDED, 0, 0);
}

void request_cancel(HWND dialog) {
  if (!split_job_in_progress() || split_job.job_finished) return;
  confirm_cancel(dialog);
}

bool request_quit(HWND dialog) {
  if (split_job_in_progress()) {
    // Once the job has ended there is nothing to abort: the quit waits for the user
    // to dismiss its box.
    if (!split_job.job_finished && !confirm_cancel(dialog)) return false;
    split_job.quit_requested = true;
    return false;
  }
  join_worker();
  return true;
}

bool report_split_ending_if_due(HWND dialog) {
  // Any program may post the notice, and it may come while the ending is being
  // shown already, or while a question is open.
  if (!split_job_in_progress() || !split_job.job_finished || split_job.own_modal_windows > 0) return false;
  // The worker's last act was its notice: it has ended, or is about to.
  join_worker();
  {
    const OwnModalWindow box;
    // An OK given after the end changed nothing, and the box says so.
    const bool answer_too_late = split_job.abort_confirmed && split_job.outcome.ending != SplitOutcome::Ending::cancelled;
    show_outcome_box(dialog, split_job.outcome, answer_too_late);
  }
  const HWND start_button = split_job.start_button;
  // Cleared before the button is enabled, so that a start accepted the moment it is
  // enabled keeps its own value.
  split_job.start_button = nullptr;
  if (start_button != nullptr) EnableWindow(start_button, TRUE);
  return split_job.quit_requested;
}

void stop_split_job(bool session_ending) {
  if (session_ending) held_file_patience_ms = 1000;
  split_job.cancel_requested = true;
  join_worker();
  split_job.start_button = nullptr;
}

void join_worker() {
  if (!split_job.worker) return;
  split_job.worker->join();
  split_job.worker.reset();
}
