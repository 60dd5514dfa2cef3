#include "job/split_worker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "job/job_texts.h"
#include "job/split_job.h"
#include "split/split_file.h"
#include "tests/support/captured_output.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_files.h"

namespace {

constexpr std::int64_t MiB = 1048576;
constexpr int cancel_command = 1004;

// Ended by a quit, as the real dialog would be.
bool dialog_ended = false;

// Routes commands as the main dialog does.
LRESULT CALLBACK owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && LOWORD(wparam) == IDOK && request_quit(window)) {
    dialog_ended = true;
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == cancel_command) request_cancel(window);
  if (message == WM_SPLIT_JOB_ENDED || message == WM_COMMAND) {
    if (report_split_ending_if_due(window)) dialog_ended = true;
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// Holds the worker after its first block until the test lets it go on, so that
// the job is certainly running while the test works the dialog.
class WorkerGate {
 public:
  explicit WorkerGate(CapturedOutput& output) {
    output.on_progress_dot([this](int dots) {
      if (dots != 1) return;
      std::unique_lock<std::mutex> lock(mutex);
      reached = true;
      changed.notify_all();
      changed.wait(lock, [this] { return opened; });
    });
  }
  ~WorkerGate() { open(); }

  bool wait_until_reached() {
    return pump_until([this] {
      std::lock_guard<std::mutex> lock(mutex);
      return reached;
    });
  }
  void open() {
    std::lock_guard<std::mutex> lock(mutex);
    opened = true;
    changed.notify_all();
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  bool reached = false;
  bool opened = false;
};

class SplitJobTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = owner_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "ParcelorTestOwner";
    RegisterClassA(&window_class);
    owner = CreateWindowExA(0, "ParcelorTestOwner", "Parcelor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200,
                            nullptr, nullptr, window_class.hInstance, nullptr);
    start_button = CreateWindowExA(0, "BUTTON", "start", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, owner, nullptr,
                                   window_class.hInstance, nullptr);
    ASSERT_NE(start_button, nullptr);
    dialog_ended = false;
    split_job.cancel_requested = false;
    split_job.job_finished = false;
  }

  void TearDown() override {
    // A job left running by a failed assertion is stopped, so the next test starts idle.
    split_job.cancel_requested = true;
    for (int attempt = 0; attempt < 3 && split_job.start_button != nullptr; ++attempt) {
      MessageBoxAnswer any("Split", IDOK, {}, 2000);
      pump_until([] { return split_job.start_button == nullptr; }, 2000);
    }
    join_worker();
    DestroyWindow(owner);
  }

  void start(std::int32_t size_mb, const std::string& path) {
    EnableWindow(start_button, FALSE);
    start_split_job(owner, start_button, size_mb, widened(path.c_str()).c_str());
  }

  bool wait_until_idle() {
    return pump_until([this] { return split_job.start_button == nullptr && IsWindowEnabled(start_button); });
  }

  void post_command(int id) { PostMessageA(owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

  HWND owner = nullptr;
  HWND start_button = nullptr;
  TempFolder folder;
  CapturedOutput output;
};

TEST_F(SplitJobTest, CancelWithoutARunningJobAsksNothing) {
  {
    MessageBoxAnswer question("Question", IDOK, {}, 1000);
    request_cancel(owner);
    question.wait();
    EXPECT_FALSE(question.found) << "asked before any job";
  }
  write_file(folder / "movie.iso", pattern_bytes(100));
  {
    MessageBoxAnswer finished("Split", IDOK);
    start(1, folder / "movie.iso");
    finished.wait();
  }
  ASSERT_TRUE(wait_until_idle());
  MessageBoxAnswer question("Question", IDOK, {}, 1000);
  request_cancel(owner);
  question.wait();
  EXPECT_FALSE(question.found) << "asked after the job";
  EXPECT_FALSE(split_job.cancel_requested);
}

TEST_F(SplitJobTest, AnsweringCancelLeavesTheJobRunning) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  WorkerGate gate(output);
  start(1, folder / "movie.iso");
  ASSERT_TRUE(gate.wait_until_reached());

  MessageBoxAnswer question("Question", IDCANCEL);
  request_cancel(owner);
  ASSERT_TRUE(question.wait());
  EXPECT_EQ(question.text, job_texts::cancel_question);
  EXPECT_EQ(question.icon, static_cast<UINT>(MB_ICONQUESTION));
  EXPECT_EQ(question.owner, owner);
  EXPECT_FALSE(split_job.cancel_requested);

  MessageBoxAnswer finished("Split", IDOK);
  gate.open();
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_finished);
  EXPECT_EQ(finished.text.substr(finished.text.rfind('\n') + 1),
            "送るときは、分割ファイルをすべてと movie.bat、movie.iso.sha256 を送り、受け取った人はそれらを一つの"
            "フォルダーに置いて movie.bat を実行します。");
  ASSERT_TRUE(wait_until_idle());
  EXPECT_EQ(files_in(folder.path()),
            (std::vector<std::string>{"movie.bat", "movie.iso", "movie.iso.sha256", "movie.iso_1", "movie.iso_2",
                                      "movie.iso_3"}));
}

