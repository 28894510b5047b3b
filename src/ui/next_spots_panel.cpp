#include "ui/next_spots_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/station.h"
#include "spots/spot_statistics.h"
#include "ui/colours.h"
#include "ui/operator_messages.h"
#include "ui/stats_window.h"

NextSpotsPanel::NextSpotsPanel(Station& station, StatsWindow& stats, QWidget* parent)
    : QFrame(parent), m_station(station), m_stats(stats), m_spots(new QListWidget(this)) {
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
        m_station.SpotsTab().SetNextSpotChecked(m_spots->row(item),
                                                item->checkState() == Qt::Checked);
        Q_EMIT changed();
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
    connect(play, &QPushButton::clicked, this, [this] {
        m_station.Spots().PlaySpotsNormally();
        Q_EMIT changed();
    });
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
    const QStringList& paths = m_station.SpotsTab().NextSpotPaths();
    if (row < 0 || row >= paths.size()) return;
    const spot_statistics::StatsView view =
        spot_statistics::ShowStats(m_station.Folders().SpotsPath, paths.at(row));
    ShowError(this, view.Problem);
    m_stats.Show(view);
}

void NextSpotsPanel::Redraw() {
    m_drawing = true;
    const SpotSchedule& spots = m_station.SpotsTab();
    const QStringList titles = spots.NextSpotTitles();
    if (titles != m_shownTitles) {
        m_spots->clear();
        for (const QString& title : titles) {
            auto* item = new QListWidgetItem(title, m_spots);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
        m_shownTitles = titles;
    }
    for (int i = 0; i < m_spots->count(); ++i)
        m_spots->item(i)->setCheckState(spots.NextSpotChecked(i) ? Qt::Checked : Qt::Unchecked);

    const SpotRunner& runner = m_station.Spots();
    m_warning->setVisible(runner.PanelManualSpotsWarning());
    if (runner.PanelManualSpotsWarning()) {
        QPalette blink = m_warning->palette();
        blink.setColor(QPalette::Window, QtColour(runner.WarningColour()));
        m_warning->setPalette(blink);
        const QString left = QStringLiteral("%1 Sec").arg(runner.WarningSecondsLeft());
        for (QLabel* label : m_secondsLeft) label->setText(left);
    }
    m_drawing = false;
}
