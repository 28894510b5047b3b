#pragma once

#include <QObject>
#include <memory>

#include "base/result.h"

class Station;
struct StationState;

/// The station's core as its clients reach it: commands in, state out. It lives on the
/// station's thread; the window reaches it through a StationClient, never directly.
class StationCore : public QObject {
    Q_OBJECT
public:
    explicit StationCore(Station& station);

    /// A command of the window, by its verb's name. The window's commands are not as-run
    /// lines (those are the control socket's and the actions file's). The state is
    /// published after it, whether it was done or refused.
    Result Execute(const QString& verb, const QString& argument);
    /// Reads the state off the station and publishes it.
    void Publish();

Q_SIGNALS:
    void Published(std::shared_ptr<const StationState> state);
    /// The station's problems met while it runs, for the window's box.
    void Problem(const QString& message);

private:
    Station& m_station;
};
