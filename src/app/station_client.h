#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "app/station_state.h"
#include "base/result.h"

class AirMeter;
class StationCore;

/// The window's door to the core: it sends commands and holds the latest state the core
/// published. The core may live on another thread; then a command is done there and its
/// answer comes back on the client's thread, and the client never waits for it.
class StationClient : public QObject {
    Q_OBJECT
public:
    explicit StationClient(StationCore& core);

    using Answer = std::function<void(const Result&)>;
    /// Sends a command of the operator's table (OperatorVerbs) by its verb's name; the answer
    /// (when asked for) comes on this thread. The core publishes its state after it.
    void Send(const QString& verb, const QString& argument = {}, Answer answer = {});
    /// Asks the core for its state now; StateChanged follows when it comes. A request still
    /// under way is not asked again.
    void Refresh();
    /// The meter the core listens to its air with (it outlives the client; none: no meters).
    void SetAirMeter(const AirMeter* meter) { m_airMeter = meter; }
    /// The meters now, read straight from the meter, which may be read on any thread: the
    /// window shows them many times a second without asking the core.
    AirMeterState AirMeters() const;
    /// The latest state the core published.
    const StationState& State() const { return *m_state; }

Q_SIGNALS:
    void StateChanged();
    void Problem(const QString& message);

private:
    void Take(std::shared_ptr<const StationState> state);

    StationCore& m_core;
    const AirMeter* m_airMeter = nullptr;
    std::shared_ptr<const StationState> m_state;
    bool m_refreshAsked = false;
};
