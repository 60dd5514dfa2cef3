#include "split/source_path.h"

#include <windows.h>

#include "split/path_rules.h"
#include "split/wide_path.h"

namespace {

using Reason = SplitOutcome::Reason;

// The path as given where the system cannot say more: a file that does not exist
// has no long form, and its failure is told when it is opened.
std::wstring long_form_of(const std::wstring& path) {
  std::wstring long_path(GetLongPathNameW(path.c_str(), nullptr, 0), L'\0');
  const DWORD length = long_path.empty() ? 0
                                         : GetLongPathNameW(path.c_str(), long_path.data(),
                                                            static_cast<DWORD>(long_path.size()));
  if (length == 0 || length >= long_path.size()) return path;
  long_path.resize(length);
  return long_path;
}

}  // namespace

std::wstring without_surrounding_quotes(const std::wstring& text) {
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"' &&
      text.find(L'"', 1) == text.size() - 1) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

std::optional<SplitOutcome> take_full_source_path(const std::wstring& given, std::wstring& full_path) {
  const std::wstring name = without_surrounding_quotes(given);
  if (name.empty()) return SplitOutcome::failure(Reason::no_source_named);
  std::wstring full(GetFullPathNameW(name.c_str(), 0, nullptr, nullptr), L'\0');
  const DWORD length =
      full.empty() ? 0 : GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) {
    const DWORD error = GetLastError();
    return SplitOutcome::failure(Reason::cannot_open, name, error);
  }
  full.resize(length);
  full = long_form_of(full);
  if (std::optional<SplitOutcome> refusal = refuse_special_path(full)) return refusal;
  if (!fits_path_buffer(full)) return SplitOutcome::failure(Reason::name_too_long, full);
  full_path = full;
  return std::nullopt;
}

std::optional<SplitOutcome> refuse_special_path(const std::wstring& path) {
  if (path_rules::has_namespace_prefix(path)) {
    const bool device = path[2] == L'.';
    return SplitOutcome::failure(device ? Reason::source_is_device : Reason::raw_path, path);
  }
  if (path.find(L':', path_rules::root_name(path).size()) != std::wstring::npos) {
    return SplitOutcome::failure(Reason::stream_name, path);
  }
  return std::nullopt;
}
