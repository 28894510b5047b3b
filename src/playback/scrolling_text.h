#pragma once

#include "playback/tick_part.h"

/// Texts that move inside their panels, as pure steps over pixel positions and widths
/// that the view reports.

/// A marquee (LabelBottomAdvert1 in PanelAdv1, LabelMessages in PanelMessages): moves
/// left by 10 pixels a tick and comes back in at the right once wholly out at the left.
struct Marquee {
    int LabelLeft = 0;
    int LabelWidth = 0;
    int PanelWidth = 0;
    bool Held = false;  ///< the operator drags the label: it stays put

    void Step();
};

/// The running title LabelTrackName1 in PanelTrackName1: a title wider than the panel
/// swings left until its right end is 30 pixels inside, then right until its left edge
/// passes 30; a narrower one stands at 20.
struct TitleScroll {
    int LabelLeft = 20;
    int LabelWidth = 0;
    int PanelWidth = 0;
    int TitleScrollStep = -5;
    /// Whether TimerTrackName1 runs.
    bool Running = false;

    /// RestartTitleScroll: after a new title was put into the label.
    void Restart();
    /// One tick of TimerTrackName1.
    void Tick();
};

/// The advert and message marquees: they step on every tick, whatever the deck does.
class Marquees : public TickPart {
public:
    bool WaitsForDeck() const override { return false; }
    bool TakesTick(const TickMoment&) override {
        Advert.Step();
        Messages.Step();
        return false;
    }

    Marquee Advert;
    Marquee Messages;
};
