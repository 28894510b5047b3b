#include "platform/pulse_air_listener.h"

#include <pulse/pulseaudio.h>

#include <QByteArray>
#include <QDateTime>
#include <algorithm>
#include <cmath>

#include "base/thread_handoff.h"
#include "platform/pulse_held_loop.h"

namespace {

// 8 kHz by default: the meters and the silence need levels, not the sound, and at this rate a
// window of 10 ms is 80 whole frames and the meter reads a sixth of what 48 kHz would bring. The
// server's resampler cuts what lies above 4 kHz: the RMS of programme hardly feels it, the
// peaks of cymbals read a little low.
constexpr size_t kFrameBytes = 2 * sizeof(float);
// Blocks of 40 ms, asked as the source's latency too: the meters are about that late (25
// readings a second), and the output the decks play to renders no further ahead than that.
// A monitor hands its frames over once its output can no longer take them back, and when a
// stream comes (a deck's next file) the output takes back all it rendered ahead to mix it
// in: with a lazy output (up to 2 s ahead when nobody asks for less) the monitor would lose
// that much of each start, and hear the air in bursts. Not less: the server then mixes
// everything in steps that short, and at 20 ms it spends about 1.3 % of a core on it.
constexpr pa_usec_t kFragmentUsec = 40 * PA_USEC_PER_MSEC;
// A server that is there answers in milliseconds; without one the connection fails at once.
constexpr pa_usec_t kStartWaitUsec = 2 * PA_USEC_PER_SEC;
constexpr pa_usec_t kReconnectUsec = PA_USEC_PER_SEC;
// Longer than the longest step of an output, so that every stretch has a frame that came
// as it was played.
constexpr double kBoundsMs = 3'000;
constexpr char kName[] = "stavox-air";
// The monitor of the default output, followed when the default changes.
constexpr char kDefaultMonitor[] = "@DEFAULT_MONITOR@";

}  // namespace

// Everything here is touched with the loop's lock held (by the loop's own thread in the
// callbacks, by the caller's in Start), or once the loop's thread is over (in Stop).
struct PulseAirListener::Server {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    pa_time_event* timer = nullptr;  // the start's time limit, later the next look for the server
    QByteArray source;               // empty: the default output's monitor
    Take take;
    int rate = 0;
    bool starting = false;   // Start waits for the first answer
    bool answered = false;   // the recording runs, or error tells why not
    bool listening = false;  // started: a loss is looked after
    QString error;
    // The frames of the present stream, and the bounds of its first one's time (ms since the
    // epoch) over the present stretch of kBoundsMs and the one before.
    qint64 frames = 0;
    double latestBoundMs = HUGE_VAL, earlierBoundMs = HUGE_VAL, boundsTurnMs = 0;

    void Connect();
    void Record();
    void Drop();
    void Failed(const QString& message);
    void Read();
    void Later(pa_usec_t usec);
    void CancelTimer();
    QString Reason() const {
        return QString::fromUtf8(pa_strerror(context ? pa_context_errno(context) : PA_ERR_UNKNOWN));
    }
};

// At the start the failure is Start's answer; later the server is looked for again.
void PulseAirListener::Server::Failed(const QString& message) {
    if (starting) {
        if (answered) return;
        answered = true;
        error = message;
        pa_threaded_mainloop_signal(loop, 0);
    } else if (listening) {
        Later(kReconnectUsec);
    }
}

void PulseAirListener::Server::Later(pa_usec_t usec) {
    if (timer) return;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
    timeval when;
    pa_timeval_add(pa_gettimeofday(&when), usec);
    timer = api->time_new(
        api, &when,
        [](pa_mainloop_api* a, pa_time_event* e, const timeval*, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            a->time_free(e);
            self->timer = nullptr;
            if (self->starting)
                self->Failed(QStringLiteral("The air cannot be heard: the sound server did not "
                                            "answer within %1 s.")
                                 .arg(kStartWaitUsec / PA_USEC_PER_SEC));
            else if (self->listening)
                self->Connect();
        },
        this);
}

void PulseAirListener::Server::CancelTimer() {
    if (!timer) return;
    pa_threaded_mainloop_get_api(loop)->time_free(timer);
    timer = nullptr;
}

void PulseAirListener::Server::Drop() {
    if (stream) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
    if (context) {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
}

void PulseAirListener::Server::Connect() {
    Drop();
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, kName);
    context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop), kName, props);
    pa_proplist_free(props);
    pa_context_set_state_callback(
        context,
        [](pa_context* c, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            switch (pa_context_get_state(c)) {
                case PA_CONTEXT_READY:
                    self->Record();
                    break;
                case PA_CONTEXT_FAILED:
                case PA_CONTEXT_TERMINATED:
                    self->Failed(QStringLiteral("The air cannot be heard: no sound server (%1).")
                                     .arg(self->Reason()));
                    break;
                default:
                    break;
            }
        },
        this);
    // Never start a server of our own: the air is what the desktop's server plays.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        Failed(QStringLiteral("The air cannot be heard: no sound server (%1).").arg(Reason()));
}

