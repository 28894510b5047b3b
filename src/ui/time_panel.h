#pragma once

#include <QFrame>

class QLabel;
class Station;

/// The time panel `PanelTime`: the clock `LabelTime1` as the main loop last wrote it,
/// today's weekday name `LabelHmera1` and date `LabelMera1` as the scheduler wrote them.
class TimePanel final : public QFrame {
    Q_OBJECT
public:
    TimePanel(const Station& station, QWidget* parent);
    void Redraw();

private:
    const Station& m_station;
    QLabel* m_time;
    QLabel* m_day;
    QLabel* m_date;
};
