#pragma once

#include <QFrame>

class QLabel;
class StationClient;
struct WindowState;

/// The red `PanelShutdown`: "Windows will shutdown at" with the seconds left in
/// `LabelWinShutDnSec1`, and `ButtonCancelShutDown2` "Cancel Shutdown". It shows while the
/// automatic shutdown counts down and follows every second of it, as the state shows it.
class ShutdownPanel final : public QFrame {
    Q_OBJECT
public:
    ShutdownPanel(StationClient& client, QWidget* parent);
    void Redraw(const WindowState& state);

private:
    QLabel* m_seconds;
};
