#include "media/mpeg_data.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <limits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Bit rates in kbit/s by bit-rate index 0..15; 0 (free format) and 15 are not usable.
using BitRateTable = std::array<std::uint16_t, 16>;
constexpr BitRateTable kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                                       256, 288, 320, 352, 384, 416, 448, 0};
constexpr BitRateTable kMpeg1Layer2 = {0,   32,  48,  56,  64,  80,  96,  112,
                                       128, 160, 192, 224, 256, 320, 384, 0};
constexpr BitRateTable kMpeg1Layer3 = {0,   32,  40,  48,  56,  64,  80,  96,
                                       112, 128, 160, 192, 224, 256, 320, 0};
constexpr BitRateTable kMpeg2Layer1 = {0,   32,  48,  56,  64,  80,  96,  112,
                                       128, 144, 160, 176, 192, 224, 256, 0};
constexpr BitRateTable kMpeg2Layer23 = {0,  8,  16, 24,  32,  40,  48,  56,
                                        64, 80, 96, 112, 128, 144, 160, 0};

// Sampling rates by version (1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5) and index 0..2.
constexpr std::uint32_t kSampleRates[3][3] = {
    {44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

// The first frame usually lies within a few KB of the audio start; the scan reads a
// small window first and doubles it up to the largest for files that need a long scan.
constexpr std::int64_t kFirstWindowBytes = 4 * 1024;
constexpr std::int64_t kLargestWindowBytes = 64 * 1024;
// Real files carry one or two tags; a longer chain is damage, and following it would
// cost a read for every ten bytes.
constexpr int kMostLeadingTags = 16;

std::uint32_t BigEndian32(const uchar* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

std::uint32_t ClampSeconds(std::uint64_t seconds) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(seconds, std::numeric_limits<std::uint32_t>::max()));
}

// Reads a file through one window, so the scan touches the disk once per window, and
// small reads elsewhere in the file do not disturb it.
class FileWindow {
public:
    FileWindow(QFile& file, std::int64_t end) : m_file(file), m_end(end) {}

    /// Makes the bytes from pos available at Data(); returns how many (0 at the end or on
    /// error). Bytes already in the window are served again without a read.
    std::int64_t LoadAt(std::int64_t pos) {
        if (pos >= m_start && pos + 4 <= m_start + m_bytes.size()) {
            m_offset = pos - m_start;
            return m_bytes.size() - m_offset;
        }
        // A jump elsewhere starts small again; a scan running on grows its window.
        if (pos != m_start + m_bytes.size() - 3) m_nextSize = kFirstWindowBytes;
        m_start = pos;
        m_offset = 0;
        m_bytes.clear();
        if (pos >= m_end || !m_file.seek(pos)) return 0;
        m_bytes = m_file.read(std::min(m_nextSize, m_end - pos));
        m_nextSize = std::min(m_nextSize * 2, kLargestWindowBytes);
        return m_bytes.size();
    }
    const uchar* Data() const {
        return reinterpret_cast<const uchar*>(m_bytes.constData()) + m_offset;
    }

    /// Copies n bytes at pos into out; false when they run past the end or cannot be read.
    bool Read(std::int64_t pos, uchar* out, std::int64_t n) {
        if (pos < 0 || n < 0 || pos + n > m_end) return false;
        if (pos >= m_start && pos + n <= m_start + m_bytes.size()) {
            std::copy_n(reinterpret_cast<const uchar*>(m_bytes.constData()) + (pos - m_start), n,
                        out);
            return true;
        }
        if (!m_file.seek(pos)) return false;
        return m_file.read(reinterpret_cast<char*>(out), n) == n;
    }

private:
    QFile& m_file;
    std::int64_t m_end;
    std::int64_t m_start = 0;
    std::int64_t m_offset = 0;
    std::int64_t m_nextSize = kFirstWindowBytes;
    QByteArray m_bytes;
};

// A leading ID3v2 tag: "ID3", version and revision below 0xFF, flags, and a size of
// four 7-bit bytes that counts the body; a footer (flag 0x10) adds ten more bytes.
// Some files carry more than one tag in a row.
std::int64_t SkipId3v2(FileWindow& window, std::int64_t end) {
    std::int64_t pos = 0;
    std::array<uchar, 10> head{};
    for (int tags = 0;
         tags < kMostLeadingTags && window.Read(pos, head.data(), 10) && head[0] == 'I' &&
         head[1] == 'D' && head[2] == '3' && head[3] != 0xFF && head[4] != 0xFF &&
         std::all_of(head.begin() + 6, head.end(), [](uchar b) { return b < 0x80; });
         ++tags) {
        const std::int64_t body = (std::int64_t{head[6]} << 21) | (std::int64_t{head[7]} << 14) |
                                  (std::int64_t{head[8]} << 7) | std::int64_t{head[9]};
        pos += 10 + body + ((head[5] & 0x10) != 0 ? 10 : 0);
        if (pos >= end) return end;
    }
    return pos;
}

// Where the Xing / Info tag sits: after the header and the side information, whose size
// depends on the version and on mono or not.
std::int64_t XingOffset(const TMPEGData& d) {
    if (d.Version == 1) return d.Mono ? 21 : 36;
    return d.Mono ? 13 : 21;
}

// Opens only a regular file (after links). Anything else - a FIFO that would wait for a
// writer, a device, a folder - stays closed. The open itself never waits: a file swapped
// for a FIFO between the look and the open is caught by the check of what was opened.
bool OpenRegularFile(const QString& path, QFile& file) {
    if (!QFileInfo(path).isFile()) return false;
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
#endif
}

}  // namespace

