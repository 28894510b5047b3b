#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "app/air_state.h"
#include "app/air_watch.h"
#include "app/analysis_job.h"
#include "app/data_folders.h"
#include "app/resume_journal.h"
#include "app/settings.h"
#include "app/station_options.h"
#include "app/stream_settings.h"
#include "app/week_check_job.h"
#include "housekeeping/appearance.h"
#include "housekeeping/auto_shutdown.h"
#include "jingles/jingle_wall.h"
#include "library/library.h"
#include "library/library_desk.h"
#include "playback/playback_engine.h"
#include "playback/program_loader.h"
#include "player/line_in.h"
#include "player/line_in_control.h"
#include "schedule/calendar.h"
#include "schedule/list_editor.h"
#include "schedule/program_lock.h"
#include "spots/hour_announcement.h"
#include "spots/spot_editor.h"
#include "spots/spot_runner.h"
#include "spots/spot_schedule.h"

class Clock;
struct DeadEntryReport;
enum class DeadEntryKind;
enum class DeadEntryMode;
class PlayerLink;
class SystemShutdown;
class Timer;
class TimerHost;

/// The whole station without a window: the rooms, wired together, with the start-up
/// and close sequences. The window and the week preview both drive one of these.
class Station : public QObject {
    Q_OBJECT
public:
    /// startFolder is the folder that was current when the program started. Without a
    /// line-in control the station keeps a simulated one of its own.
    Station(const QString& startFolder, Clock& clock, TimerHost& timers, PlayerLink& link,
            LineInControl* lineInControl = nullptr);
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    /// Folders, settings, players, today's calendar and program, the lists. The settings
    /// are read from store into the rooms (without one, the rooms keep what they hold).
    /// Returns the messages for the operator (a folder that could not be made, a file that
    /// could not be read); start-up goes on after each.
    QStringList StartUp(QSettings* store = nullptr);
    /// The rooms' settings tables and the colours, for the store.
    SettingsHomes StoredSettings();
    /// The same tables, to be read only.
    SettingsHomes StoredSettings() const;
    /// Close, settings first: writes them to store (when given), the calendar's day and
    /// the favourites. Never refused; returns the messages of writes that failed.
    QStringList Close(QSettings* store);

    /// Track lengths are read on a worker from now on: odd files never hold the tick.
    void ReadLengthsInBackground();
    /// Whether a deck plays now (asked of the decks).
    bool AnyDeckPlays();
    /// Automatic or manual mode, as the station starts (the week preview's automatic).
    void SetManual(bool on);
    /// Where the hour announcement writes its play list (the week preview's own folder).
    void SetAnnouncementFolder(const QString& folder);

