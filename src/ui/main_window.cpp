#include "ui/main_window.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "app/station_client.h"
#include "ui/about_box.h"
#include "ui/air_meters.h"
#include "ui/analysis_progress.h"
#include "ui/appearance_view.h"
#include "ui/calendar_page.h"
#include "ui/captions.h"
#include "ui/chooser_dialog.h"
#include "ui/clear_entries_dialog.h"
#include "ui/colours.h"
#include "ui/jingles_page.h"
#include "ui/library_pages.h"
#include "ui/lists_page.h"
#include "ui/lock_layout.h"
#include "ui/moving_label_panel.h"
#include "ui/next_spots_panel.h"
#include "ui/not_yet_built.h"
#include "ui/operator_messages.h"
#include "ui/options_dialog.h"
#include "ui/played_page.h"
#include "ui/player_panel.h"
#include "ui/program_panel.h"
#include "ui/shutdown_panel.h"
#include "ui/spots_page.h"
#include "ui/stats_window.h"
#include "ui/streams_panel.h"
#include "ui/time_panel.h"
#include "ui/video_panel.h"
#include "ui/week_check_dialog.h"

namespace {

// Often enough for the knob, the clock and the swinging title to move smoothly; the
// core's timers do the work, this only copies their results.
constexpr int kRedrawMs = 150;

QString AdvertText(const ProgramName& program) {
    return program.title + QStringLiteral(" ") + program.version +
           QStringLiteral(
               " · two decks with crossfades · a weekly calendar of lists · spots on "
               "the quarter hours · jingles · a music library");
}

// The window keys, by the key codes the station uses for them. The keys are the ones at
// those places on the keyboard, whatever its layout: a Greek layout turns the apostrophe
// key into a dead accent.
int WindowKeyCode(const QKeyEvent& key) {
    // The four keys' codes on a PC keyboard: Windows scan codes, or X11 and Wayland key
    // codes (evdev + 8).
#ifdef Q_OS_WIN
    constexpr std::array<quint32, 4> kPlaces{0x1A, 0x2B, 0x1B, 0x28};
#else
    constexpr std::array<quint32, 4> kPlaces{34, 51, 35, 48};
#endif
    for (std::size_t i = 0; i < kPlaces.size(); ++i)
        if (key.nativeScanCode() == kPlaces[i]) return 219 + int(i);
    switch (key.key()) {
        case Qt::Key_BracketLeft:
            return 219;
        case Qt::Key_Backslash:
            return 220;
        case Qt::Key_BracketRight:
            return 221;
        case Qt::Key_Apostrophe:
            return 222;
        default:
            return 0;
    }
}

// The control behind each window key: a key whose control is not built yet does nothing.
QString WindowKeyControl(int code) {
    switch (code) {
        case 219:
            return QStringLiteral("BitBtnFadeOut0");
        case 220:
            return QStringLiteral("ButtonOpenLineIn1");
        case 221:
            return QStringLiteral("BitBtnFadeIn0");
        default:
            return QStringLiteral("ButtonPause20");
    }
}

// A box where the operator types text (a list name, a search text) takes the window keys
// as characters: a name may well hold an apostrophe. An editable drop-down list holds the
// focus itself, not its edit box. The player panel's number boxes, where the operator's
// hand is on the transport, and read-only boxes, such as the calendar's hour choices,
// leave them to the window.
bool TakesText(const QWidget* focus) {
    for (const QWidget* w = focus; w; w = w->parentWidget())
        if (w->objectName() == QLatin1String("PanelPlayControls")) return false;
    if (const auto* combo = qobject_cast<const QComboBox*>(focus))
        return combo->lineEdit() && !combo->lineEdit()->isReadOnly();
    if (const auto* edit = qobject_cast<const QLineEdit*>(focus)) return !edit->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(focus)) return !spin->isReadOnly();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(focus)) return !text->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(focus)) return !text->isReadOnly();
    return false;
}

}  // namespace

