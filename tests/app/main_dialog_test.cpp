#include "app/main_dialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/initial_path.h"
#include "app/resource.h"
#include "app/taskbar_progress.h"
#include "job/job_texts.h"
#include "job/split_job.h"
#include "split/wide_path.h"
#include "tests/app/running_dialog.h"
#include "tests/support/captured_output.h"
#include "tests/support/message_boxes.h"
#include "tests/support/test_files.h"

namespace {

// The open-file dialog's file name box (a combo box in the Explorer style).
constexpr int file_name_box = 0x47C;

struct ControlCase {
  int id;
  const char* class_name;
  const char* text;
};

// In tab order. The texts are the code page 932 bytes of 終了, 分割開始, 分割キャンセル,
// 分割サイズ[MB] and 分割ファイル.
const ControlCase control_cases[] = {
    {IDOK, "Button", "\x8f\x49\x97\xb9"},
    {IDC_SOURCE_PATH, "Edit", ""},
    {IDC_BROWSE, "Button", "..."},
    {IDC_SPLIT_SIZE, "Edit", "512"},
    {IDC_MAKE_SPARE, "Button", "\x8f\x43\x95\x9c\x97\x70\x83\x66\x81\x5b\x83\x5e (PAR2) \x82\xf0\x8d\xec\x82\xe9"},
    {IDC_START_SPLIT, "Button", "\x95\xaa\x8a\x84\x8a\x4a\x8e\x6e"},
    {IDC_CANCEL_SPLIT, "Button", "\x95\xaa\x8a\x84\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b"},
    {IDC_STATIC, "Static", "\x95\xaa\x8a\x84\x83\x54\x83\x43\x83\x59\x5b\x4d\x42\x5d"},
    {IDC_STATIC, "Static", "\x95\xaa\x8a\x84\x83\x74\x83\x40\x83\x43\x83\x8b"},
};

TEST(MainDialog, ControlsInTabOrderWithTheirIdsAndTexts) {
  RunningDialog dialog;
  ASSERT_NE(dialog.window(), nullptr);
  char caption[64] = {};
  GetWindowTextA(dialog.window(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Parcelor");
  EXPECT_EQ(GetWindowLongA(dialog.window(), GWL_STYLE) & WS_SYSMENU, 0) << "no close box";

  HWND child = GetWindow(dialog.window(), GW_CHILD);
  for (const ControlCase& c : control_cases) {
    ASSERT_NE(child, nullptr) << "missing control " << c.id;
    char class_name[32] = {};
    char text[64] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    GetWindowTextA(child, text, sizeof text);
    EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), c.id);
    EXPECT_STREQ(class_name, c.class_name) << "control " << c.id;
    EXPECT_STREQ(text, c.text) << "control " << c.id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  // Then only the progress bar, made at run time and hidden while no job runs.
  EXPECT_EQ(child, dialog.control(IDC_SPLIT_PROGRESS));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_EQ(GetWindow(child, GW_HWNDNEXT), nullptr) << "more controls than the template's and the bar";
  EXPECT_EQ(dialog.focus(), dialog.control(IDOK)) << "the focus starts on the quit button";
  EXPECT_EQ(IsDlgButtonChecked(dialog.window(), IDC_MAKE_SPARE), static_cast<UINT>(BST_CHECKED));
}

TEST(MainDialog, EnterInAnEditQuitsWhenIdle) {
  RunningDialog dialog;
  dialog.post_key(IDC_SPLIT_SIZE, VK_RETURN);
  ASSERT_TRUE(dialog.wait_until_ended());
  EXPECT_EQ(dialog.result(), IDOK);
}

TEST(MainDialog, EscapeAndCloseRequestsAreIgnored) {
  RunningDialog dialog;
  dialog.post_key(IDC_SOURCE_PATH, VK_ESCAPE);
  PostMessageA(dialog.window(), WM_CLOSE, 0, 0);
  PostMessageA(dialog.window(), WM_COMMAND, IDCANCEL, 0);
  pump_for(300);
  EXPECT_FALSE(dialog.ended());
  EXPECT_TRUE(IsWindowVisible(dialog.window()));
}

class SizeTextInDialog : public testing::Test {
 protected:
  TempFolder folder;
};

// The warning names what was typed (as the code page holds it) and says what a
// size is; an empty box is asked for a size.
TEST_F(SizeTextInDialog, WhatIsNoSizeIsRefusedWithAWarningAndNothingElseChanges) {
  RunningDialog dialog;
  dialog.set_text(IDC_SOURCE_PATH, folder / "movie.iso");
  // "ＭＢ" and "－１" as a Japanese input method types them.
  for (const char* text : {"0", "", "MB", "\x82\x6C\x82\x61", "-1", "\x81\x7C\x82\x50", "2GB", "1.5", "9999999999"}) {
    dialog.set_text(IDC_SPLIT_SIZE, text);
    MessageBoxAnswer warning("Error", IDOK);
    dialog.click(IDC_START_SPLIT);
    ASSERT_TRUE(warning.wait()) << "no warning for \"" << text << '"';
    const std::string first_line =
        *text == '\0' ? std::string(app_texts::size_warning) : "分割サイズ「" + std::string(text) + "」は使えません。";
    EXPECT_EQ(warning.text, first_line + "\n" + app_texts::size_rule);
    EXPECT_EQ(warning.icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(warning.owner, dialog.window());
    EXPECT_TRUE(pump_until([&] { return IsWindowEnabled(dialog.control(IDOK)); }));
    EXPECT_TRUE(IsWindowEnabled(dialog.control(IDC_START_SPLIT)));
    EXPECT_EQ(selected_path[0], L'\0') << "the source edit was read";
  }
}

TEST_F(SizeTextInDialog, AcceptedSizesStartAJobWithThatSize) {
  const struct {
    const char* text;
    std::int64_t size_mb;
  } cases[] = {{"512", 512}, {" 64", 64}, {"+8", 8}, {"12MB", 12}, {"1,024 MiB", 1024},
               // "３" and "　＋５１２" as a Japanese input method types them.
               {"\x82\x52", 3}, {"\x81\x40\x81\x7B\x82\x54\x82\x50\x82\x51", 512}};
  write_file(folder / "movie.iso", pattern_bytes(100));
  RunningDialog dialog;
  dialog.set_text(IDC_SOURCE_PATH, folder / "movie.iso");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog.set_text(IDC_SPLIT_SIZE, c.text);
    MessageBoxAnswer finished("Split", IDOK);
    dialog.click(IDC_START_SPLIT);
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(finished.first_line(), job_texts::split_finished);
    EXPECT_EQ(split_job.split_size_mb, c.size_mb);
    ASSERT_TRUE(pump_until([&] { return IsWindowEnabled(dialog.control(IDC_START_SPLIT)); }));
    EXPECT_EQ(dialog.text(IDC_SPLIT_SIZE), c.text) << "the edits keep their values";
    EXPECT_EQ(dialog.text(IDC_SOURCE_PATH), folder / "movie.iso");
    DeleteFileA((folder / "movie.iso_1").c_str());
    DeleteFileA((folder / "movie.bat").c_str());
    DeleteFileA((folder / "movie.iso.sha256").c_str());
  }
}

// Answers the open-file dialog: reads the file name it offers, then either cancels
// or chooses `choice`, in `folder` if one is given, as a user who goes there first.
struct FileDialogAnswer {
  std::string offered;
  bool found = false;
  bool went_there = false;

  void answer(const std::string& choice, const std::string& folder = "") {
    HWND file_dialog = nullptr;
    found = pump_until([&] {
      file_dialog = find_dialog_with_control(GetCurrentProcessId(), file_name_box);
      return file_dialog != nullptr;
    });
    if (!found) return;
    char text[260] = {};
    GetDlgItemTextA(file_dialog, file_name_box, text, sizeof text);
    offered = text;
    if (!folder.empty()) {
      SetDlgItemTextA(file_dialog, file_name_box, folder.c_str());
      PostMessageA(file_dialog, WM_COMMAND, IDOK, 0);
      // Going there moves the process's current folder, as Windows documents.
      went_there = pump_until([&] {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        return folder == current;
      });
    }
    if (choice.empty()) {
      PostMessageA(file_dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      SetDlgItemTextA(file_dialog, file_name_box, choice.c_str());
      PostMessageA(file_dialog, WM_COMMAND, IDOK, 0);
    }
    pump_until([&] { return !IsWindow(file_dialog); });
  }
};

TEST(MainDialog, BrowseOffersTheLastChosenPathAndReplacesTheEdit) {
  TempFolder folder;
  write_file(folder / "first.iso", {1});
  write_file(folder / "second.zip", {2});
  RunningDialog dialog;
  dialog.set_text(IDC_SOURCE_PATH, "typed by hand");

  FileDialogAnswer cancelled;
  dialog.click(IDC_BROWSE);
  cancelled.answer("");
  ASSERT_TRUE(cancelled.found);
  EXPECT_EQ(cancelled.offered, "");
  EXPECT_EQ(dialog.text(IDC_SOURCE_PATH), "typed by hand");

  char current_folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current_folder);
  FileDialogAnswer chosen;
  dialog.click(IDC_BROWSE);
  chosen.answer("first.iso", folder.path());
  ASSERT_TRUE(pump_until([&] { return dialog.text(IDC_SOURCE_PATH) == folder / "first.iso"; }))
      << dialog.text(IDC_SOURCE_PATH);
  char after_browse[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after_browse);
  EXPECT_TRUE(chosen.went_there);
  EXPECT_STREQ(after_browse, current_folder) << "the browse left the current folder moved";

  dialog.set_text(IDC_SOURCE_PATH, folder / "second.zip");
  FileDialogAnswer offered_again;
  dialog.click(IDC_BROWSE);
  offered_again.answer("");
  EXPECT_EQ(offered_again.offered, "first.iso") << "the typed path was offered";
  EXPECT_EQ(dialog.text(IDC_SOURCE_PATH), folder / "second.zip");
  // Windows writes the chosen pattern, "*.*", back as it was. Wine 8's wide dialog
  // writes it as narrow text one character in, which the tests of the initial filter
  // must not see.
  std::copy(std::begin(L"Before files\0*.*"), std::end(L"Before files\0*.*"), custom_filter);
}

// A drop as Explorer makes it: wide paths, each ended by a NUL, one more NUL last.
HDROP make_drop(const std::wstring& paths) {
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (paths.size() + 2) * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  paths.copy(reinterpret_cast<wchar_t*>(header + 1), paths.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

void drop_on(const RunningDialog& dialog, const std::wstring& paths) {
  const HDROP drop = make_drop(paths);
  PostMessageA(dialog.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_TRUE(pump_until([&] { return GlobalFlags(drop) == GMEM_INVALID_HANDLE; })) << "the drop was not released";
}

TEST(MainDialog, DroppedFileReplacesTheSourcePathWhole) {
  RunningDialog dialog;
  // 分割 ファイル.iso: a code page 932 name with a blank; the second item is ignored.
  drop_on(dialog, L"C:\\d\\\u5206\u5272 \u30D5\u30A1\u30A4\u30EB.iso" + std::wstring(1, L'\0') + L"C:\\x.iso");
  EXPECT_EQ(dialog.text(IDC_SOURCE_PATH), "C:\\d\\分割 ファイル.iso");
  // Too long for the program, yet shown, so that what a start refuses is in view.
  drop_on(dialog, L"C:\\" + std::wstring(130, L'\u5206'));
  EXPECT_EQ(dialog.text(IDC_SOURCE_PATH).size(), 263u);
}

// Refused before the first byte, with the full path in the box: an extension
// beyond ASCII, which the rejoin script could not spell, NUL typed in a folder is
// the device, a path may be too long, or there is none.
TEST(MainDialog, PathsThatCannotBeSplitAreRefusedWithTheirReason) {
  TempFolder folder;
  const std::wstring video = folder / L"\u65C5.\u52D5\u753B";
  write_file(video, pattern_bytes(10));
  const std::wstring too_long = widened(folder.path().c_str()) + L"\\" + std::wstring(260, L'n');
  enum class Given { command_line, dropped, typed };
  const struct {
    const char* what;
    std::wstring path;
    Given given;
    const char* reason;
    std::wstring file_shown;
  } cases[] = {{"from the command line", video, Given::command_line, job_texts::extension_not_ascii, video},
               {"dropped", video, Given::dropped, job_texts::extension_not_ascii, video},
               {"a device, typed in quotes", L"\"" + widened((folder / "NUL").c_str()) + L"\"", Given::typed,
                job_texts::source_is_device, L"\\\\.\\NUL"},
               {"too long", too_long, Given::dropped, job_texts::name_too_long, too_long},
               {"no name", L"", Given::typed, job_texts::no_source_named, L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RunningDialog dialog(c.given == Given::command_line ? c.path : L"");
    if (c.given == Given::dropped) drop_on(dialog, c.path);
    if (c.given == Given::typed) SetDlgItemTextW(dialog.window(), IDC_SOURCE_PATH, c.path.c_str());
    MessageBoxAnswer failed("Split", IDOK);
    dialog.click(IDC_START_SPLIT);
    ASSERT_TRUE(failed.wait());
    EXPECT_EQ(failed.first_line(), job_texts::split_failed);
    EXPECT_EQ(failed.icon, static_cast<UINT>(MB_ICONHAND));
    const std::wstring why = c.file_shown.empty() ? L"\n" : L"\n" + c.file_shown + L"\n";
    const std::wstring reason = widened(c.reason);
    EXPECT_NE(failed.wide_text.find(why + reason.substr(0, reason.find(L'%'))), std::wstring::npos);
    EXPECT_TRUE(pump_until([&] { return IsWindowEnabled(dialog.control(IDC_START_SPLIT)) != FALSE; }));
    EXPECT_EQ(files_in(folder.path()).size(), 1u) << "a part or script was made";
  }
}

// Sets the dialog to split movie.iso, made in the folder with that many MiB, into
// parts of 1 MiB, without a spare.
void set_to_split(const RunningDialog& dialog, const TempFolder& folder, std::size_t mib) {
  write_file(folder / "movie.iso", pattern_bytes(mib * 1048576));
  dialog.set_text(IDC_SOURCE_PATH, folder / "movie.iso");
  dialog.set_text(IDC_SPLIT_SIZE, "1");
  CheckDlgButton(dialog.window(), IDC_MAKE_SPARE, BST_UNCHECKED);
}

TEST(MainDialog, StartHandsTheFocusOnToTheCancelButtonAndTheBarAndCaptionFollowTheSplit) {
  TempFolder folder;
  RunningDialog dialog;
  set_to_split(dialog, folder, 3);
  const HWND start = dialog.control(IDC_START_SPLIT);
  const HWND bar = dialog.control(IDC_SPLIT_PROGRESS);
  const auto bar_at = [&] { return IsWindowVisible(bar) ? SendMessageA(bar, PBM_GETPOS, 0, 0) : -1; };
  const auto caption = [&] {
    char text[64] = {};
    GetWindowTextA(dialog.window(), text, sizeof text);
    return std::string(text);
  };
  for (const bool by_enter : {false, true}) {
    SCOPED_TRACE(by_enter ? "started with Enter" : "started with a click");
    PostMessageA(dialog.window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(start), TRUE);
    ASSERT_TRUE(pump_until([&] { return dialog.focus() == start; }));
    CapturedOutput output;
    LRESULT after_one_block_of_three = -1;
    LRESULT after_the_last_block = -1;
    std::string caption_after_one_block;
    HWND focus_during_the_job = nullptr;
    // The checksum file and the script count too: every block copied and hashed is
    // not yet 100 %.
    output.on_progress_dot([&](int dots) {
      if (dots == 3) {
        pump_until([&] { return bar_at() == 997; }, 1000);
        after_the_last_block = bar_at();
      }
      if (dots != 1) return;
      // The bar, then the caption, move on the dialog's thread.
      pump_until([&] { return bar_at() == 332 && caption() == "33% - Parcelor"; }, 1000);
      after_one_block_of_three = bar_at();
      caption_after_one_block = caption();
      focus_during_the_job = dialog.focus();
    });
    LRESULT with_the_box = -1;
    std::string caption_with_the_box;
    MessageBoxAnswer finished("Split", IDOK, [&] {
      pump_until([&] { return (with_the_box = bar_at()) == 1000 && caption() == "100% - Parcelor"; }, 1000);
      caption_with_the_box = caption();
    });
    if (by_enter) {
      dialog.post_key(IDC_START_SPLIT, VK_RETURN);
    } else {
      dialog.click(IDC_START_SPLIT);
    }
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(after_one_block_of_three, 332);
    EXPECT_EQ(after_the_last_block, 997);
    EXPECT_EQ(with_the_box, 1000);
    EXPECT_EQ(caption_after_one_block, "33% - Parcelor");
    EXPECT_EQ(caption_with_the_box, "100% - Parcelor");
    EXPECT_EQ(focus_during_the_job, dialog.control(IDC_CANCEL_SPLIT));
    EXPECT_TRUE(pump_until([&] { return bar_at() == -1 && IsWindowEnabled(start); })) << "the bar stayed";
    EXPECT_TRUE(pump_until([&] { return caption() == "Parcelor"; })) << caption();
    for (const char* name : {"movie.iso_1", "movie.iso_2", "movie.iso_3", "movie.bat", "movie.iso.sha256"}) {
      DeleteFileA((folder / name).c_str());
    }
  }
}

// What the dialog last told the taskbar button.
std::atomic<TaskbarState> taskbar_state{TaskbarState::none};
std::atomic<int> taskbar_share{0};

void record_taskbar_state(HWND, TaskbarState state, int share) {
  taskbar_state = state;
  taskbar_share = share;
}

TEST(MainDialog, TaskbarButtonShowsHowTheSplitEndedWhileItsBoxIsOpenAndNothingAfter) {
  const auto shell_taskbar = show_taskbar_progress;
  show_taskbar_progress = record_taskbar_state;
  RunningDialog dialog;
  dialog.set_text(IDC_SPLIT_SIZE, "1");
  // Wine never announces the button; the shell would, once it exists.
  SendMessageA(dialog.window(), RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0);
  // A failure shows red and full even when nothing was copied: red at 0 draws nothing.
  const struct {
    const char* what;
    const char* source;
    bool cancelled;
    TaskbarState state;
    int share;
  } cases[] = {{"finished", "movie.iso", false, TaskbarState::normal, 1000},
               {"failed", "missing.iso", false, TaskbarState::error, 1000},
               {"cancelled", "movie.iso", true, TaskbarState::none, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    write_file(folder / "movie.iso", pattern_bytes(3 * 1048576));
    dialog.set_text(IDC_SOURCE_PATH, folder / c.source);
    CapturedOutput output;
    output.on_progress_dot([&](int) { split_job.cancel_requested = c.cancelled; });
    std::pair<TaskbarState, int> with_the_box;
    MessageBoxAnswer finished("Split", IDOK, [&] {
      pump_until([&] { return (with_the_box = {taskbar_state, taskbar_share}) == std::pair{c.state, c.share}; }, 1000);
    });
    dialog.click(IDC_START_SPLIT);
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(with_the_box.first, c.state);
    EXPECT_EQ(with_the_box.second, c.share);
    EXPECT_TRUE(pump_until([&] { return taskbar_state == TaskbarState::none; }));
  }
  show_taskbar_progress = shell_taskbar;
}

// While a split runs, a sign-out or shutdown is asked to wait, unless it is critical;
// should the session end all the same, the split stops at once, without a box.
TEST(MainDialog, TheSessionWaitsForASplitOrEndsItWithoutABox) {
  TempFolder folder;
  RunningDialog dialog;
  set_to_split(dialog, folder, 3);
  CapturedOutput output;
  std::atomic<bool> splitting{false};
  output.on_progress_dot([&](int) {
    splitting = true;
    while (!split_job.cancel_requested) Sleep(5);
  });
  dialog.click(IDC_START_SPLIT);
  ASSERT_TRUE(pump_until([&] { return splitting.load(); }));
  EXPECT_EQ(SendMessageW(dialog.window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_EQ(SendMessageW(dialog.window(), WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL), TRUE);
  SendMessageW(dialog.window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(split_job.job_finished);
  pump_for(300);
  EXPECT_EQ(find_dialog_with_control(GetCurrentProcessId(), 0xFFFF, "Split"), nullptr) << "a box after the session";
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"}));
}

// Puts the process's current folder back when the test ends.
class CurrentFolderKept {
 public:
  CurrentFolderKept() { GetCurrentDirectoryW(MAX_PATH, saved); }
  ~CurrentFolderKept() { SetCurrentDirectoryW(saved); }

 private:
  wchar_t saved[MAX_PATH];
};

// A split that ends while the open-file dialog is open says so once it has closed.
TEST(MainDialog, AnEndingDuringTheOpenFileDialogIsShownAfterIt) {
  TempFolder folder;
  RunningDialog dialog;
  set_to_split(dialog, folder, 2);
  CapturedOutput output;
  std::atomic<bool> held{true};
  output.on_progress_dot([&](int) {
    while (held) Sleep(5);
  });
  dialog.click(IDC_START_SPLIT);
  dialog.click(IDC_BROWSE);
  HWND file_dialog = nullptr;
  ASSERT_TRUE(pump_until([&] { return (file_dialog = find_dialog_with_control(GetCurrentProcessId(), file_name_box)); }));
  held = false;
  ASSERT_TRUE(pump_until([] { return split_job.job_finished.load(); }));
  pump_for(200);
  EXPECT_EQ(find_dialog_with_control(GetCurrentProcessId(), 0xFFFF, "Split"), nullptr) << "two boxes at once";
  MessageBoxAnswer finished("Split", IDOK);
  PostMessageA(file_dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_finished);
}

// A bare name means the folder the program started in, even when the current folder
// moves during the split (the open-file dialog moves it, as may another program's hook).
TEST(MainDialog, BareNameFromTheCommandLineIsSplitBesideItsSource) {
  TempFolder folder;
  TempFolder elsewhere;
  const CurrentFolderKept current_folder;
  write_file(folder / "movie.iso", pattern_bytes(3 * 1048576 + 1));
  SetCurrentDirectoryA(folder.path().c_str());
  RunningDialog dialog(L"movie.iso");
  EXPECT_EQ(dialog.text(IDC_SOURCE_PATH), "movie.iso");
  dialog.set_text(IDC_SPLIT_SIZE, "1");
  CapturedOutput output;
  output.on_progress_dot([&](int dots) {
    if (dots == 1) SetCurrentDirectoryA(elsewhere.path().c_str());
  });
  // The spare, asked for as the dialog opens, is made, and the box says what it is.
  bool disabled_while_shown = false;
  MessageBoxAnswer finished("Split", IDOK, [&] {
    disabled_while_shown =
        !IsWindowEnabled(dialog.control(IDC_START_SPLIT)) && !IsWindowEnabled(dialog.control(IDC_MAKE_SPARE));
  });
  dialog.click(IDC_START_SPLIT);
  ASSERT_TRUE(finished.wait());
  EXPECT_EQ(finished.first_line(), job_texts::split_finished);
  EXPECT_NE(finished.text.find("\n修復用データ (PAR2): movie.iso.par2、movie.iso.vol0+1.par2。"), std::string::npos);
  EXPECT_TRUE(disabled_while_shown);
  ASSERT_TRUE(pump_until([&] {
    return IsWindowEnabled(dialog.control(IDC_START_SPLIT)) && IsWindowEnabled(dialog.control(IDC_MAKE_SPARE));
  }));
  EXPECT_EQ(files_in(folder.path()),
            (std::vector<std::string>{"movie.bat", "movie.iso", "movie.iso.par2", "movie.iso.sha256",
                                      "movie.iso.vol0+1.par2", "movie.iso_1", "movie.iso_2", "movie.iso_3", "movie.iso_4"}));
  EXPECT_EQ(files_in(elsewhere.path()), std::vector<std::string>{});
  EXPECT_EQ(std::wstring(selected_path), L"movie.iso");

  dialog.click(IDOK);
  ASSERT_TRUE(dialog.wait_until_ended());
  EXPECT_EQ(dialog.result(), IDOK);
}

}  // namespace
