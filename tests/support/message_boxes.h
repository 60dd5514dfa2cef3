#pragma once
// Answers this process's message boxes from a thread of its own, as a user would,
// and lets the test thread serve its windows' messages while it waits.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Serves the calling thread's messages until the condition holds or the time is up.
bool pump_until(const std::function<bool()>& condition, DWORD timeout_ms = 10000);

// Serves the calling thread's messages for a while, for things that must not happen.
void pump_for(DWORD milliseconds);

// A visible top-level dialog-class window of the process that has a control with
// this id, or null.
HWND find_dialog_with_control(DWORD process_id, int control_id, const char* caption = nullptr);

class MessageBoxAnswer {
 public:
  // Waits up to timeout_ms for a visible message box of the process with this
  // caption, records it, calls before_answer (if any) while it is still shown, then
  // presses `button`.
  MessageBoxAnswer(std::string caption, int button, std::function<void()> before_answer = {},
                   DWORD timeout_ms = 10000, DWORD process_id = GetCurrentProcessId());
  ~MessageBoxAnswer();
  MessageBoxAnswer(const MessageBoxAnswer&) = delete;
  MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

  bool done() const { return finished; }
  // Serves the calling thread's messages until the box was answered or given up on.
  bool wait();

  bool found = false;
  // Its text, in the code page and as it is.
  std::string text;
  std::wstring wide_text;
  std::string first_line() const { return text.substr(0, text.find('\n')); }
  // MB_ICONINFORMATION, MB_ICONHAND, MB_ICONQUESTION, MB_ICONWARNING, or 0.
  UINT icon = 0;
  HWND owner = nullptr;

 private:
  void run(DWORD timeout_ms, DWORD process_id);

  const std::string caption;
  const int button;
  const std::function<void()> before_answer;
  std::atomic<bool> finished{false};
  std::thread thread;
};
