#include "platform/mpv_protocol.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <climits>
#include <cmath>
#include <optional>
#include <vector>

namespace {

QJsonObject Object(const QByteArray& line) { return QJsonDocument::fromJson(line).object(); }

// Feeds lines as mpv wrote them to the mirror.
void Feed(mpv::DeckMirror& mirror, const std::vector<QByteArray>& lines) {
    for (const QByteArray& line : lines) mirror.Apply(mpv::ParseLine(line));
}

// A property-change event as mpv sends it; without data for a property that has no value.
QByteArray Changed(const char* name, const QByteArray& data = {}) {
    const QByteArray value = data.isEmpty() ? "" : ",\"data\":" + data;
    return R"({"event":"property-change","name":")" + QByteArray(name) + '"' + value + '}';
}

// What the station reads of a deck: play state, position in ms, length in s.
QString Reads(const mpv::DeckMirror& m) {
    return QString("%1 %2 %3").arg(m.PlayState()).arg(m.PositionMs()).arg(m.LengthSec());
}

}  // namespace

TEST(MpvProtocolTest, RequestsAreOneJsonLineEach) {
    const QString awkward = QStringLiteral("/music/Ο \"Δρόμος\"\nb\\c.mp3");
    const std::tuple<QByteArray, QJsonArray, int> cases[] = {
        {mpv::LoadFile(awkward, 7), {"loadfile", awkward, "replace"}, 7},
        {mpv::SetPause(false, 8), {"set_property", "pause", false}, 8},
        {mpv::CyclePause(9), {"cycle", "pause"}, 9},
        {mpv::Seek(90500, 10), {"seek", 90.5, "absolute"}, 10},
        {mpv::Seek(-2000, 11), {"seek", -2, "absolute"}, 11},
        {mpv::Stop(12), {"stop"}, 12},
        {mpv::ObserveProperty(3, "time-pos", 13), {"observe_property", 3, "time-pos"}, 13},
        {mpv::SetVolume(0, 15), {"set_property", "volume", 0}, 15},
        {mpv::Quit(16), {"quit"}, 16},
        {mpv::ReloadAudioOutput(18), {"ao-reload"}, 18},
        {mpv::GetProperty("pid", 17), {"get_property", "pid"}, 17},
    };
    for (const auto& [line, command, requestId] : cases) {
        SCOPED_TRACE(line.toStdString());
        ASSERT_TRUE(line.endsWith('\n'));
        EXPECT_EQ(line.count('\n'), 1) << "a path's line break must stay escaped";
        EXPECT_EQ(Object(line).value("command").toArray(), command);
        EXPECT_EQ(Object(line).value("request_id").toInt(), requestId);
    }
    EXPECT_FALSE(Object(mpv::Stop(0)).contains("request_id"));
}

TEST(MpvProtocolTest, VolumeIsLinearGainOnMpvsCubicScaleAndStatePositionAndLengthMap) {
    for (int v = 0; v <= 255; ++v) {
        // mpv's gain is (volume / 100)³; a deck volume is a gain of v / 255.
        const double gain = std::pow(mpv::MpvVolume(v) / 100.0, 3.0);
        EXPECT_NEAR(gain, v / 255.0, 1e-12) << v;
    }
    EXPECT_DOUBLE_EQ(mpv::MpvVolume(300), 100.0);
    EXPECT_DOUBLE_EQ(mpv::MpvVolume(-5), 0.0);
    // Half the gain is about −6 dB, far above mpv's own half of the scale.
    const double sent = Object(mpv::SetVolume(128, 1)).value("command").toArray().at(2).toDouble();
    EXPECT_NEAR(sent, 79.474, 0.001);
    // Idle wins over pause: mpv keeps its pause flag while it has no file.
    EXPECT_EQ(QList<int>({mpv::PlayStateOf(true, true), mpv::PlayStateOf(true, false),
                          mpv::PlayStateOf(false, true), mpv::PlayStateOf(false, false)}),
              QList<int>({0, 0, 3, 1}));
    const std::pair<std::optional<double>, int> positions[] = {
        {std::nullopt, 0}, {-0.183064, 0},     {0.0, 0},
        {3.5, 3500},       {209.9996, 209999}, {1e12, INT_MAX},
    };
    for (const auto& [timePos, ms] : positions) EXPECT_EQ(mpv::PositionMsOf(timePos), ms);
    const std::pair<std::optional<double>, int> lengths[] = {
        {std::nullopt, -1}, {0.0, 0}, {5.041633, 5}, {209.99, 209}};
    for (const auto& [duration, sec] : lengths) EXPECT_EQ(mpv::LengthSecOf(duration), sec);
}

