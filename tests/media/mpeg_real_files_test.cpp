#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "media/mpeg_data.h"

// Files from a real encoder (ffmpeg with LAME) measured against ffprobe: constant and
// variable bit rates, mono, MPEG-2 and MPEG-2.5 rates, cover pictures and ID3v1 tags.
namespace {

struct ToolRun {
    bool ok = false;
    QString output;
};

ToolRun Execute(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return {false, QString::fromUtf8(p.readAllStandardError())};
    }
    return {true, QString::fromUtf8(p.readAllStandardOutput()).trimmed()};
}

TEST(MpegRealFiles, LengthsAgreeWithFfprobeWithinOneSecond) {
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffmpeg.isEmpty() || ffprobe.isEmpty()) {
        GTEST_SKIP() << "ffmpeg and ffprobe are needed to make and measure real MPEG files";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList quiet = {"-v", "error", "-y", "-nostdin"};

    // A noise picture does not compress: about 200 KB.
    const QString cover = dir.filePath("cover.jpg");
    ASSERT_TRUE(Execute(ffmpeg, quiet + QStringList{"-f", "lavfi", "-i",
                                                    "nullsrc=s=540x540,geq=random(1)*255:128:128",
                                                    "-frames:v", "1", "-q:v", "2", cover})
                    .ok);
    ASSERT_GT(QFileInfo(cover).size(), 150000);

    struct Case {
        const char* name;
        int seconds;
        int rate;
        int channels;
        QStringList codec;
        QString cover;
    };
    const QStringList cbr128 = {"-b:a", "128k"}, vbr = {"-q:a", "4"};
    const Case cases[] = {
        {"cbr", 12, 44100, 2, cbr128, {}},
        {"cbr-no-info-tag", 20, 44100, 2, cbr128 + QStringList{"-write_xing", "0"}, {}},
        {"vbr", 45, 44100, 2, vbr, {}},
        {"vbr-mono", 30, 44100, 1, {"-q:a", "6"}, {}},
        {"cbr-mono", 25, 48000, 1, {"-b:a", "64k"}, {}},
        {"mpeg2-cbr", 33, 22050, 2, {"-b:a", "64k"}, {}},
        {"mpeg2-vbr-mono", 40, 24000, 1, {"-q:a", "5"}, {}},
        {"mpeg25-cbr", 27, 11025, 1, {"-b:a", "24k"}, {}},
        {"mpeg25-vbr", 35, 8000, 2, {"-q:a", "7"}, {}},
        {"cbr-cover", 12, 44100, 2, cbr128, cover},
        {"vbr-cover", 60, 44100, 2, vbr, cover},
        {"mpeg2-cover-id3v1", 15, 22050, 1, {"-b:a", "32k", "-write_id3v1", "1"}, cover},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = dir.filePath(QString(c.name) + ".mp3");
        // A tone with bursts of noise, so a variable rate really varies.
        QStringList args = quiet + QStringList{"-f", "lavfi", "-i",
                                               QString("aevalsrc=exprs=0.4*sin(440*2*PI*t)+0.3*"
                                                       "random(0)*gt(mod(t\\,4)\\,2):d=%1:s=%2")
                                                   .arg(c.seconds)
                                                   .arg(c.rate)};
        if (!c.cover.isEmpty())
            args += QStringList{"-i",   c.cover, "-map",           "0",           "-map", "1",
                                "-c:v", "copy",  "-disposition:v", "attached_pic"};
        args += QStringList{"-ac", QString::number(c.channels), "-c:a", "libmp3lame"} + c.codec +
                QStringList{"-id3v2_version", "3", out};
        const ToolRun made = Execute(ffmpeg, args);
        ASSERT_TRUE(made.ok) << made.output.toStdString();

        const ToolRun probe = Execute(
            ffprobe, {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", out});
        ASSERT_TRUE(probe.ok) << probe.output.toStdString();
        bool number = false;
        const double expected = probe.output.toDouble(&number);
        ASSERT_TRUE(number) << probe.output.toStdString();
        EXPECT_NEAR(static_cast<double>(TrackLength(out)), expected, 1.0);
    }
}

}  // namespace
