#include "media/mpeg_data.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "media/track_length_cache.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/watchdog.h"

// A file layout names the fields it sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class MpegDataTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        WriteBytes(m_dir.filePath(name), bytes);
        return m_dir.filePath(name);
    }
    TMPEGData Read(const QString& name, const QByteArray& bytes) {
        TMPEGData d;
        d.ReadFromFile(Write(name, bytes));
        return d;
    }
    QTemporaryDir m_dir;
};

QByteArray Cbr128(std::int64_t bytes, int kbps = 128) {
    return MpegFrames({1, 3, kbps, 44100, false}, bytes);
}

// What the reader found: version, layer, sampling rate, bit rate, frame length.
std::string Format(const TMPEGData& d) {
    return QString::asprintf("%d %d %u %u %u", d.Version, d.Layer, d.SampleRate, d.BitRate,
                             d.FrameLength)
        .toStdString();
}

TEST_F(MpegDataTest, HeadersDecodeAndConstantBitRateFilesReadPastWhatComesBeforeTheFirstFrame) {
    const std::tuple<std::uint32_t, bool, const char*> cases[] = {
        {0xFFFB9000, true, "1 3 44100 128 417"},  // MPEG-1 Layer III
        {0xFFFB9200, true, "1 3 44100 128 418"},  // padded
        {0xFFF38000, true, "2 3 22050 64 208"},   // MPEG-2: 72 bytes a kbit, not 144
        {0xFFE34000, true, "3 3 11025 32 208"},   // MPEG-2.5
        {0xFFFD8400, true, "1 2 48000 128 384"},  // Layer II
        {0xFFFF1200, true, "1 1 44100 32 36"},    // Layer I pads a 4-byte slot
        {0xFFFBF000, false, "1 3 44100 0 0"},     // bit-rate index 15
        {0xFFFB0000, false, "1 3 44100 0 0"},     // free format
        {0xFFFB9C00, false, "1 3 0 128 0"},       // sampling-rate index 3
        {0xFFF99000, false, "1 0 44100 0 0"},     // layer bits 00
        {0xFFEB9000, false, "0 0 0 0 0"},         // version bits 01
        {0xFFDB9000, false, "0 0 0 0 0"},         // sync incomplete
    };
    for (const auto& [header, valid, format] : cases) {
        TMPEGData d;
        EXPECT_EQ(d.DecodeHeader(header), valid) << format;
        EXPECT_EQ(Format(d), format);
    }
    const QByteArray audio = Cbr128(4000000, 64);
    // UTF-16 text (FF FE 'A' 0) reads as an MPEG-1 Layer I header at 128 kbit/s; the other
    // words are Layer III headers with a bad bit rate or sampling rate, or one at 128 kbit/s
    // in data that is not a recognised tag.
    const QByteArray utf16("\xFF\xFE\x41\x00\x72\x00\x74\x00\x69\x00", 10);
    const QByteArray rate15("\xFF\xFB\xF0\x00", 4), rate3("\xFF\xFB\x9C\x00", 4);
    const QByteArray stray("\xFF\xFB\x90\x00\x01\x02\x03", 7);
    const std::pair<const char*, QByteArray> prefixes[] = {
        {"plain", {}},
        {"junk", QByteArray("0123456789")},
        {"header across the read buffer's edge", QByteArray(65534, 'j')},
        {"bitrate15", rate15 + Cbr128(100).mid(4)},
        {"rate3", rate3 + "abc"},
        {"utf16", QByteArray(300, 'j') + utf16},
        {"stray", QByteArray(300, 'j') + stray},
        {"no tag", QByteArray("ID3\xFF\x00\x00\x00\x00\x01\x00", 10) + utf16},
    };
    for (const auto& [name, prefix] : prefixes) {
        SCOPED_TRACE(name);
        const TMPEGData d = Read(name, prefix + audio);
        EXPECT_EQ(d.Duration, 500u);
        EXPECT_EQ(d.FileLength, prefix.size() + audio.size());
        EXPECT_EQ(Format(d), "1 3 44100 64 208");
    }
}

TEST_F(MpegDataTest, FilesWithoutAudioGiveZeroWithoutWaiting) {
    const QString fifo = m_dir.filePath("fifo.mp3"), link = m_dir.filePath("link.mp3");
    ASSERT_TRUE(MakeFifo(fifo) && QFile::link(fifo, link));
    for (const QString& path :
         {fifo, link, QStringLiteral("/dev/zero"), m_dir.path(), m_dir.filePath("missing.mp3"),
          Write("empty.mp3", {}), Write("five.mp3", Cbr128(5))}) {
        std::uint32_t seconds = 1;
        EXPECT_TRUE(ReturnsWithin(
            20000, [&] { seconds = TrackLength(path); }, [&] { ReleaseFifoReader(fifo); }))
            << path.toStdString();
        EXPECT_EQ(seconds, 0u) << path.toStdString();
    }
    const TMPEGData none = Read("zeros.mp3", QByteArray(300000, '\0'));
    EXPECT_EQ(none.Duration, 0u);
    EXPECT_EQ(none.FileLength, 300000);
    EXPECT_FALSE(none.IsValid());
    // One lone frame: nothing follows it to confirm it.
    EXPECT_EQ(Read("one.mp3", QByteArray(50000, 'x') + Cbr128(417)).Duration, 0u);
}

