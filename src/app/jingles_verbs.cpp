#include "app/station.h"
#include "app/station_commands.h"

std::vector<OperatorVerb> StationCommands::JinglesVerbs() { return {}; }