TEST(MpvProtocolTest, MirrorFollowsAHandOverAndReadsStoppedForAFileNotPlayedOrAStoppedDeck) {
    mpv::DeckMirror mirror;
    Feed(mirror, {Changed("idle-active", "true"), Changed("pause", "false")});
    QStringList seen = {Reads(mirror)};
    mirror.HandedOver(100);
    seen << Reads(mirror);  // seen at once; the length is unknown until the file is open
    // News from before mpv took the file (the old file ending) is not about the new one.
    // A pause toggled just before and the old file's last position come in late, even
    // after mpv's reply to the hand-over.
    Feed(mirror, {R"({"event":"idle"})", Changed("idle-active", "true"), Changed("pause", "true"),
                  R"({"data":{"playlist_entry_id":1},"request_id":100,"error":"success"})",
                  Changed("time-pos", "2.0"),
                  R"({"event":"end-file","reason":"stop","playlist_entry_id":0})"});
    seen << Reads(mirror);
    // What mpv 0.35 sends once it starts the file, as recorded.
    Feed(mirror,
         {R"({"event":"start-file","playlist_entry_id":1})", Changed("idle-active", "false"),
          Changed("time-pos", "0.000000"), Changed("duration", "5.041633")});
    EXPECT_FALSE(mirror.AwaitingFile() || mirror.Advancing()) << "opened, not playing yet";
    Feed(mirror, {R"({"event":"playback-restart"})", Changed("time-pos", "0.948")});
    // Values of another type than the property's are not mpv's and change nothing.
    Feed(mirror, {Changed("idle-active", "[]"), Changed("pause", R"("yes")"),
                  Changed("time-pos", R"("soon")"), Changed("duration", "{}")});
    EXPECT_TRUE(mirror.Advancing());
    seen << Reads(mirror);
    mirror.PauseToggled();
    mirror.Jumped(3500);
    seen << Reads(mirror);
    // The file ends by itself; no pause while idle.
    Feed(mirror,
         {R"({"event":"end-file","reason":"eof","playlist_entry_id":1})", R"({"event":"idle"})",
          Changed("idle-active", "true"), Changed("time-pos"), Changed("duration")});
    mirror.PauseToggled();
    seen << Reads(mirror);
    EXPECT_EQ(seen.join(", "), "0 0 -1, 1 0 -1, 1 0 -1, 1 948 5, 3 3500 5, 0 0 -1");
    // A missing file flips idle off and on within one moment; the idle event settles it.
    mirror.HandedOver(5);
    Feed(mirror, {R"({"data":{"playlist_entry_id":3},"request_id":5,"error":"success"})",
                  R"({"event":"start-file","playlist_entry_id":3})",
                  R"({"event":"end-file","reason":"error","file_error":"loading failed"})",
                  R"({"event":"idle"})"});
    seen = QStringList{Reads(mirror)};
    // A hand-over mpv refuses outright.
    mirror.HandedOver(6);
    Feed(mirror, {R"({"request_id":6,"error":"invalid parameter"})"});
    seen << Reads(mirror);
    // A later hand-over's reply does not release an earlier one.
    mirror.HandedOver(7);
    mirror.HandedOver(8);
    Feed(mirror, {R"({"request_id":7,"error":"success"})", R"({"event":"idle"})"});
    seen << Reads(mirror);
    // Stopped and reset, a deck reads as a closed player, even with a position event
    // already on its way.
    Feed(mirror, {R"({"request_id":8,"error":"success"})", Changed("duration", "200.5"),
                  Changed("time-pos", "12.25"), Changed("current-ao", R"("pulse")")});
    seen << mirror.AudioOutput();
    mirror.Stopped();
    Feed(mirror, {Changed("time-pos", "12.30")});
    seen << Reads(mirror);
    mirror.HandedOver(9);
    mirror.Reset();
    seen << Reads(mirror) + mirror.AudioOutput();
    EXPECT_EQ(seen.join(", "), "0 0 -1, 0 0 -1, 1 0 -1, pulse, 0 0 -1, 0 0 -1");
}

