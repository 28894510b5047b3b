#include "ui/spots_page.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/station.h"
#include "spots/spot_statistics.h"
#include "ui/chooser_dialog.h"
#include "ui/operator_messages.h"
#include "ui/stats_window.h"

SpotsPage::SpotsPage(Station& station, ChooserDialog& week, StatsWindow& stats, QWidget* parent)
    : QWidget(parent),
      m_station(station),
      m_weekChooser(week),
      m_stats(stats),
      m_days(new QTabBar(this)),
      m_hours(new QComboBox(this)),
      m_quarters(new QTabBar(this)),
      m_spots(new QListWidget(this)),
      m_menu(new QMenu(this)) {
    setObjectName(QStringLiteral("TabSheetSpots"));
    SetUpSlotChoice();
    SetUpSpots();
    QVBoxLayout* commands = BuildCommands();

    auto* slotRow = new QHBoxLayout;
    slotRow->addWidget(m_hours);
    slotRow->addWidget(m_quarters, 1);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_days, 0, 0, 1, 2);
    layout->addLayout(slotRow, 1, 0, 1, 2);
    layout->addWidget(m_spots, 2, 0);
    layout->addLayout(commands, 2, 1);
    layout->setColumnStretch(0, 1);
}

void SpotsPage::SetUpSlotChoice() {
    m_days->setObjectName(QStringLiteral("TabControlSpots"));
    for (const QString& day : DayTabNames()) m_days->addTab(day);
    m_days->setExpanding(true);
    connect(m_days, &QTabBar::currentChanged, this, [this](int weekday) {
        if (m_drawing) return;
        RunCommand(this, [&] { return m_station.SpotsTab().TabControlSpotsChange(weekday); });
        Q_EMIT changed();
    });

    m_hours->setObjectName(QStringLiteral("ComboBoxHourSpots1"));
    for (int h = 0; h < 24; ++h) m_hours->addItem(QStringLiteral("%1").arg(h, 2, 10, QChar('0')));
    m_hours->setMaxVisibleItems(24);
    m_hours->setToolTip(QStringLiteral("Hour of the spots shown"));
    connect(m_hours, &QComboBox::activated, this, [this](int hour) {
        RunCommand(this, [&] { return m_station.SpotsTab().ComboBoxHourSpots1Change(hour); });
        Q_EMIT changed();
    });

    m_quarters->setObjectName(QStringLiteral("TabSet1"));
    for (const QString& caption : m_station.SpotsTab().QuarterCaptions())
        m_quarters->addTab(caption);
    m_quarters->setExpanding(false);
    connect(m_quarters, &QTabBar::currentChanged, this, [this](int quarter) {
        if (m_drawing) return;
        RunCommand(this, [&] { return m_station.SpotsTab().TabSet1Change(quarter); });
        Q_EMIT changed();
    });
}

void SpotsPage::SetUpSpots() {
    m_spots->setObjectName(QStringLiteral("ListBoxSpots2"));
    m_spots->installEventFilter(this);
    connect(m_spots, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_drawing) return;
        const QList<QListWidgetItem*> rows = m_spots->selectedItems();
        m_station.SpotsTab().SelectSpot(rows.isEmpty() ? -1 : m_spots->row(rows.first()));
    });
    // The spot heard at once: the music stops and the queue goes on in its order.
    connect(m_spots, &QListWidget::itemDoubleClicked, this, [this] {
        m_station.Spots().ListBoxSpots2DblClick(m_station.Jingles().FadeJingles);
        Q_EMIT changed();
    });

    m_menu->setObjectName(QStringLiteral("PopupMenuSpots"));
    auto add = [this](const QString& name, const QString& caption) {
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    connect(add(QStringLiteral("ShowStats1"), QStringLiteral("Show Stats")), &QAction::triggered,
            this, [this] { ShowStatistics(false); });
    connect(add(QStringLiteral("ShowProgram1"), QStringLiteral("Show Program")),
            &QAction::triggered, this, [this] { ShowStatistics(true); });
    // Offered, and answers nothing.
    add(QStringLiteral("ShowProgram2"), QStringLiteral("Show Program 2"));
    m_spots->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_spots, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_spots->viewport()->mapToGlobal(at)); });
}

