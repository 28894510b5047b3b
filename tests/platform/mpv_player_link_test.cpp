// Real mpv decks on the null audio output: what the station reads and sends, as mpv
// itself reports it over a second connection to the deck's socket. Then the folder of
// their sockets, the station lock beside them, and the decks made by kind.
#include "platform/mpv_player_link.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <memory>

#include "base/virtual_timer_host.h"
#include "platform/mpv_protocol.h"
#include "platform/player_link_factory.h"
#include "platform/station_lock.h"
#include "player/simulated_player_link.h"
#include "support/files.h"
#include "support/mpv_ask.h"
#include "support/run_events.h"
#include "support/tone_file.h"

namespace {

constexpr auto WaitUntil = RunEventsUntil;

class MpvPlayerLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_platform";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_tone = m_dir.filePath("tone 440.mp3");
        ASSERT_EQ(WriteToneMp3(m_tone, 440, 3), "");
    }
    std::unique_ptr<MpvPlayerLink> MakeLink(MpvPlayerLink::Options options = {}) {
        options.socketFolder = m_dir.path();
        options.extraArguments = {"--ao=null"};
        options.endWithThisProcess = true;
        options.report = [this](const QString& line) { m_reports << line; };
        return std::make_unique<MpvPlayerLink>(std::move(options));
    }
    bool LaunchBoth(MpvPlayerLink& link) {
        link.Launch(0, "");
        link.Launch(1, "");
        return WaitUntil([&] { return link.Find(0) && link.Find(1); }, 5000);
    }
    // Whether the deck's mpv plays at what the deck volume 0..255 is in mpv's terms.
    static bool MpvVolumeIs(const QString& socket, int volume) {
        return std::abs(AskMpv(socket, "volume").toDouble() - mpv::MpvVolume(volume)) < 0.01;
    }
    QTemporaryDir m_dir;
    QString m_tone;
    QStringList m_reports;
};

TEST_F(MpvPlayerLinkTest, DecksAnswerObeyAndComeBackAsPlayers) {
    auto link = MakeLink();
    EXPECT_TRUE(link->ProgramExists(""));
    EXPECT_FALSE(link->Find(0)) << "nothing runs before the launch";
    ASSERT_TRUE(LaunchBoth(*link));
    const QString sock0 = link->SocketPath(0);
    EXPECT_EQ(QFileInfo(sock0).fileName(), "WinampRadio0.sock");
    EXPECT_EQ(link->PlayState(0), PlayerLink::kStopped);
    EXPECT_EQ(link->LengthSec(0), -1);
    link->SetVolume(0, 128);
    link->HandOver(0, m_tone);
    EXPECT_EQ(link->PlayState(0), PlayerLink::kPlaying) << "seen at once, before mpv answers";
    ASSERT_TRUE(
        WaitUntil([&] { return link->LengthSec(0) == 3 && link->PositionMs(0) > 300; }, 3000));
    EXPECT_TRUE(MpvVolumeIs(sock0, 128));
    link->TogglePause(0);
    EXPECT_EQ(link->PlayState(0), PlayerLink::kPaused);
    ASSERT_TRUE(WaitUntil([&] { return AskMpv(sock0, "pause").toBool(); }, 1000));
    link->JumpTo(0, 2000);
    EXPECT_EQ(link->PositionMs(0), 2000);
    // A paused mpv reads its position less the audio it holds buffered (about 0.15 s).
    EXPECT_TRUE(WaitUntil(
        [&] { return std::abs(AskMpv(sock0, "time-pos").toDouble() - 2.0) < 0.25; }, 1000));
    // mpv counts a negative time from the end: a jump back before the start is to the start.
    link->JumpTo(0, -1000);
    EXPECT_TRUE(
        WaitUntil([&] { return std::abs(AskMpv(sock0, "time-pos").toDouble(-9)) < 0.25; }, 1000));
    // A hand-over to a paused deck plays: the pause does not carry over.
    link->HandOver(0, m_tone);
    ASSERT_TRUE(WaitUntil([&] { return link->PositionMs(0) > 300; }, 3000));
    EXPECT_EQ(link->PlayState(0), PlayerLink::kPlaying);
    EXPECT_FALSE(AskMpv(sock0, "pause").toBool());
    // The other deck is independent of the first. Its player killed while it plays, it
    // reads stopped and comes back with its volume.
    link->SetVolume(1, 64);
    link->HandOver(1, m_tone);
    ASSERT_TRUE(WaitUntil([&] { return link->LengthSec(1) == 3; }, 3000));
    const qint64 pid = link->ProcessId(1);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    ASSERT_TRUE(WaitUntil([&] { return link->PlayState(1) == PlayerLink::kStopped; }, 1000));
    EXPECT_EQ(link->PositionMs(1), 0);
    EXPECT_EQ(link->LengthSec(1), -1);
    // Back within 2 s is measured by the on-air test, which runs alone.
    ASSERT_TRUE(WaitUntil(
        [&] { return link->ProcessId(1) != pid && link->ProcessId(1) != 0 && link->Find(1); },
        5000));
    EXPECT_TRUE(WaitUntil([&] { return MpvVolumeIs(link->SocketPath(1), 64); }, 1000));
    link->HandOver(1, m_tone);
    ASSERT_TRUE(WaitUntil([&] { return link->LengthSec(1) == 3; }, 3000));
    link->Stop(1);
    EXPECT_EQ(link->PlayState(1), PlayerLink::kStopped);
    EXPECT_TRUE(
        WaitUntil([&] { return AskMpv(link->SocketPath(1), "idle-active").toBool(); }, 1000));
    link->TogglePause(1);
    EXPECT_FALSE(AskMpv(link->SocketPath(1), "pause").toBool()) << "no pause is kept while idle";
    // The first deck's file ends by itself.
    ASSERT_TRUE(WaitUntil([&] { return link->PlayState(0) == PlayerLink::kStopped; }, 5000));
    EXPECT_EQ(link->PositionMs(0), 0);
    EXPECT_EQ(link->LengthSec(0), -1);
    ASSERT_EQ(m_reports.size(), 1) << m_reports.join('\n').toStdString();
    EXPECT_TRUE(m_reports[0].contains("WinampRadio1")) << m_reports[0].toStdString();
}

