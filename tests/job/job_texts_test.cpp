#include "job/job_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The exact code page 932 bytes the user sees; a build without the code page
// conversion would store UTF-8 here.
TEST(JobTexts, CodePage932Bytes) {
  EXPECT_EQ(std::string(job_texts::split_caption), "Split");
  EXPECT_EQ(std::string(job_texts::split_finished), "\x95\xaa\x8a\x84\x82\xaa\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd");
  EXPECT_EQ(std::string(job_texts::split_failed), "\x95\xaa\x8a\x84\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd");
  EXPECT_EQ(std::string(job_texts::question_caption), "Question");
  EXPECT_EQ(std::string(job_texts::cancel_question), "\x95\xaa\x8a\x84\x82\xf0\x92\x86\x92\x66\x82\xb5\x82\xdc\x82\xb7\x82\xa9?");
}

}  // namespace
