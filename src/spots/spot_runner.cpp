#include "spots/spot_runner.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "jingles/jingle_wall.h"
#include "playback/deck_start.h"
#include "playback/playback_engine.h"
#include "player/player_link.h"
#include "schedule/list_file.h"
#include "spots/spot_file.h"
#include "spots/spot_schedule.h"
#include "spots/spot_timing.h"

namespace {

constexpr std::uint8_t kSpotSettleTicks = 5;
constexpr int kLongSpotFadeStep = 5;
constexpr int kShortSpotFadeMs = 20;
// Under this a spot (or the track it follows) plays out before the next one starts.
constexpr int kShortItemSec = 59;

}  // namespace

SpotRunner::SpotRunner(SpotSchedule& schedule, PlaybackEngine& engine, const JingleWall& jingles)
    : m_schedule(schedule), m_engine(engine), m_jingles(jingles) {
    m_settings.Add("HowToPlaySpots", HowToPlaySpots)
        .Add("HowFastFadeOnSpots", HowFastFadeOnSpots)
        .Add("PlayOnlyOneSpot", PlayOnlyOneSpot)
        .Add("PlaySpotEvery", PlaySpotEvery);
}

void SpotRunner::CountQueueHead() {
    if (PlayOnlyOneSpot) ++TracksSinceEverySpot;
}

bool SpotRunner::IsLongSpotFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() > kLongSpotBytes;
}

void SpotRunner::PlaySpotsNormally() {
    if (!m_engine.Controls().ManualMode) return;
    SpotsAccepted = true;
    m_warningVisible = false;
}

bool SpotRunner::TakesTick(const TickMoment& moment) {
    if (m_schedule.TakeRefreshNextSpots()) m_schedule.PrepareNextSpots(moment.hour, moment.minute);
    if (!m_runActive && (moment.hour != m_schedule.LastSpotHour() ||
                         moment.minute / 15 != m_schedule.LastSpotMinute() / 15)) {
        QuarterChange(moment);
    }
    // An acceptance belongs to the manual mode it was given in.
    if (!m_engine.Controls().ManualMode) SpotsAccepted = false;
    if (m_warningVisible)
        m_warningColour = m_warningColour == kWarningRed ? kWarningFace : kWarningRed;
    WarnAndTrigger(moment);
    m_warningSecondsLeft = 60 - moment.second;
    if (PlayOnlyOneSpot && PlaySpotEvery < TracksSinceEverySpot) {
        TracksSinceEverySpot = 0;
        m_everySpotPending = true;
    }
    if (!m_runActive && !m_everySpotPending) return false;
    return RunStep(moment);
}

void SpotRunner::QuarterChange(const TickMoment& moment) {
    if (m_warnedUnaccepted && !SpotsAccepted) {
        QString places = m_schedule.NextSpotsSlot();
        for (int i = 0; i < m_schedule.NextSpotPaths().size(); ++i)
            if (m_schedule.NextSpotChecked(i)) places += QStringLiteral(" #%1").arg(i + 1);
        Q_EMIT SpotsCancelled(m_schedule.CheckedSpotCount(), places);
    }
    m_warnedUnaccepted = false;
    m_schedule.PrepareNextSpots(moment.hour, moment.minute);
    m_unplayable.clear();
    SpotsAccepted = false;
    m_warningVisible = false;
}

bool SpotRunner::RunMayStart(int minute) const {
    return HowSpotsPlay() == SpotMode::Just && spot_timing::IsRunMinute(minute) &&
           (!m_engine.Controls().ManualMode || SpotsAccepted) &&
           m_schedule.NextSpotsSlot() != m_triggeredSlot;
}

std::optional<QString> SpotRunner::ComesNext(const TickMoment& moment) const {
    const QStringList& paths = m_schedule.NextSpotPaths();
    int index = m_runActive                  ? m_nextIndex
                : RunMayStart(moment.minute) ? m_schedule.FirstCheckedSpot()
                                             : -1;
    while (index >= 0 && index < paths.size() &&
           (!m_schedule.NextSpotChecked(index) || m_unplayable.contains(paths[index])))
        ++index;
    if (index < 0 || index >= paths.size()) return std::nullopt;
    return paths[index];
}

bool SpotRunner::PassesOver(const QString& path) {
    if (!m_schedule.NextSpotPaths().contains(path)) return false;
    m_unplayable.insert(path);
    return true;
}

void SpotRunner::WarnAndTrigger(const TickMoment& moment) {
    if (m_runActive || HowSpotsPlay() != SpotMode::Just || !spot_timing::IsRunMinute(moment.minute))
        return;
    const bool manual = m_engine.Controls().ManualMode;
    if (manual && !m_warningVisible && !SpotsAccepted && moment.second > 0 &&
        m_schedule.FirstCheckedSpot() != -1) {
        m_warningVisible = true;
        m_warnedUnaccepted = true;
    }
    // One run a quarter: a run that ends within its trigger minute (short or missing
    // spots) must not start over at the next tick. The quarter is one of a date, so the
    // same quarter of the next day runs again; the hour the clocks repeat runs the
    // quarters of its second pass again, since other quarters ran in between.
    const QString slot = m_schedule.NextSpotsSlot();
    if ((manual && !SpotsAccepted) || !spot_timing::RunDue(moment.minute, moment.second) ||
        slot == m_triggeredSlot)
        return;
    const int first = m_schedule.FirstCheckedSpot();
    if (first == -1) return;
    m_warningVisible = false;
    m_warnedUnaccepted = false;
    m_triggeredSlot = slot;
    Decks& decks = m_engine.Players();
    decks.Stop(decks.NextDeck);
    m_runActive = true;
    m_nextIndex = first;
    m_startSpotsNow = true;
}

