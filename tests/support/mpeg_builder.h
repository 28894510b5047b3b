#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

/// MPEG audio files for tests: real consecutive frame headers (padding as an encoder
/// spreads it), silent frame bodies, and optional ID3v2 / ID3v1 tags and a Xing tag.
/// The tables here are written out independently of the reader under test.

/// One stream's frame format.
struct MpegFormat {
    int version = 1;  ///< 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
    int layer = 3;
    int bitRate = 128;  ///< kbit/s
    int sampleRate = 44100;
    bool mono = false;
};

/// A whole file: [ID3v2][frames][ID3v1].
struct MpegFileLayout {
    MpegFormat format;
    std::int64_t audioBytes = 0;  ///< bytes of frames; the last frame is cut short to fit
    int id3v2Bytes = 0;           ///< whole size of a leading ID3v2 tag (>= 10), 0 for none
    bool id3v2Footer = false;     ///< the tag declares a footer (10 more bytes)
    QByteArray id3v2Payload;      ///< bytes placed at the start of the tag's body
    bool id3v1 = false;           ///< a trailing 128-byte "TAG" record
    int xingFrames = -1;  ///< >= 0: the first frame carries a Xing tag with this frame count
    QByteArray xingMagic = "Xing";
};

/// Consecutive frames filling exactly `bytes` bytes (the last frame cut short).
QByteArray MpegFrames(const MpegFormat& f, std::int64_t bytes);
/// The whole file's bytes.
QByteArray BuildMpegFile(const MpegFileLayout& layout);
/// Writes BuildMpegFile(layout) to path; false when the file cannot be written.
bool WriteMpegFile(const QString& path, const MpegFileLayout& layout);

/// Writes an MPEG-1 Layer III, 128 kbit/s, 44.1 kHz stereo file of exactly `seconds`
/// seconds (16 000 bytes a second), whose TrackLength is `seconds`. False on a write error.
bool WriteCbrMpeg(const QString& path, int seconds);
