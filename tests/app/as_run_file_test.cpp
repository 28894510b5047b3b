#include "app/as_run_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/file_failure.h"
#include "support/files.h"

namespace {

TEST(AsRunFile, LinesGoToTheFileOfTheirDateAndAFailingDiskIsToldOnceWhileTheRunGoesOn) {
    QTemporaryDir dir;
    AsRunFile file(dir.path());
    QStringList told;
    QObject::connect(&file, &AsRunFile::WriteFailed, [&](const QString& m) { told << m; });
    const QString late = "2026-12-07 23:59:59.900\tstation\tqueue\tΆλμπουμ/α.mp3^Ροκ",
                  early = "2026-12-08 00:00:00.300\tdeck0\tstop";
    const QString day2 = dir.path() + "/asrun/2026-12-08.log";
    EXPECT_TRUE(file.Append(late) && file.Append(early));
    EXPECT_EQ(ReadBytes(dir.path() + "/asrun/2026-12-07.log"), (late + "\n").toUtf8());
    {  // room for a part of one more line only: the part is taken back
        const file_failure::FileSizeLimit full(QFileInfo(day2).size() + 20);
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(file.Append(early));
    }
    EXPECT_TRUE(file.Append(early));  // room again: the log goes on
    EXPECT_EQ(ReadBytes(day2), (early + "\n" + early + "\n").toUtf8());
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(day2 + ": File too large")) << told[0].toStdString();
}

// A line cut short by a kill before this run stays apart: the next line starts on its own.
TEST(AsRunFile, ALineCutShortBeforeTheStartIsNotGluedToTheNextOne) {
    QTemporaryDir dir;
    const QString log = dir.path() + "/asrun/2026-12-07.log";
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/asrun"));
    WriteBytes(log, "2026-12-07 09:59:59.000\tstation\tstop\n2026-12-07 10:00:00.0");
    AsRunFile file(dir.path());
    EXPECT_TRUE(file.Append("2026-12-07 10:00:01.000\tdeck0\tplay") &&
                file.Append("2026-12-07 10:00:02.000\tdeck1\tplay"));
    EXPECT_EQ(ReadBytes(log),
              "2026-12-07 09:59:59.000\tstation\tstop\n2026-12-07 10:00:00.0\n"
              "2026-12-07 10:00:01.000\tdeck0\tplay\n2026-12-07 10:00:02.000\tdeck1\tplay\n");
}

}  // namespace
