#include "app/station.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "app/analysis_feed.h"
#include "app/analysis_state.h"
#include "app/favorites.h"
#include "app/now_playing.h"
#include "base/clock.h"
#include "base/system_shutdown.h"
#include "base/text_file.h"
#include "base/timer_host.h"
#include "housekeeping/dead_entries.h"
#include "playback/main_loop.h"
#include "schedule/day_program.h"
#include "schedule/list_file.h"

namespace {

// How often the background analysis is handed what comes next, and after how many of
// those it walks the programs, the lists and the library again for new files.
constexpr int kAnalysisFeedMs = 5000;
constexpr int kFeedsBetweenWalks = 30 * 60 * 1000 / kAnalysisFeedMs;

void AddIfAny(QStringList& messages, const QString& message) {
    if (!message.isEmpty()) messages << message;
}

void AddIfAny(QStringList& messages, const Result& result) {
    if (result.kind() != Result::Kind::Ok) messages << result.message();
}

}  // namespace

Station::Station(const QString& startFolder, Clock& clock, TimerHost& timers, PlayerLink& link,
                 LineInControl* lineInControl)
    : m_clock(clock),
      m_folders(MakeDataFolders(startFolder)),
      m_engine(clock, timers, link),
      m_ownLineInControl(lineInControl ? nullptr : std::make_unique<SimulatedLineInControl>()),
      m_lineIn(m_engine.BarsForTickParts(), timers,
               lineInControl ? *lineInControl : *m_ownLineInControl),
      m_spotEditor(m_folders.SpotsPath, m_lock),
      m_spotSchedule(m_folders.SpotsPath, clock, m_spotEditor),
      m_jingles(m_folders.ListsPath, m_folders.SpotsPath, m_engine, timers, m_lock),
      m_spots(m_spotSchedule, m_engine, m_jingles),
      m_hour(m_folders.HoursPath, clock, timers, m_engine),
      m_shutdown(clock, timers),
      m_calendar(m_folders.DaysPath, m_lock),
      m_loader(m_folders.ListsPath, m_calendar, clock, m_engine),
      m_lists(m_folders.ListsPath, m_lock),
      m_library(m_folders.ListsPath, Library::Reads::OnWorkers),
      m_desk({m_folders.ListsPath, m_folders.SpotsPath}, m_library, m_engine, m_lists, m_spotEditor,
             m_spotSchedule),
      m_airWatch(clock, timers, AirHooks()) {
    TellHandOvers();
    m_engine.Players().StartFolder = m_folders.StartFolder;
    m_analysisFeed = timers.CreateTimer(QStringLiteral("TimerAnalysisFeed"), kAnalysisFeedMs,
                                        [this] { FeedAnalysis(); });
    // The program of the hour comes first; the marquees before the spots, so that they
    // move while the deck is paused.
    m_engine.AddTickPart(m_loader);
    m_engine.AddTickPart(m_marquees);
    m_engine.AddTickPart(m_spots);
    connect(&m_engine, &PlaybackEngine::QueueHeadTaken, this, [this] { m_spots.CountQueueHead(); });
    connect(&m_engine, &PlaybackEngine::EntryStarted, this, &Station::TellNowPlaying);
    // Spots and jingles name the stream only when the operator wants them to.
    const auto spotTitle = [this](const QString& path) {
        if (m_streams.StreamSpotTitles) Q_EMIT StreamTitle(NowPlayingText(path));
    };
    connect(&m_spots, &SpotRunner::SpotStarted, this, spotTitle);
    connect(&m_jingles, &JingleWall::JingleStarted, this, spotTitle);
    connect(&m_spots, &SpotRunner::Problem, this, &Station::Problem);
    connect(&m_engine, &PlaybackEngine::Problem, this, &Station::Problem);
    connect(&m_lineIn, &LineIn::Problem, this, &Station::Problem);
    connect(&m_spotSchedule, &SpotSchedule::Problem, this, &Station::Problem);
    connect(&m_hour, &HourAnnouncement::Problem, this, &Station::Problem);
    connect(&m_loader, &ProgramLoader::Problem, this, &Station::Problem);
    connect(&m_library, &Library::ReadDone, this, &Station::Changed);
    connect(&m_loader, &ProgramLoader::PlayedListOutdated, this,
            [this] { m_engine.ClearPlayed(); });
}

Station::~Station() = default;

