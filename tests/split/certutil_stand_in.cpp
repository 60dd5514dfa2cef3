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
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "split/file_handle.h"
#include "split/sha256.h"

int failed(unsigned long code, const char* name) {
  std::printf("CertUtil: -hashfile command FAILED: 0x%08lx (WIN32: %lu %s)\r\n", code, code & 0xFFFF, name);
  return static_cast<int>(code);
}

int main(int argc, char** argv) {
  // The file by its wide name, which holds every name; argv only to print it.
  int words_count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &words_count);
  if (argc != 4 || words_count != 4 || std::strcmp(argv[1], "-hashfile") != 0) return 1;
  const char* setting = std::getenv("PARCELOR_CERTUTIL_FORM");
  const std::string form = setting != nullptr ? setting : "win10";
  if (form == "silent") return 0;
  if (form == "sharing") return failed(0x80070020, "ERROR_SHARING_VIOLATION");

  FileHandle file(words[2], OpenMode::source);
  const Sha256Algorithm algorithm;
  Sha256Stream stream(algorithm);
  static char block[1048576];
  int count = 0;
  bool empty = true;
  for (; (count = file.read(block, sizeof block)) > 0; empty = false) stream.add(block, static_cast<std::size_t>(count));
  if (empty) return failed(0x800703ee, "ERROR_FILE_INVALID");
  std::string hash = hex_of(stream.finish());
  if (form == "win7") {
    for (std::size_t i = hash.size() - 2; i > 0; i -= 2) hash.insert(i, " ");
  }
  const char* header = form == "japanese" ? "SHA256 ハッシュ (対象 %s):" : form == "win7" ? "SHA256 hash of file %s:"
                                                                                       : "SHA256 hash of %s:";
  const char* footer = form == "japanese" ? "CertUtil: -hashfile コマンドは正常に完了しました。"
                                          : "CertUtil: -hashfile command completed successfully.";
  std::printf(header, argv[2]);
  std::printf("\r\n%s\r\n%s\r\n", hash.c_str(), footer);
  return 0;
}
