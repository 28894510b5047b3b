// The four window keys wherever the focus is, and the controls that wait for their feature.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/station_folder.h"
#include "ui/main_window.h"
#include "widget_driver.h"

namespace {

// Monday 7 December 2026, 09:05, with list "a" on air from 08:00 to 10:00.
class WindowKeysTest : public ::testing::Test {
protected:
    WindowKeysTest() {
        folder.AddList("a", {60, 61, 62});
        folder.WriteDays({{1, "08:00", "10:00", "a"}});
        EXPECT_EQ(station.StartUp(Settings{}), QStringList());
        window = std::make_unique<MainWindow>(station, [] {});
        window->resize(1366, 768);
        window->show();
        QApplication::setActiveWindow(window.get());
        host.Advance(6'000 + 400);  // the first track is on air
        window->RefreshView();
    }

    template <class T = QWidget>
    T* Find(const char* name) {
        T* w = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The key goes where the operator's keyboard sends it: to the focused control.
    void Type(Qt::Key key, const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        driver::Press(focus ? focus : window.get(), key, Qt::NoModifier, text);
    }
    QString PauseLabel() { return Find<QLabel>("LabelPausePlay1")->text(); }
    bool FadingOut() { return station.Engine().Bars().Running(VolumeBars::Fade::Timer1); }

    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowKeysTest, KeysReachThePlayerFromStartAndFromNumberAndHourBoxes) {
    struct Case {
        const char* focus;  // nothing: as the window started
        bool keysAreText;
    } cases[] = {{nullptr, false},
                 {"Editsec1", false},
                 {"EditMixingTime", false},
                 {"ComboBoxStartHour1", false},
                 {"EditNewProgramName1", true}};
    Find<QPushButton>("BitBtnNewHourProg1")->click();  // the hour boxes take choices now
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus ? c.focus : "start");
        if (c.focus) Find(c.focus)->setFocus();
        auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget()))
            box = combo->lineEdit();
        const QString before = box ? box->text() : QString();

        Type(Qt::Key_Apostrophe, "'");
        EXPECT_EQ(PauseLabel(), c.keysAreText ? "|>" : "||");
        Type(Qt::Key_BracketLeft, "[");
        EXPECT_EQ(FadingOut(), !c.keysAreText);
        Type(Qt::Key_BracketRight, "]");
        EXPECT_FALSE(FadingOut());
        Type(Qt::Key_Backslash, "\\");  // the line input's key: not there yet, and not text
        if (box) {
            EXPECT_EQ(box->text(), c.keysAreText ? before + "'[]\\" : before);
        }
        if (PauseLabel() == "||") Find<QPushButton>("ButtonPause20")->click();
    }
}

TEST_F(WindowKeysTest, ControlsOfFeaturesNotBuiltYetAreDisabledAndSaySo) {
    for (const char* name :
         {"SpeedButtonAmp1", "SpeedButtonAmp2", "BitBtnSayHour1", "GroupBoxShutDown",
          "GroupBoxSpots", "RadioButtonJust1", "RadioOffSpots1", "CheckBoxGreekLishSearch"}) {
        QWidget* control = Find(name);
        EXPECT_FALSE(control->isEnabled()) << name;
        const QWidget* group = control->parentWidget();
        EXPECT_TRUE((control->toolTip().isEmpty() ? group->toolTip() : control->toolTip())
                        .startsWith("Not available yet"))
            << name;
    }
}

}  // namespace
