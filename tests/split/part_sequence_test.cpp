#include "split/part_sequence.h"

#include <gtest/gtest.h>

namespace {

struct PartNameCase {
  const char* source;
  std::int32_t number;
  const char* path;
  const char* file_name;
};

const PartNameCase part_name_cases[] = {
    {"C:\\d\\movie.iso", 1, "C:\\d\\movie.iso_1", "movie.iso_1"},
    {"C:\\d\\movie.iso", 9, "C:\\d\\movie.iso_9", "movie.iso_9"},
    {"C:\\d\\movie.iso", 10, "C:\\d\\movie.iso_10", "movie.iso_10"},
    {"C:\\d\\movie.iso", 123, "C:\\d\\movie.iso_123", "movie.iso_123"},
    {"C:/d/movie.iso", 2, "C:\\d\\movie.iso_2", "movie.iso_2"},
    {"C:\\d\\\\movie.iso", 1, "C:\\d\\\\movie.iso_1", "movie.iso_1"},
    {"C:\\d\\.hidden", 1, "C:\\d\\.hidden_1", ".hidden_1"},
    {"movie", 3, "movie_3", "movie_3"},
    {"C:\\d\\\x83\x5C", 1, "C:\\d\\\x83\x5C_1", "\x83\x5C_1"},
};

TEST(PartSequence, PathsAndFileNames) {
  for (const PartNameCase& c : part_name_cases) {
    const PartSequence parts(c.source);
    EXPECT_EQ(parts.part_path(c.number), c.path) << c.source << " part " << c.number;
    EXPECT_EQ(parts.part_file_name(c.number), c.file_name) << c.source << " part " << c.number;
  }
}

TEST(PartSequence, NumberNamedByAFileInTheFolder) {
  const struct {
    const wchar_t* file_name;
    std::int64_t number;
  } cases[] = {{L"movie.iso_3", 3},         {L"MOVIE.ISO_12", 12},         {L"movie.iso_03", 0},
               {L"movie.iso_", 0},          {L"movie.iso_3a", 0},          {L"movie.iso_-1", 0},
               {L"movie.iso_x_3", 0},       {L"movie.is_3", 0},            {L"movie.iso", 0},
               {L"movie.iso_99999999999999999999", INT64_MAX}};
  const PartSequence parts("C:\\d\\movie.iso");
  for (const auto& c : cases) {
    EXPECT_EQ(parts.number_named_by(c.file_name), c.number) << c.file_name;
  }
}

}  // namespace
