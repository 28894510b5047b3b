#include "base/number_text.h"

#include <gtest/gtest.h>

#include "base/min_sec.h"

namespace {

TEST(NumberText, ReadsDecimalAndHexAndFallsBackOnAnythingElseAndWritesMinSec) {
    const std::pair<const char*, int> cases[] = {
        {"20", 20},
        {"  -5", -5},
        {"0x0000FF", 255},
        {"$10", 16},
        {"0x8000000F", static_cast<int>(0x8000000Fu)},  // system colours wrap negative
        {"-2147483633", static_cast<int>(0x8000000Fu)},
        {"", -1},
        {"abc", -1},
        {"0x", -1},
        {"20 ", -1},
        {"1.5", -1},
        {"2147483648", -1},
        {"0x100000000", -1},
        {"٣", -1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(IntFromText(QString::fromUtf8(text), -1), expected) << text;
    // A check box reads 1/0 and true/false alike, whatever the fallback.
    for (const auto& [text, value] : {std::pair{"-3", true},
                                      {"0", false},
                                      {"true", true},
                                      {"False", false},
                                      {" TRUE", true},
                                      {"false ", false}})
        for (const bool fallback : {false, true}) EXPECT_EQ(BoolFromText(text, fallback), value);
    EXPECT_TRUE(BoolFromText("yes", true));
    // Minutes unlimited, and negative times.
    for (const auto& [seconds, text] : {std::pair<long long, const char*>{0, "00:00"},
                                        {61, "01:01"},
                                        {7505, "125:05"},
                                        {-75, "-01:15"}})
        EXPECT_EQ(FormatMinSec(seconds), text);
}

}  // namespace
