#include "app/as_run_file.h"

#include <gtest/gtest.h>

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

}  // namespace
