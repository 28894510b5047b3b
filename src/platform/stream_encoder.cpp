#include "platform/stream_encoder.h"

#include <lame/lame.h>
#include <vorbis/vorbisenc.h>

#include <QRandomGenerator>
#include <vector>

namespace {

class Mp3Encoder final : public StreamEncoder {
public:
    Mp3Encoder(int rate, int kbps) : m_lame(lame_init()) {
        lame_set_in_samplerate(m_lame, rate);
        lame_set_out_samplerate(m_lame, rate);
        lame_set_num_channels(m_lame, 2);
        lame_set_brate(m_lame, kbps);
        lame_set_mode(m_lame, JOINT_STEREO);
        // 5: LAME's own default for speed and sound; lower numbers cost twice the CPU for
        // what a stream's listeners do not hear.
        lame_set_quality(m_lame, 5);
        lame_init_params(m_lame);
    }
    ~Mp3Encoder() override { lame_close(m_lame); }
    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    QByteArray Begin(const QString&) override { return {}; }
    QByteArray Encode(const float* frames, int count) override {
        // LAME's own bound on what count frames can make.
        m_out.resize(size_t(count) * 5 / 4 + 7200);
        const int made = lame_encode_buffer_interleaved_ieee_float(m_lame, frames, count,
                                                                   m_out.data(), int(m_out.size()));
        return made > 0 ? QByteArray(reinterpret_cast<const char*>(m_out.data()), made)
                        : QByteArray();
    }
    QByteArray Retitle(const QString&) override { return {}; }
    bool TitleThroughServer() const override { return true; }

private:
    lame_global_flags* m_lame;
    std::vector<unsigned char> m_out;
};

class VorbisEncoder final : public StreamEncoder {
public:
    VorbisEncoder(int rate, int kbps) : m_rate(rate), m_kbps(kbps) {}
    ~VorbisEncoder() override { Clear(); }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    QByteArray Begin(const QString& title) override {
        vorbis_info_init(&m_info);
        vorbis_encode_init(&m_info, 2, m_rate, -1, m_kbps * 1000, -1);
        vorbis_comment_init(&m_comment);
        if (!title.isEmpty())
            vorbis_comment_add_tag(&m_comment, "TITLE", title.toUtf8().constData());
        vorbis_analysis_init(&m_dsp, &m_info);
        vorbis_block_init(&m_dsp, &m_block);
        ogg_stream_init(&m_ogg, int(QRandomGenerator::global()->generate() & 0x7fffffff));
        m_open = true;
        ogg_packet id, comments, books;
        vorbis_analysis_headerout(&m_dsp, &m_comment, &id, &comments, &books);
        ogg_stream_packetin(&m_ogg, &id);
        ogg_stream_packetin(&m_ogg, &comments);
        ogg_stream_packetin(&m_ogg, &books);
        // The headers stand on pages of their own, before any sound.
        QByteArray out;
        ogg_page page;
        while (ogg_stream_flush(&m_ogg, &page)) Append(out, page);
        return out;
    }
    QByteArray Encode(const float* frames, int count) override {
        float** buffer = vorbis_analysis_buffer(&m_dsp, count);
        for (int i = 0; i < count; ++i) {
            buffer[0][i] = frames[2 * i];
            buffer[1][i] = frames[2 * i + 1];
        }
        vorbis_analysis_wrote(&m_dsp, count);
        return Drain();
    }
    QByteArray Retitle(const QString& title) override {
        vorbis_analysis_wrote(&m_dsp, 0);
        QByteArray out = Drain();
        Clear();
        return out + Begin(title);
    }
    bool TitleThroughServer() const override { return false; }

private:
    QByteArray Drain() {
        QByteArray out;
        while (vorbis_analysis_blockout(&m_dsp, &m_block) == 1) {
            vorbis_analysis(&m_block, nullptr);
            vorbis_bitrate_addblock(&m_block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&m_dsp, &packet)) {
                ogg_stream_packetin(&m_ogg, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&m_ogg, &page)) Append(out, page);
            }
        }
        return out;
    }
    static void Append(QByteArray& out, const ogg_page& page) {
        out.append(reinterpret_cast<const char*>(page.header), page.header_len);
        out.append(reinterpret_cast<const char*>(page.body), page.body_len);
    }
    void Clear() {
        if (!m_open) return;
        ogg_stream_clear(&m_ogg);
        vorbis_block_clear(&m_block);
        vorbis_dsp_clear(&m_dsp);
        vorbis_comment_clear(&m_comment);
        vorbis_info_clear(&m_info);
        m_open = false;
    }

    int m_rate, m_kbps;
    bool m_open = false;
    vorbis_info m_info{};
    vorbis_comment m_comment{};
    vorbis_dsp_state m_dsp{};
    vorbis_block m_block{};
    ogg_stream_state m_ogg{};
};

}  // namespace

std::unique_ptr<StreamEncoder> StreamEncoder::Mp3(int rate, int kbps) {
    return std::make_unique<Mp3Encoder>(rate, kbps);
}

std::unique_ptr<StreamEncoder> StreamEncoder::Vorbis(int rate, int kbps) {
    return std::make_unique<VorbisEncoder>(rate, kbps);
}
