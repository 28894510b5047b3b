#pragma once

#include <QString>
#include <functional>

/// The command set of the two player decks (index 0 and 1), nothing else. Backends:
/// mpv processes on Linux, the player's window messages on Windows, and a simulated
/// deck for tests and the week preview. Every call returns at once; no call waits on
/// the player for more than a few milliseconds.
class PlayerLink {
public:
    /// Play states as the decks report them; any other value means stopped.
    static constexpr int kPlaying = 1;
    static constexpr int kPaused = 3;
    static constexpr int kStopped = 0;

    /// How often a deck's player was found dead (hung, or gone) and replaced, and why
    /// the last time.
    struct Deaths {
        int count = 0;
        QString lastReason;
    };

    /// What a deck tells by itself, as it happens: its file played to the end, or could
    /// not be played, or the file it held ready (Cue) could not be opened and is no longer
    /// held. Never told for a stop the station asked for.
    enum class News { Ended, Failed, CueFailed };
    using Listener = std::function<void(int deck, News news)>;

    virtual ~PlayerLink() = default;

    /// Who hears the decks' news, on the thread that drives the link; one listener at a time.
    void SetListener(Listener listener) { m_listener = std::move(listener); }

    /// Whether the player program exists at programPath (an empty path asks for the
    /// backend's own default).
    virtual bool ProgramExists(const QString& programPath) const = 0;
    /// Reuses a running instance of the deck, or starts one with programPath.
    virtual void Launch(int deck, const QString& programPath) = 0;
    /// Looks the running instance up; false when it is not there (its handle is 0).
    virtual bool Find(int deck) = 0;

    /// 1 playing, 3 paused, anything else stopped.
    virtual int PlayState(int deck) = 0;
    /// Position in the current file in milliseconds.
    virtual int PositionMs(int deck) = 0;
    /// Length of the current file in seconds; negative when no file is loaded.
    virtual int LengthSec(int deck) = 0;
    /// The file the deck has (playing, paused or held ready); empty when it has none or
    /// the backend cannot tell.
    virtual QString File(int /*deck*/) const { return {}; }
    virtual void JumpTo(int deck, int ms) = 0;
    /// Output volume 0..255.
    virtual void SetVolume(int deck, int volume) = 0;
    virtual void TogglePause(int deck) = 0;
    virtual void Stop(int deck) = 0;
    virtual void StopWithFade(int deck) = 0;
    /// Hands a file over: the deck drops what it played and plays the file from its
    /// start at the volume it last had.
    virtual void HandOver(int deck, const QString& path) = 0;
    /// Readies a file on a deck that is stopped: it is opened and held, silent, so that a
    /// hand-over of the same path starts it at once. The deck still reads stopped; any
    /// other hand-over replaces it. A backend that cannot hold a file does nothing.
    virtual void Cue(int /*deck*/, const QString& /*path*/) {}
    /// How the deck plays its next file (a cue or a hand-over): at a gain in dB on top of
    /// its volume, from startSec into the file; 0 and 0 play files as they are. A backend
    /// that cannot ignores it.
    virtual void SetPlayback(int /*deck*/, double /*gainDb*/, double /*startSec*/) {}

    /// The player is ended and started again (it plays on but nothing reaches the air); the
    /// next hand-over finds it back. A backend that cannot does nothing.
    virtual void Restart(int /*deck*/) {}

    /// The deck's deaths so far; a backend that cannot tell reports none.
    virtual Deaths DeathsOf(int /*deck*/) const { return {}; }

protected:
    void Tell(int deck, News news) const {
        if (m_listener) m_listener(deck, news);
    }

private:
    Listener m_listener;
};
