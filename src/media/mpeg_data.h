#pragma once

#include <QString>
#include <cstdint>

/// How far past the leading tags the reader looks for the first frame header; a file with
/// no audio that near its start reads as headerless, however large it is.
constexpr std::int64_t kMostBytesBeforeFirstFrame = 4 * 1024 * 1024;

/// What the first frame of an MPEG audio file tells, and the playing time it gives.
/// All sizes and times are 64-bit or unsigned 32-bit, so files of several GiB and
/// lengths beyond 18 hours come out right.
struct TMPEGData {
    std::uint32_t Duration = 0;     ///< playing time in whole seconds
    std::int64_t FileLength = 0;    ///< size of the file in bytes
    std::uint8_t Version = 0;       ///< 0 unknown, 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
    std::uint8_t Layer = 0;         ///< 0 unknown, 1, 2 or 3
    std::uint32_t SampleRate = 0;   ///< Hz
    std::uint32_t BitRate = 0;      ///< kbit/s; the average for a Xing file
    std::uint32_t FrameLength = 0;  ///< bytes of the first frame; the average for a Xing file
    bool Padding = false;           ///< the first frame carries the padding slot
    bool Mono = false;              ///< single-channel mode

    /// Version, layer, sampling rate and bit rate are all known.
    bool IsValid() const;
    /// Samples one frame of this version and layer carries (0 when unknown).
    std::uint32_t SamplesPerFrame() const;

    /// Decodes the header word h (the four header bytes as a big-endian number) into the
    /// record; true when it is a valid header. Free-format and reserved indexes are invalid.
    bool DecodeHeader(std::uint32_t h);

    /// Fills the record from a file: skips leading ID3v2 tags, leaves a trailing ID3v1 tag
    /// out, takes the first header followed by a second one a frame later, and reads a
    /// "Xing" / "Info" tag for the length of a variable-bit-rate file. A missing, unreadable
    /// or headerless file leaves everything 0 except FileLength. Only a regular file is
    /// opened, never waiting (a FIFO, a device or a folder reads as missing), and only
    /// its first kMostBytesBeforeFirstFrame bytes of audio are searched, a window at a time.
    void ReadFromFile(const QString& path);

    /// Clears every field.
    void Reset();
};

/// Length of an MPEG audio file in whole seconds, 0 when the file is missing, not a
/// regular file, unreadable or holds no frame header near its start.
std::uint32_t TrackLength(const QString& path);