void PulseAirListener::Server::Record() {
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, uint32_t(rate), 2};
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_MEDIA_NAME, kName);
    stream = pa_stream_new_with_proplist(context, kName, &format, &map, props);
    frames = 0;
    latestBoundMs = earlierBoundMs = HUGE_VAL;
    boundsTurnMs = 0;
    pa_proplist_free(props);
    if (!stream) return Failed(QStringLiteral("The air cannot be heard: %1").arg(Reason()));
    pa_stream_set_state_callback(
        stream,
        [](pa_stream* st, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            switch (pa_stream_get_state(st)) {
                case PA_STREAM_READY:
                    if (self->starting && !self->answered) {
                        self->answered = true;
                        pa_threaded_mainloop_signal(self->loop, 0);
                    }
                    break;
                case PA_STREAM_FAILED:
                case PA_STREAM_TERMINATED:
                    if (pa_context_errno(self->context) != PA_ERR_NOENTITY)
                        self->Failed(
                            QStringLiteral("The air cannot be heard: %1").arg(self->Reason()));
                    else if (self->source == kDefaultMonitor)
                        self->Failed(
                            QStringLiteral("The air cannot be heard: the sound server has no "
                                           "output to listen to."));
                    else
                        self->Failed(QStringLiteral("The air cannot be heard: the sound server has "
                                                    "no source \"%1\" (MonitorSource).")
                                         .arg(QString::fromUtf8(self->source)));
                    break;
                default:
                    break;
            }
        },
        this);
    pa_stream_set_read_callback(
        stream,
        [](pa_stream*, size_t, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            self->Read();
        },
        this);
    pa_buffer_attr attr;
    attr.maxlength = attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(pa_usec_to_bytes(kFragmentUsec, &format));
    if (pa_stream_connect_record(stream, source.constData(), &attr, PA_STREAM_ADJUST_LATENCY) < 0)
        Failed(QStringLiteral("The air cannot be heard: %1").arg(Reason()));
}

// A monitor hands its frames over about when they are played (see kFragmentUsec), in
// bursts as far apart as its output's steps. So a frame is played by the time it comes at
// the latest, and as frames follow each other at the rate, the frame that came soonest
// after its playing times them all: the time of the first frame is the lowest such bound
// of the last few seconds (forgetting older ones follows the sound card's clock as it
// drifts from ours). The stream's own latency misses what the monitor holds back.
void PulseAirListener::Server::Read() {
    const double nowMs = double(QDateTime::currentMSecsSinceEpoch());
    const size_t readable = pa_stream_readable_size(stream);
    if (readable == size_t(-1)) return;
    const auto waiting = qint64(readable / kFrameBytes);
    if (nowMs >= boundsTurnMs) {
        earlierBoundMs = latestBoundMs;
        latestBoundMs = HUGE_VAL;
        boundsTurnMs = nowMs + kBoundsMs;
    }
    latestBoundMs = std::min(latestBoundMs, nowMs - double(frames + waiting) * 1000.0 / rate);
    const double firstMs = std::min(earlierBoundMs, latestBoundMs);
    for (;;) {
        const void* data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
        const int count = int(bytes / kFrameBytes);
        // A hole (no data) is what the server lost: its time passes unheard.
        if (data && count > 0)
            take(static_cast<const float*>(data), count,
                 std::llround(firstMs + double(frames) * 1000.0 / rate));
        frames += count;
        pa_stream_drop(stream);
    }
}

PulseAirListener::PulseAirListener(int rate) : m_server(std::make_unique<Server>()) {
    m_server->rate = rate;
}

PulseAirListener::~PulseAirListener() { Stop(); }

Result PulseAirListener::Start(const QString& source, Take take) {
    Stop();
    Server& s = *m_server;
    s.loop = pa_threaded_mainloop_new();
    if (s.loop) pa_threaded_mainloop_set_name(s.loop, kName);  // for top and the benchmark
    if (!s.loop || pa_threaded_mainloop_start(s.loop) < 0) {
        if (s.loop) pa_threaded_mainloop_free(s.loop);
        s.loop = nullptr;
        return Result::Error(
            QStringLiteral("The air cannot be heard: its sound thread does not start."));
    }
    pa_threaded_mainloop_lock(s.loop);
    HandOff::Take(&s);
    s.source = source.isEmpty() ? QByteArray(kDefaultMonitor) : source.toUtf8();
    s.take = std::move(take);
    s.starting = true;
    s.answered = false;
    s.error.clear();
    s.Later(kStartWaitUsec);
    s.Connect();
    while (!s.answered) {
        HandOff::Give(&s);
        pa_threaded_mainloop_wait(s.loop);
        HandOff::Take(&s);
    }
    s.starting = false;
    s.CancelTimer();
    const QString error = s.error;
    s.listening = error.isEmpty();
    HandOff::Give(&s);
    pa_threaded_mainloop_unlock(s.loop);
    if (error.isEmpty()) return Result::Ok();
    Stop();
    return Result::Error(error);
}

void PulseAirListener::Stop() {
    Server& s = *m_server;
    if (!s.loop) return;
    pa_threaded_mainloop_stop(s.loop);  // its thread is over: nothing is called back from here
    HandOff::Take(&s);
    s.listening = false;
    s.CancelTimer();
    s.Drop();
    pa_threaded_mainloop_free(s.loop);
    s.loop = nullptr;
    s.take = nullptr;
}

int PulseAirListener::Rate() const { return m_server->rate; }
