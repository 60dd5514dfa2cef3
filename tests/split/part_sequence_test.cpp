#include "split/part_sequence.h"

#include <gtest/gtest.h>

namespace {

struct PartNameCase {
  const wchar_t* source;
  std::int32_t number;
  const wchar_t* path;
};

const PartNameCase part_name_cases[] = {
    {L"C:\\d\\movie.iso", 1, L"C:\\d\\movie.iso_1"},
    {L"C:\\d\\movie.iso", 9, L"C:\\d\\movie.iso_9"},
    {L"C:\\d\\movie.iso", 10, L"C:\\d\\movie.iso_10"},
    {L"C:\\d\\movie.iso", 123, L"C:\\d\\movie.iso_123"},
    {L"C:/d/movie.iso", 2, L"C:\\d\\movie.iso_2"},
    {L"C:\\d\\\\movie.iso", 1, L"C:\\d\\\\movie.iso_1"},
    {L"C:\\d\\.hidden", 1, L"C:\\d\\.hidden_1"},
    {L"movie", 3, L"movie_3"},
    {L"C:\\d\\\u30BD", 1, L"C:\\d\\\u30BD_1"},
    {L"C:\\d\\caf\u00E9 \U0001F600.bin", 2, L"C:\\d\\caf\u00E9 \U0001F600.bin_2"},
};

TEST(PartSequence, PathsAndFileNames) {
  for (const PartNameCase& c : part_name_cases) {
    EXPECT_EQ(PartSequence(c.source).part_path(c.number), c.path) << c.source << " part " << c.number;
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
  const PartSequence parts(L"C:\\d\\movie.iso");
  for (const auto& c : cases) {
    EXPECT_EQ(parts.number_named_by(c.file_name), c.number) << c.file_name;
  }
}

}  // namespace
