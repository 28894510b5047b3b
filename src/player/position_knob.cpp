#include "player/position_knob.h"

#include "base/min_sec.h"

int PositionKnob::LeftForPosition(int barLeft, int barWidth, int knobWidth, long long p,
                                  long long L) {
    if (L == 0) return barLeft - knobWidth / 2;
    return int(barLeft + (barWidth * p) / L - knobWidth / 2);
}

long long PositionKnob::TimeUnderKnob(int knobLeft, int barLeft, int barWidth, int knobWidth,
                                      long long length) {
    if (barWidth <= 0) return 0;  // a bar not laid out yet has no time under it
    return ((knobLeft - barLeft + knobWidth / 2) * length) / barWidth;
}

long long PositionKnob::TimeUnderKnob() const {
    return TimeUnderKnob(KnobLeft, BarLeft, BarWidth, KnobWidth, TrackLength);
}

void PositionKnob::Place(long long p, long long L) {
    if (!(L >= p && p >= 0)) return;  // a length below the position leaves the knob alone
    TrackLength = int(L);
    if (!KnobDragging) KnobLeft = LeftForPosition(BarLeft, BarWidth, KnobWidth, p, L);
}

void PositionKnob::Press(bool leftButton, int x) {
    if (!leftButton) return;
    KnobDragging = true;
    KnobGrabX = x;
    LabelVisible = true;
}

void PositionKnob::Move(int x) {
    if (!KnobDragging) return;
    int left = KnobLeft + x - KnobGrabX;
    const int right = BarLeft + BarWidth - KnobWidth / 2;
    if (left < 4)
        left = 4;
    else if (left > right)
        left = right;
    KnobLeft = left;
    LabelBarPosInSec = FormatMinSec(TimeUnderKnob());
    LabelLeft = KnobLeft;
}

long long PositionKnob::Release() {
    const long long target = TimeUnderKnob() * 1000;
    KnobDragging = false;
    LabelVisible = false;
    return target;
}
