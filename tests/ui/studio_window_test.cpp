#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QThread>
#include <QToolTip>
#include <memory>

#include "app/library_state.h"
#include "app/operator_actions.h"
#include "app/station.h"
#include "base/text_file.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/analysis_map.h"
#include "support/station_folder.h"
#include "support/workers.h"
#include "ui/lock_layout.h"
#include "ui/main_window.h"
#include "widget_driver.h"

namespace {

using driver::ModalAnswer;

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

// The operator picks an entry of a drop-down list.
void Choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    ASSERT_TRUE(combo->isEnabled());
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

// Monday 7 December 2026, 09:05: today holds "a" from 08:00 to 10:00 and "b" from 12:00
// to 13:00; "CD_live" is a CD list, hidden until "+CDs" is ticked.
class StudioWindowTest : public ::testing::Test {
protected:
    StudioWindowTest() {
        a = folder.AddList("a", {60, 61, 62, 63, 64, 65});
        folder.AddList("b", {70, 71, 72});
        folder.AddList("CD_live", {80});
        folder.WriteDays({{1, "08:00", "10:00", "a"}, {1, "12:00", "13:00", "b"}});
    }
    void Start() { window = driver::OpenStudio(station); }
    template <class T = QWidget>
    T* Find(const QString& name) {
        return driver::Find<T>(*window, name);
    }
    QString Text(const QString& label) { return Find<QLabel>(label)->text(); }
    // Virtual time passes; the window then draws what the core did meanwhile.
    void Advance(std::int64_t ms) {
        host.Advance(ms);
        window->RefreshView();
    }
    // A click on a list's name; the window shows the list once its file is read.
    void OpenList(int row) {
        driver::ClickRow(Find<QListWidget>("ListBoxFileListBox"), row);
        FinishWorkers();
        window->RefreshView();
    }
    // The start wait, then the first tick starts the head of the queue.
    void RunUntilFirstTrack() { Advance(6'000 + 400); }
    QString CurrentFile() { return link.File(station.Engine().Players().CurrentDeck); }
    StationFolder folder;
    QStringList a;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    std::unique_ptr<MainWindow> window;
};

TEST_F(StudioWindowTest, StartShowsTheProgramsAndNextTracksAndTheKnobAndKeysReachThePlayer) {
    Start();
    EXPECT_EQ(Find<QTabBar>("TabControl1")->currentIndex(), 1);
    EXPECT_EQ(Items(Find<QListWidget>("ListBoxProgram1")),
              QStringList({"08:00 - 10:00     a", "12:00 - 13:00     b"}));
    EXPECT_EQ(
        Text("LabelProgramName1") + "|" + Text("LabelWra2") + "|" + Text("LabeltracksToPlay1"),
        "a|08:00 - 10:00|6");
    for (int n = 1; n <= 5; ++n) {
        const QString label = Text(QStringLiteral("LabelTrackPlay%1").arg(n));
        const QRegularExpression shown(
            QStringLiteral("^Artist: a \nsong :.* Track %1\n.*01:0%2.*Category:    a$")
                .arg(n)
                .arg(n - 1));
        EXPECT_TRUE(shown.match(label).hasMatch()) << label.toStdString();
    }
    EXPECT_EQ(Text("LabelTime1"), "09:05:00");  // before the start wait ends
    RunUntilFirstTrack();
    EXPECT_EQ(Text("LabelTime1"), "09:05:06");
    EXPECT_EQ(Text("LabelTrackName1"), "a - Track 1");
    EXPECT_TRUE(Text("LabelTrackPlay1").contains(" Track 2"));
    Advance(10'200);
    EXPECT_EQ(Text("LabelPlayTime") + Text("LabelLenghtOfTrack") + Text("LabelRemainingTime"),
              "00:1001:00-00:50");
    // Drag the knob to the middle of the bar: half of the 60 s track.
    QWidget* knob = Find("BitBtnMoveBar");
    QWidget* bar = Find("PanelSecBar");
    const auto mouse = [knob](QEvent::Type type, int x, Qt::MouseButton button,
                              Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(x, 5), QPointF(), button, held, Qt::NoModifier);
        QApplication::sendEvent(knob, &event);
    };
    const int grab = knob->width() / 2;
    const int target = bar->x() + bar->width() / 2 - knob->width() / 2;
    mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, grab + target - knob->x(), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(knob->x(), target);
    EXPECT_FALSE(Find("LabelBarPosInSec")->isHidden());
    EXPECT_EQ(Text("LabelBarPosInSec"), "00:30");
    mouse(QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(Find("LabelBarPosInSec")->isHidden());
    EXPECT_EQ(link.PositionMs(station.Engine().Players().CurrentDeck) / 1000, 30);
    // The window keys reach the player from where the focus was at the start, and from
    // the number and hour boxes, but not from a box where text is typed.
    QApplication::setActiveWindow(window.get());
    Find<QPushButton>("BitBtnNewHourProg1")->click();  // the hour boxes open
    Find<QTabWidget>("PageControl1")->setCurrentWidget(Find("TabSheetSearch"));
    EXPECT_EQ(Find<QLineEdit>("EditNewProgramName1")->text(), "");  // no made-up name at start
    // "'" pauses, "[" fades out; from anywhere in the window but a box where text is typed.
    for (const char* focus : {"", "Editsec1", "ComboBoxStartHour1", "ListBoxProgram1",
                              "EditNewProgramName1", "EditSearch1", "EditSearch2"}) {
        SCOPED_TRACE(focus);
        if (*focus) Find(focus)->setFocus();
        const bool text =
            QByteArray(focus).startsWith("EditNew") || QByteArray(focus).startsWith("EditSearch");
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused, Qt::Key_Apostrophe);
        QTest::keyClick(focused, Qt::Key_BracketLeft);
        EXPECT_EQ(Text("LabelPausePlay1"), text ? "|>" : "||");
        EXPECT_EQ(Find<QPushButton>("ButtonPause20")->isChecked(), !text);
        EXPECT_EQ(station.Engine().Bars().Running(VolumeBars::Fade::Timer1), !text);
        EXPECT_EQ(focused->inputMethodQuery(Qt::ImSurroundingText).toString().endsWith("'["), text);
        if (text) continue;
        Find<QPushButton>("ButtonPause20")->click();
        Find<QPushButton>("BitBtnFadeIn0")->click();
    }
    // A Greek layout makes "'" a dead accent: its place on the keyboard counts.
    QKeyEvent greekLayout(QEvent::KeyPress, Qt::Key_Dead_Acute, Qt::NoModifier, 48, 0, 0);
    Find("ListBoxProgram1")->setFocus();
    QApplication::sendEvent(QApplication::focusWidget(), &greekLayout);
    EXPECT_EQ(Text("LabelPausePlay1"), "||");
    // The backslash key opens the line input and closes it again, its button and bar following.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backslash);
    Advance(1'000);
    EXPECT_TRUE(Find<QPushButton>("ButtonOpenLineIn1")->isChecked());
    EXPECT_EQ(Find<QSlider>("TrackBarLineIn1")->value(), 0);
    Find<QPushButton>("ButtonOpenLineIn1")->click();
    Advance(1'000);
    EXPECT_EQ(Find<QSlider>("TrackBarLineIn1")->value(), 100);
    Find<QPushButton>("BitBtnSayHour1")->click();
    EXPECT_TRUE(station.Announcement().Running());
}

// Shutdown at 09:10, set in the options at 09:05: checks every 50 s, the first in 09:10
// at 09:10:00; then the red panel counts down until "Cancel Shutdown" hides it.
TEST_F(StudioWindowTest, TheRedPanelCountsDownToTheShutdownAndCancelHidesIt) {
    Start();
    Find<QCheckBox>("CheckBoxShutDown1")->click();
    Find<QComboBox>("ComboBoxHourShutDown1")->setCurrentText("09");
    Find<QComboBox>("ComboBoxMinShutDown1")->setCurrentText("10");
    Advance(303'000);
    EXPECT_EQ(Text("LabelShutdown4") + Text("LabelWinShutDnSec1"), "Windows will shutdown at57");
    Find<QPushButton>("ButtonCancelShutDown2")->click();
    EXPECT_FALSE(Find("PanelShutdown")->isVisible());
}

TEST_F(StudioWindowTest, MarkedLabelsPlayedTracksAndListEntriesPlayAndAWideTitleSwings) {
    folder.AddList(QString(120, QLatin1Char('w')), {90});
    Start();
    RunUntilFirstTrack();
    QTest::mouseClick(Find("LabelTrackPlay3"), Qt::LeftButton);
    for (int n = 1; n <= 5; ++n) {
        const QColor background =
            Find(QStringLiteral("LabelTrackPlay%1").arg(n))->palette().color(QPalette::Window);
        EXPECT_EQ(background, n == 3 ? QColor(0, 0, 128) : QColor(Qt::black)) << n;
    }
    Find<QPushButton>("BitBtnPlay")->click();
    EXPECT_EQ(CurrentFile(), a[3]);  // the queue held tracks 2..6: label 3 was track 4
    EXPECT_EQ(Find<QLabel>("LabelTrackName1")->text(), "a - Track 4");
    // A double click marks and plays at once.
    Advance(4'000);
    QTest::mouseDClick(Find("LabelTrackPlay1"), Qt::LeftButton);
    EXPECT_EQ(CurrentFile(), a[1]);
    // A played track plays again; clearing the played list asks first.
    Advance(4'000);
    auto* played = Find<QListWidget>("ListBoxPrevPlayed1");
    Find<QPushButton>("SpeedButton7")->click();  // nothing chosen: nothing happens
    EXPECT_EQ(played->count(), 3);
    driver::ClickRow(played, 0);
    Find<QPushButton>("SpeedButton7")->click();
    EXPECT_EQ(Items(played), QStringList({"a - Track 1.mp3", "a - Track 4.mp3", "a - Track 2.mp3",
                                          "a - Track 1.mp3"}));
    EXPECT_EQ(CurrentFile(), a[0]);
    EXPECT_EQ(Text("LabelPlayedTracks"), "4");
    for (const auto& [answer, rowsLeft] : {std::pair{"Cancel", 4}, {"Yes", 0}}) {
        QString question;
        ModalAnswer confirm("Confirmation", [&, answer = QString(answer)](QWidget* box) {
            question = static_cast<QMessageBox*>(box)->text();
            driver::ClickButton(box, answer);
        });
        Find<QPushButton>("SpeedButtonClearPrevList")->click();
        EXPECT_TRUE(confirm.Answered());
        EXPECT_EQ(question, "Clear the list with the previous played tracks ?");
        EXPECT_EQ(played->count(), rowsLeft) << answer;
    }
    EXPECT_EQ(Text("LabelPlayedTracks"), "4");  // until the next track starts
    // The list tab plays its current entry at once; a title wider than its panel swings.
    auto playFromList = [this](int list, int row) {
        OpenList(list);
        driver::ClickRow(Find<QListWidget>("ListBoxTitles1"), row);
        Find<QPushButton>("SpeedButton9")->click();
    };
    playFromList(1, 2);
    EXPECT_EQ(Text("LabelPlayedTracks"), "1");
    EXPECT_TRUE(CurrentFile().endsWith("b - Track 3.mp3")) << CurrentFile().toStdString();
    EXPECT_EQ(station.Engine().Loop().SettleTicks, 10);
    EXPECT_TRUE(Text("LabelTrackPlay1").contains(" Track 3"));  // the queue goes on as it was
    QWidget* title = Find("LabelTrackName1");
    Advance(2'000);
    EXPECT_EQ(title->x(), 20);  // "b - Track 3" fits and stands still
    playFromList(2, 0);
    ASSERT_GT(title->width(), Find("PanelTrackName1")->width());
    EXPECT_EQ(title->x(), 20);
    Advance(2'000);  // five title ticks of 5 pixels to the left
    EXPECT_EQ(title->x(), -5);
}

TEST_F(StudioWindowTest, NewProgramIsChosenHourByHourSavedAndCommandsActOnTheRowChosen) {
    folder.WriteDays({{3, "06:00", "07:00", "b"}, {3, "20:00", "21:00", "a"}});
    Start();
    auto* start = Find<QComboBox>("ComboBoxStartHour1");
    auto* end = Find<QComboBox>("ComboBoxEndHour1");
    auto* programs = Find<QListWidget>("ListBoxProgram1");
    EXPECT_FALSE(start->isEnabled());
    // "Ακυρο" in the chooser changes nothing and closes the choice all the same.
    for (const char* answer : {"Ακυρο", "OK"}) {
        Find<QPushButton>("BitBtnNewHourProg1")->click();
        Choose(start, "10:00");
        EXPECT_EQ(end->count(), 4);
        EXPECT_EQ(end->itemText(0) + end->itemText(3), "10:3012:00");
        QStringList offered;
        ModalAnswer chooser("TFormPrograms", [&](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "Select a Program");
            auto* lists = dialog->findChild<QListWidget*>("ListBox2");
            offered = Items(lists);
            driver::ClickRow(lists, 0);
            driver::ClickRow(lists, 1, Qt::ControlModifier);
            driver::ClickButton(dialog, answer);
        });
        Choose(end, "12:00");
        EXPECT_TRUE(chooser.Answered());
        EXPECT_EQ(offered, QStringList({"a", "b"}));  // no CD list without "+CDs"
        EXPECT_FALSE(start->isEnabled() || end->isEnabled());
    }
    EXPECT_EQ(Items(programs), QStringList({"08:00 - 10:00     a", "10:00 - 12:00     a|b|",
                                            "12:00 - 13:00     b"}));
    EXPECT_EQ(text_file::ReadLines(folder.DaysPath() + "1").value.mid(20, 2),
              QStringList({"a|b|", "###SAME###"}));
    // "Same as" copies the day chosen in the week onto the day shown.
    ModalAnswer week("TFormWeek1", [](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Week");
        auto* days = dialog->findChild<QListWidget*>("ListBoxWeek1");
        EXPECT_EQ(days->item(0)->text(), "ΚΥΡΙΑΚΗ");
        driver::ClickRow(days, 1);  // Monday onto Tuesday
        driver::ClickButton(dialog, "OK");
    });
    auto* tabs = Find<QTabBar>("TabControl1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(programs->count(), 0);
    Find<QPushButton>("BitBtnIdioProMe1")->click();
    EXPECT_TRUE(week.Answered());
    EXPECT_EQ(programs->count(), 3);
    EXPECT_EQ(text_file::ReadLines(folder.DaysPath() + "2").value,
              text_file::ReadLines(folder.DaysPath() + "1").value);
    // Commands act only on the row chosen on the day shown.
    auto* remove = Find<QPushButton>("BitBtnDelHourProg1");
    driver::ClickRow(programs, 1);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    remove->click();
    EXPECT_EQ(programs->count(), 2) << "no row of Wednesday was chosen";
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    driver::ClickRow(programs, 0);
    remove->click();
    remove->click();
    EXPECT_EQ(Items(programs), QStringList({"10:00 - 12:00     a|b|", "12:00 - 13:00     b"}))
        << "one Delete, one program";
}

TEST_F(StudioWindowTest,
       ListIsEditedSavedUnderANewNameReloadedByEveryClickAndEmptiedOnlyIfConfirmed) {
    Start();
    auto* names = Find<QListWidget>("ListBoxFileListBox");
    auto* titles = Find<QListWidget>("ListBoxTitles1");
    EXPECT_EQ(Items(names), QStringList({"a", "b"}));
    EXPECT_EQ(Text("LabelTotalPrograms1"), "2");
    OpenList(0);
    EXPECT_EQ(Find<QLineEdit>("EditNewProgramName1")->text(), "a");
    driver::ClickRow(titles, 0);
    driver::ClickRow(titles, 2, Qt::ControlModifier);
    QTest::keyClick(titles, Qt::Key_Delete);
    driver::ClickRow(titles, 3);
    Find<QPushButton>("ButtonUpProgr2")->click();
    EXPECT_EQ(Items(titles), QStringList({"a - Track 2.mp3", "a - Track 4.mp3", "a - Track 6.mp3",
                                          "a - Track 5.mp3"}));
    EXPECT_EQ(Text("LabelTotalTracks1"), "4");
    driver::Retype(Find<QLineEdit>("EditNewProgramName1"), "a 2");
    Find<QPushButton>("BitBtnSaveProgram1")->click();
    EXPECT_EQ(Items(names), QStringList({"a", "a 2", "b"}));
    EXPECT_EQ(titles->count(), 0);
    EXPECT_EQ(text_file::ReadLines(folder.ListsPath() + "a 2").value,
              QStringList({a[1], a[3], a[5], a[4]}));
    EXPECT_EQ(text_file::ReadLines(folder.ListsPath() + "a").value, a);
    Find<QCheckBox>("CheckBoxIncludeCDsLists")->click();
    EXPECT_EQ(Items(names), QStringList({"a", "a 2", "b", "CD_live"}));
    EXPECT_EQ(Text("LabelTotalPrograms1"), "4");
    // Every click on a name loads it again; saving it emptied asks first.
    OpenList(0);
    driver::ClickRow(titles, 0);
    QTest::keyClick(titles, Qt::Key_Delete);
    OpenList(0);
    EXPECT_EQ(titles->count(), 6) << "the unwanted edit is dropped";
    Find<QCheckBox>("CheckBoxIncludeCDsLists")->click();
    EXPECT_EQ(Find<QLineEdit>("EditNewProgramName1")->text(), "") << "it named what was shown";
    OpenList(0);
    QTest::keyClick(titles, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(titles, Qt::Key_Delete);
    for (const auto& [answer, lines] : {std::pair{"Cancel", 6}, {"Yes", 0}}) {
        ModalAnswer confirm("Confirmation", [answer = QString(answer)](QWidget* box) {
            EXPECT_EQ(static_cast<QMessageBox*>(box)->text(), "Replace a with an empty list ?");
            driver::ClickButton(box, answer);
        });
        Find<QPushButton>("BitBtnSaveProgram1")->click();
        EXPECT_EQ(text_file::ReadLines(folder.ListsPath() + "a").value.size(), lines) << answer;
    }
    // The lists folder turns into a file: the save fails, the editor keeps the list.
    OpenList(1);
    ASSERT_TRUE(QDir(folder.ListsPath()).removeRecursively());
    ASSERT_EQ(text_file::WriteLines(folder.StartFolder() + "/pro1", {}), Result::Ok());
    QString shown;
    ModalAnswer error("ErrorMessage", [&](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->text();
        driver::ClickButton(box, "OK");
    });
    Find<QPushButton>("BitBtnSaveProgram1")->click();
    EXPECT_TRUE(error.Answered());
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(titles->count(), 4);
    EXPECT_EQ(names->count(), 3);
}

TEST_F(StudioWindowTest, StoredLayoutsApplyAtStartUpTheirBoxesTurnThemOffAndOptionsAreTyped) {
    RunVerb(station, *FindOperatorVerb("lock-programs"), "on");
    RunVerb(station, *FindOperatorVerb("option"), "SimplifyPlayer 1");
    RunVerb(station, *FindOperatorVerb("option"), "AviOrMessage 0");
    Start();
    EXPECT_TRUE(Find("PanelVideo")->isHidden());
    EXPECT_FALSE(Find("PanelMessages")->isHidden());
    EXPECT_EQ(Text("LabelMessages"), "Right Click to Enter Your message");
    auto exists = [this](const QString& name) {
        return window->findChild<QWidget*>(name) || window->findChild<QAction*>(name);
    };
    for (const QString& name : LockHiddenControls() + LockDisabledControls())
        EXPECT_TRUE(exists(name)) << "no control " << name.toStdString();
    auto hidden = [this] {
        QSet<QString> names;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isHidden() && w->window() == window.get()) names.insert(w->objectName());
        return names;
    };
    // Unlocked, exactly the lock's controls come back; locked again, they go again.
    auto* lock = Find<QCheckBox>("CheckBoxLockPrograms1");
    EXPECT_TRUE(lock->isChecked());
    EXPECT_FALSE(Find("CheckBoxDontClearAutomaticallyPrevTracks")->isEnabled());
    const QSet<QString> locked = hidden();
    lock->click();
    EXPECT_FALSE(station.Lock().LockPrograms);
    QSet<QString> lockedWidgets;  // the menu items of the list are actions, not widgets
    for (const QString& name : LockHiddenControls())
        if (window->findChild<QWidget*>(name)) lockedWidgets.insert(name);
    EXPECT_EQ(locked - hidden(), lockedWidgets);
    for (const char* item : {"Rename1", "Rename3", "AddToProgram4"})
        EXPECT_TRUE(window->findChild<QAction*>(item)->isVisible()) << item;
    EXPECT_TRUE(Find("CheckBoxDontClearAutomaticallyPrevTracks")->isEnabled());
    lock->click();
    EXPECT_EQ(hidden(), locked);
    // The simple player hides the fine controls and moves the transport to its places.
    auto* simplify = Find<QCheckBox>("CheckBoxSymplifyPlayer");
    EXPECT_EQ(Find("ButtonPause20")->geometry(), QRect(130, 70, 60, 68));
    for (const char* name : {"Editsec1", "SpeedButton1", "GroupBox2", "EditMixingTime"})
        EXPECT_TRUE(Find(name)->isHidden()) << name;
    EXPECT_FALSE(Find("TrackBarVolume0")->isHidden());
    simplify->click();
    EXPECT_EQ(Find("ButtonEpomeno11")->geometry(), QRect(10, 86, 50, 46));
    EXPECT_FALSE(Find("Editsec1")->isHidden());
    simplify->click();
    EXPECT_EQ(Find("BitBtnPlay")->geometry(), QRect(70, 70, 60, 68));
    // A typed number that is no number falls back; the box keeps the text.
    ModalAnswer options("TFormOptions1", [&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Options");
        driver::Retype(dialog->findChild<QLineEdit*>("EditWaitSecBeg"), "abc");
        driver::ClickButton(dialog, "OK");
    });
    window->findChild<QAction*>("Options2")->trigger();
    EXPECT_TRUE(options.Answered());
    EXPECT_EQ(station.Engine().WaitSecInBeggining, 6);  // the engine's one default
    EXPECT_EQ(Find<QLineEdit>("EditWaitSecBeg")->text(), "abc");
}

// Monday 09:15 holds a, b, a (positions 1 to 3); the first tick shows that slot.
TEST_F(StudioWindowTest, SpotsTabShowsASlotMovesAndDeletesItsSpotsAndCopiesAnotherDay) {
    folder.WriteSpots(1, 1, 9, {a[0], a[1], a[0]});
    Start();
    auto* days = Find<QTabBar>("TabControlSpots");
    auto* quarters = Find<QTabBar>("TabSet1");
    auto* spots = Find<QListWidget>("ListBoxSpots2");
    const QString mondayFile = folder.SpotsPath() + "1-1";
    EXPECT_EQ(days->currentIndex(), 1);
    EXPECT_EQ(spots->count(), 3);  // the coming quarter from the start
    Choose(Find<QComboBox>("ComboBoxHourSpots1"), "09");
    EXPECT_EQ(quarters->tabText(0) + quarters->tabText(3), "09:0009:45");
    QTest::mouseClick(quarters, Qt::LeftButton, {}, quarters->tabRect(1).center());
    EXPECT_EQ(Items(spots), QStringList({"a - Track 1.mp3", "a - Track 2.mp3", "a - Track 1.mp3"}));
    driver::ClickRow(spots, 0);
    Find<QPushButton>("BitBtnSpotDown1")->click();
    EXPECT_EQ(spots->currentRow(), 1);
    QTest::keyClick(spots, Qt::Key_Delete);
    EXPECT_EQ(Items(spots), QStringList({"a - Track 2.mp3", "a - Track 1.mp3"}));
    EXPECT_EQ(text_file::ReadLines(mondayFile).value.mid(90, 3),
              QStringList({a[1], a[0], "###NULL###"}));
    // Locked, the key deletes nothing and says why.
    RunVerb(station, *FindOperatorVerb("lock-programs"), "on");
    ModalAnswer refusal("ErrorMessage", [](QWidget* box) { driver::ClickButton(box, "OK"); });
    driver::ClickRow(spots, 0);
    QTest::keyClick(spots, Qt::Key_Delete);
    EXPECT_TRUE(refusal.Answered());
    EXPECT_EQ(spots->count(), 2);
    RunVerb(station, *FindOperatorVerb("lock-programs"), "off");
    // Tuesday takes Monday's spots through the week chooser.
    QTest::mouseClick(days, Qt::LeftButton, {}, days->tabRect(2).center());
    EXPECT_EQ(spots->count(), 0);
    ModalAnswer week("TFormWeek1", [](QWidget* dialog) {
        driver::ClickRow(dialog->findChild<QListWidget*>("ListBoxWeek1"), 1);
        driver::ClickButton(dialog, "OK");
    });
    Find<QPushButton>("BitBtnIdioMeSpots1")->click();
    EXPECT_TRUE(week.Answered());
    EXPECT_EQ(Items(spots), QStringList({"a - Track 2.mp3", "a - Track 1.mp3"}));
    EXPECT_EQ(text_file::ReadLines(folder.SpotsPath() + "2-1").value,
              text_file::ReadLines(mondayFile).value);
}

TEST_F(StudioWindowTest, NextSpotsAreSkippedByUncheckingAndWarnInManualModeUntilAccepted) {
    folder.WriteSpots(1, 1, 9, {a[0], a[1], a[0]});
    Start();
    RunUntilFirstTrack();
    auto* next = Find<QListWidget>("ListBoxSpotsNow1");
    EXPECT_EQ(Items(next), QStringList({"a - Track 1.mp3", "a - Track 2.mp3", "a - Track 1.mp3"}));
    EXPECT_EQ(Items(Find<QListWidget>("ListBoxSpots2")), Items(next));  // the editor follows
    driver::ClickRow(next, 1);
    QTest::keyClick(next, Qt::Key_Space);
    EXPECT_FALSE(station.NextSpots().NextSpotChecked(1));
    EXPECT_EQ(next->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(station.NextSpots().CheckedSpotCount(), 2);
    // In manual mode the warning blinks over the list from 09:14:01.
    Find<QPushButton>("SpeedButtonManual1")->click();
    QWidget* warning = Find("PanelManualSpotsWarning");
    EXPECT_TRUE(warning->isHidden());
    Advance((8 * 60 + 55) * 1000);  // 09:14:01
    ASSERT_FALSE(warning->isHidden());
    EXPECT_EQ(Text("LabelSpotsWarningSec1"), "59 Sec");
    QSet<QRgb> colours;
    for (int tick = 0; tick < 2; ++tick) {
        colours.insert(warning->palette().color(QPalette::Window).rgb());
        Advance(400);
    }
    EXPECT_EQ(colours, QSet<QRgb>({QColor(Qt::red).rgb(),
                                   QApplication::palette().color(QPalette::Button).rgb()}));
    Find<QPushButton>("ButtonPlayNoramllySpots")->click();
    EXPECT_TRUE(station.Spots().SpotsAccepted);
    EXPECT_TRUE(warning->isHidden());
}

TEST_F(StudioWindowTest, StatisticsListTheTimesOfASpotOrItsTimetable) {
    folder.WriteSpots(1, 1, 9, {a[0], a[1], a[0]});
    Start();
    RunUntilFirstTrack();
    struct Shown {
        QString title, total, monday0, monday1, monday2, hour, cell;
    } shown;
    auto read = [&shown](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Statistics");
        auto* grid = dialog->findChild<QTableWidget*>("StringGridStats");
        auto cell = [grid](int row, int column) {
            const QTableWidgetItem* item = grid->item(row - 1, column - 1);
            return item ? item->text() : QString();
        };
        EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "ΔΕΥ");
        shown = {dialog->findChild<QLabel*>("LabelStats")->text(),
                 dialog->findChild<QLabel*>("LabelNumberOfStats")->text(),
                 cell(1, 2),
                 cell(2, 2),
                 cell(3, 2),
                 grid->verticalHeaderItem(36)->text(),
                 cell(38, 2)};
        driver::ClickButton(dialog, "Close");
    };
    {
        ModalAnswer stats("TFormForStats", read);
        driver::DoubleClickRow(Find<QListWidget>("ListBoxSpotsNow1"), 0);
        EXPECT_TRUE(stats.Answered());
    }
    EXPECT_EQ(shown.title + "|" + shown.total, "a - Track 1.mp3|2");
    EXPECT_EQ(QStringList({shown.monday0, shown.monday1, shown.monday2}),
              QStringList({"09:15 [ 1]", "09:15 [ 3]", ""}));
    // Nothing chosen in the Spots tab: nothing to show.
    auto* showProgram = window->findChild<QAction*>("ShowProgram1");
    {
        ModalAnswer none("TFormForStats", read);
        showProgram->trigger();
        EXPECT_FALSE(none.Answered());
    }
    driver::ClickRow(Find<QListWidget>("ListBoxSpots2"), 2);
    ModalAnswer timetable("TFormForStats", read);
    showProgram->trigger();
    EXPECT_TRUE(timetable.Answered());
    EXPECT_EQ(shown.total + "|" + shown.hour + "|" + shown.cell, "-|09|09:15 [ 3]");
    EXPECT_EQ(shown.monday0, "");
}

// "Clear Unused Spots" reports a spot whose file is gone and "Delete" removes it; the shown
// slot follows, so the next edit there cannot bring the spot back. With nothing dead the
// report is empty and offers no "Delete".
TEST_F(StudioWindowTest, ClearUnusedSpotsDeletesADeadSpotAndTheShownSlotFollows) {
    const QString gone = folder.MusicPath() + "gone.mp3";
    folder.WriteSpots(1, 1, 9, {a[0], gone, a[1]});
    Start();
    Choose(Find<QComboBox>("ComboBoxHourSpots1"), "09");
    auto* quarters = Find<QTabBar>("TabSet1");
    QTest::mouseClick(quarters, Qt::LeftButton, {}, quarters->tabRect(1).center());
    const struct {
        const char* menuItem;
        QString report;
    } runs[] = {{"DeleteUnusedSpots", "1-1\t" + gone}, {"DeleteUnusedEntries1", ""}};
    for (const auto& run : runs) {
        QString reported;
        bool offersDelete = false;
        ModalAnswer dialog("TFormClearEntries1", [&](QWidget* shown) {
            reported = shown->findChild<QTextEdit*>("ListBoxClearEntries1")->toPlainText();
            offersDelete = shown->findChild<QAction*>("Delete1")->isVisible();
            shown->findChild<QAction*>(offersDelete ? "Delete1" : "Exit1")->trigger();
        });
        Find<QAction>(run.menuItem)->trigger();
        ASSERT_TRUE(dialog.Answered()) << run.menuItem;
        EXPECT_EQ(reported, run.report);
        EXPECT_EQ(offersDelete, !run.report.isEmpty());
    }
    auto* spots = Find<QListWidget>("ListBoxSpots2");
    EXPECT_EQ(Items(spots), QStringList({"a - Track 1.mp3", "a - Track 2.mp3"}));
    driver::ClickRow(spots, 1);
    QTest::keyClick(spots, Qt::Key_Delete);
    EXPECT_EQ(text_file::ReadLines(folder.SpotsPath() + "1-1").value.mid(90, 2),
              QStringList({a[0], "###NULL###"}));
}

TEST_F(StudioWindowTest, TheLibrarySearchFeedsTheEditedListAndTheMarkedSlot) {
    Start();
    auto* pages = Find<QTabWidget>("PageControl1");
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "Lists Alphabetic");
    pages->setCurrentIndex(2);
    auto* search = Find<QComboBox>("EditSearch1");
    search->setEditText("trac");  // four characters: "a - Track n.mp3" and "b - Track n.mp3"
    auto* results = Find<QListView>("ListBoxListAll1");
    ASSERT_TRUE(QTest::qWaitFor([results] { return results->model()->rowCount() == 9; }, 10'000));
    EXPECT_EQ(Text("LabelTracksInSearch"), "9");
    // Rows chosen with the mouse, Ctrl and Ctrl+Shift reach the core, each click naming
    // its row's list; then the add button with the Lists tab shown.
    const auto click = [&](int row, Qt::KeyboardModifiers keys) {
        const QRect rect = results->visualRect(results->model()->index(row, 0));
        QTest::mouseClick(results->viewport(), Qt::LeftButton, keys, rect.center());
    };
    click(0, Qt::NoModifier);
    click(6, Qt::ControlModifier);
    click(8, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(LibraryStateOf(station).View(LibraryPage::Search).selected, QList<int>({0, 6, 7, 8}));
    EXPECT_EQ(Text("LabelListThatContains"), "b");
    click(7, Qt::ControlModifier);
    Find<QTabWidget>("PageControlCalSpotsLists")->setCurrentIndex(2);
    Find<QPushButton>("ButtonAddToProgr")->click();
    EXPECT_EQ(Items(Find<QListWidget>("ListBoxTitles1")),
              QStringList({"a - Track 1.mp3", "b - Track 1.mp3", "b - Track 3.mp3"}));
    // The list's "Show Path" shows the chosen entry's path; "Rename" of a result renames it.
    QString shownPath;
    ModalAnswer path("TFormShowPath", [&](QWidget* box) {
        shownPath = box->findChild<QLineEdit*>("EditShowPath")->text();
        static_cast<QDialog*>(box)->accept();
    });
    Find<QListWidget>("ListBoxTitles1")->setCurrentRow(1);
    Find<QAction>("ShowPath6")->trigger();
    EXPECT_EQ(shownPath, folder.MusicPath() + "b - Track 1.mp3");
    ModalAnswer rename("InputBoxRename", [](QWidget* box) {
        box->findChild<QLineEdit*>()->setText("a - First.mp3");
        static_cast<QDialog*>(box)->accept();
    });
    results->setCurrentIndex(results->model()->index(0, 0));
    Find<QAction>("RenameFromSearch")->trigger();
    EXPECT_EQ(Items(Find<QListWidget>("ListBoxTitles1"))[0], "a - First.mp3");
    // The current result goes into the queue at the marked slot, then down one place.
    results->setCurrentIndex(results->model()->index(8, 0));
    ASSERT_TRUE(RunVerb(station, *FindOperatorVerb("mark-next"), "2").ok());
    Find<QPushButton>("SpeedButton8")->click();
    EXPECT_TRUE(station.Engine().Queue().At(1).startsWith(folder.MusicPath() + "b - Track 3.mp3^"));
    Find<QPushButton>("ButtonDownPlay1")->click();
    EXPECT_TRUE(station.Engine().Queue().At(2).startsWith(folder.MusicPath() + "b - Track 3.mp3^"));
    EXPECT_EQ(station.Engine().Queue().MarkedSlot(), 3);
}

// Measures every file as 20 dB too quiet once the test lets it.
struct GatedAnalyzer : SoundAnalyzer {
    ReadResult<SoundAnalysis> Analyze(const QString&,
                                      const std::atomic<bool>* stop) const override {
        while (held && !*stop) QThread::msleep(5);
        return {{}, {-36, -21, 0.25, 59.5, 60, true}};
    }
    std::atomic<bool> held{true};
};

TEST_F(StudioWindowTest, TheAnalysisCountsInTheMenuBarAndARowsTooltipTellsItsLoudness) {
    GatedAnalyzer analyzer;
    AnalysisMap store;
    station.AnalyseInBackground(analyzer, store, 1);
    Start();
    RunUntilFirstTrack();
    auto* label = Find<QLabel>("LabelAnalysis");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window->RefreshView();
            return label->isVisible();
        },
        5000));
    EXPECT_TRUE(label->text().startsWith("Analysing 0 of ")) << label->text().toStdString();
    analyzer.held = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window->RefreshView();
            return !label->isVisible();
        },
        10000));
    Advance(5'000);  // then the lists are walked: all ten tracks
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window->RefreshView();
            return station.AnalysisProgress().done == 10 && !label->isVisible();
        },
        10000));

    // The pointer rests on a list's entry, then on a library row.
    const auto tipOf = [&](QAbstractItemView* view, int row) {
        QToolTip::hideText();
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QHelpEvent rest(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &rest);
        if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000)) return std::string();
        return QToolTip::text().toStdString();
    };
    const std::string quiet =
        "-36.0 LUFS, true peak -21.0 dBTP; sound from 0.25 s to 59.50 s of 60.00 s; "
        "played at +20.0 dB";
    OpenList(0);
    EXPECT_EQ(tipOf(Find<QListWidget>("ListBoxTitles1"), 2), quiet);
    auto* files = Find<QListView>("ListBoxFileProgr1");
    ASSERT_TRUE(RunVerb(station, *FindOperatorVerb("library-list"), "2").ok());  // "b"
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window->RefreshView();
            return files->model()->rowCount() == 3;
        },
        5000));
    EXPECT_EQ(tipOf(files, 1), quiet);
}