TEST_F(MpvPlayerLinkTest, StopWithFadeRampsDownThenStopsKeepsTheVolumeAndAListPlays) {
    MpvPlayerLink::Options options;
    options.fadeSteps = 5;
    options.fadeStepMs = 40;
    options.stopDelayMs = 600;  // long enough to be seen from outside on a busy machine
    auto link = MakeLink(options);
    ASSERT_TRUE(LaunchBoth(*link));
    const QString sock = link->SocketPath(1);
    link->SetVolume(1, 200);
    link->HandOver(1, m_tone);
    ASSERT_TRUE(WaitUntil([&] { return link->PositionMs(1) > 200; }, 3000));
    link->StopWithFade(1);
    EXPECT_EQ(link->PlayState(1), PlayerLink::kPlaying) << "the ramp comes first";
    ASSERT_TRUE(WaitUntil([&] { return AskMpv(sock, "volume").toDouble() < 1.0; }, 3000));
    EXPECT_FALSE(AskMpv(sock, "idle-active").toBool()) << "the tail plays out before the stop";
    ASSERT_TRUE(WaitUntil([&] { return link->PlayState(1) == PlayerLink::kStopped; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return AskMpv(sock, "idle-active").toBool(); }, 3000));
    // The next file plays at the volume the deck had.
    EXPECT_TRUE(WaitUntil([&] { return MpvVolumeIs(sock, 200); }, 3000));
    // A hand-over during the ramp ends the ramp.
    link->HandOver(1, m_tone);
    ASSERT_TRUE(WaitUntil([&] { return link->PositionMs(1) > 200; }, 3000));
    link->StopWithFade(1);
    link->HandOver(1, m_tone);
    ASSERT_TRUE(WaitUntil([&] { return link->PositionMs(1) > 400; }, 3000));
    EXPECT_TRUE(MpvVolumeIs(sock, 200));
    EXPECT_EQ(link->PlayState(1), PlayerLink::kPlaying);
    // A play list plays its entries, named relative to its folder.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("hour1"));
    // The last entry lasts long enough to be seen playing.
    for (const auto& [name, seconds] : {std::pair{"m1.mp3", 0.5}, {"m2.mp3", 0.5}, {"m3.mp3", 3.0}})
        ASSERT_EQ(WriteToneMp3(m_dir.filePath("hour1/") + name, 440, seconds), "");
    const QString list = m_dir.filePath("hour1/hourToPlay.m3u");
    WriteBytes(list, "m1.mp3\r\nm2.mp3\r\nm3.mp3\r\n");
    link->HandOver(1, list);
    ASSERT_TRUE(WaitUntil([&] { return AskMpv(sock, "playlist-count").toInt() == 3; }, 3000));
    ASSERT_TRUE(
        WaitUntil([&] { return AskMpv(sock, "path").toString().endsWith("hour1/m3.mp3"); }, 4000));
    EXPECT_EQ(link->PlayState(1), PlayerLink::kPlaying);
}

