#pragma once
// The real main dialog, run modally on a thread of its own as the program's main
// thread runs it, so that the test thread can work it like a user.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

class RunningDialog {
 public:
  // Starts from the program's state at start-up, with this command-line text.
  explicit RunningDialog(const std::wstring& command_line = L"");
  // Quits the dialog if it is still open.
  ~RunningDialog();
  RunningDialog(const RunningDialog&) = delete;
  RunningDialog& operator=(const RunningDialog&) = delete;

  HWND window() const { return dialog; }
  HWND control(int id) const { return GetDlgItem(dialog, id); }
  std::string text(int id) const;
  void set_text(int id, const std::string& text) const;

  // Clicks a button as the mouse would: posted, since a modal box may open.
  void click(int id) const;
  void post_key(int control_id, WPARAM key) const;

  // Waits (bounded) for the dialog to end.
  bool wait_until_ended(DWORD timeout_ms = 10000);
  bool ended() const { return finished; }
  INT_PTR result() const { return dialog_result; }
  // The window that has the keyboard focus on the dialog's thread.
  HWND focus() const;

 private:
  std::thread thread;
  std::atomic<DWORD> thread_id{0};
  std::atomic<bool> finished{false};
  INT_PTR dialog_result = 0;
  HWND dialog = nullptr;
};
