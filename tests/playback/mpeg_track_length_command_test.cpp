#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextStream>

#include "app/track_length_command.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/watchdog.h"

namespace {

TEST(TrackLengthCommand, PrintsSecondsTabPathPerFileAndFlagsUnreadableOnes) {
    QTemporaryDir dir;
    const QString a = dir.filePath("άλμπουμ 1.mp3"), b = dir.filePath("b.mp3");
    const QString text = dir.filePath("notes.txt"), missing = dir.filePath("gone.mp3");
    ASSERT_TRUE(WriteCbrMpeg(a, 185));
    ASSERT_TRUE(WriteCbrMpeg(b, 3));
    WriteBytes(text, "not audio\n");

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunTrackLengthCommand({a, b, text}, outStream, errStream), 0);
    EXPECT_EQ(out, "185\t" + a + "\n3\t" + b + "\n0\t" + text + "\n");
    EXPECT_TRUE(err.isEmpty());

    out.clear();
    EXPECT_EQ(RunTrackLengthCommand({missing, b}, outStream, errStream), 1);
    EXPECT_EQ(out, "0\t" + missing + "\n3\t" + b + "\n");
    EXPECT_TRUE(err.contains(missing)) << err.toStdString();

    // A FIFO is flagged at once instead of waiting for a writer.
    const QString fifo = dir.filePath("fifo.mp3");
    ASSERT_TRUE(MakeFifo(fifo));
    int result = -1;
    EXPECT_TRUE(ReturnsWithin(
        20000, [&] { result = RunTrackLengthCommand({fifo}, outStream, errStream); },
        [&] { ReleaseFifoReader(fifo); }));
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(out.endsWith("\n0\t" + fifo + "\n")) << out.toStdString();
}

}  // namespace