TEST_F(StudioWindowTest, AChosenFolderShowsAllItsFilesSelectedAndTheMenusAddThemAndThePlayedTrack) {
    Start();
    RunUntilFirstTrack();
    Find<QTabWidget>("PageControl1")->setCurrentIndex(0);
    ASSERT_TRUE(RunVerb(station, *FindOperatorVerb("library-folder"), folder.MusicPath()).ok());
    auto* files = Find<QListView>("FileListBox1");
    EXPECT_TRUE(QTest::qWaitFor(
        [files] { return files->selectionModel()->selectedRows().size() == 10; }, 10'000));
    EXPECT_EQ(Text("LabelTracksInDir"), "10");
    // "add to Program" takes every file shown; "AddToProgram" of the played list its row.
    Find<QAction>("addFromDirToProgram")->trigger();
    EXPECT_EQ(Find<QLabel>("LabelTotalTracks1")->text(), "10");
    auto* played = Find<QListWidget>("ListBoxPrevPlayed1");
    ASSERT_EQ(played->count(), 1);
    played->setCurrentRow(0);
    Find<QAction>("AddToProgram4")->trigger();
    const QStringList titles = Items(Find<QListWidget>("ListBoxTitles1"));
    ASSERT_EQ(titles.size(), 11);
    EXPECT_EQ(titles.mid(0, 10).count(played->item(0)->text()), 1);
    EXPECT_EQ(titles.last(), played->item(0)->text()) << "the played track is added even twice";
    // "Insert To Playlist" of the Lists tab: the entry with no list chosen is the path alone.
    auto* editor = Find<QListWidget>("ListBoxTitles1");
    editor->setCurrentRow(0);
    ASSERT_TRUE(RunVerb(station, *FindOperatorVerb("mark-next"), "1").ok());
    Find<QAction>("AddFirstToPlaylist3")->trigger();
    EXPECT_EQ(station.Engine().Queue().At(0), folder.MusicPath() + titles[0]);
    // "Add all sub-folders" adds their files once a worker has read them.
    ASSERT_TRUE(QDir(folder.MusicPath()).mkpath("more"));
    QFile added(folder.MusicPath() + "more/z - New.mp3");
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    Find<QPushButton>("BitBtnAddFromDirAllToProg")->click();
    EXPECT_TRUE(
        QTest::qWaitFor([editor] { return Items(editor).endsWith("z - New.mp3"); }, 10'000));
}

// The operator's close asks while a deck plays, and "No" keeps the station on the air; the
// station's own close (a signal) takes the question away.
TEST_F(StudioWindowTest, TheOperatorsCloseAsksWhileADeckPlaysAndASignalClosesAtOnce) {
    Start();
    RunUntilFirstTrack();
    for (const QString answer : {"No", "signal"}) {
        QApplication::setActiveWindow(window.get());  // back from the question
        ModalAnswer question("MessageStopStation", [this, answer](QWidget* box) {
            answer == "No" ? driver::ClickButton(box, answer) : window->CloseWithoutAsking();
        });
        QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
        EXPECT_TRUE(question.Answered());
        EXPECT_EQ(window->isVisible(), answer == "No");
    }
}

// The studio's own size fits a 1366×768 screen (less a task bar and a title bar) and is no
// wider than 1280; a smaller screen scrolls the window rather than cutting it off.
TEST_F(StudioWindowTest, TheWindowFitsTheSmallScreensItIsLaidOutFor) {
    Start();
    const QSize needed =
        Find("PanelCentre")->minimumSizeHint() + QSize(0, window->menuBar()->height());
    EXPECT_LE(needed.width(), 1280);
    EXPECT_LE(needed.height(), 700);
    window->resize(1024, 600);
    EXPECT_EQ(window->size(), QSize(1024, 600));
    ModalAnswer none("MessageStopStation", [](QWidget* box) { box->close(); });
    window->close();  // nothing plays: nobody is asked
    EXPECT_FALSE(none.Answered() || window->isVisible());
}

}  // namespace
