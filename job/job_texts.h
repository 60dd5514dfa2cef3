#pragma once
// What the split job says to the user. The build stores these as code page 932 bytes;
// "%1", "%2" ... stand for numbers or files put in when the box is shown.

namespace job_texts {

inline constexpr char split_caption[] = "Split";
// The first line of the box after a split, one for each way it ends.
inline constexpr char split_finished[] = "分割が終了しました";
inline constexpr char split_cancelled[] = "分割を中断しました";
inline constexpr char split_failed[] = "分割できませんでした";

// What a finished split made.
inline constexpr char folder_made[] = "フォルダー: %1";
inline constexpr char parts_made[] = "分割ファイル: %1 個 (%2)";
inline constexpr char script_made[] = "結合用のバッチファイル: %1";
inline constexpr char checksum_made[] = "チェックサムファイル: %1";
// Names from the first to the last.
inline constexpr char name_range[] = "%1 から %2 まで";
// What to send, after the list of what was made: %1 the script, %2 the checksum
// file. A script for a name beyond ASCII finds its parts by its own name.
inline constexpr char what_to_send[] =
    "送るときは、分割ファイルをすべてと %1、%2 を送り、受け取った人はそれらを一つのフォルダーに置いて %1 を実行します。";
inline constexpr char keep_script_name[] = "%1 の名前は変えないでください。この名前から分割ファイルを探します。";

// The spare, when made: %1 the index, %2 the volume; or why none was made, which
// fills %1 of spare_not_made.
inline constexpr char spare_made[] =
    "修復用データ (PAR2): %1、%2。分割ファイル 1 個分ほどの大きさで、一緒に送れば、なくなったり壊れたりした分割ファイルを"
    "1 個まで受け取った人が直せます。";
inline constexpr char spare_not_made[] = "修復用データは作りませんでした: %1";
inline constexpr char spare_too_few_parts[] = "分割ファイルが 1 個か 2 個なので、ファイルの半分以上の大きさになります。";
inline constexpr char spare_parts_too_large[] = "分割ファイルが 64 MB より大きいときは作りません。分割サイズを 64 以下にしてください。";
inline constexpr char spare_too_many_parts[] = "分割ファイルが 32,768 個より多いときは作れません。";
inline constexpr char spare_no_room[] = "空き容量が分割ファイル 1 個分足りません。";
inline constexpr char spare_name_too_long[] = "名前が長すぎます (259 文字まで)。";
inline constexpr char spare_name_taken[] = "同じ名前のファイルが既にあります。上書きはしません。";
inline constexpr char spare_not_written[] = "書き込めませんでした。";

// The cancel or quit question was answered OK after the split had ended.
inline constexpr char ended_before_answer[] = "中断の指示より前に、分割は終了していました。";
inline constexpr char failed_before_answer[] = "中断の指示より前に、分割は失敗していました。";

inline constexpr char question_caption[] = "Question";
inline constexpr char cancel_question[] = "分割を中断しますか?";

// Why a split failed. The file concerned stands on the line before.
inline constexpr char no_source_named[] = "分割するファイルが指定されていません。";
inline constexpr char source_missing[] = "このファイルが見つかりません。";
inline constexpr char source_is_folder[] = "これはフォルダーです。分割するファイルを指定してください。";
inline constexpr char source_is_device[] = "これはデバイスです。ディスク上のファイルを指定してください。";
inline constexpr char source_is_batch_file[] =
    "バッチファイル (.bat) は分割できません。結合用のバッチファイルが同じ名前になるためです。拡張子を変えてから分割してください。";
inline constexpr char source_is_temporary_name[] =
    "拡張子が .~pc のファイルは分割できません。Parcelor が書き込み中のファイルに使う名前です。"
    "拡張子を変えてから分割してください。";
inline constexpr char stream_name[] =
    "ドライブ名のほかにコロン (:) がある名前は分割できません。NTFS ではファイルの代替データストリームを指します。"
    "ファイルそのものを指定してください。";
inline constexpr char raw_path[] = "\\\\?\\ で始まるパスは分割できません。C:\\ などで始まるパスを指定してください。";
// %1: the extension, from its dot.
inline constexpr char extension_not_ascii[] =
    "拡張子 %1 には半角英数字以外の文字があり、結合用のバッチファイルに書けません。"
    "拡張子を半角英数字に変えてから分割してください。";
inline constexpr char name_not_utf8[] =
    "この名前には、チェックサムファイルに書けない文字 (対になっていないサロゲート) があります。"
    "ファイルの名前を変えてから分割してください。";
inline constexpr char name_too_long[] =
    "この名前は長すぎます (259 文字まで。結合するときに作る名前も含みます)。短い名前の場所に移してから分割してください。";
// Every name counted is one of this split's own part names.
inline constexpr char part_exists[] =
    "以前の分割 (中断したものかもしれません) の分割ファイルが %1 個、このフォルダーにあります (%2)。"
    "もう一度分割する前に、それらを削除するか別のフォルダーに移してください。";
inline constexpr char script_exists[] =
    "このファイルは既にあります。同じ名前の別のファイルを分割したときの結合用バッチファイルかもしれません。"
    "分割するファイルの名前を変えるか、別のフォルダーに移してから、もう一度分割してください。";
inline constexpr char checksum_exists[] =
    "このファイルは既にあります。分割するファイルに付いてきたチェックサムファイルかもしれません。"
    "移動するか名前を変えてから、もう一度分割してください。";
inline constexpr char temporary_exists[] =
    "このファイルは既にあります。Parcelor が書き込み中のファイルに使う名前です。Parcelor "
    "が残したものなら削除してかまいません。そうでなければ名前を変えるか移動してから、もう一度分割してください。";
inline constexpr char no_room[] = "このフォルダーの空き容量が足りません。必要な容量: %1 MB、空き容量: %2 MB";
inline constexpr char part_size_not_positive[] = "分割サイズには 1 以上の数を指定してください。";
inline constexpr char too_many_parts[] = "分割ファイルが多すぎます。分割サイズを大きくしてください。";
inline constexpr char source_changed[] = "分割中にこのファイルが変更されました。";
inline constexpr char out_of_memory[] = "メモリが足りません。";
inline constexpr char cannot_open[] = "このファイルを開けませんでした。";
inline constexpr char cannot_read[] = "このファイルを読み込めませんでした。";
inline constexpr char cannot_write[] = "このファイルに書き込めませんでした。";
inline constexpr char cannot_close[] = "このファイルを閉じられませんでした。";
inline constexpr char cannot_rename[] = "書き込んだファイルに、この名前を付けられませんでした。";
inline constexpr char cannot_hash[] = "チェックサム (SHA-256) を計算できませんでした。";
// %1: CNG's status, in hex, as Microsoft lists it.
inline constexpr char hash_status[] = "CNG の状態コード: 0x%1";
inline constexpr char cannot_look_through_folder[] = "このフォルダーの中を調べられませんでした。";
inline constexpr char cannot_start[] = "分割の作業を開始できませんでした。";

// A sharing or lock violation: the system's words say no more than that.
inline constexpr char in_use[] = "別のプログラムがこのファイルを使っています。そのプログラムを閉じてから、もう一度試してください。";

// The system's own reason: its text and its number.
inline constexpr char system_reason[] = "%1 (エラー %2)";
// Where the system gave no number, our own words.
inline constexpr char short_write[] = "一部しか書き込めませんでした。ディスクがいっぱいの可能性があります。";
inline constexpr char no_thread[] = "作業用のスレッドを作れませんでした。";

// What a split that did not finish left behind.
inline constexpr char nothing_written[] = "ファイルは何も作成していません。";
inline constexpr char parts_kept[] = "分割ファイルを %1 個残しました (%2)。";
inline constexpr char last_part_short[] = "最後の分割ファイルは途中までです。";
inline constexpr char no_script[] = "結合用のバッチファイルは作成していません。";
inline constexpr char delete_parts[] = "もう一度分割する前に、これらの分割ファイルを削除してください。";
// The checksum file and the script, or their temporary names, which a split that
// did not finish removes again, whole or not.
inline constexpr char script_removed[] = "チェックサムファイルと結合用のバッチファイルは残していません。";
inline constexpr char script_not_removed[] = "この分割が作った %1 を削除できませんでした。手で削除してください。";

}  // namespace job_texts
