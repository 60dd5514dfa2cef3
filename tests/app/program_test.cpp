// The built parcelor.exe, started as its own process the way Explorer would start
// it with a file dropped on its icon, and worked through to a finished split.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/resource.h"
#include "job/job_texts.h"
#include "tests/app/built_program.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_files.h"

namespace {

// As Explorer starts it for a dropped file whose path holds a blank: quoted. The
// blanks between the program name and the path are dropped.
PROCESS_INFORMATION start_program(const std::string& source) {
  std::string command_line = "\"" + built_program_path() + "\"   \"" + source + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << GetLastError();
  return process;
}

// Its exit code once it has ended, within seconds.
DWORD exit_code_of(const PROCESS_INFORMATION& process) {
  DWORD exit_code = STILL_ACTIVE;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the program did not end";
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exit_code;
}

TEST(Program, SplitsTheFileNamedOnItsCommandLineAndExitsWithZero) {
  TempFolder folder;
  CreateDirectoryA((folder / "my files").c_str(), nullptr);
  const std::string source = folder / "my files\\movie.iso";
  const Bytes bytes = pattern_bytes(700 * 1024);
  write_file(source, bytes);

  const PROCESS_INFORMATION process = start_program(source);
  HWND dialog = nullptr;
  ASSERT_TRUE(pump_until([&] {
    dialog = find_dialog_with_control(process.dwProcessId, IDC_START_SPLIT, "Parcelor");
    return dialog != nullptr;
  }));
  char shown[300] = {};
  GetDlgItemTextA(dialog, IDC_SOURCE_PATH, shown, sizeof shown);
  EXPECT_EQ(std::string(shown), source);

  {
    MessageBoxAnswer finished("Split", IDOK, {}, 10000, process.dwProcessId);
    PostMessageA(GetDlgItem(dialog, IDC_START_SPLIT), BM_CLICK, 0, 0);
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(finished.first_line(), job_texts::split_finished);
  }
  ASSERT_TRUE(pump_until([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_START_SPLIT)) != FALSE; }));
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(exit_code_of(process), 0u);

  EXPECT_TRUE(read_file(source + "_1") == bytes);
  EXPECT_NE(read_text(folder / "my files\\movie.bat").find("\r\ncopy /b /y \"movie.iso_1\" \"movie.iso.rejoining\"\r\n"),
            std::string::npos);
}

// A quit message during a split, from another program or from code on the dialog's
// thread, ends the program at once and cleanly: the split cancelled and waited for,
// no box, exit code 0, no temporary file left. The source is 8 GiB of a sparse file,
// still being split when the quit comes.
TEST(Program, AQuitMessageDuringASplitEndsItCleanly) {
  TempFolder folder;
  const std::string source = folder / "movie.iso";
  const HANDLE file = CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  SetFilePointerEx(file, LARGE_INTEGER{{0, 2}}, nullptr, FILE_BEGIN);
  ASSERT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
  const PROCESS_INFORMATION process = start_program(source);
  HWND dialog = nullptr;
  ASSERT_TRUE(pump_until([&] { return (dialog = find_dialog_with_control(process.dwProcessId, IDOK, "Parcelor")); }));
  SetDlgItemTextA(dialog, IDC_SPLIT_SIZE, "1");
  PostMessageA(GetDlgItem(dialog, IDC_START_SPLIT), BM_CLICK, 0, 0);
  ASSERT_TRUE(pump_until([&] { return file_exists(source + "_3"); }));
  PostThreadMessageA(process.dwThreadId, WM_QUIT, 0, 0);
  EXPECT_EQ(find_dialog_with_control(process.dwProcessId, 0xFFFF, "Split"), nullptr);
  EXPECT_EQ(exit_code_of(process), 0u);
  const std::vector<std::string> files = files_in(folder.path());
  EXPECT_TRUE(std::none_of(files.begin(), files.end(), [](const std::string& name) {
    return name.find("~pc") != std::string::npos || name.find(".bat") != std::string::npos;
  }));
}

}  // namespace