MainWindow::MainWindow(StationClient& client, const ProgramName& program,
                       std::function<void()> onClose, QWidget* parent)
    : QMainWindow(parent), m_client(client), m_onClose(std::move(onClose)) {
    setObjectName(QStringLiteral("TForm1"));
    m_caption = program.title + u' ' + program.version;
    setWindowTitle(m_caption);

    m_listChooser =
        new ChooserDialog(QStringLiteral("TFormPrograms"), QStringLiteral("ListBox2"), this);
    m_weekChooser =
        new ChooserDialog(QStringLiteral("TFormWeek1"), QStringLiteral("ListBoxWeek1"), this);
    m_optionsDialog = new OptionsDialog(m_client, this);
    m_stats = new StatsWindow(this);
    m_about = new AboutBox(program.title, program.version, this);
    connect(&m_client, &StationClient::StateChanged, this, &MainWindow::ShowOptions);
    connect(&m_client, &StationClient::StateChanged, this, &MainWindow::ShowAirAlarm);
    connect(&m_client, &StationClient::StateChanged, this, &MainWindow::ShowAskedPage);

    BuildMenu();
    // On a screen smaller than the studio's smallest layout the window still fits the
    // screen, and scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollCentre"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(BuildCentre());
    setCentralWidget(scroll);
    // The whole of its screen, whether a window manager maximises it or not.
    resize(screen()->availableSize());
    m_appearance = new AppearanceView(m_client, *this, *m_messages);
    m_appearance->AddMenuItems(*menuBar()->findChild<QMenu*>(QStringLiteral("Options1")));
    m_appearance->WatchControls();
    connect(m_appearance, &AppearanceView::messageChanged, this, [this] {
        m_client.Send(QStringLiteral("message-label-width"),
                      QString::number(m_messages->Label()->width()));
    });

    // The core reckons the moving texts in the pixels the window reports.
    const auto sendWidth = [this](const char* verb) {
        return
            [this, verb](int width) { m_client.Send(QLatin1String(verb), QString::number(width)); };
    };
    connect(m_title, &MovingLabelPanel::WidthChanged, this, sendWidth("title-panel-width"));
    connect(m_advert, &MovingLabelPanel::WidthChanged, this, sendWidth("advert-panel-width"));
    connect(m_messages, &MovingLabelPanel::WidthChanged, this, sendWidth("message-panel-width"));
    m_advert->SetText(AdvertText(program));
    sendWidth("advert-label-width")(m_advert->Label()->width());
    connect(&m_client, &StationClient::StateChanged, this, &MainWindow::DrawPlayerSide);
    // Whatever the operator did, the whole window shows its outcome at once.
    connect(m_player, &PlayerPanel::changed, this, &MainWindow::RefreshView);
    connect(m_program, &ProgramPanel::changed, this, &MainWindow::RefreshView);
    connect(m_calendar, &CalendarPage::changed, this, &MainWindow::RefreshView);
    connect(m_lists, &ListsPage::changed, this, &MainWindow::RefreshView);
    connect(&m_client, &StationClient::StateChanged, this, [this] {
        m_spots->Redraw(m_client.State().spots);
        m_nextSpots->Redraw(m_client.State().spots);
    });
    connect(m_played, &PlayedPage::changed, this, &MainWindow::RefreshView);
    connect(m_jingles, &JinglesPage::changed, this, &MainWindow::RefreshView);
    connect(&m_client, &StationClient::StateChanged, this, [this] {
        const StationState& state = m_client.State();
        m_lists->Redraw(state.lists);
        m_played->Redraw(state.played);
        m_jingles->Redraw(state);
    });

    m_redraw = new QTimer(this);
    m_redraw->setInterval(kRedrawMs);
    connect(m_redraw, &QTimer::timeout, this, &MainWindow::RefreshView);
    // Key preview: the four window keys reach the window before the focused control.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildMenu() {
    auto add = [this](QMenu* menu, const QString& name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    connect(
        add(file, QStringLiteral("DeleteUnusedEntries1"), QStringLiteral("Clear &Unused Songs")),
        &QAction::triggered, this, [this] { ClearDeadEntries(QStringLiteral("songs")); });
    connect(add(file, QStringLiteral("DeleteUnusedSpots"), QStringLiteral("Clear Unused S&pots")),
            &QAction::triggered, this, [this] { ClearDeadEntries(QStringLiteral("spots")); });
    connect(add(file, QStringLiteral("CheckWeek1"), QStringLiteral("Check the &week...")),
            &QAction::triggered, this, &MainWindow::CheckWeek);
    QAction* exit = add(file, QStringLiteral("Exit1"), QStringLiteral("E&xit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    connect(add(options, QStringLiteral("Options2"), QStringLiteral("&Options...")),
            &QAction::triggered, this, [this] {
                m_optionsDialog->Redraw(m_client.State().options);
                m_optionsDialog->exec();
                RefreshView();
            });
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(add(help, QStringLiteral("About1"), QStringLiteral("&About")), &QAction::triggered,
            m_about, &QWidget::show);
    auto* analysis = new AnalysisProgress(menuBar());
    menuBar()->setCornerWidget(analysis);
    connect(&m_client, &StationClient::StateChanged, analysis,
            [this, analysis] { analysis->Redraw(m_client.State().analysis); });
}

// Made at the first use: its menu has an "Exit1" of its own beside the window's.
void MainWindow::ClearDeadEntries(const QString& kind) {
    if (!m_clearEntries) m_clearEntries = new ClearEntriesDialog(m_client, this);
    m_clearEntries->Open(kind);
    RefreshView();
}

// Made at the first use; a double-clicked warning opens its day in the Calendar tab.
void MainWindow::CheckWeek() {
    if (!m_weekCheck) {
        m_weekCheck = new WeekCheckDialog(m_client, this);
        connect(m_weekCheck, &WeekCheckDialog::DayChosen, this, [this](const QDate& day) {
            m_programPages->setCurrentWidget(m_calendar);
            m_calendar->ShowDay(day.dayOfWeek() % 7);  // the calendar counts from Sunday, 0
        });
    }
    m_weekCheck->Open();
}

QWidget* MainWindow::BuildCentre() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("PanelCentre"));
    // The window starts with the focus here, not in the first edit box; a click on the
    // bare window brings it back.
    centre->setFocusPolicy(Qt::ClickFocus);
    QVBoxLayout* left = BuildLeftColumn(centre);
    QVBoxLayout* right = BuildRightColumn(centre);
    m_advert = new MovingLabelPanel(QStringLiteral("PanelAdv1"),
                                    QStringLiteral("LabelBottomAdvert1"), centre);
    m_advert->setFixedHeight(22);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    layout->addLayout(columns, 1);
    layout->addWidget(m_advert);
    return centre;
}

