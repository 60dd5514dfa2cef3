#include "split/path_rules.h"

#include <algorithm>

namespace path_rules {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring root_name(const std::wstring& path) {
  // A network root: two separators, then a server name up to the next separator.
  if (path.size() > 2 && is_separator(path[0]) && is_separator(path[1]) && !is_separator(path[2])) {
    std::size_t end = 3;
    while (end < path.size() && !is_separator(path[end])) ++end;
    return path.substr(0, end);
  }
  const std::size_t colon = path.find(L':');
  if (colon != std::wstring::npos) return path.substr(0, colon + 1);
  return {};
}

std::vector<std::wstring> elements(const std::wstring& path) {
  std::vector<std::wstring> result;
  const std::wstring root = root_name(path);
  if (!root.empty()) result.push_back(root);

  std::size_t pos = root.size();
  if (pos < path.size() && is_separator(path[pos])) result.push_back(L"\\");

  bool ends_in_separator = false;
  while (pos < path.size()) {
    while (pos < path.size() && is_separator(path[pos])) ++pos;
    if (pos == path.size()) break;
    std::size_t end = pos;
    while (end < path.size() && !is_separator(path[end])) ++end;
    result.push_back(path.substr(pos, end - pos));
    ends_in_separator = end < path.size();
    pos = end;
  }
  if (ends_in_separator) result.push_back(L".");
  return result;
}

std::wstring file_name(const std::wstring& path) {
  const std::vector<std::wstring> all = elements(path);
  return all.empty() ? std::wstring() : all.back();
}

std::wstring extension(const std::wstring& file_name) {
  if (file_name == L"." || file_name == L"..") return {};
  const std::size_t dot = file_name.rfind(L'.');
  if (dot == std::wstring::npos) return {};
  return file_name.substr(dot);
}

std::wstring stem(const std::wstring& file_name) {
  return file_name.substr(0, file_name.size() - extension(file_name).size());
}

std::wstring parent(const std::wstring& path) {
  std::vector<std::wstring> all = elements(path);
  if (!all.empty()) all.pop_back();
  std::wstring result;
  for (const std::wstring& element : all) result = join(result, element);
  return result;
}

std::wstring folder_of(const std::wstring& path) {
  std::wstring folder = parent(path);
  if (!folder.empty() && !is_separator(folder.back())) folder += L'\\';
  return folder;
}

std::wstring join(const std::wstring& a, const std::wstring& b) {
  std::wstring result = a;
  if (!a.empty() && !b.empty() && a.back() != L':' && !is_separator(a.back()) && !is_separator(b.front())) {
    result += L'\\';
  }
  for (wchar_t c : b) result += c == L'/' ? L'\\' : c;
  return result;
}

bool has_namespace_prefix(const std::wstring& path) {
  std::wstring start = path.substr(0, 4);
  std::replace(start.begin(), start.end(), L'/', L'\\');
  return start == L"\\\\?\\" || start == L"\\\\.\\" || start == L"\\??\\";
}

}  // namespace path_rules
