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

#include "app/station_client.h"
#include "app/station_state.h"
#include "ui/chooser_dialog.h"
#include "ui/operator_messages.h"
#include "ui/stats_window.h"

SpotsPage::SpotsPage(StationClient& client, ChooserDialog& week, StatsWindow& stats,
                     QWidget* parent)
    : QWidget(parent),
      m_client(client),
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
    for (const QString& day : CalendarDayTabs()) m_days->addTab(day);
    m_days->setExpanding(true);
    connect(m_days, &QTabBar::currentChanged, this, [this](int weekday) {
        if (m_drawing) return;
        Send(QStringLiteral("spots-day"), QString::number(weekday + 1));
    });

    m_hours->setObjectName(QStringLiteral("ComboBoxHourSpots1"));
    for (int h = 0; h < 24; ++h) m_hours->addItem(QStringLiteral("%1").arg(h, 2, 10, QChar('0')));
    m_hours->setMaxVisibleItems(24);
    m_hours->setToolTip(QStringLiteral("Hour of the spots shown"));
    connect(m_hours, &QComboBox::activated, this,
            [this](int hour) { Send(QStringLiteral("spots-hour"), QString::number(hour)); });

    m_quarters->setObjectName(QStringLiteral("TabSet1"));
    // Four quarters of hour 00 until the core's captions are drawn.
    for (int q = 0; q < 4; ++q)
        m_quarters->addTab(QStringLiteral("00:%1").arg(q * 15, 2, 10, QChar('0')));
    m_quarters->setExpanding(false);
    connect(m_quarters, &QTabBar::currentChanged, this, [this](int quarter) {
        if (m_drawing) return;
        Send(QStringLiteral("spots-quarter"), QString::number(quarter + 1));
    });
}

void SpotsPage::SetUpSpots() {
    m_spots->setObjectName(QStringLiteral("ListBoxSpots2"));
    m_spots->installEventFilter(this);
    connect(m_spots, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_drawing) return;
        const QList<QListWidgetItem*> rows = m_spots->selectedItems();
        m_selected = rows.isEmpty() ? -1 : m_spots->row(rows.first());
        Send(QStringLiteral("spots-select"), QString::number(m_selected + 1));
    });
    // The spot heard at once: the music stops and the queue goes on in its order.
    connect(m_spots, &QListWidget::itemDoubleClicked, this,
            [this] { Send(QStringLiteral("spots-play-in-order")); });

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

void SpotsPage::Send(const QString& verb, const QString& argument) {
    m_client.Send(verb, argument, [this](const Result& done) { ShowError(this, done.message()); });
}

QPushButton* SpotsPage::SpotButton(const QString& name, const QIcon& icon, const QString& hint,
                                   const QString& verb) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, verb] { Send(verb); });
    return button;
}

QVBoxLayout* SpotsPage::BuildCommands() {
    auto* sameAs = new QPushButton(QStringLiteral("Same as..."), this);
    sameAs->setObjectName(QStringLiteral("BitBtnIdioMeSpots1"));
    sameAs->setToolTip(QStringLiteral("Set the spots of this day same as an other day"));
    connect(sameAs, &QPushButton::clicked, this, [this] { SameAs(); });

    auto* commands = new QVBoxLayout;
    commands->addWidget(SpotButton(QStringLiteral("BitBtnSpotUp1"),
                                   style()->standardIcon(QStyle::SP_ArrowUp),
                                   QStringLiteral("Move the spot up"), QStringLiteral("spots-up")));
    commands->addWidget(
        SpotButton(QStringLiteral("BitBtnSpotDown1"), style()->standardIcon(QStyle::SP_ArrowDown),
                   QStringLiteral("Move the spot down"), QStringLiteral("spots-down")));
    commands->addWidget(
        SpotButton(QStringLiteral("BitBtnDelSpot1"), style()->standardIcon(QStyle::SP_TrashIcon),
                   QStringLiteral("Delete the spot"), QStringLiteral("spots-delete")));
    commands->addSpacing(8);
    commands->addWidget(sameAs);
    commands->addStretch();
    return commands;
}

void SpotsPage::SameAs() {
    // Locked, the command says why before the week is asked for, so the operator does not
    // choose in vain.
    if (m_client.State().spots.locked) {
        Send(QStringLiteral("spots-same-as"), QStringLiteral("1"));
        return;
    }
    const std::optional<QList<int>> rows = m_weekChooser.Ask(m_client.State().calendar.weekChooser);
    if (!rows || rows->isEmpty()) return;
    Send(QStringLiteral("spots-same-as"), QString::number(rows->first() + 1));
}

void SpotsPage::ShowStatistics(bool timetable) {
    if (m_selected < 0) return;
    m_client.Send(timetable ? QStringLiteral("spots-timetable") : QStringLiteral("spots-stats"),
                  QString::number(m_selected + 1), [this](const Result& done) {
                      if (!done.ok()) return;
                      const SpotStatsState& stats = m_client.State().spots.stats;
                      // A damaged spot file counts as empty; the operator learns which one.
                      ShowError(this, stats.problem);
                      m_stats.Show(stats);
                  });
}

bool SpotsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_spots && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        Send(QStringLiteral("spots-delete"));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SpotsPage::Redraw(const SpotsState& spots) {
    m_drawing = true;
    m_days->setCurrentIndex(spots.dayTab);
    m_hours->setCurrentIndex(spots.hour);
    for (int q = 0; q < spots.quarterCaptions.size(); ++q)
        m_quarters->setTabText(q, spots.quarterCaptions[q]);
    m_quarters->setCurrentIndex(spots.quarterTab);
    if (spots.titles != m_shownTitles) {
        m_spots->clear();
        m_spots->addItems(spots.titles);
        m_shownTitles = spots.titles;
    }
    m_selected = spots.selected;
    const QList<QListWidgetItem*> rows = m_spots->selectedItems();
    const int shown = rows.isEmpty() ? -1 : m_spots->row(rows.first());
    if (shown != spots.selected) {
        m_spots->clearSelection();
        if (spots.selected >= 0) m_spots->setCurrentRow(spots.selected);
    }
    m_drawing = false;
}
