#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>

#include "support/files.h"
#include "support/station_folder.h"

#ifdef STAVOX_MIXER_BINARY
namespace {

sockaddr_un Address(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                 sizeof address.sun_path - 1);
    return address;
}

// A client of the station's socket by hand, to send what --send never would. -1 when
// nothing listens.
int Connect(const QString& path) {
    const sockaddr_un address = Address(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const timeval patience{6, 0};
    for (int option : {SO_RCVTIMEO, SO_SNDTIMEO})
        ::setsockopt(fd, SOL_SOCKET, option, &patience, sizeof patience);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    ::close(fd);
    return -1;
}

// Sends what the station takes of the bytes, then reads until it closes.
QByteArray Exchange(int fd, const QByteArray& bytes) {
    for (qsizetype sent = 0, n = 0; sent < bytes.size(); sent += n)
        if ((n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL)) <= 0) break;
    QByteArray answer;
    char chunk[256];
    for (ssize_t n = 0; (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;) answer.append(chunk, n);
    ::close(fd);
    return answer;
}

TEST(ControlSocket, TheStationDoesWhatItIsSentAsTheOperatorAndRefusesTheRest) {
    QTemporaryDir home, runtime, otherFolder;
    StationFolder station;
    station.AddList("day", {30, 30, 30});
    station.AddList("idents", {3});  // the first jingle tab's bank: one button
    WriteBytes(station.SpotsPath() + "jingles", "idents\r\n");
    station.WriteDays({{QDate::currentDate().dayOfWeek() % 7, "00:00", "24:00", "day|"}});
    auto env = PrivateHomeEnvironment(home.path());
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const auto start = [&](QProcess& p, const QString& folder) {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder);
        p.start(STAVOX_MIXER_BINARY, {"--player", "simulated"});
    };
    // --send's exit code, and its output with standard error after standard output.
    const auto send = [&](const QStringList& words) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(STAVOX_MIXER_BINARY, QStringList{"--send"} + words);
        p.waitForFinished(10'000);
        return std::pair{p.exitCode(),
                         QString(p.readAllStandardOutput() + p.readAllStandardError())};
    };
    // A socket file left by a station that died: nobody answers, and the next station takes it.
    const QString socket = runtime.path() + "/stavox/control";
    ::mkdir(QFile::encodeName(runtime.path() + "/stavox").constData(), 0700);
    const sockaddr_un address = Address(socket);
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    EXPECT_EQ(send({"next"}).first, 3);
    QProcess first, second;
    start(first, station.StartFolder());
    int silent = -1;
    for (int i = 0; i < 600 && (silent = Connect(socket)) < 0; ++i) first.waitForFinished(50);
    ASSERT_GE(silent, 0) << "no socket after 30 s: " << first.readAllStandardError().toStdString();
    // A second station never takes a live socket; a silent client is dropped meanwhile.
    second.setReadChannel(QProcess::StandardError);
    start(second, otherFolder.path());
    QElapsedTimer silence;
    silence.start();
    EXPECT_EQ(Exchange(silent, {}), "error: no message within 2 s\n");
    EXPECT_TRUE(silence.elapsed() > 1'500 && silence.elapsed() < 5'000) << silence.elapsed();
    QByteArray refusal;
    while (!refusal.contains("Another station") && second.waitForReadyRead(10'000))
        refusal += second.readAllStandardError();
    EXPECT_TRUE(refusal.contains("Another station answers")) << refusal.data();
    second.terminate();
    EXPECT_TRUE(second.waitForFinished(10'000));
    // Until the decks are looked up, next has nothing to start and says so.
    int tries = 0;
    for (auto [code, said] = send({"next"}); code != 0; std::tie(code, said) = send({"next"}))
        ASSERT_TRUE(said.startsWith("error: the station is starting") && ++tries < 1000)
            << said.toStdString();
    // By --send, or by hand (words empty) for what --send never sends.
    const struct {
        QStringList words;
        int exitCode;
        const char* answer;
        QByteArray bytes = {};
    } sent[] = {
        {{"pause"}, 0, "ok\n"},
        {{"jingle", "1"}, 0, "ok\n"},
        {{"jingle", "2"}, 1, "error: no jingle button 2 (there are 1)\n"},
        {{"jingle", "0"}, 1, "error: jingle takes a number from 1, not \"0\"\n"},
        {{"uncheck-spot", "99"}, 1, "error: no row of \"Next Spots\" 99 (there are "},
        {{"rewind"}, 1, "error: unknown verb \"rewind\"\n"},
        {{"manual", "maybe"}, 1, "error: manual takes on or off, not \"maybe\"\n"},
        {{}, 1, "error: a message is one line of at most 4096 bytes\n", QByteArray(1 << 20, 'x')},
        {{}, 1, "error: the message is not UTF-8 text\n", "next\xff\n"},
        {{}, 1, "error: the message holds a control character\n", "ne\x01xt\n"},
        {{}, 1, "error: an empty message, not VERB [ARG]\n", " \r\n"},
    };
    for (const auto& c : sent) {
        const auto [exitCode, output] =
            c.words.isEmpty() ? std::pair{1, QString(Exchange(Connect(socket), c.bytes))}
                              : send(c.words);
        EXPECT_EQ(exitCode, c.exitCode) << output.toStdString();
        EXPECT_TRUE(output.startsWith(c.answer)) << output.toStdString();
    }
    // How it stands: a line an item.
    const auto [statusCode, status] = send({"status"});
    EXPECT_EQ(statusCode, 0);
    QStringList items;
    for (const QString& line : status.trimmed().split('\n')) items << line.section(": ", 0, 0);
    EXPECT_EQ(items,
              QStringList({"on air", "next", "program", "mode", "spots", "decks", "monitor"}))
        << status.toStdString();
    EXPECT_TRUE(status.contains("\nnext: day - Track ")) << status.toStdString();

    // The station goes; its socket with it. Only the commands done are in its log.
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10'000));
    EXPECT_EQ(send({"next"}).first, 3);
    static const QRegularExpression done("\toperator\t(.*)\n");
    QStringList logged;
    for (const auto& m : done.globalMatch(QString::fromUtf8(first.readAllStandardOutput())))
        logged << m.captured(1);
    EXPECT_EQ(logged, QStringList({"next", "pause", "jingle\t1"}));
}

}  // namespace
#endif
