#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "playback/deck_panel.h"
#include "playback/levelling.h"
#include "playback/main_loop.h"
#include "playback/play_queue.h"
#include "playback/played_list.h"
#include "playback/tick_part.h"
#include "player/decks.h"
#include "player/transport.h"
#include "player/volume_bars.h"

class Clock;
class QTime;
class PlayerLink;
class Timer;
class TimerHost;

/// The playback engine: the two decks, their volume bars and fades, the play queue,
/// the played list and the main loop that hands each next track over before the
/// current one ends. The main loop ticks every kLoopMs, and at once when the current
/// deck tells that its file ended; after each tick the idle deck readies what comes next.
/// The window is a view of the const pieces and calls one command per operator action;
/// the station's settings are read into the pieces' tables.
class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    PlaybackEngine(Clock& clock, TimerHost& timers, PlayerLink& link);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Stored settings; WaitSecInBeggining is read at launch only.
    int WaitSecInBeggining = 6;
    bool SkipIntro = false;
    int SkipIntroSec = 5;
    /// Animate1 runs once the players were looked up.
    bool AnimationRunning = false;

    /// Start-up: completes the player path, reuses or starts the two decks, and arms
    /// TimerBeggin3, which after WaitSecInBeggining seconds looks them up and starts
    /// the main loop if deck 0 answers.
    void LaunchPlayers();
    bool MainLoopRunning() const;
    /// Whether either deck plays now (the music, a spot or a jingle).
    bool AnyDeckPlays();
    /// The station is closing: the main loop (and a start still waiting) stops for good.
    void StopMainLoop();
    /// The tables of the settings kept here and in the pieces, in the order they are stored.
    std::vector<SettingsTable*> SettingsTables();
    // The options' settings of the engine and its decks.
    void SetWinAmpPath(const QString& path);
    void SetWaitSecInBeggining(int seconds);
    void SetSkipIntro(bool skip);
    void SetSkipIntroSec(int seconds);

    // Starting tracks.
    /// Takes the head of the queue and plays it. Missing tracks are passed over at once,
    /// up to a track that starts or a filler (which plays nothing).
    void PlayNextFromQueue();
    /// Starts an entry on the next deck with a crossfade, refilling the queue first.
    /// False when its track is missing: it is reported and nothing starts.
    bool PlayEntry(const QString& entry);
    /// Whether any entry of the queue is a track rather than a filler.
    bool QueueHoldsATrack() const;
    /// BitBtnPlay: plays the marked next-track entry; nothing when none is marked.
    void PlayMarked();
    /// Click on next-track label n (1..5).
    void ClickNextTrackLabel(int n);
    /// Double click on next-track label n: marks it and plays it.
    void DoubleClickNextTrackLabel(int n);
    /// Double click on the played list (or its Play button): plays the selected row.
    void PlayPlayedRow(int row);
    /// ButtonEpomeno11: start the head at the next tick, if something follows it.
    void Next();
    /// The next tick starts the head of the queue, and refills take each list's first track.
    void NextInListOrder();
    /// A part that took over the start of the next item consumes the "start now" request.
    void ClearNextTrackFlags();
    /// Play now on the Lists tab: marks next-track label 1, puts the entry (when there is
    /// one) at the head of the queue and starts it.
    void PlayNow(const std::optional<QString>& entry);

    /// Each tick asks the parts added here in the order added (the program of the hour
    /// first), then the next-track decision. Parts are not owned and must outlive the loop.
    void AddTickPart(TickPart& part);

    // Transport of the current deck.
    void Pause();
    void Restart();
    void JumpBackward();
    void JumpForward();
    void StoreCue(int n);
    void RecallCue(int n);
    void SetManual(bool down);
    /// The operator let go of the knob: the current deck jumps to where it stands.
    void KnobRelease();
    /// The window keys 219, 221 and 222; false for any other key, 220 included (the
    /// line input's key, which the station takes).
    bool KeyDown(int key);
    /// Editsec1, the seconds of a jump.
    void SetJumpSecText(const QString& text);

    // The volume bars and their fades.
    /// The operator moved TrackBarVolume0 (bar 0) or TrackBarVolume1 (bar 1).
    void MoveBarByHand(int bar, int position);
    void SetLevelText(VolumeBars::LevelBox box, const QString& text);
    /// EditMixingInterval.
    void SetMixingIntervalText(const QString& text);
    void FadeIn0();
    void FadeOut0();
    void FadeIn1();
    void FadeOut1();
    void FadeIn0Amp();
    void FadeIn1Amp();

    // The queue and the played list.
    /// CheckBoxRandomPlay1.
    void SetRandomPlay(bool random);
    /// Reseeds the queue's random draws.
    void SeedQueue(std::uint32_t seed);
    /// The next-track texts never wait for a file from now on (the window's station).
    void ReadLengthsInBackground();
    /// The operator's row of ListBoxPrevPlayed1, -1 for none.
    void SelectPlayedRow(int row);
    /// "Clear...", and a new program unless the played list is kept.
    void ClearPlayed();

    // The program of the hour.
    /// A program begins: the lists' pools (names and their entries, in the same order)
    /// replace the queue's, and a fresh queue of five is drawn from them.
    void StartProgram(const QStringList& names, const QList<QStringList>& lists);

    /// Puts a title into LabelTrackName1 and restarts its swing (tracks, spots).
    void ShowTrackName(const QString& title);

    // Going on after a restart, before the first tick.
    /// The deck plays path as the current one; the other deck, unless it plays a sound of
    /// its own, is stopped to be readied afresh.
    void GoOnWith(int deck, const QString& path);
    /// The played list as it was.
    void RestorePlayed(const QStringList& titles, const QStringList& paths);

    // The pieces, for the view and the other rooms to read.
    const Decks& Players() const { return m_decks; }
    const VolumeBars& Bars() const { return *m_bars; }
    const PlayQueue& Queue() const { return m_queue; }
    const PlayedList& Played() const { return m_played; }
    const Transport& Controls() const { return m_transport; }
    const LoopState& Loop() const { return m_loop; }
    /// The clock, the track's times, the knob and the running title, as shown.
    const DeckPanel& Panel() const { return *m_panel; }
    /// The gain each sound is played at.
    const Levelling& Level() const { return m_levelling; }
    /// Where the analyses of the files are found (none: every file plays as it is).
    void SetAnalyses(AnalysisStore* analyses) { m_levelling.SetAnalyses(analyses); }
    /// Gives the deck the gain and start of the file it is about to hold ready; the file's
    /// analysis, when known.
    std::optional<SoundAnalysis> LevelDeck(int deck, const QString& path);
    /// The same for the file it is about to play, whose end of sound the tick then mixes by.
    void HandingOver(int deck, const QString& path);
    /// The file last handed to the deck (a track, a spot, a jingle), empty before any.
    const QString& HandedTo(int deck) const { return m_handed[deck & 1]; }

    // Mutable pieces for the core rooms that truly drive them; never for a view.
    /// The window's pixel widths and the knob's drag reach the panel through the commands.
    DeckPanel& Panel() { return *m_panel; }
    /// The player path and start folder are settings of the decks, written at start-up and
    /// from the options; a room that starts a sound of its own hands its file over here.
    Decks& Players() { return m_decks; }
    /// The program loader fills the pools and draws the queue afresh at each program.
    PlayQueue& QueueForLoader() { return m_queue; }
    /// The rooms that share the tick and start sounds of their own (spots, jingles) run
    /// their fades at their own step and set their own settling ticks.
    VolumeBars& BarsForTickParts() { return *m_bars; }
    LoopState& LoopForTickParts() { return m_loop; }