// The player, what comes next, what has been played.
QVBoxLayout* MainWindow::BuildLeftColumn(QWidget* centre) {
    m_player = new PlayerPanel(m_client, centre);
    m_program = new ProgramPanel(m_client, centre);
    auto* playedTabs = new QTabWidget(centre);
    playedTabs->setObjectName(QStringLiteral("PageControl2"));
    m_played = new PlayedPage(m_client, playedTabs);
    playedTabs->addTab(m_played, QStringLiteral("Played"));
    m_jingles = new JinglesPage(m_client, *m_listChooser, playedTabs);
    playedTabs->addTab(m_jingles, QStringLiteral("Jingles"));
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(m_player);
    left->addWidget(m_program);
    left->addWidget(playedTabs, 1);
    return left;
}

// The running title, the clock and the program area.
QVBoxLayout* MainWindow::BuildRightColumn(QWidget* centre) {
    BuildTitlePanel(centre);
    QHBoxLayout* clockRow = BuildClockRow(centre);
    QTabWidget* pages = BuildProgramPages(centre);
    // The program pages above, the library below: the add button between them sends the
    // library's tracks up into the list or the spots being edited.
    auto* split = new QSplitter(Qt::Vertical, centre);
    split->setObjectName(QStringLiteral("SplitterProgramLibrary"));
    split->setChildrenCollapsible(false);
    split->addWidget(pages);
    split->addWidget(BuildLibraryArea(centre));
    split->setStretchFactor(0, 5);
    split->setStretchFactor(1, 4);
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    m_shutdown = new ShutdownPanel(m_client, centre);
    right->addWidget(m_shutdown);
    right->addWidget(m_title);
    right->addLayout(clockRow);
    right->addWidget(split, 1);
    return right;
}

