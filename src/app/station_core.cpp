#include "app/station_core.h"

#include "app/operator_actions.h"
#include "app/station.h"
#include "app/station_state.h"

StationCore::StationCore(Station& station) : m_station(station) {
    connect(&station, &Station::Problem, this, &StationCore::Problem);
    // Work done off the core's thread is shown when it is done, not at the next command.
    connect(&station.WeekCheck(), &WeekCheckJob::Finished, this, &StationCore::Publish);
    connect(&station, &Station::Changed, this, &StationCore::Publish);
}

Result StationCore::Execute(const QString& verb, const QString& argument) {
    const OperatorVerb* row = FindOperatorVerb(verb);
    const Result done = row ? RunVerb(m_station, *row, argument)
                            : Result::Error(QStringLiteral("unknown command \"%1\"").arg(verb));
    Publish();
    return done;
}

void StationCore::Publish() {
    // A list saved or deleted by a command, or read again: the library's list names follow.
    m_station.FollowListsFolder();
    auto state = std::make_shared<StationState>(StationStateOf(m_station));
    // Asked here, on the core's thread: the decks are the core's.
    state->player.deckPlays = m_station.AnyDeckPlays();
    Q_EMIT Published(std::move(state));
}
