#pragma once

#include <QWidget>

#include "app/air_state.h"

class QTimer;
class StationClient;

/// The air's level meters beside the clock (`PanelAirMeters`): RMS (bright) with the peak
/// above it (dark) of left and right and the held peak, redrawn 20 times a second from the meter;
/// red while the air is silent. During the dead-air alarm the panel is red and says since when, and
/// the window's title says so too.
class AirMeters final : public QWidget {
    Q_OBJECT
public:
    AirMeters(StationClient& client, QWidget* parent);
    /// The alarm, from the core's state.
    void Redraw(const AirState& state);
    QSize sizeHint() const override { return {64, 72}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintBar(QPainter& painter, const QRect& bar, float peakDb, float rmsDb, float heldDb);

    StationClient& m_client;
    QTimer* m_timer;
    AirMeterState m_meters;
    AirState m_air;
};