QStringList Station::StartUp(QSettings* store) {
    QStringList messages;
    messages << CreateDataFolders(m_folders);
    // What saves cut short by a kill or a power cut left behind (hidden, so never a list).
    for (const QString& folder : {m_folders.StartFolder, m_folders.ListsPath, m_folders.DaysPath,
                                  m_folders.HoursPath, m_folders.SpotsPath})
        text_file::RemoveSaveLeftovers(folder);
    LoadSettings(store, messages);
    m_options.Language = LoadLanguage(m_folders.StartFolder);
    SelectToday(messages);
    const QTime now = m_clock.Now().time();
    AddIfAny(messages, m_loader.LoadProgramOfHour(now.hour(), now.minute()));
    AddIfAny(messages, m_spotEditor.StartUp(day_program::WeekdayNumber(m_clock.Now().date())));
    // "Next Spots" shows the coming quarter from the start, not from the first tick.
    m_spotSchedule.PrepareNextSpots(now.hour(), now.minute());
    AddIfAny(messages, m_jingles.LoadJingleTabs(m_spots.PlayOnlyOneSpot));
    m_lineIn.StartUp();
    m_lists.RefreshListNames();
    FollowListsFolder();
    return messages;
}

SettingsHomes Station::StoredSettings() {
    std::vector<SettingsTable*> tables = m_engine.SettingsTables();
    tables.insert(tables.end(),
                  {&m_spots.Settings(), &m_jingles.Settings(), &m_options.Settings(),
                   &m_lock.Settings(), &m_loader.Settings(), &m_lineIn.Settings(),
                   &m_shutdown.Settings(), &m_airWatch.Settings(), &m_streams.Settings()});
    return {tables, &m_options.Colours};
}

SettingsHomes Station::StoredSettings() const {
    // Read only: the store's door hands out the tables it writes into.
    return const_cast<Station*>(this)->StoredSettings();
}

void Station::LoadSettings(QSettings* store, QStringList& messages) {
    m_engine.SeedQueue(std::uint32_t(m_clock.Now().toMSecsSinceEpoch()));
    if (store) ReadSettings(*store, StoredSettings());
    m_engine.LaunchPlayers();
    const ReadResult<QStringList> favourites = ReadFavorites(m_folders);
    AddIfAny(messages, favourites);
    m_favoritesUnreadable = !favourites.ok();
    m_library.SetFavorites(favourites.value);
}

void Station::SelectToday(QStringList& messages) {
    const QDateTime now = m_clock.Now();
    AddIfAny(messages, m_calendar.SelectToday(now.date()));
    m_loader.SetLastProgramSlot(day_program::SlotOfTime(now.time().hour(), now.time().minute()));
}

bool Station::KeyDown(int key) {
    if (key != 220) return m_engine.KeyDown(key);
    m_lineIn.ToggleButton();
    return true;
}

void Station::ReadLengthsInBackground() { m_engine.ReadLengthsInBackground(); }
bool Station::AnyDeckPlays() { return m_engine.AnyDeckPlays(); }
void Station::SetManual(bool on) { m_engine.SetManual(on); }
void Station::SetAnnouncementFolder(const QString& folder) { m_hour.SetPlayListFolder(folder); }

void Station::PlayJingle(int button) { m_jingles.PlayJingle(button, m_spots.HowFastFadeOnSpots); }

Library& Station::SearchingLibrary() {
    // The options write the stored value; the pages read it when a search runs.
    m_library.SetGreeklishSearch(m_options.GreeklishSearch);
    return m_library;
}

void Station::FollowListsFolder() {
    if (m_lists.FolderNames() == m_libraryFolderNames) return;
    m_libraryFolderNames = m_lists.FolderNames();
    m_library.RefreshListNames();
}

void Station::PlayNow() { m_engine.PlayNow(m_lists.PlayNowEntry()); }

void Station::SetAdvertPanelWidth(int width) { m_marquees.Advert.PanelWidth = width; }
void Station::SetAdvertLabelWidth(int width) { m_marquees.Advert.LabelWidth = width; }
void Station::SetMessagePanelWidth(int width) { m_marquees.Messages.PanelWidth = width; }
void Station::SetMessageLabelWidth(int width) { m_marquees.Messages.LabelWidth = width; }

Result Station::SavePlayedList(const QString& filePath) {
    if (Result refused = m_lock.Refusal(); !refused.ok()) return refused;
    const QFileInfo file(filePath);
    if (QDir(file.absolutePath()) == QDir(m_folders.ListsPath)) {
        if (const Result refused = ListNameRefusal(file.fileName()); !refused.ok())
            return Result::Error(refused.message() + QStringLiteral(" Nothing was saved."));
    }
    Result written = text_file::WriteLines(filePath, m_engine.Played().Paths());
    // A failed write changes nothing, the Lists tab included.
    if (written.ok()) m_lists.RefreshListNames();
    return written;
}

