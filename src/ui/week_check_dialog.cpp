#include "ui/week_check_dialog.h"

#include <QDialogButtonBox>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "app/station.h"
#include "base/clock.h"
#include "tools/week_check.h"

namespace {
constexpr std::int64_t kWeekMs = 7 * 86'400'000LL;
}

WeekCheckDialog::WeekCheckDialog(Station& station, QWidget* parent)
    : QDialog(parent),
      m_station(station),
      m_check(new QFutureWatcher<QList<week_check::Warning>>(this)) {
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
    connect(m_check, &QFutureWatcherBase::finished, this,
            [this] { ShowWarnings(m_check->result()); });
}

void WeekCheckDialog::Open() {
    m_table->setRowCount(0);
    m_days.clear();
    m_count->setText(QStringLiteral("Checking..."));
    // The worker gets its own copy of the setup; it reads files and nothing of the station.
    // Watching a new check drops the result of one still running.
    m_check->setFuture(QtConcurrent::run(&week_check::CheckWeek, week_check::SetupOf(m_station),
                                         m_station.StationClock().Now(), kWeekMs));
    show();
    raise();
}

void WeekCheckDialog::ShowWarnings(const QList<week_check::Warning>& warnings) {
    m_table->setRowCount(int(warnings.size()));
    for (int row = 0; row < warnings.size(); ++row) {
        const week_check::Warning& w = warnings.at(row);
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
