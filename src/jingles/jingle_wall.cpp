#include "jingles/jingle_wall.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "base/text_file.h"
#include "base/timer_host.h"
#include "jingles/jingle_banks.h"
#include "playback/deck_start.h"
#include "playback/playback_engine.h"
#include "player/player_link.h"
#include "schedule/list_file.h"
#include "schedule/program_lock.h"

JingleWall::JingleWall(const QString& listsPath, const QString& spotsPath, PlaybackEngine& engine,
                       TimerHost& timers, const ProgramLock& lock)
    : m_listsPath(listsPath), m_spotsPath(spotsPath), m_engine(engine), m_lock(lock) {
    m_jingleEnd = timers.CreateTimer(QStringLiteral("TimerJingleEnd"), kJingleEndMs,
                                     [this] { TimerJingleEndTimer(); });
    m_settings.Add("FadeJingles", FadeJingles);
}

JingleWall::~JingleWall() = default;

bool JingleWall::JinglePlaying() const { return m_jingleEnd->Enabled(); }

Result JingleWall::LoadJingleTabs(bool everySongsSpot) {
    const ReadResult<QStringList> banks = jingle_banks::ReadTabs(m_spotsPath);
    m_tabs = banks.value;
    m_banksUnreadable = banks.ok() ? QString() : banks.message();
    m_currentTab = everySongsSpot && m_tabs.size() > kEverySongsTab ? kEverySongsTab : 0;
    const Result built = BuildJingleButtons(m_tabs[m_currentTab]);
    return banks.ok() ? built : Result(banks);
}

Result JingleWall::BuildJingleButtons(const QString& bankName) {
    ReadResult<QStringList> lines = list_file::Read(m_listsPath, bankName);
    m_paths = lines.ok() ? lines.value : QStringList();
    m_captions.clear();
    const qsizetype shown = std::min<qsizetype>(m_paths.size(), kButtonCount);
    for (qsizetype i = 0; i < shown; ++i) m_captions << jingle_banks::JingleCaption(m_paths[i]);
    return lines;
}

Result JingleWall::SelectTab(int index) {
    if (index < 0 || index >= m_tabs.size()) return {};
    m_currentTab = index;
    return BuildJingleButtons(m_tabs[index]);
}

Result JingleWall::SaveJingleBanks(const QStringList& tabs) {
    // The tabs shown for a file that could not be read are the defaults; written back, they
    // would replace whatever the file still holds.
    if (!m_banksUnreadable.isEmpty())
        return Result::Error(m_banksUnreadable + QStringLiteral(" The banks are not changed."));
    return text_file::WriteLines(jingle_banks::FilePath(m_spotsPath), tabs);
}

Result JingleWall::SetJingles(const QString& listName) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (m_currentTab < 0) return {};
    // One line a tab: a name that is not a plain file name names no list and could break
    // the banks file in two.
    if (!IsSafeFileName(listName) || listName.contains(u'\n') || listName.contains(u'\r'))
        return Result::Error(QStringLiteral("\"%1\" is not the name of a list.").arg(listName));
    QStringList tabs = m_tabs;
    tabs[m_currentTab] = listName;
    if (Result saved = SaveJingleBanks(tabs); !saved.ok()) return saved;
    m_tabs = tabs;
    return BuildJingleButtons(listName);
}

Result JingleWall::ClearJingles() {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    if (m_currentTab < 0) return {};
    QStringList tabs = m_tabs;
    tabs[m_currentTab] = jingle_banks::ClearedBankName(m_currentTab);
    if (Result saved = SaveJingleBanks(tabs); !saved.ok()) return saved;
    m_tabs = tabs;
    return BuildJingleButtons(m_tabs[m_currentTab]);
}

void JingleWall::PlayJingle(int button, int fadeStep) {
    if (button < 0 || button >= NoOfJingles()) return;
    m_lastCaption = m_captions[button];
    m_currentPath = m_paths[button];
    m_fadeStep = fadeStep;
    HoldNextDeck(true);
    // The next deck still carries the old track down: the jingle waits for the crossfade.
    m_waitingForCrossfade = m_engine.Bars().CrossfadeRunning();
    if (!m_waitingForCrossfade) StartJingle();
    m_jingleEnd->SetEnabled(true);
}

void JingleWall::StartJingle() {
    VolumeBars& bars = m_engine.BarsForTickParts();
    // Quick fades, so the music dips under the jingle and not over its first seconds. A
    // step of 0 would never reach its level and keep the fade running for ever.
    bars.SetFadeInterval(kJingleFadeMs);
    bars.SetPageSize(std::max(m_fadeStep, 1));
    if (FadeJingles)
        bars.FadeIn1Amp();
    else
        bars.FadeIn1();
    Decks& decks = m_engine.Players();
    if (decks.SecondPlayerFound) {
        decks.Stop(decks.NextDeck);
        StartOnNextDeck(m_engine, m_currentPath, std::nullopt, 0, std::nullopt,
                        [this] { Q_EMIT JingleStarted(m_currentPath); });
    }
}

void JingleWall::HoldNextDeck(bool hold) { m_engine.LoopForTickParts().JingleOnNextDeck = hold; }

void JingleWall::StopJingle() {
    m_jingleEnd->SetEnabled(false);
    HoldNextDeck(false);
    // A jingle that has not started yet leaves the crossfade as it goes.
    if (std::exchange(m_waitingForCrossfade, false)) return;
    Decks& decks = m_engine.Players();
    decks.Stop(decks.NextDeck);
    m_engine.BarsForTickParts().FadeIn0Amp();
}

void JingleWall::TimerJingleEndTimer() {
    m_jingleEnd->SetEnabled(false);
    if (m_waitingForCrossfade) {
        m_waitingForCrossfade = m_engine.Bars().CrossfadeRunning();
        if (!m_waitingForCrossfade) StartJingle();
        m_jingleEnd->SetEnabled(true);
        return;
    }
    Decks& decks = m_engine.Players();
    const int state = decks.PlayState(decks.NextDeck);
    if (state == PlayerLink::kPlaying || state == PlayerLink::kPaused) {
        m_jingleEnd->SetEnabled(true);
        return;
    }
    // The music back up, the jingle's deck back down, and the queue free to go on.
    HoldNextDeck(false);
    m_engine.BarsForTickParts().FadeIn0Amp();
}
