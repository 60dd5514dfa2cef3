#pragma once
// The path rules the split engine names its files by. They work on wide characters
// only: a double-byte character of code page 932 whose second byte is 0x5C is one
// letter here, never a separator.
#include <string>
#include <vector>

namespace path_rules {

bool is_separator(wchar_t c);

// "C:" or "\\server" or empty.
std::wstring root_name(const std::wstring& path);

// The root name, a root directory "\", each name, and "." after a trailing separator.
std::vector<std::wstring> elements(const std::wstring& path);

std::wstring file_name(const std::wstring& path);

// From the last "." of the file name to its end; ".hidden" is all extension.
std::wstring extension(const std::wstring& file_name);

std::wstring stem(const std::wstring& file_name);

// All elements but the last, joined again with single backslashes.
std::wstring parent(const std::wstring& path);

std::wstring join(const std::wstring& a, const std::wstring& b);

// The parent as the system wants a folder named, and as a user reads it: with its
// trailing backslash ("C:\d\" for "C:\d\movie.iso").
std::wstring folder_of(const std::wstring& path);

// Whether the path starts with "\\?\", "\\.\" or "\??\" (or these written with "/"):
// the system takes such a path as it stands, past the rules above, and "\\.\C:" is a
// whole volume that reports itself as a disk file.
bool has_namespace_prefix(const std::wstring& path);

}  // namespace path_rules
