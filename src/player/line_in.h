#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "base/settings_table.h"

class LineInControl;
class Timer;
class TimerHost;
class VolumeBars;

/// The line input faded over the music: ButtonOpenLineIn1 down fades the line in over
/// one second while bar 0 fades the current deck down; up fades the line out and the deck
/// back up. TrackBarLineIn1 is upside down like the deck bars (100 = silence).
class LineIn : public QObject {
    Q_OBJECT
public:
    LineIn(VolumeBars& bars, TimerHost& timers, LineInControl& control);
    ~LineIn();
    LineIn(const LineIn&) = delete;
    LineIn& operator=(const LineIn&) = delete;

    /// The control's volume 0..255 for bar position q: 255 − q·255/100.
    static int ControlVolume(int q);

    /// Start-up: route the input (LineInSource) to the output, at silence.
    void StartUp();
    /// Close: remove the route.
    void Close();

    /// ButtonOpenLineIn1 pressed down (true) or released (false).
    void SetButtonDown(bool down);
    /// SpeedButtonAmp1 (0) or SpeedButtonAmp2 (1): shown pressed, then the line-in
    /// button's action again for its present state.
    void ClickAmpButton(int index);
    /// Key 220: toggle ButtonOpenLineIn1 and run its action.
    void ToggleButton() { SetButtonDown(!m_down); }
    /// The operator moved TrackBarLineIn1.
    void MoveBarByHand(int position);

    bool ButtonDown() const { return m_down; }
    /// TrackBarLineIn1, 0..100.
    int Position() const { return m_position; }
    /// +20 while fading in, −20 while fading out.
    int LineInStep() const { return m_step; }
    bool Fading() const;

    /// The input routed; empty for the system's default input.
    QString LineInSource;
    SettingsTable& Settings() { return m_settings; }

Q_SIGNALS:
    /// The button went down (true) or up (false).
    void Toggled(bool open);
    void Problem(const QString& message);

private:
    void Run();
    void TimerLineIn1Timer();
    void Send();

    VolumeBars& m_bars;
    LineInControl& m_control;
    std::unique_ptr<Timer> m_timer;
    bool m_down = false;
    int m_position = 100;
    int m_step = 20;
    SettingsTable m_settings;
};
