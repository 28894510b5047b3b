#include "app/player_state.h"

#include "app/station.h"

PlayerState PlayerStateOf(const Station& station) {
    const PlaybackEngine& engine = station.Engine();
    const DeckPanel& panel = engine.Panel();
    const Transport& transport = engine.Controls();
    const VolumeBars& bars = engine.Bars();
    const PositionKnob& knob = panel.Knob();
    PlayerState state{
        .playTime = panel.Display().LabelPlayTime,
        .length = panel.Display().LabelLenghtOfTrack,
        .remaining = panel.Display().LabelRemainingTime,
        .pausePlay = transport.LabelPausePlay1,
        .pauseDown = transport.PauseDown,
        .manualMode = transport.ManualMode,
        .manualCaption = transport.ManualCaption,
        .knobLeft = knob.KnobLeft,
        .knobLabelVisible = knob.LabelVisible,
        .knobLabel = knob.LabelBarPosInSec,
        .knobLabelLeft = knob.LabelLeft,
        .bar0 = bars.Position(0),
        .bar1 = bars.Position(1),
        .barPageStep = bars.PageSize(),
        .pressedAmp = bars.PressedAmpButton,
        .levelTexts = {},
        .mixingInterval = bars.MixingIntervalText(),
        .jumpSeconds = transport.Editsec1,
        .trackName = panel.TrackName(),
        .trackNameLeft = panel.Title().LabelLeft,
    };
    for (int box = 0; box <= int(VolumeBars::LevelBox::EditMixingTime); ++box)
        state.levelTexts.append(bars.LevelText(VolumeBars::LevelBox(box)));
    return state;
}
