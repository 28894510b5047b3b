#include "base/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, ReadsDecimalAndHexAndFallsBackOnAnythingElse) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"20", 20},
        {"-5", -5},
        {"+7", 7},
        {"  42", 42},
        {"0x0000FF", 255},
        {"0XfF", 255},
        {"$10", 16},
        {"0x8000000F", static_cast<int>(0x8000000Fu)},
        {"-2147483633", static_cast<int>(0x8000000Fu)},
        {"2147483647", 2147483647},
        {"-2147483648", static_cast<int>(0x80000000u)},
        // no number: the fallback
        {"", -1},
        {"abc", -1},
        {"0x", -1},
        {"$", -1},
        {"-", -1},
        {"20 ", -1},
        {"1.5", -1},
        {"0x1G", -1},
        {"2147483648", -1},
        {"0x100000000", -1},
        {"٣", -1},  // a digit, but not one the operator's number box means
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntFromText(QString::fromUtf8(c.text), -1), c.expected) << c.text;
    }
}

TEST(NumberText, AnyNonZeroNumberIsTrue) {
    EXPECT_TRUE(BoolFromText("1", false));
    EXPECT_TRUE(BoolFromText("-3", false));
    EXPECT_TRUE(BoolFromText("0x10", false));
    EXPECT_FALSE(BoolFromText("0", true));
    EXPECT_TRUE(BoolFromText("true", true));
    EXPECT_FALSE(BoolFromText("", false));
}

}  // namespace
