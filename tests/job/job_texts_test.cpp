#include "job/job_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "job/outcome_box.h"

namespace {

// The exact code page 932 bytes the user sees; a build without the code page
// conversion would store UTF-8 here.
TEST(JobTexts, CodePage932Bytes) {
  EXPECT_EQ(std::string(job_texts::split_caption), "Split");
  EXPECT_EQ(std::string(job_texts::split_finished), "\x95\xaa\x8a\x84\x82\xaa\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd");
  EXPECT_EQ(std::string(job_texts::split_cancelled), "\x95\xaa\x8a\x84\x82\xf0\x92\x86\x92\x66\x82\xb5\x82\xdc\x82\xb5\x82\xbd");
  EXPECT_EQ(std::string(job_texts::split_failed), "\x95\xaa\x8a\x84\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd");
  EXPECT_EQ(std::string(job_texts::question_caption), "Question");
  EXPECT_EQ(std::string(job_texts::cancel_question), "\x95\xaa\x8a\x84\x82\xf0\x92\x86\x92\x66\x82\xb5\x82\xdc\x82\xb7\x82\xa9?");
}

SplitOutcome outcome_of(SplitOutcome::Ending ending, SplitOutcome::Reason reason, std::wstring file,
                        std::int32_t parts_kept) {
  SplitOutcome outcome = SplitOutcome::failure(reason, std::move(file));
  outcome.ending = ending;
  outcome.parts_kept = parts_kept;
  outcome.first_part = L"C:\\d\\100%2.iso_1";
  outcome.last_part = L"C:\\d\\100%2.iso_" + std::to_wstring(parts_kept);
  return outcome;
}

TEST(OutcomeText, WhatIsLeftAndWhy) {
  using Ending = SplitOutcome::Ending;
  using Reason = SplitOutcome::Reason;
  SplitOutcome cut_short = outcome_of(Ending::cancelled, Reason::none, L"", 3);
  cut_short.last_part_short = true;
  SplitOutcome no_room = outcome_of(Ending::failed, Reason::no_room, L"C:\\d\\", 0);
  no_room.room_needed = 1048577;  // rounded up
  no_room.room_free = 2097151;    // rounded down
  SplitOutcome script_failed = outcome_of(Ending::failed, Reason::cannot_write, L"C:\\d\\100%2.bat", 2);
  script_failed.unfinished_removed = true;
  SplitOutcome finished = outcome_of(Ending::finished, Reason::none, L"", 3);
  finished.script_file = L"C:\\d\\100%2.bat";
  finished.checksum_file = L"C:\\d\\100%2.iso.sha256";
  SplitOutcome finished_beyond_ascii = finished;
  finished_beyond_ascii.script_file = L"C:\\d\\\u65C5.bat";
  finished_beyond_ascii.spare_refusal = SpareRefusal::too_few_parts;
  SplitOutcome taken = outcome_of(Ending::failed, Reason::part_exists, L"C:\\d\\100%2.iso_2", 0);
  taken.names_taken = 2;
  taken.last_taken = L"C:\\d\\100%2.iso_9";
  SplitOutcome script_stuck = outcome_of(Ending::failed, Reason::out_of_memory, L"", 1);
  script_stuck.unfinished_removed = true;
  script_stuck.unfinished_left = {L"C:\\d\\100%2.~pc", L"C:\\d\\100%2.iso.sha256"};
  SplitOutcome extension_refusal = outcome_of(Ending::failed, Reason::extension_not_ascii, L"C:\\d\\\u65C5.\u52D5\u753B", 0);
  extension_refusal.extension = L".\u52D5\u753B";
  const struct {
    SplitOutcome outcome;
    const wchar_t* text;
  } cases[] = {
      {finished,
       L"分割が終了しました\nフォルダー: C:\\d\\\n分割ファイル: 3 個 (100%2.iso_1 から 100%2.iso_3 まで)\n"
       L"結合用のバッチファイル: 100%2.bat\nチェックサムファイル: 100%2.iso.sha256\n"
       L"送るときは、分割ファイルをすべてと 100%2.bat、100%2.iso.sha256 を送り、受け取った人はそれらを一つのフォルダーに"
       L"置いて 100%2.bat を実行します。"},
      {finished_beyond_ascii,
       L"分割が終了しました\nフォルダー: C:\\d\\\n分割ファイル: 3 個 (100%2.iso_1 から 100%2.iso_3 まで)\n"
       L"結合用のバッチファイル: \u65C5.bat\nチェックサムファイル: 100%2.iso.sha256\n"
       L"送るときは、分割ファイルをすべてと \u65C5.bat、100%2.iso.sha256 を送り、受け取った人はそれらを一つのフォルダーに"
       L"置いて \u65C5.bat を実行します。\n\u65C5.bat の名前は変えないでください。この名前から分割ファイルを探します。\n"
       L"修復用データは作りませんでした: 分割ファイルが 1 個か 2 個なので、ファイルの半分以上の大きさになります。"},
      {taken,
       L"分割できませんでした\nC:\\d\\100%2.iso_2\n以前の分割 (中断したものかもしれません) の分割ファイルが 2 個、"
       L"このフォルダーにあります (100%2.iso_2 から 100%2.iso_9 まで)。もう一度分割する前に、それらを削除するか別の"
       L"フォルダーに移してください。"},
      // Our words alone: the system's "access denied" would contradict them.
      {SplitOutcome::failure(Reason::source_is_folder, L"C:\\d", 5),
       L"分割できませんでした\nC:\\d\nこれはフォルダーです。分割するファイルを指定してください。"},
      {SplitOutcome::failure(Reason::cannot_hash, L"", 0xC000000D),
       L"分割できませんでした\nチェックサム (SHA-256) を計算できませんでした。\nCNG の状態コード: 0xC000000D"},
      {extension_refusal,
       L"分割できませんでした\nC:\\d\\\u65C5.\u52D5\u753B\n拡張子 .\u52D5\u753B には半角英数字以外の文字があり、"
       L"結合用のバッチファイルに書けません。拡張子を半角英数字に変えてから分割してください。"},
      {outcome_of(Ending::cancelled, Reason::none, L"", 0), L"分割を中断しました\nファイルは何も作成していません。"},
      {cut_short,
       L"分割を中断しました\n分割ファイルを 3 個残しました (C:\\d\\100%2.iso_1 から 100%2.iso_3 まで)。\n"
       L"最後の分割ファイルは途中までです。\n"
       L"結合用のバッチファイルは作成していません。\nもう一度分割する前に、これらの分割ファイルを削除してください。"},
      {no_room, L"分割できませんでした\nC:\\d\\\nこのフォルダーの空き容量が足りません。必要な容量: 2 MB、空き容量: 1 MB"},
      {script_failed,
       L"分割できませんでした\nC:\\d\\100%2.bat\nこのファイルに書き込めませんでした。\n"
       L"一部しか書き込めませんでした。ディスクがいっぱいの可能性があります。\n"
       L"分割ファイルを 2 個残しました (C:\\d\\100%2.iso_1 から 100%2.iso_2 まで)。\nチェックサムファイルと結合用のバッチファイルは残していません。\n"
       L"もう一度分割する前に、これらの分割ファイルを削除してください。"},
      {script_stuck,
       L"分割できませんでした\nメモリが足りません。\n分割ファイルを 1 個残しました (C:\\d\\100%2.iso_1)。\n"
       L"この分割が作った C:\\d\\100%2.~pc を削除できませんでした。手で削除してください。\n"
       L"この分割が作った C:\\d\\100%2.iso.sha256 を削除できませんでした。手で削除してください。\n"
       L"もう一度分割する前に、これらの分割ファイルを削除してください。"},
  };
  for (const auto& c : cases) EXPECT_EQ(outcome_text(c.outcome), c.text);

  // The system's own words, in whatever language it speaks, then its number.
  const std::wstring held = outcome_text(SplitOutcome::failure(Reason::cannot_open, L"C:\\d\\x.iso", 32));
  EXPECT_EQ(held.rfind(L"分割できませんでした\nC:\\d\\x.iso\nこのファイルを開けませんでした。\n"
                      L"別のプログラムがこのファイルを使っています。そのプログラムを閉じてから、もう一度試してください。\n",
                      0),
            0u)
      << held;
  EXPECT_EQ(held.substr(held.size() - 9), L" (エラー 32)") << held;
  EXPECT_GT(held.size(), 50u) << "no text of the system's";
}

}  // namespace
