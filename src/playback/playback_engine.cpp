#include "playback/playback_engine.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

#include "base/clock.h"
#include "base/timer_host.h"
#include "playback/deck_start.h"
#include "player/player_link.h"
#include "schedule/list_file.h"

namespace {

constexpr int kLongestStartWaitSec = 600;
constexpr int kDeckLookupRetryMs = 1000;
constexpr int kStartClockMs = 200;
constexpr int kTrackFadeStep = 5;

// Re-enables a self-disabling timer however its handler is left, so a failing hook
// cannot stop the main loop for good.
class ReEnable {
public:
    explicit ReEnable(Timer& timer) : m_timer(timer) { m_timer.SetEnabled(false); }
    ~ReEnable() { m_timer.SetEnabled(true); }
    ReEnable(const ReEnable&) = delete;
    ReEnable& operator=(const ReEnable&) = delete;

private:
    Timer& m_timer;
};

}  // namespace

// The last part: starts the head of the queue when asked to or when the current track
// is about to end.
class PlaybackEngine::NextTrackPart final : public TickPart {
public:
    explicit NextTrackPart(PlaybackEngine& engine) : m_engine(engine) {}
    bool TakesTick(const TickMoment& moment) override {
        // The next deck is the jingle's: a start now would cut it off mid-word.
        if (m_engine.m_loop.JingleOnNextDeck) return true;
        if (m_engine.m_queue.StartNowAsked()) {
            // Refills during the start still honour an in-order request.
            m_engine.PlayNextFromQueue();
            m_engine.m_queue.DropStartNow();
        } else if (!m_engine.m_transport.ManualMode) {
            const Levelling& level = m_engine.m_levelling;
            const int mixLength =
                MixLengthSec(moment.lengthSec, m_engine.m_onDeck[m_engine.m_decks.CurrentDeck & 1],
                             level.SmartMixing);
            const bool ending =
                moment.positionSec >= MixPointSec(mixLength, m_engine.m_bars->MixingSeconds());
            if (ending || moment.playState != PlayerLink::kPlaying) m_engine.PlayNextFromQueue();
        }
        return true;
    }

