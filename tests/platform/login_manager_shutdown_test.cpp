#include "platform/login_manager_shutdown.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QThread>

namespace {

// The login manager's object, on a thread of its own so that the blocking call gets its
// answer; it notes each call and accepts it or refuses it.
class FakeLoginManager final : public QDBusVirtualObject {
public:
    QString refusal;
    QStringList calls;  // read between calls only

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls << QStringLiteral("%1.%2(%3)")
                     .arg(message.interface(), message.member(),
                          message.arguments().value(0).toString());
        connection.send(refusal.isEmpty()
                            ? message.createReply()
                            : message.createErrorReply(QDBusError::AccessDenied, refusal));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
};

TEST(LoginManagerShutdownTest, AsksTheLoginManagerNotInteractivelyAndPassesARefusalOn) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("test_platform"), nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    QProcess daemon;  // a bus of the test's own
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForReadyRead(10'000)) << "dbus-daemon gave no address";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();

    QThread thread;
    FakeLoginManager manager;
    manager.moveToThread(&thread);
    QDBusConnection service = QDBusConnection::connectToBus(address, "service");
    LoginManagerShutdown shutdown(QDBusConnection::connectToBus(address, "client"));
    EXPECT_TRUE(
        shutdown.PowerOff().message().contains("org.freedesktop.DBus.Error.ServiceUnknown"));
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/login1", &manager));
    ASSERT_TRUE(service.registerService("org.freedesktop.login1"));
    thread.start();
    for (const QString refusal : {"", "Interactive authentication required."}) {
        manager.refusal = refusal;
        const Result result = shutdown.PowerOff();
        EXPECT_EQ(result.ok(), refusal.isEmpty()) << result.message().toStdString();
        EXPECT_TRUE(result.message().contains(refusal)) << result.message().toStdString();
    }
    EXPECT_EQ(manager.calls, QStringList(2, "org.freedesktop.login1.Manager.PowerOff(false)"));
    thread.quit();
    thread.wait();
    daemon.terminate();
    daemon.waitForFinished();
}

}  // namespace
