#include "ui/time_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/window_state.h"

TimePanel::TimePanel(QWidget* parent)
    : QFrame(parent), m_time(new QLabel(this)), m_day(new QLabel(this)), m_date(new QLabel(this)) {
    setObjectName(QStringLiteral("PanelTime"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    m_time->setObjectName(QStringLiteral("LabelTime1"));
    m_day->setObjectName(QStringLiteral("LabelHmera1"));
    m_date->setObjectName(QStringLiteral("LabelMera1"));
    QFont clock = font();
    clock.setPointSize(30);
    clock.setBold(true);
    m_time->setFont(clock);
    m_time->setAlignment(Qt::AlignCenter);
    // Wide enough for "00:00:00" before the first tick writes it.
    m_time->setMinimumWidth(QFontMetrics(clock).horizontalAdvance(QStringLiteral("00:00:00")) + 8);
    QFont day = font();
    day.setPointSize(11);
    day.setBold(true);
    m_day->setFont(day);
    m_date->setFont(day);
    // The panel is dark by default; its labels bring their own light colours.
    auto paint = [](QLabel* label, Qt::GlobalColor colour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
    };
    paint(m_time, Qt::green);
    paint(m_day, Qt::yellow);
    paint(m_date, Qt::yellow);

    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(m_day);
    dayRow->addStretch();
    dayRow->addWidget(m_date);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(0);
    layout->addWidget(m_time);
    layout->addLayout(dayRow);
}

void TimePanel::Redraw(const WindowState& state) {
    m_time->setText(state.time);
    m_day->setText(state.weekday);
    m_date->setText(state.date);
}
