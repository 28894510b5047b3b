#pragma once

#include <QDBusConnection>

#include "base/system_shutdown.h"

/// Powers the machine off through the login manager on the system bus
/// (org.freedesktop.login1.Manager.PowerOff, never interactive: no password is asked for,
/// a user without the right is refused).
class LoginManagerShutdown final : public SystemShutdown {
public:
    LoginManagerShutdown();
    /// On another bus: a test's private one.
    explicit LoginManagerShutdown(QDBusConnection bus);

    Result PowerOff() override;

private:
    QDBusConnection m_bus;
};