TEST_F(SplitJobTest, ConfirmedCancelStopsAtTheNextBlockAndSaysWhatIsLeft) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  WorkerGate gate(output);
  start(2, folder / "movie.iso");
  ASSERT_TRUE(gate.wait_until_reached());

  MessageBoxAnswer question("Question", IDOK);
  post_command(cancel_command);
  ASSERT_TRUE(question.wait());
  EXPECT_TRUE(split_job.cancel_requested);

  MessageBoxAnswer finished("Split", IDOK);
  gate.open();
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_cancelled);
  EXPECT_NE(finished.text.find("\n分割ファイルを 1 個残しました (" + (folder / "movie.iso_1") + ")。\n"),
            std::string::npos)
      << finished.text;
  EXPECT_EQ(finished.icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(finished.owner, owner);
  ASSERT_TRUE(wait_until_idle());
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"})) << "no script";
}

// The split ends while the question is open: its box waits for the answer, one box
// at a time, and says when an OK came too late to change anything.
TEST_F(SplitJobTest, AnEndingDuringTheQuestionIsShownAfterTheAnswer) {
  for (const int answer : {IDOK, IDCANCEL}) {
    TempFolder each;
    write_file(each / "movie.iso", pattern_bytes(2 * MiB));
    CapturedOutput each_output;  // counts this job's dots from the first
    WorkerGate gate(each_output);
    start(1, each / "movie.iso");
    ASSERT_TRUE(gate.wait_until_reached());
    bool box_during_question = true;
    MessageBoxAnswer question("Question", answer, [&] {
      gate.open();
      for (int wait = 0; wait < 500 && !split_job.job_finished; ++wait) Sleep(10);
      Sleep(200);
      box_during_question = find_dialog_with_control(GetCurrentProcessId(), 0xFFFF, "Split") != nullptr;
    });
    MessageBoxAnswer finished("Split", IDOK);
    post_command(cancel_command);
    ASSERT_TRUE(question.wait());
    ASSERT_TRUE(finished.wait());
    EXPECT_FALSE(box_during_question);
    EXPECT_EQ(finished.first_line(), job_texts::split_finished);
    EXPECT_EQ(finished.text.find(job_texts::ended_before_answer) != std::string::npos, answer == IDOK) << answer;
    EXPECT_TRUE(wait_until_idle());
  }
}

TEST_F(SplitJobTest, FailedSplitShowsTheFailureBoxNamingTheFile) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  write_file(folder / "movie.iso_2", {});  // left by an earlier split
  MessageBoxAnswer finished("Split", IDOK);
  start(1, folder / "movie.iso");
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_failed);
  EXPECT_NE(finished.text.find("\n" + (folder / "movie.iso_2") + "\n"), std::string::npos) << finished.text;
  EXPECT_EQ(finished.icon, static_cast<UINT>(MB_ICONHAND));
  EXPECT_TRUE(wait_until_idle());
}

