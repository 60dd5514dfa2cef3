#include "split/wide_path.h"

#include <windows.h>

#include <algorithm>

#include "split/path_rules.h"

bool fits_path_buffer(const std::wstring& path) { return path.size() < MAX_PATH; }

std::optional<std::string> utf8_of(const std::wstring& wide_text) {
  if (wide_text.empty()) return std::string();
  const int wide_length = static_cast<int>(wide_text.size());
  // WC_ERR_INVALID_CHARS: a lone surrogate fails the conversion instead of
  // becoming U+FFFD, which would name another file.
  const int length =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide_text.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide_text.data(), wide_length, utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}

WidePath::WidePath(std::wstring wide_text) : text_(std::move(wide_text)) {
  std::replace(text_.begin(), text_.end(), L'/', L'\\');
}

WidePath WidePath::file_name() const { return WidePath(path_rules::file_name(text_)); }

WidePath WidePath::with_extension(const std::wstring& new_extension) const {
  const std::wstring name = path_rules::stem(path_rules::file_name(text_)) + L"." + new_extension;
  return WidePath(path_rules::join(path_rules::parent(text_), name));
}
