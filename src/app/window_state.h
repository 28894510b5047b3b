#pragma once

#include <QString>

class Station;

/// What the window shows around the player, as plain values read off the core: the clock,
/// the marquees, the shutdown panel and the line input.
struct WindowState {
    /// LabelTime1, LabelHmera1, LabelMera1.
    QString time;
    QString weekday;
    QString date;
    /// The left edges of LabelBottomAdvert1 and LabelMessages in their panels.
    int advertLeft = 0;
    int messageLeft = 0;
    /// PanelShutdown and LabelWinShutDnSec1.
    bool shutdownVisible = false;
    QString shutdownSeconds;
    /// ButtonOpenLineIn1 and TrackBarLineIn1.
    bool lineInDown = false;
    int lineInPosition = 0;
    /// The video the panel shows instead of the message: "fm.avi" of the start folder.
    QString videoFile;
    /// A page asked for by its tab's caption; the window brings it up once per serial.
    QString pageAsked;
    int pageAskedSerial = 0;
};

/// Read on the core's thread.
WindowState WindowStateOf(const Station& station);
