#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

/// Interleaved stereo float frames to the bytes of a stream: MP3 (LAME) or Ogg Vorbis
/// (libvorbis). Made anew for each connection, so that a listener's decoder starts clean.
class StreamEncoder {
public:
    virtual ~StreamEncoder() = default;
    /// What a stream starts with (Ogg's headers; nothing for MP3).
    virtual QByteArray Begin(const QString& title) = 0;
    virtual QByteArray Encode(const float* frames, int count) = 0;
    /// Ogg ends its logical stream and starts one whose comments carry the title; MP3 has
    /// nothing to say in the sound.
    virtual QByteArray Retitle(const QString& title) = 0;
    /// Whether the title goes to the server apart from the sound (MP3).
    virtual bool TitleThroughServer() const = 0;

    static std::unique_ptr<StreamEncoder> Mp3(int rate, int kbps);
    static std::unique_ptr<StreamEncoder> Vorbis(int rate, int kbps);
};
