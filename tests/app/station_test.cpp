#include "app/station.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/as_run_log.h"
#include "app/library_state.h"
#include "app/lists_state.h"
#include "app/operator_actions.h"
#include "app/week_preview.h"
#include "base/system_shutdown.h"
#include "base/virtual_timer_host.h"
#include "housekeeping/dead_entries.h"
#include "player/simulated_player_link.h"
#include "schedule/list_file.h"
#include "support/files.h"
#include "support/run_events.h"
#include "support/station_folder.h"
#include "support/station_rooms.h"
#include "support/workers.h"

namespace {

// Monday 2026-12-07: "good" plays until 10:00, then "junk", a file of binary data.
class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.AddList("good", {60, 60, 60});
        WriteBytes(folder.ListsPath() + "junk", QByteArray("\xff\xfb\x90\0\0\0binary", 12));
        folder.WriteDays({{1, "09:00", "10:00", "good"}, {1, "10:00", "11:00", "junk"}});
        QObject::connect(&station, &Station::Problem,
                         [this](const QString& message) { problems << message; });
    }
    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 59))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    QStringList problems;
};

// Neither stops the station: the track on air plays on, and the favourites that could
// not be read are kept as they are at close.
TEST_F(StationTest, ADueProgramOrFavouritesThatCannotBeReadAreToldAndLeftAlone) {
    const QString favourites = folder.StartFolder() + "/favorites.txt";
    const QByteArray junk("Βίσση\0\x01\x02", 13);
    WriteBytes(favourites, junk);
    EXPECT_EQ(station.StartUp(), QStringList({favourites + " is not a text file"}));
    host.Advance(61'000);  // 10:00:01, the first track is still on
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].endsWith(folder.ListsPath() + "junk is not a text file"))
        << problems[0].toStdString();
    EXPECT_EQ(station.Loader().LabelProgramName1(), "junk");
    EXPECT_TRUE(link.Audible(station.Engine().Players().CurrentDeck));
    EXPECT_EQ(station.Close(nullptr), QStringList());
    EXPECT_EQ(ReadBytes(favourites), junk);
}

