#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

#include "base/result.h"

/// What the station hears of its own air: the samples of the output the decks play to,
/// measured in short windows and kept for a while, for the meters, the dead-air alarm and
/// the measure of each hand-over. Levels are dBFS; -inf is digital silence.

/// The air over one window of kWindowMs, as its time on the station's clock.
struct AirWindow {
    static constexpr int kWindowMs = 10;
    qint64 atMs = 0;  ///< the window's start, ms since the epoch
    float peakDb[2] = {};
    float rmsDb[2] = {};
    /// The louder channel's RMS: what is compared with the silence threshold.
    float LevelDb() const;
};

/// What the meters show: peak and RMS per channel over the last 50 ms, and the highest
/// peak of the last 2 s (held).
struct MeterReading {
    float peakDb[2] = {};
    float rmsDb[2] = {};
    float heldPeakDb[2] = {};
    bool heard = false;  ///< false until the first samples came
};

/// The quietest 20 ms of the air around a hand-over, and the longest run of windows at or
/// below the threshold there (0 when none), in ms.
struct TransitionMeasure {
    double quietestDb = 0;
    int holeMs = 0;
};

/// Measures the air as it is heard: samples come on the listener's thread, readings are
/// taken on any other. Keeps the last kHistoryMs of windows.
class AirMeter {
public:
    static constexpr qint64 kHistoryMs = 60'000;

    explicit AirMeter(int rate);
    ~AirMeter();
    AirMeter(const AirMeter&) = delete;
    AirMeter& operator=(const AirMeter&) = delete;

    /// Interleaved stereo float frames heard, the first of them at atMs.
    void Add(const float* frames, int count, qint64 atMs);

    MeterReading Reading() const;
    /// The windows that start in [fromMs, toMs), oldest first.
    QList<AirWindow> Windows(qint64 fromMs, qint64 toMs) const;
    /// The start of the run of windows at or below thresholdDb that reaches the latest
    /// window heard; -1 when the latest window is above it or nothing is heard yet.
    qint64 SilentSinceMs(double thresholdDb) const;
    /// The end of the latest window heard; 0 before any.
    qint64 HeardUntilMs() const;

private:
    class History;
    std::unique_ptr<History> m_history;
};

/// The measure of a hand-over from the windows around it.
TransitionMeasure MeasureTransition(const QList<AirWindow>& windows, double thresholdDb);
/// The longest run of windows at or below the threshold that reaches into [fromMs, toMs),
/// whole from where it began (as far back as the windows go) up to toMs, in ms: a silence
/// that began before the span is not cut at its edge.
int HoleReachingIntoMs(const QList<AirWindow>& windows, qint64 fromMs, qint64 toMs,
                       double thresholdDb);

/// Listens to an output of the sound server: its samples are handed to take, on a thread of
/// the listener's own, as interleaved stereo float frames at Rate(), with the time on the
/// station's clock the first of them was played.
class AirListener {
public:
    using Take = std::function<void(const float* frames, int count, qint64 atMs)>;
    virtual ~AirListener() = default;
    /// Starts listening to source (a sound server's source name; empty: the monitor of the
    /// default output). An error when there is no sound server or no such source.
    virtual Result Start(const QString& source, Take take) = 0;
    /// Stops, and take is no longer called once it returns.
    virtual void Stop() = 0;
    virtual int Rate() const = 0;
};
