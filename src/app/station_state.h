#pragma once

#include "app/air_state.h"
#include "app/analysis_state.h"
#include "app/calendar_state.h"
#include "app/jingles_state.h"
#include "app/library_state.h"
#include "app/lists_state.h"
#include "app/options_state.h"
#include "app/played_state.h"
#include "app/player_state.h"
#include "app/program_state.h"
#include "app/spots_state.h"
#include "app/window_state.h"

/// Everything the window shows, as plain values: the core publishes one of these after
/// each command and a few times a second, and the window draws the latest it has. Nothing
/// in it refers to a core object, so it may be read on any thread.
struct StationState {
    PlayerState player;
    ProgramState program;
    WindowState window;
    CalendarState calendar;
    SpotsState spots;
    ListsState lists;
    PlayedState played;
    JinglesState jingles;
    LibraryState library;
    OptionsState options;
    AnalysisState analysis;
    AirState air;
};

/// Reads it off the station, on the core's thread.
StationState StationStateOf(const Station& station);
