#pragma once

#include <vector>

#include "app/operator_actions.h"

/// The rows of the operator's table by area, each area in a file of its own
/// (app/<area>_verbs.cpp, or operator_actions.cpp for the air's). OperatorVerbs() is their
/// concatenation in this order. Only these functions reach the station's rooms to change
/// them: every command of the window, the control socket and an actions file is one of
/// these rows.
class StationCommands {
public:
    static std::vector<OperatorVerb> OnAirVerbs();
    static std::vector<OperatorVerb> PlayerVerbs();
    static std::vector<OperatorVerb> CalendarVerbs();
    static std::vector<OperatorVerb> SpotsVerbs();
    static std::vector<OperatorVerb> ListsVerbs();
    static std::vector<OperatorVerb> PlayedVerbs();
    static std::vector<OperatorVerb> JinglesVerbs();
    static std::vector<OperatorVerb> LibraryVerbs();
    static std::vector<OperatorVerb> OptionsVerbs();
    static std::vector<OperatorVerb> WindowVerbs();
};
