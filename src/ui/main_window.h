#pragma once

#include <QMainWindow>

#include <functional>

class Station;

/// The studio window: a view of the station's core. Closing it runs the station's
/// close sequence through onClose (settings first), and the close is never refused.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Station& station, std::function<void()> onClose, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Station& m_station;
    std::function<void()> m_onClose;
};
