#include "ui/main_window.h"

#include "app/data_folders.h"
#include "app/station.h"

#include <QCloseEvent>

MainWindow::MainWindow(Station& station, std::function<void()> onClose, QWidget* parent)
    : QMainWindow(parent), m_station(station), m_onClose(std::move(onClose)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(WindowCaption());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_onClose) m_onClose();
    m_onClose = nullptr;  // the close sequence runs once, however the window closes
    event->accept();
}