bool SpotRunner::RunStep(const TickMoment& moment) {
    const int length = moment.lengthSec;
    const int wait = length < kShortItemSec ? 1 : m_engine.Bars().MixingSeconds();
    const bool forced = m_startSpotsNow || m_engine.Queue().StartNowAsked();
    const bool deckBusy =
        moment.playState == PlayerLink::kPlaying || moment.playState == PlayerLink::kPaused;
    if (!forced && (wait <= 1 || wait <= length - moment.positionSec) && deckBusy) return true;
    m_startSpotsNow = false;
    m_engine.ClearNextTrackFlags();
    // A jingle that fell due during a run of spots follows the run.
    if (!m_runActive) {
        EverySpotStep();
        return true;
    }
    // Spots passed over (unchecked, or with no file) cost no time: the next one, or the
    // music after the run, follows in this same tick.
    const QStringList& paths = m_schedule.NextSpotPaths();
    while (m_runActive) {
        // A list prepared afresh during the run may be shorter than the index.
        if (m_nextIndex < 0 || m_nextIndex >= paths.size()) break;
        const int index = m_nextIndex++;
        const QString path = paths[index];
        if (!m_schedule.NextSpotChecked(index)) {
            Q_EMIT SpotSkipped(path, SpotPlace(index));
            continue;
        }
        if (m_nextIndex >= spot_file::kSpotsPerSlot) m_runActive = false;
        if (!QFileInfo(path).isFile()) {
            Q_EMIT Problem(QStringLiteral("The spot %1 could not be played: there is no such file.")
                               .arg(path));
            continue;
        }
        if (m_unplayable.contains(path)) {
            Q_EMIT Problem(
                QStringLiteral("The spot %1 could not be played: the deck could not open it.")
                    .arg(path));
            continue;
        }
        StartSpot(path, SpotPlace(index));
        return true;
    }
    m_runActive = false;
    if (!m_everySpotPending) return false;
    EverySpotStep();
    return true;
}

SpotRunner::Saved SpotRunner::Save() const {
    return {m_runActive,       m_nextIndex,          m_triggeredSlot, m_everySpotPending,
            m_everySpotCursor, TracksSinceEverySpot, SpotsAccepted};
}

void SpotRunner::Restore(const Saved& saved) {
    m_runActive = saved.runActive;
    m_nextIndex = std::max(saved.nextIndex, 0);
    m_triggeredSlot = saved.triggeredSlot;
    m_everySpotPending = saved.everySpotPending;
    m_everySpotCursor = std::max(saved.everySpotCursor, 0);
    TracksSinceEverySpot = saved.tracksSinceEverySpot;
    SpotsAccepted = saved.spotsAccepted;
    m_startSpotsNow = false;
}

QString SpotRunner::SpotPlace(int index) const {
    return m_schedule.NextSpotsSlot() + QStringLiteral(" #%1").arg(index + 1);
}

void SpotRunner::EverySpotStep() {
    m_everySpotPending = false;
    const QStringList& jingles = m_jingles.JinglePaths();
    // A bank of fewer than four jingles takes turns among those it has; an empty one
    // lets the music go on.
    const int count = int(std::min<qsizetype>(jingles.size(), kEverySpotJingles));
    if (count == 0) return;
    if (m_everySpotCursor >= count) m_everySpotCursor = 0;
    const QString path = jingles[m_everySpotCursor];
    m_everySpotCursor = (m_everySpotCursor + 1) % count;
    if (!QFileInfo(path).isFile()) {
        Q_EMIT Problem(
            QStringLiteral("The spot %1 could not be played: there is no such file.").arg(path));
        return;
    }
    StartSpot(path, QString());
}

void SpotRunner::StartSpot(const QString& path, const QString& place) {
    const DeckFade fade = IsLongSpotFile(path) ? DeckFade{kLongSpotFadeStep, 0}
                                               : DeckFade{HowFastFadeOnSpots, kShortSpotFadeMs};
    StartOnNextDeck(m_engine, path, fade, kSpotSettleTicks,
                    QStringLiteral("SPOT: ") + TrackTitle(path),
                    [&] { Q_EMIT SpotStarted(path, place); });
}

void SpotRunner::SendAsSpot(const QString& path) {
    Decks& decks = m_engine.Players();
    if (!decks.SecondPlayerFound || path.isEmpty()) return;
    decks.Stop(decks.NextDeck);
    StartOnNextDeck(m_engine, path, std::nullopt, 0, std::nullopt,
                    [&] { Q_EMIT SpotStarted(path, QString()); });
}

void SpotRunner::ListBoxSpots2DblClick(bool fadeJingles) {
    Decks& decks = m_engine.Players();
    if (fadeJingles)
        decks.StopWithFade(0);
    else
        decks.Stop(0);
    m_engine.NextInListOrder();
}