Q_SIGNALS:
    /// The decks answer and the main loop is about to tick for the first time.
    void LoopStarting();
    /// A tick of the main loop ended (the station's state may have moved on).
    void Ticked();
    /// PlayNextFromQueue started a track from the queue (counted by the every-few-songs
    /// spot); a filler, which starts nothing, is not told.
    void QueueHeadTaken();
    /// An entry is about to be handed to a deck (the played entry, before the hand-over).
    void EntryStarted(const QString& entry);
    /// A track was passed over: its path names no regular file (gone, a folder, a pipe).
    void TrackMissing(const QString& path);
    /// A track passed over because the deck readied with it could not open it.
    void Problem(const QString& message);

private:
    void TimerBeggin3Timer();
    void TimerProgram1Timer();
    class NextTrackPart;

    /// Whether a list of the program still has a track to draw.
    bool ProgramHoldsATrack() const;
    void Tick();
    void RunTickParts(TickMoment& moment);
    /// Readies on the idle deck what the parts say comes next.
    void CueWhatComesNext(const TickMoment& moment);
    /// The current deck's file ended (or failed): the tick comes at once.
    void DeckEnded(int deck);
    /// The idle deck could not open what it was readied with: its part passes over it.
    void CueFailed(int deck);
    /// Shows the current deck's state and times; false while it is paused or settling.
    bool DeckPlaysOn(TickMoment& moment);
    /// The current deck's times in its play state.
    void ShowTrackTime(int state);

    Clock& m_clock;
    PlayerLink* m_link = nullptr;
    Decks m_decks;
    std::unique_ptr<VolumeBars> m_bars;
    PlayQueue m_queue;
    PlayedList m_played;
    Transport m_transport;
    LoopState m_loop;
    std::unique_ptr<Timer> m_beggin3;
    std::unique_ptr<Timer> m_program1;
    std::unique_ptr<DeckPanel> m_panel;
    Levelling m_levelling;
    std::unique_ptr<Timer> m_startClock;  // the clock during the start wait
    std::unique_ptr<TickPart> m_nextTrack;
    std::vector<TickPart*> m_tickParts;  // in the order they are asked
    bool m_ticking = false;              // news told during a tick waits for the next one
    std::array<QString, 2> m_cued;       // what each deck was last readied with
    std::array<QString, 2> m_handed;     // what each deck was last handed
    std::array<std::optional<SoundAnalysis>, 2> m_onDeck;  // the analysis of what each plays
    SettingsTable m_settings;
};
