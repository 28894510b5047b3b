#include "platform/pulse_line_in_control.h"

#include <pulse/pulseaudio.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <cstring>

#include "base/thread_handoff.h"
#include "platform/pulse_held_loop.h"

namespace {

// Marks our loopback, so that one left behind by a station that died is taken away.
constexpr char kMarker[] = "stavox-line-in";
constexpr pa_usec_t kRetryUsec = PA_USEC_PER_SEC / 2;
constexpr int kCloseWaitMs = 1'000;

}  // namespace

// Everything here is touched with the loop's lock held: by the loop's own thread in the
// callbacks, by the station's thread in the control's calls.
struct PulseLineInControl::Server {
    PulseLineInControl* owner = nullptr;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_time_event* retry = nullptr;
    QByteArray source;  // as the operator named it; empty for the server's default
    int level = 0;
    bool open = false;
    bool routing = false;    // a load is under way
    bool told = false;       // the present trouble was told; the next one waits for a success
    bool connected = false;  // the present context reached the server
    bool lost = false;       // the server went away under a working context: tell its return
    uint32_t module = PA_INVALID_INDEX;
    uint32_t sinkInput = PA_INVALID_INDEX;
    uint8_t channels = 2;

    void Connect();
    void Drop();
    void Route();
    void CheckSource(const char* name);
    void Load(const char* name);
    void ApplyLevel();
    void Fail(const QString& message);
    void Tell(const QString& message);
    void ServerGone();
    void Routed(uint32_t index, uint8_t channelCount);
    void RetryLater();
    bool Ready() const { return context && pa_context_get_state(context) == PA_CONTEXT_READY; }
    QString Reason() const {
        return QString::fromUtf8(pa_strerror(context ? pa_context_errno(context) : PA_ERR_UNKNOWN));
    }
    // One-shot operations whose answer nobody waits for.
    static void Forget(pa_operation* op) {
        if (op) pa_operation_unref(op);
    }
};

void PulseLineInControl::Server::Fail(const QString& message) {
    routing = false;
    RetryLater();
    if (told) return;
    told = true;
    Tell(message);
}

void PulseLineInControl::Server::Tell(const QString& message) {
    // Told on the station's thread; dropped if the control is gone by then.
    PulseLineInControl* target = owner;
    QMetaObject::invokeMethod(target,
                              HandOff::Wrap([target, message] { Q_EMIT target->Problem(message); }),
                              Qt::QueuedConnection);
}

// The server went away with our loopback; a new one gets a new route, with the level the
// line has then. A server lost after it worked is news even when trouble was told before.
void PulseLineInControl::Server::ServerGone() {
    module = sinkInput = PA_INVALID_INDEX;
    if (connected) {
        connected = false;
        lost = true;
        told = false;
        return Fail(QStringLiteral("Sound server lost: the line input waits for it to come "
                                   "back (%1). The deck fades work without it.")
                        .arg(Reason()));
    }
    Fail(QStringLiteral("The line input has no sound server: %1. The deck fades work without it.")
             .arg(Reason()));
}

void PulseLineInControl::Server::Routed(uint32_t index, uint8_t channelCount) {
    sinkInput = index;
    channels = channelCount ? channelCount : 2;
    told = false;
    ApplyLevel();
    if (!lost || !open) return;  // a routing answered after Close is no news
    lost = false;
    Tell(QStringLiteral("Sound server back: the line input is routed again."));
}

void PulseLineInControl::Server::RetryLater() {
    if (retry || !open) return;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
    timeval when;
    pa_timeval_add(pa_gettimeofday(&when), kRetryUsec);
    retry = api->time_new(
        api, &when,
        [](pa_mainloop_api* a, pa_time_event* e, const timeval*, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            a->time_free(e);
            self->retry = nullptr;
            if (!self->open) return;
            if (self->Ready())
                self->Route();
            else
                self->Connect();
        },
        this);
}

void PulseLineInControl::Server::Drop() {
    if (!context) return;
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
    context = nullptr;
    connected = false;
    module = sinkInput = PA_INVALID_INDEX;
}