QPushButton* SpotsPage::SpotButton(const QString& name, const QIcon& icon, const QString& hint,
                                   Result (SpotSchedule::*command)()) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, command] {
        RunCommand(this, [&] { return (m_station.SpotsTab().*command)(); });
        Q_EMIT changed();
    });
    return button;
}

QVBoxLayout* SpotsPage::BuildCommands() {
    auto* sameAs = new QPushButton(QStringLiteral("Same as..."), this);
    sameAs->setObjectName(QStringLiteral("BitBtnIdioMeSpots1"));
    sameAs->setToolTip(QStringLiteral("Set the spots of this day same as an other day"));
    connect(sameAs, &QPushButton::clicked, this, [this] { SameAs(); });

    auto* commands = new QVBoxLayout;
    commands->addWidget(
        SpotButton(QStringLiteral("BitBtnSpotUp1"), style()->standardIcon(QStyle::SP_ArrowUp),
                   QStringLiteral("Move the spot up"), &SpotSchedule::BitBtnSpotUp1Click));
    commands->addWidget(
        SpotButton(QStringLiteral("BitBtnSpotDown1"), style()->standardIcon(QStyle::SP_ArrowDown),
                   QStringLiteral("Move the spot down"), &SpotSchedule::BitBtnSpotDown1Click));
    commands->addWidget(
        SpotButton(QStringLiteral("BitBtnDelSpot1"), style()->standardIcon(QStyle::SP_TrashIcon),
                   QStringLiteral("Delete the spot"), &SpotSchedule::BitBtnDelSpot1Click));
    commands->addSpacing(8);
    commands->addWidget(sameAs);
    commands->addStretch();
    return commands;
}

void SpotsPage::SameAs() {
    // Refused before the week is asked for, so the operator does not choose in vain.
    const Result refusal = m_station.Lock().Refusal();
    ShowError(this, refusal.message());
    if (!refusal.ok()) return;
    const std::optional<QList<int>> rows = m_weekChooser.Ask(WeekChooser());
    std::optional<int> weekday;
    if (rows) weekday = rows->isEmpty() ? -1 : rows->first();
    RunCommand(this, [&] { return m_station.SpotsTab().BitBtnIdioMeSpots1Click(weekday); });
    Q_EMIT changed();
}

void SpotsPage::ShowStatistics(bool timetable) {
    const SpotSchedule& spots = m_station.SpotsTab();
    const int row = spots.SelectedSpot();
    if (row < 0 || row >= spots.EditedSpotPaths().size()) return;
    const QString& folder = m_station.Folders().SpotsPath;
    const QString& line = spots.EditedSpotPaths().at(row);
    const spot_statistics::StatsView view = timetable ? spot_statistics::ShowProgram(folder, line)
                                                      : spot_statistics::ShowStats(folder, line);
    // A damaged spot file counts as empty; the operator learns which one it was.
    ShowError(this, view.Problem);
    m_stats.Show(view);
}

bool SpotsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_spots && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RunCommand(this, [this] { return m_station.SpotsTab().BitBtnDelSpot1Click(); });
        Q_EMIT changed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SpotsPage::Redraw() {
    m_drawing = true;
    const SpotSchedule& spots = m_station.SpotsTab();
    m_days->setCurrentIndex(spots.SpotDayTab());
    m_hours->setCurrentIndex(spots.SpotHour());
    const QStringList captions = spots.QuarterCaptions();
    for (int q = 0; q < captions.size(); ++q) m_quarters->setTabText(q, captions[q]);
    m_quarters->setCurrentIndex(spots.SpotQuarterTab());
    if (spots.EditedSpotTitles() != m_shownTitles) {
        m_spots->clear();
        m_spots->addItems(spots.EditedSpotTitles());
        m_shownTitles = spots.EditedSpotTitles();
    }
    const QList<QListWidgetItem*> rows = m_spots->selectedItems();
    const int shown = rows.isEmpty() ? -1 : m_spots->row(rows.first());
    if (shown != spots.SelectedSpot()) {
        m_spots->clearSelection();
        if (spots.SelectedSpot() >= 0) m_spots->setCurrentRow(spots.SelectedSpot());
    }
    m_drawing = false;
}
