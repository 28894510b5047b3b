#include "app/station_client.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>

#include "app/station_core.h"
#include "base/thread_handoff.h"
#include "media/air_meter.h"

StationClient::StationClient(StationCore& core)
    : m_core(core), m_state(std::make_shared<const StationState>()) {
    qRegisterMetaType<std::shared_ptr<const StationState>>();
    // Both come on the core's thread, which hands them to this one (at once on the same).
    // They are connected there, so that the core's thread reads connections it made.
    const auto connectToCore = [this, &core] {
        connect(
            &core, &StationCore::Published, this,
            [this](std::shared_ptr<const StationState> state) {
                QMetaObject::invokeMethod(this,
                                          HandOff::Wrap([this, state = std::move(state)]() mutable {
                                              Take(std::move(state));
                                          }));
            },
            Qt::DirectConnection);
        connect(
            &core, &StationCore::Problem, this,
            [this](const QString& message) {
                QMetaObject::invokeMethod(
                    this, HandOff::Wrap([this, message] { Q_EMIT Problem(message); }));
            },
            Qt::DirectConnection);
    };
    if (core.thread() == QThread::currentThread())
        connectToCore();
    else
        QMetaObject::invokeMethod(&core, HandOff::Wrap(connectToCore),
                                  Qt::BlockingQueuedConnection);
}

void StationClient::Send(const QString& verb, const QString& argument, Answer answer) {
    // The client outlives the core's thread: the answer always has somewhere to go.
    StationCore* core = &m_core;
    // The command goes to the core's thread with its words, the answer back with its result.
    QMetaObject::invokeMethod(
        core, HandOff::Wrap([core, client = this, verb, argument, answer = std::move(answer)] {
            const Result done = core->Execute(verb, argument);
            if (answer)
                QMetaObject::invokeMethod(client, HandOff::Wrap([answer, done] { answer(done); }));
        }));
}

void StationClient::Refresh() {
    if (m_refreshAsked) return;
    m_refreshAsked = true;
    StationCore* core = &m_core;
    QMetaObject::invokeMethod(core, HandOff::Wrap([core] { core->Publish(); }));
}

void StationClient::Take(std::shared_ptr<const StationState> state) {
    m_refreshAsked = false;
    m_state = std::move(state);
    Q_EMIT StateChanged();
}

AirMeterState StationClient::AirMeters() const {
    AirMeterState meters;
    if (!m_airMeter) return meters;
    const MeterReading reading = m_airMeter->Reading();
    meters.heard = reading.heard;
    // The meters show nothing below -150 dBFS; digital silence is -inf.
    const auto shown = [](float db) { return std::max(db, -150.0f); };
    for (int c = 0; c < 2; ++c) {
        meters.peakDb[c] = shown(reading.peakDb[c]);
        meters.rmsDb[c] = shown(reading.rmsDb[c]);
        meters.heldPeakDb[c] = shown(reading.heldPeakDb[c]);
    }
    meters.silent = reading.heard && std::max(reading.rmsDb[0], reading.rmsDb[1]) <=
                                         float(m_state->air.silenceThresholdDb);
    return meters;
}
