#include "platform/login_manager_shutdown.h"

#include <QDBusError>
#include <QDBusMessage>

namespace {

constexpr int kReplyTimeoutMs = 10'000;

}  // namespace

LoginManagerShutdown::LoginManagerShutdown() : LoginManagerShutdown(QDBusConnection::systemBus()) {}

LoginManagerShutdown::LoginManagerShutdown(QDBusConnection bus) : m_bus(std::move(bus)) {}

Result LoginManagerShutdown::PowerOff() {
    if (!m_bus.isConnected())
        return Result::Error(QStringLiteral("The system bus cannot be reached: %1")
                                 .arg(m_bus.lastError().message()));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false;  // not interactive
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() != QDBusMessage::ErrorMessage) return Result::Ok();
    return Result::Error(QStringLiteral("The login manager refused to power off: %1 (%2)")
                             .arg(reply.errorMessage(), reply.errorName()));
}
