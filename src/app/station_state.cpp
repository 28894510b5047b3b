#include "app/station_state.h"

StationState StationStateOf(const Station& station) {
    return {PlayerStateOf(station),   ProgramStateOf(station),  WindowStateOf(station),
            CalendarStateOf(station), SpotsStateOf(station),    ListsStateOf(station),
            PlayedStateOf(station),   JinglesStateOf(station),  LibraryStateOf(station),
            OptionsStateOf(station),  AnalysisStateOf(station), AirStateOf(station)};
}