    const DataFolders& Folders() const { return m_folders; }
    /// The page last asked for by "show-page", and how many times one was asked.
    QString PageAsked() const { return m_pageAsked; }
    int PageAskedSerial() const { return m_pageAskedSerial; }
    /// The clock the station runs on.
    const Clock& StationClock() const { return m_clock; }
    /// The engine's mutable side is its commands, and the settings the options write.
    const PlaybackEngine& Engine() const { return m_engine; }
    /// The spot runs: the operator's spot commands, and the settings the options write.
    const SpotRunner& Spots() const { return m_spots; }
    /// "Hour": the spoken time over the music.
    const HourAnnouncement& Announcement() const { return m_hour; }
    /// The jingle wall: its commands, and the view reads it.
    const JingleWall& Jingles() const { return m_jingles; }
    /// A click on jingle button n of the current bank, at the spots' fade step.
    void PlayJingle(int button);
    /// The Spots tab's editor; changed only through its commands.
    const SpotEditor& SpotsTab() const { return m_spotEditor; }
    /// "Next Spots", the coming quarter the spot runner plays from; the operator only
    /// checks and unchecks its rows.
    const SpotSchedule& NextSpots() const { return m_spotSchedule; }
    const Marquee& AdvertMarquee() const { return m_marquees.Advert; }
    const Marquee& MessageMarquee() const { return m_marquees.Messages; }
    /// The view reports the marquees' widths in pixels: each panel as it changes, each
    /// label once its text is in.
    void SetAdvertPanelWidth(int width);
    void SetAdvertLabelWidth(int width);
    void SetMessagePanelWidth(int width);
    void SetMessageLabelWidth(int width);
    // The Calendar and Lists tabs and the loader change only through their commands.
    const Calendar& CalendarTab() const { return m_calendar; }
    const ProgramLoader& Loader() const { return m_loader; }
    /// "Check the week...": its warnings, and the check the program hands over once.
    const WeekCheckJob& WeekCheck() const { return m_weekCheck; }
    void SetWeekCheck(WeekCheckJob::Prepare check) { m_weekCheck.SetCheck(check); }
    /// Where the analyses of the files are found, for levelling them (none: as they are).
    /// The store outlives the station.
    void SetAnalyses(AnalysisStore* analyses) { m_engine.SetAnalyses(analyses); }
    /// From now on what is about to play (the queue, the next spots, the jingles, the
    /// program's lists), then the coming programs, the lists and the library are analysed
    /// in the background by that many workers and kept in the store, which with the
    /// analyzer outlives the station.
    void AnalyseInBackground(const SoundAnalyzer& analyzer, AnalysisStore& store, int workers = 1);
    /// The station listens to its air through the meter (which outlives it); or it cannot,
    /// and says why once.
    void ListenToAir(const AirMeter& meter) { m_airWatch.Listen(meter); }
    void CannotListenToAir(const QString& why) { m_airWatch.CannotListen(why); }
    const AirWatch& Air() const { return m_airWatch; }
    /// The stream outputs as the operator set them.
    const StreamSettings& Streams() const { return m_streams; }
    /// Where the enabled streams' states are read from (on the station's thread; the
    /// source may be asked on any thread). None: nothing streams.
    using StreamStatusSource = std::function<std::vector<StreamStatus>()>;
    void WatchStreams(StreamStatusSource source) { m_streamStatus = std::move(source); }
    std::vector<StreamStatus> StreamStatuses() const {
        return m_streamStatus ? m_streamStatus() : std::vector<StreamStatus>{};
    }
    /// From now on each start of music replaces "nowplaying.txt" and "nowplaying.json" in the
    /// station folder (the station that drives the decks; never a trial or the preview).
    void WriteNowPlayingFiles() { m_nowPlayingOn = true; }
    /// The station that drives the decks keeps "journal.json" from now on: when its main
    /// loop starts and its decks still play what the journal names (a station killed and
    /// started again), it goes on where it was; a journal that does not fit is set aside
    /// with a Problem. From then on each change of what plays replaces the journal.
    void KeepJournal();
    /// How far the background analysis is: nothing before it starts.
    AnalysisJob::Progress AnalysisProgress() const;
    /// The loudness of the track the operator asked for last, told with each serial.
    struct LoudnessAnswer {
        QString path;
        QString text;
        int serial = 0;
    };
    const LoudnessAnswer& LoudnessShown() const { return m_loudnessShown; }
    const ListEditor& Lists() const { return m_lists; }
    /// "Lock Programs", read by the calendar, the list editor and the played list's save;
    /// mutable for the options, which switch it.
    const ProgramLock& Lock() const { return m_lock; }
    /// The line input: its button, bar and fade.
    const LineIn& LineInput() const { return m_lineIn; }
    /// The window keys 219..222; false for a key that is not the station's.
    bool KeyDown(int key);

    /// The music library's pages (their favourite search texts are kept in
    /// "favorites.txt"). The search follows the stored "Enable GreekLish Search".
    const Library& MusicLibrary() const { return m_library; }
    /// The Lists tab read the lists folder again (a list saved or deleted): the library's
    /// list names follow. Nothing when the folder's names are the same.
    void FollowListsFolder();
    /// The library's commands on the queue, the list editor, the spots and the files.
    const LibraryDesk& Desk() const { return m_desk; }

    /// The automatic shutdown: its panel, its settings (the options switch it).
    const AutoShutdown& Shutdown() const { return m_shutdown; }
    /// The automatic shutdown's end: the main loop stops, the close steps run (settings to
    /// store first), then the system is asked to power off. The close messages and the
    /// system's refusal, if it refuses, are the station's Problems; the refusal is returned.
    Result CloseAndPowerOff(QSettings* store, SystemShutdown& system);

    /// The stored options that wait for their rooms, and the colours.
    const StationOptions& StoredOptions() const { return m_options; }

