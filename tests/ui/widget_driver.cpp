#include "widget_driver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "app/data_folders.h"
#include "app/station.h"
#include "app/station_client.h"
#include "app/station_core.h"
#include "tools/week_check.h"
#include "ui/main_window.h"

namespace driver {

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, list->count());
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(row)).center());
}

void DoubleClickRow(QListWidget* list, int row) {
    ClickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->item(row)).center());
}

void Retype(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

ModalAnswer::ModalAnswer(const QString& objectName, std::function<void(QWidget*)> act)
    : m_timer(new QTimer) {
    QObject::connect(m_timer, &QTimer::timeout, [this, objectName, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == objectName) {
            m_timer->stop();
            m_answered = true;
            act(modal);
        } else if (++m_tries > 300) {
            m_timer->stop();
            ADD_FAILURE() << "no modal window " << objectName.toStdString();
            if (modal) modal->close();  // never hang the test
        }
    });
    m_timer->start(10);
}

ModalAnswer::~ModalAnswer() { delete m_timer; }

void ClickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in "
                  << dialog->objectName().toStdString();
}

std::unique_ptr<MainWindow> OpenStudio(Station& station) {
    EXPECT_EQ(station.StartUp(), QStringList());
    station.SetWeekCheck(&week_check::WeekFromNow);
    // The core on the window's thread: each command is done before Send returns. The core
    // and its client go with the window.
    auto* core = new StationCore(station);
    auto* client = new StationClient(*core);
    auto window =
        std::make_unique<MainWindow>(*client, ProgramName{kApplicationTitle, kVersionText}, [] {});
    core->setParent(window.get());
    client->setParent(window.get());
    window->resize(1366, 768);
    window->show();
    return window;
}

}  // namespace driver
