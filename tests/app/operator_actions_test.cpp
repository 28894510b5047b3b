#include "app/operator_actions.h"

#include <gtest/gtest.h>

namespace {

TEST(OperatorActions, TheFirstBadLineIsToldWithItsReasonAndNoActionIsKept) {
    const QDateTime from(QDate(2026, 12, 7), QTime(10, 0)), to = from.addSecs(3600);
    const char* bad[][2] = {
        {"2026-12-07 10:05 next", "bad time \"2026-12-07 10:05\", not YYYY-MM-DD HH:MM:SS"},
        {"2026-12-07 11:00:01 next",
         "2026-12-07 11:00:01 is outside the simulated span 2026-12-07 10:00:00 to"},
        {"2026-12-07 10:04:59 next", "2026-12-07 10:04:59 is before the action above it"},
        {"2026-12-07 10:06:00", "no verb after the time"},
        {"2026-12-07 10:06:00 Next", "unknown verb \"Next\""},
        {"2026-12-07 10:06:00 manual on off", "manual takes on or off, not \"on off\""},
        {"2026-12-07 10:06:00 pause 5", "pause takes no argument, not \"5\""},
        {"2026-12-07 10:06:00 jingle -1", "jingle takes a number from 0, not \"-1\""},
    };
    for (const auto& [line, reason] : bad) {
        const auto read =
            ParseOperatorActions("a", QString("#\n2026-12-07 10:05:00 next\n") + line, from, to);
        EXPECT_TRUE(read.value.isEmpty() && read.message().startsWith(QString("a:3: ") + reason))
            << line << ": " << read.message().toStdString();
    }
}

}  // namespace
