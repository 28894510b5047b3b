#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "media/mpeg_data.h"

// Files from a real encoder (ffmpeg with LAME) measured against ffprobe: constant and
// variable bit rates, mono, MPEG-2 and MPEG-2.5 rates, cover pictures and ID3v1 tags.
namespace {

// The program's output, or its errors after a "!" when it failed.
QString Execute(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    const bool ok =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok ? QString::fromUtf8(p.readAllStandardOutput()).trimmed()
              : "!" + QString::fromUtf8(p.readAllStandardError());
}

TEST(MpegRealFiles, LengthsAgreeWithFfprobeWithinOneSecond) {
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffmpeg.isEmpty() || ffprobe.isEmpty())
        GTEST_SKIP() << "ffmpeg and ffprobe are needed to make and measure real MPEG files";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList quiet = {"-v", "error", "-y", "-nostdin"};
    // A noise picture does not compress: about 200 KB.
    const QString cover = dir.filePath("cover.jpg");
    ASSERT_EQ(Execute(ffmpeg, quiet + QStringList{"-f", "lavfi", "-i",
                                                  "nullsrc=s=540x540,geq=random(1)*255:128:128",
                                                  "-frames:v", "1", "-q:v", "2", cover}),
              "");
    ASSERT_GT(QFileInfo(cover).size(), 150000);
    // Seconds, and the encoder's arguments; "+cover" adds the picture.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"cbr", 12, "-ac 2 -b:a 128k"},
        {"cbr-no-info-tag", 20, "-ac 2 -b:a 128k -write_xing 0"},
        {"vbr", 45, "-ac 2 -q:a 4"},
        {"vbr-mono", 30, "-ac 1 -q:a 6"},
        {"cbr-mono", 25, "-ar 48000 -ac 1 -b:a 64k"},
        {"mpeg2-cbr", 33, "-ar 22050 -ac 2 -b:a 64k"},
        {"mpeg2-vbr-mono", 40, "-ar 24000 -ac 1 -q:a 5"},
        {"mpeg25-cbr", 27, "-ar 11025 -ac 1 -b:a 24k"},
        {"mpeg25-vbr", 35, "-ar 8000 -ac 2 -q:a 7"},
        {"cbr-cover", 12, "-ac 2 -b:a 128k +cover"},
        {"vbr-cover", 60, "-ac 2 -q:a 4 +cover"},
        {"mpeg2-cover-id3v1", 15, "-ar 22050 -ac 1 -b:a 32k -write_id3v1 1 +cover"},
    };
    // A tone with bursts of noise, so a variable rate really varies.
    const QString tone("aevalsrc=exprs=0.4*sin(440*2*PI*t)+0.3*random(0)*gt(mod(t\\,4)\\,2):d=");
    for (const auto& [name, seconds, codec] : cases) {
        SCOPED_TRACE(name);
        const QString out = dir.filePath(QString(name) + ".mp3");
        QStringList args =
            quiet + QStringList{"-f", "lavfi", "-i", tone + QString::number(seconds)};
        QStringList codecArgs = QString(codec).split(' ');
        if (codecArgs.removeAll("+cover") > 0)
            args += {"-i",   cover,  "-map",           "0",           "-map", "1",
                     "-c:v", "copy", "-disposition:v", "attached_pic"};
        args += QStringList{"-c:a", "libmp3lame", "-id3v2_version", "3"} + codecArgs << out;
        ASSERT_EQ(Execute(ffmpeg, args), "");
        const QString probe = Execute(
            ffprobe, {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", out});
        bool number = false;
        const double expected = probe.toDouble(&number);
        ASSERT_TRUE(number) << probe.toStdString();
        EXPECT_NEAR(static_cast<double>(TrackLength(out)), expected, 1.0);
    }
}

}  // namespace