    /// Play now on the Lists tab ("Play" or a double-click on an entry): the current entry
    /// goes to the head of the queue and starts at once.
    void PlayNow();
    /// "Save...": writes the played list's paths as a list file (the lists folder is read
    /// again, so a list saved there shows at once). A file saved into the lists folder is a
    /// list and its name follows the list name rule. An error with the system's message on
    /// failure.
    Result SavePlayedList(const QString& filePath);
    /// "Clear Unused Songs" and "Clear Unused Spots" (report), and their dialog's "Delete".
    /// After spots are deleted the Spots tab's slot is read again and "Next Spots" is rebuilt
    /// at the next tick; the Lists tab keeps what it shows until the list is next loaded.
    DeadEntryReport ScanDeadEntries(DeadEntryKind kind, DeadEntryMode mode);
    /// The last scan's report as its dialog shows it (DeadEntryLines), and whether a delete
    /// run would remove any of its entries.
    const QStringList& LastDeadEntryLines() const { return m_deadEntryLines; }
    bool LastDeadEntriesRemovable() const { return m_deadEntriesRemovable; }

Q_SIGNALS:
    /// The title the streams carry now ("Artist - Title"): at each start of music, and of a
    /// spot or a jingle when StreamSpotTitles is on.
    void StreamTitle(const QString& text);
    /// A problem met while the station runs on its own (a day file or list that could not
    /// be read when a program was due); the music goes on with what it has.
    void Problem(const QString& message);
    /// The station went on where its journal left it: "deckN<TAB>file", and the spot run's
    /// next spot when one was under way.
    void WentOn(const QString& detail);
    /// The close sequence begins (it runs once).
    void Closing();
    /// What the window shows changed outside a command (a read of the library came in).
    void Changed();

private:
    // The operator's table is the only door that changes the rooms: its rows reach them
    // directly, and nothing else can.
    friend class StationCommands;
    // Tests of one room drive it inside a whole station (tests/support/station_rooms.h);
    // nothing in the program defines this class.
    friend class StationRooms;

    /// The library, searching as the stored "Enable GreekLish Search" says.
    Library& SearchingLibrary();

    void LoadSettings(QSettings* store, QStringList& messages);
    /// Hands the analysis job what is about to play.
    void FeedAnalysis();
    /// What the air watch asks of the station, and the hand-overs it is told of.
    AirWatch::Hooks AirHooks();
    void TellHandOvers();
    /// Puts a stored list at the head of the queue in its order and starts it.
    bool PlayListNow(const QString& name);
    /// The emergency list, once on, comes round again before it runs out, until the next
    /// program loads.
    void KeepEmergencyListGoing();
    /// Writes the now-playing files for the entry that just started, and gives the streams
    /// its title.
    void TellNowPlaying(const QString& entry);
    /// Looks up the file's analysis for the operator (LoudnessShown).
    void ShowLoudness(const QString& path);
    void SelectToday(QStringList& messages);
    // The journal (station_resume.cpp).
    QString JournalPath() const;
    /// The first half-hour slot of the program on air now.
    int ProgramSlotNow() const;
    ResumePoint ResumePointNow() const;
    QByteArray JournalFingerprint() const;
    void WriteJournalIfChanged();
    void GoOnWhereItWas();
    /// Empty when the journal fits what is on air now; else why not.
    QString WhyNotGoOn(const ResumePoint& point);
    void GoOn(const ResumePoint& point);

    Clock& m_clock;
    DataFolders m_folders;
    StationOptions m_options;
    ProgramLock m_lock;
    PlaybackEngine m_engine;
    std::unique_ptr<SimulatedLineInControl> m_ownLineInControl;
    LineIn m_lineIn;
    Marquees m_marquees;
    SpotEditor m_spotEditor;
    MessageDrag m_messageDrag{m_marquees.Messages};  // the operator drags LabelMessages
    SpotSchedule m_spotSchedule;
    JingleWall m_jingles;
    SpotRunner m_spots;
    HourAnnouncement m_hour;
    AutoShutdown m_shutdown;
    Calendar m_calendar;
    ProgramLoader m_loader;
    ListEditor m_lists;
    Library m_library;
    LibraryDesk m_desk;
    WeekCheckJob m_weekCheck;
    AirWatch m_airWatch;
    StreamSettings m_streams;
    StreamStatusSource m_streamStatus;
    QString m_emergencyList;  // the list the air watch put on, while it plays round
    bool m_nowPlayingOn = false;
    bool m_nowPlayingFailed = false;  // told once until a write succeeds again
    bool m_journalKept = false;
    bool m_journalWriting = false;  // from the main loop's start: the old journal is read first
    bool m_journalFailed = false;   // told once until a write succeeds again
    QByteArray m_journalFingerprint;
    std::unique_ptr<AnalysisJob> m_analysisJob;
    std::unique_ptr<Timer> m_analysisFeed;  // hands the job what comes next
    int m_feedsToWalk = 1;  // feeds left before the folders are walked (again): first the queue
    LoudnessAnswer m_loudnessShown;
    QStringList m_libraryFolderNames;  // the lists folder as the library last read it
    QStringList m_deadEntryLines;
    bool m_deadEntriesRemovable = false;
    QString m_pageAsked;  // the page "show-page" asked the window for, by its caption
    int m_pageAskedSerial = 0;
    bool m_favoritesUnreadable = false;  // then the file is kept as it is at close
    bool m_closed = false;
};