DeadEntryReport Station::ScanDeadEntries(DeadEntryKind kind, DeadEntryMode mode) {
    DeadEntryReport report =
        ScanForDeadEntries(kind, m_folders.ListsPath, m_folders.SpotsPath, mode);
    if (kind == DeadEntryKind::Spots && mode == DeadEntryMode::Delete) {
        m_spotSchedule.SpotFilesRewritten();
        const Result reread = m_spotEditor.SpotFilesRewritten();
        if (!reread.ok()) report.problems.append(reread.message());
    }
    if (kind == DeadEntryKind::Songs && mode == DeadEntryMode::Delete) {
        // The list open on the Lists tab lost the same lines on disk.
        QSet<QString> removed;
        for (const DeadEntry& entry : report.entries)
            if (!entry.unreachable && entry.fileName == m_lists.ChosenListName())
                removed.insert(entry.path);
        m_lists.PathsRemovedFromFile(removed);
    }
    m_deadEntryLines = DeadEntryLines(report);
    m_deadEntriesRemovable = report.HasRemovable();
    return report;
}

Result Station::CloseAndPowerOff(QSettings* store, SystemShutdown& system) {
    m_engine.StopMainLoop();
    for (const QString& message : Close(store)) Q_EMIT Problem(message);
    const Result powerOff = system.PowerOff();
    if (!powerOff.ok())
        Q_EMIT Problem(
            QStringLiteral("The computer was not switched off: %1").arg(powerOff.message()));
    return powerOff;
}

QStringList Station::Close(QSettings* store) {
    QStringList messages;
    if (m_closed) return messages;
    m_closed = true;
    Q_EMIT Closing();
    m_lineIn.Close();
    EndJournal();
    if (store) AddIfAny(messages, SaveSettings(*store, StoredSettings()));
    if (m_calendar.CalendarDayIndex() >= 0)
        AddIfAny(messages, m_calendar.SaveCalendarDay(m_calendar.CalendarDayIndex()));
    AddIfAny(messages, m_spotEditor.SaveSpotSlot());
    // A file that could not be read is not replaced by the little that is known of it.
    if (!m_favoritesUnreadable)
        AddIfAny(messages, WriteFavorites(m_folders, m_library.Favorites()));
    return messages;
}

void Station::AnalyseInBackground(const SoundAnalyzer& analyzer, AnalysisStore& store,
                                  int workers) {
    SetAnalyses(&store);
    m_analysisJob = std::make_unique<AnalysisJob>(analyzer, store, workers);
    m_analysisFeed->SetEnabled(true);
    FeedAnalysis();
}

void Station::TellNowPlaying(const QString& entry) {
    const QString file = SplitTrackEntry(entry).path;
    Q_EMIT StreamTitle(NowPlayingText(file));
    if (!m_nowPlayingOn) return;
    const std::optional<std::uint32_t> length = m_engine.Queue().KnownLengthSec(file);
    const Result written =
        WriteNowPlaying(m_folders.StartFolder,
                        {.file = file,
                         .started = m_clock.Now(),
                         .lengthSec = length ? std::optional<int>(int(*length)) : std::nullopt,
                         .nextFile = SplitTrackEntry(m_engine.Queue().At(0)).path});
    if (!written.ok() && !m_nowPlayingFailed) Q_EMIT Problem(written.message());
    m_nowPlayingFailed = !written.ok();
}

void Station::ShowLoudness(const QString& path) {
    const Levelling& levelling = m_engine.Level();
    m_loudnessShown = {path, LoudnessText(levelling.AnalysisOf(path), levelling),
                       m_loudnessShown.serial + 1};
}

AnalysisJob::Progress Station::AnalysisProgress() const {
    return m_analysisJob ? m_analysisJob->Count() : AnalysisJob::Progress{};
}

void Station::FeedAnalysis() {
    // What plays soonest first: the queue, the spots of the coming quarter and the jingles,
    // then every track the program may draw.
    QStringList paths;
    const PlayQueue& queue = m_engine.Queue();
    for (int i = 0; i < queue.Count(); ++i) paths << SplitTrackEntry(queue.At(i)).path;
    paths << m_spotSchedule.NextSpotPaths() << m_jingles.JinglePaths();
    for (int k = 0; k < std::min(queue.ProgramListCount(), PlayQueue::kMaxLists); ++k)
        for (const QString& entry : queue.ProgramList(k)) paths << SplitTrackEntry(entry).path;
    m_analysisJob->AddSoon(paths);
    // Then, with the files about to play known, the coming programs, the lists and the
    // library, walked again now and then for files added since.
    if (m_feedsToWalk-- > 0 || !m_analysisJob->Idle()) return;
    m_feedsToWalk = kFeedsBetweenWalks;
    const DataFolders folders = m_folders;
    const QDateTime now = m_clock.Now();
    m_analysisJob->AddLater(
        [folders, now] { return ComingProgramPaths(folders.DaysPath, folders.ListsPath, now); });
    m_analysisJob->AddLater([folders] { return ShelfPaths(folders.ListsPath, false); });
    m_analysisJob->AddLater([folders] { return ShelfPaths(folders.ListsPath, true); });
}