TEST_F(MpegDataTest, TagsAreNotPlayingTimeAndAXingTagIsFoundWhereVersionAndChannelsPutIt) {
    // A picture whose bytes happen to hold a run of 32 kbit/s frames.
    QByteArray cover(200000, '\x55');
    cover.replace(5000, 2000, MpegFrames({1, 3, 32, 44100, false}, 2000));
    const MpegFileLayout picture{
        .audioBytes = 12 * 16000, .id3v2Bytes = 200000, .id3v2Payload = cover};
    MpegFileLayout footer = picture;
    footer.id3v2Footer = footer.id3v1 = true;
    // Low rate: 1000 bytes a second, so a 128-byte ID3v1 tag would show as a second.
    const MpegFileLayout trailing{
        .format = {3, 3, 8, 8000, true}, .audioBytes = 10900, .id3v1 = true};
    for (const auto& [name, layout, read] : {std::tuple{"picture", picture, "12 128"},
                                             {"footer", footer, "12 128"},
                                             {"v1", trailing, "10 8"}}) {
        const QByteArray bytes = BuildMpegFile(layout);
        const TMPEGData d = Read(name, bytes);
        EXPECT_EQ(QString::asprintf("%u %u", d.Duration, d.BitRate).toStdString(), read) << name;
        EXPECT_EQ(d.FileLength, bytes.size()) << name;
    }
    // (format, audio bytes, frame count, magic, seconds bit rate frame length read)
    const std::tuple<MpegFormat, std::int64_t, int, const char*, const char*> cases[] = {
        {{1, 3, 128, 44100, false}, 417000, 1000, "Xing", "26 127 417"},  // 1000 × 1152 / 44100
        {{1, 3, 64, 44100, true}, 100000, 1000, "Xing", "26 30 100"},     // mono: offset 21
        {{2, 3, 64, 22050, false}, 100000, 2000, "Info", "52 15 50"},     // MPEG-2: offset 21
        {{2, 3, 32, 22050, true}, 100000, 2000, "Xing", "52 15 50"},      // offset 13
        {{3, 3, 32, 11025, true}, 50000, 1000, "Xing", "52 7 50"},        // MPEG-2.5, 576 a frame
    };
    for (const auto& [format, bytes, frames, magic, read] : cases) {
        SCOPED_TRACE(read);
        MpegFileLayout layout{
            .format = format, .audioBytes = bytes, .xingFrames = frames, .xingMagic = magic};
        const TMPEGData d = Read("xing.mp3", BuildMpegFile(layout));
        EXPECT_EQ(QString::asprintf("%u %u %u", d.Duration, d.BitRate, d.FrameLength).toStdString(),
                  read);
        // The same file with no frame count: the first frame's rate stands.
        layout.xingFrames = 0;
        EXPECT_EQ(Read("zero.mp3", BuildMpegFile(layout)).BitRate,
                  static_cast<std::uint32_t>(format.bitRate));
    }
}

TEST_F(MpegDataTest, HugeFilesDoNotOverflowAndAudioFarIntoThemIsNotSearchedFor) {
    // Files of holes but for a few frames. 300 MiB × 8 overflows 32 bits, and at 32 kbit/s
    // the length exceeds 65 535 s; a Xing count of four million frames does too. In 4 GiB a
    // search to the end would take seconds: frames beyond the bound are not looked for.
    const std::int64_t mib300 = 300LL << 20, gib4 = 4LL << 30;
    const std::int64_t nearest = kMostBytesBeforeFirstFrame - 100000;
    const MpegFormat k128{1, 3, 128, 44100, false}, k32{1, 3, 32, 44100, false};
    const struct {
        MpegFormat format;
        int xingFrames;
        std::int64_t size, framesAt;
        std::uint32_t seconds;
    } cases[] = {{k128, -1, mib300, 0, 19660},
                 {k32, -1, mib300, 0, 78643},
                 {k128, 4000000, mib300, 0, 104489},
                 {k128, -1, gib4, nearest, std::uint32_t((gib4 - nearest) / 16000)},
                 {k128, -1, gib4, kMostBytesBeforeFirstFrame, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        const MpegFileLayout layout{
            .format = c.format, .audioBytes = 100000, .xingFrames = c.xingFrames};
        QFile f(m_dir.filePath("huge.mp3"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.resize(c.size));
        ASSERT_TRUE(f.seek(c.framesAt) && f.write(BuildMpegFile(layout)) > 0);
        f.close();
        EXPECT_EQ(TrackLength(f.fileName()), c.seconds);
    }
}

TEST_F(MpegDataTest, TrackLengthCacheReadsChangedFilesAgainAndForgetsTheLeastUsed) {
    const QString track = m_dir.filePath("t.mp3");
    TrackLengthCache cache;
    ASSERT_TRUE(WriteCbrMpeg(track, 185));
    EXPECT_EQ(cache.Lookup(track), 185u);
    ASSERT_TRUE(WriteCbrMpeg(track, 61));
    EXPECT_EQ(cache.Lookup(track), 61u);
    for (int i = 0; i < 2000; ++i) {
        cache.Lookup(m_dir.filePath(QString::number(i)));
        if (i % 100 == 0) cache.Lookup(track);  // still in use: kept
    }
    EXPECT_EQ(cache.Known(track), 61u);
    EXPECT_EQ(cache.Known(m_dir.filePath("0")), std::nullopt);
    EXPECT_EQ(cache.Known(m_dir.filePath("1999")), 0u);
}

// The program's output, or its errors after a "!" when it failed.
QString Execute(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    const bool ok =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok ? QString::fromUtf8(p.readAllStandardOutput()).trimmed()
              : "!" + QString::fromUtf8(p.readAllStandardError());
}

// Files from a real encoder (ffmpeg with LAME) measured against ffprobe: constant and
// variable bit rates, mono, MPEG-2 and MPEG-2.5 rates, cover pictures and ID3v1 tags.
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
