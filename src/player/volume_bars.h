#pragma once

#include <QString>
#include <array>
#include <memory>

#include "base/settings_table.h"

class Decks;
class Timer;
class TimerHost;

/// The two upside-down volume bars (position 0 = 100 %) and their fades. Bar 0 is the
/// volume of the current deck, bar 1 of the next deck. Four fade timers, one per bar
/// and direction, step a bar by the page size towards its level and send the volume;
/// a crossfade exchanges the decks and runs both bars at once. TimerLathous resends
/// bar 0 every ten seconds.
class VolumeBars {
public:
    /// The four fades, named after their timers.
    enum class Fade { Timer1, Timer2, TimerFadeOut1, TimerFadeIn1 };
    /// The edit boxes that hold levels, with the number each falls back to.
    enum class LevelBox { EditFadeOut0, EditFadeIn0, EditFadeOut1, EditFadeIn1, EditMixingTime };

    VolumeBars(Decks& decks, TimerHost& timers);
    ~VolumeBars();
    VolumeBars(const VolumeBars&) = delete;
    VolumeBars& operator=(const VolumeBars&) = delete;

    /// Sets an edit box's text; its level is the number in it (text that is not a number
    /// gives 10 for fade-outs, 90 for fade-ins, 20 for the mixing time).
    void SetLevelText(LevelBox box, const QString& text);
    QString LevelText(LevelBox box) const;
    int Level(LevelBox box) const;
    int MixingSeconds() const { return Level(LevelBox::EditMixingTime); }

    /// EditMixingInterval: the step time of the four fade timers (100 ms for text that
    /// is not a number); applied at once.
    void SetMixingIntervalText(const QString& text);
    QString MixingIntervalText() const { return m_intervalText; }
    int MixingInterval() const;
    /// Another step time for the four timers until the next change (jingles use 20 ms).
    void SetFadeInterval(int ms);
    int FadeInterval() const;

    /// TrackBarVolume0/1 position, 0..100; the volume is 100 − position.
    int Position(int bar) const { return m_position[bar & 1]; }
    int Volume(int bar) const { return 100 - Position(bar); }
    int PageSize() const { return m_pageSize; }
    /// The fade step of all four fades until the next crossfade (jingles fade at the
    /// spots' step).
    void SetPageSize(int step) { m_pageSize = step; }
    /// The operator moved a bar: keep it within 0..100 and send its volume.
    void MoveBarByHand(int bar, int position);

    /// Starts a fade, stopping the opposite fade of the same bar.
    void StartFade(Fade fade);
    bool Running(Fade fade) const;
    // The hand fade buttons. Hand fades of bar 1 never stop its deck.
    void FadeIn0() { StartFade(Fade::Timer2); }
    void FadeOut0() { StartFade(Fade::Timer1); }
    void FadeIn1();
    void FadeOut1();
    void FadeIn0Amp();
    void FadeIn1Amp();

    /// Exchanges the decks; the new current deck rises from the fade-out level of bar 0
    /// while the old one sinks from its volume and is stopped at the bottom. An interval
    /// of 0 means the mixing interval.
    void StartCrossfade(int step, int interval);

    /// Send stop to the next deck when bar 1 reaches the bottom of its fade-out.
    bool StopAfterFade = false;
    /// A crossfade holds both decks: the old one still sinks to its stop, or the new one
    /// still rises.
    bool CrossfadeRunning() const {
        return StopAfterFade && (Running(Fade::TimerFadeOut1) || Running(Fade::Timer2));
    }
    /// SpeedButtonAmp1 (0) or SpeedButtonAmp2 (1): the one shown pressed.
    int PressedAmpButton = 0;

    /// The level and mixing texts, as the station's settings keep them.
    SettingsTable& Settings() { return m_settings; }

private:
    struct FadeTimer;
    void Tick(Fade fade);
    void Lathous();
    FadeTimer& At(Fade fade);
    const FadeTimer& At(Fade fade) const;

    Decks& m_decks;
    std::array<int, 2> m_position{0, 0};
    int m_pageSize = 5;
    std::array<QString, 5> m_levelTexts;
    QString m_intervalText;
    SettingsTable m_settings;
    std::array<std::unique_ptr<FadeTimer>, 4> m_fades;
    std::unique_ptr<Timer> m_lathous;
};
