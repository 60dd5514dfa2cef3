#pragma once
// Runs one split on a worker thread while the dialog stays responsive, and the
// dialog's commands on it: start, cancel, quit.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "job/split_job.h"
#include "split/split_outcome.h"

// Posted by the worker to the owner dialog as its last act, once the split has
// ended. The dialog answers it with report_split_ending_if_due().
constexpr UINT WM_SPLIT_JOB_ENDED = WM_APP + 1;

// What the worker runs: split_file. A test puts one here that throws on the
// worker's thread.
extern SplitOutcome (*run_split)(std::int64_t part_size);

// The start command: the start button is already disabled, size_mb is non-zero.
// path: the source's full path, at most 259 UTF-16 units. make_spare: a PAR2 spare
// is asked for. False when no worker could be started; the button is then enabled
// again and the failure box has been shown.
bool start_split_job(HWND dialog, HWND start_button, std::int32_t size_mb, const wchar_t* path,
                     bool make_spare = false);

// The share of the source copied so far by the latest job, from 0 to 1.
double split_job_progress();

// How the latest job ended; nothing while it runs.
std::optional<SplitOutcome::Ending> split_job_ending();

// Held while one of the dialog's own modal windows is open (the cancel or quit
// question, the open-file dialog): the box that says how a split ended waits until
// the last of them has closed, so that never two are open at once.
class OwnModalWindow {
 public:
  OwnModalWindow() { ++split_job.own_modal_windows; }
  ~OwnModalWindow() { --split_job.own_modal_windows; }
  OwnModalWindow(const OwnModalWindow&) = delete;
  OwnModalWindow& operator=(const OwnModalWindow&) = delete;
};

// The cancel command: asks "abort the split?" while a job runs, else does nothing.
void request_cancel(HWND dialog);

// The quit command. True when the dialog may end now. While a job runs it asks
// whether to abort it; after an OK the job stops at its next block, and the dialog
// ends when that job's box has been dismissed (report_split_ending_if_due).
bool request_quit(HWND dialog);

// Once the latest job has ended and no modal window of the dialog's own is open:
// joins the ended worker, shows the box that says how it ended, and then hands the
// start button back. Does nothing otherwise (a notice from elsewhere, a job still
// running, a question still open). The dialog calls it for WM_SPLIT_JOB_ENDED and
// whenever one of its own modal windows has closed. True when a quit is waiting
// for this job: the dialog ends.
bool report_split_ending_if_due(HWND dialog);

// From a start until the dialog has handed the start button back.
bool split_job_in_progress();

// Waits for the most recent worker, if any.
void join_worker();

// Ends a split still running, without a word: cancelled, waited for, and
// forgotten, so that no box follows. For a dialog that ends other than by its quit
// button, as a quit message from another program or the session ending ends it:
// the process must not end under the worker, and a box would go unread. When the
// session ends, Windows gives a program about five seconds in all: the clean-up
// then waits about one for a file another program holds.
void stop_split_job(bool session_ending);

// The worker thread's body.
void split_worker();

// The part size the user typed in MiB, in bytes.
std::int64_t part_size_bytes(std::int64_t size_mb);
