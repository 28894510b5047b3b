#include "playback/main_loop.h"

int SlotOfTime(int hour, int minute) { return hour * 2 + (minute >= 30 ? 1 : 0); }

bool SlotBegins(int slot, int lastProgramSlot) {
    return slot > lastProgramSlot || (slot == 0 && lastProgramSlot == 47);
}
