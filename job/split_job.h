#pragma once
// The one record the dialog thread and the worker thread share.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "split/split_outcome.h"

struct SplitJob {
  // The job's own copies of its inputs, written by the dialog thread before it
  // creates the worker; creating the thread is what publishes them.
  wchar_t source_path[260] = {};
  std::int64_t split_size_mb = 512;
  // Whether the split writes a spare, a PAR2 recovery set, beside the parts.
  bool make_spare = false;
  HWND owner_dialog = nullptr;

  // While a job runs the dialog thread writes only cancel_requested; the worker
  // writes the progress counters below, then outcome and job_finished, and ends.
  std::atomic<bool> cancel_requested{false};
  // How the split ended: the worker's hand-over to the dialog thread, written
  // before job_finished, so that whoever sees the job finished sees all of it.
  SplitOutcome outcome;
  std::atomic<bool> job_finished{false};

  // How far the split has come, published by the splitting thread block by block
  // and read by the dialog's progress bar. A start sets them to 0 and -1, so a new
  // job never shows the last one's end; bytes_in_all stays -1 until the source's
  // size is known.
  std::atomic<std::int64_t> bytes_copied{0};
  std::atomic<std::int64_t> bytes_in_all{-1};

  // Touched by the dialog thread only. start_button is non-null from a start until
  // the dialog thread has handed the button back, after the job's completion box was
  // dismissed. quit_requested: the user confirmed quitting while a job ran; the
  // dialog ends once that job's completion box is dismissed. abort_confirmed: the
  // user answered OK to the cancel or quit question. own_modal_windows: the
  // dialog's own modal windows open now, the box that says how the split ended
  // among them.
  HWND start_button = nullptr;
  std::unique_ptr<std::thread> worker;
  bool quit_requested = false;
  bool abort_confirmed = false;
  int own_modal_windows = 0;
};

extern SplitJob split_job;

// Whether the user has asked the split to stop: the engine's one way to ask.
inline bool split_cancelled() { return split_job.cancel_requested.load(); }
