#include "split/wide_path.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "split/path_rules.h"

namespace {

// The same buffer size as the platform's MAX_PATH: 259 units and the terminator.
constexpr int path_buffer_units = 260;

// The runtime opens files with the code page the file functions use, so the
// conversions here must use it too.
UINT file_api_code_page() { return AreFileApisANSI() ? GetACP() : GetOEMCP(); }

std::wstring widened_from(UINT code_page, const char* narrow_text) {
  std::wstring wide(std::max(MultiByteToWideChar(code_page, 0, narrow_text, -1, nullptr, 0), 1), L'\0');
  MultiByteToWideChar(code_page, 0, narrow_text, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  return wide;
}

}  // namespace

bool fits_path_buffer(const char* narrow_text) {
  const int units = MultiByteToWideChar(file_api_code_page(), 0, narrow_text, -1, nullptr, 0);
  return units > 0 && units <= path_buffer_units;
}

std::optional<std::string> exact_narrow_path(const std::wstring& wide_text) {
  return exact_narrow_text(wide_text, file_api_code_page());
}

std::optional<std::string> exact_narrow_text(const std::wstring& wide_text, unsigned int code_page) {
  // UTF-8 takes neither the flag nor the question; the way back decides there alone.
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int wide_length = static_cast<int>(wide_text.size());
  if (wide_length == 0) return std::string();
  std::string narrow(WideCharToMultiByte(code_page, flags, wide_text.data(), wide_length, nullptr, 0, nullptr, nullptr),
                     '\0');
  BOOL used_default = FALSE;
  if (narrow.empty() ||
      WideCharToMultiByte(code_page, flags, wide_text.data(), wide_length, narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, utf8 ? nullptr : &used_default) == 0 ||
      used_default || widened_from(code_page, narrow.c_str()) != wide_text) {
    return std::nullopt;
  }
  return narrow;
}

std::wstring widened(const char* narrow_text) { return widened_from(file_api_code_page(), narrow_text); }

WidePath::WidePath(const char* narrow_text) {
  wchar_t buffer[path_buffer_units];
  if (MultiByteToWideChar(file_api_code_page(), 0, narrow_text, -1, buffer, path_buffer_units) == 0) {
    throw std::invalid_argument("invalid char filename argument");
  }
  text_ = buffer;
  std::replace(text_.begin(), text_.end(), L'/', L'\\');
}

WidePath::WidePath(std::wstring wide_text) : text_(std::move(wide_text)) {}

std::string WidePath::narrow() const {
  char buffer[path_buffer_units];
  if (WideCharToMultiByte(file_api_code_page(), 0, text_.c_str(), -1, buffer, path_buffer_units, nullptr,
                          nullptr) == 0) {
    throw std::invalid_argument("invalid wchar_t filename argument");
  }
  return buffer;
}

WidePath WidePath::file_name() const { return WidePath(path_rules::file_name(text_)); }

WidePath WidePath::with_extension(const std::wstring& new_extension) const {
  const std::wstring name = path_rules::stem(path_rules::file_name(text_)) + L"." + new_extension;
  return WidePath(path_rules::join(path_rules::parent(text_), name));
}
