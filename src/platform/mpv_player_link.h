#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "player/player_link.h"

/// The decks as two `mpv --idle` processes on Linux, each driven through its JSON IPC
/// socket, named after the deck's class name ("WinampRadio0.sock"). Commands are written
/// and not awaited, and every answer comes from a mirror that mpv's property events keep
/// current; no call waits on a player for more than a few tens of milliseconds (closing
/// waits up to a second for each deck to quit). A deck whose process exits or whose socket
/// breaks reads stopped, is started again and gets its volume back; so is a deck that
/// leaves a request unanswered, or stands still while it plays, for 2 s, or sends a line
/// longer than 64 KB (it is killed first). Lines that are not mpv's are ignored. A deck
/// whose sound server goes away plays on silently, keeping time, and reopens its output as
/// soon as the server is back. The end of a file, or a file that cannot be played, is told
/// as soon as mpv says so; a cued file is loaded paused and let go by its hand-over. Needs a
/// running Qt event loop on the thread that owns it.
class MpvPlayerLink final : public PlayerLink {
public:
    struct Options {
        /// Folder of the sockets; empty: $XDG_RUNTIME_DIR/stavox, or a private folder in
        /// the temporary folder when that is not set.
        QString socketFolder;
        /// Passed to every mpv after its own options, e.g. "--ao=null".
        QStringList extraArguments;
        /// Stop with fade: so many volume steps, one every fadeStepMs, then stop after
        /// stopDelayMs (a stop right on the last step cuts the tail audibly).
        int fadeSteps = 20;
        int fadeStepMs = 50;
        int stopDelayMs = 200;
        /// Decks end when this process ends, even when it is killed (for tests). Without
        /// it, decks outlive a station that was killed and are reused when it starts
        /// again; a normal close quits them either way.
        bool endWithThisProcess = false;
        /// Where the one-line problem reports go; standard error when empty.
        std::function<void(const QString& line)> report;
    };

    MpvPlayerLink();
    explicit MpvPlayerLink(Options options);
    /// Quits the decks it is connected to and ends the processes it started.
    ~MpvPlayerLink() override;
    MpvPlayerLink(const MpvPlayerLink&) = delete;
    MpvPlayerLink& operator=(const MpvPlayerLink&) = delete;

    /// An empty path, or a bare name, is looked up on the PATH ("mpv" when empty); one
    /// missing there is reported, as it is the last place the station looks.
    bool ProgramExists(const QString& programPath) const override;
    void Launch(int deck, const QString& programPath) override;
    bool Find(int deck) override;
    int PlayState(int deck) override;
    int PositionMs(int deck) override;
    int LengthSec(int deck) override;
    QString File(int deck) const override;
    void JumpTo(int deck, int ms) override;
    void SetVolume(int deck, int volume) override;
    void TogglePause(int deck) override;
    void Stop(int deck) override;
    void StopWithFade(int deck) override;
    void HandOver(int deck, const QString& path) override;
    void Cue(int deck, const QString& path) override;
    void SetPlayback(int deck, double gainDb, double startSec) override;
    void Restart(int deck) override;
    Deaths DeathsOf(int deck) const override;

    /// The socket a deck listens on.
    QString SocketPath(int deck) const;
    /// The process id of the deck's mpv when this link started it; 0 otherwise.
    qint64 ProcessId(int deck) const;
    /// The latest problem reported, for a status line; empty when none.
    QString Problem() const { return m_problem; }

    /// $XDG_RUNTIME_DIR/stavox, or else <temporary folder>/stavox-<uid>, or when another
    /// user holds that (or it is open to others) the first of stavox-<uid>-1 ... -9 that
    /// is this user's alone; created private to the user. Every caller finds the same one.
    /// Empty (and *error set) when none can be had.
    static QString DefaultSocketFolder(QString* error = nullptr);

private:
    struct Deck;
    Deck* At(int deck) const;
    Deck* Ready(int deck) const;
    void Report(const QString& line) const;
    void ReportMissing(const QString& program) const;

    Options m_options;
    // Reporting is not a change of the decks, so queries may report too.
    mutable QString m_problem;
    mutable bool m_missingReported = false;
    std::array<std::unique_ptr<Deck>, 2> m_decks;
    QString m_freshFolder;  // made for this run alone: removed when the decks are gone
};
