#include "jingles/jingle_wall.h"

#include <gtest/gtest.h>

#include "app/station.h"
#include "base/text_file.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "schedule/program_lock.h"
#include "support/engine_rig.h"
#include "support/files.h"
#include "support/mpeg_builder.h"
#include "support/station_folder.h"
#include "support/station_rooms.h"

namespace {

// A station on Monday 10:00 with long songs from the calendar and, when asked, a banks
// file and a bank list of `stings` jingles of three seconds ("Sting 1.mp3" ...).
struct JingleStation {
    JingleStation(const char* banks, const QString& bank, int stings, bool everySongs = false)
        : host({QDate(2026, 12, 7), QTime(10, 0)}),
          link(host, host),
          station(folder.StartFolder(), host, host, link) {
        folder.AddList("morning", {200, 190, 230});
        folder.WriteDays({{1, "10:00", "11:00", "morning"}});
        if (banks) WriteBytes(folder.SpotsPath() + "jingles", banks);
        QStringList paths;
        for (int i = 1; i <= stings; ++i) {
            paths << folder.MusicPath() + QStringLiteral("Sting %1.mp3").arg(i);
            EXPECT_TRUE(i > 2 || WriteCbrMpeg(paths.last(), 3));
        }
        if (stings >= 0) folder.WriteList(bank, paths);
        StationRooms::Spots(station).SetPlayOnlyOneSpot(everySongs);
        station.StartUp();
    }
    JingleWall& Wall() { return StationRooms::Jingles(station); }