QWidget* MainWindow::BuildLibraryArea(QWidget* centre) {
    auto* area = new QWidget(centre);
    m_library = new LibraryPages(m_client, area);
    connect(m_library, &LibraryPages::changed, this, &MainWindow::RefreshView);
    connect(m_library, &LibraryPages::addedToEditor, this, [this] { m_lists->ScrollToLast(); });
    auto* add = new QPushButton(QStringLiteral("▲ Add"), area);
    add->setObjectName(QStringLiteral("ButtonAddToProgr"));
    add->setToolTip(QStringLiteral(
        "Add the selected tracks from the bottom window to the top list or spots list"));
    connect(add, &QPushButton::clicked, this, &MainWindow::AddFromLibrary);
    auto* addRow = new QHBoxLayout;
    addRow->addStretch();
    addRow->addWidget(add);
    addRow->addStretch();
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(addRow);
    layout->addWidget(m_library, 1);
    return area;
}

void MainWindow::AddFromLibrary() {
    const int tab = m_programPages->currentIndex();
    m_client.Send(QStringLiteral("library-add"), QString::number(tab + 1),
                  [this, tab](const Result& done) {
                      ShowError(this, done.message());
                      RefreshView();
                      // On the Lists tab the list shows its end, where the tracks went.
                      if (tab == m_programPages->indexOf(m_lists)) m_lists->ScrollToLast();
                  });
}

void MainWindow::BuildTitlePanel(QWidget* centre) {
    m_title = new MovingLabelPanel(QStringLiteral("PanelTrackName1"),
                                   QStringLiteral("LabelTrackName1"), centre);
    m_title->setFixedHeight(48);
    m_title->setFrameShape(QFrame::Panel);
    m_title->setFrameShadow(QFrame::Sunken);
    QFont titleFont = m_title->Label()->font();
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    m_title->Label()->setFont(titleFont);
}

