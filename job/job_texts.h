#pragma once
// What the split job says to the user. The build stores these as code page 932 bytes.

namespace job_texts {

inline constexpr char split_caption[] = "Split";
inline constexpr char split_finished[] = "分割が終了しました";
inline constexpr char split_failed[] = "分割できませんでした";

inline constexpr char question_caption[] = "Question";
inline constexpr char cancel_question[] = "分割を中断しますか?";

}  // namespace job_texts
