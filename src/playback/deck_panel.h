#pragma once

#include <QString>
#include <memory>

#include "playback/main_loop.h"
#include "playback/scrolling_text.h"
#include "player/position_knob.h"

class QTime;
class Timer;
class TimerHost;

/// What the player panel shows of the air, apart from the air's rules: the clock and the
/// current track's times as the tick last wrote them, the position knob, and the running
/// title LabelTrackName1 with its swing (TimerTrackName1). The window reports the pixel
/// widths; nothing here reads a widget.
class DeckPanel {
public:
    explicit DeckPanel(TimerHost& timers);
    ~DeckPanel();
    DeckPanel(const DeckPanel&) = delete;
    DeckPanel& operator=(const DeckPanel&) = delete;

    const LoopDisplay& Display() const { return m_display; }
    const PositionKnob& Knob() const { return m_knob; }
    const QString& TrackName() const { return m_trackName; }
    const TitleScroll& Title() const { return m_title; }

    void ShowClock(const QTime& now);
    /// The current track's times (a deck that plays nothing shows 0 of 0) and the knob.
    void ShowTrackTime(long long positionSec, long long lengthSec);

    /// Puts a title into LabelTrackName1 and restarts its swing.
    void ShowTrackName(const QString& title);
    /// The window measured `title` at `width` pixels; the swing starts again with it. A
    /// width for a title no longer shown is dropped.
    void SetTitleWidth(int width, const QString& title);
    /// The width of PanelTrackName1.
    void SetTitlePanelWidth(int width);

    /// The view lays out the position bar and its knob (pixels).
    void SetKnobGeometry(int barLeft, int barWidth, int knobWidth);
    void KnobPress(bool leftButton, int x);
    void KnobMove(int x);
    /// Ends a drag; the jump target in milliseconds.
    long long KnobRelease();

private:
    void RestartTitleScroll();

    LoopDisplay m_display;
    PositionKnob m_knob;
    QString m_trackName;
    TitleScroll m_title;
    std::unique_ptr<Timer> m_trackName1;
};