bool TMPEGData::IsValid() const {
    return Version > 0 && Layer > 0 && SampleRate > 0 && BitRate >= 1;
}

std::uint32_t TMPEGData::SamplesPerFrame() const {
    if (Layer == 1) return 384;
    if (Layer == 2) return 1152;
    if (Layer == 3) return Version == 1 ? 1152 : 576;
    return 0;
}

void TMPEGData::Reset() { *this = TMPEGData{}; }

bool TMPEGData::DecodeHeader(std::uint32_t h) {
    Version = 0;
    Layer = 0;
    SampleRate = 0;
    BitRate = 0;
    FrameLength = 0;
    Padding = false;
    Mono = false;
    if ((h & 0xFFE00000u) != 0xFFE00000u) return false;

    switch ((h >> 19) & 3) {
        case 0:
            Version = 3;
            break;
        case 2:
            Version = 2;
            break;
        case 3:
            Version = 1;
            break;
        default:
            return false;
    }
    Layer = static_cast<std::uint8_t>((4 - ((h >> 17) & 3)) & 3);
    const std::uint32_t rateIndex = (h >> 10) & 3;
    SampleRate = rateIndex < 3 ? kSampleRates[Version - 1][rateIndex] : 0;
    if (Layer != 0) {
        const BitRateTable& table = Version == 1 ? (Layer == 1   ? kMpeg1Layer1
                                                    : Layer == 2 ? kMpeg1Layer2
                                                                 : kMpeg1Layer3)
                                                 : (Layer == 1 ? kMpeg2Layer1 : kMpeg2Layer23);
        BitRate = table[(h >> 12) & 15];
    }
    Padding = ((h >> 9) & 1) != 0;
    Mono = ((h >> 6) & 3) == 3;

    Duration = BitRate != 0 ? ClampSeconds(static_cast<std::uint64_t>(FileLength) * 8 /
                                           (std::uint64_t{BitRate} * 1000))
                            : 0;
    if (SampleRate != 0 && BitRate != 0) {
        // Layer I counts in 4-byte slots; the others in bytes, the padding slot included.
        const std::uint64_t bitsPerSecond = std::uint64_t{BitRate} * 1000;
        const std::uint64_t pad = Padding ? 1 : 0;
        FrameLength = static_cast<std::uint32_t>(
            Layer == 1 ? (12 * bitsPerSecond / SampleRate + pad) * 4
                       : SamplesPerFrame() / 8 * bitsPerSecond / SampleRate + pad);
    }
    return IsValid();
}

