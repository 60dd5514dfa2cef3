#include "tests/support/test_files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

void remove_tree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // Process ids repeat across Wine sessions, so try further names until one is new.
  static std::atomic<unsigned> counter{GetTickCount()};
  for (int attempt = 0; attempt < 1000; ++attempt) {
    folder = std::string(temp) + "parcelor-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(counter++);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return;
  }
  throw std::runtime_error("cannot create a folder in " + std::string(temp));
}

TempFolder::~TempFolder() { remove_tree(widened(folder.c_str())); }

std::string narrowed(const std::wstring& text, unsigned int code_page) {
  std::string narrow(static_cast<std::size_t>(WideCharToMultiByte(code_page, 0, text.c_str(), -1, nullptr, 0, nullptr,
                                                                  nullptr)),
                     '\0');
  WideCharToMultiByte(code_page, 0, text.c_str(), -1, narrow.data(), static_cast<int>(narrow.size()), nullptr, nullptr);
  narrow.pop_back();
  return narrow;
}

std::wstring TempFolder::operator/(const std::wstring& name) const { return widened(folder.c_str()) + L"\\" + name; }

std::wstring widened(const char* narrow_text) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, narrow_text, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, narrow_text, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  return wide;
}

Bytes pattern_bytes(std::size_t count, std::uint32_t seed) {
  Bytes bytes(count);
  std::uint32_t state = seed;
  for (unsigned char& byte : bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<unsigned char>(state >> 24);
  }
  return bytes;
}

void write_file(const std::wstring& path, const Bytes& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write a test file");
}

void write_file(const std::string& path, const Bytes& bytes) { write_file(widened(path.c_str()), bytes); }

Bytes read_file(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read a test file");
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes read_file(const std::string& path) { return read_file(widened(path.c_str())); }

std::string read_text(const std::string& path) {
  const Bytes bytes = read_file(path);
  return std::string(bytes.begin(), bytes.end());
}

bool file_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool file_exists(const std::string& path) { return file_exists(widened(path.c_str())); }

std::int64_t file_size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::wstring> files_in(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> files_in(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::wstring& name : files_in(widened(folder.c_str()))) names.push_back(narrowed(name));
  std::sort(names.begin(), names.end());
  return names;
}

BatchRun run_batch_script(const std::string& folder, const std::string& script) {
  return run_batch_script(widened(folder.c_str()), widened(script.c_str()));
}

BatchRun run_batch_script(const std::wstring& folder, const std::wstring& script) {
  // The outer quotes go, the inner ones keep a blank or an "&" in the path whole.
  std::wstring command = L"cmd.exe /c \"\"" + script + L"\"\"";
  char output_path[MAX_PATH];
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  GetTempFileNameA(temp, "bat", 0, output_path);
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                           nullptr);
  HANDLE output = CreateFileA(output_path, GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = startup.hStdError = output;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      folder.c_str(), &startup, &process);
  CloseHandle(nul);
  CloseHandle(output);
  if (!started) throw std::runtime_error("cannot start cmd.exe");
  WaitForSingleObject(process.hProcess, 60000);
  BatchRun run = {1, {}};
  GetExitCodeProcess(process.hProcess, &run.exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.output = read_text(output_path);
  // What the interpreter leaves running a moment longer (Wine's console host) may
  // still hold the inherited handle.
  for (int attempt = 0; attempt < 200 && !DeleteFileA(output_path); ++attempt) Sleep(10);
  return run;
}