// What escapes the split on the worker's thread, memory running out on the way back,
// ends in the failure box, never the program.
TEST_F(SplitJobTest, AThrowOnTheWorkersThreadEndsInTheFailureBox) {
  run_split = [](std::int64_t) -> SplitOutcome { throw std::bad_alloc(); };
  MessageBoxAnswer finished("Split", IDOK);
  start(1, folder / "movie.iso");
  ASSERT_TRUE(finished.wait());
  run_split = split_file;
  EXPECT_EQ(finished.text, std::string(job_texts::split_failed) + "\n" + job_texts::out_of_memory);
  EXPECT_TRUE(wait_until_idle());
}

TEST_F(SplitJobTest, StartButtonStaysDisabledUntilTheBoxIsDismissed) {
  write_file(folder / "movie.iso", pattern_bytes(10));
  bool enabled_while_shown = true;
  bool job_marked_finished = false;
  MessageBoxAnswer finished("Split", IDOK, [&] {
    // A wrong early enabling would show within this bounded wait.
    enabled_while_shown = pump_until([&] { return IsWindowEnabled(start_button) != FALSE; }, 200);
    job_marked_finished = split_job.job_finished;
  });
  start(1, folder / "movie.iso");
  ASSERT_TRUE(finished.wait());
  EXPECT_FALSE(enabled_while_shown);
  EXPECT_TRUE(job_marked_finished);
  EXPECT_TRUE(wait_until_idle());
  EXPECT_EQ(split_job.worker, nullptr) << "the ended worker is joined";
}

TEST_F(SplitJobTest, EndOfJobNoticeFromElsewhereNeitherEndsNorJoinsTheJob) {
  write_file(folder / "movie.iso", pattern_bytes(2 * MiB));
  WorkerGate gate(output);
  start(1, folder / "movie.iso");
  ASSERT_TRUE(gate.wait_until_reached());
  // The notice any program may post. Joining the held worker here would hang the test.
  PostMessageA(owner, WM_SPLIT_JOB_ENDED, 0, 0);
  pump_for(100);
  EXPECT_TRUE(split_job_in_progress());
  EXPECT_FALSE(IsWindowEnabled(start_button));

  MessageBoxAnswer finished("Split", IDOK);
  gate.open();
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_finished);
  EXPECT_TRUE(wait_until_idle());
  EXPECT_EQ(split_job.worker, nullptr);
  EXPECT_EQ(files_in(folder.path()),
            (std::vector<std::string>{"movie.bat", "movie.iso", "movie.iso.sha256", "movie.iso_1", "movie.iso_2"}));
}

TEST_F(SplitJobTest, SecondJobClearsTheFlagsAndReplacesTheWorker) {
  write_file(folder / "movie.iso", pattern_bytes(10));
  {
    MessageBoxAnswer finished("Split", IDOK);
    start(1, folder / "missing.iso");
    finished.wait();
  }
  ASSERT_TRUE(wait_until_idle());
  split_job.cancel_requested = true;  // as a late confirmed question leaves it
  ASSERT_TRUE(split_job.job_finished);

  WorkerGate gate(output);
  start(1, folder / "movie.iso");
  EXPECT_FALSE(split_job.cancel_requested);
  EXPECT_FALSE(split_job.job_finished);
  EXPECT_NE(split_job.worker, nullptr);
  ASSERT_TRUE(gate.wait_until_reached());
  MessageBoxAnswer finished("Split", IDOK);
  gate.open();
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_finished);
  EXPECT_TRUE(wait_until_idle());
}

