#pragma once
// Runs one split on a worker thread while the dialog stays responsive, and the
// dialog's commands on it: start, cancel, quit.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "split/split_outcome.h"

// Posted by the worker to the owner dialog once the user has dismissed the
// completion box. The dialog answers it with on_split_job_ended().
constexpr UINT WM_SPLIT_JOB_ENDED = WM_APP + 1;

// The start command: the start button is already disabled, size_mb is non-zero.
// path: the source's full path, at most 259 bytes. False when no worker could be
// started; the button is then enabled again and the failure box has been shown.
bool start_split_job(HWND dialog, HWND start_button, std::int32_t size_mb, const char* path);

// The share of the source copied so far by the latest job, from 0 to 1.
double split_job_progress();

// How the latest job ended; nothing while it runs.
std::optional<SplitOutcome::Ending> split_job_ending();

// The cancel command: asks "abort the split?" while a job runs, else does nothing.
void request_cancel(HWND dialog);

// The quit command. True when the dialog may end now. While a job runs it asks
// whether to abort it; after an OK the job stops at its next block, and the dialog
// ends when that job's completion box has been dismissed (on_split_job_ended).
bool request_quit(HWND dialog);

// The dialog's answer to WM_SPLIT_JOB_ENDED: once the worker has closed its box,
// hands the start button back and joins the ended worker; before that (a notice
// from elsewhere) does nothing. True when a quit is waiting for this job.
bool on_split_job_ended();

// From a start until the dialog has handed the start button back.
bool split_job_in_progress();

// Waits for the most recent worker, if any.
void join_worker();

// The worker thread's body.
void split_worker();

// The part size the user typed in MiB, in bytes.
std::int64_t part_size_bytes(std::int64_t size_mb);
