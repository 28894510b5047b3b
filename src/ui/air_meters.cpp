#include "ui/air_meters.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "app/station_client.h"

namespace {

constexpr float kFloorDb = -60;  // the bottom of the scale
constexpr int kRedrawMs = 50;

// How far up the scale a level reaches, from 0 (the floor or below) to 1 (full scale).
double Height(float db) { return std::clamp((db - kFloorDb) / -kFloorDb, 0.0f, 1.0f); }

QColor LevelColour(float db) {
    if (db > -3) return QColor(230, 40, 40);
    if (db > -12) return QColor(240, 210, 40);
    return QColor(40, 210, 60);
}

}  // namespace

AirMeters::AirMeters(StationClient& client, QWidget* parent)
    : QWidget(parent), m_client(client), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("PanelAirMeters"));
    setMinimumWidth(56);
    setToolTip(QStringLiteral("The air as the station hears it: peak and RMS, left and right"));
    m_timer->setInterval(kRedrawMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_meters = m_client.AirMeters();
        update();
    });
    m_timer->start();
}

void AirMeters::Redraw(const AirState& state) {
    if (state.alarmed == m_air.alarmed && state.silentSince == m_air.silentSince &&
        state.offReason == m_air.offReason) {
        m_air = state;
        return;
    }
    m_air = state;
    setToolTip(state.listening || state.offReason.isEmpty()
                   ? QStringLiteral("The air as the station hears it: peak and RMS, left and right")
                   : QStringLiteral("Not listening to the air: ") + state.offReason);
    update();
}

void AirMeters::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool red = m_air.alarmed || m_meters.silent;
    painter.fillRect(rect(), red ? QColor(170, 0, 0) : Qt::black);
    if (m_air.alarmed) {
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(11);
        painter.setFont(font);
        painter.drawText(rect(), Qt::AlignCenter,
                         QStringLiteral("DEAD\nAIR\n%1").arg(m_air.silentSince));
        return;
    }
    if (!m_meters.heard) return;
    const QRect area = rect().adjusted(6, 4, -6, -4);
    const int barWidth = (area.width() - 4) / 2;
    for (int c = 0; c < 2; ++c) {
        const QRect bar(area.left() + c * (barWidth + 4), area.top(), barWidth, area.height());
        PaintBar(painter, bar, m_meters.peakDb[c], m_meters.rmsDb[c], m_meters.heldPeakDb[c]);
    }
}

void AirMeters::PaintBar(QPainter& painter, const QRect& bar, float peakDb, float rmsDb,
                         float heldDb) {
    painter.fillRect(bar, QColor(25, 25, 25));
    const auto top = [&bar](float db) { return bar.bottom() - int(Height(db) * bar.height()); };
    const QColor colour = LevelColour(peakDb);
    painter.fillRect(QRect(QPoint(bar.left(), top(peakDb)), bar.bottomRight()), colour.darker(150));
    painter.fillRect(QRect(QPoint(bar.left(), top(rmsDb)), bar.bottomRight()), colour);
    painter.fillRect(QRect(bar.left(), top(heldDb), bar.width(), 2), LevelColour(heldDb));
}
