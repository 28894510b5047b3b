// The station's side of its air watch: what it believes should be on air, the steps that
// bring sound back, and the hand-overs it tells.
#include "app/station.h"
#include "schedule/list_file.h"

AirWatch::Hooks Station::AirHooks() {
    return {
        // Sound is expected while the loop runs and the operator has not silenced it: not
        // paused, the line input closed, and in manual mode only while a deck plays.
        .believesSound =
            [this] {
                const Transport& controls = m_engine.Controls();
                if (!m_engine.MainLoopRunning() || controls.PauseDown || m_lineIn.ButtonDown())
                    return false;
                return m_engine.AnyDeckPlays() ||
                       (!controls.ManualMode && m_engine.QueueHoldsATrack());
            },
        // Unlike the operator's Next, it starts the head even when nothing follows it.
        .next = [this] { m_engine.PlayNextFromQueue(); },
        .restartDecks =
            [this] {
                m_engine.Players().RestartPlayers();
                m_engine.QueueForLoader().AskStartNow(false);
            },
        .playList =
            [this](const QString& name) {
                if (!PlayListNow(name)) return false;
                m_emergencyList = name;  // played round until the next program
                return true;
            },
    };
}

void Station::TellHandOvers() {
    const auto tell = [this](const char* kind) {
        return [this, kind] { m_airWatch.HandOver(QLatin1String(kind)); };
    };
    connect(&m_engine, &PlaybackEngine::EntryStarted, this, tell("track"));
    connect(&m_spots, &SpotRunner::SpotStarted, this, tell("spot"));
    connect(&m_jingles, &JingleWall::JingleStarted, this, tell("jingle"));
    connect(&m_hour, &HourAnnouncement::Announced, this, tell("hour"));
    connect(&m_lineIn, &LineIn::Toggled, this, [this](bool open) {
        if (open) m_airWatch.HandOver(QStringLiteral("line"));
    });
    connect(&m_engine, &PlaybackEngine::QueueHeadTaken, this, [this] { KeepEmergencyListGoing(); });
    connect(&m_loader, &ProgramLoader::ProgramLoaded, this, [this] { m_emergencyList.clear(); });
}

void Station::KeepEmergencyListGoing() {
    if (m_emergencyList.isEmpty()) return;
    const PlayQueue& queue = m_engine.Queue();
    int left = 0, after = 0;  // its entries still queued, and the place after the last
    for (int i = 0; i < queue.Count(); ++i)
        if (SplitTrackEntry(queue.At(i)).listName == m_emergencyList) ++left, after = i + 1;
    if (left > 1) return;
    const ReadResult<QStringList> list = list_file::Read(m_folders.ListsPath, m_emergencyList);
    int at = after;
    for (const QString& line : list.value)
        if (!line.trimmed().isEmpty())
            m_engine.QueueForLoader().InsertAt(at++,
                                               MakeTrackEntry(line.trimmed(), m_emergencyList));
}

bool Station::PlayListNow(const QString& name) {
    const ReadResult<QStringList> list = list_file::Read(m_folders.ListsPath, name);
    QStringList entries;
    for (const QString& line : list.value)
        if (!line.trimmed().isEmpty()) entries << MakeTrackEntry(line.trimmed(), name);
    if (!list.ok() || entries.isEmpty()) {
        Q_EMIT Problem(list.ok() ? QStringLiteral("the list \"%1\" holds no tracks").arg(name)
                                 : list.message());
        return false;
    }
    PlayQueue& queue = m_engine.QueueForLoader();
    for (qsizetype i = 0; i < entries.size(); ++i) queue.InsertAt(int(i), entries[i]);
    m_engine.Next();
    return true;
}
