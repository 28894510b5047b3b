#include "ui/next_spots_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/station_client.h"
#include "app/station_state.h"
#include "ui/colours.h"
#include "ui/operator_messages.h"
#include "ui/stats_window.h"

NextSpotsPanel::NextSpotsPanel(StationClient& client, StatsWindow& stats, QWidget* parent)
    : QFrame(parent), m_client(client), m_stats(stats), m_spots(new QListWidget(this)) {
    setObjectName(QStringLiteral("PanelNextSpots"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    auto* caption = new QLabel(QStringLiteral("Next Spots"), this);
    caption->setObjectName(QStringLiteral("LabelNextSpots"));
    caption->setAlignment(Qt::AlignCenter);

    m_spots->setObjectName(QStringLiteral("ListBoxSpotsNow1"));
    m_spots->setToolTip(QStringLiteral("Uncheck a spot to skip it"));
    connect(m_spots, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_drawing) return;
        const int row = m_spots->row(item);
        const bool checked = item->checkState() == Qt::Checked;
        if (row < m_shownChecks.size()) m_shownChecks[row] = checked;
        m_client.Send(checked ? QStringLiteral("check-spot") : QStringLiteral("uncheck-spot"),
                      QString::number(row + 1));
    });
    connect(m_spots, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ShowStatistics(m_spots->row(item)); });
    m_warning = BuildWarning();
    // The panel takes the height of the clock's row; the list scrolls, and the warning
    // showing up never makes the row taller.
    for (QWidget* w : {static_cast<QWidget*>(m_spots), static_cast<QWidget*>(m_warning)})
        w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);

    // The warning lies over the list, in the same cell.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(caption, 0, 0);
    layout->addWidget(m_spots, 1, 0);
    layout->addWidget(m_warning, 1, 0);
    layout->setRowStretch(1, 1);
}

QFrame* NextSpotsPanel::BuildWarning() {
    auto* warning = new QFrame(this);
    warning->setObjectName(QStringLiteral("PanelManualSpotsWarning"));
    warning->setFrameShape(QFrame::Panel);
    warning->setFrameShadow(QFrame::Raised);
    warning->setAutoFillBackground(true);
    warning->hide();
    auto* text = new QLabel(QStringLiteral("Spots have canceled"), warning);
    text->setObjectName(QStringLiteral("LabelSpotsCanceled"));
    QFont bold = text->font();
    bold.setBold(true);
    text->setFont(bold);
    text->setAlignment(Qt::AlignCenter);
    auto* play = new QPushButton(QStringLiteral("Play Spots Normally"), warning);
    play->setObjectName(QStringLiteral("ButtonPlayNoramllySpots"));
    // Shown in manual mode only, where the command is taken.
    connect(play, &QPushButton::clicked, this,
            [this] { m_client.Send(QStringLiteral("accept-spots")); });
    auto* layout = new QGridLayout(warning);
    layout->setContentsMargins(4, 4, 4, 4);
    for (int side = 0; side < 2; ++side) {
        m_secondsLeft[side] = new QLabel(QStringLiteral("Sec"), warning);
        m_secondsLeft[side]->setObjectName(QStringLiteral("LabelSpotsWarningSec%1").arg(side + 1));
        layout->addWidget(m_secondsLeft[side], 0, side * 2);
    }
    layout->addWidget(text, 0, 1);
    layout->addWidget(play, 1, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    return warning;
}

void NextSpotsPanel::ShowStatistics(int row) {
    m_client.Send(QStringLiteral("next-spot-stats"), QString::number(row + 1),
                  [this](const Result& done) {
                      if (!done.ok()) return;
                      const SpotStatsState& stats = m_client.State().spots.stats;
                      ShowError(this, stats.problem);
                      m_stats.Show(stats);
                  });
}

void NextSpotsPanel::Redraw(const SpotsState& spots) {
    m_drawing = true;
    if (spots.nextTitles != m_shownTitles) {
        m_spots->clear();
        for (const QString& title : spots.nextTitles) {
            auto* item = new QListWidgetItem(title, m_spots);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
        m_shownTitles = spots.nextTitles;
        m_shownChecks.clear();
    }
    if (spots.nextChecked != m_shownChecks) {
        for (int i = 0; i < m_spots->count(); ++i)
            m_spots->item(i)->setCheckState(spots.nextChecked.value(i) ? Qt::Checked
                                                                       : Qt::Unchecked);
        m_shownChecks = spots.nextChecked;
    }

    m_warning->setVisible(spots.warningVisible);
    if (spots.warningVisible) {
        QPalette blink = m_warning->palette();
        blink.setColor(QPalette::Window, QtColour(spots.warningColour));
        m_warning->setPalette(blink);
        const QString left = QStringLiteral("%1 Sec").arg(spots.warningSecondsLeft);
        for (QLabel* label : m_secondsLeft) label->setText(left);
    }
    m_drawing = false;
}