    StationFolder folder;
    VirtualTimerHost host;
    SimulatedPlayerLink link;
    Station station;
};

const QString kDefaultTabs = "J0 J1 J2 J3 J4 J5 J6 J7 J8 J9 J10";

TEST(JingleWallTest, TabsAndButtonsComeFromTheBanksAndTheirLists) {
    struct Case {
        const char* banks;  // nullptr: no banks file
        const char* bank;   // the list of the tab shown, with `stings` lines (-1: no list)
        int stings;
        bool everySongs;
        QString tabs;
        int tab, buttons;
    };
    for (const Case& c : {
             Case{nullptr, "J0", 4, false, kDefaultTabs, 0, 4},
             Case{nullptr, "J5", 150, true, kDefaultTabs, 5, 101},
             Case{"", "J0", 2, false, kDefaultTabs, 0, 2},
             // Fewer than six tabs: the every-few-songs start stays on the first.
             Case{"news\r\nidents\r\n", "news", -1, true, "news idents", 0, 0},
         }) {
        JingleStation s(c.banks, c.bank, c.stings, c.everySongs);
        const JingleWall& wall = s.Wall();
        EXPECT_EQ(wall.TabNames().join(' '), c.tabs);
        EXPECT_EQ(wall.CurrentTab(), c.tab);
        EXPECT_EQ(wall.NoOfJingles(), c.buttons);
        EXPECT_EQ(wall.JinglePaths().size(), std::max(c.stings, 0));
        for (int i = 0; i < c.buttons; ++i)
            EXPECT_EQ(wall.ButtonCaptions()[i], QStringLiteral("Sting %1").arg(i + 1));
    }
}

TEST(JingleWallTest, SettingAndClearingRewriteTheBankOfTheTabAndRefuseWhileLocked) {
    struct Case {
        const char* command;  // "clear" or a list name to set
        bool locked, done;
        int buttons;
    };
    for (const Case& c : {Case{"clear", false, true, 0}, Case{"idents", false, true, 2},
                          Case{"clear", true, false, 3}, Case{"idents", true, false, 3},
                          Case{"../idents", false, false, 3}}) {
        JingleStation s("a\r\nb\r\nc\r\nd\r\ne\r\n", "d", 3);
        s.folder.WriteList("idents", {s.folder.MusicPath() + "Sting 1.mp3", "x/Sting 2.wav"});
        ASSERT_TRUE(s.Wall().SelectTab(3).ok());
        ASSERT_EQ(s.Wall().NoOfJingles(), 3);
        StationRooms::Lock(s.station).LockPrograms = c.locked;
        const QString command = c.command;
        const Result r =
            command == "clear" ? s.Wall().ClearJingles() : s.Wall().SetJingles(command);
        EXPECT_EQ(r.ok(), c.done) << c.command;
        const QString fourth = c.done ? (command == "clear" ? "J3" : command) : "d";
        EXPECT_EQ(text_file::ReadLines(s.folder.SpotsPath() + "jingles").value,
                  QStringList({"a", "b", "c", fourth, "e"}));
        EXPECT_EQ(s.Wall().TabNames()[3], fourth);
        EXPECT_EQ(s.Wall().NoOfJingles(), c.buttons);
    }
    // A banks file that cannot be read is never replaced by the default tabs shown for it.
    JingleStation damaged(nullptr, "idents", 1);
    const QByteArray junk("J0\0junk", 7);
    WriteBytes(damaged.folder.SpotsPath() + "jingles", junk);
    EXPECT_FALSE(damaged.Wall().LoadJingleTabs(false).ok());
    EXPECT_FALSE(damaged.Wall().ClearJingles().ok());
    EXPECT_FALSE(damaged.Wall().SetJingles("idents").ok());
    EXPECT_EQ(ReadBytes(damaged.folder.SpotsPath() + "jingles"), junk);
}

TEST(JingleWallTest, FadeLowersTheMusicWhileAJinglePlaysAndRaisesItSoonAfter) {
    for (const bool fade : {true, false}) {
        JingleStation s(nullptr, "J0", 2);
        s.host.Advance(60'000);
        const Decks& decks = s.station.Engine().Players();
        const VolumeBars& bars = s.station.Engine().Bars();
        const int music = decks.CurrentDeck, before = bars.Volume(0);
        ASSERT_EQ(s.link.PlayState(music), PlayerLink::kPlaying);
        s.Wall().SetFadeJingles(fade);
        s.station.PlayJingle(1);
        EXPECT_EQ(s.link.File(decks.NextDeck), s.folder.MusicPath() + "Sting 2.mp3");
        EXPECT_EQ(s.Wall().LastJingleCaption(), "Sting 2");
        s.host.Advance(2'900);
        EXPECT_EQ(bars.Volume(0), fade ? bars.Level(VolumeBars::LevelBox::EditFadeOut0) : before);
        EXPECT_EQ(decks.CurrentDeck, music);
        // The music is back at its level within about 300 ms of the jingle's end.
        while (s.link.PlayState(decks.NextDeck) == PlayerLink::kPlaying) s.host.Advance(10);
        const std::int64_t ended = s.host.ElapsedMs();
        std::int64_t restored = -1;
        for (; s.host.ElapsedMs() - ended < 600; s.host.Advance(10))
            if (restored < 0 && bars.Volume(0) == before) restored = s.host.ElapsedMs() - ended;
        EXPECT_GE(restored, 0);
        EXPECT_LE(restored, 400) << fade;
        EXPECT_EQ(bars.Volume(0), before);
        EXPECT_FALSE(s.Wall().JinglePlaying());
    }
}

// Pressed just before the mix point or in the crossfade after it, a jingle plays to its end
// and no deck stops above the bottom of its fade-out.
TEST(JingleWallTest, AJingleAtTheMixPointIsNeverCutAndLetsTheCrossfadeFinish) {
    for (const int pressedMs : {40'400, 41'600}) {  // the mix point is at 41.2 s
        EngineRig rig;
        rig.LoadProgram("L", rig.Tracks({60, 60}));
        WriteBytes(rig.dir.filePath("J0"), rig.Tracks({3})[0].toUtf8());
        const ProgramLock lock;
        JingleWall wall(rig.dir.path() + "/", rig.dir.path() + "/", rig.engine, rig.host, lock);
        wall.LoadJingleTabs(false);
        rig.StartLoop();
        rig.Advance(400 + pressedMs);
        wall.PlayJingle(0, 5);
        rig.Advance(60'000);
        const VolumeBars& bars = rig.engine.Bars();
        const int bottom = Decks::PlayerVolume(bars.Level(VolumeBars::LevelBox::EditFadeOut1) +
                                               bars.PageSize());  // the last step sent
        std::array<int, 2> volume{};
        std::array<QString, 2> file;  // what each deck plays
        for (const EngineRig::DeckEvent& e : rig.events) {
            EXPECT_FALSE(e.kind == "stop" && volume[e.deck] > bottom) << pressedMs << " " << e.atMs;
            EXPECT_FALSE(e.kind == "load" && file[e.deck] == wall.CurrentJinglePath()) << pressedMs;
            if (e.kind == "volume") volume[e.deck] = e.detail.toInt();
            if (e.kind == "load" || e.kind == "ended") file[e.deck] = e.detail;
        }
        EXPECT_EQ(rig.Events("load").size(), 3u) << pressedMs;
    }
}

}  // namespace
