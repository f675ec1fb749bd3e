#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "app/text_numbers.h"
#include "fakes/fake_main_window.h"
#include "remap/remap_engine.h"

namespace {

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

struct IntCase {
  std::string text;
  std::int32_t value;
};

class TextToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(TextToIntTest, ReadsTheLeadingNumber) { EXPECT_EQ(textToInt(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToIntTest,
    ::testing::Values(IntCase{"", 0}, IntCase{"81", 81}, IntCase{"0081", 81}, IntCase{"   81", 81},
                      IntCase{"\t\r\n 81", 81}, IntCase{"+81", 81}, IntCase{"-81", -81}, IntCase{" -7", -7},
                      IntCase{"+-1", 0}, IntCase{"- 1", 0}, IntCase{"-", 0}, IntCase{"   ", 0}, IntCase{"abc", 0},
                      IntCase{"81abc", 81}, IntCase{"8 1", 8}, IntCase{"1.5", 1},
                      IntCase{"\xA3\xB8\xA3\xB1", 81},                  // full-width 8 1
                      IntCase{"\xA3\xAD\xA3\xB5", -5},                  // full-width minus, 5
                      IntCase{"\xA3\xAB\x37", 7},                        // full-width plus
                      IntCase{"\xA1\xA1\xA1\xA1" "12", 12},             // ideographic spaces
                      IntCase{"\xA3\xB1\xD6\xD0", 1},                    // full-width 1, then a Chinese character
                      IntCase{"\xD6\xD0" "1", 0},                        // a Chinese character first
                      IntCase{"\xB0\xA3\xB1", 0},  // the trail byte A3 of one character does not start a digit
                      IntCase{"2147483647", int32Max}, IntCase{"-2147483648", int32Min},
                      IntCase{"2147483648", int32Max}, IntCase{"99999999999999999999", int32Max},
                      IntCase{"-99999999999999999999", int32Min},
                      IntCase{"4294967377", int32Max}));  // never wraps round to 81

struct FoldCase {
  std::string text;
  std::string folded;
};

class FoldFullWidthTest : public ::testing::TestWithParam<FoldCase> {};

TEST_P(FoldFullWidthTest, FoldsFullWidthFormsToAscii) { EXPECT_EQ(hexOf(foldFullWidth(GetParam().text)), hexOf(GetParam().folded)); }

INSTANTIATE_TEST_SUITE_P(
    Texts, FoldFullWidthTest,
    ::testing::Values(FoldCase{"", ""}, FoldCase{"Q81", "Q81"}, FoldCase{"\xA3\xA1", "!"}, FoldCase{"\xA3\xC1", "A"},
                      FoldCase{"\xA3\xFE", "~"}, FoldCase{"\xA3\xB0\xA3\xB9", "09"}, FoldCase{"\xA1\xA1", " "},
                      FoldCase{"\xA1\xAB", "~"}, FoldCase{"\xA1\xEE", "*"}, FoldCase{"\xA1\xEF", "*"},
                      FoldCase{"\xA1\xA2", "\xA1\xA2"},            // other punctuation stays
                      FoldCase{"\xA3\xA0", "\xA3\xA0"},            // below the full-width range
                      FoldCase{"\xD6\xD0\xA3\xB1", "\xD6\xD0" "1"},
                      FoldCase{"\xB0\xA3\xB1", "\xB0\xA3\xB1"},    // pairs are read whole
                      FoldCase{"1\xA3", "1\xA3"}));                 // a lone lead byte at the end

}  // namespace
