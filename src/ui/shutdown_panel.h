#pragma once

#include <QFrame>

class AutoShutdown;
class QLabel;

/// The red `PanelShutdown`: "Windows will shutdown at" with the seconds left in
/// `LabelWinShutDnSec1`, and `ButtonCancelShutDown2` "Cancel Shutdown". It shows while the
/// automatic shutdown counts down and follows every second of it.
class ShutdownPanel final : public QFrame {
    Q_OBJECT
public:
    ShutdownPanel(AutoShutdown& shutdown, QWidget* parent);
    void Redraw();

private:
    AutoShutdown& m_shutdown;
    QLabel* m_seconds;
};