QHBoxLayout* MainWindow::BuildClockRow(QWidget* centre) {
    m_time = new TimePanel(centre);
    BuildVideoPanel(centre);
    BuildMessagePanel(centre);
    // Beside the clock, "Next Spots" is in sight whatever page is open.
    m_nextSpots = new NextSpotsPanel(m_client, *m_stats, centre);
    // Narrower on a small screen, down to what still shows a spot's title and the
    // warning's button.
    m_nextSpots->setMinimumWidth(180);
    m_nextSpots->setMaximumWidth(260);
    m_nextSpots->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    for (QWidget* w : {static_cast<QWidget*>(m_video), static_cast<QWidget*>(m_messages)}) {
        w->setMinimumWidth(120);
        w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    m_airMeters = new AirMeters(m_client, centre);
    m_airMeters->setMaximumWidth(72);
    m_streams = new StreamsPanel(centre);
    m_streams->setMinimumWidth(150);
    m_streams->setMaximumWidth(230);
    auto* clockRow = new QHBoxLayout;
    clockRow->addWidget(m_time);
    clockRow->addWidget(m_nextSpots);
    clockRow->addWidget(m_airMeters);
    clockRow->addWidget(m_streams, 1);
    clockRow->addWidget(m_video, 1);
    clockRow->addWidget(m_messages, 1);
    return clockRow;
}

void MainWindow::BuildVideoPanel(QWidget* centre) {
    m_video = new VideoPanel(centre);  // its file comes with the first state
    connect(m_video, &VideoPanel::Problem, this,
            [this](const QString& line) { m_client.Send(QStringLiteral("report-problem"), line); });
}

void MainWindow::BuildMessagePanel(QWidget* centre) {
    m_messages = new MovingLabelPanel(QStringLiteral("PanelMessages"),
                                      QStringLiteral("LabelMessages"), centre);
    m_messages->setFrameShape(QFrame::Panel);
    m_messages->setFrameShadow(QFrame::Sunken);
    QFont messageFont = m_messages->Label()->font();
    messageFont.setPixelSize(19);
    messageFont.setBold(true);
    m_messages->Label()->setFont(messageFont);
}

QTabWidget* MainWindow::BuildProgramPages(QWidget* centre) {
    auto* pages = new QTabWidget(centre);
    m_programPages = pages;
    pages->setObjectName(QStringLiteral("PageControlCalSpotsLists"));
    m_calendar = new CalendarPage(m_client, *m_listChooser, *m_weekChooser, pages);
    m_spots = new SpotsPage(m_client, *m_weekChooser, *m_stats, pages);
    m_lists = new ListsPage(m_client, pages);
    pages->addTab(m_calendar, QStringLiteral("Calendar"));
    pages->addTab(m_spots, QStringLiteral("Spots"));
    pages->addTab(m_lists, QStringLiteral("Lists"));
    // The Lists tab may have changed the names the calendar's chooser offers, and back.
    connect(pages, &QTabWidget::currentChanged, this, &MainWindow::RefreshView);
    return pages;
}

void MainWindow::StationStarted() {
    if (m_started) return;
    m_started = true;
    m_client.Refresh();  // the options, layouts and colours follow with the state
    DisableNotYetBuilt(*this);
    findChild<QWidget*>(QStringLiteral("PanelCentre"))->setFocus();
    RefreshView();
    m_redraw->start();
}

// The first state after the start copies the settings into the options dialog, the
// captions, colours and message into the window; the layouts follow every state.
// The page a "show-page" command asked for, once: the program pages on the right, the
// played list's pages (Jingles) on the left, or the library's pages.
void MainWindow::ShowAirAlarm() {
    const AirState& air = m_client.State().air;
    if (m_airMeters) m_airMeters->Redraw(air);  // states come while the window is built
    if (m_streams) m_streams->Redraw(air.streams);
    const QString title =
        air.alarmed ? QStringLiteral("DEAD AIR since %1 - %2").arg(air.silentSince, m_caption)
                    : m_caption;
    if (windowTitle() != title) setWindowTitle(title);
}

void MainWindow::ShowAskedPage() {
    const WindowState& window = m_client.State().window;
    if (window.pageAskedSerial == m_pageAskedSerial) return;
    m_pageAskedSerial = window.pageAskedSerial;
    for (const char* name : {"PageControlCalSpotsLists", "PageControl2", "PageControl1"}) {
        auto* pages = findChild<QTabWidget*>(QLatin1String(name));
        for (int i = 0; pages && i < pages->count(); ++i)
            if (pages->tabText(i) == window.pageAsked) pages->setCurrentIndex(i);
    }
}

void MainWindow::ShowOptions() {
    const OptionsState& options = m_client.State().options;
    if (!m_started || options.values.isEmpty()) return;
    ApplyLayouts();
    if (m_optionsLoaded) {
        m_optionsDialog->Redraw(options);
        return;
    }
    m_optionsLoaded = true;
    m_video->SetFile(m_client.State().window.videoFile);
    m_optionsDialog->Load(options);
    LoadLanguage();
    ApplyStoredColours();
    m_messages->SetText(options.ownerMessage);
    m_client.Send(QStringLiteral("message-label-width"),
                  QString::number(m_messages->Label()->width()));
}

void MainWindow::ApplyLayouts() {
    const OptionsState& options = m_client.State().options;
    const int layouts = (options.lockPrograms ? 1 : 0) | (options.simplifyPlayer ? 2 : 0) |
                        (options.showAvi ? 4 : 0);
    if (layouts == m_shownLayouts) return;
    m_shownLayouts = layouts;
    ApplyLockLayout(*this, options.lockPrograms);
    m_player->ApplyLayout(options.simplifyPlayer);
    m_video->setVisible(options.showAvi);
    m_messages->setVisible(!options.showAvi);
    m_video->SetRunning(options.showAvi);
}

// The captions of language.ini; a file that cannot be read leaves the window's own.
void MainWindow::LoadLanguage() {
    const OptionsState& options = m_client.State().options;
    if (!options.captionProblem.isEmpty())
        m_client.Send(QStringLiteral("report-problem"), options.captionProblem);
    ApplyCaptions(*this, options.captions);
}

void MainWindow::ApplyStoredColours() {
    QMap<QString, ComponentColours> colours = m_client.State().options.colours;
    // One stored colour pair serves all five next-track labels; their backgrounds show
    // the marking and are drawn from the queue.
    const ComponentColours next = colours.value(QStringLiteral("LabelTrackPlay1"));
    for (int n = 1; n <= 5; ++n) {
        colours.insert(QStringLiteral("LabelTrackPlay%1").arg(n), {std::nullopt, next.font});
    }
    ApplyColours(this, colours);
}

void MainWindow::DrawPlayerSide() {
    const StationState& state = m_client.State();
    m_player->Redraw(state);
    m_program->Redraw(state.program);
    m_time->Redraw(state.window);
    m_shutdown->Redraw(state.window);
    m_advert->SetLabelLeft(state.window.advertLeft);
    m_messages->SetLabelLeft(state.window.messageLeft);
    m_title->SetLabelLeft(state.player.trackNameLeft);
    // A new title is measured here, in its label's font, and its width told to the core;
    // last, since the answer brings a newer state.
    const QString title = state.player.trackName;
    if (m_title->SetText(title)) {
        m_client.Send(QStringLiteral("title-width"),
                      QString::number(m_title->TextWidth(title)) + u' ' + title);
    }
}

void MainWindow::RefreshView() {
    // Every page draws when the state comes (at once while the core shares this thread).
    m_client.Refresh();
}

bool MainWindow::WindowKey(QObject* watched, const QKeyEvent& key) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    const int code = WindowKeyCode(key);
    if (code == 0) return false;
    if (TakesText(QApplication::focusWidget())) return false;
    if (!IsNotYetBuilt(WindowKeyControl(code)))
        m_client.Send(QStringLiteral("key"), QString::number(code));
    RefreshView();
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && WindowKey(watched, *static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    StationStarted();
}

void MainWindow::CloseWithoutAsking() {
    m_askBeforeClose = false;
    // The close that asked is still under way: it goes on once the question has gone.
    if (m_closeQuestion)
        m_closeQuestion->reject();
    else
        close();
}

bool MainWindow::OperatorStopsStation() {
    QMessageBox question(QMessageBox::Question, windowTitle(),
                         QStringLiteral("Stop the station? The music stops."),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("MessageStopStation"));
    question.setDefaultButton(QMessageBox::No);  // a stray Enter keeps the music on
    m_closeQuestion = &question;
    const bool stop = question.exec() == QMessageBox::Yes;
    m_closeQuestion = nullptr;
    return stop;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // "No" keeps the station on the air, unless the station's own close came meanwhile.
    if (m_onClose && m_askBeforeClose && m_client.State().player.deckPlays &&
        !OperatorStopsStation() && m_askBeforeClose) {
        event->ignore();
        return;
    }
    m_redraw->stop();
    if (m_onClose) m_onClose();
    m_onClose = nullptr;  // the close sequence runs once, however the window closes
    event->accept();
}
