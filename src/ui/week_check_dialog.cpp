#include "ui/week_check_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>
#include <QVBoxLayout>

WeekCheckDialog::WeekCheckDialog(StationClient& client, QWidget* parent)
    : QDialog(parent), m_client(client) {
    setObjectName(QStringLiteral("TFormWeekCheck"));
    setWindowTitle(QStringLiteral("Check the week"));
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("TableWeekCheck"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("Kind"), QStringLiteral("Detail")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (row >= 0 && row < m_days.size()) Q_EMIT DayChosen(m_days.at(row));
    });
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("LabelWeekCheckCount"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_count);
    layout->addWidget(buttons);
    resize(900, 420);
    connect(&m_client, &StationClient::StateChanged, this, [this] {
        const CalendarState& state = m_client.State().calendar;
        if (!m_waiting || state.weekChecking) return;
        m_waiting = false;
        ShowWarnings(state.weekWarnings);
    });
}

void WeekCheckDialog::Open() {
    m_table->setRowCount(0);
    m_days.clear();
    m_count->setText(QStringLiteral("Checking..."));
    m_waiting = false;
    show();
    raise();
    // Every state after the answer is the check's: it runs until this check's warnings are in.
    QPointer<WeekCheckDialog> dialog(this);
    m_client.Send(QStringLiteral("check-week"), {}, [dialog](const Result& started) {
        if (!dialog) return;
        if (!started.ok()) {
            dialog->m_count->setText(started.message());
            return;
        }
        dialog->m_waiting = true;
    });
}

void WeekCheckDialog::ShowWarnings(const QList<WeekWarning>& warnings) {
    m_table->setRowCount(int(warnings.size()));
    for (int row = 0; row < warnings.size(); ++row) {
        const WeekWarning& w = warnings.at(row);
        m_days << w.when.date();
        m_table->setItem(row, 0,
                         new QTableWidgetItem(w.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        m_table->setItem(row, 1, new QTableWidgetItem(w.kind));
        m_table->setItem(row, 2, new QTableWidgetItem(w.detail));
    }
    m_table->resizeColumnsToContents();
    m_count->setText(warnings.size() == 1 ? QStringLiteral("1 warning")
                                          : QStringLiteral("%1 warnings").arg(warnings.size()));
}