TEST_F(MpvPlayerLinkTest, RunningDeckIsReusedBroughtBackAndQuitAtClose) {
    // An mpv left from an earlier run of the station.
    const auto startEarlierDeck = [this](QProcess& earlier) {
        const QString socket = m_dir.filePath("WinampRadio0.sock");
        earlier.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        earlier.start("mpv", {"--idle=yes", "--no-video", "--no-terminal", "--no-config",
                              "--ao=null", "--input-ipc-server=" + socket});
        return earlier.waitForStarted(3000) &&
               WaitUntil([&] { return AskMpv(socket, "idle-active").toBool(); }, 3000);
    };
    QProcess earlier;
    ASSERT_TRUE(startEarlierDeck(earlier));
    {
        auto link = MakeLink();
        ASSERT_TRUE(LaunchBoth(*link));
        EXPECT_EQ(link->ProcessId(0), 0) << "no second deck 0 was started";
        EXPECT_GT(link->ProcessId(1), 0);
        link->HandOver(0, m_tone);
        EXPECT_TRUE(WaitUntil([&] { return link->LengthSec(0) == 3; }, 3000));
    }
    EXPECT_TRUE(earlier.waitForFinished(5000)) << "the deck is quit with the station";
    // A reused deck that hangs is ended by the pid it told and started again.
    QProcess again;
    ASSERT_TRUE(startEarlierDeck(again));
    auto link = MakeLink();
    link->Launch(0, "");
    ASSERT_EQ(link->ProcessId(0), 0);
    link->HandOver(0, m_tone);  // once it plays, it has told its pid
    ASSERT_TRUE(WaitUntil([&] { return link->PositionMs(0) > 0; }, 3000));
    ::kill(pid_t(again.processId()), SIGSTOP);
    ASSERT_TRUE(WaitUntil([&] { return link->ProcessId(0) != 0 && link->Find(0); }, 8000));
    EXPECT_TRUE(WaitUntil([&] { return again.state() == QProcess::NotRunning; }, 1000));
    EXPECT_EQ(m_reports.size(), 1) << m_reports.join('\n').toStdString();
}

TEST_F(MpvPlayerLinkTest, MissingPlayerIsReportedOnceAndReadsStopped) {
    auto link = MakeLink();
    const QString missing = m_dir.filePath("no-such-player");
    EXPECT_FALSE(link->ProgramExists(missing));
    link->Launch(0, missing);
    link->Launch(1, missing);
    link->HandOver(0, m_tone);
    EXPECT_FALSE(link->Find(0));
    EXPECT_EQ(link->PlayState(0), PlayerLink::kStopped);
    EXPECT_EQ(link->LengthSec(0), -1);
    ASSERT_EQ(m_reports.size(), 1);
    EXPECT_TRUE(m_reports[0].contains(missing));
    EXPECT_EQ(link->Problem(), m_reports[0]);
    // Not on the PATH either: the station has nowhere else to look.
    auto other = MakeLink();
    EXPECT_TRUE(other->ProgramExists("/bin/sh"));
    EXPECT_FALSE(other->ProgramExists(missing));
    EXPECT_FALSE(other->ProgramExists("C:\\Program Files\\Winamp\\winamp.exe"));
    EXPECT_EQ(m_reports.size(), 1) << "a path that is not there may still fall back";
    EXPECT_FALSE(other->ProgramExists("no-such-player-on-the-path"));
    EXPECT_FALSE(other->ProgramExists("no-such-player-on-the-path"));
    EXPECT_EQ(m_reports.size(), 2);
}

// The sound libraries in a deck print their search for a sound server; the station's
// standard error is for its own lines, so that goes to the deck's log, named in the one
// line that tells of a deck that died. The mixer shows the decks by their numbers.
TEST_F(MpvPlayerLinkTest, WhatAPlayerPrintsStaysInItsLogAndTheMixerNamesTheDecks) {
    const struct {
        const char* script;
        const char* report;  // for each deck; none while it runs
    } cases[] = {
        {"echo 'ALSA lib pcm.c: Unknown PCM default' >&2; echo jack; exec mpv \"$@\"", ""},
        {"echo 'ALSA lib pcm.c: Unknown PCM default' >&2; exit 3", "exited with code 3"},
    };
    const QString player = m_dir.filePath("player");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        m_reports.clear();
        WriteBytes(player, QByteArray("#!/bin/sh\n") + c.script + "\n");
        QFile::setPermissions(player, QFile::ReadOwner | QFile::ExeOwner);
        testing::internal::CaptureStderr();
        auto link = MakeLink();
        link->Launch(0, player);
        link->Launch(1, player);
        const bool dies = *c.report != 0;
        EXPECT_TRUE(WaitUntil(
            [&] { return dies ? m_reports.size() >= 2 : link->Find(0) && link->Find(1); }, 5000));
        if (!dies) {
            EXPECT_EQ(AskMpv(link->SocketPath(0), "audio-client-name").toString().toStdString(),
                      "Stavox Mixer deck 1");
            EXPECT_EQ(AskMpv(link->SocketPath(1), "audio-client-name").toString().toStdString(),
                      "Stavox Mixer deck 2");
        }
        link.reset();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err, "");
        for (int deck = 0; deck < 2; ++deck) {
            const QString log = m_dir.filePath(QString("WinampRadio%1.log").arg(deck));
            EXPECT_TRUE(ReadBytes(log).contains("Unknown PCM default\n"));
            EXPECT_EQ(ReadBytes(log).contains("jack\n"), !dies);
            EXPECT_EQ(m_reports.filter(c.report).filter(log).isEmpty(), !dies)
                << m_reports.join('\n').toStdString();
            QFile::remove(log);
        }
    }
}

