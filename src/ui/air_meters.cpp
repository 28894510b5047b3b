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

// The scale's zones, bottom up: green, yellow from -12 dBFS, red from -3 dBFS.
struct Zone {
    float fromDb, toDb;
    QColor colour;
};
const Zone kZones[] = {{kFloorDb, -12, QColor(40, 200, 60)},
                       {-12, -3, QColor(235, 205, 40)},
                       {-3, 0, QColor(230, 40, 40)}};

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
    QFont small = painter.font();
    small.setPixelSize(9);
    painter.setFont(small);
    const int letters = painter.fontMetrics().height();
    const QRect area = rect().adjusted(6, 4, -6, -4 - letters);
    const int barWidth = (area.width() - 6) / 2;
    for (int c = 0; c < 2; ++c) {
        const QRect bar(area.left() + c * (barWidth + 6), area.top(), barWidth, area.height());
        if (m_meters.heard)
            PaintBar(painter, bar, m_meters.peakDb[c], m_meters.rmsDb[c], m_meters.heldPeakDb[c]);
        else
            painter.fillRect(bar, QColor(25, 25, 25));
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(QRect(bar.left(), area.bottom() + 1, bar.width(), letters),
                         Qt::AlignCenter, c == 0 ? QStringLiteral("L") : QStringLiteral("R"));
    }
    // Marks at -6, -12, -20 and -40 dBFS between the bars.
    for (const float db : {-6.0f, -12.0f, -20.0f, -40.0f}) {
        const int at = area.bottom() + 1 - int(Height(db) * area.height());
        painter.fillRect(QRect(area.left() + barWidth + 1, at, 4, 1), QColor(150, 150, 150));
    }
}

void AirMeters::PaintBar(QPainter& painter, const QRect& bar, float peakDb, float rmsDb,
                         float heldDb) {
    painter.fillRect(bar, QColor(25, 25, 25));
    const auto y = [&bar](float db) { return bar.bottom() + 1 - int(Height(db) * bar.height()); };
    // Each zone lit up to the level: dimmer up to the peak, full up to the RMS.
    for (const Zone& zone : kZones) {
        const auto fill = [&](float levelDb, const QColor& colour) {
            if (levelDb <= zone.fromDb) return;
            const int top = y(std::min(levelDb, zone.toDb));
            painter.fillRect(QRect(bar.left(), top, bar.width(), y(zone.fromDb) - top), colour);
        };
        fill(peakDb, zone.colour.darker(170));
        fill(rmsDb, zone.colour);
    }
    if (heldDb > kFloorDb)
        painter.fillRect(QRect(bar.left(), y(heldDb) - 1, bar.width(), 2), Qt::white);
}