void PulseLineInControl::Server::Connect() {
    Drop();
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, kMarker);
    context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop), kMarker, props);
    pa_proplist_free(props);
    pa_context_set_state_callback(
        context,
        [](pa_context* c, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            switch (pa_context_get_state(c)) {
                case PA_CONTEXT_READY:
                    self->connected = true;
                    self->Route();
                    break;
                case PA_CONTEXT_FAILED:
                case PA_CONTEXT_TERMINATED:
                    self->ServerGone();
                    break;
                default:
                    break;
            }
        },
        this);
    // Never start a server of our own: the station uses the one the desktop runs.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        Fail(QStringLiteral("The line input has no sound server: %1. The deck fades work "
                            "without it.")
                 .arg(Reason()));
}

void PulseLineInControl::Server::Route() {
    if (!open || routing || module != PA_INVALID_INDEX) return;
    routing = true;
    // First take away a loopback of ours that a station which died left behind.
    Forget(pa_context_get_module_info_list(
        context,
        [](pa_context* c, const pa_module_info* info, int eol, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            if (eol < 0)
                return self->Fail(
                    QStringLiteral("The line input cannot be routed: %1").arg(self->Reason()));
            if (!eol) {
                if (qstrcmp(info->name, "module-loopback") == 0 && info->argument &&
                    strstr(info->argument, kMarker))
                    Forget(pa_context_unload_module(c, info->index, nullptr, nullptr));
                return;
            }
            if (!self->source.isEmpty()) return self->CheckSource(self->source.constData());
            Forget(pa_context_get_server_info(
                c,
                [](pa_context*, const pa_server_info* server, void* d) {
                    auto* s = static_cast<Server*>(d);
                    const HeldLoop heldToo(s);
                    if (!server || !server->default_source_name || !*server->default_source_name)
                        return s->Fail(QStringLiteral(
                            "The sound server has no input for the line input. The deck fades "
                            "work without it."));
                    s->CheckSource(server->default_source_name);
                },
                self));
        },
        this));
}

void PulseLineInControl::Server::CheckSource(const char* name) {
    Forget(pa_context_get_source_info_by_name(
        context, name,
        [](pa_context*, const pa_source_info* info, int eol, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            if (eol < 0)
                return self->Fail(
                    QStringLiteral("The sound server has no input \"%1\" (LineInSource). The deck "
                                   "fades work without it.")
                        .arg(QString::fromUtf8(self->source)));
            // On a machine without a capture device the default input is the monitor of
            // the output: routed, the air would loop back into itself and keep the server
            // rendering in tiny steps.
            if (!eol && self->source.isEmpty() && info->monitor_of_sink != PA_INVALID_INDEX)
                return self->Fail(
                    QStringLiteral("The sound server's default input is the monitor of an output "
                                   "(%1), which would feed the air back into itself: the line "
                                   "input is not routed. Name an input in LineInSource. The deck "
                                   "fades work without it.")
                        .arg(QString::fromUtf8(info->name)));
            if (!eol) self->Load(info->name);
        },
        this));
}

void PulseLineInControl::Server::Load(const char* name) {
    const QByteArray args = QByteArray("source=\"") + name +
                            "\" source_dont_move=true sink_input_properties=media.name=" + kMarker;
    Forget(pa_context_load_module(
        context, "module-loopback", args.constData(),
        [](pa_context* c, uint32_t index, void* data) {
            auto* self = static_cast<Server*>(data);
            const HeldLoop held(self);
            if (index == PA_INVALID_INDEX)
                return self->Fail(QStringLiteral("The sound server refused the line input: %1")
                                      .arg(self->Reason()));
            if (!self->open) {
                // Closed while the answer was on its way.
                self->routing = false;
                return Forget(pa_context_unload_module(c, index, nullptr, nullptr));
            }
            self->module = index;
            // The loopback's stream exists once its module is loaded: find it and quiet it.
            Forget(pa_context_get_sink_input_info_list(
                c,
                [](pa_context*, const pa_sink_input_info* info, int eol, void* d) {
                    auto* s = static_cast<Server*>(d);
                    const HeldLoop heldToo(s);
                    if (eol) {
                        s->routing = false;
                        return;
                    }
                    if (info->owner_module == s->module)
                        s->Routed(info->index, info->volume.channels);
                },
                self));
        },
        this));
}