TEST(MpvSocketFolderTest, PrivateFolderUnderTheRuntimeFolderOrElseTheTemporaryOneAndTheLock) {
    QTemporaryDir runtime, temporary;
    ASSERT_TRUE(runtime.isValid() && temporary.isValid());
    const ScopedEnvironmentVariable privateRuntime("XDG_RUNTIME_DIR", runtime.path());
    const ScopedEnvironmentVariable privateTemp("TMPDIR", temporary.path());
    QString error;
    // A second station is refused until the first is gone; its lock is beside the sockets.
    {
        const StationLock first = TakeStationLock();
        ASSERT_NE(first.lock, nullptr) << first.warning.toStdString();
        EXPECT_TRUE(QFileInfo::exists(runtime.filePath("stavox/stavox-mixer.lock")))
            << "beside the decks' sockets";
        const StationLock second = TakeStationLock();
        EXPECT_EQ(second.lock, nullptr);
        EXPECT_TRUE(second.refusal.contains(QString::number(QCoreApplication::applicationPid())))
            << second.refusal.toStdString();
    }
    const StationLock again = TakeStationLock();
    EXPECT_NE(again.lock, nullptr) << "the lock goes with its station";
    EXPECT_TRUE(again.refusal.isEmpty() && again.warning.isEmpty());
    const QString folder = MpvPlayerLink::DefaultSocketFolder(&error);
    EXPECT_EQ(folder, runtime.filePath("stavox"));
    EXPECT_EQ(QFileInfo(folder).permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              0);
    // A folder others can enter is not used; the temporary folder's is.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadOther | QFile::ExeOther);
    const QString fallback = temporary.filePath(QStringLiteral("stavox-%1").arg(getuid()));
    EXPECT_EQ(MpvPlayerLink::DefaultSocketFolder(&error), fallback);
    EXPECT_TRUE(error.isEmpty());
    // One another user made first is passed over for the next of a row that --send reads too.
    if (::chown(QFile::encodeName(fallback).constData(), getuid() + 4242, 0) != 0)
        QFile::setPermissions(fallback, QFile::Permissions(0x7777));  // not root: open to all
    EXPECT_EQ(MpvPlayerLink::DefaultSocketFolder(&error), fallback + "-1");
    // None can be had: nothing, and why; the decks' folder of this run alone goes with them.
    ASSERT_TRUE(QDir(fallback + "-1").removeRecursively());
    for (const QString suffix : {"-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9"})
        WriteBytes(fallback + suffix, "");
    EXPECT_EQ(MpvPlayerLink::DefaultSocketFolder(&error), "");
    EXPECT_TRUE(error.contains(folder) && error.contains(fallback)) << error.toStdString();
    const QStringList before = QDir(temporary.path()).entryList(QDir::AllEntries);
    std::make_unique<MpvPlayerLink>().reset();
    EXPECT_EQ(QDir(temporary.path()).entryList(QDir::AllEntries), before);
}

TEST(PlayerLinkFactoryTest, MakesTheDecksByKind) {
    VirtualTimerHost host(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    EXPECT_EQ(DefaultPlayerKind(), "mpv");
    EXPECT_NE(dynamic_cast<SimulatedPlayerLink*>(MakePlayerLink("simulated", host, host).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MpvPlayerLink*>(MakePlayerLink("mpv", host, host, {"--ao=null"}).get()),
              nullptr);
    EXPECT_EQ(MakePlayerLink("winamp", host, host), nullptr) << "Windows only";
    EXPECT_EQ(MakePlayerLink("", host, host), nullptr);
}

}  // namespace
