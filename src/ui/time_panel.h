#pragma once

#include <QFrame>

class QLabel;
struct WindowState;

/// The time panel `PanelTime`: the clock `LabelTime1` as the main loop last wrote it,
/// today's weekday name `LabelHmera1` and date `LabelMera1` as the scheduler wrote them.
class TimePanel final : public QFrame {
    Q_OBJECT
public:
    explicit TimePanel(QWidget* parent);
    void Redraw(const WindowState& state);

private:
    QLabel* m_time;
    QLabel* m_day;
    QLabel* m_date;
};
