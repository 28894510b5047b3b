#include "app/station_client.h"

#include <QMetaObject>

#include "app/station_core.h"

StationClient::StationClient(StationCore& core)
    : m_core(core), m_state(std::make_shared<const StationState>()) {
    qRegisterMetaType<std::shared_ptr<const StationState>>();
    connect(&core, &StationCore::Published, this, &StationClient::Take);
    connect(&core, &StationCore::Problem, this, &StationClient::Problem);
}

void StationClient::Send(const QString& verb, const QString& argument, Answer answer) {
    // The client outlives the core's thread: the answer always has somewhere to go.
    StationCore* core = &m_core;
    QMetaObject::invokeMethod(
        core, [core, client = this, verb, argument, answer = std::move(answer)] {
            const Result done = core->Execute(verb, argument);
            if (answer) QMetaObject::invokeMethod(client, [answer, done] { answer(done); });
        });
}

void StationClient::Refresh() {
    if (m_refreshAsked) return;
    m_refreshAsked = true;
    StationCore* core = &m_core;
    QMetaObject::invokeMethod(core, [core] { core->Publish(); });
}

void StationClient::Take(std::shared_ptr<const StationState> state) {
    m_refreshAsked = false;
    m_state = std::move(state);
    Q_EMIT StateChanged();
}