// The machine is switched off only once the station has closed (the settings stored);
// a refusal is told, and the main loop stays stopped. The close is an as-run line, once.
TEST_F(StationTest, PowerOffComesAfterTheCloseStepsAndARefusalIsAProblem) {
    struct FakeShutdown final : SystemShutdown {
        explicit FakeShutdown(QSettings& s) : store(s) {}
        Result PowerOff() override {
            settingsStored = store.contains("ShutDownHour");
            return Result::Error("Access denied");
        }
        QSettings& store;
        bool settingsStored = false;
    };
    QTemporaryDir dir;
    QSettings store(dir.filePath("stavox.conf"), QSettings::IniFormat);
    FakeShutdown system(store);
    QStringList events;
    const AsRunLog log([&events](const QString& line) { events << line.section('\t', 1, 2); });
    LogStationEvents(station, log, host);
    station.StartUp();
    host.Advance(7'000);
    EXPECT_FALSE(station.CloseAndPowerOff(&store, system).ok());
    EXPECT_TRUE(system.settingsStored && !station.Engine().MainLoopRunning());
    EXPECT_EQ(problems, QStringList{"The computer was not switched off: Access denied"});
    station.Close(nullptr);
    EXPECT_EQ(events.mid(events.indexOf("station\tclose")),
              QStringList({"station\tclose", "station\tproblem"}));
}

TEST_F(StationTest, OnlyAnEditOfTheSlotPlayingReloadsItAndLockedProgramsRefuseEveryEdit) {
    folder.WriteDays({{0, "06:00", "07:00", "junk"}, {1, "09:30", "10:00", "good"}});
    ASSERT_EQ(station.StartUp(), QStringList());
    host.Advance(6'500);
    const QStringList queued = station.Engine().Queue().Entries();
    Calendar& calendar = StationRooms::CalendarTab(station);
    calendar.TabControl1Change(2);
    calendar.BitBtnNewHourProg1Click();
    EXPECT_EQ(calendar.ComboBoxEndHour1Change(0, {"good"}), Result::Ok());
    host.Advance(400);
    EXPECT_EQ(station.Engine().Queue().Entries(), queued) << "Tuesday waits for Tuesday";
    calendar.TabControl1Change(1);
    calendar.SelectRow(0);
    calendar.ButtonSetProgr1Click({"good"});
    host.Advance(400);
    EXPECT_EQ(station.Engine().Played().Count(), 0);  // the slot playing was loaded again
    // Locked, no edit of a program or a list gets through; played lists need a list name.
    RunVerb(station, *FindOperatorVerb("lock-programs"), "on");
    const auto verb = [&](const char* name, const QString& arg = {}) {
        return [this, name, arg] { return RunVerb(station, *FindOperatorVerb(name), arg); };
    };
    verb("lists-open", "1")();
    FinishWorkers();
    verb("lists-select", "2 1")();
    calendar.SelectRow(0);
    const auto state = [&] {
        return calendar.CalendarDay() + ListsStateOf(station).paths +
               QDir(folder.ListsPath()).entryList() +
               QStringList(QString::number(calendar.StartHours().size()));
    };
    const QStringList before = state();
    const std::pair<const char*, std::function<Result()>> edits[] = {
        {"NEW", [&] { return calendar.BitBtnNewHourProg1Click(); }},
        {"Set Program", [&] { return calendar.ButtonSetProgr1Click({"junk"}); }},
        {"Delete", [&] { return calendar.BitBtnDelHourProg1Click(); }},
        {"Same as", [&] { return calendar.BitBtnIdioProMe1Click(0); }},
        {"list NEW", verb("lists-new")},
        {"up", verb("lists-move-up")},
        {"remove", verb("lists-remove-tracks")},
        {"Save", verb("lists-save", "confirmed")},
        {"delete list", verb("lists-delete")},
        {"save played", verb("played-save", folder.ListsPath() + "played")},
        {"clear played", verb("played-clear")},
        {"keep played", verb("played-dont-clear", "on")},
        {"clear jingles", verb("jingles-clear")},
    };
    for (const auto& [name, edit] : edits) {
        EXPECT_EQ(edit(), station.Lock().Refusal()) << name;
        EXPECT_EQ(state(), before) << name;
    }
    RunVerb(station, *FindOperatorVerb("lock-programs"), "off");
    EXPECT_FALSE(station.SavePlayedList(folder.ListsPath() + "Rock|Pop").ok());
    EXPECT_EQ(QDir(folder.ListsPath()).entryList(QDir::Files), QStringList({"good", "junk"}));
    EXPECT_EQ(station.SavePlayedList(folder.StartFolder() + "/.played"), Result::Ok());
    EXPECT_EQ(station.SavePlayedList(folder.ListsPath() + "played"), Result::Ok());
}

}  // namespace

namespace {

// The library's pages follow the lists folder, search as the options say, and keep the
// favourite search texts between runs.
TEST_F(StationTest, TheLibraryFollowsTheListsFolderTheGreekSearchOptionAndTheFavourites) {
    // A save cut short long ago left its hidden file: never a list, and gone at start.
    QFile leftover(folder.ListsPath() + ".good.x1y2z3.saving");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly) && leftover.write("/m/a.mp3\r\n") > 0 &&
                leftover.flush());
    leftover.setFileTime(QDateTime::currentDateTime().addSecs(-600), QFile::FileModificationTime);
    leftover.close();
    // The library reads on workers: a page is looked at once its read has landed.
    const auto library = [this](LibraryPage page) {
        EXPECT_TRUE(
            RunEventsUntil([&] { return !LibraryStateOf(station).View(page).reading; }, 10'000));
        return LibraryStateOf(station);
    };
    const auto run = [this](const char* verb, const QString& argument = {}) {
        EXPECT_TRUE(RunVerb(station, *FindOperatorVerb(verb), argument).ok()) << verb;
    };
    station.StartUp();
    EXPECT_FALSE(leftover.exists());
    EXPECT_EQ(library(LibraryPage::ListsAlphabetic).listNames, QStringList({"good", "junk"}));
    folder.WriteList("new", {folder.MusicPath() + "Καλη.mp3"});
    RunVerb(station, *FindOperatorVerb("lists-include-cds"), "off");
    station.FollowListsFolder();
    EXPECT_EQ(library(LibraryPage::ListsAlphabetic).listNames,
              QStringList({"good", "junk", "new"}));

    run("library-search", "kalh");
    EXPECT_EQ(library(LibraryPage::Search).tracksInSearch, 0);
    RunVerb(station, *FindOperatorVerb("option"), "GreeklishSearch true");
    run("library-search", "ΚΑΛΗ");
    EXPECT_EQ(library(LibraryPage::Search).tracksInSearch, 1);
    run("library-favourite");
    station.Close(nullptr);
    EXPECT_EQ(ReadBytes(folder.StartFolder() + "/favorites.txt"), "ΚΑΛΗ\r\n");
}

// A library command names its page, rows and runs from 1 and is refused, changing nothing,
// when they are not there; a rename is refused while the programs are locked.
TEST_F(StationTest, LibraryCommandsRefuseWhatIsNotThereAndARenameWhileLocked) {
    station.StartUp();
    const auto run = [this](const char* verb, const QString& argument) {
        return RunVerb(station, *FindOperatorVerb(verb), argument).ok();
    };
    const auto alphabetic = [this] {
        EXPECT_TRUE(RunEventsUntil(
            [&] { return !LibraryStateOf(station).View(LibraryPage::ListsAlphabetic).reading; },
            10'000));
        return LibraryStateOf(station).View(LibraryPage::ListsAlphabetic);
    };
    alphabetic();
    ASSERT_TRUE(run("library-list", "1"));
    ASSERT_EQ(alphabetic().titles.size(), 3);
    RunVerb(station, *FindOperatorVerb("lock-programs"), "on");
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"library-page", "5", false},           {"library-list", "3", false},
        {"library-select", "2 3-2", false},     {"library-select", "2 x", false},
        {"library-current", "0 1", false},      {"library-add", "4", false},
        {"library-select", "2 1 3", true},      {"library-current", "2 3", true},
        {"library-rename", "2 new.mp3", false}, {"library-add-from-dir", "", false},
    };
    for (const auto& [verb, argument, done] : cases)
        EXPECT_EQ(run(verb, argument), done) << verb << " " << argument;
    const LibraryTrackView view = alphabetic();
    EXPECT_EQ(view.selected, QList<int>({0, 2}));
    EXPECT_EQ(view.current, 2);
    EXPECT_TRUE(QFile::exists(view.currentPath));
    RunVerb(station, *FindOperatorVerb("lock-programs"), "off");
    EXPECT_TRUE(run("library-rename", "2 new.mp3"));
    EXPECT_FALSE(QFile::exists(view.currentPath));
}

}  // namespace

namespace {

// A dead file removed from the lists leaves the list open on the Lists tab too, so a Save
// of that list does not bring it back.
TEST_F(StationTest, DeletedDeadEntriesLeaveTheListOpenOnTheListsTab) {
    station.StartUp();
    const QString alive = folder.MusicPath() + "alive.mp3";
    WriteBytes(alive, "x");
    folder.WriteList("mix", {alive, folder.MusicPath() + "gone.mp3"});
    RunVerb(station, *FindOperatorVerb("lists-include-cds"), "off");
    const QString mix = QString::number(ListsStateOf(station).names.indexOf("mix") + 1);
    ASSERT_TRUE(RunVerb(station, *FindOperatorVerb("lists-open"), mix).ok());
    FinishWorkers();
    RunVerb(station, *FindOperatorVerb("unused-clear"), "songs");
    EXPECT_EQ(ListsStateOf(station).paths, QStringList({alive}));
    EXPECT_EQ(list_file::Read(folder.ListsPath(), "mix").value, QStringList({alive}));
}

}  // namespace
