#include "support/mpeg_builder.h"

#include <QSaveFile>
#include <algorithm>
#include <array>

namespace {

// Bit rates by index for the layers and versions the tests build: MPEG-1 Layer III and
// MPEG-2 / 2.5 Layer III (MPEG-1 Layer I's are 32 kbit/s times the index).
constexpr std::array<int, 15> kV1L3 = {0,   32,  40,  48,  56,  64,  80, 96,
                                       112, 128, 160, 192, 224, 256, 320};
constexpr std::array<int, 15> kV2L3 = {0,  8,  16, 24,  32,  40,  48, 56,
                                       64, 80, 96, 112, 128, 144, 160};

int BitRateIndex(const MpegFormat& f) {
    const bool layer1 = f.version == 1 && f.layer == 1;
    if (layer1) return f.bitRate % 32 || f.bitRate < 32 || f.bitRate > 448 ? 15 : f.bitRate / 32;
    const auto& table = f.version == 1 ? kV1L3 : kV2L3;
    const auto it = std::find(table.begin() + 1, table.end(), f.bitRate);
    return it == table.end() ? 15 : static_cast<int>(it - table.begin());
}

int SampleRateIndex(const MpegFormat& f) {
    static constexpr int kRates[3][3] = {
        {44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
    const int* rates = kRates[std::clamp(f.version, 1, 3) - 1];
    return static_cast<int>(std::find(rates, rates + 3, f.sampleRate) - rates);
}

int MpegSamplesPerFrame(const MpegFormat& f) {
    if (f.layer == 1) return 384;
    return f.version == 1 ? 1152 : 576;
}

// An unknown bit rate or sampling rate gives index 15 / 3, which a reader must reject.
std::uint32_t MpegHeaderWord(const MpegFormat& f, bool padding) {
    const std::uint32_t versionBits = f.version == 1 ? 3 : f.version == 2 ? 2 : 0;
    const std::uint32_t layerBits = static_cast<std::uint32_t>(4 - f.layer) & 3;
    return 0xFFE00000u | versionBits << 19 | layerBits << 17 | 1u << 16 /* no CRC */ |
           static_cast<std::uint32_t>(BitRateIndex(f)) << 12 |
           static_cast<std::uint32_t>(SampleRateIndex(f)) << 10 | (padding ? 1u : 0u) << 9 |
           (f.mono ? 3u : 0u) << 6;
}

// An encoder spreads the fractional slot of each frame over the stream: frame i gets
// floor((i+1)·n) − floor(i·n) slots, n = slots per frame as an exact fraction.
struct SlotRate {
    std::int64_t num;
    std::int64_t den;
    int slotBytes;
};

SlotRate Slots(const MpegFormat& f) {
    const int slotBytes = f.layer == 1 ? 4 : 1;
    return {std::int64_t{MpegSamplesPerFrame(f)} * f.bitRate * 1000,
            std::int64_t{8} * f.sampleRate * slotBytes, slotBytes};
}

int XingOffset(const MpegFormat& f) {
    if (f.version == 1) return f.mono ? 21 : 36;
    return f.mono ? 13 : 21;
}

void PutBigEndian(QByteArray& b, qsizetype at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        if (at + i < b.size()) b[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

QByteArray Id3v2Tag(const MpegFileLayout& layout) {
    const int body = std::max(0, layout.id3v2Bytes - (layout.id3v2Footer ? 20 : 10));
    QByteArray head("ID3\x03\x00", 5);
    head.append(layout.id3v2Footer ? '\x10' : '\0');
    for (int shift = 21; shift >= 0; shift -= 7) head.append(char((body >> shift) & 0x7F));
    const QByteArray footer = layout.id3v2Footer ? "3DI" + head.mid(3) : QByteArray();
    return head + layout.id3v2Payload.left(body).leftJustified(body, '\0') + footer;
}

int MpegFrameBytes(const MpegFormat& f, bool padding) {
    const SlotRate s = Slots(f);
    return static_cast<int>((s.num / s.den + (padding ? 1 : 0)) * s.slotBytes);
}

}  // namespace

QByteArray MpegFrames(const MpegFormat& f, std::int64_t bytes) {
    const SlotRate s = Slots(f);
    QByteArray out(static_cast<qsizetype>(std::max<std::int64_t>(0, bytes)), '\0');
    std::int64_t at = 0;
    for (std::int64_t i = 0; at < bytes; ++i) {
        const std::int64_t slots = ((i + 1) * s.num) / s.den - (i * s.num) / s.den;
        const bool padding = slots > s.num / s.den;
        PutBigEndian(out, static_cast<qsizetype>(at), MpegHeaderWord(f, padding));
        at += slots * s.slotBytes;
    }
    return out;
}

QByteArray BuildMpegFile(const MpegFileLayout& layout) {
    QByteArray file = layout.id3v2Bytes > 0 ? Id3v2Tag(layout) : QByteArray();
    const qsizetype audioStart = file.size();
    file.append(MpegFrames(layout.format, layout.audioBytes));
    if (layout.xingFrames >= 0) {
        // The tag lives inside the first frame; whatever does not fit that frame is left out.
        const int frameEnd = static_cast<int>(
            std::min<std::int64_t>(layout.audioBytes, MpegFrameBytes(layout.format, false)));
        QByteArray xing = layout.xingMagic.left(4) + QByteArray(12, '\0');
        PutBigEndian(xing, 4, 0x03);  // a frame count and a byte count follow
        PutBigEndian(xing, 8, static_cast<std::uint32_t>(layout.xingFrames));
        PutBigEndian(xing, 12, static_cast<std::uint32_t>(layout.audioBytes));
        const int at = XingOffset(layout.format);
        const int fits = std::max(0, std::min<int>(xing.size(), frameEnd - at));
        file.replace(audioStart + at, fits, xing.left(fits));
    }
    if (layout.id3v1) file.append(QByteArray("TAGSong title").leftJustified(128, '\0'));
    return file;
}

bool WriteMpegFile(const QString& path, const MpegFileLayout& layout) {
    const QByteArray bytes = BuildMpegFile(layout);
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

bool WriteCbrMpeg(const QString& path, int seconds) {
    MpegFileLayout layout;
    layout.audioBytes = std::int64_t{std::max(0, seconds)} * 16000;  // 128 kbit/s
    return WriteMpegFile(path, layout);
}
