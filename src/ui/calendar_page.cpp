#include "ui/calendar_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "ui/chooser_dialog.h"
#include "ui/operator_messages.h"

namespace {

void FillHours(QComboBox* combo, const QStringList& texts, int chosen, bool enabled) {
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

CalendarPage::CalendarPage(StationClient& client, ChooserDialog& lists, ChooserDialog& week,
                           QWidget* parent)
    : QWidget(parent),
      m_client(client),
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
        if (m_drawing) return;
        const int row = SelectedRow();
        Send(QStringLiteral("calendar-select-row"), row < 0 ? QString() : QString::number(row + 1),
             false);
    });
    connect(m_programs, &QListWidget::itemDoubleClicked, this, [this] { SetProgram(); });
    QVBoxLayout* commands = BuildCommands();

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_days, 0, 0, 1, 2);
    layout->addWidget(m_programs, 1, 0);
    layout->addLayout(commands, 1, 1);
    layout->setColumnStretch(0, 1);
    connect(&m_client, &StationClient::StateChanged, this, [this] { Redraw(Shown()); });
}

void CalendarPage::SetUpDayTabs() {
    m_days->setObjectName(QStringLiteral("TabControl1"));
    for (const QString& day : CalendarDayTabs()) m_days->addTab(day);
    m_days->setExpanding(true);
    connect(m_days, &QTabBar::currentChanged, this, [this](int weekday) {
        if (!m_drawing) Send(QStringLiteral("calendar-day"), QString::number(weekday + 1));
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
    connect(newProgram, &QPushButton::clicked, this,
            [this] { Send(QStringLiteral("calendar-new-program"), {}); });
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
        Send(QStringLiteral("calendar-start-hour"), QString::number(index + 1));
    });
    connect(m_endHours, &QComboBox::activated, this, &CalendarPage::EndHourChosen);
}

void CalendarPage::EndHourChosen(int index) {
    const QString end = QString::number(index + 1);
    QPointer<CalendarPage> page(this);
    m_client.Send(QStringLiteral("calendar-may-edit"), {}, [page, end](const Result& editable) {
        if (!page) return;
        // While locked no lists are asked for; the command refuses and closes the choice.
        QStringList chosen;
        if (editable.ok()) chosen = page->m_listChooser.AskNames(page->Shown().listChooser);
        page->Send(QStringLiteral("calendar-end-hour"), end + u' ' + chosen.join(u'|'));
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
    connect(remove, &QPushButton::clicked, this,
            [this] { Send(QStringLiteral("calendar-delete-program"), {}); });
    return remove;
}

QPushButton* CalendarPage::BuildSameAsButton() {
    auto* sameAs = new QPushButton(QStringLiteral("Same as..."), this);
    sameAs->setObjectName(QStringLiteral("BitBtnIdioProMe1"));
    sameAs->setToolTip(QStringLiteral("Set this day program same as an other day"));
    connect(sameAs, &QPushButton::clicked, this, [this] {
        WhenEditable([this] {
            const std::optional<QList<int>> rows = m_weekChooser.Ask(Shown().weekChooser);
            if (!rows) return;  // "Ακυρο"
            Send(QStringLiteral("calendar-same-as"),
                 rows->isEmpty() ? QStringLiteral("0") : QString::number(rows->first() + 1));
        });
    });
    return sameAs;
}

int CalendarPage::SelectedRow() const {
    const QList<QListWidgetItem*> items = m_programs->selectedItems();
    return items.isEmpty() ? -1 : m_programs->row(items.first());
}

void CalendarPage::Send(const QString& verb, const QString& argument, bool windowRedraws) {
    // The answer may come after the page is gone.
    QPointer<CalendarPage> page(this);
    m_client.Send(verb, argument, [page, windowRedraws](const Result& done) {
        if (!page) return;
        ShowError(page, done.message());
        if (windowRedraws) Q_EMIT page->changed();
    });
}

void CalendarPage::WhenEditable(std::function<void()> ask) {
    QPointer<CalendarPage> page(this);
    m_client.Send(QStringLiteral("calendar-may-edit"), {},
                  [page, ask = std::move(ask)](const Result& editable) {
                      if (!page) return;
                      ShowError(page, editable.message());
                      if (editable.ok()) ask();
                  });
}

void CalendarPage::SetProgram() {
    if (Shown().selectedRow < 0) return;
    WhenEditable([this] {
        const QStringList chosen = m_listChooser.AskNames(Shown().listChooser);
        Send(QStringLiteral("calendar-set-program"), chosen.join(u'|'));
    });
}

void CalendarPage::Redraw(const CalendarState& state) {
    m_drawing = true;
    m_days->setCurrentIndex(state.tabIndex);
    if (state.rows != m_shownRows) {
        m_programs->clear();
        m_programs->addItems(state.rows);
        m_shownRows = state.rows;
    }
    if (SelectedRow() != state.selectedRow) {
        m_programs->clearSelection();
        if (state.selectedRow >= 0) m_programs->setCurrentRow(state.selectedRow);
    }
    FillHours(m_startHours, state.startHours, state.startHourIndex, state.startHoursEnabled);
    FillHours(m_endHours, state.endHours, state.endHourIndex, state.endHoursEnabled);
    m_drawing = false;
}
