#pragma once
// What the main dialog says to the user. The build stores these as code page 932 bytes.

namespace app_texts {

// The dialog's caption, as its template gives it.
inline constexpr char caption[] = "Parcelor";

inline constexpr char size_warning_caption[] = "Error";
// The first line of the size warning for an empty size, and for any other text
// that is no size (%1: that text); the second line says what a size is.
inline constexpr char size_warning[] = "分割サイズを指定してください";
inline constexpr char size_not_a_size[] = "分割サイズ「%1」は使えません。";
inline constexpr char size_rule[] =
    "MB 単位の 1 以上の整数で入力してください (例: 512、1,024、2048MB)。GB などほかの単位、小数点、マイナスは使えません。";

// Display name and pattern pairs, each NUL-terminated, the list ended by one more NUL.
inline constexpr char file_filter[] = "Zip files\0*.zip\0ios files\0*.iso\0All files\0*.*\0";

inline constexpr char initial_split_size[] = "512";

// Why the program holds up a sign-out or shutdown during a split.
inline constexpr char shutdown_reason[] = "ファイルを分割しています。今終了すると、分割ファイルが途中までになります。";

}  // namespace app_texts
