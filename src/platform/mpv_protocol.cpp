#include "platform/mpv_protocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace mpv {

namespace {

QByteArray Request(const QJsonArray& command, int requestId) {
    QJsonObject request{{"command", command}};
    if (requestId != 0) request.insert("request_id", requestId);
    return QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n';
}

// A property value of another type than the property's is not mpv's: it changes nothing.
// Without data (or null) mpv says the property is unavailable.
bool Typed(const QJsonValue& value, QJsonValue::Type type) {
    return value.type() == type || value.isUndefined() || value.isNull();
}

std::optional<double> NumberOf(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    const double d = value.toDouble();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

}  // namespace

Message ParseLine(const QByteArray& line) {
    Message message;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return message;
    const QJsonObject object = document.object();
    if (object.value("event").isString()) {
        message.kind = Message::Kind::Event;
        message.event = object.value("event").toString();
        message.name = object.value("name").toString();
        message.reason = object.value("reason").toString();
        message.data = object.value("data");
    } else if (object.value("error").isString()) {
        message.kind = Message::Kind::Reply;
        message.requestId = object.value("request_id").toInt();
        message.error = object.value("error").toString();
        message.data = object.value("data");
    }
    return message;
}

QByteArray ObserveProperty(int observeId, const QString& property, int requestId) {
    return Request({"observe_property", observeId, property}, requestId);
}

QByteArray LoadFile(const QString& path, int requestId) {
    return Request({"loadfile", path, "replace"}, requestId);
}

QByteArray SetPause(bool paused, int requestId) {
    return Request({"set_property", "pause", paused}, requestId);
}

QByteArray CyclePause(int requestId) { return Request({"cycle", "pause"}, requestId); }

QByteArray Seek(int ms, int requestId) {
    // Whole milliseconds in seconds; the jump is sent as asked, mpv clamps it.
    return Request({"seek", ms / 1000.0, "absolute"}, requestId);
}

QByteArray Stop(int requestId) { return Request({"stop"}, requestId); }

QByteArray SetVolume(int volume, int requestId) {
    // Three decimals are finer than anyone can hear and keep the line short.
    const double rounded = std::round(MpvVolume(volume) * 1000.0) / 1000.0;
    return Request({"set_property", "volume", rounded}, requestId);
}

QByteArray SetGain(double db, int requestId) {
    const double rounded = std::round(db * 100.0) / 100.0;
    if (rounded == 0) return Request({"af", "set", ""}, requestId);
    return Request({"af", "set", QStringLiteral("@level:lavfi=[volume=%1dB]").arg(rounded)},
                   requestId);
}

QByteArray SetStart(double seconds, int requestId) {
    const double rounded = std::round(seconds * 1000.0) / 1000.0;
    return Request({"set_property", "start",
                    rounded > 0 ? QString::number(rounded, 'f', 3) : QStringLiteral("none")},
                   requestId);
}

QByteArray Quit(int requestId) { return Request({"quit"}, requestId); }

QByteArray ReloadAudioOutput(int requestId) { return Request({"ao-reload"}, requestId); }

QByteArray GetProperty(const QString& property, int requestId) {
    return Request({"get_property", property}, requestId);
}

double MpvVolume(int volume) {
    const int v = std::clamp(volume, 0, 255);
    return std::min(100.0, 100.0 * std::cbrt(v / 255.0));
}

int PlayStateOf(bool idle, bool paused) {
    // Checked first: mpv keeps its pause flag while idle.
    if (idle) return 0;
    return paused ? 3 : 1;
}

int PositionMsOf(std::optional<double> timePos) {
    if (!timePos || *timePos <= 0) return 0;
    const double ms = *timePos * 1000.0;
    if (ms >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(ms);
}

int LengthSecOf(std::optional<double> duration) {
    if (!duration || *duration < 0) return -1;
    if (*duration >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(*duration);
}

void DeckMirror::Reset() { *this = DeckMirror(); }

void DeckMirror::Apply(const Message& message) {
    if (message.kind == Message::Kind::Reply) {
        if (m_pendingHandOver != 0 && message.requestId == m_pendingHandOver) {
            m_pendingHandOver = 0;
            if (message.Succeeded()) {
                m_awaitingStart = true;
            } else {
                m_news = m_cued ? PlayerLink::News::CueFailed : PlayerLink::News::Failed;
                Stopped();
            }
        }
        return;
    }
    if (message.kind != Message::Kind::Event) return;
    if (message.event == QLatin1String("property-change") &&
        message.name == QLatin1String("current-ao")) {
        m_audioOutput = message.data.toString();
        return;
    }
    // Always about the file mpv has now, even before a hand-over's start.
    if (message.event == QLatin1String("property-change") &&
        message.name == QLatin1String("path")) {
        m_path = message.data.toString();
        return;
    }
    // Until the new file starts, what mpv says (a pause toggled a moment ago, the old
    // file's last position, the old file ending) is about the file before.
    if (m_pendingHandOver != 0) return;
    if (m_awaitingStart) {
        if (message.event != QLatin1String("start-file")) return;
        m_awaitingStart = false;
    }
    if (message.event == QLatin1String("property-change")) {
        const QString& name = message.name;
        const bool flag = name == QLatin1String("pause") || name == QLatin1String("idle-active");
        if (!Typed(message.data, flag ? QJsonValue::Bool : QJsonValue::Double)) return;
        if (name == QLatin1String("pause")) {
            m_paused = message.data.toBool();
        } else if (name == QLatin1String("idle-active")) {
            m_idle = message.data.toBool(true);
        } else if (name == QLatin1String("time-pos")) {
            m_timePos = NumberOf(message.data);
        } else if (name == QLatin1String("duration")) {
            m_duration = NumberOf(message.data);
        }
    } else if (message.event == QLatin1String("start-file")) {
        m_idle = false;
        m_running = false;
    } else if (message.event == QLatin1String("playback-restart")) {
        m_running = true;
    } else if (message.event == QLatin1String("end-file")) {
        Ended(message.reason);
    } else if (message.event == QLatin1String("idle")) {
        // Property changes can be coalesced (a missing file flips idle off and on again
        // at once); the idle event always comes.
        Stopped();
    }
}

void DeckMirror::HandedOver(int requestId) {
    m_idle = false;
    m_paused = false;
    m_timePos = 0.0;
    m_duration.reset();
    m_pendingHandOver = requestId;
    m_awaitingStart = false;
    m_running = false;
}

void DeckMirror::Ended(const QString& reason) {
    // A stop or a replacement was asked for; only the file's own end is news.
    const bool eof = reason == QLatin1String("eof"), error = reason == QLatin1String("error");
    if (!eof && !error) return;
    if (m_cued && error) {
        m_news = PlayerLink::News::CueFailed;
    } else if (!m_cued && !m_idle) {
        m_news = eof ? PlayerLink::News::Ended : PlayerLink::News::Failed;
    }
    Stopped();
}

std::optional<PlayerLink::News> DeckMirror::TakeNews() { return std::exchange(m_news, {}); }

void DeckMirror::Cued(int requestId) {
    HandedOver(requestId);
    m_paused = true;
    m_cued = true;
}

void DeckMirror::Released() {
    m_cued = false;
    m_paused = false;
}

void DeckMirror::Stopped() {
    m_cued = false;
    m_idle = true;
    m_running = false;
    m_timePos.reset();
    m_duration.reset();
}

void DeckMirror::Jumped(int ms) {
    if (!m_idle) m_timePos = std::max(0, ms) / 1000.0;
}

void DeckMirror::PauseToggled() {
    if (!m_idle) m_paused = !m_paused;
}

int DeckMirror::PlayState() const { return PlayStateOf(m_idle || m_cued, m_paused); }

int DeckMirror::PositionMs() const { return m_idle || m_cued ? 0 : PositionMsOf(m_timePos); }

int DeckMirror::LengthSec() const { return m_idle || m_cued ? -1 : LengthSecOf(m_duration); }

void DeckWatchdog::Sent(int requestId, qint64 nowMs) { m_unanswered[requestId] = nowMs; }

void DeckWatchdog::Heard(const Message& message, qint64 nowMs) {
    if (message.kind == Message::Kind::Reply) {
        m_unanswered.erase(message.requestId);
        if (message.requestId != 0 && message.requestId == m_positionQuestion) {
            m_positionQuestion = 0;
            if (Typed(message.data, QJsonValue::Double)) Moved(NumberOf(message.data), nowMs);
        }
    } else if (message.kind == Message::Kind::Event &&
               message.event == QLatin1String("property-change") &&
               message.name == QLatin1String("time-pos") &&
               Typed(message.data, QJsonValue::Double)) {
        Moved(NumberOf(message.data), nowMs);
    }
}

void DeckWatchdog::Moved(std::optional<double> position, qint64 nowMs) {
    // Any new value is progress; the same one again is a position that stands still.
    if (position && position != m_position) m_movedAtMs = nowMs;
    m_position = position;
}

void DeckWatchdog::Excuse(qint64 nowMs) {
    for (auto& [id, sentMs] : m_unanswered) sentMs = nowMs;
    m_movedAtMs = nowMs;
}

QString DeckWatchdog::Check(bool advancing, qint64 nowMs) {
    // A file that has just begun to play (or play again) has its full patience to move.
    if (advancing && !m_advancing) m_movedAtMs = nowMs;
    m_advancing = advancing;
    const QString patience = QString::number(kPatienceMs / 1000.0);
    const auto oldest =
        std::min_element(m_unanswered.begin(), m_unanswered.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (oldest != m_unanswered.end() && nowMs - oldest->second >= kPatienceMs)
        return QStringLiteral("stopped answering for %1 s").arg(patience);
    if (advancing && nowMs - m_movedAtMs >= kPatienceMs)
        return QStringLiteral("stood still for %1 s while playing").arg(patience);
    return {};
}

}  // namespace mpv
