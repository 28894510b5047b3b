#include "base/min_sec.h"

#include <gtest/gtest.h>

namespace {

TEST(MinSec, MinutesUnlimitedAndNegativeTimes) {
    for (const auto& [seconds, text] : {std::pair<long long, const char*>{0, "00:00"},
                                        {61, "01:01"},
                                        {7505, "125:05"},
                                        {-75, "-01:15"}})
        EXPECT_EQ(FormatMinSec(seconds), text);
}

}  // namespace