// Only a file's own end or failure is news; a file held ready reads stopped until it is let
// go, and one that cannot be opened is told and no longer held.
TEST(MpvProtocolTest, MirrorTellsAnEndOrAFailureOnceAndHoldsACuedFileSilent) {
    const QByteArray started = R"({"event":"start-file","playlist_entry_id":1})";
    const QByteArray eof = R"({"event":"end-file","reason":"eof"})";
    const QByteArray error = R"({"event":"end-file","reason":"error"})";
    const QByteArray stop = R"({"event":"end-file","reason":"stop"})";
    const QByteArray idle = R"({"event":"idle"})";
    const QByteArray taken = R"({"request_id":4,"error":"success"})";
    const QByteArray refused = R"({"request_id":4,"error":"invalid parameter"})";
    struct Case {
        const char* what;
        bool cue, release;
        std::vector<QByteArray> lines;
        const char* told;  // the news, then what the station reads
    };
    const Case cases[] = {
        {"played to its end", false, false, {taken, started, eof}, "ended 0 0 -1"},
        {"could not be played", false, false, {taken, started, error}, "failed 0 0 -1"},
        {"refused by mpv", false, false, {refused}, "failed 0 0 -1"},
        {"stopped as asked", false, false, {taken, started, stop, idle}, "none 0 0 -1"},
        {"held ready", true, false, {taken, started, Changed("duration", "5.0")}, "none 0 0 -1"},
        {"held ready, let go",
         true,
         true,
         {taken, started, Changed("duration", "5.0")},
         "none 1 0 5"},
        {"let go, to its end", true, true, {taken, started, eof}, "ended 0 0 -1"},
        {"held ready, not found", true, false, {taken, started, error}, "cue-failed 0 0 -1"},
        {"held ready, refused", true, false, {refused}, "cue-failed 0 0 -1"},
    };
    for (const Case& c : cases) {
        mpv::DeckMirror mirror;
        c.cue ? mirror.Cued(4) : mirror.HandedOver(4);
        if (c.release) mirror.Released();
        QString told = "none";
        for (const QByteArray& line : c.lines) {
            mirror.Apply(mpv::ParseLine(line));
            if (const auto news = mirror.TakeNews())
                told = *news == PlayerLink::News::Ended    ? "ended"
                       : *news == PlayerLink::News::Failed ? "failed"
                                                           : "cue-failed";
        }
        EXPECT_EQ(told + ' ' + Reads(mirror), c.told) << c.what;
        EXPECT_FALSE(mirror.TakeNews()) << c.what << ": told once";
    }
}

TEST(MpvProtocolTest, WatchdogFindsADeckThatStopsAnsweringOrStandsStill) {
    const QString silent = "stopped answering for 2 s", still = "stood still for 2 s while playing";
    // A later answer, junk, or a line without its error do not answer a request.
    mpv::DeckWatchdog asked;
    asked.Sent(1, 0);
    asked.Sent(2, 500);
    asked.Heard(mpv::ParseLine(R"({"request_id":2,"error":"success"})"), 510);
    asked.Heard(mpv::ParseLine("junk"), 600);
    asked.Heard(mpv::ParseLine(R"({"request_id":1})"), 700);
    EXPECT_EQ(QStringList({asked.Check(false, 1999), asked.Check(false, 2000)}),
              QStringList({"", silent}));
    // A station that was held up has not been listening: the deck's time runs again.
    asked.Excuse(2500);
    EXPECT_EQ(QStringList({asked.Check(false, 4499), asked.Check(false, 4500)}),
              QStringList({"", silent}));
    // A file has its whole patience from when it begins to play, and moves by events and
    // by answers to the position question; the same position again is no move.
    mpv::DeckWatchdog playing;
    EXPECT_EQ(QStringList({playing.Check(false, 0), playing.Check(true, 9000)}),
              QStringList({"", ""}));
    playing.Heard(mpv::ParseLine(Changed("time-pos", "1.0")), 9500);
    playing.Sent(7, 10500);
    playing.AskedPosition(7);
    playing.Heard(mpv::ParseLine(R"({"data":2.5,"request_id":7,"error":"success"})"), 10600);
    playing.Heard(mpv::ParseLine(Changed("time-pos", "2.5")), 12000);
    EXPECT_EQ(QStringList({playing.Check(true, 12599), playing.Check(true, 12600)}),
              QStringList({"", still}));
}
