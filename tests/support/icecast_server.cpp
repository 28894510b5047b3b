#include "support/icecast_server.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QTcpServer>
#include <csignal>

#include "support/run_events.h"

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

IcecastServer::IcecastServer()
    : m_application(RunEventsUntil([] { return true; }, 0)), m_port(FreePort()) {
    // Icecast will not run as root; it then hands itself to nobody, who writes the logs.
    const QString owner = ::getuid() == 0 ? "<changeowner><user>nobody</user><group>nogroup</group>"
                                            "</changeowner>"
                                          : "";
    if (::getuid() == 0) QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777));
    QFile config(m_dir.filePath("icecast.xml"));
    config.open(QIODevice::WriteOnly);
    config.write(QString(R"(<icecast><limits><sources>4</sources></limits>
<authentication><source-password>%1</source-password><admin-user>admin</admin-user>
<admin-password>%1</admin-password></authentication><hostname>127.0.0.1</hostname>
<listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>
<paths><basedir>/usr/share/icecast2</basedir><logdir>%3</logdir>
<webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot></paths>
<logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>2</loglevel></logging>
<security><chroot>0</chroot>%4</security></icecast>)")
                     .arg(kPassword)
                     .arg(m_port)
                     .arg(m_dir.path(), owner)
                     .toUtf8());
    config.close();
    Start();
}

IcecastServer::~IcecastServer() { Stop(); }

void IcecastServer::Start() {
    // Gone with a killed test (as a normal user; root's Icecast changes its owner first).
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.start("icecast2", {"-c", m_dir.filePath("icecast.xml")});
    ASSERT_TRUE(RunEventsUntil([&] { return !Get("/status-json.xsl", 500).isEmpty(); }, 5000));
}

void IcecastServer::Stop() {
    m_process.kill();
    m_process.waitForFinished();
}

QByteArray IcecastServer::Get(const QString& path, int ms, const std::function<void()>& meanwhile) {
    QNetworkReply* reply = m_network.get(
        QNetworkRequest(QUrl(QString("http://127.0.0.1:%1%2").arg(m_port).arg(path))));
    QByteArray body;
    QObject::connect(reply, &QIODevice::readyRead, [&] { body += reply->readAll(); });
    RunEventsUntil(
        [&] {
            if (meanwhile) meanwhile();
            return reply->isFinished();
        },
        ms);
    body += reply->readAll();
    reply->disconnect();
    reply->abort();
    reply->deleteLater();
    return body;
}

QString IcecastServer::Title(const QString& mount) {
    const QJsonValue sources =
        QJsonDocument::fromJson(Get("/status-json.xsl", 2000))["icestats"]["source"];
    for (const QJsonValue& source : sources.isArray() ? sources.toArray() : QJsonArray{sources})
        if (source["listenurl"].toString().endsWith(mount)) return source["title"].toString();
    return {};
}

std::vector<float> DecodeStereo(const QByteArray& encoded) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "quiet", "-i", "pipe:0", "-f", "f32le", "-ac", "2", "-ar",
                            "44100", "pipe:1"});
    ffmpeg.write(encoded);
    ffmpeg.closeWriteChannel();
    ffmpeg.waitForFinished();
    const QByteArray pcm = ffmpeg.readAllStandardOutput();
    const auto* samples = reinterpret_cast<const float*>(pcm.constData());
    return {samples, samples + pcm.size() / qsizetype(sizeof(float))};
}
