#include "ui/stats_window.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumnWidth = 64;
constexpr int kRowHeight = 16;

QLabel* BoldLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

StatsWindow::StatsWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool),
      m_title(BoldLabel(QStringLiteral("LabelStats"), this)),
      m_total(BoldLabel(QStringLiteral("LabelNumberOfStats"), this)),
      m_grid(new QTableWidget(SpotStatsState::kDataRows, 7, this)) {
    setObjectName(QStringLiteral("TFormForStats"));
    setWindowTitle(QStringLiteral("Statistics"));
    setModal(true);
    setSizeGripEnabled(true);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("SpeedButtonClose"));
    connect(close, &QPushButton::clicked, this, [this] { done(1); });
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Spot Statistics for :"), this), 0, 0);
    top->addWidget(m_title, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("Total number of spots in the week: "), this), 1, 0);
    top->addWidget(m_total, 1, 1);
    top->addWidget(close, 0, 2, 2, 1);
    top->setColumnStretch(1, 1);

    m_grid->setObjectName(QStringLiteral("StringGridStats"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->verticalHeader()->setFixedWidth(kColumnWidth);
    // A whole occurrence ("09:15 [ 3]") fits the narrow column.
    QFont small = m_grid->font();
    small.setPointSize(8);
    m_grid->setFont(small);
    m_grid->setTextElideMode(Qt::ElideNone);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    resize(549, 375);
}

void StatsWindow::Fill(const SpotStatsState& view) {
    m_title->setText(view.title);
    m_total->setText(view.total);
    // A week with more occurrences of a day than quarters has a longer grid.
    const int dataRows = int(view.grid.size()) - 1;
    m_grid->clearContents();
    m_grid->setRowCount(dataRows);
    QStringList days;
    for (int c = 1; c < 8; ++c) days << view.grid[0][c];
    m_grid->setHorizontalHeaderLabels(days);
    QStringList hours;
    for (int r = 1; r <= dataRows; ++r) {
        hours << view.grid[r][0];
        for (int c = 1; c < 8; ++c) {
            if (!view.grid[r][c].isEmpty())
                m_grid->setItem(r - 1, c - 1, new QTableWidgetItem(view.grid[r][c]));
        }
    }
    m_grid->setVerticalHeaderLabels(hours);
}

void StatsWindow::Show(const SpotStatsState& view) {
    Fill(view);
    m_grid->scrollToTop();
    // Centred on the screen, not on the window that asked.
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}
