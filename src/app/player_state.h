#pragma once

#include <QString>
#include <QStringList>

class Station;

/// What the window shows of the player, as plain values read off the core.
struct PlayerState {
    /// A deck plays: the operator's close asks first.
    bool deckPlays = false;
    // PanelTrackSec: the current track's times and the pause label.
    QString playTime;
    QString length;
    QString remaining;
    QString pausePlay;
    bool pauseDown = false;
    bool manualMode = false;
    QString manualCaption;
    /// BitBtnMoveBar's left edge, and LabelBarPosInSec while the knob is dragged.
    int knobLeft = 0;
    bool knobLabelVisible = false;
    QString knobLabel;
    int knobLabelLeft = 0;
    /// TrackBarVolume0 and TrackBarVolume1 (0 at the top is full volume), their page step.
    int bar0 = 0;
    int bar1 = 0;
    int barPageStep = 0;
    /// SpeedButtonAmp1/2 pressed: 0 or 1.
    int pressedAmp = 0;
    /// EditFadeOut0, EditFadeIn0, EditFadeOut1, EditFadeIn1, EditMixingTime, in that order.
    QStringList levelTexts;
    QString mixingInterval;
    /// Editsec1.
    QString jumpSeconds;
    /// LabelTrackName1 and its left edge in PanelTrackName1.
    QString trackName;
    int trackNameLeft = 0;
};

/// Read on the core's thread.
PlayerState PlayerStateOf(const Station& station);
