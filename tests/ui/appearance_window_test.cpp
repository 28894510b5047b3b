#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QTabWidget>
#include <memory>

#include "app/station.h"
#include "base/virtual_timer_host.h"
#include "player/simulated_player_link.h"
#include "support/files.h"
#include "support/station_folder.h"
#include "ui/main_window.h"
#include "ui/video_panel.h"
#include "widget_driver.h"

namespace {

using driver::ModalAnswer;

// A station with its window, started on Monday 7 December 2026 at 09:05.
struct Studio {
    explicit Studio(const QMap<QString, QByteArray>& files = {}) {
        for (auto it = files.begin(); it != files.end(); ++it)
            WriteBytes(folder.StartFolder() + "/" + it.key(), it.value());
        window = driver::OpenStudio(station);
    }
    template <class T = QWidget>
    T* Find(const QString& name) {
        return driver::Find<T>(*window, name);
    }
    // A press (or release) on a control; a list takes it on its viewport.
    void Mouse(const QString& name, QEvent::Type type, Qt::MouseButton button, int globalX = 0) {
        QWidget* w = Find(name);
        if (auto* view = qobject_cast<QAbstractItemView*>(w)) w = view->viewport();
        QMouseEvent event(type, QPointF(2, 2), QPointF(globalX, 2), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
    QColor Background(const QString& name) {
        QWidget* w = Find(name);
        return w->palette().color(qobject_cast<QAbstractItemView*>(w) ? QPalette::Base
                                                                      : QPalette::Window);
    }
    void PickColour(const QColor& colour, const QString& menuItem = "Color1") {
        ModalAnswer dialog("ColorDialog1", [colour](QWidget* d) {
            static_cast<QColorDialog*>(d)->setCurrentColor(colour);
            static_cast<QDialog*>(d)->accept();
        });
        Find<QAction>(menuItem)->trigger();
        EXPECT_TRUE(dialog.Answered());
    }
    StationFolder folder;
    VirtualTimerHost host{QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
    SimulatedPlayerLink link{host, host};
    Station station{folder.StartFolder(), host, host, link};
    std::unique_ptr<MainWindow> window;
};

TEST(AppearanceWindowTest, TheLanguageFileSetsCaptionsAsPlainText) {
    Studio studio({{"language.ini",
                    QStringLiteral("[MainMenu]\r\ntracks=τραγούδια\r\nHELP=A&B\r\nSearch=<b>F</b>")
                        .toUtf8()}});
    for (const char* label :
         {"Label20", "Label6", "Label8", "Label14", "Label16", "Label18", "Label17"}) {
        EXPECT_EQ(studio.Find<QLabel>(label)->text(), "τραγούδια") << label;
    }
    EXPECT_EQ(studio.Find<QMenu>("Help1")->title(), "A&&B");  // shown as "A&B"
    EXPECT_EQ(studio.Find<QMenu>("Options1")->title(), "&Options");
    auto* search = studio.Find("TabSheetSearch");
    for (QWidget* w = search->parentWidget(); w; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            EXPECT_EQ(tabs->tabText(tabs->indexOf(search)), "<b>F</b>");
            break;
        }
    }
}

TEST(AppearanceWindowTest, ColourModePaintsUntilNormalFunctionAndARightClickPaintsTheMessage) {
    Studio studio;
    const QColor red(255, 0, 0);
    const QStringList lists = {"ListBoxTitles1", "ListBoxArtist", "ListBoxPrevPlayed1"};
    studio.PickColour(red);
    for (const QString& list : lists) {
        studio.Mouse(list, QEvent::MouseButtonPress, Qt::LeftButton);
        EXPECT_EQ(studio.Background(list), red) << list.toStdString();
    }
    ModalAnswer input("InputBoxMessage", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    studio.Mouse("PanelMessages", QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(studio.Background("PanelMessages"), red);
    EXPECT_FALSE(input.Answered());
    EXPECT_EQ(OptionsStateOf(studio.station).colours.value("ListBoxArtist").background,
              ColourFromRgb(255, 0, 0));
    studio.Find<QAction>("NormalFunction1")->trigger();
    studio.Mouse("ListBoxSpots2", QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_NE(studio.Background("ListBoxSpots2"), red);
    // "Text Color..." paints the text where the font would go, and keeps it for the next start.
    studio.PickColour(red, "TextColor1");
    studio.Mouse("ListBoxSpots2", QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(studio.Find("ListBoxSpots2")->palette().color(QPalette::Text), red);
    EXPECT_EQ(OptionsStateOf(studio.station).colours.value("ListBoxSpots2").font,
              ColourFromRgb(255, 0, 0));
}

TEST(AppearanceWindowTest, TheMessageIsTypedAsPlainTextAndHeldWhileDragged) {
    Studio studio;
    const QString typed = QStringLiteral("<i>Καλημέρα</i> & more");
    ModalAnswer input("InputBoxMessage", [typed](QWidget* d) {
        static_cast<QInputDialog*>(d)->setTextValue(typed);
        static_cast<QDialog*>(d)->accept();
    });
    studio.Mouse("LabelMessages", QEvent::MouseButtonPress, Qt::RightButton);
    auto* label = studio.Find<QLabel>("LabelMessages");
    EXPECT_EQ(label->text(), typed);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(OptionsStateOf(studio.station).ownerMessage, typed);

    studio.host.Advance(6'400);  // the main loop runs, and with it the ticker
    studio.window->RefreshView();
    const int left = label->x();
    studio.Mouse("LabelMessages", QEvent::MouseButtonPress, Qt::LeftButton, 500);
    studio.Mouse("LabelMessages", QEvent::MouseMove, Qt::LeftButton, 540);
    studio.host.Advance(1'200);
    studio.window->RefreshView();
    EXPECT_EQ(label->x(), left + 40);
    studio.Mouse("LabelMessages", QEvent::MouseButtonRelease, Qt::LeftButton, 540);
    studio.host.Advance(400);
    studio.window->RefreshView();
    EXPECT_EQ(label->x(), left + 30);
}

QByteArray MadeByFfmpeg() {
    QTemporaryDir dir;
    const QString path = dir.filePath("fm.avi");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                            "testsrc=size=160x120:rate=10", "-t", "2", "-c:v", "mpeg4", path});
    EXPECT_TRUE(ffmpeg.waitForFinished(30'000) && ffmpeg.exitCode() == 0);
    return ReadBytes(path);
}

TEST(AppearanceWindowTest, TheVideoPanelShowsFmAviAndStaysEmptyForJunk) {
    const struct {
        const char* name;
        QByteArray fmAvi;
        bool shown;
    } cases[] = {
        {"made by ffmpeg", MadeByFfmpeg(), true},
        {"junk", QByteArray("RIFF junk, no video here"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Studio studio({{"fm.avi", c.fmAvi}});
        auto* video = studio.Find<VideoPanel>("PanelVideo");
        EXPECT_TRUE(video->isVisible());
        EXPECT_EQ(QTest::qWaitFor([video] { return !video->Frame().isNull(); }, 3'000), c.shown);
    }
}

}  // namespace
