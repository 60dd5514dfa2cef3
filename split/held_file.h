#pragma once
// Windows Defender and other virus scanners, the search indexer and cloud-sync
// clients open a file right after it was closed. While one holds it without delete
// sharing, a rename or a delete of it fails with a sharing violation (32), and while
// a deletion is pending, with access denied (5). The split waits such a moment out
// rather than fail at its very end, after every part was written.
#include <windows.h>

#include <atomic>
#include <string>

// The system's rename and delete. A test puts ones here that refuse, for a moment or
// for good: nothing else on Wine holds a file as a virus scanner does.
extern BOOL(WINAPI* move_file)(const wchar_t* from, const wchar_t* to, DWORD flags);
extern BOOL(WINAPI* delete_file)(const wchar_t* name);

// The longest the split waits for one file, in all: 5 seconds, cut to one when the
// session ends, where Windows gives a program about five for everything. A test
// cuts it too, so that a file held for good costs it no seconds.
extern std::atomic<DWORD> held_file_patience_ms;

// MoveFileExW with MOVEFILE_WRITE_THROUGH, never replacing a file, and DeleteFileW,
// each tried again while refused with 32 or 5, after waits that grow from 10 ms,
// until held_file_patience_ms have passed, or for a rename that a cancel may stop,
// a cancel is requested. 0 once done, else the system's number for the last try.
// A removal is the clean-up after a cancel too, and a cancel never cuts it short:
// what held the file against the rename may still hold it.
DWORD rename_patiently(const std::wstring& from, const std::wstring& to, bool cancel_stops_it);
DWORD delete_patiently(const std::wstring& name);
