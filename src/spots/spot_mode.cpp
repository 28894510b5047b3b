#include "spots/spot_mode.h"

SpotMode SpotModeOf(int stored) {
    return stored >= int(SpotMode::Just) && stored <= int(SpotMode::Off) ? SpotMode(stored)
                                                                         : SpotMode::Just;
}
