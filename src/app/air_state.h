#pragma once

#include <QString>
#include <vector>

class Station;

/// How one stream output is doing, as its sender tells it.
struct StreamStatus {
    QString mount;
    bool connected = false;
    qint64 connectedForSec = 0;  // 0 while not connected
    qint64 bytesSent = 0;        // since the station started
    QString lastError;           // empty until something failed
};

/// What the window shows of the station's own air, as plain values read off the core (the
/// meters are read apart, many times a second: StationClient::AirMeters).
struct AirState {
    bool listening = false;
    /// Why the station cannot hear its air; empty while it listens.
    QString offReason;
    /// The dead-air alarm, and since when ("HH:MM:SS") the air is silent.
    bool alarmed = false;
    QString silentSince;
    /// SilenceThreshold: at or below it the air counts as silent.
    int silenceThresholdDb = -45;
    /// The enabled stream outputs, in their order; none when nothing streams.
    std::vector<StreamStatus> streams;
};

/// Read on the core's thread.
AirState AirStateOf(const Station& station);

/// The meters: peak and RMS per channel (left, right) in dBFS, the peaks held, and whether
/// the air is silent now.
struct AirMeterState {
    bool heard = false;
    float peakDb[2] = {-150, -150};
    float rmsDb[2] = {-150, -150};
    float heldPeakDb[2] = {-150, -150};
    bool silent = false;
};
