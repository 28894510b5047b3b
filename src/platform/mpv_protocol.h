#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <map>
#include <optional>

#include "player/player_link.h"

/// mpv's JSON IPC as pure functions: the request lines the mpv decks are sent, the reply
/// and event lines they send back, and the mirror of one deck that those events keep
/// current, so the deck's state can be read at any moment without asking the player.
namespace mpv {

/// One line received from mpv.
struct Message {
    enum class Kind { Invalid, Reply, Event };
    Kind kind = Kind::Invalid;
    int requestId = 0;  ///< replies: the id of the request answered
    QString error;      ///< replies: "success" or mpv's reason
    QString event;      ///< events: "property-change", "start-file", "idle", ...
    QString name;       ///< property-change: the property
    QString reason;     ///< end-file: "eof", "error", "stop", ...
    QJsonValue data{QJsonValue::Undefined};  ///< reply data or property value, if any

    bool Succeeded() const { return kind == Kind::Reply && error == QLatin1String("success"); }
};

/// Parses one line without its line end; anything that is not a JSON object of mpv's
/// kind comes back as Invalid.
Message ParseLine(const QByteArray& line);

/// Request lines, each a JSON object ending in a line feed. requestId 0 asks for no
/// particular id.
QByteArray ObserveProperty(int observeId, const QString& property, int requestId);
QByteArray LoadFile(const QString& path, int requestId);
QByteArray SetPause(bool paused, int requestId);
QByteArray CyclePause(int requestId);
QByteArray Seek(int ms, int requestId);
QByteArray Stop(int requestId);
/// A deck volume 0..255 as mpv's volume property (see MpvVolume).
QByteArray SetVolume(int volume, int requestId);
/// The deck's audio filter: a gain in dB (to a hundredth), none for 0.
QByteArray SetGain(double db, int requestId);
/// Where the next file loaded starts, in seconds (to a thousandth); its start for 0.
QByteArray SetStart(double seconds, int requestId);
QByteArray Quit(int requestId);
/// Opens the audio output again: mpv that lost its sound server plays on into the null
/// output and comes back to the server only when told to.
QByteArray ReloadAudioOutput(int requestId);
QByteArray GetProperty(const QString& property, int requestId);

/// mpv's volume for a deck volume 0..255. A deck volume is a linear gain, as a wave-out
/// volume is, and mpv's volume scale is cubic, so this is 100 × cbrt(v / 255), within
/// 0..100.
double MpvVolume(int volume);

/// 1 playing, 3 paused, 0 stopped. An idle mpv reads stopped even when paused.
int PlayStateOf(bool idle, bool paused);
/// time-pos in seconds as milliseconds, never negative; 0 when unavailable.
int PositionMsOf(std::optional<double> timePos);
/// duration in whole seconds; -1 when unavailable (no file, or one still opening).
int LengthSecOf(std::optional<double> duration);

/// The properties a deck observes, by observe id.
struct Observed {
    int id;
    const char* name;
};
inline constexpr Observed kObserved[] = {
    {1, "idle-active"}, {2, "pause"},      {3, "time-pos"},
    {4, "duration"},    {5, "current-ao"}, {6, "path"},
};

/// What one mpv deck is doing, as its events tell. Commands are applied as soon as
/// they are sent, so a read right after a command sees its effect; news from mpv that
/// was on its way before a hand-over is ignored until mpv confirms the hand-over.
class DeckMirror {
public:
    /// A deck that is not there: stopped, position 0, no file.
    void Reset();
    void Apply(const Message& message);

    /// The requests just sent.
    void HandedOver(int requestId);
    /// A file loaded paused, held ready: the deck reads stopped until it is released.
    void Cued(int requestId);
    /// The file held ready was let play.
    void Released();
    void Stopped();
    void Jumped(int ms);
    void PauseToggled();

    int PlayState() const;
    int PositionMs() const;
    int LengthSec() const;
    /// Whether a file is held ready (loaded paused, not yet let play).
    bool Cued() const { return m_cued; }
    /// The file that was playing ended by itself (Ended) or could not be played (Failed),
    /// or the file held ready could not be opened (CueFailed), told once; none for a stop
    /// or a replacement that was asked for.
    std::optional<PlayerLink::News> TakeNews();
    /// Whether mpv plays its file (started, not paused), so its position must move.
    bool Advancing() const { return !m_idle && !m_paused && m_running; }
    /// Whether the file last handed over is still to be started by mpv.
    bool AwaitingFile() const { return m_pendingHandOver != 0 || m_awaitingStart; }
    /// The audio output mpv opened ("pulse", "null", ...); empty until it opened one.
    QString AudioOutput() const { return m_audioOutput; }
    /// The file mpv has (playing, paused or held ready); empty while it has none.
    QString File() const { return m_path; }

private:
    void Ended(const QString& reason);

    bool m_idle = true;
    bool m_cued = false;
    std::optional<PlayerLink::News> m_news;
    bool m_paused = false;
    std::optional<double> m_timePos;
    std::optional<double> m_duration;
    QString m_audioOutput;
    QString m_path;
    int m_pendingHandOver = 0;
    bool m_awaitingStart = false;  // mpv took the hand-over; its start-file is still to come
    bool m_running = false;        // the file's playback began (or began again after a jump)
};

/// Judges one deck by its progress: every request sent must be answered, and while the
/// deck's file plays its position must move, each within kPatienceMs. A deck that fails
/// either is dead, whether it hangs, is stopped, or sends what is not mpv's. Times are
/// the caller's milliseconds on any steady clock.
class DeckWatchdog {
public:
    static constexpr qint64 kPatienceMs = 2000;

    /// A fresh connection: nothing asked yet.
    void Reset() { *this = DeckWatchdog(); }
    void Sent(int requestId, qint64 nowMs);
    /// The request just sent asks for time-pos, so its answer shows progress too.
    void AskedPosition(int requestId) { m_positionQuestion = requestId; }
    bool AskingPosition() const { return m_positionQuestion != 0; }
    void Heard(const Message& message, qint64 nowMs);
    /// The caller itself was held up and has not listened meanwhile: the deck's time
    /// runs again from nowMs.
    void Excuse(qint64 nowMs);
    /// Why the deck is to be taken for dead at nowMs; empty while it shows life.
    /// advancing: whether its file plays (DeckMirror::Advancing).
    QString Check(bool advancing, qint64 nowMs);

private:
    void Moved(std::optional<double> position, qint64 nowMs);

    std::map<int, qint64> m_unanswered;  // request id: when it was sent
    int m_positionQuestion = 0;
    std::optional<double> m_position;
    bool m_advancing = false;
    qint64 m_movedAtMs = 0;
};

}  // namespace mpv
