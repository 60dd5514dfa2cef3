#pragma once
// What the main dialog says to the user. The build stores these as code page 932 bytes.

namespace app_texts {

// The dialog's caption, as its template gives it.
inline constexpr char caption[] = "Parcelor";

inline constexpr char size_warning_caption[] = "Error";
inline constexpr char size_warning[] = "分割サイズを指定してください";

// Display name and pattern pairs, each NUL-terminated, the list ended by one more NUL.
inline constexpr char file_filter[] = "Zip files\0*.zip\0ios files\0*.iso\0All files\0*.*\0";

inline constexpr char initial_split_size[] = "512";

}  // namespace app_texts
