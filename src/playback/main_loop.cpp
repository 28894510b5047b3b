#include "playback/main_loop.h"

bool SlotBegins(int slot, int lastProgramSlot) {
    // An earlier slot is new too: midnight, and a clock set back (the repeated hour of
    // the autumn clock change) would otherwise play nothing new until the old slot passed.
    return slot != lastProgramSlot;
}