void TMPEGData::ReadFromFile(const QString& path) {
    Reset();
    QFile file;
    if (!OpenRegularFile(path, file)) return;
    const std::int64_t size = file.size();
    if (size <= 5) return;
    FileLength = size;

    FileWindow window(file, size);
    window.LoadAt(0);
    const std::int64_t audioStart = SkipId3v2(window, size);
    std::int64_t audioEnd = size;
    std::array<uchar, 3> tag{};
    if (size - 128 >= audioStart && window.Read(size - 128, tag.data(), 3) && tag[0] == 'T' &&
        tag[1] == 'A' && tag[2] == 'G') {
        audioEnd = size - 128;
    }

    // A header counts as the first frame only when another header of the same stream
    // follows exactly one frame later: sync-looking bytes in a picture or in UTF-16 text
    // (FF FE) decode as valid headers often enough.
    const auto confirmed = [&](std::int64_t at) {
        std::array<uchar, 4> next{};
        TMPEGData following;
        return window.Read(at + FrameLength, next.data(), 4) &&
               following.DecodeHeader(BigEndian32(next.data())) && following.Version == Version &&
               following.Layer == Layer && following.SampleRate == SampleRate;
    };

    // A file without audio near its start is not searched to its end: a huge one would
    // hold the reader for minutes.
    const std::int64_t searchEnd = std::min(audioEnd, audioStart + kMostBytesBeforeFirstFrame);
    std::int64_t first = -1;
    for (std::int64_t pos = audioStart; first < 0 && pos + 4 <= searchEnd;) {
        const std::int64_t got = std::min(window.LoadAt(pos), searchEnd - pos);
        if (got < 4) break;
        const uchar* p = window.Data();
        for (std::int64_t i = 0; i + 4 <= got; ++i) {
            if (p[i] != 0xFF || (p[i + 1] & 0xE0) != 0xE0) continue;
            if (DecodeHeader(BigEndian32(p + i)) && confirmed(pos + i)) {
                first = pos + i;
                break;
            }
        }
        // The next window overlaps this one by three bytes, so no header is split.
        pos += got - 3;
    }
    if (first < 0 || !IsValid() || audioEnd - first - FrameLength <= 0) {
        Reset();
        FileLength = size;
        return;
    }

    const std::int64_t audioBytes = audioEnd - first;
    Duration =
        ClampSeconds(static_cast<std::uint64_t>(audioBytes) * 8 / (std::uint64_t{BitRate} * 1000));

    // A variable-bit-rate file names its frame count in a "Xing" tag ("Info" when the
    // encoder ran at a constant rate) inside the first frame; flag bit 0 says it is there.
    std::array<uchar, 12> xing{};
    if (!window.Read(first + XingOffset(*this), xing.data(), xing.size())) return;
    const bool magic = std::equal(xing.begin(), xing.begin() + 4, "Xing") ||
                       std::equal(xing.begin(), xing.begin() + 4, "Info");
    const std::uint32_t flags = BigEndian32(xing.data() + 4);
    const std::uint32_t frames = BigEndian32(xing.data() + 8);
    if (!magic || (flags & 1) == 0 || frames == 0) return;
    const std::uint64_t samples = std::uint64_t{frames} * SamplesPerFrame();
    const std::uint64_t averageBitRate =
        static_cast<std::uint64_t>(audioBytes) * 8 * SampleRate / (samples * 1000);
    if (averageBitRate == 0) return;  // a frame count the file cannot hold
    BitRate = static_cast<std::uint32_t>(averageBitRate);
    FrameLength = static_cast<std::uint32_t>(audioBytes / frames);
    Duration = ClampSeconds(samples / SampleRate);
}

std::uint32_t TrackLength(const QString& path) {
    TMPEGData data;
    data.ReadFromFile(path);
    return data.Duration;
}
