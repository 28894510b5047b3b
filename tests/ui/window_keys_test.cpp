#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"
#include "ui/main_window.h"
#include "widget_driver.h"

namespace {

TEST(WindowKeys, ReachThePlayerFromStartAndFromNumberAndHourBoxesButNotFromNames) {
    StationFolder folder;
    folder.AddList("a", {60, 61, 62});
    folder.WriteDays({{1, "08:00", "10:00", "a"}});
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    station.StartUp(Settings{});
    MainWindow window(station, [] {});
    window.show();
    QApplication::setActiveWindow(&window);
    host.Advance(6'400);                                            // the first track is on air
    window.findChild<QPushButton*>("BitBtnNewHourProg1")->click();  // the hour boxes open
    auto* nameBox = window.findChild<QLineEdit*>("EditNewProgramName1");
    const QString name0 = nameBox->text();

    for (const char* focus : {"", "Editsec1", "ComboBoxStartHour1", "EditNewProgramName1"}) {
        SCOPED_TRACE(focus);
        if (*focus) window.findChild<QWidget*>(focus)->setFocus();
        const bool name = QLatin1String(focus) == "EditNewProgramName1";
        QWidget* target = QApplication::focusWidget();
        driver::Press(target, Qt::Key_Apostrophe, Qt::NoModifier, "'");
        driver::Press(target, Qt::Key_BracketLeft, Qt::NoModifier, "[");
        driver::Press(target, Qt::Key_Backslash, Qt::NoModifier, "\\");  // no line input yet
        EXPECT_EQ(window.findChild<QLabel*>("LabelPausePlay1")->text(), name ? "|>" : "||");
        EXPECT_EQ(station.Engine().Bars().Running(VolumeBars::Fade::Timer1), !name);
        EXPECT_EQ(nameBox->text(), name ? name0 + "'[\\" : name0);
        if (name) continue;
        window.findChild<QPushButton*>("ButtonPause20")->click();
        window.findChild<QPushButton*>("BitBtnFadeIn0")->click();
    }

    for (const char* waiting : {"SpeedButtonAmp1", "SpeedButtonAmp2", "BitBtnSayHour1",
                                "GroupBoxShutDown", "GroupBoxSpots", "CheckBoxGreekLishSearch"}) {
        const QWidget* control = window.findChild<QWidget*>(waiting);
        EXPECT_FALSE(control->isEnabled()) << waiting;
        EXPECT_TRUE(control->toolTip().startsWith("Not available yet: comes with ")) << waiting;
    }
}

}  // namespace
