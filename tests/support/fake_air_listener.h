#pragma once

#include <vector>

#include "media/air_meter.h"

/// A listener the test plays to: Start keeps the take (or answers startResult when it is an
/// error), Play hands it frames in blocks as the server would.
class FakeAirListener final : public AirListener {
public:
    explicit FakeAirListener(int rate = 8'000) : m_rate(rate) {}

    Result Start(const QString& source, Take take) override;
    void Stop() override { m_take = nullptr; }
    int Rate() const override { return m_rate; }

    /// Hands the interleaved stereo frames over in blocks of blockFrames, the first played
    /// at atMs; the time just after the last. Nothing is heard when not listening.
    qint64 Play(const std::vector<float>& frames, qint64 atMs, int blockFrames = 160);
    bool Listening() const { return bool(m_take); }

    Result startResult;
    QString startedWith;  ///< the source Start was given

private:
    int m_rate;
    Take m_take;
};

/// Interleaved stereo frames of a sine of hz for the seconds given, with the amplitude (of
/// full scale) on each channel: 0 on both is digital silence.
std::vector<float> ToneFrames(int rate, double hz, double seconds, double left, double right);