    std::optional<QString> ComesNext(const TickMoment&) const override {
        const QString path = SplitTrackEntry(m_engine.m_queue.At(0)).path;
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    bool PassesOver(const QString& path) override {
        PlayQueue& queue = m_engine.m_queue;
        if (path.isEmpty() || SplitTrackEntry(queue.At(0)).path != path) return false;
        queue.TakeAt(0);
        queue.CountTrackStarted();
        if (queue.Count() < PlayQueue::kShownEntries) queue.RefillQueue();
        queue.ShowNextTracks();
        Q_EMIT m_engine.Problem(
            QStringLiteral("The track %1 cannot be played: the deck could not open it. It is "
                           "passed over.")
                .arg(path));
        return true;
    }

private:
    PlaybackEngine& m_engine;
};

PlaybackEngine::PlaybackEngine(Clock& clock, TimerHost& timers, PlayerLink& link)
    : m_clock(clock),
      m_decks(link),
      m_bars(std::make_unique<VolumeBars>(m_decks, timers)),
      m_transport(m_decks) {
    m_beggin3 = timers.CreateTimer(QStringLiteral("TimerBeggin3"), WaitSecInBeggining * 1000,
                                   [this] { TimerBeggin3Timer(); });
    m_program1 = timers.CreateTimer(QStringLiteral("TimerProgram1"), kLoopMs,
                                    [this] { TimerProgram1Timer(); });
    m_panel = std::make_unique<DeckPanel>(timers);
    m_startClock = timers.CreateTimer(QStringLiteral("TimerStartClock"), kStartClockMs,
                                      [this] { m_panel->ShowClock(m_clock.Now().time()); });
    // A deck that tells of its end moves the air on at once, not at the next tick.
    link.SetListener([this](int deck, PlayerLink::News news) {
        news == PlayerLink::News::CueFailed ? CueFailed(deck) : DeckEnded(deck);
    });
    m_link = &link;
    m_nextTrack = std::make_unique<NextTrackPart>(*this);
    m_tickParts = {m_nextTrack.get()};
    m_settings.Add("WaitSecInBeggining", WaitSecInBeggining)
        .Add("SkipIntro", SkipIntro)
        .Add("SkipIntroSec", SkipIntroSec);
}

PlaybackEngine::~PlaybackEngine() { m_link->SetListener({}); }

std::vector<SettingsTable*> PlaybackEngine::SettingsTables() {
    return {&m_decks.Settings(),     &m_settings,
            &m_queue.Settings(),     &m_bars->Settings(),
            &m_transport.Settings(), &m_levelling.Settings()};
}

void PlaybackEngine::SetWinAmpPath(const QString& path) { m_decks.WinAmpPath = path; }
void PlaybackEngine::SetWaitSecInBeggining(int seconds) { WaitSecInBeggining = seconds; }
void PlaybackEngine::SetSkipIntro(bool skip) { SkipIntro = skip; }
void PlaybackEngine::SetSkipIntroSec(int seconds) { SkipIntroSec = seconds; }

// --- start-up ---------------------------------------------------------------------------

void PlaybackEngine::LaunchPlayers() {
    m_decks.Launch();
    // Until the main loop's ticks write the clock, it runs on its own from the start.
    m_panel->ShowClock(m_clock.Now().time());
    m_startClock->SetEnabled(true);
    // A wait of 0 would never fire and a huge one would overflow: either way no music.
    m_beggin3->SetInterval(std::clamp(WaitSecInBeggining, 1, kLongestStartWaitSec) * 1000);
    m_beggin3->SetEnabled(true);
}

void PlaybackEngine::TimerBeggin3Timer() {
    AnimationRunning = true;
    m_decks.SecondPlayerFound = m_decks.FindDeck(1);
    if (!m_decks.FindDeck(0)) {
        // A player still coming up (a slow cold start) is looked for again each second
        // rather than leaving the station silent for the day.
        m_beggin3->SetInterval(kDeckLookupRetryMs);
        return;
    }
    m_beggin3->SetEnabled(false);
    m_startClock->SetEnabled(false);
    Q_EMIT LoopStarting();
    m_program1->SetEnabled(true);
}

bool PlaybackEngine::MainLoopRunning() const { return m_program1->Enabled(); }

bool PlaybackEngine::AnyDeckPlays() {
    return m_decks.PlayState(0) == PlayerLink::kPlaying ||
           m_decks.PlayState(1) == PlayerLink::kPlaying;
}

void PlaybackEngine::StopMainLoop() {
    m_beggin3->SetEnabled(false);
    m_startClock->SetEnabled(false);
    m_program1->SetEnabled(false);
}

// --- starting tracks --------------------------------------------------------------------

void PlaybackEngine::PlayNextFromQueue() {
    // A missing track is passed over at once. Each pass takes an entry out and the pools
    // are finite, so a queue of missing tracks is walked once down to a filler (an empty
    // queue reads as one), never again at every tick.
    // So is a filler of a list run dry while a track still follows it, or may still be
    // drawn from a list of the program that has some left: each would cost a tick of
    // silence between two songs. The draws are the ones the ticks would have made.
    QString entry;
    bool passedOver = true;
    while (passedOver) {
        entry = m_queue.TakeAt(0);
        passedOver = !PlayEntry(entry) || (SplitTrackEntry(entry).path.isEmpty() &&
                                           (QueueHoldsATrack() || ProgramHoldsATrack()));
    }
    // A filler starts nothing: with no music left every tick ends here, and none is a song.
    if (!SplitTrackEntry(entry).path.isEmpty()) Q_EMIT QueueHeadTaken();
}

bool PlaybackEngine::ProgramHoldsATrack() const {
    for (int k = 0; k < std::min(m_queue.ProgramListCount(), PlayQueue::kMaxLists); ++k)
        if (!m_queue.ProgramList(k).isEmpty()) return true;
    return false;
}

bool PlaybackEngine::QueueHoldsATrack() const {
    for (int i = 0; i < m_queue.Count(); ++i)
        if (!SplitTrackEntry(m_queue.At(i)).path.isEmpty()) return true;
    return false;
}

bool PlaybackEngine::PlayEntry(const QString& entry) {
    const QString path = SplitTrackEntry(entry).path;
    const QString name = TrackTitle(path);
    if (m_queue.Count() < PlayQueue::kShownEntries) m_queue.RefillQueue();
    m_queue.ShowNextTracks();
    if (path.isEmpty()) return true;

    m_queue.CountTrackStarted();
    // A stat, never an open: a pipe in a list must not block the tick. A file that is
    // not there, handed over, would cost the settling ticks in silence.
    if (!QFileInfo(path).isFile()) {
        Q_EMIT TrackMissing(path);
        return false;
    }
    StartOnNextDeck(*this, path, DeckFade{kTrackFadeStep, 0}, kTrackSettleTicks,
                    name.left(std::max<qsizetype>(name.size() - 4, 0)),
                    [&] { Q_EMIT EntryStarted(entry); });
    m_played.Append(name, path);
    return true;
}

void PlaybackEngine::PlayMarked() {
    if (m_queue.MarkedSlot() == 0) return;
    PlayEntry(m_queue.TakeAt(m_queue.MarkedSlot() - 1));
}

void PlaybackEngine::ClickNextTrackLabel(int n) { m_queue.MarkSlot(n); }

void PlaybackEngine::DoubleClickNextTrackLabel(int n) {
    ClickNextTrackLabel(n);
    PlayMarked();
}

void PlaybackEngine::PlayPlayedRow(int row) {
    if (row < 0 || row >= m_played.Count()) return;
    PlayEntry(m_played.PathAt(row));
}

void PlaybackEngine::Next() {
    // A filler behind the head means nothing would follow: Next is refused.
    if (!m_queue.At(1).isEmpty()) m_queue.AskStartNow(false);
}

void PlaybackEngine::NextInListOrder() { m_queue.AskStartNow(true); }

void PlaybackEngine::ClearNextTrackFlags() { m_queue.DropStartNow(); }

void PlaybackEngine::PlayNow(const std::optional<QString>& entry) {
    m_queue.MarkSlot(1);
    if (!entry) return;
    m_queue.InsertIntoQueue(*entry);
    PlayMarked();
    m_loop.SettleTicks = kTrackSettleTicks;
}

// --- transport --------------------------------------------------------------------------

void PlaybackEngine::Pause() { m_transport.Pause(); }
void PlaybackEngine::Restart() { m_transport.Restart(); }
void PlaybackEngine::JumpBackward() { m_transport.JumpBackward(); }
void PlaybackEngine::JumpForward() { m_transport.JumpForward(); }
void PlaybackEngine::StoreCue(int n) { m_transport.StoreCue(n); }
void PlaybackEngine::RecallCue(int n) { m_transport.RecallCue(n); }
void PlaybackEngine::SetManual(bool down) { m_transport.SetManual(down); }

void PlaybackEngine::KnobRelease() { m_decks.JumpTo(m_decks.CurrentDeck, m_panel->KnobRelease()); }

void PlaybackEngine::SetJumpSecText(const QString& text) { m_transport.Editsec1 = text; }

bool PlaybackEngine::KeyDown(int key) {
    switch (key) {
        case 219:
            m_bars->FadeOut0();
            return true;
        case 221:
            m_bars->FadeIn0();
            return true;
        case 222:
            Pause();
            return true;
        default:
            return false;
    }
}

// --- volume bars ------------------------------------------------------------------------

void PlaybackEngine::MoveBarByHand(int bar, int position) { m_bars->MoveBarByHand(bar, position); }

void PlaybackEngine::SetLevelText(VolumeBars::LevelBox box, const QString& text) {
    m_bars->SetLevelText(box, text);
}

void PlaybackEngine::SetMixingIntervalText(const QString& text) {
    m_bars->SetMixingIntervalText(text);
}

void PlaybackEngine::FadeIn0() { m_bars->FadeIn0(); }
void PlaybackEngine::FadeOut0() { m_bars->FadeOut0(); }
void PlaybackEngine::FadeIn1() { m_bars->FadeIn1(); }
void PlaybackEngine::FadeOut1() { m_bars->FadeOut1(); }
void PlaybackEngine::FadeIn0Amp() { m_bars->FadeIn0Amp(); }
void PlaybackEngine::FadeIn1Amp() { m_bars->FadeIn1Amp(); }

// --- queue, played list, program of the hour ---------------------------------------------

void PlaybackEngine::SetRandomPlay(bool random) { m_queue.SetRandomPlay(random); }
void PlaybackEngine::SeedQueue(std::uint32_t seed) { m_queue.Seed(seed); }
void PlaybackEngine::ReadLengthsInBackground() { m_queue.ReadLengthsInBackground(); }
void PlaybackEngine::SelectPlayedRow(int row) { m_played.SelectedRow = row; }
void PlaybackEngine::ClearPlayed() { m_played.Clear(); }

void PlaybackEngine::StartProgram(const QStringList& names, const QList<QStringList>& lists) {
    m_queue.SetProgram(names, lists);
    m_queue.Clear();
    for (int i = 0; i < PlayQueue::kShownEntries; ++i) m_queue.RefillQueue();
    m_queue.ShowNextTracks();
}

// --- title ------------------------------------------------------------------------------

void PlaybackEngine::ShowTrackName(const QString& title) { m_panel->ShowTrackName(title); }

void PlaybackEngine::GoOnWith(int deck, const QString& path) {
    m_decks.CurrentDeck = deck & 1;
    m_decks.NextDeck = 1 - (deck & 1);
    m_onDeck[deck & 1] = m_levelling.AnalysisOf(path);
    m_handed[deck & 1] = path;
    m_cued = {};
    // What the other deck held ready for the hand-over reads as paused to a new station.
    if (m_decks.PlayState(m_decks.NextDeck) != PlayerLink::kPlaying) m_decks.Stop(m_decks.NextDeck);
}

void PlaybackEngine::RestorePlayed(const QStringList& titles, const QStringList& paths) {
    m_played.Clear();
    for (qsizetype i = 0; i < std::min(titles.size(), paths.size()); ++i)
        m_played.Append(titles[i], paths[i]);
}

// --- main loop --------------------------------------------------------------------------

void PlaybackEngine::TimerProgram1Timer() {
    ReEnable guard(*m_program1);
    Tick();
}

void PlaybackEngine::DeckEnded(int deck) {
    // The other deck's sound (a jingle, a sent spot, the hour) plays over the music.
    if (deck != m_decks.CurrentDeck || !m_program1->Enabled() || m_ticking) return;
    // A deck that ended has nothing left to settle; the ticks go on from this one, so a
    // track started now is looked at every kLoopMs from its start.
    m_loop.SettleTicks = 0;
    m_program1->SetEnabled(false);
    TimerProgram1Timer();
}

void PlaybackEngine::Tick() {
    // One reading of the clock serves the whole tick.
    const QTime now = m_clock.Now().time();
    m_panel->ShowClock(now);
    TickMoment moment{.hour = now.hour(), .minute = now.minute(), .second = now.second()};
    m_ticking = true;
    RunTickParts(moment);
    m_ticking = false;
    CueWhatComesNext(moment);
    Q_EMIT Ticked();
}

void PlaybackEngine::RunTickParts(TickMoment& moment) {
    bool deckAsked = false;
    for (TickPart* part : m_tickParts) {
        if (part->WaitsForDeck() && !deckAsked) {
            deckAsked = true;
            if (!DeckPlaysOn(moment)) return;
        }
        if (part->TakesTick(moment)) return;
    }
}

void PlaybackEngine::CueFailed(int deck) {
    const QString path = std::exchange(m_cued[deck & 1], QString());
    if (deck != m_decks.NextDeck) return;
    for (TickPart* part : m_tickParts)
        if (part->PassesOver(path)) return;
}

void PlaybackEngine::CueWhatComesNext(const TickMoment& moment) {
    // The idle deck only: not one that carries the old track down, or a jingle.
    const int next = m_decks.NextDeck;
    if (!m_decks.SecondPlayerFound || m_loop.JingleOnNextDeck || m_bars->CrossfadeRunning() ||
        m_decks.PlayState(next) != PlayerLink::kStopped)
        return;
    for (const TickPart* part : m_tickParts) {
        if (const std::optional<QString> path = part->ComesNext(moment)) {
            // The analysis is looked up once a file, not at every tick it waits.
            if (m_cued[next & 1] != *path) {
                m_cued[next & 1] = *path;
                LevelDeck(next, *path);
            }
            m_decks.Cue(next, *path);
            return;
        }
    }
}

bool PlaybackEngine::DeckPlaysOn(TickMoment& moment) {
    const int state = m_decks.PlayState(m_decks.CurrentDeck);
    m_transport.ShowPlayState(state);
    if (state == PlayerLink::kPaused) return false;

    ShowTrackTime(state);

    // A player that died while its file was starting is not waited for: its deck reads
    // stopped and cannot be found, so the next entry starts at once. One that has not
    // taken the file yet is still found, and waited for.
    if (m_loop.SettleTicks > 0 && state != PlayerLink::kPlaying &&
        !m_decks.FindDeck(m_decks.CurrentDeck))
        m_loop.SettleTicks = 0;
    if (m_loop.SettleTicks > 0) {
        // The first tick after a track start; a spot sets fewer ticks and never jumps.
        if (SkipIntro && m_loop.SettleTicks == kTrackSettleTicks)
            m_decks.JumpTo(m_decks.CurrentDeck, SkipIntroSec * 1000LL);
        --m_loop.SettleTicks;
        return false;
    }

    moment.playState = state;
    moment.positionSec = m_decks.PositionMs(m_decks.CurrentDeck) / 1000;
    moment.lengthSec = m_decks.LengthSec(m_decks.CurrentDeck);
    return true;
}

std::optional<SoundAnalysis> PlaybackEngine::LevelDeck(int deck, const QString& path) {
    std::optional<SoundAnalysis> analysis = m_levelling.AnalysisOf(path);
    m_decks.SetPlayback(deck, m_levelling.GainDb(analysis), m_levelling.StartSec(analysis));
    return analysis;
}

void PlaybackEngine::HandingOver(int deck, const QString& path) {
    m_onDeck[deck & 1] = LevelDeck(deck, path);
    m_handed[deck & 1] = path;
    m_cued[deck & 1].clear();  // whatever was readied there plays now, or is replaced
}

void PlaybackEngine::AddTickPart(TickPart& part) {
    m_tickParts.insert(m_tickParts.end() - 1, &part);
}

void PlaybackEngine::ShowTrackTime(int state) {
    long long p = m_decks.PositionMs(m_decks.CurrentDeck) / 1000;
    long long length = m_decks.LengthSec(m_decks.CurrentDeck);
    // A deck that plays nothing reads as a track of no length: a player with no file
    // reports a length of -1, and one that stopped may keep the old track's.
    if (state != PlayerLink::kPlaying) p = length = 0;
    m_panel->ShowTrackTime(p, length);
}
