// The journal a station keeps so that, killed and started again while its decks play on,
// it goes on where it was rather than begin its program again.
#include <QFile>
#include <QFileInfo>

#include "app/resume_journal.h"
#include "app/station.h"
#include "base/clock.h"
#include "base/text_file.h"
#include "player/player_link.h"
#include "schedule/day_program.h"

namespace {

// A run of spots killed between two spots finds both decks silent; it goes on with its next
// spot when the journal is this recent.
constexpr int kSilentSpotRunSec = 120;

// The current deck's bar where its fades left it; -1 while one runs, for a restart to keep
// the volume the deck plays at rather than jump to the stored bar.
int SettledBar(const VolumeBars& bars) {
    using enum VolumeBars::Fade;
    for (const VolumeBars::Fade fade : {Timer1, Timer2, TimerFadeOut1, TimerFadeIn1})
        if (bars.Running(fade)) return -1;
    return bars.Position(0);
}

bool SameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

void Station::KeepJournal() {
    if (m_journalKept) return;
    m_journalKept = true;
    connect(&m_engine, &PlaybackEngine::LoopStarting, this, &Station::GoOnWhereItWas);
    connect(&m_engine, &PlaybackEngine::Ticked, this, &Station::WriteJournalIfChanged);
}

QString Station::JournalPath() const {
    return m_folders.StartFolder + QLatin1String(kJournalFileName);
}

int Station::ProgramSlotNow() const {
    const QTime now = m_clock.Now().time();
    const int slot = day_program::SlotOfTime(now.hour(), now.minute());
    const QStringList& day = m_loader.ListBoxProgramNow1();
    if (slot < 0 || day.size() != day_program::kSlotCount) return slot;
    return day_program::SpanOfSlot(day, slot).startSlot;
}

ResumePoint Station::ResumePointNow() const {
    const PlayQueue& queue = m_engine.Queue();
    ResumePoint p;
    p.written = m_clock.Now();
    p.day = p.written.date();
    p.programSlot = ProgramSlotNow();
    p.programName = m_loader.LabelProgramName1();
    p.programByHand = m_loader.HandProgramPlaying;
    p.currentDeck = m_engine.Players().CurrentDeck & 1;
    p.onAirFile = m_engine.HandedTo(p.currentDeck);
    p.onAirTitle = m_engine.Panel().TrackName();
    p.currentBar = SettledBar(m_engine.Bars());
    for (int k = 0; k < queue.ProgramListCount(); ++k) {
        p.poolNames << queue.ProgramListName(k);
        p.pools << queue.ProgramList(k);
    }
    p.queue = queue.Entries();
    p.tracksToPlay = queue.TracksToPlay();
    p.playedTitles = m_engine.Played().Titles();
    p.playedPaths = m_engine.Played().Paths();
    p.nextSpots = m_spotSchedule.Save();
    p.spots = m_spots.Save();
    p.manual = m_engine.Controls().ManualMode;
    p.programsLocked = m_lock.LockPrograms;
    return p;
}

// What changes when the station moves on, cheap enough for every tick: the pools change only
// with the queue or a new program, the played list only with a start.
QByteArray Station::JournalFingerprint() const {
    const PlayQueue& queue = m_engine.Queue();
    const SpotRunner::Saved spots = m_spots.Save();
    const int deck = m_engine.Players().CurrentDeck & 1;
    QStringList parts{QString::number(deck),
                      m_engine.HandedTo(deck),
                      m_loader.LabelProgramName1(),
                      QString::number(ProgramSlotNow()),
                      QString::number(m_loader.HandProgramPlaying),
                      QString::number(queue.TracksToPlay()),
                      QString::number(m_engine.Played().Count()),
                      m_spotSchedule.NextSpotsSlot(),
                      QString::number(spots.runActive),
                      QString::number(spots.nextIndex),
                      spots.triggeredSlot,
                      QString::number(spots.everySpotCursor),
                      QString::number(spots.tracksSinceEverySpot),
                      QString::number(m_engine.Controls().ManualMode),
                      QString::number(m_lock.LockPrograms),
                      QString::number(SettledBar(m_engine.Bars()))};
    for (int i = 0; i < m_spotSchedule.NextSpotPaths().size(); ++i)
        parts << QString::number(m_spotSchedule.NextSpotChecked(i));
    parts << queue.Entries();
    return parts.join(u'\n').toUtf8();
}

void Station::WriteJournalIfChanged() {
    if (!m_journalWriting) return;
    QByteArray fingerprint = JournalFingerprint();
    if (fingerprint == m_journalFingerprint) return;
    const Result written = text_file::WriteBytes(JournalPath(), JournalJson(ResumePointNow()));
    // A full disk is told once, and tried again at the next change.
    if (!written.ok()) {
        if (!m_journalFailed) Q_EMIT Problem(written.message());
        m_journalFailed = true;
        return;
    }
    m_journalFailed = false;
    m_journalFingerprint = std::move(fingerprint);
}

void Station::EndJournal() {
    if (!m_journalKept) return;
    m_journalWriting = false;
    QFile::remove(JournalPath());
}

void Station::GoOnWhereItWas() {
    m_journalWriting = true;
    if (!QFile::exists(JournalPath())) return;
    const ReadResult<ResumePoint> read = ReadJournal(JournalPath());
    const QString why = read.ok() ? WhyNotGoOn(read.value) : read.message();
    if (why.isEmpty()) {
        GoOn(read.value);
        return;
    }
    // Kept aside for whoever wants to see it; the next change writes a new journal.
    const QString aside = JournalPath() + QStringLiteral(".set-aside");
    QFile::remove(aside);
    QFile::rename(JournalPath(), aside);
    Q_EMIT Problem(QStringLiteral("The journal %1 was set aside as %2: %3. The station begins "
                                  "its program afresh.")
                       .arg(QLatin1String(kJournalFileName), QFileInfo(aside).fileName(), why));
}

QString Station::WhyNotGoOn(const ResumePoint& p) {
    const QDateTime now = m_clock.Now();
    if (p.day != now.date() || p.programSlot != ProgramSlotNow())
        return QStringLiteral("its program (%1 from %2) is no longer on air")
            .arg(p.day.toString(Qt::ISODate), day_program::SlotToTime(p.programSlot));
    if (!p.programByHand && p.programName != m_loader.LabelProgramName1())
        return QStringLiteral("the calendar has another program on air now");
    Decks& decks = m_engine.Players();
    const int deck = p.currentDeck;
    if (decks.PlayState(deck) == PlayerLink::kPlaying && SameFile(decks.File(deck), p.onAirFile))
        return {};
    const bool silent =
        decks.PlayState(0) != PlayerLink::kPlaying && decks.PlayState(1) != PlayerLink::kPlaying;
    if (silent && p.spots.runActive && p.written.secsTo(now) <= kSilentSpotRunSec) return {};
    if (decks.PlayState(deck) != PlayerLink::kPlaying)
        return QStringLiteral("deck %1 no longer plays %2").arg(deck + 1).arg(p.onAirFile);
    if (decks.File(deck).isEmpty())
        return QStringLiteral("deck %1 cannot tell which file it plays").arg(deck + 1);
    return QStringLiteral("deck %1 plays %2, not %3")
        .arg(deck + 1)
        .arg(decks.File(deck), p.onAirFile);
}

void Station::GoOn(const ResumePoint& p) {
    m_engine.GoOnWith(p.currentDeck, p.onAirFile);
    if (!p.onAirTitle.isEmpty()) m_engine.ShowTrackName(p.onAirTitle);
    if (p.currentBar >= 0) m_engine.MoveBarByHand(0, p.currentBar);
    m_engine.QueueForLoader().Restore(p.poolNames, p.pools, p.queue, p.tracksToPlay);
    m_engine.RestorePlayed(p.playedTitles, p.playedPaths);
    m_loader.GoOnWith(p.programName, p.programByHand);
    m_spotSchedule.Restore(p.nextSpots);
    m_spots.Restore(p.spots);
    SetManual(p.manual);
    m_lock.LockPrograms = p.programsLocked;
    const QString detail =
        QStringLiteral("deck%1\t%2").arg(p.currentDeck).arg(p.onAirFile) +
        (p.spots.runActive ? QStringLiteral("\tspot run, next #%1").arg(p.spots.nextIndex + 1)
                           : QString());
    Q_EMIT WentOn(detail);
}
