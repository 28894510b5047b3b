// --analyze, through the built program, on files made here with ffmpeg: loudness as
// FFmpeg's own EBU R128 meter measures it, and where the sound starts and ends.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/files.h"

namespace {

// Makes `name` from an ffmpeg audio source; the arguments before the file name follow.
QString Make(const QTemporaryDir& dir, const QString& name, const QString& source,
             const QStringList& output) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 QStringList{"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source} +
                     output + QStringList{dir.filePath(name)});
    ffmpeg.waitForFinished(60000);
    return ffmpeg.exitCode() == 0 ? dir.filePath(name) : QString();
}

// FFmpeg's own integrated loudness and true peak of the file, as its summary prints them.
std::pair<double, double> FfmpegMeasures(const QString& path) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-hide_banner", "-nostats", "-i", path, "-af",
                            "ebur128=peak=true", "-f", "null", "-"});
    ffmpeg.waitForFinished(60000);
    const QString text = QString::fromUtf8(ffmpeg.readAllStandardError());
    const auto last = [&](const char* pattern) {
        QString value;
        for (auto m = QRegularExpression(pattern).globalMatch(text); m.hasNext();)
            value = m.next().captured(1);
        return value == "-inf" ? -HUGE_VAL : value.toDouble();
    };
    return {last(R"(I:\s+(-?[\d.]+|-inf) LUFS)"), last(R"(Peak:\s+(-?[\d.]+|-inf) dBFS)")};
}

TEST(AnalyzeCommand, LoudnessAsFfmpegMeasuresItAndSoundFromItsFirstToItsLastMoment) {
    QTemporaryDir dir;
    const QStringList mp3{"-b:a", "192k"};
    const struct {
        const char* name;
        QString source;
        QStringList output;
        double start, end;
    } cases[] = {
        {"tone.mp3", "sine=f=440:d=5,volume=-6dB", mp3, 0, 5},
        {"fading tail.mp3", "sine=f=1000:d=6,volume=-20dB,apad=pad_dur=8", mp3, 0, 6},
        {"late noise.ogg",
         "anoisesrc=c=pink:d=4:a=0.3,adelay=3s:all=1",
         {"-c:a", "libvorbis"},
         3,
         7},
        {"mono low rate.mp3", "sine=f=220:d=3", {"-ac", "1", "-b:a", "64k"}, 0, 3},
        {"clipped.wav", "sine=f=100:d=3,volume=18dB", {}, 0, 3},
        {"click in silence.wav", "aevalsrc='if(between(t,1,1.005),0.9,0)':d=3", {}, 0, 0},
    };
    QStringList files;
    for (const auto& c : cases) {
        files << Make(dir, c.name, c.source, c.output);
        ASSERT_FALSE(files.last().isEmpty()) << c.name;
    }
    WriteBytes(dir.filePath("junk.mp3"), "not audio");
    QProcess program;
    program.start(STAVOX_MIXER_BINARY, QStringList{"--analyze", "--jobs", "2"} + files +
                                           QStringList{dir.filePath("junk.mp3")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 1) << "the junk file could not be analysed";
    EXPECT_TRUE(program.readAllStandardError().contains("junk.mp3 cannot be analysed"));
    const QStringList lines =
        QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), qsizetype(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const QStringList f = lines[qsizetype(i)].split('\t');
        SCOPED_TRACE(lines[qsizetype(i)].toStdString());
        ASSERT_EQ(f.size(), 5);
        EXPECT_EQ(f[4], files[qsizetype(i)]) << "in the order given";
        const auto [loudness, peak] = FfmpegMeasures(files[qsizetype(i)]);
        if (std::isinf(loudness))
            EXPECT_EQ(f[0], "-inf");
        else
            EXPECT_NEAR(f[0].toDouble(), loudness, 0.5);
        EXPECT_NEAR(f[1].toDouble(), peak, 0.5);
        EXPECT_NEAR(f[2].toDouble(), cases[i].start, 0.15);
        EXPECT_NEAR(f[3].toDouble(), cases[i].end, 0.15);
    }
}

}  // namespace
