#include "split/source_path.h"

#include <windows.h>

#include "split/path_rules.h"
#include "split/wide_path.h"

namespace {

using Reason = SplitOutcome::Reason;

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
  if (std::optional<SplitOutcome> refusal = refuse_namespace_path(full)) return refusal;
  if (!fits_path_buffer(full)) return SplitOutcome::failure(Reason::name_too_long, full);
  full_path = full;
  return std::nullopt;
}

std::optional<SplitOutcome> refuse_namespace_path(const std::wstring& path) {
  if (!path_rules::has_namespace_prefix(path)) return std::nullopt;
  const bool device = path[2] == L'.';
  return SplitOutcome::failure(device ? Reason::source_is_device : Reason::raw_path, path);
}
