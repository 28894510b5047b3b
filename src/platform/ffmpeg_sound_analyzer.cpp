#include "platform/ffmpeg_sound_analyzer.h"

#include <ebur128.h>

#include <QFile>
#include <cmath>
#include <memory>
#include <vector>

#include "media/sound_edges.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct ResamplerFreer {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct MeterFreer {
    void operator()(ebur128_state* m) const { ebur128_destroy(&m); }
};

QString FfmpegError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

ReadResult<SoundAnalysis> Failed(const QString& path, const QString& why) {
    ReadResult<SoundAnalysis> failed;
    static_cast<Result&>(failed) =
        Result::Error(QStringLiteral("%1 cannot be analysed: %2").arg(path, why));
    return failed;
}

double Decibels(double linear) { return linear > 0 ? 20 * std::log10(linear) : -HUGE_VAL; }

// One file's decoder, converter to float samples, and the meters they feed.
class Decoding {
public:
    explicit Decoding(const std::atomic<bool>* stop) : m_stop(stop) {}

    QString Open(const QString& path) {
        AVFormatContext* format = avformat_alloc_context();
        if (!format) return QStringLiteral("out of memory");
        // A read that blocks on a slow share gives up as soon as the station stops it.
        format->interrupt_callback = {&Decoding::Stopped, this};
        if (const int e =
                avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr);
            e < 0)
            return FfmpegError(e);
        m_format.reset(format);
        if (const int e = avformat_find_stream_info(format, nullptr); e < 0) return FfmpegError(e);
        const AVCodec* codec = nullptr;
        m_stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
        if (m_stream < 0 || !codec) return QStringLiteral("it holds no audio");
        m_codec.reset(avcodec_alloc_context3(codec));
        if (!m_codec ||
            avcodec_parameters_to_context(m_codec.get(), format->streams[m_stream]->codecpar) < 0 ||
            avcodec_open2(m_codec.get(), codec, nullptr) < 0)
            return QStringLiteral("its audio cannot be decoded");
        return OpenMeters();
    }

    // Decodes the whole stream; an error when no audio came out of it.
    QString Run() {
        std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
        m_frame.reset(av_frame_alloc());
        if (!packet || !m_frame) return QStringLiteral("out of memory");
        while (av_read_frame(m_format.get(), packet.get()) >= 0) {
            if (Stopped(this)) return QStringLiteral("stopped");
            // A damaged packet is skipped, as a player skips it.
            if (packet->stream_index == m_stream &&
                avcodec_send_packet(m_codec.get(), packet.get()) >= 0)
                Drain();
            av_packet_unref(packet.get());
        }
        avcodec_send_packet(m_codec.get(), nullptr);
        Drain();
        return m_frames > 0 ? QString() : QStringLiteral("no audio could be decoded");
    }

    SoundAnalysis Analysis() const {
        SoundAnalysis a;
        double loudness = -HUGE_VAL;
        ebur128_loudness_global(m_meter.get(), &loudness);
        double peak = 0;
        for (int c = 0; c < m_channels; ++c) {
            double channelPeak = 0;
            if (ebur128_true_peak(m_meter.get(), unsigned(c), &channelPeak) == EBUR128_SUCCESS)
                peak = std::max(peak, channelPeak);
        }
        a.loudnessLufs = loudness;
        a.truePeakDb = Decibels(peak);
        a.soundFound = m_edges->Found() && std::isfinite(loudness);
        a.startSec = m_edges->StartSec();
        a.endSec = m_edges->EndSec();
        a.lengthSec = double(m_frames) / m_rate;
        return a;
    }

private:
    static int Stopped(void* decoding) {
        const std::atomic<bool>* stop = static_cast<Decoding*>(decoding)->m_stop;
        return stop && stop->load(std::memory_order_relaxed) ? 1 : 0;
    }

    QString OpenMeters() {
        AVCodecContext* c = m_codec.get();
        m_channels = c->ch_layout.nb_channels;
        m_rate = c->sample_rate;
        if (m_channels <= 0 || m_rate <= 0)
            return QStringLiteral("its audio has no channels or rate");
        AVChannelLayout layout{};
        av_channel_layout_default(&layout, m_channels);
        SwrContext* resampler = nullptr;
        AVChannelLayout* in =
            c->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ? &layout : &c->ch_layout;
        if (swr_alloc_set_opts2(&resampler, &layout, AV_SAMPLE_FMT_FLT, m_rate, in, c->sample_fmt,
                                m_rate, 0, nullptr) < 0)
            return QStringLiteral("its samples cannot be converted");
        m_resampler.reset(resampler);
        if (swr_init(resampler) < 0) return QStringLiteral("its samples cannot be converted");
        m_meter.reset(ebur128_init(unsigned(m_channels), unsigned(m_rate),
                                   EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK));
        if (!m_meter) return QStringLiteral("its audio cannot be measured");
        m_edges = std::make_unique<SoundEdges>(m_rate);
        return {};
    }

    void Drain() {
        while (avcodec_receive_frame(m_codec.get(), m_frame.get()) == 0) {
            const int most = swr_get_out_samples(m_resampler.get(), m_frame->nb_samples);
            m_samples.resize(std::size_t(std::max(most, 0)) * std::size_t(m_channels));
            auto* out = reinterpret_cast<std::uint8_t*>(m_samples.data());
            const int got = swr_convert(m_resampler.get(), &out, most,
                                        const_cast<const std::uint8_t**>(m_frame->extended_data),
                                        m_frame->nb_samples);
            av_frame_unref(m_frame.get());
            if (got <= 0) continue;
            ebur128_add_frames_float(m_meter.get(), m_samples.data(), std::size_t(got));
            m_edges->Add(m_samples.data(), got, m_channels);
            m_frames += got;
        }
    }

    const std::atomic<bool>* m_stop;
    std::unique_ptr<AVFormatContext, FormatCloser> m_format;
    std::unique_ptr<AVCodecContext, CodecFreer> m_codec;
    std::unique_ptr<SwrContext, ResamplerFreer> m_resampler;
    std::unique_ptr<AVFrame, FrameFreer> m_frame;
    std::unique_ptr<ebur128_state, MeterFreer> m_meter;
    std::unique_ptr<SoundEdges> m_edges;
    std::vector<float> m_samples;
    int m_stream = -1, m_channels = 0, m_rate = 0;
    std::int64_t m_frames = 0;
};

}  // namespace

FfmpegSoundAnalyzer::FfmpegSoundAnalyzer() { av_log_set_level(AV_LOG_QUIET); }

ReadResult<SoundAnalysis> FfmpegSoundAnalyzer::Analyze(const QString& path,
                                                       const std::atomic<bool>* stop) const {
    Decoding decoding(stop);
    if (const QString why = decoding.Open(path); !why.isEmpty()) return Failed(path, why);
    if (const QString why = decoding.Run(); !why.isEmpty()) return Failed(path, why);
    ReadResult<SoundAnalysis> done;
    done.value = decoding.Analysis();
    return done;
}