TEST_F(SplitJobTest, PartSizesInMiBBecomeBytes) {
  const struct {
    std::int32_t size_mb;
    std::int64_t bytes;
  } cases[] = {{1, 1048576}, {512, 536870912}, {2147483647, 2251799812636672}, {-1, -1048576}};
  write_file(folder / "movie.iso", pattern_bytes(10));
  for (const auto& c : cases) {
    MessageBoxAnswer finished("Split", IDOK);
    start(c.size_mb, folder / "movie.iso");
    EXPECT_EQ(split_job.split_size_mb, c.size_mb);
    EXPECT_EQ(part_size_bytes(split_job.split_size_mb), c.bytes) << c.size_mb << " MiB";
    ASSERT_TRUE(finished.wait());
    ASSERT_TRUE(wait_until_idle());
    // A negative size is refused; any positive one holds this small file in one part.
    EXPECT_EQ(finished.first_line(), c.size_mb > 0 ? job_texts::split_finished : job_texts::split_failed) << c.size_mb;
    DeleteFileA((folder / "movie.iso_1").c_str());
    DeleteFileA((folder / "movie.bat").c_str());
    DeleteFileA((folder / "movie.iso.sha256").c_str());
  }
}

TEST_F(SplitJobTest, QuitDuringAJobAnsweredCancelKeepsTheDialog) {
  write_file(folder / "movie.iso", pattern_bytes(2 * MiB));
  WorkerGate gate(output);
  start(1, folder / "movie.iso");
  ASSERT_TRUE(gate.wait_until_reached());

  MessageBoxAnswer question("Question", IDCANCEL);
  post_command(IDOK);
  ASSERT_TRUE(question.wait());
  EXPECT_EQ(question.text, job_texts::cancel_question);
  EXPECT_FALSE(split_job.cancel_requested);

  MessageBoxAnswer finished("Split", IDOK);
  gate.open();
  ASSERT_TRUE(finished.wait());
  ASSERT_TRUE(wait_until_idle());
  pump_for(100);
  EXPECT_FALSE(dialog_ended);
  EXPECT_TRUE(file_exists(folder / "movie.iso_2"));
}

TEST_F(SplitJobTest, QuitDuringAJobAnsweredOkStopsItAndEndsAfterTheBox) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  WorkerGate gate(output);
  start(1, folder / "movie.iso");
  ASSERT_TRUE(gate.wait_until_reached());

  MessageBoxAnswer question("Question", IDOK);
  post_command(IDOK);
  ASSERT_TRUE(question.wait());
  EXPECT_TRUE(split_job.cancel_requested);
  EXPECT_FALSE(dialog_ended) << "ended before the job reported";

  MessageBoxAnswer finished("Split", IDOK);
  gate.open();
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_cancelled);
  ASSERT_TRUE(pump_until([] { return dialog_ended; }, 5000)) << "the dialog did not end";
  EXPECT_EQ(split_job.worker, nullptr);
  EXPECT_EQ(split_job.start_button, nullptr);
  EXPECT_TRUE(IsWindowEnabled(start_button));
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"}));
}

TEST_F(SplitJobTest, QuitRightAsTheCompletionBoxIsDismissedNeverHangs) {
  write_file(folder / "movie.iso", pattern_bytes(10));
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    dialog_ended = false;
    // The quit arrives just before or just after the box's OK, in turn.
    const bool quit_first = round % 2 == 0;
    MessageBoxAnswer finished("Split", IDOK, [&] {
      if (quit_first) post_command(IDOK);
    });
    start(1, folder / "missing.iso");
    ASSERT_TRUE(finished.wait());
    if (!quit_first) post_command(IDOK);
    ASSERT_TRUE(pump_until([] { return dialog_ended; }, 5000)) << "the quit hung";
    EXPECT_EQ(split_job.start_button, nullptr);
    EXPECT_TRUE(IsWindowEnabled(start_button));
    EXPECT_EQ(split_job.worker, nullptr);
  }
}

}  // namespace
