#include "app/operator_actions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/watchdog.h"

namespace {

const QDateTime kFrom(QDate(2026, 12, 7), QTime(10, 0)), kTo = kFrom.addSecs(3600);

// The first bad line is told with its number (line 2, with its remark, is good).
TEST(OperatorActions, TheFirstBadLineIsToldWithItsReasonAndNoActionIsKept) {
    const QString junk(3000, u'x');
    const std::pair<QString, QString> bad[] = {
        {"2026-12-07 10:05 next", "bad time \"2026-12-07 10:05\", not YYYY-MM-DD HH:MM:SS"},
        {"2026-12-07 11:00:01 next",
         "2026-12-07 11:00:01 is outside the simulated span 2026-12-07 10:00:00 to"},
        {"2026-12-07 10:04:59 next", "2026-12-07 10:04:59 is before the action above it"},
        {"2026-12-07 10:06:00", "no verb after the time"},
        {"2026-12-07 10:06:00 Next", "unknown verb \"Next\""},
        {"2026-12-07 10:06:00 manual on off", "manual takes on or off, not \"on off\""},
        {"2026-12-07 10:06:00 pause 5", "pause takes no argument, not \"5\""},
        {"2026-12-07 10:06:00 jingle 0", "jingle takes a number from 1, not \"0\""},
        {"2026-02-29 10:06:00 next",
         "bad time \"2026-02-29 10:06:00\", the calendar has no day 2026-02-29"},
        {"2026-12-07 10:06:00 " + junk,
         "unknown verb \"" + junk.left(256) + "… (3000 characters)\""},
        {"2026-12-07 10:06:00 next #" + junk + junk, "a line of 6026 characters, at most 4096"},
    };
    for (const auto& [line, reason] : bad) {
        const auto read =
            ParseOperatorActions("a", "#\n2026-12-07 10:05:00 next # intro\n" + line, kFrom, kTo);
        EXPECT_TRUE(read.value.isEmpty() && read.message().startsWith("a:3: " + reason))
            << read.message().left(400).toStdString();
    }
}

// A FIFO, a device or a file too large to be actions is refused at once, before any is read.
TEST(OperatorActions, OnlyARegularFileOfBoundedSizeIsRead) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo"), huge = dir.filePath("huge");
    QFile file(huge);
    ASSERT_TRUE(MakeFifo(fifo) && file.open(QIODevice::WriteOnly) && file.resize(17 << 20));
    for (const auto& [path, reason] : {std::pair{fifo, "is not a regular file"},
                                       {QString("/dev/zero"), "is not a regular file"},
                                       {huge, "holds more than 16 MB"}}) {
        ReadResult<QList<OperatorAction>> read;
        const auto readIt = [&] { read = ReadOperatorActions(path, kFrom, kTo); };
        EXPECT_TRUE(ReturnsWithin(20'000, readIt, [&] { ReleaseFifoReader(fifo); }));
        EXPECT_TRUE(read.message().contains(reason)) << read.message().left(200).toStdString();
    }
}

}  // namespace
