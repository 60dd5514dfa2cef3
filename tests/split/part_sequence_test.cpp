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
    PartSequence parts(c.source);
    parts.number = c.number;
    EXPECT_EQ(parts.part_path(), c.path) << c.source << " part " << c.number;
    EXPECT_EQ(parts.part_file_name(), c.file_name) << c.source << " part " << c.number;
  }
}

TEST(PartSequence, StartsAtOne) { EXPECT_EQ(PartSequence("movie.iso").number, 1); }

}  // namespace