void PulseLineInControl::Server::ApplyLevel() {
    if (!Ready() || sinkInput == PA_INVALID_INDEX) return;
    pa_cvolume volume;
    pa_cvolume_set(&volume, channels, pa_sw_volume_from_linear(level / 255.0));
    Forget(pa_context_set_sink_input_volume(context, sinkInput, &volume, nullptr, nullptr));
}

PulseLineInControl::PulseLineInControl(QObject* parent)
    : LineInControl(parent), m_server(std::make_unique<Server>()) {
    m_server->owner = this;
}

PulseLineInControl::~PulseLineInControl() {
    Close();
    if (!m_server->loop) return;
    pa_threaded_mainloop_stop(m_server->loop);
    HandOff::Take(m_server.get());  // its thread is over
    m_server->Drop();
    pa_threaded_mainloop_free(m_server->loop);
}

void PulseLineInControl::Open(const QString& source) {
    Server& s = *m_server;
    if (!s.loop) {
        s.loop = pa_threaded_mainloop_new();
        if (!s.loop || pa_threaded_mainloop_start(s.loop) < 0) {
            if (s.loop) pa_threaded_mainloop_free(s.loop);
            s.loop = nullptr;
            Q_EMIT Problem(
                QStringLiteral("The line input cannot start its sound thread. The deck "
                               "fades work without it."));
            return;
        }
    }
    pa_threaded_mainloop_lock(s.loop);
    HandOff::Take(&s);
    s.source = source.toUtf8();
    s.open = true;
    s.told = false;
    s.Connect();
    HandOff::Give(&s);
    pa_threaded_mainloop_unlock(s.loop);
}

void PulseLineInControl::SetVolume(int v) {
    Server& s = *m_server;
    if (!s.loop) return;
    pa_threaded_mainloop_lock(s.loop);
    HandOff::Take(&s);
    s.level = std::clamp(v, 0, 255);
    s.ApplyLevel();
    HandOff::Give(&s);
    pa_threaded_mainloop_unlock(s.loop);
}

void PulseLineInControl::Close() {
    Server& s = *m_server;
    if (!s.loop) return;
    pa_threaded_mainloop_lock(s.loop);
    HandOff::Take(&s);
    s.open = false;
    if (s.retry) {
        pa_threaded_mainloop_get_api(s.loop)->time_free(s.retry);
        s.retry = nullptr;
    }
    // A load on its way is let finish, so that its module can be taken away too.
    QElapsedTimer waited;
    waited.start();
    const auto waitFor = [&](const auto& busy) {
        while (busy() && waited.elapsed() < kCloseWaitMs) {
            HandOff::Give(&s);
            pa_threaded_mainloop_unlock(s.loop);
            QThread::msleep(5);
            pa_threaded_mainloop_lock(s.loop);
            HandOff::Take(&s);
        }
    };
    waitFor([&] { return s.routing && s.Ready(); });
    if (s.Ready() && s.module != PA_INVALID_INDEX) {
        pa_operation* op = pa_context_unload_module(s.context, s.module, nullptr, nullptr);
        waitFor([&] { return op && pa_operation_get_state(op) == PA_OPERATION_RUNNING; });
        Server::Forget(op);
    }
    s.Drop();
    HandOff::Give(&s);
    pa_threaded_mainloop_unlock(s.loop);
}

bool PulseLineInControl::Routed() const {
    Server& s = *m_server;
    if (!s.loop) return false;
    pa_threaded_mainloop_lock(s.loop);
    HandOff::Take(&s);
    const bool routed = s.Ready() && s.sinkInput != PA_INVALID_INDEX;
    HandOff::Give(&s);
    pa_threaded_mainloop_unlock(s.loop);
    return routed;
}
