#include "playback/main_loop.h"

bool SlotBegins(int slot, int lastProgramSlot) {
    return slot > lastProgramSlot || (slot == 0 && lastProgramSlot == 47);
}
