// The built parcelor.exe, started as its own process the way Explorer would start
// it with a file dropped on its icon, and worked through to a finished split.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resource.h"
#include "tests/app/built_program.h"
#include "job/job_texts.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_files.h"

namespace {

TEST(Program, SplitsTheFileNamedOnItsCommandLineAndExitsWithZero) {
  TempFolder folder;
  CreateDirectoryA((folder / "my files").c_str(), nullptr);
  const std::string source = folder / "my files\\movie.iso";
  const Bytes bytes = pattern_bytes(700 * 1024);
  write_file(source, bytes);

  // As Explorer starts it for a dropped file whose path holds a blank: quoted. The
  // blanks between the program name and the path are dropped.
  std::string command_line = "\"" + built_program_path() + "\"   \"" + source + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << GetLastError();

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

  ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the program did not end";
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  EXPECT_TRUE(read_file(source + "_1") == bytes);
  EXPECT_NE(read_text(folder / "my files\\movie.bat").find("\r\ncopy /b /y \"movie.iso_1\" \"movie.iso.rejoining\"\r\n"),
            std::string::npos);
}

}  // namespace
