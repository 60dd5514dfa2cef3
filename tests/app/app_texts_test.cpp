#include "app/app_texts.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "app/main_dialog.h"

namespace {

TEST(AppTexts, CodePage932Bytes) {
  EXPECT_EQ(std::string(app_texts::size_warning_caption), "Error");
  EXPECT_EQ(std::string(app_texts::size_warning),
            "\x95\xaa\x8a\x84\x83\x54\x83\x43\x83\x59\x82\xf0\x8e\x77\x92\xe8\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3"
            "\x82\xa2");
  EXPECT_EQ(std::string(app_texts::initial_split_size), "512");
}

TEST(AppTexts, FileFilterPairsEndWithAnExtraNul) {
  const std::string expected("Zip files\0*.zip\0ios files\0*.iso\0All files\0*.*\0\0", 47);
  EXPECT_EQ(std::string(app_texts::file_filter, sizeof app_texts::file_filter), expected);
}

TEST(AppTexts, CustomFilterStartsAsBeforeFilesThenZeros) {
  const std::wstring start(L"Before files\0*.*\0", 17);
  EXPECT_EQ(std::wstring(custom_filter, start.size()), start);
  for (std::size_t i = start.size(); i < std::size(custom_filter); ++i) {
    ASSERT_EQ(custom_filter[i], L'\0') << "character " << i;
  }
  EXPECT_EQ(std::size(custom_filter), 256u);
}

}  // namespace
