#include "app/air_state.h"

#include "app/station.h"

AirState AirStateOf(const Station& station) {
    const AirWatch& air = station.Air();
    return {.listening = air.Listening(),
            .offReason = air.OffReason(),
            .alarmed = air.Alarmed(),
            .silentSince =
                air.Alarmed() ? air.SilentSince().toString(QStringLiteral("HH:mm:ss")) : QString(),
            .streams = station.StreamStatuses()};
}
