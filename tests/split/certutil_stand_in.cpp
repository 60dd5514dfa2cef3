// A stand-in for Windows' certutil.exe, whose "-hashfile FILE SHA256" Wine's own
// answers with nothing. It hashes for real, through CNG, and answers in the form
// that PARCELOR_CERTUTIL_FORM names, as the real one does on each Windows:
//   win10     the hash as 64 hex digits (Windows 10 and later, English)
//   win7      32 byte pairs with blanks (Windows 7 and 8.1)
//   japanese  Windows 10 and later in Japanese: code page 932 header and footer
//   sharing   the failure for a file another program holds: a negative code
//   silent    nothing at all, exit code 0 (Wine's own)
// An empty file fails as on Windows, with 0x800703ee.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "split/file_handle.h"
#include "split/sha256.h"
#include "split/split_outcome.h"

namespace {

constexpr unsigned long empty_file_error = 0x800703ee;
constexpr unsigned long sharing_error = 0x80070020;

int failed(unsigned long code, const char* name) {
  std::printf("CertUtil: -hashfile command FAILED: 0x%08lx (WIN32: %lu %s)\r\n", code, code & 0xFFFF, name);
  return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[1], "-hashfile") != 0 || std::strcmp(argv[3], "SHA256") != 0) return 1;
  const char* form_setting = std::getenv("PARCELOR_CERTUTIL_FORM");
  const std::string form = form_setting != nullptr ? form_setting : "win10";
  if (form == "silent") return 0;
  if (form == "sharing") return failed(sharing_error, "ERROR_SHARING_VIOLATION");

  std::string hex;
  try {
    FileHandle file(argv[2], OpenMode::source);
    const Sha256Algorithm algorithm;
    Sha256Stream stream(algorithm);
    const std::unique_ptr<char[]> block(new char[1048576]);
    long long total = 0;
    for (int count; (count = file.read(block.get(), 1048576)) > 0; total += count) {
      stream.add(block.get(), static_cast<std::size_t>(count));
    }
    if (total == 0) return failed(empty_file_error, "ERROR_FILE_INVALID");
    hex = hex_of(stream.finish());
  } catch (const SplitOutcome&) {
    return failed(0x80070002, "ERROR_FILE_NOT_FOUND");
  }
  if (form == "win7") {
    std::printf("SHA256 hash of file %s:\r\n", argv[2]);
    for (std::size_t i = 0; i < hex.size(); i += 2) std::printf(i > 0 ? " %.2s" : "%.2s", hex.c_str() + i);
    std::printf("\r\nCertUtil: -hashfile command completed successfully.\r\n");
  } else if (form == "japanese") {
    std::printf("SHA256 ハッシュ (対象 %s):\r\n%s\r\nCertUtil: -hashfile コマンドは正常に完了しました。\r\n", argv[2], hex.c_str());
  } else {
    std::printf("SHA256 hash of %s:\r\n%s\r\nCertUtil: -hashfile command completed successfully.\r\n", argv[2], hex.c_str());
  }
  return 0;
}
