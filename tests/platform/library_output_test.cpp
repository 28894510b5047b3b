#include "platform/library_output.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/files.h"

// A player appends to its log for as long as it runs; the log is trimmed under it. Its
// lines move aside, and it goes on at the start of the emptied log, not after a hole.
TEST(OutputLogTest, ALogPastItsLimitMovesAsideAndItsWriterGoesOnAtItsStart) {
    QTemporaryDir dir;
    const QString path = dir.filePath("deck.log");
    QFile writer(path);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered));
    const QByteArray lines[] = {QByteArray(100, 'a') + '\n', QByteArray(100, 'b') + '\n', "c\n"};
    writer.write(lines[0]);
    output_log::KeepShort(path, 150);
    EXPECT_EQ(ReadBytes(path), lines[0]) << "within its limit";
    writer.write(lines[1]);
    output_log::KeepShort(path, 150);
    writer.write(lines[2]);
    EXPECT_EQ(ReadBytes(path + ".old"), lines[0] + lines[1]);
    EXPECT_EQ(ReadBytes(path), lines[2]);
}
