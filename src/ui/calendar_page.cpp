#include "ui/calendar_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/station.h"
#include "ui/chooser_dialog.h"
#include "ui/operator_messages.h"

namespace {

void FillHours(QComboBox* combo, const std::vector<Calendar::HourChoice>& hours, int chosen,
               bool enabled) {
    QStringList texts;
    for (const Calendar::HourChoice& h : hours) texts.append(h.text);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown.append(combo->itemText(i));
    if (shown != texts) {
        combo->clear();
        combo->addItems(texts);
    }
    combo->setCurrentIndex(chosen);
    // An empty combo shows the first hour of the day, as the window always did.
    if (chosen < 0) combo->setEditText(QStringLiteral("00:00"));
    combo->setEnabled(enabled);
}

}  // namespace

CalendarPage::CalendarPage(Station& station, ChooserDialog& lists, ChooserDialog& week,
                           QWidget* parent)
    : QWidget(parent),
      m_station(station),
      m_listChooser(lists),
      m_weekChooser(week),
      m_days(new QTabBar(this)),
      m_programs(new QListWidget(this)),
      m_startHours(new QComboBox(this)),
      m_endHours(new QComboBox(this)) {
    setObjectName(QStringLiteral("TabSheetCalendar"));
    SetUpDayTabs();
    m_programs->setObjectName(QStringLiteral("ListBoxProgram1"));
    // The row chosen is the core's; a redraw of the day clears it there and here.
    connect(m_programs, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_drawing) m_station.CalendarTab().SelectRow(SelectedRow());
    });
    connect(m_programs, &QListWidget::itemDoubleClicked, this, [this] { SetProgram(); });
    QVBoxLayout* commands = BuildCommands();

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_days, 0, 0, 1, 2);
    layout->addWidget(m_programs, 1, 0);
    layout->addLayout(commands, 1, 1);
    layout->setColumnStretch(0, 1);
}

void CalendarPage::SetUpDayTabs() {
    m_days->setObjectName(QStringLiteral("TabControl1"));
    for (const QString& day : DayTabNames()) m_days->addTab(day);
    m_days->setExpanding(true);
    connect(m_days, &QTabBar::currentChanged, this, [this](int weekday) {
        if (m_drawing) return;
        RunCommand(this, [&] { return m_station.CalendarTab().TabControl1Change(weekday); });
        Q_EMIT changed();
    });
}

void CalendarPage::ShowDay(int weekday) { m_days->setCurrentIndex(weekday); }

QVBoxLayout* CalendarPage::BuildCommands() {
    QPushButton* newProgram = BuildNewProgramButton();
    SetUpHourBoxes();
    QPushButton* setProgram = BuildSetProgramButton();
    QPushButton* remove = BuildDeleteButton();
    QPushButton* sameAs = BuildSameAsButton();

    auto* commands = new QVBoxLayout;
    commands->addWidget(newProgram);
    commands->addWidget(m_startHours);
    commands->addWidget(m_endHours);
    commands->addSpacing(8);
    commands->addWidget(setProgram);
    commands->addWidget(remove);
    commands->addSpacing(8);
    commands->addWidget(sameAs);
    commands->addStretch();
    return commands;
}

QPushButton* CalendarPage::BuildNewProgramButton() {
    auto* newProgram = new QPushButton(QStringLiteral("NEW"), this);
    newProgram->setObjectName(QStringLiteral("BitBtnNewHourProg1"));
    newProgram->setToolTip(QStringLiteral("New program for hour...."));
    connect(newProgram, &QPushButton::clicked, this, [this] {
        RunCommand(this, [this] { return m_station.CalendarTab().BitBtnNewHourProg1Click(); });
        Q_EMIT changed();
    });
    return newProgram;
}

