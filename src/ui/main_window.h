#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

class AboutBox;
class AppearanceView;
class QKeyEvent;
class QMessageBox;
class CalendarPage;
class WeekCheckDialog;
class ChooserDialog;
class ClearEntriesDialog;
class JinglesPage;
class LibraryPages;
class ListsPage;
class MovingLabelPanel;
class AirMeters;
class StreamsPanel;
class NextSpotsPanel;
class OptionsDialog;
class PlayedPage;
class PlayerPanel;
class ProgramPanel;
class ShutdownPanel;
class SpotsPage;
class StatsWindow;
class QHBoxLayout;
class QTabWidget;
class QTimer;
class QVBoxLayout;
class StationClient;
class TimePanel;
class VideoPanel;

/// The program's name and version, for the caption, the advert and the about box.
struct ProgramName {
    QString title;
    QString version;
};

/// The studio window `TForm1`: a view of the station's core. It redraws from the core's
/// state a few times a second and after every operator action; every control's
/// objectName is its component name. The first showing (after the station's start-up)
/// copies the settings into the options dialog, which applies the lock, simple player
/// and message layouts, and paints the stored colours. Closing it runs the station's
/// close sequence through onClose, once. The operator's close (the window's button,
/// File→Exit) asks first while a deck plays, and "No" keeps the station on the air.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(StationClient& client, const ProgramName& program, std::function<void()> onClose,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Copies the core's state into every widget.
    void RefreshView();
    /// The settings are in the core: options, layouts and colours follow them. Runs once,
    /// at the first showing; later calls do nothing.
    void StationStarted();
    /// The station's own close (a termination signal, the automatic shutdown): nobody is
    /// asked, and a question already open goes.
    void CloseWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    /// "songs" or "spots".
    void ClearDeadEntries(const QString& kind);
    void CheckWeek();
    QWidget* BuildCentre();
    QVBoxLayout* BuildLeftColumn(QWidget* centre);
    QVBoxLayout* BuildRightColumn(QWidget* centre);
    void BuildTitlePanel(QWidget* centre);
    QHBoxLayout* BuildClockRow(QWidget* centre);
    QWidget* BuildLibraryArea(QWidget* centre);
    void AddFromLibrary();
    void BuildVideoPanel(QWidget* centre);
    void BuildMessagePanel(QWidget* centre);
    QTabWidget* BuildProgramPages(QWidget* centre);
    void ShowOptions();
    /// The dead-air alarm in the meters' panel and the window's title.
    void ShowAirAlarm();
    void ApplyLayouts();
    void ApplyStoredColours();
    void LoadLanguage();
    /// The player, the next tracks, the clock, the moving texts and the shutdown panel, from
    /// the latest state.
    void DrawPlayerSide();
    bool WindowKey(QObject* watched, const QKeyEvent& key);
    void ShowAskedPage();
    bool OperatorStopsStation();

    StationClient& m_client;
    std::function<void()> m_onClose;
    bool m_started = false;
    int m_pageAskedSerial = 0;  // the last "show-page" brought up
    bool m_optionsLoaded = false;
    int m_shownLayouts = -1;  // the lock, simple player and avi layouts last applied
    bool m_askBeforeClose = true;
    QMessageBox* m_closeQuestion = nullptr;  // while it is open
    QTimer* m_redraw = nullptr;
    ChooserDialog* m_listChooser = nullptr;
    ChooserDialog* m_weekChooser = nullptr;
    OptionsDialog* m_optionsDialog = nullptr;
    AboutBox* m_about = nullptr;
    StatsWindow* m_stats = nullptr;
    ClearEntriesDialog* m_clearEntries = nullptr;
    WeekCheckDialog* m_weekCheck = nullptr;
    PlayerPanel* m_player = nullptr;
    ShutdownPanel* m_shutdown = nullptr;
    ProgramPanel* m_program = nullptr;
    TimePanel* m_time = nullptr;
    MovingLabelPanel* m_title = nullptr;
    MovingLabelPanel* m_advert = nullptr;
    MovingLabelPanel* m_messages = nullptr;
    VideoPanel* m_video = nullptr;
    AppearanceView* m_appearance = nullptr;
    CalendarPage* m_calendar = nullptr;
    SpotsPage* m_spots = nullptr;
    NextSpotsPanel* m_nextSpots = nullptr;
    AirMeters* m_airMeters = nullptr;
    StreamsPanel* m_streams = nullptr;
    QString m_caption;  // the window's own title, which the dead-air alarm stands before
    ListsPage* m_lists = nullptr;
    QTabWidget* m_programPages = nullptr;
    LibraryPages* m_library = nullptr;
    PlayedPage* m_played = nullptr;
    JinglesPage* m_jingles = nullptr;
};
