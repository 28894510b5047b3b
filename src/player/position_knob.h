#pragma once

#include <QString>

/// The position knob BitBtnMoveBar on the bar PanelSecBar, in the bar's parent's
/// pixels: the tick places it at the play position, the operator drags it to seek.
/// The view reports the geometry; everything else is computed here.
class PositionKnob {
public:
    // Geometry, set by the view.
    int BarLeft = 0;
    int BarWidth = 0;
    int KnobWidth = 0;

    int KnobLeft = 0;
    /// The length (s) of the current track as the tick last saw it.
    int TrackLength = 0;
    bool KnobDragging = false;
    int KnobGrabX = 0;
    /// LabelBarPosInSec: the knob's time while dragging.
    QString LabelBarPosInSec;
    bool LabelVisible = false;
    int LabelLeft = 0;

    void SetGeometry(int barLeft, int barWidth, int knobWidth) {
        BarLeft = barLeft;
        BarWidth = barWidth;
        KnobWidth = knobWidth;
    }

    /// Where the knob stands for position p of a track of L seconds (L ≥ p ≥ 0).
    static int LeftForPosition(int barLeft, int barWidth, int knobWidth, long long p, long long L);
    /// The time (s) under the knob's centre.
    static long long TimeUnderKnob(int knobLeft, int barLeft, int barWidth, int knobWidth,
                                   long long length);

    /// The tick: remember L and, unless dragging, move the knob to position p.
    void Place(long long p, long long L);
    /// Mouse pressed at x within the knob; only the left button starts a drag.
    void Press(bool leftButton, int x);
    /// Mouse moved to x within the knob.
    void Move(int x);
    /// Mouse released: ends the drag and returns the jump target in milliseconds.
    long long Release();

private:
    long long TimeUnderKnob() const;
};