void CalendarPage::SetUpHourBoxes() {
    m_startHours->setObjectName(QStringLiteral("ComboBoxStartHour1"));
    m_endHours->setObjectName(QStringLiteral("ComboBoxEndHour1"));
    for (QComboBox* combo : {m_startHours, m_endHours}) {
        // Hours are chosen, not typed: the commands expect one of the offered entries. The
        // box is editable only so that it can show "00:00" while it offers nothing.
        combo->setEditable(true);
        combo->lineEdit()->setReadOnly(true);
        combo->setEnabled(false);
        combo->setMinimumContentsLength(5);
    }
    m_startHours->setToolTip(QStringLiteral("Start of the new program"));
    m_endHours->setToolTip(QStringLiteral("End of the new program"));
    connect(m_startHours, &QComboBox::activated, this, [this](int index) {
        m_station.CalendarTab().ComboBoxStartHour1Change(index);
        Q_EMIT changed();
    });
    connect(m_endHours, &QComboBox::activated, this, [this](int index) {
        // While locked no lists are asked for; the command refuses and closes the choice.
        QStringList chosen;
        if (!m_station.Lock().LockPrograms)
            chosen = m_listChooser.AskNames(ListChooser(m_station.Lists().ListNames()));
        RunCommand(this,
                   [&] { return m_station.CalendarTab().ComboBoxEndHour1Change(index, chosen); });
        Q_EMIT changed();
    });
}

QPushButton* CalendarPage::BuildSetProgramButton() {
    auto* setProgram = new QPushButton(QStringLiteral("Set Program..."), this);
    setProgram->setObjectName(QStringLiteral("ButtonSetProgr1"));
    setProgram->setToolTip(QStringLiteral("Choose the lists of the selected program"));
    connect(setProgram, &QPushButton::clicked, this, [this] { SetProgram(); });
    return setProgram;
}

QPushButton* CalendarPage::BuildDeleteButton() {
    auto* remove = new QPushButton(this);
    remove->setObjectName(QStringLiteral("BitBtnDelHourProg1"));
    remove->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    remove->setToolTip(QStringLiteral("Delete the selected program"));
    connect(remove, &QPushButton::clicked, this, [this] {
        RunCommand(this, [this] { return m_station.CalendarTab().BitBtnDelHourProg1Click(); });
        Q_EMIT changed();
    });
    return remove;
}

QPushButton* CalendarPage::BuildSameAsButton() {
    auto* sameAs = new QPushButton(QStringLiteral("Same as..."), this);
    sameAs->setObjectName(QStringLiteral("BitBtnIdioProMe1"));
    sameAs->setToolTip(QStringLiteral("Set this day program same as an other day"));
    connect(sameAs, &QPushButton::clicked, this, [this] {
        if (RefusedWhileLocked()) return;
        const std::optional<QList<int>> rows = m_weekChooser.Ask(WeekChooser());
        std::optional<int> weekday;
        if (rows) weekday = rows->isEmpty() ? -1 : rows->first();
        RunCommand(this, [&] { return m_station.CalendarTab().BitBtnIdioProMe1Click(weekday); });
        Q_EMIT changed();
    });
    return sameAs;
}

int CalendarPage::SelectedRow() const {
    const QList<QListWidgetItem*> items = m_programs->selectedItems();
    return items.isEmpty() ? -1 : m_programs->row(items.first());
}

bool CalendarPage::RefusedWhileLocked() {
    const Result refusal = m_station.Lock().Refusal();
    ShowError(this, refusal.message());
    return !refusal.ok();
}

void CalendarPage::SetProgram() {
    if (m_station.CalendarTab().SelectedRow() < 0 || RefusedWhileLocked()) return;
    const QStringList chosen = m_listChooser.AskNames(ListChooser(m_station.Lists().ListNames()));
    RunCommand(this, [&] { return m_station.CalendarTab().ButtonSetProgr1Click(chosen); });
    Q_EMIT changed();
}

void CalendarPage::Redraw() {
    m_drawing = true;
    const Calendar& calendar = m_station.CalendarTab();
    m_days->setCurrentIndex(calendar.TabIndex());
    QStringList rows;
    for (const day_program::ProgramRow& row : calendar.Rows()) rows.append(row.text);
    if (rows != m_shownRows) {
        m_programs->clear();
        m_programs->addItems(rows);
        m_shownRows = rows;
    }
    if (SelectedRow() != calendar.SelectedRow()) {
        m_programs->clearSelection();
        if (calendar.SelectedRow() >= 0) m_programs->setCurrentRow(calendar.SelectedRow());
    }
    FillHours(m_startHours, calendar.StartHours(), calendar.StartHourIndex(),
              calendar.StartHoursEnabled());
    FillHours(m_endHours, calendar.EndHours(), calendar.EndHourIndex(), calendar.EndHoursEnabled());
    m_drawing = false;
}
